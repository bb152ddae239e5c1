#include "svg_bezier.h"

#include <algorithm>
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
    for (const Subpath &s : subpaths) {
        if (s.curves.empty()) continue;
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

void appendNumber(std::string &out, double value) {
    if (!std::isfinite(value)) value = 0;
    float f = float(value);
    if (f == 0) f = 0;  // no "-0" from flipped zeros
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, f);
    out.append(buf, r.ptr);
}

std::string formatNumber(double value) {
    std::string s;
    appendNumber(s, value);
    return s;
}

namespace {

void appendPoint(std::string &out, const AIRealPoint &p) {
    appendNumber(out, p.h);
    out += ' ';
    appendNumber(out, -double(p.v));
}

bool sameDocPoint(const AIRealPoint &a, const AIRealPoint &b) { return a.h == b.h && a.v == b.v; }

void appendSegment(std::string &out, const AIPathSegment &from, const AIPathSegment &to) {
    if (sameDocPoint(from.out, from.p) && sameDocPoint(to.in, to.p)) {
        out += " L";
        appendPoint(out, to.p);
        return;
    }
    out += " C";
    appendPoint(out, from.out);
    out += ' ';
    appendPoint(out, to.in);
    out += ' ';
    appendPoint(out, to.p);
}

}  // namespace

std::string pathData(const std::vector<AIPathSegment> &segments, bool closed) {
    std::string out;
    if (segments.empty()) return out;
    out += 'M';
    appendPoint(out, segments.front().p);
    for (size_t i = 1; i < segments.size(); ++i) appendSegment(out, segments[i - 1], segments[i]);
    if (closed) {
        const AIPathSegment &last = segments.back();
        const AIPathSegment &first = segments.front();
        // A straight closing side is the close-path line itself.
        const bool straight = sameDocPoint(last.out, last.p) && sameDocPoint(first.in, first.p);
        if (!straight) appendSegment(out, last, first);
        out += " Z";
    }
    return out;
}

Box curveBounds(const std::vector<Subpath> &subpaths, const Affine &m) {
    Box box;
    for (const Subpath &s : subpaths) {
        if (s.curves.empty()) continue;
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
