#include "tool_effects.h"

#include "color_reducer.h"
#include "fill_channels.h"
#include "gradient_pattern.h"
#include "mesh_effects.h"
#include "paint_effects.h"
#include "point_effects.h"
#include "style_effects.h"
#include "swatch_tint_effects.h"
#include "transform_effects.h"

/* Translate draws its random skip after its own random offsets, inside its
   effect; the tools of weight-by-point take their weights in their effects;
   Colour reducer walks the list twice in one step, so it replaces the loop. */
const ToolEffect ToolEffects[kToolCount] = {
    /* Scaling */
    {.effect = ScalingEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = &Globals::scaleApplyRandom, .skipEveryObject = false, .followOption = NULL},
    /* Translate */
    {.effect = TranslateEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = &Globals::translateFollowBrush},
    /* Rotate */
    {.effect = RotateEffect, .listEffect = NULL, .beforeLoop = NULL,
     .beforeWeight = RotateBeforeWeight, .afterLoop = NULL, .objectWeight = true,
     .throughChildren = true, .trailCopy = true, .skipOption = NULL, .skipEveryObject = false,
     .followOption = NULL},
    /* Transparency */
    {.effect = TransparencyEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = false, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Stroke weight */
    {.effect = StrokeWeightEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Fill intensity */
    {.effect = FillIntensityEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = &Globals::fillIntensityApplyRandom, .skipEveryObject = true, .followOption = NULL},
    /* Fill channels */
    {.effect = FillChannelsEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = &Globals::fillChannelsApplyRandom, .skipEveryObject = true, .followOption = NULL},
    /* Styles */
    {.effect = StylesEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = false, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Blend mode */
    {.effect = BlendModeEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = false, .trailCopy = false,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Color reducer */
    {.effect = NULL, .listEffect = ColorReducerStep, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Corner points */
    {.effect = CornerPointsEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = false, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Swatches */
    {.effect = SwatchesEffect, .listEffect = NULL, .beforeLoop = SwatchesBeforeLoop,
     .beforeWeight = NULL, .afterLoop = NULL, .objectWeight = true, .throughChildren = true,
     .trailCopy = true, .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Tint */
    {.effect = TintEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Gradient */
    {.effect = GradientEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Pattern */
    {.effect = PatternEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Quick shrink */
    {.effect = QuickShrinkEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Point shifter */
    {.effect = PointShifterEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = PointShifterAfterLoop, .objectWeight = false, .throughChildren = true,
     .trailCopy = true, .skipOption = NULL, .skipEveryObject = false,
     .followOption = &Globals::pointShifterFollowBrush},
    /* Gradient mesh */
    {.effect = GradientMeshEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = false, .throughChildren = false, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false, .followOption = NULL},
    /* Warp mesh */
    {.effect = WarpMeshEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = WarpMeshAfterLoop, .objectWeight = false, .throughChildren = false,
     .trailCopy = true, .skipOption = NULL, .skipEveryObject = false,
     .followOption = &Globals::warpMeshFollowBrush},
};
