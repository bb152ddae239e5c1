/* Styles and Blend mode: the tools that change how an object looks without
   touching its geometry or its paint record. Each runs for one object of
   the per-art loop, which has tagged it already. */
#ifndef SMEARCRAFT_STYLE_EFFECTS_H
#define SMEARCRAFT_STYLE_EFFECTS_H

#include "brush_step.h"

/* The host's blending modes run from Normal (0) to Luminosity (15). */
enum {
    kBlendChoiceRandom = 16,
    kBlendChoiceHalfTransparent = 17,
    kBlendChoiceTenthOpaque = 18,
    kBlendChoiceShift = 19
};

SPErr StylesEffect(const DragStep *step, ArtStep *art);
SPErr BlendModeEffect(const DragStep *step, ArtStep *art);

#endif
