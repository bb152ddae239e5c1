// The SVG writer never writes what it cannot write: a number that is not
// finite, or lies past a float's range, fails the whole write with the
// object and the value named, and a save leaves the file it would have
// replaced as it was. Every viewBox it writes has a size. What a round trip
// cannot keep is kept, or reported by the reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fixture.h"
#include "session.h"
#include "svg.h"
#include "svg_read_support.h"
#include "svg_write_support.h"

namespace smear {
namespace {

namespace fs = std::filesystem;

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

std::string slurp(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The value of the first `name="..."` in `text`.
std::string attr(const std::string &text, const std::string &name) {
    const size_t at = text.find(" " + name + "=\"");
    if (at == std::string::npos) return "<missing>";
    const size_t start = at + name.size() + 3;
    return text.substr(start, text.find('"', start) - start);
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

Art *add(Document &doc, ASInt16 type, const std::string &id, Art *into = nullptr) {
    Art *a = doc.newArt(type);
    a->id = id;
    doc.link(a, kPlaceInsideOnTop, into ? into : doc.currentLayer()->root);
    return a;
}

Art *square(Document &doc, const std::string &id, Art *into = nullptr) {
    Art *a = add(doc, kPathArt, id, into);
    a->segments = {corner(0, 0), corner(10, 0), corner(10, 10), corner(0, 10)};
    a->closed = true;
    a->style.fillPaint = 1;
    a->style.fill.color = rgb(1, 0, 0);
    return a;
}

Art *mesh(Document &doc, const std::string &id) {
    Art *m = add(doc, kMeshArt, id);
    m->meshI = m->meshJ = 1;
    m->vertices.resize(4);
    for (int k = 0; k < 4; ++k) m->vertices[size_t(k)] = {{AIReal(k / 2 * 10), AIReal(k % 2 * 10)}, rgb(0, 0, 1)};
    return m;
}

Gradient *twoStops(Document &doc) {
    Gradient *g = doc.addGradient("Sunset");
    g->stops = {{0, rgb(1, 0, 0), 1}, {1, rgb(0, 0, 1), 1}};
    return g;
}

AIColor gradientPaint(Gradient *g) {
    AIColor c{};
    c.kind = kGradient;
    c.c.b.gradient = reinterpret_cast<AIGradientHandle>(g);
    c.c.b.gradientLength = 10;
    c.c.b.matrix = {1, 0, 0, 1, 0, 0};
    return c;
}

// Whether the text holds a number written as a stand-in for one that
// cannot be written.
bool holdsUnwritable(const std::string &text) {
    for (const char *bad : {"nan", "inf", "NaN", "Inf"})
        if (text.find(bad) != std::string::npos) return true;
    return false;
}

struct Unwritable {
    const char *name;
    std::function<void(Document &)> build;
    const char *message;  // what the error must say
};

TEST(SvgWriteSafety, AValueThatCannotBeWrittenFailsTheWriteNamingTheObjectAndTheValue) {
    const Unwritable cases[] = {
        {"anchor", [](Document &d) { square(d, "paper")->segments[1].p.h = kInf; },
         "cannot write path \"paper\": its path data holds inf"},
        {"stroke width",
         [](Document &d) {
             Art *a = square(d, "sq");
             a->style.strokePaint = 1;
             a->style.stroke.color = rgb(0, 0, 0);
             a->style.stroke.width = kInf;
         },
         "cannot write path \"sq\": its stroke width holds inf"},
        {"dash",
         [](Document &d) {
             Art *a = square(d, "sq");
             a->style.strokePaint = 1;
             a->style.stroke.width = 1;
             a->style.stroke.dashCount = 2;
             a->style.stroke.dashes[0] = 2;
             a->style.stroke.dashes[1] = kNaN;
         },
         "cannot write path \"sq\": its dashes holds nan"},
        {"miter limit",
         [](Document &d) {
             Art *a = square(d, "sq");
             a->style.strokePaint = 1;
             a->style.stroke.width = 1;
             a->style.stroke.miterLimit = -kInf;
         },
         "cannot write path \"sq\": its miter limit holds inf"},
        {"opacity", [](Document &d) { square(d, "sq")->opacity = kNaN; },
         "cannot write path \"sq\": its opacity holds nan"},
        {"style factor", [](Document &d) { square(d, "sq")->styleFactor = kInf; },
         "cannot write path \"sq\": its style factor holds inf"},
        {"fill colour", [](Document &d) { square(d, "sq")->style.fill.color = rgb(0.5f, kNaN, 0); },
         "cannot write path \"sq\": its fill holds nan"},
        {"gradient placement",
         [](Document &d) {
             AIColor c = gradientPaint(twoStops(d));
             c.c.b.gradientOrigin.h = kInf;
             square(d, "sq")->style.fill.color = c;
         },
         "cannot write path \"sq\": its fill holds inf"},
        {"gradient stop",
         [](Document &d) {
             Gradient *g = twoStops(d);
             g->stops[1].color = rgb(kNaN, 0, 0);
             square(d, "sq")->style.fill.color = gradientPaint(g);
         },
         "cannot write path \"sq\": its fill holds nan"},
        {"compound member",
         [](Document &d) {
             Art *c = add(d, kCompoundPathArt, "donut");
             square(d, "outer", c);
             square(d, "inner", c)->segments[3].p.v = kInf;
         },
         "cannot write compound path \"donut\": its path data holds inf"},
        {"art without an id in a group",
         [](Document &d) {
             Art *g = add(d, kGroupArt, "g1");
             square(d, "", g)->segments[0].p.h = kNaN;
         },
         "cannot write path without an id (object 2 of layer \"Layer 1\" in paint order): its path data holds nan"},
        {"text size",
         [](Document &d) {
             Art *t = add(d, kTextArt, "label");
             t->text = "Hello";
             t->frame = {0, 20, 40, 0};
             t->fontSize = kInf;
         },
         "cannot write text \"label\": its font size holds inf"},
        {"image frame",
         [](Document &d) {
             Art *i = add(d, kRasterArt, "photo");
             i->href = "photo.png";
             i->frame = {0, 10, kNaN, 0};
         },
         "cannot write image \"photo\": its frame holds nan"},
        {"image frame past a float's range",
         [](Document &d) {
             Art *i = add(d, kPlacedArt, "wide");
             i->href = "wide.png";
             i->frame = {-3e38f, 10, 3e38f, 0};
         },
         "cannot write placed image \"wide\": its frame holds "},
        {"symbol placement",
         [](Document &d) {
             Art *s = add(d, kSymbolArt, "star");
             s->href = "star-symbol";
             s->matrix = {1, 0, 0, 1, kInf, 0};
         },
         "cannot write symbol \"star\": its transform holds inf"},
        {"mesh point", [](Document &d) { mesh(d, "m")->vertices[3].point.v = kNaN; },
         "cannot write mesh \"m\": its mesh holds nan"},
        {"mesh colour", [](Document &d) { mesh(d, "m")->vertices[1].color = rgb(0, kInf, 0); },
         "cannot write mesh \"m\": its mesh holds inf"},
        {"graphic style",
         [](Document &d) {
             AIPathStyle style{};
             style.fillPaint = 1;
             style.fill.color = rgb(0, 1, 0);
             d.addGraphicStyle("Soft", style)->opacity = kNaN;
         },
         "cannot write graphic style \"Soft\": its opacity holds nan"},
        {"swatch", [](Document &d) { d.addSwatch("Sky", rgb(0, kNaN, 1)); },
         "cannot write swatch \"Sky\": its colour holds nan"},
        {"artboard", [](Document &d) { d.artboard.right = kInf; }, "cannot write the page: its artboard holds inf"},
    };
    for (const Unwritable &c : cases) {
        SCOPED_TRACE(c.name);
        Document doc;
        c.build(doc);
        for (const bool preview : {false, true}) {
            std::string text = "old", error;
            EXPECT_FALSE(preview ? writeSvgPreview(doc, text, error) : writeSvg(doc, text, error));
            EXPECT_TRUE(text.empty()) << text;
            EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
        }
    }
    // A page wider than a float holds is said to be so.
    Document wide;
    wide.artboard = {-3e38f, 10, 3e38f, 0};
    std::string text, error;
    EXPECT_FALSE(writeSvg(wide, text, error));
    EXPECT_EQ(error.rfind("cannot write the page: its size holds ", 0), 0u) << error;
    EXPECT_NE(error.find("e+38, past a float's range"), std::string::npos) << error;
}

TEST(SvgWriteSafety, TheSameDrawingsWriteWithoutTheBadValue) {
    // Each kind of object the failures above name writes when its numbers
    // are sound, so that it is the value that fails a write.
    Document doc;
    Art *a = square(doc, "sq");
    a->style.strokePaint = 1;
    a->style.stroke.color = rgb(0, 0, 0);
    a->style.stroke.width = 2;
    a->style.stroke.dashCount = 2;
    a->style.stroke.dashes[0] = 2;
    a->style.stroke.dashes[1] = 1;
    a->style.fill.color = gradientPaint(twoStops(doc));
    Art *c = add(doc, kCompoundPathArt, "donut");
    square(doc, "outer", c);
    square(doc, "", add(doc, kGroupArt, "g1"));
    Art *t = add(doc, kTextArt, "label");
    t->text = "Hello";
    t->frame = {0, 20, 40, 0};
    Art *i = add(doc, kPlacedArt, "wide");
    i->href = "wide.png";
    i->frame = {-1e38f, 10, 1e38f, 0};
    mesh(doc, "m");
    doc.addSwatch("Sky", rgb(0, 0.5f, 1));
    for (const std::string &svg : {svgOf(doc), previewOf(doc)}) {
        EXPECT_FALSE(holdsUnwritable(svg)) << svg;
        EXPECT_NE(svg.find("id=\"label\""), std::string::npos);
        EXPECT_NE(svg.find("width=\"2e+38\""), std::string::npos) << svg;
    }
}

TEST(SvgWriteSafety, AKeptTransformThatCannotBeWrittenLeavesThePathAbsolute) {
    // The transform is only how the file had the path; the geometry is
    // absolute and complete without it.
    Document doc;
    square(doc, "sq")->svgTransform = {kNaN, 0, 0, 1, 0, 0};
    const std::string svg = svgOf(doc);
    EXPECT_EQ(attr(svg, "transform"), "<missing>");
    EXPECT_EQ(attr(svg, "d"), "M0 0 L10 0 L10 -10 L0 -10 Z");
    EXPECT_FALSE(holdsUnwritable(svg));
}

TEST(SvgWriteSafety, CompoundMembersWithoutAnchorsTakeNoPlaceInTheMemberList) {
    // The reader gives the listed ids and tags to the subpaths in order: a
    // member that writes none must not shift the others'.
    Document doc;
    Art *c = add(doc, kCompoundPathArt, "cp");
    add(doc, kPathArt, "empty", c);
    square(doc, "kept", c)->tags.set("role", "string", "rim");
    const std::string svg = svgOf(doc);
    EXPECT_EQ(attr(svg, "data-children"), "kept");
    EXPECT_EQ(attr(svg, "data-child0-role"), "rim");
    EXPECT_EQ(attr(svg, "d"), "M0 0 L10 0 L10 -10 L0 -10 Z");
}

// Drawings whose page has no area, with the viewBox that shows them.
struct Degenerate {
    const char *name;
    std::function<void(Document &)> build;
    const char *viewBox;
};

const std::vector<Degenerate> &degenerateDrawings() {
    static const std::vector<Degenerate> drawings = {
        {"empty", [](Document &d) { d.artboard = {5, 5, 5, 5}; }, "4.5 -5.5 1 1"},
        {"one point",
         [](Document &d) {
             d.artboard = {10, 20, 10, 20};
             Art *dot = add(d, kPathArt, "dot");
             dot->segments = {corner(10, 20)};
             dot->closed = true;
             dot->style.strokePaint = 1;
             dot->style.stroke.color = rgb(0, 0, 0);
             dot->style.stroke.width = 4;
             dot->style.stroke.cap = 1;
         },
         "9.5 -20.5 1 1"},
        {"horizontal line",
         [](Document &d) {
             d.artboard = {0, -5, 100, -5};
             Art *line = add(d, kPathArt, "line");
             line->segments = {corner(0, -5), corner(100, -5)};
             line->style.strokePaint = 1;
             line->style.stroke.color = rgb(0, 0, 0);
             line->style.stroke.width = 1;
         },
         "0 4.5 100 1"},
        {"artboard turned inside out, art beside it",
         [](Document &d) {
             d.artboard = {50, 0, 0, 50};
             square(d, "sq");
         },
         "0 -10 10 10"},
        {"kept viewBox of no size",
         [](Document &d) {
             d.svgViewBox = "0 0 0 0";
             d.svgWidth = "50";
             d.artboard = {0, 0, 50, -20};
         },
         "0 0 50 20"},
    };
    return drawings;
}

TEST(SvgWriteSafety, APageWithoutAreaIsWrittenAsABoxAroundTheArt) {
    for (const Degenerate &c : degenerateDrawings()) {
        SCOPED_TRACE(c.name);
        Document doc;
        c.build(doc);
        const std::string svg = svgOf(doc);
        EXPECT_EQ(attr(svg, "viewBox"), c.viewBox);
        if (doc.svgWidth.empty()) {
            std::istringstream box(c.viewBox);
            std::string x, y, w, h;
            box >> x >> y >> w >> h;
            EXPECT_EQ(attr(svg, "width"), w);
            EXPECT_EQ(attr(svg, "height"), h);
        } else {
            EXPECT_EQ(attr(svg, "width"), doc.svgWidth);
        }
    }
    // A page with area is written as it is.
    Document doc;
    doc.artboard = {0, 0, 1, -0.25f};
    EXPECT_EQ(attr(svgOf(doc), "viewBox"), "0 0 1 0.25");
    doc.svgViewBox = "1 2 3 4";
    EXPECT_EQ(attr(svgOf(doc), "viewBox"), "1 2 3 4");
}

#ifndef _WIN32
TEST(SvgWriteSafety, APageWithoutAreaRenders) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "rsvg-convert is not installed";
    const fs::path dir = fs::path(SMEAR_BUILD_DIR) / "svg_write_safety" / "render";
    fs::remove_all(dir);
    fs::create_directories(dir);
    int n = 0;
    for (const Degenerate &c : degenerateDrawings()) {
        SCOPED_TRACE(c.name);
        Document doc;
        c.build(doc);
        const fs::path svg = dir / (std::to_string(++n) + ".svg"), png = dir / (std::to_string(n) + ".png");
        std::ofstream(svg, std::ios::binary) << svgOf(doc);
        const std::string command =
            "rsvg-convert -o '" + png.string() + "' '" + svg.string() + "' 2>'" + (dir / "stderr.txt").string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << slurp(dir / "stderr.txt");
        EXPECT_TRUE(fs::exists(png) && fs::file_size(png) > 0);
    }
}
#endif

class SafeSave : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        dir = fs::path(SMEAR_BUILD_DIR) / "svg_write_safety" / "save";
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir;
};

TEST_F(SafeSave, ADrawingThatCannotBeWrittenFailsTheSaveAndLeavesTheFileAsItWas) {
    std::ofstream(dir / "drawing.svg", std::ios::binary) << "precious";
    Session s;
    std::string error;
    const char *text = R"({"document": {"objects": [{"id": "paper", "rect": [0, 0, 10, 10]}]}, "steps": []})";
    ASSERT_TRUE(parseSession(nlohmann::json::parse(text), s, error)) << error;
    std::ostringstream report;
    SessionRunner runner(host, report);
    runner.outDir = dir.string();
    ASSERT_TRUE(runner.run(s, error)) << error;
    // A value no suite lets in, put straight into the model.
    Art *paper = nullptr;
    host.document().forEachArt([&](Art &a) {
        if (a.id == "paper") paper = &a;
    });
    ASSERT_NE(paper, nullptr);
    const AIReal was = paper->segments[0].p.h;
    paper->segments[0].p.h = kInf;
    SessionStep save;
    save.kind = SessionStep::Kind::Save;
    save.path = "drawing.svg";
    EXPECT_FALSE(runner.runStep(save, error));
    EXPECT_NE(error.find("drawing.svg: cannot write path \"paper\": its path data holds inf; nothing written"),
              std::string::npos)
        << error;
    EXPECT_EQ(slurp(dir / "drawing.svg"), "precious");
    EXPECT_EQ(listing(), std::vector<std::string>{"drawing.svg"});
    // The same save of the sound drawing replaces the file.
    paper->segments[0].p.h = was;
    ASSERT_TRUE(runner.runStep(save, error)) << error;
    EXPECT_NE(slurp(dir / "drawing.svg").find("id=\"paper\""), std::string::npos);
}

TEST_F(SafeSave, ASessionSaysWhatItsDrawingCouldNotKeep) {
    std::ofstream(dir / "in.svg", std::ios::binary)
        << "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
           "<path id='p' d='M0 0 L50 0 L50 50 Z M40 40' fill='#f00'/><path id='q' d='M1 1 L9 9'/></svg>";
    Session s;
    std::string error;
    ASSERT_TRUE(parseSession(nlohmann::json::parse(R"({"document": "in.svg", "steps": []})"), s, error)) << error;
    s.baseDir = dir.string();
    std::ostringstream report;
    SessionRunner runner(host, report);
    ASSERT_TRUE(runner.run(s, error)) << error;
    EXPECT_NE(report.str().find("document: 2 objects\n  read: element <path id=p>: a subpath is a lone moveto, which "
                                "draws nothing; not kept\n"),
              std::string::npos)
        << report.str();
}

std::string problemLines(const SvgReadReport &r) {
    std::string out;
    for (const std::string &p : r.problems) out += p + "\n";
    return out;
}

// The drawing read, written and read again: the second reading must say
// nothing and give what the first gave.
std::unique_ptr<Read> roundTrip(const Read &first) {
    auto again = read(svgOf(first.doc));
    EXPECT_TRUE(again->ok) << again->error;
    EXPECT_TRUE(again->report.problems.empty()) << problemLines(again->report);
    EXPECT_EQ(svgOf(again->doc), svgOf(first.doc));
    return again;
}

const Art *firstArt(const Document &doc) { return doc.layers[0]->root->firstChild; }

TEST(SvgRoundTripSafety, ZeroLengthPathsAreKept) {
    // With round caps each of them is a dot.
    const struct {
        const char *d;
        size_t anchors;
        bool closed;
    } cases[] = {{"M10 10 Z", 1, true}, {"M10 10 L10 10", 2, false}, {"M10 10 L10 10 Z", 1, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.d);
        auto r = read(wrap(std::string("<path id='dot' d='") + c.d +
                           "' stroke='#000' stroke-width='4' stroke-linecap='round'/>"));
        ASSERT_TRUE(r->ok) << r->error;
        EXPECT_TRUE(r->report.problems.empty()) << problemLines(r->report);
        const auto back = roundTrip(*r);
        for (const Read *doc : {r.get(), back.get()}) {
            const Art *dot = firstArt(doc->doc);
            ASSERT_NE(dot, nullptr);
            EXPECT_EQ(dot->type, kPathArt);
            EXPECT_EQ(dot->id, "dot");
            EXPECT_EQ(dot->segments.size(), c.anchors);
            EXPECT_EQ(dot->closed, c.closed);
            for (const AIPathSegment &s : dot->segments) {
                EXPECT_EQ(s.p.h, 10);
                EXPECT_EQ(s.p.v, -10);
            }
        }
    }
}

TEST(SvgRoundTripSafety, ACompoundPathKeepsADotMemberAndTheMembersIds) {
    auto r = read(wrap("<path id='cp' d='M0 0 L50 0 L50 50 Z M40 40 Z' fill='#f00'/>"));
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_TRUE(r->report.problems.empty()) << problemLines(r->report);
    Art *cp = r->doc.layers[0]->root->firstChild;
    ASSERT_EQ(cp->type, kCompoundPathArt);
    ASSERT_NE(cp->firstChild, nullptr);
    ASSERT_NE(cp->firstChild->next, nullptr);
    cp->firstChild->id = "body";
    cp->lastChild->id = "dot";
    auto back = roundTrip(*r);
    const Art *again = firstArt(back->doc);
    ASSERT_EQ(again->type, kCompoundPathArt);
    ASSERT_NE(again->firstChild, nullptr);
    EXPECT_EQ(again->firstChild->id, "body");
    ASSERT_EQ(again->lastChild, again->firstChild->next);
    EXPECT_EQ(again->lastChild->id, "dot");
    EXPECT_EQ(again->lastChild->segments.size(), 1u);
    EXPECT_TRUE(again->lastChild->closed);
}

TEST(SvgRoundTripSafety, ACompoundOfOneNamedMemberStaysACompound) {
    Document doc;
    Art *c = add(doc, kCompoundPathArt, "cp");
    square(doc, "only", c);
    auto r = read(svgOf(doc));
    ASSERT_TRUE(r->ok) << r->error;
    const Art *cp = firstArt(r->doc);
    ASSERT_EQ(cp->type, kCompoundPathArt);
    ASSERT_NE(cp->firstChild, nullptr);
    EXPECT_EQ(cp->firstChild->id, "only");
    EXPECT_EQ(cp->firstChild->next, nullptr);
}

TEST(SvgRoundTripSafety, ALoneMovetoIsReportedAndTheOtherMembersKeepTheirIds) {
    auto r = read(wrap("<path id='p' d='M0 0 L50 0 L50 50 Z M40 40' fill='#f00'/>"));
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_EQ(problemLines(r->report),
              "element <path id=p>: a subpath is a lone moveto, which draws nothing; not kept\n");
    EXPECT_EQ(firstArt(r->doc)->type, kPathArt);

    // A one-anchor open member the writer wrote: said by name, and the
    // member after it keeps its own id and tags.
    Document doc;
    Art *c = add(doc, kCompoundPathArt, "cp");
    add(doc, kPathArt, "stray", c)->segments = {corner(40, 40)};
    square(doc, "body", c)->tags.set("role", "string", "rim");
    square(doc, "other", c)->segments[0].p = {-5, -5};
    auto back = read(svgOf(doc));
    ASSERT_TRUE(back->ok) << back->error;
    EXPECT_EQ(problemLines(back->report),
              "element <path id=cp>: a subpath is a lone moveto, which draws nothing; not kept (members stray)\n");
    const Art *cp = firstArt(back->doc);
    ASSERT_EQ(cp->type, kCompoundPathArt);
    ASSERT_NE(cp->firstChild, nullptr);
    EXPECT_EQ(cp->firstChild->id, "body");
    ASSERT_EQ(cp->firstChild->tags.count("role"), 1u);
    EXPECT_TRUE(cp->firstChild->tags.holds("role", "string", "rim"));
    ASSERT_NE(cp->firstChild->next, nullptr);
    EXPECT_EQ(cp->firstChild->next->id, "other");
    EXPECT_EQ(cp->firstChild->next->tags.count("role"), 0u);
}

TEST(SvgRoundTripSafety, AnIdThatIsNotUtf8IsReportedAndKeptAsAFileGivesItBack) {
    const std::string text = wrap("<path id='bad\xff" "id' d='M0 0 L5 5' stroke='#000'/>");
    auto r = read(text);
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_EQ(problemLines(r->report),
              "element <path id=bad\xff" "id>: id is not valid UTF-8 text; each bad byte becomes U+FFFD\n");
    EXPECT_EQ(firstArt(r->doc)->id, "bad\xEF\xBF\xBD" "id");
    // Written back, the file keeps the bytes its author wrote; written
    // anew, the id is the one the document holds.
    EXPECT_EQ(svgOf(r->doc), text);
    r->doc.svgSource.reset();
    auto back = roundTrip(*r);
    EXPECT_EQ(firstArt(back->doc)->id, "bad\xEF\xBF\xBD" "id");
}

}  // namespace
}  // namespace smear
