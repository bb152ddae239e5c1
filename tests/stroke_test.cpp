// The stroke cycle: collecting the art, the frame of every drag step, the
// per-art loop and its failures, mouse up and undo.
#include <algorithm>
#include <cstring>

#include "brush_support.h"
#include "stroke.h"

namespace smear {
namespace {

class StrokeTest : public BrushTest {
protected:
    void checkCompoundChildrenLeaveTheList();
};

AIArtHandle entry(Globals &g, int i) { return (reinterpret_cast<AIArtHandle *>(*g.ArtList))[i]; }

TEST_F(StrokeTest, MouseDownCollectsTheSelectedKindsAndTheirCentre) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    addRect(doc(), 100, 100, 110, 110, false);
    Art *group = doc().newArt(kGroupArt);
    group->userAttr = kArtSelected;
    doc().link(group, kPlaceInsideOnTop, doc().currentLayer()->root);
    Art *b = addRect(doc(), 20, 0, 30, 20, true, group);
    host.log.enable(true);
    ASSERT_EQ(mouseDown(kScalingTool, {7, 8}), 0);
    EXPECT_EQ(calls("GetMatchingArt"),
              std::vector<std::string>{"GetMatchingArt 3/1/1 2/1/1 8/1/1 13/1/1 4/1/1 7/1/1 9/1/1 11/1/1"});
    ASSERT_EQ(g().ArtCount, 2);
    EXPECT_EQ(entry(g(), 0), toHandle(a));
    EXPECT_EQ(entry(g(), 1), toHandle(b));
    EXPECT_EQ(g().SelectionCenter.h, 15.0f);
    EXPECT_EQ(g().SelectionCenter.v, 10.0f);
    EXPECT_EQ(g().DownPoint.h, 7.0f);
    EXPECT_EQ(g().LastPoint.v, 8.0f);
    EXPECT_EQ(g().ShifterStrokeFactor, 1.0f);
    EXPECT_EQ(g().WarpStrokeFactor, 1.0f);
}

TEST_F(StrokeTest, CompoundPathIsWorkedOnOnceThroughItsChildren) {
    Art *compound = addCompound(doc());
    Art *c1 = addRect(doc(), 0, 0, 10, 10, true, compound);
    Art *c2 = addRect(doc(), 20, 0, 30, 10, true, compound);
    Art *plain = addRect(doc(), 40, 0, 50, 10);
    g().scaleHorizontal = 100;
    g().scaleVertical = 0;
    ASSERT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
    ASSERT_EQ(g().ArtCount, 4);
    EXPECT_EQ(entry(g(), 0), toHandle(compound));
    EXPECT_EQ(entry(g(), 1), nullptr);
    EXPECT_EQ(entry(g(), 2), nullptr);
    EXPECT_EQ(entry(g(), 3), toHandle(plain));
    ASSERT_EQ(drag(kScalingTool, {25, 5}), 0);
    // Both children doubled once about the compound path's centre (15, 5).
    EXPECT_RECT_EQ(boundsOf(c1), -15, 0, 5, 10);
    EXPECT_RECT_EQ(boundsOf(c2), 25, 0, 45, 10);
    EXPECT_TRUE(tagged(c1) && tagged(c2));
    EXPECT_FALSE(tagged(compound));
    EXPECT_RECT_EQ(boundsOf(plain), 35, 0, 55, 10);
}

TEST_F(StrokeTest, EveryChildOfManyCompoundPathsLeavesTheList) {
    // With or without the memory for the lookup index, the same entries go.
    for (bool indexMemory : {true, false}) {
        SCOPED_TRACE(indexMemory ? "indexed" : "searched");
        host.replaceDocument(std::make_unique<Document>());
        if (!indexMemory) host.faults.failEveryCall("AI MdMemory Suite", "MdMemoryNewHandle", kOutOfMemoryErr);
        checkCompoundChildrenLeaveTheList();
        ASSERT_EQ(mouseUp(kScalingTool, {0, 0}), 0);
        host.faults.clear();
    }
    EXPECT_TRUE(host.memoryHandles.empty());  // the index's memory went back too
}

// The host's list as its own suite gives it, but back to front: every
// member of a compound path comes before the compound path.
const AIMatchingArtSuite *gHostMatchingArt = nullptr;
SPErr getMatchingArtReversed(const AIMatchingArtSpec *specs, ASInt16 numSpecs, AIArtHandle ***matches,
                             ASInt32 *numMatches) {
    SPErr e = gHostMatchingArt->GetMatchingArt(specs, numSpecs, matches, numMatches);
    if (e == kNoErr && *matches) std::reverse(**matches, **matches + *numMatches);
    return e;
}

TEST_F(StrokeTest, MembersListedBeforeTheirCompoundPathLeaveTheListToo) {
    gHostMatchingArt =
        static_cast<const AIMatchingArtSuite *>(host.suites.find(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion));
    static const AIMatchingArtSuite reversed{getMatchingArtReversed, gHostMatchingArt->GetSelectedArt};
    host.suites.add(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, &reversed);
    // Memory for the members' set throughout, never, and only for its first
    // sizes (it grows while the members are added).
    for (long failAt : {0L, 1L, 3L}) {
        SCOPED_TRACE(failAt);
        host.replaceDocument(std::make_unique<Document>());
        if (failAt) host.faults.failNthCallOf("AI MdMemory Suite", "MdMemoryNewHandle", failAt, kOutOfMemoryErr);
        checkCompoundChildrenLeaveTheList();
        ASSERT_EQ(mouseUp(kScalingTool, {0, 0}), 0);
        host.faults.clear();
    }
    EXPECT_TRUE(host.memoryHandles.empty());
}

void StrokeTest::checkCompoundChildrenLeaveTheList() {
    std::vector<Art *> kept;
    for (int i = 0; i < 60; ++i) {
        Art *c = addCompound(doc(), i % 5 != 0);
        if (c->selected()) kept.push_back(c);
        for (int k = 0; k < 3; ++k) addRect(doc(), AIReal(i), AIReal(k), AIReal(i + 1), AIReal(k + 1), true, c);
        kept.push_back(addRect(doc(), AIReal(i), 10, AIReal(i + 1), 11));
    }
    ASSERT_EQ(mouseDown(kScalingTool, {0, 0}), 0);
    std::vector<Art *> left;
    for (int i = 0; i < g().ArtCount; ++i)
        if (entry(g(), i)) left.push_back(toArt(entry(g(), i)));
    EXPECT_EQ(g().ArtCount, 48 + 60 * 3 + 60);  // children of unselected compound paths stay
    EXPECT_EQ(left.size(), kept.size() + 12 * 3);
    for (Art *a : left) EXPECT_TRUE(a->parent->type != kCompoundPathArt || !a->parent->selected());
}

TEST_F(StrokeTest, FailedCollectionLeavesAnEmptyListButTheFrameRuns) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().showOutline = 1;
    host.faults.failEveryCall(kAIMatchingArtSuite, "GetMatchingArt", kOutOfMemoryErr);
    ASSERT_EQ(mouseDown(kTransparencyTool, {0, 0}), 0);
    EXPECT_EQ(g().ArtList, nullptr);
    EXPECT_EQ(g().ArtCount, 0);
    ASSERT_EQ(drag(kTransparencyTool, {5, 5}), 0);
    EXPECT_NE(g().OutlineArt, nullptr);
    EXPECT_FALSE(tagged(a));
    EXPECT_EQ(g().LastPoint.h, 5.0f);
}

TEST_F(StrokeTest, SlowdownGateLetsEveryNthMessageThrough) {
    const std::vector<std::vector<int>> processed = {{1, 2, 3, 4, 5, 6, 7}, {2, 3, 4, 5, 6, 7}, {4, 7}};
    const int slowdown[] = {0, 1, 3};
    for (int k = 0; k < 3; ++k) {
        g().brushSlowdown = slowdown[k];
        ASSERT_EQ(mouseDown(kBlendModeTool, {0, 0}), 0);
        std::vector<int> seen;
        for (int m = 1; m <= 7; ++m) {
            ASSERT_EQ(drag(kBlendModeTool, {AIReal(m), 0}), 0);
            if (g().LastPoint.h == AIReal(m)) seen.push_back(m);
        }
        EXPECT_EQ(seen, processed[size_t(k)]) << "slowdown " << slowdown[k];
        ASSERT_EQ(mouseUp(kBlendModeTool, {0, 0}), 0);
    }
}

TEST_F(StrokeTest, SpaceBitEndsTheStepBeforeAnythingChanges) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().showOutline = 1;
    g().rotateAngle = 5;
    ASSERT_EQ(mouseDown(kRotateTool, {0, 0}), 0);
    ASSERT_EQ(drag(kRotateTool, {3, 3}, 255, 0x200 | 0x20 | 0x40), 0);
    EXPECT_EQ(g().SlowdownCount, 1);
    EXPECT_EQ(g().LastPoint.h, 0.0f);
    EXPECT_EQ(g().rotateAngle, 5.0f);
    EXPECT_EQ(g().OutlineArt, nullptr);
    EXPECT_FALSE(tagged(a));
    EXPECT_RECT_EQ(boundsOf(a), 0, 0, 10, 10);
}

// One cycling case: the value before the drag and after it.
struct Cycle {
    int tool;
    ASInt32 modifiers;
    AIReal Globals::*real;
    ASInt32 Globals::*integer;
    AIReal before;
    AIReal after;
};

TEST_F(StrokeTest, ModifierCyclingForEveryTool) {
    const ASInt32 first = 0x20 | 0x40, second = 0x20;
    auto R = [](int t, ASInt32 m, AIReal Globals::*f, AIReal b, AIReal a) { return Cycle{t, m, f, nullptr, b, a}; };
    auto I = [](int t, ASInt32 m, ASInt32 Globals::*f, AIReal b, AIReal a) { return Cycle{t, m, nullptr, f, b, a}; };
    const Cycle cases[] = {
        R(0, first, &Globals::scaleHorizontal, 150, 50), R(0, first, &Globals::scaleHorizontal, 149, 150),
        R(0, second, &Globals::scaleVertical, 150, 50), R(0, second, &Globals::scaleHorizontal, 7, 7),
        R(1, first, &Globals::translateHorizontal, 150, -150), R(1, second, &Globals::translateVertical, 150, -150),
        R(2, first, &Globals::rotateAngle, 60, -60), R(2, first, &Globals::rotateAngle, 59, 60),
        R(2, second, &Globals::rotateAngle, -60, 60), R(2, second, &Globals::rotateAngle, 0, -1),
        R(3, first, &Globals::transparencyAmount, 100, 0), R(3, second, &Globals::transparencyAmount, 0, 100),
        R(4, first, &Globals::strokeWeightAmount, 495, -500), R(4, first, &Globals::strokeWeightAmount, 490, 500),
        R(4, second, &Globals::strokeWeightAmount, -500, 500),
        R(5, first, &Globals::fillIntensityAmount, 100, 0), R(5, second, &Globals::fillIntensityAmount, 0, 100),
        R(6, first, &Globals::fillChannel1, 100, 0), R(6, first, &Globals::fillChannel4, 100, 0),
        R(6, second, &Globals::fillChannel3, 0, 100),
        I(7, first, &Globals::styleIndex, 30, 0), R(7, second, &Globals::styleFactor, 150, -150),
        R(9, first, &Globals::colorReducerAmount, 100, 0), R(9, second, &Globals::colorReducerAmount, 0, 100),
        R(10, first, &Globals::cornerOutHorizontal, 50, -50), R(10, first, &Globals::cornerInVertical, 50, -50),
        R(10, second, &Globals::cornerOutVertical, -50, 50), R(10, second, &Globals::cornerInHorizontal, -50, 50),
        I(11, first, &Globals::swatchIndex, 30, 1), I(11, second, &Globals::swatchJitter, 5, -5),
        R(12, first, &Globals::tintAmount, 100, 0), R(12, second, &Globals::tintAmount, 0, 100),
        R(13, first, &Globals::gradientAngle, 360, 0), R(13, first, &Globals::gradientLength, 200, 0),
        R(13, second, &Globals::gradientAngle, 0, 360), R(13, second, &Globals::gradientLength, 0, 200),
        R(14, first, &Globals::patternAngle, 360, 0), R(14, second, &Globals::patternAngle, 0, 360),
        R(16, first, &Globals::pointShiftHorizontal, 100, 0), R(16, first, &Globals::pointShiftVertical, 100, 0),
        R(16, second, &Globals::pointShiftHorizontal, -100, 0),
        R(17, first, &Globals::meshColorChannel1, 100, 0), R(17, second, &Globals::meshColorChannel4, 0, 100),
    };
    for (const Cycle &c : cases) {
        SCOPED_TRACE("tool " + std::to_string(c.tool) + " from " + std::to_string(c.before));
        if (c.real) g().*c.real = c.before;
        else g().*c.integer = ASInt32(c.before);
        stroke(c.tool, {0, 0}, 1, c.modifiers);
        if (c.real) EXPECT_EQ(g().*c.real, c.after);
        else EXPECT_EQ(g().*c.integer, ASInt32(c.after));
    }
    // Each value of an action wraps on its own.
    g().gradientAngle = 360;
    g().gradientLength = 100;
    stroke(kGradientTool, {0, 0}, 1, first);
    EXPECT_EQ(g().gradientAngle, 0.0f);
    EXPECT_EQ(g().gradientLength, 110.0f);
    // Tools without values, and 0x40 without 0x20, change no option.
    const char *from = reinterpret_cast<const char *>(&g().scaleHorizontal);
    const size_t size = size_t(reinterpret_cast<const char *>(&g().ArtList) - from);
    std::vector<char> options(from, from + size);
    for (int tool : {kBlendModeTool, kQuickShrinkTool, kWarpMeshTool}) stroke(tool, {0, 0}, 1, first);
    for (int tool = 0; tool < kToolCount; ++tool) stroke(tool, {0, 0}, 1, 0x40);
    EXPECT_EQ(std::memcmp(options.data(), from, size), 0);
}

TEST_F(StrokeTest, PressureFactorsOnlyWhereTheirOptionsAndTheHostSaySo) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    Art *far = addRect(doc(), 15, 0, 25, 10);
    g().transparencyMode = 2;  // set
    g().transparencyAmount = 100;
    host.log.enable(true);
    auto strokeAt = [&](ASInt16 pressure) {
        ASSERT_EQ(mouseDown(kTransparencyTool, {0, 0}), 0);
        ASSERT_EQ(drag(kTransparencyTool, {0, 0}, pressure), 0);
        ASSERT_EQ(mouseUp(kTransparencyTool, {0, 0}), 0);
    };
    a->opacity = 0.5f;
    strokeAt(51);
    EXPECT_EQ(a->opacity, 1.0f);
    EXPECT_EQ(count("SystemHasPressure"), 0);
    g().pressureModification = 1;
    strokeAt(51);
    EXPECT_EQ(a->opacity, 51.0f * (1.0f / 255.0f));
    host.pressureSupport = false;
    strokeAt(51);
    EXPECT_EQ(a->opacity, 1.0f);
    host.pressureSupport = true;
    g().pressureModification = 0;
    g().sizeFromPressure = 1;  // brush half-size 50 x 0.2 = 10 reaches only the first
    far->opacity = 0.5f;
    strokeAt(51);
    EXPECT_EQ(far->opacity, 0.5f);
    EXPECT_EQ(a->opacity, 1.0f);
    EXPECT_EQ(count("SystemHasPressure"), 3);
}

TEST_F(StrokeTest, OutlineIsCreatedOnceReshapedAndDisposedAtMouseUp) {
    g().showOutline = 1;
    g().brushSizeHorizontal = 30;
    g().brushSizeVertical = 20;
    host.log.enable(true);
    ASSERT_EQ(mouseDown(kTintTool, {0, 0}), 0);
    ASSERT_EQ(drag(kTintTool, {0, 0}), 0);
    Art *outline = toArt(g().OutlineArt);
    ASSERT_NE(outline, nullptr);
    EXPECT_RECT_EQ(boundsOf(outline), -30, -20, 30, 20);
    ASSERT_EQ(drag(kTintTool, {10, 5}), 0);
    EXPECT_EQ(count("NewRect"), 1);
    ASSERT_EQ(outline->segments.size(), 4u);
    const AIRealPoint corners[4] = {{-20, 25}, {40, 25}, {40, -15}, {-20, -15}};
    for (int n = 0; n < 4; ++n) {
        const AIPathSegment &s = outline->segments[size_t(n)];
        for (AIRealPoint p : {s.p, s.in, s.out}) {
            EXPECT_EQ(p.h, corners[n].h) << n;
            EXPECT_EQ(p.v, corners[n].v) << n;
        }
    }
    ASSERT_EQ(mouseUp(kTintTool, {10, 5}), 0);
    EXPECT_TRUE(outline->disposed);
    EXPECT_EQ(g().OutlineArt, nullptr);
}

TEST_F(StrokeTest, TrailLayersAndTrailCopiesOfEveryObject) {
    addRect(doc(), 0, 0, 10, 10);
    addRect(doc(), 500, 500, 510, 510);  // far outside the brush
    g().trailCursor = 1;
    g().trailOnNewLayer = 1;
    const size_t layers = doc().layers.size();
    stroke(kTransparencyTool, {0, 0}, 2);
    EXPECT_EQ(doc().layers.size(), layers + 2);
    int copies = 0;
    doc().forEachArt([&](Art &a) { copies += a.type == kPathArt; });
    EXPECT_EQ(copies, 2 + 4);
    // A mesh tool leaves paths alone but still copies them; the copies of
    // the first stroke are not selected, so only the two objects are.
    stroke(kWarpMeshTool, {0, 0}, 1);
    EXPECT_EQ(doc().layers.size(), layers + 3);
    copies = 0;
    doc().forEachArt([&](Art &a) { copies += a.type == kPathArt; });
    EXPECT_EQ(copies, 6 + 2);
    host.faults.failEveryCall(kAILayerSuite, "InsertLayer", kLockedLayerErr);
    g().showOutline = 1;
    ASSERT_EQ(mouseDown(kTransparencyTool, {0, 0}), 0);
    EXPECT_EQ(drag(kTransparencyTool, {3, 3}), 0);
    EXPECT_EQ(g().LastPoint.h, 0.0f);
    EXPECT_EQ(g().OutlineArt, nullptr);
}

TEST_F(StrokeTest, LoopRunsFromTheLastEntryAndStopsAtAHostError) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    Layer *locked = doc().addLayer("locked");
    Art *b = addRect(doc(), 0, 20, 10, 30);
    doc().addLayer("top");
    Art *c = addRect(doc(), 20, 0, 30, 10);
    g().translateHorizontal = 4;
    g().translateVertical = 0;
    locked->locked = true;
    ASSERT_EQ(mouseDown(kTranslateTool, {0, 0}), 0);
    ASSERT_EQ(drag(kTranslateTool, {9, 9}), 0);
    EXPECT_RECT_EQ(boundsOf(c), 24, 0, 34, 10);
    EXPECT_RECT_EQ(boundsOf(b), 0, 20, 10, 30);
    EXPECT_FALSE(tagged(a));
    EXPECT_EQ(g().LastPoint.h, 0.0f);
    EXPECT_EQ(g().SlowdownCount, 0);
    locked->locked = false;
    ASSERT_EQ(drag(kTranslateTool, {9, 9}), 0);
    EXPECT_RECT_EQ(boundsOf(c), 28, 0, 38, 10);
    EXPECT_RECT_EQ(boundsOf(b), 4, 20, 14, 30);
    EXPECT_RECT_EQ(boundsOf(a), 4, 0, 14, 10);
    EXPECT_EQ(g().LastPoint.h, 9.0f);
    ASSERT_EQ(mouseUp(kTranslateTool, {9, 9}), 0);
    // The random skip is drawn last entry first: the first draw spares c.
    g().scaleApplyRandom = 1;
    g().scaleHorizontal = 100;
    g().scaleVertical = 0;
    for (AIReal r : {0.9f, 0.1f, 0.1f}) host.random.queue(r);
    stroke(kScalingTool, {10, 10});
    EXPECT_RECT_EQ(boundsOf(c), 28, 0, 38, 10);
    EXPECT_RECT_EQ(boundsOf(b), -1, 20, 19, 30);
    EXPECT_TRUE(tagged(c));
}

TEST_F(StrokeTest, MouseUpReleasesTheListOnceAndLaterMessagesTouchNothing) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    g().transparencyMode = 2;
    ASSERT_EQ(drag(kTransparencyTool, {0, 0}), 0);  // no mouse down yet
    ASSERT_EQ(mouseUp(kTransparencyTool, {0, 0}), 0);
    EXPECT_FALSE(tagged(a));
    stroke(kTransparencyTool);
    EXPECT_TRUE(host.memoryHandles.empty());
    EXPECT_EQ(g().ArtList, nullptr);
    EXPECT_EQ(g().ArtCount, 0);
    a->tags.clear();
    ASSERT_EQ(mouseUp(kTransparencyTool, {0, 0}), 0);
    ASSERT_EQ(drag(kTransparencyTool, {0, 0}), 0);
    EXPECT_FALSE(tagged(a));
    // A mouse down without the mouse up of its stroke leaks no list.
    ASSERT_EQ(mouseDown(kTransparencyTool, {0, 0}), 0);
    ASSERT_EQ(mouseDown(kTransparencyTool, {0, 0}), 0);
    EXPECT_EQ(host.memoryHandles.size(), 1u);
    host.faults.failEveryCall(kAIUndoSuite, "CloseUndoStep", kMemoryFullErr);
    ASSERT_EQ(mouseDown(kTransparencyTool, {0, 0}), 0);
    EXPECT_EQ(mouseUp(kTransparencyTool, {0, 0}), kMemoryFullErr);
}

TEST_F(StrokeTest, EveryToolRunsTheFrameAndTagsWhatItWorksOn) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    Art *mesh = doc().newArt(kMeshArt);
    mesh->meshI = mesh->meshJ = 1;
    mesh->vertices.resize(4);
    for (int k = 0; k < 4; ++k) mesh->vertices[size_t(k)].point = AIRealPoint{AIReal(k % 2) * 5, AIReal(k / 2) * 5};
    mesh->userAttr = kArtSelected;
    doc().link(mesh, kPlaceInsideOnTop, doc().currentLayer()->root);
    g().showOutline = 1;
    for (int tool = 0; tool < kToolCount; ++tool) {
        a->tags.clear();
        mesh->tags.clear();
        ASSERT_EQ(mouseDown(tool, {0, 0}), 0);
        ASSERT_EQ(drag(tool, {2, 3}), 0);
        EXPECT_EQ(g().LastPoint.v, 3.0f) << tool;
        EXPECT_NE(g().OutlineArt, nullptr) << tool;
        ASSERT_EQ(mouseUp(tool, {2, 3}), 0);
        // The mesh tools tag meshes only; the others every object they reach.
        const bool meshTool = tool == kGradientMeshTool || tool == kWarpMeshTool;
        EXPECT_EQ(tagged(a), !meshTool) << tool;
        EXPECT_TRUE(tagged(mesh)) << tool;
    }
}

TEST_F(StrokeTest, UndoAfterAStrokeGivesBackTheDocument) {
    Art *a = addRect(doc(), 0, 0, 10, 10);
    a->id = "a";
    a->opacity = 0.75f;
    g().scaleHorizontal = 50;
    stroke(kScalingTool, {5, 5}, 3);
    g().transparencyMode = 2;
    stroke(kTransparencyTool, {5, 5});
    ASSERT_TRUE(host.undo());
    ASSERT_TRUE(host.undo());
    const Art *back = nullptr;
    int count = 0;
    doc().forEachArt([&](Art &x) {
        if (x.type == kGroupArt) return;
        ++count;
        if (x.id == "a") back = &x;
    });
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_RECT_EQ(boundsOf(back), 0, 0, 10, 10);
    EXPECT_EQ(back->opacity, 0.75f);
    EXPECT_FALSE(tagged(back));
}

}  // namespace
}  // namespace smear
