// The compiled resources as the host reads them, and the reader's refusal of
// malformed files.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "byte_reader.h"
#include "pe_builder.h"
#include "res_builder.h"
#include "resources.h"

namespace smear {
namespace {

using restest::expectedPipl;
using restest::putU16;
using restest::putU32;
using restest::putUtf16z;

constexpr uint32_t kWsPopup = 0x80000000, kWsVisible = 0x10000000, kWsCaption = 0x00C00000,
                   kWsSysMenu = 0x00080000, kDsModalFrame = 0x80, kDsSetFont = 0x40;
constexpr uint32_t kSsBlackFrame = 7, kSsTypeMask = 0x1F, kBsDefPushButton = 1;

std::vector<uint8_t> builtResBytes() {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(readFileBytes(std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", bytes, error)) << error;
    return bytes;
}

class BuiltResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        set_ = new ResourceSet;
        ASSERT_TRUE(readResFile(std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", *set_, error)) << error;
    }
    static void TearDownTestSuite() {
        delete set_;
        set_ = nullptr;
    }
    const ResourceSet &res() const { return *set_; }
    static ResourceSet *set_;
};
ResourceSet *BuiltResources::set_ = nullptr;

TEST_F(BuiltResources, PropertyListIsTheSeventyNineBytesTheHostExpects) {
    const std::vector<uint8_t> *pipl = res().find("PIPL", 16000);
    ASSERT_NE(pipl, nullptr);
    ASSERT_EQ(expectedPipl().size(), 79u);
    EXPECT_EQ(*pipl, expectedPipl());
    EXPECT_EQ(res().languageOf("PIPL", 16000), std::optional<uint16_t>(1033));
}

#ifdef _WIN32
TEST(ModuleResources, PropertyListReadFromTheDllMatchesTheResFile) {
    ResourceSet fromDll;
    std::string error;
    ASSERT_TRUE(readPeResources(std::string(SMEAR_BUILD_DIR) + "/Smearcraft.aip", fromDll, error)) << error;
    const std::vector<uint8_t> *pipl = fromDll.find("PIPL", 16000);
    ASSERT_NE(pipl, nullptr);
    EXPECT_EQ(*pipl, expectedPipl());
    EXPECT_EQ(fromDll.languageOf("PIPL", 16000), std::optional<uint16_t>(1033));
    ASSERT_TRUE(fromDll.dialog(16051).has_value());
    EXPECT_EQ(fromDll.dialog(16051)->title, "Plug-in Error - Quillmar");
    EXPECT_EQ(fromDll.string(16062).value_or(""),
              "Unknown error - possible reason: filters require paths to be selected before use or too many "
              "paths have been selected");
    auto cursor = fromDll.cursorGroup(16001);
    ASSERT_TRUE(cursor.has_value());
    ASSERT_EQ(cursor->size(), 1u);
    EXPECT_EQ((*cursor)[0].id, 20);
    EXPECT_EQ((*cursor)[0].hotspotX, 14);
    for (uint16_t i = 1; i <= 19; ++i) {
        auto icons = fromDll.iconGroup(uint16_t(16050 + i));
        ASSERT_TRUE(icons.has_value()) << i;
        ASSERT_EQ(icons->size(), 1u);
        EXPECT_EQ(icons->front().id, i);
    }
}
#endif

TEST_F(BuiltResources, ErrorStringListPairsCodesWithMessagesAndEndsAfterOthers) {
    const std::string noMemory = "The filter cannot complete because there isn't enough memory (RAM) available.";
    const std::vector<std::string> expected = {
        "<Mac strings begin at index 1>",
        "-108", noMemory,
        "271", noMemory,
        "SEGM", "The filter cannot complete because a layer is locked or invisible.",
        "NESS", "The filter cannot complete because a path has too many anchor points.",
        "!sel", "The selection is not valid for this filter.",
        "<Others>",
        "Unknown error - possible reason: filters require paths to be selected before use or too many paths have "
        "been selected",
    };
    for (size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(res().string(uint16_t(16050 + k)), std::optional<std::string>(expected[k])) << "index " << k;
    EXPECT_FALSE(res().string(16063).has_value());  // the list ends here
    EXPECT_FALSE(res().string(16049).has_value());  // same block, before the list
    EXPECT_FALSE(res().string(16064).has_value());  // next block, which does not exist
}

TEST_F(BuiltResources, EveryDialogHasItsTitleAndFont) {
    const std::vector<std::pair<uint16_t, std::string>> titles = {
        {16101, "Smearcraft (Scaling)"}, {16103, "Translation"},     {16105, "Rotate"},
        {16107, "Transparency"},         {16109, "Stroke Weight"},   {16111, "Brightness / RGB"},
        {16113, "Fill (Channels)"},      {16115, "Style/Factors"},   {16117, "Blend Modes"},
        {16119, "Color Reducer"},        {16121, "Corner Points"},   {16123, "Swatches"},
        {16125, "Tint"},                 {16127, "Gradients"},       {16129, "Patterns"},
        {16131, "Quick Shrink"},         {16133, "Point Shifter"},   {16135, "Gradient Mesh"},
        {16137, "Warp Mesh"},            {16051, "Plug-in Error - Quillmar"},
    };
    const uint32_t toolStyle = kWsPopup | kWsVisible | kWsCaption | kWsSysMenu | kDsModalFrame;
    for (const auto &[id, title] : titles) {
        auto dialog = res().dialog(id);
        ASSERT_TRUE(dialog.has_value()) << id;
        EXPECT_EQ(dialog->title, title) << id;
        EXPECT_EQ(dialog->fontName, "MS Sans Serif") << id;
        EXPECT_EQ(dialog->fontSize, 8) << id;
        EXPECT_EQ(res().languageOf(ResourceSet::typeName(kRtDialog), id), std::optional<uint16_t>(1033)) << id;
        if (id >= 16101) {
            EXPECT_EQ(dialog->style & ~kDsSetFont, toolStyle) << id;
            EXPECT_TRUE(dialog->items.empty()) << id;
        }
    }
    // The even ids between the tool dialogs hold nothing.
    EXPECT_FALSE(res().dialog(16102).has_value());

    auto about = res().dialog(16050);
    ASSERT_TRUE(about.has_value());
    EXPECT_NE(about->title.find("Smearcraft"), std::string::npos);
}

TEST_F(BuiltResources, ErrorDialogItemsStandWhereTheReportFillsThem) {
    auto dialog = res().dialog(16051);
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(std::make_pair(dialog->cx, dialog->cy), std::make_pair(int16_t(185), int16_t(92)));
    ASSERT_EQ(dialog->items.size(), 4u);
    struct Expected {
        uint16_t id;
        const char *windowClass;
        const char *text;
        int16_t x, y, cx, cy;
    };
    const Expected expected[] = {
        {1, "BUTTON", "OK", 133, 2, 50, 14},
        {2, "STATIC", "Message", 49, 18, 133, 47},
        {3, "STATIC", "Code", 3, 81, 30, 8},
        {4, "STATIC", "", 10, 10, 18, 20},
    };
    for (size_t i = 0; i < 4; ++i) {
        const DialogItemTemplate &item = dialog->items[i];
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.windowClass, expected[i].windowClass);
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ(item.x, expected[i].x);
        EXPECT_EQ(item.y, expected[i].y);
        EXPECT_EQ(item.cx, expected[i].cx);
        EXPECT_EQ(item.cy, expected[i].cy);
    }
    EXPECT_EQ(dialog->items[3].style & kSsTypeMask, kSsBlackFrame);
}

TEST_F(BuiltResources, AboutDialogHasOkButtonAndEightLinesOfText) {
    auto about = res().dialog(16050);
    ASSERT_TRUE(about.has_value());
    EXPECT_EQ(std::make_pair(about->cx, about->cy), std::make_pair(int16_t(277), int16_t(146)));
    ASSERT_EQ(about->items.size(), 9u);
    const DialogItemTemplate &ok = about->items[0];
    EXPECT_EQ(ok.id, 1);
    EXPECT_EQ(ok.windowClass, "BUTTON");
    EXPECT_EQ(ok.text, "&OK");
    EXPECT_EQ(ok.style & 0xF, kBsDefPushButton);
    EXPECT_EQ(std::vector<int16_t>({ok.x, ok.y, ok.cx, ok.cy}), std::vector<int16_t>({116, 129, 44, 14}));
    std::vector<std::string> lines;
    for (size_t i = 1; i < about->items.size(); ++i) {
        EXPECT_EQ(about->items[i].windowClass, "STATIC");
        lines.push_back(about->items[i].text);
    }
    EXPECT_EQ(lines[2], "Smearcraft");
    EXPECT_EQ(lines[4], "Version: 1.2.5");
    EXPECT_EQ(lines[5], "Smearcraft");
    EXPECT_NE(lines[0].find("10, CS and CS2"), std::string::npos);
    EXPECT_NE(lines[7].find('@'), std::string::npos);
}

TEST_F(BuiltResources, EachToolIconGroupHoldsOneSixteenColourImageNumberedByTool) {
    std::set<std::vector<uint8_t>> pictures;
    for (uint16_t i = 1; i <= 19; ++i) {
        auto group = res().iconGroup(uint16_t(16050 + i));
        ASSERT_TRUE(group.has_value()) << "group " << 16050 + i;
        ASSERT_EQ(group->size(), 1u);
        const IconImage &image = group->front();
        EXPECT_EQ(image.id, i);
        EXPECT_EQ(image.width, 32);
        EXPECT_EQ(image.height, 32);
        EXPECT_EQ(image.colorCount, 16);
        EXPECT_EQ(image.bitCount, 4);
        // Header, 16-entry palette, 4-bit colour rows, 1-bit mask rows.
        EXPECT_EQ(image.data.size(), 40u + 16 * 4 + 32 * 16 + 32 * 4);
        pictures.insert(image.data);
    }
    EXPECT_EQ(pictures.size(), 19u) << "every tool has a picture of its own";
    EXPECT_FALSE(res().iconGroup(16050).has_value());
    EXPECT_FALSE(res().iconGroup(16070).has_value());
}

TEST_F(BuiltResources, ToolCursorIsImageTwentyWithItsHotSpot) {
    auto group = res().cursorGroup(16001);
    ASSERT_TRUE(group.has_value());
    ASSERT_EQ(group->size(), 1u);
    const IconImage &image = group->front();
    EXPECT_EQ(image.id, 20);
    EXPECT_EQ(image.hotspotX, 14);
    EXPECT_EQ(image.hotspotY, 16);
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 32);
    EXPECT_EQ(image.bitCount, 1);
    EXPECT_EQ(image.colorCount, 2);
    EXPECT_EQ(image.data.size(), 40u + 2 * 4 + 32 * 4 * 2);
}

TEST_F(BuiltResources, VersionResourceNamesTheCompanyAndVersion) {
    const std::vector<uint8_t> *version = res().find(kRtVersion, 1);
    ASSERT_NE(version, nullptr);
    // VS_FIXEDFILEINFO follows the "VS_VERSION_INFO" key; its file version
    // words are 1.2 and 5.0.
    const std::vector<uint8_t> signature = {0xBD, 0x04, 0xEF, 0xFE};
    auto at = std::search(version->begin(), version->end(), signature.begin(), signature.end());
    ASSERT_NE(at, version->end());
    size_t offset = size_t(at - version->begin());
    ASSERT_GE(version->size(), offset + 16);
    EXPECT_EQ(std::vector<uint8_t>(version->begin() + long(offset) + 8, version->begin() + long(offset) + 16),
              std::vector<uint8_t>({2, 0, 1, 0, 0, 0, 5, 0}));
    std::vector<uint8_t> company;
    putUtf16z(company, "Smearcraft");
    EXPECT_NE(std::search(version->begin(), version->end(), company.begin(), company.end()), version->end());
}

// ---- Malformed input

TEST(ResFileReader, RefusesTruncatedOrOverlongRecords) {
    ResourceSet set;
    std::string error;
    std::vector<uint8_t> good = restest::resFile({{"PIPL", 16000, expectedPipl()}});
    ASSERT_TRUE(parseResFile(good, set, error)) << error;
    ASSERT_NE(set.find("PIPL", 16000), nullptr);

    auto refuses = [](std::vector<uint8_t> bytes, const char *what) {
        ResourceSet out;
        out.add("KEEP", 1, 0, {1});
        std::string message;
        EXPECT_FALSE(parseResFile(bytes, out, message)) << what;
        EXPECT_FALSE(message.empty()) << what;
        EXPECT_NE(out.find("KEEP", 1), nullptr) << what << ": a refused file leaves the set alone";
    };
    refuses({}, "empty file");
    refuses(std::vector<uint8_t>(good.begin(), good.begin() + 20), "cut inside the leading record");
    refuses(std::vector<uint8_t>(good.begin(), good.begin() + 40), "cut inside a header");
    refuses(std::vector<uint8_t>(good.begin(), good.end() - 5), "cut inside the data");
    std::vector<uint8_t> overlong = good;
    overlong[32] = 0xF0;  // data size far beyond the end
    refuses(overlong, "data size beyond the end");
    std::vector<uint8_t> hugeHeader = good;
    hugeHeader[39] = 0x7F;  // header size beyond the end
    refuses(hugeHeader, "header size beyond the end");
    std::vector<uint8_t> tinyHeader = good;
    tinyHeader[36] = 8;  // a header too small to hold its own fields
    refuses(tinyHeader, "header size too small");
    std::vector<uint8_t> sixteenBit = good;
    sixteenBit[4] = 0;  // no empty leading record: not the 32-bit format
    refuses(sixteenBit, "16-bit format");
    std::vector<uint8_t> unterminated = restest::resFile({{"PIPL", 16000, {}}});
    unterminated.resize(32 + 8 + 4);  // a type name whose terminator is cut off
    unterminated[32 + 4] = 12;
    refuses(unterminated, "name without terminator");
}

TEST(ResFileReader, AnyTruncationOfTheBuiltFileIsRefusedOrLosesOnlyWholeRecords) {
    std::vector<uint8_t> bytes = builtResBytes();
    ResourceSet full;
    std::string error;
    ASSERT_TRUE(parseResFile(bytes, full, error)) << error;
    for (size_t length = 0; length < bytes.size(); length += (length < 256 ? 1 : 13)) {
        ResourceSet part;
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(length));
        if (parseResFile(cut, part, error)) {
            EXPECT_LT(part.size(), full.size()) << length;
        }
    }
}

TEST(ResFileReader, ResourcesWithNamesReadBack) {
    std::vector<uint8_t> bytes = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    bytes.resize(32, 0);
    std::vector<uint8_t> names;
    putUtf16z(names, "DATA");
    putUtf16z(names, "ABOUT");
    restest::padTo4(names);
    putU32(bytes, 3);
    putU32(bytes, uint32_t(8 + names.size() + 16));
    bytes.insert(bytes.end(), names.begin(), names.end());
    bytes.resize(bytes.size() + 16, 0);
    bytes.insert(bytes.end(), {7, 8, 9});  // the last record needs no padding
    ResourceSet set;
    std::string error;
    ASSERT_TRUE(parseResFile(bytes, set, error)) << error;
    ASSERT_NE(set.find("DATA", "ABOUT"), nullptr);
    EXPECT_EQ(*set.find("DATA", "ABOUT"), std::vector<uint8_t>({7, 8, 9}));
}

TEST(ResourceSet, UsEnglishWinsOverOtherLanguages) {
    ResourceSet set;
    set.add("PIPL", 1, 0x407, {1});
    set.add("PIPL", 1, 0x409, {2});
    set.add("PIPL", 1, 0x40C, {3});
    EXPECT_EQ(*set.find("PIPL", 1), std::vector<uint8_t>({2}));
    EXPECT_EQ(set.languageOf("PIPL", 1), std::optional<uint16_t>(0x409));
}

TEST(ResourceSet, MalformedStringsDialogsAndGroupsReadAsAbsent) {
    ResourceSet set;
    std::vector<uint8_t> block;
    putU16(block, 3);
    putU16(block, 'a');  // string 0 claims 3 units, has 1
    set.add(ResourceSet::typeName(kRtString), 1, 0x409, block);
    EXPECT_FALSE(set.string(0).has_value());
    EXPECT_FALSE(set.string(5).has_value());

    std::vector<uint8_t> group;
    for (uint16_t v : {0, 1, 1}) putU16(group, v);
    group.insert(group.end(), {32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 2, 0, 0, 9, 0});  // names image 9
    set.add(ResourceSet::typeName(kRtGroupIcon), 5, 0x409, group);
    EXPECT_FALSE(set.iconGroup(5).has_value()) << "image 9 is missing";
    set.add(ResourceSet::typeName(kRtIcon), 9, 0x409, {1, 2, 3});
    ASSERT_TRUE(set.iconGroup(5).has_value());
    EXPECT_EQ(set.iconGroup(5)->front().width, 32) << "a non-DIB image keeps its entry's size";
    group.resize(group.size() - 3);
    set.add(ResourceSet::typeName(kRtGroupIcon), 6, 0x409, group);
    EXPECT_FALSE(set.iconGroup(6).has_value()) << "entry cut off";
    EXPECT_FALSE(set.cursorGroup(5).has_value()) << "an icon group is not a cursor group";

    std::vector<uint8_t> cursorGroup;
    for (uint16_t v : {0, 2, 1, 32, 64, 1, 1}) putU16(cursorGroup, v);
    putU32(cursorGroup, 2);
    putU16(cursorGroup, 20);
    set.add(ResourceSet::typeName(kRtGroupCursor), 7, 0x409, cursorGroup);
    set.add(ResourceSet::typeName(kRtCursor), 20, 0x409, {14, 0});  // hot spot cut in half
    EXPECT_FALSE(set.cursorGroup(7).has_value());
}

// ---- Dialog templates

TEST(DialogTemplates, ExtendedTemplateReadsLikeTheClassicOne) {
    // Laid out as resource compilers write it, every item on a 4-byte boundary.
    std::vector<uint8_t> b;
    for (uint16_t v : {1, 0xFFFF}) putU16(b, v);
    putU32(b, 0);                                     // help id
    putU32(b, 0);                                     // extended style
    putU32(b, kWsPopup | kWsCaption | kDsSetFont);    // style
    putU16(b, 2);                                     // items
    for (uint16_t v : {0, 0, 120, 60}) putU16(b, v);  // rectangle
    putU16(b, 0);                                     // no menu
    putU16(b, 0);                                     // default class
    putUtf16z(b, "Extended");
    putU16(b, 9);               // point size
    putU16(b, 400);             // weight
    b.insert(b.end(), {0, 1});  // italic, character set
    putUtf16z(b, "Tahoma");
    restest::padTo4(b);
    putU32(b, 0);
    putU32(b, 0);
    putU32(b, 0x50010001);
    for (uint16_t v : {5, 6, 50, 14}) putU16(b, v);
    putU32(b, 77);
    for (uint16_t v : {0xFFFF, 0x80}) putU16(b, v);
    putUtf16z(b, "Go");
    putU16(b, 2);               // creation data
    b.insert(b.end(), {9, 9});
    restest::padTo4(b);
    putU32(b, 0);
    putU32(b, 0);
    putU32(b, 0x50000000);
    for (uint16_t v : {5, 30, 60, 10}) putU16(b, v);
    putU32(b, 78);
    putUtf16z(b, "msctls_trackbar32");
    for (uint16_t v : {0xFFFF, 12}) putU16(b, v);  // text naming a resource
    putU16(b, 0);

    DialogTemplate dialog;
    std::string error;
    ASSERT_TRUE(parseDialogTemplate(b, dialog, error)) << error;
    EXPECT_EQ(dialog.title, "Extended");
    EXPECT_EQ(dialog.fontName, "Tahoma");
    EXPECT_EQ(dialog.fontSize, 9);
    EXPECT_EQ(dialog.cx, 120);
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.items[0].id, 77);
    EXPECT_EQ(dialog.items[0].windowClass, "BUTTON");
    EXPECT_EQ(dialog.items[0].text, "Go");
    EXPECT_EQ(dialog.items[0].style, 0x50010001u);
    EXPECT_EQ(dialog.items[1].id, 78);
    EXPECT_EQ(dialog.items[1].windowClass, "msctls_trackbar32");
    EXPECT_EQ(dialog.items[1].text, "#12");
    EXPECT_EQ(dialog.items[1].y, 30);

    // Every shorter prefix is refused with a message.
    for (size_t n = 0; n < b.size(); ++n) {
        std::vector<uint8_t> cut(b.begin(), b.begin() + long(n));
        EXPECT_FALSE(parseDialogTemplate(cut, dialog, error)) << n;
    }
}

TEST_F(BuiltResources, EveryPrefixOfTheErrorDialogIsRefused) {
    const std::vector<uint8_t> *bytes = res().find(kRtDialog, 16051);
    ASSERT_NE(bytes, nullptr);
    DialogTemplate dialog;
    std::string error;
    // The last item's creation-data count ends the template, so only the full length parses.
    for (size_t n = 0; n < bytes->size(); ++n) {
        std::vector<uint8_t> cut(bytes->begin(), bytes->begin() + long(n));
        EXPECT_FALSE(parseDialogTemplate(cut, dialog, error)) << n;
    }
    EXPECT_NE(error.find("dialog template"), std::string::npos);
}

TEST_F(BuiltResources, CutStringTableKeepsTheStringsBeforeTheCut) {
    const std::vector<uint8_t> &block = *res().find(kRtString, 1004);
    // Where each of the block's 16 strings ends.
    std::vector<size_t> ends;
    for (size_t at = 0, slot = 0; slot < 16; ++slot) {
        ASSERT_LE(at + 2, block.size());
        at += 2 + 2 * size_t(block[at] | block[at + 1] << 8);
        ends.push_back(at);
    }
    for (size_t n = 0; n <= block.size(); ++n) {
        ResourceSet cut;
        cut.add(ResourceSet::typeName(kRtString), 1004, 0x409, std::vector<uint8_t>(block.begin(), block.begin() + long(n)));
        for (uint16_t slot = 0; slot < 16; ++slot) {
            uint16_t id = uint16_t(16048 + slot);
            bool whole = ends[slot] <= n;
            EXPECT_EQ(cut.string(id), whole ? res().string(id) : std::nullopt) << "length " << n << " id " << id;
        }
    }
}

TEST_F(BuiltResources, CutIconAndCursorResourcesReadAsAbsent) {
    auto check = [&](uint16_t groupType, uint16_t groupId, uint16_t imageType, uint16_t imageId, bool cursor) {
        const std::vector<uint8_t> &group = *res().find(groupType, groupId);
        for (size_t n = 0; n < group.size(); ++n) {
            ResourceSet set;
            set.add(ResourceSet::typeName(groupType), groupId, 0x409, std::vector<uint8_t>(group.begin(), group.begin() + long(n)));
            set.add(ResourceSet::typeName(imageType), imageId, 0x409, *res().find(imageType, imageId));
            EXPECT_FALSE(cursor ? set.cursorGroup(groupId) : set.iconGroup(groupId)) << n;
        }
        // An image cut anywhere still reads; only a cursor needs its hot spot.
        const std::vector<uint8_t> &image = *res().find(imageType, imageId);
        for (size_t n = 0; n < image.size(); n += 7) {
            ResourceSet set;
            set.add(ResourceSet::typeName(groupType), groupId, 0x409, group);
            set.add(ResourceSet::typeName(imageType), imageId, 0x409, std::vector<uint8_t>(image.begin(), image.begin() + long(n)));
            auto images = cursor ? set.cursorGroup(groupId) : set.iconGroup(groupId);
            EXPECT_EQ(images.has_value(), !cursor || n >= 4) << n;
        }
    };
    check(kRtGroupIcon, 16055, kRtIcon, 5, false);
    check(kRtGroupCursor, 16001, kRtCursor, 20, true);
}

// ---- PE modules

std::vector<restest::PeResource> sampleModuleResources() {
    std::vector<uint8_t> strings;
    putU16(strings, 0);
    putU16(strings, 2);  // string 1: "Hi"
    putU16(strings, 'H');
    putU16(strings, 'i');
    return {{"PIPL", "#16000", 0x409, expectedPipl()},
            {"#6", "#1", 0x409, strings},
            {"DATA", "EXTRA", 0x407, {5, 6, 7}}};
}

TEST(PeResources, ReadsTheTreeOfThirtyTwoAndSixtyFourBitImages) {
    for (bool pe32Plus : {false, true}) {
        std::vector<uint8_t> image = restest::peImage(restest::resourceSection(sampleModuleResources()), pe32Plus);
        ResourceSet set;
        std::string error;
        ASSERT_TRUE(parsePeResources(image, set, error)) << error;
        EXPECT_EQ(set.size(), 3u);
        ASSERT_NE(set.find("PIPL", 16000), nullptr);
        EXPECT_EQ(*set.find("PIPL", 16000), expectedPipl());
        EXPECT_EQ(set.languageOf("PIPL", 16000), std::optional<uint16_t>(0x409));
        EXPECT_EQ(set.string(1), std::optional<std::string>("Hi"));
        ASSERT_NE(set.find("DATA", "EXTRA"), nullptr);
        EXPECT_EQ(*set.find("DATA", "EXTRA"), std::vector<uint8_t>({5, 6, 7}));
    }
}

TEST(PeResources, RefusesDamagedImages) {
    std::vector<uint8_t> section = restest::resourceSection(sampleModuleResources());
    const std::vector<uint8_t> good = restest::peImage(section, false);
    auto refused = [](const std::vector<uint8_t> &image, const char *what) {
        ResourceSet set;
        std::string error;
        bool ok = parsePeResources(image, set, error);
        EXPECT_FALSE(ok) << what;
        EXPECT_TRUE(set.empty()) << what;
        return error;
    };
    // The section's data runs to the end of the file, so every cut loses part of it.
    for (size_t n = 0; n < good.size(); n += (n < 0x240 ? 1 : 5)) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
        refused(cut, "truncated");
    }
    std::vector<uint8_t> notPe = good;
    notPe[0x41] = 'X';
    EXPECT_NE(refused(notPe, "signature").find("PE signature"), std::string::npos);
    std::vector<uint8_t> farHeader = good;
    restest::putU32At(farHeader, 0x3C, 0x7FFFFFF0);
    refused(farHeader, "PE header beyond the end");

    // A data entry pointing past its section.
    std::vector<uint8_t> badData = section;
    size_t firstDataEntry = 16 + 3 * 8 + 2 * 3 * (16 + 8);
    restest::putU32At(badData, firstDataEntry + 4, 0x10000);
    EXPECT_NE(refused(restest::peImage(badData, false), "data size").find("outside"), std::string::npos);
    restest::putU32At(badData, firstDataEntry, 0x9000);
    EXPECT_NE(refused(restest::peImage(badData, false), "data address").find("no section"), std::string::npos);

    // A type entry that points back at the root: the walk stops at the
    // language level instead of going round for ever.
    std::vector<uint8_t> loop = section;
    restest::putU32At(loop, 16 + 4, 0x80000000u);
    refused(restest::peImage(loop, false), "directory loop");

    std::vector<uint8_t> noResources = good;
    restest::putU32At(noResources, 0x44 + 20 + 96 + 16, 0);
    EXPECT_NE(refused(noResources, "no directory").find("no resources"), std::string::npos);
}

}  // namespace
}  // namespace smear
