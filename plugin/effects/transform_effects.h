/* Scaling, Translate, Rotate and Quick shrink: the tools that move art
   through the host's transform. Each runs for one object of the per-art
   loop. */
#ifndef SMEARCRAFT_TRANSFORM_EFFECTS_H
#define SMEARCRAFT_TRANSFORM_EFFECTS_H

#include "brush_step.h"

SPErr ScalingEffect(const DragStep *step, ArtStep *art);
SPErr TranslateEffect(const DragStep *step, ArtStep *art);
/* Rotate takes its (random) angle before the object is weighed. */
void RotateBeforeWeight(const DragStep *step, ArtStep *art);
SPErr RotateEffect(const DragStep *step, ArtStep *art);
/* Shrinks the object toward the brush centre. */
SPErr QuickShrinkEffect(const DragStep *step, ArtStep *art);

#endif
