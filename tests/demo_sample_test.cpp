// The demo's sample drawing and what the colour tools do to it in a session:
// every kind of paint is there, "select all" leaves the locked backdrop
// out, and a stroke changes what lies under the brush and nothing else.
#include <cstring>
#include <map>
#include <sstream>

#include "fixture.h"
#include "sample_document.h"
#include "session.h"
#include "session_document.h"

namespace smear {
namespace {

using nlohmann::json;

Art *findArt(Document &doc, const std::string &id) {
    Art *found = nullptr;
    doc.forEachArt([&](Art &a) {
        if (a.id == id) found = &a;
    });
    return found;
}

TEST(SampleDrawing, HoldsEveryKindOfPaintTheColourToolsWorkOn) {
    std::string error;
    auto doc = buildDocument(sampleDocument(), error);
    ASSERT_TRUE(doc) << error;
    bool kinds[7] = {};
    bool tinted = false, radial = false, linear = false, blended = false, styled = false;
    doc->forEachArt([&](const Art &a) {
        if (a.type == kGroupArt) return;
        for (const AIColor *c : {&a.style.fill.color, &a.style.stroke.color}) {
            if (c->kind < 0 || c->kind > 6) continue;
            kinds[c->kind] = true;
            if (c->kind == kCustomColor && c->c.c.tint > 0) tinted = true;
            if (c->kind == kPattern) {
                EXPECT_EQ(c->c.p.scale.h, 100.0f) << a.id;  // percent
            }
            if (c->kind == kGradient) {
                const Gradient *g = reinterpret_cast<const Gradient *>(c->c.b.gradient);
                (g->radial ? radial : linear) = true;
                AIRealRect b;
                ASSERT_TRUE(artBounds(a, b));
                if (g->radial) {  // from the centre of the box to its farther edge
                    EXPECT_FLOAT_EQ(c->c.b.gradientOrigin.h, (b.left + b.right) / 2) << a.id;
                    EXPECT_FLOAT_EQ(c->c.b.gradientLength, std::max(b.right - b.left, b.top - b.bottom) / 2)
                        << a.id;
                }
            }
        }
        blended = blended || a.blendMode != 0;
        styled = styled || a.artStyle != nullptr;
    });
    for (int kind : {kGrayColor, kFourColor, kPattern, kCustomColor, kGradient, kThreeColor})
        EXPECT_TRUE(kinds[kind]) << "colour kind " << kind;
    EXPECT_TRUE(tinted && radial && linear && blended && styled);
    EXPECT_GE(doc->swatches.size(), 3u);
    EXPECT_GE(doc->graphicStyles.size(), 2u);
    // New art (the brush outline, trail copies) goes on the artwork layer,
    // not on the locked backdrop.
    ASSERT_EQ(doc->layers.size(), 2u);
    EXPECT_TRUE(doc->layers[0]->locked);
    EXPECT_EQ(doc->currentLayer(), doc->layers[1]);
}

class SampleSession : public PluginTest {
protected:
    // Loads the sample and plays `steps` on it.
    void play(const json &steps) {
        Session s;
        std::string error;
        json text = {{"document", {{"builtin", "sample"}}}, {"seed", 7}, {"steps", steps}};
        ASSERT_TRUE(parseSession(text, s, error)) << error;
        ASSERT_TRUE(runner.run(s, error)) << error << "\n" << report.str();
    }
    // Plays one more step on the document as it is.
    void step(const json &j) {
        Session s;
        std::string error;
        ASSERT_TRUE(parseSession(json{{"steps", json::array({j})}}, s, error)) << error;
        ASSERT_TRUE(runner.runStep(s.steps[0], error)) << error << "\n" << report.str();
    }
    std::ostringstream report;
    SessionRunner runner{host, report};
};

TEST_F(SampleSession, SelectAllLeavesOutWhatIsLockedOrHidden) {
    play(json::array({json{{"select", "all"}}}));
    Document &doc = host.document();
    EXPECT_FALSE(findArt(doc, "band-blue")->selected());  // on the locked backdrop
    EXPECT_TRUE(findArt(doc, "tomato-box")->selected());
    EXPECT_TRUE(findArt(doc, "ring-inner")->selected());
    // Locked or hidden art stays out, with what it holds.
    findArt(doc, "tomato-box")->userAttr |= kArtLocked;
    findArt(doc, "trio")->userAttr |= kArtHidden;
    step(json{{"select", "all"}});
    EXPECT_FALSE(findArt(doc, "tomato-box")->selected());
    EXPECT_FALSE(findArt(doc, "trio-dots")->selected());
    EXPECT_TRUE(findArt(doc, "ring")->selected());
    doc.layers[0]->locked = false;
    step(json{{"select", "all"}});
    EXPECT_TRUE(findArt(doc, "band-blue")->selected());
}

// Everything of an object that a colour tool may change.
std::string appearance(const Art &a) {
    std::string out(reinterpret_cast<const char *>(&a.style), sizeof a.style);
    out.append(reinterpret_cast<const char *>(&a.opacity), sizeof a.opacity);
    out.append(reinterpret_cast<const char *>(&a.blendMode), sizeof a.blendMode);
    out.append(reinterpret_cast<const char *>(&a.styleFactor), sizeof a.styleFactor);
    out += a.artStyle ? a.artStyle->name : "-";
    return out;
}

TEST_F(SampleSession, EachColourToolChangesWhatTheBrushReachesAndNothingElse) {
    const std::vector<std::pair<std::string, json>> tools = {
        {"fill-channels", {{"fillChannel1", 3}, {"fillChannel2", -3}}},
        {"styles", {{"styleIndex", 1}, {"styleFactorMode", 1}, {"styleFactor", 300}}},
        {"blend-mode", {{"blendMode", 10}}},
        {"color-reducer", {{"colorReducerAmount", 5}}},
        {"swatches", {{"swatchIndex", 8}, {"swatchJitter", 3}}},
        {"tint", {{"tintAmount", -8}}},
        {"gradient", {{"gradientAngle", 3}, {"gradientLength", -1}}},
        {"pattern", {{"patternAngle", 4}, {"patternScaleHorizontal", 10}}},
    };
    for (const auto &tool : tools) {
        SCOPED_TRACE(tool.first);
        json set = tool.second;
        set["tool"] = tool.first;
        play(json::array({"startup", json{{"select", "all"}}, json{{"set", set}}}));
        std::map<std::string, std::string> before;
        host.document().forEachArt([&](const Art &a) { before[a.id] = appearance(a); });
        json points = json::array();
        for (int x = 10; x <= 510; x += 20) points.push_back({x, 160});
        step(json{{"stroke", {{"tool", tool.first}, {"points", points}, {"pressure", 255}}}});
        step("shutdown");
        int changed = 0;
        for (const auto &was : before) {
            const std::string &id = was.first;
            if (id.empty()) continue;
            const Art *now = findArt(host.document(), id);
            ASSERT_NE(now, nullptr) << id;
            const bool same = was.second == appearance(*now);
            // The brush sweeps y 110 .. 210: the rows above and below it
            // and the locked backdrop keep every attribute.
            if (id.rfind("top-", 0) == 0 || id.rfind("bottom-", 0) == 0 || id.rfind("band-", 0) == 0 ||
                id.rfind("frame-", 0) == 0)
                EXPECT_TRUE(same) << id;
            else
                changed += !same;
        }
        EXPECT_GT(changed, 0);
    }
}

}  // namespace
}  // namespace smear
