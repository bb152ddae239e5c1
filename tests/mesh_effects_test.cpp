// Gradient Mesh and Warp Mesh on real meshes: the walk over every vertex and
// the sizes it refuses, each vertex weighed by itself, the colour modes each
// in its own formula order, the channel links, the complement, the mirror
// patterns in their order, the warp strength over a stroke, and what the
// tools leave alone.
#include <string>
#include <utility>
#include <vector>

#include "mesh_support.h"

namespace smear {
namespace {

class MeshTest : public PointToolTest {
protected:
    void channels(AIReal a, AIReal b, AIReal c, AIReal d) {
        g().meshColorChannel1 = a;
        g().meshColorChannel2 = b;
        g().meshColorChannel3 = c;
        g().meshColorChannel4 = d;
    }
    void shift(AIReal h, AIReal v) {
        g().warpShiftHorizontal = h;
        g().warpShiftVertical = v;
    }
    static void recolour(Art *mesh, const AIColor &colour) {
        for (MeshVertex &v : mesh->vertices) v.color = colour;
    }
};

std::vector<std::string> gridCalls(ASInt32 I, ASInt32 J) {
    std::vector<std::string> out;
    for (ASInt32 i = 0; i <= I; ++i)
        for (ASInt32 j = 0; j <= J; ++j) out.push_back("GetVertex " + std::to_string(i) + " " + std::to_string(j));
    return out;
}

bool samePoint(const AIRealPoint &a, AIReal h, AIReal v) { return a.h == h && a.v == v; }

TEST_F(MeshTest, BothToolsVisitEveryVertexWithTheFirstIndexOutermost) {
    Art *single = addMesh(doc(), 1, 1, {200, 200}, 10);
    Art *wide = addMesh(doc(), 2, 3, {300, 300}, 10);  // later in the list: worked on first
    std::vector<std::string> expected = gridCalls(2, 3);
    for (const std::string &c : gridCalls(1, 1)) expected.push_back(c);
    ASSERT_EQ(expected.size(), 12u + 4u);
    host.log.enable(true);
    for (int tool : {kGradientMeshTool, kWarpMeshTool}) {
        host.log.clear();
        stroke(tool);
        EXPECT_EQ(calls("GetVertex"), expected) << tool;
        EXPECT_TRUE(tagged(single) && tagged(wide)) << tool;
    }
}

TEST_F(MeshTest, SizesThatCannotBeWalkedAreSkippedButTheMeshIsTaggedAndCopied) {
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 10);
    const std::vector<MeshVertex> start = mesh->vertices;
    g().trailCursor = 1;
    host.log.enable(true);
    const std::pair<ASInt32, ASInt32> sizes[] = {{-1, 1}, {2147483647, 1}, {1, -1}, {1, 2147483647}};
    for (int tool : {kGradientMeshTool, kWarpMeshTool})
        for (const auto &[I, J] : sizes) {
            SCOPED_TRACE(std::to_string(tool) + ": " + std::to_string(I) + " x " + std::to_string(J));
            reportMeshSize(host, mesh, I, J);
            host.log.clear();
            mesh->tags.clear();
            stroke(tool);
            EXPECT_EQ(count("GetVertex"), 0);
            EXPECT_TRUE(tagged(mesh));
            EXPECT_EQ(count("DuplicateArt"), 1);
        }
    for (size_t k = 0; k < start.size(); ++k) {
        EXPECT_TRUE(samePoint(mesh->vertices[k].point, start[k].point.h, start[k].point.v)) << k;
        EXPECT_TRUE(sameColour(mesh->vertices[k].color, start[k].color)) << k;
    }
    reportMeshSize(host, mesh, 1, 1);  // the same tables walk a size they can
    host.log.clear();
    stroke(kWarpMeshTool);
    EXPECT_EQ(count("GetVertex"), 4);
    EXPECT_FALSE(samePoint(mesh->vertex(0, 0).point, 0, 0));
}

TEST_F(MeshTest, ArtThatIsNotAMeshIsNeitherTaggedNorChangedButCopied) {
    const AIColor fill = processColour(0.5f, 0.5f, 0.5f, 0.5f);
    Art *rect = withFill(addRect(doc(), 0, 0, 10, 10), fill);
    Art *text = addFramed(doc(), kTextArt, -5, -5);
    const AIPathSegment corner = rect->segments[0];
    g().trailCursor = 1;
    host.log.enable(true);
    for (int tool : {kGradientMeshTool, kWarpMeshTool}) {
        host.log.clear();
        stroke(tool);
        EXPECT_FALSE(tagged(rect) || tagged(text)) << tool;
        EXPECT_TRUE(sameSegment(rect->segments[0], corner)) << tool;
        EXPECT_TRUE(sameColour(rect->style.fill.color, fill)) << tool;
        EXPECT_EQ(count("GetSize"), 0) << tool;
        EXPECT_EQ(count("DuplicateArt"), 2) << tool;
    }
}

// ---- Gradient Mesh

TEST_F(MeshTest, EachColourModeHasItsOwnFormulaOrder) {
    g().brushShape = 5;
    const AIColor start = processColour(0.5f, 0.25f, 0.4f, 0.2f);
    Art *mesh = addMesh(doc(), 1, 1, {0, -35}, 100, start);  // only (0, 0) under the brush
    channels(9, 24, 14, 30);
    const AIReal q = upWeight(-35), p = kP;
    const AIReal a[4] = {9 * 0.01f, 24 * 0.01f, 14 * 0.01f, 30 * 0.01f};
    const AIReal c[4] = {0.5f, 0.25f, 0.4f, 0.2f};
    const AIReal r[4] = {0.45f, 0.6f, 0.55f, 0.2f};
    const AIReal signDraw[4] = {0.9f, 0.1f, 0.9f, 0.5f};  // -, +, -, +
    const long draws[6] = {0, 4, 0, 4, 4, 8};
    for (ASInt32 mode = 0; mode <= 5; ++mode) {
        SCOPED_TRACE(mode);
        mesh->vertex(0, 0).color = start;
        g().meshColorMode = mode;
        for (int k = 0; k < 4 && draws[mode] > 0; ++k) {
            if (mode == 5) host.random.queue(signDraw[k]);
            host.random.queue(r[k]);
        }
        const long before = host.random.draws();
        pressedStroke(kGradientMeshTool);
        EXPECT_EQ(host.random.draws() - before, draws[mode]);
        AIReal want[4];
        for (int k = 0; k < 4; ++k) {
            const AIReal s = signDraw[k] > 0.5f ? -1.0f : 1.0f;
            switch (mode) {
            case 0: want[k] = c[k] + a[k] * q * p; break;
            case 1: want[k] = r[k] * q * a[k] * p; break;
            case 2: want[k] = a[k] * q * p; break;
            case 3: want[k] = 1.0f - r[k] * q * a[k] * p; break;
            case 4: want[k] = r[k] * q * p; break;  // the amount plays no part
            default: want[k] = c[k] + s * r[k] * q * a[k] * p; break;
            }
        }
        EXPECT_TRUE(sameColour(mesh->vertex(0, 0).color, processColour(want[0], want[1], want[2], want[3])));
        for (ASInt32 i : {0, 1})
            EXPECT_TRUE(sameColour(mesh->vertex(i, 1).color, start));  // outside the brush
        EXPECT_TRUE(sameColour(mesh->vertex(1, 0).color, start));
    }
}

TEST_F(MeshTest, EachColourKindTakesItsOwnComponentsAmountsAndLink) {
    const AIColor custom = customColour(doc().addCustomColor("Spot", processColour(0, 1, 0, 0)), 0.25f);
    Art *cmyk = addMesh(doc(), 1, 1, {0, 0}, 100, processColour(0.5f, 0.5f, 0.5f, 0.5f));
    Art *three = addMesh(doc(), 1, 1, {0, 0}, 100, rgbColour(0.5f, 0.5f, 0.5f));
    Art *gray = addMesh(doc(), 1, 1, {0, 0}, 100, grayColour(0.5f));
    Art *spot = addMesh(doc(), 1, 1, {0, 0}, 100, custom);
    Art *none = addMesh(doc(), 1, 1, {0, 0}, 100, noneColour());
    g().meshColorMode = 2;
    g().meshColorLink = 1;  // B = A, C = A; black and gray are never linked
    channels(40, 10, 70, 25);
    stroke(kGradientMeshTool);
    const AIReal a1 = 40 * 0.01f * 1.0f * 1.0f;
    const AIReal red = 40 * 0.01f * 0.39215687f * 1.0f * 1.0f;
    EXPECT_TRUE(sameColour(cmyk->vertex(0, 0).color, processColour(a1, a1, a1, 25 * 0.01f)));
    EXPECT_TRUE(sameColour(three->vertex(0, 0).color, rgbColour(red, red, red)));
    EXPECT_TRUE(sameColour(gray->vertex(0, 0).color, grayColour(a1)));
    EXPECT_TRUE(sameColour(spot->vertex(0, 0).color, custom));
    EXPECT_TRUE(sameColour(none->vertex(0, 0).color, noneColour()));
    // One draw per component of the kinds that have them: 4 + 3 + 1.
    g().meshColorMode = 4;
    g().meshColorLink = 0;
    const long before = host.random.draws();
    stroke(kGradientMeshTool);
    EXPECT_EQ(host.random.draws() - before, 8);
    EXPECT_TRUE(sameColour(spot->vertex(0, 0).color, custom));
}

TEST_F(MeshTest, ComponentsAreClampedSoBlackPushedAboveOneIsStoredAsOne) {
    Art *cmyk = addMesh(doc(), 1, 1, {0, 0}, 100, processColour(0.1f, 0.5f, 0.9f, 0.9f));
    Art *three = addMesh(doc(), 1, 1, {0, 0}, 100, rgbColour(0.1f, 0.5f, 0.9f));
    Art *gray = addMesh(doc(), 1, 1, {0, 0}, 100, grayColour(0.2f));
    g().meshColorMode = 0;
    channels(-50, 10, 20, 50);
    stroke(kGradientMeshTool);
    EXPECT_TRUE(sameColour(cmyk->vertex(0, 0).color, processColour(0, 0.5f + 10 * 0.01f, 1, 1)));
    const AIReal step = 0.39215687f;
    EXPECT_TRUE(sameColour(three->vertex(0, 0).color,
                           rgbColour(0, 0.5f + 10 * 0.01f * step, 0.9f + 20 * 0.01f * step)));
    EXPECT_TRUE(sameColour(gray->vertex(0, 0).color, grayColour(0)));
}

TEST_F(MeshTest, TheLinkStepIsTheOneOfFillChannels) {
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 100);
    g().meshColorMode = 2;
    channels(60, 70, 20, 15);
    const AIReal A = 60 * 0.01f, B = 70 * 0.01f, C = 20 * 0.01f, K = 15 * 0.01f;
    auto wrap = [](AIReal x) { return x > 1.0f ? x - 1.0f : x; };
    auto clamp = [](AIReal x) { return x < 0.0f ? 0.0f : x > 1.0f ? 1.0f : x; };
    const AIReal c18 = A + B, b26 = wrap(A + 0.3f), a27 = A * 1.1f + B * 0.5f;
    struct Case {
        ASInt32 link;
        std::vector<AIReal> draws;
        AIReal a, b, c;
    };
    const Case cases[] = {
        {0, {}, A, B, C},
        {1, {}, A, A, A},
        {4, {}, A, A + 0.1f, A + 0.2f},
        {8, {}, 1.0f - C, 1.0f - C, C},
        {10, {}, A, A > B ? 1.0f : 0.0f, A > C ? 1.0f : 0.0f},
        {18, {}, A, A - c18, c18},
        {19, {}, A, A * 0.5f + 2.0f * (A - B), A - B},
        {22, {}, B + 0.4f, B, B + C * 0.5f + 0.1f},
        {23, {0.9f, 0.5f, 0.2f, 0.25f}, B + 0.1f * 0.5f * -1.0f, B, B + 0.2f * 0.25f * 1.0f},
        {24, {0.9f, 0.5f, 0.2f, 0.25f}, B - 0.3f * 0.5f * -1.0f, B, B + 0.1f * 0.25f * 1.0f},
        {25, {}, wrap(B + 0.4f), B, wrap(B + 0.5f)},
        {26, {}, A, b26, wrap(b26 + 0.5f)},
        {27, {}, a27, B, C * 0.5f + a27 * 1.1f},
        {28, {}, A, B, C},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.link);
        recolour(mesh, processColour(0.5f, 0.5f, 0.5f, 0.5f));
        g().meshColorLink = c.link;
        for (AIReal r : c.draws) host.random.queue(r);
        const long before = host.random.draws();
        stroke(kGradientMeshTool);
        EXPECT_EQ(host.random.draws() - before, long(c.draws.size()));
        EXPECT_TRUE(sameColour(mesh->vertex(0, 0).color, processColour(clamp(c.a), clamp(c.b), clamp(c.c), K)));
    }
}

TEST_F(MeshTest, PatternFiveGivesTheDiagonalMirrorTheComplement) {
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 100);
    g().meshColorMode = 2;
    channels(100, 20, 0, 0);
    g().meshPattern = 5;
    stroke(kGradientMeshTool);
    const AIColor turned = processColour(1, 20 * 0.01f, 0, 0);
    EXPECT_TRUE(sameColour(mesh->vertex(0, 0).color, turned));
    EXPECT_TRUE(sameColour(mesh->vertex(1, 0).color, turned));
    EXPECT_TRUE(sameColour(mesh->vertex(0, 1).color, turned));
    const AIFourColorStyle &mirror = mesh->vertex(1, 1).color.c.f;
    EXPECT_EQ(mirror.cyan, 0.0f);
    EXPECT_EQ(mirror.magenta, 1.0f - 20 * 0.01f);
    EXPECT_FLOAT_EQ(mirror.magenta, 0.8f);
    EXPECT_EQ(mirror.yellow, 1.0f);
    EXPECT_EQ(mirror.black, 1.0f);
}

TEST_F(MeshTest, PatternsColourTheirMirrorsInColumnOrder) {
    const AIColor start = processColour(0.5f, 0.5f, 0.5f, 0.5f);
    Art *mesh = addMesh(doc(), 2, 2, {0, 0}, 100, start);  // only (0, 0) under the brush
    g().meshColorMode = 2;
    channels(100, 20, 0, 0);
    const AIColor colour = processColour(1, 20 * 0.01f, 0, 0);
    const AIColor complement = processColour(0, 1.0f - 20 * 0.01f, 1, 1);
    enum Paint { kKeep, kColour, kComplement };
    struct Case {
        ASInt32 pattern;
        Paint h, v, d;  // (I - i, j), (i, J - j), (I - i, J - j)
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {0, kKeep, kKeep, kKeep, {}},
        {1, kColour, kColour, kColour, {"2 0", "0 2", "2 2"}},
        {2, kColour, kKeep, kKeep, {"2 0"}},
        {3, kKeep, kColour, kKeep, {"0 2"}},
        {4, kKeep, kKeep, kColour, {"2 2"}},
        {5, kColour, kColour, kComplement, {"2 0", "0 2", "2 2"}},
        {6, kComplement, kKeep, kKeep, {"2 0"}},
        {7, kKeep, kComplement, kKeep, {"0 2"}},
        {8, kKeep, kKeep, kComplement, {"2 2"}},
    };
    auto paint = [&](Paint p) { return p == kColour ? colour : p == kComplement ? complement : start; };
    host.log.enable(true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        recolour(mesh, start);
        g().meshPattern = c.pattern;
        host.log.clear();
        stroke(kGradientMeshTool);
        // The vertex itself, its mirrors, then the rest of the walk.
        std::vector<std::string> want{"GetVertex 0 0"};
        for (const std::string &m : c.order) want.push_back("GetVertex " + m);
        const std::vector<std::string> got = calls("GetVertex");
        ASSERT_EQ(got.size(), want.size() + 8);
        EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + long(want.size())), want);
        EXPECT_EQ(count("SetColor"), long(want.size()));
        EXPECT_TRUE(sameColour(mesh->vertex(0, 0).color, colour));
        EXPECT_TRUE(sameColour(mesh->vertex(2, 0).color, paint(c.h)));
        EXPECT_TRUE(sameColour(mesh->vertex(0, 2).color, paint(c.v)));
        EXPECT_TRUE(sameColour(mesh->vertex(2, 2).color, paint(c.d)));
        EXPECT_TRUE(sameColour(mesh->vertex(1, 1).color, start));
    }
}

TEST_F(MeshTest, AMirrorUnderTheBrushIsChangedAgainByItsOwnVisit) {
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 40);
    mesh->vertex(0, 1).point = AIRealPoint{0, 100};
    mesh->vertex(1, 1).point = AIRealPoint{40, 100};
    g().meshColorMode = 0;
    channels(10, 0, 0, 0);
    g().meshPattern = 2;
    stroke(kGradientMeshTool);
    // (0, 0) adds 0.1 and hands its colour to (1, 0), which adds 0.1 again
    // and hands it back.
    const AIReal once = 0.5f + 10 * 0.01f * 1.0f * 1.0f;
    const AIReal twice = once + 10 * 0.01f * 1.0f * 1.0f;
    EXPECT_EQ(mesh->vertex(0, 0).color.c.f.cyan, twice);
    EXPECT_EQ(mesh->vertex(1, 0).color.c.f.cyan, twice);
    EXPECT_EQ(mesh->vertex(1, 1).color.c.f.cyan, 0.5f);
}

TEST_F(MeshTest, AColourWithoutAComplementLeavesTheComplementsTargetsAlone) {
    const AIColor custom = customColour(doc().addCustomColor("Spot", processColour(0, 1, 0, 0)), 0.25f);
    const AIColor start = processColour(0.5f, 0.5f, 0.5f, 0.5f);
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 100, start);
    g().meshColorMode = 2;
    channels(30, 60, 90, 0);
    for (ASInt32 pattern : {5, 6, 7, 8}) {
        SCOPED_TRACE(pattern);
        recolour(mesh, start);
        mesh->vertex(0, 0).color = custom;
        g().meshPattern = pattern;
        stroke(kGradientMeshTool);
        EXPECT_TRUE(sameColour(mesh->vertex(0, 0).color, custom));
        EXPECT_TRUE(sameColour(mesh->vertex(1, 0).color, pattern == 5 ? custom : start));
        EXPECT_TRUE(sameColour(mesh->vertex(0, 1).color, pattern == 5 ? custom : start));
        EXPECT_TRUE(sameColour(mesh->vertex(1, 1).color, start));
    }
    // Gray and RGB colours have one: every component c becomes 1 - c.
    const AIReal a1 = 30 * 0.01f, red = 30 * 0.01f * 0.39215687f, green = 60 * 0.01f * 0.39215687f,
                 blue = 90 * 0.01f * 0.39215687f;
    recolour(mesh, grayColour(0.5f));
    g().meshPattern = 8;
    stroke(kGradientMeshTool);
    EXPECT_TRUE(sameColour(mesh->vertex(1, 1).color, grayColour(1.0f - a1)));
    recolour(mesh, rgbColour(0.5f, 0.5f, 0.5f));
    g().meshPattern = 6;
    stroke(kGradientMeshTool);
    EXPECT_TRUE(sameColour(mesh->vertex(1, 0).color, rgbColour(1.0f - red, 1.0f - green, 1.0f - blue)));
}

TEST_F(MeshTest, AVertexWhosePositionOrColourCannotBeReadIsNotWritten) {
    const AIColor start = processColour(0.5f, 0.5f, 0.5f, 0.5f);
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 100, start);  // only (0, 0) under the brush
    g().meshColorMode = 2;
    channels(100, 20, 0, 0);
    g().meshPattern = 1;
    host.log.enable(true);
    for (const char *function : {"GetPoint", "GetColor"}) {
        host.log.clear();
        host.faults.failNthCallOf(kAIMeshVertexSuite, function, 1, kBadParameterErr);
        stroke(kGradientMeshTool);
        host.faults.clear();
        EXPECT_EQ(count("SetColor"), 0) << function;
        for (const MeshVertex &v : mesh->vertices) EXPECT_TRUE(sameColour(v.color, start)) << function;
    }
    // Warp with pattern 1: reads of (0, 0), then of its mirrors (1, 0), (0, 1), (1, 1).
    shift(3, 2);
    g().warpMeshPattern = 1;
    host.faults.failNthCallOf(kAIMeshVertexSuite, "GetPoint", 1, kBadParameterErr);
    stroke(kWarpMeshTool);
    EXPECT_TRUE(samePoint(mesh->vertex(0, 0).point, 0, 0));
    EXPECT_TRUE(samePoint(mesh->vertex(1, 0).point, 100, 0));
    EXPECT_TRUE(samePoint(mesh->vertex(1, 1).point, 100, 100));
    host.faults.failNthCallOf(kAIMeshVertexSuite, "GetPoint", 2, kBadParameterErr);
    stroke(kWarpMeshTool);
    EXPECT_TRUE(samePoint(mesh->vertex(0, 0).point, 3, 2));
    EXPECT_TRUE(samePoint(mesh->vertex(1, 0).point, 100, 0));  // its read failed
    EXPECT_TRUE(samePoint(mesh->vertex(0, 1).point, 3, 98));
    EXPECT_TRUE(samePoint(mesh->vertex(1, 1).point, 97, 98));
}

// ---- Warp Mesh

TEST_F(MeshTest, WarpMovesEachVertexByItsOwnWeightAndThePressure) {
    g().brushShape = 5;
    Art *mesh = addMesh(doc(), 1, 1, {1, -35}, 100);
    shift(-9.7f, 2.9f);
    pressedStroke(kWarpMeshTool);
    // dx = shift x q x p x F.
    const AIReal q = upWeight(-35);
    EXPECT_TRUE(samePoint(mesh->vertex(0, 0).point, 1.0f + -9.7f * q * kP * 1.0f, -35.0f + 2.9f * q * kP * 1.0f));
    EXPECT_TRUE(samePoint(mesh->vertex(0, 1).point, 1, 65));
    EXPECT_TRUE(samePoint(mesh->vertex(1, 0).point, 101, -35));
}

TEST_F(MeshTest, WarpPatternsMoveTheMirrorsTheirOwnWayInOrder) {
    Art *mesh = addMesh(doc(), 2, 2, {0, 0}, 100);  // only (0, 0) under the brush
    shift(3, 2);
    struct Move {
        ASInt32 i, j;
        AIReal dh, dv;
    };
    struct Case {
        ASInt32 pattern;
        std::vector<Move> moves;
    };
    const Case cases[] = {
        {0, {}},
        {1, {{2, 0, -3, 2}, {0, 2, 3, -2}, {2, 2, -3, -2}}},
        {2, {{2, 0, -3, 2}}},
        {3, {{0, 2, 3, -2}}},
        {4, {{2, 2, -3, -2}}},
        {5, {{2, 0, -2.0f * 3, 2.0f * 2}}},
        {6, {{2, 0, -0.5f * 3, 0.5f * 2}}},
        {7, {{2, 0, -3, 2}}},  // i = 0 is even
        {8, {{2, 0, -3, 2}}},  // j = 0 is even
    };
    host.log.enable(true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        for (ASInt32 i = 0; i <= 2; ++i)
            for (ASInt32 j = 0; j <= 2; ++j) mesh->vertex(i, j).point = AIRealPoint{AIReal(i) * 100, AIReal(j) * 100};
        g().warpMeshPattern = c.pattern;
        host.log.clear();
        stroke(kWarpMeshTool);
        std::vector<std::string> want{"GetVertex 0 0"};
        for (const Move &m : c.moves) want.push_back("GetVertex " + std::to_string(m.i) + " " + std::to_string(m.j));
        const std::vector<std::string> got = calls("GetVertex");
        ASSERT_EQ(got.size(), want.size() + 8);
        EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + long(want.size())), want);
        EXPECT_TRUE(samePoint(mesh->vertex(0, 0).point, 3, 2));
        for (ASInt32 i = 0; i <= 2; ++i)
            for (ASInt32 j = 0; j <= 2; ++j) {
                if (i == 0 && j == 0) continue;
                AIRealPoint at = {AIReal(i) * 100, AIReal(j) * 100};
                for (const Move &m : c.moves)
                    if (m.i == i && m.j == j) at = AIRealPoint{at.h + m.dh, at.v + m.dv};
                EXPECT_TRUE(samePoint(mesh->vertex(i, j).point, at.h, at.v)) << i << " " << j;
            }
    }
}

TEST_F(MeshTest, WarpMirrorsTheMiddleColumnOntoItselfAndOnlyEvenIndicesForPatternsSevenAndEight) {
    shift(3, 2);
    // Pattern 2 with I = 2i: (1, 0) is its own mirror and ends moved by (0, 2 dy).
    Art *middle = addMesh(doc(), 2, 1, {-100, 0}, 100);
    g().warpMeshPattern = 2;
    stroke(kWarpMeshTool);
    EXPECT_TRUE(samePoint(middle->vertex(1, 0).point, 0.0f + 3.0f + -3.0f, 0.0f + 2.0f + 2.0f));
    EXPECT_TRUE(samePoint(middle->vertex(0, 0).point, -100, 0));
    middle->userAttr = 0;
    // Pattern 7: (0, 0) and (1, 0) under the brush; only the even column's mirror moves.
    Art *columns = addMesh(doc(), 3, 1, {-50, 0}, 60);
    g().warpMeshPattern = 7;
    stroke(kWarpMeshTool);
    EXPECT_TRUE(samePoint(columns->vertex(0, 0).point, -47, 2));
    EXPECT_TRUE(samePoint(columns->vertex(1, 0).point, 13, 2));
    EXPECT_TRUE(samePoint(columns->vertex(3, 0).point, 127, 2));
    EXPECT_TRUE(samePoint(columns->vertex(2, 0).point, 70, 0));
    columns->userAttr = 0;
    // Pattern 8: (0, 0) and (0, 1) under the brush; only the even row's mirror moves.
    Art *rows = addMesh(doc(), 1, 2, {0, -50}, 60);
    g().warpMeshPattern = 8;
    stroke(kWarpMeshTool);
    EXPECT_TRUE(samePoint(rows->vertex(1, 0).point, 57, -48));
    EXPECT_TRUE(samePoint(rows->vertex(1, 1).point, 60, 10));
    EXPECT_TRUE(samePoint(rows->vertex(0, 1).point, 3, 12));
}

TEST_F(MeshTest, WarpStrengthStaysAtFactorHundredDoublesAtTwoHundredAndHoldsOnAFailedStep) {
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 100);
    AIRealPoint &v = mesh->vertex(0, 0).point;
    shift(3, 0);
    ASSERT_EQ(mouseDown(kWarpMeshTool, {0, 0}), 0);
    for (int k = 0; k < 3; ++k) ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(v.h, 9.0f);
    EXPECT_EQ(g().WarpStrokeFactor, 1.0f);
    ASSERT_EQ(mouseUp(kWarpMeshTool, {0, 0}), 0);
    g().warpMeshFactor = 200;
    ASSERT_EQ(mouseDown(kWarpMeshTool, {0, 0}), 0);
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(v.h, 12.0f);
    EXPECT_EQ(g().WarpStrokeFactor, 2.0f);
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(v.h, 18.0f);
    EXPECT_EQ(g().WarpStrokeFactor, 4.0f);
    // The trail copy fails after the vertex moved: the strength stays.
    g().trailCursor = 1;
    host.faults.failNthCallOf(kAIArtSuite, "DuplicateArt", 1, kBadParameterErr);
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(v.h, 30.0f);
    EXPECT_EQ(g().WarpStrokeFactor, 4.0f);
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(v.h, 42.0f);
    EXPECT_EQ(g().WarpStrokeFactor, 8.0f);
    EXPECT_EQ(g().ShifterStrokeFactor, 1.0f);  // the shifter's strength is its own
    ASSERT_EQ(mouseUp(kWarpMeshTool, {0, 0}), 0);
}

TEST_F(MeshTest, WarpStrengthStopsAtTheLargestRealAndNoVertexLeavesTheFinitePlane) {
    Art *mesh = addMesh(doc(), 2, 2, {0, 0}, 100);
    const std::vector<MeshVertex> start = mesh->vertices;
    shift(300, 0);
    g().warpMeshFactor = 600;
    g().warpMeshPattern = 1;
    host.log.enable(true);
    ASSERT_EQ(mouseDown(kWarpMeshTool, {0, 0}), 0);
    g().WarpStrokeFactor = 1e38f;
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);  // 300 x 1e38 is infinite: no move
    EXPECT_EQ(g().WarpStrokeFactor, kLargestReal);
    ASSERT_EQ(drag(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(g().WarpStrokeFactor, kLargestReal);
    ASSERT_EQ(mouseUp(kWarpMeshTool, {0, 0}), 0);
    EXPECT_EQ(count("SetPoint"), 0);
    for (size_t k = 0; k < start.size(); ++k)
        EXPECT_TRUE(samePoint(mesh->vertices[k].point, start[k].point.h, start[k].point.v)) << k;
}

TEST_F(MeshTest, WarpDrawsTheSkipForEveryVertexThenSignAndSizeForEachOffset) {
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 100);  // only (0, 0) under the brush
    shift(3, 2);
    g().warpMeshApplyRandom = 1;
    g().warpMeshRandom = 1;
    // (0, 0): skip, sign and size of dx, sign and size of dy; then a skip
    // draw for each of the three vertices outside the brush.
    queue({0.5f, 0.9f, 0.5f, 0.1f, 0.25f, 0.7f, 0.2f, 0.9f});
    stroke(kWarpMeshTool);
    EXPECT_EQ(host.random.draws(), 8);
    EXPECT_TRUE(samePoint(mesh->vertex(0, 0).point, 0.5f * 3 * -1.0f, 0.25f * 2 * 1.0f));
    EXPECT_TRUE(samePoint(mesh->vertex(1, 1).point, 100, 100));
    queue({0.6f, 0.1f, 0.1f, 0.1f});  // (0, 0) skipped
    stroke(kWarpMeshTool);
    EXPECT_EQ(host.random.draws(), 12);
    EXPECT_TRUE(samePoint(mesh->vertex(0, 0).point, -1.5f, 0.5f));
}

TEST_F(MeshTest, WarpFollowingTheBrushUpwardsKeepsOnlyTheVerticalOffset) {
    Art *mesh = addMesh(doc(), 1, 1, {0, 0}, 100);
    shift(3, 2);
    g().warpMeshFollowBrush = 1;
    stroke(kWarpMeshTool, {0, 10});
    const AIReal up = hostAngle({0, 0}, {0, 10});
    EXPECT_TRUE(samePoint(mesh->vertex(0, 0).point, 0.0f + 3.0f * hostCos(up), 0.0f + 2.0f * hostSin(up)));
    EXPECT_NEAR(mesh->vertex(0, 0).point.h, 0.0f, 1e-6);
    EXPECT_EQ(mesh->vertex(0, 0).point.v, 2.0f);
}

}  // namespace
}  // namespace smear
