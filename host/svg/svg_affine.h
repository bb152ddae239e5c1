// Points and affine maps in double precision, with SVG's matrix layout:
// (x, y) -> (a·x + c·y + e, b·x + d·y + f). Geometry read from SVG is
// transformed in double and rounded to the document's floats only once.
#pragma once

#include <cmath>

namespace smear::svg {

struct Vec2 {
    double x = 0, y = 0;
};

inline Vec2 operator+(Vec2 p, Vec2 q) { return {p.x + q.x, p.y + q.y}; }
inline Vec2 operator-(Vec2 p, Vec2 q) { return {p.x - q.x, p.y - q.y}; }
inline Vec2 operator*(double s, Vec2 p) { return {s * p.x, s * p.y}; }
inline bool operator==(Vec2 p, Vec2 q) { return p.x == q.x && p.y == q.y; }
inline bool operator!=(Vec2 p, Vec2 q) { return !(p == q); }

constexpr double kPi = 3.14159265358979323846;
inline double radians(double degrees) { return degrees * (kPi / 180.0); }
inline double degrees(double radians) { return radians * (180.0 / kPi); }

struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Vec2 apply(Vec2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // The linear part only, for directions.
    Vec2 applyLinear(Vec2 p) const { return {a * p.x + c * p.y, b * p.x + d * p.y}; }
    double det() const { return a * d - b * c; }
    // How much lengths grow on average: the square root of the area scale.
    double meanScale() const { return std::sqrt(std::fabs(det())); }
    bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0; }

    bool inverse(Affine &out) const {
        const double k = det();
        if (k == 0 || !std::isfinite(k)) return false;
        out = {d / k, -b / k, -c / k, a / k, (c * f - d * e) / k, (b * e - a * f) / k};
        return true;
    }

    static Affine translate(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
    static Affine scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine rotate(double deg) {
        const double r = radians(deg);
        const double cs = std::cos(r), sn = std::sin(r);
        return {cs, sn, -sn, cs, 0, 0};
    }
    static Affine skewX(double deg) { return {1, 0, std::tan(radians(deg)), 1, 0, 0}; }
    static Affine skewY(double deg) { return {1, std::tan(radians(deg)), 0, 1, 0, 0}; }
    // SVG user space (y down) <-> document space (y up).
    static Affine flip() { return {1, 0, 0, -1, 0, 0}; }
};

// (m * n)(p) = m(n(p)): n applies first.
inline Affine operator*(const Affine &m, const Affine &n) {
    return {m.a * n.a + m.c * n.b, m.b * n.a + m.d * n.b, m.a * n.c + m.c * n.d,
            m.b * n.c + m.d * n.d, m.a * n.e + m.c * n.f + m.e, m.b * n.e + m.d * n.f + m.f};
}

// An axis-aligned box that grows to hold what is added.
struct Box {
    bool empty = true;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;

    void add(Vec2 p) {
        if (empty) {
            minX = maxX = p.x;
            minY = maxY = p.y;
            empty = false;
            return;
        }
        minX = std::fmin(minX, p.x);
        maxX = std::fmax(maxX, p.x);
        minY = std::fmin(minY, p.y);
        maxY = std::fmax(maxY, p.y);
    }
    void add(const Box &b) {
        if (b.empty) return;
        add(Vec2{b.minX, b.minY});
        add(Vec2{b.maxX, b.maxY});
    }
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

}  // namespace smear::svg
