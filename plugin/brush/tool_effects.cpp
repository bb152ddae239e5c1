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
     .skipOption = &Globals::scaleApplyRandom, .skipEveryObject = false},
    /* Translate */
    {.effect = TranslateEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Rotate */
    {.effect = RotateEffect, .listEffect = NULL, .beforeLoop = NULL,
     .beforeWeight = RotateBeforeWeight, .afterLoop = NULL, .objectWeight = true,
     .throughChildren = true, .trailCopy = true, .skipOption = NULL, .skipEveryObject = false},
    /* Transparency */
    {.effect = TransparencyEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = false, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Stroke weight */
    {.effect = StrokeWeightEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Fill intensity */
    {.effect = FillIntensityEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = &Globals::fillIntensityApplyRandom, .skipEveryObject = true},
    /* Fill channels */
    {.effect = FillChannelsEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = &Globals::fillChannelsApplyRandom, .skipEveryObject = true},
    /* Styles */
    {.effect = StylesEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = false, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Blend mode */
    {.effect = BlendModeEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = false, .trailCopy = false,
     .skipOption = NULL, .skipEveryObject = false},
    /* Color reducer */
    {.effect = NULL, .listEffect = ColorReducerStep, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Corner points */
    {.effect = CornerPointsEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = false, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Swatches */
    {.effect = SwatchesEffect, .listEffect = NULL, .beforeLoop = SwatchesBeforeLoop,
     .beforeWeight = NULL, .afterLoop = NULL, .objectWeight = true, .throughChildren = true,
     .trailCopy = true, .skipOption = NULL, .skipEveryObject = false},
    /* Tint */
    {.effect = TintEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Gradient */
    {.effect = GradientEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Pattern */
    {.effect = PatternEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Quick shrink */
    {.effect = QuickShrinkEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = true, .throughChildren = true, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Point shifter */
    {.effect = PointShifterEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = PointShifterAfterLoop, .objectWeight = false, .throughChildren = true,
     .trailCopy = true, .skipOption = NULL, .skipEveryObject = false},
    /* Gradient mesh */
    {.effect = GradientMeshEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = NULL, .objectWeight = false, .throughChildren = false, .trailCopy = true,
     .skipOption = NULL, .skipEveryObject = false},
    /* Warp mesh */
    {.effect = WarpMeshEffect, .listEffect = NULL, .beforeLoop = NULL, .beforeWeight = NULL,
     .afterLoop = WarpMeshAfterLoop, .objectWeight = false, .throughChildren = false,
     .trailCopy = true, .skipOption = NULL, .skipEveryObject = false},
};
