// Every tool paints an editor's file, reaching every object, and the file
// written back keeps what the document model does not hold: the objects'
// filters, masks, clip paths, markers and classes, the style sheet, the
// title and metadata, and the text's spans.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "art_signature.h"
#include "brush_support.h"
#include "real_files.h"
#include "svg.h"
#include "svg_write_support.h"

namespace smear {
namespace {

const char kEditorsFile[] =
    "<?xml version='1.0' encoding='UTF-8'?>\n"
    "<svg xmlns='http://www.w3.org/2000/svg' xmlns:dc='http://purl.org/dc/elements/1.1/' viewBox='0 0 200 100'>\n"
    "  <title>Shapes</title>\n"
    "  <metadata><dc:rights>CC-BY</dc:rights></metadata>\n"
    "  <style>.st0{fill:#ff0000} @media (prefers-color-scheme: dark) { .st0 { fill: #fff } }</style>\n"
    "  <defs>\n"
    "    <filter id='blur'><feGaussianBlur stdDeviation='2'/></filter>\n"
    "    <clipPath id='clip'><rect x='0' y='0' width='60' height='30'/></clipPath>\n"
    "    <mask id='hole'><rect width='200' height='100' fill='#fff'/><circle cx='150' cy='50' r='5'/></mask>\n"
    "    <marker id='arrow' markerWidth='4' markerHeight='4'><path d='M0 0 L4 2 L0 4 Z'/></marker>\n"
    "    <linearGradient id='ramp'><stop offset='0' stop-color='#000'/><stop offset='1' stop-color='#fff'/>"
    "</linearGradient>\n"
    "  </defs>\n"
    "  <g id='layer' transform='translate(10 5)'>\n"
    "    <rect id='a' class='st0' x='0' y='0' width='40' height='20' filter='url(#blur)' clip-path='url(#clip)'/>\n"
    "    <circle id='b' cx='150' cy='50' r='20' style='fill:url(#ramp);mask:url(#hole)'/>\n"
    "    <path id='c' d='M10 80 L60 80 L90 60' stroke='#000' marker-end='url(#arrow)'/>\n"
    "  </g>\n"
    "  <text id='t' x='10' y='95' fill='#336699'>One <tspan font-weight='bold'>bold</tspan> word</text>\n"
    "  <text id='u' x='120' y='20' font-size='8'><tspan id='u1' x='120' y='20'>first</tspan>"
    "<tspan id='u2' x='120' y='30' class='st0'>second</tspan></text>\n"
    "</svg>\n";

// The start tag of the element with this id, "" when there is none.
std::string startTagOf(const std::string &svg, const std::string &id) {
    for (const char *quote : {"'", "\""}) {
        const size_t at = svg.find(" id=" + std::string(quote) + id + quote);
        if (at != std::string::npos) return svg.substr(svg.rfind('<', at), svg.find('>', at) - svg.rfind('<', at) + 1);
    }
    return {};
}

class PaintedKeeps : public BrushTest, public ::testing::WithParamInterface<int> {};

TEST_P(PaintedKeeps, WhatTheModelDoesNotHoldStaysWithEveryObject) {
    const int toolId = GetParam();
    auto drawing = std::make_unique<Document>();
    SvgReadReport report;
    std::string error;
    ASSERT_TRUE(readSvgString(kEditorsFile, *drawing, report, error)) << error;
    selectAllOpen(*drawing);
    host.replaceDocument(std::move(drawing));
    g().brushSizeHorizontal = g().brushSizeVertical = 1000;  // every object at full weight
    g().blendMode = 1;                                         // multiply, not the normal mode it starts with
    host.random.seed(3);
    ASSERT_EQ(mouseDown(toolId, {100, -50}), 0);
    for (int i = 1; i <= 4; ++i) ASSERT_EQ(drag(toolId, {AIReal(100 + 10 * i), AIReal(-50 + 5 * i)}), 0);
    ASSERT_EQ(mouseUp(toolId, {140, -30}), 0);
    const std::string out = svgOf(doc());
    // Every tool changes something it reached, but those that need what the
    // file does not have: named styles, swatches, custom colours, patterns
    // or a mesh.
    int changed = 0;
    doc().forEachArt([&](const Art &art) {
        for (int p = 0; p < 3; ++p) changed += artPartDigest(art, ArtPart(p)) != art.sourceDigest[p];
    });
    if (toolId != kStylesTool && toolId != kSwatchesTool && toolId != kTintTool && toolId != kPatternTool &&
        toolId != kGradientMeshTool && toolId != kWarpMeshTool) {
        EXPECT_GT(changed, 0);
    }

    for (const char *kept : {"<?xml version='1.0' encoding='UTF-8'?>", "<title>Shapes</title>",
                             "<metadata><dc:rights>CC-BY</dc:rights></metadata>",
                             "<style>.st0{fill:#ff0000} @media (prefers-color-scheme: dark) { .st0 { fill: #fff } }</style>",
                             "<filter id='blur'><feGaussianBlur stdDeviation='2'/></filter>",
                             "<marker id='arrow' markerWidth='4' markerHeight='4'><path d='M0 0 L4 2 L0 4 Z'/></marker>",
                             "<g id='layer' transform='translate(10 5)'>", "<tspan font-weight='bold'>bold</tspan>",
                             ">first</tspan>", ">second</tspan>"})
        EXPECT_NE(out.find(kept), std::string::npos) << kept << "\n" << out;
    const std::string a = startTagOf(out, "a"), b = startTagOf(out, "b"), c = startTagOf(out, "c");
    EXPECT_NE(a.find("class='st0'"), std::string::npos) << a;
    EXPECT_NE(a.find("filter='url(#blur)'"), std::string::npos) << a;
    EXPECT_NE(a.find("clip-path='url(#clip)'"), std::string::npos) << a;
    EXPECT_NE(b.find("mask:url(#hole)"), std::string::npos) << b;
    EXPECT_NE(c.find("marker-end='url(#arrow)'"), std::string::npos) << c;
    EXPECT_NE(startTagOf(out, "u2").find("class='st0'"), std::string::npos) << out;
    // And the file reads back as the document it was written from.
    Document back;
    ASSERT_TRUE(readSvgString(out, back, report, error)) << error;
    size_t n = 0, m = 0;
    doc().forEachArt([&](const Art &) { ++n; });
    back.forEachArt([&](const Art &) { ++m; });
    EXPECT_EQ(m, n);
}

INSTANTIATE_TEST_SUITE_P(EveryTool, PaintedKeeps, ::testing::Range(0, kToolCount));

}  // namespace
}  // namespace smear
