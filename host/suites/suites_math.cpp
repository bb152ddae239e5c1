// The real-math suite. Angles and lengths go through double and round once,
// so both builds give the same single-precision results.
#include <cmath>

#include "host.h"

namespace smear {

namespace {

const double kPi = 3.14159265358979323846;

AIReal degreeToRadian(AIReal degrees) { return AIReal(double(degrees) * (kPi / 180.0)); }
AIReal radianToDegree(AIReal radians) { return AIReal(double(radians) * (180.0 / kPi)); }
AIReal realSin(AIReal radians) { return AIReal(std::sin(double(radians))); }
AIReal realCos(AIReal radians) { return AIReal(std::cos(double(radians))); }

AIReal pointAngle(const AIRealPoint *a, const AIRealPoint *b) {
    return AIReal(std::atan2(double(b->v) - double(a->v), double(b->h) - double(a->h)));
}

AIReal pointLength(const AIRealPoint *a, const AIRealPoint *b) {
    return AIReal(std::hypot(double(b->h) - double(a->h), double(b->v) - double(a->v)));
}

AIReal length(AIReal h, AIReal v) { return AIReal(std::hypot(double(h), double(v))); }

// Rectangles that share only an edge or a corner overlap.
ASBoolean rectOverlap(const AIRealRect *a, const AIRealRect *b) {
    return a->left <= b->right && b->left <= a->right && a->bottom <= b->top && b->bottom <= a->top;
}

void setIdentity(AIRealMatrix *m) { *m = AIRealMatrix{1, 0, 0, 1, 0, 0}; }

void setTranslate(AIRealMatrix *m, AIReal tx, AIReal ty) { *m = AIRealMatrix{1, 0, 0, 1, tx, ty}; }

void concatTranslate(AIRealMatrix *m, AIReal tx, AIReal ty) {
    m->tx += tx;
    m->ty += ty;
}

void concatScale(AIRealMatrix *m, AIReal h, AIReal v) {
    m->a *= h;
    m->c *= h;
    m->tx *= h;
    m->b *= v;
    m->d *= v;
    m->ty *= v;
}

// The result maps a point first through `a`, then through `b`.
void concat(const AIRealMatrix *a, const AIRealMatrix *b, AIRealMatrix *r) {
    AIRealMatrix out;
    out.a = a->a * b->a + a->b * b->c;
    out.b = a->a * b->b + a->b * b->d;
    out.c = a->c * b->a + a->d * b->c;
    out.d = a->c * b->b + a->d * b->d;
    out.tx = a->tx * b->a + a->ty * b->c + b->tx;
    out.ty = a->tx * b->b + a->ty * b->d + b->ty;
    *r = out;
}

// A positive angle turns counter-clockwise (the vertical axis points up).
void concatRotate(AIRealMatrix *m, AIReal radians) {
    AIReal c = realCos(radians), s = realSin(radians);
    AIRealMatrix rotation{c, s, -s, c, 0, 0};
    concat(m, &rotation, m);
}

void xformPoint(const AIRealMatrix *m, const AIRealPoint *in, AIRealPoint *out) {
    AIRealPoint p{m->a * in->h + m->c * in->v + m->tx, m->b * in->h + m->d * in->v + m->ty};
    *out = p;
}

const AIRealMathSuite realMathSuite = {degreeToRadian, radianToDegree, realSin,      realCos,
                                       pointAngle,     pointLength,    length,       rectOverlap,
                                       setIdentity,    setTranslate,   concatTranslate, concatScale,
                                       concatRotate,   concat,         xformPoint};

}  // namespace

void registerRealMathSuite(SuiteRegistry &r) { r.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &realMathSuite); }

}  // namespace smear
