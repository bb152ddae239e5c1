// The document model on its own: the art tree and its paint orders, layers,
// duplication, cloning, bounds and transforms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "document.h"
#include "handles.h"

namespace smear {
namespace {

AIPathSegment corner(AIReal h, AIReal v) {
    AIPathSegment s{};
    s.p = s.in = s.out = {h, v};
    s.corner = true;
    return s;
}

AIPathSegment smooth(AIRealPoint p, AIRealPoint in, AIRealPoint out) {
    AIPathSegment s{};
    s.p = p;
    s.in = in;
    s.out = out;
    return s;
}

Art *named(Document &doc, ASInt16 type, const std::string &id) {
    Art *a = doc.newArt(type);
    a->id = id;
    return a;
}

// Ids of `parent`'s children, bottom to top.
std::string childIds(const Art *parent) {
    std::string s;
    for (const Art *c = parent->firstChild; c; c = c->next) s += (s.empty() ? "" : ",") + c->id;
    return s;
}

// The prev links must mirror the next links, and lastChild end them.
void expectConsistent(const Art *parent) {
    const Art *prev = nullptr;
    for (const Art *c = parent->firstChild; c; prev = c, c = c->next) {
        EXPECT_EQ(c->prev, prev);
        EXPECT_EQ(c->parent, parent);
        EXPECT_EQ(c->layer, parent->layer);
    }
    EXPECT_EQ(parent->lastChild, prev);
}

TEST(ArtArena, KnowsTheAddressesOfItsObjectsAndNoOthers) {
    ArtArena arena;
    std::vector<Art *> made;
    // Past one block, so that a search among blocks is needed.
    const size_t count = 3 * ArtArena::kBlockBytes / sizeof(Art) + 5;
    for (size_t i = 0; i < count; ++i) made.push_back(i % 2 ? arena.create() : arena.create(Art{}));
    ASSERT_EQ(arena.size(), count);
    for (size_t i = 0; i < count; ++i) {
        ASSERT_EQ(arena[i], made[i]);
        ASSERT_TRUE(arena.contains(made[i])) << i;
        ASSERT_FALSE(arena.contains(reinterpret_cast<const char *>(made[i]) + 8)) << i;  // inside an object
    }
    EXPECT_FALSE(arena.contains(made.back() + 1));  // the next slot: not made yet
    Art elsewhere;
    EXPECT_FALSE(arena.contains(&elsewhere));
    EXPECT_FALSE(arena.contains(nullptr));
    size_t walked = 0;
    for (Art *a : arena) EXPECT_EQ(a, made[walked++]);
    EXPECT_EQ(walked, count);
    arena.clear();
    EXPECT_FALSE(arena.contains(made[0]));
    EXPECT_EQ(arena.size(), 0u);
}

TEST(ArtArena, BlocksAreAlignedCountedAndGivenBack) {
    const size_t before = ArtArena::blockBytes();
    {
        ArtArena arena;
        EXPECT_EQ(ArtArena::blockBytes(), before);  // nothing is held before the first object
        const size_t perBlock = kArtsPerBlock;
        for (size_t i = 0; i < perBlock + 1; ++i) arena.create()->type = kPathArt;
        EXPECT_EQ(ArtArena::blockBytes(), before + 2 * ArtArena::kBlockBytes);
        EXPECT_EQ(uintptr_t(arena[0]) % ArtArena::kBlockBytes, 0u);
        EXPECT_EQ(uintptr_t(arena[arena.size() - 1]) % ArtArena::kBlockBytes, 0u);  // the first of the second block
        arena.truncate(perBlock - 1);
        EXPECT_EQ(ArtArena::blockBytes(), before + ArtArena::kBlockBytes);
    }
    EXPECT_EQ(ArtArena::blockBytes(), before);
}

// The prefetches fetch whole cache lines of neighbouring objects: the
// fields each one is meant for must lie in them.
TEST(ArtArena, FieldsLieInTheCacheLinesFetchedForThem) {
    if (sizeof(void *) != 8) GTEST_SKIP() << "the record is laid out for 64-bit builds, where speed is measured";
    static Art a;
    auto line = [](const void *field) {
        return (reinterpret_cast<const char *>(field) - reinterpret_cast<const char *>(&a)) / 64;
    };
    auto lastLine = [&](const void *field, size_t bytes) { return line(static_cast<const char *>(field) + bytes - 1); };
    // A drag step over an object the brush does not reach, and a walk past
    // an object that holds no members, read one line.
    for (const void *stepped : {static_cast<const void *>(&a.type), static_cast<const void *>(&a.disposed),
                                static_cast<const void *>(&a.boundsKnown), static_cast<const void *>(&a.userAttr),
                                static_cast<const void *>(&a.next)})
        EXPECT_EQ(line(stepped), 0);
    EXPECT_EQ(lastLine(&a.boundsBox, sizeof a.boundsBox), 0);
    EXPECT_EQ(lastLine(&a.tags, sizeof a.tags), 0);
    // The library's compare reads 32 bytes of the first tag's value at once.
    a.tags.set("smearcraft", "string", "smearcraft");
    EXPECT_EQ(lastLine(a.tags.value("smearcraft"), 32), 0);
    // The rest of the tree, the undo marks and a fade's fields in the next,
    // which every change reads for the layer's lock.
    for (const void *linked :
         {static_cast<const void *>(&a.layer), static_cast<const void *>(&a.parent),
          static_cast<const void *>(&a.firstChild), static_cast<const void *>(&a.lastChild),
          static_cast<const void *>(&a.prev), static_cast<const void *>(&a.tagsSavedIn),
          static_cast<const void *>(&a.paintSavedIn), static_cast<const void *>(&a.opacity),
          static_cast<const void *>(&a.blendMode), static_cast<const void *>(&a.closed)})
        EXPECT_EQ(line(linked), 1);
    // A short path's segments and their count, in two lines of their own:
    // a point tool reads three lines of an object it does not change.
    EXPECT_EQ(line(&a.segments), 2);
    EXPECT_EQ(lastLine(&a.segments, sizeof a.segments), 3);
    EXPECT_EQ(line(a.segments.data()), 2);
    // The style fills the four lines after them; a transform's other fields
    // share one.
    EXPECT_EQ(line(&a.style), 4);
    EXPECT_EQ(lastLine(&a.style, sizeof a.style), 7);
    EXPECT_EQ(line(&a.hostTransform), lastLine(&a.vertices, sizeof a.vertices));
    EXPECT_EQ(line(&a.hostTransform), lastLine(&a.hostTransform, sizeof a.hostTransform));
    EXPECT_EQ(kArtSlotBytes % 64, 0u);
    EXPECT_EQ(kArtSlotBytes / 64 % 2, 1u);  // an odd number of lines apart
}

TEST(DocumentTree, NewDocumentHasOneCurrentLayer) {
    Document doc;
    ASSERT_EQ(doc.layers.size(), 1u);
    EXPECT_EQ(doc.layers[0]->name, "Layer 1");
    EXPECT_EQ(doc.currentLayer(), doc.layers[0]);
    EXPECT_EQ(doc.layers[0]->root->type, kGroupArt);
}

TEST(DocumentTree, PaintOrdersPlaceRelativeToPrep) {
    Document doc;
    Art *root = doc.currentLayer()->root;
    Art *a = named(doc, kPathArt, "a");
    doc.link(a, kPlaceAboveAll, nullptr);
    doc.link(named(doc, kPathArt, "b"), kPlaceAbove, a);
    doc.link(named(doc, kPathArt, "c"), kPlaceBelow, a);
    doc.link(named(doc, kPathArt, "top"), kPlaceAboveAll, a);
    doc.link(named(doc, kPathArt, "bottom"), kPlaceBelowAll, a);
    EXPECT_EQ(childIds(root), "bottom,c,a,b,top");
    expectConsistent(root);

    Art *g = named(doc, kGroupArt, "g");
    doc.link(g, kPlaceAbove, a);
    doc.link(named(doc, kPathArt, "in1"), kPlaceInsideOnTop, g);
    doc.link(named(doc, kPathArt, "in2"), kPlaceInsideOnTop, g);
    doc.link(named(doc, kPathArt, "in0"), kPlaceInsideOnBottom, g);
    EXPECT_EQ(childIds(g), "in0,in1,in2");
    EXPECT_EQ(childIds(root), "bottom,c,a,g,b,top");
    expectConsistent(g);
    EXPECT_EQ(g->firstChild->layer, doc.currentLayer());

    // Relinking moves: the art leaves its old place.
    doc.link(a, kPlaceInsideOnTop, g);
    EXPECT_EQ(childIds(root), "bottom,c,g,b,top");
    EXPECT_EQ(childIds(g), "in0,in1,in2,a");
    expectConsistent(root);

    // A group cannot go inside its own member, nor a layer's group anywhere.
    doc.link(g, kPlaceInsideOnTop, a);
    EXPECT_EQ(a->parent, g);
    EXPECT_EQ(g->parent, root);
    doc.link(root, kPlaceInsideOnTop, g);
    EXPECT_EQ(root->parent, nullptr);
}

TEST(DocumentTree, AboveAllGoesToTheCurrentLayerWhateverThePrep) {
    Document doc;
    Art *a = named(doc, kPathArt, "a");
    doc.link(a, kPlaceAboveAll, nullptr);
    Layer *second = doc.addLayer("Trail");
    EXPECT_EQ(doc.currentLayer(), second);
    Art *copy = doc.duplicate(a);
    doc.link(copy, kPlaceAboveAll, a);
    EXPECT_EQ(copy->layer, second);
    EXPECT_EQ(second->root->lastChild, copy);
    EXPECT_EQ(a->layer, doc.layers[0]);
}

TEST(DocumentTree, ArtPutInsideArtThatHoldsNoMembersGoesOnTopOfTheLayerAndIsWalked) {
    Document doc;
    Art *root = doc.currentLayer()->root;
    for (ASInt16 type : {kPathArt, kTextArt, kMeshArt, kPlacedArt, kSymbolArt}) {
        Art *leaf = named(doc, type, "leaf");
        doc.link(leaf, kPlaceAboveAll, nullptr);
        Art *inside = named(doc, kPathArt, "inside");
        doc.link(inside, kPlaceInsideOnTop, leaf);
        EXPECT_EQ(leaf->firstChild, nullptr);
        EXPECT_EQ(root->lastChild, inside);
        doc.link(inside, kPlaceInsideOnBottom, leaf);
        EXPECT_EQ(leaf->firstChild, nullptr);
        EXPECT_EQ(root->lastChild, inside);
    }
    // A compound path and a group take members, and a walk meets them.
    Art *compound = named(doc, kCompoundPathArt, "compound");
    doc.link(compound, kPlaceAboveAll, nullptr);
    doc.link(named(doc, kPathArt, "member"), kPlaceInsideOnTop, compound);
    Art *group = named(doc, kGroupArt, "group");
    doc.link(group, kPlaceAboveAll, nullptr);
    doc.link(named(doc, kPathArt, "grouped"), kPlaceInsideOnBottom, group);
    std::string walked;
    doc.forEachArt([&](const Art &a) { walked += (walked.empty() ? "" : ",") + a.id; });
    EXPECT_EQ(walked, "leaf,inside,leaf,inside,leaf,inside,leaf,inside,leaf,inside,compound,member,group,grouped");
    expectConsistent(root);
}

TEST(DocumentTree, DisposeUnlinksAndMarksTheSubtree) {
    Document doc;
    Art *g = named(doc, kGroupArt, "g");
    doc.link(g, kPlaceAboveAll, nullptr);
    Art *child = named(doc, kPathArt, "child");
    doc.link(child, kPlaceInsideOnTop, g);
    Art *other = named(doc, kPathArt, "other");
    doc.link(other, kPlaceAboveAll, nullptr);
    child->userAttr = kArtSelected;

    doc.dispose(g);
    EXPECT_TRUE(g->disposed);
    EXPECT_TRUE(child->disposed);
    EXPECT_FALSE(child->selected());
    EXPECT_EQ(g->parent, nullptr);
    EXPECT_EQ(toArt(toHandle(child)), nullptr);
    EXPECT_EQ(childIds(doc.currentLayer()->root), "other");
    int live = 0;
    doc.forEachArt([&](Art &) { ++live; });
    EXPECT_EQ(live, 1);
}

TEST(DocumentTree, DuplicateIsAnUnlinkedDeepCopy) {
    Document doc;
    Art *cp = named(doc, kCompoundPathArt, "cp");
    doc.link(cp, kPlaceAboveAll, nullptr);
    Art *p = named(doc, kPathArt, "p");
    p->segments = {corner(0, 0), corner(10, 0)};
    p->tags.set("t", "string", "v");
    p->opacity = 0.25f;
    doc.link(p, kPlaceInsideOnTop, cp);
    cp->userAttr = kArtSelected | kArtLocked;

    Art *copy = doc.duplicate(cp);
    EXPECT_EQ(copy->parent, nullptr);
    EXPECT_EQ(copy->layer, nullptr);
    EXPECT_EQ(copy->id, "cp-copy");  // ids stay unique in the document
    EXPECT_EQ(copy->userAttr, kArtLocked);  // the copy is not selected
    ASSERT_NE(copy->firstChild, nullptr);
    Art *pc = copy->firstChild;
    EXPECT_NE(pc, p);
    EXPECT_EQ(pc->parent, copy);
    EXPECT_EQ(pc->id, "p-copy");
    EXPECT_TRUE(pc->tags.holds("t", "string", "v"));
    EXPECT_EQ(pc->opacity, 0.25f);
    pc->segments[1].p.h = 99;
    EXPECT_EQ(p->segments[1].p.h, 10);
    EXPECT_EQ(childIds(doc.currentLayer()->root), "cp");
}

TEST(DocumentLayers, InsertLayerPlacesAndBecomesCurrent) {
    Document doc;
    Layer *first = doc.layers[0];
    Layer *top = doc.insertLayer(kPlaceAboveAll, nullptr);
    EXPECT_EQ(doc.layers.back(), top);
    EXPECT_EQ(doc.currentLayer(), top);
    Layer *bottom = doc.insertLayer(kPlaceBelowAll, nullptr);
    EXPECT_EQ(doc.layers.front(), bottom);
    EXPECT_EQ(doc.currentLayer(), bottom);
    Layer *mid = doc.insertLayer(kPlaceAbove, first);
    ASSERT_EQ(doc.layers.size(), 4u);
    EXPECT_EQ(doc.layers[1], first);
    EXPECT_EQ(doc.layers[2], mid);
    EXPECT_EQ(doc.currentLayer(), mid);
    EXPECT_NE(top->name, mid->name);
}

// A document with every kind of cross reference the clone must remap.
struct RichDocument {
    Document doc;
    CustomColor *spot;
    Gradient *gradient;
    Pattern *pattern;
    GraphicStyle *style;
    Art *group, *path, *mesh;

    RichDocument() {
        AIColor base{};
        base.kind = kFourColor;
        spot = doc.addCustomColor("Spot", base);
        gradient = doc.addGradient("G");
        AIColor stopColor{};
        stopColor.kind = kCustomColor;
        stopColor.c.c.color = toHandle(spot);
        gradient->stops.push_back({0.0f, stopColor});
        pattern = doc.addPattern("P");
        AIPathStyle ps{};
        ps.fill.color.kind = kGradient;
        ps.fill.color.c.b.gradient = toHandle(gradient);
        style = doc.addGraphicStyle("S", ps);

        group = named(doc, kGroupArt, "g");
        doc.link(group, kPlaceAboveAll, nullptr);
        path = named(doc, kPathArt, "p");
        path->segments = {corner(0, 0), corner(10, 10)};
        path->style.stroke.color.kind = kCustomColor;
        path->style.stroke.color.c.c.color = toHandle(spot);
        path->artStyle = style;
        doc.link(path, kPlaceInsideOnTop, group);
        mesh = named(doc, kMeshArt, "m");
        mesh->vertices.resize(1);
        mesh->vertices[0].color.kind = kPattern;
        mesh->vertices[0].color.c.p.pattern = toHandle(pattern);
        doc.link(mesh, kPlaceAboveAll, nullptr);

        AIColor swatchColor{};
        swatchColor.kind = kGradient;
        swatchColor.c.b.gradient = toHandle(gradient);
        doc.addSwatch("Grad", swatchColor);
        doc.addLayer("Second");
    }
};

TEST(DocumentClone, RemapsEveryInternalHandle) {
    RichDocument rich;
    auto copy = rich.doc.clone();
    Document &c = *copy;

    ASSERT_EQ(c.layers.size(), 2u);
    EXPECT_EQ(c.currentLayer()->name, "Second");
    EXPECT_EQ(c.currentLayerIndex, 1u);
    Layer *l0 = c.layers[0];
    EXPECT_NE(l0, rich.doc.layers[0]);
    Art *g = l0->root->firstChild;
    ASSERT_NE(g, nullptr);
    EXPECT_NE(g, rich.group);
    EXPECT_EQ(g->parent, l0->root);
    EXPECT_EQ(g->layer, l0);
    Art *p = g->firstChild;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->parent, g);
    EXPECT_EQ(p->layer, l0);
    Art *m = g->next;
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->prev, g);
    EXPECT_EQ(l0->root->lastChild, m);

    ASSERT_EQ(c.graphicStyles.size(), 1u);
    EXPECT_EQ(p->artStyle, c.graphicStyles[0]);
    EXPECT_EQ(toCustomColor(p->style.stroke.color.c.c.color), c.customColors[0]);
    EXPECT_EQ(toGradient(c.graphicStyles[0]->style.fill.color.c.b.gradient), c.gradients[0]);
    EXPECT_EQ(toCustomColor(c.gradients[0]->stops[0].color.c.c.color), c.customColors[0]);
    EXPECT_EQ(toPattern(m->vertices[0].color.c.p.pattern), c.patterns[0]);
    EXPECT_EQ(toGradient(c.swatches[0]->color.c.b.gradient), c.gradients[0]);
    EXPECT_NE(c.customColors[0], rich.spot);
}

TEST(DocumentClone, ChangingTheCopyLeavesTheOriginal) {
    RichDocument rich;
    auto copy = rich.doc.clone();
    Art *p = copy->layers[0]->root->firstChild->firstChild;
    p->segments[0].p.h = 42;
    p->tags.set("x", "string", "y");
    copy->unlink(p);
    copy->graphicStyles[0]->name = "changed";
    copy->swatches[0]->color.kind = kGrayColor;
    copy->layers[0]->locked = true;

    EXPECT_EQ(rich.path->segments[0].p.h, 0);
    EXPECT_TRUE(rich.path->tags.empty());
    EXPECT_EQ(rich.path->parent, rich.group);
    EXPECT_EQ(rich.style->name, "S");
    EXPECT_EQ(rich.doc.swatches[0]->color.kind, kGradient);
    EXPECT_FALSE(rich.doc.layers[0]->locked);
}

TEST(DocumentClone, DisposedArtIsNotCarriedOver) {
    Document doc;
    Art *a = named(doc, kPathArt, "a");
    doc.link(a, kPlaceAboveAll, nullptr);
    doc.dispose(a);
    auto copy = doc.clone();
    for (const auto &art : copy->artStore) EXPECT_FALSE(art->disposed);
    EXPECT_EQ(copy->layers[0]->root->firstChild, nullptr);
}

// ---- Bounds

TEST(ArtBounds, CurveThatBulgesBeyondItsAnchorsCountsItsExtremum) {
    Document doc;
    Art *p = doc.newArt(kPathArt);
    // From (0,0) to (100,0) pulled up by controls at height 100: the curve
    // peaks at 75, the control points' box would say 100.
    p->segments = {smooth({0, 0}, {0, 0}, {0, 100}), smooth({100, 0}, {100, 100}, {100, 0})};
    AIRealRect r{};
    ASSERT_TRUE(artBounds(*p, r));
    EXPECT_FLOAT_EQ(r.left, 0);
    EXPECT_FLOAT_EQ(r.right, 100);
    EXPECT_FLOAT_EQ(r.bottom, 0);
    EXPECT_FLOAT_EQ(r.top, 75);
}

TEST(ArtBounds, HorizontalExtremaAndTheClosingSegment) {
    Document doc;
    Art *p = doc.newArt(kPathArt);
    // Controls pulling right then left: the curve swings out on both sides.
    p->segments = {smooth({0, 0}, {0, 0}, {60, 10}), smooth({0, 20}, {-60, 10}, {0, 20})};
    AIRealRect open{};
    ASSERT_TRUE(artBounds(*p, open));
    // x(t) = 180 t (1-t) (1-2t), extrema at t = (3 -+ sqrt 3)/6: +-17.32
    EXPECT_NEAR(open.right, 17.3205f, 1e-3);
    EXPECT_NEAR(open.left, -17.3205f, 1e-3);
    EXPECT_FLOAT_EQ(open.top, 20);

    // Closing with a curve that dips below the first anchor.
    p->segments[1].out = {0, -40};
    p->segments[0].in = {0, -40};
    p->closed = true;
    geometryChanged(*p);
    AIRealRect closed{};
    ASSERT_TRUE(artBounds(*p, closed));
    EXPECT_LT(closed.bottom, -20);
}

TEST(ArtBounds, FarControlPointsOfStraightHandlesAreIgnored) {
    Document doc;
    Art *p = doc.newArt(kPathArt);
    // Handles along the line, overshooting far beyond the anchors: the curve
    // still turns inside, the box is not the handles' box.
    p->segments = {smooth({0, 0}, {0, 0}, {1000, 0}), smooth({10, 0}, {-990, 0}, {10, 0})};
    AIRealRect r{};
    ASSERT_TRUE(artBounds(*p, r));
    // Reference extent by dense sampling of x(t).
    double lo = 0, hi = 0;
    for (int i = 0; i <= 100000; ++i) {
        const double t = i / 100000.0, u = 1 - t;
        const double x = 3 * u * u * t * 1000 + 3 * u * t * t * -990 + t * t * t * 10;
        lo = std::min(lo, x);
        hi = std::max(hi, x);
    }
    EXPECT_NEAR(r.right, hi, 0.01);
    EXPECT_NEAR(r.left, lo, 0.01);
    EXPECT_LT(r.right, 500);  // far below the control point at 1000
    EXPECT_FLOAT_EQ(r.top, 0);
    EXPECT_FLOAT_EQ(r.bottom, 0);
}

TEST(ArtBounds, ContainersMeshesAndFrames) {
    Document doc;
    Art *g = doc.newArt(kGroupArt);
    AIRealRect r{};
    EXPECT_FALSE(artBounds(*g, r)) << "an empty group has no extent";
    Art *empty = doc.newArt(kPathArt);
    EXPECT_FALSE(artBounds(*empty, r));

    doc.link(g, kPlaceAboveAll, nullptr);
    Art *a = doc.newArt(kPathArt);
    a->segments = {corner(0, 0), corner(10, 5)};
    doc.link(a, kPlaceInsideOnTop, g);
    Art *m = doc.newArt(kMeshArt);
    m->vertices.resize(2);
    m->vertices[0].point = {-5, 2};
    m->vertices[1].point = {3, 30};
    doc.link(m, kPlaceInsideOnTop, g);
    ASSERT_TRUE(artBounds(*g, r));
    EXPECT_FLOAT_EQ(r.left, -5);
    EXPECT_FLOAT_EQ(r.right, 10);
    EXPECT_FLOAT_EQ(r.top, 30);
    EXPECT_FLOAT_EQ(r.bottom, 0);

    Art *placed = doc.newArt(kPlacedArt);
    placed->frame = {0, 10, 20, 0};
    placed->matrix = {0, 1, -1, 0, 100, 50};  // quarter turn, then moved
    ASSERT_TRUE(artBounds(*placed, r));
    EXPECT_FLOAT_EQ(r.left, 90);
    EXPECT_FLOAT_EQ(r.right, 100);
    EXPECT_FLOAT_EQ(r.bottom, 50);
    EXPECT_FLOAT_EQ(r.top, 70);
}

// ---- Transforms

TEST(TransformArt, MovesAnchorsControlPointsChildrenAndVertices) {
    Document doc;
    Art *g = doc.newArt(kGroupArt);
    doc.link(g, kPlaceAboveAll, nullptr);
    Art *p = doc.newArt(kPathArt);
    p->segments = {smooth({1, 2}, {0, 2}, {3, 4})};
    doc.link(p, kPlaceInsideOnTop, g);
    Art *m = doc.newArt(kMeshArt);
    m->vertices.resize(1);
    m->vertices[0].point = {5, 6};
    doc.link(m, kPlaceInsideOnTop, g);

    const AIRealMatrix scaleAndMove{2, 0, 0, 3, 10, 20};
    transformArt(*g, scaleAndMove, 1.0f, kTransformObjects);
    EXPECT_FLOAT_EQ(p->segments[0].p.h, 12);
    EXPECT_FLOAT_EQ(p->segments[0].p.v, 26);
    EXPECT_FLOAT_EQ(p->segments[0].in.h, 10);
    EXPECT_FLOAT_EQ(p->segments[0].out.v, 32);
    EXPECT_FLOAT_EQ(m->vertices[0].point.h, 20);
    EXPECT_FLOAT_EQ(m->vertices[0].point.v, 38);
}

TEST(TransformArt, FramedArtConcatenatesItsMatrixAfterItsOwn) {
    Document doc;
    for (ASInt16 type : {kTextArt, kPlacedArt, kRasterArt, kSymbolArt}) {
        Art *a = doc.newArt(type);
        a->frame = {0, 1, 1, 0};
        a->matrix = {1, 0, 0, 1, 10, 0};  // moved right first
        transformArt(*a, AIRealMatrix{0, 1, -1, 0, 0, 0}, 1.0f, kTransformObjects);  // then a quarter turn
        // (0,0) -> (10,0) -> (0,10)
        EXPECT_FLOAT_EQ(a->matrix.tx, 0) << type;
        EXPECT_FLOAT_EQ(a->matrix.ty, 10) << type;
        EXPECT_FLOAT_EQ(a->matrix.b, 1) << type;
        EXPECT_FLOAT_EQ(a->matrix.c, -1) << type;
    }
}

// Short paths are transformed in one pass, longer ones (or those with
// members) in two: both give the same bits, and both leave a path whose
// new values would not fit a float as it was.
TEST(TransformArt, ShortAndLongPathsTransformAlikeAndWholeOrNotAtAll) {
    Document doc;
    std::mt19937 random(3);
    std::uniform_real_distribution<float> value(-50, 50);
    std::vector<AIPathSegment> all(12);
    for (AIPathSegment &s : all) s = {{value(random), value(random)}, {value(random), value(random)},
                                      {value(random), value(random)}, value(random) > 0};
    // Corners, whose handles lie on their anchors, and a handle that differs
    // from its anchor only in a zero's sign.
    for (size_t i = 0; i < all.size(); i += 3) all[i] = corner(all[i].p.h, all[i].p.v);
    all[4] = smooth({0.0f, 0.0f}, {-0.0f, -0.0f}, {0.0f, 0.0f});
    // a and c of one sign, and a −0 move: the zero keeps its sign through
    // the transform, so a handle that was −0 must come out −0.
    const AIRealMatrix m{std::fabs(value(random)), value(random), std::fabs(value(random)), value(random), -0.0f,
                         -0.0f};
    Art *whole = doc.newArt(kPathArt);
    whole->segments.assign(all.data(), all.size());
    whole->style.stroke.width = 1.5f;
    ASSERT_TRUE(transformArt(*whole, m, 0.7f, kTransformObjects | kScaleLines));
    for (size_t n = 1; n <= all.size(); ++n) {
        Art *a = doc.newArt(kPathArt);
        a->segments.assign(all.data(), n);
        a->closed = n % 2 == 0;
        a->style.stroke.width = 1.5f;
        ASSERT_TRUE(transformArt(*a, m, 0.7f, kTransformObjects | kScaleLines)) << n;
        EXPECT_EQ(std::memcmp(&a->segments[0], &whole->segments[0], n * sizeof(AIPathSegment)), 0) << n;
        EXPECT_EQ(a->style.stroke.width, whole->style.stroke.width) << n;
        EXPECT_EQ(std::memcmp(&a->hostTransform, &whole->hostTransform, sizeof(AIRealMatrix)), 0) << n;
    }
    // The last segment's handle would overflow: nothing moves, however long the path.
    all.back().out = {3e38f, 0};
    for (size_t n : {size_t(8), size_t(12)}) {
        Art *a = doc.newArt(kPathArt);
        a->segments.assign(all.data() + all.size() - n, n);
        a->style.stroke.width = 1.5f;
        const Art before = *a;
        EXPECT_FALSE(transformArt(*a, AIRealMatrix{4, 0, 0, 4, 0, 0}, 2.0f, kTransformObjects | kScaleLines)) << n;
        EXPECT_EQ(std::memcmp(&a->segments[0], &before.segments[0], n * sizeof(AIPathSegment)), 0) << n;
        EXPECT_EQ(a->style.stroke.width, 1.5f) << n;
        EXPECT_EQ(a->hostTransform.a, 1.0f) << n;
    }
}

// A move or a scale along the axes maps a path's kept bounds instead of
// finding them again: after each step of such transforms, mixed with others,
// the bounds must be those a fresh copy of the path gets, bit for bit. Small
// whole coordinates and moves that bring them to zero test the zero's sign.
TEST(TransformArt, BoundsAfterMovesAndScalesAreThoseFoundAfresh) {
    Document doc;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> whole(-3, 3);
    std::uniform_real_distribution<float> value(-50, 50);
    const AIRealMatrix steps[] = {
        {1, 0, 0, 1, 2, -3},     {1, 0, 0, 1, -2, 3},   {2, 0, 0, 0.5f, 0, 0},  {-1, 0, 0, 1, 0, 0},
        {1, 0, 0, -3, 1, 1},     {0, 0, 0, 1, 0, 0},    {1, -0.0f, -0.0f, 1, 0.25f, 0},
        {1e-30f, 0, 0, 1e-30f, 0, 0}, {1e30f, 0, 0, 1e30f, 0, 0}, {0.8f, 0.6f, -0.6f, 0.8f, 0, 0},
        {1.1f, 0, 0, 0.9f, -7.5f, 4.25f}, {-1, 0, 0, -1, -0.0f, -0.0f}, {1, 0, 0, 2, -0.0f, -0.0f},
    };
    int checked = 0;
    for (int round = 0; round < 300; ++round) {
        const size_t count = 1 + size_t(round % 12);
        const int kind = round % 3;  // straight, controls between their ends, free controls
        std::vector<AIPathSegment> segs(count);
        for (size_t i = 0; i < count; ++i) {
            const AIRealPoint p{AIReal(whole(random)), AIReal(whole(random))};
            segs[i] = corner(p.h, p.v);
            if (kind == 2) segs[i] = smooth(p, {value(random), value(random)}, {value(random), value(random)});
        }
        if (kind == 1)  // each control a third of the way to the neighbouring anchor
            for (size_t i = 0; i + 1 < count; ++i) {
                const AIRealPoint a = segs[i].p, b = segs[i + 1].p;
                segs[i].out = {a.h + (b.h - a.h) / 3, a.v + (b.v - a.v) / 3};
                segs[i + 1].in = {b.h - (b.h - a.h) / 3, b.v - (b.v - a.v) / 3};
            }
        Art *path = doc.newArt(kPathArt);
        path->segments.assign(segs.data(), segs.size());
        path->closed = round % 2 == 0;
        AIRealRect bounds{};
        ASSERT_TRUE(artBounds(*path, bounds));
        for (int k = 0; k < 6; ++k) {
            const AIRealMatrix &m = steps[std::uniform_int_distribution<size_t>(0, std::size(steps) - 1)(random)];
            if (!transformArt(*path, m, 1.0f, kTransformObjects)) continue;
            Art *fresh = doc.newArt(kPathArt);
            fresh->segments.assign(&path->segments[0], path->segments.size());
            fresh->closed = path->closed;
            AIRealRect kept{}, found{};
            ASSERT_TRUE(artBounds(*path, kept));
            ASSERT_TRUE(artBounds(*fresh, found));
            ASSERT_EQ(std::memcmp(&kept, &found, sizeof kept), 0)
                << "round " << round << " step " << k << ": " << kept.left << " " << kept.top << " "
                << kept.right << " " << kept.bottom << " against " << found.left << " " << found.top << " "
                << found.right << " " << found.bottom;
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(TransformArt, LineWidthsAndGradientsFollowOnlyTheirFlags) {
    Document doc;
    Art *p = doc.newArt(kPathArt);
    p->style.stroke.width = 2;
    p->style.fill.color.kind = kGradient;
    p->style.fill.color.c.b.matrix = {1, 0, 0, 1, 0, 0};
    const AIRealMatrix m{2, 0, 0, 2, 0, 0};

    transformArt(*p, m, 3.0f, kTransformObjects);
    EXPECT_FLOAT_EQ(p->style.stroke.width, 2);
    EXPECT_FLOAT_EQ(p->style.fill.color.c.b.matrix.a, 1);

    transformArt(*p, m, 3.0f, kTransformObjects | kScaleLines | kTransformPaints);
    EXPECT_FLOAT_EQ(p->style.stroke.width, 6);
    EXPECT_FLOAT_EQ(p->style.fill.color.c.b.matrix.a, 2);
}

}  // namespace
}  // namespace smear
