// SVG numbers the document cannot hold: beyond the largest float, beyond a
// double, or grown past them by a unit, a sum or a transform. Each is
// reported with the element and the number, and the element or attribute
// skipped; nothing infinite or not a number reaches the document, and
// what else the file draws is read as before.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "svg.h"
#include "svg_read_support.h"

namespace smear {
namespace {

bool finite(std::initializer_list<AIReal> values) {
    for (AIReal v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

bool colourFinite(const AIColor &c) {
    const AIGradientStyle &b = c.c.b;
    const AIPatternStyle &p = c.c.p;
    switch (c.kind) {
    case kThreeColor: return finite({c.c.rgb.red, c.c.rgb.green, c.c.rgb.blue});
    case kGradient:
        return finite({b.gradientOrigin.h, b.gradientOrigin.v, b.gradientAngle, b.gradientLength, b.hiliteAngle,
                       b.hiliteLength, b.matrix.a, b.matrix.b, b.matrix.c, b.matrix.d, b.matrix.tx, b.matrix.ty});
    case kPattern:
        return finite({p.transform.a, p.transform.b, p.transform.c, p.transform.d, p.transform.tx, p.transform.ty});
    default: return true;
    }
}

// Every number of every art object, of the artboard and of the patterns.
bool allFinite(const Document &doc) {
    bool ok = finite({doc.artboard.left, doc.artboard.top, doc.artboard.right, doc.artboard.bottom});
    for (const Pattern *p : doc.patterns) ok = ok && finite({p->tile.left, p->tile.top, p->tile.right, p->tile.bottom});
    doc.forEachArt([&](const Art &a) {
        for (const AIPathSegment &s : a.segments) ok = ok && finite({s.p.h, s.p.v, s.in.h, s.in.v, s.out.h, s.out.v});
        for (const MeshVertex &v : a.vertices) ok = ok && finite({v.point.h, v.point.v});
        const AIStrokeStyle &k = a.style.stroke;
        ok = ok && finite({k.width, k.miterLimit, k.dashOffset, a.opacity, a.styleFactor, a.fontSize, a.frame.left,
                           a.frame.top, a.frame.right, a.frame.bottom, a.matrix.a, a.matrix.d, a.matrix.tx,
                           a.matrix.ty, a.svgTransform.a, a.svgTransform.d, a.svgTransform.tx, a.svgTransform.ty});
        for (ASInt32 i = 0; i < k.dashCount; ++i) ok = ok && std::isfinite(k.dashes[i]);
        ok = ok && colourFinite(a.style.fill.color) && colourFinite(k.color);
    });
    return ok;
}

const Art *byId(const Document &doc, const std::string &id) {
    const Art *found = nullptr;
    doc.forEachArt([&](const Art &a) {
        if (!found && a.id == id) found = &a;
    });
    return found;
}

std::string problems(const SvgReadReport &report) {
    std::string all;
    for (const std::string &p : report.problems) all += p + "\n";
    return all;
}

// Reads `element` beside an ordinary rectangle; the element must be
// skipped with exactly `problem`, the rectangle kept.
void expectSkipped(const std::string &element, const std::string &problem) {
    SCOPED_TRACE(element);
    const auto r = read(wrap(element + "<rect id='ok' x='1' y='2' width='3' height='4'/>"));
    ASSERT_TRUE(r->ok) << r->error;
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0], problem);
    EXPECT_EQ(byId(r->doc, "x"), nullptr);
    const Art *ok = byId(r->doc, "ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_FLOAT_EQ(ok->segments[2].p.h, 4);
    EXPECT_TRUE(allFinite(r->doc));
}

TEST(SvgReadNumberRange, GeometryWithANumberBeyondTheDrawingSkipsTheElement) {
    const std::string beyond = ": d has a number beyond the range of the drawing (";
    expectSkipped("<path id='x' d='M0 0 L1e39 0'/>", "element <path id=x>" + beyond + "1e39); skipped");
    expectSkipped("<path id='x' d='M0 0 L10 1e400'/>", "element <path id=x>" + beyond + "1e400); skipped");
    expectSkipped("<path id='x' d='M0,0h-1e39'/>", "element <path id=x>" + beyond + "-1e39); skipped");
    // Anywhere in the data, even past the last command that could be drawn.
    expectSkipped("<path id='x' d='M0 0 L5 5 Q1 1e39'/>", "element <path id=x>" + beyond + "1e39); skipped");
    expectSkipped("<polygon id='x' points='0,0 10,0 1e39,5'/>",
                  "element <polygon id=x>: points has a number beyond the range of the drawing (1e39); skipped");
    expectSkipped("<polyline id='x' points='0,0 -1e400,5'/>",
                  "element <polyline id=x>: points has a number beyond the range of the drawing (-1e400); skipped");
    // Shape attributes, before any other check of them (a negative radius).
    expectSkipped("<rect id='x' width='1e39' height='5'/>",
                  "element <rect id=x>: width has a number beyond the range of the drawing (1e39); skipped");
    expectSkipped("<circle id='x' r='-1e39'/>",
                  "element <circle id=x>: r has a number beyond the range of the drawing (-1e39); skipped");
    expectSkipped("<ellipse id='x' cx='1e400' rx='1' ry='2'/>",
                  "element <ellipse id=x>: cx has a number beyond the range of the drawing (1e400); skipped");
    expectSkipped("<line id='x' x1='0' y1='0' x2='5' y2='-1e39'/>",
                  "element <line id=x>: y2 has a number beyond the range of the drawing (-1e39); skipped");
    // A length that fits as written but not once its unit is applied.
    expectSkipped("<rect id='x' width='1e38in' height='5'/>",
                  "element <rect id=x>: width has a number beyond the range of the drawing (1e38in); skipped");
    expectSkipped("<rect id='x' width='3e38%' height='5'/>",
                  "element <rect id=x>: width has a number beyond the range of the drawing (3e38%); skipped");
    // Placed content.
    expectSkipped("<image id='x' href='a.png' width='1e39' height='1'/>",
                  "element <image id=x>: width has a number beyond the range of the drawing (1e39); skipped");
    expectSkipped("<use id='x' href='#ok' x='1e39'/>",
                  "element <use id=x>: x has a number beyond the range of the drawing (1e39); skipped");
    expectSkipped("<text id='x' x='0 1e39'>A</text>",
                  "element <text id=x>: x has a number beyond the range of the drawing (1e39); skipped");
    expectSkipped("<text id='x'><tspan y='1e400'>A</tspan></text>",
                  "element <text id=x>: a tspan's y has a number beyond the range of the drawing (1e400); skipped");
    expectSkipped("<svg id='x' viewBox='0 0 1e39 10'><rect width='1' height='1'/></svg>",
                  "element <svg id=x>: viewBox has a number beyond the range of the drawing (1e39); skipped");
}

TEST(SvgReadNumberRange, TransformsBeyondTheDrawingSkipTheirElement) {
    expectSkipped("<rect id='x' width='1' height='1' transform='scale(1e39)'/>",
                  "element <rect id=x>: transform has a number beyond the range of the drawing (1e39); skipped");
    expectSkipped("<g id='x' transform='translate(0 -1e400)'><rect width='1' height='1'/></g>",
                  "element <g id=x>: transform has a number beyond the range of the drawing (-1e400); skipped");
    // Finite numbers that a transform carries past the largest float.
    expectSkipped("<g transform='scale(1e30)'><rect id='x' width='1e10' height='1'/></g>",
                  "element <rect id=x>: lies beyond the range of the drawing; skipped");
    expectSkipped("<g transform='scale(1e20)'><g transform='scale(1e20)'><path id='x' d='M0 0 L1 1'/></g></g>",
                  "element <path id=x>: lies beyond the range of the drawing; skipped");
    expectSkipped("<path id='x' d='M3e38 0 l3e38 0'/>", "element <path id=x>: lies beyond the range of the drawing; skipped");
    // Text keeps its frame apart from its matrix: a frame ten em wide.
    expectSkipped("<text id='x' font-size='1e38'>ABCDEFGHIJ</text>",
                  "element <text id=x>: lies beyond the range of the drawing; skipped");
    expectSkipped("<image id='x' href='a.png' transform='translate(3e38 0) translate(3e38 0)' width='1' height='1'/>",
                  "element <image id=x>: lies beyond the range of the drawing; skipped");

    // The same file, scaled less, is read whole: nothing near the limit is refused.
    const auto r = read(wrap("<g transform='scale(1e20)'><rect id='r' width='1e10' height='1'/></g>"));
    ASSERT_TRUE(r->ok);
    EXPECT_TRUE(r->report.problems.empty()) << problems(r->report);
    const Art *rect = byId(r->doc, "r");
    ASSERT_NE(rect, nullptr);
    EXPECT_FLOAT_EQ(rect->segments[1].p.h, 1e30f);
}

TEST(SvgReadNumberRange, LayersAndTheRootDrawNothingThroughAnUnholdableTransform) {
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' transform='scale(1e39)'><rect id='a' width='1' height='1'/></svg>");
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0].substr(r->report.problems[0].find(':')),
              ": transform has a number beyond the range of the drawing (1e39); its content is skipped");
    EXPECT_EQ(byId(r->doc, "a"), nullptr);

    r = read(wrap("<g id='L' data-layer='Far' transform='scale(1e39)'><rect id='a' width='1' height='1'/></g>"
                  "<g data-layer='Near'><rect id='b' width='1' height='1'/></g>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0], "element <g id=L>: transform has a number beyond the range of the drawing (1e39); skipped");
    EXPECT_EQ(byId(r->doc, "a"), nullptr);
    EXPECT_NE(byId(r->doc, "b"), nullptr);
}

TEST(SvgReadNumberRange, APageBeyondTheDrawingIsIgnoredAndNotWrittenBack) {
    for (const char *root : {"viewBox='0 0 1e39 100'", "viewBox='0 -1e400 10 10'", "viewBox='3e38 0 3e38 10'",
                             "width='1e39' height='10'", "width='10' height='1e38in'"}) {
        SCOPED_TRACE(root);
        const std::string text = std::string("<svg xmlns='http://www.w3.org/2000/svg' id='root' ") + root +
                                 "><rect id='a' x='10' y='20' width='30' height='40'/></svg>";
        const auto r = read(text);
        ASSERT_TRUE(r->ok) << r->error;
        ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
        EXPECT_EQ(r->report.problems[0].rfind("element <svg id=root>: ", 0), 0u) << r->report.problems[0];
        EXPECT_NE(r->report.problems[0].find("beyond the range of the drawing"), std::string::npos);
        EXPECT_EQ(r->report.problems[0].substr(r->report.problems[0].size() - 9), "; ignored");
        // No page: the drawing's bounds are the artboard, and no page is written.
        EXPECT_FLOAT_EQ(r->doc.artboard.left, 10);
        EXPECT_FLOAT_EQ(r->doc.artboard.bottom, -60);
        EXPECT_TRUE(allFinite(r->doc));
        // Written back, the file is the user's, page and all; written anew
        // (as a drawing made here is), no page beyond the drawing is.
        EXPECT_EQ(svgOf(r->doc), text);
        r->doc.svgSource.reset();
        const std::string written = svgOf(r->doc);
        EXPECT_EQ(written.find("e39"), std::string::npos) << written;
        EXPECT_EQ(written.find("e+"), std::string::npos) << written;
        EXPECT_NE(written.find("id=\"a\""), std::string::npos);
    }
}

TEST(SvgReadNumberRange, PaintNumbersBeyondTheDrawingAreReportedAndIgnored) {
    struct Case {
        std::string element, problem;
    } cases[] = {
        {"<rect id='x' width='5' height='5' fill='rgb(1e39, 0, 0)'/>",
         "element <rect id=x>: fill has a number beyond the range of the drawing (1e39); ignored"},
        {"<rect id='x' width='5' height='5' style='stroke: hsl(1e400, 50%, 50%)'/>",
         "element <rect id=x>: stroke has a number beyond the range of the drawing (1e400); ignored"},
        {"<rect id='x' width='5' height='5' opacity='1e39'/>",
         "element <rect id=x>: opacity has a number beyond the range of the drawing (1e39); ignored"},
        {"<rect id='x' width='5' height='5' fill-opacity='-1e39%'/>",
         "element <rect id=x>: fill-opacity has a number beyond the range of the drawing (-1e39); ignored"},
        {"<rect id='x' width='5' height='5' stroke='red' stroke-width='1e39'/>",
         "element <rect id=x>: stroke-width has a number beyond the range of the drawing (1e39); ignored"},
        {"<rect id='x' width='5' height='5' stroke='red' stroke-width='1e38cm'/>",
         "element <rect id=x>: stroke-width has a number beyond the range of the drawing (1e38cm); ignored"},
        {"<rect id='x' width='5' height='5' stroke='red' stroke-dasharray='1 1e39'/>",
         "element <rect id=x>: stroke-dasharray has a number beyond the range of the drawing (1e39); ignored"},
        {"<rect id='x' width='5' height='5' stroke='red' stroke-miterlimit='1e400'/>",
         "element <rect id=x>: stroke-miterlimit has a number beyond the range of the drawing (1e400); ignored"},
        {"<rect id='x' width='5' height='5' color='rgba(0,0,0,1e39)'/>",
         "element <rect id=x>: color has a number beyond the range of the drawing (1e39); ignored"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.element);
        const auto r = read(wrap(c.element));
        ASSERT_TRUE(r->ok);
        ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
        EXPECT_EQ(r->report.problems[0], c.problem);
        const Art *x = byId(r->doc, "x");
        ASSERT_NE(x, nullptr);  // the shape is drawn as if the property were not there
        EXPECT_FLOAT_EQ(x->opacity, 1);
        EXPECT_EQ(x->style.fill.color.kind, kThreeColor);
        EXPECT_FLOAT_EQ(x->style.fill.color.c.rgb.red, 0);  // black, not the colour clamped
        EXPECT_FLOAT_EQ(x->style.stroke.width, 1);
        EXPECT_EQ(x->style.stroke.dashCount, 0);
        EXPECT_FLOAT_EQ(x->style.stroke.miterLimit, 4);
        EXPECT_TRUE(allFinite(r->doc));
    }
    // Hex colours and ids are no numbers, however their digits read.
    const auto r = read(wrap("<linearGradient id='g1e39'><stop offset='0' stop-color='#1e3900'/><stop offset='1'/>"
                             "</linearGradient><rect id='a' width='5' height='5' fill='#1e3900' stroke='url(#g1e39)'/>"));
    ASSERT_TRUE(r->ok);
    EXPECT_TRUE(r->report.problems.empty()) << problems(r->report);
}

TEST(SvgReadNumberRange, GradientsAndPatternsBeyondTheDrawingPaintNothing) {
    const std::string stops = "<stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue'/>";
    struct Case {
        std::string defs, problem;
    } cases[] = {
        {"<linearGradient id='g' gradientUnits='userSpaceOnUse' x2='1e39'>" + stops + "</linearGradient>",
         "element <rect id=x>: gradient #g: x2 has a number beyond the range of the drawing (1e39); not painted"},
        {"<radialGradient id='g' gradientTransform='scale(1e400)'>" + stops + "</radialGradient>",
         "element <rect id=x>: gradient #g: gradientTransform has a number beyond the range of the drawing (1e400); "
         "not painted"},
        {"<pattern id='g' width='1e39' height='10' patternUnits='userSpaceOnUse'><rect width='1' height='1'/></pattern>",
         "element <rect id=x>: pattern #g: width has a number beyond the range of the drawing (1e39); not painted"},
        {"<pattern id='g' x='3e38' width='3e38' height='10' patternUnits='userSpaceOnUse'><rect width='1' "
         "height='1'/></pattern>",
         "element <rect id=x>: pattern #g: its tile lies beyond the range of the drawing; not painted"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.defs);
        const auto r = read(wrap("<defs>" + c.defs + "</defs><rect id='x' width='5' height='5' fill='url(#g)'/>"));
        ASSERT_TRUE(r->ok);
        ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
        EXPECT_EQ(r->report.problems[0], c.problem);
        const Art *x = byId(r->doc, "x");
        ASSERT_NE(x, nullptr);
        EXPECT_FALSE(x->style.fillPaint);
        EXPECT_TRUE(r->doc.patterns.empty());
        EXPECT_TRUE(allFinite(r->doc));
    }
    // A gradient whose numbers each fit, placed through a transform that
    // carries it past the largest float: the element is skipped.
    const auto r = read(wrap("<defs><linearGradient id='g' gradientUnits='userSpaceOnUse' x1='-3e38' x2='3e38'>" +
                             stops + "</linearGradient></defs><rect id='x' width='5' height='5' fill='url(#g)' "
                             "transform='scale(1e5)'/>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0], "element <rect id=x>: lies beyond the range of the drawing; skipped");
    EXPECT_EQ(byId(r->doc, "x"), nullptr);
    EXPECT_TRUE(allFinite(r->doc));

    // The same gradient as a swatch: no art to skip, the swatch is not kept.
    const auto s = read(wrap("<defs><linearGradient id='g' data-smear-swatch='Far' gradientUnits='userSpaceOnUse' "
                             "x1='-3e38' x2='3e38'>" + stops + "</linearGradient></defs>"));
    ASSERT_TRUE(s->ok);
    ASSERT_EQ(s->report.problems.size(), 1u) << problems(s->report);
    EXPECT_EQ(s->report.problems[0], "element <linearGradient id=g>: swatch \"Far\" lies beyond the range of the drawing; "
                                     "not kept");
    EXPECT_TRUE(s->doc.swatches.empty());
}

TEST(SvgReadNumberRange, StopsBeyondTheDrawingAreReportedAndIgnored) {
    const auto r = read(wrap("<linearGradient id='g'><stop id='s1' offset='1e39' stop-color='red'/>"
                             "<stop id='s2' offset='1' stop-color='rgb(0, 1e400, 0)' stop-opacity='1e39'/>"
                             "</linearGradient><rect id='x' width='5' height='5' fill='url(#g)'/>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 3u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0], "element <stop id=s1>: offset has a number beyond the range of the drawing (1e39); ignored");
    EXPECT_EQ(r->report.problems[1],
              "element <stop id=s2>: stop-color has a number beyond the range of the drawing (1e400); ignored");
    EXPECT_EQ(r->report.problems[2],
              "element <stop id=s2>: stop-opacity has a number beyond the range of the drawing (1e39); ignored");
    ASSERT_EQ(r->doc.gradients.size(), 1u);
    const Gradient &g = *r->doc.gradients[0];
    ASSERT_EQ(g.stops.size(), 2u);
    EXPECT_FLOAT_EQ(g.stops[0].offset, 0);  // as if no offset were given
    EXPECT_FLOAT_EQ(g.stops[0].color.c.rgb.red, 1);
    EXPECT_FLOAT_EQ(g.stops[1].color.c.rgb.green, 0);  // black, not green clamped
    EXPECT_FLOAT_EQ(g.stops[1].opacity, 1);
}

TEST(SvgReadNumberRange, ArcsWithExtremeRadiiAreDrawnOrReported) {
    // A radius near the largest float: all but a straight line, and finite.
    auto r = read(wrap("<path id='p' d='M0 0 A1e38 1e38 0 0 1 10 10'/>"));
    ASSERT_TRUE(r->ok);
    EXPECT_TRUE(r->report.problems.empty()) << problems(r->report);
    const Art *p = byId(r->doc, "p");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(allFinite(r->doc));
    ASSERT_EQ(p->segments.size(), 2u);
    EXPECT_FLOAT_EQ(p->segments[1].p.h, 10);
    EXPECT_FLOAT_EQ(p->segments[1].p.v, -10);
    for (const AIRealPoint q : {p->segments[0].out, p->segments[1].in}) {
        EXPECT_NEAR(q.h, -q.v, 1e-3);  // on the chord from (0, 0) to (10, -10)
        EXPECT_GE(q.h, -1e-3);
        EXPECT_LE(q.h, 10 + 1e-3);
    }

    // Radii so small that their squares vanish: the arc grows to a half
    // ellipse through both ends, here a half circle around (5, 5).
    r = read(wrap("<path id='p' d='M0 0 A1e-300 1e-300 0 0 1 10 10'/>"));
    ASSERT_TRUE(r->ok);
    EXPECT_TRUE(r->report.problems.empty()) << problems(r->report);
    p = byId(r->doc, "p");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(allFinite(r->doc));
    ASSERT_EQ(p->segments.size(), 3u);
    EXPECT_NEAR(std::hypot(p->segments[1].p.h - 5, p->segments[1].p.v + 5), std::sqrt(50.0), 1e-4);

    // Radii so far below the chord that it is not a number of radii: the
    // path is kept up to the arc, as with any path data that cannot be read.
    const std::string d = "M0 0 L1 0 A1e-320 1e-320 0 0 1 3e38 3e38";
    r = read(wrap("<path id='p' d='" + d + "'/>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 1u);
    EXPECT_EQ(r->report.problems[0], "element <path id=p>: path data: command 'A' draws an arc that cannot be computed "
                                     "at offset " + std::to_string(d.size()) + "; the path up to there is kept");
    p = byId(r->doc, "p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->segments.size(), 2u);
    EXPECT_TRUE(allFinite(r->doc));

    // Flags written together with the number after them: "111e38" is two
    // flags and 1e38, which fits.
    r = read(wrap("<path id='p' d='M0 0 A5 5 0 111e38 0'/>"));
    ASSERT_TRUE(r->ok);
    EXPECT_TRUE(r->report.problems.empty()) << problems(r->report);
    p = byId(r->doc, "p");
    ASSERT_NE(p, nullptr);
    EXPECT_FLOAT_EQ(p->segments.back().p.h, 1e38f);
    EXPECT_TRUE(allFinite(r->doc));

    // Radii beyond the drawing are refused with the rest of the path.
    expectSkipped("<path id='x' d='M0 0 A1e300 1e300 0 0 1 10 10'/>",
                  "element <path id=x>: d has a number beyond the range of the drawing (1e300); skipped");
}

TEST(SvgReadNumberRange, RecordsOfTheWriterBeyondTheDrawingAreNotTaken) {
    // A style factor, a named style and a mesh whose numbers the document cannot hold.
    auto r = read(wrap("<rect id='x' width='5' height='5' data-smear-style-factor='1e39'/>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0],
              "element <rect id=x>: data-smear-style-factor has a number beyond the range of the drawing (1e39); ignored");
    ASSERT_NE(byId(r->doc, "x"), nullptr);
    EXPECT_FLOAT_EQ(byId(r->doc, "x")->styleFactor, 1);

    r = read(wrap("<style data-smear-style='Wide' data-smear-fill='rgb:0,0,0' data-smear-stroke='none' "
                  "data-smear-stroke-attrs='1e39 0 0 4 0' data-smear-paint='1 0 0' data-smear-opacity='1'/>"
                  "<style data-smear-style='Odd' data-smear-fill='rgb:0,0,0' data-smear-stroke='none' "
                  "data-smear-stroke-attrs='1 7 0 4 0' data-smear-paint='1 0 0' data-smear-opacity='1'/>"
                  "<style data-smear-style='Fine' data-smear-fill='rgb:0,0,0' data-smear-stroke='none' "
                  "data-smear-stroke-attrs='1 1 2 4 0' data-smear-paint='1 0 0' data-smear-opacity='1'/>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 2u) << problems(r->report);
    EXPECT_NE(r->report.problems[0].find("graphic style \"Wide\": data-smear-stroke-attrs has a number beyond the "
                                         "range of the drawing (1e39); not kept"),
              std::string::npos);
    EXPECT_NE(r->report.problems[1].find("graphic style \"Odd\" has a cap or join that is none of 0, 1 and 2"),
              std::string::npos);
    ASSERT_EQ(r->doc.graphicStyles.size(), 1u);
    EXPECT_EQ(r->doc.graphicStyles[0]->name, "Fine");
    EXPECT_EQ(r->doc.graphicStyles[0]->style.stroke.join, 2);

    r = read(wrap("<g id='m' data-mesh='1x1' data-mesh-points='0,0 1,0 0,1 1e39,1' "
                  "data-mesh-colors='gray:0 gray:0 gray:0 gray:0'/>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_EQ(r->report.problems[0],
              "element <g id=m>: mesh \"1x1\" has a point that lies beyond the range of the drawing; skipped");
    EXPECT_EQ(byId(r->doc, "m"), nullptr);

    // A mesh colour whose number is beyond the drawing is no colour: black, reported.
    r = read(wrap("<g id='m' data-mesh='1x1' data-mesh-points='0,0 1,0 0,1 1,1' "
                  "data-mesh-colors='gray:0 gray:1e39 gray:0 gray:0'/>"));
    ASSERT_TRUE(r->ok);
    ASSERT_EQ(r->report.problems.size(), 1u) << problems(r->report);
    EXPECT_NE(r->report.problems[0].find("mesh colour \"gray:1e39\" is not understood"), std::string::npos);
    ASSERT_NE(byId(r->doc, "m"), nullptr);
    EXPECT_TRUE(allFinite(r->doc));
}

}  // namespace
}  // namespace smear
