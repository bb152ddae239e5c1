// A drag message over art the plug-in has already tagged allocates nothing,
// in the host and in the plug-in together: every tool, with the brush over
// some objects and far from others.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "fixture.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void *operator new(std::size_t n) {
    ++allocations;
    if (void *p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t n) { return operator new(n); }
void *operator new(std::size_t n, std::align_val_t a) {
    ++allocations;
    const std::size_t align = std::size_t(a);
    if (void *p = std::aligned_alloc(align, (n + align - 1) / align * align)) return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace smear {
namespace {

class DragAllocations : public PluginTest, public ::testing::WithParamInterface<int> {};

TEST_P(DragAllocations, NoneOnceEveryObjectCarriesItsTag) {
    const int toolId = GetParam();
    ASSERT_EQ(startup(), 0);
    g().showOutline = 0;
    Document &doc = host.document();
    // A grid of squares, some compound paths among them.
    for (int i = 0; i < 400; ++i) {
        const AIReal x = AIReal(i % 20) * 10, y = AIReal(i / 20) * 10;
        Art *parent = doc.currentLayer()->root;
        if (i % 5 == 0) {
            Art *c = doc.newArt(kCompoundPathArt);
            c->userAttr = kArtSelected;
            doc.link(c, kPlaceInsideOnTop, parent);
            parent = c;
        }
        Art *a = doc.newArt(kPathArt);
        for (AIRealPoint p : {AIRealPoint{x, y}, {x + 5, y}, {x + 5, y + 5}, {x, y + 5}}) {
            AIPathSegment s{};
            s.p = s.in = s.out = p;
            s.corner = true;
            a->segments.push_back(s);
        }
        a->closed = true;
        a->userAttr = kArtSelected;
        doc.link(a, kPlaceInsideOnTop, parent);
    }
    g().brushSizeHorizontal = g().brushSizeVertical = 60;  // over some, not all
    ASSERT_EQ(mouseDown(toolId, {100, 100}), 0);
    // The first steps tag what they reach and settle the plug-in's buffers.
    for (int i = 0; i < 3; ++i) ASSERT_EQ(drag(toolId, {100, 100}), 0);
    const long before = allocations.load();
    for (int i = 0; i < 5; ++i) ASSERT_EQ(drag(toolId, {AIReal(100 + (i % 2)), 100}), 0);
    EXPECT_EQ(allocations.load() - before, 0) << "allocations in five drag messages";
    ASSERT_EQ(mouseUp(toolId, {100, 100}), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryTool, DragAllocations, ::testing::Range(0, kToolCount));

}  // namespace
}  // namespace smear
