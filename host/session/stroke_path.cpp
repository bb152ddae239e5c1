#include "stroke_path.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "svg_numbers.h"
#include "svg_path_data.h"

namespace smear {

namespace {

// A decimal number as SVG writes one: no hexadecimal, no words.
bool finiteNumber(const std::string &text, double &out) {
    return !text.empty() && svg::parseNumber(text, out) && std::isfinite(out);
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

// The path data as an error message quotes it: a file may be megabytes long.
std::string quoted(const std::string &text) {
    constexpr size_t kShown = 40;
    return "'" + (text.size() <= kShown ? text : text.substr(0, kShown) + "...") + "'";
}

// At least as many as the numbers and command letters in `text` (each
// number has a run of digits of its own), counted without reading it.
size_t tokensAtMost(const std::string &text) {
    size_t tokens = 0;
    bool inDigits = false;
    for (char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if ((digit && !inDigits) || (std::isalpha(static_cast<unsigned char>(c)) && c != 'e' && c != 'E')) ++tokens;
        inDigits = digit;
    }
    return tokens;
}

// Each curve measured as a polyline of this many pieces.
constexpr int kPiecesPerCurve = 64;

// `steps` + 1 points evenly spaced along the subpath's length, each curve
// measured as a fine polyline. The polyline is walked twice (its length,
// then the points) and never kept: the memory follows the path data and
// the steps, not 64 points for each of its segments.
bool samplePathData(const std::string &text, int steps, ASInt16 pressure, StrokePath &out, std::string &error) {
    if (steps < 1 || size_t(steps) + 1 > kStrokeMaxPoints) {
        error = "a stroke along path data takes 1 to " + std::to_string(kStrokeMaxPoints - 1) + " steps, not " +
                std::to_string(steps);
        return false;
    }
    if (tokensAtMost(text) > kStrokePathMaxTokens) {
        error = "the path data " + quoted(text) + " is too long for a stroke: at most " +
                std::to_string(kStrokePathMaxTokens) + " numbers and commands";
        return false;
    }
    const svg::PathData data = svg::parsePathData(text);
    if (!data.error.empty()) {
        error = "the path data " + quoted(text) + ": " + data.error;
        return false;
    }
    if (!data.beyondRange.empty()) {
        error = "the path data " + quoted(text) + ": " + data.beyondRange + " lies beyond the range of the drawing";
        return false;
    }
    if (data.subpaths.size() != 1 || data.subpaths[0].curves.empty()) {
        error = "the path data " + quoted(text) + " must be one subpath with at least one segment: a stroke is one drag";
        return false;
    }
    const svg::Subpath &path = data.subpaths[0];
    const bool closing = path.closed && path.current() != path.start;
    const size_t count = path.curves.size() + (closing ? 1 : 0);
    const svg::Cubic closingLine{path.current(), path.start, path.start};
    const auto curve = [&](size_t k) -> const svg::Cubic & { return k < path.curves.size() ? path.curves[k] : closingLine; };
    const auto startOf = [&](size_t k) { return k == 0 ? path.start : curve(k - 1).end; };

    const auto pieceEnd = [&](size_t k, int j) { return pointOn(startOf(k), curve(k), double(j) / kPiecesPerCurve); };
    const auto distance = [](const svg::Vec2 &a, const svg::Vec2 &b) { return std::hypot(b.x - a.x, b.y - a.y); };

    double length = 0;
    svg::Vec2 previous = path.start;
    for (size_t k = 0; k < count; ++k)
        for (int j = 1; j <= kPiecesPerCurve; ++j) {
            const svg::Vec2 p = pieceEnd(k, j);
            length += distance(previous, p);
            previous = p;
        }
    if (!std::isfinite(length)) {
        error = "the path data " + quoted(text) + " is longer than the drawing can measure";
        return false;
    }
    // The pieces walked again, in step with the points: the piece (curve k,
    // piece j) from `from` to `to` ends `after` along the path.
    size_t k = 0;
    int j = 1;
    svg::Vec2 from = path.start, to = pieceEnd(0, 1);
    double before = 0, after = distance(from, to);
    for (int i = 0; i <= steps; ++i) {
        const double wanted = length * i / steps;
        while (after < wanted && !(k + 1 == count && j == kPiecesPerCurve)) {
            if (++j > kPiecesPerCurve) {
                ++k;
                j = 1;
            }
            from = to;
            to = pieceEnd(k, j);
            before = after;
            after += distance(from, to);
        }
        const double span = after - before;
        const double t = span > 0 ? std::clamp((wanted - before) / span, 0.0, 1.0) : 1.0;
        const svg::Vec2 p = from + t * (to - from);
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
