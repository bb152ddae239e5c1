// Colour reducer on real art: the averages of each kind, the strength t as
// the product of every weight, plain paths against compound members, which
// objects each brush shape reduces, swatches, and the two passes' order.
#include <cmath>

#include "colour_support.h"

namespace smear {
namespace {

class ReducerTest : public ColourTest {
protected:
    void SetUp() override {
        ColourTest::SetUp();
        g().colorReducerAmount = 100;
    }
    Art *cyanRect(AIReal left, AIReal bottom, AIReal cyan, Art *parent = nullptr) {
        return withFill(addRect(doc(), left, bottom, left + 10, bottom + 10, true, parent),
                        processColour(cyan, 0, 0, 0));
    }
};

// a - t x |c - a| for a plain path, a + t x |c - a| for a compound member.
AIReal towards(AIReal c, AIReal a, AIReal t) { return a - t * std::fabs(c - a); }
AIReal away(AIReal c, AIReal a, AIReal t) { return a + t * std::fabs(c - a); }

TEST_F(ReducerTest, TwoPlainPathsMeetBelowTheAverage) {
    Art *a = cyanRect(0, 0, 0.2f);
    Art *b = cyanRect(10, 0, 0.8f);
    stroke(kColorReducerTool);
    const AIReal avg = (0.8f + 0.2f) / 2;
    const AIReal t = 100 * 1.0f * 0.01f * 1 * 1;
    EXPECT_EQ(process(a).cyan, towards(0.2f, avg, t));
    EXPECT_EQ(process(b).cyan, towards(0.8f, avg, t));
    EXPECT_NEAR(process(b).cyan, 0.2f, 1e-6f);
    EXPECT_EQ(process(b).magenta, 0.0f);
    EXPECT_TRUE(tagged(a));
}

TEST_F(ReducerTest, TwoCompoundMembersMeetAboveTheAverage) {
    Art *compound = addCompound(doc());
    Art *a = cyanRect(0, 0, 0.2f, compound);
    Art *b = cyanRect(10, 0, 0.8f, compound);
    stroke(kColorReducerTool);
    const AIReal avg = (0.2f + 0.8f) / 2;
    EXPECT_EQ(process(a).cyan, away(0.2f, avg, 1.0f));
    EXPECT_EQ(process(b).cyan, away(0.8f, avg, 1.0f));
    EXPECT_NEAR(process(a).cyan, 0.8f, 1e-6f);
    EXPECT_TRUE(tagged(a));
    EXPECT_TRUE(tagged(b));
    EXPECT_FALSE(tagged(compound));
}

TEST_F(ReducerTest, PressureScalesTheStrength) {
    Art *a = cyanRect(0, 0, 0.2f);
    Art *b = cyanRect(10, 0, 0.8f);
    pressedStroke(kColorReducerTool);
    const AIReal avg = (0.8f + 0.2f) / 2;
    const AIReal t = 100 * kPressure51 * 0.01f * 1 * 1;
    EXPECT_EQ(process(a).cyan, towards(0.2f, avg, t));
    EXPECT_EQ(process(b).cyan, towards(0.8f, avg, t));
}

TEST_F(ReducerTest, OneObjectIsItsOwnAverage) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.3f, 0.6f, 0.1f, 0.9f));
    for (AIReal amount : {100.0f, -100.0f, 37.0f}) {
        g().colorReducerAmount = amount;
        stroke(kColorReducerTool);
        EXPECT_TRUE(sameColour(a->style.fill.color, processColour(0.3f, 0.6f, 0.1f, 0.9f))) << amount;
    }
}

TEST_F(ReducerTest, StrengthIsTheProductOfEveryWeightInTheList) {
    g().brushShape = 5;
    Art *low = withFill(addFifthWeightRect(doc()), processColour(0.2f, 0, 0, 0));  // weight 1/5
    Art *high = cyanRect(10, 0, 0.8f);                                             // weight 1
    stroke(kColorReducerTool);
    const AIReal avg = (0.8f + 0.2f) / 2;
    const AIReal t = 100 * 1.0f * 0.01f * 1.0f * kFifthWeight;
    EXPECT_EQ(process(low).cyan, towards(0.2f, avg, t));
    EXPECT_EQ(process(high).cyan, towards(0.8f, avg, t));

    // An object out of reach makes the product 0: the others take the
    // average. It is not reduced itself, having weight 0 of its own.
    withFill(low, processColour(0.2f, 0, 0, 0));
    withFill(high, processColour(0.8f, 0, 0, 0));
    Art *far = cyanRect(500, 500, 0.9f);
    stroke(kColorReducerTool);
    EXPECT_EQ(process(low).cyan, avg);
    EXPECT_EQ(process(high).cyan, avg);
    EXPECT_EQ(process(far).cyan, 0.9f);
    EXPECT_TRUE(tagged(far));
}

TEST_F(ReducerTest, AmountZeroGivesEachKindItsOwnAverage) {
    Art *p1 = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.2f, 0.1f, 0.3f, 0.4f));
    Art *p2 = withFill(addRect(doc(), 10, 0, 20, 10), processColour(0.6f, 0.5f, 0.9f, 0.0f));
    Art *r1 = withFill(addRect(doc(), 20, 0, 30, 10), rgbColour(0.1f, 0.7f, 0.2f));
    Art *r2 = withFill(addRect(doc(), 30, 0, 40, 10), rgbColour(0.4f, 0.2f, 0.3f));
    Art *r3 = withFill(addRect(doc(), -10, 0, 0, 10), rgbColour(0.5f, 0.6f, 1.0f));
    Art *gray = withFill(addRect(doc(), -20, 0, -10, 10), grayColour(0.35f));
    Pattern *dots = doc().addPattern("Dots");
    Art *pattern = withFill(addRect(doc(), -30, 0, -20, 10), patternColour(dots, 0, 1, 1));
    g().colorReducerAmount = 0;
    stroke(kColorReducerTool);
    // Sums are made from the last object to the first.
    EXPECT_TRUE(sameColour(p1->style.fill.color,
                           processColour((0.6f + 0.2f) / 2, (0.5f + 0.1f) / 2, (0.9f + 0.3f) / 2, (0.0f + 0.4f) / 2)));
    EXPECT_TRUE(sameColour(p2->style.fill.color, p1->style.fill.color));
    const AIColor rgbAverage =
        rgbColour((0.5f + 0.4f + 0.1f) / 3, (0.6f + 0.2f + 0.7f) / 3, (1.0f + 0.3f + 0.2f) / 3);
    EXPECT_TRUE(sameColour(r1->style.fill.color, rgbAverage));
    EXPECT_TRUE(sameColour(r2->style.fill.color, rgbAverage));
    EXPECT_TRUE(sameColour(r3->style.fill.color, rgbAverage));
    EXPECT_EQ(gray->style.fill.color.c.g.gray, 0.35f);
    EXPECT_TRUE(sameColour(pattern->style.fill.color, patternColour(dots, 0, 1, 1)));
}

TEST_F(ReducerTest, StrokeAveragesAreDividedByTheFillCountOfTheirKind) {
    const AIColor processFill = processColour(0.5f, 0, 0, 0);
    Art *p1 = withStroke(withFill(addRect(doc(), 0, 0, 10, 10), processFill), processColour(0.2f, 0, 0, 0));
    Art *p2 = withStroke(withFill(addRect(doc(), 10, 0, 20, 10), processFill), grayColour(0.5f));
    Art *p3 = withStroke(withFill(addRect(doc(), 20, 0, 30, 10), processFill), grayColour(0.5f));
    Art *q = withStroke(withFill(addRect(doc(), 30, 0, 40, 10), grayColour(0.5f)), processColour(0.6f, 0, 0, 0));
    g().colorReducerAmount = 0;
    g().colorReducerApplyToFill = 0;
    g().colorReducerApplyToStroke = 1;
    stroke(kColorReducerTool);
    // Two process strokes over three process fills; two gray strokes over one gray fill.
    EXPECT_EQ(p1->style.stroke.color.c.f.cyan, (0.6f + 0.2f) / 3);
    EXPECT_EQ(q->style.stroke.color.c.f.cyan, (0.6f + 0.2f) / 3);
    EXPECT_EQ(p2->style.stroke.color.c.g.gray, (0.5f + 0.5f) / 1);
    EXPECT_EQ(p3->style.stroke.color.c.g.gray, (0.5f + 0.5f) / 1);
    EXPECT_EQ(process(p1).cyan, 0.5f);  // fills are off
    // No RGB fill at all: the RGB strokes' sum stays a sum.
    withStroke(p1, rgbColour(0.2f, 0, 0));
    withStroke(q, rgbColour(0.25f, 0, 0));
    stroke(kColorReducerTool);
    EXPECT_EQ(p1->style.stroke.color.c.rgb.red, 0.25f + 0.2f);
    EXPECT_EQ(q->style.stroke.color.c.rgb.red, 0.25f + 0.2f);
}

TEST_F(ReducerTest, ResultsAreClampedToTheUnitRange) {
    Art *compound = addCompound(doc());
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10, true, compound), grayColour(0.1f));
    Art *b = withFill(addRect(doc(), 10, 0, 20, 10, true, compound), grayColour(0.9f));
    Art *c = withFill(addRect(doc(), 20, 0, 30, 10), grayColour(0.1f));
    Art *d = withFill(addRect(doc(), 30, 0, 40, 10), grayColour(0.9f));
    // Average 0.5, distance 0.4: three times that takes every colour out of range.
    g().colorReducerAmount = 300;
    stroke(kColorReducerTool);
    EXPECT_EQ(a->style.fill.color.c.g.gray, 1.0f);
    EXPECT_EQ(b->style.fill.color.c.g.gray, 1.0f);
    EXPECT_EQ(c->style.fill.color.c.g.gray, 0.0f);
    EXPECT_EQ(d->style.fill.color.c.g.gray, 0.0f);
    // A negative strength turns both ways round.
    g().colorReducerAmount = -300;
    withFill(a, grayColour(0.1f));
    withFill(b, grayColour(0.9f));
    withFill(c, grayColour(0.1f));
    withFill(d, grayColour(0.9f));
    stroke(kColorReducerTool);
    EXPECT_EQ(a->style.fill.color.c.g.gray, 0.0f);
    EXPECT_EQ(b->style.fill.color.c.g.gray, 0.0f);
    EXPECT_EQ(c->style.fill.color.c.g.gray, 1.0f);
    EXPECT_EQ(d->style.fill.color.c.g.gray, 1.0f);
}

TEST_F(ReducerTest, BrushShapesZeroOneAndTwoDecideWhoIsReduced) {
    Art *inside = cyanRect(-5, -5, 0.3f);
    Art *ring1 = cyanRect(60, -5, 0.2f);  // beyond the brush, within twice its size
    Art *ring2 = cyanRect(-70, -5, 0.8f);
    Art *far1 = cyanRect(500, 500, 0.1f);
    Art *far2 = cyanRect(520, 500, 0.7f);
    auto reset = [&] {
        withFill(inside, processColour(0.3f, 0, 0, 0));
        withFill(ring1, processColour(0.2f, 0, 0, 0));
        withFill(ring2, processColour(0.8f, 0, 0, 0));
        withFill(far1, processColour(0.1f, 0, 0, 0));
        withFill(far2, processColour(0.7f, 0, 0, 0));
    };
    // Every shape here has an object of weight 0, so t is 0 and a reduced
    // colour becomes the average of the objects with weight.
    g().brushShape = 0;
    stroke(kColorReducerTool);
    EXPECT_EQ(process(inside).cyan, 0.3f);  // alone: its own average
    EXPECT_EQ(process(ring1).cyan, 0.2f);
    EXPECT_EQ(process(far1).cyan, 0.1f);
    EXPECT_TRUE(tagged(far1));

    reset();
    g().brushShape = 1;  // everything the brush does not reach
    stroke(kColorReducerTool);
    const AIReal outside = (0.7f + 0.1f + 0.8f + 0.2f) / 4;
    EXPECT_EQ(process(inside).cyan, 0.3f);
    EXPECT_EQ(process(ring1).cyan, outside);
    EXPECT_EQ(process(ring2).cyan, outside);
    EXPECT_EQ(process(far2).cyan, outside);

    reset();
    g().brushShape = 2;  // the frame around the brush
    stroke(kColorReducerTool);
    const AIReal frame = (0.8f + 0.2f) / 2;
    EXPECT_EQ(process(ring1).cyan, frame);
    EXPECT_EQ(process(ring2).cyan, frame);
    EXPECT_EQ(process(inside).cyan, 0.3f);
    EXPECT_EQ(process(far1).cyan, 0.1f);
}

TEST_F(ReducerTest, FrameShapeWithEveryObjectInTheFrameUsesTheFullStrength) {
    Art *ring1 = cyanRect(60, -5, 0.2f);
    Art *ring2 = cyanRect(-70, -5, 0.8f);
    g().brushShape = 2;
    stroke(kColorReducerTool);
    const AIReal avg = (0.8f + 0.2f) / 2;
    EXPECT_EQ(process(ring1).cyan, towards(0.2f, avg, 1.0f));
    EXPECT_EQ(process(ring2).cyan, towards(0.8f, avg, 1.0f));
}

TEST_F(ReducerTest, CreateSwatchAddsTheCommonColourOnce) {
    Art *a = cyanRect(0, 0, 0.2f);
    cyanRect(10, 0, 0.6f);
    doc().addSwatch("Start", processColour(0.2f, 0, 0, 0));
    g().colorReducerAmount = 0;
    g().colorReducerCreateSwatch = 1;
    stroke(kColorReducerTool);
    ASSERT_EQ(doc().swatches.size(), 2u);
    EXPECT_TRUE(sameColour(doc().swatches[1]->color, processColour((0.6f + 0.2f) / 2, 0, 0, 0)));
    EXPECT_TRUE(sameColour(a->style.fill.color, doc().swatches[1]->color));
    stroke(kColorReducerTool);
    EXPECT_EQ(doc().swatches.size(), 2u);
}

TEST_F(ReducerTest, EveryColourIsReadBeforeAnyIsWritten) {
    cyanRect(0, 0, 0.2f);
    cyanRect(10, 0, 0.8f);
    host.log.enable(true);
    stroke(kColorReducerTool);
    EXPECT_EQ(onlyCalls(calls(), {"GetPathStyle", "SetPathStyle", "SetTag"}),
              (std::vector<std::string>{"GetPathStyle", "GetPathStyle", "SetTag smearcraft string smearcraft",
                                        "GetPathStyle", "SetPathStyle", "SetTag smearcraft string smearcraft",
                                        "GetPathStyle", "SetPathStyle"}));
}

TEST_F(ReducerTest, AnObjectWhoseStyleCannotBeReadIsLeftOutOfTheSums) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), grayColour(0.2f));
    Art *b = withFill(addRect(doc(), 10, 0, 20, 10), grayColour(0.8f));
    Art *c = withFill(addRect(doc(), 20, 0, 30, 10), grayColour(0.4f));
    g().colorReducerAmount = 0;
    ASSERT_EQ(mouseDown(kColorReducerTool, {0, 0}), 0);
    host.faults.failNthCallOf(kAIPathStyleSuite, "GetPathStyle", 2, kParamErr);  // b's, while summing
    ASSERT_EQ(drag(kColorReducerTool, {0, 0}), 0);
    ASSERT_EQ(mouseUp(kColorReducerTool, {0, 0}), 0);
    const AIReal avg = (0.4f + 0.2f) / 2;
    EXPECT_EQ(a->style.fill.color.c.g.gray, avg);
    EXPECT_EQ(b->style.fill.color.c.g.gray, avg);  // read again while reducing
    EXPECT_EQ(c->style.fill.color.c.g.gray, avg);
}

TEST_F(ReducerTest, AnObjectWhoseStyleCannotBeReadIsNotChanged) {
    Art *a = cyanRect(0, 0, 0.2f);
    Art *b = cyanRect(10, 0, 0.8f);
    Art *c = cyanRect(20, 0, 0.4f);
    g().colorReducerAmount = 0;
    g().colorReducerCreateSwatch = 1;
    host.log.enable(true);
    ASSERT_EQ(mouseDown(kColorReducerTool, {0, 0}), 0);
    // Three reads while summing, then c's and b's while reducing.
    host.faults.failNthCallOf(kAIPathStyleSuite, "GetPathStyle", 5, kParamErr);
    ASSERT_EQ(drag(kColorReducerTool, {0, 0}), 0);
    ASSERT_EQ(mouseUp(kColorReducerTool, {0, 0}), 0);
    const AIReal avg = (0.4f + 0.8f + 0.2f) / 3;
    EXPECT_EQ(process(a).cyan, avg);
    EXPECT_EQ(process(b).cyan, 0.8f);
    EXPECT_EQ(process(c).cyan, avg);
    EXPECT_TRUE(tagged(b));
    EXPECT_EQ(count("SetPathStyle"), 2);
    EXPECT_EQ(doc().swatches.size(), 1u);
}

TEST_F(ReducerTest, ABoundsErrorWhileReducingEndsTheStep) {
    Art *a = cyanRect(0, 0, 0.2f);
    Art *b = cyanRect(10, 0, 0.8f);
    Art *c = cyanRect(20, 0, 0.5f);
    g().colorReducerAmount = 0;
    ASSERT_EQ(mouseDown(kColorReducerTool, {0, 0}), 0);
    // Summing asks twice per object (weight, bounds); reducing once: c, then b.
    host.faults.failNthCallOf(kAIArtSuite, "GetArtBounds", 8, kParamErr);
    ASSERT_EQ(drag(kColorReducerTool, {0, 0}), 0);
    const AIReal avg = (0.5f + 0.8f + 0.2f) / 3;
    EXPECT_EQ(process(c).cyan, avg);
    EXPECT_EQ(process(b).cyan, 0.8f);
    EXPECT_EQ(process(a).cyan, 0.2f);
    EXPECT_FALSE(tagged(b));
    ASSERT_EQ(mouseUp(kColorReducerTool, {0, 0}), 0);
}

TEST_F(ReducerTest, EveryObjectIsCopiedForTheTrailReducedOrNot) {
    cyanRect(0, 0, 0.2f);
    Art *far = cyanRect(500, 500, 0.8f);
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kColorReducerTool, {0, 0}, 2);
    EXPECT_EQ(count("DuplicateArt"), 4);
    EXPECT_EQ(process(far).cyan, 0.8f);
    EXPECT_TRUE(tagged(far));
}

}  // namespace
}  // namespace smear
