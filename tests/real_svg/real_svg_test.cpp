// Real SVG files that Debian packages ship (files.txt), each read, painted
// with one stroke and written back, then drawn by librsvg as a person would
// see them. A stroke that reaches nothing gives a file that differs from the
// original only by the tags the plug-in writes and draws exactly as it did.
// A stroke across the middle of the drawing leaves every pixel outside what
// it changed as it was.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "art_signature.h"
#include "fixture.h"
#include "real_files.h"
#include "svg.h"
#include "svg_render.h"
#include "svg_source.h"
#include "xml_edit.h"
#include "xml_namespace_check.h"

namespace smear {
namespace {

// The files of files.txt, or of the list $SMEAR_REAL_SVG_LIST names (one
// path a line), for running the same checks over other files.
std::vector<std::string> listedFiles() {
    std::vector<std::string> files;
    const char *other = std::getenv("SMEAR_REAL_SVG_LIST");
    std::ifstream in(other ? std::string(other) : std::string(SMEAR_SOURCE_DIR) + "/tests/real_svg/files.txt");
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') files.push_back(line);
    return files;
}

// Files whose hitting stroke is known to change pixels outside its reach
// (known_differences.txt, by the end of their path), or, with another
// list, to change more than the check below allows.
bool knownToDiffer(const std::string &path, const char *list = "known_differences.txt") {
    std::ifstream in(std::string(SMEAR_SOURCE_DIR) + "/tests/real_svg/" + list);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#' && path.size() > line.size() &&
            path.compare(path.size() - line.size(), line.size(), line) == 0 && path[path.size() - line.size() - 1] == '/')
            return true;
    return false;
}

// The largest side of a drawn picture, in pixels: enough to see every
// shape, small enough for some hundred files in seconds.
constexpr double kPictureSide = 256;
constexpr size_t kMaxPixels = 4u << 20;

struct Frame {
    render::SvgFrame svg;
    double scale = 1;  // picture pixels per intrinsic pixel
    // The map from the root's user space to picture pixels.
    double sx = 1, sy = 1, tx = 0, ty = 0;
};

// How the root's viewBox lies in its viewport, as preserveAspectRatio says.
void placeViewBox(const std::string &svgText, Frame &f) {
    const double w = f.svg.width * f.scale, h = f.svg.height * f.scale;
    if (!f.svg.hasViewBox || f.svg.viewBox[2] <= 0 || f.svg.viewBox[3] <= 0) {
        // Without a viewBox a user unit is a pixel of the size it is drawn
        // at; without a size of its own, of the picture.
        f.sx = f.sy = f.svg.sized ? f.scale : 1;
        return;
    }
    pugi::xml_document xml;
    xml.load_string(svgText.c_str());
    std::string par = xml.document_element().attribute("preserveAspectRatio").value();
    const double vx = f.svg.viewBox[0], vy = f.svg.viewBox[1], vw = f.svg.viewBox[2], vh = f.svg.viewBox[3];
    f.sx = w / vw;
    f.sy = h / vh;
    if (par.find("none") == std::string::npos) {
        const double s = par.find("slice") != std::string::npos ? std::max(f.sx, f.sy) : std::min(f.sx, f.sy);
        f.sx = f.sy = s;
    }
    const double ax = par.find("xMin") != std::string::npos ? 0 : par.find("xMax") != std::string::npos ? 1 : 0.5;
    const double ay = par.find("YMin") != std::string::npos ? 0 : par.find("YMax") != std::string::npos ? 1 : 0.5;
    f.tx = -vx * f.sx + (w - vw * f.sx) * ax;
    f.ty = -vy * f.sy + (h - vh * f.sy) * ay;
}

// A rectangle of picture pixels, inclusive.
struct PixelBox {
    int x0, y0, x1, y1;
    bool holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

// Document bounds (y up) as picture pixels, widened by `margin` pixels.
PixelBox toPixels(const Frame &f, const AIRealRect &r, double margin) {
    const double xs[2] = {r.left * f.sx + f.tx, r.right * f.sx + f.tx};
    const double ys[2] = {-r.top * f.sy + f.ty, -r.bottom * f.sy + f.ty};
    auto clampInt = [](double v) { return int(std::max(-1e6, std::min(1e6, v))); };
    return {clampInt(std::floor(std::min(xs[0], xs[1]) - margin)), clampInt(std::floor(std::min(ys[0], ys[1]) - margin)),
            clampInt(std::ceil(std::max(xs[0], xs[1]) + margin)), clampInt(std::ceil(std::max(ys[0], ys[1]) + margin))};
}

bool drawingBounds(const Document &d, AIRealRect &all) {
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
    return any;
}

bool changedSinceRead(const Art &a) {
    if (a.sourceCopy || (a.sourceElement < 0 && a.sourceOwner < 0)) return true;
    for (int p = 0; p < 3; ++p)
        if (artPartDigest(a, ArtPart(p)) != a.sourceDigest[p]) return true;
    return false;
}

// How far a changed object's pixels may reach past its geometric bounds,
// in document units: half its stroke at a miter, or a dot's round cap. The
// model keeps a stroke's width at its element's mean scale; an element
// stretched more one way than the other draws its stroke wider that way
// (a circle drawn as a flat ellipse scaled tall has a thick top).
double paintReach(const Art &a) {
    if (!a.style.strokePaint) return 0;
    const AIRealMatrix &m = a.svgTransform;
    const double half = (double(m.a) * m.a + double(m.b) * m.b + double(m.c) * m.c + double(m.d) * m.d) / 2;
    const double det = std::fabs(double(m.a) * m.d - double(m.b) * m.c);
    const double largest = std::sqrt(half + std::sqrt(std::max(0.0, half * half - det * det)));
    const double stretch = det > 0 ? std::max(1.0, largest / std::sqrt(det)) : 1.0;
    return double(a.style.stroke.width) / 2 * std::max(1.0, double(a.style.stroke.miterLimit)) * stretch;
}

std::string attributeName(const SvgSource &source, const XmlAttributeSpan &a) {
    return source.text.substr(a.nameBegin, a.nameEnd - a.nameBegin);
}

std::string attributeValue(const SvgSource &source, int element, const std::string &name) {
    for (const XmlAttributeSpan &a : source.elements[size_t(element)].attributes)
        if (attributeName(source, a) == name) return source.text.substr(a.valueBegin, a.valueEnd - a.valueBegin);
    return {};
}

// Whether a style sheet of the file gives elements filters or markers.
bool sheetDrawsPastBounds(const SvgSource &source) {
    for (const XmlElementSpan &e : source.elements) {
        if (source.text.compare(e.nameBegin, e.nameEnd - e.nameBegin, "style") != 0) continue;
        const std::string sheet = source.text.substr(e.openEnd, e.close - e.openEnd);
        if (sheet.find("marker") != std::string::npos || sheet.find("filter") != std::string::npos) return true;
    }
    return false;
}

// Whether what the element draws may reach well past its geometric
// bounds: through a filter (its own or an ancestor's) or its markers.
bool drawsPastBounds(const SvgSource &source, int element) {
    if (sheetDrawsPastBounds(source)) return true;
    for (int e = element; e >= 0; e = source.elements[size_t(e)].parent)
        for (const XmlAttributeSpan &a : source.elements[size_t(e)].attributes) {
            const std::string name = attributeName(source, a);
            const std::string value = source.text.substr(a.valueBegin, a.valueEnd - a.valueBegin);
            if (name == "filter" || (name == "style" && value.find("filter") != std::string::npos)) return true;
            if (e == element && (name.compare(0, 6, "marker") == 0 || value.find("marker") != std::string::npos))
                return true;
        }
    return false;
}

// The ids of the elements that hold `element` (itself included): what a
// <use> of any of them shows changes with it.
// What a <use> refers to, in either spelling.
std::string referenceOf(const SvgSource &source, int element) {
    std::string href = attributeValue(source, element, "href");
    return href.empty() ? attributeValue(source, element, "xlink:href") : href;
}

void holdingIds(const SvgSource &source, int element, std::set<std::string> &ids) {
    for (int e = element; e >= 0; e = source.elements[size_t(e)].parent) {
        const std::string id = attributeValue(source, e, "id");
        if (!id.empty()) ids.insert("#" + id);
    }
}

// A <use> of a <use> shows what the inner one shows: the ids a changed
// element is drawn through, however many <use>s deep.
void showingIds(const SvgSource &source, std::set<std::string> &ids) {
    for (size_t before = 0; before != ids.size();) {
        before = ids.size();
        for (size_t e = 0; e < source.elements.size(); ++e) {
            const XmlElementSpan &span = source.elements[e];
            if (source.text.compare(span.nameBegin, span.nameEnd - span.nameBegin, "use") != 0) continue;
            if (ids.count(referenceOf(source, int(e)))) holdingIds(source, int(e), ids);
        }
    }
}

class RealSvg : public PluginTest, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        ASSERT_EQ(startup(), 0);
        g().showOutline = 0;
        const std::string &path = GetParam();
        std::string error;
        ASSERT_TRUE(readInputFile(path, kSvgMaxFileBytes, original_, error))
            << error << " (scripts/setup.sh installs the packages the list draws on)";
        ASSERT_TRUE(render::svgFrame(original_, path, frame_.svg, error)) << error;
        frame_.scale = std::min(4.0, kPictureSide / std::max(frame_.svg.width, frame_.svg.height));
        placeViewBox(original_, frame_);
        ASSERT_TRUE(render::renderSvg(original_, path, frame_.scale, kMaxPixels, before_, error)) << error;
        ASSERT_NO_FATAL_FAILURE(readAfresh());
    }

    // The file read into the host's document, everything open selected.
    void readAfresh() {
        auto doc = std::make_unique<Document>();
        SvgReadReport report;
        std::string error;
        ASSERT_TRUE(readSvgString(original_, *doc, report, error)) << error;
        selectAllOpen(*doc);
        host.replaceDocument(std::move(doc));
    }

    // One stroke of the tool across the middle of a fresh copy of the file:
    // what it changed outside its reach ("" for nothing), and whether it
    // changed anything and left half the picture to compare.
    void hitWith(int toolId, std::string &outside, bool &changed, bool &comparedMostly);

    void strokeWith(int toolId, AIRealPoint from, AIRealPoint to, int steps) {
        ASSERT_EQ(mouseDown(toolId, from), 0);
        for (int i = 1; i <= steps; ++i) {
            const AIReal t = AIReal(i) / AIReal(steps);
            ASSERT_EQ(drag(toolId, {from.h + (to.h - from.h) * t, from.v + (to.v - from.v) * t}), 0);
        }
        ASSERT_EQ(mouseUp(toolId, to), 0);
    }

    // The document as written; kept in $SMEAR_REAL_SVG_OUT, when set, as
    // NAME-KIND.svg for looking at.
    std::string written(const char *kind) {
        std::string text, error;
        EXPECT_TRUE(writeSvg(host.document(), text, error)) << error;
        if (const char *dir = std::getenv("SMEAR_REAL_SVG_OUT")) {
            const std::string &p = GetParam();
            std::ofstream(std::string(dir) + "/" + p.substr(p.find_last_of('/') + 1, p.size() - p.find_last_of('/') - 5) +
                          "-" + kind + ".svg")
                << text;
        }
        return text;
    }

    // The picture as a PPM (on white) in $SMEAR_REAL_SVG_OUT, when set.
    void keepPicture(const render::Picture &p, const char *kind) {
        const char *dir = std::getenv("SMEAR_REAL_SVG_OUT");
        if (!dir) return;
        const std::string &path = GetParam();
        const size_t slash = path.find_last_of('/');
        std::ofstream out(std::string(dir) + "/" + path.substr(slash + 1, path.size() - slash - 5) + "-" + kind + ".ppm",
                          std::ios::binary);
        out << "P6\n" << p.width << " " << p.height << "\n255\n";
        for (uint32_t px : p.pixels) {
            const uint32_t a = px >> 24;
            for (int shift : {16, 8, 0}) out.put(char(((px >> shift) & 0xff) + (255 - a)));
        }
    }

    // Pixels of `after` that differ from the original outside `reach`, as
    // "N pixels in x0,y0-x1,y1"; empty when there are none. `compared`
    // counts the pixels looked at.
    std::string differences(const render::Picture &after, const std::vector<PixelBox> &reach, size_t &compared) {
        if (after.width != before_.width || after.height != before_.height)
            return "the picture is " + std::to_string(after.width) + " x " + std::to_string(after.height) +
                   " pixels, not " + std::to_string(before_.width) + " x " + std::to_string(before_.height);
        size_t n = 0;
        PixelBox box{before_.width, before_.height, -1, -1};
        compared = 0;
        for (int y = 0; y < before_.height; ++y)
            for (int x = 0; x < before_.width; ++x) {
                if (std::any_of(reach.begin(), reach.end(), [&](const PixelBox &b) { return b.holds(x, y); })) continue;
                ++compared;
                const size_t k = size_t(y) * size_t(before_.width) + size_t(x);
                if (after.pixels[k] == before_.pixels[k]) continue;
                ++n;
                box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
            }
        if (n == 0) return {};
        return std::to_string(n) + " pixels in " + std::to_string(box.x0) + "," + std::to_string(box.y0) + "-" +
               std::to_string(box.x1) + "," + std::to_string(box.y1);
    }

    std::string original_;
    Frame frame_;
    render::Picture before_;
};

// How many files a hitting stroke changed, and how many of them still had
// pixels outside its reach to compare: the check below means something
// only when most strokes hit and leave most of the picture to compare.
struct HitCounts {
    size_t strokes = 0, changed = 0, comparedMostly = 0;
};
HitCounts hits;

TEST_P(RealSvg, AStrokeThatMissesChangesOnlyTheTagsAndNothingYouCanSee) {
    AIRealRect all{};
    if (!drawingBounds(host.document(), all)) all = {0, 0, 0, 0};
    // Far beyond the drawing and the brush, on every side.
    const double span = std::max(double(all.right) - all.left, double(all.top) - all.bottom) +
                        std::max(double(g().brushSizeHorizontal), double(g().brushSizeVertical));
    const AIRealPoint from{AIReal(all.right + 10 * span + 1000), AIReal(all.top + 10 * span + 1000)};
    strokeWith(GetParam().size() % kToolCount, from, {AIReal(from.h + span), from.v}, 6);
    const std::string out = written("miss");
    EXPECT_EQ(namespaceProblem(out), "");
    // The plug-in tags what a stroke collects; nothing else may differ.
    const std::string untagged = std::regex_replace(out, std::regex(" data-(child[0-9]+-)?smearcraft=\"smearcraft\""), "");
    EXPECT_EQ(untagged, original_);

    render::Picture after;
    std::string error;
    ASSERT_TRUE(render::renderSvg(out, GetParam(), frame_.scale, kMaxPixels, after, error)) << error;
    size_t compared = 0;
    EXPECT_EQ(differences(after, {}, compared), "");
}

void RealSvg::hitWith(int toolId, std::string &outside, bool &changed, bool &comparedMostly) {
    ASSERT_NO_FATAL_FAILURE(readAfresh());
    Document &doc = host.document();
    AIRealRect all{};
    outside.clear();
    changed = comparedMostly = false;
    if (!drawingBounds(doc, all)) return;
    const double side = std::max(double(all.right) - all.left, double(all.top) - all.bottom);
    // As a person paints: the artwork selected, not the backdrop behind it
    // (whatever covers a quarter of the drawing), with a brush a tenth of it.
    const double area = (double(all.right) - all.left) * (double(all.top) - all.bottom);
    doc.forEachArt([&](const Art &a) {
        AIRealRect r{};
        if (artBounds(a, r) && (double(r.right) - r.left) * (double(r.top) - r.bottom) > area / 4)
            const_cast<Art &>(a).userAttr &= ~kArtSelected;
    });
    g().brushSizeHorizontal = g().brushSizeVertical = AIReal(std::max(1.0, side / 10));
    std::map<const Art *, AIRealRect> boundsBefore;
    std::map<const Art *, double> reachBefore;
    doc.forEachArt([&](const Art &a) {
        AIRealRect r{};
        if (artBounds(a, r)) boundsBefore[&a] = r;
        reachBefore[&a] = paintReach(a);
    });
    const AIReal mid = (all.top + all.bottom) / 2;
    strokeWith(toolId, {all.left, mid}, {all.right, mid}, 8);
    const std::string out = written(("hit-" + std::to_string(toolId)).c_str());
    // Well-formed for a namespace-aware reader, whatever the tool did.
    const std::string malformed = namespaceProblem(out);
    if (!malformed.empty()) outside += "not namespace-well-formed: " + malformed + "; ";

    // What the stroke changed, where it was and where it is, with its
    // stroke; a fifth of the drawing further for what a filter or markers
    // draw, half a text's size for its glyphs and a fifth of a symbol's for
    // its content's strokes; and wherever a <use> shows it.
    const double unit = std::max(frame_.sx, frame_.sy);
    std::vector<PixelBox> reach;
    std::map<const Art *, bool> alive;
    std::set<std::string> usedIds;
    const SvgSource *source = doc.svgSource.get();
    doc.forEachArt([&](const Art &a) {
        alive[&a] = true;
        if (!changedSinceRead(a) || a.type == kGroupArt) return;
        const int element = a.sourceElement >= 0 ? a.sourceElement : a.sourceOwner;
        const bool beyond = source && element >= 0 && drawsPastBounds(*source, element);
        if (source && element >= 0) holdingIds(*source, element, usedIds);
        AIRealRect r{};
        const bool bounded = artBounds(a, r);
        // A text's glyphs, which the model only estimates; a symbol's
        // content is measured without its strokes.
        const double size = bounded ? std::max(double(r.right) - r.left, double(r.top) - r.bottom) : 0;
        const double glyphs = a.type == kTextArt ? size / 2 : a.type == kSymbolArt ? size / 5 : 0;
        const double margin = 2 + unit * (std::max(paintReach(a), reachBefore.count(&a) ? reachBefore[&a] : 0.0) +
                                          (beyond ? side / 5 : 0) + glyphs);
        if (bounded) reach.push_back(toPixels(frame_, r, margin));
        if (boundsBefore.count(&a)) reach.push_back(toPixels(frame_, boundsBefore[&a], margin));
        // A compound path is written whole: its other members come back
        // from the model's single-precision numbers, which may move an
        // edge pixel of a file written with more digits.
        const Art *whole = a.parent && a.parent->type == kCompoundPathArt ? a.parent : nullptr;
        if (whole && artBounds(*whole, r)) reach.push_back(toPixels(frame_, r, margin));
        if (whole && boundsBefore.count(whole)) reach.push_back(toPixels(frame_, boundsBefore[whole], margin));
    });
    if (source) showingIds(*source, usedIds);
    doc.forEachArt([&](const Art &a) {
        AIRealRect r{};
        if (!source || a.type != kSymbolArt || a.sourceElement < 0 || !artBounds(a, r)) return;
        if (usedIds.count(referenceOf(*source, a.sourceElement))) reach.push_back(toPixels(frame_, r, 2 + unit * side / 5));
    });
    for (const auto &[art, r] : boundsBefore)
        if (!alive.count(art)) reach.push_back(toPixels(frame_, r, 2 + unit * reachBefore[art]));

    render::Picture after;
    std::string error;
    ASSERT_TRUE(render::renderSvg(out, GetParam(), frame_.scale, kMaxPixels, after, error)) << error;
    keepPicture(before_, "before");
    keepPicture(after, ("hit-" + std::to_string(toolId)).c_str());
    size_t compared = 0;
    outside = differences(after, reach, compared);
    changed = !reach.empty();
    comparedMostly = changed && compared * 2 >= before_.pixels.size();
}

TEST_P(RealSvg, AStrokeOfEveryToolThatHitsChangesNoPixelOutsideWhatItChanged) {
    std::string differing;
    for (int toolId = 0; toolId < kToolCount; ++toolId) {
        std::string outside;
        bool changed = false, comparedMostly = false;
        ASSERT_NO_FATAL_FAILURE(hitWith(toolId, outside, changed, comparedMostly));
        if (!outside.empty()) differing += "tool " + std::to_string(toolId) + ": " + outside + "\n";
        ++hits.strokes;
        hits.changed += changed;
        hits.comparedMostly += comparedMostly;
    }
    if (knownToDiffer(GetParam())) {
        EXPECT_NE(differing, "") << "no longer differs: take it off known_differences.txt";
        if (!differing.empty()) GTEST_SKIP() << "a known difference:\n" << differing;
    } else {
        EXPECT_EQ(differing, "");
    }
}

// What an element says: its name, and each attribute and each declaration
// of its style attribute ("style:NAME").
struct Said {
    std::string name;
    std::map<std::string, std::string> values;
};

std::vector<Said> elementsSaid(const std::string &text) {
    std::vector<Said> out;
    pugi::xml_document xml;
    if (!xml.load_buffer(text.data(), text.size())) return out;
    std::vector<pugi::xml_node> todo{xml.document_element()};
    while (!todo.empty()) {
        const pugi::xml_node node = todo.back();
        todo.pop_back();
        Said said{node.name(), {}};
        for (const pugi::xml_attribute a : node.attributes()) {
            if (std::string(a.name()) != "style") {
                said.values[a.name()] = a.value();
                continue;
            }
            const std::string style = a.value();
            for (std::string_view d : cssDeclarations(style)) {
                const std::string name = cssPropertyName(d);
                if (name.empty()) continue;
                std::string value(d.substr(d.find(':') + 1));
                value.erase(0, value.find_first_not_of(" \t\r\n"));
                value.erase(value.find_last_not_of(" \t\r\n") + 1);
                said.values["style:" + name] = value;
            }
        }
        out.push_back(said);
        for (pugi::xml_node c = node.last_child(); c; c = c.previous_sibling())
            if (c.type() == pugi::node_element) todo.push_back(c);
    }
    return out;
}

// What of `was` differs in `now` that neither tool changes: "" for nothing.
// Transparency says an opacity (the fill's and the stroke's when the
// element's own cannot give it); Rotate a transform, and a paint server
// placed anew for paint that stays where it was while its shape turns.
std::string unexpectedChanges(const Said &was, const Said &now) {
    std::string out;
    std::set<std::string> keys;
    for (const auto &[k, v] : was.values) keys.insert(k);
    for (const auto &[k, v] : now.values) keys.insert(k);
    for (const std::string &key : keys) {
        const auto a = was.values.find(key), b = now.values.find(key);
        if (a != was.values.end() && b != now.values.end() && a->second == b->second) continue;
        const std::string property = key.compare(0, 6, "style:") == 0 ? key.substr(6) : key;
        if (property == "transform" || property == "opacity" || property == "fill-opacity" ||
            property == "stroke-opacity" || std::regex_match(property, std::regex("data-(child[0-9]+-)?smearcraft")))
            continue;
        if ((property == "fill" || property == "stroke") && b != now.values.end() &&
            b->second.rfind("url(#smear-", 0) == 0)
            continue;
        out += " " + key + ": \"" + (a == was.values.end() ? "(none)" : a->second) + "\" -> \"" +
               (b == now.values.end() ? "(none)" : b->second) + "\"";
    }
    return out;
}

TEST_P(RealSvg, ATransparencyAndARotateStrokeOverEverythingChangeOnlyWhatTheyChange) {
    Document &doc = host.document();
    AIRealRect all{};
    if (!drawingBounds(doc, all)) GTEST_SKIP() << "nothing is drawn";
    const double side = std::max(double(all.right) - all.left, double(all.top) - all.bottom);
    // A brush wider than the drawing, across its middle: every object.
    g().brushSizeHorizontal = g().brushSizeVertical = AIReal(std::max(1.0, 3 * side));
    const AIReal mid = (all.top + all.bottom) / 2;
    strokeWith(kTransparencyTool, {all.left, mid}, {all.right, mid}, 4);
    strokeWith(kRotateTool, {all.left, mid}, {all.right, mid}, 4);
    const std::string out = written("corpus");
    EXPECT_EQ(namespaceProblem(out), "");

    const std::vector<Said> was = elementsSaid(original_), now = elementsSaid(out);
    ASSERT_FALSE(was.empty());
    ASSERT_FALSE(now.empty());
    std::string differing;
    for (size_t k = 0; k < was.size() && k < now.size(); ++k) {
        const std::string id = was[k].values.count("id") ? " id=" + was[k].values.at("id") : "";
        if (was[k].name != now[k].name) {
            differing += "<" + was[k].name + id + "> became <" + now[k].name + ">\n";
            break;  // the rest no longer lines up
        }
        const std::string changes = unexpectedChanges(was[k], now[k]);
        if (!changes.empty()) differing += "<" + was[k].name + id + ">" + changes + "\n";
    }
    // What is added comes after the file's own elements: paint servers
    // placed anew, in definitions of their own.
    for (size_t k = was.size(); k < now.size(); ++k) {
        const std::string &name = now[k].name;
        const std::string local = name.substr(name.find(':') + 1);
        if (local != "defs" && local != "linearGradient" && local != "radialGradient" && local != "pattern" &&
            local != "stop")
            differing += "<" + name + "> added\n";
    }
    // Besides the tags, and the transforms and opacities the tools set
    // (which every element may take, however small), at most a tenth more.
    auto besides = [](const std::string &text) {
        static const std::regex said(" data-(child[0-9]+-)?smearcraft=\"[^\"]*\"|"
                                     " (transform|opacity)=(\"[^\"]*\"|'[^']*')|;?opacity:[^;\"']*");
        return std::regex_replace(text, said, "");
    };
    const size_t before = besides(original_).size(), after = besides(out).size();
    if (double(after) > 1.1 * double(before))
        differing += std::to_string(before) + " bytes became " + std::to_string(after) +
                     " besides the tags, transforms and opacities\n";
    if (knownToDiffer(GetParam(), "known_changes.txt")) {
        EXPECT_NE(differing, "") << "no longer changes more: take it off known_changes.txt";
        if (!differing.empty()) GTEST_SKIP() << "a known change:\n" << differing;
    } else {
        EXPECT_EQ(differing, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RealSvg, ::testing::ValuesIn(listedFiles()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             std::string name = std::to_string(info.index) + "_";
                             const std::string &p = info.param;
                             for (char c : p.substr(p.find_last_of('/') + 1))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// The hitting strokes mean something: a third of them change something
// (some tools change only some kinds of paint), and a third of those leave
// half the picture to compare.
class HitCountCheck : public ::testing::Environment {
public:
    void TearDown() override {
        if (hits.strokes < 100 * kToolCount) return;  // a filtered run
        EXPECT_GE(hits.changed * 3, hits.strokes) << hits.changed << " of " << hits.strokes << " strokes hit";
        EXPECT_GE(hits.comparedMostly * 3, hits.changed)
            << hits.comparedMostly << " of " << hits.changed << " hitting strokes left half the picture to compare";
    }
};
const auto *const kHitCountCheck = ::testing::AddGlobalTestEnvironment(new HitCountCheck);

TEST(RealSvgList, HoldsAHundredFilesAtLeast) { EXPECT_GE(listedFiles().size(), 100u); }

}  // namespace
}  // namespace smear
