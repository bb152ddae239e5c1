// Paths and basic shapes become path art (a compound path when there are
// several subpaths) that keeps the element's own transform; shapes filled
// with a mesh gradient become mesh art (svg_read_mesh.cpp).
#include <algorithm>
#include <cmath>

#include "svg_bezier.h"
#include "svg_color_codec.h"
#include "svg_numbers.h"
#include "svg_read_internal.h"
#include "svg_shapes.h"

namespace smear::svg {

namespace {

bool pointList(Context &ctx, pugi::xml_node node, std::vector<Vec2> &points) {
    std::vector<double> values;
    const bool ok = parseNumberList(node.attribute("points").value(), values);
    if (!ok) ctx.problem(node, "points has something that is not a number; the points before it are kept");
    if (values.size() % 2) {
        ctx.problem(node, "points has an odd number of coordinates; the last one is ignored");
        values.pop_back();
    }
    for (size_t i = 0; i + 1 < values.size(); i += 2) points.push_back({values[i], values[i + 1]});
    return ok;
}

// Tags of the members of a compound path the writer wrote: data-child<k>-<name>.
bool memberTag(const std::string &attr, size_t &member, std::string &name) {
    if (attr.compare(0, 10, "data-child") != 0) return false;
    size_t i = 10, k = 0;
    bool digits = false;
    while (i < attr.size() && attr[i] >= '0' && attr[i] <= '9') {
        k = k * 10 + size_t(attr[i++] - '0');
        digits = true;
    }
    if (!digits || i >= attr.size() || attr[i] != '-' || i + 1 >= attr.size()) return false;
    member = k;
    name = attr.substr(i + 1);
    return true;
}

std::vector<std::string> splitSpaces(const std::string &text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        size_t j = i;
        while (j < text.size() && text[j] != ' ') ++j;
        if (j > i) out.push_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

// A subpath that is a lone moveto draws nothing and is not kept: said
// once for the element, with the member ids the writer noted for them.
void reportLoneMovetos(Context &ctx, pugi::xml_node node, const std::vector<Subpath> &outline,
                       const std::vector<std::string> &ids) {
    size_t lone = 0;
    std::string named;
    for (size_t k = 0; k < outline.size(); ++k) {
        if (drawsSomething(outline[k])) continue;
        ++lone;
        if (k < ids.size() && ids[k] != "~") named += (named.empty() ? " (members " : ", ") + decodeName(ids[k]);
    }
    if (!lone) return;
    ctx.problem(node, (lone == 1 ? std::string("a subpath is a lone moveto, which draws")
                                 : std::to_string(lone) + " subpaths are a lone moveto, which draw") +
                          " nothing; not kept" + (named.empty() ? "" : named + ")"));
}

}  // namespace

bool shapeOutline(Context &ctx, pugi::xml_node node, const std::string &name, double fontSize,
                  std::vector<Subpath> &out, std::string &reason) {
    auto len = [&](const char *attr, Axis axis) { return ctx.lengthAttr(node, attr, axis, fontSize, 0); };
    auto has = [&](const char *attr) { return !node.attribute(attr).empty(); };
    if (name == "path") {
        const char *d = node.attribute("d").value();
        PathData data = parsePathData(d);
        if (!data.beyondRange.empty()) return reason = beyondRange("d", data.beyondRange), false;
        if (!data.error.empty()) ctx.problem(node, "path data: " + data.error + "; the path up to there is kept");
        out = std::move(data.subpaths);
    } else if (name == "rect") {
        const double w = len("width", Axis::kX), h = len("height", Axis::kY);
        if (w < 0 || h < 0) return reason = std::string(w < 0 ? "width" : "height") + " is negative", false;
        if (w == 0 || h == 0) return reason = std::string(w == 0 ? "width" : "height") + " is zero", false;
        double rx = len("rx", Axis::kX), ry = len("ry", Axis::kY);
        if (rx < 0 || ry < 0) return reason = std::string(rx < 0 ? "rx" : "ry") + " is negative", false;
        // One radius given stands for both.
        if (has("rx") && !has("ry")) ry = rx;
        if (has("ry") && !has("rx")) rx = ry;
        rx = std::min(rx, w / 2);
        ry = std::min(ry, h / 2);
        out.push_back(rectOutline(len("x", Axis::kX), len("y", Axis::kY), w, h, rx, ry));
    } else if (name == "circle") {
        const double r = len("r", Axis::kOther);
        if (r < 0) return reason = "r is negative", false;
        if (r == 0) return reason = "r is zero", false;
        out.push_back(ellipseOutline(len("cx", Axis::kX), len("cy", Axis::kY), r, r));
    } else if (name == "ellipse") {
        double rx = len("rx", Axis::kX), ry = len("ry", Axis::kY);
        if (rx < 0 || ry < 0) return reason = std::string(rx < 0 ? "rx" : "ry") + " is negative", false;
        if (has("rx") && !has("ry")) ry = rx;
        if (has("ry") && !has("rx")) rx = ry;
        if (rx == 0 || ry == 0) return reason = "a radius is zero", false;
        out.push_back(ellipseOutline(len("cx", Axis::kX), len("cy", Axis::kY), rx, ry));
    } else if (name == "line") {
        out.push_back(polyOutline({{len("x1", Axis::kX), len("y1", Axis::kY)}, {len("x2", Axis::kX), len("y2", Axis::kY)}},
                                  false));
    } else if (name == "polyline" || name == "polygon") {
        std::vector<Vec2> points;
        pointList(ctx, node, points);
        if (points.size() < 2) return reason = "has fewer than two points", false;
        out.push_back(polyOutline(points, name == "polygon"));
    }
    const bool draws = std::any_of(out.begin(), out.end(), drawsSomething);
    if (!draws) {
        reason = name == "path" && node.attribute("d").empty() ? "has no path data" : "draws nothing";
        return false;
    }
    return true;
}

Art *readShape(Context &ctx, pugi::xml_node node, const std::string &name, const Style &style, const Affine &ctm,
               const Affine &own, Art *container) {
    if (isMeshFilled(ctx, node, style)) return readMeshShape(ctx, node, name, style, ctm, container);
    std::vector<Subpath> outline;
    std::string reason;
    if (!shapeOutline(ctx, node, name, style.fontSize, outline, reason)) {
        ctx.problem(node, reason + "; skipped");
        return nullptr;
    }
    // Numbers that each fit may still add up, or be transformed, past what
    // the document holds.
    if (!outlineFits(outline, ctm)) {
        ctx.problem(node, std::string(kBeyondDrawing) + "; skipped");
        return nullptr;
    }
    std::vector<DocumentPath> paths = toDocumentPaths(outline, ctm);
    double opacityFactor = 1;
    // The writer places the paint of a path it writes in the element's own
    // coordinates, mapped there from the document's: its records of that
    // paint are the document's own.
    (void)own;
    const Affine tokenSpace;
    const Box localBox = curveBounds(outline, Affine{});
    double alphas[2] = {1, 1};
    const AIPathStyle pathStyle = makePathStyle(ctx, node, style, ctm, localBox, opacityFactor, &tokenSpace, alphas);

    // A compound path the writer wrote names its members: it stays one
    // however many of them are left.
    const std::vector<std::string> ids = splitSpaces(node.attribute("data-children").value());
    const bool compound = paths.size() > 1 || !ids.empty();
    Art *art = newLinkedArt(ctx, compound ? kCompoundPathArt : kPathArt, container);
    art->style = pathStyle;
    art->svgTransform = toDocumentMatrix(own);
    setCommon(ctx, *art, node, style);
    art->opacity = AIReal(art->opacity * opacityFactor);
    if (ctx.source && art->sourceElement >= 0) {
        SvgReadShape &read = ctx.source->shapes[art->sourceElement];
        read.localBox = localBox;
        read.fillUrl = style.fill.kind == Paint::kUrl ? style.fill.url : std::string();
        read.strokeUrl = style.stroke.kind == Paint::kUrl ? style.stroke.url : std::string();
        read.fillOpacity = style.fillOpacity;
        read.strokeOpacity = style.strokeOpacity;
        read.fillAlpha = alphas[0];
        read.strokeAlpha = alphas[1];
    }
    if (!compound) {
        art->segments = std::move(paths[0].segments);
        art->closed = paths[0].closed;
        reportLoneMovetos(ctx, node, outline, ids);
        return art;
    }
    // Members keep the ids and tags the writer noted for them, one per
    // subpath, lone movetos included.
    std::vector<Art *> bySubpath(outline.size(), nullptr);
    for (DocumentPath &path : paths) {
        Art *member = newLinkedArt(ctx, kPathArt, art);
        member->style = pathStyle;
        member->segments = std::move(path.segments);
        member->closed = path.closed;
        if (path.subpath < ids.size()) member->id = decodeName(ids[path.subpath]);
        bySubpath[path.subpath] = member;
    }
    for (const pugi::xml_attribute a : node.attributes()) {
        size_t k;
        std::string tag;
        if (memberTag(a.name(), k, tag) && k < bySubpath.size() && bySubpath[k])
            bySubpath[k]->tags.set(tag, "string", a.value());
    }
    reportLoneMovetos(ctx, node, outline, ids);
    return art;
}

}  // namespace smear::svg
