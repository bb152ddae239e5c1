#include "css_color.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "svg_numbers.h"

namespace smear {

namespace {

struct NamedColor {
    const char *name;
    unsigned rgb;
};

// The CSS named colours, sorted by name for a binary search.
constexpr NamedColor kNamedColors[] = {
    {"aliceblue", 0xf0f8ff}, {"antiquewhite", 0xfaebd7}, {"aqua", 0x00ffff},
    {"aquamarine", 0x7fffd4}, {"azure", 0xf0ffff}, {"beige", 0xf5f5dc},
    {"bisque", 0xffe4c4}, {"black", 0x000000}, {"blanchedalmond", 0xffebcd},
    {"blue", 0x0000ff}, {"blueviolet", 0x8a2be2}, {"brown", 0xa52a2a},
    {"burlywood", 0xdeb887}, {"cadetblue", 0x5f9ea0}, {"chartreuse", 0x7fff00},
    {"chocolate", 0xd2691e}, {"coral", 0xff7f50}, {"cornflowerblue", 0x6495ed},
    {"cornsilk", 0xfff8dc}, {"crimson", 0xdc143c}, {"cyan", 0x00ffff},
    {"darkblue", 0x00008b}, {"darkcyan", 0x008b8b}, {"darkgoldenrod", 0xb8860b},
    {"darkgray", 0xa9a9a9}, {"darkgreen", 0x006400}, {"darkgrey", 0xa9a9a9},
    {"darkkhaki", 0xbdb76b}, {"darkmagenta", 0x8b008b}, {"darkolivegreen", 0x556b2f},
    {"darkorange", 0xff8c00}, {"darkorchid", 0x9932cc}, {"darkred", 0x8b0000},
    {"darksalmon", 0xe9967a}, {"darkseagreen", 0x8fbc8f}, {"darkslateblue", 0x483d8b},
    {"darkslategray", 0x2f4f4f}, {"darkslategrey", 0x2f4f4f}, {"darkturquoise", 0x00ced1},
    {"darkviolet", 0x9400d3}, {"deeppink", 0xff1493}, {"deepskyblue", 0x00bfff},
    {"dimgray", 0x696969}, {"dimgrey", 0x696969}, {"dodgerblue", 0x1e90ff},
    {"firebrick", 0xb22222}, {"floralwhite", 0xfffaf0}, {"forestgreen", 0x228b22},
    {"fuchsia", 0xff00ff}, {"gainsboro", 0xdcdcdc}, {"ghostwhite", 0xf8f8ff},
    {"gold", 0xffd700}, {"goldenrod", 0xdaa520}, {"gray", 0x808080},
    {"green", 0x008000}, {"greenyellow", 0xadff2f}, {"grey", 0x808080},
    {"honeydew", 0xf0fff0}, {"hotpink", 0xff69b4}, {"indianred", 0xcd5c5c},
    {"indigo", 0x4b0082}, {"ivory", 0xfffff0}, {"khaki", 0xf0e68c},
    {"lavender", 0xe6e6fa}, {"lavenderblush", 0xfff0f5}, {"lawngreen", 0x7cfc00},
    {"lemonchiffon", 0xfffacd}, {"lightblue", 0xadd8e6}, {"lightcoral", 0xf08080},
    {"lightcyan", 0xe0ffff}, {"lightgoldenrodyellow", 0xfafad2}, {"lightgray", 0xd3d3d3},
    {"lightgreen", 0x90ee90}, {"lightgrey", 0xd3d3d3}, {"lightpink", 0xffb6c1},
    {"lightsalmon", 0xffa07a}, {"lightseagreen", 0x20b2aa}, {"lightskyblue", 0x87cefa},
    {"lightslategray", 0x778899}, {"lightslategrey", 0x778899}, {"lightsteelblue", 0xb0c4de},
    {"lightyellow", 0xffffe0}, {"lime", 0x00ff00}, {"limegreen", 0x32cd32},
    {"linen", 0xfaf0e6}, {"magenta", 0xff00ff}, {"maroon", 0x800000},
    {"mediumaquamarine", 0x66cdaa}, {"mediumblue", 0x0000cd}, {"mediumorchid", 0xba55d3},
    {"mediumpurple", 0x9370db}, {"mediumseagreen", 0x3cb371}, {"mediumslateblue", 0x7b68ee},
    {"mediumspringgreen", 0x00fa9a}, {"mediumturquoise", 0x48d1cc}, {"mediumvioletred", 0xc71585},
    {"midnightblue", 0x191970}, {"mintcream", 0xf5fffa}, {"mistyrose", 0xffe4e1},
    {"moccasin", 0xffe4b5}, {"navajowhite", 0xffdead}, {"navy", 0x000080},
    {"oldlace", 0xfdf5e6}, {"olive", 0x808000}, {"olivedrab", 0x6b8e23},
    {"orange", 0xffa500}, {"orangered", 0xff4500}, {"orchid", 0xda70d6},
    {"palegoldenrod", 0xeee8aa}, {"palegreen", 0x98fb98}, {"paleturquoise", 0xafeeee},
    {"palevioletred", 0xdb7093}, {"papayawhip", 0xffefd5}, {"peachpuff", 0xffdab9},
    {"peru", 0xcd853f}, {"pink", 0xffc0cb}, {"plum", 0xdda0dd},
    {"powderblue", 0xb0e0e6}, {"purple", 0x800080}, {"rebeccapurple", 0x663399},
    {"red", 0xff0000}, {"rosybrown", 0xbc8f8f}, {"royalblue", 0x4169e1},
    {"saddlebrown", 0x8b4513}, {"salmon", 0xfa8072}, {"sandybrown", 0xf4a460},
    {"seagreen", 0x2e8b57}, {"seashell", 0xfff5ee}, {"sienna", 0xa0522d},
    {"silver", 0xc0c0c0}, {"skyblue", 0x87ceeb}, {"slateblue", 0x6a5acd},
    {"slategray", 0x708090}, {"slategrey", 0x708090}, {"snow", 0xfffafa},
    {"springgreen", 0x00ff7f}, {"steelblue", 0x4682b4}, {"tan", 0xd2b48c},
    {"teal", 0x008080}, {"thistle", 0xd8bfd8}, {"tomato", 0xff6347},
    {"turquoise", 0x40e0d0}, {"violet", 0xee82ee}, {"wheat", 0xf5deb3},
    {"white", 0xffffff}, {"whitesmoke", 0xf5f5f5}, {"yellow", 0xffff00},
    {"yellowgreen", 0x9acd32},
};

using svg::lower;
using svg::trim;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseHex(std::string_view hex, CssColor &out) {
    const size_t n = hex.size();
    if (n != 3 && n != 4 && n != 6 && n != 8) return false;
    int v[8];
    for (size_t i = 0; i < n; ++i)
        if ((v[i] = hexDigit(hex[i])) < 0) return false;
    const bool shortForm = n <= 4;
    auto channel = [&](size_t k) {
        return shortForm ? (v[k] * 17) / 255.0 : (v[2 * k] * 16 + v[2 * k + 1]) / 255.0;
    };
    out.r = channel(0);
    out.g = channel(1);
    out.b = channel(2);
    out.alpha = (n == 4 || n == 8) ? channel(3) : 1.0;
    return true;
}

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

// One argument of a functional notation: a number with an optional unit
// ("%", or an angle unit for a hue).
struct Argument {
    double value = 0;
    std::string unit;
};

// Reads "a, b, c[, d]" or "a b c [/ d]" up to the closing parenthesis.
bool parseArguments(std::string_view body, std::vector<Argument> &args) {
    svg::Scanner s(body);
    s.skipSpace();
    bool commas = false, slash = false;
    while (!s.atEnd()) {
        Argument a;
        if (!s.number(a.value)) return false;
        while (!s.atEnd()) {
            const char c = s.peek();
            if (c == '%' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                a.unit += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
                s.advance();
            } else {
                break;
            }
        }
        args.push_back(a);
        s.skipSpace();
        if (s.peek() == ',') {
            if (slash || (!commas && args.size() > 1)) return false;
            commas = true;
            s.advance();
            s.skipSpace();
            if (s.atEnd()) return false;
        } else if (s.peek() == '/') {
            if (commas || slash || args.size() != 3) return false;
            slash = true;
            s.advance();
            s.skipSpace();
        } else if (!s.atEnd() && commas) {
            return false;
        }
    }
    return args.size() == 3 || args.size() == 4;
}

double alphaOf(const Argument &a) { return clamp01(a.unit == "%" ? a.value / 100 : a.value); }

bool rgbChannel(const Argument &a, double &out) {
    if (a.unit == "%") out = clamp01(a.value / 100);
    else if (a.unit.empty()) out = clamp01(a.value / 255);
    else return false;
    return true;
}

bool hueDegrees(const Argument &a, double &out) {
    if (a.unit.empty() || a.unit == "deg") out = a.value;
    else if (a.unit == "rad") out = a.value * 180 / 3.14159265358979323846;
    else if (a.unit == "grad") out = a.value * 0.9;
    else if (a.unit == "turn") out = a.value * 360;
    else return false;
    return true;
}

double hueToChannel(double m1, double m2, double h) {
    h -= std::floor(h);
    if (h * 6 < 1) return m1 + (m2 - m1) * h * 6;
    if (h * 2 < 1) return m2;
    if (h * 3 < 2) return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    return m1;
}

bool parseFunction(const std::string &name, std::string_view body, CssColor &out) {
    std::vector<Argument> args;
    if (!parseArguments(body, args)) return false;
    if (name == "rgb" || name == "rgba") {
        if (!rgbChannel(args[0], out.r) || !rgbChannel(args[1], out.g) || !rgbChannel(args[2], out.b))
            return false;
    } else {
        double h;
        if (!hueDegrees(args[0], h)) return false;
        // Saturation and lightness are percentages (bare numbers are read
        // the same way, as some writers leave the sign off).
        if (!(args[1].unit == "%" || args[1].unit.empty()) || !(args[2].unit == "%" || args[2].unit.empty()))
            return false;
        const double sat = clamp01(args[1].value / 100), light = clamp01(args[2].value / 100);
        const double m2 = light <= 0.5 ? light * (sat + 1) : light + sat - light * sat;
        const double m1 = light * 2 - m2;
        const double hue = h / 360;
        out.r = hueToChannel(m1, m2, hue + 1.0 / 3);
        out.g = hueToChannel(m1, m2, hue);
        out.b = hueToChannel(m1, m2, hue - 1.0 / 3);
    }
    out.alpha = args.size() == 4 ? alphaOf(args[3]) : 1.0;
    return true;
}

}  // namespace

bool parseCssColor(std::string_view text, CssColor &out) {
    text = trim(text);
    // An SVG 1.1 ICC colour follows its sRGB fallback.
    const std::string all = lower(text);
    const size_t icc = all.find("icc-color(");
    if (icc != std::string::npos && icc > 0) text = trim(text.substr(0, icc));
    if (text.empty()) return false;
    out = CssColor{};
    if (text.front() == '#') return parseHex(text.substr(1), out);
    const std::string word = lower(text);
    const size_t open = word.find('(');
    if (open != std::string::npos) {
        if (word.back() != ')') return false;
        const std::string name(trim(std::string_view(word).substr(0, open)));
        if (name != "rgb" && name != "rgba" && name != "hsl" && name != "hsla") return false;
        return parseFunction(name, std::string_view(word).substr(open + 1, word.size() - open - 2), out);
    }
    if (word == "currentcolor") {
        out.current = true;
        return true;
    }
    if (word == "transparent") {
        out.alpha = 0;
        return true;
    }
    const auto it = std::lower_bound(std::begin(kNamedColors), std::end(kNamedColors), word,
                                     [](const NamedColor &c, const std::string &w) { return w.compare(c.name) > 0; });
    if (it == std::end(kNamedColors) || word != it->name) return false;
    out.r = ((it->rgb >> 16) & 0xff) / 255.0;
    out.g = ((it->rgb >> 8) & 0xff) / 255.0;
    out.b = (it->rgb & 0xff) / 255.0;
    return true;
}

}  // namespace smear
