// Text: a text element becomes text art, also when its tspans place lines
// of their own in its paint (an editor's text of several lines), or a group
// of text art, one per line, when lines paint themselves.
#include "svg_bezier.h"
#include "svg_read_internal.h"

namespace smear::svg {

namespace {

size_t codePoints(const std::string &s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xc0) != 0x80;
    return n;
}

// The first number of an x or y list.
bool firstCoordinate(Context &ctx, pugi::xml_node node, const char *name, Axis axis, double fontSize, double &out) {
    const std::string v = node.attribute(name).value();
    if (v.empty()) return false;
    size_t end = v.find_first_of(", \t\n\r");
    return ctx.length(std::string_view(v).substr(0, end == std::string::npos ? v.size() : end), axis, fontSize, out);
}

// A run of text that starts where a text element or an absolutely placed
// tspan puts it, in the style of that element.
struct Chunk {
    std::string raw;
    double x = 0, y = 0;
    Style style;
    pugi::xml_node node;
};

// Splits a text element into chunks at every tspan with its own x or y, in
// document order; text after a nested tspan continues the chunk it is in.
void gatherChunks(Context &ctx, pugi::xml_node node, const Style &style, std::vector<Chunk> &chunks,
                  bool &relative, int depth) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            chunks.back().raw += c.value();
            continue;
        }
        if (c.type() != pugi::node_element || depth >= 32) continue;
        const std::string name = ctx.localName(c);
        if (name != "tspan" && name != "textPath" && name != "a" && name != "altGlyph") continue;
        if (name == "textPath") ctx.problem(c, "text on a path is kept on a straight line");
        const Style cs = ctx.computeStyle(c, style);
        double x, y;
        const bool hasX = firstCoordinate(ctx, c, "x", Axis::kX, cs.fontSize, x);
        const bool hasY = firstCoordinate(ctx, c, "y", Axis::kY, cs.fontSize, y);
        if (hasX || hasY) {
            const Chunk &last = chunks.back();
            Chunk next;
            next.x = hasX ? x : last.x;
            next.y = hasY ? y : last.y;
            // A shift given with the place moves the line's first letter.
            double d;
            if (firstCoordinate(ctx, c, "dx", Axis::kX, cs.fontSize, d)) next.x += d;
            if (firstCoordinate(ctx, c, "dy", Axis::kY, cs.fontSize, d)) next.y += d;
            next.style = cs;
            next.node = c;
            // An empty first chunk is replaced: the tspan places the text.
            if (chunks.size() == 1 && chunks[0].raw.find_first_not_of(" \t\r\n") == std::string::npos)
                chunks.clear();
            chunks.push_back(next);
        } else if (!c.attribute("dx").empty() || !c.attribute("dy").empty()) {
            relative = true;
        }
        gatherChunks(ctx, c, cs, chunks, relative, depth + 1);
    }
}

// White space as SVG handles it: by default new lines go, tabs become
// spaces, runs of spaces collapse and the ends are trimmed; with
// xml:space="preserve" every new line and tab is one space.
std::string normaliseSpace(const std::string &raw, bool preserve) {
    std::string out;
    for (char c : raw) {
        if (c == '\n' || c == '\r') {
            if (preserve) out += ' ';
            continue;
        }
        if (c == '\t') c = ' ';
        if (!preserve && c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    if (!preserve && !out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

Art *textArt(Context &ctx, const Chunk &chunk, const std::string &text, const Affine &ctm, Art *container,
             pugi::xml_node common) {
    const Style &style = chunk.style;
    const double size = style.fontSize;
    // The model knows no glyphs: an average advance of 0.55 em per character
    // gives the frame its width.
    const double width = 0.55 * size * double(codePoints(text));
    const double left = chunk.x - (style.anchor == 1 ? width / 2 : style.anchor == 2 ? width : 0);
    Box local;
    local.add(Vec2{left, chunk.y - 0.8 * size});
    local.add(Vec2{left + width, chunk.y + 0.2 * size});
    double opacityFactor = 1;
    const AIPathStyle pathStyle = makePathStyle(ctx, chunk.node, style, ctm, local, opacityFactor);
    Art *art = newLinkedArt(ctx, kTextArt, container);
    art->style = pathStyle;
    // A text painted in its span keeps the exact paint the writer noted on
    // the text element, where it writes a text's changed paint.
    if (common && common != chunk.node) {
        if (art->style.fillPaint && chunk.node.attribute("data-smear-fill").empty())
            applyPaintToken(ctx, common, "data-smear-fill", ctm, art->style.fill.color);
        if (art->style.strokePaint && chunk.node.attribute("data-smear-stroke").empty())
            applyPaintToken(ctx, common, "data-smear-stroke", ctm, art->style.stroke.color);
    }
    if (common) setCommon(ctx, *art, common, style);
    art->opacity = AIReal(art->opacity * opacityFactor);
    art->text = text;
    art->fontSize = AIReal(size);
    for (const auto &p : style.fontProperties) art->svgStyle += p.first + ":" + p.second + ";";
    if (style.anchor) art->svgStyle += style.anchor == 1 ? "text-anchor:middle;" : "text-anchor:end;";
    art->frame = {AIReal(left), AIReal(-(chunk.y - 0.8 * size)), AIReal(left + width), AIReal(-(chunk.y + 0.2 * size))};
    art->matrix = toDocumentMatrix(ctm);
    return art;
}

// Why a tspan (as deep as gatherChunks goes) cannot be placed: a number
// in its position that the drawing cannot hold. Empty when all fit.
std::string tspanBeyondRange(Context &ctx, pugi::xml_node node, int depth) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() != pugi::node_element || depth >= 32) continue;
        for (const auto &[name, axis] :
             {std::pair{"x", Axis::kX}, std::pair{"y", Axis::kY}, std::pair{"dx", Axis::kX}, std::pair{"dy", Axis::kY}}) {
            const std::string reason = ctx.attrBeyondRange(c, name, axis);
            if (!reason.empty()) return "a tspan's " + reason;
        }
        const std::string inner = tspanBeyondRange(ctx, c, depth + 1);
        if (!inner.empty()) return inner;
    }
    return {};
}

bool samePaint(const Paint &a, const Paint &b) {
    auto sameColor = [](const CssColor &x, const CssColor &y) {
        return x.r == y.r && x.g == y.g && x.b == y.b && x.alpha == y.alpha && x.current == y.current;
    };
    return a.kind == b.kind && sameColor(a.color, b.color) && a.url == b.url && a.hasFallback == b.hasFallback &&
           a.fallbackKind == b.fallbackKind && sameColor(a.fallbackColor, b.fallbackColor);
}

using Lines = std::vector<std::pair<const Chunk *, std::string>>;

// Whether every line is painted as the text is, and sets nothing of its own
// that one text art could not hold (opacity, blending, effects).
bool linesShareThePaint(const Lines &lines, pugi::xml_node node, const Style &text) {
    for (const auto &[chunk, words] : lines) {
        if (chunk->node == node) continue;  // the text's own words
        const Style &s = chunk->style;
        const bool paint = samePaint(s.fill, text.fill) && samePaint(s.stroke, text.stroke) &&
                           s.fillOpacity == text.fillOpacity && s.strokeOpacity == text.strokeOpacity &&
                           s.strokeWidth == text.strokeWidth && s.miterLimit == text.miterLimit &&
                           s.dashOffset == text.dashOffset && s.dashes == text.dashes && s.cap == text.cap &&
                           s.join == text.join && s.evenOdd == text.evenOdd && s.visible == text.visible &&
                           s.color.r == text.color.r && s.color.g == text.color.g && s.color.b == text.color.b &&
                           s.color.alpha == text.color.alpha;
        const bool ownEffects = s.opacity != 1 || s.blendMode != 0 || s.displayNone || !s.filter.empty() ||
                                !s.clipPath.empty() || !s.mask.empty();
        if (!paint || ownEffects) return false;
    }
    return true;
}

// A text whose lines are placed by spans, as one text art: its frame holds
// every line, its words are the lines one per row, and where each line
// starts (its anchor point, anchor and size, in the text's own space) is
// kept beside them so that a text written from the model keeps its lines.
Art *textOfLines(Context &ctx, pugi::xml_node node, const Style &style, const Lines &lines, const Affine &ctm,
                 Art *container) {
    Box local;
    std::string words, layout;
    for (const auto &[chunk, line] : lines) {
        const Style &s = chunk->node == node ? style : chunk->style;
        const double size = s.fontSize;
        const double width = 0.55 * size * double(codePoints(line));
        const double left = chunk->x - (s.anchor == 1 ? width / 2 : s.anchor == 2 ? width : 0);
        local.add(Vec2{left, chunk->y - 0.8 * size});
        local.add(Vec2{left + width, chunk->y + 0.2 * size});
        if (!words.empty()) words += '\n';
        words += line;
        layout += formatNumber(chunk->x) + " " + formatNumber(chunk->y) + " " + std::to_string(s.anchor) + " " +
                  formatNumber(size) + "\n";
    }
    double opacityFactor = 1;
    const AIPathStyle pathStyle = makePathStyle(ctx, node, style, ctm, local, opacityFactor);
    Art *art = newLinkedArt(ctx, kTextArt, container);
    art->style = pathStyle;
    setCommon(ctx, *art, node, style);
    art->opacity = AIReal(art->opacity * opacityFactor);
    art->text = words;
    art->href = layout;
    art->fontSize = AIReal(style.fontSize);
    for (const auto &p : style.fontProperties) art->svgStyle += p.first + ":" + p.second + ";";
    art->frame = {AIReal(local.minX), AIReal(-local.minY), AIReal(local.maxX), AIReal(-local.maxY)};
    art->matrix = toDocumentMatrix(ctm);
    return art;
}

}  // namespace

Art *readText(Context &ctx, pugi::xml_node node, const Style &style, const Affine &ctm, Art *container) {
    const std::string beyond = tspanBeyondRange(ctx, node, 0);
    if (!beyond.empty()) {
        ctx.problem(node, beyond + "; skipped");
        return nullptr;
    }
    std::vector<Chunk> chunks(1);
    chunks[0].style = style;
    chunks[0].node = node;
    firstCoordinate(ctx, node, "x", Axis::kX, style.fontSize, chunks[0].x);
    firstCoordinate(ctx, node, "y", Axis::kY, style.fontSize, chunks[0].y);
    double shift;
    if (firstCoordinate(ctx, node, "dx", Axis::kX, style.fontSize, shift)) chunks[0].x += shift;
    if (firstCoordinate(ctx, node, "dy", Axis::kY, style.fontSize, shift)) chunks[0].y += shift;
    bool relative = false;
    gatherChunks(ctx, node, style, chunks, relative, 0);
    const bool preserve = std::string(node.attribute("xml:space").value()) == "preserve";
    std::vector<std::pair<const Chunk *, std::string>> lines;
    for (const Chunk &c : chunks) {
        const std::string text = normaliseSpace(c.raw, preserve);
        if (!text.empty()) lines.emplace_back(&c, text);
    }
    if (lines.empty()) {
        ctx.problem(node, "has no text; skipped");
        return nullptr;
    }
    if (relative) ctx.problem(node, "tspans moved by dx or dy are joined to the text before them");
    if (lines.size() == 1) {
        // One line: a tspan's paint, the text element's id, tags and opacity.
        Chunk only = *lines[0].first;
        only.style.opacity = style.opacity;
        only.style.blendMode = style.blendMode;
        only.style.displayNone = style.displayNone;
        only.style.filter = style.filter;
        only.style.clipPath = style.clipPath;
        only.style.mask = style.mask;
        return textArt(ctx, only, lines[0].second, ctm, container, node);
    }
    if (linesShareThePaint(lines, node, style)) return textOfLines(ctx, node, style, lines, ctm, container);
    // Lines placed on their own: a group of texts, the group with the
    // text element's id, each line with its tspan's.
    Art *group = newLinkedArt(ctx, kGroupArt, container);
    setCommon(ctx, *group, node, style);
    for (const auto &line : lines) {
        Chunk c = *line.first;
        if (c.node == node) c.style = style.inherited();
        Art *art = textArt(ctx, c, line.second, ctm, group, c.node == node ? pugi::xml_node() : c.node);
        if (c.node != node) art->sourcePart = ctx.elementIndex(c.node);
    }
    return group;
}

}  // namespace smear::svg
