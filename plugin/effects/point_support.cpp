#include "point_support.h"

namespace {

const AIReal kLargestReal = 3.40282347e+38f;

}  // namespace

AIReal NextStrokeStrength(AIReal factor, AIReal strength) {
    AIReal next = factor * strength * 0.01f;
    /* A strength above 100 percent would overflow in some fifty steps. */
    if (next > kLargestReal) return kLargestReal;
    if (next < -kLargestReal) return -kLargestReal;
    return next;
}

ASBoolean IsFinite(AIReal x) { return x - x == 0.0f; }

ASBoolean IsFinitePoint(const AIRealPoint *p) { return IsFinite(p->h) && IsFinite(p->v); }
