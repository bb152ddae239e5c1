// The SVG reader's shared state and the parts its sources give each other.
// Everything here needs pugixml, so it lives only in svg_read*.cpp.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "css_color.h"
#include "document.h"
#include "finite.h"
#include "svg.h"
#include "svg_affine.h"
#include "svg_path_data.h"
#include "svg_source.h"

namespace smear::svg {

// A fill or stroke as the style says it, before it is resolved.
struct Paint {
    enum Kind { kNone, kColor, kUrl };
    Kind kind = kNone;
    CssColor color;   // kColor (maybe currentColor)
    std::string url;  // kUrl: the id referred to, without '#'
    // A url's fallback, used when the reference cannot be resolved.
    bool hasFallback = false;
    Kind fallbackKind = kNone;
    CssColor fallbackColor;
};

struct Style {
    // Inherited properties.
    Paint fill;  // black unless said otherwise
    Paint stroke;
    double fillOpacity = 1, strokeOpacity = 1;
    double strokeWidth = 1, miterLimit = 4, dashOffset = 0;
    std::vector<double> dashes;
    int cap = 0, join = 0;
    bool evenOdd = false;
    CssColor color;  // for currentColor
    bool visible = true;
    double fontSize = 16;
    int anchor = 0;  // text-anchor: 0 start, 1 middle, 2 end
    // Font properties the model only keeps as text (family, weight ...).
    std::vector<std::pair<std::string, std::string>> fontProperties;
    bool markers = false;
    // Properties that do not inherit.
    double opacity = 1;
    int blendMode = 0;
    bool displayNone = false;
    std::string filter, clipPath, mask;

    Style();
    // The style a child starts from.
    Style inherited() const;
};

enum class Axis { kX, kY, kOther };

struct CssDeclaration {
    std::string name, value;
    bool important = false;
};

// A style sheet of rules whose selectors are compounds of a type, '*',
// classes, an id, attribute tests ([a], [a=v], [a~=v], [a|=v], [a^=v],
// [a$=v], [a*=v]) and :first-child, joined by descendant, child (>),
// adjacent (+) and general sibling (~) combinators, and lists of those.
// Rules with other selectors (other pseudo-classes, pseudo-elements) are
// noted as unsupported.
class StyleSheet {
public:
    void add(std::string_view css);
    // Declarations of the matching rules, lowest specificity first.
    void matching(pugi::xml_node node, std::string_view localName, std::vector<const CssDeclaration *> &out) const;
    std::vector<std::string> unsupported;

private:
    struct AttributeTest {
        std::string name;
        char op = 0;  // 0: present; '=', '~', '|', '^', '$', '*'
        std::string value;
    };
    struct Compound {
        std::string type;  // empty for any
        std::string id;
        std::vector<std::string> classes;
        std::vector<AttributeTest> attributes;
        bool firstChild = false;
        char combinator = 0;  // how it joins the compound before it: ' ', '>', '+', '~'; 0 for the first
    };
    struct Selector {
        std::vector<Compound> compounds;  // left to right
        // Ids, then classes, attributes and pseudo-classes, then types: any
        // number of classes counts for less than an id.
        std::tuple<int, size_t, int> specificity;
    };
    static bool parseSelector(std::string_view text, Selector &out);
    static bool matches(const Selector &s, size_t last, pugi::xml_node node, std::string_view localName);
    static bool matchesCompound(const Compound &c, pugi::xml_node node, std::string_view localName);
    struct Rule {
        Selector selector;
        size_t order = 0;
        std::vector<CssDeclaration> declarations;
    };
    std::vector<Rule> rules_;
};

std::vector<CssDeclaration> parseDeclarations(std::string_view text);

class Context {
public:
    Context(Document &doc, SvgReadReport &report, std::string_view text) : doc(doc), report(report), text_(text) {}

    // The element's name without an SVG namespace prefix; empty for an
    // element of another namespace.
    std::string localName(pugi::xml_node node) const;
    // "element <name id=x>: reason", or with the line when there is no id.
    void problem(pugi::xml_node node, const std::string &reason);
    pugi::xml_node byId(const std::string &id) const;
    // The target of href / xlink:href="#id"; empty when there is none.
    std::string hrefId(pugi::xml_node node) const;

    // Lengths with units; percentages of the viewport along `axis`.
    bool length(std::string_view text, Axis axis, double fontSize, double &out) const;
    double lengthAttr(pugi::xml_node node, const char *name, Axis axis, double fontSize, double fallback) const;
    // Why attribute `name` cannot be kept, as beyondRange words it: it has a
    // number the drawing cannot hold, or is a length that grows beyond
    // that once its unit is applied. Empty when it fits or is absent.
    std::string attrBeyondRange(pugi::xml_node node, const char *name, Axis axis = Axis::kOther,
                                double fontSize = 16) const;

    Style computeStyle(pugi::xml_node node, const Style &parent);

    Document &doc;
    SvgReadReport &report;
    std::unordered_map<std::string, pugi::xml_node> ids;
    std::vector<std::string> svgPrefixes;  // prefixes bound to the SVG namespace, with ':'
    // Names an xlink reference may have: "xlink:href" and each prefix the
    // root binds to the xlink namespace, with ":href".
    std::vector<std::string> xlinkHrefs{"xlink:href"};
    // The element's reference: its href, else its xlink one.
    pugi::xml_attribute href(pugi::xml_node node) const;
    StyleSheet sheet;
    double viewportWidth = 100, viewportHeight = 100;
    bool quiet = false;  // while measuring referenced content: no problems reported
    std::map<std::string, Gradient *> gradients;  // by the id of the element referred to
    std::map<std::string, Pattern *> patterns;    // by the id of the tile's element
    // Content bounds of <use> targets in their own space, so that each is
    // measured once however often it is referred to.
    std::unordered_map<const void *, Box> useBounds;
    size_t expanded = 0;  // elements measured for <use>, up to kSvgMaxExpanded
    // The file's markup, element by element, kept with the document (null
    // when its markup cannot be followed byte for byte), and the index of
    // each element in it by the offset of its name.
    SvgSource *source = nullptr;
    std::unordered_map<ptrdiff_t, int> elementAt;
    // The element's index in `source`, -1 for none.
    int elementIndex(pugi::xml_node node) const;

private:
    void applyProperty(Style &s, const Style &parent, const std::string &name, const std::string &value,
                       pugi::xml_node node);
    size_t lineOf(ptrdiff_t offset);
    std::string_view text_;
    std::vector<size_t> lineStarts_;
};

// "NAME has a number beyond the range of the drawing (NUMBER)": the reason
// given for a value the document could not hold.
std::string beyondRange(std::string_view name, std::string_view number);
// The rgb() or hsl() function in a paint or colour (in lower case), whose
// arguments are numbers; empty for a hex or named colour, whose digits are not.
std::string_view colourFunction(std::string_view lowerText);
// What is said of an element whose geometry, once placed, lies beyond the
// range of the drawing.
extern const char *const kBeyondDrawing;
// Whether every point of `subpaths` mapped by `m` is one the drawing holds.
bool outlineFits(const std::vector<Subpath> &subpaths, const Affine &m);

// Paint (svg_read_paint.cpp): the path style for an element's computed
// style, with geometry `localBox` (in the element's user space, for
// bounding-box units) drawn through `ctm`. `opacityFactor` gets the fill or
// stroke opacity that the model keeps in the art's opacity. `tokenSpace`,
// when given, is where the writer placed the paint the element's exact
// colour tokens describe (the element's space less its own transform, for
// a path written in the coordinates of that transform); else `ctm`.
// `alphas`, when given, gets the alpha of the fill's and the stroke's colour.
AIPathStyle makePathStyle(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm,
                          const Box &localBox, double &opacityFactor, const Affine *tokenSpace = nullptr,
                          double *alphas = nullptr);
// The colour and opacity (stop-opacity times the colour's alpha) of a
// gradient or mesh stop, from its attributes, the style sheet and its
// style attribute; black and 1 when it says none.
void stopColour(Context &ctx, pugi::xml_node stop, CssColor &color, double &opacity);

// A gradient, pattern or one-stop swatch element as a paint of its own, in
// the file's user space (bounding-box units span the unit square, as there
// is no box); false when it paints nothing. `alpha`, when given, gets the
// opacity of a one-stop gradient's colour.
bool definitionPaint(Context &ctx, pugi::xml_node def, AIColor &out, double *alpha = nullptr);

// The document's library (svg_read_library.cpp): named styles from the
// style elements the writer marks, swatches from the gradients and patterns
// marked as swatches (by the writer or by an SVG editor).
void readNamedStyles(Context &ctx, pugi::xml_node root);
void readSwatches(Context &ctx, pugi::xml_node root);
// The exact colour a data-smear-fill or data-smear-stroke token keeps, in
// place of `read` (what the element's paint gave, through `ctm`), when the
// two still show the same: an editor that repainted the element wins.
void applyPaintToken(Context &ctx, pugi::xml_node node, const char *attribute, const Affine &ctm, AIColor &read);

// Shapes (svg_read_shapes.cpp).
// The outline of path, rect, circle, ellipse, line, polyline or polygon in
// its own user space. False with a reason when it draws nothing.
bool shapeOutline(Context &ctx, pugi::xml_node node, const std::string &name, double fontSize,
                  std::vector<Subpath> &out, std::string &reason);
// `own` is the element's own transform (the last factor of `ctm`), which
// path art keeps.
Art *readShape(Context &ctx, pugi::xml_node node, const std::string &name, const Style &style, const Affine &ctm,
               const Affine &own, Art *container);

// Meshes (svg_read_mesh.cpp). Whether a shape is filled with a mesh
// gradient (or with one that is gone, where the writer's mesh data remains).
bool isMeshFilled(Context &ctx, pugi::xml_node node, const Style &style);
// Mesh art from a shape filled with a mesh gradient; from the writer's
// data when it still agrees with the gradient, vertex by vertex.
Art *readMeshShape(Context &ctx, pugi::xml_node node, const std::string &name, const Style &style,
                   const Affine &ctm, Art *container);
// Mesh art from a group of the writer's mesh data (files of earlier
// versions, and meshes without patches).
Art *readMesh(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container);

// Text (svg_read_text.cpp), images and symbol references (svg_read_use.cpp).
Art *readText(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container);
Art *readImage(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container);
Art *readUse(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container);

// Definitions (svg_read_defs.cpp).
// Adds the bounds of what an element draws, mapped by `m`, to `box`.
void addContentBounds(Context &ctx, pugi::xml_node node, const Affine &m, Box &box, int depth);
// The same in the element's own space, measured once per element.
Box contentBounds(Context &ctx, pugi::xml_node node, int depth);
// Keeps `node` among the document's definitions under `id` (so written
// files can refer to it), with what it refers to.
void keepDefinition(Context &ctx, pugi::xml_node node, const std::string &id, bool asGroup, bool dropInnerIds,
                    const std::map<std::string, std::string> &setAttributes = {},
                    const std::vector<std::string> &dropAttributes = {});
// Whether the element is drawn where it stands (not a symbol, nor inside
// defs, a symbol, a pattern ...).
bool isRendered(Context &ctx, pugi::xml_node node);

// The transform attribute of an element (identity, with a problem, when malformed).
Affine elementTransform(Context &ctx, pugi::xml_node node, const char *attribute = "transform");
// The map of a viewBox onto a viewport, by preserveAspectRatio.
Affine viewBoxTransform(const double viewBox[4], double width, double height, std::string_view aspect);
bool parseViewBox(std::string_view text, double out[4]);

// Id, opacity, blend mode, visibility and tags of an art object, and
// problems for what the model cannot keep (filters, clipping, masks).
void setCommon(Context &ctx, Art &art, pugi::xml_node node, const Style &style);
Art *newLinkedArt(Context &ctx, ASInt16 type, Art *container);
inline AIRealMatrix toDocumentMatrix(const Affine &m) {
    // flip · m · flip, in the document's matrix layout.
    return {AIReal(m.a), AIReal(-m.b), AIReal(-m.c), AIReal(m.d), AIReal(m.e), AIReal(-m.f)};
}

}  // namespace smear::svg
