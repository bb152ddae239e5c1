// The studio's request handling without a socket: what a page may send and
// what it gets back for bad input, and that what the studio records replays
// with the session runner to the very file the studio saved, through
// options, strokes, undo and redo.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <set>
#include <regex>
#include <thread>

#include "page_markup.h"
#include "request_order.h"
#include "session.h"
#include "session_files.h"
#include "studio.h"
#include "studio_api.h"
#include "svg.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace smear {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

bool attachLinkedPlugin(Host &host, std::string &error) {
    return host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error);
}

const char kDrawing[] = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 300 200" width="300" height="200">
  <rect id="left" x="20" y="60" width="60" height="60" fill="#e4572e"/>
  <rect id="middle" x="120" y="60" width="60" height="60" fill="#2e86ab"/>
  <rect id="right" x="220" y="60" width="60" height="60" fill="#76b041"/>
  <path d="M10 180 H290" stroke="#333"/>
</svg>
)";

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class StudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("smear-studio-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "out");
        std::string error;
        ASSERT_TRUE(writeFileAtomically((folder_ / "drawing.svg").string(), kDrawing, error)) << error;
        StudioOptions options;
        options.drawing = (folder_ / "drawing.svg").string();
        options.outDir = (folder_ / "out").string();
        options.seed = 5;
        options.attach = attachLinkedPlugin;
        studio_ = std::make_unique<Studio>(options);
        ASSERT_TRUE(studio_->open(error)) << error;
    }
    void TearDown() override {
        studio_.reset();
        fs::remove_all(folder_);
    }

    StudioResponse request(const std::string &method, const std::string &path, const std::string &body = {},
                           std::map<std::string, std::string> query = {}) {
        return handleStudioRequest(*studio_, StudioRequest{method, path, std::move(query), body, {}, {}, {}});
    }
    json post(const std::string &path, const json &body) {
        const StudioResponse r = request("POST", path, body.dump());
        EXPECT_EQ(r.status, 200) << path << " " << body.dump() << ": " << r.body;
        return json::parse(r.body);
    }
    void stroke(const std::string &tool, std::vector<std::array<double, 2>> points, int pressure) {
        post("/api/stroke/down", {{"tool", tool}, {"at", points.front()}, {"pressure", pressure}});
        json drags = json::array();
        for (size_t i = 1; i < points.size(); ++i) drags.push_back({{"at", points[i]}, {"pressure", pressure}});
        post("/api/stroke/drag", {{"points", drags}});
        post("/api/stroke/up", json::object());
    }
    std::string current() {
        EXPECT_TRUE(studio_->save("now.svg", "now.json", true).is_object());
        return readFile(folder_ / "out" / "now.svg");
    }
    // Plays the saved session as `smearhost run` does and returns the file it saved.
    std::string replay(const std::string &sessionName, const std::string &svgName) {
        Session session;
        std::string error;
        EXPECT_TRUE(loadSessionFile((folder_ / "out" / sessionName).string(), session, error)) << error;
        fs::create_directories(folder_ / "replay");
        Host host;
        EXPECT_TRUE(attachLinkedPlugin(host, error)) << error;
        std::ostringstream report;
        SessionRunner runner(host, report);
        runner.outDir = (folder_ / "replay").string();
        runner.confineSaves = true;
        EXPECT_TRUE(runner.run(session, error)) << error << "\n" << report.str();
        runner.quit();
        return readFile(folder_ / "replay" / svgName);
    }

    fs::path folder_;
    std::unique_ptr<Studio> studio_;
};

// The drawing as the page holds it: loaded whole once, then changed by the
// changes each answer carries, in their order, as studio.js applies them.
class PageModel {
public:
    void load(const json &whole) {
        layers_.clear();
        for (const json &layer : whole["layers"]) {
            layers_.emplace_back();
            for (const json &o : layer["objects"]) layers_.back().emplace_back(o[0].get<uint64_t>(), o[1].get<std::string>());
        }
        seq_ = whole["seq"];
    }
    // False when the page would have to load the drawing whole again.
    bool apply(const json &c) {
        if (c.is_null()) return true;
        EXPECT_EQ(c["seq"], seq_ + 1) << "changes come in order, none left out";
        seq_ = c["seq"];
        if (c.value("reload", false)) return false;
        for (const json &key : c.value("removed", json::array())) erase(key.get<uint64_t>());
        for (const json &a : c.value("added", json::array())) {
            auto &layer = layers_.at(a[1].get<size_t>());
            auto at = layer.begin();
            if (!a[2].is_null()) at = std::next(find(layer, a[2].get<uint64_t>()));
            layer.insert(at, {a[0].get<uint64_t>(), a[3].get<std::string>()});
        }
        for (const json &x : c.value("changed", json::array())) {
            for (auto &layer : layers_)
                for (auto &o : layer)
                    if (o.first == x[0].get<uint64_t>()) o.second = x[1];
        }
        return true;
    }
    // Every object's markup in paint order, without the keys.
    std::vector<std::string> shown() const {
        std::vector<std::string> out;
        for (const auto &layer : layers_)
            for (const auto &o : layer) out.push_back(std::regex_replace(o.second, std::regex(" data-key=\"[0-9]+\""), ""));
        return out;
    }

private:
    using Layer = std::vector<std::pair<uint64_t, std::string>>;
    static Layer::iterator find(Layer &layer, uint64_t key) {
        return std::find_if(layer.begin(), layer.end(), [&](const auto &o) { return o.first == key; });
    }
    void erase(uint64_t key) {
        for (auto &layer : layers_) {
            const auto it = find(layer, key);
            if (it != layer.end()) layer.erase(it);
        }
    }
    std::vector<Layer> layers_;
    long seq_ = 0;
};

TEST_F(StudioTest, BadRequestsGetAClearErrorAndChangeNothing) {
    const std::string before = current();
    struct Case {
        std::string method, path, body, message;
        int status;
    };
    const Case cases[] = {
        {"POST", "/api/select", "{not json", "not valid JSON", 400},
        {"POST", "/api/select", "[1, 2]", "must be a JSON object", 400},
        {"POST", "/api/select", "{}", "give \"all\", \"ids\"", 400},
        {"POST", "/api/select", R"({"at": [1]})", "at: expected 2 numbers", 400},
        {"POST", "/api/select", R"({"at": ["a", 2]})", "at[0]: expected a number", 400},
        {"POST", "/api/select", R"({"at": [1e300, 2]})", "within the drawing's range", 400},
        {"POST", "/api/select", R"({"ids": ["nobody"]})", "no object with id 'nobody'", 400},
        {"POST", "/api/select", R"({"ids": "left"})", "ids: expected a list", 400},
        {"POST", "/api/select", R"({"all": "yes"})", "all: expected true or false", 400},
        {"POST", "/api/stroke/down", R"({"at": [1, 2]})", "needs \"tool\"", 400},
        {"POST", "/api/stroke/down", R"({"tool": "paintbrush", "at": [1, 2]})", "paintbrush", 400},
        {"POST", "/api/stroke/down", R"({"tool": "rotate", "at": [1, 2], "pressure": 256})", "pressure: expected a whole number from 0 to 255", 400},
        {"POST", "/api/stroke/down", R"({"tool": "rotate", "at": [1, 2], "pressure": 2.5})", "pressure", 400},
        {"POST", "/api/stroke/drag", R"({"points": [{"at": [1, 2]}]})", "no stroke is open", 409},
        {"POST", "/api/stroke/up", "{}", "no stroke is open", 409},
        {"POST", "/api/options", R"({"tool": "rotate", "actions": [{"type": 30, "text": "5"}]})", "must press OK", 400},
        {"POST", "/api/options", R"({"tool": "rotate", "actions": []})", "ending with OK or Cancel", 400},
        {"POST", "/api/options", R"({"tool": "rotate", "actions": [{"shout": 1}, {"press": 1}]})", "options.actions[0]: unknown action", 400},
        {"POST", "/api/options", R"({"tool": "rotate", "actions": [{"type": -1, "text": "1"}, {"press": 1}]})", "expected a whole number", 400},
        {"POST", "/api/save", R"({"svg": "../escape.svg", "session": "s.json"})", "plain file name", 400},
        {"POST", "/api/save", R"({"svg": "a.png", "session": "s.json"})", "ending in .svg", 400},
        {"POST", "/api/save", R"({"svg": "a.svg", "session": "a.svg"})", "ending in .json", 400},
        {"POST", "/api/save", R"({"svg": "a.svg"})", "needs \"session\"", 400},
        {"POST", "/api/nothing", "{}", "no such call", 404},
        {"GET", "/../../etc/passwd", "", "nothing here", 404},
        {"GET", "/icons/99.svg", "", "no tool 99", 404},
        {"GET", "/icons/x.svg", "", "no icon", 404},
        {"GET", "/api/dialog", "", "with POST", 405},
        {"POST", "/api/dialog", "{}", "needs \"tool\"", 400},
        {"POST", "/api/select", R"({"ids": [""]})", "an empty id names no object", 400},
        {"POST", "/api/select", R"({"ids": ["left", "left", "left", "left", "left", "left", "left", "left", "left"]})",
         "9 ids, and the drawing holds", 400},
        {"GET", "", "", "starts with /", 400},
        {"GET", "icons/1.svg", "", "starts with /", 400},
        {"DELETE", "/api/state", "", "not served", 405},
    };
    for (const Case &c : cases) {
        const StudioResponse r = request(c.method, c.path, c.body);
        EXPECT_EQ(r.status, c.status) << c.path << " " << c.body << ": " << r.body;
        const json answer = json::parse(r.body, nullptr, false);
        ASSERT_TRUE(answer.is_object() && answer.contains("error")) << r.body;
        EXPECT_NE(answer["error"].get<std::string>().find(c.message), std::string::npos)
            << c.path << " " << c.body << ": " << answer["error"];
    }
    EXPECT_EQ(current(), before);
    // Nothing was recorded but the start-up.
    EXPECT_EQ(post("/api/select", {{"ids", json::array()}})["steps"], 2);
}

// Requests a page might send, changed at random: every one is answered
// (200 or a refusal that says why), and whatever got through is recorded
// so that the record still replays to the drawing the studio holds.
TEST_F(StudioTest, GarbledRequestsNeverBreakTheStudioOrItsRecord) {
    const std::pair<std::string, std::string> valid[] = {
        {"/api/select", R"({"at": [50, 90], "add": true})"},
        {"/api/select", R"({"box": [0, 0, 200, 100]})"},
        {"/api/select", R"({"ids": ["left", "right"]})"},
        {"/api/options", R"({"tool": "scaling", "actions": [{"type": 3, "text": "101"}, {"pick": [9, 1]}, {"press": 1}]})"},
        {"/api/stroke/down", R"({"tool": "translate", "at": [20, 90], "pressure": 100})"},
        {"/api/stroke/drag", R"({"points": [{"at": [60, 95], "pressure": 120, "modifiers": 32}, {"at": [90, 99]}]})"},
        {"/api/stroke/up", "{}"},
        {"/api/undo", "{}"},
        {"/api/redo", "{}"},
    };
    const char *const replacements[] = {"-1", "1e308", "\"x\"", "[]", "{}", "null", "true", "[[[[1]]]]", "2147483648",
                                        "0.5", "\"\\u0000\"", ""};
    std::mt19937 random(11);
    int answered = 0;
    for (int round = 0; round < 400; ++round) {
        const auto &[path, body] = valid[random() % std::size(valid)];
        std::string garbled = body;
        switch (random() % 4) {
        case 0: break;  // as it was
        case 1: garbled = garbled.substr(0, random() % garbled.size()); break;
        case 2: garbled[random() % garbled.size()] = char(random() % 128); break;
        default: {
            // A value swapped for another kind of value.
            const size_t colon = garbled.find(':', random() % garbled.size());
            if (colon == std::string::npos) break;
            const size_t end = garbled.find_first_of(",}", colon);
            garbled = garbled.substr(0, colon + 1) + replacements[random() % std::size(replacements)] +
                      (end == std::string::npos ? "" : garbled.substr(end));
        }
        }
        const StudioResponse r = request("POST", path, garbled);
        const json answer = json::parse(r.body, nullptr, false);
        ASSERT_FALSE(answer.is_discarded()) << path << " " << garbled << ": " << r.body;
        answered += r.status == 200;
        if (r.status != 200) {
            EXPECT_TRUE(r.status == 400 || r.status == 409) << path << " " << garbled << ": " << r.status << " " << r.body;
            EXPECT_FALSE(answer.value("error", "").empty()) << r.body;
        }
    }
    // Enough got through for the record to hold strokes, selections and dialogs.
    EXPECT_GT(answered, 100);
    EXPECT_GT(studio_->state()["steps"].get<int>(), 60);
    post("/api/save", {{"svg", "garbled.svg"}, {"session", "garbled.json"}});
    EXPECT_EQ(replay("garbled.json", "garbled.svg"), readFile(folder_ / "out" / "garbled.svg"));
}

TEST_F(StudioTest, OnlyTheStudiosOwnPageIsAnswered) {
    const StudioGuard guard{{"127.0.0.1:8765", "localhost:8765"}};
    const auto ask = [&](const std::string &method, const std::string &host, const std::string &origin,
                         const std::string &type) {
        StudioRequest r{method, method == "GET" ? "/api/state" : "/api/select", {}, R"({"all": true})", host, origin, type};
        return handleStudioRequest(*studio_, r, guard).status;
    };
    EXPECT_EQ(ask("GET", "127.0.0.1:8765", "", ""), 200);
    EXPECT_EQ(ask("POST", "localhost:8765", "http://localhost:8765", "application/json"), 200);
    // A site whose name resolves to this machine (its Host is its own name).
    EXPECT_EQ(ask("GET", "evil.example:8765", "", ""), 403);
    // Another site's page posting through the user's browser.
    EXPECT_EQ(ask("POST", "127.0.0.1:8765", "http://evil.example", "application/json"), 403);
    EXPECT_EQ(ask("POST", "127.0.0.1:8765", "null", "application/json"), 403);
    // A form's simple request, which browsers send across sites unasked.
    EXPECT_EQ(ask("POST", "127.0.0.1:8765", "", "text/plain"), 415);
    EXPECT_EQ(studio_->state()["steps"], 2) << "only the one allowed select was played";
}

TEST_F(StudioTest, SavingNeverWritesOverTheDrawingNorAFileUnasked) {
    EXPECT_EQ(request("POST", "/api/save", R"({"svg": "kept.svg", "session": "kept.json"})").status, 200);
    const StudioResponse again = request("POST", "/api/save", R"({"svg": "kept.svg", "session": "kept.json"})");
    EXPECT_EQ(again.status, 409);
    EXPECT_NE(again.body.find("exists already"), std::string::npos);
    EXPECT_EQ(request("POST", "/api/save", R"({"svg": "kept.svg", "session": "kept.json", "overwrite": true})").status, 200);

    // A studio whose output folder holds the drawing it opened.
    studio_.reset();
    StudioOptions options;
    options.drawing = (folder_ / "drawing.svg").string();
    options.outDir = folder_.string();
    options.attach = attachLinkedPlugin;
    studio_ = std::make_unique<Studio>(options);
    std::string error;
    ASSERT_TRUE(studio_->open(error)) << error;
    const StudioResponse over = request("POST", "/api/save", R"({"svg": "drawing.svg", "session": "s.json", "overwrite": true})");
    EXPECT_EQ(over.status, 409);
    EXPECT_NE(over.body.find("is the drawing the studio opened"), std::string::npos);
    EXPECT_EQ(readFile(folder_ / "drawing.svg"), kDrawing);
}

// Both names are checked before either file is written: a folder where the
// session would go leaves no drawing behind, and names follow the one rule
// of the sessions' saves.
TEST_F(StudioTest, ASaveThatCannotWriteBothFilesWritesNeither) {
    fs::create_directory(folder_ / "out" / "taken.json");
    const StudioResponse r = request("POST", "/api/save", R"({"svg": "new.svg", "session": "taken.json", "overwrite": true})");
    EXPECT_EQ(r.status, 409) << r.body;
    EXPECT_NE(r.body.find("taken.json: cannot write the file: it is a folder"), std::string::npos) << r.body;
    EXPECT_FALSE(fs::exists(folder_ / "out" / "new.svg"));
    for (const char *bad : {R"({"svg": "a\nb.svg", "session": "s.json"})", R"({"svg": "x\u202egvs.svg", "session": "s.json"})",
                            R"({"svg": ".a.svg", "session": "s.json"})"}) {
        const StudioResponse named = request("POST", "/api/save", bad);
        EXPECT_EQ(named.status, 400) << bad;
        EXPECT_NE(named.body.find("must be a plain file name ending in .svg"), std::string::npos) << named.body;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "out"), fs::directory_iterator()), 1);
}

TEST_F(StudioTest, TheDialogIsDescribedAsThePluginBuildsIt) {
    const StudioResponse r = request("POST", "/api/dialog", R"({"tool": "Transparency"})");
    ASSERT_EQ(r.status, 200) << r.body;
    const json d = json::parse(r.body);
    EXPECT_EQ(d["title"], "Transparency");
    EXPECT_EQ(d["tool"], "transparency");
    std::map<int, json> items;
    for (const json &item : d["items"]) items.emplace(item["id"].get<int>(), item);
    ASSERT_TRUE(items.count(40) && items.count(41) && items.count(1) && items.count(2) && items.count(191));
    EXPECT_EQ(items[40]["kind"], "number");
    EXPECT_EQ(items[40]["min"], -100);
    EXPECT_EQ(items[40]["max"], 100);
    EXPECT_EQ(items[41]["kind"], "popup");
    EXPECT_EQ(items[41]["entries"].size(), 6u);
    EXPECT_EQ(items[191]["min"], 0.01);
    EXPECT_EQ(items[191]["max"], 2000);
    EXPECT_EQ(items[1]["kind"], "button");
}

TEST_F(StudioTest, OptionsGoThroughTheDialogAndRefusedValuesAreSaid) {
    // OK takes the typed brush size, clamped by the dialog as a user sees it.
    json answer = post("/api/options", {{"tool", "rotate"},
                                        {"actions", {{{"type", 30}, {"text", "12"}}, {{"type", 191}, {"text", "5000"}}, {{"press", 1}}}}});
    EXPECT_EQ(answer["result"], 0);
    EXPECT_TRUE(answer["problems"].empty()) << answer;
    for (const json &item : answer["dialog"]["items"]) {
        if (item["id"] == 30) {
            EXPECT_EQ(item["value"], 12);
        }
        if (item["id"] == 191) {
            EXPECT_EQ(item["value"], 2000);
        }
    }
    EXPECT_EQ(studio_->state()["brush"]["hx"], 2000);
    // Text that is no number is refused by the dialog and reported.
    answer = post("/api/options", {{"tool", "rotate"}, {"actions", {{{"type", 30}, {"text", "lots"}}, {{"press", 1}}}}});
    ASSERT_EQ(answer["problems"].size(), 1u);
    // Cancel keeps what was there.
    answer = post("/api/options", {{"tool", "rotate"}, {"actions", {{{"type", 30}, {"text", "40"}}, {{"press", 2}}}}});
    for (const json &item : answer["dialog"]["items"])
        if (item["id"] == 30) {
            EXPECT_EQ(item["value"], 12);
        }
}

TEST_F(StudioTest, ClicksAndRubberBandsSelectTopLevelArtByItsId) {
    json s = post("/api/select", {{"at", {50, 90}}});
    ASSERT_EQ(s["selection"].size(), 1u);
    EXPECT_EQ(s["selection"][0]["id"], "left");
    s = post("/api/select", {{"at", {250, 90}}, {"add", true}});
    EXPECT_EQ(s["selection"].size(), 2u);
    s = post("/api/select", {{"at", {50, 90}}, {"add", true}});  // shift-click again: out
    ASSERT_EQ(s["selection"].size(), 1u);
    EXPECT_EQ(s["selection"][0]["id"], "right");
    s = post("/api/select", {{"box", {100, 50, 300, 70}}});
    EXPECT_EQ(s["selection"].size(), 2u);
    s = post("/api/select", {{"at", {5, 5}}});  // nothing there
    EXPECT_EQ(s["selected"], 0);
    // The line has no id: a session could not name it.
    const StudioResponse r = request("POST", "/api/select", R"({"at": [150, 180]})");
    EXPECT_EQ(r.status, 409);
    EXPECT_NE(r.body.find("no id"), std::string::npos);
}

TEST_F(StudioTest, TheRecordReplaysToTheSavedFileThroughUndoAndRedo) {
    const std::string original = current();
    post("/api/select", {{"ids", {"left", "middle"}}});
    post("/api/options", {{"tool", "rotate"}, {"actions", {{{"type", 30}, {"text", "15"}}, {{"press", 1}}}}});
    stroke("rotate", {{10, 90}, {60, 90}, {110, 90}, {160, 90}, {200, 90}}, 200);
    const std::string rotated = current();
    EXPECT_NE(rotated, original);
    stroke("transparency", {{10, 90}, {100, 90}, {200, 90}}, 255);
    const std::string faded = current();
    EXPECT_NE(faded, rotated);

    EXPECT_TRUE(post("/api/undo", json::object())["done"]);
    EXPECT_EQ(current(), rotated);
    EXPECT_TRUE(post("/api/undo", json::object())["done"]);
    EXPECT_EQ(current(), original);
    EXPECT_FALSE(post("/api/undo", json::object())["done"]);
    json s = post("/api/redo", json::object());
    EXPECT_TRUE(s["done"]);
    EXPECT_TRUE(s["canRedo"]);
    EXPECT_EQ(current(), rotated);
    s = post("/api/redo", json::object());
    EXPECT_FALSE(s["canRedo"]);
    EXPECT_EQ(current(), faded);
    EXPECT_FALSE(post("/api/redo", json::object())["done"]);

    // Undo, then a new stroke: the undone one cannot come back.
    post("/api/undo", json::object());
    stroke("translate", {{10, 90}, {100, 90}}, 128);
    EXPECT_FALSE(studio_->state()["canRedo"]);

    const json saved = post("/api/save", {{"svg", "painted.svg"}, {"session", "painted.json"}});
    const std::string painted = readFile(folder_ / "out" / "painted.svg");
    EXPECT_EQ(replay("painted.json", "painted.svg"), painted);
    // The session names the drawing relative to itself.
    EXPECT_EQ(json::parse(readFile(folder_ / "out" / "painted.json"))["document"], "../drawing.svg");
}

TEST_F(StudioTest, AStrokeLeftOpenIsEndedAndRecordedBeforeAnythingElse) {
    post("/api/select", {{"all", true}});
    post("/api/stroke/down", {{"tool", "scaling"}, {"at", {10, 90}}});
    post("/api/stroke/drag", {{"points", {{{"at", {150, 90}}, {"modifiers", 0x20}}}}});
    EXPECT_TRUE(studio_->state()["stroking"]);
    // The page was reloaded; its first call ends the stroke as a mouse up would.
    const json s = post("/api/select", {{"ids", {"right"}}});
    EXPECT_FALSE(s["stroking"]);
    EXPECT_TRUE(s["canUndo"]);
    post("/api/save", {{"svg", "open.svg"}, {"session", "open.json"}});
    const json session = json::parse(readFile(folder_ / "out" / "open.json"));
    const json &stroke = session["steps"][2]["stroke"];
    EXPECT_EQ(stroke["modifiers"], json::array({0x20}));
    EXPECT_EQ(replay("open.json", "open.svg"), readFile(folder_ / "out" / "open.svg"));
}

TEST_F(StudioTest, ThePageAndTheIconsAreServed) {
    const StudioResponse page = request("GET", "/");
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.contentType.find("text/html"), std::string::npos);
    EXPECT_NE(page.body.find("/studio.js"), std::string::npos);
    EXPECT_EQ(request("GET", "/studio.js").status, 200);
    const StudioResponse icon = request("GET", "/icons/2.svg");
    EXPECT_EQ(icon.status, 200);
    EXPECT_EQ(icon.contentType, "image/svg+xml");
    EXPECT_NE(icon.body.find("<rect"), std::string::npos);
    const json tools = json::parse(request("GET", "/api/tools").body);
    ASSERT_EQ(tools.size(), 19u);
    EXPECT_EQ(tools[2]["name"], "rotate");
}


TEST_F(StudioTest, DeepOrHugeRequestsAreRefusedWithoutBeingQuoted) {
    // Nested far deeper than the parser's stack allows.
    std::string deep = R"({"tool": )" + std::string(100000, '[') + std::string(100000, ']') + "}";
    StudioResponse r = request("POST", "/api/options", deep);
    EXPECT_EQ(r.status, 400);
    EXPECT_NE(r.body.find("more than 64 deep"), std::string::npos) << r.body.substr(0, 300);
    // Deep, but no deeper than a request may be: refused for what it is.
    std::string nested = std::string(64, '[') + std::string(64, ']');
    r = request("POST", "/api/options", R"({"tool": "rotate", "actions": )" + nested.substr(1, nested.size() - 2) + "}");
    EXPECT_EQ(r.status, 400) << r.body;
    EXPECT_EQ(r.body.find("deep"), std::string::npos) << r.body;
    // What was sent is shown short, whatever its size.
    std::string wide = "[1";
    for (int i = 0; i < 100000; ++i) wide += ",1";
    wide += "]";
    for (const std::string &body : {R"({"all": ")" + std::string(1 << 20, 'x') + "\"}",
                                    R"({"at": )" + wide + "}",
                                    R"({"tool": [)" + std::string(20000, '[') + std::string(20000, ']') + "]}",
                                    R"({"ids": [[)" + std::string(50000, '7') + "]]}"}) {
        r = request("POST", body.find("tool") != std::string::npos ? "/api/stroke/down" : "/api/select", body);
        EXPECT_EQ(r.status, 400) << r.body.substr(0, 300);
        EXPECT_LT(r.body.size(), 400u) << r.body.substr(0, 300);
    }
    EXPECT_EQ(studio_->state()["steps"], 1);
}

TEST(StudioRequests, NestingIsCountedOutsideStringsOnly) {
    EXPECT_EQ(jsonNestingDepth("{}"), 1u);
    EXPECT_EQ(jsonNestingDepth(R"({"a": [1, {"b": [[]]}]})"), 5u);
    EXPECT_EQ(jsonNestingDepth(R"({"a": "[[[{{{", "b": "\"[[[", "c": "\\"})"), 1u);
    EXPECT_EQ(jsonNestingDepth(R"(["\\", [[]]])"), 3u);  // an escaped backslash ends no string
    EXPECT_EQ(jsonNestingDepth("]]]]{"), 1u);            // closing first gives no credit
    EXPECT_EQ(jsonNestingDepth(""), 0u);
}

TEST(StudioRequests, JsonIsKnownByItsMediaTypeInAnyCase) {
    for (const char *yes : {"application/json", "APPLICATION/JSON", "Application/Json; charset=UTF-8",
                            " application/json ;charset=utf-8", "application/json\t"})
        EXPECT_TRUE(isJsonMediaType(yes)) << yes;
    for (const char *no : {"application/jsonp", "application/json-seq", "application/jso", "text/json", "text/plain",
                           "application/x-www-form-urlencoded", "", ";application/json", "application /json"})
        EXPECT_FALSE(isJsonMediaType(no)) << no;
}

TEST_F(StudioTest, TheMediaTypeDecidesWhetherABodyIsTaken) {
    const StudioGuard guard{{"127.0.0.1:8765"}};
    const auto ask = [&](const std::string &type) {
        return handleStudioRequest(*studio_, {"POST", "/api/select", {}, R"({"all": true})", "127.0.0.1:8765", "", type}, guard)
            .status;
    };
    EXPECT_EQ(ask("APPLICATION/JSON"), 200);
    EXPECT_EQ(ask("application/json; charset=utf-8"), 200);
    EXPECT_EQ(ask("application/jsonp"), 415);
    EXPECT_EQ(ask("application/json-patch+json"), 415);
}

TEST_F(StudioTest, ErrorTextsKeepEverythingAfterANul) {
    const StudioResponse r = request("POST", "/api/select", R"({"ids": ["ab\u0000cd"]})");
    EXPECT_EQ(r.status, 400);
    const std::string error = json::parse(r.body)["error"];
    EXPECT_NE(error.find(std::string("'ab\0cd'", 7)), std::string::npos) << r.body;
}

TEST_F(StudioTest, NoGetChangesAnything) {
    post("/api/select", {{"all", true}});
    post("/api/stroke/down", {{"tool", "rotate"}, {"at", {10, 90}}});
    const json before = studio_->state();
    ASSERT_TRUE(before["stroking"]);
    for (const char *path : {"/", "/studio.js", "/api/state", "/api/tools", "/api/session", "/drawing.svg", "/icons/2.svg",
                             "/api/dialog", "/api/stroke/up", "/api/undo", "/api/select"})
        for (const char *method : {"GET", "HEAD"}) request(method, path, "", {{"tool", "rotate"}, {"all", "false"}});
    EXPECT_EQ(studio_->state(), before);
}

TEST_F(StudioTest, ANumberInExponentFormIsTypedAsTheDialogReadsIt) {
    // In range: typed in decimals (and recorded so), as the form showed it.
    json answer = post("/api/options", {{"tool", "rotate"}, {"actions", {{{"type", 30}, {"text", "1.5e1"}}, {{"press", 1}}}}});
    EXPECT_TRUE(answer["problems"].empty()) << answer;
    for (const json &item : answer["dialog"]["items"])
        if (item["id"] == 30) {
            EXPECT_EQ(item["value"], 15);
        }
    // Beyond the field: refused with its limits, and nothing recorded.
    const size_t steps = studio_->state()["steps"];
    const StudioResponse r = request("POST", "/api/options", R"({"tool": "rotate", "actions": [{"type": 191, "text": "1e308"}, {"press": 1}]})");
    EXPECT_EQ(r.status, 400);
    EXPECT_NE(json::parse(r.body)["error"].get<std::string>().find("\"1e308\" is out of range: the field takes 0.01 to 2000"),
              std::string::npos)
        << r.body;
    EXPECT_EQ(studio_->state()["steps"], steps);
    // Words stay words: the dialog says they are no number.
    answer = post("/api/options", {{"tool", "rotate"}, {"actions", {{{"type", 30}, {"text", "1e"}}, {{"press", 1}}}}});
    EXPECT_EQ(answer["problems"].size(), 1u) << answer;
    post("/api/save", {{"svg", "typed.svg"}, {"session", "typed.json"}});
    EXPECT_NE(readFile(folder_ / "out" / "typed.json").find(R"("text": "15)"), std::string::npos);
    EXPECT_EQ(replay("typed.json", "typed.svg"), readFile(folder_ / "out" / "typed.svg"));
}

TEST_F(StudioTest, ASaveNamedAfterAFolderIsRefusedBeforeAnythingIsWritten) {
    fs::create_directories(folder_ / "out" / "taken.json");
    fs::create_directories(folder_ / "out" / "taken.svg");
    for (const char *body : {R"({"svg": "new.svg", "session": "taken.json", "overwrite": true})",
                             R"({"svg": "taken.svg", "session": "new.json", "overwrite": true})"}) {
        const StudioResponse r = request("POST", "/api/save", body);
        EXPECT_GE(r.status, 400) << r.body;
        EXPECT_LT(r.status, 500) << r.body;
        EXPECT_FALSE(fs::exists(folder_ / "out" / "new.svg"));
        EXPECT_FALSE(fs::exists(folder_ / "out" / "new.json"));
    }
    EXPECT_TRUE(fs::is_directory(folder_ / "out" / "taken.json"));
}

// A drawing whose pattern tile and shapes carry code: the studio serves it
// drawn, with none of the code.
const char kScripted[] = R"x(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" viewBox="0 0 300 200" onload="fetch('/api/select')">
  <defs><pattern id="tile" width="10" height="10" patternUnits="userSpaceOnUse">
    <script>fetch('/api/select', {method: 'POST', body: '{"all": true}'})</script>
    <rect width="5" height="5" fill="#123456" onclick="steal()"/>
    <foreignObject width="10" height="10"><div xmlns="http://www.w3.org/1999/xhtml"><img src="x" onerror="steal()"/></div></foreignObject>
  </pattern></defs>
  <rect id="tiled" x="20" y="60" width="60" height="60" fill="url(#tile)"/>
  <a xlink:href="java&#x09;script:steal()"><rect id="linked" x="120" y="60" width="60" height="60" fill="#2e86ab"/></a>
</svg>
)x";

TEST_F(StudioTest, TheDrawingIsServedWithoutItsCode) {
    studio_.reset();
    std::string error;
    ASSERT_TRUE(writeFileAtomically((folder_ / "scripted.svg").string(), kScripted, error)) << error;
    StudioOptions options;
    options.drawing = (folder_ / "scripted.svg").string();
    options.outDir = (folder_ / "out").string();
    options.attach = attachLinkedPlugin;
    studio_ = std::make_unique<Studio>(options);
    ASSERT_TRUE(studio_->open(error)) << error;
    // The code is in what the studio keeps (a save writes the drawing back).
    ASSERT_NE(studio_->drawingSvg().find("<script"), std::string::npos);
    const StudioResponse r = request("GET", "/drawing.svg");
    ASSERT_EQ(r.status, 200) << r.body;
    for (const char *code : {"<script", "onload", "onclick", "onerror", "foreignObject", "xhtml", "steal"})
        EXPECT_EQ(r.body.find(code), std::string::npos) << code << " in " << r.body;
    for (const char *drawn : {"id=\"tile\"", "#123456", "id=\"tiled\"", "id=\"linked\""})
        EXPECT_NE(r.body.find(drawn), std::string::npos) << drawn << " not in " << r.body;
}

TEST(StudioRequests, EveryAnswerSaysItMayNotRunNorBeFramed) {
    const auto headers = [](const char *type) {
        std::map<std::string, std::string> h;
        for (const auto &[name, value] : studioResponseHeaders(type)) h[name] = value;
        return h;
    };
    for (const char *type : {"image/svg+xml", "application/json", "text/css", "", "text/javascript"}) {
        auto h = headers(type);
        const std::string policy = h["Content-Security-Policy"];
        EXPECT_EQ(policy.rfind("default-src 'none';", 0), 0u) << type << ": " << policy;
        EXPECT_NE(policy.find("; sandbox;"), std::string::npos) << policy;
        EXPECT_NE(policy.find("frame-ancestors 'none'"), std::string::npos) << policy;
        EXPECT_EQ(policy.find("script-src"), std::string::npos) << policy;
        EXPECT_EQ(h["X-Content-Type-Options"], "nosniff");
        EXPECT_EQ(h["X-Frame-Options"], "DENY");
    }
    auto page = headers("text/html; charset=utf-8");
    const std::string policy = page["Content-Security-Policy"];
    EXPECT_NE(policy.find("script-src 'self';"), std::string::npos) << policy;
    // Inline style only (the drawing's own, which the page holds as live
    // SVG); never inline or evaluated script.
    EXPECT_EQ(policy.find("unsafe-eval"), std::string::npos) << policy;
    const size_t unsafe = policy.find("'unsafe-inline'");
    EXPECT_TRUE(unsafe == std::string::npos || policy.rfind("style-src", unsafe) > policy.rfind("script-src", unsafe))
        << policy;
    EXPECT_NE(policy.find("frame-ancestors 'none'"), std::string::npos) << policy;
}

TEST_F(StudioTest, ThePageRunsNoInlineCode) {
    // The page's policy runs its script file only: inline code would not run.
    const std::string html = request("GET", "/").body;
    size_t at = 0;
    while ((at = html.find("<script", at)) != std::string::npos) {
        const size_t end = html.find('>', at);
        EXPECT_NE(html.substr(at, end - at).find(" src="), std::string::npos) << html.substr(at, 80);
        EXPECT_EQ(html.compare(end + 1, 9, "</script>"), 0) << html.substr(at, 80);
        at = end;
    }
    for (const char *handler : {" onclick=", " onload=", " onsubmit=", " oninput=", " onchange=", "javascript:"})
        EXPECT_EQ(html.find(handler), std::string::npos) << handler;
}

// A drawing of many objects, each with an id.
std::string manyObjects(size_t count) {
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 1000 1000">)";
    for (size_t i = 0; i < count; ++i)
        svg += "<rect id=\"r" + std::to_string(i) + "\" x=\"" + std::to_string(i % 1000) + "\" y=\"" +
               std::to_string(i / 1000) + "\" width=\"1\" height=\"1\"/>";
    return svg + "</svg>";
}

// Selections name objects by id, by a rubber band or by a click added to
// what is selected: each is a look-up per object, and each selects exactly
// what it names, once, however large the selection.
TEST_F(StudioTest, SelectingEveryObjectByIdSelectsEachOnce) {
    studio_.reset();
    const size_t count = 3000;
    std::string error;
    ASSERT_TRUE(writeFileAtomically((folder_ / "many.svg").string(), manyObjects(count), error)) << error;
    StudioOptions options;
    options.drawing = (folder_ / "many.svg").string();
    options.outDir = (folder_ / "out").string();
    options.attach = attachLinkedPlugin;
    studio_ = std::make_unique<Studio>(options);
    ASSERT_TRUE(studio_->open(error)) << error;
    json ids = json::array();
    for (size_t i = count; i-- > 0;) ids.push_back("r" + std::to_string(i));
    EXPECT_EQ(post("/api/select", {{"ids", ids}})["selected"], count);
    // The same id twice is one object.
    EXPECT_EQ(post("/api/select", {{"ids", {"r1", "r1", "r2"}}})["selected"], 2u);
    // A rubber band and a shift-click adding to a selection of nearly all.
    post("/api/select", {{"at", {0.5, 0.5}}});
    EXPECT_EQ(post("/api/select", {{"box", {0, 0, 1000, 1000}}, {"add", true}})["selected"], count);
    EXPECT_EQ(post("/api/select", {{"at", {0.5, 0.5}}, {"add", true}})["selected"], count - 1);
}

}  // namespace
}  // namespace smear

namespace smear {
namespace {

// What the page shows is what the preview writes: each object's markup, in
// paint order, found in the whole preview (less the data attributes, which
// draw nothing).
void expectShownAsPreviewed(const std::vector<std::string> &shown, const std::string &written) {
    const std::string preview = std::regex_replace(written, std::regex(" data-[a-z0-9_.-]+=\"[^\"]*\""), "");
    size_t at = 0;
    for (const std::string &markup : shown) {
        const size_t found = preview.find(markup, at);
        EXPECT_NE(found, std::string::npos) << markup << "\nnot in order in\n" << preview;
        if (found != std::string::npos) at = found + markup.size();
    }
    // As many objects as the preview's top-level elements (here, one line each).
    EXPECT_EQ(std::count(preview.begin(), preview.end(), '\n'), long(shown.size()) + 3) << preview;
}

TEST_F(StudioTest, AnswersCarryOnlyWhatChangedAndAddUpToWhatAPreviewShows) {
    PageModel page;
    const json whole = post("/api/drawing", json::object());
    page.load(whole);
    std::set<uint64_t> loaded;
    for (const json &o : whole["layers"][0]["objects"]) loaded.insert(o[0].get<uint64_t>());
    expectShownAsPreviewed(page.shown(), studio_->drawingSvg());
    const std::vector<std::string> original = page.shown();

    // Selecting changes no object's markup.
    json answer = post("/api/select", {{"all", true}});
    EXPECT_TRUE(answer["changes"].is_null()) << answer["changes"];
    // A fade over the left square alone: each drag answer names it only.
    answer = post("/api/stroke/down", {{"tool", "transparency"}, {"at", {50, 90}}});
    ASSERT_TRUE(page.apply(answer["changes"]));
    EXPECT_FALSE(answer.contains("selection")) << "a drag's answer carries no boxes";
    std::set<uint64_t> touched;
    for (int i = 1; i <= 4; ++i) {
        answer = post("/api/stroke/drag", {{"points", {{{"at", {50 + i, 90}}}}}});
        ASSERT_TRUE(page.apply(answer["changes"]));
        // (The plug-in's brush outline, a new object, may come and change too.)
        for (const json &c : answer["changes"].value("changed", json::array()))
            if (loaded.count(c[0].get<uint64_t>())) touched.insert(c[0].get<uint64_t>());
    }
    answer = post("/api/stroke/up", json::object());
    ASSERT_TRUE(page.apply(answer["changes"]));
    EXPECT_TRUE(answer["drawing"].is_string()) << "the state still names the drawing";
    EXPECT_EQ(touched.size(), 1u) << "only the square under the brush changed";
    const std::vector<std::string> faded = page.shown();
    EXPECT_NE(faded, original);
    EXPECT_EQ(faded[1], original[1]);
    expectShownAsPreviewed(faded, studio_->drawingSvg());

    // A rotation over everything, then undo and redo: each answer brings the
    // page to what the drawing is.
    stroke("rotate", {{10, 90}, {100, 90}, {200, 90}, {290, 90}}, 255);
    page.load(post("/api/drawing", json::object()));
    const std::vector<std::string> rotated = page.shown();
    EXPECT_NE(rotated, faded);
    answer = post("/api/undo", json::object());
    ASSERT_TRUE(page.apply(answer["changes"]));
    EXPECT_EQ(page.shown(), faded);
    EXPECT_GE(answer["changes"]["changed"].size(), 2u);
    answer = post("/api/redo", json::object());
    if (page.apply(answer["changes"])) {
        EXPECT_EQ(page.shown(), rotated);
    } else {
        page.load(post("/api/drawing", json::object()));
        EXPECT_EQ(page.shown(), rotated);
    }
    expectShownAsPreviewed(page.shown(), studio_->drawingSvg());
}

// A redo puts back what the host kept, or after a selection plays the
// undone stroke again alone, with the random source it found; the record
// still replays to the very file.
TEST_F(StudioTest, RedoBringsBackTheStrokeWithoutPlayingTheRecordWhenItCan) {
    post("/api/select", {{"all", true}});
    // Scaling at random ([R]), so that a stroke played with
    // other random numbers would differ.
    const json dialog = post("/api/dialog", {{"tool", "scaling"}});
    int randomItem = -1;
    for (const json &item : dialog["items"])
        if (item["kind"] == "check" && item["text"].get<std::string>().find("[R]") != std::string::npos) {
            randomItem = item["id"];
            break;
        }
    ASSERT_GE(randomItem, 0) << dialog.dump();
    post("/api/options", {{"tool", "scaling"}, {"actions", {{{"check", randomItem}}, {{"press", 1}}}}});
    stroke("scaling", {{10, 90}, {60, 95}, {120, 90}, {200, 85}, {280, 90}}, 255);
    stroke("transparency", {{10, 90}, {150, 90}, {290, 90}}, 200);
    const std::string painted = current();
    post("/api/select", {{"ids", {"left"}}});

    PageModel page;
    page.load(post("/api/drawing", json::object()));
    const std::vector<std::string> shownPainted = page.shown();
    for (int i = 0; i < 2; ++i) {
        const json answer = post("/api/undo", json::object());
        EXPECT_TRUE(answer["done"]);
        EXPECT_TRUE(page.apply(answer["changes"]));
    }
    EXPECT_NE(current(), painted);
    EXPECT_NE(page.shown(), shownPainted);
    for (int i = 0; i < 2; ++i) {
        const json answer = post("/api/redo", json::object());
        EXPECT_TRUE(answer["done"]);
        EXPECT_TRUE(page.apply(answer["changes"])) << "redo " << i << " played the stroke in place: " << answer["changes"];
    }
    EXPECT_EQ(current(), painted);
    EXPECT_EQ(page.shown(), shownPainted);
    // The selection made after the strokes, which the undos took back, is made again.
    const json s = studio_->state();
    ASSERT_EQ(s["selection"].size(), 1u);
    EXPECT_EQ(s["selection"][0]["id"], "left");
    EXPECT_FALSE(s["canRedo"]);

    // Options set after an undo: the stroke would be played with them, so
    // the redo plays the record again instead, and still comes out the same.
    post("/api/undo", json::object());
    post("/api/options", {{"tool", "scaling"}, {"actions", {{{"uncheck", randomItem}}, {{"press", 1}}}}});
    const json slow = post("/api/redo", json::object());
    EXPECT_TRUE(slow["changes"].value("reload", false));
    EXPECT_EQ(current(), painted);

    post("/api/save", {{"svg", "redone.svg"}, {"session", "redone.json"}});
    EXPECT_EQ(replay("redone.json", "redone.svg"), readFile(folder_ / "out" / "redone.svg"));
}

// A redo right after its undo puts back what the host kept, whatever the
// stroke was: one with Shift held (which changes the tool's values), one
// after options were set. Nothing is played again, so the page gets the
// objects that changed, not the whole drawing; the record still replays
// to the very file.
TEST_F(StudioTest, ARedoRightAfterItsUndoPutsBackWhatTheHostKept) {
    post("/api/select", {{"all", true}});
    post("/api/stroke/down", {{"tool", "rotate"}, {"at", {10, 90}}});
    post("/api/stroke/drag", {{"points", {{{"at", {150, 90}}, {"modifiers", 0x0002}},
                                          {{"at", {290, 90}}, {"modifiers", 0x0002}}}}});
    post("/api/stroke/up", json::object());
    post("/api/dialog", {{"tool", "transparency"}});
    post("/api/options", {{"tool", "transparency"}, {"actions", {{{"press", 1}}}}});
    stroke("transparency", {{10, 90}, {150, 90}, {290, 90}}, 200);
    const std::string painted = current();
    PageModel page;
    page.load(post("/api/drawing", json::object()));
    const std::vector<std::string> shown = page.shown();
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(page.apply(post("/api/undo", json::object())["changes"]));
    EXPECT_NE(current(), painted);
    for (int i = 0; i < 2; ++i) {
        const json answer = post("/api/redo", json::object());
        EXPECT_TRUE(answer["done"]);
        EXPECT_FALSE(answer["changes"].value("reload", false)) << "redo " << i << " played the record again";
        EXPECT_TRUE(page.apply(answer["changes"])) << answer["changes"];
    }
    EXPECT_EQ(current(), painted);
    EXPECT_EQ(page.shown(), shown);
    post("/api/save", {{"svg", "kept.svg"}, {"session", "kept.json"}});
    EXPECT_EQ(replay("kept.json", "kept.svg"), readFile(folder_ / "out" / "kept.svg"));
}

// The record is journaled as it grows; a studio that finds the journal
// takes it up, and the drawing is as it was after the last finished stroke.
TEST_F(StudioTest, AJournalBringsBackEveryFinishedStrokeAfterACrash) {
    const std::string journal = (folder_ / "out" / "drawing.studio-journal").string();
    StudioOptions options;
    options.drawing = (folder_ / "drawing.svg").string();
    options.outDir = (folder_ / "out").string();
    options.seed = 5;
    options.attach = attachLinkedPlugin;
    options.journal = journal;
    studio_ = std::make_unique<Studio>(options);
    std::string error;
    ASSERT_TRUE(studio_->open(error)) << error;
    EXPECT_EQ(studio_->recovered(), 0u);
    post("/api/select", {{"ids", {"left", "right"}}});
    stroke("rotate", {{10, 90}, {100, 90}, {290, 90}}, 255);
    stroke("transparency", {{10, 90}, {290, 90}}, 255);
    post("/api/undo", json::object());
    post("/api/redo", json::object());
    post("/api/undo", json::object());
    const std::string painted = current();  // (saving: the journal stays for what comes after)
    stroke("scaling", {{10, 90}, {290, 90}}, 255);
    post("/api/undo", json::object());
    EXPECT_TRUE(studio_->unsaved());
    // A stroke left open is not finished: it is not taken up.
    post("/api/stroke/down", {{"tool", "translate"}, {"at", {10, 90}}});
    post("/api/stroke/drag", {{"points", {{{"at", {200, 90}}}}}});
    const size_t steps = studio_->state()["steps"];
    // The studio dies (as by SIGKILL, which runs nothing) while writing a
    // line: the journal is left as it was then.
    const std::string atTheKill = readFile(journal);
    studio_.reset();
    std::ofstream(journal, std::ios::trunc) << atTheKill << R"({"step": {"stroke": {"tool": "tra)";

    studio_ = std::make_unique<Studio>(options);
    ASSERT_TRUE(studio_->open(error)) << error;
    EXPECT_EQ(studio_->recovered() + 1, steps);
    EXPECT_TRUE(studio_->unsaved());
    EXPECT_EQ(current(), painted);
    EXPECT_EQ(readFile(folder_ / "drawing.svg"), kDrawing) << "the opened file is never written";
    post("/api/save", {{"svg", "back.svg"}, {"session", "back.json"}});
    EXPECT_EQ(replay("back.json", "back.svg"), painted);
    // Saved and stopped: nothing is left to take up.
    studio_.reset();
    EXPECT_FALSE(fs::exists(journal));

    // A journal is taken up only by the drawing it belongs to.
    std::ofstream(journal) << R"({"journal": 1, "document": "/elsewhere/other.svg", "seed": 5})" << "\n";
    studio_ = std::make_unique<Studio>(options);
    EXPECT_FALSE(studio_->open(error));
    EXPECT_NE(error.find("not of this drawing"), std::string::npos) << error;
    fs::remove(journal);
    options.recover = true;
    studio_ = std::make_unique<Studio>(options);
    EXPECT_FALSE(studio_->open(error));
    EXPECT_NE(error.find("no journal to take up"), std::string::npos) << error;
}

// A field of the form is applied when committed, as one options step; a
// value the dialog would change is refused as --set refuses it, by label.
TEST_F(StudioTest, AFieldCommittedIsAnOptionsStepAndAValueTheDialogWouldChangeIsRefused) {
    const auto field = [&](int item, const std::string &value) {
        return request("POST", "/api/field", json{{"tool", "rotate"}, {"item", item}, {"value", value}}.dump());
    };
    const auto shown = [](const json &dialog, int id) {
        for (const json &item : dialog["items"])
            if (item["id"] == id) return item;
        return json();
    };
    const size_t steps = studio_->state()["steps"];
    struct Refusal {
        int item;
        std::string value, says;
    };
    for (const Refusal &r : {Refusal{30, "500", "\"Rotate\" must lie between -360 and 360, not 500"},
                             Refusal{30, "abc", "\"Rotate\" needs a number, not 'abc'"},
                             Refusal{30, "1e3", "decimal digits"},
                             Refusal{191, "5000", "\"Brush size (horizontal)\" must lie between 0.01 and 2000"},
                             Refusal{195, "40", "is a popup with entries 0 to 16"},
                             Refusal{193, "maybe", "is a check box"}}) {
        const StudioResponse answer = field(r.item, r.value);
        EXPECT_EQ(answer.status, 422) << r.value << ": " << answer.body;
        EXPECT_NE(json::parse(answer.body)["error"].get<std::string>().find(r.says), std::string::npos) << answer.body;
    }
    EXPECT_EQ(studio_->state()["steps"], steps) << "nothing refused is recorded";
    EXPECT_EQ(field(999, "1").status, 400);

    json dialog = json::parse(field(30, "20").body)["dialog"];
    EXPECT_EQ(shown(dialog, 30)["value"], 20);
    dialog = json::parse(field(193, "on").body)["dialog"];
    EXPECT_EQ(shown(dialog, 193)["checked"], true);
    dialog = json::parse(field(195, "2").body)["dialog"];
    EXPECT_EQ(shown(dialog, 195)["active"], 2);
    EXPECT_EQ(field(191, "12.5").status, 200);
    EXPECT_EQ(studio_->state()["brush"]["hx"], 12.5);
    const json session = studio_->session("x.svg");
    EXPECT_EQ(session["steps"].size(), steps + 4 + 2);
    EXPECT_EQ(session["steps"][steps]["options"]["actions"], json::parse(R"([{"type": 30, "text": "20"}, {"press": 1}])"));
    EXPECT_EQ(session["steps"][steps + 1]["options"]["actions"][0], json::parse(R"({"check": 193})"));
}

TEST_F(StudioTest, NothingTheDrawingCarriesRunsInThePage) {
    studio_.reset();
    const std::string hostile = R"m(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" viewBox="0 0 100 100">
  <defs><symbol id="s"><script>alert(1)</script><rect width="5" height="5" onclick="alert(2)"/>
    <foreignObject width="9" height="9"><div xmlns="http://www.w3.org/1999/xhtml">hi</div></foreignObject>
    <a xlink:href=" javascript:alert(3)"><circle r="2"/></a></symbol></defs>
  <use id="u" xlink:href="#s" x="10" y="10"/>
  <rect id="r" x="1" y="1" width="8" height="8"/>
</svg>
)m";
    std::string error;
    ASSERT_TRUE(writeFileAtomically((folder_ / "hostile.svg").string(), hostile, error)) << error;
    StudioOptions options;
    options.drawing = (folder_ / "hostile.svg").string();
    options.outDir = (folder_ / "out").string();
    options.attach = attachLinkedPlugin;
    studio_ = std::make_unique<Studio>(options);
    ASSERT_TRUE(studio_->open(error)) << error;
    const std::string whole = post("/api/drawing", json::object()).dump();
    ASSERT_NE(whole.find("<rect"), std::string::npos) << whole;
    for (const char *runs : {"<script", "alert", "onclick", "foreignObject", "javascript"})
        EXPECT_EQ(whole.find(runs), std::string::npos) << runs << " in " << whole;
}

TEST(PageSafeMarkup, TakesOutWhatRunsAndKeepsTheRestAsItWas) {
    const std::string plain = R"m(<path data-key="3" id="a" d="M0 0 L1 1" fill="#ff0000" style="opacity:0.5"/>)m";
    EXPECT_EQ(pageSafeMarkup(plain), plain);
    struct Case {
        std::string markup, kept, gone;
    };
    const Case cases[] = {
        {R"m(<g><script>alert(1)</script><rect width="1"/></g>)m", "<rect", "script"},
        {R"m(<g><SCRIPT>alert(1)</SCRIPT></g>)m", "<g", "alert"},
        {R"m(<rect width="1" onload="alert(1)" OnClick = "x"/>)m", "width", "on"},
        {R"m(<a href="javascript:alert(1)"><rect/></a>)m", "<rect", "javascript"},
        {R"m(<a xlink:href="&#x6A;avascript:alert(1)"><rect/></a>)m", "<rect", "avascript"},
        {R"m(<a href=" JavaScript:alert(1)"><rect/></a>)m", "<rect", "alert"},
        {R"m(<image href="data:text/html,&lt;script&gt;" width="1"/>)m", "width", "data:"},
        {R"m(<g><foreignObject><div>x</div></foreignObject></g>)m", "<g", "div"},
        {R"m(<g><html:div xmlns:html="http://www.w3.org/1999/xhtml">x</html:div></g>)m", "<g", "div"},
        {R"m(<a><set attributeName="href" to="javascript:alert(1)"/></a>)m", "<a", "set"},
        {R"m(<g><handler>alert(1)</handler><rect/></g>)m", "<rect", "handler"},
    };
    for (const Case &c : cases) {
        const std::string safe = pageSafeMarkup(c.markup);
        EXPECT_NE(safe.find(c.kept), std::string::npos) << c.markup << " -> " << safe;
        std::string lowered = safe;
        for (char &ch : lowered) ch = char(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(lowered.find(c.gone), std::string::npos) << c.markup << " -> " << safe;
    }
    // An image's own data stays.
    const std::string image = R"m(<image href="data:image/png;base64,AAAA" width="1"/>)m";
    EXPECT_NE(pageSafeMarkup(image).find("data:image/png"), std::string::npos);
    EXPECT_EQ(pageSafeMarkup("<g><script></g>"), "");
}

TEST(RequestOrder, CallsArePlayedInThePagesOrderWhateverThreadTakesThemUp) {
    RequestOrder order(std::chrono::milliseconds(2000));
    std::mutex one;
    std::vector<int> played;
    std::vector<std::thread> threads;
    // The page sends 1..6; the server's threads take them up backwards.
    for (int place = 6; place >= 1; --place) {
        threads.emplace_back([&, place] {
            const std::string header = "page-a " + std::to_string(place);
            std::unique_lock<std::mutex> lock(one);
            order.waitTurn(header, lock);
            played.push_back(place);
            order.done(header);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (auto &t : threads) t.join();
    EXPECT_EQ(played, (std::vector<int>{1, 2, 3, 4, 5, 6}));

    // A page loaded again starts its own order; calls without one go at once;
    // one whose predecessor never comes goes after the patience.
    RequestOrder quick(std::chrono::milliseconds(50));
    std::unique_lock<std::mutex> lock(one);
    const auto waited = [&](const std::string &header) {
        const auto start = std::chrono::steady_clock::now();
        quick.waitTurn(header, lock);
        quick.done(header);
        return std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(40);
    };
    EXPECT_FALSE(waited("page-b 1"));
    EXPECT_FALSE(waited(""));
    EXPECT_FALSE(waited("not an order"));
    EXPECT_TRUE(waited("page-b 3")) << "2 never came";
    EXPECT_FALSE(waited("page-b 4"));
    EXPECT_FALSE(waited("page-c 1")) << "a page loaded again";
    EXPECT_FALSE(waited("page-b 2")) << "a call of a page gone goes at once";
}

}  // namespace
}  // namespace smear
