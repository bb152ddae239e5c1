/* Basic types shared by the host and its plug-ins. Plain C; no code. */
#ifndef HOSTAPI_TYPES_H
#define HOSTAPI_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define HOSTAPI_EXTERN_C extern "C"
#else
#define HOSTAPI_EXTERN_C
#endif

typedef int32_t SPErr;
typedef int32_t ASInt32;
typedef int16_t ASInt16;
typedef unsigned char ASBoolean;
typedef float AIReal;

/* Opaque references. Each is a pointer the host hands out and takes back. */
typedef struct SPOpaquePlugin *SPPluginRef;
typedef struct SPOpaqueAccess *SPAccessRef;
typedef struct AIOpaqueArt *AIArtHandle;
typedef struct AIOpaqueLayer *AILayerHandle;
typedef struct AIOpaqueTool *AIToolHandle;
typedef struct AIOpaqueArtStyle *AIArtStyleHandle;
typedef struct AIOpaqueSwatch *AISwatchRef;
typedef struct AIOpaqueSwatchList *AISwatchListRef;
typedef struct AIOpaqueCustomColor *AICustomColorHandle;
typedef struct AIOpaqueGradient *AIGradientHandle;
typedef struct AIOpaquePattern *AIPatternHandle;
typedef struct AIOpaqueMeshVertex *AIMeshVertexHandle;
typedef struct AIOpaqueDocument *AIDocumentHandle;
typedef struct ADMOpaqueDialog *ADMDialogRef;
typedef struct ADMOpaqueItem *ADMItemRef;
typedef struct ADMOpaqueList *ADMListRef;
typedef struct ADMOpaqueEntry *ADMEntryRef;
typedef struct ADMOpaqueIcon *ADMIconRef;
typedef struct ADMOpaqueNotifier *ADMNotifierRef;
typedef struct ADMOpaqueTracker *ADMTrackerRef;

/* A memory handle is a pointer to the host's master pointer of the block:
   (*handle) is the block's current address. */
typedef void **AIMdMemoryHandle;

typedef struct AIRealPoint {
    AIReal h;
    AIReal v;
} AIRealPoint;

/* Document rectangles: the vertical axis points up, so top >= bottom. */
typedef struct AIRealRect {
    AIReal left;
    AIReal top;
    AIReal right;
    AIReal bottom;
} AIRealRect;

/* Row-vector affine matrix: (x, y) -> (a*x + c*y + tx, b*x + d*y + ty). */
typedef struct AIRealMatrix {
    AIReal a, b, c, d, tx, ty;
} AIRealMatrix;

/* Dialog rectangles in pixels of the client area, origin top left. */
typedef struct ADMRect {
    ASInt32 left;
    ASInt32 top;
    ASInt32 right;
    ASInt32 bottom;
} ADMRect;

#endif
