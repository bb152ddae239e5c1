// Art for the point and mesh tool tests: paths with real handles, gradient
// meshes laid out on a grid, objects that have no segments, and host tables
// that report a segment count or a mesh size the document model cannot hold.
#pragma once

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "colour_support.h"

namespace smear {

inline AIPathSegment seg(AIRealPoint p, AIRealPoint in, AIRealPoint out, bool corner = false) {
    AIPathSegment s{};
    s.p = p;
    s.in = in;
    s.out = out;
    s.corner = corner;
    return s;
}

inline bool sameSegment(const AIPathSegment &a, const AIPathSegment &b) {
    return a.p.h == b.p.h && a.p.v == b.p.v && a.in.h == b.in.h && a.in.v == b.in.v && a.out.h == b.out.h &&
           a.out.v == b.out.v && a.corner == b.corner;
}

inline Art *addPath(Document &doc, std::initializer_list<AIPathSegment> segments, Art *parent = nullptr) {
    Art *a = doc.newArt(kPathArt);
    a->segments = segments;
    a->userAttr = kArtSelected;
    doc.link(a, kPlaceInsideOnTop, parent ? parent : doc.currentLayer()->root);
    return a;
}

// A mesh of I x J patches whose vertex (i, j) lies at origin + (i, j) x step,
// every vertex of one colour.
inline Art *addMesh(Document &doc, ASInt32 I, ASInt32 J, AIRealPoint origin, AIReal step,
                    const AIColor &colour = processColour(0.5f, 0.5f, 0.5f, 0.5f)) {
    Art *m = doc.newArt(kMeshArt);
    m->meshI = I;
    m->meshJ = J;
    m->vertices.resize(size_t(I + 1) * size_t(J + 1));
    for (ASInt32 i = 0; i <= I; ++i)
        for (ASInt32 j = 0; j <= J; ++j) {
            m->vertex(i, j).point = AIRealPoint{origin.h + AIReal(i) * step, origin.v + AIReal(j) * step};
            m->vertex(i, j).color = colour;
        }
    m->userAttr = kArtSelected;
    doc.link(m, kPlaceInsideOnTop, doc.currentLayer()->root);
    return m;
}

// Selected art without segments (text, placed, raster or symbol art) in a
// 10 x 10 frame whose lower left corner is (left, bottom).
inline Art *addFramed(Document &doc, ASInt16 type, AIReal left, AIReal bottom) {
    Art *a = doc.newArt(type);
    a->frame = AIRealRect{left, bottom + 10, left + 10, bottom};
    a->text = "txt";
    a->userAttr = kArtSelected;
    doc.link(a, kPlaceInsideOnTop, doc.currentLayer()->root);
    return a;
}

// Host tables that answer like the host's own, except for one object, whose
// segment count or mesh size they report as the test says (a path of more
// than 32767 segments has a negative 16-bit count; a mesh size may be any
// pair of integers). The tables replace the host's in its registry, so the
// plug-in acquires them on its next call.
struct ReportedSizes {
    AIArtHandle art = nullptr;
    ASInt16 segments = 0;
    ASInt32 I = 0, J = 0;
    const AIPathSuite *hostPath = nullptr;
    const AIMeshSuite *hostMesh = nullptr;
    AIPathSuite path{};
    AIMeshSuite mesh{};
};

inline ReportedSizes &reportedSizes() {
    static ReportedSizes sizes;
    return sizes;
}

inline SPErr reportedSegmentCount(AIArtHandle path, ASInt16 *count) {
    ReportedSizes &r = reportedSizes();
    SPErr error = r.hostPath->GetPathSegmentCount(path, count);
    if (error == kNoErr && path == r.art) *count = r.segments;
    return error;
}

inline SPErr reportedMeshSize(AIArtHandle mesh, ASInt32 *i, ASInt32 *j) {
    ReportedSizes &r = reportedSizes();
    SPErr error = r.hostMesh->GetSize(mesh, i, j);
    if (error == kNoErr && mesh == r.art) {
        *i = r.I;
        *j = r.J;
    }
    return error;
}

inline void reportSegmentCount(Host &host, Art *path, ASInt16 count) {
    ReportedSizes &r = reportedSizes();
    const void *own = host.suites.find(kAIPathSuite, kAIPathSuiteVersion);
    if (own != &r.path) r.hostPath = static_cast<const AIPathSuite *>(own);
    r.path = *r.hostPath;
    r.path.GetPathSegmentCount = reportedSegmentCount;
    r.art = toHandle(path);
    r.segments = count;
    host.suites.add(kAIPathSuite, kAIPathSuiteVersion, &r.path);
}

inline void reportMeshSize(Host &host, Art *mesh, ASInt32 I, ASInt32 J) {
    ReportedSizes &r = reportedSizes();
    const void *own = host.suites.find(kAIMeshSuite, kAIMeshSuiteVersion);
    if (own != &r.mesh) r.hostMesh = static_cast<const AIMeshSuite *>(own);
    r.mesh = *r.hostMesh;
    r.mesh.GetSize = reportedMeshSize;
    r.art = toHandle(mesh);
    r.I = I;
    r.J = J;
    host.suites.add(kAIMeshSuite, kAIMeshSuiteVersion, &r.mesh);
}

// Pen pressure 153 of 255 with "Pressure modification" on: p = 0.6, the same
// whether the pressure is divided by 255 or multiplied by its reciprocal.
const ASInt16 kPressure153 = 153;
const AIReal kP = 153.0f / 255.0f;

// Shape 5 ("up") with the default brush at the origin: a point's weight is
// its height above the brush's bottom edge over the half-height.
inline AIReal upWeight(AIReal v) { return (v - (0.0f - 50.0f)) / 50.0f; }

// The largest finite real, where a stroke strength stops growing.
const AIReal kLargestReal = 3.40282347e+38f;

// The sine and cosine of the movement angle as the host's real-math suite
// gives them for a stroke from `from` to `to`.
inline AIReal hostAngle(AIRealPoint from, AIRealPoint to) {
    return AIReal(std::atan2(double(to.v) - double(from.v), double(to.h) - double(from.h)));
}
inline AIReal hostCos(AIReal a) { return AIReal(std::cos(double(a))); }
inline AIReal hostSin(AIReal a) { return AIReal(std::sin(double(a))); }

class PointToolTest : public BrushTest {
protected:
    void SetUp() override {
        BrushTest::SetUp();
        // The tools' defaults turn the offsets with the brush; most tests
        // drag on the spot and want them as they are.
        g().pointShifterFollowBrush = 0;
        g().warpMeshFollowBrush = 0;
    }

    // Mouse down at the origin, `steps` drags at `at` with pen pressure 153
    // (pressure modification on), mouse up.
    void pressedStroke(int toolId, AIRealPoint at = {0, 0}, int steps = 1) {
        g().pressureModification = 1;
        ASSERT_EQ(mouseDown(toolId, {0, 0}, kPressure153), 0);
        for (int i = 0; i < steps; ++i) ASSERT_EQ(drag(toolId, at, kPressure153), 0);
        ASSERT_EQ(mouseUp(toolId, at, kPressure153), 0);
        g().pressureModification = 0;
    }

    void queue(std::initializer_list<AIReal> draws) {
        for (AIReal r : draws) host.random.queue(r);
    }
};

}  // namespace smear
