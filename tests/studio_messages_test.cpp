// What the studio tells the person painting: what the file lost, grouped as
// the command line groups it, and what a stroke did or why it did nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "session_files.h"
#include "studio.h"
#include "studio_api.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace smear {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// Three ellipses and a circle the reader cannot keep, around three squares.
const char kDrawing[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 300 200" width="300" height="200">
  <ellipse id="bad1" cx="5" cy="5" rx="-1" ry="2"/>
  <ellipse id="bad2" cx="5" cy="5" rx="-1" ry="2"/>
  <ellipse id="bad3" cx="5" cy="5" rx="-1" ry="2"/>
  <circle id="huge" cx="5" cy="5" r="1e39"/>
  <rect id="left" x="20" y="60" width="60" height="60" fill="#e4572e"/>
  <rect id="middle" x="120" y="60" width="60" height="60" fill="#2e86ab"/>
  <rect id="right" x="220" y="60" width="60" height="60" fill="#76b041"/>
</svg>
)svg";

class StudioMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("smear-studio-messages-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::string error;
        ASSERT_TRUE(writeFileAtomically((folder_ / "drawing.svg").string(), kDrawing, error)) << error;
        StudioOptions options;
        options.drawing = (folder_ / "drawing.svg").string();
        options.outDir = folder_.string();
        options.attach = [](Host &host, std::string &e) {
            return host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", e);
        };
        studio_ = std::make_unique<Studio>(options);
        ASSERT_TRUE(studio_->open(error)) << error;
    }
    void TearDown() override {
        studio_.reset();
        fs::remove_all(folder_);
    }
    json post(const std::string &path, const json &body) {
        const StudioResponse r = handleStudioRequest(*studio_, StudioRequest{"POST", path, {}, body.dump(), {}, {}, {}});
        EXPECT_EQ(r.status, 200) << path << ": " << r.body;
        return json::parse(r.body);
    }
    // The answer to the mouse up of a stroke from x1 to x2 along y = 90.
    json stroke(const std::string &tool, double x1, double x2) {
        post("/api/stroke/down", {{"tool", tool}, {"at", {x1, 90}}, {"pressure", 255}});
        post("/api/stroke/drag", {{"points", {{{"at", {(x1 + x2) / 2, 90}}}, {{"at", {x2, 90}}}}}});
        return post("/api/stroke/up", json::object());
    }

    fs::path folder_;
    std::unique_ptr<Studio> studio_;
};

TEST_F(StudioMessagesTest, WhatTheFileLostIsToldOncePerKindWithACount) {
    const json problems = studio_->state()["problems"];
    ASSERT_EQ(problems.size(), 2u) << problems;
    EXPECT_EQ(problems[0].get<std::string>(), "3 times: rx is negative; skipped (first: element <ellipse id=bad1>)")
        << problems;
    EXPECT_NE(problems[1].get<std::string>().find("element <circle id=huge>: r has a number beyond"), std::string::npos)
        << problems;
}

TEST_F(StudioMessagesTest, AStrokeSaysWhatItChangedOrWhyNothing) {
    post("/api/select", {{"all", true}});
    json answer = stroke("rotate", 10, 290);
    const std::string painted = answer["message"];
    EXPECT_EQ(painted.rfind("stroke painted: ", 0), 0u) << painted;
    EXPECT_NE(painted.find(" objects changed"), std::string::npos) << painted;
    answer = stroke("swatches", 10, 290);
    EXPECT_EQ(answer["message"], "the stroke changed nothing: the drawing has no swatches for the Swatches tool to apply");
    post("/api/select", {{"all", false}});
    answer = stroke("rotate", 10, 290);
    EXPECT_EQ(answer["message"], "the stroke changed nothing: nothing is selected");
    // The answer is still the studio's state, as for every other request.
    EXPECT_TRUE(answer.contains("canUndo")) << answer;
}

}  // namespace
}  // namespace smear
