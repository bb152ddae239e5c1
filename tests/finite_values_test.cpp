// The document never holds a number that is not finite: suites that change
// geometry refuse such a value or result with an error code and leave the
// art as it was.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "finite_support.h"
#include "host_suites_fixture.h"
#include "mesh_support.h"
#include "value_modes.h"

namespace smear {
namespace {

bool allFinite(const Document &doc) { return documentIsFinite(doc); }

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
    // Each of the six coordinates in turn, one or several segments at once.
    for (int k = 0; k < 6; ++k)
        for (AIReal bad : {nan, inf, -inf}) {
            AIPathSegment s[2] = {{{5, 5}, {5, 5}, {6, 6}, false}, {{5, 5}, {5, 5}, {6, 6}, false}};
            AIRealPoint *points[] = {&s[1].p, &s[1].in, &s[1].out};
            (k % 2 == 0 ? points[k / 2]->h : points[k / 2]->v) = bad;
            EXPECT_EQ(path.SetPathSegments(toHandle(a), 1, 1, &s[1]), kBadParameterErr) << k << " " << bad;
            EXPECT_EQ(path.SetPathSegments(toHandle(a), 0, 2, s), kBadParameterErr) << k << " " << bad;
        }
    EXPECT_FLOAT_EQ(a->segments[0].p.h, 0);
    EXPECT_FLOAT_EQ(a->segments[1].p.h, 10);
    EXPECT_FLOAT_EQ(a->segments[1].out.h, 10);
    const AIReal max = std::numeric_limits<AIReal>::max();
    AIPathSegment good{{max, -max}, {-0.0f, 5}, {6, 6}, false};
    EXPECT_EQ(path.SetPathSegments(toHandle(a), 1, 1, &good), kNoErr);
    EXPECT_FLOAT_EQ(a->segments[1].out.h, 6);
    EXPECT_EQ(a->segments[1].p.h, max);
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

// The paint, opacity, style and mesh tools at settings far past their
// dialogs' ranges, stroke after stroke, in the modes that add, multiply, set
// and jitter: whatever the plug-in computes, the document keeps finite
// numbers, and a stroke whose changes the host refused leaves the art as it
// was.
class ExtremeStrokes : public FiniteStrokes {
protected:
    static constexpr AIReal kMost = std::numeric_limits<AIReal>::max();
    static constexpr ASInt32 kModes[] = {kValueModeAdd, kValueModeMultiply, kValueModeSet, kValueModeJitter};

    // `strokes` strokes of `tool`, the document checked after each.
    void strokeChecked(int tool, int strokes = 3) {
        for (int i = 0; i < strokes; ++i) {
            stroke(tool, {1, 1});
            ASSERT_TRUE(allFinite(doc())) << "tool " << tool << ", stroke " << i + 1;
        }
    }
    // Strokes of `tool` until one changes nothing in `art`; true when that
    // came within `limit` strokes, and the next one changes nothing either.
    bool strokesUntilRefused(int tool, const Art *art, int limit) {
        for (int i = 0; i < limit; ++i) {
            const std::vector<unsigned char> before = artBytes(art);
            stroke(tool, {1, 1});
            if (!allFinite(doc())) return false;
            if (artBytes(art) == before) {
                stroke(tool, {1, 1});
                return artBytes(art) == before;
            }
        }
        return false;
    }
};

TEST_F(ExtremeStrokes, ColourAndOpacityToolsKeepEveryNumberFinite) {
    Gradient *ramp = doc().addGradient("Ramp");
    Pattern *dots = doc().addPattern("Dots");
    CustomColor *spot = doc().addCustomColor("Spot", processColour(0, 1, 0, 0));
    withStroke(withFill(addRect(doc(), -5, -5, 5, 5), processColour(0.5f, 0.5f, 0.5f, 0.5f)), rgbColour(1, 0, 0));
    withStroke(withFill(addRect(doc(), -8, -8, 8, 8), grayColour(0.5f)), customColour(spot, 0.5f));
    withFill(addRect(doc(), -3, -3, 3, 3), gradientColour(ramp, 10, 100, 20, 0.5f));
    withFill(addRect(doc(), -2, -2, 2, 2), patternColour(dots, 10, 2, 3));
    for (ASInt32 mode : kModes) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        g().fillIntensityMode = g().fillChannelsMode = g().tintMode = g().transparencyMode = mode;
        g().gradientAngleMode = g().gradientLengthMode = g().gradientHiliteAngleMode = g().gradientHiliteLengthMode =
            mode;
        g().patternAngleMode = g().patternScaleHorizontalMode = g().patternScaleVerticalMode = mode;
        for (AIReal amount : {kMost, -kMost}) {
            g().fillIntensityAmount = g().tintAmount = g().transparencyAmount = amount;
            g().fillChannel1 = g().fillChannel2 = g().fillChannel3 = g().fillChannel4 = amount;
            g().gradientAngle = g().gradientLength = g().gradientHiliteAngle = g().gradientHiliteLength = amount;
            g().patternAngle = g().patternScaleHorizontal = g().patternScaleVertical = amount;
            for (int tool : {kFillIntensityTool, kFillChannelsTool, kTintTool, kTransparencyTool, kGradientTool,
                             kPatternTool})
                strokeChecked(tool);
        }
    }
}

TEST_F(ExtremeStrokes, PaintThatWouldLeaveTheFloatRangeIsRefusedWhole) {
    Gradient *ramp = doc().addGradient("Ramp");
    Pattern *dots = doc().addPattern("Dots");
    // Pattern scales multiplied stroke after stroke: the tool does not
    // clamp them, so the host refuses the first that overflows.
    Art *patterned = withFill(addRect(doc(), -5, -5, 5, 5), patternColour(dots, 0, 2, 3));
    g().patternAngleMode = g().patternScaleHorizontalMode = g().patternScaleVerticalMode = kValueModeMultiply;
    g().patternAngle = 0;
    g().patternScaleHorizontal = g().patternScaleVertical = 1e10f;
    EXPECT_TRUE(strokesUntilRefused(kPatternTool, patterned, 12));
    EXPECT_GT(patterned->style.fill.color.c.p.scale.h, 1e25f);
    patterned->userAttr = 0;

    // A gradient's length grows by the largest real each stroke.
    Art *ramped = withFill(addRect(doc(), -5, -5, 5, 5), gradientColour(ramp, 0, 100, 0, 0.5f));
    g().gradientAngleMode = g().gradientHiliteAngleMode = g().gradientHiliteLengthMode = kValueModeIgnore;
    g().gradientLengthMode = kValueModeAdd;
    g().gradientLength = kMost;
    EXPECT_TRUE(strokesUntilRefused(kGradientTool, ramped, 12));
    ramped->userAttr = 0;

    // Stroke widths multiplied, and a graphic style's width under a style
    // factor multiplied, past the range.
    Art *stroked = addRect(doc(), -5, -5, 5, 5);
    g().strokeWeightMode = kValueModeMultiply;
    g().strokeWeightAmount = 1e10f;
    EXPECT_TRUE(strokesUntilRefused(kStrokeWeightTool, stroked, 12));
    stroked->userAttr = 0;

    AIPathStyle wide = stroked->style;
    wide.stroke.width = 1e30f;
    doc().addGraphicStyle("Wide", wide);
    Art *styled = addRect(doc(), -5, -5, 5, 5);
    g().styleMode = 0;  // the listed style
    g().styleIndex = 0;
    g().styleFactorMode = kValueModeMultiply;
    g().styleFactor = 1e12f;
    EXPECT_TRUE(strokesUntilRefused(kStylesTool, styled, 12));
    EXPECT_EQ(styled->style.stroke.width, 1e30f);  // the style went on, the factor that overflowed did not
    EXPECT_EQ(styled->styleFactor, 1.0f);
}

TEST_F(ExtremeStrokes, MeshToolsKeepEveryVertexFinite) {
    Art *mesh = addMesh(doc(), 3, 3, {-15, -15}, 10);
    for (ASInt32 mode : kModes) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        g().meshColorMode = mode;
        g().meshPattern = mode % 4;
        g().warpMeshPattern = mode == kValueModeMultiply ? 5 : 1;  // 5 moves mirrors twice as far
        for (AIReal amount : {kMost, -kMost, 1e30f}) {
            g().meshColorChannel1 = g().meshColorChannel2 = g().meshColorChannel3 = g().meshColorChannel4 = amount;
            g().warpShiftHorizontal = amount;
            g().warpShiftVertical = -amount;
            g().warpMeshFactor = amount;
            strokeChecked(kGradientMeshTool);
            strokeChecked(kWarpMeshTool);
        }
    }
    // Scaling a mesh at the dialog's largest factor: once a vertex would
    // overflow the host refuses the step, and the mesh stays as it was.
    Art *fresh = addMesh(doc(), 2, 2, {-4, -4}, 4);
    mesh->userAttr = 0;
    g().scaleHorizontal = g().scaleVertical = 2000;
    EXPECT_TRUE(strokesUntilRefused(kScalingTool, fresh, 30));
    ASSERT_EQ(fresh->vertices.size(), 9u);
}

}  // namespace
}  // namespace smear
