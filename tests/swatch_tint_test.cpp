// Swatches and Tint on real art: the swatch index from the stroke strength,
// the jitter, the clamps and the ignored index; the tint modes on a custom
// colour's strength; compound members, weight 0 and unreadable styles.
#include <string>

#include "colour_support.h"

namespace smear {
namespace {

class SwatchesTest : public ColourTest {
protected:
    void SetUp() override {
        ColourTest::SetUp();
        for (int k = 0; k < 6; ++k) doc().addSwatch("S" + std::to_string(k), grayColour(AIReal(k) * 0.1f));
        g().swatchIgnoreRandom = 9;  // out of the way unless a test wants it
        g().swatchJitter = 0;
    }
    Art *object(AIReal left = 0) {
        return withFill(addRect(doc(), left, 0, left + 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    }
    bool painted(const Art *a, size_t k) { return sameColour(a->style.fill.color, doc().swatches.at(k)->color); }
    bool unchanged(const Art *a) {
        return sameColour(a->style.fill.color, processColour(0.5f, 0.5f, 0.5f, 0.5f));
    }
};

TEST_F(SwatchesTest, IndexFollowsTheStrokeStrengthAndTheJitter) {
    Art *a = object();
    g().swatchIndex = 3;
    host.random.queue(0.1f);  // sign
    host.random.queue(0.5f);  // size, times a jitter of 0
    stroke(kSwatchesTool);
    EXPECT_EQ(host.random.draws(), 2);
    EXPECT_TRUE(painted(a, 3));
    g().swatchJitter = 2;
    host.random.queue(0.9f);  // -1
    host.random.queue(0.75f);  // trunc(-1.5) = -1
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(a, 2));
    host.random.queue(0.2f);
    host.random.queue(0.75f);
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(a, 4));
    // At a fifth of the strength: trunc(7 x 0.2) = 1.
    a->userAttr = 0;
    Art *b = withFill(addFifthWeightRect(doc()), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    g().brushShape = 5;
    g().swatchIndex = 7;
    g().swatchJitter = 0;
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(b, 1));
    // Full weight at a fifth of the pressure: trunc(20 x 1 x p) = 4.
    g().brushShape = 0;
    g().swatchIndex = 20;
    pressedStroke(kSwatchesTool);
    EXPECT_TRUE(painted(b, 4));
}

TEST_F(SwatchesTest, SwatchRandomPicksFromOneToTheIndexWithOneDraw) {
    Art *a = object();
    g().swatchRandom = 1;
    g().swatchIndex = 4;
    const std::pair<AIReal, size_t> cases[] = {{0.5f, 3}, {0.99f, 4}, {0.0f, 1}};
    for (const auto &c : cases) {
        host.random.queue(c.first);
        stroke(kSwatchesTool);
        EXPECT_TRUE(painted(a, c.second)) << c.first;
    }
    EXPECT_EQ(host.random.draws(), 3);
}

TEST_F(SwatchesTest, IndexIsClampedToTheList) {
    Art *a = object();
    g().swatchIndex = 6;  // one past the end of the list
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(a, 5));  // the last swatch
    g().swatchIndex = 0;
    g().swatchJitter = 5;
    host.random.queue(0.9f);
    host.random.queue(0.5f);  // trunc(-2.5) = -2
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(a, 0));
    g().swatchRandom = 1;
    g().swatchIndex = 20;
    host.random.queue(0.9f);  // trunc(18) + 1
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(a, 5));
}

TEST_F(SwatchesTest, TheIgnoredIndexGivesSwatchZeroOrTwo) {
    Art *a = object();
    g().swatchIndex = 5;
    g().swatchIgnoreRandom = 5;
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(a, 0));
    g().swatchIndex = 0;
    g().swatchIgnoreRandom = 0;
    stroke(kSwatchesTool);
    EXPECT_TRUE(painted(a, 2));
    // In a list of two there is no swatch 2: the object keeps its paint.
    doc().swatches.resize(2);
    withFill(a, processColour(0.5f, 0.5f, 0.5f, 0.5f));
    host.log.enable(true);
    stroke(kSwatchesTool);
    EXPECT_TRUE(unchanged(a));
    EXPECT_TRUE(tagged(a));
    EXPECT_EQ(count("SetPathStyle"), 0);
}

TEST_F(SwatchesTest, AnEmptyListLeavesObjectsAsTheyAre) {
    doc().swatches.clear();
    Art *a = object();
    host.log.enable(true);
    stroke(kSwatchesTool);
    EXPECT_TRUE(unchanged(a));
    EXPECT_TRUE(tagged(a));
    EXPECT_EQ(count("SetPathStyle"), 0);
    EXPECT_EQ(host.random.draws(), 2);  // the index is chosen all the same
}

TEST_F(SwatchesTest, TheSwatchColourIsCopiedWhateverItsKind) {
    Pattern *dots = doc().addPattern("Dots");
    doc().swatches[3]->color = patternColour(dots, 10, 2, 2);
    Art *a = object();
    a->style.fillPaint = 0;
    withStroke(a, rgbColour(0.1f, 0.2f, 0.3f));
    a->style.strokePaint = 0;
    g().swatchIndex = 3;
    stroke(kSwatchesTool);
    EXPECT_EQ(a->style.fillPaint, 1);
    EXPECT_TRUE(sameColour(a->style.fill.color, patternColour(dots, 10, 2, 2)));
    EXPECT_EQ(a->style.strokePaint, 0);
    EXPECT_TRUE(sameColour(a->style.stroke.color, rgbColour(0.1f, 0.2f, 0.3f)));
    // The stroke alone.
    withFill(a, processColour(0.5f, 0.5f, 0.5f, 0.5f));
    g().swatchApplyToFill = 0;
    g().swatchApplyToStroke = 1;
    g().swatchIndex = 4;
    stroke(kSwatchesTool);
    EXPECT_TRUE(unchanged(a));
    EXPECT_EQ(a->style.strokePaint, 1);
    EXPECT_TRUE(sameColour(a->style.stroke.color, grayColour(4 * 0.1f)));
}

TEST_F(SwatchesTest, WeightZeroChoosesAnIndexAndIsTaggedAndCopiedButNotPainted) {
    Art *far = object(500);
    g().trailCursor = 1;
    g().swatchIndex = 3;
    host.log.enable(true);
    stroke(kSwatchesTool);
    EXPECT_EQ(host.random.draws(), 2);
    EXPECT_TRUE(unchanged(far));
    EXPECT_TRUE(tagged(far));
    EXPECT_EQ(count("DuplicateArt"), 1);
    EXPECT_EQ(count("SetPathStyle"), 0);
}

TEST_F(SwatchesTest, TheListIsCountedOncePerStepAndEveryMemberIsPainted) {
    Art *compound = addCompound(doc());
    Art *m1 = withFill(addRect(doc(), 0, 0, 10, 10, true, compound), grayColour(0.75f));
    Art *m2 = withFill(addRect(doc(), 10, 0, 20, 10, true, compound), grayColour(0.75f));
    Art *plain = object(20);
    g().swatchIndex = 3;
    host.log.enable(true);
    stroke(kSwatchesTool, {0, 0}, 2);
    EXPECT_TRUE(painted(m1, 3));
    EXPECT_TRUE(painted(m2, 3));
    EXPECT_TRUE(painted(plain, 3));
    EXPECT_TRUE(tagged(m1));
    EXPECT_TRUE(tagged(m2));
    EXPECT_FALSE(tagged(compound));
    EXPECT_EQ(onlyCalls(calls(), {"CountSwatches", "GetNthSwatch"}),
              (std::vector<std::string>{"CountSwatches", "GetNthSwatch 3", "GetNthSwatch 3", "CountSwatches",
                                        "GetNthSwatch 3", "GetNthSwatch 3"}));
    EXPECT_EQ(host.random.draws(), 2 * 2 * 2);  // two per object and step
}

TEST_F(SwatchesTest, AStyleThatCannotBeReadIsNeverWritten) {
    Art *a = object();
    g().swatchIndex = 3;
    host.faults.failEveryCall(kAIPathStyleSuite, "GetPathStyle", kParamErr);
    host.log.enable(true);
    stroke(kSwatchesTool);
    EXPECT_TRUE(unchanged(a));
    EXPECT_TRUE(tagged(a));
    EXPECT_EQ(count("SetPathStyle"), 0);
}

class TintTest : public ColourTest {
protected:
    void SetUp() override {
        ColourTest::SetUp();
        spot = doc().addCustomColor("Spot", processColour(0, 1, 0, 0));
    }
    static AIReal fillTint(const Art *a) { return a->style.fill.color.c.c.tint; }
    static AIReal strokeTint(const Art *a) { return a->style.stroke.color.c.c.tint; }
    CustomColor *spot = nullptr;
};

TEST_F(TintTest, EveryModeWorksOnTheStrengthOfTheColour) {
    struct Case {
        ASInt32 mode;
        AIReal amount;
        std::vector<AIReal> draws;
        AIReal tint;
    };
    auto v = [](AIReal amount) { return amount * kFifthWeight * 1.0f * 0.01f; };
    const AIReal was = 0.3f;
    const Case cases[] = {
        {0, 50, {}, 1 - ((1 - was) + v(50))},
        {1, 50, {0.5f}, 1 - 0.5f * v(50)},
        {2, 50, {}, 1 - v(50)},
        {3, 50, {0.5f}, 1 - (1 - 0.5f * v(50))},
        {4, 0, {0.6f}, 1 - 0.6f},  // neither amount nor weight
        {5, 50, {0.9f, 0.5f}, 1 - ((1 - was) + 0.5f * v(50) * -1)},
        {5, 50, {0.5f, 0.5f}, 1 - ((1 - was) + 0.5f * v(50) * 1)},
        {2, -500, {}, 1},  // strength below 0: no colour
        {0, 500, {}, 0},   // strength above 1: the full colour
    };
    Art *a = withFill(addFifthWeightRect(doc()), customColour(spot, was));
    g().brushShape = 5;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.amount);
        withFill(a, customColour(spot, was));
        g().tintMode = c.mode;
        g().tintAmount = c.amount;
        for (AIReal r : c.draws) host.random.queue(r);
        const long before = host.random.draws();
        stroke(kTintTool);
        EXPECT_EQ(fillTint(a), c.tint);
        EXPECT_EQ(a->style.fill.color.c.c.color, toHandle(spot));
        EXPECT_EQ(host.random.draws() - before, long(c.draws.size()));
    }
}

TEST_F(TintTest, PressureScalesTheAmount) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), customColour(spot, 0.3f));
    g().tintMode = 2;
    g().tintAmount = 50;
    pressedStroke(kTintTool);
    EXPECT_EQ(fillTint(a), 1 - 50 * 1.0f * kPressure51 * 0.01f);
}

TEST_F(TintTest, OnlyCustomColoursAreChanged) {
    Art *a = withStroke(withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f)),
                        grayColour(0.5f));
    g().tintApplyToStroke = 1;
    g().tintMode = 4;
    host.log.enable(true);
    stroke(kTintTool);
    EXPECT_TRUE(sameColour(a->style.fill.color, processColour(0.5f, 0.5f, 0.5f, 0.5f)));
    EXPECT_EQ(a->style.stroke.color.c.g.gray, 0.5f);
    EXPECT_EQ(host.random.draws(), 0);
    EXPECT_EQ(count("SetPathStyle"), 0);
    EXPECT_TRUE(tagged(a));
    // A custom stroke under a process fill: the stroke alone changes.
    withStroke(a, customColour(spot, 0.4f));
    host.random.queue(0.25f);
    stroke(kTintTool);
    EXPECT_EQ(strokeTint(a), 1 - 0.25f);
    EXPECT_TRUE(sameColour(a->style.fill.color, processColour(0.5f, 0.5f, 0.5f, 0.5f)));
}

TEST_F(TintTest, FillAndStrokeDrawInTurnAndTheStyleIsWrittenAfterEach) {
    Art *a = withStroke(withFill(addRect(doc(), 0, 0, 10, 10), customColour(spot, 0.2f)), customColour(spot, 0.6f));
    g().tintApplyToStroke = 1;
    g().tintMode = 1;
    g().tintAmount = 50;
    host.random.queue(0.5f);   // fill
    host.random.queue(0.25f);  // stroke
    host.log.enable(true);
    stroke(kTintTool);
    EXPECT_EQ(fillTint(a), 1 - 0.5f * (50 * 1.0f * 1.0f * 0.01f));
    EXPECT_EQ(strokeTint(a), 1 - 0.25f * (50 * 1.0f * 1.0f * 0.01f));
    EXPECT_EQ(count("SetPathStyle"), 3);  // after the fill, after the stroke, and once more
}

TEST_F(TintTest, AMembersChangedStyleIsWrittenToItsCompoundPath) {
    Art *compound = addCompound(doc());
    Art *m1 = withFill(addRect(doc(), 0, 0, 10, 10, true, compound), customColour(spot, 0.2f));
    Art *m2 = withFill(addRect(doc(), 10, 0, 20, 10, true, compound), customColour(spot, 0.6f));
    g().tintAmount = 10;
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kTintTool);
    // The first member's new style reaches the compound path and, through
    // it, the second member, which then starts from that tint.
    const AIReal v = 10 * 1.0f * 1.0f * 0.01f;
    const AIReal first = 1 - ((1 - 0.2f) + v);
    const AIReal second = 1 - ((1 - first) + v);
    EXPECT_EQ(fillTint(m1), second);
    EXPECT_EQ(fillTint(m2), second);
    EXPECT_EQ(count("SetPathStyle"), 4);
    EXPECT_TRUE(tagged(m1));
    EXPECT_TRUE(tagged(m2));
    EXPECT_FALSE(tagged(compound));
    EXPECT_EQ(count("DuplicateArt"), 1);  // once per object of the list
}

TEST_F(TintTest, WeightZeroIsTaggedAndCopiedButNotChanged) {
    Art *far = withFill(addRect(doc(), 500, 500, 510, 510), customColour(spot, 0.3f));
    g().tintMode = 1;
    g().tintAmount = 50;
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kTintTool);
    EXPECT_EQ(fillTint(far), 0.3f);
    EXPECT_EQ(host.random.draws(), 0);
    EXPECT_TRUE(tagged(far));
    EXPECT_EQ(count("DuplicateArt"), 1);
}

TEST_F(TintTest, AStyleThatCannotBeReadIsNeverWritten) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), customColour(spot, 0.3f));
    g().tintMode = 2;
    g().tintAmount = 80;
    host.faults.failEveryCall(kAIPathStyleSuite, "GetPathStyle", kParamErr);
    host.log.enable(true);
    stroke(kTintTool);
    EXPECT_EQ(fillTint(a), 0.3f);
    EXPECT_TRUE(tagged(a));
    EXPECT_EQ(count("SetPathStyle"), 0);
}

}  // namespace
}  // namespace smear
