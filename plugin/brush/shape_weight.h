/* How strongly the brush shape weighs an art object, or one point of it. */
#ifndef SMEARCRAFT_SHAPE_WEIGHT_H
#define SMEARCRAFT_SHAPE_WEIGHT_H

#include "hostapi.h"

/* The seventeen entries of the brush shape popup. */
enum {
    kShapeBrush = 0,
    kShapeInvert = 1,
    kShapeFrame = 2,
    kShapeRim = 3,
    kShapeCentral = 4,
    kShapeUp = 5,
    kShapeDown = 6,
    kShapeLeftRight = 7,
    kShapeRightLeft = 8,
    kShapeReflected1 = 9,
    kShapeReflected2 = 10,
    kShapeDiamond = 11,
    kShapeEdge = 12,
    kShapeHotspot = 13,
    kShapeGrad1 = 14,
    kShapeGrad2 = 15,
    kShapeGrad3 = 16,
    kShapeCount = 17
};

/* Object variant: weighs `art` by the centre of its bounds; "inside" is the
   host's overlap test of the brush rectangle with the bounds. 0 when the
   bounds cannot be read. `index` is the object's place in the ArtList. */
AIReal ShapeWeight(ASInt32 shape, AIArtHandle art, const AIRealRect *brushRect,
                   const AIRealRect *doubledRect, AIReal hx, AIReal hy, ASInt32 index);

/* Whether a point lies in a rectangle, its edges included. */
inline ASBoolean PointInside(const AIRealPoint *p, const AIRealRect *r) {
    return r->left <= p->h && p->h <= r->right && r->bottom <= p->v && p->v <= r->top;
}

/* Point variant: weighs one point; "inside" includes the rectangle's edges.
   `index` is the ArtList place of the object that owns the point. */
AIReal ShapeWeight(ASInt32 shape, const AIRealPoint *point, const AIRealRect *brushRect,
                   const AIRealRect *doubledRect, AIReal hx, AIReal hy, ASInt32 index);

#endif
