// The parsers under the SVG reader that need no XML library: numbers, path
// data (arcs included), transform lists, the basic shapes, the conversion to
// document segments and back, and CSS colours.
#include <gtest/gtest.h>

#include <cmath>

#include "css_color.h"
#include "svg_bezier.h"
#include "svg_numbers.h"
#include "svg_path_data.h"
#include "svg_shapes.h"

namespace smear::svg {
namespace {

Vec2 cubicAt(Vec2 p0, const Cubic &c, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * c.c1 + 3 * u * t * t * c.c2 + t * t * t * c.end;
}

void expectPoint(Vec2 p, double x, double y, double tol = 1e-9) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// Lines are cubics with their control points on their ends.
void expectLine(const Subpath &s, size_t k, Vec2 from, Vec2 to) {
    ASSERT_LT(k, s.curves.size());
    expectPoint(s.curves[k].c1, from.x, from.y);
    expectPoint(s.curves[k].c2, to.x, to.y);
    expectPoint(s.curves[k].end, to.x, to.y);
}

TEST(SvgNumbers, FollowTheSvgGrammar) {
    std::vector<double> v;
    ASSERT_TRUE(parseNumberList("1.5.5 1e-3,-.5 +2 5. 1E2", v));
    EXPECT_EQ(v, (std::vector<double>{1.5, 0.5, 0.001, -0.5, 2, 5, 100}));
    v.clear();
    EXPECT_FALSE(parseNumberList("1 2 x", v));
    EXPECT_EQ(v, (std::vector<double>{1, 2}));
    // An "e" without digits is not an exponent: it belongs to a unit.
    Scanner s("2em");
    double d;
    ASSERT_TRUE(s.number(d));
    EXPECT_EQ(d, 2);
    EXPECT_EQ(s.position(), 1u);
    EXPECT_FALSE(parseNumber("inf", d));
    EXPECT_FALSE(parseNumber("0x10", d));
}

TEST(SvgPathData, AbsoluteAndRelativeLinesAgree) {
    const PathData a = parsePathData("M10 20 L30 40 H50 V60 Z");
    const PathData r = parsePathData("m10 20 l20 20 h20 v20 z");
    for (const PathData *p : {&a, &r}) {
        ASSERT_TRUE(p->error.empty()) << p->error;
        ASSERT_EQ(p->subpaths.size(), 1u);
        const Subpath &s = p->subpaths[0];
        EXPECT_TRUE(s.closed);
        expectPoint(s.start, 10, 20);
        ASSERT_EQ(s.curves.size(), 3u);
        expectLine(s, 0, {10, 20}, {30, 40});
        expectLine(s, 1, {30, 40}, {50, 40});
        expectLine(s, 2, {50, 40}, {50, 60});
    }
}

TEST(SvgPathData, ImplicitRepeatsAndCompactNumbers) {
    // Pairs after a moveto are linetos (relative after m); repeated
    // curve arguments repeat the command.
    const PathData p = parsePathData("M0 0 10 0 10 10m5 5 1 1C1 1 2 2 3 3 4 4 5 5 6 6M.5.5l.5-.5");
    ASSERT_TRUE(p.error.empty()) << p.error;
    ASSERT_EQ(p.subpaths.size(), 3u);
    expectLine(p.subpaths[0], 0, {0, 0}, {10, 0});
    expectLine(p.subpaths[0], 1, {10, 0}, {10, 10});
    expectPoint(p.subpaths[1].start, 15, 15);
    expectLine(p.subpaths[1], 0, {15, 15}, {16, 16});
    ASSERT_EQ(p.subpaths[1].curves.size(), 3u);
    expectPoint(p.subpaths[1].curves[2].c1, 4, 4);
    expectPoint(p.subpaths[1].curves[2].end, 6, 6);
    expectPoint(p.subpaths[2].start, 0.5, 0.5);
    expectLine(p.subpaths[2], 0, {0.5, 0.5}, {1, 0});
}

TEST(SvgPathData, SmoothCurvesReflectTheLastControlPoint) {
    const PathData p = parsePathData("M0 0 C0 10 10 10 10 0 S20 -10 20 0 s10 10 10 0");
    ASSERT_TRUE(p.error.empty());
    const auto &c = p.subpaths[0].curves;
    ASSERT_EQ(c.size(), 3u);
    expectPoint(c[1].c1, 10, -10);
    expectPoint(c[1].c2, 20, -10);
    expectPoint(c[2].c1, 20, 10);
    expectPoint(c[2].c2, 30, 10);
    expectPoint(c[2].end, 30, 0);
    // Without a curve before it, S starts its curve at the current point.
    const PathData q = parsePathData("M0 0 L5 0 S10 5 10 0");
    expectPoint(q.subpaths[0].curves[1].c1, 5, 0);
}

TEST(SvgPathData, QuadraticsAreRaisedToCubics) {
    const PathData p = parsePathData("M0 0 Q10 10 20 0 T40 0 t20 0");
    ASSERT_TRUE(p.error.empty());
    const auto &c = p.subpaths[0].curves;
    ASSERT_EQ(c.size(), 3u);
    expectPoint(c[0].c1, 20.0 / 3, 20.0 / 3);
    expectPoint(c[0].c2, 20 - 20.0 / 3, 20.0 / 3);
    // T reflects the quadratic control point (10,10) about (20,0): (30,-10).
    expectPoint(c[1].c1, 20 + 2 * 10.0 / 3, -2 * 10.0 / 3);
    expectPoint(c[1].c2, 40 - 2 * 10.0 / 3, -2 * 10.0 / 3);
    // And again about (40,0): (50,10).
    expectPoint(c[2].c1, 40 + 2 * 10.0 / 3, 2 * 10.0 / 3);
    expectPoint(c[2].end, 60, 0);
}

TEST(SvgPathData, DrawingAfterCloseStartsANewSubpathAtTheStart) {
    const PathData p = parsePathData("M1 1 L10 1 L10 10 Z l5 0 z m2 2 h1");
    ASSERT_TRUE(p.error.empty());
    ASSERT_EQ(p.subpaths.size(), 3u);
    expectPoint(p.subpaths[1].start, 1, 1);
    expectLine(p.subpaths[1], 0, {1, 1}, {6, 1});
    EXPECT_TRUE(p.subpaths[1].closed);
    expectPoint(p.subpaths[2].start, 3, 3);
    EXPECT_FALSE(p.subpaths[2].closed);
}

TEST(SvgPathData, ErrorsKeepWhatCameBefore) {
    PathData p = parsePathData("M0 0 L10 0 L20");
    EXPECT_NE(p.error, "");
    ASSERT_EQ(p.subpaths.size(), 1u);
    EXPECT_EQ(p.subpaths[0].curves.size(), 1u);
    p = parsePathData("L10 10");
    EXPECT_NE(p.error.find("moveto"), std::string::npos);
    EXPECT_TRUE(p.subpaths.empty());
    p = parsePathData("M0 0 L1 1 X 2 2");
    EXPECT_NE(p.error.find("'X'"), std::string::npos);
    EXPECT_EQ(p.subpaths[0].curves.size(), 1u);
    p = parsePathData("M0 0 A5 5 0 2 1 10 0");  // a flag must be 0 or 1
    EXPECT_NE(p.error, "");
    EXPECT_TRUE(parsePathData("  ").error.empty());
}

TEST(SvgPathArcs, HalfCircleHasExactEndsAndCurvesOnTheCircle) {
    // From (0,0) to (20,0), radius 10, sweep 1: through (10,-10) on screen.
    for (const char *d : {"M0 0 A10 10 0 0 1 20 0", "M0 0 a10 10 0 0 1 20 0", "M0 0 A1 1 0 0 1 20 0"}) {
        const PathData p = parsePathData(d);
        ASSERT_TRUE(p.error.empty()) << d;
        const Subpath &s = p.subpaths[0];
        ASSERT_EQ(s.curves.size(), 2u) << d;  // pieces of at most 90 degrees
        EXPECT_EQ(s.curves.back().end.x, 20);
        EXPECT_EQ(s.curves.back().end.y, 0);
        Vec2 from = s.start;
        for (const Cubic &c : s.curves) {
            // Midpoints lie on the circle; elsewhere a 90-degree cubic strays
            // by at most 0.03% of the radius.
            const Vec2 mid = cubicAt(from, c, 0.5);
            EXPECT_NEAR(std::hypot(mid.x - 10, mid.y), 10, 1e-3) << d;
            for (double t : {0.2, 0.8}) {
                const Vec2 q = cubicAt(from, c, t);
                EXPECT_NEAR(std::hypot(q.x - 10, q.y), 10, 3e-4 * 10) << d;
            }
            from = c.end;
        }
        expectPoint(s.curves[0].end, 10, -10, 1e-9);
    }
}

TEST(SvgPathArcs, LargeArcFlagPicksTheOtherCentre) {
    const PathData p = parsePathData("M0 0 A10 10 0 1 0 10 10");
    ASSERT_TRUE(p.error.empty());
    const Subpath &s = p.subpaths[0];
    ASSERT_EQ(s.curves.size(), 3u);  // 270 degrees
    Vec2 from = s.start;
    for (const Cubic &c : s.curves) {
        EXPECT_NEAR(std::hypot(cubicAt(from, c, 0.5).x - 0, cubicAt(from, c, 0.5).y - 10), 10, 1e-3);
        from = c.end;
    }
    expectPoint(s.curves.back().end, 10, 10, 0);
}

TEST(SvgPathArcs, RotatedEllipseArc) {
    // rx 20 along the rotated (vertical) axis: a half ellipse around (0,20).
    const PathData p = parsePathData("M0 0 A20 10 90 0 1 0 40");
    ASSERT_TRUE(p.error.empty());
    const Subpath &s = p.subpaths[0];
    Vec2 from = s.start;
    for (const Cubic &c : s.curves) {
        const Vec2 q = cubicAt(from, c, 0.5);
        const double dx = q.x, dy = q.y - 20;
        EXPECT_NEAR((dy / 20) * (dy / 20) + (dx / 10) * (dx / 10), 1, 1e-3);
        from = c.end;
    }
    expectPoint(s.curves.back().end, 0, 40, 0);
}

TEST(SvgPathArcs, DegenerateArcs) {
    // Zero radius: a straight line; same end point: nothing.
    PathData p = parsePathData("M0 0 A0 5 0 0 1 10 0 A5 5 0 0 1 10 0");
    ASSERT_TRUE(p.error.empty());
    ASSERT_EQ(p.subpaths[0].curves.size(), 1u);
    expectLine(p.subpaths[0], 0, {0, 0}, {10, 0});
}

TEST(SvgTransforms, ListsComposeLeftToRight) {
    Affine m;
    ASSERT_TRUE(parseTransformList("translate(10,20) rotate(90)", m));
    expectPoint(m.apply({1, 0}), 10, 21, 1e-12);
    ASSERT_TRUE(parseTransformList("rotate(90 10 10)", m));
    expectPoint(m.apply({20, 10}), 10, 20, 1e-12);
    ASSERT_TRUE(parseTransformList("scale(2) , skewX(45)", m));
    expectPoint(m.apply({0, 1}), 2, 2, 1e-12);
    ASSERT_TRUE(parseTransformList("matrix(1 2 3 4 5 6)scale(1,-1)", m));
    expectPoint(m.apply({1, 1}), 1 - 3 + 5, 2 - 4 + 6, 0);
    ASSERT_TRUE(parseTransformList("skewY(45) translate(1)", m));
    expectPoint(m.apply({0, 0}), 1, 1, 1e-12);
    ASSERT_TRUE(parseTransformList("", m));
    EXPECT_TRUE(m.isIdentity());
    EXPECT_FALSE(parseTransformList("rotate(1,2)", m));
    EXPECT_FALSE(parseTransformList("spin(5)", m));
    EXPECT_FALSE(parseTransformList("scale(2", m));
}

TEST(SvgShapes, RoundedRectangleAndEllipseOutlines) {
    const Subpath r = rectOutline(0, 0, 100, 50, 10, 10);
    EXPECT_TRUE(r.closed);
    ASSERT_EQ(r.curves.size(), 8u);
    expectPoint(r.start, 10, 0);
    expectPoint(r.curves.back().end, 10, 0);
    // A pill: the straight sides between touching corners drop out.
    const Subpath pill = rectOutline(0, 0, 40, 20, 10, 10);
    EXPECT_EQ(pill.curves.size(), 6u);

    const Subpath e = ellipseOutline(5, 5, 4, 2);
    ASSERT_EQ(e.curves.size(), 4u);
    Vec2 from = e.start;
    for (const Cubic &c : e.curves) {
        const Vec2 q = cubicAt(from, c, 0.5);
        EXPECT_NEAR(std::pow((q.x - 5) / 4, 2) + std::pow((q.y - 5) / 2, 2), 1, 1e-3);
        from = c.end;
    }
}

TEST(SvgSegments, DocumentSpaceIsFlippedAndClosingAnchorsMerge) {
    const PathData p = parsePathData("M0 0 L10 0 L10 10 L0 0 Z M20 0 C20 10 30 10 30 0 S40 -10 40 0");
    const std::vector<DocumentPath> paths = toDocumentPaths(p.subpaths, Affine::translate(1, 2));
    ASSERT_EQ(paths.size(), 2u);
    // The triangle ends where it started: three anchors, not four.
    ASSERT_EQ(paths[0].segments.size(), 3u);
    EXPECT_TRUE(paths[0].closed);
    EXPECT_EQ(paths[0].segments[2].p.h, 11);
    EXPECT_EQ(paths[0].segments[2].p.v, -12);
    EXPECT_TRUE(paths[0].segments[0].corner);
    const DocumentPath &curve = paths[1];
    EXPECT_FALSE(curve.closed);
    ASSERT_EQ(curve.segments.size(), 3u);
    EXPECT_EQ(curve.segments[0].in.h, curve.segments[0].p.h);  // open: no handle before the start
    EXPECT_EQ(curve.segments[0].out.v, -12);                   // (21,12) flipped
    EXPECT_FALSE(curve.segments[1].corner);                    // S keeps the anchor smooth
    EXPECT_TRUE(curve.segments[2].corner);

    // A lone moveto draws nothing.
    EXPECT_TRUE(toDocumentPaths(parsePathData("M5 5").subpaths, Affine{}).empty());
}

TEST(SvgSegments, PathDataWritesBackExactly) {
    const PathData p = parsePathData("M0.1 0.2 L10.3 0 C12 3 14 3 16.7 0 C20 -4 -3 5 0.1 0.2 Z M1 1 L2 2");
    const std::vector<DocumentPath> paths = toDocumentPaths(p.subpaths, Affine{});
    ASSERT_EQ(paths.size(), 2u);
    const std::string d = pathData(paths[0].segments, paths[0].closed);
    EXPECT_EQ(d.find("-0"), std::string::npos) << d;
    const std::vector<DocumentPath> again = toDocumentPaths(parsePathData(d).subpaths, Affine{});
    ASSERT_EQ(again.size(), 1u);
    ASSERT_EQ(again[0].segments.size(), paths[0].segments.size());
    EXPECT_TRUE(again[0].closed);
    for (size_t k = 0; k < again[0].segments.size(); ++k) {
        const AIPathSegment &a = paths[0].segments[k], &b = again[0].segments[k];
        EXPECT_EQ(a.p.h, b.p.h);
        EXPECT_EQ(a.p.v, b.p.v);
        EXPECT_EQ(a.in.h, b.in.h);
        EXPECT_EQ(a.in.v, b.in.v);
        EXPECT_EQ(a.out.h, b.out.h);
        EXPECT_EQ(a.out.v, b.out.v);
    }
    EXPECT_EQ(pathData(paths[1].segments, false), "M1 1 L2 2");
}

TEST(SvgSegments, CurveBoundsAreTight) {
    // A half circle of radius 10 reaches y = -10, its control points further.
    const Box b = curveBounds(parsePathData("M0 0 A10 10 0 0 1 20 0").subpaths, Affine{});
    EXPECT_NEAR(b.minY, -10, 1e-6);
    EXPECT_NEAR(b.maxX, 20, 1e-12);
}

CssColor color(const char *text) {
    CssColor c;
    EXPECT_TRUE(parseCssColor(text, c)) << text;
    return c;
}

void expectRgba(const CssColor &c, double r, double g, double b, double a = 1) {
    EXPECT_NEAR(c.r, r, 1e-9);
    EXPECT_NEAR(c.g, g, 1e-9);
    EXPECT_NEAR(c.b, b, 1e-9);
    EXPECT_NEAR(c.alpha, a, 1e-9);
}

TEST(CssColors, EveryNotation) {
    expectRgba(color("#f80"), 1, 0x88 / 255.0, 0);
    expectRgba(color("#f808"), 1, 0x88 / 255.0, 0, 0x88 / 255.0);
    expectRgba(color("#FF8000"), 1, 128 / 255.0, 0);
    expectRgba(color("#ff800080"), 1, 128 / 255.0, 0, 128 / 255.0);
    expectRgba(color("rgb(255, 0, 51)"), 1, 0, 0.2);
    expectRgba(color("RGB(100%,50%,0%)"), 1, 0.5, 0);
    expectRgba(color("rgba(0,0,255,0.5)"), 0, 0, 1, 0.5);
    expectRgba(color("rgb(0 128 0 / 25%)"), 0, 128 / 255.0, 0, 0.25);
    expectRgba(color("rgb(300, -5, 0)"), 1, 0, 0);  // clamped
    expectRgba(color("hsl(120, 100%, 50%)"), 0, 1, 0);
    expectRgba(color("hsla(240,100%,25%,0.5)"), 0, 0, 0.5, 0.5);
    expectRgba(color("hsl(0.5turn 100% 50%)"), 0, 1, 1);
    expectRgba(color("hsl(0 0% 100%)"), 1, 1, 1);
    expectRgba(color(" #00F icc-color(acmecmyk, 0.11, 0.48, 0.83, 0.00)"), 0, 0, 1);
}

TEST(CssColors, NamedColoursAndKeywords) {
    expectRgba(color("cornflowerblue"), 0x64 / 255.0, 0x95 / 255.0, 0xed / 255.0);
    expectRgba(color("RebeccaPurple"), 0x66 / 255.0, 0x33 / 255.0, 0x99 / 255.0);
    expectRgba(color("aliceblue"), 0xf0 / 255.0, 0xf8 / 255.0, 1);
    expectRgba(color("yellowgreen"), 0x9a / 255.0, 0xcd / 255.0, 0x32 / 255.0);
    expectRgba(color("grey"), 128 / 255.0, 128 / 255.0, 128 / 255.0);
    EXPECT_EQ(color("transparent").alpha, 0);
    EXPECT_TRUE(color("currentColor").current);
    CssColor c;
    for (const char *bad : {"none", "#12", "#12345", "#ggg", "rgb(1,2)", "rgb(1,2,3,4,5)", "rgb(1 2, 3)",
                            "hsl(10px, 1%, 1%)", "notacolor", "", "url(#a)"})
        EXPECT_FALSE(parseCssColor(bad, c)) << bad;
}

}  // namespace
}  // namespace smear::svg
