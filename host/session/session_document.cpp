#include "session_document.h"

#include "sample_document.h"
#include "svg_numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace smear {

namespace {

using nlohmann::json;

// Thrown while building; caught once at the top with the path to the entry.
struct BuildError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string &where, const std::string &what) { throw BuildError(where + ": " + what); }

// The document keeps single-precision numbers: finite, up to the largest float.
bool fitsDrawing(double v) { return std::fabs(v) <= double(std::numeric_limits<float>::max()); }

// A point computed from the description, which may reach past what each
// of its numbers does.
AIRealPoint toDoc(double x, double y, const std::string &where) {
    if (!fitsDrawing(x) || !fitsDrawing(y)) fail(where, "reaches beyond the range of the drawing");
    return AIRealPoint{AIReal(x), AIReal(-y)};
}

double number(const json &j, const std::string &where) {
    if (!j.is_number()) fail(where, "expected a number, got " + j.dump());
    const double v = j.get<double>();
    if (!fitsDrawing(v)) fail(where, j.dump() + " is beyond the range of the drawing");
    return v;
}

long long whole(const json &j, const std::string &where, long long min, long long max, const char *what) {
    const double v = number(j, where);
    if (!(v >= double(min) && v <= double(max)) || v != std::trunc(v))
        fail(where, std::string("expected ") + what + ", a whole number from " + std::to_string(min) + " to " +
                        std::to_string(max) + ", got " + j.dump());
    return static_cast<long long>(v);
}

std::vector<double> numbers(const json &j, size_t count, const std::string &where) {
    if (!j.is_array() || j.size() != count)
        fail(where, "expected " + std::to_string(count) + " numbers, got " + j.dump());
    std::vector<double> out;
    for (size_t i = 0; i < count; ++i) out.push_back(number(j[i], where + "[" + std::to_string(i) + "]"));
    return out;
}

AIRealPoint point(const json &j, const std::string &where) {
    auto v = numbers(j, 2, where);
    return toDoc(v[0], v[1], where);
}

std::string text(const json &j, const std::string &where) {
    if (!j.is_string()) fail(where, "expected a string, got " + j.dump());
    return j.get<std::string>();
}

// Decimal, as SVG writes numbers: strtod would also take "0x0.8" and "inf".
double unitInterval(const std::string &s, const std::string &where) {
    double v = 0;
    if (!svg::parseNumber(s, v) || !(v >= 0 && v <= 1)) fail(where, "'" + s + "' is not a number from 0 to 1");
    return v;
}

template <class T> T *byName(const std::vector<T *> &list, const std::string &name) {
    for (T *item : list)
        if (item->name == name) return item;
    return nullptr;
}

AIColor colorOf(const json &j, Document &doc, bool &painted, const std::string &where) {
    AIColor c{};
    std::string error;
    if (!parseColor(text(j, where), doc, c, painted, error)) fail(where, error);
    return c;
}

// The paint every kind of art takes.
void readPaint(const json &o, Art &art, Document &doc, const std::string &where) {
    bool painted = true;
    if (o.contains("fill")) {
        art.style.fill.color = colorOf(o["fill"], doc, painted, where + ".fill");
        art.style.fillPaint = painted;
    }
    if (o.contains("stroke")) {
        art.style.stroke.color = colorOf(o["stroke"], doc, painted, where + ".stroke");
        art.style.strokePaint = painted;
    }
    if (o.contains("strokeWidth")) art.style.stroke.width = AIReal(number(o["strokeWidth"], where + ".strokeWidth"));
    if (o.contains("opacity")) {
        const double v = number(o["opacity"], where + ".opacity");
        if (v < 0 || v > 1) fail(where + ".opacity", "must lie from 0 to 1");
        art.opacity = AIReal(v);
    }
    if (o.contains("blend"))
        art.blendMode = ASInt32(whole(o["blend"], where + ".blend", kAINormalBlendingMode, kAILuminosityBlendingMode,
                                      "a blend mode"));
    if (o.contains("style")) {
        const std::string name = text(o["style"], where + ".style");
        art.artStyle = byName(doc.graphicStyles, name);
        if (!art.artStyle) fail(where + ".style", "no graphic style named '" + name + "'");
    }
}

AIPathSegment cornerAt(AIRealPoint p) { return AIPathSegment{p, p, p, true}; }

void readPathGeometry(const json &o, Art &art, const std::string &where) {
    art.closed = o.value("closed", false);
    if (o.contains("points")) {
        const json &pts = o["points"];
        if (!pts.is_array() || pts.size() < 2) fail(where + ".points", "a path needs at least two points");
        for (size_t i = 0; i < pts.size(); ++i)
            art.segments.push_back(cornerAt(point(pts[i], where + ".points[" + std::to_string(i) + "]")));
    } else if (o.contains("segments")) {
        const json &segs = o["segments"];
        if (!segs.is_array() || segs.size() < 2) fail(where + ".segments", "a path needs at least two segments");
        for (size_t i = 0; i < segs.size(); ++i) {
            const std::string at = where + ".segments[" + std::to_string(i) + "]";
            const json &s = segs[i];
            if (!s.is_object() || !s.contains("p")) fail(at, "a segment needs its anchor \"p\"");
            AIPathSegment seg = cornerAt(point(s["p"], at + ".p"));
            if (s.contains("in")) seg.in = point(s["in"], at + ".in");
            if (s.contains("out")) seg.out = point(s["out"], at + ".out");
            seg.corner = s.value("corner", !(s.contains("in") || s.contains("out")));
            art.segments.push_back(seg);
        }
    } else if (o.contains("rect")) {
        const std::string at = where + ".rect";
        auto r = numbers(o["rect"], 4, at);
        art.segments = {cornerAt(toDoc(r[0], r[1], at)), cornerAt(toDoc(r[0] + r[2], r[1], at)),
                        cornerAt(toDoc(r[0] + r[2], r[1] + r[3], at)), cornerAt(toDoc(r[0], r[1] + r[3], at))};
        art.closed = o.value("closed", true);
    } else if (o.contains("ellipse")) {
        // Four Bezier quarters with the usual circle constant.
        const std::string at = where + ".ellipse";
        auto e = numbers(o["ellipse"], 4, at);
        const double cx = e[0], cy = e[1], rx = e[2], ry = e[3], k = 0.5522847498;
        const double ax[4] = {cx + rx, cx, cx - rx, cx}, ay[4] = {cy, cy + ry, cy, cy - ry};
        const double tx[4] = {0, -1, 0, 1}, ty[4] = {1, 0, -1, 0};  // direction of travel, svg units
        for (int i = 0; i < 4; ++i) {
            AIPathSegment s{};
            s.p = toDoc(ax[i], ay[i], at);
            s.out = toDoc(ax[i] + tx[i] * k * rx, ay[i] + ty[i] * k * ry, at);
            s.in = toDoc(ax[i] - tx[i] * k * rx, ay[i] - ty[i] * k * ry, at);
            s.corner = false;
            art.segments.push_back(s);
        }
        art.closed = o.value("closed", true);
    } else {
        fail(where, "a path needs \"points\", \"segments\", \"rect\" or \"ellipse\"");
    }
}

void readMesh(const json &o, Art &art, const std::string &where, Document &doc) {
    if (!o.contains("rect")) fail(where, "a mesh needs its \"rect\" [x, y, width, height]");
    auto r = numbers(o["rect"], 4, where + ".rect");
    std::vector<double> patches = {2, 2};
    if (o.contains("patches")) patches = numbers(o["patches"], 2, where + ".patches");
    if (patches[0] < 1 || patches[1] < 1 || patches[0] > 64 || patches[1] > 64 ||
        patches[0] != std::floor(patches[0]) || patches[1] != std::floor(patches[1]))
        fail(where + ".patches", "needs two whole numbers from 1 to 64");
    art.meshI = ASInt32(patches[0]);
    art.meshJ = ASInt32(patches[1]);
    std::vector<AIColor> colors;
    if (o.contains("colors")) {
        const json &cs = o["colors"];
        if (!cs.is_array() || cs.empty()) fail(where + ".colors", "expected a list of colours");
        for (size_t i = 0; i < cs.size(); ++i) {
            bool painted = true;
            colors.push_back(colorOf(cs[i], doc, painted, where + ".colors[" + std::to_string(i) + "]"));
        }
    } else {
        colors.push_back(art.style.fill.color);
    }
    // i runs across (x), j down (y); vertex colours cycle through the list.
    size_t n = 0;
    for (ASInt32 i = 0; i <= art.meshI; ++i)
        for (ASInt32 j = 0; j <= art.meshJ; ++j) {
            MeshVertex v;
            v.point = toDoc(r[0] + r[2] * i / art.meshI, r[1] + r[3] * j / art.meshJ, where + ".rect");
            v.color = colors[n++ % colors.size()];
            art.vertices.push_back(v);
        }
}

void readText(const json &o, Art &art, const std::string &where) {
    art.text = text(o.value("text", json()), where + ".text");
    art.fontSize = AIReal(o.contains("size") ? number(o["size"], where + ".size") : 12.0);
    if (art.fontSize <= 0) fail(where + ".size", "must be above 0");
    const AIRealPoint at = o.contains("at") ? point(o["at"], where + ".at") : AIRealPoint{0, 0};
    // The frame runs from the baseline origin: ascent above, descent below,
    // an average glyph width per character.
    art.frame = AIRealRect{0, art.fontSize * 0.8f, art.fontSize * 0.55f * AIReal(art.text.size()), -art.fontSize * 0.2f};
    if (!fitsDrawing(art.frame.right))
        fail(where + ".size", "the text's frame at this size reaches beyond the range of the drawing");
    art.matrix = AIRealMatrix{1, 0, 0, 1, at.h, at.v};
}

Art *readArt(const json &o, Document &doc, Art *container, const std::string &where, int depth);

void readChildren(const json &o, Document &doc, Art *container, const std::string &where, int depth) {
    if (!o.contains("children")) return;
    const json &children = o["children"];
    if (!children.is_array()) fail(where + ".children", "expected a list of objects");
    if (!children.empty() && depth >= kSessionMaxArtDepth)
        fail(where + ".children", "nested deeper than " + std::to_string(kSessionMaxArtDepth) + " levels");
    for (size_t i = 0; i < children.size(); ++i)
        readArt(children[i], doc, container, where + ".children[" + std::to_string(i) + "]", depth + 1);
}

// Gradient and pattern fills start from the object's own box.
void placePaint(AIColor &c, const Art &art, const std::string &where) {
    AIRealRect b{};
    if (!artBounds(art, b)) return;
    if (c.kind == kGradient) {
        // A linear gradient runs across the box from its left edge; a radial
        // one spreads from the box's centre to its farther edge.
        const Gradient *g = reinterpret_cast<const Gradient *>(c.c.b.gradient);
        const AIReal w = b.right - b.left, h = b.top - b.bottom;
        if (g && g->radial) {
            c.c.b.gradientOrigin = AIRealPoint{b.left + w / 2, b.bottom + h / 2};
            c.c.b.gradientLength = (w > h ? w : h) / 2;
        } else {
            c.c.b.gradientOrigin = AIRealPoint{b.left, (b.top + b.bottom) / 2};
            c.c.b.gradientLength = w;
        }
        // A box whose sides fit may still be wider than a float.
        const AIGradientStyle &placed = c.c.b;
        if (!fitsDrawing(placed.gradientOrigin.h) || !fitsDrawing(placed.gradientOrigin.v) ||
            !fitsDrawing(placed.gradientLength))
            fail(where, "a gradient across it reaches beyond the range of the drawing");
        c.c.b.gradientAngle = 0;
        c.c.b.matrix = AIRealMatrix{1, 0, 0, 1, 0, 0};
    } else if (c.kind == kPattern) {
        c.c.p.scale = AIRealPoint{100, 100};  // percent: the tile at its own size
        c.c.p.transform = AIRealMatrix{1, 0, 0, 1, 0, 0};
    }
}

Art *readArt(const json &o, Document &doc, Art *container, const std::string &where, int depth) {
    if (!o.is_object()) fail(where, "expected an object, got " + o.dump());
    const std::string type = o.contains("type") ? text(o["type"], where + ".type") : "path";
    ASInt16 artType = kPathArt;
    if (type == "path") artType = kPathArt;
    else if (type == "compound") artType = kCompoundPathArt;
    else if (type == "group") artType = kGroupArt;
    else if (type == "mesh") artType = kMeshArt;
    else if (type == "text") artType = kTextArt;
    else fail(where + ".type", "unknown object type '" + type + "' (path, compound, group, mesh, text)");

    Art *art = doc.newArt(artType);
    if (o.contains("id")) art->id = text(o["id"], where + ".id");
    // Children of a compound path wear its paint unless they say otherwise.
    if (container->type == kCompoundPathArt) art->style = container->style;
    // A compound path's holes are holes: its paths fill by the even-odd rule.
    if (artType == kCompoundPathArt) art->style.evenodd = 1;
    if (o.contains("evenodd")) {
        if (!o["evenodd"].is_boolean()) fail(where + ".evenodd", "expected true or false");
        art->style.evenodd = o["evenodd"].get<bool>() ? 1 : 0;
    }
    readPaint(o, *art, doc, where);
    doc.link(art, kPlaceInsideOnTop, container);
    if (o.value("selected", false)) art->userAttr |= kArtSelected;

    switch (artType) {
    case kPathArt: readPathGeometry(o, *art, where); break;
    case kMeshArt: readMesh(o, *art, where, doc); break;
    case kTextArt: readText(o, *art, where); break;
    case kCompoundPathArt:
        if (!o.contains("children") || !o["children"].is_array() || o["children"].empty())
            fail(where, "a compound path needs its paths as \"children\"");
        for (const json &c : o["children"])
            if (c.is_object() && c.value("type", std::string("path")) != "path")
                fail(where + ".children", "a compound path holds only paths");
        readChildren(o, doc, art, where, depth);
        break;
    default: readChildren(o, doc, art, where, depth); break;
    }
    // Once its geometry (and its children's) is whole.
    placePaint(art->style.fill.color, *art, where);
    placePaint(art->style.stroke.color, *art, where);
    return art;
}

void readResources(const json &desc, Document &doc) {
    bool painted = true;
    if (desc.contains("customColors"))
        for (size_t i = 0; i < desc["customColors"].size(); ++i) {
            const std::string at = "customColors[" + std::to_string(i) + "]";
            const json &c = desc["customColors"][i];
            doc.addCustomColor(text(c.value("name", json()), at + ".name"), colorOf(c.value("color", json()), doc, painted, at + ".color"));
        }
    if (desc.contains("gradients"))
        for (size_t i = 0; i < desc["gradients"].size(); ++i) {
            const std::string at = "gradients[" + std::to_string(i) + "]";
            const json &g = desc["gradients"][i];
            Gradient *gradient = doc.addGradient(text(g.value("name", json()), at + ".name"));
            gradient->radial = g.value("radial", false);
            const json &stops = g.value("stops", json::array());
            if (!stops.is_array() || stops.size() < 2) fail(at + ".stops", "a gradient needs two stops or more");
            for (size_t s = 0; s < stops.size(); ++s) {
                const std::string st = at + ".stops[" + std::to_string(s) + "]";
                if (!stops[s].is_array() || stops[s].size() != 2) fail(st, "a stop is [offset, colour]");
                gradient->stops.push_back(GradientStop{AIReal(number(stops[s][0], st + "[0]")),
                                                       colorOf(stops[s][1], doc, painted, st + "[1]")});
            }
        }
    if (desc.contains("patterns"))
        for (size_t i = 0; i < desc["patterns"].size(); ++i) {
            const std::string at = "patterns[" + std::to_string(i) + "]";
            const json &p = desc["patterns"][i];
            Pattern *pattern = doc.addPattern(text(p.value("name", json()), at + ".name"));
            auto t = numbers(p.value("tile", json::array({0, 0, 10, 10})), 4, at + ".tile");
            const AIRealPoint from = toDoc(t[0], t[1], at + ".tile"), to = toDoc(t[0] + t[2], t[1] + t[3], at + ".tile");
            pattern->tile = AIRealRect{from.h, from.v, to.h, to.v};
            pattern->color = colorOf(p.value("color", json("#000000")), doc, painted, at + ".color");
        }
    if (desc.contains("swatches"))
        for (size_t i = 0; i < desc["swatches"].size(); ++i) {
            const std::string at = "swatches[" + std::to_string(i) + "]";
            const json &s = desc["swatches"][i];
            doc.addSwatch(text(s.value("name", json()), at + ".name"), colorOf(s.value("color", json()), doc, painted, at + ".color"));
        }
    if (desc.contains("graphicStyles"))
        for (size_t i = 0; i < desc["graphicStyles"].size(); ++i) {
            const std::string at = "graphicStyles[" + std::to_string(i) + "]";
            const json &s = desc["graphicStyles"][i];
            // Read the way objects are, on an art object that never joins the document.
            Art *probe = doc.newArt(kPathArt);
            doc.dispose(probe);
            readPaint(s, *probe, doc, at);
            GraphicStyle *style = doc.addGraphicStyle(text(s.value("name", json()), at + ".name"), probe->style);
            style->opacity = probe->opacity;
        }
}

void readObjects(const json &list, Document &doc, Layer *layer, const std::string &where) {
    if (!list.is_array()) fail(where, "expected a list of objects");
    for (size_t i = 0; i < list.size(); ++i)
        readArt(list[i], doc, layer->root, where + "[" + std::to_string(i) + "]", 1);
}

}  // namespace

bool parseColor(const std::string &t, Document &doc, AIColor &c, bool &painted, std::string &error) {
    c = AIColor{};
    painted = true;
    try {
        const size_t colon = t.find(':');
        const std::string kind = colon == std::string::npos ? t : t.substr(0, colon);
        const std::string arg = colon == std::string::npos ? "" : t.substr(colon + 1);
        if (t == "none") {
            c.kind = kNoneColor;
            painted = false;
        } else if (!t.empty() && t[0] == '#') {
            std::string hex = t.substr(1);
            if (hex.size() == 3) hex = {hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]};
            if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                fail("colour", "'" + t + "' is not #rgb or #rrggbb");
            c.kind = kThreeColor;
            auto digit = [](char d) { return d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10; };
            auto channel = [&](size_t i) { return AIReal((digit(hex[i]) * 16 + digit(hex[i + 1])) / 255.0); };
            c.c.rgb.red = channel(0);
            c.c.rgb.green = channel(2);
            c.c.rgb.blue = channel(4);
        } else if (kind == "gray") {
            c.kind = kGrayColor;
            c.c.g.gray = AIReal(unitInterval(arg, "colour"));
        } else if (kind == "cmyk") {
            AIReal v[4];
            size_t start = 0;
            for (int i = 0; i < 4; ++i) {
                const size_t comma = arg.find(',', start);
                if ((comma == std::string::npos) != (i == 3)) fail("colour", "'" + t + "' needs four components");
                v[i] = AIReal(unitInterval(arg.substr(start, comma - start), "colour"));
                start = comma + 1;
            }
            c.kind = kFourColor;
            c.c.f = AIFourColorStyle{v[0], v[1], v[2], v[3]};
        } else if (kind == "custom") {
            const size_t at = arg.find('@');
            const std::string name = arg.substr(0, at);
            CustomColor *custom = byName(doc.customColors, name);
            if (!custom) fail("colour", "no custom colour named '" + name + "'");
            c.kind = kCustomColor;
            c.c.c.color = reinterpret_cast<AICustomColorHandle>(custom);
            c.c.c.tint = at == std::string::npos ? 0 : AIReal(unitInterval(arg.substr(at + 1), "colour"));
        } else if (kind == "gradient") {
            Gradient *g = byName(doc.gradients, arg);
            if (!g) fail("colour", "no gradient named '" + arg + "'");
            c.kind = kGradient;
            c.c.b.gradient = reinterpret_cast<AIGradientHandle>(g);
            c.c.b.matrix = AIRealMatrix{1, 0, 0, 1, 0, 0};
        } else if (kind == "pattern") {
            Pattern *p = byName(doc.patterns, arg);
            if (!p) fail("colour", "no pattern named '" + arg + "'");
            c.kind = kPattern;
            c.c.p.pattern = reinterpret_cast<AIPatternHandle>(p);
            c.c.p.scale = AIRealPoint{100, 100};
            c.c.p.transform = AIRealMatrix{1, 0, 0, 1, 0, 0};
        } else {
            fail("colour", "'" + t + "' is not a colour (none, #rrggbb, gray:, cmyk:, custom:, gradient:, pattern:)");
        }
    } catch (const BuildError &e) {
        error = std::string(e.what()).substr(std::string("colour: ").size());
        return false;
    }
    return true;
}

bool jsonNestedDeeper(const json &j, size_t limit) {
    std::vector<std::pair<const json *, size_t>> todo{{&j, 1}};
    while (!todo.empty()) {
        const auto [value, depth] = todo.back();
        todo.pop_back();
        if (!value->is_structured()) continue;
        if (depth > limit) return true;
        for (const json &v : *value)
            if (v.is_structured()) todo.emplace_back(&v, depth + 1);
    }
    return false;
}

std::unique_ptr<Document> buildDocument(const json &desc, std::string &error) {
    try {
        if (jsonNestedDeeper(desc, kSessionMaxJsonDepth))
            fail("document", "nested deeper than " + std::to_string(kSessionMaxJsonDepth) + " levels");
        if (!desc.is_object()) fail("document", "expected an object, got " + desc.dump());
        if (desc.contains("builtin")) {
            if (desc["builtin"] != "sample" || desc.size() != 1) fail("builtin", "the one built-in document is \"sample\"");
            return buildDocument(sampleDocument(), error);
        }
        auto doc = std::make_unique<Document>();
        if (desc.contains("size")) {
            auto s = numbers(desc["size"], 2, "size");
            if (s[0] <= 0 || s[1] <= 0) fail("size", "width and height must be above 0");
            doc->artboard = AIRealRect{0, 0, AIReal(s[0]), AIReal(-s[1])};
        }
        readResources(desc, *doc);
        size_t current = 0;
        if (desc.contains("layers")) {
            const json &layers = desc["layers"];
            if (!layers.is_array() || layers.empty()) fail("layers", "expected a list of layers");
            for (size_t i = 0; i < layers.size(); ++i) {
                const std::string at = "layers[" + std::to_string(i) + "]";
                const json &l = layers[i];
                if (!l.is_object()) fail(at, "expected an object");
                Layer *layer = i == 0 ? doc->layers.front() : doc->addLayer("");
                layer->name = l.contains("name") ? text(l["name"], at + ".name") : "Layer " + std::to_string(i + 1);
                layer->locked = l.value("locked", false);
                layer->visible = l.value("visible", true);
                // New art (the brush outline, trail copies) goes on the current layer.
                if (l.value("current", false)) current = i;
                readObjects(l.value("objects", json::array()), *doc, layer, at + ".objects");
            }
        }
        if (desc.contains("objects")) readObjects(desc["objects"], *doc, doc->layers.front(), "objects");
        doc->currentLayerIndex = current;
        return doc;
    } catch (const BuildError &e) {
        error = e.what();
    } catch (const json::exception &e) {
        error = std::string("document: ") + e.what();
    }
    return nullptr;
}

}  // namespace smear
