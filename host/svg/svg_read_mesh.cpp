// Gradient meshes: a shape filled with an SVG 2 mesh gradient (as an SVG
// editor or the writer leaves it) becomes mesh art, its vertices the
// patches' corners and its colours the stops'. The writer's exact data
// (data-mesh, data-mesh-points, data-mesh-colors) is taken for each vertex
// the gradient still shows the same, so an editor's change wins. Groups of
// that data alone (files of earlier versions) are read too.
#include <algorithm>
#include <cmath>

#include "svg_bezier.h"
#include "svg_color_codec.h"
#include "svg_mesh.h"
#include "svg_numbers.h"
#include "svg_read_internal.h"

namespace smear::svg {

namespace {

bool isMeshGradient(Context &ctx, pugi::xml_node node) {
    return node && lower(ctx.localName(node)) == "meshgradient";
}

bool isNamed(Context &ctx, pugi::xml_node node, const char *lowerName) {
    return node.type() == pugi::node_element && lower(ctx.localName(node)) == lowerName;
}

std::vector<std::string> splitSpaces(const std::string &text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i])) ++i;
        size_t j = i;
        while (j < text.size() && !isSpace(text[j])) ++j;
        if (j > i) out.push_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

// ---- The writer's data

struct MeshData {
    int I = 0, J = 0;
    std::vector<MeshVertex> vertices;
};

// A whole number of patches, 0 .. 1000000, from its text.
bool patchCount(const std::string &text, int &out) {
    double v = -1;
    if (!parseNumber(text, v) || !(v >= 0) || v > 1e6 || v != std::floor(v)) return false;
    out = int(v);
    return true;
}

// The data attributes of `node`, points mapped by `ctm` into document space.
// False with a reason when they are missing or do not fit together.
bool readMeshData(Context &ctx, pugi::xml_node node, const Affine &ctm, MeshData &out, std::string &reason) {
    const std::string size = node.attribute("data-mesh").value();
    const size_t x = size.find('x');
    if (x == std::string::npos || !patchCount(size.substr(0, x), out.I) || !patchCount(size.substr(x + 1), out.J)) {
        reason = "mesh size \"" + size + "\" is not two whole numbers of patches";
        return false;
    }
    const size_t across = size_t(out.I) + 1, down = size_t(out.J) + 1;
    if (down > kMaxMeshVertices / across) {
        reason = "mesh of " + size + " patches is larger than this reader takes (" +
                 std::to_string(kMaxMeshVertices) + " vertices)";
        return false;
    }
    const size_t count = across * down;
    std::vector<double> coords;
    const bool coordsOk = parseNumberList(node.attribute("data-mesh-points").value(), coords);
    const std::vector<std::string> colors = splitSpaces(node.attribute("data-mesh-colors").value());
    if (!coordsOk || coords.size() != 2 * count || colors.size() != count) {
        reason = "mesh \"" + size + "\" does not have one point and one colour per vertex";
        return false;
    }
    out.vertices.resize(count);
    for (size_t k = 0; k < count; ++k) {
        MeshVertex &v = out.vertices[k];
        const Vec2 p = ctm.apply({coords[2 * k], coords[2 * k + 1]});
        if (!fitsDrawing(p.x) || !fitsDrawing(p.y)) {
            reason = "mesh \"" + size + "\" has a point that " + kBeyondDrawing;
            return false;
        }
        v.point = {AIReal(p.x), AIReal(-p.y)};
        if (!decodeColor(colors[k], ctx.doc, v.color)) {
            ctx.problem(node, "mesh colour \"" + colors[k] + "\" is not understood; black is used");
            v.color = AIColor{};
            v.color.kind = kGrayColor;
            v.color.c.g.gray = 1;
        }
    }
    return true;
}

Art *meshArt(Context &ctx, pugi::xml_node node, const Style &style, Art *container, MeshData &&data) {
    Art *art = newLinkedArt(ctx, kMeshArt, container);
    setCommon(ctx, *art, node, style);
    art->meshI = data.I;
    art->meshJ = data.J;
    art->vertices = std::move(data.vertices);
    return art;
}

// ---- Mesh gradients

// What a mesh gradient draws, in its own space: the corners of
// (rows + 1) x (cols + 1), row by row, and their colours.
struct GradientMesh {
    int rows = 0, cols = 0;
    std::vector<Vec2> corners;
    std::vector<CssColor> colours;
    bool curved = false;       // some edge is not straight
    bool translucent = false;  // some stop has an opacity below 1
};

// Follows one edge's path from `start`: c, C, l and L commands, each
// repeating its numbers as often as the path likes. False for anything
// else, or a path without a segment.
bool followEdge(std::string_view text, Vec2 start, Vec2 &end, bool &curved) {
    Scanner s(text);
    Vec2 at = start;
    char command = 0;
    int segments = 0;
    s.skipSpace();
    while (!s.atEnd()) {
        const char c = s.peek();
        if (c == 'c' || c == 'C' || c == 'l' || c == 'L') {
            command = c;
            s.advance();
            s.skipSpace();
        } else if (!command || !s.atNumber()) {
            return false;
        }
        const bool cubic = command == 'c' || command == 'C', relative = command == 'c' || command == 'l';
        double v[6];
        const int n = cubic ? 6 : 2;
        for (int k = 0; k < n; ++k) {
            if (!s.number(v[k])) return false;
            s.skipCommaSpace();
        }
        const Vec2 base = relative ? at : Vec2{};
        const Vec2 to = base + Vec2{v[n - 2], v[n - 1]};
        if (cubic) {
            // Straight when both handles lie on the chord.
            const Vec2 chord = to - at;
            const double length = std::hypot(chord.x, chord.y), tol = 1e-4 * std::max(1.0, length);
            for (const Vec2 handle : {base + Vec2{v[0], v[1]}, base + Vec2{v[2], v[3]}}) {
                const Vec2 h = handle - at;
                const double off = length > 0 ? std::fabs(chord.x * h.y - chord.y * h.x) / length : std::hypot(h.x, h.y);
                if (off > tol) curved = true;
            }
        }
        at = to;
        ++segments;
    }
    if (!segments || !std::isfinite(at.x) || !std::isfinite(at.y)) return false;
    end = at;
    return true;
}

std::string patchName(int r, int c) {
    return "patch " + std::to_string(c + 1) + " of row " + std::to_string(r + 1);
}

// Reads the rows of `owner` into `out`, the first corner at `origin`.
// False with a reason for a mesh that is not whole.
bool readRows(Context &ctx, pugi::xml_node owner, Vec2 origin, GradientMesh &out, std::string &reason) {
    std::vector<std::vector<pugi::xml_node>> rows;
    for (pugi::xml_node r : owner.children()) {
        if (!isNamed(ctx, r, "meshrow")) continue;
        rows.emplace_back();
        for (pugi::xml_node p : r.children())
            if (isNamed(ctx, p, "meshpatch")) rows.back().push_back(p);
        if (rows.back().empty()) return reason = "row " + std::to_string(rows.size()) + " has no patches", false;
        if (rows.back().size() != rows.front().size())
            return reason = "its rows have different numbers of patches (" + std::to_string(rows.front().size()) +
                            " and " + std::to_string(rows.back().size()) + ")",
                   false;
        if (rows.size() + 1 > kMaxMeshVertices / (rows.front().size() + 1))
            return reason = "it is larger than this reader takes (" + std::to_string(kMaxMeshVertices) +
                            " vertices)",
                   false;
    }
    if (rows.empty()) return reason = "it has no rows", false;
    out.rows = int(rows.size());
    out.cols = int(rows.front().size());
    const size_t across = size_t(out.cols) + 1;
    out.corners.assign(across * size_t(out.rows + 1), Vec2{});
    out.colours.assign(out.corners.size(), CssColor{});
    std::vector<bool> placed(out.corners.size(), false), coloured(out.corners.size(), false);
    auto index = [&](MeshCorner c) { return size_t(c.row) * across + size_t(c.col); };
    out.corners[0] = origin;
    placed[0] = true;

    for (int r = 0; r < out.rows; ++r)
        for (int c = 0; c < out.cols; ++c) {
            std::vector<pugi::xml_node> stops;
            for (pugi::xml_node s : rows[size_t(r)][size_t(c)].children())
                if (isNamed(ctx, s, "stop")) stops.push_back(s);
            // The stops its place in the mesh needs, or all four edges.
            MeshEdge edges[4];
            int n = patchEdges(r, c, false, edges);
            if (int(stops.size()) == 4 && n < 4) n = patchEdges(r, c, true, edges);
            if (int(stops.size()) != n)
                return reason = patchName(r, c) + " has " + std::to_string(stops.size()) + " stops where it needs " +
                                std::to_string(n),
                       false;
            if (!placed[index(edges[0].from)]) return reason = patchName(r, c) + " starts at no known corner", false;
            Vec2 pen = out.corners[index(edges[0].from)];
            for (int k = 0; k < n; ++k) {
                const MeshEdge &e = edges[k];
                const std::string path = stops[size_t(k)].attribute("path").value();
                Vec2 end;
                if (!followEdge(path, pen, end, out.curved))
                    return reason = patchName(r, c) + " has an edge path \"" + path + "\" that is not understood",
                           false;
                if (!placed[index(e.to)]) {
                    out.corners[index(e.to)] = end;
                    placed[index(e.to)] = true;
                }
                pen = end;
                if (e.givesColour && !coloured[index(e.from)]) {
                    double opacity = 1;
                    stopColour(ctx, stops[size_t(k)], out.colours[index(e.from)], opacity);
                    coloured[index(e.from)] = true;
                    if (opacity < 1) out.translucent = true;
                }
            }
        }
    return true;
}

// The mesh gradient `node` names and those it names by href: attributes
// from the first that has them, rows from the first with rows.
std::vector<pugi::xml_node> meshChain(Context &ctx, pugi::xml_node node) {
    std::vector<pugi::xml_node> chain;
    while (isMeshGradient(ctx, node) && chain.size() < 32 &&
           std::find(chain.begin(), chain.end(), node) == chain.end()) {
        chain.push_back(node);
        node = ctx.byId(ctx.hrefId(node));
    }
    return chain;
}

pugi::xml_attribute chainAttr(const std::vector<pugi::xml_node> &chain, const char *name) {
    for (pugi::xml_node n : chain)
        if (!n.attribute(name).empty()) return n.attribute(name);
    return {};
}

// x or y of a mesh gradient: a length in user space, a number or a
// percentage of the box in bounding-box units.
double origin(Context &ctx, pugi::xml_attribute a, bool boxUnits, Axis axis) {
    std::string text = a.value();
    double v = 0;
    if (a.empty()) return 0;
    if (boxUnits) {
        const bool percent = !text.empty() && text.back() == '%';
        if (percent) text.pop_back();
        return parseNumber(text, v) ? (percent ? v / 100 : v) : 0;
    }
    return ctx.length(text, axis, 16, v) ? v : 0;
}

// The mesh the gradient `ref` draws on a shape of box `box` (its own user
// space) through `ctm`, corners in document space. False with a reason.
bool readMeshGradient(Context &ctx, pugi::xml_node ref, const Affine &ctm, const Box &box, GradientMesh &out,
                      std::string &reason) {
    const std::vector<pugi::xml_node> chain = meshChain(ctx, ref);
    pugi::xml_node owner;
    for (pugi::xml_node n : chain)
        if (!owner && n.find_child([&](pugi::xml_node c) { return isNamed(ctx, c, "meshrow"); })) owner = n;
    if (!owner) return reason = "it has no rows", false;
    const bool boxUnits = std::string(chainAttr(chain, "gradientUnits").value()) == "objectBoundingBox";
    Affine g = ctm;
    if (boxUnits) {
        if (box.empty || box.width() <= 0 || box.height() <= 0)
            return reason = "it is in bounding-box units on a shape without area", false;
        g = g * Affine{box.width(), 0, 0, box.height(), box.minX, box.minY};
    }
    const pugi::xml_attribute transform = chainAttr(chain, "gradientTransform");
    if (!transform.empty()) {
        Affine t;
        if (!parseTransformList(transform.value(), t))
            return reason = "its gradientTransform \"" + std::string(transform.value()) + "\" is not understood", false;
        g = g * t;
    }
    const Vec2 start{origin(ctx, chainAttr(chain, "x"), boxUnits, Axis::kX),
                     origin(ctx, chainAttr(chain, "y"), boxUnits, Axis::kY)};
    if (!readRows(ctx, owner, start, out, reason)) return false;
    for (Vec2 &p : out.corners) {
        p = Affine::flip().apply(g.apply(p));
        if (!fitsDrawing(p.x) || !fitsDrawing(p.y))
            return reason = "a corner lies outside the plane", false;
    }
    return true;
}

// Where the gradient and the writer's data show the same vertex (points
// within a small tolerance, the same colour on screen), the data's exact
// point and colour; elsewhere the gradient's.
std::vector<MeshVertex> mergeWithData(const GradientMesh &mesh, const MeshData *data) {
    const size_t across = size_t(mesh.cols) + 1;
    std::vector<MeshVertex> vertices(mesh.corners.size());
    double extent = 0;
    for (const Vec2 &p : mesh.corners)
        extent = std::max({extent, std::fabs(p.x - mesh.corners[0].x), std::fabs(p.y - mesh.corners[0].y)});
    const double tol = std::max(1e-3, 1e-5 * extent);
    for (int i = 0; i <= mesh.cols; ++i)
        for (int j = 0; j <= mesh.rows; ++j) {
            const size_t corner = size_t(j) * across + size_t(i);
            const size_t k = size_t(i) * size_t(mesh.rows + 1) + size_t(j);
            MeshVertex &v = vertices[k];
            const Vec2 p = mesh.corners[corner];
            const CssColor &c = mesh.colours[corner];
            v.point = {AIReal(p.x), AIReal(p.y)};
            v.color.kind = kThreeColor;
            v.color.c.rgb = {AIReal(c.r), AIReal(c.g), AIReal(c.b)};
            if (!data) continue;
            const MeshVertex &kept = data->vertices[k];
            if (std::fabs(kept.point.h - p.x) <= tol && std::fabs(kept.point.v - p.y) <= tol) v.point = kept.point;
            const double rgb[3] = {c.r, c.g, c.b};
            if (meshStopColour(kept.color) == hexColor(rgb)) v.color = kept.color;
        }
    return vertices;
}

}  // namespace

bool isMeshFilled(Context &ctx, pugi::xml_node node, const Style &style) {
    if (style.fill.kind != Paint::kUrl) return false;
    const pugi::xml_node ref = ctx.byId(style.fill.url);
    return isMeshGradient(ctx, ref) || (!ref && !node.attribute("data-mesh").empty());
}

Art *readMeshShape(Context &ctx, pugi::xml_node node, const std::string &name, const Style &style,
                   const Affine &ctm, Art *container) {
    const pugi::xml_node ref = ctx.byId(style.fill.url);
    MeshData data;
    std::string dataReason;
    const bool hasData = !node.attribute("data-mesh").empty() && readMeshData(ctx, node, ctm, data, dataReason);
    const std::string gradient = "mesh gradient #" + style.fill.url;
    if (!ref) {
        // The gradient is gone, the writer's data is not.
        ctx.problem(node, "fill refers to #" + style.fill.url + ", which does not exist; " +
                              (hasData ? "the mesh kept with the element is used" : dataReason + "; skipped"));
        return hasData ? meshArt(ctx, node, style, container, std::move(data)) : nullptr;
    }
    std::vector<Subpath> outline;
    std::string reason;
    GradientMesh mesh;
    if (!shapeOutline(ctx, node, name, style.fontSize, outline, reason) ||
        !readMeshGradient(ctx, ref, ctm, curveBounds(outline, Affine{}), mesh, reason)) {
        if (hasData) {
            ctx.problem(node, gradient + ": " + reason + "; the mesh kept with the element is used");
            return meshArt(ctx, node, style, container, std::move(data));
        }
        ctx.problem(node, gradient + ": " + reason + "; skipped");
        return nullptr;
    }
    const bool dataFits = hasData && data.I == mesh.cols && data.J == mesh.rows;
    MeshData read;
    read.I = mesh.cols;
    read.J = mesh.rows;
    read.vertices = mergeWithData(mesh, dataFits ? &data : nullptr);
    Art *art = meshArt(ctx, node, style, container, std::move(read));
    art->opacity = AIReal(art->opacity * style.fillOpacity);
    if (mesh.curved) ctx.problem(node, gradient + " has curved patch edges; they are kept as straight lines");
    if (mesh.translucent) ctx.problem(node, gradient + " has stops with an opacity below 1; they are kept opaque");
    if (style.stroke.kind != Paint::kNone) ctx.problem(node, "the stroke of a mesh is not kept");
    return art;
}

Art *readMesh(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    MeshData data;
    std::string reason;
    if (!readMeshData(ctx, node, ctm, data, reason)) {
        ctx.problem(node, reason + "; skipped");
        return nullptr;
    }
    return meshArt(ctx, node, style, container, std::move(data));
}

}  // namespace smear::svg
