// Definitions kept for written files (the content of symbol art, pattern
// tiles, what they refer to), and the bounds of referenced content.
#include <set>
#include <sstream>

#include "svg_bezier.h"
#include "svg_read_internal.h"

namespace smear::svg {

namespace {

// Names of everything an element and its content refer to: href="#id" and
// url(#id) in any attribute.
void collectReferences(pugi::xml_node node, std::set<std::string> &ids) {
    for (const pugi::xml_attribute a : node.attributes()) {
        const std::string name = a.name();
        const std::string value = a.value();
        // Under any prefix: xlink may be bound to another one.
        const bool href = name == "href" || (name.size() > 5 && name.compare(name.size() - 5, 5, ":href") == 0);
        if (href && !value.empty() && value[0] == '#') ids.insert(value.substr(1));
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

// Bounds of what an element draws, in the space `m` maps it from.
void addContentBounds(Context &ctx, pugi::xml_node node, const Affine &m, Box &box, int depth) {
    // The depth ends cycles of references; the count ends everything else.
    if (depth > 64 || ctx.expanded >= kSvgMaxExpanded) return;
    ++ctx.expanded;
    const std::string name = ctx.localName(node);
    const Affine mm = m * elementTransform(ctx, node);
    if (name == "g" || name == "a" || name == "symbol" || name == "switch" || name == "svg") {
        for (pugi::xml_node c : node.children())
            if (c.type() == pugi::node_element) addContentBounds(ctx, c, mm, box, depth + 1);
    } else if (name == "use") {
        const pugi::xml_node target = ctx.byId(ctx.hrefId(node));
        if (!target) return;
        const Affine place = mm * Affine::translate(ctx.lengthAttr(node, "x", Axis::kX, 16, 0),
                                                    ctx.lengthAttr(node, "y", Axis::kY, 16, 0));
        if (place.b != 0 || place.c != 0) {
            // Turned or skewed, the box of the content is not the box of
            // the turned curves: measured again.
            addContentBounds(ctx, target, place, box, depth + 1);
            return;
        }
        // Scaled and moved, the box of the content maps onto the box of the
        // mapped content: a target referred to many times (as files of
        // nested references do, whose content grows as a power of their
        // depth) is measured once.
        const Box own = contentBounds(ctx, target, depth + 1);
        if (own.empty) return;
        box.add(place.apply(Vec2{own.minX, own.minY}));
        box.add(place.apply(Vec2{own.maxX, own.maxY}));
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

Box contentBounds(Context &ctx, pugi::xml_node node, int depth) {
    const auto known = ctx.useBounds.find(node.internal_object());
    if (known != ctx.useBounds.end()) return known->second;
    Box box;
    addContentBounds(ctx, node, Affine{}, box, depth);
    ctx.useBounds.emplace(node.internal_object(), box);
    return box;
}

bool isRendered(Context &ctx, pugi::xml_node node) {
    static const std::set<std::string> kHidden = {"defs",   "symbol",         "clipPath",       "mask",
                                                  "marker", "pattern",        "linearGradient", "radialGradient",
                                                  "filter", "metadata",       "title",          "desc",
                                                  "style",  "foreignObject",  "meshgradient",
                                                  "meshGradient"};
    for (pugi::xml_node p = node; p && p.type() == pugi::node_element; p = p.parent())
        if (kHidden.count(ctx.localName(p))) return false;
    return true;
}

namespace {

// Keeps one definition; what it refers to and is not drawn where it stands
// goes on `todo`.
void keepOne(Context &ctx, pugi::xml_node node, const std::string &id, bool asGroup, bool dropInnerIds,
             const std::map<std::string, std::string> &setAttributes, const std::vector<std::string> &dropAttributes,
             std::vector<std::pair<pugi::xml_node, std::string>> &todo) {
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
        if (target && !isRendered(ctx, target) && !ctx.doc.svgDefinitions.count(ref)) todo.emplace_back(target, ref);
    }
}

}  // namespace

// A work list rather than recursion: a chain of definitions, each referring
// to the next, may be as long as the file.
void keepDefinition(Context &ctx, pugi::xml_node node, const std::string &id, bool asGroup, bool dropInnerIds,
                    const std::map<std::string, std::string> &setAttributes,
                    const std::vector<std::string> &dropAttributes) {
    std::vector<std::pair<pugi::xml_node, std::string>> todo;
    keepOne(ctx, node, id, asGroup, dropInnerIds, setAttributes, dropAttributes, todo);
    while (!todo.empty()) {
        const auto [target, ref] = todo.back();
        todo.pop_back();
        keepOne(ctx, target, ref, false, false, {}, {}, todo);
    }
}

}  // namespace smear::svg
