#include "tool_effects.h"

#include "paint_effects.h"
#include "transform_effects.h"

/* Translate draws its random skip after its own random offsets, inside its
   effect; the tools of weight-by-point take their weights in their effects. */
const ToolEffect ToolEffects[kToolCount] = {
    /* Scaling */ {ScalingEffect, NULL, true, true, true, &Globals::scaleApplyRandom, false},
    /* Translate */ {TranslateEffect, NULL, true, true, true, NULL, false},
    /* Rotate */ {RotateEffect, RotateBeforeWeight, true, true, true, NULL, false},
    /* Transparency */ {TransparencyEffect, NULL, true, false, true, NULL, false},
    /* Stroke weight */ {StrokeWeightEffect, NULL, true, true, true, NULL, false},
    /* Fill intensity */
    {FillIntensityEffect, NULL, true, true, true, &Globals::fillIntensityApplyRandom, true},
    /* Fill channels */ {NULL, NULL, true, true, true, &Globals::fillChannelsApplyRandom, true},
    /* Styles */ {NULL, NULL, true, false, true, NULL, false},
    /* Blend mode */ {NULL, NULL, true, false, false, NULL, false},
    /* Color reducer */ {NULL, NULL, true, true, true, NULL, false},
    /* Corner points */ {NULL, NULL, false, true, true, NULL, false},
    /* Swatches */ {NULL, NULL, true, true, true, NULL, false},
    /* Tint */ {NULL, NULL, true, true, true, NULL, false},
    /* Gradient */ {NULL, NULL, true, true, true, NULL, false},
    /* Pattern */ {NULL, NULL, true, true, true, NULL, false},
    /* Quick shrink */ {NULL, NULL, true, true, true, NULL, false},
    /* Point shifter */ {NULL, NULL, false, true, true, NULL, false},
    /* Gradient mesh */ {NULL, NULL, false, false, true, NULL, false},
    /* Warp mesh */ {NULL, NULL, false, false, true, NULL, false},
};
