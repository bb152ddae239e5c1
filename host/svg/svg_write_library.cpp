// The document's named graphic styles and swatches as SVG: each named style
// a class rule that browsers and editors apply, each swatch a one-stop
// gradient marked the way an SVG editor marks its swatches. Both carry the
// exact record in data attributes so that reading the file restores them.
#include "svg_bezier.h"
#include "svg_color_codec.h"
#include "svg_write_internal.h"

namespace smear::svg {

namespace {

std::string strokeAttributes(const AIStrokeStyle &s) {
    std::string out;
    appendNumber(out, s.width);
    for (double v : {double(s.cap), double(s.join), double(s.miterLimit), double(s.dashOffset)}) {
        out += ',';
        appendNumber(out, v);
    }
    for (int i = 0; i < s.dashCount && i < kMaxDashComponents; ++i) {
        out += ',';
        appendNumber(out, s.dashes[i]);
    }
    return out;
}

// Replaces the "@ID@" of a definition's markup.
std::string withId(std::string markup, const std::string &id) {
    const size_t at = markup.find("@ID@");
    if (at != std::string::npos) markup.replace(at, 4, id);
    return markup;
}

}  // namespace

std::string namedStyleClass(int index) { return "smear-style-" + std::to_string(index + 1); }

int Writer::namedStyleIndex(const Art &art) const {
    if (!art.artStyle) return -1;
    const auto &styles = doc_.graphicStyles;
    for (size_t k = 0; k < styles.size(); ++k)
        if (styles[k] == art.artStyle) return int(k);
    return -1;
}

std::string Writer::namedStyleDefinitions(size_t from) {
    std::string out;
    const auto &styles = doc_.graphicStyles;
    for (size_t k = from; k < styles.size(); ++k) {
        const GraphicStyle &g = *styles[k];
        try {
            out += namedStyleDefinition(g, namedStyleClass(int(k)));
        } catch (const UnwritableNumber &e) {
            throw WriteFailure{failureText("graphic style \"" + g.name + "\"", e)};
        }
    }
    return out;
}

std::string Writer::namedStyleDefinition(const GraphicStyle &g, const std::string &cls) {
    XmlOut x(2);
    x.start("style");
    x.attr("id", cls);
    x.attr("type", "text/css");
    x.attr("data-smear-style", g.name);
    x.attr("data-smear-fill", naming("fill", [&] { return encodeColor(g.style.fill.color); }));
    x.attr("data-smear-stroke", naming("stroke", [&] { return encodeColor(g.style.stroke.color); }));
    x.attr("data-smear-stroke-attrs", naming("stroke attributes", [&] { return strokeAttributes(g.style.stroke); }));
    x.attr("data-smear-paint", std::to_string(g.style.fillPaint) + "," + std::to_string(g.style.strokePaint) +
                                   "," + std::to_string(g.style.evenodd));
    const std::string opacity = naming("opacity", [&] { return formatNumber(g.opacity); });
    x.attr("data-smear-opacity", opacity);
    x.text("." + cls + "{" + inlinePaint(g.style) + ";opacity:" + opacity + "}");
    x.end();
    return x.take();
}

std::string Writer::swatchDefinitions(size_t from) {
    std::string out;
    for (size_t k = from; k < doc_.swatches.size(); ++k) {
        const Swatch *swatch = doc_.swatches[k];
        try {
            out += withId(swatchDefinition(*swatch), freshId("smear-swatch"));
        } catch (const UnwritableNumber &e) {
            throw WriteFailure{failureText("swatch \"" + swatch->name + "\"", e)};
        }
    }
    return out;
}

std::string Writer::swatchDefinition(const Swatch &swatch) {
    const AIColor &c = swatch.color;
    const Attributes marks = {{"data-smear-swatch", swatch.name},
                              {"data-smear-color", naming("colour", [&] { return encodeColor(c); })}};
    std::string markup;
    if (c.kind == kGradient) {
        Attributes a = marks;
        a.insert(a.begin(), {"inkscape:swatch", "gradient"});
        markup = gradientMarkup(c.c.b, a);
    } else if (c.kind == kPattern) {
        markup = patternMarkup(c.c.p, marks);
    }
    if (markup.empty()) {
        // A flat colour (or a gradient or pattern the document lacks):
        // one stop of the colour it shows as.
        checkColour(c);
        double rgb[3] = {0, 0, 0};
        const bool shown = displayRgb(c, rgb);
        XmlOut x(2);
        x.start("linearGradient");
        x.attr("id", "@ID@");
        x.attr("inkscape:swatch", "solid");
        for (const auto &m : marks) x.attr(m.first, m.second);
        x.start("stop");
        x.attr("offset", "0");
        x.attr("stop-color", hexColor(rgb));
        if (!shown) x.attr("stop-opacity", "0");
        x.end();
        x.end();
        markup = x.take();
    }
    return markup;
}

}  // namespace smear::svg
