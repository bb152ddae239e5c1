// Reading what the writer keeps beside the art: the document's named styles
// (style elements it marks), its swatches (gradients and patterns marked as
// swatches, by the writer or by an SVG editor) and the exact colour records
// of painted elements.
#include <cmath>
#include <cstring>

#include "svg_color_codec.h"
#include "svg_numbers.h"
#include "svg_path_data.h"
#include "svg_read_internal.h"
#include "svg_write_internal.h"

namespace smear::svg {

namespace {

bool isFlat(const AIColor &c) { return c.kind != kGradient && c.kind != kPattern; }

// The element the writer drew a gradient or pattern named `name` with.
pugi::xml_node namedDefinition(Context &ctx, const std::string &name) {
    if (const pugi::xml_node byId = ctx.byId(name)) return byId;
    for (const auto &entry : ctx.ids)
        if (name == entry.second.attribute("data-name").value()) return entry.second;
    return {};
}

// Decodes a colour token; a gradient or pattern the document does not have
// yet is read from its definition in the file first.
bool decodeToken(Context &ctx, const std::string &token, AIColor &out) {
    if (decodeColor(token, ctx.doc, out)) return true;
    const size_t colon = token.find(':');
    const std::string kind = token.substr(0, colon);
    if ((kind != "gradient" && kind != "pattern") || colon == std::string::npos) return false;
    const size_t end = token.find(':', colon + 1);
    if (end == std::string::npos) return false;
    const pugi::xml_node def = namedDefinition(ctx, decodeName(token.substr(colon + 1, end - colon - 1)));
    AIColor ignored;
    return def && definitionPaint(ctx, def, ignored) && decodeColor(token, ctx.doc, out);
}

bool near(double a, double b, double tol) { return std::fabs(a - b) <= tol; }

bool nearMatrix(const AIRealMatrix &a, const AIRealMatrix &b, double tol) {
    return near(a.a, b.a, 1e-4) && near(a.b, b.b, 1e-4) && near(a.c, b.c, 1e-4) && near(a.d, b.d, 1e-4) &&
           near(a.tx, b.tx, tol) && near(a.ty, b.ty, tol);
}

AIRealPoint along(AIRealPoint from, double length, double angleDegrees) {
    const double t = radians(angleDegrees);
    return {AIReal(from.h + length * std::cos(t)), AIReal(from.v + length * std::sin(t))};
}

// The record's matrix: gradient space to document space.
Affine placement(const AIGradientStyle &g) {
    const AIRealMatrix &m = g.matrix;
    return {m.a, m.b, m.c, m.d, m.tx, m.ty};
}

Vec2 vec(AIRealPoint p) { return {p.h, p.v}; }

bool nearVec(Vec2 a, Vec2 b, double tol) { return near(a.x, b.x, tol) && near(a.y, b.y, tol); }

// Placements are compared by what they show in document space, whatever
// the share of the record's matrix: the reader folds what it can (every
// linear gradient, a radial one under a map that keeps circles) into
// origin, angle and length.
//
// A linear gradient shows the ramp f(q) = (M⁻¹q − origin)·u / length, u its
// direction: two show the same when their ramps agree at three points
// that span the plane.
bool sameLinearPlacement(const AIGradientStyle &read, const AIGradientStyle &kept) {
    const double length = kept.gradientLength;
    Affine readInverse;
    if (length == 0 || read.gradientLength == 0 || !placement(read).inverse(readInverse)) return false;
    auto ramp = [&](Vec2 q) {
        const Vec2 p = readInverse.apply(q) - vec(read.gradientOrigin);
        const double t = radians(read.gradientAngle);
        return (p.x * std::cos(t) + p.y * std::sin(t)) / read.gradientLength;
    };
    const double t = radians(kept.gradientAngle);
    const Vec2 o = vec(kept.gradientOrigin), u{length * std::cos(t), length * std::sin(t)}, n{-u.y, u.x};
    const Affine m = placement(kept);
    // A thousandth of the length, or of a unit for a short gradient.
    const double tol = 1e-3 * std::fmax(1.0, 1.0 / std::fabs(length));
    return near(ramp(m.apply(o)), 0, tol) && near(ramp(m.apply(o + u)), 1, tol) && near(ramp(m.apply(o + n)), 0, tol);
}

// A radial gradient shows an ellipse, the image of its circle: the same
// centre, the same focal point, and the same shape r²·L·Lᵀ (L the matrix's
// linear part, which a rotation of the circle does not change).
bool sameRadialPlacement(const AIGradientStyle &read, const AIGradientStyle &kept) {
    struct Shown {
        Vec2 centre, focal;
        double xx, xy, yy, size;
    };
    auto shown = [](const AIGradientStyle &g) {
        const Affine m = placement(g);
        const double r = std::fabs(g.gradientLength);
        const AIRealPoint focal = along(g.gradientOrigin, g.hiliteLength * r, g.gradientAngle + g.hiliteAngle);
        return Shown{m.apply(vec(g.gradientOrigin)), m.apply(vec(focal)), r * r * (m.a * m.a + m.c * m.c),
                     r * r * (m.a * m.b + m.c * m.d), r * r * (m.b * m.b + m.d * m.d), r * m.meanScale()};
    };
    const Shown a = shown(read), b = shown(kept);
    const double tol = 1e-3 * std::fmax(1.0, b.size), shapeTol = 2 * tol * std::fmax(1.0, b.size);
    return nearVec(a.centre, b.centre, tol) && nearVec(a.focal, b.focal, tol) && near(a.xx, b.xx, shapeTol) &&
           near(a.xy, b.xy, shapeTol) && near(a.yy, b.yy, shapeTol);
}

// Whether a gradient placement read from SVG shows the same as the kept one.
bool sameGradientPlacement(const AIGradientStyle &read, const AIGradientStyle &kept, bool radial) {
    return radial ? sameRadialPlacement(read, kept) : sameLinearPlacement(read, kept);
}

bool samePatternPlacement(const AIPatternStyle &read, const AIPatternStyle &kept, const Affine &ctm) {
    Affine own;
    if (!parseTransformList(patternTransformText(kept), own)) return false;
    const AIRealMatrix expected = toDocumentMatrix(ctm * own);
    const double tol = 1e-3 * (1 + std::fabs(expected.tx) + std::fabs(expected.ty));
    return nearMatrix(read.transform, expected, tol);
}

// Whether `kept` shows as `read` does; for a gradient or pattern it then
// takes the one the file's paint refers to.
bool sameHex(const AIColor &a, const AIColor &b) {
    double x[3], y[3];
    const bool shownA = displayRgb(a, x), shownB = displayRgb(b, y);
    return shownA == shownB && (!shownA || hexColor(x) == hexColor(y));
}

bool showsTheSame(const AIColor &read, AIColor &kept, const Affine &ctm) {
    if (isFlat(read) && isFlat(kept)) return sameHex(read, kept);
    if (isFlat(read) && kept.kind == kGradient && kept.c.b.gradientLength == 0) {
        // A linear gradient without length shows its last stop all over,
        // and reads back as that flat colour.
        const Gradient *g = reinterpret_cast<const Gradient *>(kept.c.b.gradient);
        return g && !g->radial && !g->stops.empty() && sameHex(read, g->stops.back().color);
    }
    if (read.kind != kept.kind) return false;
    if (read.kind == kGradient) {
        const Gradient *g1 = reinterpret_cast<const Gradient *>(read.c.b.gradient);
        const Gradient *g2 = reinterpret_cast<const Gradient *>(kept.c.b.gradient);
        if (!g1 || !g2 || g1->name != g2->name || g1->radial != g2->radial ||
            !sameGradientPlacement(read.c.b, kept.c.b, g1->radial))
            return false;
        kept.c.b.gradient = read.c.b.gradient;
        return true;
    }
    const Pattern *p1 = reinterpret_cast<const Pattern *>(read.c.p.pattern);
    const Pattern *p2 = reinterpret_cast<const Pattern *>(kept.c.p.pattern);
    if (!p1 || !p2 || p1->name != p2->name || !samePatternPlacement(read.c.p, kept.c.p, ctm)) return false;
    kept.c.p.pattern = read.c.p.pattern;
    return true;
}

bool readNumbers(const pugi::xml_attribute a, std::vector<double> &out) {
    return !a.empty() && parseNumberList(a.value(), out);
}

// A style element the writer marked: the named style it keeps.
void readNamedStyle(Context &ctx, pugi::xml_node node) {
    const std::string name = node.attribute("data-smear-style").value();
    for (const GraphicStyle *g : ctx.doc.graphicStyles)
        if (g->name == name) return;  // the document has it already
    AIPathStyle style{};
    std::vector<double> stroke, paint, opacity;
    if (!decodeToken(ctx, node.attribute("data-smear-fill").value(), style.fill.color) ||
        !decodeToken(ctx, node.attribute("data-smear-stroke").value(), style.stroke.color) ||
        !readNumbers(node.attribute("data-smear-stroke-attrs"), stroke) || stroke.size() < 5 ||
        stroke.size() > 5 + kMaxDashComponents || !readNumbers(node.attribute("data-smear-paint"), paint) ||
        paint.size() != 3 || !readNumbers(node.attribute("data-smear-opacity"), opacity) || opacity.size() != 1) {
        ctx.problem(node, "graphic style \"" + name + "\" is not written as this reader expects; not kept");
        return;
    }
    for (const char *attribute : {"data-smear-stroke-attrs", "data-smear-paint", "data-smear-opacity"}) {
        const std::string_view number = numberBeyondRange(node.attribute(attribute).value());
        if (number.empty()) continue;
        ctx.problem(node, "graphic style \"" + name + "\": " + beyondRange(attribute, number) + "; not kept");
        return;
    }
    // Caps and joins are butt, round or square and miter, round or bevel.
    auto oneOfThree = [](double v) { return v == 0 || v == 1 || v == 2; };
    if (!oneOfThree(stroke[1]) || !oneOfThree(stroke[2])) {
        ctx.problem(node, "graphic style \"" + name + "\" has a cap or join that is none of 0, 1 and 2; not kept");
        return;
    }
    AIStrokeStyle &s = style.stroke;
    s.width = AIReal(stroke[0]);
    s.cap = ASInt32(stroke[1]);
    s.join = ASInt32(stroke[2]);
    s.miterLimit = AIReal(stroke[3]);
    s.dashOffset = AIReal(stroke[4]);
    s.dashCount = ASInt32(stroke.size() - 5);
    for (size_t i = 5; i < stroke.size(); ++i) s.dashes[i - 5] = AIReal(stroke[i]);
    style.fillPaint = paint[0] != 0;
    style.strokePaint = paint[1] != 0;
    style.evenodd = paint[2] != 0;
    ctx.doc.addGraphicStyle(name, style)->opacity = AIReal(opacity[0]);
}

void findNamedStyles(Context &ctx, pugi::xml_node node) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        if (ctx.localName(c) == "style" && !c.attribute("data-smear-style").empty()) readNamedStyle(ctx, c);
        else findNamedStyles(ctx, c);
    }
}

bool sameSwatch(const Swatch &s, const std::string &name, const AIColor &c) {
    return s.name == name && s.color.kind == c.kind && std::memcmp(&s.color, &c, sizeof c) == 0;
}

void readSwatch(Context &ctx, pugi::xml_node node) {
    std::string name = node.attribute("data-smear-swatch").value();
    if (name.empty()) name = node.attribute("inkscape:label").value();
    if (name.empty()) name = node.attribute("id").value();
    AIColor color{};
    double alpha = 1;
    if (!definitionPaint(ctx, node, color, &alpha)) {
        ctx.problem(node, "swatch \"" + name + "\" paints nothing; not kept");
        return;
    }
    if (!colorIsFinite(color)) {
        ctx.problem(node, "swatch \"" + name + "\" " + kBeyondDrawing + "; not kept");
        return;
    }
    // A swatch whose one stop is transparent shows nothing: the colour none.
    if (alpha <= 0 && isFlat(color)) color = AIColor{kNoneColor, {}};
    AIColor kept{};
    const pugi::xml_attribute token = node.attribute("data-smear-color");
    if (!token.empty() && decodeToken(ctx, token.value(), kept) && showsTheSame(color, kept, Affine{})) color = kept;
    for (const Swatch *s : ctx.doc.swatches)
        if (sameSwatch(*s, name, color)) return;
    ctx.doc.addSwatch(name, color);
}

void findSwatches(Context &ctx, pugi::xml_node node) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element) continue;
        if (!c.attribute("data-smear-swatch").empty() || !c.attribute("inkscape:swatch").empty())
            readSwatch(ctx, c);
        else
            findSwatches(ctx, c);
    }
}

}  // namespace

void readNamedStyles(Context &ctx, pugi::xml_node root) { findNamedStyles(ctx, root); }

void readSwatches(Context &ctx, pugi::xml_node root) { findSwatches(ctx, root); }

void applyPaintToken(Context &ctx, pugi::xml_node node, const char *attribute, const Affine &ctm, AIColor &read) {
    const pugi::xml_attribute token = node.attribute(attribute);
    if (token.empty()) return;
    AIColor kept{};
    if (decodeToken(ctx, token.value(), kept) && showsTheSame(read, kept, ctm)) read = kept;
}

}  // namespace smear::svg
