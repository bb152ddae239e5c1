// The art family of host suites, called through their tables: art objects,
// paths, matching art, transforms, shapes, meshes, layers and tags.
#include <cmath>
#include <cstring>

#include "host_suites_fixture.h"

namespace smear {
namespace {

class ArtSuites : public HostSuitesTest {
protected:
    const AIArtSuite &art = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
    const AIPathSuite &path = suite<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
    const AIMatchingArtSuite &matching = suite<AIMatchingArtSuite>(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion);
    const AITransformArtSuite &transform =
        suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    const AIShapeConstructionSuite &shapes =
        suite<AIShapeConstructionSuite>(kAIShapeConstructionSuite, kAIShapeConstructionSuiteVersion);
    const AIMeshSuite &mesh = suite<AIMeshSuite>(kAIMeshSuite, kAIMeshSuiteVersion);
    const AIMeshVertexSuite &vertex = suite<AIMeshVertexSuite>(kAIMeshVertexSuite, kAIMeshVertexSuiteVersion);
    const AILayerSuite &layers = suite<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
    const AITagSuite &tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);
    const AIMdMemorySuite &memory = suite<AIMdMemorySuite>(kAIMdMemorySuite, kAIMdMemorySuiteVersion);

    // Runs GetMatchingArt and returns the ids of the matches, releasing the handle.
    std::vector<std::string> match(std::vector<AIMatchingArtSpec> specs) {
        AIArtHandle **found = nullptr;
        ASInt32 n = -1;
        EXPECT_EQ(matching.GetMatchingArt(specs.data(), ASInt16(specs.size()), &found, &n), kNoErr);
        std::vector<std::string> ids;
        for (ASInt32 i = 0; i < n; ++i) ids.push_back(toArt((*found)[i])->id);
        if (found) EXPECT_EQ(memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(found)), kNoErr);
        else EXPECT_EQ(n, 0);
        return ids;
    }
};

TEST_F(ArtSuites, NewArtAndTreeWalk) {
    Art *base = addPath({{0, 0}}, "base");
    AIArtHandle group = nullptr, inner = nullptr, above = nullptr;
    ASSERT_EQ(art.NewArt(kGroupArt, kPlaceAbove, toHandle(base), &group), kNoErr);
    ASSERT_EQ(art.NewArt(kPathArt, kPlaceInsideOnTop, group, &inner), kNoErr);
    ASSERT_EQ(art.NewArt(kPathArt, kPlaceAboveAll, nullptr, &above), kNoErr);

    AIArtHandle h = nullptr;
    EXPECT_EQ(art.GetArtSibling(toHandle(base), &h), kNoErr);
    EXPECT_EQ(h, group);
    EXPECT_EQ(art.GetArtPriorSibling(group, &h), kNoErr);
    EXPECT_EQ(h, toHandle(base));
    EXPECT_EQ(art.GetArtSibling(above, &h), kNoErr);
    EXPECT_EQ(h, nullptr) << "no sibling after the last";
    EXPECT_EQ(art.GetArtFirstChild(group, &h), kNoErr);
    EXPECT_EQ(h, inner);
    EXPECT_EQ(art.GetArtParent(inner, &h), kNoErr);
    EXPECT_EQ(h, group);
    ASInt16 type = 0;
    EXPECT_EQ(art.GetArtType(group, &type), kNoErr);
    EXPECT_EQ(type, kGroupArt);
    AILayerHandle layer = nullptr;
    EXPECT_EQ(art.GetArtLayer(inner, &layer), kNoErr);
    EXPECT_EQ(toLayer(layer), doc().currentLayer());

    // Places that cannot take the art.
    EXPECT_EQ(art.NewArt(kPathArt, kPlaceAbove, nullptr, &h), kBadParameterErr);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(art.NewArt(kPathArt, kPlaceInsideOnTop, toHandle(base), &h), kBadParameterErr);
    EXPECT_EQ(art.NewArt(kGroupArt, 42, nullptr, &h), kBadParameterErr);
    EXPECT_EQ(art.NewArt(99, kPlaceAboveAll, nullptr, &h), kBadParameterErr);
}

TEST_F(ArtSuites, DuplicateAboveAllGoesOnTopOfTheCurrentLayer) {
    Art *a = addPath({{0, 0}, {10, 10}}, "a", kArtSelected);
    addPath({{5, 5}}, "b");
    AIArtHandle copy = nullptr;
    ASSERT_EQ(art.DuplicateArt(toHandle(a), kPlaceAboveAll, toHandle(a), &copy), kNoErr);
    EXPECT_EQ(doc().currentLayer()->root->lastChild, toArt(copy));
    EXPECT_EQ(toArt(copy)->segments.size(), 2u);

    // After a trail layer is inserted, copies land there.
    AILayerHandle trail = nullptr;
    ASSERT_EQ(layers.InsertLayer(nullptr, kPlaceAboveAll, &trail), kNoErr);
    ASSERT_EQ(art.DuplicateArt(toHandle(a), kPlaceAboveAll, toHandle(a), &copy), kNoErr);
    EXPECT_EQ(toArt(copy)->layer, toLayer(trail));
    EXPECT_EQ(a->layer, doc().layers[0]);

    // Relative to the object: right above it.
    ASSERT_EQ(art.DuplicateArt(toHandle(a), kPlaceAbove, toHandle(a), &copy), kNoErr);
    EXPECT_EQ(a->next, toArt(copy));
}

TEST_F(ArtSuites, DisposedAndNullHandlesAreRefused) {
    Art *a = addPath({{0, 0}, {1, 1}});
    AIArtHandle h = toHandle(a);
    ASSERT_EQ(art.DisposeArt(h), kNoErr);
    AIRealRect r{};
    AIArtHandle out = nullptr;
    ASInt16 type = 0, count = 0;
    ASInt32 attr = 0;
    AIPathSegment seg{};
    for (AIArtHandle bad : {h, AIArtHandle(nullptr)}) {
        EXPECT_EQ(art.DisposeArt(bad), kBadParameterErr);
        EXPECT_EQ(art.GetArtBounds(bad, &r), kBadParameterErr);
        EXPECT_EQ(art.GetArtType(bad, &type), kBadParameterErr);
        EXPECT_EQ(art.GetArtSibling(bad, &out), kBadParameterErr);
        EXPECT_EQ(art.DuplicateArt(bad, kPlaceAboveAll, bad, &out), kBadParameterErr);
        EXPECT_EQ(art.GetArtUserAttr(bad, kArtSelected, &attr), kBadParameterErr);
        EXPECT_EQ(path.GetPathSegmentCount(bad, &count), kBadParameterErr);
        EXPECT_EQ(path.SetPathSegments(bad, 0, 1, &seg), kBadParameterErr);
        const AIRealMatrix id{1, 0, 0, 1, 0, 0};
        EXPECT_EQ(transform.TransformArt(bad, &id, 1, 3), kBadParameterErr);
        EXPECT_EQ(tags.SetTag(bad, "smearcraft", "string", "smearcraft"), kBadParameterErr);
    }
    // A layer's own group cannot be thrown away.
    AIArtHandle top = toHandle(addPath({{0, 0}}));
    AIArtHandle root = nullptr;
    ASSERT_EQ(art.GetArtParent(top, &root), kNoErr);
    EXPECT_EQ(art.DisposeArt(root), kBadParameterErr);
}

TEST_F(ArtSuites, BoundsAndTheirFaults) {
    Art *a = addPath({{0, 0}, {10, 20}});
    AIRealRect r{};
    ASSERT_EQ(art.GetArtBounds(toHandle(a), &r), kNoErr);
    EXPECT_FLOAT_EQ(r.right, 10);
    EXPECT_FLOAT_EQ(r.top, 20);

    host.faults.failEveryCall(kAIArtSuite, "GetArtBounds", kOutOfMemoryErr);
    AIRealRect untouched{1, 2, 3, 4};
    EXPECT_EQ(art.GetArtBounds(toHandle(a), &untouched), kOutOfMemoryErr);
    EXPECT_FLOAT_EQ(untouched.left, 1);
    EXPECT_FLOAT_EQ(untouched.bottom, 4);
    ASInt16 type = 0;
    EXPECT_EQ(art.GetArtType(toHandle(a), &type), kNoErr) << "other functions still work";

    host.log.enable(true);
    host.faults.clear();
    EXPECT_EQ(art.GetArtBounds(toHandle(a), &r), kNoErr);
    ASSERT_FALSE(host.log.calls().empty());
    EXPECT_EQ(host.log.calls().back().suite, kAIArtSuite);
    EXPECT_EQ(host.log.calls().back().function, "GetArtBounds");
}

TEST_F(ArtSuites, UserAttributesChangeOnlyTheMaskedBits) {
    Art *a = addPath({{0, 0}}, "a", kArtLocked);
    ASSERT_EQ(art.SetArtUserAttr(toHandle(a), kArtSelected, kArtSelected | kArtHidden), kNoErr);
    EXPECT_EQ(a->userAttr, kArtSelected | kArtLocked);
    ASInt32 attr = 0;
    ASSERT_EQ(art.GetArtUserAttr(toHandle(a), kArtSelected | kArtHidden, &attr), kNoErr);
    EXPECT_EQ(attr, kArtSelected);
}

TEST_F(ArtSuites, PathSegmentsWithRangeChecks) {
    Art *a = addPath({{0, 0}, {10, 0}, {10, 10}});
    AIArtHandle h = toHandle(a);
    ASInt16 count = 0;
    ASSERT_EQ(path.GetPathSegmentCount(h, &count), kNoErr);
    EXPECT_EQ(count, 3);

    AIPathSegment two[2]{};
    ASSERT_EQ(path.GetPathSegments(h, 1, 2, two), kNoErr);
    EXPECT_FLOAT_EQ(two[1].p.v, 10);
    EXPECT_EQ(path.GetPathSegments(h, 2, 2, two), kBadParameterErr);
    EXPECT_EQ(path.GetPathSegments(h, -1, 1, two), kBadParameterErr);
    EXPECT_EQ(path.SetPathSegments(h, 3, 1, two), kBadParameterErr);

    two[0].p = two[0].in = two[0].out = {5, 5};
    ASSERT_EQ(path.SetPathSegments(h, 0, 1, two), kNoErr);
    EXPECT_FLOAT_EQ(a->segments[0].p.h, 5);
    EXPECT_FLOAT_EQ(a->segments[1].p.h, 10) << "only the given range is written";

    ASSERT_EQ(path.SetPathSegmentCount(h, 5), kNoErr);
    EXPECT_EQ(a->segments.size(), 5u);
    EXPECT_FLOAT_EQ(a->segments[4].p.v, 10) << "new segments sit on the last anchor";
    ASSERT_EQ(path.SetPathClosed(h, true), kNoErr);
    ASBoolean closed = false;
    ASSERT_EQ(path.GetPathClosed(h, &closed), kNoErr);
    EXPECT_TRUE(closed);

    // Not a path.
    AIArtHandle group = toHandle(addArt(kGroupArt));
    EXPECT_EQ(path.GetPathSegmentCount(group, &count), kBadParameterErr);
}

TEST_F(ArtSuites, LockedLayerRefusesChanges) {
    Art *a = addPath({{0, 0}, {10, 10}});
    doc().currentLayer()->locked = true;
    const AIRealMatrix move{1, 0, 0, 1, 5, 0};
    AIPathSegment seg = a->segments[0];
    AIArtHandle out = nullptr;
    EXPECT_EQ(transform.TransformArt(toHandle(a), &move, 1, 3), kLockedLayerErr);
    EXPECT_EQ(path.SetPathSegments(toHandle(a), 0, 1, &seg), kLockedLayerErr);
    EXPECT_EQ(art.DuplicateArt(toHandle(a), kPlaceAboveAll, toHandle(a), &out), kLockedLayerErr);
    EXPECT_EQ(shapes.NewRect(10, 0, 0, 10, false, &out), kLockedLayerErr);
    EXPECT_EQ(art.DisposeArt(toHandle(a)), kLockedLayerErr);
    EXPECT_FLOAT_EQ(a->segments[1].p.h, 10);

    // Reading still works, and a duplicate onto an open layer is fine.
    AIRealRect r{};
    EXPECT_EQ(art.GetArtBounds(toHandle(a), &r), kNoErr);
    AILayerHandle open = nullptr;
    ASSERT_EQ(layers.InsertLayer(nullptr, kPlaceAboveAll, &open), kNoErr);
    EXPECT_EQ(art.DuplicateArt(toHandle(a), kPlaceAboveAll, toHandle(a), &out), kNoErr);
    EXPECT_EQ(toArt(out)->layer, toLayer(open));
}

TEST_F(ArtSuites, MatchingArtIsInDocumentOrderAndFiltered) {
    const ASInt32 sel = kArtSelected;
    Art *cp = addArt(kCompoundPathArt, "cp", sel);
    addArt(kPathArt, "cp.1", sel, cp);
    addArt(kPathArt, "cp.2", 0, cp);
    addArt(kPathArt, "loose", 0);
    Art *g = addArt(kGroupArt, "g", sel);
    addArt(kMeshArt, "g.mesh", sel, g);
    addArt(kPathArt, "g.path", sel, g);
    doc().addLayer("Upper");
    addArt(kPathArt, "upper", sel);

    EXPECT_EQ(match({{kCompoundPathArt, sel, sel}, {kPathArt, sel, sel}, {kMeshArt, sel, sel}}),
              (std::vector<std::string>{"cp", "cp.1", "g.mesh", "g.path", "upper"}));
    EXPECT_EQ(match({{kPathArt, sel, 0}}), (std::vector<std::string>{"cp.2", "loose"}));
    EXPECT_EQ(match({{kTextArt, sel, sel}}), std::vector<std::string>{}) << "no match: null handle, count 0";

    AIArtHandle **found = nullptr;
    ASInt32 n = 0;
    ASSERT_EQ(matching.GetSelectedArt(&found, &n), kNoErr);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(toArt((*found)[0])->id, "cp");
    EXPECT_EQ(toArt((*found)[2])->id, "g");
    EXPECT_EQ(memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(found)), kNoErr);
}

TEST_F(ArtSuites, MatchingArtSkipsDisposedArtAndReportsFaults) {
    Art *a = addArt(kPathArt, "a", kArtSelected);
    addArt(kPathArt, "b", kArtSelected);
    doc().dispose(a);
    EXPECT_EQ(match({{kPathArt, kArtSelected, kArtSelected}}), std::vector<std::string>{"b"});

    host.faults.failEveryCall(kAIMatchingArtSuite, "GetMatchingArt", kOutOfMemoryErr);
    AIMatchingArtSpec wanted{kPathArt, kArtSelected, kArtSelected};
    AIArtHandle **found = reinterpret_cast<AIArtHandle **>(&wanted);
    ASInt32 n = 7;
    EXPECT_EQ(matching.GetMatchingArt(&wanted, 1, &found, &n), kOutOfMemoryErr);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(host.memoryHandles.empty());
}

TEST_F(ArtSuites, NewRectIsAClosedStrokedPathOnTop) {
    addPath({{0, 0}});
    AIArtHandle h = nullptr;
    ASSERT_EQ(shapes.NewRect(/*top*/ 20, /*left*/ 1, /*bottom*/ 5, /*right*/ 30, false, &h), kNoErr);
    const Art *r = toArt(h);
    EXPECT_EQ(doc().currentLayer()->root->lastChild, r);
    EXPECT_TRUE(r->closed);
    ASSERT_EQ(r->segments.size(), 4u);
    const AIRealPoint expected[4] = {{1, 20}, {30, 20}, {30, 5}, {1, 5}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(r->segments[i].p.h, expected[i].h) << i;
        EXPECT_FLOAT_EQ(r->segments[i].p.v, expected[i].v) << i;
        EXPECT_FLOAT_EQ(r->segments[i].out.h, expected[i].h) << i;
    }
    EXPECT_TRUE(r->style.strokePaint);
    EXPECT_FALSE(r->style.fillPaint);
    EXPECT_FLOAT_EQ(r->style.stroke.width, 1);
    EXPECT_EQ(r->style.stroke.color.kind, kGrayColor);
    EXPECT_FLOAT_EQ(r->style.stroke.color.c.g.gray, 1) << "black ink";

    ASSERT_EQ(shapes.NewRect(20, 1, 5, 30, true, &h), kNoErr);
    EXPECT_FLOAT_EQ(toArt(h)->segments[0].p.h, 1);
    EXPECT_FLOAT_EQ(toArt(h)->segments[0].p.v, 5) << "reversed runs the other way";
}

TEST_F(ArtSuites, NewOvalFillsItsRectangle) {
    AIArtHandle h = nullptr;
    ASSERT_EQ(shapes.NewOval(10, -20, -10, 20, false, &h), kNoErr);
    AIRealRect r{};
    ASSERT_EQ(art.GetArtBounds(h, &r), kNoErr);
    EXPECT_NEAR(r.left, -20, 1e-4);
    EXPECT_NEAR(r.right, 20, 1e-4);
    EXPECT_NEAR(r.top, 10, 1e-4);
    EXPECT_NEAR(r.bottom, -10, 1e-4);
    // A point half way round a quarter lies on the ellipse.
    const Art *o = toArt(h);
    const AIPathSegment &s0 = o->segments[0], &s1 = o->segments[1];
    const float x = 0.125f * s0.p.h + 0.375f * s0.out.h + 0.375f * s1.in.h + 0.125f * s1.p.h;
    const float y = 0.125f * s0.p.v + 0.375f * s0.out.v + 0.375f * s1.in.v + 0.125f * s1.p.v;
    EXPECT_NEAR((x / 20) * (x / 20) + (y / 10) * (y / 10), 1.0, 1e-3);
}

TEST_F(ArtSuites, TransformThroughTheSuite) {
    Art *a = addPath({{0, 0}, {10, 0}});
    a->style.stroke.width = 2;
    const AIRealMatrix scale{2, 0, 0, 2, 1, 1};
    ASSERT_EQ(transform.TransformArt(toHandle(a), &scale, 1.5f, kTransformObjects | kScaleLines), kNoErr);
    EXPECT_FLOAT_EQ(a->segments[1].p.h, 21);
    EXPECT_FLOAT_EQ(a->style.stroke.width, 3);
    const AIRealMatrix bad{NAN, 0, 0, 1, 0, 0};
    EXPECT_EQ(transform.TransformArt(toHandle(a), &bad, 1, 3), kBadParameterErr);
    EXPECT_EQ(transform.TransformArt(toHandle(a), nullptr, 1, 3), kBadParameterErr);
}

TEST_F(ArtSuites, MeshVerticesThroughHandles) {
    Art *m = addArt(kMeshArt);
    m->meshI = 2;
    m->meshJ = 1;
    m->vertices.resize(6);
    for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 1; ++j) m->vertex(i, j).point = {AIReal(i * 10), AIReal(j * 10)};

    ASInt32 I = 0, J = 0;
    ASSERT_EQ(mesh.GetSize(toHandle(m), &I, &J), kNoErr);
    EXPECT_EQ(I, 2);
    EXPECT_EQ(J, 1);
    AIMeshVertexHandle v = nullptr;
    ASSERT_EQ(mesh.GetVertex(toHandle(m), 2, 1, &v), kNoErr);
    AIRealPoint p{};
    ASSERT_EQ(vertex.GetPoint(v, &p), kNoErr);
    EXPECT_FLOAT_EQ(p.h, 20);
    EXPECT_FLOAT_EQ(p.v, 10);
    p = {7, 8};
    ASSERT_EQ(vertex.SetPoint(v, &p), kNoErr);
    EXPECT_FLOAT_EQ(m->vertex(2, 1).point.h, 7);
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {0.5f, 0.25f, 1};
    ASSERT_EQ(vertex.SetColor(v, &c), kNoErr);
    AIColor back{};
    ASSERT_EQ(vertex.GetColor(v, &back), kNoErr);
    EXPECT_FLOAT_EQ(back.c.rgb.green, 0.25f);

    // Outside the grid, or not a mesh: no vertex, and the vertex suite
    // refuses the null it got.
    EXPECT_EQ(mesh.GetVertex(toHandle(m), 3, 0, &v), kBadParameterErr);
    EXPECT_EQ(v, nullptr);
    EXPECT_EQ(vertex.GetPoint(v, &p), kBadParameterErr);
    EXPECT_EQ(mesh.GetSize(toHandle(addPath({{0, 0}})), &I, &J), kBadParameterErr);
    // A fault on GetVertex also leaves no stale vertex behind.
    ASSERT_EQ(mesh.GetVertex(toHandle(m), 0, 0, &v), kNoErr);
    host.faults.failEveryCall(kAIMeshSuite, "GetVertex", kOutOfMemoryErr);
    EXPECT_EQ(mesh.GetVertex(toHandle(m), 1, 0, &v), kOutOfMemoryErr);
    EXPECT_EQ(v, nullptr);
}

TEST_F(ArtSuites, LayersInsertCountAndTitle) {
    ASInt32 n = 0;
    ASSERT_EQ(layers.CountLayers(&n), kNoErr);
    EXPECT_EQ(n, 1);
    AILayerHandle first = nullptr, added = nullptr, current = nullptr, nth = nullptr;
    ASSERT_EQ(layers.GetCurrentLayer(&first), kNoErr);
    ASSERT_EQ(layers.InsertLayer(nullptr, kPlaceAboveAll, &added), kNoErr);
    ASSERT_EQ(layers.GetCurrentLayer(&current), kNoErr);
    EXPECT_EQ(current, added);
    ASSERT_EQ(layers.CountLayers(&n), kNoErr);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(layers.GetNthLayer(0, &nth), kNoErr);
    EXPECT_EQ(nth, added) << "layer 0 is the top layer";
    ASSERT_EQ(layers.GetNthLayer(1, &nth), kNoErr);
    EXPECT_EQ(nth, first);
    EXPECT_EQ(layers.GetNthLayer(2, &nth), kNoSuchEntryErr);

    char title[8];
    ASSERT_EQ(layers.GetLayerTitle(first, title, sizeof title), kNoErr);
    EXPECT_STREQ(title, "Layer 1");
    ASSERT_EQ(layers.GetLayerTitle(first, title, 4), kNoErr);
    EXPECT_STREQ(title, "Lay");

    AILayerHandle below = nullptr;
    ASSERT_EQ(layers.InsertLayer(first, kPlaceBelow, &below), kNoErr);
    EXPECT_EQ(doc().layers.front(), toLayer(below));
    EXPECT_EQ(layers.InsertLayer(nullptr, kPlaceAbove, &below), kBadParameterErr);
}

TEST_F(ArtSuites, TagsStoreTypedValues) {
    Art *a = addPath({{0, 0}});
    AIArtHandle h = toHandle(a);
    ASSERT_EQ(tags.SetTag(h, "smearcraft", "string", "smearcraft"), kNoErr);
    ASSERT_EQ(tags.SetTag(h, "smearcraft", "string", "again"), kNoErr);
    const ASInt32 number = -12;
    ASSERT_EQ(tags.SetTag(h, "count", "integer", &number), kNoErr);
    const AIReal real = 0.1f;
    ASSERT_EQ(tags.SetTag(h, "amount", "real", &real), kNoErr);
    ASInt32 n = 0;
    ASSERT_EQ(tags.CountTags(h, &n), kNoErr);
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(a->tags.holds("smearcraft", "string", "again"));

    char text[4];
    ASSERT_EQ(tags.GetTag(h, "smearcraft", "string", text, sizeof text), kNoErr);
    EXPECT_STREQ(text, "aga");
    ASInt32 back = 0;
    ASSERT_EQ(tags.GetTag(h, "count", "integer", &back, 0), kNoErr);
    EXPECT_EQ(back, -12);
    AIReal realBack = 0;
    ASSERT_EQ(tags.GetTag(h, "amount", "real", &realBack, 0), kNoErr);
    EXPECT_EQ(realBack, real);
    EXPECT_EQ(tags.GetTag(h, "missing", "string", text, sizeof text), kNoSuchEntryErr);
    EXPECT_EQ(tags.GetTag(h, "count", "string", text, sizeof text), kBadParameterErr);
    EXPECT_EQ(tags.SetTag(h, "x", "blob", "y"), kBadParameterErr);
    // Types are whole words, not prefixes or extensions of one.
    for (const char *type : {"str", "strings", "int", "reals", ""})
        EXPECT_EQ(tags.SetTag(h, "x", type, "y"), kBadParameterErr) << type;
    EXPECT_EQ(tags.GetTag(h, "smearcraf", "string", text, sizeof text), kNoSuchEntryErr);
    ASSERT_EQ(tags.CountTags(h, &n), kNoErr);
    EXPECT_EQ(n, 3);
}

// A turn asked again with the angle just used is the turn computed afresh,
// and so is one whose angle differs from the last only in a zero's sign or
// in a NaN's payload.
TEST_F(ArtSuites, RepeatedTurnsAreTheTurnsComputedAfresh) {
    const auto &math = suite<AIRealMathSuite>(kAIRealMathSuite, kAIRealMathSuiteVersion);
    const auto bitsOf = [](AIReal f) {
        uint32_t b;
        std::memcpy(&b, &f, sizeof b);
        return b;
    };
    const auto withBits = [](uint32_t b) {
        AIReal f;
        std::memcpy(&f, &b, sizeof f);
        return f;
    };
    const AIReal angles[] = {0.5f, 0.5f, -1.25f, 0.5f, -0.0f, 0.0f, -0.0f, 1e30f, withBits(0x7fc00001),
                             withBits(0x7fc00002), 3.0f, 3.0f};
    // A matrix of zeros shows the sine's sign when it is a zero.
    const AIRealMatrix starts[] = {{-0.0f, 0, 0, -0.0f, 0, 0}, {2, 0.25f, -0.5f, 3, 7, -11}};
    for (const AIRealMatrix &start : starts) {
        for (AIReal angle : angles) {
            AIRealMatrix m = start;
            const AIReal c = AIReal(std::cos(double(angle))), s = AIReal(std::sin(double(angle)));
            const AIReal expected[6] = {m.a * c + m.b * -s,       m.a * s + m.b * c,
                                        m.c * c + m.d * -s,       m.c * s + m.d * c,
                                        m.tx * c + m.ty * -s + 0, m.tx * s + m.ty * c + 0};
            math.AIRealMatrixConcatRotate(&m, angle);
            const AIReal got[6] = {m.a, m.b, m.c, m.d, m.tx, m.ty};
            // Which NaN an operation passes on is the compiler's choice.
            for (int k = 0; k < 6; ++k) {
                if (std::isnan(expected[k])) EXPECT_TRUE(std::isnan(got[k])) << "entry " << k;
                else EXPECT_EQ(bitsOf(got[k]), bitsOf(expected[k])) << "angle " << std::hex << bitsOf(angle) << ", entry " << k;
            }
        }
    }
}

}  // namespace
}  // namespace smear
