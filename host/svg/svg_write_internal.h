// The SVG writer's state, shared by the sources that write art and paint.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "document.h"
#include "svg_affine.h"
#include "svg_bezier.h"
#include "xml_out.h"

namespace smear::svg {

// Runs `write`; a number it cannot write is said to be in `field` (unless
// a part of it named one already).
template <class F>
auto naming(const char *field, F &&write) -> decltype(write()) {
    try {
        return write();
    } catch (UnwritableNumber &e) {
        e.name(field);
        throw;
    }
}

class Writer {
public:
    // A preview draws each mesh as small patches of colour that any
    // renderer shows, and keeps no data for reading back.
    explicit Writer(const Document &doc, bool preview = false);
    // The whole file; false, with a message that names the object and the
    // value, when a number in it cannot be written.
    bool write(std::string &text, std::string &error);
    // Runs `make` for the file's text; false, with the message and no
    // text, when a number in it cannot be written.
    template <class F> bool attempt(F &&make, std::string &text, std::string &error);
    // The file the document was read from, changed only where the drawing
    // changed (svg_write_source.cpp); fails as write() does.
    bool writeOver(const SvgSource &source, std::string &text, std::string &error);

    // One art object's markup, as new art is written. With `space`, a path
    // is written in that map's coordinates (from the element's user space
    // to the file's) when its points come back exactly through it, and no
    // transform of its own; `local` then says whether they did.
    std::string artMarkup(const Art &art, const Affine *space, bool *local);
    // The same for its geometry alone: its paint makes no definitions.
    std::string geometryMarkup(const Art &art, const Affine *space, bool *local);
    // The markup of art whose element keeps its place and transform: its
    // lengths and paint servers in that element's user space
    // (`elementToRoot` maps it into the file's).
    // Without `definitions`, its paint makes no gradient or pattern.
    std::string artMarkupIn(const Art &art, const Affine &elementToRoot, bool definitions = true);
    // A fill's or stroke's paint, and a length, for an element whose user
    // space `elementToRoot` maps into the file's; a gradient or pattern
    // becomes a definition placed in that space.
    std::string paintIn(const AIColor &color, const Affine &elementToRoot);
    std::string lengthIn(double value, const Affine &elementToRoot);
    // The id of a definition (markup with "@ID@" for its id, written once
    // however often it is asked for), which newDefinitions then holds.
    std::string shareDefinition(const std::string &base, const std::string &markup) {
        return definitionId(base, markup);
    }
    // The name a reference is written with: "xlink:href" where the xlink
    // namespace is declared (a new file declares it), else "href".
    const std::string &hrefName() const { return hrefName_; }
    // Definitions the art written so far needs (gradients, patterns), the
    // named styles from index `stylesBefore` on and the swatches from
    // index `swatchesBefore` on.
    std::string newDefinitions(size_t stylesBefore, size_t swatchesBefore);

private:
    // The file; throws UnwritableNumber, or WriteFailure naming the object.
    std::string document();
    // The root's size and viewBox.
    std::string rootSize();
    // The box the root's viewBox shows, in document space.
    Box page() const;
    // Its kind and id in quotes, or its kind and place for art without an id.
    std::string objectName(const Art &art) const;

    // Art (svg_write.cpp).
    void writeLayer(const Layer &layer, bool asGroup);
    void writeArt(const Art &art);
    void writePath(const Art &art);
    void writeCompound(const Art &art);
    void writeGroup(const Art &art);
    // The path data of `parts`' subpaths: in the space of the art's kept
    // transform when that transform can be kept, else absolute. Lengths
    // and paint placements written until `leaveElementSpace` follow it.
    std::string enterElementSpace(const Art &art, const std::vector<const Art *> &parts);
    void leaveElementSpace();
    // The element's transform (when it is kept) and its path data.
    void writePathData(const Art &art, const std::string &d);

    // Meshes (svg_write_mesh.cpp).
    void writeMesh(const Art &art);
    void writeMeshData(const Art &art);
    void writeMeshPreview(const Art &art);
    std::string meshGradientMarkup(const Art &art);
    void writeText(const Art &art);
    // A text of several lines as one span per line; false for one line.
    bool writeTextLines(const Art &art);
    void writeImage(const Art &art);
    void writeSymbol(const Art &art);
    // `paint` is the style the element is painted with, null for art that
    // is not painted itself (groups, meshes, images).
    void writeCommon(const Art &art, const AIPathStyle *paint = nullptr);
    void writeTags(const ArtTags &tags, const std::string &prefix);
    void writeMatrix(const AIRealMatrix &m);

    // Paint (svg_write_paint.cpp). Art with a named style is painted in its
    // style attribute, which its style's class rule cannot override.
    using Attributes = std::vector<std::pair<std::string, std::string>>;
    void writePaint(const AIPathStyle &style, bool paintInStyle = false);
    std::string inlinePaint(const AIPathStyle &style);
    std::string paint(const AIColor &color);
    std::string gradientPaint(const AIGradientStyle &g);
    std::string patternPaint(const AIPatternStyle &p);
    // A length (stroke width, dash) in the element's own units.
    std::string length(double value) const;
    // A paint server's own transform, preceded by the map into the
    // element's own space when there is one.
    std::string placementTransform(const std::string &own) const;
    // Definition markup with "@ID@" for its id; empty without a gradient or
    // pattern to draw.
    std::string gradientMarkup(const AIGradientStyle &g, const Attributes &extra);
    std::string patternMarkup(const AIPatternStyle &p, const Attributes &extra);

    // The document's named styles and swatches (svg_write_library.cpp).
    // The index of the art's named style in the document, -1 for none.
    int namedStyleIndex(const Art &art) const;
    std::string namedStyleDefinitions(size_t from = 0);
    std::string namedStyleDefinition(const GraphicStyle &style, const std::string &cls);
    std::string swatchDefinitions(size_t from = 0);
    std::string swatchDefinition(const Swatch &swatch);
    std::string definitionId(const std::string &base, const std::string &markupWithoutId);
    // Runs `write` with lengths and paint placed in an element's space.
    template <class F> std::string inElementSpace(const Affine &elementToRoot, F &&write);
    std::string freshId(const std::string &base);

    const Document &doc_;
    const bool preview_;
    // While a path element with a kept transform is written: the map from
    // the file's user space into the element's own and its length scale.
    struct ElementSpace {
        bool local = false;
        Affine toLocal;
        double lengthScale = 1;
    };
    ElementSpace space_;
    const Affine *spaceOverride_ = nullptr;
    bool pathWasLocal_ = false;
    XmlOut body_{1};
    std::string defs_;  // gradient and pattern elements, one per line
    std::set<std::string> usedIds_;
    std::string hrefName_ = "xlink:href";
    bool noDefinitions_ = false;
    std::map<std::string, std::string> defIdByContent_;
    int counter_ = 0;
    // Where the art being written is, for naming art without an id.
    const Layer *layer_ = nullptr;
    size_t objectIndex_ = 0;
};

// A number the writer met that it cannot write, with the object it is in.
struct WriteFailure {
    std::string message;
};
// "cannot write OBJECT: its FIELD holds VALUE".
std::string failureText(const std::string &object, const UnwritableNumber &e);

template <class F> bool Writer::attempt(F &&make, std::string &text, std::string &error) {
    try {
        text = make();
        return true;
    } catch (const WriteFailure &f) {
        error = f.message;
    } catch (const UnwritableNumber &e) {
        error = failureText("the drawing", e);
    }
    text.clear();
    return false;
}

// An element's transform as SVG's matrix(), each term in the shortest
// text of its float; a term within a rounding of zero is zero.
std::string transformText(const Affine &m);
// The CSS name of a blend mode ("normal" for one out of range).
const char *blendModeName(int mode);
// SVG's matrix of a document matrix (which maps document space, y up).
std::string svgMatrix(const AIRealMatrix &m);
// A tag's name as a data attribute name (after "data-"): lower case
// letters, digits, '-', '_' and '.'; anything else becomes '-'.
std::string dataAttributeName(const std::string &name);
bool isIdentity(const AIRealMatrix &m);
// Whether every term of the matrix can be written.
bool writableMatrix(const AIRealMatrix &m);
// Throws UnwritableNumber for a component of a flat colour that is not
// finite, which no #rrggbb could show.
void checkColour(const AIColor &color);

// The patternTransform that places a pattern fill: the record's matrix, then
// its rotation and its scales (percent).
std::string patternTransformText(const AIPatternStyle &p);
// The colour token of a paint that SVG's own paint does not say exactly
// (every kind but none and RGB whose channels are whole bytes), else empty.
std::string exactPaintToken(const AIColor &color);
// The class of named style `index` in the style sheet.
std::string namedStyleClass(int index);

}  // namespace smear::svg
