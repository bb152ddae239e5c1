// The document as an SVG file, in paint order, with every id kept. Path
// elements are written in the coordinates of the transform they were read
// with (when it can be kept), everything else in absolute coordinates; what
// SVG cannot say exactly (mesh vertex colours, compound path members) rides
// along in data attributes so that reading the file back restores it. A
// number that cannot be written (not finite, or past a float's range) fails
// the whole write, naming the object; nothing stands in for it.
#include <cmath>
#include <vector>

#include "svg.h"
#include "svg_bezier.h"
#include "svg_color_codec.h"
#include "svg_numbers.h"
#include "svg_path_data.h"
#include "svg_write_internal.h"

namespace smear {

namespace svg {

namespace {

const char *const kBlendModes[] = {"normal",      "multiply",   "screen",     "overlay",
                                   "soft-light",  "hard-light", "color-dodge", "color-burn",
                                   "darken",      "lighten",    "difference", "exclusion",
                                   "hue",         "saturation", "color",      "luminosity"};


const char *kindName(ASInt16 type) {
    switch (type) {
    case kPathArt:
    case kMysteryPathArt: return "path";
    case kCompoundPathArt: return "compound path";
    case kMeshArt: return "mesh";
    case kTextArt: return "text";
    case kPlacedArt: return "placed image";
    case kRasterArt: return "image";
    case kSymbolArt: return "symbol";
    default: return "group";
    }
}

// Whether a viewBox as the file gave it is a box of positive size, which is
// what the reader took it as.
bool soundViewBox(const std::string &text) {
    std::vector<double> v;
    return parseNumberList(text, v) && v.size() == 4 && std::isfinite(v[0]) && std::isfinite(v[1]) &&
           std::isfinite(v[2]) && std::isfinite(v[3]) && v[2] > 0 && v[3] > 0;
}

// Grows the box to at least one unit each way about its middle.
void atLeastAUnit(double &low, double &high) {
    if (high - low >= 1) return;
    const double middle = low / 2 + high / 2;
    low = middle - 0.5;
    high = middle + 0.5;
}

}  // namespace

const char *blendModeName(int mode) { return mode > 0 && mode < 16 ? kBlendModes[mode] : kBlendModes[0]; }

std::string failureText(const std::string &object, const UnwritableNumber &e) {
    return "cannot write " + object + ": " + (e.field().empty() ? std::string("a number") : "its " + e.field()) +
           " holds " + e.what();
}

std::string dataAttributeName(const std::string &name) {
    std::string out;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') out += char(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.') out += c;
        else out += '-';
    }
    return out.empty() ? "-" : out;
}

bool isIdentity(const AIRealMatrix &m) {
    return m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1 && m.tx == 0 && m.ty == 0;
}

bool writableMatrix(const AIRealMatrix &m) {
    for (double v : {m.a, m.b, m.c, m.d, m.tx, m.ty})
        if (!writableFloat(v)) return false;
    return true;
}

std::string svgMatrix(const AIRealMatrix &m) {
    // Document space is SVG space flipped: the SVG matrix is flip · m · flip.
    std::string out = "matrix(";
    const double v[6] = {m.a, -double(m.b), -double(m.c), m.d, m.tx, -double(m.ty)};
    for (int i = 0; i < 6; ++i) {
        if (i) out += ' ';
        appendNumber(out, v[i]);
    }
    return out + ")";
}

Writer::Writer(const Document &doc, bool preview) : doc_(doc), preview_(preview) {
    doc.forEachArt([&](const Art &a) {
        if (!a.id.empty()) usedIds_.insert(a.id);
    });
    for (const auto &def : doc.svgDefinitions) usedIds_.insert(def.first);
}

bool Writer::write(std::string &text, std::string &error) {
    return attempt([&] { return document(); }, text, error);
}

std::string Writer::document() {
    const bool oneLayer = doc_.layers.size() == 1 && doc_.layers[0]->visible && !doc_.layers[0]->locked;
    for (const Layer *layer : doc_.layers) writeLayer(*layer, !oneLayer);
    layer_ = nullptr;
    const std::string bodyText = body_.take();
    // After the art: their paints may add gradients and patterns to defs_.
    const std::string library = namedStyleDefinitions() + swatchDefinitions();

    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg";
    auto attr = [&](const char *name, const std::string &value) {
        text += std::string(" ") + name + "=\"" + XmlOut::escape(value, true) + "\"";
    };
    attr("xmlns", "http://www.w3.org/2000/svg");
    attr("xmlns:xlink", "http://www.w3.org/1999/xlink");
    // Swatches are written the way an SVG editor keeps its own.
    if (!doc_.swatches.empty()) attr("xmlns:inkscape", "http://www.inkscape.org/namespaces/inkscape");
    attr("version", "1.1");
    try {
        text += rootSize();
    } catch (const UnwritableNumber &e) {
        throw WriteFailure{failureText("the page", e)};
    }
    text += ">\n";
    if (!defs_.empty() || !doc_.svgDefinitions.empty() || !library.empty()) {
        text += "  <defs>\n";
        for (const auto &def : doc_.svgDefinitions) text += "    " + def.second + "\n";
        text += defs_;
        text += library;
        text += "  </defs>\n";
    }
    if (bodyText != "\n") text += bodyText;
    text += "</svg>\n";
    return text;
}

std::string Writer::rootSize() {
    std::string text;
    auto attr = [&](const char *name, const std::string &value) {
        text += std::string(" ") + name + "=\"" + XmlOut::escape(value, true) + "\"";
    };
    auto viewBox = [](const Box &b) {
        return formatNumber(b.minX) + " " + formatNumber(-b.maxY) + " " + formatNumber(b.width()) + " " +
               formatNumber(b.height());
    };
    if (doc_.svgWidth.empty() && doc_.svgHeight.empty() && doc_.svgViewBox.empty()) {
        // A document that did not come from SVG: its artboard is the page.
        const Box b = page();
        naming("size", [&] {
            attr("width", formatNumber(b.width()));
            attr("height", formatNumber(b.height()));
        });
        attr("viewBox", naming("viewBox", [&] { return viewBox(b); }));
        return text;
    }
    if (!doc_.svgWidth.empty()) attr("width", doc_.svgWidth);
    if (!doc_.svgHeight.empty()) attr("height", doc_.svgHeight);
    // A viewBox the reader could not take (one of no size draws nothing)
    // is replaced by the page it took instead.
    if (soundViewBox(doc_.svgViewBox)) attr("viewBox", doc_.svgViewBox);
    else if (!doc_.svgViewBox.empty()) attr("viewBox", naming("viewBox", [&] { return viewBox(page()); }));
    return text;
}

Box Writer::page() const {
    const AIRealRect &a = doc_.artboard;
    for (double v : {a.left, a.top, a.right, a.bottom})
        if (!writableFloat(v)) {
            UnwritableNumber e(v);
            e.name("artboard");
            throw e;
        }
    Box box;
    if (double(a.right) > a.left && double(a.top) > a.bottom) {
        box.add(Vec2{a.left, a.bottom});
        box.add(Vec2{a.right, a.top});
        return box;
    }
    // An artboard without area shows nothing: the page is the drawing's
    // bounds (or that artboard without art), at least a unit each way.
    for (const Layer *layer : doc_.layers)
        for (const Art *art = layer->root ? layer->root->firstChild : nullptr; art; art = art->next) {
            AIRealRect b;
            if (art->disposed || !artBounds(*art, b)) continue;
            box.add(Vec2{b.left, b.bottom});
            box.add(Vec2{b.right, b.top});
        }
    if (box.empty) {
        box.add(Vec2{a.left, a.bottom});
        box.add(Vec2{a.right, a.top});
    }
    atLeastAUnit(box.minX, box.maxX);
    atLeastAUnit(box.minY, box.maxY);
    return box;
}

std::string Writer::objectName(const Art &art) const {
    std::string name = kindName(art.type);
    if (!art.id.empty()) return name + " \"" + art.id + "\"";
    name += " without an id (object " + std::to_string(objectIndex_);
    if (layer_) name += " of layer \"" + layer_->name + "\"";
    return name + " in paint order)";
}

void Writer::writeLayer(const Layer &layer, bool asGroup) {
    layer_ = &layer;
    objectIndex_ = 0;
    if (asGroup) {
        body_.start("g");
        body_.attr("data-layer", layer.name);
        if (!layer.visible) body_.attr("display", "none");
        if (layer.locked) body_.attr("data-layer-locked", "true");
    }
    for (const Art *a = layer.root ? layer.root->firstChild : nullptr; a; a = a->next) writeArt(*a);
    if (asGroup) body_.end();
}

void Writer::writeArt(const Art &art) {
    if (art.disposed) return;
    ++objectIndex_;
    // Its own place, for its name: writing its children counts on.
    const size_t index = objectIndex_;
    try {
        switch (art.type) {
        case kPathArt:
        case kMysteryPathArt: return writePath(art);
        case kCompoundPathArt: return writeCompound(art);
        case kMeshArt: return writeMesh(art);
        case kTextArt: return writeText(art);
        case kPlacedArt:
        case kRasterArt: return writeImage(art);
        case kSymbolArt: return writeSymbol(art);
        default: return writeGroup(art);
        }
    } catch (const UnwritableNumber &e) {
        objectIndex_ = index;
        throw WriteFailure{failureText(objectName(art), e)};
    }
}

void Writer::writeCommon(const Art &art, const AIPathStyle *paint) {
    if (!art.id.empty()) body_.attr("id", art.id);
    const int named = namedStyleIndex(art);
    // Art painted in its named style's class: its own paint and opacity go
    // into its style attribute, where the class rule cannot override them.
    const bool paintInStyle = paint && named >= 0;
    if (paintInStyle) body_.attr("class", namedStyleClass(named));
    if (art.opacity != 1.0f && !paintInStyle)
        body_.attr("opacity", naming("opacity", [&] { return formatNumber(art.opacity); }));
    std::string style = art.svgStyle;
    if (art.blendMode > 0 && art.blendMode < 16) style += std::string("mix-blend-mode:") + kBlendModes[art.blendMode];
    if (paintInStyle) {
        if (!style.empty() && style.back() != ';') style += ';';
        style += naming("paint", [&] { return inlinePaint(*paint); });
        style += ";opacity:" + naming("opacity", [&] { return formatNumber(art.opacity); });
    }
    if (!style.empty()) body_.attr("style", style);
    if (art.userAttr & kArtHidden) body_.attr("display", "none");
    if (named >= 0) body_.attr("data-smear-style", doc_.graphicStyles[size_t(named)]->name);
    // Art keeps its factor without a named style too, for one it gets later.
    if (art.styleFactor != 1.0f)
        body_.attr("data-smear-style-factor", naming("style factor", [&] { return formatNumber(art.styleFactor); }));
    writeTags(art.tags, "data-");
}

void Writer::writeTags(const ArtTags &tags, const std::string &prefix) {
    for (const TagRef tag : tags) body_.attr(prefix + dataAttributeName(tag.name), tag.value);
}

void Writer::writeMatrix(const AIRealMatrix &m) {
    if (!isIdentity(m)) body_.attr("transform", naming("transform", [&] { return svgMatrix(m); }));
}

std::string Writer::enterElementSpace(const Art &art, const std::vector<const Art *> &parts) {
    std::string d;
    if (spaceOverride_ || !isIdentity(art.svgTransform)) {
        // Kept only when every point comes back exactly through the
        // transform as the reader will have it: the numbers as written.
        Affine toRoot, toLocal;
        bool ok = spaceOverride_ ? (toRoot = *spaceOverride_, true)
                                 : writableMatrix(art.svgTransform) &&
                                       parseTransformList(svgMatrix(art.svgTransform), toRoot);
        ok = ok && toRoot.inverse(toLocal);
        for (size_t k = 0; ok && k < parts.size(); ++k) {
            std::string sub;
            ok = localPathData(parts[k]->segments, parts[k]->closed, toRoot, toLocal, sub);
            if (!sub.empty()) d += (d.empty() ? "" : " ") + sub;
        }
        if (ok) {
            space_ = {true, toLocal, toRoot.meanScale()};
            pathWasLocal_ = true;
            return d;
        }
        d.clear();
    }
    for (const Art *part : parts) {
        const std::string sub = naming("path data", [&] { return pathData(part->segments, part->closed); });
        if (!sub.empty()) d += (d.empty() ? "" : " ") + sub;
    }
    return d;
}

void Writer::leaveElementSpace() { space_ = ElementSpace{}; }

void Writer::writePathData(const Art &art, const std::string &d) {
    if (space_.local && !spaceOverride_) body_.attr("transform", svgMatrix(art.svgTransform));
    body_.attr("d", d);
}

void Writer::writePath(const Art &art) {
    body_.start("path");
    const std::string d = enterElementSpace(art, {&art});
    writeCommon(art, &art.style);
    writePathData(art, d);
    writePaint(art.style, namedStyleIndex(art) >= 0);
    leaveElementSpace();
    body_.end();
}

void Writer::writeCompound(const Art &art) {
    // One path with every member as a subpath, painted as its first member
    // (the members of a compound path share one paint); the members' ids
    // and tags are kept in data attributes.
    std::string ids;
    bool named = false;
    const Art *first = nullptr;
    std::vector<const Art *> members;
    for (const Art *c = art.firstChild; c; c = c->next) {
        if (c->disposed || (c->type != kPathArt && c->type != kMysteryPathArt)) continue;
        if (!first) first = c;
        // A member without anchors writes no subpath, so it takes no place
        // in the list of members either.
        if (c->segments.empty()) continue;
        members.push_back(c);
        ids += (ids.empty() ? "" : " ") + encodeName(c->id);
        named = named || !c->id.empty();
    }
    const AIPathStyle &paint = first ? first->style : art.style;
    body_.start("path");
    const std::string d = enterElementSpace(art, members);
    writeCommon(art, &paint);
    writePathData(art, d);
    writePaint(paint, namedStyleIndex(art) >= 0);
    leaveElementSpace();
    if (named) body_.attr("data-children", ids);
    for (size_t k = 0; k < members.size(); ++k)
        writeTags(members[k]->tags, "data-child" + std::to_string(k) + "-");
    body_.end();
}

void Writer::writeGroup(const Art &art) {
    body_.start("g");
    writeCommon(art);
    for (const Art *c = art.firstChild; c; c = c->next) writeArt(*c);
    body_.end();
}

void Writer::writeText(const Art &art) {
    // The frame is in the text's own space, the baseline a fifth of the
    // font size above its bottom; the matrix places it. A text read from SVG
    // keeps its font properties (and anchor) in svgStyle.
    body_.start("text");
    writeCommon(art, &art.style);
    // An anchored text is placed at its anchor: the middle or end of the frame.
    const std::string &style = art.svgStyle;
    const double x = style.find("text-anchor:middle") != std::string::npos
                         ? (double(art.frame.left) + art.frame.right) / 2
                     : style.find("text-anchor:end") != std::string::npos ? double(art.frame.right)
                                                                          : double(art.frame.left);
    // The size first: the baseline is placed by it.
    const std::string size = naming("font size", [&] { return formatNumber(art.fontSize); });
    naming("frame", [&] {
        body_.attr("x", formatNumber(x));
        body_.attr("y", formatNumber(-(double(art.frame.bottom) + 0.2 * double(art.fontSize))));
    });
    body_.attr("font-size", size);
    writeMatrix(art.matrix);
    writePaint(art.style, namedStyleIndex(art) >= 0);
    const std::string &t = art.text;
    if (t.find("  ") != std::string::npos || (!t.empty() && (t.front() == ' ' || t.back() == ' ')))
        body_.attr("xml:space", "preserve");
    if (!writeTextLines(art)) body_.text(t);
    body_.end();
}

bool Writer::writeTextLines(const Art &art) {
    // Lines, each where it starts; a layout that does not match the words
    // leaves them to be written as one line.
    std::vector<std::string> words;
    for (size_t at = 0;;) {
        const size_t end = art.text.find('\n', at);
        words.push_back(art.text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    if (words.size() < 2) return false;
    std::vector<std::vector<double>> places;
    for (size_t at = 0; at < art.href.size();) {
        const size_t end = art.href.find('\n', at);
        std::vector<double> row;
        if (!parseNumberList(std::string_view(art.href).substr(at, end - at), row) || row.size() != 4) return false;
        places.push_back(row);
        at = end == std::string::npos ? art.href.size() : end + 1;
    }
    if (places.size() != words.size()) return false;
    for (size_t k = 0; k < words.size(); ++k) {
        body_.start("tspan");
        body_.attr("x", formatNumber(places[k][0]));
        body_.attr("y", formatNumber(places[k][1]));
        if (places[k][2] == 1) body_.attr("text-anchor", "middle");
        if (places[k][2] == 2) body_.attr("text-anchor", "end");
        if (places[k][3] != double(art.fontSize)) body_.attr("font-size", formatNumber(places[k][3]));
        body_.text(words[k]);
        body_.end();
    }
    return true;
}

void Writer::writeImage(const Art &art) {
    const AIRealRect &f = art.frame;
    body_.start("image");
    writeCommon(art);
    naming("frame", [&] {
        body_.attr("x", formatNumber(f.left));
        body_.attr("y", formatNumber(-double(f.top)));
        body_.attr("width", formatNumber(double(f.right) - f.left));
        body_.attr("height", formatNumber(double(f.top) - f.bottom));
    });
    body_.attr("preserveAspectRatio", "none");
    writeMatrix(art.matrix);
    body_.attr(hrefName_, art.href);
    body_.end();
}

void Writer::writeSymbol(const Art &art) {
    // The frame is the bounds of the symbol's content in its own space; the
    // matrix places that content, and the symbol's paint is what the
    // content inherits.
    body_.start("use");
    writeCommon(art, &art.style);
    writeMatrix(art.matrix);
    body_.attr(hrefName_, "#" + art.href);
    writePaint(art.style, namedStyleIndex(art) >= 0);
    body_.end();
}

}  // namespace svg

bool writeSvg(const Document &doc, std::string &text, std::string &error) {
    if (doc.svgSource) return svg::Writer(doc).writeOver(*doc.svgSource, text, error);
    return svg::Writer(doc).write(text, error);
}

bool writeSvgPreview(const Document &doc, std::string &text, std::string &error) {
    return svg::Writer(doc, true).write(text, error);
}

}  // namespace smear
