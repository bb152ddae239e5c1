#include "svg_shapes.h"

namespace smear::svg {

namespace {

// Control-point distance of a quarter ellipse, as a fraction of its radius.
constexpr double kKappa = 0.55228474983079339840;

// A quarter arc from `from` to `to` around the corner `corner`, for an arc
// whose tangents point at that corner.
void quarter(Subpath &s, Vec2 corner, Vec2 to) {
    const Vec2 from = s.current();
    s.curves.push_back({from + kKappa * (corner - from), to + kKappa * (corner - to), to});
}

}  // namespace

Subpath rectOutline(double x, double y, double width, double height, double rx, double ry) {
    Subpath s;
    s.closed = true;
    const double r = x + width, b = y + height;
    if (rx <= 0 || ry <= 0) {
        s.start = {x, y};
        s.lineTo({r, y});
        s.lineTo({r, b});
        s.lineTo({x, b});
        return s;  // the closing side is the close-path line
    }
    s.start = {x + rx, y};
    s.lineTo({r - rx, y});
    quarter(s, {r, y}, {r, y + ry});
    s.lineTo({r, b - ry});
    quarter(s, {r, b}, {r - rx, b});
    s.lineTo({x + rx, b});
    quarter(s, {x, b}, {x, b - ry});
    s.lineTo({x, y + ry});
    quarter(s, {x, y}, {x + rx, y});
    // Sides of zero length (corners that meet) add nothing.
    std::vector<Cubic> kept;
    Vec2 at = s.start;
    for (const Cubic &c : s.curves) {
        if (c.end == at && c.c1 == at && c.c2 == at) continue;
        kept.push_back(c);
        at = c.end;
    }
    s.curves = std::move(kept);
    return s;
}

Subpath ellipseOutline(double cx, double cy, double rx, double ry) {
    Subpath s;
    s.closed = true;
    s.start = {cx + rx, cy};
    quarter(s, {cx + rx, cy + ry}, {cx, cy + ry});
    quarter(s, {cx - rx, cy + ry}, {cx - rx, cy});
    quarter(s, {cx - rx, cy - ry}, {cx, cy - ry});
    quarter(s, {cx + rx, cy - ry}, {cx + rx, cy});
    return s;
}

Subpath polyOutline(const std::vector<Vec2> &points, bool closed) {
    Subpath s;
    s.closed = closed;
    if (points.empty()) return s;
    s.start = points.front();
    for (size_t i = 1; i < points.size(); ++i) s.lineTo(points[i]);
    return s;
}

}  // namespace smear::svg
