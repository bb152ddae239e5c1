// A style factor scales the stroke width of the art's named style, through
// the Art Style suite: applying a style paints with the width scaled by the
// art's factor, a new factor rescales it (on a compound path's members too),
// a negative product is width 0, and art without a named style of the
// document keeps its paint.
#include <cmath>
#include <limits>

#include "host_suites_fixture.h"
#include "paint_records.h"

namespace smear {
namespace {

class StyleFactor : public HostSuitesTest {
protected:
    void SetUp() override {
        AIPathStyle s{};
        s.fillPaint = 1;
        s.fill.color.kind = kFourColor;
        s.fill.color.c.f = {0.1f, 0.2f, 0.3f, 0.4f};
        s.strokePaint = 1;
        s.stroke.color.kind = kGrayColor;
        s.stroke.color.c.g.gray = 0.6f;
        s.stroke.width = 2.5f;
        s.stroke.cap = 1;
        s.stroke.join = 2;
        s.stroke.miterLimit = 9;
        s.stroke.dashCount = 2;
        s.stroke.dashes[0] = 4;
        s.stroke.dashes[1] = 1;
        bold = doc().addGraphicStyle("Bold", s);
        bold->opacity = 0.7f;
    }

    // The style's paint with the stroke `width`.
    AIPathStyle boldWith(AIReal width) const {
        AIPathStyle s = bold->style;
        s.stroke.width = width;
        return s;
    }

    // A path painted in its own way, unlike the style.
    Art *ownPaintPath(const std::string &id, Art *inside = nullptr) {
        Art *a = inside ? addArt(kPathArt, id, 0, inside) : addPath({{0, 0}, {10, 0}, {10, 10}}, id);
        a->style.fill.color.kind = kThreeColor;
        a->style.fill.color.c.rgb = {0.25f, 0.5f, 0.75f};
        a->style.fillPaint = 1;
        a->style.stroke.width = 7;
        return a;
    }

    const AIArtStyleSuite &artStyle = suite<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
    const AIPathStyleSuite &pathStyle = suite<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
    GraphicStyle *bold = nullptr;
};

TEST_F(StyleFactor, ApplyingAStylePaintsWithItsWidthTimesTheArtsFactor) {
    Art *a = ownPaintPath("a");
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), 1.5f), kNoErr);
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(a), toHandle(bold)), kNoErr);
    EXPECT_EQ(pathStyleDifference(a->style, boldWith(3.75f), "", true), "");
    EXPECT_EQ(a->opacity, 0.7f);
    EXPECT_EQ(bold->style.stroke.width, 2.5f) << "the style itself is not scaled";

    // At the default factor the style's own width.
    Art *b = ownPaintPath("b");
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(b), toHandle(bold)), kNoErr);
    EXPECT_EQ(pathStyleDifference(b->style, boldWith(2.5f), "", true), "");
    // What the path style suite reads back is the scaled style.
    AIPathStyle read{};
    ASSERT_EQ(pathStyle.GetPathStyle(toHandle(a), &read), kNoErr);
    EXPECT_EQ(read.stroke.width, 3.75f);
}

TEST_F(StyleFactor, ANewFactorRescalesTheStyleWidthAndKeepsTheRestOfThePaint) {
    Art *a = ownPaintPath("a");
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(a), toHandle(bold)), kNoErr);
    // Painted otherwise since the style was applied: only the width follows
    // the factor, and it comes from the style, not from the art's width.
    a->style.fill.color.c.f.cyan = 0.9f;
    a->style.stroke.width = 100;
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), 2), kNoErr);
    EXPECT_EQ(artStyle.GetStyleFactor(toHandle(a)), 2.0f);
    EXPECT_EQ(a->style.stroke.width, 5.0f);
    EXPECT_EQ(a->style.fill.color.c.f.cyan, 0.9f);
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), 0.25f), kNoErr);
    EXPECT_EQ(a->style.stroke.width, 0.625f) << "not 5 x 0.25: the factor scales the style's width";
    AIArtStyleHandle style = nullptr;
    ASSERT_EQ(artStyle.GetArtStyle(toHandle(a), &style), kNoErr);
    EXPECT_EQ(style, toHandle(bold)) << "the art keeps its named style";
}

TEST_F(StyleFactor, ACompoundPathAndItsMembersTakeTheScaledWidth) {
    Art *compound = addArt(kCompoundPathArt, "c");
    Art *first = ownPaintPath("m1", compound);
    Art *second = ownPaintPath("m2", compound);
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(compound), 3), kNoErr);
    for (const Art *a : {first, second}) EXPECT_EQ(a->style.stroke.width, 7) << a->id << ": no style yet";

    ASSERT_EQ(artStyle.SetArtStyle(toHandle(compound), toHandle(bold)), kNoErr);
    for (const Art *a : {compound, first, second})
        EXPECT_EQ(pathStyleDifference(a->style, boldWith(7.5f), "", true), "") << a->id;
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(compound), 0.5f), kNoErr);
    for (const Art *a : {compound, first, second}) EXPECT_EQ(a->style.stroke.width, 1.25f) << a->id;
    // The members have no style of their own and keep the compound's factor.
    EXPECT_EQ(first->artStyle, nullptr);
    EXPECT_EQ(first->styleFactor, 1.0f);
}

TEST_F(StyleFactor, AGroupKeepsItsMembersWidths) {
    Art *group = addArt(kGroupArt, "g");
    Art *member = ownPaintPath("m", group);
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(group), toHandle(bold)), kNoErr);
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(group), 4), kNoErr);
    EXPECT_EQ(group->styleFactor, 4.0f);
    EXPECT_EQ(member->style.stroke.width, 7);
}

TEST_F(StyleFactor, ANegativeOrZeroFactorGivesWidthZero) {
    Art *a = ownPaintPath("a");
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(a), toHandle(bold)), kNoErr);
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), -2), kNoErr);
    EXPECT_EQ(artStyle.GetStyleFactor(toHandle(a)), -2.0f) << "the factor is kept as given";
    EXPECT_EQ(a->style.stroke.width, 0.0f);
    EXPECT_FALSE(std::signbit(a->style.stroke.width)) << "not -0";
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), 0), kNoErr);
    EXPECT_EQ(a->style.stroke.width, 0.0f);
    EXPECT_FALSE(std::signbit(a->style.stroke.width));

    // Applying the style with a negative factor stored: width 0 too.
    Art *b = ownPaintPath("b");
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(b), -0.5f), kNoErr);
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(b), toHandle(bold)), kNoErr);
    EXPECT_EQ(b->style.stroke.width, 0.0f);
    EXPECT_FALSE(std::signbit(b->style.stroke.width));
}

TEST_F(StyleFactor, ANonFiniteFactorIsRefusedAndChangesNothing) {
    Art *a = ownPaintPath("a");
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(a), toHandle(bold)), kNoErr);
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), 2), kNoErr);
    for (AIReal f : {std::numeric_limits<AIReal>::quiet_NaN(), std::numeric_limits<AIReal>::infinity(),
                     -std::numeric_limits<AIReal>::infinity()}) {
        EXPECT_EQ(artStyle.SetStyleFactor(toHandle(a), f), kBadParameterErr) << f;
        EXPECT_EQ(artStyle.GetStyleFactor(toHandle(a)), 2.0f) << f;
        EXPECT_EQ(a->style.stroke.width, 5.0f) << f;
    }
}

TEST_F(StyleFactor, ArtWithoutANamedStyleOfTheDocumentKeepsItsPaint) {
    Art *a = ownPaintPath("a");
    const AIPathStyle before = a->style;
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), 3), kNoErr);
    EXPECT_EQ(artStyle.GetStyleFactor(toHandle(a)), 3.0f);
    EXPECT_EQ(pathStyleDifference(a->style, before, "", true), "");
    // The factor waits for a style: applying one uses it.
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(a), toHandle(bold)), kNoErr);
    EXPECT_EQ(a->style.stroke.width, 7.5f);

    // A style the document no longer lists is no named style of it.
    Art *b = ownPaintPath("b");
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(b), toHandle(bold)), kNoErr);
    doc().graphicStyles.clear();
    b->style.stroke.width = 11;
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(b), 2), kNoErr);
    EXPECT_EQ(b->style.stroke.width, 11);
    EXPECT_EQ(b->styleFactor, 2.0f);
}

TEST_F(StyleFactor, RefusedCallsLeaveTheWidth) {
    Art *a = ownPaintPath("a");
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(a), toHandle(bold)), kNoErr);
    // A locked layer, and a fault the host's plan injects.
    doc().currentLayer()->locked = true;
    EXPECT_EQ(artStyle.SetStyleFactor(toHandle(a), 2), kLockedLayerErr);
    EXPECT_EQ(a->style.stroke.width, 2.5f);
    EXPECT_EQ(a->styleFactor, 1.0f);
    doc().currentLayer()->locked = false;
    host.faults.failEveryCall(kAIArtStyleSuite, "SetStyleFactor", kOutOfMemoryErr);
    EXPECT_EQ(artStyle.SetStyleFactor(toHandle(a), 2), kOutOfMemoryErr);
    EXPECT_EQ(a->style.stroke.width, 2.5f);
    EXPECT_EQ(a->styleFactor, 1.0f);
}

}  // namespace
}  // namespace smear
