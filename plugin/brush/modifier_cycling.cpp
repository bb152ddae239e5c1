#include "modifier_cycling.h"

#include "globals.h"

namespace {

/* One value a cycling action steps: a positive step wraps above the bound,
   a negative one below it. Exactly one of the two fields is set. */
typedef struct CycleRow {
    ASInt32 toolId;
    ASBoolean first;
    AIReal Globals::*real;
    ASInt32 Globals::*integer;
    ASInt32 step;
    ASInt32 bound;
    ASInt32 wrapTo;
} CycleRow;

#define REAL(tool, first, field, step, bound, wrap) {tool, first, &Globals::field, NULL, step, bound, wrap}
#define INT(tool, first, field, step, bound, wrap) {tool, first, NULL, &Globals::field, step, bound, wrap}

/* In the order the values change within an action. Blend mode, Quick shrink
   and Warp mesh have nothing to cycle. */
const CycleRow kCycleRows[] = {
    REAL(kScalingTool, true, scaleHorizontal, 1, 150, 50),
    REAL(kScalingTool, false, scaleVertical, 1, 150, 50),
    REAL(kTranslateTool, true, translateHorizontal, 1, 150, -150),
    REAL(kTranslateTool, false, translateVertical, 1, 150, -150),
    REAL(kRotateTool, true, rotateAngle, 1, 60, -60),
    REAL(kRotateTool, false, rotateAngle, -1, -60, 60),
    REAL(kTransparencyTool, true, transparencyAmount, 1, 100, 0),
    REAL(kTransparencyTool, false, transparencyAmount, -1, 0, 100),
    REAL(kStrokeWeightTool, true, strokeWeightAmount, 10, 500, -500),
    REAL(kStrokeWeightTool, false, strokeWeightAmount, -10, -500, 500),
    REAL(kFillIntensityTool, true, fillIntensityAmount, 1, 100, 0),
    REAL(kFillIntensityTool, false, fillIntensityAmount, -1, 0, 100),
    REAL(kFillChannelsTool, true, fillChannel1, 1, 100, 0),
    REAL(kFillChannelsTool, true, fillChannel2, 1, 100, 0),
    REAL(kFillChannelsTool, true, fillChannel3, 1, 100, 0),
    REAL(kFillChannelsTool, true, fillChannel4, 1, 100, 0),
    REAL(kFillChannelsTool, false, fillChannel1, -1, 0, 100),
    REAL(kFillChannelsTool, false, fillChannel2, -1, 0, 100),
    REAL(kFillChannelsTool, false, fillChannel3, -1, 0, 100),
    REAL(kFillChannelsTool, false, fillChannel4, -1, 0, 100),
    INT(kStylesTool, true, styleIndex, 1, 30, 0),
    REAL(kStylesTool, false, styleFactor, 1, 150, -150),
    REAL(kColorReducerTool, true, colorReducerAmount, 1, 100, 0),
    REAL(kColorReducerTool, false, colorReducerAmount, -1, 0, 100),
    REAL(kCornerPointsTool, true, cornerOutHorizontal, 1, 50, -50),
    REAL(kCornerPointsTool, true, cornerOutVertical, 1, 50, -50),
    REAL(kCornerPointsTool, true, cornerInHorizontal, 1, 50, -50),
    REAL(kCornerPointsTool, true, cornerInVertical, 1, 50, -50),
    REAL(kCornerPointsTool, false, cornerOutHorizontal, -1, -50, 50),
    REAL(kCornerPointsTool, false, cornerOutVertical, -1, -50, 50),
    REAL(kCornerPointsTool, false, cornerInHorizontal, -1, -50, 50),
    REAL(kCornerPointsTool, false, cornerInVertical, -1, -50, 50),
    INT(kSwatchesTool, true, swatchIndex, 1, 30, 1),
    INT(kSwatchesTool, false, swatchJitter, 1, 5, -5),
    REAL(kTintTool, true, tintAmount, 1, 100, 0),
    REAL(kTintTool, false, tintAmount, -1, 0, 100),
    REAL(kGradientTool, true, gradientAngle, 1, 360, 0),
    REAL(kGradientTool, true, gradientLength, 10, 200, 0),
    REAL(kGradientTool, false, gradientAngle, -1, 0, 360),
    REAL(kGradientTool, false, gradientLength, -10, 0, 200),
    REAL(kPatternTool, true, patternAngle, 1, 360, 0),
    REAL(kPatternTool, false, patternAngle, -1, 0, 360),
    REAL(kPointShifterTool, true, pointShiftHorizontal, 1, 100, 0),
    REAL(kPointShifterTool, true, pointShiftVertical, 1, 100, 0),
    REAL(kPointShifterTool, false, pointShiftHorizontal, -1, -100, 0),
    REAL(kPointShifterTool, false, pointShiftVertical, -1, -100, 0),
    REAL(kGradientMeshTool, true, meshColorChannel1, 1, 100, 0),
    REAL(kGradientMeshTool, true, meshColorChannel2, 1, 100, 0),
    REAL(kGradientMeshTool, true, meshColorChannel3, 1, 100, 0),
    REAL(kGradientMeshTool, true, meshColorChannel4, 1, 100, 0),
    REAL(kGradientMeshTool, false, meshColorChannel1, -1, 0, 100),
    REAL(kGradientMeshTool, false, meshColorChannel2, -1, 0, 100),
    REAL(kGradientMeshTool, false, meshColorChannel3, -1, 0, 100),
    REAL(kGradientMeshTool, false, meshColorChannel4, -1, 0, 100),
};

#undef REAL
#undef INT

template <class T> ASBoolean PastBound(T value, const CycleRow *row) {
    return row->step > 0 ? value > (T)row->bound : value < (T)row->bound;
}

void StepValue(Globals *g, const CycleRow *row) {
    if (row->real != NULL) {
        AIReal &value = g->*(row->real);
        value += (AIReal)row->step;
        if (PastBound(value, row)) value = (AIReal)row->wrapTo;
    } else {
        ASInt32 &value = g->*(row->integer);
        value += row->step;
        if (PastBound(value, row)) value = row->wrapTo;
    }
}

}  // namespace

void ModifierCycling(ASInt32 toolId, ASInt32 modifiers) {
    if ((modifiers & kADMShiftKeyMask) == 0) return;
    ASBoolean first = (modifiers & kADMControlKeyMask) != 0;
    for (const CycleRow &row : kCycleRows)
        if (row.toolId == toolId && row.first == first) StepValue(gGlobals, &row);
}
