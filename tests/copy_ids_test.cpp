// Copies the host makes (trail copies, duplicated art) get ids of their own,
// so that every id stays unique in the written SVG.
#include <map>

#include "host_suites_fixture.h"

namespace smear {
namespace {

class CopyIds : public HostSuitesTest {
protected:
    const AIArtSuite &art = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);

    AIArtHandle copyOf(Art *a) {
        AIArtHandle out = nullptr;
        EXPECT_EQ(art.DuplicateArt(toHandle(a), kPlaceAboveAll, nullptr, &out), kNoErr);
        return out;
    }
};

TEST_F(CopyIds, EachCopyTakesTheNextFreeSuffix) {
    Art *a = addPath({{0, 0}, {1, 1}}, "leaf");
    EXPECT_EQ(toArt(copyOf(a))->id, "leaf-copy");
    EXPECT_EQ(toArt(copyOf(a))->id, "leaf-copy-2");
    AIArtHandle third = copyOf(a);
    EXPECT_EQ(toArt(third)->id, "leaf-copy-3");
    // A thrown-away copy gives its id back; one already taken is skipped.
    ASSERT_EQ(art.DisposeArt(third), kNoErr);
    addPath({{2, 2}}, "leaf-copy-4");
    EXPECT_EQ(toArt(copyOf(a))->id, "leaf-copy-3");
    EXPECT_EQ(toArt(copyOf(a))->id, "leaf-copy-5");
    EXPECT_EQ(a->id, "leaf");
}

TEST_F(CopyIds, ChildrenAreRenamedAndArtWithoutAnIdStaysWithout) {
    Art *group = addArt(kGroupArt, "g");
    addArt(kPathArt, "inner", 0, group);
    addArt(kPathArt, "", 0, group);
    Art *copy = toArt(copyOf(group));
    EXPECT_EQ(copy->id, "g-copy");
    ASSERT_NE(copy->firstChild, nullptr);
    EXPECT_EQ(copy->firstChild->id, "inner-copy");
    EXPECT_EQ(copy->lastChild->id, "");
    // No two live objects share an id.
    std::map<std::string, int> seen;
    doc().forEachArt([&](Art &a) {
        if (!a.id.empty()) ++seen[a.id];
    });
    for (const auto &s : seen) EXPECT_EQ(s.second, 1) << s.first;
    EXPECT_EQ(seen.size(), 4u);
}

}  // namespace
}  // namespace smear
