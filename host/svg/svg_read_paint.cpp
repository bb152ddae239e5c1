// Fill and stroke of read elements: flat colours, gradients (turned into a
// document gradient placed by origin, angle and length in document space)
// and patterns (a document pattern, its tile kept as a definition).
#include <algorithm>
#include <cmath>

#include "svg_numbers.h"
#include "svg_read_internal.h"

namespace smear::svg {

namespace {

AIColor threeColor(const CssColor &c) {
    AIColor out{};
    out.kind = kThreeColor;
    out.c.rgb = {AIReal(c.r), AIReal(c.g), AIReal(c.b)};
    return out;
}

// The chain of an element and those it names with href, as far as they are
// of the accepted kinds (gradients inherit from gradients, patterns from
// patterns).
std::vector<pugi::xml_node> hrefChain(Context &ctx, pugi::xml_node node, bool gradients) {
    std::vector<pugi::xml_node> chain;
    while (node && chain.size() < 32) {
        if (std::find(chain.begin(), chain.end(), node) != chain.end()) break;
        const std::string name = ctx.localName(node);
        const bool ok = gradients ? (name == "linearGradient" || name == "radialGradient") : name == "pattern";
        if (!ok) break;
        chain.push_back(node);
        const std::string next = ctx.hrefId(node);
        node = next.empty() ? pugi::xml_node() : ctx.byId(next);
    }
    return chain;
}

pugi::xml_attribute chainAttr(const std::vector<pugi::xml_node> &chain, const char *name,
                              const std::string &sameKind = {}, Context *ctx = nullptr) {
    for (pugi::xml_node n : chain) {
        if (!sameKind.empty() && ctx && ctx->localName(n) != sameKind) continue;
        const pugi::xml_attribute a = n.attribute(name);
        if (!a.empty()) return a;
    }
    return {};
}

struct StopValue {
    double offset = 0;
    CssColor color;
    double opacity = 1;
};

std::vector<StopValue> readStops(Context &ctx, pugi::xml_node owner) {
    std::vector<StopValue> stops;
    double last = 0;
    for (pugi::xml_node n : owner.children()) {
        if (n.type() != pugi::node_element || ctx.localName(n) != "stop") continue;
        StopValue s;
        std::string offset = n.attribute("offset").value();
        double v = 0;
        const bool percent = !offset.empty() && offset.back() == '%';
        if (percent) offset.pop_back();
        const std::string beyond = ctx.attrBeyondRange(n, "offset");
        if (!beyond.empty()) ctx.problem(n, beyond + "; ignored");
        else if (parseNumber(offset, v)) s.offset = percent ? v / 100 : v;
        s.offset = std::max(last, std::clamp(s.offset, 0.0, 1.0));
        last = s.offset;
        stopColour(ctx, n, s.color, s.opacity);
        stops.push_back(s);
    }
    return stops;
}

bool sameStops(const Gradient &g, const std::vector<GradientStop> &stops) {
    if (g.stops.size() != stops.size()) return false;
    for (size_t i = 0; i < stops.size(); ++i) {
        const GradientStop &a = g.stops[i], &b = stops[i];
        if (a.offset != b.offset || a.opacity != b.opacity || a.color.kind != b.color.kind ||
            a.color.c.rgb.red != b.color.c.rgb.red || a.color.c.rgb.green != b.color.c.rgb.green ||
            a.color.c.rgb.blue != b.color.c.rgb.blue)
            return false;
    }
    return true;
}

// A coordinate of a gradient or pattern: in bounding-box units a number or
// a fraction in percent; in user space a length.
double unitValue(Context &ctx, pugi::xml_attribute a, bool boxUnits, Axis axis, double fallback) {
    if (a.empty()) return fallback;
    std::string text = a.value();
    double v;
    if (boxUnits) {
        const bool percent = !text.empty() && text.back() == '%';
        if (percent) text.pop_back();
        if (!parseNumber(text, v)) return fallback;
        return percent ? v / 100 : v;
    }
    return ctx.length(text, axis, 16, v) ? v : fallback;
}

// The fallback of a paint that could not be resolved.
bool fallbackPaint(const Paint &paint, const Style &style, AIColor &out, double &alpha) {
    if (!paint.hasFallback || paint.fallbackKind == Paint::kNone) return false;
    const CssColor &c = paint.fallbackColor.current ? style.color : paint.fallbackColor;
    out = threeColor(c);
    alpha = c.alpha;
    return true;
}

bool gradientPaint(Context &ctx, pugi::xml_node node, pugi::xml_node ref, const std::string &refId,
                   const Affine &ctm, const Box &box, AIColor &out, double &alpha) {
    const std::vector<pugi::xml_node> chain = hrefChain(ctx, ref, true);
    const bool radial = ctx.localName(ref) == "radialGradient";
    const std::string kind = radial ? "radialGradient" : "linearGradient";
    pugi::xml_node owner;
    for (pugi::xml_node n : chain)
        if (!owner)
            for (pugi::xml_node c : n.children())
                if (c.type() == pugi::node_element && ctx.localName(c) == "stop") owner = n;
    const std::vector<StopValue> stops = owner ? readStops(ctx, owner) : std::vector<StopValue>{};
    if (stops.empty()) return false;  // a gradient without stops paints nothing
    if (stops.size() == 1) {
        out = threeColor(stops[0].color);
        alpha = stops[0].opacity;
        return true;
    }

    // A gradient placed by numbers the drawing cannot hold paints nothing.
    for (const char *name : {"x1", "y1", "x2", "y2", "cx", "cy", "r", "fx", "fy", "gradientTransform"}) {
        const bool coordinate = std::string_view(name) != "gradientTransform";
        const pugi::xml_attribute a = coordinate ? chainAttr(chain, name, kind, &ctx) : chainAttr(chain, name);
        const std::string_view number = numberBeyondRange(a.value());
        if (number.empty()) continue;
        ctx.problem(node, "gradient #" + refId + ": " + beyondRange(name, number) + "; not painted");
        return false;
    }
    const std::string spread = chainAttr(chain, "spreadMethod").value();
    if (!spread.empty() && spread != "pad")
        ctx.problem(node, "gradient #" + refId + " repeats by \"" + spread + "\"; it is drawn padded");
    const bool boxUnits = std::string(chainAttr(chain, "gradientUnits").value()) != "userSpaceOnUse";
    Affine g = ctm;
    if (boxUnits) {
        // Bounding-box units on an element without area paint nothing.
        if (box.empty || box.width() <= 0 || box.height() <= 0) return false;
        g = g * Affine{box.width(), 0, 0, box.height(), box.minX, box.minY};
    }
    const pugi::xml_attribute transformAttr = chainAttr(chain, "gradientTransform");
    if (!transformAttr.empty()) {
        Affine t;
        if (parseTransformList(transformAttr.value(), t)) g = g * t;
        else ctx.problem(node, "gradient #" + refId + " has a gradientTransform that is not understood; ignored");
    }
    const Affine toDoc = Affine::flip() * g;  // gradient space to document space

    Gradient *gradient = nullptr;
    auto known = ctx.gradients.find(refId);
    std::vector<GradientStop> docStops;
    for (const StopValue &s : stops) docStops.push_back({AIReal(s.offset), threeColor(s.color), AIReal(s.opacity)});
    if (known != ctx.gradients.end() && known->second->radial == radial && sameStops(*known->second, docStops)) {
        gradient = known->second;
    } else {
        const pugi::xml_attribute named = ref.attribute("data-name");
        const std::string name = named.empty() ? refId : named.value();
        for (Gradient *d : ctx.doc.gradients)
            if (!gradient && d->name == name && d->radial == radial && sameStops(*d, docStops)) gradient = d;
        if (!gradient) {
            gradient = ctx.doc.addGradient(name);
            gradient->radial = radial;
            gradient->stops = docStops;
        }
        ctx.gradients[refId] = gradient;
    }

    out = AIColor{};
    out.kind = kGradient;
    AIGradientStyle &b = out.c.b;
    b.gradient = reinterpret_cast<AIGradientHandle>(gradient);
    b.matrix = {1, 0, 0, 1, 0, 0};
    alpha = 1;
    auto coord = [&](const char *name, Axis axis, double fallback) {
        return unitValue(ctx, chainAttr(chain, name, kind, &ctx), boxUnits, axis, fallback);
    };
    if (!radial) {
        const Vec2 p1{coord("x1", Axis::kX, 0), coord("y1", Axis::kY, 0)};
        const Vec2 p2{coord("x2", Axis::kX, boxUnits ? 1 : ctx.viewportWidth), coord("y2", Axis::kY, 0)};
        const Vec2 v = p2 - p1;
        const double len2 = v.x * v.x + v.y * v.y;
        Affine inv;
        if (len2 == 0 || !toDoc.inverse(inv)) {
            // No direction: the area shows the last stop.
            out = threeColor(stops.back().color);
            alpha = stops.back().opacity;
            return true;
        }
        // The gradient's value at a document point q is w·(toDoc⁻¹(q) − p1)
        // with w = v / |v|²: a linear function whose gradient n = L⁻ᵀ w gives
        // the direction, and 1 / |n| the length, in document space.
        const Vec2 w = (1 / len2) * v;
        const Vec2 n{inv.a * w.x + inv.b * w.y, inv.c * w.x + inv.d * w.y};
        const double nl = std::hypot(n.x, n.y);
        const Vec2 origin = toDoc.apply(p1);
        b.gradientOrigin = {AIReal(origin.x), AIReal(origin.y)};
        b.gradientAngle = AIReal(degrees(std::atan2(n.y, n.x)));
        b.gradientLength = AIReal(1 / nl);
        return true;
    }
    const Vec2 c{coord("cx", Axis::kX, boxUnits ? 0.5 : ctx.viewportWidth / 2),
                 coord("cy", Axis::kY, boxUnits ? 0.5 : ctx.viewportHeight / 2)};
    const double w = ctx.viewportWidth, h = ctx.viewportHeight;
    const double r = coord("r", Axis::kOther, boxUnits ? 0.5 : 0.5 * std::sqrt((w * w + h * h) / 2));
    const Vec2 f{coord("fx", Axis::kX, c.x), coord("fy", Axis::kY, c.y)};
    // A conformal map keeps circles circles: the gradient is placed in
    // document space outright. Otherwise it stays in its own space and the
    // record's matrix carries the distortion.
    const double la = toDoc.a, lb = toDoc.b, lc = toDoc.c, ld = toDoc.d;
    const double tol = 1e-6 * std::max({std::fabs(la), std::fabs(lb), std::fabs(lc), std::fabs(ld)});
    const bool conformal = (std::fabs(la - ld) <= tol && std::fabs(lb + lc) <= tol) ||
                           (std::fabs(la + ld) <= tol && std::fabs(lb - lc) <= tol);
    Vec2 centre, focal;
    double radius;
    if (conformal) {
        centre = toDoc.apply(c);
        focal = toDoc.apply(f);
        radius = r * toDoc.meanScale();
    } else {
        centre = Affine::flip().apply(c);
        focal = Affine::flip().apply(f);
        radius = r;
        b.matrix = toDocumentMatrix(g);
    }
    const Vec2 d = focal - centre;
    const double reach = std::hypot(d.x, d.y);
    b.gradientOrigin = {AIReal(centre.x), AIReal(centre.y)};
    b.gradientAngle = 0;
    b.gradientLength = AIReal(radius);
    b.hiliteLength = radius > 0 ? AIReal(std::min(1.0, reach / radius)) : 0;
    b.hiliteAngle = reach > 0 ? AIReal(degrees(std::atan2(d.y, d.x))) : 0;
    return true;
}

// The first flat fill found in a pattern's content: the pattern's ink.
AIColor patternInk(pugi::xml_node owner) {
    AIColor ink = threeColor(CssColor{});
    bool found = false;
    std::vector<pugi::xml_node> todo{owner};
    while (!todo.empty() && !found) {
        pugi::xml_node n = todo.back();
        todo.pop_back();
        std::vector<CssDeclaration> decls = parseDeclarations(n.attribute("style").value());
        if (!n.attribute("fill").empty()) decls.insert(decls.begin(), {"fill", n.attribute("fill").value(), false});
        for (const CssDeclaration &d : decls) {
            CssColor c;
            if (d.name == "fill" && parseCssColor(d.value, c) && !c.current) {
                ink = threeColor(c);
                found = true;
            }
        }
        for (pugi::xml_node c = n.last_child(); c; c = c.previous_sibling())
            if (c.type() == pugi::node_element) todo.push_back(c);
    }
    return ink;
}

bool patternPaint(Context &ctx, pugi::xml_node node, pugi::xml_node ref, const std::string &refId,
                  const Affine &ctm, AIColor &out) {
    const std::vector<pugi::xml_node> chain = hrefChain(ctx, ref, false);
    pugi::xml_node owner;
    for (pugi::xml_node n : chain)
        if (!owner && n.find_child([](pugi::xml_node c) { return c.type() == pugi::node_element; })) owner = n;
    if (!owner) return false;  // no content: nothing is drawn
    const std::string ownerId = owner.attribute("id").empty() ? refId : owner.attribute("id").value();
    const bool boxUnits = std::string(chainAttr(chain, "patternUnits").value()) != "userSpaceOnUse";
    for (const char *name : {"x", "y", "width", "height", "viewBox", "patternTransform"}) {
        const std::string_view number = numberBeyondRange(chainAttr(chain, name).value());
        if (number.empty()) continue;
        ctx.problem(node, "pattern #" + refId + ": " + beyondRange(name, number) + "; not painted");
        return false;
    }
    const double x = unitValue(ctx, chainAttr(chain, "x"), boxUnits, Axis::kX, 0);
    const double y = unitValue(ctx, chainAttr(chain, "y"), boxUnits, Axis::kY, 0);
    const double w = unitValue(ctx, chainAttr(chain, "width"), boxUnits, Axis::kX, 0);
    const double h = unitValue(ctx, chainAttr(chain, "height"), boxUnits, Axis::kY, 0);
    if (w <= 0 || h <= 0) return false;  // an empty tile draws nothing
    // The document keeps the tile's corners.
    for (double v : {x, y, x + w, y + h})
        if (!fitsDrawing(v)) {
            ctx.problem(node, "pattern #" + refId + ": its tile " + kBeyondDrawing + "; not painted");
            return false;
        }

    Pattern *pattern = nullptr;
    auto known = ctx.patterns.find(ownerId);
    if (known != ctx.patterns.end()) {
        pattern = known->second;
    } else {
        const pugi::xml_attribute named = owner.attribute("data-name");
        const std::string name = named.empty() ? ownerId : named.value();
        for (Pattern *p : ctx.doc.patterns)
            if (!pattern && p->name == name) pattern = p;
        if (!pattern) {
            pattern = ctx.doc.addPattern(name);
            pattern->tile = {AIReal(x), AIReal(-y), AIReal(x + w), AIReal(-(y + h))};
            pattern->color = patternInk(owner);
        }
        // A tile the writer drew from the model needs no keeping; any other
        // is kept as the file drew it, self-contained: the attributes it
        // inherited written out, its placement moved into the record.
        if (named.empty()) {
            std::map<std::string, std::string> set;
            for (const char *a : {"patternUnits", "patternContentUnits", "x", "y", "width", "height", "viewBox",
                                  "preserveAspectRatio"}) {
                const pugi::xml_attribute v = chainAttr(chain, a);
                if (!v.empty()) set[a] = v.value();
            }
            keepDefinition(ctx, owner, ownerId, false, false, set, {"patternTransform", "href", "xlink:href"});
        }
        ctx.patterns[ownerId] = pattern;
    }
    Affine placement = ctm;
    const pugi::xml_attribute transformAttr = chainAttr(chain, "patternTransform");
    if (!transformAttr.empty()) {
        Affine t;
        if (parseTransformList(transformAttr.value(), t)) placement = placement * t;
        else ctx.problem(node, "pattern #" + refId + " has a patternTransform that is not understood; ignored");
    }
    out = AIColor{};
    out.kind = kPattern;
    AIPatternStyle &p = out.c.p;
    p.pattern = reinterpret_cast<AIPatternHandle>(pattern);
    p.scale = {100, 100};
    p.transform = toDocumentMatrix(placement);
    return true;
}

// Resolves one paint; false when nothing is painted.
bool resolvePaint(Context &ctx, pugi::xml_node node, const char *which, const Paint &paint, const Style &style,
                  const Affine &ctm, const Box &box, AIColor &out, double &alpha) {
    alpha = 1;
    switch (paint.kind) {
    case Paint::kNone: return false;
    case Paint::kColor: {
        const CssColor &c = paint.color.current ? style.color : paint.color;
        out = threeColor(c);
        alpha = c.alpha;
        return true;
    }
    case Paint::kUrl: break;
    }
    const pugi::xml_node ref = ctx.byId(paint.url);
    const std::string kind = ref ? ctx.localName(ref) : "";
    if (kind == "linearGradient" || kind == "radialGradient")
        return gradientPaint(ctx, node, ref, paint.url, ctm, box, out, alpha);
    if (kind == "pattern") return patternPaint(ctx, node, ref, paint.url, ctm, out);
    const bool fallback = fallbackPaint(paint, style, out, alpha);
    ctx.problem(node, std::string(which) + " refers to #" + paint.url +
                          (ref ? ", which is not a gradient or pattern" : ", which does not exist") +
                          (fallback ? "; its fallback colour is used" : "; not painted"));
    return fallback;
}

}  // namespace

void stopColour(Context &ctx, pugi::xml_node n, CssColor &color, double &opacity) {
    // Stop colour and opacity from attributes, sheet and style attribute.
    std::vector<CssDeclaration> decls;
    for (const char *p : {"stop-color", "stop-opacity", "color"})
        if (!n.attribute(p).empty()) decls.push_back({p, n.attribute(p).value(), false});
    std::vector<const CssDeclaration *> sheet;
    ctx.sheet.matching(n, "stop", sheet);
    for (const CssDeclaration *d : sheet) decls.push_back(*d);
    for (const CssDeclaration &d : parseDeclarations(n.attribute("style").value())) decls.push_back(d);
    CssColor currentColor;
    for (const CssDeclaration &d : decls) {
        CssColor c;
        if (d.name == "color" && parseCssColor(d.value, c) && !c.current) currentColor = c;
    }
    color = CssColor{};
    opacity = 1;
    for (const CssDeclaration &d : decls) {
        CssColor c;
        double o;
        // Numbers the document cannot hold are no colour or opacity to clamp.
        const std::string text = lower(d.value);
        const std::string_view beyond = numberBeyondRange(d.name == "stop-opacity" ? std::string_view(text)
                                                          : d.name == "stop-color" ? colourFunction(text)
                                                                                   : std::string_view());
        if (!beyond.empty()) {
            ctx.problem(n, beyondRange(d.name, beyond) + "; ignored");
        } else if (d.name == "stop-color") {
            if (parseCssColor(d.value, c)) color = c.current ? currentColor : c;
            else ctx.problem(n, "stop-color \"" + d.value + "\" is not understood; black is used");
        } else if (d.name == "stop-opacity" && parseNumber(d.value, o)) {
            opacity = std::clamp(o, 0.0, 1.0);
        }
    }
    opacity *= color.alpha;
}

bool definitionPaint(Context &ctx, pugi::xml_node def, AIColor &out, double *alpha) {
    const std::string kind = ctx.localName(def);
    const std::string id = def.attribute("id").value();
    double ignored = 1;
    if (!alpha) alpha = &ignored;
    *alpha = 1;
    // A definition paints no element of its own: bounding-box units (an SVG
    // editor's gradient swatch has them) are taken on the unit square.
    Box unit;
    unit.add(Vec2{0, 0});
    unit.add(Vec2{1, 1});
    if (kind == "linearGradient" || kind == "radialGradient")
        return gradientPaint(ctx, def, def, id, Affine{}, unit, out, *alpha);
    if (kind == "pattern") return patternPaint(ctx, def, def, id, Affine{}, out);
    return false;
}

AIPathStyle makePathStyle(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm,
                          const Box &localBox, double &opacityFactor, const Affine *tokenSpace, double *alphas) {
    AIPathStyle s{};
    double fillAlpha = 1, strokeAlpha = 1;
    s.fillPaint = resolvePaint(ctx, node, "fill", style.fill, style, ctm, localBox, s.fill.color, fillAlpha);
    s.strokePaint =
        resolvePaint(ctx, node, "stroke", style.stroke, style, ctm, localBox, s.stroke.color, strokeAlpha);
    if (alphas) alphas[0] = fillAlpha, alphas[1] = strokeAlpha;
    const Affine &space = tokenSpace ? *tokenSpace : ctm;
    if (s.fillPaint) applyPaintToken(ctx, node, "data-smear-fill", space, s.fill.color);
    if (s.strokePaint) applyPaintToken(ctx, node, "data-smear-stroke", space, s.stroke.color);
    const double scale = ctm.meanScale();
    s.stroke.width = AIReal(style.strokeWidth * scale);
    if (style.strokeWidth <= 0) s.strokePaint = 0;
    s.stroke.cap = style.cap;
    s.stroke.join = style.join;
    s.stroke.miterLimit = AIReal(style.miterLimit);
    s.stroke.dashCount = ASInt32(style.dashes.size());
    for (size_t i = 0; i < style.dashes.size(); ++i) s.stroke.dashes[i] = AIReal(style.dashes[i] * scale);
    s.stroke.dashOffset = s.stroke.dashCount ? AIReal(style.dashOffset * scale) : 0;
    s.evenodd = style.evenOdd ? 1 : 0;

    // Colours carry no alpha in the model: fill and stroke opacity go into
    // the art's opacity, which is exact unless both are painted with
    // different opacities.
    const double fa = style.fillOpacity * fillAlpha, sa = style.strokeOpacity * strokeAlpha;
    if (s.fillPaint && fa <= 0) s.fillPaint = 0;
    if (s.strokePaint && sa <= 0) s.strokePaint = 0;
    if (!s.fillPaint) s.fill.color = AIColor{kNoneColor, {}};
    if (!s.strokePaint) s.stroke.color = AIColor{kNoneColor, {}};
    opacityFactor = 1;
    if (s.fillPaint && s.strokePaint) {
        opacityFactor = fa;
        if (std::fabs(fa - sa) > 1e-6)
            ctx.problem(node, "fill opacity " + std::to_string(fa) + " and stroke opacity " + std::to_string(sa) +
                                  " differ; both are drawn at the fill's");
    } else if (s.fillPaint) {
        opacityFactor = fa;
    } else if (s.strokePaint) {
        opacityFactor = sa;
    }
    return s;
}

}  // namespace smear::svg
