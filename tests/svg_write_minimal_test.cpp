// A painted file is written back as an editor writes a change: a shape the
// host moved, turned or scaled keeps its name and geometry and takes the
// change as its transform; only what changed is said, where and as the
// file said it; the file's namespaces and encoding are kept.
#include <gtest/gtest.h>

#include <cmath>

#include "svg_read_support.h"
#include "xml_encoding.h"
#include "xml_namespace_check.h"

namespace smear {
namespace {

Art *byId(Document &doc, const std::string &id) {
    Art *found = nullptr;
    doc.forEachArt([&](const Art &a) {
        if (!found && a.id == id) found = const_cast<Art *>(&a);
    });
    return found;
}

// The start tag of the element with id `id` (written with either quote).
std::string tagOf(const std::string &svg, const std::string &id) {
    size_t at = svg.find("id='" + id + "'");
    if (at == std::string::npos) at = svg.find("id=\"" + id + "\"");
    if (at == std::string::npos) return "<missing>";
    const size_t open = svg.rfind('<', at);
    return svg.substr(open, svg.find('>', at) - open + 1);
}

size_t count(const std::string &text, const std::string &what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

void expectSameGeometry(const Art &was, const Art &again, const char *id) {
    ASSERT_EQ(was.segments.size(), again.segments.size()) << id;
    for (size_t k = 0; k < was.segments.size(); ++k) {
        EXPECT_NEAR(was.segments[k].p.h, again.segments[k].p.h, 1e-3) << id;
        EXPECT_NEAR(was.segments[k].p.v, again.segments[k].p.v, 1e-3) << id;
        EXPECT_NEAR(was.segments[k].out.h, again.segments[k].out.h, 1e-3) << id;
        EXPECT_NEAR(was.segments[k].in.v, again.segments[k].in.v, 1e-3) << id;
    }
}

const char kShapes[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 200 200'>\n"
    "  <g transform='translate(10 5)'>\n"
    "    <rect id='r' x='2.52' y='0' width='40' height='20' rx='3' fill='#8C8C8C' stroke='#000' "
    "transform='scale(2 1)'/>\n"
    "    <circle id='c' cx='150' cy='50' r='20' style='fill:#00ff00;fill-opacity:0.5;stroke:#000;"
    "stroke-opacity:0.96078431'/>\n"
    "    <ellipse id='e' cx='60' cy='120' rx='20' ry='8' fill='red'/>\n"
    "    <line id='l' x1='10' y1='180' x2='90' y2='190' stroke='blue' stroke-width='3'/>\n"
    "    <polyline id='pl' points='10,10 30,40 50,10' fill='none' stroke='#123456'/>\n"
    "    <polygon id='pg' points='100,100 140,100 120,140' fill='#abcdef'/>\n"
    "    <path id='p' d='M160 150 C170 140 190 160 180 180 Z' fill='#fedcba'/>\n"
    "  </g>\n"
    "</svg>\n";

TEST(SvgWriteMinimal, EveryShapeTurnedKeepsItsNameGeometryAndPaintAndTakesTheTurnAsItsTransform) {
    auto r = read(kShapes);
    ASSERT_TRUE(r->ok) << r->error;
    const char *const ids[] = {"r", "c", "e", "l", "pl", "pg", "p"};
    for (const char *id : ids) {
        Art *a = byId(r->doc, id);
        ASSERT_NE(a, nullptr) << id;
        // Many small steps, as a stroke turns it, each rounded to floats.
        for (int k = 0; k < 4; ++k) {
            const AIReal c = 0.9848077f, s = 0.17364818f;  // ten degrees
            ASSERT_TRUE(transformArt(*a, AIRealMatrix{c, s, -s, c, 7, -3}, 1, kTransformObjects | kScaleLines));
        }
    }
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(namespaceProblem(written), "");
    const std::string rect = tagOf(written, "r");
    // The turn about the point it turns about, before the rect's own scale.
    EXPECT_EQ(rect.rfind("<rect id='r' x='2.52' y='0' width='40' height='20' rx='3' fill='#8C8C8C' stroke='#000' "
                         "transform=\"rotate(-40 ",
                         0),
              0u)
        << rect;
    EXPECT_EQ(rect.substr(rect.size() - 15), ") scale(2 1)\"/>") << rect;
    EXPECT_EQ(tagOf(written, "c").rfind("<circle id='c' cx='150' cy='50' r='20' style='fill:#00ff00;fill-opacity:"
                                        "0.5;stroke:#000;stroke-opacity:0.96078431' transform=\"rotate(-40 ",
                                        0),
              0u)
        << tagOf(written, "c");
    EXPECT_EQ(tagOf(written, "pl").rfind("<polyline id='pl' points='10,10 30,40 50,10' fill='none' "
                                         "stroke='#123456' transform=",
                                         0),
              0u)
        << tagOf(written, "pl");
    EXPECT_EQ(tagOf(written, "p").rfind("<path id='p' d='M160 150 C170 140 190 160 180 180 Z' fill='#fedcba' transform=",
                                        0),
              0u)
        << tagOf(written, "p");
    for (const char *id : {"e", "l", "pg"}) EXPECT_EQ(tagOf(written, id).find("<path"), std::string::npos) << id;
    // Nothing else is said: no style grows, no gradient comes.
    EXPECT_EQ(count(written, "style="), 1u) << written;
    EXPECT_EQ(written.find("Gradient"), std::string::npos);

    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    for (const char *id : ids) {
        const Art *was = byId(r->doc, id), *again = byId(back->doc, id);
        ASSERT_NE(again, nullptr) << id;
        expectSameGeometry(*was, *again, id);
        EXPECT_FLOAT_EQ(again->opacity, was->opacity) << id;
        EXPECT_NEAR(again->style.stroke.width, was->style.stroke.width, 1e-5) << id;
    }
}

TEST(SvgWriteMinimal, ATransformIsComposedWithTheElementsOwnAndWrittenInTheShortestNumbers) {
    auto r = read(kShapes);
    ASSERT_TRUE(r->ok) << r->error;
    Art *a = byId(r->doc, "r");
    // Half a unit right, in the group's space, before the rect's own scale.
    ASSERT_TRUE(transformArt(*a, AIRealMatrix{1, 0, 0, 1, 0.5f, 0}, 1, kTransformObjects | kScaleLines));
    std::string rect = tagOf(svgOf(r->doc), "r");
    EXPECT_NE(rect.find(" transform=\"translate(0.5) scale(2 1)\""), std::string::npos) << rect;
    // Then a quarter turn about (20, -30): what the host did since the file
    // was read is one turn, about the point it all turns about, in exact
    // numbers with no rounding left over.
    ASSERT_TRUE(transformArt(*a, AIRealMatrix{0, 1, -1, 0, -10, -50}, 1, kTransformObjects | kScaleLines));
    rect = tagOf(svgOf(r->doc), "r");
    EXPECT_NE(rect.find(" transform=\"rotate(-90 9.75 24.75) scale(2 1)\""), std::string::npos) << rect;
    // Twice as large about the origin: neither a move nor a turn.
    auto twice = read(kShapes);
    ASSERT_TRUE(transformArt(*byId(twice->doc, "r"), AIRealMatrix{2, 0, 0, 2, 0, 0}, 1, kTransformObjects));
    rect = tagOf(svgOf(twice->doc), "r");
    EXPECT_NE(rect.find(" transform=\"matrix(2 0 0 2 10 5) scale(2 1)\""), std::string::npos) << rect;
}

TEST(SvgWriteMinimal, AScaledShapeKeepsItsStrokeWidthWhereTheFileSaysIt) {
    auto r = read(kShapes);
    ASSERT_TRUE(r->ok) << r->error;
    Art *l = byId(r->doc, "l");
    // Twice as large, the line as wide as it was (the tools scale lines by 1).
    ASSERT_TRUE(transformArt(*l, AIRealMatrix{2, 0, 0, 2, 0, 0}, 1, kTransformObjects | kScaleLines));
    const std::string written = svgOf(r->doc);
    const std::string line = tagOf(written, "l");
    EXPECT_NE(line.find(" stroke-width=\"1.5\""), std::string::npos) << line;
    EXPECT_EQ(line.find("style"), std::string::npos) << line;
    auto back = read(written);
    ASSERT_TRUE(back->ok);
    EXPECT_FLOAT_EQ(byId(back->doc, "l")->style.stroke.width, 3);
}

TEST(SvgWriteMinimal, ATransparencyChangeSaysOnlyTheOpacityAndKeepsFillAndStrokeOpacityApart) {
    auto r = read(kShapes);
    ASSERT_TRUE(r->ok) << r->error;
    Art *c = byId(r->doc, "c");
    Art *e = byId(r->doc, "e");
    ASSERT_FLOAT_EQ(c->opacity, 0.5f);  // the fill's, as the model keeps one
    c->opacity = 0.25f;
    e->opacity = 0.3f;
    const std::string written = svgOf(r->doc);
    // In the style where the circle says its paint; as an attribute for
    // the ellipse, which says it in attributes.
    EXPECT_EQ(tagOf(written, "c"), "<circle id='c' cx='150' cy='50' r='20' style=\"fill:#00ff00;fill-opacity:0.5;"
                                   "stroke:#000;stroke-opacity:0.96078431;opacity:0.5\"/>");
    EXPECT_EQ(tagOf(written, "e"), "<ellipse id='e' cx='60' cy='120' rx='20' ry='8' fill='red' opacity=\"0.3\"/>");
    auto back = read(written);
    ASSERT_TRUE(back->ok);
    EXPECT_FLOAT_EQ(byId(back->doc, "c")->opacity, 0.25f);
    EXPECT_FLOAT_EQ(byId(back->doc, "e")->opacity, 0.3f);
}

TEST(SvgWriteMinimal, NewPaintIsSaidWhereAndAsTheFileSaysPaint) {
    auto r = read(kShapes);
    ASSERT_TRUE(r->ok) << r->error;
    for (const char *id : {"c", "pg"}) {
        Art *a = byId(r->doc, id);
        a->style.fill.color.kind = kThreeColor;
        a->style.fill.color.c.rgb = {0, 0, 1};
    }
    byId(r->doc, "pg")->style.stroke.join = 1;  // round, which it did not say
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(tagOf(written, "c"), "<circle id='c' cx='150' cy='50' r='20' style=\"fill:#0000ff;fill-opacity:0.5;"
                                   "stroke:#000;stroke-opacity:0.96078431\"/>");
    EXPECT_EQ(tagOf(written, "pg"), "<polygon id='pg' points='100,100 140,100 120,140' fill=\"#0000ff\"/>");
}

TEST(SvgWriteMinimal, AReshapedShapeBecomesAPathThatKeepsItsOtherAttributes) {
    auto r = read(kShapes);
    ASSERT_TRUE(r->ok) << r->error;
    Art *pg = byId(r->doc, "pg");
    pg->segments[1].p.h += 5;
    pg->segments[1].in = pg->segments[1].out = pg->segments[1].p;
    const std::string written = svgOf(r->doc);
    const std::string tag = tagOf(written, "pg");
    EXPECT_EQ(tag.rfind("<path id='pg' fill='#abcdef' d=\"M100 100 L145 100 L120 140 Z\"", 0), 0u) << tag;
    auto back = read(written);
    ASSERT_TRUE(back->ok);
    expectSameGeometry(*pg, *byId(back->doc, "pg"), "pg");
}

// Two shapes filled with one gradient, in its user space.
const char kGradients[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
    "<defs><linearGradient id='g' gradientUnits='userSpaceOnUse' x1='0' y1='0' x2='100' y2='0'>"
    "<stop offset='0' stop-color='#f00'/><stop offset='1' stop-color='#00f'/></linearGradient>"
    "<radialGradient id='b' cx='0.5' cy='0.5' r='0.5'>"
    "<stop offset='0' stop-color='#fff'/><stop offset='1' stop-color='#000'/></radialGradient></defs>"
    "<rect id='one' x='10' y='10' width='20' height='20' fill='url(#g)'/>"
    "<rect id='two' x='50' y='10' width='20' height='20' fill='url(#g)'/>"
    "<rect id='three' x='10' y='50' width='40' height='20' fill='url(#b)'/>"
    "</svg>";

TEST(SvgWriteMinimal, AGradientThatStaysWhileItsShapeMovesGetsOneSmallCopyPerMove) {
    auto r = read(kGradients);
    ASSERT_TRUE(r->ok) << r->error;
    for (const char *id : {"one", "two", "three"})
        ASSERT_TRUE(transformArt(*byId(r->doc, id), AIRealMatrix{1, 0, 0, 1, 5, 0}, 1, kTransformObjects));
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(namespaceProblem(written), "");
    // The same move shares one copy, which refers to the gradient for the rest.
    EXPECT_EQ(count(written, "<linearGradient"), 2u) << written;
    EXPECT_EQ(count(written, "<radialGradient"), 2u) << written;
    EXPECT_NE(written.find("href=\"#g\" gradientTransform=\"translate(-5)\"/>"), std::string::npos) << written;
    // In the bounding box, the move is undone in the box's units.
    EXPECT_NE(written.find("href=\"#b\" gradientTransform=\"translate(-0.125)\"/>"), std::string::npos)
        << written;
    EXPECT_EQ(written.find("xlink:"), std::string::npos) << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    for (const char *id : {"one", "three"}) {
        const AIGradientStyle &was = byId(r->doc, id)->style.fill.color.c.b;
        const AIGradientStyle &again = byId(back->doc, id)->style.fill.color.c.b;
        ASSERT_EQ(byId(back->doc, id)->style.fill.color.kind, kGradient) << id;
        EXPECT_NEAR(again.gradientOrigin.h + again.matrix.tx, was.gradientOrigin.h + was.matrix.tx, 1e-3) << id;
        EXPECT_NEAR(again.gradientLength * again.matrix.a, was.gradientLength * was.matrix.a, 1e-3) << id;
    }
    // A gradient that moves along with its shape needs no copy.
    auto along = read(kGradients);
    ASSERT_TRUE(transformArt(*byId(along->doc, "one"), AIRealMatrix{1, 0, 0, 1, 5, 0}, 1,
                             kTransformObjects | kTransformPaints));
    EXPECT_EQ(count(svgOf(along->doc), "Gradient"), 4u);
}

TEST(SvgWriteMinimal, PaintTurnedAlongWithItsShapeFarFromTheOriginIsNotSaidAgain) {
    // Small turns about the shape's own middle, step after step, as a
    // Rotate stroke makes them: the float products drift from one turn
    // made at once by more than the linear parts' tolerance, at coordinates
    // in the thousands. Faded too, so that their paint is looked at again.
    // Shapes, a stroke and a text keep their paint as written; the file
    // gains nothing but the transforms and opacities.
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' viewBox='3000 -2000 400 400'>"
                  "<defs><linearGradient id='g' gradientUnits='userSpaceOnUse' x1='3000' y1='0' x2='3400' y2='0'>"
                  "<stop offset='0' stop-color='#f00'/><stop offset='1' stop-color='#00f'/></linearGradient>"
                  "<linearGradient id='box'><stop offset='0' stop-color='#fff'/><stop offset='1'/></linearGradient>"
                  "<pattern id='dots' width='8' height='8' patternUnits='userSpaceOnUse'>"
                  "<circle cx='4' cy='4' r='2'/></pattern></defs>"
                  "<rect id='one' x='3100' y='-1900' width='50' height='30' fill='url(#box)'/>"
                  "<path id='two' d='M3200-1800h60v40z' fill='url(#dots)' stroke='url(#g)'/>"
                  "<text id='t' x='3050' y='-1700' font-size='20' fill='url(#g)'>words</text>"
                  "</svg>");
    ASSERT_TRUE(r->ok) << r->error;
    for (const char *id : {"one", "two", "t"}) {
        Art *a = byId(r->doc, id);
        ASSERT_NE(a, nullptr) << id;
        a->opacity = 0.5f;
        AIRealRect box{};
        ASSERT_TRUE(artBounds(*a, box)) << id;
        const double cx = (double(box.left) + box.right) / 2, cy = (double(box.top) + box.bottom) / 2;
        for (int step = 0; step < 10; ++step) {
            const double t = 0.002 * (step + 1), c = std::cos(t), s = std::sin(t);
            const AIRealMatrix turn{AIReal(c), AIReal(s), AIReal(-s), AIReal(c), AIReal(cx - c * cx + s * cy),
                                    AIReal(cy - s * cx - c * cy)};
            ASSERT_TRUE(transformArt(*a, turn, 1, kTransformObjects | kTransformPaints)) << id;
        }
    }
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(namespaceProblem(written), "");
    EXPECT_EQ(count(written, "Gradient"), 4u) << written;  // the two gradients, opened and closed
    EXPECT_EQ(count(written, "<pattern"), 1u) << written;
    EXPECT_EQ(written.find("data-smear-"), std::string::npos) << written;
    EXPECT_NE(tagOf(written, "one").find("fill='url(#box)'"), std::string::npos) << written;
    EXPECT_NE(tagOf(written, "two").find("stroke='url(#g)'"), std::string::npos) << written;
    EXPECT_NE(tagOf(written, "t").find("fill='url(#g)'"), std::string::npos) << written;
    for (const char *id : {"one", "two", "t"}) EXPECT_NE(tagOf(written, id).find("rotate("), std::string::npos) << id;
}

TEST(SvgWriteMinimal, AShapeInAFlattenedGroupKeepsWhatItSaysAndTakesItsLook) {
    // The group draws nothing: the turn cannot be said in its space, and
    // need not be; the fade and the tags are written, the rect stays a rect.
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
                  "<g transform='matrix(0 0 0 0 0 0)'><rect id='r' x='1' y='2' width='30' height='20'/></g></svg>");
    ASSERT_TRUE(r->ok) << r->error;
    Art *a = byId(r->doc, "r");
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(transformArt(*a, AIRealMatrix{0.8f, 0.6f, -0.6f, 0.8f, 3, 4}, 1, kTransformObjects | kTransformPaints));
    a->opacity = 0.25f;
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(tagOf(written, "r"), "<rect id='r' x='1' y='2' width='30' height='20' opacity=\"0.25\"/>") << written;
}

TEST(SvgWriteMinimal, AShapeWrittenAnewInAMovedGroupStaysOneElement) {
    // Its own transform cannot be read, so the shape is written anew, in
    // the group's space: the way back from the root is its transform, not
    // a group around it (which would read back as one more object).
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
                  "<g id='g' transform='translate(10 20)'><rect id='r' width='5' height='5' transform='turn(3)'/>"
                  "<circle id='c' r='2' transform='scale(2)'/></g></svg>");
    ASSERT_TRUE(r->ok) << r->error;
    size_t objects = 0;
    r->doc.forEachArt([&](const Art &) { ++objects; });
    for (const char *id : {"r", "c"})
        ASSERT_TRUE(transformArt(*byId(r->doc, id), AIRealMatrix{1, 0, 0, 1, 3, -4}, 1, kTransformObjects | kTransformPaints));
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(count(written, "<g"), 1u) << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    size_t again = 0;
    back->doc.forEachArt([&](const Art &) { ++again; });
    EXPECT_EQ(again, objects) << written;
    expectSameGeometry(*byId(r->doc, "r"), *byId(back->doc, "r"), "r");
}

TEST(SvgWriteMinimal, ElementsAndReferencesAreWrittenInTheFilesNamespaceForm) {
    // SVG under a prefix, no xlink: a shape painted anew with a pattern
    // the model made, and a trail copy, stay in the file's form.
    auto r = read("<svg:svg xmlns:svg='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
                  "<svg:defs><svg:pattern id='dots' width='4' height='4' patternUnits='userSpaceOnUse'>"
                  "<svg:circle cx='2' cy='2' r='1' fill='#000'/></svg:pattern></svg:defs>"
                  "<svg:rect id='a' x='10' y='10' width='20' height='20' fill='url(#dots)'/></svg:svg>");
    ASSERT_TRUE(r->ok) << r->error;
    Art *a = byId(r->doc, "a");
    ASSERT_EQ(a->style.fill.color.kind, kPattern);
    a->style.fill.color.c.p.rotate = 30;
    a->segments[0].p.h -= 3;
    a->segments[0].in = a->segments[0].out = a->segments[0].p;
    Art *copy = r->doc.duplicate(a);
    r->doc.link(copy, kPlaceAbove, a);
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(namespaceProblem(written), "") << written;
    EXPECT_NE(written.find("<svg:path id='a'"), std::string::npos) << written;
    EXPECT_NE(written.find("<svg:path id=\"a-copy\""), std::string::npos) << written;
    EXPECT_NE(written.find("<svg:pattern id=\"smear-pattern-"), std::string::npos) << written;
    EXPECT_NE(written.find(" href=\"#dots\""), std::string::npos) << written;
    EXPECT_EQ(written.find("<path"), std::string::npos) << written;
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    EXPECT_EQ(byId(back->doc, "a-copy")->style.fill.color.kind, kPattern);
}

TEST(SvgWriteMinimal, ASwatchIsMarkedInANamespaceTheFileDeclares) {
    const std::string plain = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
                              "<rect id='a' width='5' height='5' fill='#f00'/></svg>";
    auto r = read(plain);
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_EQ(svgOf(r->doc), plain);
    AIColor red{};
    red.kind = kThreeColor;
    red.c.rgb = {1, 0, 0};
    r->doc.addSwatch("Red", red);
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(namespaceProblem(written), "") << written;
    EXPECT_NE(written.find(" xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">"), std::string::npos);
    auto back = read(written);
    ASSERT_TRUE(back->ok) << back->error;
    ASSERT_EQ(back->doc.swatches.size(), 1u);
    EXPECT_EQ(svgOf(back->doc), written);

    // A file that gives the namespace another prefix is marked with it.
    auto other = read("<svg xmlns='http://www.w3.org/2000/svg' xmlns:ink='http://www.inkscape.org/namespaces/"
                      "inkscape' viewBox='0 0 10 10'/>");
    ASSERT_TRUE(other->ok) << other->error;
    other->doc.addSwatch("Red", red);
    const std::string marked = svgOf(other->doc);
    EXPECT_EQ(namespaceProblem(marked), "") << marked;
    EXPECT_NE(marked.find("ink:swatch="), std::string::npos) << marked;
    EXPECT_EQ(marked.find("xmlns:inkscape"), std::string::npos) << marked;
}

TEST(SvgWriteMinimal, AFileInAnotherEncodingIsEditedInPlaceAndWrittenBackInIt) {
    // A title with a character beyond ASCII, which every encoding has.
    const std::string file =
        "<?xml version='1.0' encoding='ENCODING'?>\n<!DOCTYPE svg>\n<!-- kept -->\n"
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'><title>P\xC3\xA2le</title>"
        "<style>rect{stroke:none}</style><?pi here?>"
        "<rect id='a' width='5' height='5' fill='#f00'/></svg>\n";
    struct Case {
        const char *name;
        TextEncoding encoding;
        bool mark;
    };
    for (const Case &c : {Case{"UTF-16", TextEncoding::kUtf16LittleEndian, true},
                          Case{"UTF-16", TextEncoding::kUtf16BigEndian, true},
                          Case{"UTF-16", TextEncoding::kUtf16LittleEndian, false},
                          Case{"ISO-8859-1", TextEncoding::kLatin1, false}}) {
        std::string text = file;
        text.replace(text.find("ENCODING"), 8, c.name);
        const std::string bytes = fromUtf8(text, c.encoding, c.mark);
        auto r = read(bytes);
        ASSERT_TRUE(r->ok) << r->error;
        EXPECT_EQ(svgOf(r->doc), bytes) << c.name;
        byId(r->doc, "a")->opacity = 0.5f;
        std::string expected = text;
        expected.replace(expected.find("fill='#f00'"), 11, "fill='#f00' opacity=\"0.5\"");
        EXPECT_EQ(svgOf(r->doc), fromUtf8(expected, c.encoding, c.mark)) << c.name << " " << c.mark;
        // New text beyond the encoding comes as a character reference.
        byId(r->doc, "a")->id = "\xE2\x82\xAC";
        auto back = read(svgOf(r->doc));
        ASSERT_TRUE(back->ok) << back->error;
        EXPECT_NE(byId(back->doc, "\xE2\x82\xAC"), nullptr) << c.name;
    }
}

TEST(SvgWriteMinimal, ABrokenUtf16FileIsRefusedWithAReason) {
    auto odd = read(std::string("\xFF\xFE<\0s", 5));
    EXPECT_FALSE(odd->ok);
    EXPECT_NE(odd->error.find("odd number of bytes"), std::string::npos) << odd->error;
    auto lone = read(std::string("\xFF\xFE<\0\x00\xD8s\0", 8));
    EXPECT_FALSE(lone->ok);
    EXPECT_NE(lone->error.find("surrogate"), std::string::npos) << lone->error;
}

TEST(SvgWriteMinimal, TheNamespaceCheckRefusesWhatANamespaceAwareReaderRefuses) {
    EXPECT_EQ(namespaceProblem("<svg xmlns='http://www.w3.org/2000/svg' xmlns:x='urn:x'><g x:a='1'/></svg>"), "");
    EXPECT_NE(namespaceProblem("<svg xmlns='http://www.w3.org/2000/svg'><use xlink:href='#a'/></svg>"), "");
    EXPECT_NE(namespaceProblem("<svg:svg xmlns='http://www.w3.org/2000/svg'/>"), "");
    // A declaration reaches the element's descendants only.
    EXPECT_NE(namespaceProblem("<svg><g xmlns:x='urn:x'/><g x:a='1'/></svg>"), "");
    // One attribute twice, by two prefixes of one namespace.
    EXPECT_NE(namespaceProblem("<svg xmlns:x='urn:x' xmlns:y='urn:x'><g x:a='1' y:a='2'/></svg>"), "");
    EXPECT_NE(namespaceProblem("<svg><g></svg>"), "");
}

TEST(SvgWriteMinimal, ShowingAndHidingAndBlendingAreSaidAsTheFileSaysThem) {
    auto r = read(kShapes);
    ASSERT_TRUE(r->ok) << r->error;
    byId(r->doc, "pg")->userAttr |= kArtHidden;
    byId(r->doc, "c")->blendMode = 1;  // multiply
    const std::string written = svgOf(r->doc);
    EXPECT_EQ(tagOf(written, "pg"), "<polygon id='pg' points='100,100 140,100 120,140' fill='#abcdef' display=\"none\"/>");
    EXPECT_EQ(tagOf(written, "c"), "<circle id='c' cx='150' cy='50' r='20' style=\"fill:#00ff00;fill-opacity:0.5;"
                                   "stroke:#000;stroke-opacity:0.96078431;mix-blend-mode:multiply\"/>");
    auto back = read(written);
    ASSERT_TRUE(back->ok);
    EXPECT_TRUE(byId(back->doc, "pg")->userAttr & kArtHidden);
    EXPECT_EQ(byId(back->doc, "c")->blendMode, 1);
    // Shown again, it says so where it was hidden.
    byId(back->doc, "pg")->userAttr &= ~kArtHidden;
    EXPECT_NE(svgOf(back->doc).find("fill='#abcdef' display=\"inline\"/>"), std::string::npos);
}

}  // namespace
}  // namespace smear
