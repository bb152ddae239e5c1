/* Paint and geometry records the host reads and writes whole. */
#ifndef HOSTAPI_RECORDS_H
#define HOSTAPI_RECORDS_H

#include "types.h"

/* Colour kinds. */
enum {
    kGrayColor = 0,
    kFourColor = 1,
    kPattern = 2,
    kCustomColor = 3,
    kGradient = 4,
    kThreeColor = 5,
    kNoneColor = 6
};

typedef struct AIGrayColorStyle {
    AIReal gray; /* 0 white .. 1 black ink */
} AIGrayColorStyle;

typedef struct AIFourColorStyle {
    AIReal cyan, magenta, yellow, black;
} AIFourColorStyle;

typedef struct AIThreeColorStyle {
    AIReal red, green, blue;
} AIThreeColorStyle;

typedef struct AICustomColorStyle {
    AICustomColorHandle color;
    AIReal tint; /* 0 full colour .. 1 none */
} AICustomColorStyle;

typedef struct AIPatternStyle {
    AIPatternHandle pattern;
    AIReal shiftDist;
    AIReal shiftAngle;
    AIRealPoint scale;
    AIReal rotate; /* degrees */
    ASInt32 reflect;
    AIReal reflectAngle;
    AIReal shearAngle;
    AIReal shearAxis;
    AIRealMatrix transform;
} AIPatternStyle;

typedef struct AIGradientStyle {
    AIGradientHandle gradient;
    AIRealPoint gradientOrigin;
    AIReal gradientAngle; /* degrees */
    AIReal gradientLength;
    AIRealMatrix matrix;
    AIReal hiliteAngle; /* degrees */
    AIReal hiliteLength; /* 0 .. 1 */
} AIGradientStyle;

typedef union AIColorUnion {
    AIGrayColorStyle g;
    AIFourColorStyle f;
    AIThreeColorStyle rgb;
    AICustomColorStyle c;
    AIPatternStyle p;
    AIGradientStyle b;
} AIColorUnion;

typedef struct AIColor {
    ASInt32 kind;
    AIColorUnion c;
} AIColor;

typedef struct AIFillStyle {
    AIColor color;
    ASInt32 overprint;
} AIFillStyle;

#define kMaxDashComponents 6

typedef struct AIStrokeStyle {
    AIColor color;
    ASInt32 overprint;
    AIReal width;
    AIReal dashOffset;
    ASInt32 dashCount;
    AIReal dashes[kMaxDashComponents];
    ASInt32 cap;  /* 0 butt, 1 round, 2 square */
    ASInt32 join; /* 0 miter, 1 round, 2 bevel */
    AIReal miterLimit;
} AIStrokeStyle;

typedef struct AIPathStyle {
    ASInt32 fillPaint;
    AIFillStyle fill;
    ASInt32 strokePaint;
    AIStrokeStyle stroke;
    ASInt32 evenodd;
} AIPathStyle;

/* One anchor point of a path with its two control points. */
typedef struct AIPathSegment {
    AIRealPoint p;   /* anchor */
    AIRealPoint in;  /* control point before the anchor */
    AIRealPoint out; /* control point after the anchor */
    ASBoolean corner;
} AIPathSegment;

/* One criterion of a matching-art query. */
typedef struct AIMatchingArtSpec {
    ASInt16 type;
    ASInt32 whichAttr;
    ASInt32 attr;
} AIMatchingArtSpec;

/* Art types. */
enum {
    kUnknownArt = 0,
    kGroupArt = 1,
    kPathArt = 2,
    kCompoundPathArt = 3,
    kTextArt = 4,
    kPlacedArt = 7,
    kMysteryPathArt = 8,
    kRasterArt = 9,
    kMeshArt = 11,
    kSymbolArt = 13
};

/* Art user attributes. */
enum {
    kArtSelected = 0x1,
    kArtLocked = 0x2,
    kArtHidden = 0x4
};

/* Paint orders for new and duplicated art, and for new layers. */
enum {
    kPlaceAbove = 1,
    kPlaceBelow = 2,
    kPlaceInsideOnTop = 3,
    kPlaceInsideOnBottom = 4,
    kPlaceAboveAll = 5,
    kPlaceBelowAll = 6
};

#if defined(_WIN32) && !defined(_WIN64)
/* The 32-bit host lays these records out exactly so. */
#ifdef __cplusplus
#define HOSTAPI_STATIC_ASSERT static_assert
#else
#define HOSTAPI_STATIC_ASSERT _Static_assert
#endif
HOSTAPI_STATIC_ASSERT(sizeof(AIColor) == 68, "colour record is 68 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(AIRealMatrix) == 24, "real matrix is 24 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(AIRealRect) == 16, "real rectangle is 16 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(AIRealPoint) == 8, "real point is 8 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(AIPathSegment) == 28, "path segment is 28 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(ADMRect) == 16, "dialog rectangle is 16 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(AIFillStyle) == 72, "fill style is 72 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(AIStrokeStyle) == 120, "stroke style is 120 bytes");
HOSTAPI_STATIC_ASSERT(sizeof(AIPathStyle) == 204, "path style is 204 bytes");
#endif

#endif
