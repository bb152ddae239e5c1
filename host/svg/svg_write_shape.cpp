#include "svg_write_shape.h"

#include <algorithm>
#include <cmath>

#include "svg_bezier.h"
#include "svg_color_codec.h"
#include "svg_numbers.h"
#include "svg_path_data.h"
#include "svg_write_internal.h"
#include "xml_out.h"

namespace smear::svg {

namespace {

const char *const kCaps[] = {"butt", "round", "square"};
const char *const kJoins[] = {"miter", "round", "bevel"};

const char *const kPaintProperties[] = {"fill", "fill-opacity", "fill-rule", "stroke", "stroke-width",
                                        "stroke-opacity", "stroke-linecap", "stroke-linejoin",
                                        "stroke-miterlimit", "stroke-dasharray", "stroke-dashoffset", "opacity"};

Vec2 moved(const AIRealMatrix &m, const AIRealPoint &p) {
    return {double(m.a) * p.h + double(m.c) * p.v + m.tx, double(m.b) * p.h + double(m.d) * p.v + m.ty};
}

// The map of `svg` (root user space, y down) in document space (y up).
AIRealMatrix documentMatrix(const Affine &svg) {
    return {AIReal(svg.a), AIReal(-svg.b), AIReal(-svg.c), AIReal(svg.d), AIReal(svg.e), AIReal(-svg.f)};
}

// `first` then `second`, in double precision.
AIRealMatrix then(const AIRealMatrix &first, const AIRealMatrix &second) {
    auto d = [](AIReal v) { return double(v); };
    return {AIReal(d(first.a) * second.a + d(first.b) * second.c), AIReal(d(first.a) * second.b + d(first.b) * second.d),
            AIReal(d(first.c) * second.a + d(first.d) * second.c), AIReal(d(first.c) * second.b + d(first.d) * second.d),
            AIReal(d(first.tx) * second.a + d(first.ty) * second.c + second.tx),
            AIReal(d(first.tx) * second.b + d(first.ty) * second.d + second.ty)};
}

bool close(double a, double b, double size) { return std::fabs(a - b) <= 1e-5 * std::max({1.0, size, std::fabs(b)}); }

// Equal but for the rounding of float products. A move's offset carries
// the rounding of the coordinates it was worked out from (a turn about a
// point far from the origin), so it is judged at `extent`, the size of the
// coordinates the paint lies at.
bool closeMatrix(const AIRealMatrix &m, const AIRealMatrix &n, double extent) {
    const double size = std::max({std::fabs(n.a), std::fabs(n.b), std::fabs(n.c), std::fabs(n.d)});
    const double at = std::max(size, size * extent);
    return close(m.a, n.a, size) && close(m.b, n.b, size) && close(m.c, n.c, size) && close(m.d, n.d, size) &&
           close(m.tx, n.tx, at) && close(m.ty, n.ty, at);
}

// The gradient's or pattern's name in a colour token ("gradient:NAME:").
std::string serverOf(const std::string &token) {
    const size_t first = token.find(':');
    if (first == std::string::npos) return {};
    const std::string kind = token.substr(0, first);
    if (kind != "gradient" && kind != "pattern") return {};
    return token.substr(0, token.find(':', first + 1) + 1);
}

bool sameLength(double now, double readBack) {
    return std::fabs(now - readBack) <= 1e-5 * std::max(std::fabs(now), std::fabs(readBack));
}

}  // namespace

std::string transformText(const Affine &m) {
    // A term single precision leaves a rounding away from zero (a quarter
    // turn's cosine) is zero.
    const double linear = std::max({std::fabs(m.a), std::fabs(m.b), std::fabs(m.c), std::fabs(m.d)});
    auto snapped = [&](double v, double size) { return std::fabs(v) <= 1e-7 * size ? 0.0 : v; };
    const double v[6] = {snapped(m.a, linear), snapped(m.b, linear), snapped(m.c, linear),
                         snapped(m.d, linear), snapped(m.e, 10), snapped(m.f, 10)};
    std::string out = "matrix(";
    for (int i = 0; i < 6; ++i) {
        if (i) out += ' ';
        appendNumber(out, v[i]);
    }
    return out + ")";
}

std::string changeText(const Affine &m) {
    const double linear = std::max({std::fabs(m.a), std::fabs(m.b), std::fabs(m.c), std::fabs(m.d)});
    const double reach = std::max({1.0, std::fabs(m.e), std::fabs(m.f)});
    auto text = [](double v) { return formatNumber(std::fabs(v) < 1e-9 ? 0.0 : v); };
    if (std::fabs(m.a - 1) <= 1e-7 && std::fabs(m.d - 1) <= 1e-7 && std::fabs(m.b) <= 1e-7 && std::fabs(m.c) <= 1e-7)
        return "translate(" + text(m.e) + (std::fabs(m.f) <= 1e-7 * reach ? "" : " " + text(m.f)) + ")";
    const bool turn = std::fabs(m.a - m.d) <= 1e-7 * linear && std::fabs(m.b + m.c) <= 1e-7 * linear &&
                      std::fabs(m.a * m.a + m.b * m.b - 1) <= 1e-6;
    // (1 - a)(1 - d) - bc: zero for no turn at all, which has no fixed point.
    const double det = (1 - m.a) * (1 - m.d) - m.b * m.c;
    if (!turn || std::fabs(det) < 1e-12) return transformText(m);
    // A turn about its fixed point p, which solves (I - R) p = t; each
    // number in the fewest decimals that still say the same turn.
    struct Turn {
        const Affine &m;
        double x, y, tolerance, share;
        bool second;
    };
    Turn t{m, ((1 - m.d) * m.e + m.c * m.f) / det, (m.b * m.e + (1 - m.a) * m.f) / det, 0, 1, false};
    t.tolerance = 1e-6 * std::max({1.0, std::fabs(t.x), std::fabs(t.y)});
    const std::string angle = fittingNumber(
        degrees(std::atan2(m.b, m.a)),
        [](double v, const void *c) {
            const Affine &n = static_cast<const Turn *>(c)->m;
            return std::fabs(std::cos(radians(v)) - n.a) <= 1e-7 && std::fabs(std::sin(radians(v)) - n.b) <= 1e-7;
        },
        &t);
    // The pivot's x first (with y exact), then its y (with x as written).
    auto fitting = [](Turn u, bool second) {
        u.share = second ? 1 : 0.5;
        u.second = second;
        return fittingNumber(
            second ? u.y : u.x,
            [](double v, const void *c) {
                Turn w = *static_cast<const Turn *>(c);
                (w.second ? w.y : w.x) = v;
                const double e = (1 - w.m.a) * w.x - w.m.c * w.y, f = -w.m.b * w.x + (1 - w.m.d) * w.y;
                return std::fabs(e - w.m.e) <= w.tolerance * w.share && std::fabs(f - w.m.f) <= w.tolerance * w.share;
            },
            &u);
    };
    const std::string x = fitting(t, false);
    parseNumber(x, t.x);
    const std::string y = fitting(t, true);
    return "rotate(" + angle + (x == "0" && y == "0" ? "" : " " + x + " " + y) + ")";
}

bool onlyMoved(const std::vector<const SegmentList *> &parts, const SvgReadShape &read, const AIRealMatrix &m) {
    if (parts.size() != read.parts.size()) return false;
    // Every coordinate is within a small share of the largest: a float
    // moved step by step gathers a rounding of that size each step.
    double size = 0;
    for (const auto &part : read.parts)
        for (const AIPathSegment &s : part)
            for (const AIRealPoint &p : {s.p, s.in, s.out}) {
                const Vec2 q = moved(m, p);
                size = std::max({size, std::fabs(q.x), std::fabs(q.y)});
            }
    const double tolerance = 2e-5 * std::max(1.0, size);
    for (size_t k = 0; k < parts.size(); ++k) {
        const SegmentList &now = *parts[k];
        const std::vector<AIPathSegment> &was = read.parts[k];
        if (now.size() != was.size()) return false;
        for (size_t i = 0; i < was.size(); ++i) {
            const AIPathSegment &a = now[i], &b = was[i];
            const AIRealPoint nowPoints[3] = {a.p, a.in, a.out}, wasPoints[3] = {b.p, b.in, b.out};
            for (int j = 0; j < 3; ++j) {
                const Vec2 q = moved(m, wasPoints[j]);
                if (std::fabs(q.x - nowPoints[j].h) > tolerance || std::fabs(q.y - nowPoints[j].v) > tolerance)
                    return false;
            }
        }
    }
    return true;
}

PropertyPlace::PropertyPlace(XmlEdit &edit, int element, bool fileHasStyleSheet) : edit_(edit), element_(element) {
    // Where the element says its paint: in its style attribute, or as
    // attributes; with neither, in a style attribute when a style sheet
    // (whose rules outrank attributes) could say it too.
    bool inStyle = false, asAttribute = false;
    for (const char *p : kPaintProperties) {
        inStyle = inStyle || edit_.styleProperty(element, p).has_value();
        asAttribute = asAttribute || edit_.attribute(element, p).has_value();
    }
    preferStyle_ = inStyle || (!asAttribute && (fileHasStyleSheet || edit_.attribute(element, "style").has_value()));
}

std::optional<std::string> PropertyPlace::value(const std::string &name) const {
    if (auto v = edit_.styleProperty(element_, name)) return xmlText(*v);
    if (auto v = edit_.attribute(element_, name)) return xmlText(*v);
    return std::nullopt;
}

void PropertyPlace::set(const std::string &name, const std::string &value) {
    if (edit_.styleProperty(element_, name)) {
        edit_.setStyleProperty(element_, name, value);
        // An attribute under it says nothing; it is left as written.
        return;
    }
    if (edit_.attribute(element_, name) || !preferStyle_) edit_.setAttribute(element_, name, value);
    else edit_.setStyleProperty(element_, name, value);
}

ShapePaintEditor::ShapePaintEditor(Writer &writer, XmlEdit &edit, const SvgSource &source)
    : w_(writer), edit_(edit), s_(source) {
    for (size_t k = 0; k < s_.elements.size(); ++k) {
        const XmlElementSpan &e = s_.elements[k];
        const std::string name = s_.text.substr(e.nameBegin, e.nameEnd - e.nameBegin);
        const size_t colon = name.find(':');
        if ((colon == std::string::npos ? name : name.substr(colon + 1)) == "style") styleSheet_ = true;
    }
}

int ShapePaintEditor::elementById(const std::string &id) {
    if (ids_.empty())
        for (size_t k = 0; k < s_.elements.size(); ++k)
            if (const auto v = edit_.attribute(int(k), "id")) ids_.emplace(xmlText(*v), int(k));
    const auto it = ids_.find(id);
    return it == ids_.end() ? -1 : it->second;
}

std::optional<std::string> ShapePaintEditor::chainAttribute(int element, const std::string &name) {
    // Along the references of a gradient or pattern, as the reader follows them.
    for (int k = 0; element >= 0 && k < 32; ++k) {
        if (const auto v = edit_.attribute(element, name)) return xmlText(*v);
        auto href = edit_.attribute(element, "href");
        if (!href) href = edit_.attribute(element, "xlink:href");
        const std::string target = href ? xmlText(*href) : std::string();
        element = target.size() > 1 && target[0] == '#' ? elementById(target.substr(1)) : -1;
    }
    return std::nullopt;
}

ShapePaintEditor::Say ShapePaintEditor::judge(bool painted, const AIColor &color, const std::string &readToken,
                                              const AIColor &read, const Affine &move, double extent) const {
    const std::string token = painted ? encodeColor(color) : "none";
    const bool server = painted && (color.kind == kGradient || color.kind == kPattern);
    if (token == readToken) return server && !move.isIdentity() ? Say::kCorrect : Say::kKeep;
    if (!server || serverOf(token) != serverOf(readToken)) return Say::kAnew;
    // Moved along with the element: the record is the one read, placed by
    // the element's move.
    const AIRealMatrix m = documentMatrix(move);
    if (color.kind == kGradient) {
        const AIGradientStyle &g = color.c.b, &r = read.c.b;
        const bool same = g.gradientOrigin.h == r.gradientOrigin.h && g.gradientOrigin.v == r.gradientOrigin.v &&
                          g.gradientAngle == r.gradientAngle && g.gradientLength == r.gradientLength &&
                          g.hiliteAngle == r.hiliteAngle && g.hiliteLength == r.hiliteLength &&
                          closeMatrix(g.matrix, then(r.matrix, m),
                                      std::max(extent, double(std::fabs(r.gradientOrigin.h)) + std::fabs(r.gradientOrigin.v) +
                                                           std::fabs(r.gradientLength)));
        return same ? Say::kKeep : Say::kAnew;
    }
    const AIPatternStyle &p = color.c.p, &r = read.c.p;
    const bool same = p.shiftDist == r.shiftDist && p.shiftAngle == r.shiftAngle && p.scale.h == r.scale.h &&
                      p.scale.v == r.scale.v && p.rotate == r.rotate && p.reflect == r.reflect &&
                      p.reflectAngle == r.reflectAngle && p.shearAngle == r.shearAngle &&
                      p.shearAxis == r.shearAxis && closeMatrix(p.transform, then(r.transform, m), extent);
    return same ? Say::kKeep : Say::kAnew;
}

bool ShapePaintEditor::followsBox(const std::string &id) {
    const int server = elementById(id);
    if (server < 0) return true;
    const XmlElementSpan &e = s_.elements[size_t(server)];
    const std::string name = s_.text.substr(e.nameBegin, e.nameEnd - e.nameBegin);
    const std::string local = name.substr(name.find(':') + 1);
    if (local == "linearGradient" || local == "radialGradient")
        return chainAttribute(server, "gradientUnits").value_or("") != "userSpaceOnUse";
    return chainAttribute(server, "patternUnits").value_or("") != "userSpaceOnUse" ||
           chainAttribute(server, "patternContentUnits").value_or("") == "objectBoundingBox";
}

std::string ShapePaintEditor::correctedServer(const std::string &id, const Affine &correction, const Box &localBox) {
    const int server = elementById(id);
    if (server < 0) return {};
    const XmlElementSpan &e = s_.elements[size_t(server)];
    const std::string name = s_.text.substr(e.nameBegin, e.nameEnd - e.nameBegin);
    const size_t colon = name.find(':');
    const std::string local = colon == std::string::npos ? name : name.substr(colon + 1);
    const bool gradient = local == "linearGradient" || local == "radialGradient";
    if (!gradient && local != "pattern") return {};
    const std::string transformName = gradient ? "gradientTransform" : "patternTransform";
    Affine own;
    const auto written = chainAttribute(server, transformName);
    if (written && !parseTransformList(*written, own)) return {};
    Affine change = correction;
    if (gradient && chainAttribute(server, "gradientUnits").value_or("") != "userSpaceOnUse") {
        // A gradient in the bounding box: its transform applies inside the box.
        if (localBox.empty || localBox.width() <= 0 || localBox.height() <= 0) return {};
        const Affine box{localBox.width(), 0, 0, localBox.height(), localBox.minX, localBox.minY};
        Affine unbox;
        if (!box.inverse(unbox)) return {};
        change = unbox * correction * box;
    }
    // The correction before the placement the paint server has, or the
    // two as one matrix, whichever is shorter.
    std::string placed = changeText(change);
    if (written) {
        const std::string joined = placed + " " + *written, composed = transformText(change * own);
        placed = composed.size() < joined.size() ? composed : joined;
    }
    // The copy says only its place; everything else it takes from the one
    // it refers to.
    const std::string markup = "<" + name + " id=\"@ID@\" " + w_.hrefName() + "=\"#" + XmlOut::escape(id, true) +
                               "\" " + transformName + "=\"" + XmlOut::escape(placed, true) + "\"/>\n";
    return w_.shareDefinition(gradient ? "smear-gradient" : "smear-pattern", markup);
}

void ShapePaintEditor::writeOpacity(PropertyPlace &place, AIReal want, double factor) {
    struct Fit {
        double factor;
        AIReal want;
    } fit{factor > 0 ? factor : 1, want};
    const double own = want / fit.factor;
    const std::string text = naming("opacity", [&] {
        return fittingNumber(
            std::min(1.0, own),
            [](double back, const void *c) {
                const Fit &f = *static_cast<const Fit *>(c);
                return back >= 0 && back <= 1 && AIReal(double(AIReal(back)) * f.factor) == f.want;
            },
            &fit);
    });
    if (text != "1" || place.value("opacity")) place.set("opacity", text);
}

void ShapePaintEditor::writeBlendAndVisibility(PropertyPlace &place, const Art &art, const SvgReadLook &look) {
    if (art.blendMode != look.blendMode) place.set("mix-blend-mode", blendModeName(art.blendMode));
    const bool hidden = (art.userAttr & kArtHidden) != 0;
    if (hidden != look.hidden) {
        place.set("display", hidden ? "none" : "inline");
        if (!hidden && place.value("visibility")) place.set("visibility", "visible");
    }
}

void ShapePaintEditor::writeAppearance(const Art &art, int el, const SvgReadLook &look) {
    PropertyPlace place(edit_, el, styleSheet_);
    if (art.opacity != look.opacity) {
        // What the art's opacity holds besides the element's (its fill's
        // opacity, say) stays as it was.
        double own = 1;
        if (const auto v = place.value("opacity")) {
            if (!parseNumber(*v, own)) own = 1;
            own = std::clamp(own, 0.0, 1.0);
        }
        writeOpacity(place, art.opacity, own > 0 && look.opacity > 0 ? look.opacity / own : 1);
    }
    writeBlendAndVisibility(place, art, look);
}

bool ShapePaintEditor::write(const Art &art, int el, const SvgReadShape &read, const SvgReadLook &look,
                             const Affine &move, const Affine &toRoot, bool sameOutline) {
    if (art.artStyle) return false;
    // A compound path is painted as its first member.
    const AIPathStyle *paint = &art.style;
    if (art.type == kCompoundPathArt)
        for (const Art *m = art.firstChild; m; m = m->next)
            if (!m->disposed && (m->type == kPathArt || m->type == kMysteryPathArt)) {
                paint = &m->style;
                break;
            }
    const AIPathStyle &now = *paint;
    const AIPathStyle &was = read.style;
    PropertyPlace place(edit_, el, styleSheet_);
    Affine fromRoot, undo;
    if (!toRoot.inverse(fromRoot) || !move.inverse(undo)) return false;
    // In the element's new space: what takes it back to where it was.
    const Affine correction = fromRoot * undo * toRoot;
    const double scale = move.meanScale();
    // How far from the origin the element lies (document space).
    double extent = 0;
    if (!read.localBox.empty)
        for (const Vec2 corner : {Vec2{read.localBox.minX, read.localBox.minY}, Vec2{read.localBox.maxX, read.localBox.maxY},
                                  Vec2{read.localBox.minX, read.localBox.maxY}, Vec2{read.localBox.maxX, read.localBox.minY}}) {
            const Vec2 q = toRoot.apply(corner);
            extent = std::max({extent, std::fabs(q.x), std::fabs(q.y)});
        }

    double alphas[2] = {read.fillAlpha, read.strokeAlpha};
    auto sayPaint = [&](int which, bool painted, const AIColor &color, const std::string &readToken,
                        const AIColor &readColor, const std::string &url) {
        const char *property = which ? "stroke" : "fill";
        const char *mark = which ? "data-smear-stroke" : "data-smear-fill";
        Say say = judge(painted, color, readToken, readColor, move, extent);
        // Paint in the bounding box of an outline that changed changes with
        // it, where the drawing's stays.
        if (say != Say::kAnew && !sameOutline && painted && (color.kind == kGradient || color.kind == kPattern) &&
            (url.empty() || followsBox(url)))
            say = Say::kAnew;
        if (say == Say::kKeep) return;
        if (say == Say::kCorrect && sameOutline && !url.empty()) {
            const std::string copy = correctedServer(url, correction, read.localBox);
            if (!copy.empty()) {
                place.set(property, "url(#" + copy + ")");
                if (edit_.attribute(el, mark)) edit_.removeAttribute(el, mark);
                return;
            }
        }
        place.set(property, painted ? naming(property, [&] { return w_.paintIn(color, toRoot); }) : "none");
        alphas[which] = 1;
        const std::string token = painted ? exactPaintToken(color) : std::string();
        if (!token.empty()) edit_.setAttribute(el, mark, token);
        else if (edit_.attribute(el, mark)) edit_.removeAttribute(el, mark);
    };
    sayPaint(0, now.fillPaint, now.fill.color, read.fillToken, was.fill.color, read.fillUrl);
    sayPaint(1, now.strokePaint, now.stroke.color, read.strokeToken, was.stroke.color, read.strokeUrl);
    if (now.evenodd != was.evenodd) place.set("fill-rule", now.evenodd ? "evenodd" : "nonzero");

    if (now.strokePaint) {
        const AIStrokeStyle &k = now.stroke, &r = was.stroke;
        if (!sameLength(k.width, double(r.width) * scale))
            place.set("stroke-width", naming("stroke width", [&] { return w_.lengthIn(k.width, toRoot); }));
        bool dashes = k.dashCount != r.dashCount || (k.dashCount > 0 && !sameLength(k.dashOffset, r.dashOffset * scale));
        for (int i = 0; !dashes && i < k.dashCount && i < kMaxDashComponents; ++i)
            dashes = !sameLength(k.dashes[i], double(r.dashes[i]) * scale);
        if (dashes) {
            std::string list;
            for (int i = 0; i < k.dashCount && i < kMaxDashComponents; ++i)
                list += (i ? " " : "") + naming("dashes", [&] { return w_.lengthIn(k.dashes[i], toRoot); });
            place.set("stroke-dasharray", list.empty() ? "none" : list);
            if (k.dashCount > 0 && (k.dashOffset != 0 || place.value("stroke-dashoffset")))
                place.set("stroke-dashoffset", naming("dashes", [&] { return w_.lengthIn(k.dashOffset, toRoot); }));
        }
        if (k.cap != r.cap && k.cap >= 0 && k.cap < 3) place.set("stroke-linecap", kCaps[k.cap]);
        if (k.join != r.join && k.join >= 0 && k.join < 3) place.set("stroke-linejoin", kJoins[k.join]);
        if (k.miterLimit != r.miterLimit)
            place.set("stroke-miterlimit", naming("miter limit", [&] { return formatNumber(k.miterLimit); }));
    }

    // Opacity: the reader folds the fill's opacity (or the stroke's, for
    // art without a fill) into the art's; each keeps its own, and the
    // element's opacity takes what changed.
    double fillOpacity = read.fillOpacity * alphas[0], strokeOpacity = read.strokeOpacity * alphas[1];
    if (now.fillPaint && fillOpacity <= 0) {
        place.set("fill-opacity", "1");
        fillOpacity = alphas[0];
    }
    if (now.strokePaint && strokeOpacity <= 0) {
        place.set("stroke-opacity", "1");
        strokeOpacity = alphas[1];
    }
    const double factor = now.fillPaint ? fillOpacity : now.strokePaint ? strokeOpacity : 1;
    const double readFactor = was.fillPaint ? read.fillOpacity * read.fillAlpha
                              : was.strokePaint ? read.strokeOpacity * read.strokeAlpha
                                                : 1;
    if (art.opacity != look.opacity || factor != readFactor) {
        if (factor <= 0 || art.opacity <= factor) {
            writeOpacity(place, art.opacity, factor);
        } else {
            // More than the element's opacity can give: the fill and stroke
            // opacity take the rest.
            const double rest = art.opacity / factor;
            place.set("opacity", "1");
            if (now.fillPaint) place.set("fill-opacity", formatNumber(std::min(1.0, read.fillOpacity * rest)));
            if (now.strokePaint) place.set("stroke-opacity", formatNumber(std::min(1.0, read.strokeOpacity * rest)));
        }
    }
    writeBlendAndVisibility(place, art, look);
    // The writer's own marks: a style factor kept for a named style to come.
    const auto factorMark = edit_.attribute(el, "data-smear-style-factor");
    if (art.styleFactor != 1.0f) {
        const std::string text = formatNumber(art.styleFactor);
        if (!factorMark || xmlText(*factorMark) != text) edit_.setAttribute(el, "data-smear-style-factor", text);
    } else if (factorMark) {
        edit_.removeAttribute(el, "data-smear-style-factor");
    }
    if (edit_.attribute(el, "data-smear-style")) edit_.removeAttribute(el, "data-smear-style");
    return true;
}

}  // namespace smear::svg
