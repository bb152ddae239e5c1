// The real-math suite. Angles and lengths go through double and round once,
// so both builds give the same single-precision results.
#include <cmath>
#include <cstdint>
#include <cstring>

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

// With the plain brush a step turns every object it reaches by the same
// angle: that angle's cosine and sine are kept, and the C library, whose
// sine and cosine save and restore the rounding mode, is asked only for a
// new one. Known by its bits, so that -0 and each NaN are angles of their
// own. Kept per thread: the studio's server calls the suites from any of
// its threads, one message at a time.
struct Turn {
    uint32_t bits = 0;  // +0
    AIReal cos = 1, sin = 0;
};
thread_local Turn lastTurn;

// A positive angle turns counter-clockwise (the vertical axis points up).
void concatRotate(AIRealMatrix *m, AIReal radians) {
    uint32_t bits;
    std::memcpy(&bits, &radians, sizeof bits);
    Turn &turn = lastTurn;
    if (bits != turn.bits) turn = Turn{bits, realCos(radians), realSin(radians)};
    const AIReal c = turn.cos, s = turn.sin;
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
