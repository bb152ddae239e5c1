// Undo keeps what each step changed, object by object: every undo must bring
// back the document exactly as it was when its step opened, whatever the
// steps before and after it changed, and the history stays within its bounds.
#include <string>
#include <vector>

#include "art_signature.h"
#include "brush_support.h"
#include "document_fingerprint.h"
#include "host_suites_fixture.h"

namespace smear {
namespace {

// A row of selected squares along the x axis, 10 apart, each with an id.
std::vector<Art *> row(Document &doc, int n) {
    std::vector<Art *> out;
    for (int i = 0; i < n; ++i) {
        Art *a = addRect(doc, AIReal(10 * i) - 2, -2, AIReal(10 * i) + 2, 2);
        a->id = "sq" + std::to_string(i);
        out.push_back(a);
    }
    return out;
}

class UndoStrokes : public BrushTest {
protected:
    // One stroke at `x` with a brush that reaches the squares within 12.
    void strokeAt(int toolId, AIReal x) {
        g().brushSizeHorizontal = g().brushSizeVertical = 24;
        ASSERT_EQ(mouseDown(toolId, {x, 0}), 0);
        for (int i = 1; i <= 3; ++i) ASSERT_EQ(drag(toolId, {x + AIReal(i), AIReal(i)}), 0);
        ASSERT_EQ(mouseUp(toolId, {x + 3, 3}), 0);
    }
};

TEST_F(UndoStrokes, EachUndoBringsBackTheDocumentBeforeItsStroke) {
    row(doc(), 12);
    // Strokes of different tools over sets of squares that overlap: the
    // second and third reach squares the first changed.
    const int tools[] = {kScalingTool, kTranslateTool, kRotateTool, kTransparencyTool};
    const AIReal at[] = {20, 30, 25, 90};
    std::vector<std::string> before;
    for (int k = 0; k < 4; ++k) {
        before.push_back(documentFingerprint(doc()));
        strokeAt(tools[k], at[k]);
        EXPECT_NE(documentFingerprint(doc()), before.back()) << "stroke " << k << " changed nothing";
    }
    EXPECT_EQ(doc().undoSteps(), 4u);
    for (int k = 3; k >= 0; --k) {
        ASSERT_TRUE(host.undo());
        EXPECT_EQ(documentFingerprint(doc()), before[size_t(k)]) << "after undoing stroke " << k;
    }
    EXPECT_FALSE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), before[0]);
}

TEST_F(UndoStrokes, StrokesAfterAnUndoAreUndoneInTheirTurn) {
    row(doc(), 6);
    const std::string original = documentFingerprint(doc());
    strokeAt(kScalingTool, 10);
    const std::string afterFirst = documentFingerprint(doc());
    strokeAt(kTranslateTool, 20);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), afterFirst);
    // A new stroke over the same squares, then back to the start.
    strokeAt(kRotateTool, 15);
    EXPECT_NE(documentFingerprint(doc()), afterFirst);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), afterFirst);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), original);
}

TEST_F(UndoStrokes, AMouseDownSavesNothingAndAStrokeOnlyWhatItChanged) {
    const std::vector<Art *> squares = row(doc(), 2000);
    std::vector<std::string> looks;
    for (const Art *a : squares) looks.push_back(visibleSignature(*a));
    g().brushSizeHorizontal = g().brushSizeVertical = 10;
    size_t before = 0;
    for (int strokeNo = 0; strokeNo < 2; ++strokeNo) {
        ASSERT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
        EXPECT_EQ(doc().undoBytes(), before) << "a mouse down copied the document";
        for (int i = 0; i < 5; ++i) ASSERT_EQ(drag(kScalingTool, {0, 0}), 0);
        ASSERT_EQ(mouseUp(kScalingTool, {0, 0}), 0);
        const size_t saved = doc().undoBytes() - before;
        if (strokeNo == 0) {
            // The first stroke tags every selected square: their tags are
            // saved, not the squares.
            EXPECT_LT(saved, 2000 * (sizeof(ArtTags) + 32) + 2 * sizeof(Art));
        } else {
            // Later strokes find the tags there: only the squares the brush
            // changed are saved, once however many drags changed them.
            size_t changed = 0;
            for (size_t i = 0; i < squares.size(); ++i) changed += visibleSignature(*squares[i]) != looks[i];
            EXPECT_GE(changed, 1u);
            EXPECT_LE(changed, 2u);
            EXPECT_GT(saved, changed * sizeof(Art));
            EXPECT_LT(saved, changed * (sizeof(Art) + 512));
        }
        before = doc().undoBytes();
        for (size_t i = 0; i < squares.size(); ++i) looks[i] = visibleSignature(*squares[i]);
    }
}

TEST_F(UndoStrokes, TrailCopiesGoAndTheirAddressesAreRefused) {
    row(doc(), 3);
    g().trailCursor = 1;
    const std::string original = documentFingerprint(doc());
    ASSERT_EQ(mouseDown(kTranslateTool, {0, 0}), 0);
    ASSERT_EQ(drag(kTranslateTool, {1, 1}), 0);
    ASSERT_EQ(mouseUp(kTranslateTool, {1, 1}), 0);
    std::vector<Art *> copies;
    doc().forEachArt([&](Art &a) {
        if (a.sourceCopy || a.id.find("-copy") != std::string::npos) copies.push_back(&a);
    });
    ASSERT_FALSE(copies.empty()) << "the trail left no copies";
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), original);
    for (Art *c : copies) EXPECT_FALSE(host.holds(c));
}

class UndoSuites : public HostSuitesTest {
protected:
    const AIArtSuite &art = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
    const AIPathSuite &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    const AITagSuite &tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);
    const AILayerSuite &layers = suite<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
    const AISwatchListSuite &swatchList = suite<AISwatchListSuite>(kAISwatchListSuite, kAISwatchListSuiteVersion);

    // A step that moves the first segment of `a` to `x`.
    void moveStep(Art *a, AIReal x) {
        host.openUndoStep();
        AIPathSegment s = a->segments[0];
        s.p.h = x;
        ASSERT_EQ(path.SetPathSegments(toHandle(a), 0, 1, &s), kNoErr);
        host.closeUndoStep();
    }
};

TEST_F(UndoSuites, WhatAStepMadeDisposedReorderedOrRenamedComesBack) {
    Art *a = addPath({{0, 0}, {10, 0}}, "a", kArtSelected);
    Art *b = addPath({{0, 5}, {10, 5}}, "b");
    Art *group = addArt(kGroupArt, "g");
    Art *inner = addArt(kPathArt, "inner", 0, group);
    doc().addSwatch("Ink", AIColor{});
    const std::string original = documentFingerprint(doc());

    host.openUndoStep();
    AIArtHandle made = nullptr;
    ASSERT_EQ(art.NewArt(kPathArt, kPlaceAbove, toHandle(a), &made), kNoErr);
    AIArtHandle copy = nullptr;
    ASSERT_EQ(art.DuplicateArt(toHandle(group), kPlaceBelowAll, nullptr, &copy), kNoErr);
    ASSERT_EQ(art.DisposeArt(toHandle(b)), kNoErr);
    ASSERT_EQ(art.SetArtUserAttr(toHandle(a), kArtSelected, 0), kNoErr);
    ASSERT_EQ(tags.SetTag(toHandle(inner), "smearcraft", "string", "smearcraft"), kNoErr);
    AILayerHandle layer = nullptr;
    ASSERT_EQ(layers.InsertLayer(nullptr, kPlaceAboveAll, &layer), kNoErr);
    AIArtHandle onNewLayer = nullptr;
    ASSERT_EQ(art.NewArt(kGroupArt, kPlaceAboveAll, nullptr, &onNewLayer), kNoErr);
    AISwatchRef swatch = swatchList.InsertNthSwatch(nullptr, 0);
    ASSERT_NE(swatch, nullptr);
    AIColor grey{};
    grey.kind = kGrayColor;
    grey.c.g.gray = 0.5f;
    ASSERT_EQ(swatchList.SetAIColor(toHandle(doc().swatches.back()), &grey), kNoErr);
    host.closeUndoStep();
    ASSERT_NE(documentFingerprint(doc()), original);

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), original);
    // What the step made is no longer the document's; what it disposed is.
    for (const void *gone : {static_cast<const void *>(made), static_cast<const void *>(copy),
                             static_cast<const void *>(layer), static_cast<const void *>(onNewLayer),
                             static_cast<const void *>(swatch)})
        EXPECT_FALSE(host.holds(gone));
    EXPECT_FALSE(b->disposed);
    EXPECT_EQ(a->next, b);
    // Copies made after the undo get the ids the undone ones had.
    AIArtHandle again = nullptr;
    ASSERT_EQ(art.DuplicateArt(toHandle(group), kPlaceAboveAll, nullptr, &again), kNoErr);
    EXPECT_EQ(toArt(again)->id, "g-copy");
}

TEST_F(UndoSuites, PartsSavedAloneAndWholeObjectsComeBackInEitherOrder) {
    const auto &blend = suite<AIBlendStyleSuite>(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion);
    const auto &style = suite<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
    Art *a = addPath({{0, 0}, {10, 0}}, "a");
    Art *b = addPath({{0, 5}, {10, 5}}, "b");
    a->tags.set("old", "string", "1");
    const std::string original = documentFingerprint(doc());
    for (int round = 0; round < 2; ++round) {
        host.openUndoStep();
        // a: its paint and its tags first, then the whole of it, then paint again.
        ASSERT_EQ(blend.SetOpacity(toHandle(a), 0.25f), kNoErr);
        ASSERT_EQ(tags.SetTag(toHandle(a), "smearcraft", "string", "smearcraft"), kNoErr);
        AIPathSegment s = a->segments[1];
        s.p.v = 7;
        ASSERT_EQ(path.SetPathSegments(toHandle(a), 1, 1, &s), kNoErr);
        ASSERT_EQ(blend.SetOpacity(toHandle(a), 0.5f), kNoErr);
        // b: the whole of it first, then its paint and its tags.
        s = b->segments[0];
        s.p.h = -3;
        ASSERT_EQ(path.SetPathSegments(toHandle(b), 0, 1, &s), kNoErr);
        AIPathStyle painted = b->style;
        painted.stroke.width = 9;
        ASSERT_EQ(style.SetPathStyle(toHandle(b), &painted), kNoErr);
        ASSERT_EQ(blend.SetBlendingMode(toHandle(b), kAILuminosityBlendingMode), kNoErr);
        ASSERT_EQ(tags.SetTag(toHandle(b), "smearcraft", "string", "x"), kNoErr);
        host.closeUndoStep();
        ASSERT_TRUE(host.undo());
        EXPECT_EQ(documentFingerprint(doc()), original) << "round " << round;
    }
}

TEST_F(UndoSuites, ChangesAfterAStepClosesOrInAStepNeverClosedGoWithTheLastStep) {
    Art *a = addPath({{0, 0}, {10, 0}}, "a");
    const std::string original = documentFingerprint(doc());
    moveStep(a, 1);
    // After the close, before any other step opens.
    ASSERT_EQ(tags.SetTag(toHandle(a), "late", "string", "x"), kNoErr);
    // A step opened and never closed (a mouse down whose stroke never ended).
    host.openUndoStep();
    AIPathSegment s = a->segments[1];
    s.p.h = 20;
    ASSERT_EQ(path.SetPathSegments(toHandle(a), 1, 1, &s), kNoErr);
    EXPECT_EQ(doc().undoSteps(), 1u);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), original);
    EXPECT_FALSE(host.undo());
}

TEST_F(UndoSuites, AStepNeverClosedIsNotUndoneAlone) {
    Art *a = addPath({{0, 0}, {10, 0}}, "a");
    host.openUndoStep();
    AIPathSegment s = a->segments[0];
    s.p.h = 5;
    ASSERT_EQ(path.SetPathSegments(toHandle(a), 0, 1, &s), kNoErr);
    EXPECT_FALSE(host.undo());
    EXPECT_FLOAT_EQ(a->segments[0].p.h, 5);
    // The next closed step is undone without it.
    const std::string before = documentFingerprint(doc());
    moveStep(a, 7);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), before);
}

TEST_F(UndoSuites, TheHistoryKeepsItsNewestStepsWithinItsBounds) {
    Art *a = addPath({{0, 0}, {10, 0}}, "a");
    doc().undoStepLimit = 5;
    std::vector<std::string> before;
    for (int k = 0; k < 8; ++k) {
        before.push_back(documentFingerprint(doc()));
        moveStep(a, AIReal(k + 1));
    }
    EXPECT_EQ(doc().undoSteps(), 5u);
    for (int k = 7; k >= 3; --k) {
        ASSERT_TRUE(host.undo());
        EXPECT_EQ(documentFingerprint(doc()), before[size_t(k)]);
    }
    EXPECT_FALSE(host.undo()) << "more steps were kept than the limit";
    EXPECT_FLOAT_EQ(a->segments[0].p.h, 3);

    // A byte budget that one step's saving fills: only the newest step stays,
    // and the history's bytes are that step's.
    doc().undoStepLimit = 100;
    doc().undoByteLimit = 1;
    moveStep(a, 40);
    moveStep(a, 50);
    EXPECT_EQ(doc().undoSteps(), 1u);
    EXPECT_LT(doc().undoBytes(), 2 * sizeof(Art));
    ASSERT_TRUE(host.undo());
    EXPECT_FLOAT_EQ(a->segments[0].p.h, 40);
    EXPECT_EQ(doc().undoBytes(), 0u);
    EXPECT_FALSE(host.undo());
}

// Redo puts back what an undo took back, as the host kept it: the document
// as it was before the undo, its step undoable again, without playing it.
TEST_F(UndoSuites, RedoPutsBackWhatTheUndoTookAndTheStepCanBeUndoneAgain) {
    Art *a = addPath({{0, 0}, {10, 0}}, "a", kArtSelected);
    Art *b = addPath({{0, 5}, {10, 5}}, "b");
    Art *group = addArt(kGroupArt, "g");
    addArt(kPathArt, "inner", 0, group);
    const auto &blend = suite<AIBlendStyleSuite>(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion);
    const std::string original = documentFingerprint(doc());

    // One step that makes, copies, disposes, repaints, retags and reshapes,
    // adds a layer with art on it and a swatch.
    host.openUndoStep();
    AIArtHandle made = nullptr;
    ASSERT_EQ(art.NewArt(kPathArt, kPlaceAbove, toHandle(a), &made), kNoErr);
    AIArtHandle copy = nullptr;
    ASSERT_EQ(art.DuplicateArt(toHandle(group), kPlaceBelowAll, nullptr, &copy), kNoErr);
    ASSERT_EQ(art.DisposeArt(toHandle(b)), kNoErr);
    ASSERT_EQ(blend.SetOpacity(toHandle(a), 0.25f), kNoErr);
    ASSERT_EQ(tags.SetTag(toHandle(a), "smearcraft", "string", "smearcraft"), kNoErr);
    AIPathSegment s = a->segments[1];
    s.p.v = 7;
    ASSERT_EQ(path.SetPathSegments(toHandle(a), 1, 1, &s), kNoErr);
    AILayerHandle layer = nullptr;
    ASSERT_EQ(layers.InsertLayer(nullptr, kPlaceAboveAll, &layer), kNoErr);
    AIArtHandle onNewLayer = nullptr;
    ASSERT_EQ(art.NewArt(kGroupArt, kPlaceAboveAll, nullptr, &onNewLayer), kNoErr);
    AISwatchRef swatch = swatchList.InsertNthSwatch(nullptr, 0);
    ASSERT_NE(swatch, nullptr);
    host.closeUndoStep();
    const std::string after = documentFingerprint(doc());
    ASSERT_NE(after, original);

    EXPECT_FALSE(host.redo()) << "nothing was undone";
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(host.undo());
        EXPECT_EQ(documentFingerprint(doc()), original) << "round " << round;
        ASSERT_TRUE(doc().canRedo());
        ASSERT_TRUE(host.redo());
        EXPECT_EQ(documentFingerprint(doc()), after) << "round " << round;
        EXPECT_FALSE(host.redo());
        // What the step made is the document's again, at its own address.
        for (const void *back : {static_cast<const void *>(made), static_cast<const void *>(copy),
                                 static_cast<const void *>(layer), static_cast<const void *>(onNewLayer),
                                 static_cast<const void *>(swatch)})
            EXPECT_TRUE(host.holds(back)) << "round " << round;
        EXPECT_TRUE(b->disposed);
        EXPECT_EQ(doc().undoSteps(), 1u);
    }
}

TEST_F(UndoStrokes, StrokesUndoneAreRedoneInTurnAndANewStrokeForgetsThem) {
    row(doc(), 12);
    const int tools[] = {kScalingTool, kRotateTool, kTransparencyTool};
    const AIReal at[] = {20, 25, 30};
    std::vector<std::string> looks{documentFingerprint(doc())};
    for (int k = 0; k < 3; ++k) {
        strokeAt(tools[k], at[k]);
        looks.push_back(documentFingerprint(doc()));
    }
    for (int k = 2; k >= 0; --k) ASSERT_TRUE(host.undo());
    for (int k = 1; k <= 3; ++k) {
        ASSERT_TRUE(host.redo());
        EXPECT_EQ(documentFingerprint(doc()), looks[size_t(k)]) << "after redoing stroke " << k - 1;
    }
    // Undo twice, stroke anew: the undone stroke cannot come back.
    ASSERT_TRUE(host.undo());
    ASSERT_TRUE(host.undo());
    strokeAt(kTranslateTool, 60);
    EXPECT_FALSE(doc().canRedo());
    EXPECT_FALSE(host.redo());
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(documentFingerprint(doc()), looks[1]);
}

TEST_F(UndoStrokes, ARedoWhoseArtsPlacesAreTakenChangesNothing) {
    row(doc(), 3);
    g().trailCursor = 1;
    ASSERT_EQ(mouseDown(kTranslateTool, {0, 0}), 0);
    ASSERT_EQ(drag(kTranslateTool, {1, 1}), 0);
    ASSERT_EQ(mouseUp(kTranslateTool, {1, 1}), 0);
    ASSERT_TRUE(host.undo());
    // Art made since the undo stands where the trail's copies stood.
    addRect(doc(), 50, 50, 60, 60);
    const std::string now = documentFingerprint(doc());
    EXPECT_FALSE(host.redo());
    EXPECT_EQ(documentFingerprint(doc()), now);
    EXPECT_FALSE(doc().canRedo());
}

TEST(ArtArena, AnswersOnlyForItsLiveObjectsAndGivesBackWhatItTruncates) {
    ArtArena arena;
    EXPECT_FALSE(arena.contains(nullptr));
    const size_t perBlock = ArtArena::kBlockBytes / sizeof(Art);
    std::vector<Art *> made;
    for (size_t i = 0; i < perBlock + 3; ++i) made.push_back(arena.create());
    // Addresses near zero are never taken for objects.
    for (uintptr_t p : {uintptr_t(0), uintptr_t(sizeof(Art)), uintptr_t(4 * sizeof(Art))})
        EXPECT_FALSE(arena.contains(reinterpret_cast<const void *>(p))) << p;
    EXPECT_TRUE(arena.contains(made.back()));
    // The object found last is forgotten when it is destroyed.
    EXPECT_TRUE(arena.contains(made[perBlock - 1]));
    arena.truncate(perBlock - 1);
    EXPECT_EQ(arena.size(), perBlock - 1);
    EXPECT_FALSE(arena.contains(made[perBlock - 1]));
    EXPECT_TRUE(arena.contains(made[perBlock - 2]));
    EXPECT_FALSE(arena.contains(made[perBlock - 1]));
    // The arena grows again from where it was cut.
    EXPECT_EQ(arena.create(), made[perBlock - 1]);
    EXPECT_TRUE(arena.contains(made[0]));
    arena.truncate(0);
    EXPECT_FALSE(arena.contains(made[0]));
    EXPECT_FALSE(arena.contains(nullptr));
}

// The arena remembers the block it last found a handle in, and how far its
// objects reach: objects made or destroyed after a lookup must change that.
TEST(ArtArena, KnowsObjectsMadeOrDestroyedSinceTheLastLookup) {
    ArtArena arena;
    Art *first = arena.create();
    ASSERT_TRUE(arena.contains(first));
    const void *next = reinterpret_cast<const char *>(first) + kArtSlotBytes;
    EXPECT_FALSE(arena.contains(next));
    Art *second = arena.create();
    ASSERT_EQ(static_cast<const void *>(second), next);
    EXPECT_TRUE(arena.contains(second));
    EXPECT_TRUE(arena.contains(first));
    arena.truncate(1);
    EXPECT_FALSE(arena.contains(second));
    EXPECT_TRUE(arena.contains(first));
    EXPECT_EQ(arena.create(), second);
    EXPECT_TRUE(arena.contains(second));
}

}  // namespace
}  // namespace smear
