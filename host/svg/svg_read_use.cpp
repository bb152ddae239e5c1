// Images and <use> references: placed art and symbol art, a frame in their
// own space placed into the document by their matrix.
#include <algorithm>

#include "svg_read_internal.h"

namespace smear::svg {

Art *readImage(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    const double x = ctx.lengthAttr(node, "x", Axis::kX, style.fontSize, 0);
    const double y = ctx.lengthAttr(node, "y", Axis::kY, style.fontSize, 0);
    const double w = ctx.lengthAttr(node, "width", Axis::kX, style.fontSize, -1);
    const double h = ctx.lengthAttr(node, "height", Axis::kY, style.fontSize, -1);
    if (w < 0 || h < 0) ctx.problem(node, "has no width or height; kept with an empty frame");
    Art *art = newLinkedArt(ctx, kPlacedArt, container);
    art->style.fillPaint = 0;
    art->style.strokePaint = 0;
    setCommon(ctx, *art, node, style);
    art->href = ctx.href(node).value();
    const double ww = std::max(0.0, w), hh = std::max(0.0, h);
    art->frame = {AIReal(x), AIReal(-y), AIReal(x + ww), AIReal(-(y + hh))};
    art->matrix = toDocumentMatrix(ctm);
    return art;
}

Art *readUse(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    const std::string id = ctx.hrefId(node);
    const pugi::xml_node target = ctx.byId(id);
    if (!target) {
        const std::string href = ctx.href(node).value();
        ctx.problem(node, !id.empty()     ? "refers to #" + id + ", which does not exist; skipped"
                          : href.empty() ? "refers to nothing; skipped"
                                         : "refers to " + href + ", outside this file; skipped");
        return nullptr;
    }
    for (pugi::xml_node p = node; p; p = p.parent())
        if (p == target) {
            ctx.problem(node, "refers to #" + id + ", which contains it; skipped");
            return nullptr;
        }
    const std::string kind = ctx.localName(target);
    const double fs = style.fontSize;
    Affine place = ctm * Affine::translate(ctx.lengthAttr(node, "x", Axis::kX, fs, 0),
                                           ctx.lengthAttr(node, "y", Axis::kY, fs, 0));
    Box box;
    const bool viewport = kind == "symbol" || kind == "svg";
    ctx.quiet = true;  // the target reports its own problems where it is drawn
    if (viewport) {
        double vb[4];
        if (parseViewBox(target.attribute("viewBox").value(), vb)) {
            const double w = ctx.lengthAttr(node, "width", Axis::kX, fs, ctx.viewportWidth);
            const double h = ctx.lengthAttr(node, "height", Axis::kY, fs, ctx.viewportHeight);
            place = place * viewBoxTransform(vb, w, h, target.attribute("preserveAspectRatio").value());
        }
        for (pugi::xml_node c : target.children())
            if (c.type() == pugi::node_element) addContentBounds(ctx, c, Affine{}, box, 0);
    } else {
        box = contentBounds(ctx, target, 0);
    }
    ctx.quiet = false;
    if (ctx.expanded >= kSvgMaxExpanded) {
        ctx.problem(node, "what it shows, with the references in it, comes to more than " +
                                  std::to_string(kSvgMaxExpanded) + " elements; kept without a frame");
        box = Box{};
    }

    // A target that is drawn where it stands is kept as a copy under an id
    // of its own, so that the art written for it and the copy differ.
    std::string kept = id;
    const bool drawn = isRendered(ctx, target);
    if (drawn) {
        kept = id + "-source";
        for (int k = 2; ctx.byId(kept) && k < 1000; ++k) kept = id + "-source" + std::to_string(k);
    }
    std::vector<std::string> drop;
    if (viewport) drop = {"viewBox", "preserveAspectRatio", "x", "y", "width", "height", "refX", "refY"};
    keepDefinition(ctx, target, kept, viewport, drawn, {}, drop);

    double opacityFactor = 1;
    const AIPathStyle pathStyle = makePathStyle(ctx, node, style, ctm, box, opacityFactor);
    Art *art = newLinkedArt(ctx, kSymbolArt, container);
    // The use's paint is what its content inherits; it is not folded into opacity.
    art->style = pathStyle;
    setCommon(ctx, *art, node, style);
    art->href = kept;
    if (!box.empty) art->frame = {AIReal(box.minX), AIReal(-box.minY), AIReal(box.maxX), AIReal(-box.maxY)};
    art->matrix = toDocumentMatrix(place);
    return art;
}

}  // namespace smear::svg
