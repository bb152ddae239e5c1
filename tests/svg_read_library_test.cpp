// The document's library through SVG: swatches of every colour kind, named
// styles, art painted with each kind and art with a named style and a style
// factor come back exactly from a written file; an SVG editor that repaints
// an element or moves its gradient wins over the kept colour; an editor's
// own swatches are read; a named style's class rule leaves the art's own
// paint alone.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "handles.h"
#include "paint_records.h"
#include "svg.h"
#include "svg_read_support.h"

namespace smear {
namespace {

AIColor grayInk(AIReal g) {
    AIColor c{};
    c.kind = kGrayColor;
    c.c.g.gray = g;
    return c;
}

AIColor process(AIReal cyan, AIReal magenta, AIReal yellow, AIReal black) {
    AIColor c{};
    c.kind = kFourColor;
    c.c.f = {cyan, magenta, yellow, black};
    return c;
}

AIColor rgb(AIReal r, AIReal g, AIReal b) {
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {r, g, b};
    return c;
}

AIColor customTint(CustomColor *custom, AIReal tint) {
    AIColor c{};
    c.kind = kCustomColor;
    c.c.c = {toHandle(custom), tint};
    return c;
}

AIColor gradient(Gradient *g, AIRealPoint origin, AIReal angle, AIReal length, AIRealMatrix matrix,
                 AIReal hiliteAngle = 0, AIReal hiliteLength = 0) {
    AIColor c{};
    c.kind = kGradient;
    c.c.b = {toHandle(g), origin, angle, length, matrix, hiliteAngle, hiliteLength};
    return c;
}

AIColor pattern(Pattern *p, AIReal shiftDist, AIReal shiftAngle, AIRealPoint scale, AIReal rotate,
                AIRealMatrix transform = {1, 0, 0, 1, 0, 0}, ASInt32 reflect = 0, AIReal reflectAngle = 0,
                AIReal shearAngle = 0, AIReal shearAxis = 0) {
    AIColor c{};
    c.kind = kPattern;
    c.c.p = {toHandle(p), shiftDist, shiftAngle, scale,     rotate,
             reflect,     reflectAngle, shearAngle, shearAxis, transform};
    return c;
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

Art *addSquare(Document &doc, const std::string &id, AIReal x, AIReal y, Art *parent = nullptr) {
    Art *a = doc.newArt(kPathArt);
    a->id = id;
    for (AIRealPoint p : {AIRealPoint{x, y}, {x + 20, y}, {x + 20, y - 20}, {x, y - 20}}) {
        AIPathSegment s{};
        s.p = s.in = s.out = p;
        s.corner = true;
        a->segments.push_back(s);
    }
    a->closed = true;
    doc.link(a, kPlaceInsideOnTop, parent ? parent : doc.currentLayer()->root);
    return a;
}

Art *byId(const Document &doc, const std::string &id) {
    Art *found = nullptr;
    doc.forEachArt([&](const Art &a) {
        if (!found && a.id == id) found = const_cast<Art *>(&a);
    });
    return found;
}

// The first line where two texts differ, empty when they are the same.
std::string firstDifference(const std::string &a, const std::string &b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size()) return {};
    auto line = [&](const std::string &t) {
        const size_t start = t.rfind('\n', i == 0 ? 0 : i - 1);
        const size_t from = start == std::string::npos ? 0 : start + 1;
        return t.substr(from, t.find('\n', from) - from);
    };
    return line(a) + "\n  became\n" + line(b);
}

std::string problems(const SvgReadReport &r) {
    std::string out;
    for (const std::string &p : r.problems) out += p + "\n";
    return out;
}

// The value of `attribute` in the first element whose text starts at
// `from`, and where that value lies in `svg`.
size_t attributeValue(const std::string &svg, size_t from, const std::string &attribute, std::string &value) {
    const size_t at = svg.find(" " + attribute + "=\"", from);
    if (at == std::string::npos || at > svg.find('>', from)) return std::string::npos;
    const size_t start = at + attribute.size() + 3;
    value = svg.substr(start, svg.find('"', start) - start);
    return start;
}

// Replaces the value of `attribute` in the element with id `id`.
bool setAttribute(std::string &svg, const std::string &id, const std::string &attribute, const std::string &value) {
    const size_t element = svg.find("id=\"" + id + "\"");
    if (element == std::string::npos) return false;
    const size_t open = svg.rfind('<', element);
    std::string old;
    const size_t start = attributeValue(svg, open, attribute, old);
    if (start == std::string::npos) return false;
    svg.replace(start, old.size(), value);
    return true;
}

// The id a paint attribute "url(#ID)" of element `id` refers to.
std::string paintServerOf(const std::string &svg, const std::string &id, const std::string &attribute) {
    const size_t element = svg.find("id=\"" + id + "\"");
    if (element == std::string::npos) return {};
    std::string value;
    if (attributeValue(svg, svg.rfind('<', element), attribute, value) == std::string::npos) return {};
    if (value.compare(0, 5, "url(#") != 0) return {};
    return value.substr(5, value.size() - 6);
}

// A document with everything the library holds: a custom colour, linear and
// radial gradients, a pattern; swatches of every kind; named styles; art
// painted with every kind, art with a named style and a style factor.
class LibraryDocument : public ::testing::Test {
protected:
    void SetUp() override {
        CustomColor *gold = doc.addCustomColor("Spot gold 50%", process(0, 0.2f, 0.9f, 0.1f));
        Gradient *sunset = doc.addGradient("Sunset");
        sunset->stops = {{0, rgb(1, 0, 0), 1}, {0.25f, rgb(1, 1, 0), 0.5f}, {1, rgb(0, 0, 1), 1}};
        Gradient *glow = doc.addGradient("Glow");
        glow->radial = true;
        glow->stops = {{0, rgb(1, 1, 1), 1}, {1, rgb(0, AIReal(51 / 255.0), AIReal(102 / 255.0)), 1}};
        Pattern *dots = doc.addPattern("Dots");
        dots->tile = {0, 12, 12, 0};
        dots->color = rgb(AIReal(51 / 255.0), 0, 0);

        const AIRealMatrix identity{1, 0, 0, 1, 0, 0};
        const AIReal c = std::cos(0.5f), s = std::sin(0.5f);
        kinds = {
            grayInk(0.37f),
            process(0.1f, 0.25f, 0.6f, 0.05f),
            rgb(0.5f, 0.25f, 1.0f / 3),  // no channel is a whole byte
            rgb(AIReal(51 / 255.0), AIReal(102 / 255.0), 1),  // every channel is
            customTint(gold, 0.35f),
            gradient(sunset, {40, -60}, 30, 70, identity),
            gradient(sunset, {10, -15}, -110, 45.5f, {c, s, -s, c, 7, -3}),
            gradient(glow, {120, -80}, 0, 35, identity, 45, 0.5f),
            gradient(glow, {60, -30}, 15, 22, identity, -120, 0.25f),
            gradient(glow, {5, -5}, 0, 12, {1, 0, 0, 0.5f, 30, -40}, 90, 0.75f),
            gradient(glow, {20, -20}, 0, 18, {c, s, -s, c, 4, -6}, 30, 0.6f),  // as a transform tool leaves it
            gradient(glow, {-8, 3}, 5, 9, {2, 0, 0, 2, 0, 0}),
            pattern(dots, 3, 30, {150, 80}, 15),
            pattern(dots, 1.5f, -45, {100, 120}, -30, {1, 0, 0, 1, 5, -7}, 1, 20, 10, 5),
        };
        kindNames = {"gray",   "cmyk",          "rgb-odd",       "rgb-byte",        "custom",  "linear",
                     "linear-matrix", "radial", "radial-turned", "radial-squashed", "radial-rotated",
                     "radial-scaled", "pattern", "pattern-placed"};

        doc.addSwatch("Gray 37", kinds[0]);
        doc.addSwatch("Process", kinds[1]);
        doc.addSwatch("Odd RGB", kinds[2]);
        doc.addSwatch("Gold tint", kinds[4]);
        AIColor none{};
        none.kind = kNoneColor;
        doc.addSwatch("None", none);
        doc.addSwatch("Linear", kinds[5]);
        doc.addSwatch("Radial", kinds[7]);
        doc.addSwatch("Dots", kinds[12]);

        AIPathStyle outline = painted(kinds[1], kinds[1], 2.5f);
        outline.fillPaint = 0;
        outline.stroke.cap = 1;
        outline.stroke.join = 2;
        outline.stroke.miterLimit = 7;
        outline.stroke.dashCount = 3;
        outline.stroke.dashes[0] = 3;
        outline.stroke.dashes[1] = 1.5f;
        outline.stroke.dashes[2] = 0.25f;
        outline.stroke.dashOffset = 0.75f;
        doc.addGraphicStyle("Outline", outline)->opacity = 0.6f;
        AIPathStyle glowing = painted(kinds[7], kinds[4], 0.5f);
        glowing.evenodd = 1;
        doc.addGraphicStyle("Glowing", glowing);
        doc.addGraphicStyle("Tiled", painted(kinds[12], kinds[2], 4))->opacity = 0.85f;

        // One object filled with each kind, stroked with another.
        for (size_t k = 0; k < kinds.size(); ++k) {
            Art *a = addSquare(doc, "fill-" + kindNames[k], AIReal(30 * k), -AIReal(10 * k));
            a->style = painted(kinds[k], kinds[(k + 5) % kinds.size()], 0.5f + 0.25f * AIReal(k));
            a->opacity = k % 3 == 0 ? 1.0f : 1.0f / AIReal(k + 1);
            a->blendMode = ASInt32(k % 16);
        }
        // Art with named styles, as the Art Style suite paints it.
        Art *styled = addSquare(doc, "styled", 10, -300);
        styled->artStyle = doc.graphicStyles[0];
        styled->styleFactor = 1.5f;
        styled->style = doc.graphicStyles[0]->style;
        styled->style.stroke.width = 2.5f * 1.5f;
        styled->opacity = 0.6f;
        styled->blendMode = 3;
        Art *compound = doc.newArt(kCompoundPathArt);
        compound->id = "styled-compound";
        doc.link(compound, kPlaceInsideOnTop, doc.currentLayer()->root);
        addSquare(doc, "member-1", 50, -300, compound);
        addSquare(doc, "member-2", 55, -305, compound);
        compound->artStyle = doc.graphicStyles[1];
        compound->styleFactor = 2;
        for (Art *a = compound; a; a = a == compound ? compound->firstChild : a->next) {
            a->style = doc.graphicStyles[1]->style;
            a->style.stroke.width = 1;
        }
        // A factor waits for a named style the art gets later.
        addSquare(doc, "factor-only", 130, -300)->styleFactor = 0.5f;
        // Named, but painted otherwise since: its own paint is what it shows.
        Art *own = addSquare(doc, "own-paint", 90, -300);
        own->artStyle = doc.graphicStyles[2];
        own->style = painted(kinds[3], grayInk(0.8f), 2);
        own->opacity = 0.4f;
    }

    Document doc;
    std::vector<AIColor> kinds;
    std::vector<std::string> kindNames;
};

TEST_F(LibraryDocument, EveryColourSwatchAndNamedStyleComesBackExactly) {
    const std::string svg = svgOf(doc);
    auto back = read(svg);
    ASSERT_TRUE(back->ok) << back->error;
    EXPECT_TRUE(back->report.problems.empty()) << problems(back->report);
    EXPECT_EQ(documentPaintDifference(doc, back->doc), "");

    // The library itself: names in order, and a custom colour with its base.
    ASSERT_EQ(back->doc.swatches.size(), 8u);
    EXPECT_EQ(back->doc.swatches[4]->name, "None");
    EXPECT_EQ(back->doc.swatches[4]->color.kind, kNoneColor);
    ASSERT_EQ(back->doc.customColors.size(), 1u);
    EXPECT_EQ(back->doc.customColors[0]->name, "Spot gold 50%");
    for (const char *name : {"Sunset", "Glow"}) {
        bool found = false;
        for (const Gradient *g : back->doc.gradients) found = found || g->name == name;
        EXPECT_TRUE(found) << name;
    }
    // A second trip writes the same file, and so does the undo copy of it.
    EXPECT_EQ(firstDifference(svg, svgOf(back->doc)), "");
    EXPECT_EQ(firstDifference(svg, svgOf(*back->doc.clone())), "");
}

TEST_F(LibraryDocument, PaintThatSvgSaysExactlyNeedsNoKeptColour) {
    const std::string svg = svgOf(doc);
    // Whole-byte RGB is the SVG paint itself; every other kind is kept.
    std::string value;
    const size_t byte = svg.find("id=\"fill-rgb-byte\"");
    ASSERT_NE(byte, std::string::npos);
    EXPECT_EQ(attributeValue(svg, svg.rfind('<', byte), "data-smear-fill", value), std::string::npos) << value;
    for (const char *id : {"fill-gray", "fill-cmyk", "fill-rgb-odd", "fill-custom", "fill-linear", "fill-pattern"}) {
        const size_t at = svg.find(std::string("id=\"") + id + "\"");
        ASSERT_NE(at, std::string::npos) << id;
        EXPECT_NE(attributeValue(svg, svg.rfind('<', at), "data-smear-fill", value), std::string::npos) << id;
    }
}

// An SVG editor changes the paint but keeps the attributes it does not know:
// what the element now shows is what is read.
TEST_F(LibraryDocument, AnEditorsRepaintWinsOverTheKeptColour) {
    std::string svg = svgOf(doc);
    ASSERT_TRUE(setAttribute(svg, "fill-rgb-odd", "fill", "#123456"));
    ASSERT_TRUE(setAttribute(svg, "fill-cmyk", "stroke", "#00ff00"));
    ASSERT_NE(svg.find("data-smear-fill=\"rgb:"), std::string::npos) << "the kept colour is still there";
    auto back = read(svg);
    ASSERT_TRUE(back->ok) << back->error;
    const Art *odd = byId(back->doc, "fill-rgb-odd");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(colourDifference(odd->style.fill.color, rgb(AIReal(0x12 / 255.0), AIReal(0x34 / 255.0),
                                                          AIReal(0x56 / 255.0))),
              "");
    const Art *cmyk = byId(back->doc, "fill-cmyk");
    EXPECT_EQ(colourDifference(cmyk->style.stroke.color, rgb(0, 1, 0)), "");
    // What was not repainted keeps its exact colours.
    EXPECT_EQ(colourDifference(cmyk->style.fill.color, kinds[1]), "");
    EXPECT_EQ(colourDifference(odd->style.stroke.color, byId(doc, "fill-rgb-odd")->style.stroke.color), "");
    EXPECT_EQ(colourDifference(byId(back->doc, "fill-gray")->style.fill.color, kinds[0]), "");
}

TEST_F(LibraryDocument, AMovedGradientOrPatternIsReadAsTheFileDrawsIt) {
    std::string svg = svgOf(doc);
    // The linear gradient now ends at (500, 60) in the file: in document
    // space it runs from its origin to (500, -60).
    const std::string linear = paintServerOf(svg, "fill-linear", "fill");
    ASSERT_FALSE(linear.empty());
    ASSERT_TRUE(setAttribute(svg, linear, "x2", "500"));
    ASSERT_TRUE(setAttribute(svg, linear, "y2", "60"));
    // The radial one grows; the pattern is placed elsewhere.
    const std::string radial = paintServerOf(svg, "fill-radial", "fill");
    ASSERT_FALSE(radial.empty());
    ASSERT_TRUE(setAttribute(svg, radial, "r", "50"));
    // A gradient with a matrix of its own is compared by what it shows too.
    const std::string turned = paintServerOf(svg, "fill-linear-matrix", "fill");
    ASSERT_FALSE(turned.empty());
    ASSERT_TRUE(setAttribute(svg, turned, "x2", "0"));
    const std::string tile = paintServerOf(svg, "fill-pattern", "fill");
    ASSERT_FALSE(tile.empty());
    ASSERT_TRUE(setAttribute(svg, tile, "patternTransform", "translate(3 4)"));

    auto back = read(svg);
    ASSERT_TRUE(back->ok) << back->error;
    const AIColor &l = byId(back->doc, "fill-linear")->style.fill.color;
    ASSERT_EQ(l.kind, kGradient);
    EXPECT_EQ(nameOf(reinterpret_cast<const Gradient *>(l.c.b.gradient)), "Sunset");
    const double angle = l.c.b.gradientAngle * std::acos(-1.0) / 180;
    EXPECT_NEAR(l.c.b.gradientOrigin.h, 40, 1e-3);
    EXPECT_NEAR(l.c.b.gradientOrigin.v, -60, 1e-3);
    EXPECT_NEAR(l.c.b.gradientOrigin.h + l.c.b.gradientLength * std::cos(angle), 500, 1e-3);
    EXPECT_NEAR(l.c.b.gradientOrigin.v + l.c.b.gradientLength * std::sin(angle), -60, 1e-3);

    const AIColor &t = byId(back->doc, "fill-linear-matrix")->style.fill.color;
    ASSERT_EQ(t.kind, kGradient);
    const AIRealMatrix &m = t.c.b.matrix;
    EXPECT_TRUE(m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1 && m.tx == 0 && m.ty == 0)
        << "the reader's own placement, folded into document space";

    const AIColor &r = byId(back->doc, "fill-radial")->style.fill.color;
    ASSERT_EQ(r.kind, kGradient);
    EXPECT_NEAR(r.c.b.gradientLength, 50, 1e-4);

    const AIColor &p = byId(back->doc, "fill-pattern")->style.fill.color;
    ASSERT_EQ(p.kind, kPattern);
    EXPECT_EQ(nameOf(reinterpret_cast<const Pattern *>(p.c.p.pattern)), "Dots");
    EXPECT_NEAR(p.c.p.transform.tx, 3, 1e-5);
    EXPECT_NEAR(p.c.p.transform.ty, -4, 1e-5);
    EXPECT_EQ(p.c.p.shiftDist, 0) << "the kept placement is not used";

    // Untouched neighbours still come back exactly.
    EXPECT_EQ(colourDifference(byId(back->doc, "fill-radial-turned")->style.fill.color, kinds[8]), "");
    EXPECT_EQ(colourDifference(byId(back->doc, "fill-pattern-placed")->style.fill.color, kinds[13]), "");
}

TEST_F(LibraryDocument, AnEditorsChangedSwatchColourIsRead) {
    std::string svg = svgOf(doc);
    const size_t swatch = svg.find("data-smear-swatch=\"Odd RGB\"");
    ASSERT_NE(swatch, std::string::npos);
    const size_t stop = svg.find("<stop", swatch);
    std::string old;
    const size_t at = attributeValue(svg, stop, "stop-color", old);
    ASSERT_NE(at, std::string::npos);
    svg.replace(at, old.size(), "#abcdef");
    auto back = read(svg);
    ASSERT_TRUE(back->ok) << back->error;
    ASSERT_EQ(back->doc.swatches.size(), doc.swatches.size());
    EXPECT_EQ(back->doc.swatches[2]->name, "Odd RGB");
    EXPECT_EQ(colourDifference(back->doc.swatches[2]->color,
                               rgb(AIReal(0xab / 255.0), AIReal(0xcd / 255.0), AIReal(0xef / 255.0))),
              "");
    EXPECT_EQ(colourDifference(back->doc.swatches[1]->color, kinds[1]), "");
}

TEST_F(LibraryDocument, TheClassRuleOfANamedStyleLeavesTheArtsOwnPaint) {
    const std::string svg = svgOf(doc);
    // The art is in its style's class, and the class rule paints with the
    // style's pattern and opacity.
    const size_t own = svg.find("id=\"own-paint\"");
    ASSERT_NE(own, std::string::npos);
    std::string cls;
    ASSERT_NE(attributeValue(svg, svg.rfind('<', own), "class", cls), std::string::npos);
    const size_t rule = svg.find("." + cls + "{");
    ASSERT_NE(rule, std::string::npos);
    EXPECT_NE(svg.find("opacity:0.85", rule), std::string::npos);

    auto back = read(svg);
    ASSERT_TRUE(back->ok) << back->error;
    const Art *a = byId(back->doc, "own-paint");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(nameOf(a->artStyle), "Tiled");
    EXPECT_EQ(colourDifference(a->style.fill.color, kinds[3]), "");
    EXPECT_EQ(colourDifference(a->style.stroke.color, grayInk(0.8f)), "");
    EXPECT_EQ(a->style.stroke.width, 2);
    EXPECT_EQ(a->opacity, 0.4f);
}

// A dash list repeats as it is, in SVG as in the model: an odd one is read
// with its own entries, not doubled (which would also cut a list of five).
TEST(SvgDashLists, AnOddListIsReadAsWritten) {
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
                  "<path id='three' d='M0 0 H50' stroke='#000' stroke-dasharray='5 2 1'/>"
                  "<path id='five' d='M0 10 H50' stroke='#000' stroke-dasharray='1,2,3,4,5'/>"
                  "<path id='seven' d='M0 20 H50' stroke='#000' stroke-dasharray='1 1 1 1 1 1 2'/></svg>");
    ASSERT_TRUE(r->ok) << r->error;
    const AIStrokeStyle &three = byId(r->doc, "three")->style.stroke;
    ASSERT_EQ(three.dashCount, 3);
    EXPECT_EQ(three.dashes[0], 5);
    EXPECT_EQ(three.dashes[1], 2);
    EXPECT_EQ(three.dashes[2], 1);
    const AIStrokeStyle &five = byId(r->doc, "five")->style.stroke;
    ASSERT_EQ(five.dashCount, 5);
    EXPECT_EQ(five.dashes[4], 5);
    // More entries than the model holds: the first ones, and a problem.
    EXPECT_EQ(byId(r->doc, "seven")->style.stroke.dashCount, kMaxDashComponents);
    ASSERT_EQ(r->report.problems.size(), 1u);
    EXPECT_NE(r->report.problems[0].find("id=seven"), std::string::npos) << r->report.problems[0];
}

TEST(SvgEditorSwatches, AreReadIntoTheDocumentsSwatchList) {
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape' "
        "viewBox='0 0 100 100'><defs>"
        "<linearGradient id='x' inkscape:swatch='solid' inkscape:label='Brick'>"
        "<stop style='stop-color:#aa3311'/></linearGradient>"
        "<linearGradient id='linearGradient42' inkscape:swatch='solid'>"
        "<stop offset='0' style='stop-color:#0000ff;stop-opacity:1'/></linearGradient>"
        "<linearGradient id='plain'><stop offset='0' stop-color='#00ff00'/></linearGradient>"
        "</defs><rect id='r' width='10' height='10' fill='url(#x)'/></svg>";
    Document doc;
    SvgReadReport report;
    std::string error;
    ASSERT_TRUE(readSvgString(svg, doc, report, error)) << error;
    EXPECT_TRUE(report.problems.empty()) << problems(report);
    ASSERT_EQ(doc.swatches.size(), 2u) << "a gradient not marked as a swatch is none";
    EXPECT_EQ(doc.swatches[0]->name, "Brick");
    EXPECT_EQ(colourDifference(doc.swatches[0]->color, rgb(AIReal(0xaa / 255.0), AIReal(0x33 / 255.0),
                                                           AIReal(0x11 / 255.0))),
              "");
    EXPECT_EQ(doc.swatches[1]->name, "linearGradient42") << "without a label, by its id";
    EXPECT_EQ(colourDifference(doc.swatches[1]->color, rgb(0, 0, 1)), "");
    EXPECT_EQ(colourDifference(byId(doc, "r")->style.fill.color, doc.swatches[0]->color), "");

    // The same file read again into the document adds no second copies.
    ASSERT_TRUE(readSvgString(svg, doc, report, error)) << error;
    EXPECT_EQ(doc.swatches.size(), 2u);

    // Written and read back, they stay the document's swatches.
    Document again;
    ASSERT_TRUE(readSvgString(svgOf(doc), again, report, error)) << error;
    EXPECT_EQ(libraryDifference(doc, again), "");
}

TEST(SvgEditorSwatches, AGradientSwatchOfAnEditorIsAGradientSwatch) {
    // An editor's gradient swatch spans the box of what it paints.
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape' "
        "viewBox='0 0 100 100'><defs>"
        "<linearGradient id='fade' inkscape:swatch='gradient' inkscape:label='Fade'>"
        "<stop offset='0' stop-color='#ffffff'/><stop offset='1' stop-color='#000000'/></linearGradient>"
        "</defs></svg>";
    Document doc;
    SvgReadReport report;
    std::string error;
    ASSERT_TRUE(readSvgString(svg, doc, report, error)) << error;
    ASSERT_EQ(doc.swatches.size(), 1u) << problems(report);
    EXPECT_EQ(doc.swatches[0]->name, "Fade");
    ASSERT_EQ(doc.swatches[0]->color.kind, kGradient);
    EXPECT_EQ(nameOf(reinterpret_cast<const Gradient *>(doc.swatches[0]->color.c.b.gradient)), "fade");
}

}  // namespace
}  // namespace smear

namespace smear {
namespace {

// The Gradient tool floors a length at 0: such a linear gradient shows its
// last stop all over and still comes back as the gradient it is.
TEST(SvgGradientWithoutLength, ComesBackAsTheGradient) {
    Document doc;
    doc.addLayer("Layer 1");
    Gradient *g = doc.addGradient("Ramp");
    g->stops = {GradientStop{0, rgb(1, 0, 0), 1}, GradientStop{1, rgb(0, 0, 1), 1}};
    Art *a = addSquare(doc, "flat", 0, 0);
    a->style = painted(gradient(g, {3, -4}, 30, 0, {1, 0, 0, 1, 0, 0}), rgb(0, 0, 0), 1);
    auto back = read(svgOf(doc));
    ASSERT_TRUE(back->ok) << back->error;
    const Art *b = byId(back->doc, "flat");
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->style.fill.color.kind, kGradient);
    EXPECT_EQ(b->style.fill.color.c.b.gradientLength, 0.0f);
    EXPECT_EQ(b->style.fill.color.c.b.gradientAngle, 30.0f);
    EXPECT_EQ(reinterpret_cast<const Gradient *>(b->style.fill.color.c.b.gradient)->name, "Ramp");
}

}  // namespace
}  // namespace smear
