// A `set` step stores the value asked for or fails saying why: a value the
// options dialog would change (held to limits that depend on the document)
// is never kept silently.
#include <sstream>

#include <nlohmann/json.hpp>

#include "fixture.h"
#include "session.h"

namespace smear {
namespace {

class SetRefusal : public PluginTest {
protected:
    bool play(const std::string &set, std::string &error) {
        const std::string text = R"({"document": {"objects": [{"id": "sq", "rect": [0, 0, 10, 10]}],
            "graphicStyles": [{"name": "Thin", "strokeWidth": 1}, {"name": "Thick", "strokeWidth": 5}],
            "swatches": [{"name": "Red", "color": "#ff0000"}, {"name": "Blue", "color": "#0000ff"},
                         {"name": "Green", "color": "#00ff00"}]},
            "steps": ["startup", {"set": )" + set + "}]}";
        Session s;
        if (!parseSession(nlohmann::json::parse(text), s, error)) return false;
        SessionRunner runner(host, report);
        return runner.run(s, error);
    }
    std::string refusal(const std::string &set) {
        std::string error;
        EXPECT_FALSE(play(set, error)) << report.str();
        return error;
    }
    std::ostringstream report;
};

TEST_F(SetRefusal, IndexesBeyondTheDocumentsListsAreRefused) {
    EXPECT_NE(refusal(R"({"tool": "styles", "styleIndex": 5})")
                  .find("step 2 (set): styleIndex=5 is outside what the dialog allows here: it made it 1"),
              std::string::npos);
    EXPECT_NE(refusal(R"({"tool": "swatches", "swatchIndex": 9})").find("swatchIndex=9 is outside"),
              std::string::npos);
    EXPECT_NE(refusal(R"({"tool": "swatches", "swatchIgnoreRandom": 9})").find("swatchIgnoreRandom=9 is outside"),
              std::string::npos);
}

TEST_F(SetRefusal, ValuesTheDialogKeepsAreStored) {
    std::string error;
    ASSERT_TRUE(play(R"({"tool": "styles", "styleIndex": 1, "styleFactor": "2.5"})", error)) << error;
    EXPECT_EQ(g().styleIndex, 1);
    EXPECT_EQ(g().styleFactor, 2.5f);
    EXPECT_NE(report.str().find("  styleFactor = 2.5\n  styleIndex = 1\n"), std::string::npos) << report.str();
}

TEST_F(SetRefusal, SwatchIndexesWithinTheListAreStored) {
    std::string error;
    ASSERT_TRUE(play(R"({"tool": "swatches", "swatchIndex": 2, "swatchIgnoreRandom": 1})", error)) << error;
    EXPECT_EQ(g().swatchIndex, 2);
    EXPECT_EQ(g().swatchIgnoreRandom, 1);
}

}  // namespace
}  // namespace smear
