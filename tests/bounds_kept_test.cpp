// The host keeps each object's bounds and computes them again only when its
// geometry changes: asked through the art suite after every kind of change
// the suites make, they are what the geometry says, for the object and for
// the compound paths and groups that hold it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "ai_art_suites.h"
#include "host_suites_fixture.h"

namespace smear {
namespace {

class BoundsKept : public HostSuitesTest {
protected:
    AIRealRect bounds(Art *a) {
        AIRealRect r{};
        EXPECT_EQ(suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion).GetArtBounds(toHandle(a), &r), 0);
        return r;
    }
    // A square path of side `size` at (x, y), inside `parent`.
    Art *square(Art *parent, AIReal x, AIReal y, AIReal size) {
        Art *a = doc().newArt(kPathArt);
        for (AIRealPoint p : {AIRealPoint{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}}) {
            AIPathSegment s{};
            s.p = s.in = s.out = p;
            s.corner = true;
            a->segments.push_back(s);
        }
        a->closed = true;
        doc().link(a, kPlaceInsideOnTop, parent);
        return a;
    }
};

#define EXPECT_BOUNDS(r, l, b, rt, t)          \
    do {                                       \
        const AIRealRect r_ = (r);             \
        EXPECT_FLOAT_EQ(r_.left, l);           \
        EXPECT_FLOAT_EQ(r_.bottom, b);         \
        EXPECT_FLOAT_EQ(r_.right, rt);         \
        EXPECT_FLOAT_EQ(r_.top, t);            \
    } while (0)

TEST_F(BoundsKept, EveryKindOfChangeReachesTheObjectAndWhatHoldsIt) {
    const auto &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    const auto &art = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
    const auto &transform = suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    const auto &mesh = suite<AIMeshSuite>(kAIMeshSuite, kAIMeshSuiteVersion);
    const auto &vertex = suite<AIMeshVertexSuite>(kAIMeshVertexSuite, kAIMeshVertexSuiteVersion);

    Art *group = addArt(kGroupArt);
    Art *compound = addArt(kCompoundPathArt, {}, 0, group);
    Art *m1 = square(compound, 0, 0, 10);
    Art *m2 = square(compound, 20, 0, 10);
    Art *p = square(group, 0, 20, 5);
    EXPECT_BOUNDS(bounds(group), 0, 0, 30, 25);
    EXPECT_BOUNDS(bounds(compound), 0, 0, 30, 10);

    // A segment write on a member: the member, its compound path, the group.
    AIPathSegment moved = m2->segments[1];
    moved.p = moved.in = moved.out = {50, -5};
    ASSERT_EQ(path.SetPathSegments(toHandle(m2), 1, 1, &moved), 0);
    EXPECT_BOUNDS(bounds(m2), 20, -5, 50, 10);
    EXPECT_BOUNDS(bounds(compound), 0, -5, 50, 10);
    EXPECT_BOUNDS(bounds(group), 0, -5, 50, 25);

    // Fewer segments, then an open path: the last anchors count no more.
    ASSERT_EQ(path.SetPathSegmentCount(toHandle(m2), 2), 0);
    EXPECT_BOUNDS(bounds(m2), 20, -5, 50, 0);
    AIPathSegment curl = p->segments[0];
    curl.out = {-40, 20};  // bulges left on the way to the next anchor
    ASSERT_EQ(path.SetPathSegments(toHandle(p), 0, 1, &curl), 0);
    const AIRealRect curled = bounds(p);
    EXPECT_LT(curled.left, 0);
    ASSERT_EQ(path.SetPathClosed(toHandle(p), false), 0);
    EXPECT_EQ(bounds(p).left, curled.left);  // the first segment still bulges
    curl.out = curl.p;
    ASSERT_EQ(path.SetPathSegments(toHandle(p), 0, 1, &curl), 0);
    EXPECT_BOUNDS(bounds(p), 0, 20, 5, 25);

    // A transform of the compound path moves its members and the group.
    const AIRealMatrix right{1, 0, 0, 1, 100, 0};
    ASSERT_EQ(transform.TransformArt(toHandle(compound), &right, 1, 0), 0);
    EXPECT_BOUNDS(bounds(m1), 100, 0, 110, 10);
    EXPECT_BOUNDS(bounds(compound), 100, -5, 150, 10);
    EXPECT_BOUNDS(bounds(group), 0, -5, 150, 25);

    // A member disposed, a member made: the group follows.
    ASSERT_EQ(art.DisposeArt(toHandle(m2)), 0);
    EXPECT_BOUNDS(bounds(compound), 100, 0, 110, 10);
    EXPECT_BOUNDS(bounds(group), 0, 0, 110, 25);
    square(group, -50, 0, 1);
    EXPECT_BOUNDS(bounds(group), -50, 0, 110, 25);

    // A mesh vertex moved.
    Art *m = addArt(kMeshArt);
    m->meshI = m->meshJ = 1;
    m->vertices.resize(4);
    const AIRealPoint corners[4] = {{0, 0}, {0, 10}, {10, 0}, {10, 10}};
    for (int k = 0; k < 4; ++k) m->vertices[size_t(k)].point = corners[k];
    EXPECT_BOUNDS(bounds(m), 0, 0, 10, 10);
    AIMeshVertexHandle v = nullptr;
    ASSERT_EQ(mesh.GetVertex(toHandle(m), 1, 1, &v), 0);
    const AIRealPoint far{30, 40};
    ASSERT_EQ(vertex.SetPoint(v, &far), 0);
    EXPECT_BOUNDS(bounds(m), 0, 0, 30, 40);
}

// A segment written back with the same bits leaves the kept bounds; any
// other bits, a handle's alone or a zero's sign, have them found again, for
// the path and for the compound path that holds it.
TEST_F(BoundsKept, OnlyASegmentWrittenBackAsItWasKeepsTheBounds) {
    const auto &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    Art *compound = addArt(kCompoundPathArt);
    Art *p = square(compound, 0, 0, 10);
    EXPECT_BOUNDS(bounds(compound), 0, 0, 10, 10);

    AIPathSegment s = p->segments[1];
    ASSERT_EQ(path.SetPathSegments(toHandle(p), 1, 1, &s), 0);
    EXPECT_BOUNDS(bounds(compound), 0, 0, 10, 10);

    for (AIRealPoint AIPathSegment::*handle : {&AIPathSegment::in, &AIPathSegment::out}) {
        s = p->segments[1];
        (s.*handle).v = -30;  // the curve on that side of (10, 0) dips below the square
        ASSERT_EQ(path.SetPathSegments(toHandle(p), 1, 1, &s), 0);
        EXPECT_LT(bounds(p).bottom, 0);
        EXPECT_LT(bounds(compound).bottom, 0);
        s = p->segments[1];
        s.in = s.out = s.p;
        ASSERT_EQ(path.SetPathSegments(toHandle(p), 1, 1, &s), 0);
        EXPECT_BOUNDS(bounds(compound), 0, 0, 10, 10);
    }

    // The corner at the origin, at -0 across: the left edge is -0 now.
    s = p->segments[0];
    s.p.h = s.in.h = s.out.h = -0.0f;
    ASSERT_EQ(path.SetPathSegments(toHandle(p), 0, 1, &s), 0);
    EXPECT_TRUE(std::signbit(bounds(p).left));
    EXPECT_TRUE(std::signbit(bounds(compound).left));
}

TEST_F(BoundsKept, AnUndoneStrokeGivesBackTheBoundsOfTheGeometryItRestores) {
    const auto &transform = suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    Art *group = addArt(kGroupArt);
    square(group, 0, 0, 10);
    EXPECT_BOUNDS(bounds(group), 0, 0, 10, 10);
    host.openUndoStep();
    const AIRealMatrix twice{2, 0, 0, 2, 0, 0};
    ASSERT_EQ(transform.TransformArt(toHandle(group), &twice, 1, 0), 0);
    EXPECT_BOUNDS(bounds(group), 0, 0, 20, 20);
    host.closeUndoStep();
    ASSERT_TRUE(host.undo());
    Art *again = doc().currentLayer()->root->firstChild;
    ASSERT_NE(again, nullptr);
    EXPECT_BOUNDS(bounds(again), 0, 0, 10, 10);
}

// Curves whose extrema fall between floats: a group's bounds are the same
// whether its members' were kept before it was asked or not, and they are
// its members' own bounds joined.
TEST_F(BoundsKept, AGroupsBoundsDoNotDependOnWhatWasAskedFirst) {
    auto curve = [&](Art *parent, AIReal x) {
        Art *a = square(parent, x, 0.1f, 3.3f);
        a->segments[0].out = {x - 7.7f, 0.3f};  // bulges left and down between floats
        a->segments[1].in = {x + 1.1f, -5.9f};
        a->segments[2].out = {x + 9.1f, 2.2f};
        return a;
    };
    auto sameRect = [](const AIRealRect &a, const AIRealRect &b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    Art *first = addArt(kGroupArt);
    Art *second = addArt(kGroupArt);
    std::vector<Art *> firstMembers, secondMembers;
    for (AIReal x : {0.37f, 1.91f, -2.63f}) {
        firstMembers.push_back(curve(first, x));
        secondMembers.push_back(curve(second, x));
    }
    const AIRealRect asked = bounds(first);  // members' bounds not kept yet
    AIRealRect joined = bounds(secondMembers[0]);
    for (Art *m : secondMembers) {
        const AIRealRect r = bounds(m);
        joined.left = std::min(joined.left, r.left);
        joined.bottom = std::min(joined.bottom, r.bottom);
        joined.right = std::max(joined.right, r.right);
        joined.top = std::max(joined.top, r.top);
    }
    EXPECT_TRUE(sameRect(asked, bounds(second)));
    EXPECT_TRUE(sameRect(asked, joined));
    EXPECT_TRUE(sameRect(asked, bounds(first)));  // now from kept bounds
    EXPECT_LT(asked.left, -2.63f);
    EXPECT_LT(asked.bottom, 0.1f);
}

// Bounds of single curves, against the curve sampled densely: curves whose
// control points lie inside their ends' box have exactly that box; others
// reach past it, as far as the samples show.
TEST_F(BoundsKept, ACurvesBoundsAreItsExtremes) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-100, 100);
    for (int k = 0; k < 400; ++k) {
        const AIRealPoint p0{coordinate(random), coordinate(random)}, p3{coordinate(random), coordinate(random)};
        AIRealPoint p1{coordinate(random), coordinate(random)}, p2{coordinate(random), coordinate(random)};
        const bool inside = k % 2 == 0;
        if (inside) {  // the same control points drawn into the ends' box
            auto into = [](AIReal v, AIReal a, AIReal b) {
                return std::min(std::max(a, b), std::max(std::min(a, b), v));
            };
            p1 = {into(p1.h, p0.h, p3.h), into(p1.v, p0.v, p3.v)};
            p2 = {into(p2.h, p0.h, p3.h), into(p2.v, p0.v, p3.v)};
        }
        Art *a = doc().newArt(kPathArt);
        a->segments = {AIPathSegment{p0, p0, p1, false}, AIPathSegment{p3, p2, p3, false}};
        doc().link(a, kPlaceInsideOnTop, doc().currentLayer()->root);
        const AIRealRect r = bounds(a);
        double left = p0.h, right = p0.h, bottom = p0.v, top = p0.v;
        for (int i = 1; i <= 20000; ++i) {
            const double t = i / 20000.0, u = 1 - t;
            const double x = u * u * u * p0.h + 3 * u * u * t * p1.h + 3 * u * t * t * p2.h + t * t * t * p3.h;
            const double y = u * u * u * p0.v + 3 * u * u * t * p1.v + 3 * u * t * t * p2.v + t * t * t * p3.v;
            left = std::min(left, x), right = std::max(right, x);
            bottom = std::min(bottom, y), top = std::max(top, y);
        }
        if (inside) {
            EXPECT_EQ(r.left, std::min(p0.h, p3.h)) << k;
            EXPECT_EQ(r.right, std::max(p0.h, p3.h)) << k;
            EXPECT_EQ(r.bottom, std::min(p0.v, p3.v)) << k;
            EXPECT_EQ(r.top, std::max(p0.v, p3.v)) << k;
        }
        EXPECT_NEAR(r.left, left, 1e-3) << k;
        EXPECT_NEAR(r.right, right, 1e-3) << k;
        EXPECT_NEAR(r.bottom, bottom, 1e-3) << k;
        EXPECT_NEAR(r.top, top, 1e-3) << k;
    }
}

// A path's bounds come from its anchors alone only when no curve bulges:
// the closing curve of a closed path counts, the outer handles of an open
// path's ends do not (no curve uses them).
TEST_F(BoundsKept, APathsBoundsReachWhereverOneOfItsCurvesBulges) {
    auto corner = [](AIReal h, AIReal v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, true}; };
    auto path = [&](std::initializer_list<AIPathSegment> s, bool closed) {
        Art *a = doc().newArt(kPathArt);
        a->segments = s;
        a->closed = closed;
        doc().link(a, kPlaceInsideOnTop, doc().currentLayer()->root);
        return bounds(a);
    };
    // A square, then the same with its closing curve's handles pulled out
    // to the left: only the closed path reaches past x = 0.
    AIPathSegment last = corner(0, 10), first = corner(0, 0);
    last.out = {-8, 10};
    first.in = {-8, 0};
    const AIRealRect square = path({corner(0, 0), corner(10, 0), corner(10, 10), corner(0, 10)}, true);
    EXPECT_EQ(square.left, 0.0f);
    EXPECT_EQ(square.top, 10.0f);
    const AIRealRect bulging = path({first, corner(10, 0), corner(10, 10), last}, true);
    EXPECT_NEAR(bulging.left, -6.0f, 1e-5);  // 3/4 of the handles' reach, at t = 1/2
    EXPECT_EQ(bulging.right, 10.0f);
    const AIRealRect open = path({first, corner(10, 0), corner(10, 10), last}, false);
    EXPECT_EQ(open.left, 0.0f);
    // A bulge in a middle curve of an open path counts.
    AIPathSegment b = corner(10, 0), c = corner(10, 10);
    b.out = {18, 0};
    c.in = {18, 10};
    const AIRealRect middle = path({corner(0, 0), b, c, corner(0, 10)}, false);
    EXPECT_NEAR(middle.right, 16.0f, 1e-5);
    EXPECT_EQ(middle.left, 0.0f);
}

// Turned short paths, some with every handle on its anchor and some with
// one handle pulled out: the bounds kept after the turn are, to the bit
// (a zero's sign too), those of a fresh path with the new segments.
TEST_F(BoundsKept, ATurnedPathsBoundsAreThoseOfAFreshPathLikeIt) {
    const auto &transform = suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    auto same = [](AIReal a, AIReal b) { return a == b && std::signbit(a) == std::signbit(b); };
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(-50, 50), turn(0, 6.2832f);
    std::uniform_int_distribution<int> corners(2, 8);
    int bulged = 0;
    for (int k = 0; k < 300; ++k) {
        Art *a = doc().newArt(kPathArt);
        const int n = corners(random);
        for (int i = 0; i < n; ++i) {
            // Every fifth path has an axis at -0 or 0, so a turn by a
            // quarter can put a zero of either sign on an edge.
            const AIReal h = k % 5 == 0 && i == 0 ? (k % 2 ? -0.0f : 0.0f) : coordinate(random);
            const AIReal v = coordinate(random);
            a->segments.push_back(AIPathSegment{{h, v}, {h, v}, {h, v}, true});
        }
        if (k % 2) {  // one handle out, far enough to bulge on some turns
            AIPathSegment &s = a->segments[size_t(k) % size_t(n)];
            s.out = {s.p.h + 80, s.p.v - 80};
        }
        a->closed = k % 3 != 0;
        doc().link(a, kPlaceInsideOnTop, doc().currentLayer()->root);
        bounds(a);  // kept, as a stroke finds them
        const AIReal angle = k % 5 == 0 ? 1.5707964f : turn(random);
        const AIReal c = std::cos(angle), s = std::sin(angle);
        const AIRealMatrix m{c, s, -s, c, k % 5 == 0 ? 0 : coordinate(random), 0};
        ASSERT_EQ(transform.TransformArt(toHandle(a), &m, 1, kTransformObjects | kScaleLines), 0);
        const AIRealRect kept = bounds(a);
        Art *fresh = doc().newArt(kPathArt);
        fresh->segments = a->segments;
        fresh->closed = a->closed;
        doc().link(fresh, kPlaceInsideOnTop, doc().currentLayer()->root);
        const AIRealRect want = bounds(fresh);
        EXPECT_TRUE(same(kept.left, want.left) && same(kept.top, want.top) && same(kept.right, want.right) &&
                    same(kept.bottom, want.bottom))
            << k;
        // The pulled handles must matter: on many turns the bounds reach
        // past the anchors' box.
        AIReal left = a->segments[0].p.h, right = left;
        for (const AIPathSegment &seg : a->segments) left = std::min(left, seg.p.h), right = std::max(right, seg.p.h);
        bulged += want.left < left || want.right > right;
    }
    EXPECT_GT(bulged, 30);
}

}  // namespace
}  // namespace smear
