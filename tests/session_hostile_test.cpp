// Session files made to hurt the reader: JSON nested far deeper than any
// session needs, inline documents of art nested inside art, and paths that
// are no files. Each is refused quickly with a message saying why.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "session.h"
#include "session_document.h"

namespace smear {
namespace {

using nlohmann::json;

// Groups nested `levels` deep as JSON text, a path innermost.
std::string nestedGroups(int levels) {
    std::string text = "{\"objects\": [";
    for (int i = 0; i < levels; ++i) text += "{\"type\": \"group\", \"children\": [";
    text += "{\"points\": [[0, 0], [1, 1]]}";
    for (int i = 0; i < levels; ++i) text += "]}";
    return text + "]}";
}

TEST(SessionHostile, JsonNestedBeyondTheLimitIsRefusedBeforeItIsCopied) {
    // Parsing does not recurse; copying the document into the session and
    // printing parts of it in messages would.
    for (const int levels : {20000, 100000}) {
        const json j = json::parse("{\"steps\": [], \"document\": " + nestedGroups(levels) + "}");
        Session s;
        std::string error;
        EXPECT_FALSE(parseSession(j, s, error));
        EXPECT_EQ(error, "session: nested deeper than 1024 levels");
        EXPECT_TRUE(s.document.is_null());
    }
    std::string arrays(100000, '[');
    arrays += std::string(100000, ']');
    Session s;
    std::string error;
    EXPECT_FALSE(parseSession(json::parse("{\"steps\": " + arrays + "}"), s, error));
    EXPECT_EQ(error, "session: nested deeper than 1024 levels");
    EXPECT_TRUE(jsonNestedDeeper(json::parse("[[1]]"), 1));
    EXPECT_FALSE(jsonNestedDeeper(json::parse("[[1]]"), 2));
    EXPECT_FALSE(jsonNestedDeeper(json::parse("[[], {}]"), 2));
}

TEST(SessionHostile, ArtNestedBeyondTheLimitIsRefusedWithItsPlace) {
    std::string error;
    // 256 levels of art: 255 groups and the path.
    auto doc = buildDocument(json::parse(nestedGroups(kSessionMaxArtDepth - 1)), error);
    ASSERT_TRUE(doc) << error;
    size_t count = 0;
    doc->forEachArt([&](const Art &) { ++count; });
    EXPECT_EQ(count, size_t(kSessionMaxArtDepth));

    doc = buildDocument(json::parse(nestedGroups(kSessionMaxArtDepth)), error);
    EXPECT_FALSE(doc);
    std::string where = "objects[0]";
    for (int i = 1; i < kSessionMaxArtDepth; ++i) where += ".children[0]";
    EXPECT_EQ(error, where + ".children: nested deeper than 256 levels");

    // Given straight to the builder, deep JSON is refused as well.
    doc = buildDocument(json::parse(nestedGroups(20000)), error);
    EXPECT_FALSE(doc);
    EXPECT_EQ(error, "document: nested deeper than 1024 levels");
}

TEST(SessionHostile, OnlyRegularFilesOfBoundedSizeAreRead) {
    Session s;
    std::string error;
    if (std::filesystem::exists("/dev/zero")) {
        EXPECT_FALSE(loadSessionFile("/dev/zero", s, error));
        EXPECT_NE(error.find("/dev/zero is not a regular file; not read"), std::string::npos) << error;
        // A session whose document is a device.
        s = Session{};
        s.document = "/dev/zero";
        EXPECT_FALSE(loadSessionDocument(s, error));
        EXPECT_NE(error.find("/dev/zero is not a regular file; not read"), std::string::npos) << error;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    EXPECT_FALSE(loadSessionFile(folder.string(), s, error));
    EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;

    const std::filesystem::path big =
        folder / ("smear-hostile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".json");
    { std::ofstream(big) << "{\"steps\": []}"; }
    EXPECT_TRUE(loadSessionFile(big.string(), s, error)) << error;
    std::filesystem::resize_file(big, kSessionMaxFileBytes + 1);
    EXPECT_FALSE(loadSessionFile(big.string(), s, error));
    EXPECT_NE(error.find("is larger than 256 MB; not read"), std::string::npos) << error;
    std::filesystem::remove(big);
}

}  // namespace
}  // namespace smear
