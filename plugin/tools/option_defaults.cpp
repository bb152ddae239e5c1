/* The default of every option; every start-up of the host begins here. */
#include "globals.h"

void SetOptionDefaults(void) {
    Globals *g = gGlobals;

    g->brushShape = 0;
    g->OutlineArt = NULL;
    g->brushSizeHorizontal = 50.0f;
    g->brushSizeVertical = 50.0f;
    g->showOutline = 1;
    g->pressureModification = 0;
    g->sizeFromPressure = 0;
    g->trailOnNewLayer = 0;
    g->trailCursor = 0;
    g->SlowdownCount = 0;
    g->brushSlowdown = 0;

    g->scaleHorizontal = -1.0f;
    g->scaleVertical = -1.0f;
    g->scaleMinWidth = 0.0f;
    g->scaleMinHeight = 0.0f;
    g->scaleMaxWidth = 9999.0f;
    g->scaleMaxHeight = 9999.0f;
    g->scaleLimitMode = 0;
    g->scaleSelectedCenter = 0;
    g->scaleRandom = 0;
    g->scaleApplyRandom = 0;

    g->translateHorizontal = 0.5f;
    g->translateVertical = 0.5f;
    g->translateBasedOnFill = 0;
    g->translateApplyRandom = 0;
    g->translateFollowBrush = 0;
    g->translateRandom = 0;

    g->rotateAngle = 1.0f;
    g->rotateBasedOnFill = 0;
    g->rotateSelectedCenter = 0;
    g->rotateRandom = 0;

    g->transparencyAmount = -1.0f;
    g->transparencyMode = 0;

    g->strokeWeightAmount = 0.1f;
    g->strokeWeightMode = 0;

    g->fillIntensityAmount = -1.0f;
    g->fillIntensityMode = 0;
    g->fillIntensityApplyToFill = 1;
    g->fillIntensityApplyToStroke = 0;
    g->fillIntensityApplyRandom = 0;

    g->fillChannel1 = -1.0f;
    g->fillChannel2 = -1.0f;
    g->fillChannel3 = -1.0f;
    g->fillChannel4 = -1.0f;
    g->fillChannelsMode = 0;
    g->fillChannelsLink = 0;
    g->fillChannelsApplyToFill = 1;
    g->fillChannelsApplyToStroke = 0;
    g->fillChannelsCreateSwatch = 0;
    g->fillChannelsApplyRandom = 0;

    g->styleIndex = 1;
    g->styleFactor = 0.0f;
    g->styleMode = 0;
    g->styleFactorMode = 0;

    g->blendMode = 0;

    g->colorReducerAmount = 20.0f;
    g->colorReducerCreateSwatch = 0;
    g->colorReducerApplyToFill = 1;
    g->colorReducerApplyToStroke = 0;

    g->cornerOutHorizontal = -10.0f;
    g->cornerOutVertical = -10.0f;
    g->cornerInHorizontal = -10.0f;
    g->cornerInVertical = -10.0f;
    g->cornerRandom = 0;
    g->cornerApplyMode = 0;

    g->swatchIndex = 3;
    g->swatchRandom = 0;
    g->swatchApplyToFill = 1;
    g->swatchApplyToStroke = 0;
    g->swatchJitter = 0;
    g->swatchIgnoreRandom = 1;

    g->tintAmount = -1.0f;
    g->tintMode = 0;
    g->tintApplyToFill = 1;
    g->tintApplyToStroke = 0;

    g->gradientAngle = 1.0f;
    g->gradientLength = 3.0f;
    g->gradientHiliteAngle = 0.0f;
    g->gradientHiliteLength = 0.0f;
    g->gradientAngleMode = 0;
    g->gradientLengthMode = 0;
    g->gradientHiliteAngleMode = 0;
    g->gradientHiliteLengthMode = 0;

    g->patternAngle = -1.0f;
    g->patternScaleHorizontal = 0.0f;
    g->patternScaleVertical = 0.0f;
    g->patternAngleMode = 0;
    g->patternScaleHorizontalMode = 0;
    g->patternScaleVerticalMode = 0;

    g->pointShiftHorizontal = 0.5f;
    g->pointShiftVertical = 0.5f;
    g->pointShifterFactor = 100.0f;
    g->pointShifterFillFactor = 0;
    g->pointShifterRandom = 0;
    g->pointShifterFollowBrush = 1;
    g->pointShifterApplyRandom = 0;
    g->pointShifterDirectionPoints = 0;

    g->meshColorChannel1 = -1.0f;
    g->meshColorChannel2 = -1.0f;
    g->meshColorChannel3 = -1.0f;
    g->meshColorChannel4 = -1.0f;
    g->meshColorMode = 0;
    g->meshColorLink = 0;
    g->meshPattern = 0;

    g->warpShiftHorizontal = 0.5f;
    g->warpShiftVertical = 0.5f;
    g->warpMeshFactor = 100.0f;
    g->warpMeshRandom = 0;
    g->warpMeshFollowBrush = 1;
    g->warpMeshApplyRandom = 0;
    g->warpMeshPattern = 0;
}
