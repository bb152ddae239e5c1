/* Gradient and Pattern: change how a gradient or a pattern lies in an
   object's fill (angle, length, highlight; rotation, scales), never the
   gradient or pattern itself, and never a stroke. */
#ifndef SMEARCRAFT_GRADIENT_PATTERN_H
#define SMEARCRAFT_GRADIENT_PATTERN_H

#include "brush_step.h"

SPErr GradientEffect(const DragStep *step, ArtStep *art);
SPErr PatternEffect(const DragStep *step, ArtStep *art);

#endif
