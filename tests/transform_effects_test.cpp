// Scaling, Translate and Rotate on real art: pivots, the range test, the
// random draws in their order, fill factors and compound paths.
#include <cmath>

#include "brush_support.h"

namespace smear {
namespace {

using TransformTest = BrushTest;

Art *withFill(Art *a, ASInt32 kind, AIReal c0, AIReal c1 = 0, AIReal c2 = 0, AIReal c3 = 0) {
    a->style.fill.color = AIColor{};
    a->style.fill.color.kind = kind;
    a->style.fill.color.c.f = AIFourColorStyle{c0, c1, c2, c3};
    return a;
}

TEST_F(TransformTest, ScalingAboutItsOwnCentreOrTheSelectionCentre) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().scaleHorizontal = 100;
    g().scaleVertical = -50;
    host.log.enable(true);
    stroke(kScalingTool, {5, 5});
    EXPECT_RECT_EQ(boundsOf(a), -5, 2.5f, 15, 7.5f);
    EXPECT_EQ(calls("TransformArt").at(0), "TransformArt 2.000000 0.000000 0.000000 0.500000 -5.000000 2.500000 1.000000 3");
    Art *b = addRect(doc(), 20, 2.5f, 30, 7.5f);
    g().scaleSelectedCenter = 1;
    g().scaleVertical = 0;
    stroke(kScalingTool, {5, 5});  // both about (12.5, 5)
    EXPECT_RECT_EQ(boundsOf(a), -22.5f, 2.5f, 17.5f, 7.5f);
    EXPECT_RECT_EQ(boundsOf(b), 27.5f, 2.5f, 47.5f, 7.5f);
    g().scaleSelectedCenter = 0;
    g().scaleHorizontal = -100;  // a factor of 0 goes to the host as it is
    stroke(kScalingTool, {25, 5});
    EXPECT_EQ(boundsOf(b).left, 37.5f);
    EXPECT_EQ(boundsOf(b).right, 37.5f);
}

TEST_F(TransformTest, RangeTestLooksAtTheSizeAndTheOptionSigns) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().scaleVertical = 0;
    g().scaleMinWidth = 10;
    g().scaleLimitMode = 1;
    g().scaleHorizontal = 100;
    stroke(kScalingTool);
    EXPECT_RECT_EQ(boundsOf(a), 0, 0, 10, 10);  // min < W is strict
    EXPECT_TRUE(tagged(a));
    g().scaleLimitMode = 2;
    g().scaleHorizontal = -50;
    stroke(kScalingTool);
    EXPECT_RECT_EQ(boundsOf(a), 0, 0, 10, 10);  // may not shrink below the minimum
    g().scaleHorizontal = 100;
    stroke(kScalingTool);
    EXPECT_RECT_EQ(boundsOf(a), -5, 0, 15, 10);  // but grows
    // At its maximum with a positive option value: not scaled, although the
    // random sign would have shrunk it; the draws are made all the same.
    g().scaleMaxWidth = 20;
    g().scaleRandom = 1;
    for (AIReal r : {0.9f, 0.5f, 0.9f, 0.5f}) host.random.queue(r);
    long before = host.random.draws();
    stroke(kScalingTool);
    EXPECT_EQ(host.random.draws() - before, 4);
    EXPECT_RECT_EQ(boundsOf(a), -5, 0, 15, 10);
}

TEST_F(TransformTest, ScaleRandomAndTheSkipDrawInTheirOrder) {
    Art *far = addRect(doc(), 500, 500, 510, 510);
    Art *a = addRect(doc(), 0, 0, 8, 8);
    g().scaleHorizontal = 100;
    g().scaleVertical = 100;
    g().scaleRandom = 1;
    g().scaleApplyRandom = 1;
    g().trailCursor = 1;
    // a: skip draw, then sign and size per axis; far (weight 0): no skip draw.
    for (AIReal r : {0.5f, 0.9f, 0.5f, 0.2f, 0.25f, 0.9f, 0.9f, 0.9f, 0.9f}) host.random.queue(r);
    stroke(kScalingTool);
    EXPECT_EQ(host.random.draws(), 9);
    EXPECT_RECT_EQ(boundsOf(a), 2, -1, 6, 9);  // factors 0.5 and 1.25 about (4, 4)
    EXPECT_RECT_EQ(boundsOf(far), 500, 500, 510, 510);
    EXPECT_TRUE(tagged(far));
    int copies = 0;
    doc().forEachArt([&](Art &x) { copies += x.type == kPathArt; });
    EXPECT_EQ(copies, 4);
}

TEST_F(TransformTest, TranslateFollowsTheBrushDirection) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().translateHorizontal = 3;
    g().translateVertical = 2;
    g().translateFollowBrush = 1;
    ASSERT_EQ(mouseDown(kTranslateTool, {0, 0}), 0);
    ASSERT_EQ(drag(kTranslateTool, {10, 0}), 0);  // to the right: only the horizontal offset
    EXPECT_RECT_EQ(boundsOf(a), 3, 0, 13, 10);
    ASSERT_EQ(drag(kTranslateTool, {0, 0}), 0);  // to the left: reversed
    EXPECT_EQ(boundsOf(a).left, 0.0f);
    EXPECT_NEAR(boundsOf(a).bottom, 0.0f, 1e-5);
    ASSERT_EQ(drag(kTranslateTool, {0, 10}), 0);  // upwards: only the vertical offset
    EXPECT_NEAR(boundsOf(a).left, 0.0f, 1e-5);
    EXPECT_FLOAT_EQ(boundsOf(a).bottom, 2.0f);
    ASSERT_EQ(mouseUp(kTranslateTool, {0, 10}), 0);
}

TEST_F(TransformTest, TranslateDrawsItsOffsetsThenTheSkipForEveryObject) {
    Art *far = addRect(doc(), 500, 500, 510, 510);
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().translateHorizontal = 3;
    g().translateVertical = 2;
    g().translateRandom = 1;
    g().translateApplyRandom = 1;
    for (AIReal r : {0.9f, 0.5f, 0.1f, 0.5f, 0.2f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f}) host.random.queue(r);
    stroke(kTranslateTool);
    EXPECT_EQ(host.random.draws(), 10);
    EXPECT_RECT_EQ(boundsOf(a), -1.5f, 1, 8.5f, 11);
    EXPECT_RECT_EQ(boundsOf(far), 500, 500, 510, 510);
    // a comes first (weight 0 now) and still draws; far draws a skip.
    for (AIReal r : {0.1f, 0.5f, 0.1f, 0.5f, 0.1f, 0.1f, 0.5f, 0.1f, 0.5f, 0.7f}) host.random.queue(r);
    stroke(kTranslateTool, {500, 500});
    EXPECT_EQ(host.random.draws(), 20);
    EXPECT_RECT_EQ(boundsOf(far), 500, 500, 510, 510);
    EXPECT_TRUE(tagged(far));
}

TEST_F(TransformTest, TranslateBasedOnFillTakesEachChildsOwnFactor) {
    Art *compound = addCompound(doc());
    Art *gray0 = withFill(addRect(doc(), 0, 0, 10, 10, true, compound), kGrayColor, 0);
    Art *process = withFill(addRect(doc(), 20, 0, 30, 10, true, compound), kFourColor, 0.25f, 0.5f, 0.75f, 0.5f);
    Art *rgb = withFill(addRect(doc(), 0, 20, 10, 30), kThreeColor, 0.25f, 0.5f, 0.75f);
    Art *none = withFill(addRect(doc(), 20, 20, 30, 30), kNoneColor, 0);
    g().translateHorizontal = 4;
    g().translateVertical = 0;
    g().translateBasedOnFill = 1;
    stroke(kTranslateTool, {15, 15});
    EXPECT_RECT_EQ(boundsOf(gray0), 0, 0, 10, 10);
    EXPECT_RECT_EQ(boundsOf(process), 22, 0, 32, 10);
    EXPECT_FLOAT_EQ(boundsOf(rgb).left, 4 * ((0.25f + 0.5f + 0.75f) * 0.33333334f));
    EXPECT_RECT_EQ(boundsOf(none), 24, 20, 34, 30);
    EXPECT_TRUE(tagged(gray0));
    EXPECT_FALSE(tagged(compound));
}

TEST_F(TransformTest, RotateTurnsAboutTheCentreAndCompoundPathsAsOneShape) {
    Art *compound = addCompound(doc());
    Art *c1 = addRect(doc(), 0, 0, 10, 10, true, compound);
    Art *c2 = addRect(doc(), 10, 0, 20, 10, true, compound);
    g().rotateAngle = 90;
    stroke(kRotateTool, {10, 5});
    // Each child turns about the compound path's centre (10, 5).
    AIRealRect r1 = boundsOf(c1), r2 = boundsOf(c2);
    EXPECT_NEAR(r1.left, 5, 1e-4);
    EXPECT_NEAR(r1.bottom, -5, 1e-4);
    EXPECT_NEAR(r2.top, 15, 1e-4);
    EXPECT_NEAR(r2.right, 15, 1e-4);
    EXPECT_TRUE(tagged(c1) && tagged(c2));
    EXPECT_FALSE(tagged(compound));
}

TEST_F(TransformTest, RotateCyclingStepUsesTheWrappedAngleAndFillScalesIt) {
    Art *a = addRect(doc(), 0, 0, 20, 10);
    g().rotateAngle = 60;
    stroke(kRotateTool, {10, 5}, 1, 0x20 | 0x40);
    EXPECT_EQ(g().rotateAngle, -60.0f);
    // Corner (0, 10) turned by -60 degrees about (10, 5).
    EXPECT_NEAR(a->segments[0].p.h, 9.330127f, 1e-4);
    EXPECT_NEAR(a->segments[0].p.v, 16.160254f, 1e-4);
    Art *b = withFill(addRect(doc(), 100, 100, 110, 110), kGrayColor, 0.5f);
    g().rotateAngle = 90;
    g().rotateBasedOnFill = 1;
    stroke(kRotateTool, {105, 105});  // 45 degrees
    EXPECT_NEAR(boundsOf(b).left, 105 - 5 * std::sqrt(2.0f), 1e-4);
}

TEST_F(TransformTest, RotateRandomDrawsForEveryObjectBeforeItsWeight) {
    Art *far = addRect(doc(), 500, 500, 510, 510);
    Art *a = addRect(doc(), 0, 0, 20, 10);
    g().rotateAngle = 90;
    g().rotateRandom = 1;
    g().rotateSelectedCenter = 1;
    host.faults.failEveryCall(kAIArtSuite, "GetArtBounds", kParamErr);
    host.random.queue(0.1f);
    host.random.queue(0.5f);
    stroke(kRotateTool);  // the draws come before the failing weight
    EXPECT_EQ(host.random.draws(), 2);
    host.faults.clear();
    for (AIReal r : {0.9f, 1.0f, 0.1f, 0.1f}) host.random.queue(r);  // a: -90 degrees
    stroke(kRotateTool, {10, 5});
    EXPECT_EQ(host.random.draws(), 6);
    // Turned about the selection centre: far away, so the rectangle moves.
    EXPECT_NEAR(a->segments[0].p.h, g().SelectionCenter.h + (10 - g().SelectionCenter.v), 1e-3);
    EXPECT_RECT_EQ(boundsOf(far), 500, 500, 510, 510);
}

}  // namespace
}  // namespace smear
