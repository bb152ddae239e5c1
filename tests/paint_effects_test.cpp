// Transparency, Stroke weight and Fill intensity on real art: units, clamps,
// compound paths, colour kinds and the draws of each mode.
#include "brush_support.h"

namespace smear {
namespace {

using PaintTest = BrushTest;

AIColor colour(ASInt32 kind, AIReal c0, AIReal c1 = 0, AIReal c2 = 0, AIReal c3 = 0) {
    AIColor c{};
    c.kind = kind;
    c.c.f = AIFourColorStyle{c0, c1, c2, c3};
    return c;
}

TEST_F(PaintTest, TransparencyByModeWeightAndClamp) {
    Art *a = addRect(doc(), -5, -5, 5, 5);
    Art *low = addRect(doc(), 100, -45, 110, -35);  // centre 10 above the bottom of a brush at (105, 0)
    g().transparencyMode = 2;
    g().transparencyAmount = 50;
    stroke(kTransparencyTool);
    EXPECT_EQ(a->opacity, 0.5f);
    g().brushShape = 5;  // up: weight 10 / 50
    stroke(kTransparencyTool, {105, 0});
    EXPECT_EQ(low->opacity, 0.5f * (10.0f / 50));
    g().brushShape = 0;
    host.log.enable(true);
    g().transparencyMode = 0;
    g().transparencyAmount = 80;
    stroke(kTransparencyTool);
    EXPECT_EQ(a->opacity, 1.0f);
    g().transparencyAmount = -100;
    stroke(kTransparencyTool);
    EXPECT_EQ(a->opacity, 0.0f);
    EXPECT_EQ(count("GetOpacity"), 2);
    g().transparencyMode = 3;
    g().transparencyAmount = 20;
    host.random.queue(0.5f);
    stroke(kTransparencyTool);
    EXPECT_EQ(a->opacity, 1.0f - 0.5f * 0.2f);
    g().transparencyAmount = -20;
    stroke(kTransparencyTool);
    EXPECT_EQ(a->opacity, 1.0f);
    EXPECT_EQ(count("GetOpacity"), 2);  // modes 2 and 3 never read it
}

TEST_F(PaintTest, TransparencyTreatsACompoundPathAsOneObject) {
    Art *compound = addCompound(doc());
    Art *child = addRect(doc(), 0, 0, 10, 10, true, compound);
    g().transparencyMode = 2;
    g().transparencyAmount = 40;
    stroke(kTransparencyTool);
    EXPECT_EQ(compound->opacity, 40 * 0.01f);
    EXPECT_EQ(child->opacity, 1.0f);
    EXPECT_TRUE(tagged(compound));
    EXPECT_FALSE(tagged(child));
}

TEST_F(PaintTest, StrokeWeightInPointsAndHundredthsForChildPaths) {
    Art *plain = addRect(doc(), 0, 0, 10, 10);
    Art *compound = addCompound(doc());
    Art *child = addRect(doc(), 20, 0, 30, 10, true, compound);
    plain->style.strokePaint = 0;
    g().strokeWeightMode = 2;
    g().strokeWeightAmount = 5;
    stroke(kStrokeWeightTool);
    EXPECT_EQ(plain->style.stroke.width, 5.0f);
    EXPECT_EQ(plain->style.strokePaint, 0);  // unpainted stays unpainted
    EXPECT_EQ(child->style.stroke.width, 5.0f * 0.01f);
    EXPECT_TRUE(tagged(child));
    EXPECT_FALSE(tagged(compound));
    g().strokeWeightMode = 4;  // the value plays no part
    g().strokeWeightAmount = 0;
    host.random.queue(0.5f);
    host.random.queue(0.25f);
    stroke(kStrokeWeightTool);
    EXPECT_EQ(child->style.stroke.width, 10.0f);
    EXPECT_EQ(plain->style.stroke.width, 5.0f);
    g().strokeWeightMode = 0;
    g().strokeWeightAmount = -100;
    stroke(kStrokeWeightTool);
    EXPECT_EQ(plain->style.stroke.width, 0.0f);
    g().strokeWeightMode = 3;
    g().strokeWeightAmount = 4;
    host.random.queue(0.5f);
    host.random.queue(0.5f);
    stroke(kStrokeWeightTool);
    EXPECT_EQ(plain->style.stroke.width, 8.0f);
}

TEST_F(PaintTest, FillIntensityShiftsEachColourKindItsOwnWay) {
    Art *process = addRect(doc(), 0, 0, 10, 10);
    Art *rgb = addRect(doc(), 10, 0, 20, 10);
    Art *gray = addRect(doc(), 20, 0, 30, 10);
    Art *none = addRect(doc(), 30, 0, 40, 10);
    process->style.fill.color = colour(kFourColor, 0.25f, 0.5f, 0.95f, 0.5f);
    rgb->style.fill.color = colour(kThreeColor, 0.25f, 0.5f, 0.75f);
    gray->style.fill.color = colour(kGrayColor, 0.25f);
    none->style.fill.color = colour(kNoneColor, 0.25f);
    rgb->style.stroke.color = colour(kThreeColor, 0.5f, 0.5f, 0.5f);
    g().fillIntensityAmount = 10;
    stroke(kFillIntensityTool);
    const AIFourColorStyle &f = process->style.fill.color.c.f;
    EXPECT_EQ(f.cyan, 0.25f + 0.1f);
    EXPECT_EQ(f.magenta, 0.5f + 0.1f);
    EXPECT_EQ(f.yellow, 1.0f);
    EXPECT_EQ(f.black, 0.5f);
    const AIReal step = 0.1f * 0.39215687f;
    EXPECT_EQ(rgb->style.fill.color.c.rgb.red, 0.25f + step);
    EXPECT_EQ(rgb->style.fill.color.c.rgb.blue, 0.75f + step);
    EXPECT_EQ(rgb->style.stroke.color.c.rgb.red, 0.5f);  // stroke is off
    EXPECT_EQ(gray->style.fill.color.c.g.gray, 0.25f + 0.1f);
    EXPECT_EQ(none->style.fill.color.c.f.cyan, 0.25f);
    g().fillIntensityApplyToFill = 0;
    g().fillIntensityApplyToStroke = 1;
    g().fillIntensityAmount = 100;
    stroke(kFillIntensityTool);
    EXPECT_EQ(rgb->style.stroke.color.c.rgb.green, 0.5f + 0.39215687f);
    EXPECT_EQ(rgb->style.fill.color.c.rgb.red, 0.25f + step);
}

TEST_F(PaintTest, FillIntensityTagsPerColourAndDrawsPerChannel) {
    Art *compound = addCompound(doc());
    Art *c1 = addRect(doc(), 0, 0, 10, 10, true, compound);
    addRect(doc(), 10, 0, 20, 10, true, compound);
    c1->style.fill.color = colour(kFourColor, 0.5f, 0.5f, 0.5f, 0.5f);
    g().fillIntensityApplyToStroke = 1;
    g().fillIntensityMode = 5;  // jitter: sign and size for every channel
    host.log.enable(true);
    stroke(kFillIntensityTool);
    EXPECT_EQ(count("SetTag"), 4);
    // c1: three process channels in fill, gray in stroke; c2: gray in both.
    EXPECT_EQ(host.random.draws(), 2 * (3 + 1 + 1 + 1));
    g().fillIntensityApplyToFill = 0;
    g().fillIntensityApplyToStroke = 0;
    g().fillIntensityApplyRandom = 1;
    host.log.clear();
    long before = host.random.draws();
    stroke(kFillIntensityTool, {500, 500});  // weight 0: still one skip draw
    EXPECT_EQ(host.random.draws() - before, 1);
    EXPECT_EQ(count("SetTag"), 0);
}

TEST_F(PaintTest, WeightZeroIsTaggedAndCopiedButNotChanged) {
    int made = 0;
    for (int tool : {kTransparencyTool, kStrokeWeightTool, kFillIntensityTool}) {
        Art *a = addRect(doc(), 0, 0, 10, 10);
        a->opacity = 0.5f;
        g().trailCursor = 1;
        g().transparencyMode = g().strokeWeightMode = g().fillIntensityMode = 2;
        stroke(tool, {500, 500});
        EXPECT_TRUE(tagged(a)) << tool;
        EXPECT_EQ(a->opacity, 0.5f);
        EXPECT_EQ(a->style.stroke.width, 1.0f);
        EXPECT_EQ(a->style.fill.color.c.g.gray, 1.0f);
        made += 2;  // the object and its trail copy
        int paths = 0;
        doc().forEachArt([&](Art &x) { paths += x.type == kPathArt; });
        EXPECT_EQ(paths, made) << tool;
        doc().forEachArt([&](Art &x) { x.userAttr = 0; });  // next tool: only its own art
    }
}

}  // namespace
}  // namespace smear
