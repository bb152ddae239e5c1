/* The host's suites for art objects and their geometry. */
#ifndef HOSTAPI_AI_ART_SUITES_H
#define HOSTAPI_AI_ART_SUITES_H

#include "records.h"

#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 9

typedef struct AIArtSuite {
    SPErr (*NewArt)(ASInt16 type, ASInt16 paintOrder, AIArtHandle prep, AIArtHandle *newArt);
    SPErr (*DisposeArt)(AIArtHandle art);
    SPErr (*DuplicateArt)(AIArtHandle art, ASInt16 paintOrder, AIArtHandle prep,
                          AIArtHandle *newArt);
    SPErr (*GetArtParent)(AIArtHandle art, AIArtHandle *parent);
    SPErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle *child);
    /* The next sibling, or null after the last one. */
    SPErr (*GetArtSibling)(AIArtHandle art, AIArtHandle *sibling);
    SPErr (*GetArtPriorSibling)(AIArtHandle art, AIArtHandle *sibling);
    SPErr (*GetArtType)(AIArtHandle art, ASInt16 *type);
    /* Geometric bounds of the curves (not of their control points). */
    SPErr (*GetArtBounds)(AIArtHandle art, AIRealRect *bounds);
    SPErr (*GetArtUserAttr)(AIArtHandle art, ASInt32 whichAttr, ASInt32 *attr);
    SPErr (*SetArtUserAttr)(AIArtHandle art, ASInt32 whichAttr, ASInt32 attr);
    SPErr (*GetArtLayer)(AIArtHandle art, AILayerHandle *layer);
} AIArtSuite;

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 4

typedef struct AIPathSuite {
    SPErr (*GetPathSegmentCount)(AIArtHandle path, ASInt16 *count);
    SPErr (*SetPathSegmentCount)(AIArtHandle path, ASInt16 count);
    SPErr (*GetPathSegments)(AIArtHandle path, ASInt16 segNumber, ASInt16 count,
                             AIPathSegment segments[]);
    SPErr (*SetPathSegments)(AIArtHandle path, ASInt16 segNumber, ASInt16 count,
                             const AIPathSegment segments[]);
    SPErr (*GetPathClosed)(AIArtHandle path, ASBoolean *closed);
    SPErr (*SetPathClosed)(AIArtHandle path, ASBoolean closed);
} AIPathSuite;

#define kAIMatchingArtSuite "AI Matching Art Suite"
#define kAIMatchingArtSuiteVersion 4

typedef struct AIMatchingArtSuite {
    /* Every art object that matches any of the specs, in paint order, in a new
       memory handle of art handles that the caller releases. */
    SPErr (*GetMatchingArt)(const AIMatchingArtSpec *specs, ASInt16 numSpecs,
                            AIArtHandle ***matches, ASInt32 *numMatches);
    SPErr (*GetSelectedArt)(AIArtHandle ***matches, ASInt32 *numMatches);
} AIMatchingArtSuite;

#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1

/* Transform option flags. With kTransformPaints the gradients and patterns
   of the fill and the stroke move with the object, as its paint is seen to;
   with kScaleLines stroke widths are multiplied by the line scale. */
enum {
    kTransformObjects = 0x1,
    kTransformPaints = 0x2,
    kScaleLines = 0x4
};

typedef struct AITransformArtSuite {
    SPErr (*TransformArt)(AIArtHandle art, const AIRealMatrix *matrix, AIReal lineScale,
                          ASInt32 flags);
} AITransformArtSuite;

#define kAIShapeConstructionSuite "AI Shape Construction Suite"
#define kAIShapeConstructionSuiteVersion 4

typedef struct AIShapeConstructionSuite {
    /* A closed rectangle path above all art of the current layer. */
    SPErr (*NewRect)(AIReal top, AIReal left, AIReal bottom, AIReal right, ASBoolean reversed,
                     AIArtHandle *newArt);
    SPErr (*NewOval)(AIReal top, AIReal left, AIReal bottom, AIReal right, ASBoolean reversed,
                     AIArtHandle *newArt);
} AIShapeConstructionSuite;

#define kAIMeshSuite "AI Mesh Suite"
#define kAIMeshSuiteVersion 3

typedef struct AIMeshSuite {
    /* Number of patches in each direction. */
    SPErr (*GetSize)(AIArtHandle mesh, ASInt32 *i, ASInt32 *j);
    SPErr (*GetVertex)(AIArtHandle mesh, ASInt32 i, ASInt32 j, AIMeshVertexHandle *vertex);
} AIMeshSuite;

#define kAIMeshVertexSuite "AI Mesh Vertex Suite"
#define kAIMeshVertexSuiteVersion 1

typedef struct AIMeshVertexSuite {
    SPErr (*GetPoint)(AIMeshVertexHandle vertex, AIRealPoint *point);
    SPErr (*SetPoint)(AIMeshVertexHandle vertex, const AIRealPoint *point);
    SPErr (*GetColor)(AIMeshVertexHandle vertex, AIColor *color);
    SPErr (*SetColor)(AIMeshVertexHandle vertex, const AIColor *color);
} AIMeshVertexSuite;

#define kAILayerSuite "AI Layer Suite"
#define kAILayerSuiteVersion 9

typedef struct AILayerSuite {
    /* A new layer placed relative to `base` (null: relative to all layers). */
    SPErr (*InsertLayer)(AILayerHandle base, ASInt16 paintOrder, AILayerHandle *newLayer);
    SPErr (*CountLayers)(ASInt32 *count);
    SPErr (*GetNthLayer)(ASInt32 n, AILayerHandle *layer);
    SPErr (*GetCurrentLayer)(AILayerHandle *layer);
    SPErr (*GetLayerTitle)(AILayerHandle layer, char *title, ASInt32 maxLength);
} AILayerSuite;

#define kAITagSuite "AI Tag Suite"
#define kAITagSuiteVersion 2

typedef struct AITagSuite {
    /* `value` points at a zero-terminated text for type "string". */
    SPErr (*SetTag)(void *object, const char *name, const char *type, const void *value);
    SPErr (*GetTag)(void *object, const char *name, const char *type, void *value,
                    ASInt32 maxLength);
    SPErr (*CountTags)(void *object, ASInt32 *count);
} AITagSuite;

#endif
