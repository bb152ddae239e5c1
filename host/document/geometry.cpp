// Bounds and transformation of art geometry.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cmath>

#include "art_signature.h"
#include "document.h"

namespace smear {

namespace {

// A growing box in double precision, so that the curve extrema found below
// are not disturbed by rounding before the final conversion.
struct Box {
    bool empty = true;
    double left = 0, top = 0, right = 0, bottom = 0;

    void add(double x, double y) {
        if (empty) {
            left = right = x;
            top = bottom = y;
            empty = false;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::max(top, y);
        bottom = std::min(bottom, y);
    }
    void add(const Box &b) {
        if (b.empty) return;
        add(b.left, b.top);
        add(b.right, b.bottom);
    }
};

double cubicAt(double p0, double p1, double p2, double p3, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// Parameters in (0, 1) where the derivative of one coordinate of a cubic is
// zero: roots of a·t² + b·t + c with the coefficients of B'(t) / 3.
int derivativeRoots(double p0, double p1, double p2, double p3, double roots[2]) {
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    int n = 0;
    auto keep = [&](double t) {
        if (t > 0 && t < 1) roots[n++] = t;
    };
    const double scale = std::max({std::fabs(a), std::fabs(b), std::fabs(c)});
    if (scale == 0) return 0;
    if (std::fabs(a) <= 1e-12 * scale) {
        if (b != 0) keep(-c / b);
        return n;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return 0;
    const double s = std::sqrt(disc);
    keep((-b + s) / (2 * a));
    keep((-b - s) / (2 * a));
    return n;
}

// Whether a cubic's control values c1 and c2 lie between its end values
// c0 and c3 (then so does every value of the curve).
template <class T> bool controlValuesBetweenEnds(T c0, T c1, T c2, T c3) {
    const T lo = std::min(c0, c3), hi = std::max(c0, c3);
    return c1 >= lo && c1 <= hi && c2 >= lo && c2 <= hi;
}

void addCurve(Box &box, const AIRealPoint &p0, const AIRealPoint &p1, const AIRealPoint &p2,
              const AIRealPoint &p3) {
    box.add(p3.h, p3.v);
    double roots[2];
    const double xs[4] = {p0.h, p1.h, p2.h, p3.h};
    const double ys[4] = {p0.v, p1.v, p2.v, p3.v};
    for (const double *c : {xs, ys}) {
        // A coordinate whose control values lie between its end values stays
        // between them (each point of the curve is a weighted mean of its
        // four): its extremes are the ends. Straight segments, the most
        // common, are such in both coordinates.
        if (controlValuesBetweenEnds(c[0], c[1], c[2], c[3])) continue;
        const int n = derivativeRoots(c[0], c[1], c[2], c[3], roots);
        for (int i = 0; i < n; ++i)
            box.add(cubicAt(xs[0], xs[1], xs[2], xs[3], roots[i]),
                    cubicAt(ys[0], ys[1], ys[2], ys[3], roots[i]));
    }
}

// The test addCurve makes before it solves for extremes, in both
// coordinates.
[[gnu::always_inline]] inline bool controlsBetweenEnds(const AIRealPoint &p0, const AIRealPoint &p1,
                                                       const AIRealPoint &p2, const AIRealPoint &p3) {
    return controlValuesBetweenEnds(p0.h, p1.h, p2.h, p3.h) && controlValuesBetweenEnds(p0.v, p1.v, p2.v, p3.v);
}

// The curve from `from` to `to` has its controls between its ends.
[[gnu::noinline]] bool controlsBetween(const AIPathSegment &from, const AIPathSegment &to) {
    return controlsBetweenEnds(from.p, from.out, to.in, to.p);
}

// A curve whose handles lie on its anchors (a corner's, most often) has
// its controls at its ends: between them, without comparing coordinates.
// Inline: every anchor of a path is tested so when its bounds are worked
// out again, after every step of a tool that moves points.
[[gnu::always_inline]] inline bool straightBetween(const AIPathSegment &from, const AIPathSegment &to) {
    return (samePoint(from.out, from.p) && samePoint(to.in, to.p)) || controlsBetween(from, to);
}

// The box of the anchors of `n` (at least one) segments, as anchorBoxWillDo
// finds it, for a path known to have every handle on its anchor.
Box cornersBox(const AIPathSegment *s, size_t n) {
    AIReal left = s[0].p.h, right = left, top = s[0].p.v, bottom = top;
    for (size_t i = 1; i < n; ++i) {
        left = std::min(left, s[i].p.h);
        right = std::max(right, s[i].p.h);
        top = std::max(top, s[i].p.v);
        bottom = std::min(bottom, s[i].p.v);
    }
    Box box;
    box.add(left, top);
    box.add(right, bottom);
    return box;
}

// When every curve's controls lie between its ends, addCurve would add
// only the anchors: their box, found without it, in the same pass.
bool anchorBoxWillDo(const Art &art, Box &box) {
    const auto &s = art.segments;
    const size_t n = s.size();
    AIReal left = s[0].p.h, right = left, top = s[0].p.v, bottom = top;
    for (size_t i = 1; i < n; ++i) {
        if (!straightBetween(s[i - 1], s[i])) return false;
        left = std::min(left, s[i].p.h);
        right = std::max(right, s[i].p.h);
        top = std::max(top, s[i].p.v);
        bottom = std::min(bottom, s[i].p.v);
    }
    if (art.closed && n > 1 && !straightBetween(s[n - 1], s[0])) return false;
    box.add(left, top);
    box.add(right, bottom);
    return true;
}

Box pathBox(const Art &art, bool &byAnchors) {
    Box box;
    const auto &s = art.segments;
    if (s.empty()) return box;
    if (anchorBoxWillDo(art, box)) {
        byAnchors = true;
        return box;
    }
    box.add(s[0].p.h, s[0].p.v);
    for (size_t i = 1; i < s.size(); ++i) addCurve(box, s[i - 1].p, s[i - 1].out, s[i].in, s[i].p);
    if (art.closed && s.size() > 1) addCurve(box, s.back().p, s.back().out, s[0].in, s[0].p);
    return box;
}

AIRealPoint apply(const AIRealMatrix &m, const AIRealPoint &p) {
    return {m.a * p.h + m.c * p.v + m.tx, m.b * p.h + m.d * p.v + m.ty};
}

// `first` then `second`: the matrix of (x, y) -> second(first(x, y)).
AIRealMatrix concat(const AIRealMatrix &first, const AIRealMatrix &second) {
    return {first.a * second.a + first.b * second.c,
            first.a * second.b + first.b * second.d,
            first.c * second.a + first.d * second.c,
            first.c * second.b + first.d * second.d,
            first.tx * second.a + first.ty * second.c + second.tx,
            first.tx * second.b + first.ty * second.d + second.ty};
}

Box frameBox(const Art &art) {
    Box box;
    const AIRealRect &f = art.frame;
    for (AIRealPoint corner : {AIRealPoint{f.left, f.top}, AIRealPoint{f.right, f.top},
                               AIRealPoint{f.right, f.bottom}, AIRealPoint{f.left, f.bottom}}) {
        const AIRealPoint p = apply(art.matrix, corner);
        box.add(p.h, p.v);
    }
    return box;
}

Box artBox(const Art &art);

// The bounds as the geometry gives them, members' from their own kept bounds.
Box computedBox(const Art &art, bool &byAnchors) {
    Box box;
    switch (art.type) {
    case kPathArt:
    case kMysteryPathArt:
        return pathBox(art, byAnchors);
    case kGroupArt:
    case kCompoundPathArt:
        for (const Art *c = art.firstChild; c; c = c->next) box.add(artBox(*c));
        return box;
    case kMeshArt:
        for (const MeshVertex &v : art.vertices) box.add(v.point.h, v.point.v);
        return box;
    case kTextArt:
    case kPlacedArt:
    case kRasterArt:
    case kSymbolArt:
        return frameBox(art);
    default:
        return box;
    }
}

// The kept bounds.
Box keptBox(const Art &art) {
    Box box;
    box.empty = false;
    box.left = art.boundsBox[0];
    box.top = art.boundsBox[1];
    box.right = art.boundsBox[2];
    box.bottom = art.boundsBox[3];
    return box;
}

// Keeps `box` as the art's bounds, rounded to floats; `byAnchors` when the
// anchors span it.
Box keepBox(const Art &art, const Box &box, bool byAnchors) {
    art.boundsKnown = box.empty ? kNoBounds : byAnchors ? kAnchorBoundsKept : kBoundsKept;
    if (box.empty) return box;
    art.boundsBox[0] = AIReal(box.left);
    art.boundsBox[1] = AIReal(box.top);
    art.boundsBox[2] = AIReal(box.right);
    art.boundsBox[3] = AIReal(box.bottom);
    return keptBox(art);
}

// The bounds, rounded to floats (so a group's come from its members'
// rounded bounds whether they were kept or not).
Box artBox(const Art &art) {
    if (art.boundsKnown == kNoBounds) return Box{};
    if (art.boundsKnown >= kBoundsKept) {
        const Box box = keptBox(art);
#ifndef NDEBUG
        // Debug builds check that whatever changed the geometry said so.
        bool byAnchors = false;
        const Box fresh = computedBox(art, byAnchors);
        if (fresh.empty || AIReal(fresh.left) != box.left || AIReal(fresh.top) != box.top ||
            AIReal(fresh.right) != box.right || AIReal(fresh.bottom) != box.bottom) {
            std::fprintf(stderr, "artBounds: art of type %d changed without geometryChanged\n", int(art.type));
            std::abort();
        }
#endif
        return box;
    }
    bool byAnchors = false;
    return keepBox(art, computedBox(art, byAnchors), byAnchors);
}

// One pass of a transform over an art tree: with `commit` false it only
// computes each new value and notes whether every one fits a float; with
// `commit` true it stores them. The two passes compute the same values, so
// a tree that passed the check is changed whole and one that failed is not
// touched.
// Patterns and gradients move with the art only when the flags ask.
// The flags are tested first: without them the paint's lines are not read.
bool paintMoves(const AIColor &c, ASInt32 flags) {
    return (flags & kTransformPaints) && (c.kind == kGradient || c.kind == kPattern);
}

// Stores `value` only when it differs (a zero's sign counts), so that a line
// the transform leaves as it was is not written.
void storeIfChanged(AIReal &to, AIReal value) {
    if (value != to || std::signbit(value) != std::signbit(to)) to = value;
}

struct TransformPass {
    const AIRealMatrix &m;
    AIReal lineScale;
    ASInt32 flags;
    bool commit;
    bool fits = true;

    void put(AIReal &to, AIReal value) {
        if (commit) to = value;
        else fits = fits && fitsFloat(value);
    }
    void put(AIRealPoint &p) {
        const AIRealPoint q = apply(m, p);
        put(p.h, q.h);
        put(p.v, q.v);
    }
    void put(AIRealMatrix &to) {
        const AIRealMatrix r = concat(to, m);
        put(to.a, r.a);
        put(to.b, r.b);
        put(to.c, r.c);
        put(to.d, r.d);
        put(to.tx, r.tx);
        put(to.ty, r.ty);
    }
    void paint(AIColor &c) {
        if (!paintMoves(c, flags)) return;
        if (c.kind == kGradient) put(c.c.b.matrix);
        else put(c.c.p.transform);
    }

    void run(Art &art) {
        for (AIPathSegment &s : art.segments) {
            put(s.p);
            put(s.in);
            put(s.out);
        }
        for (MeshVertex &v : art.vertices) put(v.point);
        switch (art.type) {
        case kTextArt:
        case kPlacedArt:
        case kRasterArt:
        case kSymbolArt:
            put(art.matrix);
            break;
        default:
            break;
        }
        // Paint as the file said it, moved along with the art, is still
        // what the file says once the element takes the move as its
        // transform: the record of it follows, so that the paint is not
        // written anew (the writer writes what differs from the record).
        const bool movesPaint = paintMoves(art.style.fill.color, flags) || paintMoves(art.style.stroke.color, flags);
        const bool paintAsRead = commit && movesPaint && art.sourceElement >= 0 &&
                                 artPartDigest(art, ArtPart::kPaint) == art.sourceDigest[1];
        paint(art.style.fill.color);
        paint(art.style.stroke.color);
        if (paintAsRead) art.sourceDigest[1] = artPartDigest(art, ArtPart::kPaint);
        if (flags & kScaleLines) {
            const AIReal width = art.style.stroke.width * lineScale;
            if (commit) storeIfChanged(art.style.stroke.width, width);
            else fits = fits && fitsFloat(width);
        }
        if (commit) {
            art.hostTransform = concat(art.hostTransform, m);
            art.boundsKnown = kBoundsToCompute;
        }
        for (Art *c = art.firstChild; c && (commit || fits); c = c->next) run(*c);
    }
};

// A path with no members, no mesh and no paint that moves, of a few
// segments, is transformed in one pass: the values TransformPass computes,
// computed once into a copy and stored only when every one fits.
constexpr size_t kShortPath = 8;

bool isShortPlainPath(const Art &art, ASInt32 flags) {
    return (art.type == kPathArt || art.type == kMysteryPathArt) && !art.firstChild && art.vertices.empty() &&
           art.segments.size() <= kShortPath && !paintMoves(art.style.fill.color, flags) &&
           !paintMoves(art.style.stroke.color, flags);
}

// Where `m` takes a handle of an anchor it took to `movedAnchor`; `fits`
// turns false if that does not fit a float, `corners` if the handle is not
// on its anchor. A handle on its anchor (a corner's, most often) lands
// where the anchor does: the same bits in, the same bits out.
AIRealPoint movedHandle(const AIRealMatrix &m, const AIRealPoint &handle, const AIRealPoint &anchor,
                        const AIRealPoint &movedAnchor, bool &fits, bool &corners) {
    if (samePoint(handle, anchor)) return movedAnchor;
    corners = false;
    const AIRealPoint q = apply(m, handle);
    fits = fits && fitsFloat(q.h) && fitsFloat(q.v);
    return q;
}

// False, with the path as it was, when a new value would not fit a float.
// With `wantBox`, when every handle lies on its anchor, `anchors` is the box
// of the new anchors (found from the copy: the path's segments are still
// being written); otherwise it is left empty.
bool transformShortPath(Art &art, const AIRealMatrix &m, AIReal lineScale, ASInt32 flags, bool wantBox,
                        Box &anchors) {
    AIPathSegment moved[kShortPath];
    const size_t n = art.segments.size();
    bool fits = true;
    bool corners = true;
    for (size_t i = 0; i < n; ++i) {
        const AIPathSegment &s = art.segments[i];
        moved[i] = s;
        moved[i].p = apply(m, s.p);
        fits = fits && fitsFloat(moved[i].p.h) && fitsFloat(moved[i].p.v);
        moved[i].in = movedHandle(m, s.in, s.p, moved[i].p, fits, corners);
        moved[i].out = movedHandle(m, s.out, s.p, moved[i].p, fits, corners);
    }
    const AIReal width = (flags & kScaleLines) ? art.style.stroke.width * lineScale : art.style.stroke.width;
    if (!fits || !fitsFloat(width)) return false;
    for (size_t i = 0; i < n; ++i) art.segments[i] = moved[i];
    storeIfChanged(art.style.stroke.width, width);
    art.hostTransform = concat(art.hostTransform, m);
    if (wantBox && corners && n > 0) anchors = cornersBox(moved, n);
    return true;
}

// The bounds of a path whose anchors spanned `old`, after `m` moved and
// scaled it along the axes: each coordinate is then mapped on its own, by
// a function that keeps (or reverses) order, so the extreme anchors stay
// extreme and every curve's controls stay between its ends. The mapped
// corners are the bounds a fresh computation would give, bit for bit, but
// for a zero's sign, which can depend on the other coordinate: a zero is
// left to that computation. False when it must be made.
bool mappedAnchorBox(const AIReal old[4], const AIRealMatrix &m, Art &art) {
    const AIRealPoint a = apply(m, {old[0], old[1]}), b = apply(m, {old[2], old[3]});
    const AIReal left = std::min(a.h, b.h), right = std::max(a.h, b.h);
    const AIReal top = std::max(a.v, b.v), bottom = std::min(a.v, b.v);
    if (left == 0 || right == 0 || top == 0 || bottom == 0) return false;
    art.boundsBox[0] = left;
    art.boundsBox[1] = top;
    art.boundsBox[2] = right;
    art.boundsBox[3] = bottom;
    art.boundsKnown = kAnchorBoundsKept;
    return true;
}

}  // namespace

bool artBounds(const Art &art, AIRealRect &bounds) {
    if (keptBounds(art, bounds)) return true;
    const Box box = artBox(art);
    if (box.empty) return false;
    bounds = {AIReal(box.left), AIReal(box.top), AIReal(box.right), AIReal(box.bottom)};
    return true;
}

bool transformArt(Art &art, const AIRealMatrix &m, AIReal lineScale, ASInt32 flags) {
    // A move or a scale along the axes maps the bounds a path's anchors
    // span: the bounds need not be found again (most tools' transforms).
    const bool mapsBounds = art.boundsKnown == kAnchorBoundsKept && m.b == 0 && m.c == 0;
    const AIReal old[4] = {art.boundsBox[0], art.boundsBox[1], art.boundsBox[2], art.boundsBox[3]};
    Box anchors;
    if (isShortPlainPath(art, flags)) {
        if (!transformShortPath(art, m, lineScale, flags, !mapsBounds, anchors)) return false;
    } else {
        TransformPass check{m, lineScale, flags, false, true};
        check.run(art);
        if (!check.fits) return false;
        TransformPass change{m, lineScale, flags, true, true};
        change.run(art);
    }
    geometryChanged(art);
    if (mapsBounds && mappedAnchorBox(old, m, art)) return true;
    // Handles still on their anchors (a turned polygon): the anchors' box,
    // without testing every curve again.
    if (!anchors.empty) {
        keepBox(art, anchors, true);
        return true;
    }
    // The new bounds now, while the geometry is in the cache: a stroke asks
    // for them on its next step, when it would have to be read again.
    artBox(art);
    return true;
}

void geometryChanged(Art &art) {
    // Kept bounds hold only where every member's are kept too, so the
    // first ancestor that has none has no kept ancestor either.
    art.boundsKnown = kBoundsToCompute;
    for (Art *a = art.parent; a && a->boundsKnown; a = a->parent) a->boundsKnown = kBoundsToCompute;
}

}  // namespace smear
