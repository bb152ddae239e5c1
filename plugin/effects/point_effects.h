/* Corner points and Point shifter: the tools that move the anchor points and
   control points of paths, each point weighed by itself under the brush. */
#ifndef SMEARCRAFT_POINT_EFFECTS_H
#define SMEARCRAFT_POINT_EFFECTS_H

#include "brush_step.h"

SPErr CornerPointsEffect(const DragStep *step, ArtStep *art);
SPErr PointShifterEffect(const DragStep *step, ArtStep *art);
/* The Point shifter's strength for the next drag step. */
void PointShifterAfterLoop(const DragStep *step);

#endif
