// Gradient and Pattern on real art: every mode of each field with its own
// maximum and clamp, the order of the draws, and which paint and which
// objects the tools leave alone.
#include "colour_support.h"

namespace smear {
namespace {

class GradientPatternTest : public ColourTest {
protected:
    void SetUp() override {
        ColourTest::SetUp();
        blend = doc().addGradient("Blend");
        dots = doc().addPattern("Dots");
    }
    void gradientOptions(ASInt32 mode, AIReal angle, AIReal length, AIReal hiliteAngle, AIReal hiliteLength) {
        g().gradientAngleMode = g().gradientLengthMode = g().gradientHiliteAngleMode = g().gradientHiliteLengthMode =
            mode;
        g().gradientAngle = angle;
        g().gradientLength = length;
        g().gradientHiliteAngle = hiliteAngle;
        g().gradientHiliteLength = hiliteLength;
    }
    void patternOptions(ASInt32 mode, AIReal angle, AIReal horizontal, AIReal vertical) {
        g().patternAngleMode = g().patternScaleHorizontalMode = g().patternScaleVerticalMode = mode;
        g().patternAngle = angle;
        g().patternScaleHorizontal = horizontal;
        g().patternScaleVertical = vertical;
    }
    static const AIGradientStyle &gradient(const Art *a) { return a->style.fill.color.c.b; }
    static const AIPatternStyle &pattern(const Art *a) { return a->style.fill.color.c.p; }
    Gradient *blend = nullptr;
    Pattern *dots = nullptr;
};

TEST_F(GradientPatternTest, GradientAnglesAreClampedNotWrappedAndLengthsKeepTheirRanges) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), gradientColour(blend, 350, 10, -350, 0.5f));
    gradientOptions(0, 30, -30, -30, 80);
    stroke(kGradientTool);
    EXPECT_TRUE(sameColour(a->style.fill.color, gradientColour(blend, 360, 0, -360, 1)));
    a->style.fill.color.c.b.hiliteLength = 0.5f;
    gradientOptions(0, -30, 1000, 30, -80);
    stroke(kGradientTool);
    EXPECT_TRUE(sameColour(a->style.fill.color, gradientColour(blend, 330, 1000, -330, 0)));
    gradientOptions(2, 500, 0, -500, 0);  // set beyond the range
    stroke(kGradientTool);
    EXPECT_EQ(gradient(a).gradientAngle, 360.0f);
    EXPECT_EQ(gradient(a).hiliteAngle, -360.0f);
}

struct ModeCase {
    ASInt32 mode;
    std::vector<AIReal> draws;
    AIReal out[4];
};

TEST_F(GradientPatternTest, EveryGradientModeWithItsMaximum) {
    const AIReal w = kFifthWeight;
    const AIReal vA = 30 * w * 1.0f, vL = 100 * w * 1.0f, vH = 60 * w * 1.0f, vHL = 50 * w * 1.0f * 0.01f;
    const AIReal e[4] = {10, 200, 20, 0.5f};
    // The fields take their draws in order: angle, length, hilite angle, hilite length.
    const ModeCase cases[] = {
        {1, {0.1f, 0.2f, 0.3f, 0.4f}, {0.1f * vA, 0.2f * vL, 0.3f * vH, 0.4f * vHL}},
        {2, {}, {vA, vL, vH, vHL}},
        {3, {0.5f, 0.25f, 0.75f, 0.5f}, {360 - 0.5f * vA, 600 - 0.25f * vL, 360 - 0.75f * vH, 1 - 0.5f * vHL}},
        {4, {0.5f, 0.25f, 0.75f, 0.1f}, {0.5f * 360, 0.25f * 600, 0.75f * 360, 0.1f * 1}},
        {5,
         {0.9f, 0.5f, 0.1f, 0.5f, 0.9f, 0.25f, 0.1f, 1.0f},
         {e[0] + 0.5f * vA * -1, e[1] + 0.5f * vL * 1, e[2] + 0.25f * vH * -1, e[3] + 1.0f * vHL * 1}},
        {6, {}, {e[0], e[1], e[2], e[3]}},
    };
    Art *a = withFill(addFifthWeightRect(doc()), gradientColour(blend, e[0], e[1], e[2], e[3]));
    g().brushShape = 5;
    gradientOptions(0, 30, 100, 60, 50);
    for (const ModeCase &c : cases) {
        SCOPED_TRACE(c.mode);
        withFill(a, gradientColour(blend, e[0], e[1], e[2], e[3]));
        g().gradientAngleMode = g().gradientLengthMode = g().gradientHiliteAngleMode = g().gradientHiliteLengthMode =
            c.mode;
        for (AIReal r : c.draws) host.random.queue(r);
        const long before = host.random.draws();
        stroke(kGradientTool);
        EXPECT_EQ(host.random.draws() - before, long(c.draws.size()));
        EXPECT_EQ(gradient(a).gradientAngle, c.out[0]);
        EXPECT_EQ(gradient(a).gradientLength, c.out[1]);
        EXPECT_EQ(gradient(a).hiliteAngle, c.out[2]);
        EXPECT_EQ(gradient(a).hiliteLength, c.out[3]);
        // Handle, origin and matrix are not the tool's to change.
        EXPECT_TRUE(sameColour(a->style.fill.color, gradientColour(blend, c.out[0], c.out[1], c.out[2], c.out[3])));
    }
}

TEST_F(GradientPatternTest, EachGradientFieldFollowsItsOwnMode) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), gradientColour(blend, 10, 200, 20, 0.5f));
    g().gradientAngleMode = 6;
    g().gradientLengthMode = 2;
    g().gradientHiliteAngleMode = 0;
    g().gradientHiliteLengthMode = 1;
    g().gradientAngle = 45;
    g().gradientLength = 50;
    g().gradientHiliteAngle = 5;
    g().gradientHiliteLength = 40;
    host.random.queue(0.5f);
    stroke(kGradientTool);
    EXPECT_EQ(host.random.draws(), 1);
    EXPECT_TRUE(sameColour(a->style.fill.color, gradientColour(blend, 10, 50, 25, 0.5f * (40 * 0.01f))));
}

TEST_F(GradientPatternTest, PressureScalesEveryAmount) {
    Art *shaded = withFill(addRect(doc(), 0, 0, 10, 10), gradientColour(blend, 10, 200, 20, 0.5f));
    Art *patterned = withFill(addRect(doc(), 10, 0, 20, 10), patternColour(dots, 10, 100, 50));
    gradientOptions(2, 30, 100, 60, 50);
    patternOptions(2, 30, 200, 400);
    pressedStroke(kGradientTool);
    pressedStroke(kPatternTool);
    const AIReal p = kPressure51;
    EXPECT_TRUE(sameColour(shaded->style.fill.color,
                           gradientColour(blend, 30 * 1.0f * p, 100 * 1.0f * p, 60 * 1.0f * p, 50 * 1.0f * p * 0.01f)));
    EXPECT_TRUE(sameColour(patterned->style.fill.color, patternColour(dots, 30 * 1.0f * p, 200 * 1.0f * p, 400 * 1.0f * p)));
}

TEST_F(GradientPatternTest, GradientLeavesStrokesOtherFillsAndWeightZeroAlone) {
    const AIColor kept = gradientColour(blend, 10, 200, 20, 0.5f);
    Art *stroked = withStroke(withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0, 0, 0)), kept);
    Art *patterned = withFill(addRect(doc(), 10, 0, 20, 10), patternColour(dots, 10, 1, 1));
    Art *farCompound = addCompound(doc());
    Art *farMember = withFill(addRect(doc(), 500, 500, 510, 510, true, farCompound), kept);
    Art *compound = addCompound(doc());
    Art *m1 = withFill(addRect(doc(), 0, 0, 10, 10, true, compound), kept);
    Art *m2 = withFill(addRect(doc(), 10, 0, 20, 10, true, compound), gradientColour(blend, 0, 0, 0, 0));
    gradientOptions(0, 5, 5, 5, 5);
    g().gradientAngleMode = 2;  // a weight of 0 would set 0
    stroke(kGradientTool);
    EXPECT_TRUE(sameColour(stroked->style.stroke.color, kept));
    EXPECT_TRUE(sameColour(patterned->style.fill.color, patternColour(dots, 10, 1, 1)));
    EXPECT_TRUE(sameColour(farMember->style.fill.color, kept));
    EXPECT_TRUE(tagged(farMember));
    EXPECT_FALSE(tagged(farCompound));
    EXPECT_TRUE(sameColour(m1->style.fill.color, gradientColour(blend, 5, 205, 25, 0.5f + 5 * 0.01f)));
    EXPECT_TRUE(sameColour(m2->style.fill.color, gradientColour(blend, 5, 5, 5, 5 * 0.01f)));
    EXPECT_TRUE(tagged(m1));
    EXPECT_TRUE(tagged(m2));
}

TEST_F(GradientPatternTest, PatternRotationIsClampedAndTheScalesAreNot) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), patternColour(dots, 350, 900, 5));
    patternOptions(0, 30, 500, 0);
    g().patternScaleVerticalMode = 2;
    g().patternScaleVertical = -50;
    stroke(kPatternTool);
    EXPECT_TRUE(sameColour(a->style.fill.color, patternColour(dots, 360, 1400, -50)));
    patternOptions(2, -400, 5000, 0);
    stroke(kPatternTool);
    EXPECT_TRUE(sameColour(a->style.fill.color, patternColour(dots, -360, 5000, 0)));
}

TEST_F(GradientPatternTest, MultiplyScalesEachScaleByItsOwnAmount) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), patternColour(dots, 0, 3, 5));
    patternOptions(6, 45, 2, 1);
    g().patternScaleHorizontalMode = 7;
    g().patternScaleVerticalMode = 0;
    stroke(kPatternTool);
    EXPECT_TRUE(sameColour(a->style.fill.color, patternColour(dots, 0, 6, 6)));
    g().patternScaleVerticalMode = 7;
    g().patternScaleVertical = 0.5f;
    stroke(kPatternTool);
    EXPECT_TRUE(sameColour(a->style.fill.color, patternColour(dots, 0, 12, 3)));
    // At a fifth of the strength the factor is a fifth too.
    a->userAttr = 0;
    Art *b = withFill(addFifthWeightRect(doc()), patternColour(dots, 0, 3, 5));
    g().brushShape = 5;
    stroke(kPatternTool);
    EXPECT_EQ(pattern(b).scale.h, 3 * (2 * kFifthWeight * 1.0f));
    EXPECT_EQ(pattern(b).scale.v, 5 * (0.5f * kFifthWeight * 1.0f));
}

TEST_F(GradientPatternTest, EveryPatternModeWithItsMaximum) {
    const AIReal w = kFifthWeight;
    const AIReal vA = 30 * w * 1.0f, vH = 200 * w * 1.0f, vV = 400 * w * 1.0f;
    const AIReal e[3] = {10, 100, 50};
    const ModeCase cases[] = {
        {1, {0.1f, 0.2f, 0.3f}, {0.1f * vA, 0.2f * vH, 0.3f * vV}},
        {2, {}, {vA, vH, vV}},
        {3, {0.5f, 0.25f, 0.75f}, {360 - 0.5f * vA, 1000 - 0.25f * vH, 1000 - 0.75f * vV}},
        {4, {0.5f, 0.25f, 0.75f}, {0.5f * 360, 0.25f * 1000, 0.75f * 1000}},
        {5, {0.9f, 0.5f, 0.1f, 0.5f, 0.9f, 0.25f}, {e[0] + 0.5f * vA * -1, e[1] + 0.5f * vH * 1, e[2] + 0.25f * vV * -1}},
        {6, {}, {e[0], e[1], e[2]}},
    };
    Art *a = withFill(addFifthWeightRect(doc()), patternColour(dots, e[0], e[1], e[2]));
    g().brushShape = 5;
    patternOptions(0, 30, 200, 400);
    for (const ModeCase &c : cases) {
        SCOPED_TRACE(c.mode);
        withFill(a, patternColour(dots, e[0], e[1], e[2]));
        g().patternAngleMode = g().patternScaleHorizontalMode = g().patternScaleVerticalMode = c.mode;
        for (AIReal r : c.draws) host.random.queue(r);
        const long before = host.random.draws();
        stroke(kPatternTool);
        EXPECT_EQ(host.random.draws() - before, long(c.draws.size()));
        EXPECT_EQ(pattern(a).rotate, c.out[0]);
        EXPECT_EQ(pattern(a).scale.h, c.out[1]);
        EXPECT_EQ(pattern(a).scale.v, c.out[2]);
        EXPECT_TRUE(sameColour(a->style.fill.color, patternColour(dots, c.out[0], c.out[1], c.out[2])));
    }
}

TEST_F(GradientPatternTest, PatternLeavesStrokesOtherFillsAndWeightZeroAlone) {
    const AIColor kept = patternColour(dots, 10, 1, 1);
    Art *stroked = withStroke(withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0, 0, 0)), kept);
    Art *shaded = withFill(addRect(doc(), 10, 0, 20, 10), gradientColour(blend, 10, 200, 20, 0.5f));
    Art *far = withFill(addRect(doc(), 500, 500, 510, 510), kept);
    Art *compound = addCompound(doc());
    Art *m1 = withFill(addRect(doc(), 0, 0, 10, 10, true, compound), kept);
    Art *m2 = withFill(addRect(doc(), 10, 0, 20, 10, true, compound), patternColour(dots, 0, 2, 2));
    patternOptions(0, 5, 5, 5);
    g().patternAngleMode = 2;  // a weight of 0 would set 0
    g().trailCursor = 1;
    host.log.enable(true);
    stroke(kPatternTool);
    EXPECT_TRUE(sameColour(stroked->style.stroke.color, kept));
    EXPECT_TRUE(sameColour(shaded->style.fill.color, gradientColour(blend, 10, 200, 20, 0.5f)));
    EXPECT_TRUE(sameColour(far->style.fill.color, kept));
    EXPECT_TRUE(tagged(far));
    EXPECT_TRUE(sameColour(m1->style.fill.color, patternColour(dots, 5, 6, 6)));
    EXPECT_TRUE(sameColour(m2->style.fill.color, patternColour(dots, 5, 7, 7)));
    EXPECT_TRUE(tagged(m1));
    EXPECT_TRUE(tagged(m2));
    EXPECT_FALSE(tagged(compound));
    EXPECT_EQ(count("DuplicateArt"), 4);  // one per object of the list
}

TEST_F(GradientPatternTest, AStyleThatCannotBeReadIsNeverWritten) {
    Art *g1 = withFill(addRect(doc(), 0, 0, 10, 10), gradientColour(blend, 10, 200, 20, 0.5f));
    Art *p1 = withFill(addRect(doc(), 10, 0, 20, 10), patternColour(dots, 10, 1, 1));
    gradientOptions(2, 45, 45, 45, 45);
    patternOptions(2, 45, 45, 45);
    host.faults.failEveryCall(kAIPathStyleSuite, "GetPathStyle", kParamErr);
    host.log.enable(true);
    stroke(kGradientTool);
    stroke(kPatternTool);
    EXPECT_TRUE(sameColour(g1->style.fill.color, gradientColour(blend, 10, 200, 20, 0.5f)));
    EXPECT_TRUE(sameColour(p1->style.fill.color, patternColour(dots, 10, 1, 1)));
    EXPECT_EQ(count("SetPathStyle"), 0);
    EXPECT_TRUE(tagged(g1));
}

}  // namespace
}  // namespace smear
