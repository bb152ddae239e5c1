// Writing back the file a document was read from: every byte of it is
// copied but where the drawing changed. An element whose art changed gets
// the attributes of the parts that changed (geometry, paint and opacity,
// tags) and keeps every other attribute, its class, filter, clip path,
// mask and markers. A shape says only what reads differently now, where
// the file says it (svg_write_shape.cpp); other art's changed paint is
// written as style properties, which the file's own style sheet cannot
// override. New markup takes the file's namespace form. Art that went is
// removed;
// new art (trail copies, new layers) is written where the host put it, in
// the coordinates of the element it is placed in. What cannot be changed
// in place (a text or a mesh that changed) is written anew where it was.
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>

#include "art_signature.h"
#include "svg.h"
#include "svg_color_codec.h"
#include "svg_numbers.h"
#include "svg_path_data.h"
#include "svg_source.h"
#include "svg_write_internal.h"
#include "svg_write_shape.h"
#include "xml_edit.h"
#include "xml_encoding.h"
#include "xml_out.h"

namespace smear::svg {

namespace {

const char *const kSvgNamespace = "http://www.w3.org/2000/svg";
const char *const kXlinkNamespace = "http://www.w3.org/1999/xlink";
const char *const kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";

// Inherited paint properties: a changed paint says each of them, so that
// nothing around the element decides them instead.
const char *const kPaintProperties[] = {"fill",           "fill-opacity",      "fill-rule",
                                        "stroke",         "stroke-width",      "stroke-opacity",
                                        "stroke-linecap", "stroke-linejoin",   "stroke-miterlimit",
                                        "stroke-dasharray", "stroke-dashoffset"};
const char *const kPaintDefaults[] = {"black", "1", "nonzero", "none", "1", "1", "butt", "miter", "4", "none", "0"};
const char *const kPaintMarks[] = {"data-smear-fill", "data-smear-stroke", "data-smear-style",
                                   "data-smear-style-factor"};
const char *const kShapeGeometry[] = {"x",  "y",  "width", "height", "rx",     "ry",        "cx",
                                      "cy", "r",  "x1",    "y1",     "x2",     "y2",        "points",
                                      "d",  "pathLength"};

// What the host did to the art since it was read (document space), in
// SVG's orientation. The members of a compound path are turned about its
// centre one by one: when they were all moved alike, that is its move.
const AIRealMatrix &hostTransformOf(const Art &art) {
    const Art *first = art.type == kCompoundPathArt ? art.firstChild : nullptr;
    if (!first || !isIdentity(art.hostTransform)) return art.hostTransform;
    for (const Art *m = first; m; m = m->next) {
        const AIRealMatrix &a = m->hostTransform, &b = first->hostTransform;
        if (a.a != b.a || a.b != b.b || a.c != b.c || a.d != b.d || a.tx != b.tx || a.ty != b.ty)
            return art.hostTransform;
    }
    return first->hostTransform;
}

Affine hostMove(const Art &art) {
    const AIRealMatrix &h = hostTransformOf(art);
    return Affine{h.a, -double(h.b), -double(h.c), h.d, h.tx, -double(h.ty)};
}

std::string svgTransformText(const Affine &m) { return transformText(m); }

bool isStructural(const std::string &name) {
    for (const char *prefix : {"data-smear-", "data-mesh", "data-child", "data-layer"})
        if (name.compare(0, std::string(prefix).size(), prefix) == 0) return true;
    return false;
}

bool isPathLike(const Art &art) {
    return art.type == kPathArt || art.type == kMysteryPathArt || art.type == kCompoundPathArt;
}

// An element's start tag, as name and attribute values (plain text).
struct Tag {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    const std::string *find(const std::string &n) const {
        for (const auto &a : attributes)
            if (a.first == n) return &a.second;
        return nullptr;
    }
};

bool firstTag(const std::string &markup, Tag &tag) {
    std::vector<XmlElementSpan> spans;
    if (!scanXmlSpans(markup, spans)) return false;
    const XmlElementSpan &s = spans[0];
    tag.name = markup.substr(s.nameBegin, s.nameEnd - s.nameBegin);
    for (const XmlAttributeSpan &a : s.attributes)
        tag.attributes.emplace_back(markup.substr(a.nameBegin, a.nameEnd - a.nameBegin),
                                    xmlText(std::string_view(markup).substr(a.valueBegin, a.valueEnd - a.valueBegin)));
    return true;
}

class SourceWriter {
public:
    SourceWriter(Writer &writer, const Document &doc, const SvgSource &source)
        : w_(writer), doc_(doc), s_(source), edit_(source.text, source.elements), paintEditor_(writer, edit_, source) {
        const XmlElementSpan &root = s_.elements[0];
        const std::string rootName = s_.text.substr(root.nameBegin, root.nameEnd - root.nameBegin);
        const size_t colon = rootName.find(':');
        if (colon != std::string::npos && declaredNamespaces(s_.text, root).defaultUri != kSvgNamespace)
            elementPrefix_ = rootName.substr(0, colon + 1);
    }

    std::string write();

private:
    void declareInkscape(std::string &defs);
    std::string name(int element) const {
        const XmlElementSpan &e = s_.elements[size_t(element)];
        return s_.text.substr(e.nameBegin, e.nameEnd - e.nameBegin);
    }
    // The name without its prefix, and the prefix with its colon.
    std::string localName(int element) const {
        const std::string n = name(element);
        return n.substr(n.find(':') + 1);
    }
    std::string prefix(int element) const {
        const std::string n = name(element);
        return n.substr(0, n.find(':') + 1);
    }
    bool isContainer(int element) const {
        const std::string n = localName(element);
        return n == "g" || n == "a" || n == "svg" || n == "switch";
    }
    void walk(const Art *parent, int container);
    void changed(const Art &art);
    void replaceWhole(const Art &art, int element);
    void writeTags(int element, const Tag &fresh);
    // The style properties that say the art's paint, opacity, blend mode
    // and visibility on `element`; writePaint writes them (and returns them).
    std::map<std::string, std::string> paintProperties(const Art &art, int element, const Tag &fresh) const;
    std::map<std::string, std::string> writePaint(const Art &art, int element, const Tag &fresh);
    // A text, an image or a <use> changed by the host keeps its element
    // and what is inside it (a text's spans); false when it cannot.
    bool writePlacedInPlace(const Art &art, int element, const bool differs[4]);
    // A text whose lines are spans of their own: each changed line moves
    // out, with its span as written, into a copy of the text element that
    // takes the change; false when the text holds more than such lines.
    bool writeTextLines(const Art &group, int element);
    // A span's markup as written, without the given style properties.
    std::string spanWithout(int span, const std::set<std::string> &properties) const;
    // Elements inside `element`, in document order.
    std::vector<int> descendants(int element) const;
    // False when the element cannot take the new geometry in place.
    // `local`: the map the path was written in (its element's space), or
    // null when it was written in the file's space.
    // `placedOwn` gets the element's transform as written.
    bool writeGeometry(const Art &art, int element, const Tag &fresh, const Affine *local, Affine &placedOwn);
    // A shape the host changed, written as an editor writes the change
    // (svg_write_shape.h); false when it cannot be.
    bool editShape(const Art &art, int element, const bool differs[4], bool retagged, const SvgReadShape &read);
    // The id and tags the art has now (a compound's members' too).
    Tag tagsOf(const Art &art) const;
    // Markup of new art placed in `container`: in its coordinates.
    std::string placed(const std::string &markup, int container) const;
    // New markup placed in the file, its elements in the file's form.
    void insertAfter(int element, const std::string &markup) {
        edit_.insertAfter(element, withElementPrefix(markup, elementPrefix_));
    }
    void prependChild(int element, const std::string &markup) {
        edit_.prependChild(element, withElementPrefix(markup, elementPrefix_));
    }
    void appendChild(int element, const std::string &markup) {
        edit_.appendChild(element, withElementPrefix(markup, elementPrefix_));
    }
    // The art's own markup as the writer writes new art.
    std::string markup(const Art &art) { return w_.artMarkup(art, nullptr, nullptr); }

    Writer &w_;
    const Document &doc_;
    const SvgSource &s_;
    XmlEdit edit_;
    ShapePaintEditor paintEditor_;
    // The prefix the file's SVG elements are written with ("svg:"), when
    // SVG is not its default namespace.
    std::string elementPrefix_;
    std::vector<int> liveCount_;    // per element: art held now
    std::vector<bool> claimed_;     // per element: art still read from it
    std::set<int> ownersChanged_;   // elements whose held parts look different
    std::set<int> ownersRetagged_;  // compound paths whose members' tags or ids changed
};

std::string SourceWriter::placed(const std::string &markup, int container) const {
    const Affine &toRoot = container >= 0 ? s_.parentToRoot[size_t(container)] : Affine{};
    Affine inside = toRoot;
    if (container > 0) {
        // The container's own transform applies to what is inside it too.
        Affine own;
        const auto t = edit_.attribute(container, "transform");
        if (t && parseTransformList(xmlText(*t), own)) inside = toRoot * own;
    } else if (container == 0) {
        Affine own;
        const auto t = edit_.attribute(0, "transform");
        inside = t && parseTransformList(xmlText(*t), own) ? own : Affine{};
    }
    Affine back;
    if (inside.isIdentity() || !inside.inverse(back)) return markup;
    // One element takes the way back as the start of its own transform: a
    // group around it would be an object of its own once the file is read
    // again. The markup is the writer's: its start tag ends at the first
    // '>' (attribute values have theirs escaped).
    const std::string way = svgTransformText(back);
    pugi::xml_document fragment;
    size_t elements = 0;
    if (fragment.load_buffer(markup.data(), markup.size(), pugi::parse_fragment))
        for (pugi::xml_node c : fragment.children()) elements += c.type() == pugi::node_element;
    const size_t tagEnd = markup.find('>');
    if (elements == 1 && markup[0] == '<' && tagEnd != std::string::npos) {
        std::string out = markup;
        const size_t own = out.find(" transform=\"");
        if (own != std::string::npos && own < tagEnd) return out.insert(own + 12, way + " ");
        return out.insert(out[tagEnd - 1] == '/' ? tagEnd - 1 : tagEnd, " transform=\"" + way + "\"");
    }
    return "<g transform=\"" + way + "\">" + markup + "</g>";
}

void SourceWriter::walk(const Art *parent, int container) {
    int lastElement = container;
    std::string pending;  // new art waiting for the next element
    int after = -1;
    auto flush = [&] {
        if (pending.empty()) return;
        if (after >= 0) insertAfter(after, pending);
        else if (container >= 0) prependChild(container, pending);
        pending.clear();
    };
    for (const Art *a = parent->firstChild; a; a = a->next) {
        if (a->disposed) continue;
        const int el = a->sourceElement;
        const bool kept = el >= 0 && !a->sourceCopy && !claimed_[size_t(el)] &&
                          s_.elements[size_t(el)].parent == (container < 0 ? -2 : container) && el > lastElement;
        if (kept) {
            claimed_[size_t(el)] = true;
            flush();
            after = lastElement = el;
            changed(*a);
            if (a->type == kGroupArt && a->firstChild && isContainer(el)) walk(a, el);
            continue;
        }
        if (a->sourceOwner >= 0 && !a->sourceCopy && a->sourceElement < 0) continue;  // a part, counted below
        pending += placed(markup(*a), container);
    }
    if (!pending.empty()) {
        if (after >= 0) insertAfter(after, pending);
        else if (container >= 0) prependChild(container, pending);
    }
}

void SourceWriter::changed(const Art &art) {
    const int el = art.sourceElement;
    bool differs[4];
    for (int p = 0; p < 4; ++p) differs[p] = artPartDigest(art, ArtPart(p)) != art.sourceDigest[p];
    const bool partsChanged = ownersChanged_.count(el) || liveCount_[size_t(el)] != s_.artCount[size_t(el)];
    const bool retagged = ownersRetagged_.count(el) > 0;
    if (!differs[0] && !differs[1] && !differs[2] && !differs[3] && !partsChanged && !retagged) return;
    const bool pathLike = isPathLike(art);
    const bool group = art.type == kGroupArt && isContainer(el);
    const bool tagsOnly = !differs[0] && !differs[1] && !differs[2] && !partsChanged;
    if (tagsOnly) {
        // The common change (the plug-in tags what a stroke collects):
        // written from the model alone, without the paint it would write.
        writeTags(el, tagsOf(art));
        return;
    }
    const auto shape = s_.shapes.find(el);
    if (pathLike && shape != s_.shapes.end() && !art.artStyle &&
        liveCount_[size_t(el)] == s_.artCount[size_t(el)] && editShape(art, el, differs, retagged, shape->second))
        return;
    const std::string tag = localName(el);
    const bool placedKind = (art.type == kTextArt && tag == "text") || (art.type == kSymbolArt && tag == "use") ||
                            ((art.type == kPlacedArt || art.type == kRasterArt) && tag == "image");
    if (placedKind && !partsChanged && writePlacedInPlace(art, el, differs)) return;
    if (art.type == kGroupArt && tag == "text" && !differs[0] && !differs[1] && !differs[2] &&
        liveCount_[size_t(el)] == s_.artCount[size_t(el)] && writeTextLines(art, el)) {
        if (differs[3]) {
            Tag fresh;
            if (firstTag(markup(art), fresh)) writeTags(el, fresh);
        }
        return;
    }
    if (!group && !tagsOnly && (art.type == kTextArt || art.type == kMeshArt || (!pathLike && partsChanged))) {
        replaceWhole(art, el);
        return;
    }
    if (group) {
        // A group's own parts: its tags, opacity, blend mode and visibility;
        // its children are written on their own.
        if (differs[3]) writeTags(el, tagsOf(art));
        const auto look = s_.looks.find(el);
        if (!differs[2]) return;
        if (look != s_.looks.end()) {
            paintEditor_.writeAppearance(art, el, look->second);
            return;
        }
    }
    // The art as the writer writes it in the element's own coordinates,
    // where the element's paint servers are placed too.
    Affine own;
    const auto t = edit_.attribute(el, "transform");
    if (t && !parseTransformList(xmlText(*t), own)) {
        replaceWhole(art, el);
        return;
    }
    const Affine full = hostMove(art) * s_.parentToRoot[size_t(el)] * own;
    bool local = false;
    Tag fresh;
    if (!firstTag(w_.artMarkup(art, pathLike ? &full : nullptr, &local), fresh)) {
        replaceWhole(art, el);
        return;
    }
    if (group) {
        // A group's own parts: its tags, opacity and blend; its children
        // are written on their own.
        writePaint(art, el, fresh);
        return;
    }
    Affine placedOwn = own;
    if ((differs[0] || partsChanged) && !writeGeometry(art, el, fresh, local ? &full : nullptr, placedOwn)) {
        replaceWhole(art, el);
        return;
    }
    if (differs[3] || retagged || (partsChanged && art.type == kCompoundPathArt)) writeTags(el, fresh);
    // A compound path is painted as its members are; and new geometry takes
    // its paint along, or paint in bounding-box units would move with it.
    if (differs[0] || differs[1] || differs[2] || partsChanged) writePaint(art, el, fresh);
}

Tag SourceWriter::tagsOf(const Art &art) const {
    Tag fresh;
    if (!art.id.empty()) fresh.attributes.emplace_back("id", art.id);
    for (const TagRef tag : art.tags) fresh.attributes.emplace_back("data-" + dataAttributeName(tag.name), tag.value);
    if (art.type == kCompoundPathArt) {
        // Its members as the writer lists them: those with anchors.
        std::string ids;
        bool named = false;
        int k = 0;
        for (const Art *m = art.firstChild; m; m = m->next) {
            if (m->disposed || m->segments.empty() || (m->type != kPathArt && m->type != kMysteryPathArt)) continue;
            ids += (ids.empty() ? "" : " ") + encodeName(m->id);
            named = named || !m->id.empty();
            for (const TagRef tag : m->tags)
                fresh.attributes.emplace_back("data-child" + std::to_string(k) + "-" + dataAttributeName(tag.name),
                                              tag.value);
            ++k;
        }
        if (named) fresh.attributes.emplace_back("data-children", ids);
    }
    return fresh;
}

bool SourceWriter::editShape(const Art &art, int el, const bool differs[4], bool retagged, const SvgReadShape &read) {
    const Affine &parent = s_.parentToRoot[size_t(el)];
    Affine own, fromParent;
    const auto t = edit_.attribute(el, "transform");
    if (t && !parseTransformList(xmlText(*t), own)) return false;
    if (!parent.inverse(fromParent)) {
        // A group flattened to a point or a line draws nothing inside it,
        // whatever the shape's geometry: the element keeps what it says
        // and takes only its tags and its look.
        if (art.type == kCompoundPathArt || differs[1]) return false;
        if (differs[3] || retagged) writeTags(el, tagsOf(art));
        const auto look = s_.looks.find(el);
        if (differs[2] && look != s_.looks.end()) paintEditor_.writeAppearance(art, el, look->second);
        return look != s_.looks.end() || !differs[2];
    }
    const Affine before = parent * own;
    Affine after = before, undoBefore;
    if (!before.inverse(undoBefore)) return false;
    bool sameOutline = true;
    const bool geometry = differs[0] || ownersChanged_.count(el) > 0;
    if (geometry) {
        std::vector<const SegmentList *> parts;
        std::vector<bool> closed;
        if (art.type == kCompoundPathArt) {
            for (const Art *m = art.firstChild; m; m = m->next)
                if (!m->disposed && (m->type == kPathArt || m->type == kMysteryPathArt)) {
                    parts.push_back(&m->segments);
                    closed.push_back(m->closed);
                }
        } else {
            parts.push_back(&art.segments);
            closed.push_back(art.closed);
        }
        if (closed == read.closed && onlyMoved(parts, read, hostTransformOf(art))) {
            // Moved, turned or scaled: the element says so in its transform,
            // the change before what it says already.
            const Affine change = fromParent * hostMove(art) * parent;
            if (!change.isIdentity()) {
                const std::string text = changeText(change) + (t ? " " + xmlText(*t) : std::string());
                Affine placedOwn;
                if (!parseTransformList(text, placedOwn)) return false;
                edit_.setAttribute(el, "transform", text);
                after = parent * placedOwn;
            }
        } else {
            sameOutline = false;
            const Affine full = hostMove(art) * before;
            bool local = false;
            Tag fresh;
            Affine placedOwn = own;
            if (!firstTag(w_.geometryMarkup(art, &full, &local), fresh) ||
                !writeGeometry(art, el, fresh, local ? &full : nullptr, placedOwn))
                return false;
            after = parent * placedOwn;
        }
    }
    if (differs[3] || retagged || (geometry && art.type == kCompoundPathArt)) writeTags(el, tagsOf(art));
    if (!geometry && !differs[1] && !differs[2]) return true;
    const auto look = s_.looks.find(el);
    if (look == s_.looks.end()) return false;
    return paintEditor_.write(art, el, read, look->second, after * undoBefore, after, sameOutline);
}

std::vector<int> SourceWriter::descendants(int element) const {
    std::vector<int> out;
    const size_t end = s_.elements[size_t(element)].end;
    for (size_t k = size_t(element) + 1; k < s_.elements.size() && s_.elements[k].open < end; ++k) out.push_back(int(k));
    return out;
}

bool SourceWriter::writePlacedInPlace(const Art &art, int el, const bool differs[4]) {
    // The host changes the geometry of a text, an image or a symbol only by
    // transforming it (its words, size, frame and content stay), so its
    // element takes what the host did as its transform and keeps its own
    // placement (x, y, width, height) and content as written.
    Affine own, fromParent;
    const auto t = edit_.attribute(el, "transform");
    if ((t && !parseTransformList(xmlText(*t), own)) || !s_.parentToRoot[size_t(el)].inverse(fromParent)) return false;
    const Affine full = hostMove(art) * s_.parentToRoot[size_t(el)] * own;
    Tag fresh;
    if (!firstTag(w_.artMarkupIn(art, full, differs[1]), fresh)) return false;
    const Affine change = fromParent * hostMove(art) * s_.parentToRoot[size_t(el)];
    if (differs[0] && !change.isIdentity())
        edit_.setAttribute(el, "transform", changeText(change) + (t ? " " + xmlText(*t) : std::string()));
    if (differs[3]) writeTags(el, fresh);
    const auto look = s_.looks.find(el);
    if (!differs[1] && differs[2] && look != s_.looks.end()) {
        paintEditor_.writeAppearance(art, el, look->second);
    } else if (differs[1] || differs[2]) {
        const auto written = writePaint(art, el, fresh);
        if (art.type != kTextArt) return true;
        // A span that paints itself would hide the text's new paint: the
        // model holds one paint for the whole text, so the spans take it.
        for (int k : descendants(el))
            for (const char *p : kPaintProperties) {
                const auto v = written.find(p);
                if (v != written.end() && (edit_.attribute(k, p) || edit_.styleProperty(k, p))) {
                    edit_.removeAttribute(k, p);
                    edit_.setStyleProperty(k, p, v->second);
                }
            }
    }
    return true;
}

namespace {

bool blank(std::string_view s) { return s.find_first_not_of(" \t\r\n") == std::string_view::npos; }

std::string_view trimmedText(std::string_view s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") + 1 - b);
}


// An element's start tag rebuilt: its attributes as written, but those
// named in `drop`, then `add` (written anew).
std::string startTagWith(const std::string &text, const XmlElementSpan &e, const std::set<std::string> &drop,
                         const std::vector<std::pair<std::string, std::string>> &add) {
    std::string out = "<" + text.substr(e.nameBegin, e.nameEnd - e.nameBegin);
    for (const XmlAttributeSpan &a : e.attributes) {
        if (drop.count(text.substr(a.nameBegin, a.nameEnd - a.nameBegin))) continue;
        // The attribute with its quotes, as written.
        out += " " + text.substr(a.nameBegin, a.valueEnd + 1 - a.nameBegin);
    }
    for (const auto &[n, v] : add) out += " " + n + "=\"" + XmlOut::escape(v, true) + "\"";
    return out + ">";
}

}  // namespace

std::string SourceWriter::spanWithout(int span, const std::set<std::string> &properties) const {
    const XmlElementSpan &e = s_.elements[size_t(span)];
    const std::string as = s_.text.substr(e.open, e.end - e.open);
    if (properties.empty()) return as;
    std::set<std::string> drop = properties;
    std::vector<std::pair<std::string, std::string>> add;
    if (const auto style = edit_.attribute(span, "style")) {
        std::string kept;
        const std::string declared = xmlText(*style);  // the views below point into it
        for (std::string_view d : cssDeclarations(declared))
            if (!blank(d) && !properties.count(cssPropertyName(d))) kept += std::string(trimmedText(d)) + ";";
        drop.insert("style");
        if (!kept.empty()) add.emplace_back("style", kept);
    }
    std::string tag = startTagWith(s_.text, e, drop, add);
    if (e.selfClosing) return tag.insert(tag.size() - 1, "/");
    return tag + s_.text.substr(e.openEnd, e.end - e.openEnd);
}

bool SourceWriter::writeTextLines(const Art &group, int el) {
    const XmlElementSpan &text = s_.elements[size_t(el)];
    if (text.selfClosing) return false;
    // The lines' spans, and nothing but blanks around them; the first line
    // may be the text's own words before its first placed span (keyed by
    // the text element itself), markup and all.
    std::map<int, const Art *> lineOf;
    for (const Art *line = group.firstChild; line; line = line->next) {
        if (line->disposed) continue;
        int part = line->sourcePart;
        if (part < 0 && lineOf.empty() && line->type == kTextArt) part = el;
        if (line->type != kTextArt || part < 0 || size_t(part) >= s_.elements.size() ||
            (part != el && s_.elements[size_t(part)].parent != el) || lineOf.count(part))
            return false;
        lineOf[part] = line;
    }
    size_t at = text.openEnd, ownEnd = text.close;
    bool spanSeen = false;
    for (int k : descendants(el)) {
        const XmlElementSpan &e = s_.elements[size_t(k)];
        if (e.parent != el) continue;
        if (!lineOf.count(k)) {
            if (spanSeen || !lineOf.count(el)) return false;  // part of the own words, or not a line
            continue;
        }
        if (!spanSeen && lineOf.count(el)) ownEnd = e.open;
        else if (!blank(std::string_view(s_.text).substr(at, e.open - at))) return false;
        spanSeen = true;
        at = e.end;
    }
    if (!spanSeen && lineOf.count(el)) at = text.close;
    if (!blank(std::string_view(s_.text).substr(at, text.close - at))) return false;

    Affine own, toElement;
    const auto t = edit_.attribute(el, "transform");
    if (t && !parseTransformList(xmlText(*t), own)) return false;
    const Affine elementToRoot = s_.parentToRoot[size_t(el)] * own;
    if (!elementToRoot.inverse(toElement)) return false;

    // What the host did to each line, in the text element's user space.
    struct Line {
        const Art *art;
        bool geometry, paint, appearance;
        Affine inner;
    };
    std::map<int, Line> lines;
    bool split = false;
    for (const auto &[part, art] : lineOf) {
        Line l{art, false, false, false, {}};
        l.geometry = artPartDigest(*art, ArtPart::kGeometry) != art->sourceDigest[0];
        l.paint = artPartDigest(*art, ArtPart::kPaint) != art->sourceDigest[1];
        l.appearance = artPartDigest(*art, ArtPart::kAppearance) != art->sourceDigest[2];
        l.inner = toElement * hostMove(*art) * elementToRoot;
        // A span takes a new place and paint, but no turn, scale, opacity
        // or blend mode: those need a text element of the line's own.
        double x, y;
        const bool shifted = l.inner.a == 1 && l.inner.b == 0 && l.inner.c == 0 && l.inner.d == 1;
        const bool placed = parseNumber(xmlText(edit_.attribute(part, "x").value_or("")), x) &&
                            parseNumber(xmlText(edit_.attribute(part, "y").value_or("")), y);
        // The text's own words have no span to take a change of their own.
        const bool own = part == el && (l.geometry || l.paint);
        split = split || own || l.appearance || (l.geometry && !(shifted && placed));
        lines[part] = l;
    }

    if (!split) {
        for (const auto &[part, l] : lines) {
            if (l.geometry) {
                double x = 0, y = 0;
                parseNumber(xmlText(*edit_.attribute(part, "x")), x);
                parseNumber(xmlText(*edit_.attribute(part, "y")), y);
                std::string nx, ny;
                appendNumber(nx, x + l.inner.e);
                appendNumber(ny, y + l.inner.f);
                edit_.setAttribute(part, "x", nx);
                edit_.setAttribute(part, "y", ny);
            }
            if (!l.paint) continue;
            Tag fresh;
            if (!firstTag(w_.artMarkupIn(*l.art, elementToRoot), fresh)) return false;
            writePaint(*l.art, part, fresh);
        }
        return true;
    }

    // One text element per line, in a group that takes the text's id,
    // transform and what applies to the whole (opacity, filter, clipping,
    // masking, blending); each keeps the text's other attributes, its span
    // as written, and takes what the host did to its line.
    static const std::set<std::string> kWhole = {"opacity", "filter", "clip-path", "mask", "mix-blend-mode",
                                                 "isolation", "display"};
    std::string wholeStyle, ownStyle;
    const std::string declared = xmlText(edit_.attribute(el, "style").value_or(""));  // the views point into it
    for (std::string_view d : cssDeclarations(declared)) {
        if (blank(d)) continue;
        (kWhole.count(cssPropertyName(d)) ? wholeStyle : ownStyle) += std::string(trimmedText(d)) + ";";
    }
    std::string out = "<g";
    for (const XmlAttributeSpan &a : text.attributes) {
        const std::string n = s_.text.substr(a.nameBegin, a.nameEnd - a.nameBegin);
        if (n == "id" || n == "transform" || kWhole.count(n)) out += " " + s_.text.substr(a.nameBegin, a.valueEnd + 1 - a.nameBegin);
    }
    if (!wholeStyle.empty()) out += " style=\"" + XmlOut::escape(wholeStyle, true) + "\"";
    out += ">";
    std::set<std::string> drop = kWhole;
    for (const char *n : {"id", "transform", "style"}) drop.insert(n);
    for (const auto &[part, l] : lines) {
        std::vector<std::pair<std::string, std::string>> add;
        if (!l.inner.isIdentity()) add.emplace_back("transform", svgTransformText(l.inner));
        std::string style = ownStyle;
        std::set<std::string> repainted;
        std::set<std::string> lineDrop = drop;
        if (l.paint || l.appearance) {
            Tag fresh;
            if (!firstTag(w_.artMarkupIn(*l.art, elementToRoot), fresh)) return false;
            std::map<std::string, std::string> props = paintProperties(*l.art, el, fresh);
            std::string kept;
            for (std::string_view d : cssDeclarations(style))
                if (!blank(d) && !props.count(cssPropertyName(d))) kept += std::string(trimmedText(d)) + ";";
            style = kept;
            for (const auto &[n, v] : props) {
                style += n + ":" + v + ";";
                lineDrop.insert(n);
                if (l.paint) repainted.insert(n);
            }
            for (const char *mark : kPaintMarks) {
                lineDrop.insert(mark);
                if (const std::string *v = fresh.find(mark)) add.emplace_back(mark, *v);
            }
        }
        if (!style.empty()) add.emplace_back("style", style);
        // A span that paints itself gives that up for its line's new paint.
        std::set<std::string> spanPaint;
        for (const char *p : kPaintProperties)
            if (repainted.count(p)) spanPaint.insert(p);
        const std::string words = part == el ? s_.text.substr(text.openEnd, ownEnd - text.openEnd)
                                             : spanWithout(part, spanPaint);
        out += startTagWith(s_.text, text, lineDrop, add) + words + "</" + name(el) + ">";
    }
    out += "</g>";
    edit_.remove(el);
    insertAfter(el, out);
    return true;
}

void SourceWriter::replaceWhole(const Art &art, int element) {
    edit_.remove(element);
    insertAfter(element, placed(markup(art), s_.elements[size_t(element)].parent));
}

void SourceWriter::writeTags(int element, const Tag &fresh) {
    // The id (and a compound's member ids) as the document has them now.
    const std::string *id = fresh.find("id");
    const auto oldId = edit_.attribute(element, "id");
    if (id && (!oldId || xmlText(*oldId) != *id)) edit_.setAttribute(element, "id", *id);
    else if (!id && oldId) edit_.removeAttribute(element, "id");
    const std::string *members = fresh.find("data-children");
    if (members && edit_.attribute(element, "data-children").value_or("\x01") != *members)
        edit_.setAttribute(element, "data-children", *members);
    // The element's tag attributes as written, looked up once each: an
    // element may carry very many.
    std::unordered_map<std::string_view, std::string_view> written;
    const std::string_view text(s_.text);
    for (const XmlAttributeSpan &a : s_.elements[size_t(element)].attributes) {
        const std::string_view n = text.substr(a.nameBegin, a.nameEnd - a.nameBegin);
        if (n.compare(0, 5, "data-") == 0) written.emplace(n, text.substr(a.valueBegin, a.valueEnd - a.valueBegin));
    }
    std::unordered_set<std::string_view> now;
    for (const auto &[n, v] : fresh.attributes)
        if (n.compare(0, 5, "data-") == 0 && (!isStructural(n) || n.compare(0, 10, "data-child") == 0)) {
            now.insert(n);
            const auto was = written.find(n);
            if (was == written.end() || was->second != v) edit_.setAttribute(element, n, v);
        }
    for (const auto &[n, v] : written) {
        const std::string name(n);
        const bool memberTag = n.compare(0, 10, "data-child") == 0;
        if ((!isStructural(name) || memberTag) && !now.count(n)) edit_.removeAttribute(element, name);
    }
}

std::map<std::string, std::string> SourceWriter::paintProperties(const Art &art, int element, const Tag &fresh) const {
    // Paint and opacity go together: the reader folds an element's common
    // fill and stroke opacity into the art's opacity.
    std::map<std::string, std::string> props;
    for (const auto &[n, v] : fresh.attributes) {
        if (n == "style") {
            for (size_t at = 0; at < v.size();) {
                size_t semi = v.find(';', at);
                if (semi == std::string::npos) semi = v.size();
                const std::string d = v.substr(at, semi - at);
                const size_t colon = d.find(':');
                if (colon != std::string::npos) props[d.substr(0, colon)] = d.substr(colon + 1);
                at = semi + 1;
            }
        } else if (n == "opacity" || n == "display") {
            props[n] = v;
        } else {
            for (const char *p : kPaintProperties)
                if (n == p) props[n] = v;
        }
    }
    const bool painted = isPathLike(art) || art.type == kTextArt || art.type == kSymbolArt;
    for (size_t k = 0; painted && k < sizeof kPaintProperties / sizeof *kPaintProperties; ++k)
        if (!props.count(kPaintProperties[k])) props[kPaintProperties[k]] = kPaintDefaults[k];
    if (!props.count("opacity")) props["opacity"] = "1";
    if (!props.count("mix-blend-mode") && (art.blendMode != 0 || edit_.styleProperty(element, "mix-blend-mode")))
        props["mix-blend-mode"] = "normal";
    const bool hidden = (art.userAttr & kArtHidden) != 0;
    if (hidden) props["display"] = "none";
    else if (edit_.attribute(element, "display") || edit_.styleProperty(element, "display")) props["display"] = "inline";
    if (!painted)
        for (auto it = props.begin(); it != props.end();)
            it = it->first == "opacity" || it->first == "mix-blend-mode" || it->first == "display" ? std::next(it)
                                                                                                 : props.erase(it);
    return props;
}

std::map<std::string, std::string> SourceWriter::writePaint(const Art &art, int element, const Tag &fresh) {
    const std::map<std::string, std::string> props = paintProperties(art, element, fresh);
    for (const auto &[n, v] : props) {
        edit_.removeAttribute(element, n);
        edit_.setStyleProperty(element, n, v);
    }
    for (const char *mark : kPaintMarks) {
        const std::string *v = fresh.find(mark);
        if (v) edit_.setAttribute(element, mark, *v);
        else if (edit_.attribute(element, mark)) edit_.removeAttribute(element, mark);
    }
    if (const std::string *cls = fresh.find("class")) {
        const std::string old = xmlText(edit_.attribute(element, "class").value_or(""));
        if ((" " + old + " ").find(" " + *cls + " ") == std::string::npos)
            edit_.setAttribute(element, "class", old.empty() ? *cls : old + " " + *cls);
    }
    return props;
}

bool SourceWriter::writeGeometry(const Art &art, int element, const Tag &fresh, const Affine *local,
                                 Affine &placedOwn) {
    Affine fromParent;
    if (!s_.parentToRoot[size_t(element)].inverse(fromParent)) return false;
    if (local && !isIdentity(art.hostTransform)) {
        // Moved, turned or scaled by the host: that goes into its transform.
        placedOwn = fromParent * *local;
        if (placedOwn.isIdentity()) edit_.removeAttribute(element, "transform");
        else edit_.setAttribute(element, "transform", svgTransformText(placedOwn));
    } else if (!local) {
        // Written in the file's own coordinates (a path whose points do not
        // come back exactly through the element's transform, an image, a
        // symbol): the element's transform undoes its parents'.
        Affine written;
        const std::string *freshTransform = fresh.find("transform");
        if (freshTransform && !parseTransformList(*freshTransform, written)) return false;
        placedOwn = fromParent * written;
        if (placedOwn.isIdentity()) edit_.removeAttribute(element, "transform");
        else edit_.setAttribute(element, "transform", svgTransformText(placedOwn));
    }
    if (isPathLike(art)) {
        if (localName(element) != "path") {
            edit_.rename(element, prefix(element) + "path");
            for (const char *a : kShapeGeometry) edit_.removeAttribute(element, a);
        }
        const std::string *d = fresh.find("d");
        if (!d) return false;
        edit_.setAttribute(element, "d", *d);
        if (const std::string *ids = fresh.find("data-children")) edit_.setAttribute(element, "data-children", *ids);
        return true;
    }
    // Images and symbols: their frame and placement.
    for (const char *a : {"x", "y", "width", "height", "preserveAspectRatio"})
        if (const std::string *v = fresh.find(a)) edit_.setAttribute(element, a, *v);
    return true;
}

void SourceWriter::declareInkscape(std::string &defs) {
    // Swatches are marked as an SVG editor marks its own, in its namespace:
    // declared on the root when the file does not declare it yet, or said
    // with the prefix the file gives it.
    const std::string mark = "inkscape:";
    if (defs.find(" " + mark) == std::string::npos) return;
    const XmlNamespaces ns = declaredNamespaces(s_.text, s_.elements[0]);
    const auto bound = ns.prefixByUri.find(kInkscapeNamespace);
    if (bound != ns.prefixByUri.end()) {
        if (bound->second == "inkscape") return;
        for (size_t at = defs.find(" " + mark); at != std::string::npos; at = defs.find(" " + mark, at + 1))
            defs.replace(at + 1, mark.size(), bound->second + ":");
        return;
    }
    edit_.setAttribute(0, "xmlns:inkscape", kInkscapeNamespace);
}

std::string SourceWriter::write() {
    const size_t n = s_.elements.size();
    liveCount_.assign(n, 0);
    claimed_.assign(n, false);
    doc_.forEachArt([&](const Art &a) {
        if (a.sourceOwner >= 0 && !a.sourceCopy && size_t(a.sourceOwner) < n) {
            ++liveCount_[size_t(a.sourceOwner)];
            // A part's tags have a place in the markup only for a compound
            // path's members; a line of a text keeps its tags in the model.
            if (a.sourceElement >= 0) return;
            bool drawn = true;
            for (int p = 0; p < 3; ++p) drawn = drawn && artPartDigest(a, ArtPart(p)) == a.sourceDigest[p];
            if (!drawn) ownersChanged_.insert(a.sourceOwner);
            const bool member = a.parent && a.parent->type == kCompoundPathArt;
            if (member && artPartDigest(a, ArtPart::kTags) != a.sourceDigest[3]) ownersRetagged_.insert(a.sourceOwner);
        }
    });
    std::string newLayers;
    for (const Layer *layer : doc_.layers) {
        if (layer->sourceElement >= 0) {
            walk(layer->root, layer->sourceElement);
            continue;
        }
        // A layer made since: a layer group of its own at the end.
        std::string content;
        for (const Art *a = layer->root->firstChild; a; a = a->next)
            if (!a->disposed) content += markup(*a);
        newLayers += "<g data-layer=\"" + XmlOut::escape(layer->name, true) + "\"" +
                     (layer->visible ? "" : " display=\"none\"") + (layer->locked ? " data-layer-locked=\"true\"" : "") +
                     ">" + content + "</g>\n";
    }
    // Elements whose art went, or moved elsewhere (written anew there).
    for (size_t el = 0; el < n; ++el)
        if (!claimed_[el] && s_.artCount[el] > 0) edit_.remove(int(el));
    std::string defs = w_.newDefinitions(s_.graphicStyles, s_.swatches);
    declareInkscape(defs);
    if (!defs.empty()) appendChild(0, "<defs>\n" + defs + "</defs>\n");
    if (!newLayers.empty()) appendChild(0, newLayers);
    std::string out = edit_.apply();
    return out;
}

}  // namespace

bool Writer::writeOver(const SvgSource &source, std::string &text, std::string &error) {
    // References are written as the file can read them: with the prefix it
    // gives the xlink namespace, else as SVG's own href.
    const XmlNamespaces ns = declaredNamespaces(source.text, source.elements[0]);
    const auto xlink = ns.prefixByUri.find(kXlinkNamespace);
    hrefName_ = xlink == ns.prefixByUri.end() ? "href" : xlink->second + ":href";
    for (const XmlElementSpan &e : source.elements)
        for (const XmlAttributeSpan &a : e.attributes)
            if (source.text.compare(a.nameBegin, a.nameEnd - a.nameBegin, "id") == 0)
                usedIds_.insert(xmlText(std::string_view(source.text).substr(a.valueBegin, a.valueEnd - a.valueBegin)));
    return attempt(
        [&] {
            return fromUtf8(SourceWriter(*this, doc_, source).write(), source.encoding, source.byteOrderMark);
        },
        text, error);
}

std::string Writer::artMarkup(const Art &art, const Affine *space, bool *local) {
    XmlOut scratch;
    std::swap(body_, scratch);
    spaceOverride_ = space;
    pathWasLocal_ = false;
    try {
        writeArt(art);
    } catch (...) {
        spaceOverride_ = nullptr;
        std::swap(body_, scratch);
        throw;
    }
    spaceOverride_ = nullptr;
    if (local) *local = pathWasLocal_;
    std::swap(body_, scratch);
    std::string markup = scratch.take();
    const size_t first = markup.find_first_not_of(" \n"), last = markup.find_last_not_of(" \n");
    return first == std::string::npos ? std::string() : markup.substr(first, last + 1 - first);
}

std::string Writer::geometryMarkup(const Art &art, const Affine *space, bool *local) {
    noDefinitions_ = true;
    try {
        std::string markup = artMarkup(art, space, local);
        noDefinitions_ = false;
        return markup;
    } catch (...) {
        noDefinitions_ = false;
        throw;
    }
}

std::string Writer::artMarkupIn(const Art &art, const Affine &elementToRoot, bool definitions) {
    Affine toLocal;
    if (!elementToRoot.inverse(toLocal)) return {};
    const ElementSpace outside = space_;
    space_ = {true, toLocal, elementToRoot.meanScale()};
    noDefinitions_ = !definitions;
    std::string markup;
    try {
        markup = artMarkup(art, nullptr, nullptr);
    } catch (...) {
        space_ = outside;
        noDefinitions_ = false;
        throw;
    }
    space_ = outside;
    noDefinitions_ = false;
    return markup;
}

template <class F> std::string Writer::inElementSpace(const Affine &elementToRoot, F &&write) {
    Affine toLocal;
    if (!elementToRoot.inverse(toLocal)) toLocal = Affine{};
    const ElementSpace outside = space_;
    space_ = {true, toLocal, elementToRoot.meanScale()};
    std::string text;
    try {
        text = write();
    } catch (...) {
        space_ = outside;
        throw;
    }
    space_ = outside;
    return text;
}

std::string Writer::paintIn(const AIColor &color, const Affine &elementToRoot) {
    return inElementSpace(elementToRoot, [&] { return paint(color); });
}

std::string Writer::lengthIn(double value, const Affine &elementToRoot) {
    return inElementSpace(elementToRoot, [&] { return length(value); });
}

std::string Writer::newDefinitions(size_t stylesBefore, size_t swatchesBefore) {
    std::string out = defs_;
    defs_.clear();
    out += namedStyleDefinitions(stylesBefore);
    out += swatchDefinitions(swatchesBefore);
    return out;
}

}  // namespace smear::svg
