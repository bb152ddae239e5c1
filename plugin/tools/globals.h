/* The plug-in's one record of state. Every field is one word; the host keeps
   the block from start-up to shutdown, across unload and reload. */
#ifndef SMEARCRAFT_GLOBALS_H
#define SMEARCRAFT_GLOBALS_H

#include "hostapi.h"

#define kToolCount 19

/* ToolId: the order of registration. */
enum {
    kScalingTool = 0,
    kTranslateTool,
    kRotateTool,
    kTransparencyTool,
    kStrokeWeightTool,
    kFillIntensityTool,
    kFillChannelsTool,
    kStylesTool,
    kBlendModeTool,
    kColorReducerTool,
    kCornerPointsTool,
    kSwatchesTool,
    kTintTool,
    kGradientTool,
    kPatternTool,
    kQuickShrinkTool,
    kPointShifterTool,
    kGradientMeshTool,
    kWarpMeshTool
};

typedef struct Globals {
    /* 1. Tool handles, by ToolId. */
    AIToolHandle toolHandles[kToolCount];

    /* 2. Brush and stroke section, shared by all tools. */
    ASInt32 brushShape;
    AIArtHandle OutlineArt;
    AIReal brushSizeHorizontal;
    AIReal brushSizeVertical;
    ASInt32 showOutline;
    ASInt32 pressureModification;
    ASInt32 sizeFromPressure;
    ASInt32 trailOnNewLayer;
    ASInt32 trailCursor;
    AIRealPoint LastPoint;
    AIReal ShifterStrokeFactor;
    AIReal WarpStrokeFactor;
    ASInt32 SlowdownCount;
    ASInt32 brushSlowdown;

    /* 3. Tool sections. Scaling. */
    AIReal scaleHorizontal;
    AIReal scaleVertical;
    AIReal scaleMinWidth;
    AIReal scaleMinHeight;
    AIReal scaleMaxWidth;
    AIReal scaleMaxHeight;
    ASInt32 scaleLimitMode;
    ASInt32 scaleSelectedCenter;
    ASInt32 scaleRandom;
    ASInt32 scaleApplyRandom;

    /* Translate. */
    AIReal translateHorizontal;
    AIReal translateVertical;
    ASInt32 translateBasedOnFill;
    ASInt32 translateApplyRandom;
    ASInt32 translateFollowBrush;
    ASInt32 translateRandom;

    /* Rotate. */
    AIReal rotateAngle;
    ASInt32 rotateBasedOnFill;
    ASInt32 rotateSelectedCenter;
    ASInt32 rotateRandom;

    /* Transparency. */
    AIReal transparencyAmount;
    ASInt32 transparencyMode;

    /* Stroke weight. */
    AIReal strokeWeightAmount;
    ASInt32 strokeWeightMode;

    /* Fill intensity. */
    AIReal fillIntensityAmount;
    ASInt32 fillIntensityMode;
    ASInt32 fillIntensityApplyToFill;
    ASInt32 fillIntensityApplyToStroke;
    ASInt32 fillIntensityApplyRandom;

    /* Fill channels. */
    AIReal fillChannel1;
    AIReal fillChannel2;
    AIReal fillChannel3;
    AIReal fillChannel4;
    ASInt32 fillChannelsMode;
    ASInt32 fillChannelsLink;
    ASInt32 fillChannelsApplyToFill;
    ASInt32 fillChannelsApplyToStroke;
    ASInt32 fillChannelsCreateSwatch;
    ASInt32 fillChannelsApplyRandom;

    /* Styles. */
    ASInt32 styleIndex;
    AIReal styleFactor;
    ASInt32 styleMode;
    ASInt32 styleFactorMode;

    /* Blend mode. */
    ASInt32 blendMode;

    /* Color reducer. */
    AIReal colorReducerAmount;
    ASInt32 colorReducerCreateSwatch;
    ASInt32 colorReducerApplyToFill;
    ASInt32 colorReducerApplyToStroke;

    /* Corner points. */
    AIReal cornerOutHorizontal;
    AIReal cornerOutVertical;
    AIReal cornerInHorizontal;
    AIReal cornerInVertical;
    ASInt32 cornerRandom;
    ASInt32 cornerApplyMode;

    /* Swatches. */
    ASInt32 swatchIndex;
    ASInt32 swatchRandom;
    ASInt32 swatchApplyToFill;
    ASInt32 swatchApplyToStroke;
    ASInt32 swatchJitter;
    ASInt32 swatchIgnoreRandom;

    /* Tint. */
    AIReal tintAmount;
    ASInt32 tintMode;
    ASInt32 tintApplyToFill;
    ASInt32 tintApplyToStroke;

    /* Gradient. */
    AIReal gradientAngle;
    AIReal gradientLength;
    AIReal gradientHiliteAngle;
    AIReal gradientHiliteLength;
    ASInt32 gradientAngleMode;
    ASInt32 gradientLengthMode;
    ASInt32 gradientHiliteAngleMode;
    ASInt32 gradientHiliteLengthMode;

    /* Pattern. */
    AIReal patternAngle;
    AIReal patternScaleHorizontal;
    AIReal patternScaleVertical;
    ASInt32 patternAngleMode;
    ASInt32 patternScaleHorizontalMode;
    ASInt32 patternScaleVerticalMode;

    /* Quick shrink has no fields of its own. Point shifter. */
    AIReal pointShiftHorizontal;
    AIReal pointShiftVertical;
    AIReal pointShifterFactor;
    ASInt32 pointShifterFillFactor;
    ASInt32 pointShifterRandom;
    ASInt32 pointShifterFollowBrush;
    ASInt32 pointShifterApplyRandom;
    ASInt32 pointShifterDirectionPoints;

    /* Gradient mesh. */
    AIReal meshColorChannel1;
    AIReal meshColorChannel2;
    AIReal meshColorChannel3;
    AIReal meshColorChannel4;
    ASInt32 meshColorMode;
    ASInt32 meshColorLink;
    ASInt32 meshPattern;

    /* Warp mesh. */
    AIReal warpShiftHorizontal;
    AIReal warpShiftVertical;
    AIReal warpMeshFactor;
    ASInt32 warpMeshRandom;
    ASInt32 warpMeshFollowBrush;
    ASInt32 warpMeshApplyRandom;
    ASInt32 warpMeshPattern;

    /* 4. Stroke data, written by mouse down and the drag steps. */
    AIMdMemoryHandle ArtList;
    ASInt32 ArtCount;
    AIRealPoint SelectionCenter;
    AIRealPoint DownPoint;
    AIRealPoint CurrentPoint;

    /* 5. Host link: the record's last word. */
    SPBasicSuite *basicSuite;
} Globals;

#if defined(_WIN32) && !defined(_WIN64)
/* 19 tool handles, 15 brush words, 108 option words, 8 stroke words, the link. */
static_assert(sizeof(Globals) == 4 * 143, "Globals is one word per field");
#endif

/* The one Globals block; null until start-up. */
extern Globals *gGlobals;

/* Writes every option default and zeroes the stroke fields that have one. */
void SetOptionDefaults(void);

#endif
