/* Transparency, Stroke weight and Fill intensity: the tools that change how
   art is painted. Each runs for one object of the per-art loop. */
#ifndef SMEARCRAFT_PAINT_EFFECTS_H
#define SMEARCRAFT_PAINT_EFFECTS_H

#include "brush_step.h"

SPErr TransparencyEffect(const DragStep *step, ArtStep *art);
SPErr StrokeWeightEffect(const DragStep *step, ArtStep *art);
SPErr FillIntensityEffect(const DragStep *step, ArtStep *art);

#endif
