// Handles that outlive their art: an undo replaces the document, so handles
// the plug-in kept point into one that is gone. The host must refuse them
// with an error code, never follow them (the ASan build catches a use).
#include "brush_support.h"
#include "host_suites_fixture.h"

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

}  // namespace
}  // namespace smear
