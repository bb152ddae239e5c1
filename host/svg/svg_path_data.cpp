#include "svg_path_data.h"

#include <algorithm>
#include <cmath>

#include "svg_numbers.h"

namespace smear::svg {

namespace {

// Number of arguments each command takes per repetition.
int argumentCount(char command) {
    switch (command) {
    case 'M': case 'm': case 'L': case 'l': case 'T': case 't': return 2;
    case 'H': case 'h': case 'V': case 'v': return 1;
    case 'C': case 'c': return 6;
    case 'S': case 's': case 'Q': case 'q': return 4;
    case 'A': case 'a': return 7;
    case 'Z': case 'z': return 0;
    default: return -1;
    }
}

class PathReader {
public:
    explicit PathReader(std::string_view d) : text_(d), scan_(d) {}

    PathData read() {
        scan_.skipSpace();
        if (scan_.atEnd()) return std::move(out_);
        char command = 0;
        while (true) {
            scan_.skipSpace();
            if (scan_.atEnd()) break;
            const char c = scan_.peek();
            if (argumentCount(c) >= 0) {
                command = c;
                scan_.advance();
            } else if (command == 0 || !scan_.atNumber()) {
                return fail(std::string("unexpected '") + c + "'");
            } else if (command == 'Z' || command == 'z') {
                return fail("numbers after a close-path command");
            }
            // After a moveto, further coordinate pairs are implicit linetos.
            if (out_.subpaths.empty() && command != 'M' && command != 'm')
                return fail("path data must begin with a moveto");
            if (!run(command)) return std::move(out_);
            if (command == 'M') command = 'L';
            if (command == 'm') command = 'l';
        }
        return std::move(out_);
    }

private:
    PathData fail(const std::string &what) {
        out_.error = what + " at offset " + std::to_string(scan_.position());
        return std::move(out_);
    }
    void noteError(const std::string &what) {
        out_.error = what + " at offset " + std::to_string(scan_.position());
    }

    bool args(double *v, int n, char command) {
        for (int i = 0; i < n; ++i) {
            if (i > 0) scan_.skipCommaSpace();
            else scan_.skipSpace();
            const bool isFlag = (command == 'A' || command == 'a') && (i == 3 || i == 4);
            bool ok;
            if (isFlag) {
                bool f = false;
                ok = scan_.flag(f);
                v[i] = f ? 1 : 0;
            } else {
                const size_t at = scan_.position();
                ok = scan_.number(v[i]);
                if (ok && !fitsDrawing(v[i]) && out_.beyondRange.empty())
                    out_.beyondRange = std::string(text_.substr(at, scan_.position() - at));
            }
            if (!ok) {
                noteError(std::string("command '") + command + "' needs " + std::to_string(n) + " numbers");
                return false;
            }
        }
        scan_.skipCommaSpace();
        return true;
    }

    Subpath &currentSubpath() {
        // A drawing command right after a close path starts a new subpath at
        // the start of the closed one.
        if (out_.subpaths.back().closed) {
            Subpath next;
            next.start = current_;
            out_.subpaths.push_back(next);
        }
        return out_.subpaths.back();
    }

    bool run(char command) {
        double v[7];
        const int n = argumentCount(command);
        const bool relative = command >= 'a' && command <= 'z';
        const Vec2 base = relative ? current_ : Vec2{};
        if (n > 0 && !args(v, n, command)) return false;
        const char upper = char(relative ? command - 32 : command);
        Vec2 reflected = current_;  // control point for S and T
        if (upper == 'S' && (lastCommand_ == 'C' || lastCommand_ == 'S'))
            reflected = 2.0 * current_ - lastControl_;
        if (upper == 'T' && (lastCommand_ == 'Q' || lastCommand_ == 'T'))
            reflected = 2.0 * current_ - lastControl_;
        switch (upper) {
        case 'M': {
            Subpath s;
            s.start = base + Vec2{v[0], v[1]};
            out_.subpaths.push_back(s);
            current_ = s.start;
            break;
        }
        case 'Z': {
            Subpath &s = out_.subpaths.back();
            s.closed = true;
            current_ = s.start;
            break;
        }
        case 'L': lineTo(base + Vec2{v[0], v[1]}); break;
        case 'H': lineTo({(relative ? current_.x : 0) + v[0], current_.y}); break;
        case 'V': lineTo({current_.x, (relative ? current_.y : 0) + v[0]}); break;
        case 'C':
            curveTo(base + Vec2{v[0], v[1]}, base + Vec2{v[2], v[3]}, base + Vec2{v[4], v[5]});
            break;
        case 'S': curveTo(reflected, base + Vec2{v[0], v[1]}, base + Vec2{v[2], v[3]}); break;
        case 'Q': quadTo(base + Vec2{v[0], v[1]}, base + Vec2{v[2], v[3]}); break;
        case 'T': quadTo(reflected, base + Vec2{v[0], v[1]}); break;
        case 'A': {
            Subpath &s = currentSubpath();
            const Vec2 to = base + Vec2{v[5], v[6]};
            if (!appendArc(s, v[0], v[1], v[2], v[3] != 0, v[4] != 0, to)) {
                noteError(std::string("command '") + command + "' draws an arc that cannot be computed");
                return false;
            }
            current_ = to;
            break;
        }
        default: break;
        }
        lastCommand_ = upper;
        return true;
    }

    void lineTo(Vec2 p) {
        currentSubpath().lineTo(p);
        current_ = p;
    }
    void curveTo(Vec2 c1, Vec2 c2, Vec2 p) {
        currentSubpath().curves.push_back({c1, c2, p});
        lastControl_ = c2;
        current_ = p;
    }
    void quadTo(Vec2 q, Vec2 p) {
        const Vec2 p0 = current_;
        currentSubpath().curves.push_back({p0 + (2.0 / 3.0) * (q - p0), p + (2.0 / 3.0) * (q - p), p});
        lastControl_ = q;
        current_ = p;
    }

    std::string_view text_;
    Scanner scan_;
    PathData out_;
    Vec2 current_;
    Vec2 lastControl_;
    char lastCommand_ = 0;
};

double angleBetween(Vec2 u, Vec2 v) {
    return std::atan2(u.x * v.y - u.y * v.x, u.x * v.x + u.y * v.y);
}

}  // namespace

PathData parsePathData(std::string_view d) { return PathReader(d).read(); }

bool appendArc(Subpath &path, double rx, double ry, double rotationDegrees, bool largeArc, bool sweep,
               Vec2 to) {
    const Vec2 from = path.current();
    for (double v : {rx, ry, rotationDegrees, from.x, from.y, to.x, to.y})
        if (!std::isfinite(v)) return false;
    if (from == to) return true;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        path.lineTo(to);
        return true;
    }
    // Endpoint to centre parameterisation (SVG implementation notes), in
    // terms of the half chord measured in radii, (a, b): no product of two
    // radii is formed, so radii near the ends of a double's range neither
    // overflow nor vanish.
    const double phi = radians(std::fmod(rotationDegrees, 360.0));
    const double cs = std::cos(phi), sn = std::sin(phi);
    const Vec2 half = 0.5 * (from - to);
    const Vec2 p{cs * half.x + sn * half.y, -sn * half.x + cs * half.y};
    double a = p.x / rx, b = p.y / ry;
    double h = std::hypot(a, b);
    if (!std::isfinite(h)) return false;
    if (h == 0) {
        // A chord too short to measure in radii, nor to place a centre by.
        path.lineTo(to);
        return true;
    }
    // Radii too small to reach the end point grow just enough.
    if (h > 1) {
        rx *= h;
        ry *= h;
        a /= h;
        b /= h;
        h = 1;
    }
    double k = std::sqrt(std::max(0.0, (1 - h) * (1 + h))) / h;
    if (largeArc == sweep) k = -k;
    const Vec2 cp{k * b * rx, -k * a * ry};
    const Vec2 mid = 0.5 * (from + to);
    const Vec2 centre{cs * cp.x - sn * cp.y + mid.x, sn * cp.x + cs * cp.y + mid.y};
    const Vec2 u{a - k * b, b + k * a};
    const double theta1 = angleBetween({1, 0}, u);
    // The chord subtends twice asin(h) of the unit circle; the large arc
    // the rest of the turn. Taken from h rather than from the angle between
    // the chord's ends as seen from the centre, which is lost in rounding
    // when the radii are many orders larger than the chord.
    const double minor = 2 * std::asin(h);
    double delta = largeArc ? 2 * kPi - minor : minor;
    if (!sweep) delta = -delta;
    for (double w : {rx, ry, centre.x, centre.y, theta1, delta})
        if (!std::isfinite(w)) return false;

    // Pieces of at most 90 degrees, each one cubic: |delta| is at most a
    // full turn, so there are at most four.
    const int pieces = std::clamp(int(std::ceil(std::fabs(delta) / (kPi / 2) - 1e-9)), 1, 4);
    const double step = delta / pieces;
    const double t = 4.0 / 3.0 * std::tan(step / 4);
    auto onEllipse = [&](double angle) {
        const double x = rx * std::cos(angle), y = ry * std::sin(angle);
        return Vec2{cs * x - sn * y + centre.x, sn * x + cs * y + centre.y};
    };
    auto derivative = [&](double angle) {
        const double x = -rx * std::sin(angle), y = ry * std::cos(angle);
        return Vec2{cs * x - sn * y, sn * x + cs * y};
    };
    double angle = theta1;
    Vec2 start = from;
    for (int i = 0; i < pieces; ++i) {
        const double next = angle + step;
        // The last piece ends exactly where the command says.
        const Vec2 end = i + 1 == pieces ? to : onEllipse(next);
        path.curves.push_back({start + t * derivative(angle), end - t * derivative(next), end});
        start = end;
        angle = next;
    }
    return true;
}

}  // namespace smear::svg
