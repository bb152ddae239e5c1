// The SVG writer's meshes, previews and kept path transforms, checked on the
// text (no XML library: these run in the Windows build too). Reading the
// files back is tested in svg_read_mesh_test.cpp and
// svg_read_transform_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "svg.h"
#include "svg_write_support.h"

namespace smear {
namespace {

std::string attr(const std::string &element, const std::string &name) {
    const size_t at = element.find(" " + name + "=\"");
    if (at == std::string::npos) return "<missing>";
    const size_t start = at + name.size() + 3;
    return element.substr(start, element.find('"', start) - start);
}

// The start tag of the element with `id`.
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

// The text between `open` and the matching `close` after `from`.
std::string between(const std::string &text, const std::string &open, const std::string &close, size_t &from) {
    const size_t a = text.find(open, from);
    if (a == std::string::npos) return from = std::string::npos, std::string();
    const size_t b = text.find(close, a);
    from = b + close.size();
    return text.substr(a, b - a);
}

struct Stop {
    std::string path, colour;
};
using Rows = std::vector<std::vector<std::vector<Stop>>>;

// Every mesh row, patch and stop of the (one) mesh gradient.
Rows meshRows(const std::string &svg) {
    Rows rows;
    size_t at = 0;
    for (;;) {
        const std::string row = between(svg, "<meshrow>", "</meshrow>", at);
        if (at == std::string::npos) break;
        rows.emplace_back();
        size_t p = 0;
        for (;;) {
            const std::string patch = between(row, "<meshpatch>", "</meshpatch>", p);
            if (p == std::string::npos) break;
            rows.back().emplace_back();
            size_t s = 0;
            for (;;) {
                const std::string stop = between(patch, "<stop ", "/>", s);
                if (s == std::string::npos) break;
                const std::string style = attr(stop, "style");
                rows.back().back().push_back(
                    {attr(stop, "path"), style == "<missing>" ? "" : style.substr(std::string("stop-color:").size())});
            }
        }
    }
    return rows;
}

AIColor rgb(AIReal r, AIReal g, AIReal b) {
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {r, g, b};
    return c;
}

std::string hex(int r, int g, int b) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", r, g, b);
    return buf;
}

AIPathSegment corner(AIReal h, AIReal v) {
    AIPathSegment s{};
    s.p = s.in = s.out = {h, v};
    s.corner = 1;
    return s;
}

class SvgWriteMesh : public ::testing::Test {
protected:
    // A mesh of I x J patches; vertex (i, j) at SVG (10 i + j, 8 j + i / 2),
    // its colour red i / 4, green j / 2, blue 1.
    Art *mesh(ASInt32 I, ASInt32 J) {
        Art *m = doc.newArt(kMeshArt);
        doc.link(m, kPlaceInsideOnTop, doc.currentLayer()->root);
        m->id = "m";
        m->meshI = I;
        m->meshJ = J;
        m->vertices.resize(size_t(I + 1) * size_t(J + 1));
        for (ASInt32 i = 0; i <= I; ++i)
            for (ASInt32 j = 0; j <= J; ++j) {
                m->vertex(i, j).point = {AIReal(10 * i + j), -AIReal(8 * j + 0.5 * i)};
                m->vertex(i, j).color = rgb(AIReal(i) / 4, AIReal(j) / 2, 1);
            }
        return m;
    }
    Document doc;
};

// Straight edges: "c" with the handles at a third and two thirds of the
// way; returns the offset to the end.
void expectStraightEdge(const std::string &path, double dx, double dy) {
    ASSERT_EQ(path.substr(0, 2), "c ") << path;
    double v[6];
    const char *p = path.c_str() + 2;
    for (double &x : v) {
        char *end = nullptr;
        x = std::strtod(p, &end);
        ASSERT_NE(end, p) << path;
        p = end + (*end == ',' || *end == ' ');
    }
    EXPECT_NEAR(v[4], dx, 1e-4) << path;
    EXPECT_NEAR(v[5], dy, 1e-4) << path;
    EXPECT_NEAR(v[0], dx / 3, 1e-4) << path;
    EXPECT_NEAR(v[1], dy / 3, 1e-4) << path;
    EXPECT_NEAR(v[2], 2 * dx / 3, 1e-4) << path;
    EXPECT_NEAR(v[3], 2 * dy / 3, 1e-4) << path;
}

TEST_F(SvgWriteMesh, StopsGiveEachEdgeOnceAndEachCornerColourOnce) {
    Art *m = mesh(3, 2);
    const std::string svg = svgOf(doc);
    const Rows rows = meshRows(svg);
    // J = 2 rows of I = 3 patches.
    ASSERT_EQ(rows.size(), 2u);
    const size_t expectedStops[2][3] = {{4, 3, 3}, {3, 2, 2}};
    // Which stops carry the colour of the corner their edge starts at.
    const std::vector<std::vector<bool>> coloured[2] = {
        {{true, true, true, true}, {false, true, true}, {false, true, true}},
        {{false, true, true}, {false, true}, {false, true}}};
    for (int r = 0; r < 2; ++r) {
        ASSERT_EQ(rows[r].size(), 3u) << "row " << r;
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE("patch " + std::to_string(r) + "," + std::to_string(c));
            const std::vector<Stop> &stops = rows[r][c];
            ASSERT_EQ(stops.size(), expectedStops[r][c]);
            // Clockwise from the top left: top, right, bottom, left; a
            // patch after the first of its row or below the first row
            // leaves out the edge its neighbour gave.
            const int corners[5][2] = {{c, r}, {c + 1, r}, {c + 1, r + 1}, {c, r + 1}, {c, r}};
            const int first = (r > 0) ? 1 : 0;
            for (size_t k = 0; k < stops.size(); ++k) {
                const int *from = corners[first + k], *to = corners[first + k + 1];
                const AIRealPoint a = m->vertex(from[0], from[1]).point, b = m->vertex(to[0], to[1]).point;
                expectStraightEdge(stops[k].path, double(b.h) - a.h, -(double(b.v) - a.v));
                const std::string shown = hex(int(std::lround(from[0] / 4.0 * 255)), int(std::lround(from[1] / 2.0 * 255)), 255);
                EXPECT_EQ(stops[k].colour, coloured[r][c][k] ? shown : "") << "stop " << k;
            }
        }
    }
    // The gradient starts at the first vertex, in the file's user space.
    const std::string fill = attr(element(svg, "m"), "fill");
    const std::string def = element(svg, fill.substr(5, fill.find(')') - 5));
    EXPECT_EQ(def.substr(0, 13), "<meshgradient");
    EXPECT_EQ(attr(def, "gradientUnits"), "userSpaceOnUse");
    EXPECT_EQ(attr(def, "x"), "0");
    EXPECT_EQ(attr(def, "y"), "0");
}

TEST_F(SvgWriteMesh, TheMeshDrawnIsTheOneTheDataKeeps) {
    Art *m = mesh(1, 1);
    m->opacity = 0.5f;
    m->blendMode = 1;
    m->tags.set("smearcraft", "string", "1");
    m->vertex(1, 1).color.kind = kFourColor;
    m->vertex(1, 1).color.c.f = {0, 0, 0, 1};  // black ink
    const std::string svg = svgOf(doc);
    const std::string path = element(svg, "m");
    EXPECT_EQ(path.substr(0, 5), "<path");
    EXPECT_EQ(attr(path, "opacity"), "0.5");
    EXPECT_EQ(attr(path, "style"), "mix-blend-mode:multiply");
    EXPECT_EQ(attr(path, "data-smearcraft"), "1");
    EXPECT_EQ(attr(path, "data-mesh"), "1x1");
    EXPECT_EQ(attr(path, "data-mesh-points"), "0,0 1,8 10,0.5 11,8.5");
    EXPECT_EQ(attr(path, "data-mesh-colors"), "rgb:0,0,1 rgb:0,0.5,1 rgb:0.25,0,1 cmyk:0,0,0,1");
    EXPECT_EQ(attr(path, "stroke"), "<missing>");
    // The stops show the ink as black; the fallback is the mean.
    EXPECT_EQ(meshRows(svg)[0][0][2].colour, "#000000");
    EXPECT_EQ(attr(path, "fill").substr(attr(path, "fill").find(')')), ") #1020bf");
}

TEST_F(SvgWriteMesh, AMeshWithoutPatchesKeepsItsDataInAGroup) {
    Art *m = doc.newArt(kMeshArt);
    doc.link(m, kPlaceInsideOnTop, doc.currentLayer()->root);
    m->id = "flat";
    m->meshI = 0;
    m->meshJ = 2;
    m->vertices.resize(3);
    for (size_t k = 0; k < 3; ++k) m->vertices[k].point = {AIReal(k), 0};
    for (const std::string &svg : {svgOf(doc), previewOf(doc)}) {
        const std::string g = element(svg, "flat");
        EXPECT_EQ(g.substr(0, 2), "<g");
        EXPECT_EQ(attr(g, "data-mesh"), "0x2");
        EXPECT_EQ(attr(g, "data-mesh-points"), "0,0 1,0 2,0");
        EXPECT_EQ(count(svg, "meshgradient"), 0u);
    }
}

TEST_F(SvgWriteMesh, PreviewColoursEachPatchBilinearlyAndLeavesOtherArtAlone) {
    Art *m = mesh(1, 1);
    // Corners: (0, 0) red, (1, 0) green, (1, 1) blue, (0, 1) white, on a
    // 12 x 12 square.
    const AIColor colours[4] = {rgb(1, 0, 0), rgb(0, 1, 0), rgb(0, 0, 1), rgb(1, 1, 1)};
    const int at[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int k = 0; k < 4; ++k) {
        m->vertex(at[k][0], at[k][1]).color = colours[k];
        m->vertex(at[k][0], at[k][1]).point = {AIReal(12 * at[k][0]), -AIReal(12 * at[k][1])};
    }
    Art *square = doc.newArt(kPathArt);
    doc.link(square, kPlaceInsideOnTop, doc.currentLayer()->root);
    square->id = "square";
    square->segments = {corner(20, 0), corner(30, 0), corner(30, -10)};
    square->closed = true;

    const std::string svg = previewOf(doc);
    EXPECT_EQ(count(svg, "meshgradient"), 0u);
    EXPECT_EQ(count(svg, "data-mesh"), 0u);
    EXPECT_EQ(element(svg, "square"), element(svgOf(doc), "square"));
    const size_t group = svg.find(element(svg, "m"));
    ASSERT_NE(group, std::string::npos);
    const std::string inside = svg.substr(group, svg.find("</g>", group) - group);
    ASSERT_EQ(count(inside, "<path"), 36u);  // six by six quads
    // The first quad: the top left sixth each way, coloured as at its
    // centre (1/12, 1/12): mostly red, a little green, white and blue.
    const size_t first = inside.find("<path");
    const std::string quad = inside.substr(first, inside.find("/>", first) - first);
    EXPECT_EQ(attr(quad, "d"), "M0 0 L2 0 L2 2 L0 2 Z");
    EXPECT_EQ(attr(quad, "fill"), "#ea2715");
    EXPECT_EQ(attr(quad, "stroke"), "#ea2715");
    // The last quad sits at the bottom right, mostly blue.
    const size_t last = inside.rfind("<path");
    const std::string end = inside.substr(last, inside.find("/>", last) - last);
    EXPECT_EQ(attr(end, "d"), "M10 10 L12 10 L12 12 L10 12 Z");
    EXPECT_EQ(attr(end, "fill"), "#1527ea");
}

TEST_F(SvgWriteMesh, ALargeMeshPreviewsWithFewerQuadsPerPatch) {
    mesh(200, 100);
    const std::string svg = previewOf(doc);
    // 20,000 patches: at most 200,000 quads, so three by three.
    EXPECT_EQ(count(svg, "<path"), 200u * 100u * 9u);
}

// ---- Paths written in the coordinates of their kept transform

class SvgWriteKeptTransform : public SvgWriteMesh {
protected:
    // A 20 x 20 square at SVG (10, 5) .. (30, 25), kept as drawn by
    // matrix(2 0 0 2 10 5) from a 10 x 10 square at the origin.
    Art *square() {
        Art *a = doc.newArt(kPathArt);
        doc.link(a, kPlaceInsideOnTop, doc.currentLayer()->root);
        a->id = "p";
        a->segments = {corner(10, -5), corner(30, -5), corner(30, -25), corner(10, -25)};
        a->closed = true;
        a->svgTransform = {2, 0, 0, 2, 10, -5};
        a->style.fillPaint = 0;
        a->style.strokePaint = 1;
        a->style.stroke.color = rgb(0, 0, 0);
        a->style.stroke.width = 3;
        a->style.stroke.dashCount = 2;
        a->style.stroke.dashes[0] = 4;
        a->style.stroke.dashes[1] = 1;
        return a;
    }
};

TEST_F(SvgWriteKeptTransform, PathDataAndLengthsAreInTheElementsOwnUnits) {
    square();
    const std::string p = element(svgOf(doc), "p");
    EXPECT_EQ(attr(p, "transform"), "matrix(2 0 0 2 10 5)");
    EXPECT_EQ(attr(p, "d"), "M0 0 L10 0 L10 10 L0 10 Z");
    EXPECT_EQ(attr(p, "stroke-width"), "1.5");
    EXPECT_EQ(attr(p, "stroke-dasharray"), "2 0.5");
}

TEST_F(SvgWriteKeptTransform, PaintServersAreMappedIntoTheElementsSpace) {
    Art *a = square();
    Gradient *g = doc.addGradient("ramp");
    g->stops = {{0, rgb(1, 0, 0), 1}, {1, rgb(0, 0, 1), 1}};
    a->style.fillPaint = 1;
    a->style.fill.color.kind = kGradient;
    a->style.fill.color.c.b = AIGradientStyle{};
    a->style.fill.color.c.b.gradient = reinterpret_cast<AIGradientHandle>(g);
    a->style.fill.color.c.b.gradientLength = 20;
    a->style.fill.color.c.b.matrix = {1, 0, 0, 1, 0, 0};
    const std::string svg = svgOf(doc);
    const std::string fill = attr(element(svg, "p"), "fill");
    const std::string def = element(svg, fill.substr(5, fill.size() - 6));
    // The gradient's user space is the element's: the inverse map first.
    EXPECT_EQ(attr(def, "gradientTransform"), "matrix(0.5 0 0 0.5 -5 -2.5)");
}

TEST_F(SvgWriteKeptTransform, ATransformThatCannotBeKeptIsLeftOut) {
    Art *a = square();
    a->svgTransform = {0, 0, 0, 0, 3, 4};  // flattens everything: no inverse
    const std::string p = element(svgOf(doc), "p");
    EXPECT_EQ(attr(p, "transform"), "<missing>");
    EXPECT_EQ(attr(p, "d"), "M10 5 L30 5 L30 25 L10 25 Z");
    EXPECT_EQ(attr(p, "stroke-width"), "3");
}

TEST_F(SvgWriteKeptTransform, CopiesOfTheArtAndTheDocumentKeepIt) {
    Art *a = square();
    const Art *copy = doc.duplicate(a);
    EXPECT_EQ(copy->svgTransform.a, 2);
    EXPECT_EQ(copy->svgTransform.ty, -5);
    const auto clone = doc.clone();
    EXPECT_EQ(element(svgOf(*clone), "p"), element(svgOf(doc), "p"));
}

}  // namespace
}  // namespace smear
