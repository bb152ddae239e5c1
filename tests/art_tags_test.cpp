// An object's tags: the first by name lives in the object, the rest in a
// sorted list, and names and types are shared keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "art_tags.h"

namespace smear {
namespace {

std::vector<std::string> names(const ArtTags &tags) {
    std::vector<std::string> out;
    for (const TagRef tag : tags) out.push_back(tag.name + "=" + tag.type + ":" + std::string(tag.value));
    return out;
}

TEST(ArtTags, KeepNameOrderWhateverTheOrderWritten) {
    ArtTags tags;
    tags.set("m", "string", "1");
    tags.set("z", "string", "2");
    tags.set("a", "integer", "3");  // goes before the first: the first moves to the list
    tags.set("n", "string", "4");
    tags.set("b", "real", "5");
    EXPECT_EQ(names(tags), (std::vector<std::string>{"a=integer:3", "b=real:5", "m=string:1", "n=string:4", "z=string:2"}));
    EXPECT_EQ(tags.size(), 5u);

    // Rewriting keeps the place, and may change the type.
    tags.set("n", "integer", "40");
    tags.set("a", "integer", "30");
    EXPECT_EQ(names(tags), (std::vector<std::string>{"a=integer:30", "b=real:5", "m=string:1", "n=integer:40", "z=string:2"}));
    for (const char *name : {"a", "b", "m", "n", "z"}) EXPECT_EQ(tags.count(name), 1u) << name;
    for (const char *name : {"", "0", "c", "mm", "zz"}) EXPECT_EQ(tags.count(name), 0u) << name;

    // Many names written backwards come out in order.
    ArtTags many;
    for (int i = 300; i > 0; --i) many.set("t" + std::to_string(1000 + i), "string", std::to_string(i));
    std::string last;
    for (const TagRef tag : many) {
        EXPECT_LT(last, tag.name);
        EXPECT_EQ(tag.value, std::to_string(std::stoi(tag.name.substr(1)) - 1000));
        last = tag.name;
    }
    EXPECT_EQ(many.size(), 300u);
}

TEST(ArtTags, NamesTypesAndValuesMatchWholeNeverByPrefix) {
    ArtTags tags;
    tags.set("smearcraft", "string", "smearcraft");
    EXPECT_TRUE(tags.holds("smearcraft", "string", "smearcraft"));
    for (const char *name : {"smear", "smearcraftx", "Smearcraft", ""})
        EXPECT_FALSE(tags.holds(name, "string", "smearcraft")) << name;
    for (const char *type : {"str", "strings", "integer", ""})
        EXPECT_FALSE(tags.holds("smearcraft", type, "smearcraft")) << type;
    for (const char *value : {"smear", "smearcraft ", ""})
        EXPECT_FALSE(tags.holds("smearcraft", "string", value)) << value;
    // The same through names given as lengths, and for a tag past the first.
    tags.set("zeta", "string", "");
    EXPECT_TRUE(tags.holds(std::string_view("zeta"), "string", ""));
    EXPECT_TRUE(tags.holds("zeta", "string", ""));
    EXPECT_FALSE(tags.holds("zet", "string", ""));
    EXPECT_FALSE(tags.holds("zeta", "string", "x"));
    ASSERT_NE(tags.value("zeta"), nullptr);
    EXPECT_EQ(*tags.type("smearcraft"), "string");
    EXPECT_EQ(tags.value("smearcraf"), nullptr);
    // Text given with a NUL ends there, as every C string that reaches a tag
    // does: the name "mid" never passes for "mid\0dle".
    using namespace std::string_literals;
    tags.set("mid\0dle"s, "string\0x"s, "v\0w"s);
    EXPECT_TRUE(tags.holds("mid", "string", "v"));
    EXPECT_EQ(*tags.value("mid"), "v");
    EXPECT_EQ(tags.value("mid\0dle"s), nullptr);
}

TEST(ArtTags, CopiesAreDeepAndEqualityIgnoresTheOrderWritten) {
    ArtTags a;
    a.set("x", "string", "1");
    a.set("y", "string", "a value longer than any short string buffer");
    a.set("w", "integer", "2");
    ArtTags b;
    b.set("y", "string", "a value longer than any short string buffer");
    b.set("w", "integer", "2");
    b.set("x", "string", "1");
    EXPECT_EQ(a, b);

    ArtTags copy = a;
    copy.set("y", "string", "changed");
    copy.set("v", "string", "new first");
    EXPECT_EQ(a, b);
    EXPECT_NE(copy, a);
    EXPECT_EQ(names(a), (std::vector<std::string>{"w=integer:2", "x=string:1",
                                                  "y=string:a value longer than any short string buffer"}));

    // The same name and value with another type is another tag.
    ArtTags c = a;
    c.set("w", "string", "2");
    EXPECT_NE(c, a);

    copy = a;
    EXPECT_EQ(copy, a);
    copy.clear();
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(copy.begin(), copy.end());
    EXPECT_EQ(a.size(), 3u);
}

TEST(ArtTags, OnlyTheThreeTypesAreKnownWhole) {
    EXPECT_EQ(tagTypeOf("string"), TagType::kString);
    EXPECT_EQ(tagTypeOf("integer"), TagType::kInteger);
    EXPECT_EQ(tagTypeOf("real"), TagType::kReal);
    for (const char *other : {"", "s", "strin", "strings", "String", "integers", "intege", "rea", "real ", "x"}) {
        EXPECT_EQ(tagTypeOf(other), TagType::kOther) << other;
        EXPECT_EQ(tagTypeOf(std::string_view(other)), TagType::kOther) << other;
    }
    // A key knows its type's kind, so a tag of an unknown type never passes
    // for one of a known type.
    EXPECT_EQ(internTagKey("n", "real")->kind, TagType::kReal);
    EXPECT_EQ(internTagKey("n", "reals")->kind, TagType::kOther);
    ArtTags tags;
    tags.set("n", "reals", "1");
    EXPECT_FALSE(tags.holds("n", "real", "1"));
    EXPECT_TRUE(tags.holds("n", "reals", "1"));
    tags.set("n", "real", "1");
    EXPECT_TRUE(tags.holds("n", TagType::kReal, "1"));
    EXPECT_FALSE(tags.holds("n", TagType::kString, "1"));
}

TEST(ArtTags, KeysAreSharedPerNameAndType) {
    EXPECT_EQ(internTagKey("smearcraft", "string"), internTagKey(std::string("smearcraft"), "string"));
    EXPECT_NE(internTagKey("smearcraft", "string"), internTagKey("smearcraft", "integer"));
    EXPECT_NE(internTagKey("a", "bc"), internTagKey("ab", "c"));
    EXPECT_EQ(internTagKey("a", "bc")->name, "a");
    EXPECT_EQ(internTagKey("a", "bc")->type, "bc");
}

}  // namespace
}  // namespace smear
