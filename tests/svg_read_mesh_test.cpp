// Gradient meshes through SVG: a mesh an SVG editor drew is read as mesh
// art, painted with both mesh tools, written as a mesh gradient an editor
// reads and read back to the same values; an editor's change to a written
// mesh wins over the kept data; files of the earlier group form still read;
// malformed meshes are reported and skipped.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "brush_support.h"
#include "svg.h"
#include "svg_read_support.h"

namespace smear {
namespace {

std::vector<Art *> meshes(const Document &doc) {
    std::vector<Art *> out;
    doc.forEachArt([&](const Art &a) {
        if (a.type == kMeshArt) out.push_back(const_cast<Art *>(&a));
    });
    return out;
}

std::string problems(const SvgReadReport &r) {
    std::string out;
    for (const std::string &p : r.problems) out += p + "\n";
    return out;
}

AIColor rgb(AIReal r, AIReal g, AIReal b) {
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {r, g, b};
    return c;
}

AIColor cmyk(AIReal c, AIReal m, AIReal y, AIReal k) {
    AIColor out{};
    out.kind = kFourColor;
    out.c.f = {c, m, y, k};
    return out;
}

// The colour as #rrggbb, for RGB colours read from stops.
std::string hexOf(const AIColor &c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", int(std::lround(c.c.rgb.red * 255)),
                  int(std::lround(c.c.rgb.green * 255)), int(std::lround(c.c.rgb.blue * 255)));
    return buf;
}

bool sameColour(const AIColor &a, const AIColor &b) {
    return a.kind == b.kind && a.c.f.cyan == b.c.f.cyan && a.c.f.magenta == b.c.f.magenta &&
           a.c.f.yellow == b.c.f.yellow && a.c.f.black == b.c.f.black;
}

// Every vertex exactly alike, point and colour.
void expectSameMesh(const Art &a, const Art &b) {
    ASSERT_EQ(a.meshI, b.meshI);
    ASSERT_EQ(a.meshJ, b.meshJ);
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    for (size_t k = 0; k < a.vertices.size(); ++k) {
        EXPECT_EQ(a.vertices[k].point.h, b.vertices[k].point.h) << "vertex " << k;
        EXPECT_EQ(a.vertices[k].point.v, b.vertices[k].point.v) << "vertex " << k;
        EXPECT_TRUE(sameColour(a.vertices[k].color, b.vertices[k].color)) << "vertex " << k;
    }
}

size_t occurrences(const std::string &text, const std::string &what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The file without the writer's mesh data: what an editor that drops
// unknown attributes would leave.
std::string withoutMeshData(std::string svg) {
    for (size_t at = svg.find(" data-mesh"); at != std::string::npos; at = svg.find(" data-mesh", at)) {
        const size_t end = svg.find('"', svg.find('"', at) + 1);
        svg.erase(at, end + 1 - at);
    }
    return svg;
}

// The mesh gradient element of a written file.
// The last mesh gradient of the file: a painted mesh is written anew after
// the file's own definitions, which stay as they were.
std::string meshGradientOf(const std::string &svg) {
    const size_t a = svg.rfind("<meshgradient"), b = svg.rfind("</meshgradient>");
    return a == std::string::npos || b == std::string::npos ? std::string() : svg.substr(a, b + 15 - a);
}

// ---- A mesh as an SVG editor saves it, written by hand: a rect filled
// with a mesh gradient that takes its rows by href from another and moves
// them 5 to the right. Three patches in each of two rows over the rect
// x 15..105, y 20..60; the middle corner of the first column is pulled to
// (47, 43); some edges are curved, some straight (l, L, C).
const char *const kEditorMesh = R"SVG(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<svg
   width="120mm"
   height="80mm"
   viewBox="0 0 120 80"
   version="1.1"
   id="svg5"
   inkscape:version="1.2.2 (b0a8486541, 2022-12-01)"
   sodipodi:docname="mesh.svg"
   xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
   xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
   xmlns:xlink="http://www.w3.org/1999/xlink"
   xmlns="http://www.w3.org/2000/svg"
   xmlns:svg="http://www.w3.org/2000/svg">
  <sodipodi:namedview
     id="namedview7"
     pagecolor="#ffffff"
     bordercolor="#666666"
     inkscape:document-units="mm"
     inkscape:zoom="1.4" />
  <defs
     id="defs2">
    <meshgradient
       inkscape:collect="always"
       id="meshgradient1"
       gradientUnits="userSpaceOnUse"
       x="10"
       y="20">
      <meshrow id="meshrow1">
        <meshpatch id="meshpatch1">
          <stop path="c 10,-5  20,-5  30,0" style="stop-color:#ff0000;stop-opacity:1" id="stop1" />
          <stop path="l 2,23" style="stop-color:#00ff00;stop-opacity:1" id="stop2" />
          <stop path="c -10,0  -22,-3  -32,-3" style="stop-color:#0000ff;stop-opacity:1" id="stop3" />
          <stop path="L 10,20" style="stop-color:#ffff00;stop-opacity:1" id="stop4" />
        </meshpatch>
        <meshpatch id="meshpatch2">
          <stop path="c 10,0  20,0  30,0" id="stop5" />
          <stop path="c 0,6.667  0,13.333  0,20" style="stop-color:#ff00ff;stop-opacity:1" id="stop6" />
          <stop path="l -28,3" style="stop-color:#00ffff;stop-opacity:1" id="stop7" />
        </meshpatch>
        <meshpatch id="meshpatch3">
          <stop path="C 80,20  90,20  100,20" id="stop8" />
          <stop path="c 0,6.667  0,13.333  0,20" style="stop-color:#ffffff;stop-opacity:1" id="stop9" />
          <stop path="c -10,0  -20,0  -30,0" style="stop-color:#000000;stop-opacity:1" id="stop10" />
        </meshpatch>
      </meshrow>
      <meshrow id="meshrow2">
        <meshpatch id="meshpatch4">
          <stop path="l -2,17" id="stop11" />
          <stop path="c -10,0  -20,0  -30,0" style="stop-color:#808080;stop-opacity:1" id="stop12" />
          <stop path="c 0,-6.667  0,-13.333  0,-20" style="stop-color:#800000;stop-opacity:1" id="stop13" />
        </meshpatch>
        <meshpatch id="meshpatch5">
          <stop path="c 0,6.667  0,13.333  0,20" id="stop14" />
          <stop path="c -10,0  -20,0  -30,0" style="stop-color:#008000;stop-opacity:1" id="stop15" />
        </meshpatch>
        <meshpatch id="meshpatch6">
          <stop path="c 0,6.667  0,13.333  0,20" id="stop16" />
          <stop path="c -10,0  -20,0  -30,0" style="stop-color:#000080;stop-opacity:1" id="stop17" />
        </meshpatch>
      </meshrow>
    </meshgradient>
    <meshgradient
       inkscape:collect="always"
       xlink:href="#meshgradient1"
       id="meshgradient2"
       gradientTransform="translate(5,0)" />
  </defs>
  <g
     inkscape:label="Layer 1"
     inkscape:groupmode="layer"
     id="layer1">
    <rect
       style="fill:url(#meshgradient2);fill-opacity:1;stroke:none;stroke-width:0.264583"
       id="rect10"
       width="90"
       height="40"
       x="15"
       y="20" />
  </g>
</svg>
)SVG";

// The editor's corners (SVG user space, before the move to the right) and
// colours, by row and column of the mesh gradient.
const double kCornerX[3][4] = {{10, 40, 70, 100}, {10, 42, 70, 100}, {10, 40, 70, 100}};
const double kCornerY[3][4] = {{20, 20, 20, 20}, {40, 43, 40, 40}, {60, 60, 60, 60}};
const char *const kCornerColour[3][4] = {{"#ff0000", "#00ff00", "#ff00ff", "#ffffff"},
                                         {"#ffff00", "#0000ff", "#00ffff", "#000000"},
                                         {"#800000", "#808080", "#008000", "#000080"}};

// Vertex (i, j) is the corner of column i, row j; document y is SVG's negated.
void expectEditorMesh(Art &m, double tol) {
    ASSERT_EQ(m.meshI, 3);
    ASSERT_EQ(m.meshJ, 2);
    for (int j = 0; j <= 2; ++j)
        for (int i = 0; i <= 3; ++i) {
            SCOPED_TRACE("vertex " + std::to_string(i) + "," + std::to_string(j));
            EXPECT_NEAR(m.vertex(i, j).point.h, kCornerX[j][i] + 5, tol);
            EXPECT_NEAR(m.vertex(i, j).point.v, -kCornerY[j][i], tol);
            EXPECT_EQ(m.vertex(i, j).color.kind, kThreeColor);
            EXPECT_EQ(hexOf(m.vertex(i, j).color), kCornerColour[j][i]);
        }
}

TEST(SvgReadMesh, AMeshAnEditorDrewIsMeshArtOfItsCornersAndColours) {
    auto r = read(kEditorMesh);
    ASSERT_TRUE(r->ok) << r->error;
    const std::vector<Art *> found = meshes(r->doc);
    ASSERT_EQ(found.size(), 1u);
    Art &m = *found[0];
    EXPECT_EQ(m.id, "rect10");
    EXPECT_EQ(m.opacity, 1.0f);
    expectEditorMesh(m, 1e-4);
    // The model keeps corners, not the curves between them: said once.
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0],
              "element <rect id=rect10>: mesh gradient #meshgradient2 has curved patch edges; they are kept as "
              "straight lines");
}

TEST(SvgReadMesh, BoundingBoxUnitsAndTransformsPlaceTheMesh) {
    // One patch in box units over a 100 x 50 rect at (10, 20), in a group
    // moved by (0, 30): corners at the rect's corners, moved.
    auto r = read(wrap(
        "<defs><meshgradient id='bb' gradientUnits='objectBoundingBox' x='0' y='0'><meshrow><meshpatch>"
        "<stop path='l 1,0' stop-color='#ff0000'/><stop path='l 0,1' stop-color='#00ff00'/>"
        "<stop path='l -1,0' stop-color='#0000ff'/><stop path='l 0,-1' stop-color='#ffffff' stop-opacity='0.5'/>"
        "</meshpatch></meshrow></meshgradient></defs>"
        "<g transform='translate(0 30)'><rect id='r' x='10' y='20' width='100' height='50' fill='url(#bb)' "
        "stroke='#000' opacity='0.5' fill-opacity='0.8'/></g>"));
    ASSERT_TRUE(r->ok) << r->error;
    const std::vector<Art *> found = meshes(r->doc);
    ASSERT_EQ(found.size(), 1u);
    Art &m = *found[0];
    EXPECT_FLOAT_EQ(m.vertex(0, 0).point.h, 10);
    EXPECT_FLOAT_EQ(m.vertex(0, 0).point.v, -50);
    EXPECT_FLOAT_EQ(m.vertex(1, 0).point.h, 110);
    EXPECT_FLOAT_EQ(m.vertex(1, 1).point.v, -100);
    EXPECT_EQ(hexOf(m.vertex(0, 1).color), "#ffffff");
    EXPECT_FLOAT_EQ(m.opacity, 0.4f);  // opacity times fill-opacity
    // What the model cannot keep is said: the stop's opacity, the stroke.
    const std::string said = problems(r->report);
    EXPECT_NE(said.find("stops with an opacity below 1"), std::string::npos) << said;
    EXPECT_NE(said.find("the stroke of a mesh is not kept"), std::string::npos) << said;
}

// ---- Painted with the mesh tools and written back

class SvgMeshTools : public BrushTest {
protected:
    void SetUp() override {
        BrushTest::SetUp();
        auto drawing = std::make_unique<Document>();
        SvgReadReport report;
        std::string error;
        ASSERT_TRUE(readSvgString(kEditorMesh, *drawing, report, error)) << error;
        host.replaceDocument(std::move(drawing));
        ASSERT_EQ(meshes(doc()).size(), 1u);
        mesh = meshes(doc())[0];
        mesh->userAttr |= kArtSelected;
        g().brushSizeHorizontal = g().brushSizeVertical = 1000;  // the whole mesh
    }
    Art *mesh = nullptr;
};

TEST_F(SvgMeshTools, BothMeshToolsChangeTheMeshAndTheWrittenMeshGradientComesBackTheSame) {
    const std::unique_ptr<Document> before = doc().clone();
    const std::string original = svgOf(doc());
    g().meshColorChannel1 = 60;   // more red
    g().meshColorChannel3 = -40;  // less blue
    stroke(kGradientMeshTool, {60, -40}, 2);
    g().warpShiftHorizontal = 0;
    g().warpShiftVertical = 2;
    g().warpMeshFollowBrush = 0;
    stroke(kWarpMeshTool, {60, -40}, 2);
    const Art &painted = *mesh;
    const Art &unpainted = *meshes(*before)[0];
    int moved = 0, recoloured = 0;
    for (size_t k = 0; k < painted.vertices.size(); ++k) {
        moved += painted.vertices[k].point.v != unpainted.vertices[k].point.v;
        recoloured += !sameColour(painted.vertices[k].color, unpainted.vertices[k].color);
    }
    EXPECT_EQ(moved, 12);
    EXPECT_GT(recoloured, 8);

    // Written as the editor writes a mesh: two rows of three patches,
    // 4 + 3 + 3 and 3 + 2 + 2 stops, the stops' colours those painted.
    const std::string svg = svgOf(doc());
    const std::string gradient = meshGradientOf(svg);
    EXPECT_EQ(occurrences(gradient, "<meshrow>"), 2u);
    EXPECT_EQ(occurrences(gradient, "<meshpatch>"), 6u);
    EXPECT_EQ(occurrences(gradient, "<stop "), 17u);
    EXPECT_EQ(occurrences(gradient, "stop-color:"), 12u);
    EXPECT_NE(gradient, meshGradientOf(original));
    for (int j = 0; j <= 2; ++j)
        for (int i = 0; i <= 3; ++i) {
            const std::string hex = hexOf(mesh->vertex(i, j).color);
            EXPECT_NE(gradient.find("stop-color:" + hex), std::string::npos) << hex;
        }
    // The blue corner took red and lost blue.
    EXPECT_NE(hexOf(mesh->vertex(1, 1).color), "#0000ff");
    EXPECT_EQ(gradient.find("stop-color:#0000ff"), std::string::npos);

    // Read again: the same values exactly (the kept data agrees with the
    // gradient), and a second write is the same file.
    auto back = read(svg);
    ASSERT_TRUE(back->ok) << back->error;
    EXPECT_TRUE(back->report.problems.empty()) << problems(back->report);
    ASSERT_EQ(meshes(back->doc).size(), 1u);
    expectSameMesh(*meshes(back->doc)[0], *mesh);
    EXPECT_EQ(meshes(back->doc)[0]->id, "rect10");
    EXPECT_EQ(svgOf(back->doc), svg);

    // The mesh gradient alone says the same, to its precision.
    auto bare = read(withoutMeshData(svg));
    ASSERT_TRUE(bare->ok) << bare->error;
    ASSERT_EQ(meshes(bare->doc).size(), 1u);
    const Art &m = *meshes(bare->doc)[0];
    ASSERT_EQ(m.vertices.size(), mesh->vertices.size());
    for (size_t k = 0; k < m.vertices.size(); ++k) {
        EXPECT_NEAR(m.vertices[k].point.h, mesh->vertices[k].point.h, 1e-4) << k;
        EXPECT_NEAR(m.vertices[k].point.v, mesh->vertices[k].point.v, 1e-4) << k;
        EXPECT_EQ(hexOf(m.vertices[k].color), hexOf(mesh->vertices[k].color)) << k;
    }
}

TEST_F(SvgMeshTools, AMeshReadAndWrittenUntouchedShowsWhatTheEditorDrew) {
    auto back = read(svgOf(doc()));
    ASSERT_TRUE(back->ok) << back->error;
    ASSERT_EQ(meshes(back->doc).size(), 1u);
    expectEditorMesh(*meshes(back->doc)[0], 1e-4);
}

// ---- An editor's change wins over the kept data

class SvgMeshEdits : public ::testing::Test {
protected:
    // A 2 x 2 mesh of process colours (which stops cannot say exactly)
    // at SVG (10 i + 0.3, 10 j + 0.7).
    static Art *addMesh(Document &d) {
        Art *m = d.newArt(kMeshArt);
        d.link(m, kPlaceInsideOnTop, d.currentLayer()->root);
        m->id = "m";
        m->meshI = m->meshJ = 2;
        m->vertices.resize(9);
        for (int i = 0; i <= 2; ++i)
            for (int j = 0; j <= 2; ++j) {
                m->vertex(i, j).point = {AIReal(10 * i) + 0.3f, -(AIReal(10 * j) + 0.7f)};
                m->vertex(i, j).color = cmyk(0.1f * AIReal(i), 0.2f * AIReal(j), 0.33f, 0.05f);
            }
        return m;
    }
    // The written file with the mesh gradient of `edited` in place of its own,
    // as an editor that changed the mesh leaves it (it keeps the data
    // attributes it does not know).
    std::string editedFile(const Document &edited) {
        std::string svg = svgOf(doc);
        const std::string ours = meshGradientOf(svg), theirs = meshGradientOf(svgOf(edited));
        svg.replace(svg.find(ours), ours.size(), theirs);
        return svg;
    }
    Document doc;
    Art *mesh = addMesh(doc);
};

TEST_F(SvgMeshEdits, UntouchedTheKeptDataIsReadExactly) {
    auto r = read(svgOf(doc));
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_TRUE(r->report.problems.empty()) << problems(r->report);
    ASSERT_EQ(meshes(r->doc).size(), 1u);
    expectSameMesh(*meshes(r->doc)[0], *mesh);
}

TEST_F(SvgMeshEdits, AnEditorThatMovedACornerWins) {
    Document edited;
    Art *e = addMesh(edited);
    e->vertex(1, 1).point = {13.5f, -9.25f};
    auto r = read(editedFile(edited));
    ASSERT_TRUE(r->ok) << r->error;
    ASSERT_EQ(meshes(r->doc).size(), 1u);
    Art &m = *meshes(r->doc)[0];
    EXPECT_NEAR(m.vertex(1, 1).point.h, 13.5, 1e-4);
    EXPECT_NEAR(m.vertex(1, 1).point.v, -9.25, 1e-4);
    // Everything else is still exact, colours of every vertex included.
    for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 2; ++j) {
            EXPECT_TRUE(sameColour(m.vertex(i, j).color, mesh->vertex(i, j).color)) << i << "," << j;
            if (i == 1 && j == 1) continue;
            EXPECT_EQ(m.vertex(i, j).point.h, mesh->vertex(i, j).point.h) << i << "," << j;
            EXPECT_EQ(m.vertex(i, j).point.v, mesh->vertex(i, j).point.v) << i << "," << j;
        }
}

TEST_F(SvgMeshEdits, AnEditorThatRecolouredACornerWins) {
    Document edited;
    Art *e = addMesh(edited);
    e->vertex(2, 1).color = rgb(1, 0.5f, 0);
    auto r = read(editedFile(edited));
    ASSERT_TRUE(r->ok) << r->error;
    Art &m = *meshes(r->doc)[0];
    EXPECT_EQ(m.vertex(2, 1).color.kind, kThreeColor);
    EXPECT_EQ(hexOf(m.vertex(2, 1).color), "#ff8000");
    for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 2; ++j)
            if (i != 2 || j != 1) {
                EXPECT_TRUE(sameColour(m.vertex(i, j).color, mesh->vertex(i, j).color)) << i << "," << j;
            }
}

TEST_F(SvgMeshEdits, AnEditorThatChangedTheMeshsSizeDropsTheKeptData) {
    Document edited;
    Art *e = edited.newArt(kMeshArt);
    edited.link(e, kPlaceInsideOnTop, edited.currentLayer()->root);
    e->meshI = 1;
    e->meshJ = 2;
    e->vertices.resize(6);
    for (size_t k = 0; k < 6; ++k) e->vertices[k] = {{AIReal(k), -AIReal(k % 3)}, rgb(0, 0, 1)};
    auto r = read(editedFile(edited));
    ASSERT_TRUE(r->ok) << r->error;
    Art &m = *meshes(r->doc)[0];
    EXPECT_EQ(m.meshI, 1);
    EXPECT_EQ(m.meshJ, 2);
    for (const MeshVertex &v : m.vertices) EXPECT_EQ(hexOf(v.color), "#0000ff");
}

TEST_F(SvgMeshEdits, KeptDataStandsWhereTheGradientIsGoneOrBroken) {
    const std::string svg = svgOf(doc);
    // The gradient removed from the file.
    std::string gone = svg;
    gone.erase(gone.find(meshGradientOf(svg)), meshGradientOf(svg).size());
    // A patch's stop removed.
    std::string broken = svg;
    broken.erase(broken.find("<stop "), broken.find("/>", broken.find("<stop ")) + 2 - broken.find("<stop "));
    for (const std::string &file : {gone, broken}) {
        auto r = read(file);
        ASSERT_TRUE(r->ok) << r->error;
        ASSERT_EQ(meshes(r->doc).size(), 1u);
        expectSameMesh(*meshes(r->doc)[0], *mesh);
        ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
        EXPECT_NE(r->report.problems[0].find("the mesh kept with the element is used"), std::string::npos)
            << problems(r->report);
    }
}

// ---- Files of the earlier form

TEST(SvgReadMesh, TheEarlierGroupOfMeshDataStillReads) {
    auto r = read(wrap(
        "<g id='old' opacity='0.5' data-smearcraft='x' data-mesh='1x1' data-mesh-points='0,0 0,10 10,0 10,10' "
        "data-mesh-colors='rgb:1,0,0 gray:0.5 cmyk:0.1,0.2,0.3,0.4 rgb:0,0,1'>"
        "<path d='M0 0L10 0 M0 0L0 10' fill='none' stroke='#808080'/>"
        "<circle cx='0' cy='0' r='0.5' fill='#ff0000'/></g>"));
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_TRUE(r->report.problems.empty()) << problems(r->report);
    const std::vector<Art *> found = meshes(r->doc);
    ASSERT_EQ(found.size(), 1u);
    Art &m = *found[0];
    EXPECT_EQ(m.id, "old");
    EXPECT_EQ(m.opacity, 0.5f);
    EXPECT_TRUE(m.tags.holds("smearcraft", "string", "x"));
    EXPECT_EQ(m.firstChild, nullptr);  // the wireframe is not art
    ASSERT_EQ(m.vertices.size(), 4u);
    EXPECT_EQ(m.vertex(0, 1).point.v, -10);
    EXPECT_EQ(m.vertex(1, 0).point.h, 10);
    EXPECT_TRUE(sameColour(m.vertex(1, 0).color, cmyk(0.1f, 0.2f, 0.3f, 0.4f)));
    EXPECT_EQ(m.vertex(0, 1).color.kind, kGrayColor);
    EXPECT_EQ(m.vertex(0, 1).color.c.g.gray, 0.5f);
}

// ---- Malformed meshes

// A rect filled with a mesh gradient whose content is `rows`.
std::string meshFile(const std::string &rows, const std::string &extra = "") {
    return wrap("<defs><meshgradient id='g' x='0' y='0' gradientUnits='userSpaceOnUse'" + extra + ">" + rows +
                "</meshgradient></defs><rect id='r' width='10' height='10' fill='url(#g)'/>");
}

const std::string kPatch =
    "<meshpatch><stop path='l 10,0' stop-color='#f00'/><stop path='l 0,10' stop-color='#0f0'/>"
    "<stop path='l -10,0' stop-color='#00f'/><stop path='l 0,-10' stop-color='#fff'/></meshpatch>";

TEST(SvgReadMesh, MalformedMeshesAreReportedAndSkipped) {
    const std::string right =
        "<meshpatch><stop path='l 10,0'/><stop path='l 0,10' stop-color='#0f0'/>"
        "<stop path='l -10,0' stop-color='#00f'/></meshpatch>";
    struct Case {
        std::string file, reason;
    } cases[] = {
        {meshFile(""), "it has no rows"},
        {meshFile("<meshrow></meshrow>"), "row 1 has no patches"},
        {meshFile("<meshrow>" + kPatch + right + "</meshrow><meshrow>" + right + "</meshrow>"),
         "its rows have different numbers of patches (2 and 1)"},
        {meshFile("<meshrow><meshpatch><stop path='l 10,0'/><stop path='l 0,10'/></meshpatch></meshrow>"),
         "patch 1 of row 1 has 2 stops where it needs 4"},
        {meshFile("<meshrow><meshpatch><stop path='l 10,0'/><stop path='z'/><stop path='l 0,1'/>"
                  "<stop path='l 0,1'/></meshpatch></meshrow>"),
         "patch 1 of row 1 has an edge path \"z\" that is not understood"},
        {meshFile("<meshrow><meshpatch><stop path='c 1,2'/><stop/><stop/><stop/></meshpatch></meshrow>"),
         "has an edge path \"c 1,2\""},
        {meshFile("<meshrow><meshpatch><stop path='M 0,0 L 1,1'/><stop/><stop/><stop/></meshpatch></meshrow>"),
         "has an edge path \"M 0,0 L 1,1\""},
        {meshFile("<meshrow><meshpatch><stop path='l 1e308,0 1e308,0'/><stop path='l 0,1'/><stop path='l 0,1'/>"
                  "<stop path='l 0,1'/></meshpatch></meshrow>"),
         "has an edge path \"l 1e308,0 1e308,0\""},
        {meshFile("<meshrow>" + kPatch + "</meshrow>", " gradientTransform='scale(1e300)'"),
         "a corner lies outside the plane"},
        {meshFile("<meshrow>" + kPatch + "</meshrow>", " gradientTransform='spin(3)'"),
         "its gradientTransform \"spin(3)\" is not understood"},
        {wrap("<defs><meshgradient id='a' href='#b'/><meshgradient id='b' href='#a'/></defs>"
              "<rect id='r' width='10' height='10' fill='url(#a)'/>"),
         "it has no rows"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reason);
        auto r = read(c.file);
        ASSERT_TRUE(r->ok) << r->error;
        EXPECT_TRUE(meshes(r->doc).empty());
        ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
        EXPECT_NE(r->report.problems[0].find(c.reason), std::string::npos) << problems(r->report);
        EXPECT_EQ(r->report.problems[0].substr(r->report.problems[0].size() - 9), "; skipped");
    }
}

TEST(SvgReadMesh, AbsurdSizesAreRefusedBeforeAnythingIsMade) {
    // More than 1001 x 1001 vertices in empty patches: refused while the
    // rows are counted.
    std::string rows;
    for (int r = 0; r < 501; ++r) {
        rows += "<meshrow>";
        for (int c = 0; c < 2000; ++c) rows += "<meshpatch/>";
        rows += "</meshrow>";
    }
    auto r = read(meshFile(rows));
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_TRUE(meshes(r->doc).empty());
    EXPECT_NE(problems(r->report).find("larger than this reader takes"), std::string::npos) << problems(r->report);

    // The writer's data, of sizes that cannot be or would not fit.
    for (const char *size : {"1000000x1000000", "99999999999x2", "-1x2", "2.5x2", "3"}) {
        SCOPED_TRACE(size);
        auto d = read(wrap(std::string("<g data-mesh='") + size + "' data-mesh-points='0,0' data-mesh-colors='none'/>"));
        ASSERT_TRUE(d->ok) << d->error;
        EXPECT_TRUE(meshes(d->doc).empty());
        ASSERT_EQ(d->report.problems.size(), 1u) << problems(d->report);
        EXPECT_NE(d->report.problems[0].find("; skipped"), std::string::npos);
    }
}

TEST(SvgReadMesh, DamagedMeshGradientsNeverCrashOrHang) {
    // A written mesh without its data, with characters of its gradient
    // replaced at random: whatever comes out is a mesh of the right size
    // or a problem.
    Document d;
    Art *m = d.newArt(kMeshArt);
    d.link(m, kPlaceInsideOnTop, d.currentLayer()->root);
    m->meshI = 3;
    m->meshJ = 2;
    m->vertices.resize(12);
    for (size_t k = 0; k < 12; ++k) m->vertices[k] = {{AIReal(k % 4) * 7, -AIReal(k / 4) * 5}, rgb(0.5f, 0, 1)};
    const std::string svg = withoutMeshData(svgOf(d));
    const size_t from = svg.find("<meshgradient"), to = svg.find("</meshgradient>");
    const std::string alphabet = "0123456789.,-+eEcClLmMzZ \"<>/#";
    std::mt19937 random(11);
    for (int trial = 0; trial < 400; ++trial) {
        std::string damaged = svg;
        for (int k = 0; k < 3; ++k)
            damaged[from + random() % (to - from)] = alphabet[random() % alphabet.size()];
        auto r = read(damaged);
        if (!r->ok) continue;  // no longer XML
        for (const Art *mesh : meshes(r->doc)) {
            EXPECT_GE(mesh->meshI, 1);
            EXPECT_EQ(mesh->vertices.size(), size_t(mesh->meshI + 1) * size_t(mesh->meshJ + 1));
        }
        if (meshes(r->doc).empty()) {
            EXPECT_FALSE(r->report.problems.empty()) << damaged;
        }
    }
}

}  // namespace
}  // namespace smear
