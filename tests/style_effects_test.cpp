// Styles and Blend mode on real art: which named style each style mode
// picks, the style-factor modes, the blend choices, and what weight 0 and
// compound paths get.
#include "colour_support.h"

namespace smear {
namespace {

class StylesTest : public ColourTest {
protected:
    void SetUp() override {
        ColourTest::SetUp();
        for (const char *name : {"S0", "S1", "S2", "S3"}) styles.push_back(doc().addGraphicStyle(name, AIPathStyle{}));
        g().styleFactorMode = 0;
    }
    std::vector<GraphicStyle *> styles;
};

TEST_F(StylesTest, ListedStyleIsAppliedUnlessTheObjectHasItAlready) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().styleMode = 0;
    g().styleIndex = 2;
    host.log.enable(true);
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[2]);
    EXPECT_EQ(onlyCalls(calls(), {"GetNthNamedArtStyle", "GetArtStyle", "ArtStylesEquiv", "SetArtStyle"}),
              (std::vector<std::string>{"GetNthNamedArtStyle 2", "GetArtStyle", "ArtStylesEquiv", "SetArtStyle"}));
    host.log.clear();
    stroke(kStylesTool);
    EXPECT_EQ(count("ArtStylesEquiv"), 1);
    EXPECT_EQ(count("SetArtStyle"), 0);
    // No style 7: the object keeps its style, and the factor step still runs.
    g().styleIndex = 7;
    g().styleFactorMode = 1;
    g().styleFactor = 50;
    a->styleFactor = 3;
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[2]);
    EXPECT_EQ(a->styleFactor, 50 * 1.0f * 1.0f * 0.01f);
}

TEST_F(StylesTest, NoChangeAsksForNoStyle) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->artStyle = styles[3];
    g().styleMode = 1;
    host.log.enable(true);
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[3]);
    EXPECT_EQ(count("GetNthNamedArtStyle"), 0);
    EXPECT_EQ(count("SetArtStyle"), 0);
    EXPECT_TRUE(tagged(a));
}

TEST_F(StylesTest, RandomUpToCurrentPicksFromOneToTheIndex) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().styleMode = 2;
    g().styleIndex = 3;
    host.random.queue(0.5f);  // trunc(1.5) + 1
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[2]);
    host.random.queue(0.99f);  // trunc(2.97) + 1
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[3]);
    host.random.queue(0.0f);
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[1]);
    g().styleIndex = 0;  // always style 1
    host.log.enable(true);
    host.random.queue(0.9f);
    a->artStyle = styles[0];
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[1]);
    EXPECT_EQ(calls("GetNthNamedArtStyle"), std::vector<std::string>{"GetNthNamedArtStyle 1"});
    EXPECT_EQ(host.random.draws(), 4);
}

TEST_F(StylesTest, SequenceRunsFromOneToTheLastAndSkipsStyleZero) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->artStyle = styles[0];
    g().styleMode = 3;
    std::vector<GraphicStyle *> seen;
    for (int i = 0; i < 5; ++i) {
        stroke(kStylesTool);
        seen.push_back(a->artStyle);
    }
    EXPECT_EQ(seen, (std::vector<GraphicStyle *>{styles[1], styles[2], styles[3], styles[1], styles[2]}));
    EXPECT_EQ(host.random.draws(), 0);
    // The search stops at the first match; the next style is applied without
    // an equivalence test.
    host.log.enable(true);
    a->artStyle = styles[1];
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[2]);
    EXPECT_EQ(count("ArtStylesEquiv"), 2);
    EXPECT_EQ(calls("GetNthNamedArtStyle"),
              (std::vector<std::string>{"GetNthNamedArtStyle 0", "GetNthNamedArtStyle 1", "GetNthNamedArtStyle 2"}));
    // An object whose style is not a named one starts at 1.
    a->artStyle = nullptr;
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[1]);
}

TEST_F(StylesTest, SequenceOfTwoStylesAppliesStyleOneEvenWhenTheObjectHasIt) {
    doc().graphicStyles.resize(2);
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->artStyle = styles[1];
    g().styleMode = 3;
    host.log.enable(true);
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[1]);
    EXPECT_EQ(count("SetArtStyle"), 1);
}

TEST_F(StylesTest, EmptyStyleListLeavesTheStyleButNotTheFactor) {
    doc().graphicStyles.clear();
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->styleFactor = 0.3f;
    g().styleMode = 3;
    g().styleFactorMode = 6;
    host.log.enable(true);
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, nullptr);
    EXPECT_EQ(calls("GetNthNamedArtStyle"), std::vector<std::string>{"GetNthNamedArtStyle 0"});
    EXPECT_EQ(a->styleFactor, 1.0f);
    // Totally random asks for style trunc(r x 0) + 1.
    g().styleMode = 4;
    host.log.clear();
    host.random.queue(0.7f);
    stroke(kStylesTool);
    EXPECT_EQ(calls("GetNthNamedArtStyle"), std::vector<std::string>{"GetNthNamedArtStyle 1"});
    EXPECT_EQ(count("SetArtStyle"), 0);
}

TEST_F(StylesTest, TotallyRandomPicksFromOneToTheCount) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().styleMode = 4;
    host.random.queue(0.5f);  // trunc(2) + 1
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[3]);
    host.random.queue(0.0f);
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[1]);
    host.log.enable(true);
    host.random.queue(0.8f);  // trunc(3.2) + 1 = 4: there is no style 4
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[1]);
    EXPECT_EQ(calls("GetNthNamedArtStyle"), std::vector<std::string>{"GetNthNamedArtStyle 4"});
    EXPECT_EQ(host.random.draws(), 3);
}

TEST_F(StylesTest, EveryStyleFactorModeWithTheStrokeStrength) {
    struct Case {
        ASInt32 mode;
        std::vector<AIReal> draws;
        AIReal expected;
    };
    const AIReal f = 0.75f;
    const AIReal v = 50 * kFifthWeight * 1.0f * 0.01f;
    const Case cases[] = {
        {0, {}, f},
        {1, {}, v},
        {2, {0.5f}, 0.5f * v},
        {3, {}, f + v},
        {4, {0.25f}, f + 0.25f * v},
        {5, {0.9f, 0.5f}, f + 0.5f * v * -1},
        {5, {0.5f, 0.5f}, f + 0.5f * v * 1},
        {6, {}, 1.0f},
        {7, {}, f * v},
    };
    Art *a = addFifthWeightRect(doc());
    g().brushShape = 5;
    g().styleMode = 1;
    g().styleFactor = 50;
    host.log.enable(true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        a->styleFactor = f;
        g().styleFactorMode = c.mode;
        for (AIReal r : c.draws) host.random.queue(r);
        const long before = host.random.draws();
        host.log.clear();
        stroke(kStylesTool);
        EXPECT_EQ(a->styleFactor, c.expected);
        EXPECT_EQ(host.random.draws() - before, long(c.draws.size()));
        if (c.mode == 0) {
            EXPECT_EQ(count("SetStyleFactor") + count("GetStyleFactor"), 0);
        }
    }
    // No clamp, and the adding modes build up over the steps of a stroke.
    g().styleFactorMode = 1;
    g().styleFactor = -1000;
    stroke(kStylesTool);
    EXPECT_EQ(a->styleFactor, -1000 * kFifthWeight * 1.0f * 0.01f);
    g().styleFactorMode = 3;
    g().styleFactor = 50;
    a->styleFactor = f;
    stroke(kStylesTool, {0, 0}, 2);
    EXPECT_EQ(a->styleFactor, (f + v) + v);
    g().styleFactorMode = 1;
    pressedStroke(kStylesTool);
    EXPECT_EQ(a->styleFactor, 50 * kFifthWeight * kPressure51 * 0.01f);
}

TEST_F(StylesTest, StyleStepComesBeforeTheFactorStepAndDrawsFirst) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().styleMode = 2;
    g().styleIndex = 3;
    g().styleFactorMode = 2;
    g().styleFactor = 40;
    host.random.queue(0.5f);   // the style: trunc(1.5) + 1
    host.random.queue(0.25f);  // the factor
    host.log.enable(true);
    stroke(kStylesTool);
    EXPECT_EQ(a->artStyle, styles[2]);
    EXPECT_EQ(a->styleFactor, 0.25f * (40 * 1.0f * 1.0f * 0.01f));
    EXPECT_EQ(onlyCalls(calls(), {"SetArtStyle", "SetStyleFactor"}),
              (std::vector<std::string>{"SetArtStyle", "SetStyleFactor " + std::to_string(a->styleFactor)}));
}

TEST_F(StylesTest, WeightZeroChangesNothingButIsTaggedAndCopied) {
    Art *far = addRect(doc(), 500, 500, 510, 510);
    g().styleMode = 0;
    g().styleIndex = 2;
    g().styleFactorMode = 6;
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kStylesTool);
    EXPECT_EQ(far->artStyle, nullptr);
    EXPECT_EQ(far->styleFactor, 1.0f);
    EXPECT_EQ(count("GetNthNamedArtStyle") + count("SetStyleFactor"), 0);
    EXPECT_TRUE(tagged(far));
    EXPECT_EQ(count("DuplicateArt"), 1);
}

TEST_F(StylesTest, ACompoundPathTakesTheStyleItself) {
    Art *compound = addCompound(doc());
    Art *member = addRect(doc(), 0, 0, 10, 10, true, compound);
    g().styleMode = 0;
    g().styleIndex = 1;
    g().styleFactorMode = 1;
    g().styleFactor = 20;
    stroke(kStylesTool);
    EXPECT_EQ(compound->artStyle, styles[1]);
    EXPECT_EQ(compound->styleFactor, 20 * 0.01f);
    EXPECT_EQ(member->artStyle, nullptr);
    EXPECT_TRUE(tagged(compound));
    EXPECT_FALSE(tagged(member));
}

using BlendTest = BrushTest;

TEST_F(BlendTest, TheSixteenModesAreSetAsTheyAre) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->opacity = 0.6f;
    for (ASInt32 m = 0; m <= 15; ++m) {
        a->blendMode = (m + 1) % 16;
        g().blendMode = m;
        stroke(kBlendModeTool);
        EXPECT_EQ(a->blendMode, m);
    }
    EXPECT_EQ(a->opacity, 0.6f);
    EXPECT_EQ(host.random.draws(), 0);
}

TEST_F(BlendTest, RandomGivesNormalForTheFourDrawsPastLuminosity) {
    const std::pair<AIReal, ASInt32> cases[] = {{0.0f, 0},  {0.05f, 1}, {0.5f, 10}, {0.75f, 15},
                                                {0.8f, 0},  {0.85f, 0}, {0.9f, 0},  {0.95f, 0}};
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->opacity = 0.6f;
    g().blendMode = 16;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.first);
        a->blendMode = 7;
        host.random.queue(c.first);
        stroke(kBlendModeTool);
        EXPECT_EQ(a->blendMode, c.second);
    }
    EXPECT_EQ(host.random.draws(), 8);
    EXPECT_EQ(a->opacity, 0.6f);  // never touched
}

TEST_F(BlendTest, NormalWithTransparencyOverwritesTheOpacityFirst) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->opacity = 0.4f;
    a->blendMode = 3;
    g().blendMode = 17;
    host.log.enable(true);
    stroke(kBlendModeTool);
    EXPECT_EQ(a->opacity, 0.5f);
    EXPECT_EQ(a->blendMode, 0);
    EXPECT_EQ(onlyCalls(calls(), {"SetOpacity", "SetBlendingMode"}),
              (std::vector<std::string>{"SetOpacity " + std::to_string(0.5f), "SetBlendingMode 0"}));
    a->blendMode = 3;
    g().blendMode = 18;
    stroke(kBlendModeTool);
    EXPECT_EQ(a->opacity, 0.1f);
    EXPECT_EQ(a->blendMode, 0);
}

TEST_F(BlendTest, ShiftByOneComesRoundFromLuminosityToNormal) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->blendMode = 15;
    g().blendMode = 19;
    stroke(kBlendModeTool);
    EXPECT_EQ(a->blendMode, 0);
    a->blendMode = 3;
    stroke(kBlendModeTool);
    EXPECT_EQ(a->blendMode, 4);
    a->blendMode = 14;
    stroke(kBlendModeTool, {0, 0}, 2);  // once per step
    EXPECT_EQ(a->blendMode, 0);
}

TEST_F(BlendTest, WeightZeroIsLeftAloneAndNothingIsCopied) {
    Art *far = addRect(doc(), 500, 500, 510, 510);
    Art *compound = addCompound(doc());
    Art *member = addRect(doc(), 0, 0, 10, 10, true, compound);
    far->blendMode = 5;
    far->opacity = 0.7f;
    g().blendMode = 17;
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kBlendModeTool);
    EXPECT_EQ(far->blendMode, 5);
    EXPECT_EQ(far->opacity, 0.7f);
    EXPECT_TRUE(tagged(far));
    EXPECT_EQ(count("DuplicateArt"), 0);
    // A compound path is one object to this tool.
    EXPECT_EQ(compound->opacity, 0.5f);
    EXPECT_EQ(member->opacity, 1.0f);
    EXPECT_TRUE(tagged(compound));
    EXPECT_FALSE(tagged(member));
}

}  // namespace
}  // namespace smear
