// Drawings of the options dialogs: every item is drawn inside the window with
// its text or value, the focus shows, and the drawings in docs/dialogs are the
// ones the code draws now. With SMEAR_WRITE_DIALOG_DOCS set, the test writes
// them instead of comparing.
#include <pugixml.hpp>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "dialog_manager.h"
#include "dialog_svg.h"
#include "expected_dialogs.h"
#include "fixture.h"

namespace smear {
namespace {

const char *const kDocNames[kToolCount] = {
    "scaling",     "translate",     "rotate",        "transparency", "stroke-weight", "fill-intensity", "fill-channels",
    "styles",      "blend-mode",    "color-reducer", "corner-points", "swatches",     "tint",           "gradient",
    "pattern",     "quick-shrink",  "point-shifter", "gradient-mesh", "warp-mesh"};

std::string docPath(int k) {
    char name[64];
    std::snprintf(name, sizeof name, "/docs/dialogs/tool-%02d-%s.svg", k, kDocNames[k]);
    return std::string(SMEAR_SOURCE_DIR) + name;
}

class DialogDrawingTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        ASSERT_EQ(startup(), kNoErr);
        // The drawings show a document with named styles and swatches, so the
        // Styles and Swatches numbers show their defaults.
        for (int i = 0; i < 5; ++i) host.document().addGraphicStyle("style " + std::to_string(i), AIPathStyle{});
        for (int i = 0; i < 12; ++i) host.document().addSwatch("swatch " + std::to_string(i), AIColor{});
    }
    // Draws tool k's dialog as it opens; `texts` gets every item's shown text.
    std::string draw(int k, std::vector<std::pair<int, std::string>> *texts = nullptr, int *focus = nullptr) {
        std::string svg;
        host.dialogs->onOpen = [&](Dialog &d) {
            svg = drawDialogSvg(d);
            if (texts)
                for (const auto &item : d.items()) texts->emplace_back(item->id, item->displayText());
            if (focus && d.focus()) *focus = d.focus()->id;
        };
        host.dialogs->queue({DialogAction::escape()});
        host.sendTool("AI Edit Options", tool(k), {0, 0}, 0, 0);
        host.dialogs->onOpen = nullptr;
        return svg;
    }
};

TEST_F(DialogDrawingTest, EveryItemIsDrawnInsideTheWindowWithWhatItShows) {
    for (int k = 0; k < kToolCount; ++k) {
        SCOPED_TRACE("tool " + std::to_string(k));
        std::vector<std::pair<int, std::string>> texts;
        int focus = 0;
        const std::string svg = draw(k, &texts, &focus);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(svg.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) << svg.substr(0, 200);
        pugi::xml_node root = doc.child("svg");
        const double width = root.attribute("width").as_double();
        const double height = root.attribute("height").as_double();
        EXPECT_GE(width, 260);
        EXPECT_GE(height, 500);

        std::map<int, std::string> drawn;  // item id -> its texts, joined
        int items = 0;
        for (pugi::xml_node g : root.children("g")) {
            ++items;
            const int id = g.attribute("data-id").as_int();
            for (pugi::xml_node node : g.children()) {
                if (std::string(node.name()) == "text") drawn[id] += node.child_value();
                for (const char *coord : {"x", "y"}) {
                    if (!node.attribute(coord)) continue;
                    const double v = node.attribute(coord).as_double();
                    EXPECT_GE(v, 0) << "item " << id;
                    EXPECT_LE(v, std::string(coord) == "x" ? width : height) << "item " << id;
                }
            }
        }
        EXPECT_EQ(size_t(items), texts.size());
        for (const auto &[id, text] : texts) {
            if (text.empty()) continue;
            EXPECT_NE(drawn[id].find(text), std::string::npos) << "item " << id << " should show \"" << text << "\"";
        }
        // The focus field's text is drawn selected: white on the highlight.
        EXPECT_NE(svg.find("fill=\"#316ac5\" stroke=\"none\""), std::string::npos);
        EXPECT_EQ(focus, expected::tool(k).focus);
    }
}

TEST_F(DialogDrawingTest, TheDrawingsInTheDocumentationAreCurrent) {
    const bool write = std::getenv("SMEAR_WRITE_DIALOG_DOCS") != nullptr;
    for (int k = 0; k < kToolCount; ++k) {
        const std::string svg = draw(k);
        if (write) {
            std::ofstream(docPath(k), std::ios::binary) << svg;
            continue;
        }
        std::ifstream in(docPath(k), std::ios::binary);
        std::stringstream stored;
        stored << in.rdbuf();
        EXPECT_EQ(stored.str(), svg) << docPath(k) << " is out of date: run the tests with SMEAR_WRITE_DIALOG_DOCS=1";
    }
}

}  // namespace
}  // namespace smear
