/* What the tools that move points and mesh vertices share: the weight of one
   point under the brush, offsets that follow the brush, a stroke strength
   that grows or decays, and the guard against coordinates that are not
   finite. */
#ifndef SMEARCRAFT_POINT_SUPPORT_H
#define SMEARCRAFT_POINT_SUPPORT_H

#include "brush_step.h"
#include "globals.h"
#include "shape_weight.h"
#include "value_modes.h"

/* The brush-shape weight of one point of the ArtList object `art`. Inline:
   the point tools ask it for every anchor and mesh point, and with the
   plain brush it is 1 inside the brush and 0 outside. */
inline AIReal PointWeight(const DragStep *step, const ArtStep *art, const AIRealPoint *point) {
    const ASInt32 shape = gGlobals->brushShape;
    if (shape == kShapeBrush) return PointInside(point, &step->BrushRect) ? 1.0f : 0.0f;
    return ShapeWeight(shape, point, &step->BrushRect, &step->DoubledRect, step->hx, step->hy, art->index);
}

/* The offsets amount x q x c x p x F, each randomized (sign, then size) when
   `random` is on, and turned with the brush's movement when `follow` is.
   Inline, as it is worked out for every point a tool moves. */
inline void ShiftOffsets(const DragStep *step, AIReal amountH, AIReal amountV, AIReal q, AIReal c, AIReal F,
                         ASBoolean random, ASBoolean follow, AIReal *dx, AIReal *dy) {
    const AIReal p = step->PressureFactor;
    *dx = amountH * q * c * p * F;
    *dy = amountV * q * c * p * F;
    if (random) {
        *dx = RandomAmount(*dx);
        *dy = RandomAmount(*dy);
    }
    if (follow) {
        *dx = *dx * step->MovementCos;
        *dy = *dy * step->MovementSin;
    }
}

/* The stroke strength after one more drag step: factor x strength x 1%,
   which stops growing at the largest finite real. */
AIReal NextStrokeStrength(AIReal factor, AIReal strength);

/* Neither infinite nor not a number. */
ASBoolean IsFinite(AIReal x);
ASBoolean IsFinitePoint(const AIRealPoint *p);

/* Whether all six coordinates of a segment are finite. x - x is 0 for a
   finite x and NaN otherwise, and NaN stays NaN through a sum: one test
   instead of six, for the point tools write every segment they reach. The
   sum is taken in pairs, so that it waits on three additions, not five. */
inline ASBoolean IsFiniteSegment(const AIPathSegment *s) {
    const AIReal p = (s->p.h - s->p.h) + (s->p.v - s->p.v);
    const AIReal in = (s->in.h - s->in.h) + (s->in.v - s->in.v);
    const AIReal out = (s->out.h - s->out.h) + (s->out.v - s->out.v);
    return (p + in) + out == 0.0f;
}

#endif
