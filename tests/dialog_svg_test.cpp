// Drawings of the options dialogs: every item is drawn inside the window with
// its text or value, the focus shows, and the drawings in docs/dialogs are the
// ones the code draws now. With SMEAR_WRITE_DIALOG_DOCS set, the test writes
// them instead of comparing.
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
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

std::string unescape(std::string s) {
    for (const auto &[from, to] : {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""},
                                   {"&amp;", "&"}}) {
        for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
    }
    return s;
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
        // The drawing is plain SVG: read its size, and each item's group with
        // the texts and coordinates inside it.
        std::smatch m;
        ASSERT_TRUE(std::regex_search(svg, m, std::regex("<svg [^>]*width=\"([0-9.]+)\" height=\"([0-9.]+)\"")));
        const double width = std::stod(m[1]);
        const double height = std::stod(m[2]);
        EXPECT_GE(width, 260);
        EXPECT_GE(height, 500);
        EXPECT_EQ(svg.rfind("</svg>"), svg.size() - 7);

        std::map<int, std::string> drawn;  // item id -> its texts, joined
        int items = 0;
        const std::regex group("<g data-id=\"(-?[0-9]+)\"[^>]*>([\\s\\S]*?)</g>");
        const std::regex text("<text [^>]*>([^<]*)</text>");
        const std::regex coord(" (x|y)=\"(-?[0-9.]+)\"");
        for (auto g = std::sregex_iterator(svg.begin(), svg.end(), group); g != std::sregex_iterator(); ++g) {
            ++items;
            const int id = std::stoi((*g)[1]);
            const std::string inner = (*g)[2];
            for (auto t = std::sregex_iterator(inner.begin(), inner.end(), text); t != std::sregex_iterator(); ++t)
                drawn[id] += unescape((*t)[1]);
            for (auto c = std::sregex_iterator(inner.begin(), inner.end(), coord); c != std::sregex_iterator(); ++c) {
                const double v = std::stod((*c)[2]);
                EXPECT_GE(v, 0) << "item " << id;
                EXPECT_LE(v, (*c)[1] == "x" ? width : height) << "item " << id;
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
#ifdef _WIN32
    GTEST_SKIP() << "the native build draws and compares the documentation";
#endif
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
