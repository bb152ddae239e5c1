#include "icon_svg.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <vector>

#include "resources.h"

namespace smear {

namespace {

uint32_t word32(const std::vector<uint8_t> &b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t word16(const std::vector<uint8_t> &b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

struct Pixel {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Pixel &o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// Rows of a DIB are padded to whole 32-bit words.
size_t rowBytes(long width, int bits) { return size_t((width * bits + 31) / 32 * 4); }

}  // namespace

bool drawIconSvg(const IconImage &icon, std::string &svg, std::string &error) {
    const std::vector<uint8_t> &d = icon.data;
    if (d.size() < 40 || word32(d, 0) < 40) {
        error = "icon " + std::to_string(icon.id) + ": no bitmap header";
        return false;
    }
    const size_t header = word32(d, 0);
    const long width = long(int32_t(word32(d, 4)));
    // The height counts the colour image and the mask, one above the other.
    const long height = long(int32_t(word32(d, 8))) / 2;
    const int bits = word16(d, 14);
    const uint32_t compression = word32(d, 16);
    uint32_t colors = word32(d, 32);
    if (width <= 0 || height <= 0 || width > 256 || height > 256 || compression != 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
        error = "icon " + std::to_string(icon.id) + ": not an uncompressed bitmap of 1, 4, 8, 24 or 32 bits";
        return false;
    }
    if (bits <= 8 && colors == 0) colors = 1u << bits;
    if (bits > 8) colors = 0;
    const size_t palette = header;
    const size_t pixels = palette + size_t(colors) * 4;
    const size_t xorRow = rowBytes(width, bits), andRow = rowBytes(width, 1);
    const size_t mask = pixels + xorRow * size_t(height);
    if (colors > 256 || header > d.size() || mask + andRow * size_t(height) > d.size()) {
        error = "icon " + std::to_string(icon.id) + ": the bitmap is shorter than its header says";
        return false;
    }
    std::vector<Pixel> image(size_t(width * height));
    for (long y = 0; y < height; ++y) {
        // Rows run from the bottom up.
        const size_t row = pixels + xorRow * size_t(height - 1 - y);
        const size_t maskRow = mask + andRow * size_t(height - 1 - y);
        for (long x = 0; x < width; ++x) {
            Pixel p;
            if (bits <= 8) {
                const size_t bit = size_t(x) * size_t(bits);
                const unsigned index = (d[row + bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= colors) {
                    error = "icon " + std::to_string(icon.id) + ": a pixel names a colour beyond the palette";
                    return false;
                }
                const size_t c = palette + index * 4;
                p = Pixel{d[c + 2], d[c + 1], d[c], 255};
            } else {
                const size_t c = row + size_t(x) * size_t(bits / 8);
                p = Pixel{d[c + 2], d[c + 1], d[c], uint8_t(bits == 32 ? d[c + 3] : 255)};
            }
            const bool transparent = (d[maskRow + size_t(x) / 8] >> (7 - x % 8)) & 1;
            if (transparent && bits != 32) p = Pixel{};
            image[size_t(y * width + x)] = p;
        }
    }
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << width << " " << height << "\" width=\""
        << width << "\" height=\"" << height << "\" shape-rendering=\"crispEdges\">\n";
    for (long y = 0; y < height; ++y) {
        for (long x = 0; x < width;) {
            const Pixel p = image[size_t(y * width + x)];
            long end = x + 1;
            while (end < width && image[size_t(y * width + end)] == p) ++end;
            if (p.a != 0) {
                char colour[8];
                std::snprintf(colour, sizeof colour, "#%02x%02x%02x", p.r, p.g, p.b);
                out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << end - x << "\" height=\"1\" fill=\""
                    << colour << "\"";
                if (p.a != 255) out << " fill-opacity=\"" << double(p.a) / 255 << "\"";
                out << "/>\n";
            }
            x = end;
        }
    }
    out << "</svg>\n";
    svg = out.str();
    return true;
}

}  // namespace smear
