// CSS colour values as SVG uses them: #rgb, #rgba, #rrggbb, #rrggbbaa,
// rgb()/rgba() and hsl()/hsla() in the comma and space syntaxes, with
// numbers or percentages, the named colours, `transparent` and
// `currentColor`.
#pragma once

#include <string_view>

namespace smear {

struct CssColor {
    double r = 0, g = 0, b = 0;  // 0 .. 1
    double alpha = 1;           // 0 .. 1
    bool current = false;       // `currentColor`: the colour is the `color` property's
};

// False for anything that is not a colour. `none` is a paint, not a colour,
// so it is not one either. An SVG 1.1 ICC colour after an sRGB fallback
// ("#f00 icc-color(...)") gives the fallback.
bool parseCssColor(std::string_view text, CssColor &out);

}  // namespace smear
