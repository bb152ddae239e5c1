// The SVG writer, checked on its text: it needs no XML library, so these
// tests also run in the Windows build. Reading written files back is tested
// with the reader.
#include <gtest/gtest.h>

#include <string>

#include "svg.h"
#include "svg_write_support.h"

namespace smear {
namespace {

// The value of the first `name="..."` in `text` after `from`.
std::string attrAfter(const std::string &text, const std::string &name, size_t from = 0) {
    const size_t at = text.find(" " + name + "=\"", from);
    if (at == std::string::npos) return "<missing>";
    const size_t start = at + name.size() + 3;
    return text.substr(start, text.find('"', start) - start);
}

// The element starting with `<tag` that contains `id="id"`.
std::string element(const std::string &text, const std::string &id) {
    const size_t at = text.find(" id=\"" + id + "\"");
    if (at == std::string::npos) return {};
    const size_t start = text.rfind('<', at);
    return text.substr(start, text.find('>', at) - start + 1);
}

size_t count(const std::string &text, const std::string &what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

AIPathSegment corner(AIReal h, AIReal v) {
    AIPathSegment s{};
    s.p = s.in = s.out = {h, v};
    s.corner = 1;
    return s;
}

AIColor rgb(AIReal r, AIReal g, AIReal b) {
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {r, g, b};
    return c;
}

class SvgWrite : public ::testing::Test {
protected:
    Art *add(ASInt16 type, Art *into = nullptr) {
        Art *a = doc.newArt(type);
        doc.link(a, kPlaceInsideOnTop, into ? into : doc.currentLayer()->root);
        return a;
    }
    Art *square(const std::string &id, Art *into = nullptr) {
        Art *a = add(kPathArt, into);
        a->id = id;
        a->segments = {corner(0, 0), corner(10, 0), corner(10, 10), corner(0, 10)};
        a->closed = true;
        a->style.fillPaint = 1;
        a->style.fill.color = rgb(1, 0, 0);
        return a;
    }
    Document doc;
};

TEST_F(SvgWrite, PathsAreAbsoluteFlippedAndInPaintOrder) {
    Art *a = square("first");
    Art *b = square("second");
    b->segments[2].in = {12, 8};  // one curved side
    b->style.strokePaint = 1;
    b->style.stroke.color = rgb(0, 0, 1);
    b->style.stroke.width = 2.5f;
    b->style.stroke.cap = 1;
    b->style.stroke.join = 2;
    b->style.stroke.miterLimit = 10;
    b->style.stroke.dashCount = 2;
    b->style.stroke.dashes[0] = 3;
    b->style.stroke.dashes[1] = 1.5f;
    b->style.stroke.dashOffset = 1;
    b->style.evenodd = 1;
    (void)a;
    const std::string svg = svgOf(doc);
    EXPECT_LT(svg.find("id=\"first\""), svg.find("id=\"second\""));
    EXPECT_EQ(attrAfter(element(svg, "first"), "d"), "M0 0 L10 0 L10 -10 L0 -10 Z");
    EXPECT_EQ(attrAfter(element(svg, "second"), "d"), "M0 0 L10 0 C10 0 12 -8 10 -10 L0 -10 Z");
    const std::string e = element(svg, "second");
    EXPECT_EQ(attrAfter(e, "fill"), "#ff0000");
    EXPECT_EQ(attrAfter(e, "fill-rule"), "evenodd");
    EXPECT_EQ(attrAfter(e, "stroke"), "#0000ff");
    EXPECT_EQ(attrAfter(e, "stroke-width"), "2.5");
    EXPECT_EQ(attrAfter(e, "stroke-linecap"), "round");
    EXPECT_EQ(attrAfter(e, "stroke-linejoin"), "bevel");
    EXPECT_EQ(attrAfter(e, "stroke-miterlimit"), "10");
    EXPECT_EQ(attrAfter(e, "stroke-dasharray"), "3 1.5");
    EXPECT_EQ(attrAfter(e, "stroke-dashoffset"), "1");
    EXPECT_EQ(svg.find("transform"), std::string::npos);
    EXPECT_EQ(attrAfter(element(svg, "first"), "stroke"), "<missing>");
}

TEST_F(SvgWrite, RootKeepsTheReadViewportOrDerivesOneFromTheArtboard) {
    doc.artboard = {10, 200, 110, 50};
    std::string svg = svgOf(doc);
    EXPECT_EQ(attrAfter(svg, "viewBox"), "10 -200 100 150");
    EXPECT_EQ(attrAfter(svg, "width"), "100");
    EXPECT_EQ(attrAfter(svg, "height"), "150");
    doc.svgViewBox = "0 0 24 24";
    doc.svgWidth = "2cm";
    svg = svgOf(doc);
    EXPECT_EQ(attrAfter(svg, "viewBox"), "0 0 24 24");
    EXPECT_EQ(attrAfter(svg, "width"), "2cm");
    EXPECT_EQ(attrAfter(svg, "height"), "<missing>");
    EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);
}

TEST_F(SvgWrite, ColoursOfEveryKind) {
    AIColor gray{};
    gray.kind = kGrayColor;
    gray.c.g.gray = 0.25f;  // ink: 75% light
    AIColor process{};
    process.kind = kFourColor;
    process.c.f = {1, 0, 0, 0.5f};
    CustomColor *spot = doc.addCustomColor("Signal red", rgb(1, 0, 0));
    AIColor custom{};
    custom.kind = kCustomColor;
    custom.c.c.color = reinterpret_cast<AICustomColorHandle>(spot);
    custom.c.c.tint = 0.5f;
    AIColor none{};
    none.kind = kNoneColor;
    const std::pair<AIColor, const char *> cases[] = {
        {gray, "#bfbfbf"}, {process, "#008080"}, {custom, "#ff8080"}, {none, "none"}, {rgb(0, 0.5f, 2), "#0080ff"}};
    int k = 0;
    for (const auto &c : cases) square("c" + std::to_string(k++))->style.fill.color = c.first;
    Art *unfilled = square("unfilled");
    unfilled->style.fillPaint = 0;
    const std::string svg = svgOf(doc);
    k = 0;
    for (const auto &c : cases) EXPECT_EQ(attrAfter(element(svg, "c" + std::to_string(k++)), "fill"), c.second);
    EXPECT_EQ(attrAfter(element(svg, "unfilled"), "fill"), "none");
}

TEST_F(SvgWrite, OpacityBlendVisibilityAndTags) {
    Art *a = square("a");
    a->opacity = 0.25f;
    a->blendMode = 3;
    a->userAttr |= kArtHidden;
    a->tags.set("smearcraft", "string", "1");
    a->tags.set("Odd Name:x", "string", "<&\"quoted\">\nline");
    Art *b = square("b");
    b->blendMode = 15;
    const std::string svg = svgOf(doc);
    const std::string e = element(svg, "a");
    EXPECT_EQ(attrAfter(e, "opacity"), "0.25");
    EXPECT_EQ(attrAfter(e, "style"), "mix-blend-mode:overlay");
    EXPECT_EQ(attrAfter(e, "display"), "none");
    EXPECT_EQ(attrAfter(e, "data-smearcraft"), "1");
    EXPECT_EQ(attrAfter(e, "data-odd-name-x"), "&lt;&amp;&quot;quoted&quot;&gt;&#10;line");
    EXPECT_EQ(attrAfter(element(svg, "b"), "style"), "mix-blend-mode:luminosity");
    EXPECT_EQ(attrAfter(element(svg, "b"), "opacity"), "<missing>");
}

TEST_F(SvgWrite, CompoundPathIsOnePathThatNamesItsMembers) {
    Art *compound = add(kCompoundPathArt);
    compound->id = "donut";
    Art *outer = square("outer", compound);
    Art *inner = square("", compound);
    inner->segments = {corner(2, 2), corner(8, 2), corner(8, 8)};
    inner->tags.set("smearcraft", "string", "7");
    outer->style.evenodd = 1;
    const std::string svg = svgOf(doc);
    EXPECT_EQ(count(svg, "<path"), 1u);
    const std::string e = element(svg, "donut");
    EXPECT_EQ(attrAfter(e, "d"), "M0 0 L10 0 L10 -10 L0 -10 Z M2 -2 L8 -2 L8 -8 Z");
    EXPECT_EQ(attrAfter(e, "fill-rule"), "evenodd");
    EXPECT_EQ(attrAfter(e, "data-children"), "outer ~");
    EXPECT_EQ(attrAfter(e, "data-child1-smearcraft"), "7");
    // Members without ids (as read from most files) need no list.
    outer->id.clear();
    EXPECT_EQ(attrAfter(element(svgOf(doc), "donut"), "data-children"), "<missing>");
}

TEST_F(SvgWrite, GradientsArePlacedInDefsAndSharedWhenIdentical) {
    Gradient *g = doc.addGradient("Sunset");
    AIColor white = rgb(1, 1, 1);
    g->stops = {{0, rgb(1, 0.5f, 0), 1}, {1, white, 0.5f}};
    AIColor fill{};
    fill.kind = kGradient;
    fill.c.b.gradient = reinterpret_cast<AIGradientHandle>(g);
    fill.c.b.gradientOrigin = {10, 20};
    fill.c.b.gradientAngle = 90;
    fill.c.b.gradientLength = 50;
    fill.c.b.matrix = {1, 0, 0, 1, 0, 0};
    square("one")->style.fill.color = fill;
    square("two")->style.fill.color = fill;
    fill.c.b.matrix = {2, 0, 0, 1, 5, 5};
    square("three")->style.fill.color = fill;
    Gradient *r = doc.addGradient("Glow");
    r->radial = true;
    r->stops = g->stops;
    AIColor glow{};
    glow.kind = kGradient;
    glow.c.b.gradient = reinterpret_cast<AIGradientHandle>(r);
    glow.c.b.gradientOrigin = {0, 0};
    glow.c.b.gradientAngle = 0;
    glow.c.b.gradientLength = 10;
    glow.c.b.hiliteAngle = 90;
    glow.c.b.hiliteLength = 0.5f;
    glow.c.b.matrix = {1, 0, 0, 1, 0, 0};
    square("four")->style.fill.color = glow;

    const std::string svg = svgOf(doc);
    EXPECT_EQ(count(svg, "<linearGradient"), 2u);
    const std::string url = attrAfter(element(svg, "one"), "fill");
    EXPECT_EQ(url, attrAfter(element(svg, "two"), "fill"));
    EXPECT_NE(url, attrAfter(element(svg, "three"), "fill"));
    const std::string id = url.substr(5, url.size() - 6);
    const std::string def = element(svg, id);
    EXPECT_EQ(attrAfter(def, "gradientUnits"), "userSpaceOnUse");
    EXPECT_EQ(attrAfter(def, "x1"), "10");
    EXPECT_EQ(attrAfter(def, "y1"), "-20");
    EXPECT_NEAR(std::stod(attrAfter(def, "x2")), 10, 1e-5);
    EXPECT_EQ(attrAfter(def, "y2"), "-70");
    EXPECT_EQ(attrAfter(def, "data-name"), "Sunset");
    const size_t at = svg.find(" id=\"" + id + "\"");
    EXPECT_EQ(attrAfter(svg, "stop-color", at), "#ff8000");
    EXPECT_EQ(attrAfter(svg, "stop-opacity", at), "0.5");
    const std::string three = attrAfter(element(svg, "three"), "fill");
    EXPECT_EQ(attrAfter(element(svg, three.substr(5, three.size() - 6)), "gradientTransform"), "matrix(2 0 0 1 5 -5)");
    const std::string four = attrAfter(element(svg, "four"), "fill");
    const std::string radial = element(svg, four.substr(5, four.size() - 6));
    EXPECT_EQ(radial.compare(0, 15, "<radialGradient"), 0);
    EXPECT_EQ(attrAfter(radial, "r"), "10");
    EXPECT_NEAR(std::stod(attrAfter(radial, "fx")), 0, 1e-5);
    EXPECT_EQ(attrAfter(radial, "fy"), "-5");
}

TEST_F(SvgWrite, PatternsCarryScaleAndRotation) {
    Pattern *p = doc.addPattern("Dots");
    p->tile = {0, 0, 8, -4};
    p->color = rgb(0, 1, 0);
    AIColor fill{};
    fill.kind = kPattern;
    fill.c.p.pattern = reinterpret_cast<AIPatternHandle>(p);
    fill.c.p.scale = {200, 50};
    fill.c.p.rotate = 30;
    fill.c.p.transform = {1, 0, 0, 1, 0, 0};
    square("dotted")->style.fill.color = fill;
    const std::string svg = svgOf(doc);
    const std::string url = attrAfter(element(svg, "dotted"), "fill");
    const std::string def = element(svg, url.substr(5, url.size() - 6));
    EXPECT_EQ(attrAfter(def, "patternTransform"), "rotate(-30) scale(2 0.5)");
    EXPECT_EQ(attrAfter(def, "width"), "8");
    EXPECT_EQ(attrAfter(def, "height"), "4");
    EXPECT_EQ(attrAfter(def, "data-name"), "Dots");
    EXPECT_EQ(attrAfter(svg, "fill", svg.find(def)), "#00ff00");

    // A tile the file drew is referred to, not redrawn.
    doc.svgDefinitions["Dots"] = "<pattern id=\"Dots\" width=\"1\" height=\"1\"><rect width=\"1\" height=\"1\"/></pattern>";
    const std::string again = svgOf(doc);
    EXPECT_NE(again.find(doc.svgDefinitions["Dots"]), std::string::npos);
    const std::string u = attrAfter(element(again, "dotted"), "fill");
    EXPECT_EQ(attrAfter(element(again, u.substr(5, u.size() - 6)), "xlink:href"), "#Dots");
}

TEST_F(SvgWrite, MeshIsAMeshGradientFillingItsOutlineWithExactData) {
    Art *mesh = add(kMeshArt);
    mesh->id = "m";
    mesh->meshI = 1;
    mesh->meshJ = 2;
    mesh->vertices.resize(6);
    for (int k = 0; k < 6; ++k) {
        mesh->vertices[size_t(k)].point = {AIReal(10 * (k % 3)) + 0.1f, AIReal(-10 * (k / 3))};
        mesh->vertices[size_t(k)].color = rgb(AIReal(k) / 5, 0, 1);
    }
    const std::string svg = svgOf(doc);
    const std::string g = element(svg, "m");
    ASSERT_EQ(g.substr(0, 5), "<path");
    EXPECT_EQ(attrAfter(g, "data-mesh"), "1x2");
    EXPECT_EQ(attrAfter(g, "data-mesh-points"), "0.1,0 10.1,0 20.1,0 0.1,10 10.1,10 20.1,10");
    EXPECT_EQ(attrAfter(g, "data-mesh-colors").substr(0, 22), "rgb:0,0,1 rgb:0.2,0,1 ");
    // No wireframe: the outline of the vertex grid, filled with the mesh
    // gradient and, where meshes are not drawn, the vertices' mean colour.
    EXPECT_EQ(count(svg, "<circle"), 0u);
    EXPECT_EQ(attrAfter(g, "d"), "M0.1 0 L0.1 10 L10.1 10 L20.1 10 L20.1 0 L10.1 0 Z");
    const std::string fill = attrAfter(g, "fill");
    ASSERT_EQ(fill.substr(0, 5), "url(#");
    const std::string id = fill.substr(5, fill.find(')') - 5);
    EXPECT_EQ(fill.substr(fill.find(')')), ") #8000ff");
    const std::string def = element(svg, id);
    EXPECT_EQ(def.substr(0, 13), "<meshgradient");
    EXPECT_EQ(count(svg, "<meshrow>"), 2u);
    EXPECT_EQ(count(svg, "<meshpatch>"), 2u);
    EXPECT_EQ(count(svg, "<stop "), 7u);
}

TEST_F(SvgWrite, LayersTextImagesAndSymbols) {
    square("bottom");
    Layer *top = doc.addLayer("Top & more");
    top->visible = false;
    Art *text = add(kTextArt);
    text->id = "t";
    text->text = "a < b";
    text->fontSize = 10;
    text->frame = {5, 8, 30, -2};
    text->style.fillPaint = 1;
    Art *image = add(kPlacedArt);
    image->id = "i";
    image->href = "photo.png";
    image->frame = {0, 0, 40, -20};
    image->matrix = {1, 0, 0, 1, 100, 50};
    Art *symbol = add(kSymbolArt);
    symbol->id = "s";
    symbol->href = "star";
    const std::string svg = svgOf(doc);
    EXPECT_EQ(count(svg, "data-layer=\""), 2u);
    EXPECT_NE(svg.find("data-layer=\"Top &amp; more\" display=\"none\""), std::string::npos);
    EXPECT_NE(svg.find(">a &lt; b</text>"), std::string::npos);
    const std::string t = element(svg, "t");
    EXPECT_EQ(attrAfter(t, "x"), "5");
    EXPECT_EQ(attrAfter(t, "y"), "0");  // baseline: a fifth of the size above the bottom
    EXPECT_EQ(attrAfter(t, "font-size"), "10");
    const std::string i = element(svg, "i");
    EXPECT_EQ(attrAfter(i, "xlink:href"), "photo.png");
    EXPECT_EQ(attrAfter(i, "width"), "40");
    EXPECT_EQ(attrAfter(i, "transform"), "matrix(1 0 0 1 100 -50)");
    EXPECT_EQ(attrAfter(element(svg, "s"), "xlink:href"), "#star");
}

}  // namespace
}  // namespace smear
