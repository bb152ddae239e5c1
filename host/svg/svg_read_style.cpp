// Style as SVG computes it: presentation attributes, then style sheet
// rules by specificity, then the style attribute, with !important last;
// inherited properties come from the parent's computed style.
#include <algorithm>
#include <cmath>

#include "svg_numbers.h"
#include "svg_read_internal.h"

namespace smear::svg {

namespace {

const char *const kBlendModes[] = {"normal",     "multiply",   "screen",      "overlay",
                                   "soft-light", "hard-light", "color-dodge", "color-burn",
                                   "darken",     "lighten",    "difference",  "exclusion",
                                   "hue",        "saturation", "color",       "luminosity"};

// Kept as they are on text art, for the written file.
const char *const kFontProperties[] = {"font-family",    "font-style",     "font-variant",   "font-weight",
                                       "font-stretch",   "letter-spacing", "word-spacing",   "text-decoration",
                                       "dominant-baseline", "writing-mode"};

bool isFontProperty(std::string_view name) {
    return std::find(std::begin(kFontProperties), std::end(kFontProperties), name) != std::end(kFontProperties);
}

const char *const kProperties[] = {
    "clip-path", "color", "display", "fill", "fill-opacity", "fill-rule", "filter", "font-size", "marker",
    "marker-end", "marker-mid", "marker-start", "mask", "mix-blend-mode", "opacity", "stroke",
    "stroke-dasharray", "stroke-dashoffset", "stroke-linecap", "stroke-linejoin", "stroke-miterlimit",
    "stroke-opacity", "stroke-width", "text-anchor", "visibility"};

bool isProperty(std::string_view name) {
    return std::find(std::begin(kProperties), std::end(kProperties), name) != std::end(kProperties) ||
           isFontProperty(name);
}

// "url(#id)" or "url('#id')", and what follows it.
bool parseUrl(std::string_view text, std::string &id, std::string_view &rest) {
    if (lower(text.substr(0, 4)) != "url(") return false;
    const size_t close = text.find(')');
    if (close == std::string_view::npos) return false;
    std::string_view inner = trim(text.substr(4, close - 4));
    if (inner.size() >= 2 && (inner.front() == '"' || inner.front() == '\'') && inner.back() == inner.front())
        inner = inner.substr(1, inner.size() - 2);
    // Only references into this file can be followed.
    const size_t hash = inner.find('#');
    if (hash == std::string_view::npos) return false;
    id = std::string(inner.substr(hash + 1));
    rest = trim(text.substr(close + 1));
    return true;
}

bool parseFlatPaint(std::string_view text, Paint::Kind &kind, CssColor &color) {
    if (lower(text) == "none") {
        kind = Paint::kNone;
        return true;
    }
    if (!parseCssColor(text, color)) return false;
    kind = Paint::kColor;
    return true;
}

bool parsePaint(std::string_view text, Paint &out) {
    Paint p;
    std::string_view rest;
    if (parseUrl(text, p.url, rest)) {
        p.kind = Paint::kUrl;
        if (!rest.empty()) {
            if (!parseFlatPaint(rest, p.fallbackKind, p.fallbackColor)) return false;
            p.hasFallback = true;
        }
    } else if (!parseFlatPaint(text, p.kind, p.color)) {
        return false;
    }
    out = p;
    return true;
}

// The part of a property's value that holds numbers for the document: all
// of a numeric property, the arguments of a colour function in a paint or
// colour (not a url or a hex colour, whose digits are no numbers).
std::string_view numericPart(const std::string &name, std::string_view v) {
    static const char *const kNumeric[] = {"fill-opacity",      "stroke-opacity",    "opacity",
                                           "stroke-width",      "stroke-dashoffset", "stroke-miterlimit",
                                           "stroke-dasharray",  "font-size"};
    if (std::find(std::begin(kNumeric), std::end(kNumeric), name) != std::end(kNumeric)) return v;
    if (name != "fill" && name != "stroke" && name != "color") return {};
    return colourFunction(v);
}

// A number or a percentage, clamped to 0 .. 1 (opacities).
bool parseUnit(std::string_view text, double &out) {
    text = trim(text);
    const bool percent = !text.empty() && text.back() == '%';
    if (percent) text.remove_suffix(1);
    double v;
    if (!parseNumber(text, v)) return false;
    out = std::clamp(percent ? v / 100 : v, 0.0, 1.0);
    return true;
}

}  // namespace

std::string_view colourFunction(std::string_view lowerText) {
    size_t start = std::string_view::npos;
    for (const char *f : {"rgb(", "rgba(", "hsl(", "hsla("}) start = std::min(start, lowerText.find(f));
    if (start == std::string_view::npos) return {};
    const size_t close = lowerText.find(')', start);
    return lowerText.substr(start, close == std::string_view::npos ? std::string_view::npos : close - start);
}

Style::Style() {
    fill.kind = Paint::kColor;  // black
}

Style Style::inherited() const {
    Style s = *this;
    s.opacity = 1;
    s.blendMode = 0;
    s.displayNone = false;
    s.filter.clear();
    s.clipPath.clear();
    s.mask.clear();
    return s;
}

bool Context::length(std::string_view text, Axis axis, double fontSize, double &out) const {
    text = trim(text);
    Scanner s(text);
    double v;
    if (!s.number(v)) return false;
    const std::string unit = lower(text.substr(s.position()));
    double k = 1;
    if (unit.empty() || unit == "px") k = 1;
    else if (unit == "pt") k = 96.0 / 72.0;
    else if (unit == "pc") k = 16;
    else if (unit == "in") k = 96;
    else if (unit == "cm") k = 96 / 2.54;
    else if (unit == "mm") k = 96 / 25.4;
    else if (unit == "q") k = 96 / 101.6;
    else if (unit == "em") k = fontSize;
    else if (unit == "ex") k = fontSize / 2;
    else if (unit == "rem") k = 16;
    else if (unit == "%") {
        const double w = viewportWidth, h = viewportHeight;
        k = (axis == Axis::kX ? w : axis == Axis::kY ? h : std::sqrt((w * w + h * h) / 2)) / 100;
    } else {
        return false;
    }
    out = v * k;
    return true;
}

double Context::lengthAttr(pugi::xml_node node, const char *name, Axis axis, double fontSize,
                           double fallback) const {
    const pugi::xml_attribute a = node.attribute(name);
    double v;
    if (a.empty() || !length(a.value(), axis, fontSize, v)) return fallback;
    return v;
}

std::string Context::attrBeyondRange(pugi::xml_node node, const char *name, Axis axis, double fontSize) const {
    const pugi::xml_attribute a = node.attribute(name);
    if (a.empty()) return {};
    std::string_view number = numberBeyondRange(a.value());
    double v;
    if (number.empty() && length(a.value(), axis, fontSize, v) && !fitsDrawing(v)) number = trim(a.value());
    return number.empty() ? std::string() : beyondRange(name, number);
}

Style Context::computeStyle(pugi::xml_node node, const Style &parent) {
    Style s = parent.inherited();
    std::vector<CssDeclaration> own;
    for (const pugi::xml_attribute a : node.attributes())
        if (isProperty(a.name())) own.push_back({a.name(), a.value(), false});
    std::vector<const CssDeclaration *> ordered;
    for (const CssDeclaration &d : own) ordered.push_back(&d);
    sheet.matching(node, localName(node), ordered);
    const std::vector<CssDeclaration> inlineDecls = parseDeclarations(node.attribute("style").value());
    for (const CssDeclaration &d : inlineDecls) ordered.push_back(&d);
    std::stable_partition(ordered.begin(), ordered.end(), [](const CssDeclaration *d) { return !d->important; });
    // The font size first: em lengths of the other properties depend on it.
    for (const CssDeclaration *d : ordered)
        if (d->name == "font-size") applyProperty(s, parent, d->name, d->value, node);
    for (const CssDeclaration *d : ordered)
        if (d->name != "font-size" && isProperty(d->name)) applyProperty(s, parent, d->name, d->value, node);
    return s;
}

void Context::applyProperty(Style &s, const Style &parent, const std::string &name, const std::string &value,
                            pugi::xml_node node) {
    const std::string v = lower(trim(value));
    auto bad = [&]() { problem(node, name + " \"" + value + "\" is not understood; ignored"); };
    if (isFontProperty(name)) {
        auto &props = s.fontProperties;
        props.erase(std::remove_if(props.begin(), props.end(), [&](const auto &p) { return p.first == name; }),
                    props.end());
        if (v == "inherit") {
            for (const auto &p : parent.fontProperties)
                if (p.first == name) props.push_back(p);
        } else if (v.find_first_of(";{}") == std::string::npos) {
            props.emplace_back(name, std::string(trim(value)));
        }
        return;
    }
    if (v == "inherit") {
        if (name == "fill") s.fill = parent.fill;
        else if (name == "stroke") s.stroke = parent.stroke;
        else if (name == "fill-opacity") s.fillOpacity = parent.fillOpacity;
        else if (name == "stroke-opacity") s.strokeOpacity = parent.strokeOpacity;
        else if (name == "stroke-width") s.strokeWidth = parent.strokeWidth;
        else if (name == "stroke-miterlimit") s.miterLimit = parent.miterLimit;
        else if (name == "stroke-dashoffset") s.dashOffset = parent.dashOffset;
        else if (name == "stroke-dasharray") s.dashes = parent.dashes;
        else if (name == "stroke-linecap") s.cap = parent.cap;
        else if (name == "stroke-linejoin") s.join = parent.join;
        else if (name == "fill-rule") s.evenOdd = parent.evenOdd;
        else if (name == "color") s.color = parent.color;
        else if (name == "visibility") s.visible = parent.visible;
        else if (name == "font-size") s.fontSize = parent.fontSize;
        else if (name == "text-anchor") s.anchor = parent.anchor;
        else if (name == "opacity") s.opacity = parent.opacity;
        else if (name == "mix-blend-mode") s.blendMode = parent.blendMode;
        else if (name == "display") s.displayNone = parent.displayNone;
        return;
    }
    // A number the document cannot hold is no value to clamp or keep.
    const std::string_view beyond = numberBeyondRange(numericPart(name, v));
    if (!beyond.empty()) return problem(node, beyondRange(name, beyond) + "; ignored");
    auto fits = [&](double x) {
        if (fitsDrawing(x)) return true;
        problem(node, beyondRange(name, trim(value)) + "; ignored");
        return false;
    };
    if (name == "fill" || name == "stroke") {
        Paint p;
        if (!parsePaint(value, p)) return bad();
        (name == "fill" ? s.fill : s.stroke) = p;
    } else if (name == "fill-opacity" || name == "stroke-opacity" || name == "opacity") {
        double u;
        if (!parseUnit(v, u)) return bad();
        (name == "opacity" ? s.opacity : name == "fill-opacity" ? s.fillOpacity : s.strokeOpacity) = u;
    } else if (name == "fill-rule") {
        if (v != "evenodd" && v != "nonzero") return bad();
        s.evenOdd = v == "evenodd";
    } else if (name == "stroke-width" || name == "stroke-dashoffset") {
        double w;
        if (!length(v, Axis::kOther, s.fontSize, w) || (name == "stroke-width" && w < 0)) return bad();
        if (!fits(w)) return;
        (name == "stroke-width" ? s.strokeWidth : s.dashOffset) = w;
    } else if (name == "stroke-miterlimit") {
        double m;
        if (!parseNumber(v, m) || m < 1) return bad();
        s.miterLimit = m;
    } else if (name == "stroke-linecap") {
        if (v == "butt") s.cap = 0;
        else if (v == "round") s.cap = 1;
        else if (v == "square") s.cap = 2;
        else return bad();
    } else if (name == "stroke-linejoin") {
        if (v == "miter" || v == "miter-clip" || v == "arcs") s.join = 0;
        else if (v == "round") s.join = 1;
        else if (v == "bevel") s.join = 2;
        else return bad();
    } else if (name == "stroke-dasharray") {
        std::vector<double> dashes;
        if (v != "none") {
            for (size_t i = 0; i < v.size();) {
                size_t j = v.find_first_of(", \t\n\r", i);
                if (j == std::string::npos) j = v.size();
                double d;
                if (j > i) {
                    if (!length(std::string_view(v).substr(i, j - i), Axis::kOther, s.fontSize, d) || d < 0)
                        return bad();
                    if (!fits(d)) return;
                    dashes.push_back(d);
                }
                i = j + 1;
            }
            // An odd list is kept as it is: the model's dash list repeats
            // the way SVG's does. All zeros is a solid line.
            double sum = 0;
            for (double d : dashes) sum += d;
            if (sum == 0) dashes.clear();
            if (dashes.size() > size_t(kMaxDashComponents)) {
                problem(node, "stroke-dasharray has " + std::to_string(dashes.size()) + " entries; the first " +
                                  std::to_string(kMaxDashComponents) + " are kept");
                dashes.resize(size_t(kMaxDashComponents));
            }
        }
        s.dashes = dashes;
    } else if (name == "color") {
        CssColor c;
        if (!parseCssColor(v, c)) return bad();
        if (!c.current) s.color = c;
    } else if (name == "visibility") {
        if (v != "visible" && v != "hidden" && v != "collapse") return bad();
        s.visible = v == "visible";
    } else if (name == "display") {
        s.displayNone = v == "none";
    } else if (name == "font-size") {
        static const std::pair<const char *, double> kSizes[] = {
            {"xx-small", 9}, {"x-small", 10}, {"small", 13}, {"medium", 16},
            {"large", 18},   {"x-large", 24}, {"xx-large", 32}};
        for (const auto &k : kSizes)
            if (v == k.first) return void(s.fontSize = k.second);
        if (v == "smaller") return void(s.fontSize = parent.fontSize / 1.2);
        if (v == "larger") {
            if (fits(parent.fontSize * 1.2)) s.fontSize = parent.fontSize * 1.2;
            return;
        }
        double f;
        if (!v.empty() && v.back() == '%') {
            if (!parseNumber(std::string_view(v).substr(0, v.size() - 1), f)) return bad();
            f = parent.fontSize * f / 100;
        } else if (!length(v, Axis::kOther, parent.fontSize, f)) {
            return bad();
        }
        if (f < 0) return bad();
        if (!fits(f)) return;
        s.fontSize = f;
    } else if (name == "text-anchor") {
        if (v == "start") s.anchor = 0;
        else if (v == "middle") s.anchor = 1;
        else if (v == "end") s.anchor = 2;
        else return bad();
    } else if (name == "mix-blend-mode") {
        const auto it = std::find(std::begin(kBlendModes), std::end(kBlendModes), v);
        if (it == std::end(kBlendModes)) {
            problem(node, "blend mode \"" + value + "\" is not one the document has; normal is used");
            s.blendMode = 0;
        } else {
            s.blendMode = int(it - std::begin(kBlendModes));
        }
    } else if (name == "filter") {
        s.filter = v == "none" ? "" : value;
    } else if (name == "clip-path") {
        s.clipPath = v == "none" ? "" : value;
    } else if (name == "mask") {
        s.mask = v == "none" ? "" : value;
    } else if (name.compare(0, 6, "marker") == 0) {
        s.markers = v != "none";
    }
}

}  // namespace smear::svg
