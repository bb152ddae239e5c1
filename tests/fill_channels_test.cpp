// Fill channels on real art: the channels of each colour kind and the amount
// each takes, every link formula, the swatch step, the random skip, compound
// paths and a step that a host error ends half way.
#include "colour_support.h"
#include "fill_channels.h"

namespace smear {
namespace {

const AIReal kRgbStep = 0.39215687f;  // 100/255: an RGB channel counts in steps of 255

class FillChannelsTest : public ColourTest {
protected:
    void amounts(AIReal a, AIReal b, AIReal c, AIReal d) {
        g().fillChannel1 = a;
        g().fillChannel2 = b;
        g().fillChannel3 = c;
        g().fillChannel4 = d;
    }
};

TEST_F(FillChannelsTest, SetGivesEachKindItsOwnChannelsAndAmounts) {
    Art *cmyk = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    Art *three = withFill(addRect(doc(), 10, 0, 20, 10), rgbColour(0.5f, 0.5f, 0.5f));
    Art *gray = withFill(addRect(doc(), 20, 0, 30, 10), grayColour(0.5f));
    g().fillChannelsMode = 2;
    amounts(10, 20, 30, 40);
    stroke(kFillChannelsTool);
    EXPECT_EQ(process(cmyk).cyan, 10 * 0.01f);
    EXPECT_EQ(process(cmyk).magenta, 20 * 0.01f);
    EXPECT_EQ(process(cmyk).yellow, 30 * 0.01f);
    EXPECT_EQ(process(cmyk).black, 40 * 0.01f);
    EXPECT_EQ(rgb(three).red, 10 * 0.01f * kRgbStep);
    EXPECT_EQ(rgb(three).green, 20 * 0.01f * kRgbStep);
    EXPECT_EQ(rgb(three).blue, 30 * 0.01f * kRgbStep);
    EXPECT_EQ(gray->style.fill.color.c.g.gray, 10 * 0.01f);  // the first amount only
    // Full amounts: full ink on a process channel, 100 of 255 on an RGB one.
    amounts(100, 100, 100, 100);
    stroke(kFillChannelsTool);
    EXPECT_EQ(process(cmyk).cyan, 1.0f);
    EXPECT_EQ(process(cmyk).black, 1.0f);
    EXPECT_EQ(rgb(three).red, 100.0f / 255.0f);
    EXPECT_EQ(rgb(three).blue, 0.39215687f);
    EXPECT_EQ(gray->style.fill.color.c.g.gray, 1.0f);
}

TEST_F(FillChannelsTest, PressureScalesEveryAmount) {
    Art *cmyk = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    Art *three = withFill(addRect(doc(), 10, 0, 20, 10), rgbColour(0.5f, 0.5f, 0.5f));
    g().fillChannelsMode = 2;
    amounts(50, 60, 70, 80);
    pressedStroke(kFillChannelsTool);
    EXPECT_EQ(process(cmyk).cyan, 50 * 0.01f * 1.0f * kPressure51);
    EXPECT_EQ(process(cmyk).black, 80 * 0.01f * 1.0f * kPressure51);
    EXPECT_EQ(rgb(three).green, 60 * 0.01f * kRgbStep * 1.0f * kPressure51);
}

TEST_F(FillChannelsTest, PatternCustomGradientAndNoneGoBackAsTheyCame) {
    CustomColor *spot = doc().addCustomColor("Spot", processColour(0, 1, 0, 0));
    const AIColor kinds[] = {customColour(spot, 0.25f), gradientColour(doc().addGradient("Blend"), 30, 100, 10, 0.5f),
                             patternColour(doc().addPattern("Dots"), 15, 2, 3), noneColour()};
    std::vector<Art *> arts;
    for (const AIColor &c : kinds) arts.push_back(withStroke(withFill(addRect(doc(), 0, 0, 10, 10), c), c));
    g().fillChannelsMode = 2;
    g().fillChannelsLink = 1;
    g().fillChannelsApplyToStroke = 1;
    amounts(50, 60, 70, 80);
    stroke(kFillChannelsTool);
    for (size_t i = 0; i < arts.size(); ++i) {
        EXPECT_TRUE(sameColour(arts[i]->style.fill.color, kinds[i])) << i;
        EXPECT_TRUE(sameColour(arts[i]->style.stroke.color, kinds[i])) << i;
        EXPECT_TRUE(tagged(arts[i]));
    }
    EXPECT_EQ(host.random.draws(), 0);
}

TEST_F(FillChannelsTest, RandomModesDrawForEachChannelInItsOrder) {
    // The loop takes the last object first: process, then RGB, then gray.
    Art *gray = withFill(addRect(doc(), 20, 0, 30, 10), grayColour(0.5f));
    Art *three = withFill(addRect(doc(), 10, 0, 20, 10), rgbColour(0.5f, 0.5f, 0.5f));
    Art *cmyk = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    g().fillChannelsMode = 4;  // total random: the amounts play no part
    amounts(0, 0, 0, 0);
    for (AIReal r : {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f}) host.random.queue(r);
    stroke(kFillChannelsTool);
    EXPECT_EQ(host.random.draws(), 4 + 3 + 1);
    EXPECT_EQ(process(cmyk).cyan, 0.1f);
    EXPECT_EQ(process(cmyk).magenta, 0.2f);
    EXPECT_EQ(process(cmyk).yellow, 0.3f);
    EXPECT_EQ(process(cmyk).black, 0.4f);
    EXPECT_EQ(rgb(three).red, 0.5f);  // not scaled to steps of 255
    EXPECT_EQ(rgb(three).green, 0.6f);
    EXPECT_EQ(rgb(three).blue, 0.7f);
    EXPECT_EQ(gray->style.fill.color.c.g.gray, 0.8f);

    // Jitter: a sign, then a size, channel after channel.
    withFill(cmyk, processColour(0.5f, 0.5f, 0.5f, 0.5f));
    gray->userAttr = three->userAttr = 0;
    g().fillChannelsMode = 5;
    amounts(10, 20, 30, 40);
    for (AIReal r : {0.9f, 0.5f, 0.1f, 0.5f, 0.9f, 0.25f, 0.1f, 1.0f}) host.random.queue(r);
    stroke(kFillChannelsTool);
    EXPECT_EQ(host.random.draws(), 8 + 8);
    EXPECT_EQ(process(cmyk).cyan, 0.5f + -1.0f * 0.5f * (10 * 0.01f));
    EXPECT_EQ(process(cmyk).magenta, 0.5f + 1.0f * 0.5f * (20 * 0.01f));
    EXPECT_EQ(process(cmyk).yellow, 0.5f + -1.0f * 0.25f * (30 * 0.01f));
    EXPECT_EQ(process(cmyk).black, 0.5f + 1.0f * 1.0f * (40 * 0.01f));
}

TEST_F(FillChannelsTest, ModesCombineWithEachChannelsCurrentValueAndClamp) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    amounts(10, -60, 60, 0);  // add
    stroke(kFillChannelsTool);
    EXPECT_EQ(process(a).cyan, 0.5f + 10 * 0.01f);
    EXPECT_EQ(process(a).magenta, 0.0f);
    EXPECT_EQ(process(a).yellow, 1.0f);
    EXPECT_EQ(process(a).black, 0.5f);
    EXPECT_EQ(host.random.draws(), 0);

    g().fillChannelsMode = 1;  // from zero to the amount
    amounts(50, 50, 50, 50);
    for (AIReal r : {0.5f, 0.25f, 1.0f, 0.0f}) host.random.queue(r);
    stroke(kFillChannelsTool);
    EXPECT_EQ(process(a).cyan, 0.5f * (50 * 0.01f));
    EXPECT_EQ(process(a).magenta, 0.25f * (50 * 0.01f));
    EXPECT_EQ(process(a).yellow, 1.0f * (50 * 0.01f));
    EXPECT_EQ(process(a).black, 0.0f);

    g().fillChannelsMode = 3;  // from the amount to the maximum 1
    amounts(20, 20, -20, 20);
    for (AIReal r : {0.5f, 0.0f, 0.5f, 1.0f}) host.random.queue(r);
    stroke(kFillChannelsTool);
    EXPECT_EQ(process(a).cyan, 1.0f - 0.5f * (20 * 0.01f));
    EXPECT_EQ(process(a).magenta, 1.0f);
    EXPECT_EQ(process(a).yellow, 1.0f);  // above the maximum, clamped
    EXPECT_EQ(process(a).black, 1.0f - 1.0f * (20 * 0.01f));
    EXPECT_EQ(host.random.draws(), 8);
}

// One link formula on channels that come out of the mode step as `in`.
struct LinkCase {
    ASInt32 link;
    AIReal in[3];
    AIReal out[3];  // after the clamp to 0 .. 1
};

AIReal unit(AIReal x) { return x < 0 ? 0.0f : x > 1 ? 1.0f : x; }

constexpr AIReal A = 0.4f, B = 0.2f, C = 0.7f;
// Formulas 23 and 24 draw a sign and a size twice: 0.9 (sign -1), 0.5,
// 0.2 (sign +1), 0.25.
const LinkCase kLinkCases[] = {
    {0, {A, B, C}, {A, B, C}},
    {1, {A, B, C}, {A, A, A}},
    {2, {A, B, C}, {A, A + 0.1f, A + 0.1f}},
    {3, {A, B, C}, {A, A + 0.3f, A + 0.3f}},
    {4, {A, B, C}, {A, A + 0.1f, A + 0.2f}},
    {5, {A, B, C}, {A, A - 0.1f, A - 0.2f}},
    {6, {A, B, C}, {A, A - 0.1f, A - 0.2f}},
    {7, {A, B, C}, {A, 1 - A, 1 - A}},
    {8, {A, B, C}, {1 - C, 1 - C, C}},
    {9, {A, B, C}, {A, 0, A + 0.5f}},
    {10, {A, B, C}, {A, 1, 0}},
    {10, {A, A, A}, {A, 0, 0}},  // "greater than" is strict
    {11, {A, B, C}, {A, A * 0.33333334f, A * 0.5f}},
    {12, {A, B, C}, {A, A * 2, A * 0.25f}},
    {13, {A, B, C}, {A, A - 0.1f, A - 0.1f}},
    {14, {A, B, C}, {A, 0, A - 0.3f}},
    {15, {A, B, C}, {A, unit(A + 0.6f), A + 0.3f}},
    {16, {A, B, C}, {unit(C + 0.3f), 1, C}},
    {17, {A, B, C}, {B + 0.6f, B, B + 0.3f}},
    {18, {A, B, C}, {A, 0, A + B}},
    {19, {A, B, C}, {A, A * 0.5f + 2 * (A - B), A - B}},
    {20, {A, B, C}, {B + C, (B + C) * 0.5f, C}},
    {21, {A, B, C}, {B + C * 0.5f, B, C}},
    {22, {A, B, C}, {B + 0.4f, B, B + C * 0.5f + 0.1f}},
    {23, {A, B, C}, {B + 0.1f * 0.5f * -1, B, B + 0.2f * 0.25f * 1}},
    {24, {A, B, C}, {B - 0.3f * 0.5f * -1, B, B + 0.1f * 0.25f * 1}},
    {25, {A, B, C}, {B + 0.4f, B, B + 0.5f}},
    {25, {A, 0.7f, C}, {(0.7f + 0.4f) - 1, 0.7f, (0.7f + 0.5f) - 1}},  // both wrap
    {25, {A, 0.6f, C}, {1, 0.6f, (0.6f + 0.5f) - 1}},                // exactly 1 does not wrap
    {26, {A, B, C}, {A, A + 0.3f, (A + 0.3f + 0.5f) - 1}},            // C from the new B, wrapped
    {27, {A, B, C}, {A * 1.1f + B * 0.5f, B, C * 0.5f + (A * 1.1f + B * 0.5f) * 1.1f}},
    {28, {A, B, C}, {A, B, C}},
};

TEST_F(FillChannelsTest, EveryLinkFormulaOnAProcessColourThroughAStroke) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    amounts(0, 0, 0, 0);  // add nothing: the link step alone moves the channels
    for (const LinkCase &c : kLinkCases) {
        SCOPED_TRACE(c.link);
        withFill(a, processColour(c.in[0], c.in[1], c.in[2], 0.5f));
        g().fillChannelsLink = c.link;
        const bool draws = c.link == 23 || c.link == 24;
        if (draws)
            for (AIReal r : {0.9f, 0.5f, 0.2f, 0.25f}) host.random.queue(r);
        const long before = host.random.draws();
        stroke(kFillChannelsTool);
        EXPECT_EQ(host.random.draws() - before, draws ? 4 : 0);
        EXPECT_EQ(process(a).cyan, c.out[0]);
        EXPECT_EQ(process(a).magenta, c.out[1]);
        EXPECT_EQ(process(a).yellow, c.out[2]);
        EXPECT_EQ(process(a).black, 0.5f);  // black never takes part
    }
}

TEST_F(FillChannelsTest, LinkFormulasGiveTheirValuesBeforeTheClamp) {
    struct Raw {
        ASInt32 link;
        AIReal in[3];
        AIReal out[3];
    };
    const Raw cases[] = {
        {9, {A, B, C}, {A, A - 0.5f, A + 0.5f}},
        {14, {A, B, C}, {A, A - 0.6f, A - 0.3f}},
        {16, {A, B, C}, {C + 0.3f, C + 0.6f, C}},
        {18, {A, B, C}, {A, A - (A + B), A + B}},
        {19, {A, 0.9f, C}, {A, A * 0.5f + 2 * (A - 0.9f), A - 0.9f}},
        {26, {0.8f, B, C}, {0.8f, (0.8f + 0.3f) - 1, (0.8f + 0.3f) - 1 + 0.5f}},
    };
    for (const Raw &c : cases) {
        SCOPED_TRACE(c.link);
        AIReal a = c.in[0], b = c.in[1], cc = c.in[2];
        LinkChannels(c.link, &a, &b, &cc);
        EXPECT_EQ(a, c.out[0]);
        EXPECT_EQ(b, c.out[1]);
        EXPECT_EQ(cc, c.out[2]);
    }
}

TEST_F(FillChannelsTest, LinksTieTheRgbChannelsAndLeaveGrayAlone) {
    Art *three = withFill(addRect(doc(), 0, 0, 10, 10), rgbColour(A, B, C));
    Art *gray = withFill(addRect(doc(), 10, 0, 20, 10), grayColour(0.25f));
    withStroke(three, rgbColour(0.1f, 0.2f, 0.3f));
    g().fillChannelsApplyToStroke = 1;
    g().fillChannelsLink = 17;
    amounts(0, 50, 50, 50);  // gray takes only the first amount
    stroke(kFillChannelsTool);
    const AIReal step = 50 * 0.01f * kRgbStep;
    EXPECT_EQ(rgb(three).red, (B + step) + 0.6f);
    EXPECT_EQ(rgb(three).green, B + step);
    EXPECT_EQ(rgb(three).blue, (B + step) + 0.3f);
    EXPECT_EQ(three->style.stroke.color.c.rgb.red, (0.2f + step) + 0.6f);
    EXPECT_EQ(three->style.stroke.color.c.rgb.blue, (0.2f + step) + 0.3f);
    EXPECT_EQ(gray->style.fill.color.c.g.gray, 0.25f);
}

TEST_F(FillChannelsTest, CreateSwatchAddsEachNewColourOnceAtTheEnd) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    const AIColor made = processColour(10 * 0.01f, 20 * 0.01f, 30 * 0.01f, 40 * 0.01f);
    doc().addSwatch("Gray", grayColour(10 * 0.01f));  // the same number, another kind
    doc().addSwatch("Made", made);
    doc().addSwatch("Made again", made);
    g().fillChannelsMode = 2;
    g().fillChannelsCreateSwatch = 1;
    amounts(10, 20, 30, 40);
    host.log.enable(true);
    stroke(kFillChannelsTool);
    EXPECT_EQ(doc().swatches.size(), 3u);
    EXPECT_EQ(count("GetAIColor"), 3);  // the search goes on past a match

    amounts(10, 20, 30, 50);
    host.log.clear();
    stroke(kFillChannelsTool, {0, 0}, 3);
    ASSERT_EQ(doc().swatches.size(), 4u);
    EXPECT_TRUE(sameColour(doc().swatches[3]->color, a->style.fill.color));
    EXPECT_EQ(doc().swatches[3]->color.c.f.black, 50 * 0.01f);
    // The swatch step follows the style change; the new swatch goes after the last.
    EXPECT_EQ(onlyCalls(calls(), {"SetPathStyle", "CountSwatches", "InsertNthSwatch", "SetAIColor"}),
              (std::vector<std::string>{"SetPathStyle", "CountSwatches", "InsertNthSwatch 3", "SetAIColor",
                                        "SetPathStyle", "CountSwatches", "SetPathStyle", "CountSwatches"}));

    // Gray and RGB match on their own components.
    Art *gray = withFill(addRect(doc(), 10, 0, 20, 10), grayColour(0.5f));
    Art *three = withFill(addRect(doc(), 20, 0, 30, 10), rgbColour(0.5f, 0.5f, 0.5f));
    a->userAttr = 0;
    doc().addSwatch("Gray made", grayColour(10 * 0.01f));  // a duplicate of swatch 0
    stroke(kFillChannelsTool);
    ASSERT_EQ(doc().swatches.size(), 6u);
    EXPECT_TRUE(sameColour(doc().swatches[5]->color, rgbColour(10 * 0.01f * kRgbStep, 20 * 0.01f * kRgbStep,
                                                             30 * 0.01f * kRgbStep)));
    EXPECT_EQ(gray->style.fill.color.c.g.gray, 10 * 0.01f);
    EXPECT_TRUE(sameColour(three->style.fill.color, doc().swatches[5]->color));
}

TEST_F(FillChannelsTest, CreateSwatchMatchesOtherKindsByWhatTheyAre) {
    CustomColor *spot = doc().addCustomColor("Spot", processColour(0, 1, 0, 0));
    Pattern *dots = doc().addPattern("Dots");
    Pattern *lines = doc().addPattern("Lines");
    Gradient *blend = doc().addGradient("Blend");
    doc().addSwatch("Spot half", customColour(spot, 0.5f));
    doc().addSwatch("Dots", patternColour(dots, 0, 1, 1));
    // The loop takes them last first: none, gradient, spot at a quarter, lines, dots.
    withFill(addRect(doc(), 0, 0, 10, 10), patternColour(dots, 30, 2, 2));  // same pattern, other placement
    withFill(addRect(doc(), 0, 0, 10, 10), patternColour(lines, 0, 1, 1));
    withFill(addRect(doc(), 0, 0, 10, 10), customColour(spot, 0.25f));
    withFill(addRect(doc(), 0, 0, 10, 10), gradientColour(blend, 0, 100, 0, 0));
    withFill(addRect(doc(), 0, 0, 10, 10), noneColour());
    g().fillChannelsCreateSwatch = 1;
    stroke(kFillChannelsTool, {0, 0}, 3);  // repeated steps add nothing more
    ASSERT_EQ(doc().swatches.size(), 6u);
    EXPECT_EQ(doc().swatches[2]->color.kind, kNoneColor);
    EXPECT_TRUE(sameColour(doc().swatches[3]->color, gradientColour(blend, 0, 100, 0, 0)));
    EXPECT_TRUE(sameColour(doc().swatches[4]->color, customColour(spot, 0.25f)));
    EXPECT_TRUE(sameColour(doc().swatches[5]->color, patternColour(lines, 0, 1, 1)));
    stroke(kFillChannelsTool);
    EXPECT_EQ(doc().swatches.size(), 6u);
}

TEST_F(FillChannelsTest, WeightZeroIsTaggedAndCopiedButNeitherRecolouredNorSwatched) {
    Art *far = withStroke(withFill(addRect(doc(), 500, 500, 510, 510), processColour(0.5f, 0.5f, 0.5f, 0.5f)),
                          rgbColour(0.5f, 0.5f, 0.5f));
    g().fillChannelsMode = 2;
    g().fillChannelsApplyToStroke = 1;
    g().fillChannelsCreateSwatch = 1;
    g().fillChannelsApplyRandom = 1;
    g().trailCursor = 1;
    amounts(10, 20, 30, 40);
    host.log.enable(true);
    host.random.queue(0.1f);
    stroke(kFillChannelsTool);
    EXPECT_EQ(host.random.draws(), 1);  // the skip draw is made at weight 0 too
    EXPECT_TRUE(sameColour(far->style.fill.color, processColour(0.5f, 0.5f, 0.5f, 0.5f)));
    EXPECT_TRUE(sameColour(far->style.stroke.color, rgbColour(0.5f, 0.5f, 0.5f)));
    EXPECT_TRUE(doc().swatches.empty());
    EXPECT_TRUE(tagged(far));
    EXPECT_EQ(count("SetTag"), 2);  // once by the fill walk, once by the stroke walk
    EXPECT_EQ(count("DuplicateArt"), 1);
    EXPECT_EQ(count("SetPathStyle"), 0);
}

TEST_F(FillChannelsTest, RandomSkipDrawsBeforeTheChannels) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    g().fillChannelsApplyRandom = 1;
    g().fillChannelsMode = 4;
    host.random.queue(0.6f);  // above 0.5: left alone
    stroke(kFillChannelsTool);
    EXPECT_EQ(host.random.draws(), 1);
    EXPECT_EQ(process(a).cyan, 0.5f);
    EXPECT_TRUE(tagged(a));
    for (AIReal r : {0.5f, 0.1f, 0.2f, 0.3f, 0.4f}) host.random.queue(r);  // 0.5 is not above 0.5
    stroke(kFillChannelsTool);
    EXPECT_EQ(host.random.draws(), 6);
    EXPECT_EQ(process(a).cyan, 0.1f);
    EXPECT_EQ(process(a).black, 0.4f);
}

TEST_F(FillChannelsTest, CompoundMembersAreTaggedAndRecolouredByEachWalk) {
    Art *compound = addCompound(doc());
    Art *m1 = withStroke(withFill(addRect(doc(), 0, 0, 10, 10, true, compound), grayColour(0.5f)), grayColour(0.25f));
    Art *m2 = withStroke(withFill(addRect(doc(), 10, 0, 20, 10, true, compound), grayColour(0.75f)),
                         processColour(0.5f, 0.5f, 0.5f, 0.5f));
    g().fillChannelsApplyToStroke = 1;
    amounts(10, 20, 30, 40);
    host.log.enable(true);
    stroke(kFillChannelsTool);
    EXPECT_EQ(m1->style.fill.color.c.g.gray, 0.5f + 10 * 0.01f);
    EXPECT_EQ(m1->style.stroke.color.c.g.gray, 0.25f + 10 * 0.01f);
    EXPECT_EQ(m2->style.fill.color.c.g.gray, 0.75f + 10 * 0.01f);
    EXPECT_EQ(m2->style.stroke.color.c.f.black, 0.5f + 40 * 0.01f);
    EXPECT_TRUE(tagged(m1));
    EXPECT_TRUE(tagged(m2));
    EXPECT_FALSE(tagged(compound));
    EXPECT_EQ(count("SetTag"), 4);
    // With neither paint chosen nothing is tagged or changed.
    g().fillChannelsApplyToFill = 0;
    g().fillChannelsApplyToStroke = 0;
    host.log.clear();
    stroke(kFillChannelsTool);
    EXPECT_EQ(count("SetTag"), 0);
    EXPECT_EQ(count("SetPathStyle"), 0);
    EXPECT_EQ(m1->style.fill.color.c.g.gray, 0.5f + 10 * 0.01f);
}

TEST_F(FillChannelsTest, AStyleThatCannotBeReadIsNeverWritten) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    Art *b = withFill(addRect(doc(), 10, 0, 20, 10), processColour(0.5f, 0.5f, 0.5f, 0.5f));
    g().fillChannelsMode = 2;
    g().fillChannelsCreateSwatch = 1;
    amounts(10, 20, 30, 40);
    host.log.enable(true);
    ASSERT_EQ(mouseDown(kFillChannelsTool, {0, 0}), 0);
    host.faults.failNthCallOf(kAIPathStyleSuite, "GetPathStyle", 1, kParamErr);  // b's, the first visited
    ASSERT_EQ(drag(kFillChannelsTool, {0, 0}), 0);
    ASSERT_EQ(mouseUp(kFillChannelsTool, {0, 0}), 0);
    EXPECT_EQ(process(b).cyan, 0.5f);
    EXPECT_TRUE(tagged(b));
    EXPECT_EQ(process(a).cyan, 10 * 0.01f);  // the step goes on
    EXPECT_EQ(count("SetPathStyle"), 1);
    EXPECT_EQ(doc().swatches.size(), 1u);  // a's colour only
}

TEST_F(FillChannelsTest, ABoundsErrorEndsTheStepWhereItHappens) {
    Art *a = withFill(addRect(doc(), 0, 0, 10, 10), grayColour(0.5f));
    Art *b = withFill(addRect(doc(), 10, 0, 20, 10), grayColour(0.5f));
    Art *c = withFill(addRect(doc(), 20, 0, 30, 10), grayColour(0.5f));
    amounts(10, 0, 0, 0);
    ASSERT_EQ(mouseDown(kFillChannelsTool, {0, 0}), 0);
    // c's weight and bounds are the first two queries, b's weight the third.
    host.faults.failNthCallOf(kAIArtSuite, "GetArtBounds", 4, kParamErr);
    ASSERT_EQ(drag(kFillChannelsTool, {0, 0}), 0);
    EXPECT_EQ(c->style.fill.color.c.g.gray, 0.5f + 10 * 0.01f);
    EXPECT_EQ(b->style.fill.color.c.g.gray, 0.5f);
    EXPECT_EQ(a->style.fill.color.c.g.gray, 0.5f);
    EXPECT_FALSE(tagged(b));
    // The next step starts again from the last object.
    ASSERT_EQ(drag(kFillChannelsTool, {0, 0}), 0);
    ASSERT_EQ(mouseUp(kFillChannelsTool, {0, 0}), 0);
    EXPECT_EQ(c->style.fill.color.c.g.gray, (0.5f + 10 * 0.01f) + 10 * 0.01f);
    EXPECT_EQ(b->style.fill.color.c.g.gray, 0.5f + 10 * 0.01f);
    EXPECT_EQ(a->style.fill.color.c.g.gray, 0.5f + 10 * 0.01f);
}

}  // namespace
}  // namespace smear
