// What users type, read as the host means it: names with slips in them,
// the path of a stroke, selectors of the elements to paint, and the options
// a tool's dialog offers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "art_selectors.h"
#include "fixture.h"
#include "option_catalogue.h"
#include "spelling.h"
#include "stroke_path.h"
#include "svg_read_support.h"

namespace smear {
namespace {

TEST(Spelling, ASlipFindsTheNameAndNonsenseFindsNothing) {
    const std::vector<std::string> tools = {"scaling", "rotate", "stroke-weight", "gradient", "gradient-mesh"};
    EXPECT_EQ(closestName("rotat", tools), "rotate");          // a letter missing
    EXPECT_EQ(closestName("roatte", tools), "rotate");         // two swapped
    EXPECT_EQ(closestName("ROTATE", tools), "rotate");         // case plays no part
    EXPECT_EQ(closestName("stroke_wieght", tools), "stroke-weight");
    EXPECT_EQ(closestName("stroke", tools), "stroke-weight");  // the start of a long name
    EXPECT_EQ(closestName("gradiant", tools), "gradient");     // the nearest, not the longer
    EXPECT_EQ(closestName("smudge", tools), "");
    EXPECT_EQ(closestName("x", tools), "");
    EXPECT_EQ(closestName("", tools), "");
    EXPECT_EQ(closestName("rotate", {}), "");
    EXPECT_EQ(closestName("brushsizehorizontl", optionNames(2)), "brushSizeHorizontal");
    // Only the options of the tool in question are offered.
    EXPECT_EQ(closestName("transparencyMod", optionNames(2)), "");
    EXPECT_EQ(closestName("transparencyMod", optionNames(3)), "transparencyMode");
}

TEST(StrokePath, PointsCarryTheirOwnPressureOnThePensScale) {
    StrokePath p;
    std::string error;
    ASSERT_TRUE(parseStrokePath(" 10,20,0.5  30.5,-40 ;\n50,60,1\r\n", 10, 200, p, error)) << error;
    ASSERT_EQ(p.points.size(), 3u);  // each point one message; --steps plays no part
    EXPECT_EQ(p.points[1].h, 30.5f);
    EXPECT_EQ(p.points[1].v, -40.0f);  // SVG units, as written
    EXPECT_EQ(p.pressure, (std::vector<ASInt16>{128, 200, 255}));  // 0.5 × 255 rounded; the default; 1 × 255
    EXPECT_TRUE(p.pressureGiven);
    ASSERT_TRUE(parseStrokePath("0,0 1,1", 10, 17, p, error));
    EXPECT_FALSE(p.pressureGiven);
    EXPECT_EQ(p.pressure, (std::vector<ASInt16>{17, 17}));
}

TEST(StrokePath, PathDataIsSampledEvenlyAlongItsLength) {
    StrokePath p;
    std::string error;
    // Two legs of 100 and 300: points every 100 units of length.
    ASSERT_TRUE(parseStrokePath("M0 0 h100 v300", 4, 255, p, error)) << error;
    ASSERT_EQ(p.points.size(), 5u);
    const float want[5][2] = {{0, 0}, {100, 0}, {100, 100}, {100, 200}, {100, 300}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(p.points[i].h, want[i][0], 1e-3) << i;
        EXPECT_NEAR(p.points[i].v, want[i][1], 1e-3) << i;
    }
    // A closed path comes back to its start; a curve passes through its ends.
    ASSERT_TRUE(parseStrokePath("M0 0 L10 0 L10 10 Z", 3, 255, p, error)) << error;
    EXPECT_NEAR(p.points.back().h, 0, 1e-4);
    EXPECT_NEAR(p.points.back().v, 0, 1e-4);
    ASSERT_TRUE(parseStrokePath("M0 0 C0 50 100 50 100 0", 9, 255, p, error)) << error;
    EXPECT_EQ(p.points.size(), 10u);
    EXPECT_NEAR(p.points.back().h, 100, 1e-3);
    // A quarter circle of radius 100: the middle point lies on it, at 45°.
    ASSERT_TRUE(parseStrokePath("M100 0 A100 100 0 0 1 0 100", 2, 255, p, error)) << error;
    EXPECT_NEAR(p.points[1].h, 100 / std::sqrt(2.0), 0.05);
    EXPECT_NEAR(p.points[1].v, 100 / std::sqrt(2.0), 0.05);
}

TEST(StrokePath, APressureProfileSpreadsOverTheStrokeInStraightLines) {
    std::vector<ASInt16> p;
    std::string error;
    // Rising from nothing to full over five messages, then one value for all.
    ASSERT_TRUE(pressureProfile("0 1", 5, p, error)) << error;
    EXPECT_EQ(p, (std::vector<ASInt16>{0, 64, 128, 191, 255}));
    ASSERT_TRUE(pressureProfile("0.2", 3, p, error)) << error;
    EXPECT_EQ(p, (std::vector<ASInt16>{51, 51, 51}));
    // A rise and a fall: the middle value lands on the middle message.
    ASSERT_TRUE(pressureProfile("0, 1; 0", 5, p, error)) << error;
    EXPECT_EQ(p, (std::vector<ASInt16>{0, 128, 255, 128, 0}));
    // More values than messages: each message reads the line at its place.
    ASSERT_TRUE(pressureProfile("0 0.5 1 0.5 0", 3, p, error)) << error;
    EXPECT_EQ(p, (std::vector<ASInt16>{0, 255, 0}));
    for (const char *bad : {"", "  ", "0.5 x", "-0.1", "1.01", "nan"}) {
        EXPECT_FALSE(pressureProfile(bad, 4, p, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(StrokePath, WhatCannotBeAStrokeIsRefusedWithWhere) {
    StrokePath p;
    std::string error;
    const auto refused = [&](const std::string &text, const std::string &message) {
        EXPECT_FALSE(parseStrokePath(text, 4, 255, p, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << text << ": " << error;
    };
    refused("", "the stroke's path is empty");
    refused("1,1", "at least two points");
    refused("1,1 2", "point 2 '2' is not X,Y or X,Y,PRESSURE");
    refused("1,1 2,2,3,4", "point 2");
    refused("1,1 nan,2", "point 2");
    refused("1,1 1e39,2", "lies beyond the range of the drawing");
    refused("1,1 2,2,-0.1", "the pressure must lie between 0 and 1");
    refused("1,1 2,2,1.5", "the pressure must lie between 0 and 1");
    refused("M0 0", "one subpath with at least one segment");
    refused("M0 0 L1 1 M2 2 L3 3", "one subpath");
    refused("M0 0 L1", "the path data 'M0 0 L1'");
    refused("M0 0 L1e39 0", "beyond the range of the drawing");
    std::string many;
    for (size_t i = 0; i <= kStrokeMaxPoints; ++i) many += "1,1 ";
    refused(many, "at most");
}

TEST(StrokePath, NumbersAreDecimalAsSvgWritesThem) {
    StrokePath p;
    std::string error;
    for (const char *text : {"0x10,1 2,2", "1,1 0x10,1", "1,1 2,0x1", "1,1 2,2,0x0.8", "1,1 infinity,2", "1,1 2,2,nan"}) {
        EXPECT_FALSE(parseStrokePath(text, 4, 255, p, error)) << text;
        EXPECT_NE(error.find("point"), std::string::npos) << text << ": " << error;
    }
    ASSERT_TRUE(parseStrokePath("+1,.5 1e1,-2.5E-1,5e-1", 4, 255, p, error)) << error;
    EXPECT_EQ(p.points[1].h, 10.0f);
    EXPECT_EQ(p.points[1].v, -0.25f);
    EXPECT_EQ(p.pressure[1], 128);
    std::vector<ASInt16> profile;
    EXPECT_FALSE(pressureProfile("0 0x1", 3, profile, error));
}

TEST(StrokePath, LongPathDataCostsWhatItsStepsAndSegmentsNeed) {
    StrokePath p;
    std::string error;
    // 20,000 unit segments: eleven points, each exactly where its length says.
    std::string steps = "M0 0";
    for (int i = 0; i < 20000; ++i) steps += " h1";
    ASSERT_TRUE(parseStrokePath(steps, 10, 255, p, error)) << error;
    ASSERT_EQ(p.points.size(), 11u);
    for (size_t i = 0; i < p.points.size(); ++i) EXPECT_FLOAT_EQ(p.points[i].h, 2000.0f * float(i)) << i;
    // As many points as the steps ask for, up to a stroke's limit.
    ASSERT_TRUE(parseStrokePath("M0 0 C0 50 100 50 100 0", int(kStrokeMaxPoints) - 1, 255, p, error)) << error;
    EXPECT_EQ(p.points.size(), kStrokeMaxPoints);
    EXPECT_FALSE(parseStrokePath("M0 0 L1 1", int(kStrokeMaxPoints), 255, p, error));
    EXPECT_NE(error.find("1 to 100000 steps"), std::string::npos) << error;
    EXPECT_FALSE(parseStrokePath("M0 0 L1 1", 0, 255, p, error));
    // Too many segments to read: refused before reading, and quoted short.
    std::string huge = "M0 0";
    while (huge.size() < 4 * kStrokePathMaxTokens) huge += " l1 1";
    EXPECT_FALSE(parseStrokePath(huge, 10, 255, p, error));
    EXPECT_NE(error.find("too long for a stroke"), std::string::npos) << error.substr(0, 200);
    EXPECT_LT(error.size(), 200u);
    EXPECT_FALSE(parseStrokePath("M0 0 L1 1 x" + std::string(100000, ' '), 10, 255, p, error));
    EXPECT_LT(error.size(), 200u);
}

const char kGarden[] = "<rect id='paper' width='200' height='200'/>"
                       "<g id='leaves' class='green\tleaf'><path id='a' class='vein' d='M0 0 L9 9'/></g>"
                       "<svg:rect id='b' class='leaf big' width='5' height='5'/>"
                       "<circle id='c' class='leafy' r='3'/>";

std::string idsMatching(Document &doc, const std::string &text) {
    SimpleSelector selector;
    std::string error;
    if (!parseSimpleSelector(text, selector, error)) return "error: " + error;
    std::string ids;
    for (const Art *a : artMatching(doc, selector)) ids += (ids.empty() ? "" : " ") + a->id;
    return ids;
}

TEST(ArtSelectors, ElementsAreChosenByNameClassAndId) {
    auto r = read("<svg xmlns='http://www.w3.org/2000/svg' xmlns:svg='http://www.w3.org/2000/svg'>" +
                  std::string(kGarden) + "</svg>");
    ASSERT_TRUE(r->ok) << r->error;
    EXPECT_EQ(idsMatching(r->doc, "rect"), "paper b");  // a prefixed element is still a rect
    EXPECT_EQ(idsMatching(r->doc, ".leaf"), "leaves b");  // whole class words only: not "leafy"
    EXPECT_EQ(idsMatching(r->doc, ".leaf.big"), "b");
    EXPECT_EQ(idsMatching(r->doc, "rect.leaf"), "b");
    EXPECT_EQ(idsMatching(r->doc, "path.vein"), "a");
    EXPECT_EQ(idsMatching(r->doc, "#c"), "c");
    EXPECT_EQ(idsMatching(r->doc, "circle#b"), "");
    EXPECT_EQ(idsMatching(r->doc, "ellipse"), "");
    for (const char *bad : {"", "g > path", "[id=a]", "a:hover", ".", "#a#b", "rect,circle"})
        EXPECT_EQ(idsMatching(r->doc, bad).rfind("error: ", 0), 0u) << bad;
    // Art that was not read from SVG has no element to match.
    Document inlineDoc;
    EXPECT_EQ(idsMatching(inlineDoc, "rect"), "");
}

class OptionCatalogue : public PluginTest {};

// The catalogue comes from the dialogs the plug-in builds; the host's own
// table of the record must agree with it, tool by tool.
TEST_F(OptionCatalogue, EveryToolListsItsOwnAndTheBrushOptionsWithTheDialogsLimits) {
    ASSERT_EQ(startup(), kNoErr);
    for (int toolId = 0; toolId < 19; ++toolId) {
        std::vector<OptionDescription> options;
        std::string error;
        ASSERT_TRUE(describeToolOptions(host, toolId, options, error)) << toolId << ": " << error;
        std::vector<std::string> listed;
        for (const OptionDescription &o : options) listed.push_back(o.field->name);
        std::vector<std::string> expected = optionNames(toolId);
        std::sort(listed.begin(), listed.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(listed, expected) << "tool " << toolId;
        bool brush = false;
        for (const OptionDescription &o : options) {
            const OptionField &f = *o.field;
            EXPECT_FALSE(brush && f.tool != -1) << f.name << ": the tool's own options come first";
            brush = brush || f.tool == -1;
            if (f.kind == FieldKind::Index) {
                EXPECT_EQ(double(o.entries.size()), f.max + 1) << f.name;
            } else {
                // Only the scale limits' grid stands without labels.
                EXPECT_EQ(o.label.empty(), f.name.rfind("scaleM", 0) == 0) << f.name;
            }
            if (f.kind == FieldKind::Float || (f.kind == FieldKind::Integer && f.max < kDocumentLimit)) {
                EXPECT_FLOAT_EQ(float(o.min), float(f.min)) << f.name;
                EXPECT_FLOAT_EQ(float(o.max), float(f.max)) << f.name;
            }
            EXPECT_TRUE(sameFieldValue(f, o.defaultValue, readField(gGlobals, f))) << f.name;
        }
    }
    // Reading the catalogue cancels the dialog: the record keeps what it held.
    const OptionField &angleField = *findOptionField("rotateAngle");
    ASSERT_TRUE(writeField(gGlobals, angleField, 7.5));
    std::vector<OptionDescription> options;
    std::string error;
    ASSERT_TRUE(describeToolOptions(host, 2, options, error)) << error;
    const auto angle = std::find_if(options.begin(), options.end(),
                                    [&](const OptionDescription &o) { return o.field == &angleField; });
    ASSERT_NE(angle, options.end());
    EXPECT_EQ(angle->label, "Rotate");
    EXPECT_EQ(angle->decimals, 2);
    EXPECT_EQ(angle->defaultValue, 7.5);
    EXPECT_EQ(readField(gGlobals, angleField), 7.5);
}

}  // namespace
}  // namespace smear
