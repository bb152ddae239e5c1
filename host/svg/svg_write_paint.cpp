// Paint as SVG: flat colours as #rrggbb, gradients and patterns as elements
// in <defs> made from the document's gradient or pattern and the placement
// in the colour record.
#include <cmath>

#include "svg_affine.h"
#include "svg_bezier.h"
#include "svg_color_codec.h"
#include "svg_write_internal.h"

namespace smear::svg {

namespace {

const char *const kCaps[] = {"butt", "round", "square"};
const char *const kJoins[] = {"miter", "round", "bevel"};

std::string rotateScale(double rotateDegrees, double scaleX, double scaleY) {
    std::string out;
    if (rotateDegrees != 0) out += "rotate(" + formatNumber(-rotateDegrees) + ")";
    if (scaleX != 1 || scaleY != 1) {
        if (!out.empty()) out += ' ';
        out += "scale(" + formatNumber(scaleX) + " " + formatNumber(scaleY) + ")";
    }
    return out;
}

// Whether #rrggbb, read back, gives exactly this channel.
bool exactByte(AIReal channel) { return AIReal(double(std::lround(double(channel) * 255)) / 255.0) == channel; }

}  // namespace

std::string patternTransformText(const AIPatternStyle &p) {
    // The tile is scaled (percent) and rotated in its own space, then placed
    // by the record's transform.
    std::string transform;
    if (!isIdentity(p.transform)) transform = svgMatrix(p.transform);
    const std::string own = rotateScale(p.rotate, p.scale.h / 100.0, p.scale.v / 100.0);
    if (!own.empty()) transform += (transform.empty() ? "" : " ") + own;
    return transform;
}

void checkColour(const AIColor &color) {
    auto check = [](std::initializer_list<AIReal> values) {
        for (AIReal v : values)
            if (!std::isfinite(v)) throw UnwritableNumber(v);
    };
    switch (color.kind) {
    case kGrayColor: return check({color.c.g.gray});
    case kFourColor: return check({color.c.f.cyan, color.c.f.magenta, color.c.f.yellow, color.c.f.black});
    case kThreeColor: return check({color.c.rgb.red, color.c.rgb.green, color.c.rgb.blue});
    case kCustomColor: {
        check({color.c.c.tint});
        const CustomColor *custom = reinterpret_cast<const CustomColor *>(color.c.c.color);
        // A custom colour's base is flat; one that is not shows nothing.
        if (custom && custom->base.kind != kCustomColor) checkColour(custom->base);
        return;
    }
    default: return;
    }
}

std::string exactPaintToken(const AIColor &color) {
    switch (color.kind) {
    case kNoneColor: return {};
    case kThreeColor: {
        const AIThreeColorStyle &c = color.c.rgb;
        if (exactByte(c.red) && exactByte(c.green) && exactByte(c.blue)) return {};
        return encodeColor(color);
    }
    default: return encodeColor(color);
    }
}

std::string Writer::freshId(const std::string &base) {
    std::string id;
    do {
        id = base + "-" + std::to_string(++counter_);
    } while (usedIds_.count(id));
    usedIds_.insert(id);
    return id;
}

// The same gradient or pattern placed the same way is written once. The
// markup holds the placeholder "@ID@" where its id goes.
std::string Writer::definitionId(const std::string &base, const std::string &markup) {
    auto found = defIdByContent_.find(markup);
    if (found != defIdByContent_.end()) return found->second;
    const std::string id = freshId(base);
    defIdByContent_[markup] = id;
    std::string text = markup;
    text.replace(text.find("@ID@"), 4, id);
    defs_ += text;
    return id;
}

std::string Writer::paint(const AIColor &color) {
    switch (color.kind) {
    case kGradient: return gradientPaint(color.c.b);
    case kPattern: return patternPaint(color.c.p);
    default: {
        checkColour(color);
        double rgb[3];
        return displayRgb(color, rgb) ? hexColor(rgb) : "none";
    }
    }
}

std::string Writer::length(double value) const {
    if (!space_.local) return formatNumber(value);
    // The reader multiplies by the same scale: the text with the fewest
    // decimals that comes back exactly.
    struct Want {
        double scale;
        AIReal value;
    } want{space_.lengthScale, AIReal(value)};
    return fittingNumber(
        value / want.scale,
        [](double back, const void *w) {
            const Want &x = *static_cast<const Want *>(w);
            return writableFloat(back * x.scale) && AIReal(back * x.scale) == x.value;
        },
        &want);
}

std::string Writer::placementTransform(const std::string &own) const {
    if (!space_.local) return own;
    const Affine &m = space_.toLocal;
    std::string out = "matrix(";
    for (double v : {m.a, m.b, m.c, m.d, m.e, m.f}) out += (out.size() > 7 ? " " : "") + preciseNumber(v);
    out += ")";
    return own.empty() ? out : out + " " + own;
}

std::string Writer::inlinePaint(const AIPathStyle &style) {
    std::string css = "fill:" + naming("fill", [&] {
        return style.fillPaint ? paint(style.fill.color) : std::string("none");
    });
    css += ";stroke:" + naming("stroke", [&] {
        return style.strokePaint ? paint(style.stroke.color) : std::string("none");
    });
    if (style.strokePaint) css += ";stroke-width:" + naming("stroke width", [&] { return length(style.stroke.width); });
    return css;
}

void Writer::writePaint(const AIPathStyle &style, bool paintInStyle) {
    naming("fill", [&] {
        if (!paintInStyle) body_.attr("fill", style.fillPaint ? paint(style.fill.color) : "none");
        // What #rrggbb or a gradient element cannot say exactly rides along.
        if (style.fillPaint) {
            const std::string token = exactPaintToken(style.fill.color);
            if (!token.empty()) body_.attr("data-smear-fill", token);
        }
    });
    if (style.evenodd) body_.attr("fill-rule", "evenodd");
    if (!style.strokePaint) return;
    const AIStrokeStyle &s = style.stroke;
    naming("stroke", [&] {
        if (!paintInStyle) body_.attr("stroke", paint(s.color));
        const std::string token = exactPaintToken(s.color);
        if (!token.empty()) body_.attr("data-smear-stroke", token);
    });
    if (!paintInStyle) body_.attr("stroke-width", naming("stroke width", [&] { return length(s.width); }));
    if (s.cap > 0 && s.cap < 3) body_.attr("stroke-linecap", kCaps[s.cap]);
    if (s.join > 0 && s.join < 3) body_.attr("stroke-linejoin", kJoins[s.join]);
    if (s.miterLimit != 4.0f)
        body_.attr("stroke-miterlimit", naming("miter limit", [&] { return formatNumber(s.miterLimit); }));
    if (s.dashCount > 0) {
        naming("dashes", [&] {
            std::string dashes;
            for (int i = 0; i < s.dashCount && i < kMaxDashComponents; ++i) {
                if (i) dashes += ' ';
                dashes += length(s.dashes[i]);
            }
            body_.attr("stroke-dasharray", dashes);
            if (s.dashOffset != 0) body_.attr("stroke-dashoffset", length(s.dashOffset));
        });
    }
}

std::string Writer::gradientPaint(const AIGradientStyle &g) {
    if (noDefinitions_) return "none";
    const std::string markup = gradientMarkup(g, {});
    return markup.empty() ? "none" : "url(#" + definitionId("smear-gradient", markup) + ")";
}

std::string Writer::gradientMarkup(const AIGradientStyle &g, const Attributes &extra) {
    const Gradient *gradient = reinterpret_cast<const Gradient *>(g.gradient);
    if (!gradient) return {};
    // Origin, angle and length are in document space before the record's
    // matrix; SVG gets them flipped, and the matrix as gradientTransform.
    const double angle = radians(g.gradientAngle);
    const double ox = g.gradientOrigin.h, oy = g.gradientOrigin.v, length = g.gradientLength;
    XmlOut x(2);
    if (gradient->radial) {
        x.start("radialGradient");
        x.attr("id", "@ID@");
        x.attr("gradientUnits", "userSpaceOnUse");
        x.attr("cx", formatNumber(ox));
        x.attr("cy", formatNumber(-oy));
        x.attr("r", formatNumber(std::fabs(length)));
        if (g.hiliteLength != 0) {
            // The highlight lies hiliteLength of the radius from the centre,
            // at the gradient angle plus the highlight angle.
            const double h = radians(g.gradientAngle + g.hiliteAngle);
            const double reach = double(g.hiliteLength) * std::fabs(length);
            x.attr("fx", formatNumber(ox + reach * std::cos(h)));
            x.attr("fy", formatNumber(-(oy + reach * std::sin(h))));
        }
    } else {
        x.start("linearGradient");
        x.attr("id", "@ID@");
        x.attr("gradientUnits", "userSpaceOnUse");
        x.attr("x1", formatNumber(ox));
        x.attr("y1", formatNumber(-oy));
        x.attr("x2", formatNumber(ox + length * std::cos(angle)));
        x.attr("y2", formatNumber(-(oy + length * std::sin(angle))));
    }
    const std::string transform = placementTransform(isIdentity(g.matrix) ? std::string() : svgMatrix(g.matrix));
    if (!transform.empty()) x.attr("gradientTransform", transform);
    x.attr("data-name", gradient->name);
    for (const auto &a : extra) x.attr(a.first, a.second);
    for (const GradientStop &stop : gradient->stops) {
        checkColour(stop.color);
        double rgb[3] = {0, 0, 0};
        displayRgb(stop.color, rgb);
        x.start("stop");
        x.attr("offset", formatNumber(stop.offset));
        x.attr("stop-color", hexColor(rgb));
        if (stop.opacity != 1.0f) x.attr("stop-opacity", formatNumber(stop.opacity));
        x.end();
    }
    return x.take();
}

std::string Writer::patternPaint(const AIPatternStyle &p) {
    if (noDefinitions_) return "none";
    const std::string markup = patternMarkup(p, {});
    return markup.empty() ? "none" : "url(#" + definitionId("smear-pattern", markup) + ")";
}

std::string Writer::patternMarkup(const AIPatternStyle &p, const Attributes &extra) {
    const Pattern *pattern = reinterpret_cast<const Pattern *>(p.pattern);
    if (!pattern) return {};
    const std::string transform = placementTransform(patternTransformText(p));

    XmlOut x(2);
    x.start("pattern");
    x.attr("id", "@ID@");
    for (const auto &a : extra) x.attr(a.first, a.second);
    if (doc_.svgDefinitions.count(pattern->name)) {
        // The tile as the file drew it, kept among the definitions.
        x.attr(hrefName_, "#" + pattern->name);
        if (!transform.empty()) x.attr("patternTransform", transform);
        x.end();
        return x.take();
    }
    // A pattern known only by its tile and ink: a dot of ink in each tile.
    const AIRealRect &t = pattern->tile;
    const double w = double(t.right) - t.left, h = double(t.top) - t.bottom;
    x.attr("patternUnits", "userSpaceOnUse");
    x.attr("x", formatNumber(t.left));
    x.attr("y", formatNumber(-double(t.top)));
    x.attr("width", formatNumber(w));
    x.attr("height", formatNumber(h));
    if (!transform.empty()) x.attr("patternTransform", transform);
    x.attr("data-name", pattern->name);
    checkColour(pattern->color);
    double rgb[3] = {0, 0, 0};
    displayRgb(pattern->color, rgb);
    x.start("circle");
    x.attr("cx", formatNumber(t.left + w / 2));
    x.attr("cy", formatNumber(-double(t.top) + h / 2));
    x.attr("r", formatNumber(std::fmin(std::fabs(w), std::fabs(h)) / 3));
    x.attr("fill", hexColor(rgb));
    x.end();
    return x.take();
}

}  // namespace smear::svg
