// Meshes as SVG. A mesh is a mesh gradient in <defs> and a path along the
// mesh's outline filled with it (and with a flat fallback colour for
// renderers that draw no meshes), the way an SVG editor keeps one; the exact
// vertices ride along in data attributes. A preview draws each patch as
// small quads of interpolated colour instead, which every renderer shows.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "svg_bezier.h"
#include "svg_color_codec.h"
#include "svg_mesh.h"
#include "svg_write_internal.h"

namespace smear::svg {

namespace {

// Each patch of a preview is split into this many quads each way, fewer
// for large meshes so that a preview stays small.
constexpr int kPreviewSplit = 6;
constexpr double kPreviewQuadBudget = 200000;

Vec2 svgPoint(const MeshVertex &v) { return {v.point.h, -double(v.point.v)}; }

// The value the reader gets from a number as written.
double readBack(const std::string &text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// The mesh's vertex at gradient corner (row, col): vertex (col, row).
const MeshVertex &corner(const Art &art, int row, int col) {
    return art.vertices[size_t(col) * size_t(art.meshJ + 1) + size_t(row)];
}

size_t cornerIndex(const Art &art, MeshCorner c) { return size_t(c.row) * size_t(art.meshI + 1) + size_t(c.col); }

// The outline of the vertex grid: along the first row, down the last
// column, back along the last row and up the first column.
std::string outlineData(const Art &art) {
    std::vector<const MeshVertex *> ring;
    const int I = art.meshI, J = art.meshJ;
    for (int c = 0; c <= I; ++c) ring.push_back(&corner(art, 0, c));
    for (int r = 1; r <= J; ++r) ring.push_back(&corner(art, r, I));
    for (int c = I - 1; c >= 0; --c) ring.push_back(&corner(art, J, c));
    for (int r = J - 1; r >= 1; --r) ring.push_back(&corner(art, r, 0));
    std::string d;
    for (const MeshVertex *v : ring) {
        d += d.empty() ? "M" : " L";
        appendNumber(d, v->point.h);
        d += ' ';
        appendNumber(d, -double(v->point.v));
    }
    return d + " Z";
}

// The mean of the colours the vertices show: the fill of renderers
// without meshes.
std::string meanColour(const Art &art) {
    double sum[3] = {0, 0, 0};
    for (const MeshVertex &v : art.vertices) {
        checkColour(v.color);
        double rgb[3] = {0, 0, 0};
        displayRgb(v.color, rgb);
        for (int k = 0; k < 3; ++k) sum[k] += rgb[k];
    }
    const double n = double(art.vertices.size());
    const double mean[3] = {sum[0] / n, sum[1] / n, sum[2] / n};
    return hexColor(mean);
}

struct Rgb {
    double c[3] = {0, 0, 0};
};

Rgb shown(const AIColor &color) {
    checkColour(color);
    Rgb out;
    displayRgb(color, out.c);
    return out;
}

// Bilinear interpolation over a patch: a at (0, 0), b at (1, 0), c at (1, 1),
// d at (0, 1).
Vec2 bilinear(Vec2 a, Vec2 b, Vec2 c, Vec2 d, double u, double v) {
    return (1 - v) * ((1 - u) * a + u * b) + v * ((1 - u) * d + u * c);
}

Rgb bilinear(const Rgb &a, const Rgb &b, const Rgb &c, const Rgb &d, double u, double v) {
    Rgb out;
    for (int k = 0; k < 3; ++k)
        out.c[k] = (1 - v) * ((1 - u) * a.c[k] + u * b.c[k]) + v * ((1 - u) * d.c[k] + u * c.c[k]);
    return out;
}

}  // namespace

void Writer::writeMesh(const Art &art) {
    // A mesh without patches has no gradient to draw: its data alone.
    if (!isMeshGrid(art)) return writeMeshData(art);
    if (preview_) return naming("mesh", [&] { writeMeshPreview(art); });
    const std::string id = definitionId("smear-mesh", naming("mesh", [&] { return meshGradientMarkup(art); }));
    body_.start("path");
    writeCommon(art);
    body_.attr("d", naming("mesh points", [&] { return outlineData(art); }));
    body_.attr("fill", "url(#" + id + ") " + naming("mesh colours", [&] { return meanColour(art); }));
    writeMeshData(art);
    body_.end();
}

// The exact vertices: the mesh's size, every point (SVG coordinates) and
// every colour as a token. On a mesh without patches, an empty group that
// carries them (and the art's common attributes).
void Writer::writeMeshData(const Art &art) {
    const bool alone = !isMeshGrid(art);
    std::string points, colors;
    naming("mesh points", [&] {
        for (size_t k = 0; k < art.vertices.size(); ++k) {
            const MeshVertex &v = art.vertices[k];
            if (k) points += ' ';
            appendNumber(points, v.point.h);
            points += ',';
            appendNumber(points, -double(v.point.v));
        }
    });
    naming("mesh colours", [&] {
        for (size_t k = 0; k < art.vertices.size(); ++k) colors += (k ? " " : "") + encodeColor(art.vertices[k].color);
    });
    if (alone) {
        body_.start("g");
        writeCommon(art);
    }
    body_.attr("data-mesh", std::to_string(art.meshI) + "x" + std::to_string(art.meshJ));
    body_.attr("data-mesh-points", points);
    body_.attr("data-mesh-colors", colors);
    if (alone) body_.end();
}

std::string Writer::meshGradientMarkup(const Art &art) {
    const int rows = art.meshJ, cols = art.meshI;
    // Where the reader will find each corner: it adds the offsets as
    // written, so each edge runs from there and errors do not pile up
    // along a row.
    std::vector<Vec2> found(size_t(rows + 1) * size_t(cols + 1));
    std::vector<bool> known(found.size(), false);
    const Vec2 origin = svgPoint(corner(art, 0, 0));
    const std::string x0 = formatNumber(origin.x), y0 = formatNumber(origin.y);
    found[0] = {readBack(x0), readBack(y0)};
    known[0] = true;

    XmlOut x(2);
    x.start("meshgradient");
    x.attr("id", "@ID@");
    x.attr("gradientUnits", "userSpaceOnUse");
    x.attr("x", x0);
    x.attr("y", y0);
    for (int r = 0; r < rows; ++r) {
        x.start("meshrow");
        for (int c = 0; c < cols; ++c) {
            x.start("meshpatch");
            MeshEdge edges[4];
            const int n = patchEdges(r, c, false, edges);
            Vec2 pen = found[cornerIndex(art, edges[0].from)];
            for (int k = 0; k < n; ++k) {
                const MeshEdge &e = edges[k];
                // A straight edge: a cubic with its handles at a third and
                // two thirds of the way.
                const Vec2 to = svgPoint(corner(art, e.to.row, e.to.col));
                const Vec2 d = to - pen;
                const std::string dx = formatNumber(d.x), dy = formatNumber(d.y);
                std::string path = "c ";
                appendNumber(path, d.x / 3);
                path += ',';
                appendNumber(path, d.y / 3);
                path += ' ';
                appendNumber(path, 2 * d.x / 3);
                path += ',';
                appendNumber(path, 2 * d.y / 3);
                path += ' ' + dx + ',' + dy;
                pen = pen + Vec2{readBack(dx), readBack(dy)};
                const size_t end = cornerIndex(art, e.to);
                if (!known[end]) {
                    found[end] = pen;
                    known[end] = true;
                }
                x.start("stop");
                x.attr("path", path);
                if (e.givesColour) {
                    const AIColor &colour = corner(art, e.from.row, e.from.col).color;
                    checkColour(colour);
                    x.attr("style", "stop-color:" + meshStopColour(colour));
                }
                x.end();
            }
            x.end();
        }
        x.end();
    }
    return x.take();
}

void Writer::writeMeshPreview(const Art &art) {
    const int rows = art.meshJ, cols = art.meshI;
    const double patches = double(rows) * double(cols);
    const int split = std::max(1, std::min(kPreviewSplit, int(std::sqrt(kPreviewQuadBudget / patches))));
    // A hairline of each quad's own colour around it hides the seams that
    // anti-aliasing leaves between neighbours.
    AIRealRect bounds{};
    artBounds(art, bounds);
    const double area = std::fabs((double(bounds.right) - bounds.left) * (double(bounds.top) - bounds.bottom));
    const double quad = std::sqrt(area / (patches * split * split));
    body_.start("g");
    writeCommon(art);
    body_.attr("stroke-width", formatNumber(std::max(quad * 0.15, 1e-3)));
    body_.attr("stroke-linejoin", "round");
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const MeshVertex *v[4] = {&corner(art, r, c), &corner(art, r, c + 1), &corner(art, r + 1, c + 1),
                                      &corner(art, r + 1, c)};
            const Vec2 p[4] = {svgPoint(*v[0]), svgPoint(*v[1]), svgPoint(*v[2]), svgPoint(*v[3])};
            const Rgb k[4] = {shown(v[0]->color), shown(v[1]->color), shown(v[2]->color), shown(v[3]->color)};
            for (int a = 0; a < split; ++a)
                for (int b = 0; b < split; ++b) {
                    const double u0 = double(b) / split, u1 = double(b + 1) / split;
                    const double v0 = double(a) / split, v1 = double(a + 1) / split;
                    std::string d;
                    for (const auto &uv : {std::make_pair(u0, v0), std::make_pair(u1, v0), std::make_pair(u1, v1),
                                           std::make_pair(u0, v1)}) {
                        const Vec2 q = bilinear(p[0], p[1], p[2], p[3], uv.first, uv.second);
                        d += d.empty() ? "M" : " L";
                        appendNumber(d, q.x);
                        d += ' ';
                        appendNumber(d, q.y);
                    }
                    const Rgb colour = bilinear(k[0], k[1], k[2], k[3], (u0 + u1) / 2, (v0 + v1) / 2);
                    const std::string hex = hexColor(colour.c);
                    body_.start("path");
                    body_.attr("d", d + " Z");
                    body_.attr("fill", hex);
                    body_.attr("stroke", hex);
                    body_.end();
                }
        }
    body_.end();
}

}  // namespace smear::svg
