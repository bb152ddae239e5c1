/* Colour reducer: pulls the colours of the objects under the brush toward
   their common average. It walks the whole ArtList twice in one drag step,
   once to average and once to reduce, so it replaces the per-art loop. */
#ifndef SMEARCRAFT_COLOR_REDUCER_H
#define SMEARCRAFT_COLOR_REDUCER_H

#include "brush_step.h"

SPErr ColorReducerStep(const DragStep *step);

#endif
