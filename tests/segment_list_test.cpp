#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "segment_list.h"

namespace smear {
namespace {

AIPathSegment at(AIReal x) {
    AIPathSegment s{};
    s.p = {x, -x};
    s.in = {x - 1, -x};
    s.out = {x + 1, -x};
    s.corner = x > 2;
    return s;
}

std::vector<AIReal> anchors(const SegmentList &l) {
    std::vector<AIReal> xs;
    for (const AIPathSegment &s : l) xs.push_back(s.p.h);
    return xs;
}

SegmentList count(int n) {
    SegmentList l;
    for (int i = 0; i < n; ++i) l.push_back(at(AIReal(i)));
    return l;
}

// Four segments stay in the record; a fifth moves all of them to the heap,
// and every one keeps its place and its handles.
TEST(SegmentList, GrowsPastTheRecordWithoutLosingASegment) {
    SegmentList l = count(4);
    EXPECT_EQ(l.heapBytes(), 0u);
    for (int i = 4; i < 40; ++i) l.push_back(at(AIReal(i)));
    ASSERT_EQ(l.size(), 40u);
    EXPECT_GE(l.heapBytes(), 40 * sizeof(AIPathSegment));
    for (size_t i = 0; i < l.size(); ++i) {
        EXPECT_EQ(l[i].p.h, AIReal(i));
        EXPECT_EQ(l[i].in.h, AIReal(i) - 1);
        EXPECT_EQ(l[i].out.h, AIReal(i) + 1);
        EXPECT_EQ(l[i].corner, i > 2);
    }
    EXPECT_EQ(l.back().p.h, 39);
}

// Copies are deep, moves leave the source empty and usable, in the record
// and on the heap alike.
TEST(SegmentList, CopiesAndMovesKeepEverySegmentInEitherPlace) {
    for (int n : {0, 3, 4, 5, 17}) {
        SegmentList original = count(n);
        SegmentList copy = original;
        ASSERT_EQ(anchors(copy), anchors(original)) << n;
        if (n > 0) {
            copy[0].p.h = 99;
            EXPECT_EQ(original[0].p.h, 0) << n;  // no shared storage
        }
        SegmentList moved = std::move(original);
        EXPECT_EQ(anchors(moved), anchors(count(n))) << n;
        EXPECT_TRUE(original.empty()) << n;  // a moved list is empty
        original.push_back(at(7));
        EXPECT_EQ(anchors(original), std::vector<AIReal>{7}) << n;

        SegmentList target = count(9);  // on the heap before
        target = std::move(moved);
        EXPECT_EQ(anchors(target), anchors(count(n))) << n;
        const SegmentList &same = target;
        target = same;  // assigning a list to itself keeps it
        EXPECT_EQ(anchors(target), anchors(count(n))) << n;
        SegmentList small = count(2);
        small = count(n);
        EXPECT_EQ(anchors(small), anchors(count(n))) << n;
    }
}

// A resize fills new places with the given segment and keeps the others;
// shrinking and growing again shows the fill, never old segments.
TEST(SegmentList, ResizeFillsNewPlacesAndKeepsTheRest) {
    SegmentList l = count(3);
    l.resize(6, at(50));
    EXPECT_EQ(anchors(l), (std::vector<AIReal>{0, 1, 2, 50, 50, 50}));
    l.resize(2);
    EXPECT_EQ(anchors(l), (std::vector<AIReal>{0, 1}));
    l.resize(3, at(8));
    EXPECT_EQ(anchors(l), (std::vector<AIReal>{0, 1, 8}));
    l = {at(4), at(5)};
    EXPECT_EQ(anchors(l), (std::vector<AIReal>{4, 5}));
    l.clear();
    EXPECT_TRUE(l.empty());
}

}  // namespace
}  // namespace smear
