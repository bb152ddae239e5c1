// The basic SVG shapes as cubic subpaths, in the shape's own user space,
// drawn the way SVG defines their outlines (rectangles from the top left
// corner, circles and ellipses from their rightmost point, clockwise on the
// screen).
#pragma once

#include <vector>

#include "svg_path_data.h"

namespace smear::svg {

// rx and ry are already resolved (non-negative, at most half the size).
Subpath rectOutline(double x, double y, double width, double height, double rx, double ry);
Subpath ellipseOutline(double cx, double cy, double rx, double ry);
// Polylines and polygons: one line per pair of neighbouring points.
Subpath polyOutline(const std::vector<Vec2> &points, bool closed);

}  // namespace smear::svg
