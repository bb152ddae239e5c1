// Numbers the drawing cannot hold, outside SVG files: session documents and
// steps refuse them naming the field, the command line refuses them with a
// clear message, and every real the host turns into an integer is checked
// first. The parsers under the SVG reader (numbers, arcs) are here too, as
// they are built on every platform.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

#include "adm_handles.h"
#include "host_suites_fixture.h"
#include "option_fields.h"
#include "session.h"
#include "session_document.h"
#include "svg_numbers.h"
#include "svg_path_data.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace smear {
namespace {

using nlohmann::json;

// ---- Numbers and arcs under the SVG reader

TEST(NumberRange, TheScannerTellsNumbersTheDrawingCannotHold) {
    double v = 0;
    ASSERT_TRUE(svg::parseNumber("1e400", v));
    EXPECT_TRUE(std::isinf(v) && v > 0);  // no largest double standing in for it
    ASSERT_TRUE(svg::parseNumber("-1e400", v));
    EXPECT_TRUE(std::isinf(v) && v < 0);
    ASSERT_TRUE(svg::parseNumber("1e-400", v));
    EXPECT_EQ(v, 0);  // the nearest value: no damage

    EXPECT_TRUE(svg::fitsDrawing(FLT_MAX));
    EXPECT_TRUE(svg::fitsDrawing(-FLT_MAX));
    EXPECT_TRUE(svg::fitsDrawing(1e-300));
    EXPECT_FALSE(svg::fitsDrawing(3.5e38));
    EXPECT_FALSE(svg::fitsDrawing(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(svg::fitsDrawing(-std::numeric_limits<double>::infinity()));

    EXPECT_EQ(svg::numberBeyondRange("M0 0 L1e39,5"), "1e39");
    EXPECT_EQ(svg::numberBeyondRange("rotate(45) scale(-1e400)"), "-1e400");
    EXPECT_EQ(svg::numberBeyondRange("3.4e38 1e-400 -3.4e38 2em"), "");
    EXPECT_EQ(svg::numberBeyondRange("1 2 3.5e38"), "3.5e38");
    EXPECT_EQ(svg::numberBeyondRange("none"), "");
}

TEST(NumberRange, ArcsAreComputedWithoutSquaringTheirRadii) {
    // Radii near the largest float with a short chord: a straight line.
    svg::Subpath s;
    ASSERT_TRUE(svg::appendArc(s, 3e38, 3e38, 0, false, true, {10, 10}));
    ASSERT_EQ(s.curves.size(), 1u);
    for (svg::Vec2 p : {s.curves[0].c1, s.curves[0].c2}) {
        EXPECT_NEAR(p.x, p.y, 1e-6);
        EXPECT_GE(p.x, -1e-6);
        EXPECT_LE(p.x, 10 + 1e-6);
    }
    // Radii some 1e16 times the chord, where the angle between the chord's
    // ends seen from the centre is rounding: a third of the chord along it.
    for (double r : {1e15, 3e16, 1e17}) {
        svg::Subpath line;
        ASSERT_TRUE(svg::appendArc(line, r, r, 0, false, true, {6, 8}));
        ASSERT_EQ(line.curves.size(), 1u);
        EXPECT_NEAR(line.curves[0].c1.x, 2, 1e-6) << r;
        EXPECT_NEAR(line.curves[0].c1.y, 8.0 / 3, 1e-6) << r;
        EXPECT_NEAR(line.curves[0].c2.x, 4, 1e-6) << r;
        EXPECT_NEAR(line.curves[0].c2.y, 16.0 / 3, 1e-6) << r;
    }
    // Radii beyond a float (rx² beyond a double): still a straight line, not
    // a half circle of that radius.
    svg::Subpath big;
    ASSERT_TRUE(svg::appendArc(big, 1e300, 1e300, 0, false, true, {10, 0}));
    ASSERT_EQ(big.curves.size(), 1u);
    EXPECT_NEAR(big.curves[0].c1.y, 0, 1e-6);
    EXPECT_NEAR(big.curves[0].c2.y, 0, 1e-6);

    // Radii whose squares vanish grow to reach: a half circle around (5, 0).
    svg::Subpath tiny;
    ASSERT_TRUE(svg::appendArc(tiny, 1e-200, 1e-200, 30, false, true, {10, 0}));
    ASSERT_EQ(tiny.curves.size(), 2u);
    EXPECT_NEAR(std::hypot(tiny.curves[0].end.x - 5, tiny.curves[0].end.y), 5, 1e-9);

    // What cannot be computed adds nothing and says so.
    svg::Subpath bad;
    bad.start = {0, 0};
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(svg::appendArc(bad, 1e-320, 1e-320, 0, false, true, {1e300, 0}));
    EXPECT_FALSE(svg::appendArc(bad, inf, 1, 0, false, true, {10, 0}));
    EXPECT_FALSE(svg::appendArc(bad, 1, 1, nan, false, true, {10, 0}));
    EXPECT_FALSE(svg::appendArc(bad, 1, 1, 0, false, true, {inf, 0}));
    EXPECT_TRUE(bad.curves.empty());

    const std::string text = "M0 0 L1 0 A1e-320 1e-320 0 0 1 1e300 0 L5 5";
    const svg::PathData d = svg::parsePathData(text);
    EXPECT_EQ(d.error, "command 'A' draws an arc that cannot be computed at offset " + std::to_string(text.find("L5")));
    ASSERT_EQ(d.subpaths.size(), 1u);
    EXPECT_EQ(d.subpaths[0].curves.size(), 1u);
}

// ---- Session documents

std::string buildError(const std::string &text) {
    std::string error;
    auto doc = buildDocument(json::parse(text), error);
    EXPECT_EQ(doc, nullptr) << text;
    return error;
}

TEST(NumberRange, SessionDocumentsRefuseNumbersTheDrawingCannotHold) {
    const std::pair<const char *, const char *> cases[] = {
        {R"({"size": [1e300, 100]})", "size[0]: 1e+300 is beyond the range of the drawing"},
        {R"({"objects": [{"type": "text", "text": "A", "size": 1e300}]})",
         "objects[0].size: 1e+300 is beyond the range of the drawing"},
        {R"({"objects": [{"points": [[0, 0], [-1e39, 5]]}]})",
         "objects[0].points[1][0]: -1e+39 is beyond the range of the drawing"},
        {R"({"objects": [{"rect": [0, 0, 10, 10], "strokeWidth": 1e39}]})",
         "objects[0].strokeWidth: 1e+39 is beyond the range of the drawing"},
        {R"({"layers": [{"objects": [{"type": "group"}, {"type": "text", "text": "A", "at": [0, 1e300]}]}]})",
         "layers[0].objects[1].at[1]: 1e+300 is beyond the range of the drawing"},
        // Numbers that fit, adding up to one that does not.
        {R"({"objects": [{"rect": [3e38, 0, 3e38, 10]}]})", "objects[0].rect: reaches beyond the range of the drawing"},
        {R"({"objects": [{"ellipse": [3e38, 0, 1e38, 10]}]})",
         "objects[0].ellipse: reaches beyond the range of the drawing"},
        {R"({"objects": [{"type": "mesh", "rect": [-3e38, 0, 3e38, 1e38], "patches": [1, 1]}, {"type": "mesh", "rect": [3e38, 0, 3e38, 10]}]})",
         "objects[1].rect: reaches beyond the range of the drawing"},
        {R"({"objects": [{"type": "text", "text": "0123456789", "size": 1e38}]})",
         "objects[0].size: the text's frame at this size reaches beyond the range of the drawing"},
        {R"({"patterns": [{"name": "P", "tile": [3e38, 0, 1e38, 10]}]})",
         "patterns[0].tile: reaches beyond the range of the drawing"},
        {R"({"gradients": [{"name": "G", "stops": [[0, "#000000"], [1e39, "#ffffff"]]}]})",
         "gradients[0].stops[1][0]: 1e+39 is beyond the range of the drawing"},
        {R"({"gradients": [{"name": "G", "stops": [[0, "#000000"], [1, "#ffffff"]]}],
             "objects": [{"points": [[-3e38, 0], [3e38, 10]], "fill": "gradient:G"}]})",
         "objects[0]: a gradient across it reaches beyond the range of the drawing"},
    };
    for (const auto &c : cases) EXPECT_EQ(buildError(c.first), c.second) << c.first;
}

TEST(NumberRange, BlendModesOfSessionArtAreWholeNumbersOfTheModes) {
    for (const char *blend : {"1e10", "-1", "2.5", "16", "1e300"}) {
        const std::string text = std::string(R"({"objects": [{"rect": [0, 0, 1, 1], "blend": )") + blend + "}]}";
        const std::string error = buildError(text);
        EXPECT_EQ(error.rfind("objects[0].blend: ", 0), 0u) << error;
        if (std::string(blend) != "1e300") {
            EXPECT_NE(error.find("expected a blend mode, a whole number from 0 to 15, got "), std::string::npos) << error;
        }
    }
    std::string error;
    auto doc = buildDocument(json::parse(R"({"objects": [{"rect": [0, 0, 1, 1], "blend": 15},
                                                         {"rect": [0, 0, 1, 1], "blend": 0.0}]})"),
                             error);
    ASSERT_NE(doc, nullptr) << error;
    EXPECT_EQ(doc->layers[0]->root->firstChild->blendMode, 15);
    EXPECT_EQ(doc->layers[0]->root->lastChild->blendMode, 0);
}

TEST(NumberRange, OrdinaryDocumentsNearTheLimitAreBuiltAsTheySay) {
    std::string error;
    auto doc = buildDocument(json::parse(R"({"size": [3e38, 1e38],
        "gradients": [{"name": "G", "stops": [[0, "#000000"], [1, "#ffffff"]]}],
        "objects": [{"rect": [-1e38, 0, 2e38, 1e38], "fill": "gradient:G", "strokeWidth": 3e38},
                    {"type": "text", "text": "A", "size": 1e38, "at": [3e38, -3e38]}]})"),
                             error);
    ASSERT_NE(doc, nullptr) << error;
    const Art *rect = doc->layers[0]->root->firstChild;
    EXPECT_FLOAT_EQ(rect->segments[1].p.h, 1e38f);
    EXPECT_FLOAT_EQ(rect->style.fill.color.c.b.gradientLength, 2e38f);
    EXPECT_FLOAT_EQ(doc->artboard.right, 3e38f);
    const Art *text = doc->layers[0]->root->lastChild;
    EXPECT_FLOAT_EQ(text->matrix.ty, 3e38f);
    EXPECT_TRUE(std::isfinite(text->frame.right));
}

// ---- Session steps and files

std::string sessionError(const std::string &text) {
    Session s;
    std::string error;
    EXPECT_FALSE(parseSession(json::parse(text), s, error)) << text;
    return error;
}

TEST(NumberRange, SessionStepsRefusePointsTheDrawingCannotHold) {
    EXPECT_EQ(sessionError(R"({"steps": ["startup", {"stroke": {"tool": "rotate", "points": [[1e308, 60], [1, 1]]}}]})"),
              "steps[1].stroke.points[0][0]: 1e+308 is beyond the range of the drawing");
    EXPECT_EQ(sessionError(R"({"steps": [{"cursor": {"tool": "rotate", "at": [0, -3.5e38]}}]})"),
              "steps[0].cursor.at[1]: -3.5e+38 is beyond the range of the drawing");
    Session s;
    std::string error;
    ASSERT_TRUE(parseSession(json::parse(R"({"steps": [{"stroke": {"tool": "rotate", "points": [[-3e38, 0], [3e38, 1]]}}]})"),
                             s, error))
        << error;
    EXPECT_FLOAT_EQ(s.steps[0].points[0].h, -3e38f);
}

TEST(NumberRange, SessionFilesWithNumbersBeyondADoubleAreRefusedNotThrown) {
    const std::filesystem::path dir = std::filesystem::path(SMEAR_BUILD_DIR) / "number_range_test";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "huge.json";
    std::ofstream(file) << R"({"steps": [{"stroke": {"tool": "rotate", "points": [[1e400, 60], [1, 1]]}}]})";
    Session s;
    std::string error;
    EXPECT_FALSE(loadSessionFile(file.string(), s, error));
    EXPECT_NE(error.find("not valid JSON"), std::string::npos) << error;
    EXPECT_NE(error.find("1e400"), std::string::npos) << error;
}

TEST(NumberRange, AStrokeBetweenFarPointsStaysFinite) {
    const SessionStep s = straightStroke("rotate", {-3e38f, 3e38f}, {3e38f, -3e38f}, 4, 255);
    ASSERT_EQ(s.points.size(), 5u);
    for (const AIRealPoint &p : s.points) EXPECT_TRUE(std::isfinite(p.h) && std::isfinite(p.v));
    EXPECT_FLOAT_EQ(s.points[2].h, 0);
    EXPECT_FLOAT_EQ(s.points[4].v, -3e38f);
    // Nearby points are interpolated in single precision, as before.
    const SessionStep near = straightStroke("rotate", {0.1f, 0}, {0.7f, 0}, 3, 255);
    EXPECT_EQ(near.points[1].h, 0.1f + (0.7f - 0.1f) * (1.0f / 3.0f));
}

// ---- Option fields

TEST(NumberRange, OptionFieldsWriteAndShowOnlyWhatTheyHold) {
    const OptionField &angle = *findOptionField("rotateAngle");
    const OptionField &slowdown = *findOptionField("brushSlowdown");
    std::vector<unsigned char> globals(globalsSize(), 0);
    EXPECT_TRUE(writeField(globals.data(), angle, 12.5));
    EXPECT_FLOAT_EQ(float(readField(globals.data(), angle)), 12.5f);
    EXPECT_FALSE(writeField(globals.data(), angle, 1e39));
    EXPECT_FALSE(writeField(globals.data(), angle, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FLOAT_EQ(float(readField(globals.data(), angle)), 12.5f);  // unchanged
    EXPECT_TRUE(writeField(globals.data(), slowdown, -2147483648.0));
    EXPECT_FALSE(writeField(globals.data(), slowdown, 2147483648.0));
    EXPECT_FALSE(writeField(globals.data(), slowdown, 2.5));
    EXPECT_EQ(readField(globals.data(), slowdown), -2147483648.0);

    // What a plug-in left in its record, shown without overflowing.
    EXPECT_EQ(formatFieldValue(angle, 3e38), "3e+38");
    EXPECT_EQ(formatFieldValue(angle, -std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(formatFieldValue(angle, std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(formatFieldValue(angle, -12.25), "-12.25");
}

// ---- Suites

class NumberRangeSuites : public HostSuitesTest {};

TEST_F(NumberRangeSuites, IntegerValuesOfNumberFieldsAreHeldToAnASInt32) {
    Dialog dialog(nullptr, "test", 0, "test");
    DialogItem &field = dialog.add(10, ItemKind::SpinEdit, "spin", ADMRect{0, 0, 10, 10});
    field.setMin(-1e30);
    field.setMax(1e30);
    const ADMItemSuite &items = suite<ADMItemSuite>(kADMItemSuite, kADMItemSuiteVersion);
    const std::pair<double, ASInt32> cases[] = {
        {1e20, INT32_MAX}, {-1e20, INT32_MIN}, {2147483647.4, INT32_MAX}, {-12.5, -13}, {7.49, 7}};
    for (const auto &c : cases) {
        field.value = c.first;
        EXPECT_EQ(items.GetIntValue(toHandle(&field)), c.second) << c.first;
    }
    field.value = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(items.GetIntValue(toHandle(&field)), 0);
}

TEST_F(NumberRangeSuites, IntegerTagsReadBackOnlyAsWholeASInt32s) {
    const AITagSuite &tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);
    Art *a = addPath({{0, 0}});
    ASInt32 back = 5;
    for (const char *text : {"99999999999", "-2147483649", "12abc", "", "1e3"}) {
        a->tags.set("n", "integer", text);
        EXPECT_EQ(tags.GetTag(toHandle(a), "n", "integer", &back, 0), kBadParameterErr) << text;
        EXPECT_EQ(back, 5);
    }
    a->tags.set("n", "integer", "-2147483648");
    ASSERT_EQ(tags.GetTag(toHandle(a), "n", "integer", &back, 0), kNoErr);
    EXPECT_EQ(back, INT32_MIN);
}

// ---- The command line

#ifndef _WIN32
TEST(NumberRange, PaintRefusesAPointTheDrawingCannotHold) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(SMEAR_BUILD_DIR) / "number_range_test" / "paint";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "in.svg") << "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
                                     "<rect width='10' height='10'/></svg>";
    for (const auto &[args, message] :
         {std::pair<std::string, std::string>{"--from 1e308,60 --to 10,10", "--from: 1e308 is beyond the range of the drawing"},
          {"--from 0,0 --to 10,-1e39", "--to: -1e39 is beyond the range of the drawing"},
          {"--from 0,0 --to 1e400,1", "--to: 1e400 is beyond the range of the drawing"},
          {"--from nan,0 --to 1,1", "--from: 'nan,0' is not a point X,Y"}}) {
        SCOPED_TRACE(args);
        const std::string cmd = "cd '" + dir.string() + "' && '" + std::string(SMEAR_BUILD_DIR) +
                                "/smearhost' paint --tool rotate --in in.svg --out out.svg " + args +
                                " >stdout.txt 2>stderr.txt";
        const int status = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        std::ifstream err(dir / "stderr.txt");
        const std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text, "smearhost: " + message + "\n");
        EXPECT_FALSE(fs::exists(dir / "out.svg"));
    }
}
#endif

}  // namespace
}  // namespace smear
