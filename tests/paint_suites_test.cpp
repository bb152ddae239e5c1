// The paint family of host suites, called through their tables: path style,
// blending, graphic styles and swatches.
#include <cmath>
#include <cstring>
#include <vector>

#include "host_suites_fixture.h"

namespace smear {
namespace {

class PaintSuites : public HostSuitesTest {
protected:
    const AIPathStyleSuite &pathStyle = suite<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
    const AIBlendStyleSuite &blend = suite<AIBlendStyleSuite>(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion);
    const AIArtStyleSuite &artStyle = suite<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
    const AISwatchListSuite &swatches = suite<AISwatchListSuite>(kAISwatchListSuite, kAISwatchListSuiteVersion);

    static AIColor rgb(AIReal r, AIReal g, AIReal b) {
        AIColor c{};
        c.kind = kThreeColor;
        c.c.rgb = {r, g, b};
        return c;
    }
    // The fields the tests below change, compared.
    static bool sameStyle(const AIPathStyle &a, const AIPathStyle &b) {
        return a.fillPaint == b.fillPaint && a.fill.color.kind == b.fill.color.kind &&
               std::memcmp(&a.fill.color.c.rgb, &b.fill.color.c.rgb, sizeof a.fill.color.c.rgb) == 0 &&
               a.stroke.width == b.stroke.width &&
               std::memcmp(a.stroke.dashes, b.stroke.dashes, sizeof a.stroke.dashes) == 0 &&
               a.stroke.miterLimit == b.stroke.miterLimit && a.evenodd == b.evenodd;
    }
    static AIPathStyle filled(AIColor fill, AIReal strokeWidth = 1) {
        AIPathStyle s{};
        s.fillPaint = true;
        s.fill.color = fill;
        s.strokePaint = true;
        s.stroke.color.kind = kGrayColor;
        s.stroke.width = strokeWidth;
        return s;
    }
};

TEST_F(PaintSuites, CompoundPathPaintsAsOne) {
    Art *cp = addArt(kCompoundPathArt);
    Art *first = addArt(kPathArt, "1", 0, cp);
    Art *second = addArt(kPathArt, "2", 0, cp);
    first->style = filled(rgb(1, 0, 0), 3);
    second->style = filled(rgb(0, 1, 0));

    AIPathStyle read{};
    ASSERT_EQ(pathStyle.GetPathStyle(toHandle(cp), &read), kNoErr);
    EXPECT_FLOAT_EQ(read.fill.color.c.rgb.red, 1) << "read from the first member";
    EXPECT_FLOAT_EQ(read.stroke.width, 3);

    const AIPathStyle blue = filled(rgb(0, 0, 1), 5);
    ASSERT_EQ(pathStyle.SetPathStyle(toHandle(cp), &blue), kNoErr);
    for (const Art *a : {cp, first, second}) {
        EXPECT_FLOAT_EQ(a->style.fill.color.c.rgb.blue, 1);
        EXPECT_FLOAT_EQ(a->style.stroke.width, 5);
    }

    // A single member can still be painted on its own.
    const AIPathStyle red = filled(rgb(1, 0, 0));
    ASSERT_EQ(pathStyle.SetPathStyle(toHandle(second), &red), kNoErr);
    EXPECT_FLOAT_EQ(first->style.fill.color.c.rgb.blue, 1);
    EXPECT_FLOAT_EQ(second->style.fill.color.c.rgb.red, 1);
}

// The host stores a style only where it differs from the one it holds: a
// change in any part of the record, first field to last, must still land,
// on a path and on every member of a compound path.
TEST_F(PaintSuites, AStyleChangedAnywhereIsStoredWhole) {
    Art *path = addArt(kPathArt);
    Art *cp = addArt(kCompoundPathArt);
    Art *member = addArt(kPathArt, "m", 0, cp);
    const AIPathStyle start = filled(rgb(0.25f, 0.5f, 0.75f), 2);
    path->style = cp->style = member->style = start;
    const std::vector<void (*)(AIPathStyle &)> changes = {
        [](AIPathStyle &s) { s.fillPaint = false; },
        [](AIPathStyle &s) { s.fill.color.c.rgb.green = 0.125f; },
        [](AIPathStyle &s) { s.stroke.width = 7; },
        [](AIPathStyle &s) { s.stroke.dashes[kMaxDashComponents - 1] = 3; },
        [](AIPathStyle &s) { s.stroke.miterLimit = 9; },
        [](AIPathStyle &s) { s.evenodd = true; },
    };
    for (size_t k = 0; k < changes.size(); ++k) {
        AIPathStyle changed = start;
        changes[k](changed);
        for (Art *a : {path, cp}) {
            ASSERT_EQ(pathStyle.SetPathStyle(toHandle(a), &start), kNoErr);
            ASSERT_EQ(pathStyle.SetPathStyle(toHandle(a), &changed), kNoErr);
            for (const Art *held : a == cp ? std::vector<const Art *>{cp, member} : std::vector<const Art *>{a})
                EXPECT_TRUE(sameStyle(held->style, changed)) << "change " << k;
        }
    }
}

TEST_F(PaintSuites, PathStyleRefusesGroupsBadRecordsAndLockedLayers) {
    Art *g = addArt(kGroupArt);
    Art *p = addPath({{0, 0}});
    AIPathStyle s = filled(rgb(0, 0, 0));
    EXPECT_EQ(pathStyle.GetPathStyle(toHandle(g), &s), kBadParameterErr);
    EXPECT_EQ(pathStyle.SetPathStyle(toHandle(g), &s), kBadParameterErr);

    AIPathStyle bad = s;
    bad.fill.color.kind = 17;
    EXPECT_EQ(pathStyle.SetPathStyle(toHandle(p), &bad), kBadParameterErr);
    bad = s;
    bad.stroke.color.kind = kCustomColor;  // without its custom colour
    EXPECT_EQ(pathStyle.SetPathStyle(toHandle(p), &bad), kBadParameterErr);
    bad = s;
    bad.stroke.dashCount = kMaxDashComponents + 1;
    EXPECT_EQ(pathStyle.SetPathStyle(toHandle(p), &bad), kBadParameterErr);

    doc().currentLayer()->locked = true;
    EXPECT_EQ(pathStyle.SetPathStyle(toHandle(p), &s), kLockedLayerErr);
    EXPECT_FALSE(p->style.fillPaint) << "unchanged";
    EXPECT_EQ(pathStyle.GetPathStyle(toHandle(p), &s), kNoErr);
}

TEST_F(PaintSuites, BlendingModeAndOpacity) {
    Art *a = addPath({{0, 0}});
    AIArtHandle h = toHandle(a);
    EXPECT_EQ(blend.GetBlendingMode(h), kAINormalBlendingMode);
    ASSERT_EQ(blend.SetBlendingMode(h, 15), kNoErr);
    EXPECT_EQ(blend.GetBlendingMode(h), 15);
    EXPECT_EQ(blend.SetBlendingMode(h, 16), kBadParameterErr);
    EXPECT_EQ(blend.SetBlendingMode(h, -1), kBadParameterErr);
    EXPECT_EQ(a->blendMode, 15);

    ASSERT_EQ(blend.SetOpacity(h, 0.5f), kNoErr);
    EXPECT_FLOAT_EQ(blend.GetOpacity(h), 0.5f);
    ASSERT_EQ(blend.SetOpacity(h, 1.5f), kNoErr);
    EXPECT_FLOAT_EQ(blend.GetOpacity(h), 1.5f) << "stored as given";
    EXPECT_EQ(blend.SetOpacity(h, NAN), kBadParameterErr);
    EXPECT_FLOAT_EQ(a->opacity, 1.5f);

    // Value functions ignore the fault plan; code functions do not.
    host.faults.failEveryCall(kAIBlendStyleSuite, "SetOpacity", kOutOfMemoryErr);
    host.faults.failEveryCall(kAIBlendStyleSuite, "GetOpacity", kOutOfMemoryErr);
    EXPECT_EQ(blend.SetOpacity(h, 0.1f), kOutOfMemoryErr);
    EXPECT_FLOAT_EQ(blend.GetOpacity(h), 1.5f);

    doc().dispose(a);
    EXPECT_EQ(blend.SetBlendingMode(h, 1), kBadParameterErr);
    EXPECT_EQ(blend.GetBlendingMode(h), kAINormalBlendingMode);
}

TEST_F(PaintSuites, NamedArtStyles) {
    ASInt32 n = -1;
    AIArtStyleHandle style = nullptr;
    ASSERT_EQ(artStyle.CountNamedArtStyles(&n), kNoErr);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(artStyle.GetNthNamedArtStyle(0, &style), kNoSuchEntryErr);
    EXPECT_EQ(style, nullptr);

    GraphicStyle *plain = doc().addGraphicStyle("Plain", filled(rgb(1, 1, 1)));
    GraphicStyle *bold = doc().addGraphicStyle("Bold", filled(rgb(0, 0, 0), 8));
    bold->opacity = 0.75f;
    ASSERT_EQ(artStyle.CountNamedArtStyles(&n), kNoErr);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(artStyle.GetNthNamedArtStyle(1, &style), kNoErr);
    EXPECT_EQ(toGraphicStyle(style), bold);
    EXPECT_EQ(artStyle.GetNthNamedArtStyle(2, &style), kNoSuchEntryErr);
    EXPECT_EQ(artStyle.GetNthNamedArtStyle(-1, &style), kNoSuchEntryErr);
    char name[3];
    ASSERT_EQ(artStyle.GetArtStyleName(toHandle(plain), name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "Pl");

    Art *cp = addArt(kCompoundPathArt);
    Art *member = addArt(kPathArt, "m", 0, cp);
    AIArtStyleHandle current = toHandle(plain);
    ASSERT_EQ(artStyle.GetArtStyle(toHandle(cp), &current), kNoErr);
    EXPECT_EQ(current, nullptr) << "no style yet";
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(cp), toHandle(bold)), kNoErr);
    ASSERT_EQ(artStyle.GetArtStyle(toHandle(cp), &current), kNoErr);
    EXPECT_TRUE(artStyle.ArtStylesEquiv(current, toHandle(bold)));
    EXPECT_FALSE(artStyle.ArtStylesEquiv(current, toHandle(plain)));
    EXPECT_FLOAT_EQ(cp->opacity, 0.75f);
    EXPECT_FLOAT_EQ(member->style.stroke.width, 8) << "the members take the style's paint";

    // A style the document does not list is refused.
    GraphicStyle stray;
    EXPECT_EQ(artStyle.SetArtStyle(toHandle(cp), toHandle(&stray)), kBadParameterErr);
    EXPECT_EQ(artStyle.SetArtStyle(toHandle(cp), nullptr), kBadParameterErr);
    EXPECT_EQ(cp->artStyle, bold);
}

TEST_F(PaintSuites, StyleFactor) {
    Art *a = addPath({{0, 0}});
    EXPECT_FLOAT_EQ(artStyle.GetStyleFactor(toHandle(a)), 1.0f);
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), -3.5f), kNoErr);
    EXPECT_FLOAT_EQ(artStyle.GetStyleFactor(toHandle(a)), -3.5f);
    EXPECT_EQ(artStyle.SetStyleFactor(toHandle(a), NAN), kBadParameterErr);
    EXPECT_EQ(artStyle.SetStyleFactor(nullptr, 2), kBadParameterErr);
}

TEST_F(PaintSuites, SwatchInsertionNamesAndColours) {
    doc().addSwatch("Red", rgb(1, 0, 0));
    doc().addSwatch("Green", rgb(0, 1, 0));
    EXPECT_EQ(swatches.CountSwatches(nullptr), 2);
    EXPECT_EQ(swatches.GetNthSwatch(nullptr, 2), nullptr);
    EXPECT_EQ(swatches.GetNthSwatch(nullptr, -1), nullptr);

    AISwatchRef inserted = swatches.InsertNthSwatch(nullptr, 1);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(swatches.CountSwatches(nullptr), 3);
    EXPECT_EQ(swatches.GetNthSwatch(nullptr, 1), inserted);
    EXPECT_EQ(toSwatch(swatches.GetNthSwatch(nullptr, 2))->name, "Green");
    char name[16];
    ASSERT_EQ(swatches.GetSwatchName(inserted, name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "Swatch 3");

    const AIColor teal = rgb(0, 0.5f, 0.5f);
    ASSERT_EQ(swatches.SetAIColor(inserted, &teal), kNoErr);
    AIColor back{};
    ASSERT_EQ(swatches.GetAIColor(inserted, &back), kNoErr);
    EXPECT_EQ(back.kind, kThreeColor);
    EXPECT_FLOAT_EQ(back.c.rgb.blue, 0.5f);
    AIColor bad = teal;
    bad.kind = 42;
    EXPECT_EQ(swatches.SetAIColor(inserted, &bad), kBadParameterErr);
    EXPECT_EQ(swatches.GetAIColor(nullptr, &back), kBadParameterErr);

    // Past the end appends, and names stay unique.
    AISwatchRef appended = swatches.InsertNthSwatch(nullptr, 99);
    EXPECT_EQ(swatches.GetNthSwatch(nullptr, 3), appended);
    ASSERT_EQ(swatches.GetSwatchName(appended, name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "Swatch 4");

    // Only the document's own list exists.
    AISwatchListRef other = reinterpret_cast<AISwatchListRef>(&bad);
    EXPECT_EQ(swatches.CountSwatches(other), 0);
    EXPECT_EQ(swatches.InsertNthSwatch(other, 0), nullptr);
}

}  // namespace
}  // namespace smear
