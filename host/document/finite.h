// Whether the numbers of a record are finite: what the document may hold.
// The host's suites refuse records that are not, and the SVG reader drops
// art whose numbers went beyond a float while it was computed.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "hostapi.h"

namespace smear {

inline bool isFinite(const AIRealMatrix &m) {
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
}

inline bool isFinite(AIRealPoint p) { return std::isfinite(p.h) && std::isfinite(p.v); }
// x - x is 0 for a finite x and NaN otherwise, and a sum with a NaN in it
// is NaN: one comparison for the six numbers, without a branch for each,
// as a point tool writes a segment for every anchor it reaches.
inline bool isFinite(const AIPathSegment &s) {
    const AIReal p = (s.p.h - s.p.h) + (s.p.v - s.p.v);
    const AIReal in = (s.in.h - s.in.h) + (s.in.v - s.in.v);
    const AIReal out = (s.out.h - s.out.h) + (s.out.v - s.out.v);
    return (p + in) + out == 0.0f;
}

inline bool allFinite(std::initializer_list<AIReal> values) {
    return std::all_of(values.begin(), values.end(), [](AIReal v) { return std::isfinite(v); });
}

// Whether every number of the colour's kind is finite: its inks, its tint,
// a gradient's placement and matrix, a pattern's placement and transform.
inline bool colorIsFinite(const AIColor &c) {
    switch (c.kind) {
    case kGrayColor:
        return std::isfinite(c.c.g.gray);
    case kFourColor:
        return allFinite({c.c.f.cyan, c.c.f.magenta, c.c.f.yellow, c.c.f.black});
    case kThreeColor:
        return allFinite({c.c.rgb.red, c.c.rgb.green, c.c.rgb.blue});
    case kCustomColor:
        return std::isfinite(c.c.c.tint);
    case kGradient: {
        const AIGradientStyle &b = c.c.b;
        return isFinite(b.gradientOrigin) && isFinite(b.matrix) &&
               allFinite({b.gradientAngle, b.gradientLength, b.hiliteAngle, b.hiliteLength});
    }
    case kPattern: {
        const AIPatternStyle &p = c.c.p;
        return isFinite(p.scale) && isFinite(p.transform) &&
               allFinite({p.shiftDist, p.shiftAngle, p.rotate, p.reflectAngle, p.shearAngle, p.shearAxis});
    }
    default:
        return true;
    }
}

}  // namespace smear
