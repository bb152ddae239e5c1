// Text, images and <use> references, and the definitions that symbol art
// and pattern fills need kept so that written files can still refer to them.
#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "svg_bezier.h"
#include "svg_numbers.h"
#include "svg_read_internal.h"

namespace smear::svg {

namespace {

size_t codePoints(const std::string &s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xc0) != 0x80;
    return n;
}

// A run of text that starts where a text element or an absolutely placed
// tspan puts it, in the style of that element.
struct Chunk {
    std::string raw;
    double x = 0, y = 0;
    Style style;
    pugi::xml_node node;
};

bool firstCoordinate(Context &ctx, pugi::xml_node node, const char *name, Axis axis, double fontSize, double &out);

// Splits a text element into chunks at every tspan with its own x or y, in
// document order; text after a nested tspan continues the chunk it is in.
void gatherChunks(Context &ctx, pugi::xml_node node, const Style &style, std::vector<Chunk> &chunks,
                  bool &relative, int depth) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            chunks.back().raw += c.value();
            continue;
        }
        if (c.type() != pugi::node_element || depth >= 32) continue;
        const std::string name = ctx.localName(c);
        if (name != "tspan" && name != "textPath" && name != "a" && name != "altGlyph") continue;
        if (name == "textPath") ctx.problem(c, "text on a path is kept on a straight line");
        const Style cs = ctx.computeStyle(c, style);
        double x, y;
        const bool hasX = firstCoordinate(ctx, c, "x", Axis::kX, cs.fontSize, x);
        const bool hasY = firstCoordinate(ctx, c, "y", Axis::kY, cs.fontSize, y);
        if (hasX || hasY) {
            const Chunk &last = chunks.back();
            Chunk next;
            next.x = hasX ? x : last.x;
            next.y = hasY ? y : last.y;
            next.style = cs;
            next.node = c;
            // An empty first chunk is replaced: the tspan places the text.
            if (chunks.size() == 1 && chunks[0].raw.find_first_not_of(" \t\r\n") == std::string::npos)
                chunks.clear();
            chunks.push_back(next);
        } else if (!c.attribute("dx").empty() || !c.attribute("dy").empty()) {
            relative = true;
        }
        gatherChunks(ctx, c, cs, chunks, relative, depth + 1);
    }
}

// White space as SVG handles it: by default new lines go, tabs become
// spaces, runs of spaces collapse and the ends are trimmed; with
// xml:space="preserve" every new line and tab is one space.
std::string normaliseSpace(const std::string &raw, bool preserve) {
    std::string out;
    for (char c : raw) {
        if (c == '\n' || c == '\r') {
            if (preserve) out += ' ';
            continue;
        }
        if (c == '\t') c = ' ';
        if (!preserve && c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    if (!preserve && !out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The first number of an x or y list.
bool firstCoordinate(Context &ctx, pugi::xml_node node, const char *name, Axis axis, double fontSize, double &out) {
    const std::string v = node.attribute(name).value();
    if (v.empty()) return false;
    size_t end = v.find_first_of(", \t\n\r");
    return ctx.length(std::string_view(v).substr(0, end == std::string::npos ? v.size() : end), axis, fontSize, out);
}

// Bounds of what an element draws, in the space `m` maps it from.
void addBounds(Context &ctx, pugi::xml_node node, const Affine &m, Box &box, int depth) {
    if (depth > 16) return;
    const std::string name = ctx.localName(node);
    const Affine mm = m * elementTransform(ctx, node);
    if (name == "g" || name == "a" || name == "symbol" || name == "switch" || name == "svg") {
        for (pugi::xml_node c : node.children())
            if (c.type() == pugi::node_element) addBounds(ctx, c, mm, box, depth + 1);
    } else if (name == "use") {
        const pugi::xml_node target = ctx.byId(Context::hrefId(node));
        if (target)
            addBounds(ctx, target,
                      mm * Affine::translate(ctx.lengthAttr(node, "x", Axis::kX, 16, 0),
                                             ctx.lengthAttr(node, "y", Axis::kY, 16, 0)),
                      box, depth + 1);
    } else if (name == "image") {
        const double x = ctx.lengthAttr(node, "x", Axis::kX, 16, 0), y = ctx.lengthAttr(node, "y", Axis::kY, 16, 0);
        const double w = ctx.lengthAttr(node, "width", Axis::kX, 16, 0);
        const double h = ctx.lengthAttr(node, "height", Axis::kY, 16, 0);
        for (Vec2 p : {Vec2{x, y}, Vec2{x + w, y}, Vec2{x, y + h}, Vec2{x + w, y + h}}) box.add(mm.apply(p));
    } else {
        std::vector<Subpath> outline;
        std::string reason;
        if (shapeOutline(ctx, node, name, 16, outline, reason)) box.add(curveBounds(outline, mm));
    }
}

// Names of everything an element and its content refer to: href="#id" and
// url(#id) in any attribute.
void collectReferences(pugi::xml_node node, std::set<std::string> &ids) {
    for (const pugi::xml_attribute a : node.attributes()) {
        const std::string name = a.name();
        const std::string value = a.value();
        if ((name == "href" || name == "xlink:href") && !value.empty() && value[0] == '#') ids.insert(value.substr(1));
        for (size_t at = value.find("url(#"); at != std::string::npos; at = value.find("url(#", at + 5)) {
            const size_t end = value.find_first_of(")'\"", at + 5);
            if (end != std::string::npos) ids.insert(value.substr(at + 5, end - at - 5));
        }
    }
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element) collectReferences(c, ids);
}

// Makes a copied subtree stand alone in another file: SVG elements lose a
// namespace prefix, elements and attributes of other namespaces go, and
// what the style sheet said of each element moves into its style attribute.
void makeStandalone(Context &ctx, pugi::xml_node original, pugi::xml_node copy, bool dropIds, bool isRoot) {
    const std::string local = ctx.localName(original);
    copy.set_name(local.c_str());
    std::vector<pugi::xml_attribute> drop;
    for (pugi::xml_attribute a : copy.attributes()) {
        const std::string name = a.name();
        const size_t colon = name.find(':');
        const bool foreign = colon != std::string::npos && name.compare(0, colon, "xlink") != 0 &&
                             name.compare(0, colon, "xml") != 0;
        if (foreign || name.compare(0, 5, "xmlns") == 0 || (dropIds && !isRoot && name == "id")) drop.push_back(a);
    }
    for (pugi::xml_attribute a : drop) copy.remove_attribute(a);
    std::vector<const CssDeclaration *> rules;
    ctx.sheet.matching(original, local, rules);
    if (!rules.empty()) {
        std::string style;
        for (const CssDeclaration *d : rules) style += d->name + ":" + d->value + ";";
        pugi::xml_attribute s = copy.attribute("style");
        if (s.empty()) s = copy.append_attribute("style");
        s.set_value((style + s.value()).c_str());
    }
    pugi::xml_node o = original.first_child(), c = copy.first_child();
    while (o && c) {
        const pugi::xml_node nextO = o.next_sibling(), nextC = c.next_sibling();
        if (o.type() == pugi::node_element) {
            if (ctx.localName(o).empty()) copy.remove_child(c);
            else makeStandalone(ctx, o, c, dropIds, false);
        }
        o = nextO;
        c = nextC;
    }
}

}  // namespace

bool isRendered(Context &ctx, pugi::xml_node node) {
    static const std::set<std::string> kHidden = {"defs",   "symbol",         "clipPath",       "mask",
                                                  "marker", "pattern",        "linearGradient", "radialGradient",
                                                  "filter", "metadata",       "title",          "desc",
                                                  "style",  "foreignObject"};
    for (pugi::xml_node p = node; p && p.type() == pugi::node_element; p = p.parent())
        if (kHidden.count(ctx.localName(p))) return false;
    return true;
}

void keepDefinition(Context &ctx, pugi::xml_node node, const std::string &id, bool asGroup, bool dropInnerIds,
                    const std::map<std::string, std::string> &setAttributes,
                    const std::vector<std::string> &dropAttributes) {
    if (ctx.doc.svgDefinitions.count(id)) return;
    pugi::xml_document scratch;
    pugi::xml_node copy = scratch.append_copy(node);
    makeStandalone(ctx, node, copy, dropInnerIds, true);
    if (asGroup) copy.set_name("g");
    for (const std::string &a : dropAttributes) copy.remove_attribute(a.c_str());
    for (const auto &a : setAttributes) {
        pugi::xml_attribute attr = copy.attribute(a.first.c_str());
        if (attr.empty()) attr = copy.append_attribute(a.first.c_str());
        attr.set_value(a.second.c_str());
    }
    pugi::xml_attribute idAttr = copy.attribute("id");
    if (idAttr.empty()) idAttr = copy.prepend_attribute("id");
    idAttr.set_value(id.c_str());
    std::ostringstream text;
    copy.print(text, "", pugi::format_raw);
    ctx.doc.svgDefinitions[id] = text.str();

    std::set<std::string> refs;
    collectReferences(copy, refs);
    for (const std::string &ref : refs) {
        const pugi::xml_node target = ctx.byId(ref);
        // Elements drawn where they stand are written as art under their id.
        if (target && !isRendered(ctx, target)) keepDefinition(ctx, target, ref, false, false);
    }
}

namespace {

Art *textArt(Context &ctx, const Chunk &chunk, const std::string &text, const Affine &ctm, Art *container,
             pugi::xml_node common) {
    const Style &style = chunk.style;
    const double size = style.fontSize;
    // The model knows no glyphs: an average advance of 0.55 em per character
    // gives the frame its width.
    const double width = 0.55 * size * double(codePoints(text));
    const double left = chunk.x - (style.anchor == 1 ? width / 2 : style.anchor == 2 ? width : 0);
    Box local;
    local.add(Vec2{left, chunk.y - 0.8 * size});
    local.add(Vec2{left + width, chunk.y + 0.2 * size});
    double opacityFactor = 1;
    const AIPathStyle pathStyle = makePathStyle(ctx, chunk.node, style, ctm, local, opacityFactor);
    Art *art = newLinkedArt(ctx, kTextArt, container);
    art->style = pathStyle;
    if (common) setCommon(ctx, *art, common, style);
    art->opacity = AIReal(art->opacity * opacityFactor);
    art->text = text;
    art->fontSize = AIReal(size);
    for (const auto &p : style.fontProperties) art->svgStyle += p.first + ":" + p.second + ";";
    if (style.anchor) art->svgStyle += style.anchor == 1 ? "text-anchor:middle;" : "text-anchor:end;";
    art->frame = {AIReal(left), AIReal(-(chunk.y - 0.8 * size)), AIReal(left + width), AIReal(-(chunk.y + 0.2 * size))};
    art->matrix = toDocumentMatrix(ctm);
    return art;
}

}  // namespace

Art *readText(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    std::vector<Chunk> chunks(1);
    chunks[0].style = style;
    chunks[0].node = node;
    firstCoordinate(ctx, node, "x", Axis::kX, style.fontSize, chunks[0].x);
    firstCoordinate(ctx, node, "y", Axis::kY, style.fontSize, chunks[0].y);
    bool relative = false;
    gatherChunks(ctx, node, style, chunks, relative, 0);
    const bool preserve = std::string(node.attribute("xml:space").value()) == "preserve";
    std::vector<std::pair<const Chunk *, std::string>> lines;
    for (const Chunk &c : chunks) {
        const std::string text = normaliseSpace(c.raw, preserve);
        if (!text.empty()) lines.emplace_back(&c, text);
    }
    if (lines.empty()) {
        ctx.problem(node, "has no text; skipped");
        return nullptr;
    }
    if (relative) ctx.problem(node, "tspans moved by dx or dy are joined to the text before them");
    if (lines.size() == 1) {
        // One line: a tspan's paint, the text element's id, tags and opacity.
        Chunk only = *lines[0].first;
        only.style.opacity = style.opacity;
        only.style.blendMode = style.blendMode;
        only.style.displayNone = style.displayNone;
        only.style.filter = style.filter;
        only.style.clipPath = style.clipPath;
        only.style.mask = style.mask;
        return textArt(ctx, only, lines[0].second, ctm, container, node);
    }
    // Lines placed on their own: a group of texts, the group with the
    // text element's id, each line with its tspan's.
    Art *group = newLinkedArt(ctx, kGroupArt, container);
    setCommon(ctx, *group, node, style);
    for (const auto &line : lines) {
        Chunk c = *line.first;
        if (c.node == node) c.style = style.inherited();
        textArt(ctx, c, line.second, ctm, group, c.node == node ? pugi::xml_node() : c.node);
    }
    return group;
}

Art *readImage(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    const double x = ctx.lengthAttr(node, "x", Axis::kX, style.fontSize, 0);
    const double y = ctx.lengthAttr(node, "y", Axis::kY, style.fontSize, 0);
    const double w = ctx.lengthAttr(node, "width", Axis::kX, style.fontSize, -1);
    const double h = ctx.lengthAttr(node, "height", Axis::kY, style.fontSize, -1);
    if (w < 0 || h < 0) ctx.problem(node, "has no width or height; kept with an empty frame");
    Art *art = newLinkedArt(ctx, kPlacedArt, container);
    art->style.fillPaint = 0;
    art->style.strokePaint = 0;
    setCommon(ctx, *art, node, style);
    art->href = node.attribute("href").empty() ? node.attribute("xlink:href").value() : node.attribute("href").value();
    const double ww = std::max(0.0, w), hh = std::max(0.0, h);
    art->frame = {AIReal(x), AIReal(-y), AIReal(x + ww), AIReal(-(y + hh))};
    art->matrix = toDocumentMatrix(ctm);
    return art;
}

Art *readUse(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    const std::string id = Context::hrefId(node);
    const pugi::xml_node target = ctx.byId(id);
    if (!target) {
        const std::string href =
            node.attribute("href").empty() ? node.attribute("xlink:href").value() : node.attribute("href").value();
        ctx.problem(node, !id.empty()     ? "refers to #" + id + ", which does not exist; skipped"
                          : href.empty() ? "refers to nothing; skipped"
                                         : "refers to " + href + ", outside this file; skipped");
        return nullptr;
    }
    for (pugi::xml_node p = node; p; p = p.parent())
        if (p == target) {
            ctx.problem(node, "refers to #" + id + ", which contains it; skipped");
            return nullptr;
        }
    const std::string kind = ctx.localName(target);
    const double fs = style.fontSize;
    Affine place = ctm * Affine::translate(ctx.lengthAttr(node, "x", Axis::kX, fs, 0),
                                           ctx.lengthAttr(node, "y", Axis::kY, fs, 0));
    Box box;
    const bool viewport = kind == "symbol" || kind == "svg";
    ctx.quiet = true;  // the target reports its own problems where it is drawn
    if (viewport) {
        double vb[4];
        if (parseViewBox(target.attribute("viewBox").value(), vb)) {
            const double w = ctx.lengthAttr(node, "width", Axis::kX, fs, ctx.viewportWidth);
            const double h = ctx.lengthAttr(node, "height", Axis::kY, fs, ctx.viewportHeight);
            place = place * viewBoxTransform(vb, w, h, target.attribute("preserveAspectRatio").value());
        }
        for (pugi::xml_node c : target.children())
            if (c.type() == pugi::node_element) addBounds(ctx, c, Affine{}, box, 0);
    } else {
        addBounds(ctx, target, Affine{}, box, 0);
    }
    ctx.quiet = false;

    // A target that is drawn where it stands is kept as a copy under an id
    // of its own, so that the art written for it and the copy differ.
    std::string kept = id;
    const bool drawn = isRendered(ctx, target);
    if (drawn) {
        kept = id + "-source";
        for (int k = 2; ctx.byId(kept) && k < 1000; ++k) kept = id + "-source" + std::to_string(k);
    }
    std::vector<std::string> drop;
    if (viewport) drop = {"viewBox", "preserveAspectRatio", "x", "y", "width", "height", "refX", "refY"};
    keepDefinition(ctx, target, kept, viewport, drawn, {}, drop);

    double opacityFactor = 1;
    const AIPathStyle pathStyle = makePathStyle(ctx, node, style, ctm, box, opacityFactor);
    Art *art = newLinkedArt(ctx, kSymbolArt, container);
    // The use's paint is what its content inherits; it is not folded into opacity.
    art->style = pathStyle;
    setCommon(ctx, *art, node, style);
    art->href = kept;
    if (!box.empty) art->frame = {AIReal(box.minX), AIReal(-box.minY), AIReal(box.maxX), AIReal(-box.maxY)};
    art->matrix = toDocumentMatrix(place);
    return art;
}

}  // namespace smear::svg
