// Files made to hurt the reader: nesting deeper than any drawing needs,
// references whose content grows as a power of their depth, long chains of
// definitions, and paths that are no files. Each must be read (or refused)
// quickly, with what was skipped reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "svg.h"
#include "svg_read_support.h"

namespace smear {
namespace {

const char *const kOpen =
    "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' viewBox='0 0 100 100'>\n";

int groupDepth(const Art &a) {
    int deepest = 0;
    for (const Art *c = a.firstChild; c; c = c->next) deepest = std::max(deepest, groupDepth(*c));
    return deepest + (a.type == kGroupArt ? 1 : 0);
}

TEST(SvgHostile, GroupsNestedBeyondTheLimitAreCutAndReportedOnce) {
    // Line 1 is the root, line k + 1 the k-th group: the root and 255 groups
    // make 256 levels; the 256th group, on line 257, is the first too deep.
    const int levels = 8000;
    std::string svg = kOpen;
    for (int i = 0; i < levels; ++i) svg += "<g>\n";
    svg += "<rect width='1' height='1' id='deepest'/>";
    for (int i = 0; i < levels; ++i) svg += "</g>";
    svg += "<rect id='after' width='2' height='2'/></svg>";
    const auto r = read(svg);
    ASSERT_TRUE(r->ok) << r->error;
    ASSERT_EQ(r->report.problems.size(), 1u);
    EXPECT_EQ(r->report.problems[0], "element <g> at line 257: nested deeper than 256 levels; skipped");
    EXPECT_EQ(groupDepth(*r->doc.currentLayer()->root) - 1, kSvgMaxDepth - 1);  // less the layer's own
    bool deepest = false, after = false;
    r->doc.forEachArt([&](const Art &a) {
        deepest = deepest || a.id == "deepest";
        after = after || a.id == "after";
    });
    EXPECT_FALSE(deepest);
    EXPECT_TRUE(after);  // what follows the deep part is still read

    // At the limit nothing is cut.
    std::string fits = kOpen;
    for (int i = 0; i < kSvgMaxDepth - 2; ++i) fits += "<g>";
    fits += "<rect width='1' height='1' id='deepest'/>";
    for (int i = 0; i < kSvgMaxDepth - 2; ++i) fits += "</g>";
    fits += "</svg>";
    const auto f = read(fits);
    ASSERT_TRUE(f->ok) << f->error;
    EXPECT_TRUE(f->report.problems.empty()) << f->report.problems[0];
    bool found = false;
    f->doc.forEachArt([&](const Art &a) { found = found || a.id == "deepest"; });
    EXPECT_TRUE(found);
}

TEST(SvgHostile, DeepContentOfDefinitionsIsCutBeforeAnythingRefersToIt) {
    // The symbol's content goes deeper than the limit: the reference to it
    // still reads, the cut part's ids are gone, and a reference into the
    // cut part refers to nothing.
    std::string svg = kOpen + std::string("<defs><symbol id='s'>");
    for (int i = 0; i < 3000; ++i) svg += "<g>";
    svg += "<rect id='inner' width='5' height='5'/>";
    for (int i = 0; i < 3000; ++i) svg += "</g>";
    svg += "</symbol></defs><use href='#s'/><use href='#inner'/></svg>";
    const auto r = read(svg);
    ASSERT_TRUE(r->ok) << r->error;
    ASSERT_EQ(r->report.problems.size(), 2u);
    EXPECT_NE(r->report.problems[0].find("nested deeper than 256 levels; skipped"), std::string::npos);
    EXPECT_NE(r->report.problems[1].find("refers to #inner, which does not exist"), std::string::npos);
    ASSERT_TRUE(r->doc.svgDefinitions.count("s"));
    EXPECT_EQ(r->doc.svgDefinitions["s"].find("inner"), std::string::npos);
}

// Eight levels, each of 30 references to the level below: measured by
// expanding every reference, 30^8 elements.
std::string powerOfReferences(const std::string &extra) {
    std::string svg = kOpen + std::string("<defs><g id='L0'><rect width='1' height='1'/></g>\n");
    for (int level = 1; level <= 8; ++level) {
        svg += "<g id='L" + std::to_string(level) + "'>";
        for (int i = 0; i < 30; ++i)
            svg += "<use href='#L" + std::to_string(level - 1) + "' x='" + std::to_string(i) + "'" + extra + "/>";
        svg += "</g>\n";
    }
    return svg + "</defs><use id='top' href='#L8'/></svg>";
}

const Art *byId(const Document &doc, const std::string &id) {
    const Art *found = nullptr;
    doc.forEachArt([&](const Art &a) {
        if (a.id == id) found = &a;
    });
    return found;
}

TEST(SvgHostile, ReferencesToReferencesAreMeasuredOncePerTarget) {
    const std::string svg = powerOfReferences("");
    EXPECT_LT(svg.size(), 8000u);
    const auto r = read(svg);
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_TRUE(r->report.problems.empty()) << r->report.problems[0];
    const Art *top = byId(r->doc, "top");
    ASSERT_NE(top, nullptr);
    // Each level reaches 29 units further right than the one below.
    EXPECT_FLOAT_EQ(top->frame.left, 0);
    EXPECT_FLOAT_EQ(top->frame.right, 1 + 8 * 29);
    EXPECT_FLOAT_EQ(top->frame.top, 0);
    EXPECT_FLOAT_EQ(top->frame.bottom, -1);
}

TEST(SvgHostile, TurnedReferencesAreMeasuredExactlyUpToTheLimit) {
    // Turned content cannot take its box from the box of the target, so
    // every reference is expanded: one turned reference is measured exactly,
    // the file of 30^8 stops at the limit with the reference reported.
    const auto one = read(std::string(kOpen) +
                          "<defs><g id='c'><circle r='10'/></g></defs>"
                          "<use id='u' href='#c' transform='rotate(45)'/></svg>");
    ASSERT_TRUE(one->ok);
    const Art *u = byId(one->doc, "u");
    ASSERT_NE(u, nullptr);
    EXPECT_NEAR(u->frame.left, -10, 1e-3);  // the circle's own box, not a turned square's
    EXPECT_NEAR(u->frame.right, 10, 1e-3);

    const auto r = read(powerOfReferences(" transform='rotate(1)'"));
    ASSERT_TRUE(r->ok) << r->error;
    ASSERT_EQ(r->report.problems.size(), 1u);
    EXPECT_NE(r->report.problems[0].find("element <use id=top>: what it shows, with the references in it, comes to "
                                         "more than 100000 elements; kept without a frame"),
              std::string::npos)
        << r->report.problems[0];
    const Art *top = byId(r->doc, "top");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->href, "L8");
}

TEST(SvgHostile, LongChainsOfDefinitionsAreAllKept) {
    // Each symbol refers to the next: every one is kept for the written file.
    const int count = 20000;
    std::string svg = kOpen + std::string("<defs>");
    for (int i = 0; i < count; ++i)
        svg += "<symbol id='s" + std::to_string(i) + "'><use href='#s" + std::to_string(i + 1) + "'/></symbol>";
    svg += "<symbol id='s" + std::to_string(count) + "'><rect width='1' height='1'/></symbol>";
    svg += "</defs><use href='#s0'/></svg>";
    const auto r = read(svg);
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_EQ(r->doc.svgDefinitions.size(), size_t(count + 1));
}

TEST(SvgHostile, OnlyRegularFilesOfBoundedSizeAreRead) {
    Document doc;
    SvgReadReport report;
    std::string error;
    if (std::filesystem::exists("/dev/zero")) {
        EXPECT_FALSE(readSvgFile("/dev/zero", doc, report, error));
        EXPECT_EQ(error, "/dev/zero is not a regular file; not read");
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    EXPECT_FALSE(readSvgFile(folder.string(), doc, report, error));
    EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;

    // A sparse file past the limit is refused by its size, unread.
    const std::filesystem::path big = folder / ("smear-hostile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".svg");
    { std::ofstream(big) << kOpen << "</svg>"; }
    std::filesystem::resize_file(big, kSvgMaxFileBytes + 1);
    EXPECT_FALSE(readSvgFile(big.string(), doc, report, error));
    EXPECT_NE(error.find("is larger than 256 MB; not read"), std::string::npos) << error;
    std::filesystem::remove(big);
}

}  // namespace
}  // namespace smear
