#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tag_text.h"

namespace smear {
namespace {

// Texts on both sides of the sixteen bytes a value keeps inside.
const std::string kLengths[] = {"", "a", "smearcraft", std::string(14, 'x'), std::string(15, 'y'),
                                std::string(16, 'z'), std::string(300, 'w')};

void expectText(const TagText &t, const std::string &s) {
    EXPECT_EQ(t.size(), s.size());
    EXPECT_EQ(t.view(), s);
    EXPECT_EQ(t.c_str()[s.size()], '\0') << s.size();
    EXPECT_EQ(t.empty(), s.empty());
}

TEST(TagText, KeepsEveryLengthWholeAndTerminated) {
    static_assert(sizeof(TagText) == 16, "a value takes sixteen bytes");
    for (const std::string &s : kLengths) {
        SCOPED_TRACE(s.size());
        const TagText t(s);
        expectText(t, s);
        EXPECT_EQ(t.str(), s);
        EXPECT_TRUE(t == s);
        EXPECT_FALSE(t != s);
        EXPECT_FALSE(t == s + "!");
    }
    expectText(TagText(), "");
    // Bytes past a NUL are the text's too (the tags cut their text before).
    const std::string withNul("a\0b", 3);
    expectText(TagText(withNul), withNul);
}

TEST(TagText, CopiesMovesAndAssignmentsBetweenInsideAndHeap) {
    for (const std::string &from : kLengths)
        for (const std::string &to : kLengths) {
            SCOPED_TRACE(std::to_string(from.size()) + " over " + std::to_string(to.size()));
            TagText source(from);
            TagText copy(to);
            copy = source;
            expectText(copy, from);
            expectText(source, from);
            TagText moved(to);
            moved = std::move(copy);
            expectText(moved, from);
            expectText(copy, "");  // a moved-from text is empty, never shared
            TagText built(std::move(moved));
            expectText(built, from);
            TagText assigned(to);
            assigned.assign(from);
            expectText(assigned, from);
        }
}

TEST(TagText, AssignsFromItselfAndFromPartsOfItself) {
    for (const std::string &s : kLengths) {
        SCOPED_TRACE(s.size());
        TagText t(s);
        TagText &same = t;
        t = static_cast<const TagText &>(same);
        expectText(t, s);
        t = std::move(same);
        expectText(t, s);
        t.assign(t.view());
        expectText(t, s);
        if (s.size() > 1) {
            t.assign(t.view().substr(1));
            expectText(t, s.substr(1));
        }
    }
}

}  // namespace
}  // namespace smear
