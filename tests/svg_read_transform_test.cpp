// Path elements keep their own transform: read, changed point by point
// (directly or with the Point shifter) and written, a path is written in
// the coordinates of the transform it came with and reads back to the same
// absolute geometry, stroke and paint.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "brush_support.h"
#include "svg.h"
#include "svg_affine.h"
#include "svg_write_support.h"

namespace smear {
namespace {

// Paths with transforms of their own: rotated and stretched inside a moved
// group, a skewed rect painted with a box-unit gradient, a compound path
// filled with a pattern, and one without a transform.
const char *const kDrawing =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 200 200'>"
    "<defs><linearGradient id='lg' x1='0' x2='1'><stop offset='0' stop-color='#f00'/>"
    "<stop offset='1' stop-color='#00f'/></linearGradient>"
    "<pattern id='dots' width='4' height='4' patternUnits='userSpaceOnUse'>"
    "<circle cx='2' cy='2' r='1' fill='#00f'/></pattern></defs>"
    "<g id='moved' transform='translate(100 0)'>"
    "<path id='p' transform='rotate(30) scale(2 1)' d='M0 0 C10 0 20 10 30 10 L30 30 Z' fill='none' "
    "stroke='#000' stroke-width='1.5' stroke-dasharray='2 1' stroke-dashoffset='0.5'/></g>"
    "<rect id='r' transform='translate(5.5 7.25) skewX(10)' x='1' y='2' width='20' height='10' fill='url(#lg)'/>"
    "<path id='c' transform='matrix(0.8 0.6 -0.6 0.8 40 50)' d='M0 0 H10 V10 Z M2 2 H5 V5 Z' fill='url(#dots)' "
    "fill-rule='evenodd'/>"
    "<path id='plain' d='M1 1 L5 5' stroke='#000'/>"
    "</svg>";

std::unique_ptr<Document> readDrawing(const std::string &text, SvgReadReport &report) {
    auto doc = std::make_unique<Document>();
    std::string error;
    EXPECT_TRUE(readSvgString(text, *doc, report, error)) << error;
    return doc;
}

Art *byId(const Document &doc, const std::string &id) {
    Art *found = nullptr;
    doc.forEachArt([&](const Art &a) {
        if (!found && a.id == id) found = const_cast<Art *>(&a);
    });
    return found;
}

// The start tag of the element with `id`, quoted either way.
std::string element(const std::string &text, const std::string &id) {
    size_t at = text.find(" id=\"" + id + "\"");
    if (at == std::string::npos) at = text.find(" id='" + id + "'");
    if (at == std::string::npos) return {};
    const size_t start = text.rfind('<', at);
    return text.substr(start, text.find('>', at) - start + 1);
}

std::string attr(const std::string &element, const std::string &name) {
    for (const char quote : {'"', '\''}) {
        const size_t at = element.find(" " + name + "=" + quote);
        if (at == std::string::npos) continue;
        const size_t start = at + name.size() + 3;
        return element.substr(start, element.find(quote, start) - start);
    }
    return "<missing>";
}

bool sameMatrix(const AIRealMatrix &a, const AIRealMatrix &b) {
    return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d && a.tx == b.tx && a.ty == b.ty;
}

// Float tolerance: where the transform's terms cancel (a coordinate near 0
// reached from large ones) a point comes back within a hair of its value.
bool nearPoint(const AIRealPoint &a, const AIRealPoint &b) {
    auto near = [](double u, double v) { return std::fabs(u - v) <= 1e-6 * (1 + std::fabs(u)); };
    return near(a.h, b.h) && near(a.v, b.v);
}

// Every path's anchors and handles, with the same kept transform, stroke
// and paint records.
void expectSameDrawing(const Document &x, const Document &y) {
    std::vector<const Art *> a, b;
    x.forEachArt([&](const Art &art) { a.push_back(&art); });
    y.forEachArt([&](const Art &art) { b.push_back(&art); });
    ASSERT_EQ(a.size(), b.size());
    for (size_t k = 0; k < a.size(); ++k) {
        const Art &s = *a[k], &t = *b[k];
        SCOPED_TRACE("art " + std::to_string(k) + " " + s.id);
        ASSERT_EQ(s.type, t.type);
        EXPECT_TRUE(sameMatrix(s.svgTransform, t.svgTransform));
        ASSERT_EQ(s.segments.size(), t.segments.size());
        for (size_t i = 0; i < s.segments.size(); ++i) {
            const AIPathSegment &u = s.segments[i], &v = t.segments[i];
            EXPECT_TRUE(nearPoint(u.p, v.p) && nearPoint(u.in, v.in) && nearPoint(u.out, v.out))
                << "segment " << i << ": (" << u.p.h << ", " << u.p.v << ") vs (" << v.p.h << ", " << v.p.v << ")";
        }
        EXPECT_EQ(s.style.strokePaint, t.style.strokePaint);
        EXPECT_EQ(s.style.stroke.width, t.style.stroke.width);
        EXPECT_EQ(s.style.stroke.dashCount, t.style.stroke.dashCount);
        for (int i = 0; i < s.style.stroke.dashCount; ++i) EXPECT_EQ(s.style.stroke.dashes[i], t.style.stroke.dashes[i]);
        EXPECT_EQ(s.style.stroke.dashOffset, t.style.stroke.dashOffset);
        ASSERT_EQ(s.style.fill.color.kind, t.style.fill.color.kind);
        if (s.style.fill.color.kind == kGradient) {
            const AIGradientStyle &g = s.style.fill.color.c.b, &h = t.style.fill.color.c.b;
            EXPECT_EQ(g.gradientOrigin.h, h.gradientOrigin.h);
            EXPECT_EQ(g.gradientOrigin.v, h.gradientOrigin.v);
            EXPECT_EQ(g.gradientAngle, h.gradientAngle);
            EXPECT_EQ(g.gradientLength, h.gradientLength);
            EXPECT_TRUE(sameMatrix(g.matrix, h.matrix));
        }
        if (s.style.fill.color.kind == kPattern) {
            EXPECT_TRUE(sameMatrix(s.style.fill.color.c.p.transform, t.style.fill.color.c.p.transform));
        }
    }
}

TEST(SvgKeptTransform, PathElementsKeepTheirOwnTransformAndAbsoluteGeometry) {
    SvgReadReport report;
    auto doc = readDrawing(kDrawing, report);
    EXPECT_TRUE(report.problems.empty());
    // rotate(30) scale(2 1) alone, in document space; the group's move is
    // in the geometry, which stays absolute.
    const Art *p = byId(*doc, "p");
    ASSERT_NE(p, nullptr);
    const double c = std::cos(svg::kPi / 6), s = std::sin(svg::kPi / 6);
    EXPECT_NEAR(p->svgTransform.a, 2 * c, 1e-6);
    EXPECT_NEAR(p->svgTransform.b, -2 * s, 1e-6);
    EXPECT_NEAR(p->svgTransform.c, s, 1e-6);
    EXPECT_NEAR(p->svgTransform.d, c, 1e-6);
    EXPECT_EQ(p->svgTransform.tx, 0);
    EXPECT_EQ(p->segments[0].p.h, 100);
    EXPECT_NEAR(p->segments[1].p.h, 100 + 60 * c - 10 * s, 1e-4);
    EXPECT_NEAR(p->segments[1].p.v, -(60 * s + 10 * c), 1e-4);
    EXPECT_EQ(byId(*doc, "r")->svgTransform.tx, 5.5f);
    EXPECT_EQ(byId(*doc, "r")->svgTransform.ty, -7.25f);
    EXPECT_EQ(byId(*doc, "c")->type, kCompoundPathArt);
    EXPECT_EQ(byId(*doc, "c")->svgTransform.tx, 40);
    EXPECT_TRUE(sameMatrix(byId(*doc, "plain")->svgTransform, AIRealMatrix{1, 0, 0, 1, 0, 0}));
}

TEST(SvgKeptTransform, APathChangedPointByPointIsWrittenInItsOwnCoordinatesAndReadsBackTheSame) {
    SvgReadReport report;
    auto doc = readDrawing(kDrawing, report);
    Art *p = byId(*doc, "p");
    p->segments[1].p.h += 3.25f;
    p->segments[1].in.v -= 1.5f;
    p->segments[2].out = {p->segments[2].p.h + 0.1f, p->segments[2].p.v + 7};
    Art *r = byId(*doc, "r");
    r->segments[0].p = r->segments[0].in = r->segments[0].out = {0.3f, -1.7f};
    byId(*doc, "c")->lastChild->segments[1].p.h += 2;

    const std::string svg = svgOf(*doc);
    // Each keeps its own transform as the file wrote it, not the group's
    // move.
    EXPECT_EQ(attr(element(svg, "p"), "transform"), "rotate(30) scale(2 1)");
    EXPECT_EQ(attr(element(svg, "r"), "transform"), "translate(5.5 7.25) skewX(10)");
    EXPECT_EQ(attr(element(svg, "c"), "transform"), "matrix(0.8 0.6 -0.6 0.8 40 50)");
    EXPECT_EQ(attr(element(svg, "plain"), "transform"), "<missing>");
    // Untouched points are written as the file wrote them, in as few
    // decimals; the moved one where it went.
    EXPECT_EQ(attr(element(svg, "c"), "d"), "M0 0 L10 0 L10 10 Z M2 2 C2 2 5 2 6.6 0.8 C5 2 5 5 5 5 Z");
    EXPECT_EQ(attr(element(svg, "r"), "d").substr(attr(element(svg, "r"), "d").find(" L")), " L21 2 L21 12 L1 12 Z");
    // Its paint, in its own units, is as it was: it stays as written.
    EXPECT_EQ(attr(element(svg, "p"), "stroke-width"), "1.5");
    EXPECT_EQ(attr(element(svg, "p"), "stroke-dasharray"), "2 1");
    EXPECT_EQ(attr(element(svg, "p"), "style"), "<missing>");

    SvgReadReport again;
    auto back = readDrawing(svg, again);
    EXPECT_TRUE(again.problems.empty());
    expectSameDrawing(*doc, *back);
    // Trips that follow do not drift.
    SvgReadReport third;
    auto thrice = readDrawing(svgOf(*back), third);
    expectSameDrawing(*doc, *thrice);
}

TEST(SvgKeptTransform, ThePaintOfATransformedPathStaysWhereItWasWithoutTheExactRecords) {
    // The gradient and pattern elements alone place the paint where the
    // records do: the map into the element's space is in their transforms.
    SvgReadReport report;
    auto doc = readDrawing(kDrawing, report);
    std::string svg = svgOf(*doc);
    for (const char *token : {"data-smear-fill"})
        for (size_t at = svg.find(token); at != std::string::npos; at = svg.find(token)) {
            const size_t end = svg.find('"', svg.find('"', at) + 1);
            svg.erase(at - 1, end - at + 2);
        }
    SvgReadReport again;
    auto back = readDrawing(svg, again);
    const AIGradientStyle &g = byId(*doc, "r")->style.fill.color.c.b, &h = byId(*back, "r")->style.fill.color.c.b;
    ASSERT_EQ(byId(*back, "r")->style.fill.color.kind, kGradient);
    EXPECT_NEAR(g.gradientOrigin.h, h.gradientOrigin.h, 1e-3);
    EXPECT_NEAR(g.gradientOrigin.v, h.gradientOrigin.v, 1e-3);
    EXPECT_NEAR(g.gradientAngle, h.gradientAngle, 1e-3);
    EXPECT_NEAR(g.gradientLength, h.gradientLength, 1e-3);
    const AIRealMatrix &m = byId(*doc, "c")->style.fill.color.c.p.transform;
    const AIRealMatrix &n = byId(*back, "c")->style.fill.color.c.p.transform;
    ASSERT_EQ(byId(*back, "c")->style.fill.color.kind, kPattern);
    for (const auto &pair : {std::make_pair(m.a, n.a), std::make_pair(m.b, n.b), std::make_pair(m.c, n.c),
                             std::make_pair(m.d, n.d), std::make_pair(m.tx, n.tx), std::make_pair(m.ty, n.ty)})
        EXPECT_NEAR(pair.first, pair.second, 1e-4);
}

class SvgKeptTransformPainted : public BrushTest {};

TEST_F(SvgKeptTransformPainted, PathsMovedWithThePointShifterKeepTheirTransformsAndReadBackTheSame) {
    SvgReadReport report;
    host.replaceDocument(readDrawing(kDrawing, report));
    const std::unique_ptr<Document> before = doc().clone();
    doc().forEachArt([](const Art &a) { const_cast<Art &>(a).userAttr |= kArtSelected; });
    g().brushSizeHorizontal = g().brushSizeVertical = 1000;
    g().pointShiftHorizontal = 2;
    g().pointShiftVertical = 3;
    g().pointShifterFollowBrush = 0;
    stroke(kPointShifterTool, {100, -50}, 3);
    for (const char *id : {"p", "r", "plain"})
        EXPECT_NE(byId(doc(), id)->segments[0].p.h, byId(*before, id)->segments[0].p.h) << id << " did not move";

    const std::string svg = svgOf(doc());
    for (const char *id : {"p", "r", "c"}) EXPECT_NE(attr(element(svg, id), "transform"), "<missing>") << id;
    SvgReadReport again;
    auto back = readDrawing(svg, again);
    expectSameDrawing(doc(), *back);
}

TEST(SvgNestedViewport, PercentagesInsideANestedSvgAreOfItsViewport) {
    // 50% inside a 20 wide viewport at x 100 is 110, not half the page.
    SvgReadReport report;
    auto doc = readDrawing("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 200 100'>"
                           "<svg x='100' y='10' width='20' height='40'><rect x='50%' y='25%' width='2' height='2'/></svg>"
                           "<svg x='0' y='0' width='50' height='50' viewBox='0 0 10 10'>"
                           "<rect x='50%' y='50%' width='1' height='1'/></svg></svg>",
                           report);
    ASSERT_TRUE(doc);
    std::vector<AIRealRect> boxes;
    doc->forEachArt([&](const Art &a) {
        AIRealRect b{};
        if (a.type == kPathArt && artBounds(a, b)) boxes.push_back(b);
    });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_FLOAT_EQ(boxes[0].left, 110);
    EXPECT_FLOAT_EQ(boxes[0].top, -20);
    // Of the viewBox (10 units, drawn 5 times as large): 5 units, 25 points.
    EXPECT_FLOAT_EQ(boxes[1].left, 25);
    EXPECT_FLOAT_EQ(boxes[1].top, -25);
}

}  // namespace
}  // namespace smear
