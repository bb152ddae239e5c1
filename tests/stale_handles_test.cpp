// Handles that outlive their art: an undo takes away what its step made, and
// a new document replaces the old, so handles the plug-in kept point at
// objects that are gone. The host must refuse them with an error code, never
// follow them (the ASan build catches a use).
#include <memory>
#include <vector>

#include "host_suites_fixture.h"
#include "mesh_support.h"

namespace smear {
namespace {

class StaleHandles : public HostSuitesTest {
protected:
    const AIArtSuite &art = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
    const AIPathSuite &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    const AITransformArtSuite &transform =
        suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    const AILayerSuite &layers = suite<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
    const AITagSuite &tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);

    // A closed undo step, then art made after it: undo throws that art away.
    AIArtHandle artThatUndoFrees() {
        host.openUndoStep();
        host.closeUndoStep();
        AIArtHandle h = nullptr;
        EXPECT_EQ(art.NewArt(kPathArt, kPlaceAboveAll, nullptr, &h), kNoErr);
        return h;
    }
};

TEST_F(StaleHandles, ArtKeptAcrossAnUndoIsRefusedByEverySuite) {
    addPath({{0, 0}, {10, 10}}, "kept");
    AIArtHandle stale = artThatUndoFrees();
    ASSERT_NE(toArt(stale), nullptr);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(toArt(stale), nullptr);

    AIRealRect r{};
    AIArtHandle out = nullptr;
    ASInt16 type = 0, count = 0;
    AIPathSegment seg{};
    const AIRealMatrix identity{1, 0, 0, 1, 0, 0};
    EXPECT_EQ(art.DisposeArt(stale), kBadParameterErr);
    EXPECT_EQ(art.GetArtType(stale, &type), kBadParameterErr);
    EXPECT_EQ(art.GetArtBounds(stale, &r), kBadParameterErr);
    EXPECT_EQ(art.GetArtParent(stale, &out), kBadParameterErr);
    EXPECT_EQ(art.DuplicateArt(stale, kPlaceAboveAll, nullptr, &out), kBadParameterErr);
    EXPECT_EQ(art.NewArt(kPathArt, kPlaceAbove, stale, &out), kBadParameterErr);
    EXPECT_EQ(path.GetPathSegmentCount(stale, &count), kBadParameterErr);
    EXPECT_EQ(path.SetPathSegments(stale, 0, 1, &seg), kBadParameterErr);
    EXPECT_EQ(transform.TransformArt(stale, &identity, 1, 3), kBadParameterErr);
    EXPECT_EQ(tags.SetTag(stale, "smearcraft", "string", "smearcraft"), kBadParameterErr);
    // The document the undo brought back is whole.
    int live = 0;
    doc().forEachArt([&](Art &a) {
        ++live;
        EXPECT_EQ(a.id, "kept");
    });
    EXPECT_EQ(live, 1);
}

TEST_F(StaleHandles, LayersOfAReplacedDocumentAreRefused) {
    AILayerHandle old = nullptr;
    ASSERT_EQ(layers.GetCurrentLayer(&old), kNoErr);
    host.replaceDocument(std::make_unique<Document>());
    char title[32] = {};
    EXPECT_EQ(layers.GetLayerTitle(old, title, sizeof title), kBadParameterErr);
    AILayerHandle now = nullptr;
    ASSERT_EQ(layers.GetCurrentLayer(&now), kNoErr);
    EXPECT_EQ(layers.GetLayerTitle(now, title, sizeof title), kNoErr);
    EXPECT_STREQ(title, "Layer 1");
}

// A live object of one kind passed where another kind is wanted is refused,
// never read as the wrong record.
TEST_F(StaleHandles, HandlesOfTheWrongKindAreRefused) {
    const auto &swatches = suite<AISwatchListSuite>(kAISwatchListSuite, kAISwatchListSuiteVersion);
    const auto &styles = suite<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
    doc().addSwatch("Red", AIColor{});
    AISwatchRef swatch = swatches.GetNthSwatch(nullptr, 0);
    ASSERT_NE(swatch, nullptr);
    AILayerHandle layer = nullptr;
    ASSERT_EQ(layers.GetCurrentLayer(&layer), kNoErr);
    AIArtHandle path = toHandle(addPath({{0, 0}, {10, 10}}, "p"));

    ASInt16 type = 0;
    AIRealRect r{};
    EXPECT_EQ(art.GetArtType(reinterpret_cast<AIArtHandle>(layer), &type), kBadParameterErr);
    EXPECT_EQ(art.GetArtBounds(reinterpret_cast<AIArtHandle>(swatch), &r), kBadParameterErr);
    char name[32] = {};
    EXPECT_EQ(layers.GetLayerTitle(reinterpret_cast<AILayerHandle>(swatch), name, sizeof name), kBadParameterErr);
    EXPECT_EQ(layers.GetLayerTitle(reinterpret_cast<AILayerHandle>(path), name, sizeof name), kBadParameterErr);
    EXPECT_EQ(swatches.GetSwatchName(reinterpret_cast<AISwatchRef>(layer), name, sizeof name), kBadParameterErr);
    EXPECT_EQ(styles.GetArtStyleName(reinterpret_cast<AIArtStyleHandle>(swatch), name, sizeof name),
              kBadParameterErr);
    // Each is still taken as what it is.
    EXPECT_EQ(art.GetArtType(path, &type), kNoErr);
    EXPECT_EQ(layers.GetLayerTitle(layer, name, sizeof name), kNoErr);
    EXPECT_EQ(swatches.GetSwatchName(swatch, name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "Red");
}

TEST_F(StaleHandles, ArtMadeAfterTheLookupStartedIsStillFound) {
    // The host's index of live objects grows with the document.
    AIArtHandle first = toHandle(addPath({{0, 0}}, "a"));
    ASInt16 type = 0;
    ASSERT_EQ(art.GetArtType(first, &type), kNoErr);
    AIArtHandle second = toHandle(addPath({{1, 1}}, "b"));
    EXPECT_EQ(art.GetArtType(second, &type), kNoErr);
    EXPECT_EQ(type, kPathArt);
    AIArtHandle made = nullptr;
    ASSERT_EQ(art.NewArt(kGroupArt, kPlaceAboveAll, nullptr, &made), kNoErr);
    EXPECT_EQ(art.GetArtType(made, &type), kNoErr);
    EXPECT_EQ(type, kGroupArt);
}

// Mesh vertex handles are addresses inside their mesh: the host answers
// only for those it handed out whose mesh is still live art of the current
// document with a vertex at that place.
class StaleVertices : public StaleHandles {
protected:
    const AIMeshSuite &mesh = suite<AIMeshSuite>(kAIMeshSuite, kAIMeshSuiteVersion);
    const AIMeshVertexSuite &vertex = suite<AIMeshVertexSuite>(kAIMeshVertexSuite, kAIMeshVertexSuiteVersion);

    // A 1 x 1 mesh whose vertex (i, j) lies at (10 i, 10 j).
    Art *addMesh() {
        Art *m = addArt(kMeshArt);
        m->meshI = m->meshJ = 1;
        m->vertices.resize(4);
        for (int i = 0; i <= 1; ++i)
            for (int j = 0; j <= 1; ++j) {
                m->vertex(i, j).point = {AIReal(10 * i), AIReal(10 * j)};
                m->vertex(i, j).color = grayColour(0.25f);
            }
        return m;
    }
    AIMeshVertexHandle vertexOf(Art *m, ASInt32 i, ASInt32 j) {
        AIMeshVertexHandle v = nullptr;
        EXPECT_EQ(mesh.GetVertex(toHandle(m), i, j, &v), kNoErr);
        return v;
    }
    // Every call of the vertex suite refuses `v` with `code` (reads and
    // writes alike, or only writes when `readable`).
    void expectRefused(AIMeshVertexHandle v, SPErr code = kBadParameterErr, bool readable = false) {
        AIRealPoint p{1, 2};
        AIColor c{};
        c.kind = kGrayColor;
        EXPECT_EQ(vertex.GetPoint(v, &p), readable ? kNoErr : code);
        EXPECT_EQ(vertex.SetPoint(v, &p), code);
        EXPECT_EQ(vertex.GetColor(v, &c), readable ? kNoErr : code);
        EXPECT_EQ(vertex.SetColor(v, &c), code);
    }
};

TEST_F(StaleVertices, AVertexOfDisposedOrUndoneMeshIsRefused) {
    Art *disposed = addMesh();
    AIMeshVertexHandle v = vertexOf(disposed, 1, 1);
    ASSERT_EQ(art.DisposeArt(toHandle(disposed)), kNoErr);
    expectRefused(v);
    EXPECT_FLOAT_EQ(disposed->vertex(1, 1).point.h, 10) << "the disposed mesh was written";
    AIMeshVertexHandle out = v;
    EXPECT_EQ(mesh.GetVertex(toHandle(disposed), 0, 0, &out), kBadParameterErr);
    EXPECT_EQ(out, nullptr);

    // A mesh made after the last step: the undo frees it (ASan sees a use).
    Art *kept = addMesh();
    host.openUndoStep();
    host.closeUndoStep();
    AIMeshVertexHandle gone = vertexOf(addMesh(), 0, 1);
    AIMeshVertexHandle before = vertexOf(kept, 0, 1);
    ASSERT_TRUE(host.undo());
    expectRefused(gone);
    // So is every vertex handed out before the undo: the mesh it brought
    // back may hold its vertices anew.
    expectRefused(before);
    // The restored mesh hands out handles of its own that work.
    Art *restored = nullptr;
    doc().forEachArt([&](Art &a) { restored = a.type == kMeshArt ? &a : restored; });
    ASSERT_NE(restored, nullptr);
    AIRealPoint p{};
    ASSERT_EQ(vertex.GetPoint(vertexOf(restored, 0, 1), &p), kNoErr);
    EXPECT_FLOAT_EQ(p.v, 10);

    // A new document: the old one's vertices are gone with it.
    AIMeshVertexHandle old = vertexOf(restored, 1, 0);
    host.replaceDocument(std::make_unique<Document>());
    expectRefused(old);
}

TEST_F(StaleVertices, AVertexNoLongerInItsMeshIsRefused) {
    Art *m = addMesh();
    AIMeshVertexHandle last = vertexOf(m, 1, 1);
    AIMeshVertexHandle first = vertexOf(m, 0, 0);
    // The mesh shrinks to one vertex: the last index is out of range, the
    // first still answers.
    m->meshI = m->meshJ = 0;
    m->vertices.resize(1);
    expectRefused(last);
    AIRealPoint p{};
    EXPECT_EQ(vertex.GetPoint(first, &p), kNoErr);
    // New storage for the vertices: the old address is no vertex any more.
    m->vertices = std::vector<MeshVertex>(1);
    expectRefused(first);
    // Art that is no longer a mesh.
    Art *other = addMesh();
    AIMeshVertexHandle v = vertexOf(other, 0, 0);
    other->type = kPathArt;
    expectRefused(v);
    // An address the host never handed out is not followed either.
    MeshVertex loose{};
    expectRefused(reinterpret_cast<AIMeshVertexHandle>(&loose));
    EXPECT_FLOAT_EQ(loose.point.h, 0);
}

TEST_F(StaleVertices, AMeshOnALockedLayerIsReadButNotChanged) {
    Art *m = addMesh();
    AIMeshVertexHandle v = vertexOf(m, 1, 0);
    m->layer->locked = true;
    expectRefused(v, kLockedLayerErr, true);
    EXPECT_FLOAT_EQ(m->vertex(1, 0).point.h, 10);
    EXPECT_FLOAT_EQ(m->vertex(1, 0).color.c.g.gray, 0.25f);
    m->layer->locked = false;
    const AIRealPoint to{3, 4};
    ASSERT_EQ(vertex.SetPoint(v, &to), kNoErr);
    EXPECT_FLOAT_EQ(m->vertex(1, 0).point.h, 3);
}

// The same through the plug-in, in message orders a host may send.
class StaleHandleStrokes : public BrushTest {
protected:
    void SetUp() override {
        BrushTest::SetUp();
        g().showOutline = 1;  // the outline is the art that outlives its document
        addRect(doc(), -5, -5, 5, 5);
    }
    // Whatever the order, the document ends whole: the square and nothing
    // the host had freed.
    void expectWholeDocument() {
        int paths = 0;
        doc().forEachArt([&](Art &a) {
            EXPECT_FALSE(a.disposed);
            if (a.type == kPathArt && a.segments.size() == 4) ++paths;
        });
        EXPECT_GE(paths, 1);
    }
};

TEST_F(StaleHandleStrokes, UpThenADragOutsideAStrokeThenUndoThenUp) {
    ASSERT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
    ASSERT_EQ(mouseUp(kScalingTool, {0, 0}), 0);
    drag(kScalingTool, {3, 3});
    host.undo();
    mouseUp(kScalingTool, {3, 3});
    expectWholeDocument();
    // The tool still works afterwards.
    EXPECT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
    EXPECT_EQ(drag(kScalingTool, {2, 2}), 0);
    EXPECT_EQ(mouseUp(kScalingTool, {2, 2}), 0);
    expectWholeDocument();
}

TEST_F(StaleHandleStrokes, OtherOrdersNeverTouchFreedArt) {
    // A drag before any mouse down.
    drag(kScalingTool, {1, 1});
    mouseUp(kScalingTool, {1, 1});
    expectWholeDocument();
    // Mouse up twice.
    ASSERT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
    drag(kScalingTool, {2, 2});
    mouseUp(kScalingTool, {2, 2});
    mouseUp(kScalingTool, {2, 2});
    expectWholeDocument();
    // Undo in the middle of a stroke, then the stroke goes on.
    ASSERT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
    drag(kScalingTool, {1, 1});
    host.undo();
    drag(kScalingTool, {2, 2});
    drag(kScalingTool, {3, 3});
    mouseUp(kScalingTool, {3, 3});
    expectWholeDocument();
    // Two undos in a row between strokes of different tools.
    ASSERT_EQ(mouseDown(kRotateTool, {0, 0}), 0);
    drag(kRotateTool, {1, 0});
    host.undo();
    host.undo();
    drag(kRotateTool, {2, 0});
    mouseUp(kRotateTool, {2, 0});
    expectWholeDocument();
}

TEST_F(StaleHandleStrokes, MeshToolsAcrossAnUndoOnlyTouchLiveVertices) {
    addMesh(doc(), 2, 2, {-10, -10}, 10);
    g().warpShiftHorizontal = 5;
    for (int tool : {kWarpMeshTool, kGradientMeshTool}) {
        SCOPED_TRACE(tool);
        host.openUndoStep();
        host.closeUndoStep();
        ASSERT_EQ(mouseDown(tool, {0, 0}), 0);
        drag(tool, {1, 1});
        host.undo();
        drag(tool, {2, 2});
        mouseUp(tool, {2, 2});
        expectWholeDocument();
        int meshes = 0;
        doc().forEachArt([&](Art &a) {
            if (a.type != kMeshArt) return;
            ++meshes;
            ASSERT_EQ(a.vertices.size(), 9u);
            for (const MeshVertex &v : a.vertices) EXPECT_TRUE(std::isfinite(v.point.h) && std::isfinite(v.point.v));
        });
        EXPECT_GE(meshes, 1);
    }
}

}  // namespace
}  // namespace smear
