// The SVG transform-list microsyntax.
#include <string>

#include "svg_numbers.h"
#include "svg_path_data.h"

namespace smear::svg {

namespace {

bool isNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool parseTransformList(std::string_view text, Affine &out) {
    Affine total;
    Scanner s(text);
    s.skipCommaSpace();
    while (!s.atEnd()) {
        std::string name;
        while (isNameChar(s.peek())) {
            name += s.peek();
            s.advance();
        }
        s.skipSpace();
        if (s.peek() != '(') return false;
        s.advance();
        double v[6];
        int n = 0;
        s.skipSpace();
        while (n < 6 && s.number(v[n])) {
            ++n;
            s.skipCommaSpace();
        }
        if (s.peek() != ')') return false;
        s.advance();
        Affine m;
        if (name == "matrix" && n == 6) {
            m = {v[0], v[1], v[2], v[3], v[4], v[5]};
        } else if (name == "translate" && (n == 1 || n == 2)) {
            m = Affine::translate(v[0], n == 2 ? v[1] : 0);
        } else if (name == "scale" && (n == 1 || n == 2)) {
            m = Affine::scale(v[0], n == 2 ? v[1] : v[0]);
        } else if (name == "rotate" && n == 1) {
            m = Affine::rotate(v[0]);
        } else if (name == "rotate" && n == 3) {
            m = Affine::translate(v[1], v[2]) * Affine::rotate(v[0]) * Affine::translate(-v[1], -v[2]);
        } else if (name == "skewX" && n == 1) {
            m = Affine::skewX(v[0]);
        } else if (name == "skewY" && n == 1) {
            m = Affine::skewY(v[0]);
        } else {
            return false;
        }
        total = total * m;
        s.skipCommaSpace();
    }
    out = total;
    return true;
}

}  // namespace smear::svg
