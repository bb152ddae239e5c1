#include "svg_bezier.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace smear::svg {

namespace {

AIRealPoint toDocument(Vec2 p) { return {AIReal(p.x), AIReal(-p.y)}; }

bool nearlyEqual(Vec2 p, Vec2 q) {
    const double scale = std::max({1.0, std::fabs(p.x), std::fabs(p.y)});
    return std::fabs(p.x - q.x) <= 1e-9 * scale && std::fabs(p.y - q.y) <= 1e-9 * scale;
}

// A smooth anchor has its two handles on one line through it, on opposite
// sides; anything else (including a missing handle) is a corner.
bool isCorner(Vec2 in, Vec2 p, Vec2 out) {
    const Vec2 a = in - p, b = out - p;
    const double la = std::hypot(a.x, a.y), lb = std::hypot(b.x, b.y);
    if (la == 0 || lb == 0) return true;
    const double cross = (a.x * b.y - a.y * b.x) / (la * lb);
    const double dot = (a.x * b.x + a.y * b.y) / (la * lb);
    return !(dot < 0 && std::fabs(cross) < 1e-3);
}

double cubicAt(double p0, double p1, double p2, double p3, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

void addExtrema(Box &box, Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3) {
    box.add(p3);
    for (int axis = 0; axis < 2; ++axis) {
        const double c0 = axis ? p0.y : p0.x, c1 = axis ? p1.y : p1.x;
        const double c2 = axis ? p2.y : p2.x, c3 = axis ? p3.y : p3.x;
        // Roots of the derivative a·t² + b·t + c (divided by 3).
        const double a = -c0 + 3 * c1 - 3 * c2 + c3;
        const double b = 2 * (c0 - 2 * c1 + c2);
        const double c = c1 - c0;
        double roots[2];
        int n = 0;
        if (std::fabs(a) < 1e-12) {
            if (b != 0) roots[n++] = -c / b;
        } else {
            const double disc = b * b - 4 * a * c;
            if (disc >= 0) {
                roots[n++] = (-b + std::sqrt(disc)) / (2 * a);
                roots[n++] = (-b - std::sqrt(disc)) / (2 * a);
            }
        }
        for (int i = 0; i < n; ++i)
            if (roots[i] > 0 && roots[i] < 1)
                box.add(Vec2{cubicAt(p0.x, p1.x, p2.x, p3.x, roots[i]), cubicAt(p0.y, p1.y, p2.y, p3.y, roots[i])});
    }
}

}  // namespace

std::vector<DocumentPath> toDocumentPaths(const std::vector<Subpath> &subpaths, const Affine &m) {
    std::vector<DocumentPath> out;
    for (size_t index = 0; index < subpaths.size(); ++index) {
        const Subpath &s = subpaths[index];
        if (!drawsSomething(s)) continue;
        // Anchors with the control points on either side, in root space.
        struct Anchor {
            Vec2 in, p, out;
        };
        std::vector<Anchor> anchors;
        const Vec2 start = m.apply(s.start);
        anchors.push_back({start, start, start});
        for (const Cubic &c : s.curves) {
            anchors.back().out = m.apply(c.c1);
            const Vec2 end = m.apply(c.end);
            anchors.push_back({m.apply(c.c2), end, end});
        }
        if (s.closed && anchors.size() > 1 && nearlyEqual(s.curves.back().end, s.start)) {
            anchors.front().in = anchors.back().in;
            anchors.pop_back();
        }
        DocumentPath path;
        path.closed = s.closed;
        path.subpath = index;
        for (const Anchor &a : anchors) {
            AIPathSegment seg{};
            seg.p = toDocument(a.p);
            seg.in = toDocument(a.in);
            seg.out = toDocument(a.out);
            seg.corner = isCorner(a.in, a.p, a.out) ? 1 : 0;
            path.segments.push_back(seg);
        }
        out.push_back(std::move(path));
    }
    return out;
}

namespace {

std::string shortestDouble(double value) {
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

// The float's shortest text; false for a value that is not writableFloat.
bool floatText(std::string &out, double value) {
    if (!writableFloat(value)) return false;
    float f = float(value);
    if (f == 0) f = 0;  // no "-0" from flipped zeros
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, f);
    out.append(buf, r.ptr);
    return true;
}

}  // namespace

UnwritableNumber::UnwritableNumber(double value) : value_(value) {
    // Without a sign for what is not finite: the writer flips the vertical
    // axis, and the file's sign would not be the document's.
    if (std::isnan(value)) text_ = "nan";
    else if (std::isinf(value)) text_ = "inf";
    else text_ = shortestDouble(value) + ", past a float's range";
}

bool writableFloat(double value) { return std::isfinite(value) && std::fabs(value) <= double(FLT_MAX); }

void appendNumber(std::string &out, double value) {
    if (!floatText(out, value)) throw UnwritableNumber(value);
}

std::string formatNumber(double value) {
    std::string s;
    appendNumber(s, value);
    return s;
}

namespace {

// Writes a document point as SVG coordinates; false when it cannot.
using PointWriter = bool (*)(std::string &out, const AIRealPoint &p, const void *context);

bool appendRootPoint(std::string &out, const AIRealPoint &p, const void *) {
    appendNumber(out, p.h);
    out += ' ';
    appendNumber(out, -double(p.v));
    return true;
}

double readBack(const std::string &text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// `value` rounded to `decimals` places, without trailing zeros or a sign
// on zero; empty for what that cannot write.
std::string fixedText(double value, int decimals) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return {};
    std::string text(buf, r.ptr);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text;
}

// A point in an element's own space, as the fewest decimals (else the
// shortest text of a float or a double) that the reader, mapping it by
// `toRoot` and rounding to float, turns into the document point again.
// Where the map's terms cancel (a coordinate near 0 reached from large
// ones) no text may do that exactly; the double's is then taken when it
// comes within a billionth of the terms' size. False when even that fails.
bool appendLocalPoint(std::string &out, const AIRealPoint &p, const void *context) {
    const auto &maps = *static_cast<const std::pair<Affine, Affine> *>(context);
    const Affine &m = maps.first;
    const Vec2 local = maps.second.apply({p.h, -double(p.v)});
    if (!std::isfinite(local.x) || !std::isfinite(local.y)) return false;
    enum Fit { kExact, kClose, kOff };
    auto fit = [&](const std::string &x, const std::string &y) {
        if (x.empty() || y.empty()) return kOff;
        const Vec2 q{readBack(x), readBack(y)}, back = m.apply(q);
        // Compared as floats only within their range, where the cast is defined.
        if (writableFloat(back.x) && writableFloat(back.y) && AIReal(back.x) == p.h && AIReal(-back.y) == p.v)
            return kExact;
        const double sizeX = std::fabs(m.a * q.x) + std::fabs(m.c * q.y) + std::fabs(m.e);
        const double sizeY = std::fabs(m.b * q.x) + std::fabs(m.d * q.y) + std::fabs(m.f);
        const bool close = std::fabs(back.x - p.h) <= 1e-9 * sizeX && std::fabs(-back.y - p.v) <= 1e-9 * sizeY;
        return close ? kClose : kOff;
    };
    auto put = [&](const std::string &x, const std::string &y) {
        out += x;
        out += ' ';
        out += y;
        return true;
    };
    const bool fixable = std::fabs(local.x) < 1e15 && std::fabs(local.y) < 1e15;
    for (const Fit wanted : {kExact, kClose}) {
        for (int decimals = 0; fixable && decimals <= 12; ++decimals) {
            const std::string x = fixedText(local.x, decimals), y = fixedText(local.y, decimals);
            if (fit(x, y) <= wanted) return put(x, y);
        }
        std::string fx, fy;
        if (floatText(fx, local.x) && floatText(fy, local.y) && fit(fx, fy) <= wanted) return put(fx, fy);
        const std::string dx = shortestDouble(local.x), dy = shortestDouble(local.y);
        if (fit(dx, dy) <= wanted) return put(dx, dy);
    }
    return false;
}

bool sameDocPoint(const AIRealPoint &a, const AIRealPoint &b) { return a.h == b.h && a.v == b.v; }

bool appendSegment(std::string &out, const AIPathSegment &from, const AIPathSegment &to, PointWriter point,
                   const void *context) {
    if (sameDocPoint(from.out, from.p) && sameDocPoint(to.in, to.p)) {
        out += " L";
        return point(out, to.p, context);
    }
    out += " C";
    if (!point(out, from.out, context)) return false;
    out += ' ';
    if (!point(out, to.in, context)) return false;
    out += ' ';
    return point(out, to.p, context);
}

bool writePathData(const SegmentList &segments, bool closed, PointWriter point, const void *context,
                   std::string &out) {
    if (segments.empty()) return true;
    out += 'M';
    if (!point(out, segments.front().p, context)) return false;
    for (size_t i = 1; i < segments.size(); ++i)
        if (!appendSegment(out, segments[i - 1], segments[i], point, context)) return false;
    if (closed) {
        const AIPathSegment &last = segments.back();
        const AIPathSegment &first = segments.front();
        // A straight closing side is the close-path line itself.
        const bool straight = sameDocPoint(last.out, last.p) && sameDocPoint(first.in, first.p);
        if (!straight && !appendSegment(out, last, first, point, context)) return false;
        out += " Z";
    }
    return true;
}

}  // namespace

std::string pathData(const SegmentList &segments, bool closed) {
    std::string out;
    writePathData(segments, closed, appendRootPoint, nullptr, out);
    return out;
}

bool localPathData(const SegmentList &segments, bool closed, const Affine &toRoot,
                   const Affine &toLocal, std::string &out) {
    const std::pair<Affine, Affine> maps{toRoot, toLocal};
    return writePathData(segments, closed, appendLocalPoint, &maps, out);
}

std::string preciseNumber(double value) {
    if (!std::isfinite(value)) throw UnwritableNumber(value);
    if (value == 0) value = 0;  // no "-0"
    return shortestDouble(value);
}

std::string fittingNumber(double value, bool (*fits)(double, const void *), const void *context) {
    if (std::isfinite(value) && std::fabs(value) < 1e15)
        for (int decimals = 0; decimals <= 12; ++decimals) {
            const std::string text = fixedText(value, decimals);
            if (!text.empty() && fits(readBack(text), context)) return text;
        }
    std::string shortest;
    if (floatText(shortest, value) && fits(readBack(shortest), context)) return shortest;
    return preciseNumber(value);
}

Box curveBounds(const std::vector<Subpath> &subpaths, const Affine &m) {
    Box box;
    for (const Subpath &s : subpaths) {
        if (!drawsSomething(s)) continue;
        Vec2 at = m.apply(s.start);
        box.add(at);
        for (const Cubic &c : s.curves) {
            const Vec2 end = m.apply(c.end);
            addExtrema(box, at, m.apply(c.c1), m.apply(c.c2), end);
            at = end;
        }
    }
    return box;
}

}  // namespace smear::svg
