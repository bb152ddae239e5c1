// The Path, Transform Art and Shape Construction suites.
#include <algorithm>
#include <cmath>
#include <vector>

#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

// ---- Path suite

const char *const kPath = kAIPathSuite;

// The segment suite works on plain paths only.
Art *toPath(AIArtHandle h) {
    Art *art = toArt(h);
    return art && art->type == kPathArt ? art : nullptr;
}

// Inline: the point tools write a segment of a path for every anchor.
inline SPErr editablePath(AIArtHandle h, Art *&path) {
    if (SPErr e = editableArt(h, path)) return e;
    return path->type == kPathArt ? kNoErr : kBadParameterErr;
}

// Whether [first, first + count) lies inside the path's segments.
bool inRange(const Art &path, ASInt16 first, ASInt16 count) {
    return first >= 0 && count >= 0 && size_t(first) + size_t(count) <= path.segments.size();
}

[[gnu::noinline]] SPErr getPathSegmentCountChecked(AIArtHandle h, ASInt16 *count) {
    if (SPErr e = enterSuite(kPath, "GetPathSegmentCount")) return e;
    const Art *path = toPath(h);
    if (!path || !count) return kBadParameterErr;
    // The point tools count a path's segments, then read them: those of the
    // paths they come to next are fetched meanwhile.
    prefetchNearbySegments(path);
    if (path->segments.size() > 32767) return kTooManyPointsErr;
    *count = ASInt16(path->segments.size());
    return kNoErr;
}

SPErr setPathSegmentCount(AIArtHandle h, ASInt16 count) {
    if (SPErr e = enterSuite(kPath, "SetPathSegmentCount", logArgs([&] { return std::to_string(count); })))
        return e;
    Art *path = nullptr;
    if (SPErr e = editablePath(h, path)) return e;
    if (count < 0) return kBadParameterErr;
    // New segments sit on the last anchor, so the path's shape does not jump.
    AIPathSegment fill{};
    if (!path->segments.empty()) {
        fill = path->segments.back();
        fill.in = fill.out = fill.p;
        fill.corner = true;
    }
    path->segments.resize(size_t(count), fill);
    geometryChanged(*path);
    return kNoErr;
}

// The segment calls' log lambdas take their numbers by value: by reference,
// the compiler keeps the arguments on the stack for a log that is seldom kept.
[[gnu::noinline]] SPErr getPathSegmentsChecked(AIArtHandle h, ASInt16 first, ASInt16 count,
                                               AIPathSegment segments[]) {
    if (SPErr e = enterSuite(kPath, "GetPathSegments", logArgs([=] {
            return std::to_string(first) + " " + std::to_string(count);
        })))
        return e;
    const Art *path = toPath(h);
    if (!path || (count > 0 && !segments) || !inRange(*path, first, count)) return kBadParameterErr;
    // The point tools read one segment at a time, for every object: a copy
    // of one needs no library call.
    if (count == 1)
        segments[0] = path->segments[size_t(first)];
    else
        std::copy_n(path->segments.begin() + first, count, segments);
    return kNoErr;
}

// The point tools write one segment at a time, for every anchor they reach.
// A segment written back as it was (a corner's handles scaled by a
// percentage stay on their anchor) leaves the kept bounds as they are. A
// path whose bounds are to be computed has no ancestor with kept bounds
// (what holds it keeps bounds only while its members do): the writes after
// a path's first in a step need not tell anyone.
SPErr setOneSegment(Art &path, size_t i, const AIPathSegment &s) {
    if (!isFinite(s)) return kBadParameterErr;
    AIPathSegment &to = path.segments[i];
    const bool same = samePoint(to.p, s.p) && samePoint(to.in, s.in) && samePoint(to.out, s.out);
    to = s;
    if (!same && path.boundsKnown != kBoundsToCompute) geometryChanged(path);
    return kNoErr;
}

[[gnu::noinline]] SPErr setPathSegmentsChecked(AIArtHandle h, ASInt16 first, ASInt16 count,
                                               const AIPathSegment segments[]) {
    if (SPErr e = enterSuite(kPath, "SetPathSegments", logArgs([=] {
            return std::to_string(first) + " " + std::to_string(count);
        })))
        return e;
    Art *path = nullptr;
    if (SPErr e = editablePath(h, path)) return e;
    if ((count > 0 && !segments) || !inRange(*path, first, count)) return kBadParameterErr;
    if (count == 1) return setOneSegment(*path, size_t(first), segments[0]);
    if (!std::all_of(segments, segments + count, [](const AIPathSegment &s) { return isFinite(s); }))
        return kBadParameterErr;
    std::copy_n(segments, count, path->segments.begin() + first);
    geometryChanged(*path);
    return kNoErr;
}

// The point tools count a path's segments, then read and write them one at
// a time, for every anchor they reach, of the path they asked about just
// before: such a call, with no log kept and no fault planned, is done here
// without a stack frame (quietCallArt). Any other goes the whole way, and
// so does the first write to a path in an undo step (which saves it).
SPErr getPathSegmentCount(AIArtHandle h, ASInt16 *count) {
    const Art *path = quietCallArt<Asked::kJustBefore>(h);
    if (!path || path->type != kPathArt || !count || path->segments.size() > 32767)
        return getPathSegmentCountChecked(h, count);
    prefetchNearbySegments(path);
    *count = ASInt16(path->segments.size());
    return kNoErr;
}

bool oneSegmentOf(const Art *path, ASInt16 first, ASInt16 count, const void *segments) {
    return path && path->type == kPathArt && count == 1 && segments && first >= 0 &&
           size_t(first) < path->segments.size();
}

SPErr getPathSegments(AIArtHandle h, ASInt16 first, ASInt16 count, AIPathSegment segments[]) {
    const Art *path = quietCallArt<Asked::kJustBefore>(h);
    if (!oneSegmentOf(path, first, count, segments)) return getPathSegmentsChecked(h, first, count, segments);
    segments[0] = path->segments[size_t(first)];
    return kNoErr;
}

SPErr setPathSegments(AIArtHandle h, ASInt16 first, ASInt16 count, const AIPathSegment segments[]) {
    Art *path = quietCallArt<Asked::kJustBefore>(h);
    if (!oneSegmentOf(path, first, count, segments)) return setPathSegmentsChecked(h, first, count, segments);
    // The lock and the undo mark of the paths a point tool writes next: the
    // segment reads do not fetch their line, for they cannot know whether
    // the brush reaches a point.
    prefetchNearbyLayer(path);
    if (isLocked(path->layer) || !currentDocument().savedAlready(*path))
        return setPathSegmentsChecked(h, first, count, segments);
    return setOneSegment(*path, size_t(first), segments[0]);
}

SPErr getPathClosed(AIArtHandle h, ASBoolean *closed) {
    if (SPErr e = enterSuite(kPath, "GetPathClosed")) return e;
    const Art *path = toPath(h);
    if (!path || !closed) return kBadParameterErr;
    *closed = path->closed;
    return kNoErr;
}

SPErr setPathClosed(AIArtHandle h, ASBoolean closed) {
    if (SPErr e = enterSuite(kPath, "SetPathClosed", logArgs([&] { return std::to_string(int(closed)); })))
        return e;
    Art *path = nullptr;
    if (SPErr e = editablePath(h, path)) return e;
    path->closed = closed != 0;
    geometryChanged(*path);
    return kNoErr;
}

const AIPathSuite kPathTable = {
    getPathSegmentCount, setPathSegmentCount, getPathSegments, setPathSegments, getPathClosed, setPathClosed,
};

// ---- Transform Art suite

SPErr transformArtCall(AIArtHandle h, const AIRealMatrix *m, AIReal lineScale, ASInt32 flags) {
    if (SPErr e = enterSuite(kAITransformArtSuite, "TransformArt", logArgs([&] {
            return m ? std::to_string(m->a) + " " + std::to_string(m->b) + " " + std::to_string(m->c) + " " +
                           std::to_string(m->d) + " " + std::to_string(m->tx) + " " + std::to_string(m->ty) +
                           " " + std::to_string(lineScale) + " " + std::to_string(flags)
                     : std::string("null");
        })))
        return e;
    Art *art = nullptr;
    if (SPErr e = editableArt(h, art)) return e;
    if (!m || !isFinite(*m) || !std::isfinite(lineScale)) return kBadParameterErr;
    // What the transforms of the next objects read of them.
    prefetchNearbyLayer(art);
    prefetchNearbySegments(art);
    prefetchNearbyTransform(art);
    currentDocument().willChangeTree(*art);
    // A finite matrix can still carry coordinates, paint matrices or widths
    // past the largest float: such a result is refused and the art kept.
    return transformArt(*art, *m, lineScale, flags) ? kNoErr : kBadParameterErr;
}

const AITransformArtSuite kTransformTable = {transformArtCall};

// ---- Shape Construction suite

const char *const kShape = kAIShapeConstructionSuite;

AIPathSegment cornerAt(AIReal h, AIReal v) {
    AIPathSegment s{};
    s.p = s.in = s.out = {h, v};
    s.corner = true;
    return s;
}

// A new closed path on top of the current layer, painted as the host paints
// new shapes: a 1 pt black stroke and no fill.
SPErr newShape(const char *function, AIReal top, AIReal left, AIReal bottom, AIReal right,
               AIArtHandle *out, SegmentList segments) {
    if (out) *out = nullptr;
    if (SPErr e = enterSuite(kShape, function, logArgs([&] {
            return std::to_string(top) + " " + std::to_string(left) + " " + std::to_string(bottom) + " " +
                   std::to_string(right);
        })))
        return e;
    if (!out || !std::isfinite(top) || !std::isfinite(left) || !std::isfinite(bottom) || !std::isfinite(right))
        return kBadParameterErr;
    // Finite corners far apart can still give a centre, radius or control
    // point past the largest float.
    if (!std::all_of(segments.begin(), segments.end(), [](const AIPathSegment &s) { return isFinite(s); }))
        return kBadParameterErr;
    Document &doc = currentDocument();
    if (isLocked(doc.currentLayer())) return kLockedLayerErr;
    Art *art = doc.newArt(kPathArt);
    art->segments = std::move(segments);
    art->closed = true;
    art->style.fillPaint = false;
    art->style.strokePaint = true;
    art->style.stroke.width = 1.0f;
    doc.link(art, kPlaceAboveAll, nullptr);
    *out = toHandle(art);
    return kNoErr;
}

// Reversing a path runs its anchors backwards, so in and out swap.
SegmentList reversedPath(SegmentList s) {
    std::reverse(s.begin(), s.end());
    for (AIPathSegment &seg : s) std::swap(seg.in, seg.out);
    return s;
}

SPErr newRect(AIReal top, AIReal left, AIReal bottom, AIReal right, ASBoolean reversed, AIArtHandle *out) {
    SegmentList s = {cornerAt(left, top), cornerAt(right, top), cornerAt(right, bottom), cornerAt(left, bottom)};
    return newShape("NewRect", top, left, bottom, right, out, reversed ? reversedPath(std::move(s)) : s);
}

SPErr newOval(AIReal top, AIReal left, AIReal bottom, AIReal right, ASBoolean reversed, AIArtHandle *out) {
    // Four quarter arcs; the control points at this fraction of the radius
    // keep the curve within 0.03 % of a true ellipse.
    const AIReal k = 0.5522847f;
    const AIReal cx = (left + right) / 2, cy = (top + bottom) / 2;
    const AIReal rx = (right - left) / 2, ry = (top - bottom) / 2;
    auto smooth = [](AIRealPoint p, AIRealPoint in, AIRealPoint outPt) {
        AIPathSegment s{};
        s.p = p;
        s.in = in;
        s.out = outPt;
        s.corner = false;
        return s;
    };
    // Clockwise from the top, as the rectangle runs.
    SegmentList s = {
        smooth({cx, top}, {cx - k * rx, top}, {cx + k * rx, top}),
        smooth({right, cy}, {right, cy + k * ry}, {right, cy - k * ry}),
        smooth({cx, bottom}, {cx + k * rx, bottom}, {cx - k * rx, bottom}),
        smooth({left, cy}, {left, cy - k * ry}, {left, cy + k * ry}),
    };
    return newShape("NewOval", top, left, bottom, right, out, reversed ? reversedPath(std::move(s)) : s);
}

const AIShapeConstructionSuite kShapeTable = {newRect, newOval};

}  // namespace

void registerPathSuites(SuiteRegistry &r) {
    r.add(kAIPathSuite, kAIPathSuiteVersion, &kPathTable);
    r.add(kAITransformArtSuite, kAITransformArtSuiteVersion, &kTransformTable);
    r.add(kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion, &kShapeTable);
}

}  // namespace smear
