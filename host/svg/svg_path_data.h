// SVG path data ("d") read into cubic Bezier subpaths: lines are cubics whose
// control points sit on their ends, quadratics are raised to cubics and
// elliptical arcs are split into pieces of at most 90 degrees.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "svg_affine.h"

namespace smear::svg {

struct Cubic {
    Vec2 c1, c2, end;
};

struct Subpath {
    Vec2 start;
    std::vector<Cubic> curves;
    bool closed = false;

    void lineTo(Vec2 p) { curves.push_back({current(), p, p}); }
    Vec2 current() const { return curves.empty() ? start : curves.back().end; }
};

struct PathData {
    std::vector<Subpath> subpaths;
    // Empty when the whole text was read. Otherwise what was wrong; the
    // subpaths then hold everything up to the last complete command, as an
    // SVG renderer draws it.
    std::string error;
    // The first number the drawing cannot hold (beyond a float's range), as
    // written; empty when every number read fits.
    std::string beyondRange;
};

PathData parsePathData(std::string_view d);

// Appends the elliptical arc from the subpath's current point to `to`, as
// the SVG arc command describes it (radii, x-axis rotation in degrees, the
// large-arc and sweep flags). Zero radii give a straight line; an arc that
// ends where it starts adds nothing. False, adding nothing, when a number
// is not finite or the arc cannot be computed with them.
bool appendArc(Subpath &path, double rx, double ry, double rotationDegrees, bool largeArc, bool sweep,
               Vec2 to);

// Transform lists: matrix(), translate(), scale(), rotate() with an optional
// centre, skewX(), skewY(), composed left to right. False for a malformed list.
bool parseTransformList(std::string_view text, Affine &out);

}  // namespace smear::svg
