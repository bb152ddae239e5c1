#include "shape_weight.h"

#include "brush_step.h"
#include "suites.h"

namespace {

AIReal Cap(AIReal x) { return x < 1.0f ? x : 1.0f; }

/* A zero brush half-size must not blow a weight up: its quotients are 0. */
AIReal Quotient(AIReal x, AIReal k) { return k == 0.0f ? 0.0f : x / k; }

/* Distance of a coordinate from the nearer of two edges of the rectangle. */
AIReal EdgeDistance(AIReal x, AIReal low, AIReal high, AIReal middle) {
    return x <= middle ? x - low : high - x;
}

/* The fractions of the brush's half-sizes the shapes are made of: from the
   point to the bottom, top and left edges, and to the nearer vertical or
   horizontal edge. Each shape works out only those it uses. */
AIReal Up(const AIRealPoint *p, const AIRealRect *r, AIReal hy) { return Cap(Quotient(p->v - r->bottom, hy)); }
AIReal Down(const AIRealPoint *p, const AIRealRect *r, AIReal hy) { return Cap(Quotient(r->top - p->v, hy)); }
AIReal LeftRight(const AIRealPoint *p, const AIRealRect *r, AIReal hx) {
    return Cap(Quotient(p->h - r->left, hx));
}
AIReal EdgeH(const AIRealPoint *p, const AIRealRect *r, AIReal hx) {
    AIRealPoint c = RectCenter(r);
    return Cap(Quotient(EdgeDistance(p->h, r->left, r->right, c.h), hx));
}
AIReal EdgeV(const AIRealPoint *p, const AIRealRect *r, AIReal hy) {
    AIRealPoint c = RectCenter(r);
    return Cap(Quotient(EdgeDistance(p->v, r->bottom, r->top, c.v), hy));
}

/* The weight of shapes 0 and 3..16 for a point that is inside the brush.
   `p` is the point; `pv` the same point as a second look-up found it (the
   object variant reads the bounds again for the vertical edge distance of
   shapes 11..13). */
AIReal InsideWeight(ASInt32 shape, const AIRealPoint *p, const AIRealPoint *pv, const AIRealRect *r,
                    AIReal hx, AIReal hy, ASInt32 index) {
    ASBoolean even = index % 2 == 0;
    switch (shape) {
    case kShapeBrush:
        return 1.0f;
    case kShapeRim:
    case kShapeCentral: {
        AIRealPoint c = RectCenter(r);
        AIReal d = sAIRealMath->AIRealPointLength(p, &c);
        AIReal length = sAIRealMath->AIRealLength(hx, hy);
        /* A brush without extent has neither rim nor centre. */
        if (length == 0.0f) return 0.0f;
        return shape == kShapeRim ? Cap(d / length) : Cap(1.0f - d / length);
    }
    case kShapeUp:
        return Up(p, r, hy);
    case kShapeDown:
        return Down(p, r, hy);
    case kShapeLeftRight:
        return LeftRight(p, r, hx);
    case kShapeRightLeft:
        return Cap(Quotient(r->right - p->h, hx));
    case kShapeReflected1:
        return EdgeV(p, r, hy);
    case kShapeReflected2:
        return EdgeH(p, r, hx);
    case kShapeDiamond:
        return (EdgeH(p, r, hx) + EdgeV(pv, r, hy)) * 0.5f;
    case kShapeEdge:
        return 1.0f - (EdgeH(p, r, hx) + EdgeV(pv, r, hy)) * 0.5f;
    case kShapeHotspot:
        return EdgeH(p, r, hx) * EdgeV(pv, r, hy);
    case kShapeGrad1:
        return even ? Up(p, r, hy) : Down(p, r, hy);
    case kShapeGrad2:
        return even ? LeftRight(p, r, hx) : Down(p, r, hy);
    case kShapeGrad3:
        return EdgeH(p, r, hx) * Up(p, r, hy);
    default:
        return 0.0f;
    }
}

}  // namespace

AIReal ShapeWeight(ASInt32 shape, AIArtHandle art, const AIRealRect *brushRect,
                   const AIRealRect *doubledRect, AIReal hx, AIReal hy, ASInt32 index) {
    AIRealRect bounds;
    if (sAIArt->GetArtBounds(art, &bounds) != kNoErr) return 0.0f;
    if (shape < 0 || shape >= kShapeCount) return 0.0f;
    AIRealPoint p = RectCenter(&bounds);
    ASBoolean inside = sAIRealMath->AIRealRectOverlap(brushRect, &bounds);
    if (shape == kShapeInvert) return inside ? 0.0f : 1.0f;
    if (shape == kShapeFrame) {
        if (inside) return 0.0f;
        return sAIRealMath->AIRealRectOverlap(doubledRect, &bounds) ? 1.0f : 0.0f;
    }
    if (!inside) return 0.0f;
    AIRealPoint pv = p;
    if (shape == kShapeDiamond || shape == kShapeEdge || shape == kShapeHotspot) {
        if (sAIArt->GetArtBounds(art, &bounds) != kNoErr) return 0.0f;
        pv = RectCenter(&bounds);
    }
    return InsideWeight(shape, &p, &pv, brushRect, hx, hy, index);
}

AIReal ShapeWeight(ASInt32 shape, const AIRealPoint *point, const AIRealRect *brushRect,
                   const AIRealRect *doubledRect, AIReal hx, AIReal hy, ASInt32 index) {
    if (shape < 0 || shape >= kShapeCount) return 0.0f;
    ASBoolean inside = PointInside(point, brushRect);
    if (shape == kShapeInvert) return inside ? 0.0f : 1.0f;
    if (shape == kShapeFrame) {
        if (inside) return 0.0f;
        return PointInside(point, doubledRect) ? 1.0f : 0.0f;
    }
    if (!inside) return 0.0f;
    return InsideWeight(shape, point, point, brushRect, hx, hy, index);
}
