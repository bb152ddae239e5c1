// Corner points, Quick shrink and Point shifter on real paths: every anchor
// weighed by itself, the handles by mode, the random draws in their order,
// the shrink compounding step by step, the shifter's stroke strength, the
// frame of tag and trail copy, and what a failing host call ends.
#include <cmath>
#include <iterator>
#include <limits>

#include "mesh_support.h"
#include "point_support.h"

namespace smear {

namespace {

class CornerTest : public PointToolTest {
protected:
    void amounts(AIReal inH, AIReal inV, AIReal outH, AIReal outV) {
        g().cornerInHorizontal = inH;
        g().cornerInVertical = inV;
        g().cornerOutHorizontal = outH;
        g().cornerOutVertical = outV;
    }
};

TEST_F(CornerTest, PercentOfCurrentScalesEachHandleSoMinusHundredCollapsesAndMinusTwoHundredFlips) {
    const AIPathSegment far = seg({80, 0}, {70, 5}, {90, -5});
    Art *a = addPath(doc(), {seg({2, 3}, {-8, 7}, {12, -1}), far});
    g().cornerApplyMode = 0;
    amounts(-100, -200, 50, 30);
    stroke(kCornerPointsTool);
    const AIPathSegment &s = a->segments[0];
    // in' = (-10, 4), out' = (10, -4); q = p = 1.
    EXPECT_EQ(s.in.h, 2.0f);   // x (1 - 1): onto the anchor
    EXPECT_EQ(s.in.v, -1.0f);  // x (1 - 2): to the other side
    EXPECT_EQ(s.out.h, 17.0f);
    EXPECT_EQ(s.out.v, 3.0f + -4.0f * (1.0f + 30.0f * 1.0f * 1.0f * 0.01f));
    EXPECT_FLOAT_EQ(s.out.v, -2.2f);
    EXPECT_EQ(s.p.h, 2.0f);
    EXPECT_EQ(s.p.v, 3.0f);
    EXPECT_FALSE(s.corner);
    EXPECT_TRUE(sameSegment(a->segments[1], far));  // outside the brush
}

TEST_F(CornerTest, PointsModeAddsAndAsEnteredSetsSoZeroAmountsMakeSharpCorners) {
    const AIPathSegment far = seg({80, 0}, {70, 5}, {90, -5});
    Art *a = addPath(doc(), {seg({2, 3}, {-8, 7}, {12, -1}), seg({-20, 10}, {-20, 10}, {-25, 30}, true), far});
    g().cornerApplyMode = 1;
    amounts(2.5f, -1.5f, 4, 0.25f);
    stroke(kCornerPointsTool);
    EXPECT_TRUE(sameSegment(a->segments[0], seg({2, 3}, {-5.5f, 5.5f}, {16, -0.75f})));
    EXPECT_TRUE(sameSegment(a->segments[1], seg({-20, 10}, {-17.5f, 8.5f}, {-21, 30.25f}, true)));
    g().cornerApplyMode = 2;
    amounts(1, 2, 3, 4);
    stroke(kCornerPointsTool);
    EXPECT_TRUE(sameSegment(a->segments[0], seg({2, 3}, {3, 5}, {5, 7})));
    amounts(0, 0, 0, 0);
    stroke(kCornerPointsTool);
    EXPECT_TRUE(sameSegment(a->segments[0], seg({2, 3}, {2, 3}, {2, 3})));
    EXPECT_TRUE(sameSegment(a->segments[1], seg({-20, 10}, {-20, 10}, {-20, 10}, true)));
    EXPECT_TRUE(sameSegment(a->segments[2], far));  // weight 0: not even set
}

TEST_F(CornerTest, EachAnchorTakesItsOwnWeightAndThePressure) {
    g().brushShape = 5;
    const AIPathSegment onEdge = seg({10, -50}, {0, -40}, {20, -60});  // inside, weight 0
    const AIPathSegment above = seg({20, 60}, {10, 60}, {30, 60});     // outside
    Art *a = addPath(doc(), {seg({3, -35}, {-9, -30}, {13, -39}), onEdge, above, seg({-10, 0}, {-12, 2}, {-7, -1})});
    g().cornerApplyMode = 0;
    amounts(-191, 55, 120, -80);
    pressedStroke(kCornerPointsTool);
    // dIh = amount x q x p, then x 0.01; the handle is in' x (1 + dIh).
    auto moved = [&](AIReal anchor, AIReal relative, AIReal amount, AIReal q) {
        return anchor + relative * (1.0f + amount * q * kP * 0.01f);
    };
    const AIReal q = upWeight(-35);
    EXPECT_EQ(q, 0.3f);
    const AIPathSegment &s = a->segments[0];
    EXPECT_EQ(s.in.h, moved(3, -12, -191, q));
    EXPECT_EQ(s.in.v, moved(-35, 5, 55, q));
    EXPECT_EQ(s.out.h, moved(3, 10, 120, q));
    EXPECT_EQ(s.out.v, moved(-35, -4, -80, q));
    EXPECT_TRUE(sameSegment(a->segments[1], onEdge));
    EXPECT_TRUE(sameSegment(a->segments[2], above));
    const AIPathSegment &t = a->segments[3];
    EXPECT_EQ(t.in.h, moved(-10, -2, -191, 1));
    EXPECT_EQ(t.out.v, moved(0, -1, -80, 1));
}

TEST_F(CornerTest, RandomDrawsASignThenASizeForEachAmountInOrder) {
    const AIPathSegment far = seg({80, 0}, {70, 5}, {90, -5});
    Art *a = addPath(doc(), {seg({0, 0}, {-10, 4}, {10, -4}), far});
    g().cornerApplyMode = 1;
    g().cornerRandom = 1;
    amounts(4, 8, 2, 6);
    // In h, in v, out h, out v; the anchor outside the brush draws nothing.
    queue({0.9f, 0.5f, 0.2f, 0.25f, 0.6f, 0.75f, 0.5f, 1.0f});
    stroke(kCornerPointsTool);
    EXPECT_EQ(host.random.draws(), 8);
    EXPECT_TRUE(sameSegment(a->segments[0], seg({0, 0}, {-12, 6}, {8.5f, 2})));
    EXPECT_TRUE(sameSegment(a->segments[1], far));
}

TEST_F(CornerTest, AHandleThatWouldLeaveTheFinitePlaneLeavesItsSegmentAsItWas) {
    const AIPathSegment huge = seg({0, 0}, {-10, 0}, {3e38f, 0});
    Art *a = addPath(doc(), {huge, seg({10, 0}, {0, 0}, {20, 0})});
    g().cornerApplyMode = 0;
    amounts(50, 0, 100, 0);  // out'.h x 2 is infinite
    stroke(kCornerPointsTool);
    EXPECT_TRUE(sameSegment(a->segments[0], huge));
    EXPECT_TRUE(sameSegment(a->segments[1], seg({10, 0}, {-5, 0}, {30, 0})));  // the next one still changes
}

// The point tools test all six coordinates at once: any one infinite or
// not a number must keep the segment from being written, and no finite
// value, however large or negative, may.
TEST(PointSupport, ASegmentIsFiniteOnlyWhenAllSixCoordinatesAre) {
    const AIReal inf = std::numeric_limits<AIReal>::infinity(), nan = std::numeric_limits<AIReal>::quiet_NaN();
    const AIReal max = std::numeric_limits<AIReal>::max(), tiny = std::numeric_limits<AIReal>::denorm_min();
    const AIPathSegment finite = seg({max, -max}, {-0.0f, tiny}, {-tiny, 1e-30f});
    EXPECT_TRUE(IsFiniteSegment(&finite));
    for (int k = 0; k < 6; ++k) {
        for (AIReal bad : {inf, -inf, nan}) {
            AIPathSegment s = finite;
            AIRealPoint *pts[] = {&s.p, &s.in, &s.out};
            AIReal &x = k % 2 == 0 ? pts[k / 2]->h : pts[k / 2]->v;
            x = bad;
            EXPECT_FALSE(IsFiniteSegment(&s)) << "coordinate " << k << " = " << bad;
        }
    }
}

TEST_F(CornerTest, TagsEveryMemberAndObjectAndCopiesEveryObject) {
    Art *compound = addCompound(doc());
    Art *in = addRect(doc(), 0, 0, 10, 10, true, compound);
    Art *out = addRect(doc(), 100, 0, 110, 10, true, compound);
    Art *far = addRect(doc(), 300, 300, 310, 310);
    g().cornerApplyMode = 1;
    amounts(1, 1, 1, 1);
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kCornerPointsTool);
    EXPECT_TRUE(sameSegment(in->segments[0], seg({0, 10}, {1, 11}, {1, 11}, true)));
    EXPECT_TRUE(sameSegment(out->segments[0], seg({100, 10}, {100, 10}, {100, 10}, true)));
    EXPECT_TRUE(tagged(in) && tagged(out) && tagged(far));
    EXPECT_FALSE(tagged(compound));
    EXPECT_EQ(count("DuplicateArt"), 2);
}

// Objects the list holds that have no segments are tagged and copied but
// never asked for them, so the paths after them are still worked on.
TEST_F(PointToolTest, CornerAndShifterPassOverArtThatIsNotAPath) {
    Art *path = addPath(doc(), {seg({0, 0}, {-4, 0}, {4, 0})});
    Art *text = addFramed(doc(), kTextArt, 5, 5);
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 10);
    Art *placed = addFramed(doc(), kPlacedArt, -5, -5);
    g().cornerApplyMode = 1;
    g().cornerInHorizontal = 1;
    g().pointShiftHorizontal = 1;
    g().trailCursor = 1;
    host.log.enable(true);
    for (int tool : {kCornerPointsTool, kPointShifterTool}) {
        SCOPED_TRACE(tool);
        host.log.clear();
        for (Art *a : {path, text, mesh, placed}) a->tags.clear();
        const AIPathSegment before = path->segments[0];
        stroke(tool, {1, 2});
        EXPECT_FALSE(sameSegment(path->segments[0], before));
        EXPECT_EQ(count("GetPathSegmentCount"), 1);
        EXPECT_EQ(count("DuplicateArt"), 4);
        EXPECT_TRUE(tagged(path) && tagged(text) && tagged(mesh) && tagged(placed));
        EXPECT_EQ(mesh->vertex(1, 1).point.h, 10.0f);
        EXPECT_EQ(g().LastPoint.v, 2.0f);
    }
}

// A path of more than 32767 segments reports a negative 16-bit count.
TEST_F(PointToolTest, ANegativeSegmentCountIsWalkedAsEmpty) {
    Art *lower = addPath(doc(), {seg({0, 0}, {-4, 0}, {4, 0})});
    const AIPathSegment kept = seg({5, 5}, {1, 5}, {9, 5});
    Art *upper = addPath(doc(), {kept});
    reportSegmentCount(host, upper, -3);
    g().cornerApplyMode = 1;
    g().cornerInHorizontal = 1;
    g().pointShiftHorizontal = 1;
    host.log.enable(true);
    for (int tool : {kCornerPointsTool, kPointShifterTool}) {
        SCOPED_TRACE(tool);
        host.log.clear();
        const AIPathSegment before = lower->segments[0];
        stroke(tool, {1, 2});
        EXPECT_EQ(calls("GetPathSegments"), std::vector<std::string>{"GetPathSegments 0 1"});  // lower's
        EXPECT_TRUE(sameSegment(upper->segments[0], kept));
        EXPECT_TRUE(tagged(upper));
        EXPECT_FALSE(sameSegment(lower->segments[0], before));
        EXPECT_EQ(g().LastPoint.v, 2.0f);
    }
}

// A plain path at the bottom of the list (worked on last) and above it a
// compound path of two members, every anchor under the brush. In calls of
// each path-suite function: m1 reads and writes #1 and #2, m2 #3, plain #4
// and #5; the counts are m1 #1, m2 #2, plain #3.
struct FaultCase {
    int tool;
    const char *function;
    long nth;
    bool changed[5];  // m1 segment 0, m1 segment 1, m2, plain segment 0, plain segment 1
    bool m2Tagged, plainTagged;
    long copies;
    bool finished;  // the step ran to its end
};

TEST_F(PointToolTest, MembersAndPlainPathsMeetHostErrorsTheirOwnWay) {
    const FaultCase cases[] = {
        // Corner points: a member whose count fails is only skipped.
        {kCornerPointsTool, "GetPathSegmentCount", 1, {0, 0, 1, 1, 1}, true, true, 2, true},
        {kCornerPointsTool, "GetPathSegmentCount", 3, {1, 1, 1, 0, 0}, true, true, 1, false},
        {kCornerPointsTool, "GetPathSegments", 1, {0, 0, 0, 0, 0}, false, false, 0, false},
        {kCornerPointsTool, "GetPathSegments", 4, {1, 1, 1, 0, 0}, true, true, 1, false},
        {kCornerPointsTool, "SetPathSegments", 1, {0, 0, 0, 0, 0}, false, false, 0, false},
        {kCornerPointsTool, "SetPathSegments", 4, {1, 1, 1, 0, 1}, true, true, 2, true},
        // Point shifter: a failing count ends the step for a member too.
        {kPointShifterTool, "GetPathSegmentCount", 1, {0, 0, 0, 0, 0}, false, false, 0, false},
        {kPointShifterTool, "GetPathSegmentCount", 3, {1, 1, 1, 0, 0}, true, true, 1, false},
        {kPointShifterTool, "GetPathSegments", 2, {1, 0, 0, 0, 0}, false, false, 0, false},
        {kPointShifterTool, "SetPathSegments", 1, {0, 0, 0, 0, 0}, false, false, 0, false},
        {kPointShifterTool, "SetPathSegments", 4, {1, 1, 1, 0, 1}, true, true, 2, true},
    };
    g().cornerApplyMode = 1;
    g().cornerOutHorizontal = 1;
    g().pointShiftHorizontal = 1;
    g().pointShifterFactor = 50;
    g().trailCursor = 1;
    host.log.enable(true);
    for (const FaultCase &c : cases) {
        SCOPED_TRACE(std::to_string(c.tool) + " " + c.function + " #" + std::to_string(c.nth));
        Art *plain = addPath(doc(), {seg({0, 0}, {-4, 0}, {4, 0}), seg({10, 0}, {6, 0}, {14, 0})});
        Art *compound = addCompound(doc());
        Art *m1 = addPath(doc(), {seg({0, 5}, {-4, 5}, {4, 5}), seg({10, 5}, {6, 5}, {14, 5})}, compound);
        Art *m2 = addPath(doc(), {seg({0, 10}, {-4, 10}, {4, 10})}, compound);
        const AIPathSegment m1s0 = m1->segments[0], m1s1 = m1->segments[1], m2s = m2->segments[0];
        const AIPathSegment p0 = plain->segments[0], p1 = plain->segments[1];
        host.log.clear();
        host.faults.failNthCallOf(kAIPathSuite, c.function, c.nth, kBadParameterErr);
        stroke(c.tool, {1, 2});
        host.faults.clear();
        EXPECT_EQ(!sameSegment(m1->segments[0], m1s0), c.changed[0]);
        EXPECT_EQ(!sameSegment(m1->segments[1], m1s1), c.changed[1]);
        EXPECT_EQ(!sameSegment(m2->segments[0], m2s), c.changed[2]);
        EXPECT_EQ(!sameSegment(plain->segments[0], p0), c.changed[3]);
        EXPECT_EQ(!sameSegment(plain->segments[1], p1), c.changed[4]);
        EXPECT_TRUE(tagged(m1));
        EXPECT_EQ(tagged(m2), c.m2Tagged);
        EXPECT_EQ(tagged(plain), c.plainTagged);
        EXPECT_FALSE(tagged(compound));
        EXPECT_EQ(count("DuplicateArt"), c.copies);
        EXPECT_EQ(g().LastPoint.v, c.finished ? 2.0f : 0.0f);
        if (c.tool == kPointShifterTool) {
            EXPECT_EQ(g().ShifterStrokeFactor, c.finished ? 0.5f : 1.0f);
        }
        for (Art *a : {plain, compound, m1, m2}) a->userAttr = 0;  // out of the next case's list
    }
}

// ---- Quick shrink

// Where the host takes a point with the matrix translation by -c, then the
// scale (s, s), then the translation by c.
AIRealPoint shrunk(AIRealPoint pt, AIReal s, AIRealPoint c) {
    AIRealMatrix m{1, 0, 0, 1, -c.h, -c.v};
    m.a *= s;
    m.c *= s;
    m.tx *= s;
    m.b *= s;
    m.d *= s;
    m.ty *= s;
    m.tx += c.h;
    m.ty += c.v;
    return AIRealPoint{m.a * pt.h + m.c * pt.v + m.tx, m.b * pt.h + m.d * pt.v + m.ty};
}

using QuickShrinkTest = PointToolTest;

TEST_F(QuickShrinkTest, EachStepScalesByNinetyNinePercentAboutTheBrushCentre) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    const smear::SegmentList start = a->segments;
    host.log.enable(true);
    stroke(kQuickShrinkTool, {4, -2}, 3);
    const AIReal s = 0.99f - (1.0f - 1.0f * 1.0f) * -0.01f;
    for (size_t k = 0; k < start.size(); ++k) {
        AIRealPoint expected = start[k].p;
        for (int n = 0; n < 3; ++n) expected = shrunk(expected, s, {4, -2});
        EXPECT_EQ(a->segments[k].p.h, expected.h) << k;
        EXPECT_EQ(a->segments[k].p.v, expected.v) << k;
        EXPECT_EQ(a->segments[k].in.h, expected.h) << k;
    }
    EXPECT_NEAR(boundsOf(a).right - boundsOf(a).left, 10 * std::pow(0.99, 3), 1e-4);
    const std::vector<std::string> transforms = calls("TransformArt");
    ASSERT_EQ(transforms.size(), 3u);
    EXPECT_EQ(transforms[0].substr(transforms[0].size() - 10), "1.000000 3");  // line scale 1, flags 3
}

TEST_F(QuickShrinkTest, TheObjectWeightAndPressureSoftenTheShrink) {
    g().brushShape = 5;
    Art *a = addFifthWeightRect(doc());
    pressedStroke(kQuickShrinkTool);
    const AIReal s = 0.99f - (1.0f - kFifthWeight * kP) * -0.01f;
    EXPECT_NEAR(s, 1 - 0.01 * 0.2 * 0.6, 1e-6);
    const AIRealPoint corner = shrunk({-5, -35}, s, {0, 0});
    EXPECT_EQ(a->segments[0].p.h, corner.h);
    EXPECT_EQ(a->segments[0].p.v, corner.v);
}

TEST_F(QuickShrinkTest, WeightZeroIsTaggedAndCopiedButNotShrunkAndMembersShrinkOneByOne) {
    Art *far = addRect(doc(), 300, 300, 310, 310);
    Art *compound = addCompound(doc());
    Art *c1 = addRect(doc(), 0, 0, 10, 10, true, compound);
    Art *c2 = addRect(doc(), -20, 0, -10, 10, true, compound);
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kQuickShrinkTool);
    EXPECT_RECT_EQ(boundsOf(far), 300, 300, 310, 310);
    EXPECT_TRUE(tagged(far) && tagged(c1) && tagged(c2));
    EXPECT_FALSE(tagged(compound));
    EXPECT_EQ(count("TransformArt"), 2);
    EXPECT_EQ(count("DuplicateArt"), 2);
    EXPECT_EQ(c1->segments[1].p.h, shrunk({10, 10}, 0.99f, {0, 0}).h);
    EXPECT_EQ(c2->segments[0].p.h, shrunk({-20, 10}, 0.99f, {0, 0}).h);
}

TEST_F(QuickShrinkTest, AFailingTransformEndsTheStep) {
    Art *lower = addRect(doc(), -10, 0, 0, 10);
    Art *upper = addRect(doc(), 0, 0, 10, 10);
    g().trailCursor = 1;
    host.log.enable(true);
    host.faults.failNthCallOf(kAITransformArtSuite, "TransformArt", 1, kBadParameterErr);
    stroke(kQuickShrinkTool, {1, 2});
    EXPECT_RECT_EQ(boundsOf(upper), 0, 0, 10, 10);
    EXPECT_RECT_EQ(boundsOf(lower), -10, 0, 0, 10);
    EXPECT_TRUE(tagged(upper));
    EXPECT_FALSE(tagged(lower));
    EXPECT_EQ(count("DuplicateArt"), 0);
    EXPECT_EQ(g().LastPoint.v, 0.0f);
}

// ---- Point shifter

class ShifterTest : public PointToolTest {
protected:
    void shift(AIReal h, AIReal v) {
        g().pointShiftHorizontal = h;
        g().pointShiftVertical = v;
    }
};

TEST_F(ShifterTest, MovesAnchorsUnderTheBrushWithTheirHandlesUnlessDirectionPointsIsOn) {
    const AIPathSegment far = seg({80, 0}, {70, 5}, {90, -5});
    Art *a = addPath(doc(), {seg({0, 0}, {-10, 4}, {10, -4}, true), far});
    shift(3, -2);
    stroke(kPointShifterTool);
    EXPECT_TRUE(sameSegment(a->segments[0], seg({3, -2}, {-7, 2}, {13, -6}, true)));
    EXPECT_TRUE(sameSegment(a->segments[1], far));
    g().pointShifterDirectionPoints = 1;  // the curve bends at the anchor
    stroke(kPointShifterTool);
    EXPECT_TRUE(sameSegment(a->segments[0], seg({6, -4}, {-7, 2}, {13, -6}, true)));
}

TEST_F(ShifterTest, EachAnchorTakesItsOwnWeightFillAndThePressure) {
    g().brushShape = 5;
    const AIPathSegment onEdge = seg({10, -50}, {0, -40}, {20, -60});
    Art *a = withFill(addPath(doc(), {seg({0, -35}, {0, -35}, {0, -35}), onEdge, seg({-10, 0}, {-10, 0}, {-10, 0})}),
                      grayColour(0.35f));
    shift(-12.8f, -6.4f);
    g().pointShifterFillFactor = 1;
    pressedStroke(kPointShifterTool);
    // dx = shift x q x c x p x F with the gray value as c and F = 1.
    const AIReal q = upWeight(-35);
    EXPECT_EQ(a->segments[0].p.h, 0.0f + -12.8f * q * 0.35f * kP * 1.0f);
    EXPECT_EQ(a->segments[0].p.v, -35.0f + -6.4f * q * 0.35f * kP * 1.0f);
    EXPECT_EQ(a->segments[0].out.h, a->segments[0].p.h);
    EXPECT_TRUE(sameSegment(a->segments[1], onEdge));
    EXPECT_EQ(a->segments[2].p.h, -10.0f + -12.8f * 1.0f * 0.35f * kP * 1.0f);
}

TEST_F(ShifterTest, AMembersAnchorsAreWeighedAtTheCompoundPathsPlaceInTheList) {
    g().brushShape = 14;  // even places weigh "up", odd places "down"
    Art *plain = addPath(doc(), {seg({0, -35}, {0, -35}, {0, -35})});  // place 0
    Art *compound = addCompound(doc());                                  // place 1
    Art *member = addPath(doc(), {seg({5, -35}, {5, -35}, {5, -35})}, compound);
    shift(10, 0);
    stroke(kPointShifterTool);
    EXPECT_EQ(plain->segments[0].p.h, 0.0f + 10.0f * upWeight(-35));
    EXPECT_EQ(member->segments[0].p.h, 15.0f);  // (50 + 35) / 50, capped at 1
}

TEST_F(ShifterTest, FillFactorScalesTheOffsetsByEachPathsOwnFill) {
    struct Fill {
        AIColor colour;
        AIReal factor;
    };
    const Fill fills[] = {
        {rgbColour(1, 1, 1), (1.0f + 1.0f + 1.0f) * 0.13071895f},
        {rgbColour(0, 0, 0), 0.0f},
        {rgbColour(0.2f, 0.5f, 0.9f), (0.2f + 0.5f + 0.9f) * 0.13071895f},
        {processColour(0.1f, 0.2f, 0.3f, 0.4f), (0.1f + 0.2f + 0.3f + 0.4f) * 0.25f},
        {grayColour(0.25f), 0.25f},
        {noneColour(), 1.0f},
    };
    std::vector<Art *> paths;
    for (size_t k = 0; k < std::size(fills); ++k) {
        const AIReal h = AIReal(k) * 5;
        paths.push_back(withFill(addPath(doc(), {seg({h, 0}, {h, 0}, {h, 0})}), fills[k].colour));
    }
    shift(10, -10);
    g().pointShifterFillFactor = 1;
    stroke(kPointShifterTool);
    EXPECT_NEAR(fills[0].factor, 0.392, 1e-3);
    for (size_t k = 0; k < std::size(fills); ++k) {
        const AIReal h = AIReal(k) * 5;
        EXPECT_EQ(paths[k]->segments[0].p.h, h + 10.0f * 1.0f * fills[k].factor * 1.0f * 1.0f) << k;
        EXPECT_EQ(paths[k]->segments[0].p.v, 0.0f + -10.0f * 1.0f * fills[k].factor * 1.0f * 1.0f) << k;
    }
    EXPECT_EQ(paths[1]->segments[0].p.h, 5.0f);  // black does not move
}

TEST_F(ShifterTest, AFillThatCannotBeReadCountsInFull) {
    Art *a = withFill(addPath(doc(), {seg({0, 0}, {0, 0}, {0, 0})}), grayColour(0.0f));
    shift(10, -10);
    g().pointShifterFillFactor = 1;
    host.faults.failEveryCall(kAIPathStyleSuite, "GetPathStyle", kBadParameterErr);
    stroke(kPointShifterTool);
    host.faults.clear();
    EXPECT_EQ(a->segments[0].p.h, 10.0f);
    EXPECT_EQ(a->segments[0].p.v, -10.0f);
}

TEST_F(ShifterTest, FactorFiftyHalvesTheStrengthEachStepButNotOnAStepThatFailed) {
    Art *a = addPath(doc(), {seg({0, 0}, {0, 0}, {0, 0})});
    shift(8, 0);
    g().pointShifterFactor = 50;
    ASSERT_EQ(mouseDown(kPointShifterTool, {0, 0}), 0);
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(a->segments[0].p.h, 8.0f);
    EXPECT_EQ(g().ShifterStrokeFactor, 50.0f * 1.0f * 0.01f);
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(a->segments[0].p.h, 12.0f);
    EXPECT_EQ(g().ShifterStrokeFactor, 0.25f);
    host.faults.failNthCallOf(kAIPathSuite, "GetPathSegments", 1, kBadParameterErr);
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(a->segments[0].p.h, 12.0f);
    EXPECT_EQ(g().ShifterStrokeFactor, 0.25f);
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(a->segments[0].p.h, 14.0f);
    EXPECT_EQ(g().ShifterStrokeFactor, 0.125f);
    EXPECT_EQ(g().WarpStrokeFactor, 1.0f);  // the warp's strength is its own
    ASSERT_EQ(mouseUp(kPointShifterTool, {0, 0}), 0);
    ASSERT_EQ(mouseDown(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(g().ShifterStrokeFactor, 1.0f);
    ASSERT_EQ(mouseUp(kPointShifterTool, {0, 0}), 0);
}

TEST_F(ShifterTest, AStepWithNothingCollectedStillChangesTheStrength) {
    // A failed collection leaves no list: the steps visit nothing, but each
    // is still a step of the stroke for both strengths.
    host.faults.failEveryCall(kAIMatchingArtSuite, "GetMatchingArt", kOutOfMemoryErr);
    g().pointShifterFactor = 50;
    g().warpMeshFactor = 200;
    ASSERT_EQ(mouseDown(kPointShifterTool, {0, 0}), 0);
    ASSERT_EQ(g().ArtList, nullptr);
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(g().ShifterStrokeFactor, 0.5f);
    ASSERT_EQ(mouseUp(kPointShifterTool, {0, 0}), 0);
    ASSERT_EQ(mouseDown(kWarpMeshTool, {0, 0}), 0);
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(g().WarpStrokeFactor, 4.0f);
    ASSERT_EQ(mouseUp(kWarpMeshTool, {0, 0}), 0);
}

TEST_F(ShifterTest, StrengthStopsAtTheLargestRealAndNoAnchorLeavesTheFinitePlane) {
    const AIPathSegment start = seg({0, 0}, {-1, 0}, {1, 0});
    Art *a = addPath(doc(), {start});
    shift(0, 0);
    g().pointShifterFactor = 600;
    ASSERT_EQ(mouseDown(kPointShifterTool, {0, 0}), 0);
    g().ShifterStrokeFactor = 1e38f;
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(g().ShifterStrokeFactor, kLargestReal);
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_EQ(g().ShifterStrokeFactor, kLargestReal);
    shift(300, 0);  // 300 x the largest real is infinite: no move
    ASSERT_EQ(drag(kPointShifterTool, {0, 0}), 0);
    EXPECT_TRUE(sameSegment(a->segments[0], start));
    ASSERT_EQ(mouseUp(kPointShifterTool, {0, 0}), 0);
}

TEST_F(ShifterTest, FollowBrushTurnsTheOffsetsWithTheMovement) {
    Art *a = addPath(doc(), {seg({0, 0}, {0, 0}, {0, 0})});
    shift(3, -2);
    g().pointShifterFollowBrush = 1;
    ASSERT_EQ(mouseDown(kPointShifterTool, {0, 0}), 0);
    ASSERT_EQ(drag(kPointShifterTool, {0, 10}), 0);  // straight up: the vertical offset alone
    const AIReal up = hostAngle({0, 0}, {0, 10});
    const AIReal h1 = 0.0f + 3.0f * hostCos(up), v1 = 0.0f + -2.0f * hostSin(up);
    EXPECT_EQ(a->segments[0].p.h, h1);
    EXPECT_EQ(a->segments[0].p.v, v1);
    EXPECT_NEAR(h1, 0.0f, 1e-6);
    EXPECT_EQ(v1, -2.0f);
    ASSERT_EQ(drag(kPointShifterTool, {-10, 10}), 0);  // to the left: the horizontal one, reversed
    const AIReal left = hostAngle({0, 10}, {-10, 10});
    EXPECT_EQ(a->segments[0].p.h, h1 + 3.0f * hostCos(left));
    EXPECT_EQ(a->segments[0].p.v, v1 + -2.0f * hostSin(left));
    EXPECT_FLOAT_EQ(a->segments[0].p.h, -3.0f);
    ASSERT_EQ(mouseUp(kPointShifterTool, {-10, 10}), 0);
}

TEST_F(ShifterTest, ApplyOrNotDrawsForEachAnchorBeforeReadingItThenTheOffsetsDraw) {
    const AIPathSegment s0 = seg({0, 0}, {-1, 0}, {1, 0}), far = seg({80, 0}, {79, 0}, {81, 0});
    Art *a = addPath(doc(), {s0, far, seg({10, 0}, {9, 0}, {11, 0})});
    shift(4, 6);
    g().pointShifterApplyRandom = 1;
    g().pointShifterRandom = 1;
    // Skip draws 0.9 (skipped), 0.1 (read: weight 0), 0.5 (moves); then
    // sign and size of dx, sign and size of dy.
    queue({0.9f, 0.1f, 0.5f, 0.7f, 0.5f, 0.2f, 0.25f});
    host.log.enable(true);
    stroke(kPointShifterTool);
    EXPECT_EQ(host.random.draws(), 7);
    EXPECT_EQ(calls("GetPathSegments"), (std::vector<std::string>{"GetPathSegments 1 1", "GetPathSegments 2 1"}));
    EXPECT_TRUE(sameSegment(a->segments[0], s0));
    EXPECT_TRUE(sameSegment(a->segments[1], far));
    EXPECT_TRUE(sameSegment(a->segments[2], seg({8, 1.5f}, {7, 1.5f}, {9, 1.5f})));
}

}  // namespace
}  // namespace smear
