// Every suite that writes a number into the document refuses one that is not
// finite, or a result of its own that would leave the float range, with
// kBadParameterErr and the art exactly as it was: one test per kind of
// value, each refused call compared against the art's bytes from before.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "colour_support.h"
#include "finite_support.h"
#include "host_suites_fixture.h"

namespace smear {
namespace {

const AIReal kNaN = std::numeric_limits<AIReal>::quiet_NaN();
const AIReal kInf = std::numeric_limits<AIReal>::infinity();
const AIReal kBig = 1e30f;

class FiniteSuites : public HostSuitesTest {
protected:
    const AIPathSuite &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    const AITransformArtSuite &transform =
        suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    const AIShapeConstructionSuite &shapes =
        suite<AIShapeConstructionSuite>(kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion);
    const AIMeshSuite &mesh = suite<AIMeshSuite>(kAIMeshSuite, kAIMeshSuiteVersion);
    const AIMeshVertexSuite &vertex = suite<AIMeshVertexSuite>(kAIMeshVertexSuite, kAIMeshVertexSuiteVersion);
    const AIPathStyleSuite &pathStyle = suite<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
    const AIBlendStyleSuite &blend = suite<AIBlendStyleSuite>(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion);
    const AIArtStyleSuite &artStyle = suite<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
    const AISwatchListSuite &swatches = suite<AISwatchListSuite>(kAISwatchListSuite, kAISwatchListSuiteVersion);
    const AITagSuite &tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);

    // A closed square with a style whose every number is set.
    Art *paintedSquare() {
        Art *a = addPath({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
        a->closed = true;
        a->style.fillPaint = 1;
        a->style.fill.color = rgbColour(0.25f, 0.5f, 0.75f);
        a->style.strokePaint = 1;
        a->style.stroke.color = grayColour(0.5f);
        a->style.stroke.width = 2;
        a->style.stroke.dashCount = 2;
        a->style.stroke.dashes[0] = 3;
        a->style.stroke.dashes[1] = 1;
        a->style.stroke.miterLimit = 4;
        return a;
    }

    // Calls `change` for each value of `bad`; every call must be refused and
    // leave `art` as it was.
    template <class T, class F> void expectRefused(Art *art, std::initializer_list<T> bad, F change) {
        const std::vector<unsigned char> before = artBytes(art);
        int n = 0;
        for (const T &value : bad) {
            EXPECT_EQ(change(value), kBadParameterErr) << "value " << n;
            EXPECT_TRUE(artBytes(art) == before) << "value " << n << " changed the art";
            ++n;
        }
    }

    // The style of `art` with one number replaced by `value`.
    template <class Set> SPErr setStyleWith(Art *art, AIReal value, Set set) {
        AIPathStyle s = art->style;
        set(s, value);
        return pathStyle.SetPathStyle(toHandle(art), &s);
    }
};

TEST_F(FiniteSuites, TransformsOfPaintAndPlacementAreRefusedPastTheFloatRange) {
    Gradient *ramp = doc().addGradient("Ramp");
    Pattern *dots = doc().addPattern("Dots");
    Art *group = addArt(kGroupArt);
    Art *filled = doc().newArt(kPathArt);
    filled->segments = {AIPathSegment{{1, 1}, {1, 1}, {1, 1}, true}};
    withFill(filled, gradientColour(ramp, 0, 10, 0, 0.5f));
    filled->style.fill.color.c.b.matrix = AIRealMatrix{1, 0, 0, 1, kBig, 0};
    withStroke(filled, patternColour(dots, 0, 1, 1));
    filled->style.stroke.color.c.p.transform = AIRealMatrix{kBig, 0, 0, 1, 0, 0};
    filled->style.stroke.width = 2;
    doc().link(filled, kPlaceInsideOnTop, group);
    Art *placed = doc().newArt(kPlacedArt);
    placed->frame = AIRealRect{0, 10, 10, 0};
    placed->matrix = AIRealMatrix{1, 0, 0, 1, 0, 0};
    doc().link(placed, kPlaceInsideOnTop, group);

    const AIRealMatrix grow{1e10f, 0, 0, 1e10f, 0, 0};
    const AIRealMatrix finite{2, 0, 0, 2, 0, 0};
    const AIRealMatrix notFinite[] = {{kNaN, 0, 0, 1, 0, 0}, {1, 0, 0, 1, kInf, 0}, {1, 0, -kInf, 1, 0, 0}};
    const std::vector<unsigned char> start = artBytes(group);
    for (const AIRealMatrix &m : notFinite) {
        EXPECT_EQ(transform.TransformArt(toHandle(group), &m, 1, kTransformObjects), kBadParameterErr);
        EXPECT_TRUE(artBytes(group) == start);
    }
    for (AIReal lineScale : {kNaN, kInf})
        EXPECT_EQ(transform.TransformArt(toHandle(group), &finite, lineScale, kTransformObjects | kScaleLines),
                  kBadParameterErr);
    EXPECT_TRUE(artBytes(group) == start);

    // The geometry fits, but the gradient's offset and the pattern's scale
    // do not once the paints move with the art: refused.
    EXPECT_EQ(transform.TransformArt(toHandle(group), &grow, 1, kTransformObjects | kTransformPaints),
              kBadParameterErr);
    EXPECT_TRUE(artBytes(group) == start);
    // A scaled stroke width past the range.
    EXPECT_EQ(transform.TransformArt(toHandle(group), &finite, 3e38f, kTransformObjects | kScaleLines),
              kBadParameterErr);
    EXPECT_TRUE(artBytes(group) == start);

    // Without the paint flags the same transform is taken, placed art too,
    // and the paint keeps its matrices.
    ASSERT_EQ(transform.TransformArt(toHandle(group), &grow, 1, kTransformObjects), kNoErr);
    EXPECT_FLOAT_EQ(filled->segments[0].p.h, 1e10f);
    EXPECT_FLOAT_EQ(placed->matrix.a, 1e10f);
    EXPECT_FLOAT_EQ(filled->style.fill.color.c.b.matrix.tx, kBig);
    EXPECT_FLOAT_EQ(filled->style.stroke.color.c.p.transform.a, kBig);
    // Placed art whose matrix would overflow.
    const std::vector<unsigned char> grown = artBytes(placed);
    const AIRealMatrix huge{1e30f, 0, 0, 1, 0, 0};
    EXPECT_EQ(transform.TransformArt(toHandle(placed), &huge, 1, kTransformObjects), kBadParameterErr);
    EXPECT_TRUE(artBytes(placed) == grown);
}

TEST_F(FiniteSuites, ShapesWhoseComputedPointsOverflowAreNotMade) {
    const AIReal most = std::numeric_limits<AIReal>::max();
    int before = 0;
    doc().forEachArt([&](const Art &) { ++before; });
    AIArtHandle out = toHandle(addPath({{0, 0}}));
    // Corners that are finite, but whose centre or radius is not.
    EXPECT_EQ(shapes.NewOval(most, -most, -most, most, false, &out), kBadParameterErr);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(shapes.NewOval(most, most, most, most, true, &out), kBadParameterErr);
    for (AIReal bad : {kNaN, kInf, -kInf}) {
        EXPECT_EQ(shapes.NewRect(bad, 0, 0, 10, false, &out), kBadParameterErr);
        EXPECT_EQ(shapes.NewOval(10, 0, 0, bad, false, &out), kBadParameterErr);
    }
    int after = 0;
    doc().forEachArt([&](const Art &) { ++after; });
    EXPECT_EQ(after, before + 1);  // only the path this test made
    // A rectangle at the range's edge needs no arithmetic and is made.
    ASSERT_EQ(shapes.NewRect(most, -most, -most, most, false, &out), kNoErr);
    EXPECT_EQ(toArt(out)->segments[0].p.v, most);
}

TEST_F(FiniteSuites, StrokeNumbersAreRefusedUnlessFinite) {
    Art *a = paintedSquare();
    using S = AIPathStyle;
    const auto setters = {
        +[](S &s, AIReal v) { s.stroke.width = v; },       +[](S &s, AIReal v) { s.stroke.dashOffset = v; },
        +[](S &s, AIReal v) { s.stroke.dashes[1] = v; },   +[](S &s, AIReal v) { s.stroke.dashes[5] = v; },
        +[](S &s, AIReal v) { s.stroke.miterLimit = v; },
    };
    int field = 0;
    for (auto set : setters) {
        SCOPED_TRACE("field " + std::to_string(field++));
        expectRefused(a, {kNaN, kInf, -kInf}, [&](AIReal v) { return setStyleWith(a, v, set); });
    }
    // A compound path refuses as a whole: neither it nor a member changes.
    Art *compound = addArt(kCompoundPathArt);
    Art *member = addArt(kPathArt, "m", 0, compound);
    member->style = a->style;
    compound->style = a->style;
    expectRefused(compound, {kInf}, [&](AIReal v) {
        return setStyleWith(compound, v, [](S &s, AIReal w) { s.stroke.width = w; });
    });
    // Finite values, however large, are taken as before.
    ASSERT_EQ(setStyleWith(a, kBig, [](S &s, AIReal v) { s.stroke.width = v; }), kNoErr);
    EXPECT_EQ(a->style.stroke.width, kBig);
}

TEST_F(FiniteSuites, ColourNumbersOfEveryKindAreRefusedUnlessFinite) {
    CustomColor *spot = doc().addCustomColor("Spot", processColour(0, 1, 0, 0));
    Gradient *ramp = doc().addGradient("Ramp");
    Pattern *dots = doc().addPattern("Dots");
    Art *a = paintedSquare();
    Art *m = addArt(kMeshArt);
    m->meshI = m->meshJ = 0;
    m->vertices.resize(1);
    m->vertices[0].color = grayColour(0.5f);
    AIMeshVertexHandle v = nullptr;
    ASSERT_EQ(mesh.GetVertex(toHandle(m), 0, 0, &v), kNoErr);
    AISwatchRef swatch = swatches.InsertNthSwatch(nullptr, 0);
    ASSERT_NE(swatch, nullptr);
    const AIColor swatchBefore = toSwatch(swatch)->color;

    using C = AIColor;
    struct Case {
        C colour;
        void (*spoil)(C &, AIReal);
    };
    const Case cases[] = {
        {grayColour(0.5f), [](C &c, AIReal x) { c.c.g.gray = x; }},
        {processColour(0, 0, 0, 1), [](C &c, AIReal x) { c.c.f.cyan = x; }},
        {processColour(0, 0, 0, 1), [](C &c, AIReal x) { c.c.f.black = x; }},
        {rgbColour(1, 0, 0), [](C &c, AIReal x) { c.c.rgb.green = x; }},
        {customColour(spot, 0.5f), [](C &c, AIReal x) { c.c.c.tint = x; }},
        {gradientColour(ramp, 0, 10, 0, 0.5f), [](C &c, AIReal x) { c.c.b.gradientOrigin.v = x; }},
        {gradientColour(ramp, 0, 10, 0, 0.5f), [](C &c, AIReal x) { c.c.b.gradientLength = x; }},
        {gradientColour(ramp, 0, 10, 0, 0.5f), [](C &c, AIReal x) { c.c.b.matrix.d = x; }},
        {gradientColour(ramp, 0, 10, 0, 0.5f), [](C &c, AIReal x) { c.c.b.hiliteAngle = x; }},
        {patternColour(dots, 0, 1, 1), [](C &c, AIReal x) { c.c.p.scale.h = x; }},
        {patternColour(dots, 0, 1, 1), [](C &c, AIReal x) { c.c.p.rotate = x; }},
        {patternColour(dots, 0, 1, 1), [](C &c, AIReal x) { c.c.p.shearAxis = x; }},
        {patternColour(dots, 0, 1, 1), [](C &c, AIReal x) { c.c.p.transform.ty = x; }},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE("case " + std::to_string(n++));
        // The colour as it is is taken everywhere, so the refusals below are
        // the number's alone.
        AIPathStyle good = a->style;
        good.fill.color = c.colour;
        good.stroke.color = c.colour;
        ASSERT_EQ(pathStyle.SetPathStyle(toHandle(a), &good), kNoErr);
        ASSERT_EQ(vertex.SetColor(v, &c.colour), kNoErr);
        ASSERT_EQ(swatches.SetAIColor(swatch, &swatchBefore), kNoErr);
        for (bool fill : {true, false})
            expectRefused(a, {kNaN, kInf, -kInf}, [&](AIReal x) {
                AIPathStyle s = a->style;
                c.spoil(fill ? s.fill.color : s.stroke.color, x);
                return pathStyle.SetPathStyle(toHandle(a), &s);
            });
        expectRefused(m, {kNaN, -kInf}, [&](AIReal x) {
            AIColor colour = c.colour;
            c.spoil(colour, x);
            return vertex.SetColor(v, &colour);
        });
        for (AIReal x : {kNaN, kInf}) {
            AIColor colour = c.colour;
            c.spoil(colour, x);
            EXPECT_EQ(swatches.SetAIColor(swatch, &colour), kBadParameterErr);
            EXPECT_TRUE(sameColour(toSwatch(swatch)->color, swatchBefore));
        }
    }
}

TEST_F(FiniteSuites, PaintHandlesOfAnUndoneDocumentAreRefused) {
    Art *a = paintedSquare();
    host.openUndoStep();
    host.closeUndoStep();
    // Made after the step: the undo takes them away.
    AIPathStyle gradient = a->style;
    gradient.fill.color = gradientColour(doc().addGradient("Gone"), 0, 10, 0, 0.5f);
    AIColor spot = customColour(doc().addCustomColor("Gone", processColour(1, 0, 0, 0)), 0);
    ASSERT_TRUE(host.undo());
    Art *kept = nullptr;
    doc().forEachArt([&](Art &art) { kept = art.type == kPathArt ? &art : kept; });
    ASSERT_NE(kept, nullptr);
    expectRefused(kept, {0}, [&](int) { return pathStyle.SetPathStyle(toHandle(kept), &gradient); });
    AIPathStyle custom = kept->style;
    custom.stroke.color = spot;
    expectRefused(kept, {0}, [&](int) { return pathStyle.SetPathStyle(toHandle(kept), &custom); });
}

TEST_F(FiniteSuites, OpacityAndRealTagsAreRefusedUnlessFinite) {
    Art *a = paintedSquare();
    expectRefused(a, {kNaN, kInf, -kInf}, [&](AIReal x) { return blend.SetOpacity(toHandle(a), x); });
    expectRefused(a, {kNaN, kInf, -kInf},
                  [&](AIReal x) { return tags.SetTag(toHandle(a), "weight", "real", &x); });
    // The range rules that were there stay: any finite opacity is taken.
    ASSERT_EQ(blend.SetOpacity(toHandle(a), 1.5f), kNoErr);
    EXPECT_EQ(a->opacity, 1.5f);
    const AIReal weight = kBig;
    ASSERT_EQ(tags.SetTag(toHandle(a), "weight", "real", &weight), kNoErr);
    AIReal back = 0;
    ASSERT_EQ(tags.GetTag(toHandle(a), "weight", "real", &back, 0), kNoErr);
    EXPECT_EQ(back, kBig);
}

TEST_F(FiniteSuites, StyleFactorsAndGraphicStylesThatOverflowTheStrokeAreRefused) {
    AIPathStyle wide{};
    wide.strokePaint = 1;
    wide.stroke.color = grayColour(1);
    wide.stroke.width = kBig;
    GraphicStyle *thick = doc().addGraphicStyle("Thick", wide);
    Art *a = paintedSquare();
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(a), toHandle(thick)), kNoErr);
    EXPECT_EQ(a->style.stroke.width, kBig);

    // The factor itself, and factors whose scaled width leaves the range.
    expectRefused(a, {kNaN, kInf, 1e10f}, [&](AIReal f) { return artStyle.SetStyleFactor(toHandle(a), f); });
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), 2), kNoErr);
    EXPECT_EQ(a->style.stroke.width, 2 * kBig);
    // Far below zero is still a width of zero, as any negative product is.
    ASSERT_EQ(artStyle.SetStyleFactor(toHandle(a), -1e10f), kNoErr);
    EXPECT_EQ(a->style.stroke.width, 0);
    EXPECT_EQ(a->styleFactor, -1e10f);

    // Applying a style under a factor that overflows it: refused, the art
    // keeps its style, paint and opacity. The same art takes a thin style.
    Art *b = paintedSquare();
    b->styleFactor = 1e10f;
    expectRefused(b, {0}, [&](int) { return artStyle.SetArtStyle(toHandle(b), toHandle(thick)); });
    AIPathStyle narrow = wide;
    narrow.stroke.width = 1;
    GraphicStyle *thin = doc().addGraphicStyle("Thin", narrow);
    ASSERT_EQ(artStyle.SetArtStyle(toHandle(b), toHandle(thin)), kNoErr);
    EXPECT_EQ(b->style.stroke.width, 1e10f);

    // A style whose own numbers are not finite is not painted on anything.
    thin->opacity = kNaN;
    Art *c = paintedSquare();
    expectRefused(c, {0}, [&](int) { return artStyle.SetArtStyle(toHandle(c), toHandle(thin)); });
    thin->opacity = 1;
    thin->style.fill.color = rgbColour(kInf, 0, 0);
    expectRefused(c, {0}, [&](int) { return artStyle.SetArtStyle(toHandle(c), toHandle(thin)); });
}

TEST_F(FiniteSuites, MeshPointsAreRefusedUnlessFinite) {
    Art *m = addArt(kMeshArt);
    m->meshI = m->meshJ = 1;
    m->vertices.resize(4);
    AIMeshVertexHandle v = nullptr;
    ASSERT_EQ(mesh.GetVertex(toHandle(m), 1, 0, &v), kNoErr);
    expectRefused(m, {AIRealPoint{kNaN, 0}, AIRealPoint{0, kInf}, AIRealPoint{-kInf, -kInf}},
                  [&](AIRealPoint p) { return vertex.SetPoint(v, &p); });
    const AIRealPoint far{kBig, -kBig};
    ASSERT_EQ(vertex.SetPoint(v, &far), kNoErr);
    EXPECT_EQ(m->vertex(1, 0).point.h, kBig);
    // Moving the mesh so far that the point overflows is refused whole.
    const std::vector<unsigned char> before = artBytes(m);
    const AIRealMatrix grow{1e10f, 0, 0, 1e10f, 0, 0};
    EXPECT_EQ(transform.TransformArt(toHandle(m), &grow, 1, kTransformObjects), kBadParameterErr);
    EXPECT_TRUE(artBytes(m) == before);
}

}  // namespace
}  // namespace smear
