// Each colour tool paints SVG files that nobody here drew, and what it
// changed survives writing the document and reading it back: every art
// object's paint (colour records exact, gradients, patterns and custom
// colours by name), opacity, blend mode, named style and style factor, and
// the document's swatches and named styles.
#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "brush_support.h"
#include "paint_records.h"
#include "real_files.h"
#include "svg.h"
#include "svg_write_support.h"

namespace smear {
namespace {


AIColor flat(ASInt32 kind, AIReal a, AIReal b = 0, AIReal c = 0, AIReal d = 0) {
    AIColor colour{};
    colour.kind = kind;
    colour.c.f = {a, b, c, d};
    return colour;
}

AIColor customTint(CustomColor *custom, AIReal tint) {
    AIColor colour{};
    colour.kind = kCustomColor;
    colour.c.c = {toHandle(custom), tint};
    return colour;
}

AIColor linearOver(Gradient *gradient, const AIRealRect &box) {
    AIColor colour{};
    colour.kind = kGradient;
    colour.c.b.gradient = toHandle(gradient);
    colour.c.b.gradientOrigin = {box.left, box.bottom};
    colour.c.b.gradientAngle = 30;
    colour.c.b.gradientLength = box.right - box.left + 1;
    colour.c.b.matrix = {1, 0, 0, 1, 0, 0};
    return colour;
}

AIColor tiled(Pattern *pattern, AIReal rotate) {
    AIColor colour{};
    colour.kind = kPattern;
    colour.c.p.pattern = toHandle(pattern);
    colour.c.p.scale = {100, 100};
    colour.c.p.rotate = rotate;
    colour.c.p.transform = {1, 0, 0, 1, 0, 0};
    return colour;
}

AIPathStyle painted(const AIColor &fill, const AIColor &stroke, AIReal width) {
    AIPathStyle s{};
    s.fillPaint = 1;
    s.fill.color = fill;
    s.strokePaint = 1;
    s.stroke.color = stroke;
    s.stroke.width = width;
    s.stroke.miterLimit = 4;
    return s;
}

void setFill(Art &art, const AIColor &colour) {
    art.style.fillPaint = 1;
    art.style.fill.color = colour;
    for (Art *c = art.firstChild; c; c = c->next) setFill(*c, colour);
}

void setStroke(Art &art, const AIColor &colour, AIReal width) {
    art.style.strokePaint = 1;
    art.style.stroke.color = colour;
    art.style.stroke.width = width;
    for (Art *c = art.firstChild; c; c = c->next) setStroke(*c, colour, width);
}

struct ToolCase {
    const char *name;
    int toolId;
    void (*options)(Globals &);
    // The paint the first object gets (see addLibraryAndKinds), so that a
    // drawing of one object has what the tool changes.
    size_t firstKind = 0;
};

const ToolCase kTools[] = {
    {"FillChannels", kFillChannelsTool,
     [](Globals &g) {
         g.fillChannel1 = g.fillChannel2 = g.fillChannel3 = g.fillChannel4 = 30;
         g.fillChannelsApplyToFill = g.fillChannelsApplyToStroke = 1;
         g.fillChannelsCreateSwatch = 1;
     }},
    {"Styles", kStylesTool,
     [](Globals &g) {
         g.styleMode = 2;  // a random one of the first styles, per object
         g.styleIndex = 3;
         g.styleFactorMode = 3;  // add to the factor
         g.styleFactor = 70;
     }},
    {"BlendMode", kBlendModeTool, [](Globals &g) { g.blendMode = 16; }},  // random per object
    {"ColorReducer", kColorReducerTool,
     [](Globals &g) {
         g.colorReducerAmount = 60;
         g.colorReducerApplyToFill = g.colorReducerApplyToStroke = 1;
         g.colorReducerCreateSwatch = 1;
     }},
    {"Swatches", kSwatchesTool,
     [](Globals &g) {
         g.swatchRandom = 1;
         g.swatchIndex = 6;
         g.swatchApplyToFill = g.swatchApplyToStroke = 1;
     }},
    {"Tint", kTintTool,
     [](Globals &g) {
         g.tintAmount = 40;
         g.tintApplyToFill = g.tintApplyToStroke = 1;
     },
     1},
    {"Gradient", kGradientTool,
     [](Globals &g) {
         g.gradientAngle = 20;
         g.gradientLength = 10;
         g.gradientHiliteAngle = 15;
         g.gradientHiliteLength = 10;
     },
     3},
    {"Pattern", kPatternTool,
     [](Globals &g) {
         g.patternAngle = 25;
         g.patternScaleHorizontal = 30;
         g.patternScaleVertical = -20;
     },
     2},
};

void PrintTo(const ToolCase &tool, std::ostream *out) { *out << tool.name; }

class PaintedFile : public BrushTest, public ::testing::WithParamInterface<ToolCase> {
protected:
    // The document's library, so that Swatches and Styles have something
    // to apply; and a share of the art painted with the kinds an SVG file
    // does not have, so that Tint, Gradient and Pattern find their paint.
    void addLibraryAndKinds(Document &d, size_t firstKind) {
        CustomColor *teal = d.addCustomColor("Spot teal", flat(kFourColor, 0.8f, 0.1f, 0.4f, 0.05f));
        Gradient *ramp = d.addGradient("Smear ramp");
        ramp->stops = {{0, flat(kThreeColor, 1, 0.6f, 0), 1}, {1, flat(kThreeColor, 0, 0.2f, 0.6f), 1}};
        Pattern *dots = d.addPattern("Smear dots");
        dots->tile = {0, 8, 8, 0};
        dots->color = flat(kThreeColor, 0.2f, 0.2f, 0.2f);

        const AIRealRect page = d.artboard;
        d.addSwatch("Gray 30", flat(kGrayColor, 0.3f));
        d.addSwatch("Process", flat(kFourColor, 0.1f, 0.7f, 0.3f, 0.2f));
        d.addSwatch("Odd RGB", flat(kThreeColor, 0.5f, 0.3f, 1.0f / 3));
        d.addSwatch("Teal tint", customTint(teal, 0.25f));
        d.addSwatch("Ramp", linearOver(ramp, page));
        d.addSwatch("Dots", tiled(dots, 15));

        AIPathStyle dashed = painted(tiled(dots, 0), flat(kGrayColor, 0.7f), 1.5f);
        dashed.stroke.dashCount = 3;
        dashed.stroke.dashes[0] = 2;
        dashed.stroke.dashes[1] = 1;
        dashed.stroke.dashes[2] = 0.5f;
        d.addGraphicStyle("Teal", painted(customTint(teal, 0.1f), flat(kFourColor, 0, 0, 0, 0.9f), 2));
        d.addGraphicStyle("Ramp", painted(linearOver(ramp, page), flat(kThreeColor, 0.25f, 0.5f, 0.7f), 0.75f))
            ->opacity = 0.8f;
        d.addGraphicStyle("Dashed", dashed)->opacity = 0.65f;

        std::vector<Art *> paintable;
        d.forEachArt([&](Art &a) {
            const bool member = a.parent && a.parent->type == kCompoundPathArt;
            if ((a.type == kPathArt || a.type == kCompoundPathArt) && !member) paintable.push_back(&a);
        });
        for (size_t k = 0; k < paintable.size(); ++k) {
            Art &a = *paintable[k];
            AIRealRect box{};
            artBounds(a, box);
            switch ((k + firstKind) % 6) {
            case 1: setFill(a, customTint(teal, 0.2f)); break;
            case 2: setFill(a, tiled(dots, 10)); break;
            case 3: setFill(a, linearOver(ramp, box)); break;
            case 4:  // a second gray, so that the colour reducer has two to average
                setFill(a, flat(kGrayColor, 0.8f));
                setStroke(a, flat(kFourColor, 0.3f, 0, 0.5f, 0.1f), 2);
                break;
            case 5: setFill(a, flat(kGrayColor, 0.35f)); break;
            default: break;  // as the file painted it
            }
        }
    }

    // The centre of the drawing's bounds.
    AIRealPoint centre(const Document &d) {
        AIRealRect all{};
        bool any = false;
        for (const Layer *layer : d.layers)
            for (const Art *a = layer->root->firstChild; a; a = a->next) {
                AIRealRect box{};
                if (!artBounds(*a, box)) continue;
                if (!any) all = box;
                all.left = std::min(all.left, box.left);
                all.right = std::max(all.right, box.right);
                all.bottom = std::min(all.bottom, box.bottom);
                all.top = std::max(all.top, box.top);
                any = true;
            }
        return {(all.left + all.right) / 2, (all.bottom + all.top) / 2};
    }

    // How many art objects paint otherwise than before.
    static size_t changedArt(const Document &before, const Document &after) {
        std::vector<const Art *> x, y;
        before.forEachArt([&](const Art &a) { x.push_back(&a); });
        after.forEachArt([&](const Art &a) { y.push_back(&a); });
        size_t changed = 0;
        for (size_t k = 0; k < x.size() && k < y.size(); ++k) changed += !artPaintDifference(*x[k], *y[k]).empty();
        return changed;
    }
};

TEST_P(PaintedFile, WhatTheToolChangedComesBackFromTheWrittenFile) {
    const ToolCase &tool = GetParam();
    int seen = 0;
    for (const char *path : kRealSvgFiles) {
        if (!std::ifstream(path)) continue;
        ++seen;
        SCOPED_TRACE(path);
        auto drawing = std::make_unique<Document>();
        SvgReadReport report;
        std::string error;
        ASSERT_TRUE(readSvgFile(path, *drawing, report, error)) << error;
        addLibraryAndKinds(*drawing, tool.firstKind);
        selectAllOpen(*drawing);
        const AIRealPoint at = centre(*drawing);
        host.replaceDocument(std::move(drawing));
        const std::unique_ptr<Document> before = doc().clone();

        g().brushSizeHorizontal = g().brushSizeVertical = 100000;  // the whole drawing at weight 1
        tool.options(g());
        host.random.seed(7);
        stroke(tool.toolId, at, 2);
        const size_t changed = changedArt(*before, doc());
        // A drawing of one colour leaves the colour reducer nothing to average;
        // it and Fill channels still add the colours they made as swatches.
        EXPECT_GT(changed + !libraryDifference(*before, doc()).empty(), 0u) << "the tool changed nothing";

        Document back;
        SvgReadReport report2;
        ASSERT_TRUE(readSvgString(svgOf(doc()), back, report2, error)) << error;
        EXPECT_EQ(documentPaintDifference(doc(), back), "");
    }
    if (seen == 0) GTEST_SKIP() << "none of the sample SVG files is installed";
}

INSTANTIATE_TEST_SUITE_P(ColourTools, PaintedFile, ::testing::ValuesIn(kTools),
                         [](const ::testing::TestParamInfo<ToolCase> &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace smear
