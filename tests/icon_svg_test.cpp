// Pictures of the module's icons: the pixels, the palette and the mask of a
// bitmap read as they are, every tool icon of the built module drawn, and a
// malformed bitmap refused with a message.
#include <gtest/gtest.h>

#include <string>

#include "icon_svg.h"
#include "resources.h"

namespace smear {
namespace {

void put32(std::vector<uint8_t> &b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// An 8 x 2 icon of 4 bits a pixel: the top row red, red, red, blue, blue,
// blue, blue and one pixel the mask leaves transparent; the bottom row black.
IconImage twoRowIcon() {
    std::vector<uint8_t> d(40 + 16 * 4 + 2 * 4 + 2 * 4, 0);
    put32(d, 0, 40);
    put32(d, 4, 8);
    put32(d, 8, 4);  // colour image and mask
    d[12] = 1;
    d[14] = 4;
    put32(d, 32, 16);
    const size_t palette = 40;
    d[palette + 1 * 4 + 2] = 0xff;  // entry 1: red (stored blue, green, red)
    d[palette + 2 * 4 + 0] = 0xff;  // entry 2: blue
    const size_t pixels = palette + 64;
    // Rows run bottom up: row 0 of the file is the bottom row (all entry 0).
    const uint8_t top[4] = {0x11, 0x12, 0x22, 0x22};
    for (int i = 0; i < 4; ++i) d[pixels + 4 + size_t(i)] = top[i];
    const size_t mask = pixels + 8;
    d[mask + 4] = 0x01;  // the top row's last pixel
    IconImage icon;
    icon.id = 7;
    icon.width = 8;
    icon.height = 2;
    icon.data = d;
    return icon;
}

TEST(IconSvg, PixelsPaletteAndMaskAreDrawnAsTheBitmapSays) {
    std::string svg, error;
    ASSERT_TRUE(drawIconSvg(twoRowIcon(), svg, error)) << error;
    EXPECT_NE(svg.find("viewBox=\"0 0 8 2\""), std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"3\" height=\"1\" fill=\"#ff0000\"/>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("<rect x=\"3\" y=\"0\" width=\"4\" height=\"1\" fill=\"#0000ff\"/>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("x=\"7\" y=\"0\""), std::string::npos) << "the masked pixel is left out";
    EXPECT_NE(svg.find("<rect x=\"0\" y=\"1\" width=\"8\" height=\"1\" fill=\"#000000\"/>"), std::string::npos) << svg;
}

TEST(IconSvg, MalformedBitmapsAreRefusedWithAMessage) {
    std::string svg, error;
    IconImage shortened = twoRowIcon();
    shortened.data.resize(shortened.data.size() - 3);
    EXPECT_FALSE(drawIconSvg(shortened, svg, error));
    EXPECT_NE(error.find("shorter than its header says"), std::string::npos) << error;

    IconImage compressed = twoRowIcon();
    compressed.data[16] = 2;
    EXPECT_FALSE(drawIconSvg(compressed, svg, error));
    EXPECT_NE(error.find("not an uncompressed bitmap"), std::string::npos) << error;

    IconImage huge = twoRowIcon();
    put32(huge.data, 4, 0x7fffffff);
    EXPECT_FALSE(drawIconSvg(huge, svg, error));

    IconImage empty;
    EXPECT_FALSE(drawIconSvg(empty, svg, error));
    EXPECT_TRUE(svg.empty());
}

TEST(IconSvg, EveryToolIconOfTheModuleIsDrawn) {
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(readResFile(std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", resources, error)) << error;
    for (uint16_t id = 16051; id <= 16069; ++id) {
        const auto images = resources.iconGroup(id);
        ASSERT_TRUE(images && !images->empty()) << id;
        std::string svg;
        ASSERT_TRUE(drawIconSvg(images->front(), svg, error)) << id << ": " << error;
        EXPECT_NE(svg.find("viewBox=\"0 0 32 32\""), std::string::npos) << id;
        EXPECT_GT(svg.size(), 500u) << id << " draws next to nothing";
    }
}

}  // namespace
}  // namespace smear
