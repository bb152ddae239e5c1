#include "svg_color_codec.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "svg_bezier.h"
#include "svg_numbers.h"

namespace smear::svg {

namespace {

double clamp01(double v) { return std::isfinite(v) ? std::min(1.0, std::max(0.0, v)) : 0.0; }

std::string components(std::initializer_list<AIReal> values) {
    std::string out;
    for (AIReal v : values) {
        if (!out.empty()) out += ',';
        appendNumber(out, v);
    }
    return out;
}

// A token with a number the document cannot hold is no record of it.
bool readComponents(std::string_view text, size_t count, AIReal *out) {
    std::vector<double> values;
    if (!parseNumberList(text, values) || values.size() != count) return false;
    for (double v : values)
        if (!fitsDrawing(v)) return false;
    for (size_t i = 0; i < count; ++i) out[i] = AIReal(values[i]);
    return true;
}

}  // namespace

std::string encodeName(std::string_view name) {
    if (name.empty()) return "~";
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_';
        if (plain) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string decodeName(std::string_view text) {
    if (text == "~") return {};
    std::string out;
    auto hex = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            out += char(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string encodeColor(const AIColor &color) {
    switch (color.kind) {
    case kGrayColor: return "gray:" + components({color.c.g.gray});
    case kFourColor: {
        const AIFourColorStyle &f = color.c.f;
        return "cmyk:" + components({f.cyan, f.magenta, f.yellow, f.black});
    }
    case kThreeColor: {
        const AIThreeColorStyle &t = color.c.rgb;
        return "rgb:" + components({t.red, t.green, t.blue});
    }
    case kCustomColor: {
        const CustomColor *custom = reinterpret_cast<const CustomColor *>(color.c.c.color);
        if (!custom) return "none";
        return "spot:" + encodeName(custom->name) + ":" + components({color.c.c.tint}) + ":" +
               encodeColor(custom->base);
    }
    case kGradient: {
        const AIGradientStyle &b = color.c.b;
        const Gradient *g = reinterpret_cast<const Gradient *>(b.gradient);
        if (!g) return "none";
        const AIRealMatrix &m = b.matrix;
        return "gradient:" + encodeName(g->name) + ":" +
               components({b.gradientOrigin.h, b.gradientOrigin.v, b.gradientAngle, b.gradientLength, m.a, m.b, m.c,
                           m.d, m.tx, m.ty, b.hiliteAngle, b.hiliteLength});
    }
    case kPattern: {
        const AIPatternStyle &p = color.c.p;
        const Pattern *pattern = reinterpret_cast<const Pattern *>(p.pattern);
        if (!pattern) return "none";
        const AIRealMatrix &m = p.transform;
        return "pattern:" + encodeName(pattern->name) + ":" +
               components({p.shiftDist, p.shiftAngle, p.scale.h, p.scale.v, p.rotate, AIReal(p.reflect),
                           p.reflectAngle, p.shearAngle, p.shearAxis, m.a, m.b, m.c, m.d, m.tx, m.ty});
    }
    default: return "none";
    }
}

namespace {

// "NAME:v1,v2,..." with `count` numbers; the name is decoded.
bool namedComponents(std::string_view rest, size_t count, std::string &name, AIReal *out) {
    const size_t colon = rest.find(':');
    if (colon == std::string_view::npos) return false;
    name = decodeName(rest.substr(0, colon));
    return readComponents(rest.substr(colon + 1), count, out);
}

template <class T> T *byName(const std::vector<T *> &list, const std::string &name) {
    for (T *t : list)
        if (t->name == name) return t;
    return nullptr;
}

}  // namespace

bool decodeColor(std::string_view token, Document &doc, AIColor &out) {
    out = AIColor{};
    const size_t colon = token.find(':');
    const std::string_view kind = token.substr(0, colon);
    const std::string_view rest = colon == std::string_view::npos ? std::string_view() : token.substr(colon + 1);
    if (kind == "none" && colon == std::string_view::npos) {
        out.kind = kNoneColor;
        return true;
    }
    if (kind == "gray") {
        out.kind = kGrayColor;
        return readComponents(rest, 1, &out.c.g.gray);
    }
    if (kind == "cmyk") {
        out.kind = kFourColor;
        AIReal v[4];
        if (!readComponents(rest, 4, v)) return false;
        out.c.f = {v[0], v[1], v[2], v[3]};
        return true;
    }
    if (kind == "rgb") {
        out.kind = kThreeColor;
        AIReal v[3];
        if (!readComponents(rest, 3, v)) return false;
        out.c.rgb = {v[0], v[1], v[2]};
        return true;
    }
    if (kind == "spot") {
        const size_t nameEnd = rest.find(':');
        if (nameEnd == std::string_view::npos) return false;
        const size_t tintEnd = rest.find(':', nameEnd + 1);
        if (tintEnd == std::string_view::npos) return false;
        AIReal tint;
        if (!readComponents(rest.substr(nameEnd + 1, tintEnd - nameEnd - 1), 1, &tint)) return false;
        AIColor base;
        if (!decodeColor(rest.substr(tintEnd + 1), doc, base) || base.kind == kCustomColor) return false;
        const std::string name = decodeName(rest.substr(0, nameEnd));
        CustomColor *custom = nullptr;
        for (CustomColor *c : doc.customColors)
            if (c->name == name) custom = c;
        if (!custom) custom = doc.addCustomColor(name, base);
        out.kind = kCustomColor;
        out.c.c.color = reinterpret_cast<AICustomColorHandle>(custom);
        out.c.c.tint = tint;
        return true;
    }
    if (kind == "gradient") {
        std::string name;
        AIReal v[12];
        if (!namedComponents(rest, 12, name, v)) return false;
        Gradient *g = byName(doc.gradients, name);
        if (!g) return false;
        out.kind = kGradient;
        AIGradientStyle &b = out.c.b;
        b.gradient = reinterpret_cast<AIGradientHandle>(g);
        b.gradientOrigin = {v[0], v[1]};
        b.gradientAngle = v[2];
        b.gradientLength = v[3];
        b.matrix = {v[4], v[5], v[6], v[7], v[8], v[9]};
        b.hiliteAngle = v[10];
        b.hiliteLength = v[11];
        return true;
    }
    if (kind == "pattern") {
        std::string name;
        AIReal v[15];
        if (!namedComponents(rest, 15, name, v)) return false;
        Pattern *pattern = byName(doc.patterns, name);
        // Reflection is a flag: reflected or not.
        if (!pattern || (v[5] != 0 && v[5] != 1)) return false;
        out.kind = kPattern;
        AIPatternStyle &p = out.c.p;
        p.pattern = reinterpret_cast<AIPatternHandle>(pattern);
        p.shiftDist = v[0];
        p.shiftAngle = v[1];
        p.scale = {v[2], v[3]};
        p.rotate = v[4];
        p.reflect = ASInt32(v[5]);
        p.reflectAngle = v[6];
        p.shearAngle = v[7];
        p.shearAxis = v[8];
        p.transform = {v[9], v[10], v[11], v[12], v[13], v[14]};
        return true;
    }
    return false;
}

bool displayRgb(const AIColor &color, double rgb[3]) {
    switch (color.kind) {
    case kGrayColor:
        rgb[0] = rgb[1] = rgb[2] = clamp01(1 - color.c.g.gray);
        return true;
    case kFourColor: {
        const AIFourColorStyle &f = color.c.f;
        const double k = 1 - clamp01(f.black);
        rgb[0] = (1 - clamp01(f.cyan)) * k;
        rgb[1] = (1 - clamp01(f.magenta)) * k;
        rgb[2] = (1 - clamp01(f.yellow)) * k;
        return true;
    }
    case kThreeColor:
        rgb[0] = clamp01(color.c.rgb.red);
        rgb[1] = clamp01(color.c.rgb.green);
        rgb[2] = clamp01(color.c.rgb.blue);
        return true;
    case kCustomColor: {
        const CustomColor *custom = reinterpret_cast<const CustomColor *>(color.c.c.color);
        if (!custom || custom->base.kind == kCustomColor || !displayRgb(custom->base, rgb)) return false;
        // Tint 0 is the full colour, 1 none of it: white paper shows through.
        const double strength = 1 - clamp01(color.c.c.tint);
        for (int i = 0; i < 3; ++i) rgb[i] = 1 - (1 - rgb[i]) * strength;
        return true;
    }
    default: return false;
    }
}

std::string hexColor(const double rgb[3]) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "#";
    for (int i = 0; i < 3; ++i) {
        const int v = int(std::lround(clamp01(rgb[i]) * 255));
        out += kHex[v >> 4];
        out += kHex[v & 15];
    }
    return out;
}

}  // namespace smear::svg
