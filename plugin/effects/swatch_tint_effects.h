/* Swatches and Tint: paint objects with a colour of the document's swatch
   list, or change the tint of their custom colours. Each runs for one
   object of the per-art loop and works through a compound path's members. */
#ifndef SMEARCRAFT_SWATCH_TINT_EFFECTS_H
#define SMEARCRAFT_SWATCH_TINT_EFFECTS_H

#include "brush_step.h"

/* Counts the document's swatches once per drag step. */
void SwatchesBeforeLoop(DragStep *step);
SPErr SwatchesEffect(const DragStep *step, ArtStep *art);
SPErr TintEffect(const DragStep *step, ArtStep *art);

/* The swatch index for an object of weight w: from the options, the brush
   strength and the host's draws, clamped to a list of `count` swatches,
   then moved off the ignored index. */
ASInt32 SwatchIndex(AIReal w, AIReal p, ASInt32 count);

#endif
