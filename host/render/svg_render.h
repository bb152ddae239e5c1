// SVG drawn to pixels by librsvg, the renderer of Debian's rsvg-convert.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace smear::render {

struct Picture {
    int width = 0;
    int height = 0;
    // Premultiplied ARGB, one word per pixel, rows top to bottom.
    std::vector<uint32_t> pixels;
};

// What an SVG file's root says about its size, as librsvg reads it.
struct SvgFrame {
    double width = 0, height = 0;  // the intrinsic size in pixels
    bool sized = false;  // false: no size of its own (a stand-in size above)
    bool hasViewBox = false;
    double viewBox[4] = {0, 0, 0, 0};  // x, y, width, height
};

// Reads `svg` (a file's text; `baseFile` is where relative references such
// as images are looked up) and tells its frame. False, with `error`, when
// librsvg cannot read it.
bool svgFrame(const std::string &svg, const std::string &baseFile, SvgFrame &frame, std::string &error);

// Draws `svg` at its intrinsic size scaled by `scale` (whole pixels, at
// least one each way); a file without an intrinsic size is drawn at its
// viewBox size, else 100 x 100. False, with `error`, when librsvg cannot
// read or draw it or the picture would pass `maxPixels`.
bool renderSvg(const std::string &svg, const std::string &baseFile, double scale, size_t maxPixels,
               Picture &picture, std::string &error);

// The picture as the bytes of a PNG file (8-bit RGBA). False, with `error`,
// for an empty picture or when cairo cannot encode it.
bool encodePng(const Picture &picture, std::string &png, std::string &error);

}  // namespace smear::render
