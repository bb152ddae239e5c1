// The document never holds a number that is not finite: suites that change
// geometry refuse such a value or result with an error code and leave the
// art as it was.
#include <cmath>
#include <limits>

#include "brush_support.h"
#include "host_suites_fixture.h"

namespace smear {
namespace {

bool allFinite(const Document &doc) {
    bool ok = true;
    doc.forEachArt([&](const Art &a) {
        for (const AIPathSegment &s : a.segments)
            for (AIReal v : {s.p.h, s.p.v, s.in.h, s.in.v, s.out.h, s.out.v}) ok = ok && std::isfinite(v);
        ok = ok && std::isfinite(a.style.stroke.width);
    });
    return ok;
}

class FiniteValues : public HostSuitesTest {
protected:
    const AIPathSuite &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    const AITransformArtSuite &transform =
        suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
};

TEST_F(FiniteValues, ATransformThatOverflowsIsRefusedAndChangesNothing) {
    Art *group = addArt(kGroupArt, "g");
    Art *small = doc().newArt(kPathArt);
    small->segments = {AIPathSegment{{1, 1}, {1, 1}, {1, 1}, true}};
    doc().link(small, kPlaceInsideOnTop, group);
    Art *big = doc().newArt(kPathArt);
    big->segments = {AIPathSegment{{100, -100}, {100, -100}, {100, -100}, true}};
    big->style.stroke.width = 2;
    doc().link(big, kPlaceInsideOnTop, group);

    const AIRealMatrix grow{1e20f, 0, 0, 1e20f, 0, 0};
    ASSERT_EQ(transform.TransformArt(toHandle(group), &grow, 1e20f, kTransformObjects | kScaleLines), kNoErr);
    EXPECT_FLOAT_EQ(big->segments[0].p.h, 1e22f);
    EXPECT_FLOAT_EQ(big->style.stroke.width, 2e20f);
    // Once more would go past the largest float: refused, every child kept.
    EXPECT_EQ(transform.TransformArt(toHandle(group), &grow, 1e20f, kTransformObjects | kScaleLines),
              kBadParameterErr);
    EXPECT_FLOAT_EQ(small->segments[0].p.h, 1e20f);
    EXPECT_FLOAT_EQ(big->segments[0].p.v, -1e22f);
    EXPECT_FLOAT_EQ(big->style.stroke.width, 2e20f);
    EXPECT_EQ(group->firstChild, small);
    EXPECT_EQ(small->next, big);
    EXPECT_TRUE(allFinite(doc()));
}

TEST_F(FiniteValues, SegmentsThatAreNotFiniteAreRefused) {
    Art *a = addPath({{0, 0}, {10, 10}});
    const AIReal nan = std::numeric_limits<AIReal>::quiet_NaN(), inf = std::numeric_limits<AIReal>::infinity();
    for (AIRealPoint bad : {AIRealPoint{nan, 0}, AIRealPoint{0, inf}, AIRealPoint{-inf, 1}}) {
        AIPathSegment s{{5, 5}, {5, 5}, bad, false};
        EXPECT_EQ(path.SetPathSegments(toHandle(a), 1, 1, &s), kBadParameterErr);
    }
    EXPECT_FLOAT_EQ(a->segments[1].p.h, 10);
    EXPECT_FLOAT_EQ(a->segments[1].out.h, 10);
    AIPathSegment good{{5, 5}, {5, 5}, {6, 6}, false};
    EXPECT_EQ(path.SetPathSegments(toHandle(a), 1, 1, &good), kNoErr);
    EXPECT_FLOAT_EQ(a->segments[1].out.h, 6);
}

// Scaling at the dialog's largest factor, stroke after stroke: the host
// refuses the step that would overflow, and the drawing stays finite.
class FiniteStrokes : public BrushTest {};

TEST_F(FiniteStrokes, ScalingAtItsLimitsNeverReachesInfinity) {
    addRect(doc(), -5, -5, 5, 5);
    g().scaleHorizontal = 2000;
    g().scaleVertical = 2000;
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
        drag(kScalingTool, {1, 1});
        mouseUp(kScalingTool, {1, 1});
        ASSERT_TRUE(allFinite(doc())) << "after stroke " << i + 1;
    }
    int paths = 0;
    doc().forEachArt([&](const Art &a) { paths += a.type == kPathArt; });
    EXPECT_GE(paths, 1);
}

}  // namespace
}  // namespace smear
