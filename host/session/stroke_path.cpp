#include "stroke_path.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "svg_path_data.h"

namespace smear {

namespace {

bool finiteNumber(const std::string &text, double &out) {
    if (text.empty()) return false;
    char *end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return *end == '\0' && errno != ERANGE && std::isfinite(out);
}

bool fitsTheDrawing(double v) { return std::fabs(v) <= double(std::numeric_limits<AIReal>::max()); }

std::vector<std::string> split(const std::string &text, const char *separators) {
    std::vector<std::string> parts;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find_first_of(separators, begin);
        parts.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos) return parts;
        begin = end + 1;
    }
}

bool parsePoints(const std::string &text, ASInt16 pressure, StrokePath &out, std::string &error) {
    size_t number = 0;
    for (const std::string &word : split(text, " \t\r\n;")) {
        if (word.empty()) continue;
        ++number;
        const std::string where = "point " + std::to_string(number) + " '" + word + "'";
        const std::vector<std::string> parts = split(word, ",");
        double v[3] = {0, 0, 0};
        if (parts.size() < 2 || parts.size() > 3 || !finiteNumber(parts[0], v[0]) || !finiteNumber(parts[1], v[1]) ||
            (parts.size() == 3 && !finiteNumber(parts[2], v[2]))) {
            error = where + " is not X,Y or X,Y,PRESSURE";
            return false;
        }
        if (!fitsTheDrawing(v[0]) || !fitsTheDrawing(v[1])) {
            error = where + " lies beyond the range of the drawing";
            return false;
        }
        ASInt16 p = pressure;
        if (parts.size() == 3) {
            if (!(v[2] >= 0 && v[2] <= 1)) {
                error = where + ": the pressure must lie between 0 and 1";
                return false;
            }
            p = ASInt16(std::lround(v[2] * 255));
            out.pressureGiven = true;
        }
        if (out.points.size() == kStrokeMaxPoints) {
            error = "a stroke has at most " + std::to_string(kStrokeMaxPoints) + " points";
            return false;
        }
        out.points.push_back(AIRealPoint{AIReal(v[0]), AIReal(v[1])});
        out.pressure.push_back(p);
    }
    return true;
}

svg::Vec2 pointOn(const svg::Vec2 &a, const svg::Cubic &c, double t) {
    const double u = 1 - t;
    return (u * u * u) * a + (3 * u * u * t) * c.c1 + (3 * u * t * t) * c.c2 + (t * t * t) * c.end;
}

// The subpath as a fine polyline, then `steps` + 1 points evenly spaced
// along its length.
bool samplePathData(const std::string &text, int steps, ASInt16 pressure, StrokePath &out, std::string &error) {
    const svg::PathData data = svg::parsePathData(text);
    if (!data.error.empty()) {
        error = "the path data '" + text + "': " + data.error;
        return false;
    }
    if (!data.beyondRange.empty()) {
        error = "the path data '" + text + "': " + data.beyondRange + " lies beyond the range of the drawing";
        return false;
    }
    if (data.subpaths.size() != 1 || data.subpaths[0].curves.empty()) {
        error = "the path data '" + text + "' must be one subpath with at least one segment: a stroke is one drag";
        return false;
    }
    const svg::Subpath &path = data.subpaths[0];
    std::vector<svg::Vec2> line{path.start};
    std::vector<double> length{0};
    constexpr int kPiecesPerCurve = 64;
    svg::Vec2 at = path.start;
    std::vector<svg::Cubic> curves = path.curves;
    if (path.closed && path.current() != path.start) curves.push_back({path.current(), path.start, path.start});
    for (const svg::Cubic &c : curves) {
        for (int k = 1; k <= kPiecesPerCurve; ++k) {
            const svg::Vec2 p = pointOn(at, c, double(k) / kPiecesPerCurve);
            length.push_back(length.back() + std::hypot(p.x - line.back().x, p.y - line.back().y));
            line.push_back(p);
        }
        at = c.end;
    }
    if (!std::isfinite(length.back())) {
        error = "the path data '" + text + "' is longer than the drawing can measure";
        return false;
    }
    size_t piece = 1;
    for (int i = 0; i <= steps; ++i) {
        const double wanted = length.back() * i / steps;
        while (piece + 1 < line.size() && length[piece] < wanted) ++piece;
        const double span = length[piece] - length[piece - 1];
        const double t = span > 0 ? std::clamp((wanted - length[piece - 1]) / span, 0.0, 1.0) : 1.0;
        const svg::Vec2 p = line[piece - 1] + t * (line[piece] - line[piece - 1]);
        out.points.push_back(AIRealPoint{AIReal(p.x), AIReal(p.y)});
    }
    out.pressure.assign(out.points.size(), pressure);
    return true;
}

}  // namespace

bool pressureProfile(const std::string &text, size_t count, std::vector<ASInt16> &out, std::string &error) {
    std::vector<double> values;
    for (const std::string &word : split(text, " \t\r\n,;")) {
        if (word.empty()) continue;
        double v = 0;
        if (!finiteNumber(word, v) || !(v >= 0 && v <= 1)) {
            error = "pressure '" + word + "' is not a number from 0 to 1";
            return false;
        }
        if (values.size() == kStrokeMaxPoints) {
            error = "at most " + std::to_string(kStrokeMaxPoints) + " pressures";
            return false;
        }
        values.push_back(v);
    }
    if (values.empty()) {
        error = "no pressure given";
        return false;
    }
    out.assign(count, 0);
    for (size_t i = 0; i < count; ++i) {
        const double at = count < 2 ? 0.0 : double(i) * double(values.size() - 1) / double(count - 1);
        const size_t k = std::min(size_t(at), values.size() - 1);
        const double v = k + 1 < values.size() ? values[k] + (values[k + 1] - values[k]) * (at - double(k)) : values[k];
        out[i] = ASInt16(std::lround(v * 255));
    }
    return true;
}

bool parseStrokePath(const std::string &text, int steps, ASInt16 pressure, StrokePath &out, std::string &error) {
    out = StrokePath{};
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        error = "the stroke's path is empty";
        return false;
    }
    const bool pathData = std::isalpha(static_cast<unsigned char>(text[first])) != 0;
    if (pathData ? !samplePathData(text, steps, pressure, out, error) : !parsePoints(text, pressure, out, error))
        return false;
    if (out.points.size() < 2) {
        error = "a stroke needs at least two points: the mouse down and one drag";
        return false;
    }
    return true;
}

}  // namespace smear
