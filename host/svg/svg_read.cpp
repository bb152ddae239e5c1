// Reading SVG files into the document: the element walk, groups and nested
// viewports, layers, and what every art object gets from its element.
#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "svg_numbers.h"
#include "art_signature.h"
#include "svg_color_codec.h"
#include "svg_read_internal.h"
#include "xml_encoding.h"
#include "xml_entities.h"
#include "xml_out.h"

namespace smear {

namespace svg {

namespace {

const char *const kSvgNamespace = "http://www.w3.org/2000/svg";
const char *const kXlinkNamespace = "http://www.w3.org/1999/xlink";

// Elements that draw nothing where they stand: definitions are read when
// something refers to them, descriptions and animations are not drawing.
const std::set<std::string> kSilent = {
    "defs",    "metadata", "title",     "desc",         "style",  "linearGradient", "radialGradient",
    "pattern", "symbol",   "clipPath",  "mask",         "marker", "filter",         "view",
    "cursor",  "animate",  "animateTransform", "animateMotion", "animateColor", "set", "mpath",
    "font",    "font-face", "glyph",    "missing-glyph", "hkern", "vkern",          "color-profile",
    "meshgradient", "meshGradient", "meshrow", "meshRow", "meshpatch", "meshPatch"};

const std::set<std::string> kShapes = {"path", "rect", "circle", "ellipse", "line", "polyline", "polygon"};

// data-* attributes the writer uses for structure rather than tags.
bool isStructural(const std::string &name) {
    static const std::set<std::string> kNames = {
        "data-mesh",       "data-mesh-points", "data-mesh-colors", "data-children",          "data-layer",
        "data-layer-locked", "data-smear-fill", "data-smear-stroke", "data-smear-style", "data-smear-style-factor"};
    if (kNames.count(name)) return true;
    if (name.compare(0, 10, "data-child") != 0) return false;
    size_t i = 10;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9') ++i;
    return i > 10 && i < name.size() && name[i] == '-';
}

Art *readElement(Context &ctx, pugi::xml_node node, const Style &parentStyle, const Affine &ctm, Art *container);

void readChildren(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element) readElement(ctx, c, style, ctm, container);
}

Art *readGroup(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    Art *group = newLinkedArt(ctx, kGroupArt, container);
    setCommon(ctx, *group, node, style);
    readChildren(ctx, node, style, ctm, group);
    return group;
}

// The child a <switch> draws: the first one whose conditions hold.
pugi::xml_node switchChoice(Context &ctx, pugi::xml_node node) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        const std::string name = ctx.localName(c);
        if (name.empty() || kSilent.count(name) || name == "foreignObject") continue;
        if (*c.attribute("requiredExtensions").value()) continue;
        const std::string lang = c.attribute("systemLanguage").value();
        if (!lang.empty() && lang.compare(0, 2, "en") != 0 && lang.find(",en") == std::string::npos &&
            lang.find(", en") == std::string::npos)
            continue;
        return c;
    }
    return {};
}

// Attributes that place or shape what an element draws: a number there
// that the drawing cannot hold skips the element. (Path data is read for
// it, as its arc flags may run into the numbers after them.)
const std::map<std::string, std::vector<std::pair<const char *, Axis>>> kPlacement = {
    {"svg", {{"x", Axis::kX}, {"y", Axis::kY}, {"width", Axis::kX}, {"height", Axis::kY}, {"viewBox", Axis::kOther}}},
    {"use", {{"x", Axis::kX}, {"y", Axis::kY}, {"width", Axis::kX}, {"height", Axis::kY}}},
    {"image", {{"x", Axis::kX}, {"y", Axis::kY}, {"width", Axis::kX}, {"height", Axis::kY}}},
    {"text", {{"x", Axis::kX}, {"y", Axis::kY}, {"dx", Axis::kX}, {"dy", Axis::kY}}},
    {"rect",
     {{"x", Axis::kX}, {"y", Axis::kY}, {"width", Axis::kX}, {"height", Axis::kY}, {"rx", Axis::kX}, {"ry", Axis::kY}}},
    {"circle", {{"cx", Axis::kX}, {"cy", Axis::kY}, {"r", Axis::kOther}}},
    {"ellipse", {{"cx", Axis::kX}, {"cy", Axis::kY}, {"rx", Axis::kX}, {"ry", Axis::kY}}},
    {"line", {{"x1", Axis::kX}, {"y1", Axis::kY}, {"x2", Axis::kX}, {"y2", Axis::kY}}},
    {"polyline", {{"points", Axis::kOther}}},
    {"polygon", {{"points", Axis::kOther}}},
};

std::string placementBeyondRange(Context &ctx, pugi::xml_node node, const std::string &name, double fontSize) {
    std::string reason = ctx.attrBeyondRange(node, "transform");
    const auto it = kPlacement.find(name);
    if (it != kPlacement.end())
        for (const auto &[attr, axis] : it->second)
            if (reason.empty()) reason = ctx.attrBeyondRange(node, attr, axis, fontSize);
    return reason;
}

}  // namespace

namespace {

bool ownNumbersFit(const Art &a) {
    // Stored as floats, a number fits the drawing exactly when it is finite.
    for (const AIPathSegment &s : a.segments)
        if (!isFinite(s)) return false;
    for (const MeshVertex &v : a.vertices)
        if (!isFinite(v.point) || !colorIsFinite(v.color)) return false;
    const AIStrokeStyle &k = a.style.stroke;
    for (ASInt32 i = 0; i < k.dashCount && i < kMaxDashComponents; ++i)
        if (!std::isfinite(k.dashes[i])) return false;
    return colorIsFinite(a.style.fill.color) && colorIsFinite(k.color) &&
           allFinite({k.width, k.dashOffset, k.miterLimit}) && isFinite(a.svgTransform) && isFinite(a.matrix) &&
           allFinite({a.opacity, a.styleFactor, a.fontSize, a.frame.left, a.frame.top, a.frame.right, a.frame.bottom});
}

// The last guard before art stays in the document: every number of it, and
// of what was made with it (the members of a compound path, the lines of a
// text), is one the document can hold. What went beyond while it was
// computed (a transform that grows a shape past the largest float, a
// gradient placed through it) is reported and the art taken out again.
Art *keptInRange(Context &ctx, pugi::xml_node node, Art *art) {
    if (!art) return nullptr;
    bool fits = ownNumbersFit(*art);
    for (const Art *c = art->firstChild; fits && c; c = c->next) fits = ownNumbersFit(*c);
    if (fits) return art;
    ctx.problem(node, std::string(kBeyondDrawing) + "; skipped");
    ctx.doc.dispose(art);
    return nullptr;
}

Art *readElement(Context &ctx, pugi::xml_node node, const Style &parentStyle, const Affine &ctm, Art *container) {
    const std::string name = ctx.localName(node);
    if (name.empty()) {
        const std::string full = node.name();
        if (full.compare(0, 9, "sodipodi:") != 0 && full.compare(0, 9, "inkscape:") != 0)
            ctx.problem(node, "is not an SVG element; skipped");
        return nullptr;
    }
    if (kSilent.count(name)) return nullptr;
    const Style style = ctx.computeStyle(node, parentStyle);
    const std::string beyond = placementBeyondRange(ctx, node, name, style.fontSize);
    if (!beyond.empty()) {
        ctx.problem(node, beyond + "; skipped");
        return nullptr;
    }
    const Affine own = elementTransform(ctx, node);
    Affine m = ctm * own;
    if (const int index = ctx.elementIndex(node); index >= 0) ctx.source->parentToRoot[size_t(index)] = ctm;
    Art *art = nullptr;
    if (name == "g" && !node.attribute("data-mesh").empty()) {
        art = readMesh(ctx, node, style, m, container);
    } else if (name == "g" || name == "a") {
        art = readGroup(ctx, node, style, m, container);
    } else if (name == "svg") {
        // A nested viewport: placed at x, y, its viewBox fitted to its size.
        const double fs = style.fontSize;
        m = m * Affine::translate(ctx.lengthAttr(node, "x", Axis::kX, fs, 0), ctx.lengthAttr(node, "y", Axis::kY, fs, 0));
        double vb[4];
        const double w = ctx.lengthAttr(node, "width", Axis::kX, fs, ctx.viewportWidth);
        const double h = ctx.lengthAttr(node, "height", Axis::kY, fs, ctx.viewportHeight);
        const bool boxed = parseViewBox(node.attribute("viewBox").value(), vb);
        if (boxed) m = m * viewBoxTransform(vb, w, h, node.attribute("preserveAspectRatio").value());
        // Percentages inside are of this viewport (its viewBox, if any).
        const double outerWidth = ctx.viewportWidth, outerHeight = ctx.viewportHeight;
        ctx.viewportWidth = boxed ? vb[2] : w;
        ctx.viewportHeight = boxed ? vb[3] : h;
        art = readGroup(ctx, node, style, m, container);
        ctx.viewportWidth = outerWidth;
        ctx.viewportHeight = outerHeight;
    } else if (name == "switch") {
        art = newLinkedArt(ctx, kGroupArt, container);
        setCommon(ctx, *art, node, style);
        if (const pugi::xml_node chosen = switchChoice(ctx, node)) readElement(ctx, chosen, style, m, art);
    } else if (kShapes.count(name)) {
        art = readShape(ctx, node, name, style, m, own, container);
    } else if (name == "text") {
        art = readText(ctx, node, style, m, container);
    } else if (name == "image") {
        art = readImage(ctx, node, style, m, container);
    } else if (name == "use") {
        art = readUse(ctx, node, style, m, container);
    } else {
        ctx.problem(node, name == "foreignObject" ? "foreign content cannot be read; skipped"
                                                  : "is not an element this reader can draw; skipped");
    }
    return keptInRange(ctx, node, art);
}

// Removes a subtree leaf by leaf: pugixml frees a subtree recursively, and
// the subtree may be as deep as the file is long.
void removeSubtree(pugi::xml_node top) {
    pugi::xml_node n = top;
    for (;;) {
        while (n.first_child()) n = n.first_child();
        if (n == top) break;
        pugi::xml_node parent = n.parent();
        parent.remove_child(n);
        n = parent;
    }
    top.parent().remove_child(top);
}

// Every walk of the tree below recurses by nesting, so elements nested
// deeper than the reader follows are cut first, with what they hold.
void cutDeepElements(Context &ctx, pugi::xml_node root) {
    std::vector<std::pair<pugi::xml_node, int>> todo{{root, 1}};
    std::vector<pugi::xml_node> cut;
    while (!todo.empty()) {
        const auto [node, depth] = todo.back();
        todo.pop_back();
        for (pugi::xml_node c : node.children()) {
            if (c.type() != pugi::node_element) continue;
            if (depth + 1 > kSvgMaxDepth) cut.push_back(c);
            else todo.emplace_back(c, depth + 1);
        }
    }
    for (pugi::xml_node c : cut) {
        ctx.problem(c, "nested deeper than " + std::to_string(kSvgMaxDepth) + " levels; skipped");
        removeSubtree(c);
    }
}

void indexIds(Context &ctx, pugi::xml_node node) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        const pugi::xml_attribute id = c.attribute("id");
        if (!id.empty()) ctx.ids.emplace(id.value(), c);
        indexIds(ctx, c);
    }
}

void readStyleSheets(Context &ctx, pugi::xml_node node) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        if (ctx.localName(c) == "style") {
            const std::string type = c.attribute("type").value();
            if (!type.empty() && type != "text/css") continue;
            std::string css;
            for (pugi::xml_node t : c.children())
                if (t.type() == pugi::node_pcdata || t.type() == pugi::node_cdata) css += t.value();
            const size_t before = ctx.sheet.unsupported.size();
            ctx.sheet.add(css);
            for (size_t i = before; i < ctx.sheet.unsupported.size(); ++i)
                ctx.problem(c, "style rule for \"" + ctx.sheet.unsupported[i] + "\" is not followed");
        } else {
            readStyleSheets(ctx, c);
        }
    }
}

bool sizeAttr(Context &ctx, pugi::xml_node root, const char *name, Axis axis, double &out) {
    const std::string v = root.attribute(name).value();
    return !v.empty() && v.find('%') == std::string::npos && ctx.length(v, axis, 16, out) && out > 0;
}

// The file's markup, kept when every element pugixml read is found where
// the span scan says it is (a file in another encoding than UTF-8 is not)
// and the document holds nothing yet to mix with it.
// `parsed` is the text pugixml read: the file's with its own entities
// expanded, whose elements are the file's, in the same order.
std::unique_ptr<SvgSource> keepSource(Context &ctx, pugi::xml_node root, const std::string &text,
                                      const std::string &parsed) {
    bool empty = true;
    ctx.doc.forEachArt([&](const Art &) { empty = false; });
    auto source = std::make_unique<SvgSource>();
    if (!empty || ctx.doc.svgSource || !scanXmlSpans(text, source->elements)) return nullptr;
    std::vector<XmlElementSpan> parsedSpans;
    const std::vector<XmlElementSpan> *at = &source->elements;
    if (&parsed != &text) {
        if (!scanXmlSpans(parsed, parsedSpans) || parsedSpans.size() != source->elements.size()) return nullptr;
        at = &parsedSpans;
    }
    for (size_t i = 0; i < at->size(); ++i) ctx.elementAt[ptrdiff_t((*at)[i].nameBegin)] = int(i);
    source->text = text;
    ctx.source = source.get();
    std::vector<pugi::xml_node> todo{root};
    size_t count = 0;
    while (!todo.empty()) {
        const pugi::xml_node node = todo.back();
        todo.pop_back();
        ++count;
        if (ctx.elementIndex(node) < 0) {
            ctx.source = nullptr;
            ctx.elementAt.clear();
            return nullptr;
        }
        for (pugi::xml_node c : node.children())
            if (c.type() == pugi::node_element) todo.push_back(c);
    }
    if (count != source->elements.size()) {
        ctx.source = nullptr;
        ctx.elementAt.clear();
        return nullptr;
    }
    source->parentToRoot.resize(source->elements.size());
    source->artCount.assign(source->elements.size(), 0);
    return source;
}

// A colour as a token, its handle cleared: the document it points into
// may go before the record.
std::string colourToken(bool painted, AIColor &color) {
    const std::string token = painted ? encodeColor(color) : "none";
    if (color.kind == kGradient) color.c.b.gradient = nullptr;
    else if (color.kind == kPattern) color.c.p.pattern = nullptr;
    else if (color.kind == kCustomColor) color.c.c.color = nullptr;
    return token;
}

void noteShape(const Art &art, SvgReadShape &read) {
    if (art.type == kCompoundPathArt) {
        for (const Art *m = art.firstChild; m; m = m->next)
            if (m->type == kPathArt) {
                read.parts.emplace_back(m->segments.begin(), m->segments.end());
                read.closed.push_back(m->closed);
            }
    } else {
        read.parts.emplace_back(art.segments.begin(), art.segments.end());
        read.closed.push_back(art.closed);
    }
    read.style = art.style;
    read.fillToken = colourToken(read.style.fillPaint, read.style.fill.color);
    read.strokeToken = colourToken(read.style.strokePaint, read.style.stroke.color);
}

// Each art read notes the element whose markup holds it (its own, or its
// holder's for compound members and lines of text) and its parts as read.
void finishSource(Context &ctx, std::unique_ptr<SvgSource> source, size_t artBefore) {
    Document &doc = ctx.doc;
    std::unordered_map<const Art *, bool> readNow;
    for (size_t i = artBefore; i < doc.artStore.size(); ++i) readNow[doc.artStore[i]] = true;
    doc.forEachArt([&](const Art &a) {
        if (!readNow.count(&a)) return;
        Art &art = const_cast<Art &>(a);
        if (art.sourceElement >= 0) art.sourceOwner = art.sourceElement;
        else if (art.parent && art.parent->sourceOwner >= 0) art.sourceOwner = art.parent->sourceOwner;
        if (art.sourceOwner < 0) return;
        for (int part = 0; part < 4; ++part) art.sourceDigest[part] = artPartDigest(art, ArtPart(part));
        ++source->artCount[size_t(art.sourceOwner)];
        if (art.sourceElement >= 0)
            source->looks[art.sourceElement] = {art.opacity, art.blendMode, (art.userAttr & kArtHidden) != 0};
        const auto shape = source->shapes.find(art.sourceElement);
        if (shape != source->shapes.end()) noteShape(art, shape->second);
    });
    source->swatches = doc.swatches.size();
    source->graphicStyles = doc.graphicStyles.size();
    ctx.source = nullptr;
    doc.svgSource = std::move(source);
}

bool readDocument(const std::string &text, const std::string &parsed, pugi::xml_document &xml, Document &doc,
                  SvgReadReport &report, std::string &error, TextEncoding encoding, bool byteOrderMark) {
    pugi::xml_node root = xml.document_element();
    Context ctx(doc, report, parsed);
    const size_t artBefore = doc.artStore.size();
    for (const pugi::xml_attribute a : root.attributes()) {
        const std::string name = a.name();
        if (name.compare(0, 6, "xmlns:") == 0 && std::strcmp(a.value(), kSvgNamespace) == 0)
            ctx.svgPrefixes.push_back(name.substr(6) + ":");
        if (name.compare(0, 6, "xmlns:") == 0 && name != "xmlns:xlink" && std::strcmp(a.value(), kXlinkNamespace) == 0)
            ctx.xlinkHrefs.push_back(name.substr(6) + ":href");
    }
    if (ctx.localName(root) != "svg") {
        error = std::string("the root element is <") + root.name() + ">, not <svg>";
        return false;
    }
    auto source = keepSource(ctx, root, text, parsed);
    if (source) {
        source->encoding = encoding;
        source->byteOrderMark = byteOrderMark;
    }
    cutDeepElements(ctx, root);
    indexIds(ctx, root);
    readStyleSheets(ctx, root);
    readNamedStyles(ctx, root);

    doc.svgViewBox = root.attribute("viewBox").value();
    doc.svgWidth = root.attribute("width").value();
    doc.svgHeight = root.attribute("height").value();
    // A page the document cannot hold is not kept, so that neither the
    // artboard nor a written file takes it.
    for (auto [name, kept] : {std::pair<const char *, std::string *>{"viewBox", &doc.svgViewBox},
                              {"width", &doc.svgWidth},
                              {"height", &doc.svgHeight}}) {
        const std::string beyond = ctx.attrBeyondRange(root, name, std::string(name) == "height" ? Axis::kY : Axis::kX);
        if (beyond.empty()) continue;
        ctx.problem(root, beyond + "; ignored");
        kept->clear();
    }
    double vb[4], w = 0, h = 0;
    bool hasViewBox = parseViewBox(doc.svgViewBox, vb);
    const bool hasSize = !doc.svgWidth.empty() && !doc.svgHeight.empty() && sizeAttr(ctx, root, "width", Axis::kX, w) &&
                         sizeAttr(ctx, root, "height", Axis::kY, h);
    if (hasViewBox && !(fitsDrawing(vb[0] + vb[2]) && fitsDrawing(vb[1] + vb[3]))) {
        ctx.problem(root, "viewBox \"" + doc.svgViewBox + "\" reaches beyond the range of the drawing; ignored");
        doc.svgViewBox.clear();
        hasViewBox = false;
    }
    if (hasViewBox) {
        ctx.viewportWidth = vb[2];
        ctx.viewportHeight = vb[3];
        doc.artboard = {AIReal(vb[0]), AIReal(-vb[1]), AIReal(vb[0] + vb[2]), AIReal(-(vb[1] + vb[3]))};
    } else if (hasSize) {
        ctx.viewportWidth = w;
        ctx.viewportHeight = h;
        doc.artboard = {0, 0, AIReal(w), AIReal(-h)};
    }

    if (doc.layers.empty()) doc.addLayer("Layer 1");
    const Style rootStyle = ctx.computeStyle(root, Style());
    const Affine rootTransform = elementTransform(ctx, root);
    // Everything is drawn through the root's transform: with a number the
    // drawing cannot hold there, nothing is.
    const std::string rootBeyond = ctx.attrBeyondRange(root, "transform");
    if (!rootBeyond.empty()) ctx.problem(root, rootBeyond + "; its content is skipped");
    bool layerTaken = false;
    for (pugi::xml_node c : root.children()) {
        if (c.type() != pugi::node_element || !rootBeyond.empty()) continue;
        const bool layerGroup = ctx.localName(c) == "g" && !c.attribute("data-layer").empty();
        const std::string layerBeyond = layerGroup ? ctx.attrBeyondRange(c, "transform") : std::string();
        if (!layerBeyond.empty()) {
            ctx.problem(c, layerBeyond + "; skipped");
        } else if (layerGroup) {
            // A layer the writer wrote: the first fills the current layer
            // when that is still empty.
            const std::string name = c.attribute("data-layer").value();
            Layer *layer = doc.currentLayer();
            if (layerTaken || layer->root->firstChild) layer = doc.addLayer(name);
            layer->name = name;
            layerTaken = true;
            const Style style = ctx.computeStyle(c, rootStyle);
            layer->visible = !style.displayNone;
            layer->locked = std::string(c.attribute("data-layer-locked").value()) == "true";
            layer->sourceElement = ctx.elementIndex(c);
            if (layer->sourceElement >= 0) ctx.source->parentToRoot[size_t(layer->sourceElement)] = rootTransform;
            readChildren(ctx, c, style, rootTransform * elementTransform(ctx, c), layer->root);
        } else {
            if (!doc.currentLayer()->root->firstChild) doc.currentLayer()->sourceElement = ctx.elementIndex(root);
            readElement(ctx, c, rootStyle, rootTransform, doc.currentLayer()->root);
        }
    }
    // A drawing with nothing the reader could draw is still the root's, not
    // a layer to write anew.
    if (!layerTaken && !doc.currentLayer()->root->firstChild && doc.currentLayer()->sourceElement < 0)
        doc.currentLayer()->sourceElement = ctx.elementIndex(root);

    readSwatches(ctx, root);

    if (!hasViewBox && !hasSize) {
        // No page given: the drawing's bounds are the artboard.
        bool any = false;
        AIRealRect all{};
        for (const Layer *layer : doc.layers)
            for (const Art *a = layer->root->firstChild; a; a = a->next) {
                AIRealRect b;
                if (!artBounds(*a, b)) continue;
                if (!any) all = b;
                all = {std::min(all.left, b.left), std::max(all.top, b.top), std::max(all.right, b.right),
                       std::min(all.bottom, b.bottom)};
                any = true;
            }
        if (any) doc.artboard = all;
    }
    if (source) finishSource(ctx, std::move(source), artBefore);
    return true;
}

}  // namespace

const char *const kBeyondDrawing = "lies beyond the range of the drawing";

std::string beyondRange(std::string_view name, std::string_view number) {
    return std::string(name) + " has a number beyond the range of the drawing (" + std::string(number) + ")";
}

bool outlineFits(const std::vector<Subpath> &subpaths, const Affine &m) {
    auto fits = [&](Vec2 p) {
        const Vec2 q = m.apply(p);
        return fitsDrawing(q.x) && fitsDrawing(q.y);
    };
    for (const Subpath &s : subpaths) {
        if (!fits(s.start)) return false;
        for (const Cubic &c : s.curves)
            if (!fits(c.c1) || !fits(c.c2) || !fits(c.end)) return false;
    }
    return true;
}

std::string Context::localName(pugi::xml_node node) const {
    const std::string name = node.name();
    const size_t colon = name.find(':');
    if (colon == std::string::npos) return name;
    const std::string prefix = name.substr(0, colon + 1);
    if (std::find(svgPrefixes.begin(), svgPrefixes.end(), prefix) != svgPrefixes.end()) return name.substr(colon + 1);
    return {};
}

size_t Context::lineOf(ptrdiff_t offset) {
    if (lineStarts_.empty()) {
        lineStarts_.push_back(0);
        for (size_t i = 0; i < text_.size(); ++i)
            if (text_[i] == '\n') lineStarts_.push_back(i + 1);
    }
    return size_t(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), size_t(std::max<ptrdiff_t>(0, offset))) -
                  lineStarts_.begin());
}

void Context::problem(pugi::xml_node node, const std::string &reason) {
    if (quiet) return;
    std::string where = std::string("element <") + node.name();
    const pugi::xml_attribute id = node.attribute("id");
    if (!id.empty()) where += std::string(" id=") + id.value() + ">";
    else if (node.offset_debug() >= 0) where += "> at line " + std::to_string(lineOf(node.offset_debug()));
    else where += ">";
    report.problems.push_back(where + ": " + reason);
}

pugi::xml_node Context::byId(const std::string &id) const {
    if (id.empty()) return {};
    const auto it = ids.find(id);
    return it == ids.end() ? pugi::xml_node() : it->second;
}

pugi::xml_attribute Context::href(pugi::xml_node node) const {
    pugi::xml_attribute a = node.attribute("href");
    for (size_t k = 0; a.empty() && k < xlinkHrefs.size(); ++k) a = node.attribute(xlinkHrefs[k].c_str());
    return a;
}

std::string Context::hrefId(pugi::xml_node node) const {
    const std::string v = href(node).value();
    return v.size() > 1 && v[0] == '#' ? v.substr(1) : std::string();
}

Affine elementTransform(Context &ctx, pugi::xml_node node, const char *attribute) {
    const pugi::xml_attribute a = node.attribute(attribute);
    Affine m;
    if (a.empty()) return m;
    if (!parseTransformList(a.value(), m)) {
        ctx.problem(node, std::string(attribute) + " \"" + a.value() + "\" is not understood; ignored");
        return Affine{};
    }
    return m;
}

bool parseViewBox(std::string_view text, double out[4]) {
    std::vector<double> v;
    if (!parseNumberList(text, v) || v.size() != 4 || !(v[2] > 0) || !(v[3] > 0)) return false;
    std::copy(v.begin(), v.end(), out);
    return true;
}

Affine viewBoxTransform(const double vb[4], double width, double height, std::string_view aspect) {
    std::string align = "xmidymid";
    bool slice = false;
    {
        std::istringstream words{std::string(aspect)};
        std::string word;
        while (words >> word) {
            for (char &c : word) c = char(std::tolower(static_cast<unsigned char>(c)));
            if (word == "defer") continue;
            if (word == "slice") slice = true;
            else if (word != "meet") align = word;
        }
    }
    const double sx = width / vb[2], sy = height / vb[3];
    if (align == "none") return Affine::scale(sx, sy) * Affine::translate(-vb[0], -vb[1]);
    const double s = slice ? std::max(sx, sy) : std::min(sx, sy);
    const double freeX = width - vb[2] * s, freeY = height - vb[3] * s;
    const double ax = align.find("xmid") != std::string::npos ? freeX / 2
                      : align.find("xmax") != std::string::npos ? freeX
                                                                 : 0;
    const double ay = align.find("ymid") != std::string::npos ? freeY / 2
                      : align.find("ymax") != std::string::npos ? freeY
                                                                 : 0;
    return Affine::translate(ax, ay) * Affine::scale(s, s) * Affine::translate(-vb[0], -vb[1]);
}

Art *newLinkedArt(Context &ctx, ASInt16 type, Art *container) {
    Art *art = ctx.doc.newArt(type);
    ctx.doc.link(art, kPlaceInsideOnTop, container);
    return art;
}

int Context::elementIndex(pugi::xml_node node) const {
    if (!source || !node) return -1;
    const auto it = elementAt.find(node.offset_debug());
    if (it == elementAt.end()) return -1;
    const XmlElementSpan &span = source->elements[size_t(it->second)];
    const std::string_view name(source->text);
    return name.substr(span.nameBegin, span.nameEnd - span.nameBegin) == node.name() ? it->second : -1;
}

// The document holds no filters, clip paths, masks or markers. A file
// edited in place keeps them wherever its elements are edited in place:
// every element but a mesh that changes, which is written anew (the host
// changes a text only by transforming it, which its element takes as its
// transform). A file not edited in place is written anew whole. Only what
// the written file can lack is reported.
void reportEffectsNotHeld(Context &ctx, const Art &art, pugi::xml_node node, const Style &style) {
    const bool inPlace = ctx.source && ctx.elementIndex(node) >= 0;
    if (inPlace && art.type != kMeshArt) return;
    const std::string lost = inPlace ? " is lost if the mesh is changed" : " is not kept";
    if (!style.filter.empty()) ctx.problem(node, "filter " + style.filter + lost);
    if (!style.clipPath.empty()) ctx.problem(node, "clip-path " + style.clipPath + lost);
    if (!style.mask.empty()) ctx.problem(node, "mask " + style.mask + lost);
    // A path is edited in place: its markers are lost only with a file written anew.
    if (style.markers && (art.type == kPathArt || art.type == kCompoundPathArt)) ctx.problem(node, "markers are not kept");
}

void setCommon(Context &ctx, Art &art, pugi::xml_node node, const Style &style) {
    // A line of a text is part of its text element's markup, not a tspan's.
    if (std::string(node.name()).find("tspan") == std::string::npos) art.sourceElement = ctx.elementIndex(node);
    art.id = node.attribute("id").value();
    // XML carries only UTF-8 text: the id is kept as a written file will
    // give it back.
    if (std::string carried = XmlOut::carried(art.id); carried != art.id) {
        ctx.problem(node, "id is not valid UTF-8 text; each bad byte becomes U+FFFD");
        art.id = std::move(carried);
    }
    art.opacity = AIReal(style.opacity);
    art.blendMode = style.blendMode;
    // visibility is inherited and set per drawn object; display hides a whole subtree.
    const bool invisible = !style.visible && art.type != kGroupArt;
    if (style.displayNone || invisible) art.userAttr |= kArtHidden;
    // Tags are kept sorted by name: set in that order, each lands at the
    // end, so an element with many of them costs no more than their sort.
    std::vector<std::pair<std::string_view, const char *>> tags;
    for (const pugi::xml_attribute a : node.attributes()) {
        const std::string_view name = a.name();
        if (name.compare(0, 5, "data-") == 0 && name.size() > 5 && !isStructural(std::string(name)))
            tags.emplace_back(name.substr(5), a.value());
    }
    std::stable_sort(tags.begin(), tags.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[name, value] : tags) art.tags.set(name, "string", value);
    // The named style the art was given, and its factor (which art without
    // a named style keeps too), by the writer's marks.
    const pugi::xml_attribute styleName = node.attribute("data-smear-style");
    if (!styleName.empty()) {
        for (GraphicStyle *g : ctx.doc.graphicStyles)
            if (!art.artStyle && g->name == styleName.value()) art.artStyle = g;
        if (!art.artStyle) ctx.problem(node, std::string("names the graphic style \"") + styleName.value() +
                                                 "\", which the file does not define; not kept");
    }
    double factor;
    const pugi::xml_attribute f = node.attribute("data-smear-style-factor");
    const std::string factorBeyond = ctx.attrBeyondRange(node, "data-smear-style-factor");
    if (!factorBeyond.empty()) ctx.problem(node, factorBeyond + "; ignored");
    else if (!f.empty() && parseNumber(f.value(), factor)) art.styleFactor = AIReal(factor);
    reportEffectsNotHeld(ctx, art, node, style);
}

}  // namespace svg

bool readSvgString(const std::string &bytes, Document &doc, SvgReadReport &report, std::string &error) {
    // A UTF-16 file is read as the same text in UTF-8, which the writer
    // edits and writes back in UTF-16.
    size_t mark = 0;
    const TextEncoding encoding = xmlEncoding(bytes, mark);
    std::string converted;
    if (encoding != TextEncoding::kUtf8 && !toUtf8(std::string_view(bytes).substr(mark), encoding, converted, error))
        return false;
    const std::string &text = encoding == TextEncoding::kUtf8 ? bytes : converted;
    // Entities the file declares itself (style text, as some editors
    // write it), which pugixml does not expand.
    std::string expanded;
    std::vector<std::string> notExpanded;
    const size_t limit = std::min(kSvgMaxFileBytes, 16 * text.size() + (size_t(16) << 20));
    if (!expandInternalEntities(text, limit, expanded, notExpanded, error)) return false;
    const bool same = expanded.size() == text.size() && expanded == text;
    const std::string &parsed = same ? text : expanded;
    pugi::xml_document xml;
    const pugi::xml_parse_result result =
        xml.load_buffer(parsed.data(), parsed.size(), pugi::parse_default | pugi::parse_ws_pcdata,
                        encoding == TextEncoding::kUtf8 ? pugi::encoding_auto : pugi::encoding_utf8);
    if (!result) {
        size_t line = 1;
        for (ptrdiff_t i = 0; i < result.offset && size_t(i) < parsed.size(); ++i) line += parsed[size_t(i)] == '\n';
        error = std::string("not well-formed XML at line ") + std::to_string(line) + ": " + result.description();
        return false;
    }
    if (!xml.document_element()) {
        error = "the file holds no element";
        return false;
    }
    for (const std::string &name : notExpanded)
        report.problems.push_back("entity &" + name + "; is declared outside the file or holds markup; not expanded");
    return svg::readDocument(text, parsed, xml, doc, report, error, encoding, mark > 0);
}

bool readSvgFile(const std::string &path, Document &doc, SvgReadReport &report, std::string &error) {
    std::string text;
    if (!readInputFile(path, kSvgMaxFileBytes, text, error)) return false;
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0x1f && static_cast<unsigned char>(text[1]) == 0x8b) {
        error = path + " is compressed (svgz); decompress it first";
        return false;
    }
    if (!readSvgString(text, doc, report, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace smear
