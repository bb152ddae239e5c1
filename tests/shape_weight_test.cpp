// Brush shape weights: the point variant called directly, the object
// variant over art of the stand-in host (the suites borrowed for the call).
#include "brush_support.h"
#include "shape_weight.h"
#include "suites.h"

namespace smear {
namespace {

// Brush at (100, 100), half-sizes 20 and 10.
const AIRealRect kBrush{80, 110, 120, 90};
const AIRealRect kDoubled{60, 120, 140, 80};

class ShapeWeightTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        sAIRealMath = static_cast<const AIRealMathSuite *>(host.suites.find(kAIRealMathSuite, kAIRealMathSuiteVersion));
        sAIArt = static_cast<const AIArtSuite *>(host.suites.find(kAIArtSuite, kAIArtSuiteVersion));
    }
    void TearDown() override {
        sAIRealMath = nullptr;
        sAIArt = nullptr;
        PluginTest::TearDown();
    }
    AIReal point(int shape, AIReal h, AIReal v, int index = 0, AIReal hx = 20, AIReal hy = 10) {
        AIRealPoint p{h, v};
        AIRealRect brush{100 - hx, 100 + hy, 100 + hx, 100 - hy};
        AIRealRect doubled{100 - 2 * hx, 100 + 2 * hy, 100 + 2 * hx, 100 - 2 * hy};
        return ShapeWeight(shape, &p, &brush, &doubled, hx, hy, index);
    }
    // Object variant for a rectangle with the given bounds.
    AIReal object(int shape, AIReal l, AIReal b, AIReal r, AIReal t, int index = 0) {
        Art *a = addRect(host.document(), l, b, r, t);
        return ShapeWeight(shape, toHandle(a), &kBrush, &kDoubled, 20, 10, index);
    }
};

TEST_F(ShapeWeightTest, EveryShapeInsideTheBrushByTheTable) {
    // At (85, 108): 5 from the left edge, 2 from the top, 18 above the bottom.
    const AIReal eh = 5.0f / 20, ev = 2.0f / 10;
    const AIReal expected[kShapeCount] = {1, 0, 0, -1, -1, 1, ev, eh, 1, ev, eh,
                                          (eh + ev) * 0.5f, 1 - (eh + ev) * 0.5f, eh * ev, 1, eh, eh * 1};
    for (int s = 0; s < kShapeCount; ++s) {
        if (s == kShapeRim || s == kShapeCentral) continue;
        EXPECT_FLOAT_EQ(point(s, 85, 108), expected[s]) << "shape " << s;
    }
    // At (115, 92) the nearer edges are the right and the bottom ones.
    EXPECT_FLOAT_EQ(point(kShapeReflected2, 115, 92), 5.0f / 20);
    EXPECT_FLOAT_EQ(point(kShapeReflected1, 115, 92), 2.0f / 10);
    EXPECT_FLOAT_EQ(point(kShapeRightLeft, 115, 92), 5.0f / 20);
    EXPECT_FLOAT_EQ(point(kShapeUp, 115, 92), 2.0f / 10);
}

TEST_F(ShapeWeightTest, RimAndCentralAtCentreCornersAndHalfway) {
    EXPECT_EQ(point(kShapeRim, 100, 100), 0.0f);
    EXPECT_EQ(point(kShapeCentral, 100, 100), 1.0f);
    for (AIRealPoint c : {AIRealPoint{80, 110}, {120, 90}, {80, 90}}) {
        EXPECT_EQ(point(kShapeRim, c.h, c.v), 1.0f);
        EXPECT_EQ(point(kShapeCentral, c.h, c.v), 0.0f);
    }
    EXPECT_EQ(point(kShapeRim, 90, 95), 0.5f);
    EXPECT_EQ(point(kShapeCentral, 90, 95), 0.5f);
}

TEST_F(ShapeWeightTest, InsideIncludesEdgesAndOutsideGivesZeroButForInvertAndFrame) {
    EXPECT_EQ(point(kShapeBrush, 80, 100), 1.0f);
    EXPECT_EQ(point(kShapeBrush, 120, 110), 1.0f);
    EXPECT_EQ(point(kShapeInvert, 100, 100), 0.0f);
    EXPECT_EQ(point(kShapeFrame, 100, 100), 0.0f);
    EXPECT_EQ(point(kShapeInvert, 130, 100), 1.0f);
    EXPECT_EQ(point(kShapeFrame, 130, 100), 1.0f);   // within the doubled rectangle
    EXPECT_EQ(point(kShapeFrame, 150, 100), 0.0f);
    for (int s = 0; s < kShapeCount; ++s) {
        if (s == kShapeInvert || s == kShapeFrame) continue;
        EXPECT_EQ(point(s, 130, 100), 0.0f) << "shape " << s;
    }
    EXPECT_EQ(point(kShapeCount, 100, 100), 0.0f);
    EXPECT_EQ(point(-1, 100, 100), 0.0f);
}

TEST_F(ShapeWeightTest, ZeroHalfSizesGiveZeroQuotients) {
    EXPECT_EQ(point(kShapeBrush, 100, 100, 0, 0, 0), 1.0f);
    EXPECT_EQ(point(kShapeRim, 100, 100, 0, 0, 0), 0.0f);
    EXPECT_EQ(point(kShapeCentral, 100, 100, 0, 0, 0), 0.0f);
    EXPECT_EQ(point(kShapeEdge, 100, 100, 0, 0, 0), 1.0f);
    EXPECT_EQ(point(kShapeLeftRight, 100, 95, 0, 0, 10), 0.0f);
    EXPECT_EQ(point(kShapeUp, 100, 95, 0, 0, 10), 0.5f);
}

TEST_F(ShapeWeightTest, GradientShapesAlternateBySignedIndex) {
    // At (85, 108): up 1, down 0.2, leftright 0.25.
    for (int i : {0, 2, -2}) {
        EXPECT_FLOAT_EQ(point(kShapeGrad1, 85, 108, i), 1.0f) << i;
        EXPECT_FLOAT_EQ(point(kShapeGrad2, 85, 108, i), 0.25f) << i;
    }
    for (int i : {1, 3, -1}) {
        EXPECT_FLOAT_EQ(point(kShapeGrad1, 85, 108, i), 0.2f) << i;
        EXPECT_FLOAT_EQ(point(kShapeGrad2, 85, 108, i), 0.2f) << i;
    }
}

TEST_F(ShapeWeightTest, ObjectVariantWeighsTheCentreOfOverlappingBounds) {
    // Touching the brush only at its top-right corner is inside.
    EXPECT_EQ(object(kShapeBrush, 120, 110, 130, 120), 1.0f);
    EXPECT_EQ(object(kShapeBrush, 121, 110, 130, 120), 0.0f);
    // Overlapping the bottom with the centre below it: negative.
    EXPECT_FLOAT_EQ(object(kShapeUp, 95, 80, 105, 92), (86.0f - 90) / 10);
    // Both factors negative: the edge shape exceeds 1.
    EXPECT_FLOAT_EQ(object(kShapeEdge, 70, 80, 84, 92), 1 - ((77.0f - 80) / 20 + (86.0f - 90) / 10) * 0.5f);
    EXPECT_EQ(object(kShapeFrame, 95, 95, 105, 105), 0.0f);
    EXPECT_EQ(object(kShapeFrame, 125, 95, 135, 105), 1.0f);
    EXPECT_EQ(object(kShapeFrame, 145, 95, 155, 105), 0.0f);
    EXPECT_EQ(object(kShapeInvert, 145, 95, 155, 105), 1.0f);
    EXPECT_FLOAT_EQ(object(kShapeGrad1, 83, 103, 87, 113, 1), 0.2f);
}

TEST_F(ShapeWeightTest, ObjectVariantReadsBoundsOnceOrTwiceAndGivesZeroWhenItCannot) {
    host.log.enable(true);
    object(kShapeBrush, 95, 95, 105, 105);
    object(kShapeDiamond, 95, 95, 105, 105);
    long reads = 0;
    for (const SuiteCall &c : host.log.calls()) reads += c.function == "GetArtBounds";
    EXPECT_EQ(reads, 3);
    host.faults.failEveryCall(kAIArtSuite, "GetArtBounds", kParamErr);
    EXPECT_EQ(object(kShapeBrush, 95, 95, 105, 105), 0.0f);
    EXPECT_EQ(object(kShapeInvert, 145, 95, 155, 105), 0.0f);
}

}  // namespace
}  // namespace smear
