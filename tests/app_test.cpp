// The smearhost program as a user runs it: its commands, their output, and
// clear messages with a non-zero exit (never a crash, never a partial
// output file) for everything that can be wrong on the command line.
#include <string>

#include "app_support.h"

namespace {

using namespace smear::apptest;

const char kDrawing[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="400" viewBox="0 0 100 100">
  <rect id="near" x="40" y="40" width="20" height="20" fill="#ff0000"/>
  <rect id="far" x="85" y="85" width="10" height="10" fill="#0000ff"/>
</svg>
)";

TEST_F(AppTest, ToolsListsTheOneGroupInOrder) {
    Result r = smearhost("tools");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("19 tools in 1 group\ngroup \" TL58 Scaling\": 19 tools\n  0 \" TL58 Scaling\"\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("  18 \" TL58 Warp Mesh\"\n      tooltip \" TL58 Warp Mesh\"\n      icon 16069 (32x32)\n"),
              std::string::npos);
    EXPECT_LT(r.out.find("\" TL58 Tint\""), r.out.find("\" TL58 Gradient\""));
}

TEST_F(AppTest, AboutPrintsTheAboutDialog) {
    Result r = smearhost("about");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("[About Dialog], closed by item 1\n  1 \"&OK\"\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"Version: 1.2.5\""), std::string::npos) << r.out;
}

TEST_F(AppTest, AMissingModuleIsAClearError) {
    expectFailure(smearhost("--module nowhere/Smearcraft.so tools"), "smearhost: cannot load the plug-in:");
}

TEST_F(AppTest, AModuleWithABadPropertyListIsRefused) {
    // The module and its resources beside it, with the PIPL's kind spoiled.
    fs::copy_file(fs::path(SMEAR_BUILD_DIR) / "Smearcraft.so", dir / "Smearcraft.so");
    std::string res = slurp(fs::path(SMEAR_BUILD_DIR) / "Smearcraft.res");
    const size_t kind = res.find("AEPS");  // 'SPEA' as a little-endian word
    ASSERT_NE(kind, std::string::npos);
    res.replace(kind, 4, "XXXX");
    write("Smearcraft.res", res);
    expectFailure(smearhost("--module Smearcraft.so about"), "cannot load the plug-in");
}

TEST_F(AppTest, MalformedSessionsAreRefusedBeforeAnythingRuns) {
    write("broken.json", "{\"steps\": [\"startup\",");
    expectFailure(smearhost("run broken.json"), "broken.json: not valid JSON");
    write("unknown.json", R"({"steps": ["startup", {"paint": 3}]})");
    Result r = smearhost("run unknown.json");
    expectFailure(r, "unknown.json: steps[1]: unknown step \"paint\"");
    EXPECT_EQ(r.out, "");
    expectFailure(smearhost("run missing.json"), "missing.json: cannot open the session file");
    expectFailure(smearhost("run"), "session is required", 2);  // a usage error
}

TEST_F(AppTest, ExampleSessionsRunAndSaveIntoAFolderOfTheirOwn) {
    // A copy, so that the folder made beside the session is the test's.
    fs::copy_file(fs::path(SMEAR_SOURCE_DIR) / "examples" / "sessions" / "rotate_stroke.json", dir / "rotate_stroke.json");
    Result r = smearhost("run rotate_stroke.json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("[5] save rotated.svg: 2 objects"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("smearhost: the session's files go to rotate_stroke.out"), std::string::npos) << r.err;
    const fs::path saved = dir / "rotate_stroke.out";
    EXPECT_NE(slurp(saved / "rotated.svg"), slurp(saved / "undone.svg"));
    EXPECT_NE(slurp(saved / "undone.svg").find("d=\"M50 50 L150 50 L150 150 L50 150 Z\""), std::string::npos);
    // Nothing lands in the working folder.
    EXPECT_FALSE(fs::exists(dir / "rotated.svg"));
    EXPECT_FALSE(fs::exists(dir / "undone.svg"));
}

TEST_F(AppTest, ASessionsSvgDocumentIsFoundBesideTheSession) {
    fs::create_directories(dir / "work");
    write("work/in.svg", kDrawing);
    write("work/s.json", R"({"document": "in.svg", "steps": [{"select": ["far"]}, {"save": "copy.svg"}]})");
    // Run from elsewhere, into a folder that does not exist yet: it is made.
    Result r = smearhost("run work/s.json --out-dir out/nested");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("document: 2 objects\n[1] select: 1 objects selected\n"), std::string::npos) << r.out;
    EXPECT_NE(slurp(dir / "out" / "nested" / "copy.svg").find("id=\"far\""), std::string::npos);
    // A file where the folder should be is no folder, and the system says why.
    write("taken", "");
    expectFailure(smearhost("run work/s.json --out-dir taken/sub"), "taken/sub: cannot make the folder: ");
}

TEST_F(AppTest, PaintWorksInTheFilesUserUnitsAndKeepsIds) {
    write("in.svg", kDrawing);
    Result r = smearhost("paint --tool ROTATE --in in.svg --out out.svg --from 45,50 --to 55,50 --steps 2 "
                         "--set rotateAngle=30 --set brushSizeHorizontal=5 --set brushSizeVertical=5 --seed 3");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("rotateAngle = 30"), std::string::npos) << r.out;
    // The brush (5 units around the stroke) reaches only the near square.
    EXPECT_NE(r.out.find("2 drags -> 0, up -> 0; 1 object changed\n"), std::string::npos) << r.out;
    const std::string out = slurp(dir / "out.svg");
    EXPECT_NE(out.find("id=\"near\""), std::string::npos) << out;
    EXPECT_NE(out.find("id=\"far\""), std::string::npos) << out;
    EXPECT_NE(out.find("viewBox=\"0 0 100 100\""), std::string::npos) << out;
}

TEST_F(AppTest, PaintErrorsLeaveNoOutputFile) {
    write("in.svg", kDrawing);
    const std::string common = " --in in.svg --out out.svg --from 10,10 --to 90,90";
    expectFailure(smearhost("paint --tool smudge" + common), "unknown tool 'smudge'; the tools are: scaling");
    expectFailure(smearhost("paint --tool rotate --set rotateAngel=3" + common), "no option named 'rotateAngel'");
    expectFailure(smearhost("paint --tool rotate --set rotateAngle=ten" + common), "rotateAngle needs a number, not 'ten'");
    expectFailure(smearhost("paint --tool rotate --set rotateAngle" + common), "expected field=value");
    expectFailure(smearhost("paint --tool stroke-weight --set strokeWeightMode=9" + common), "strokeWeightMode is a popup");
    expectFailure(smearhost("paint --tool rotate --in nowhere.svg --out out.svg --from 1,1 --to 2,2"), "nowhere.svg");
    expectFailure(smearhost("paint --tool rotate --in in.svg --out out.svg --from \"1;1\" --to 2,2"), "'1;1' is not a point X,Y");
    // Decimal numbers only, as in --path: strtod's hexadecimal and "nan" are not coordinates.
    for (const char *from : {"0x10,1", "1,nan", "inf,1"})
        expectFailure(smearhost(std::string("paint --tool rotate --in in.svg --out out.svg --from ") + from + " --to 2,2"),
                      "is not a point X,Y");
    expectFailure(smearhost("paint --tool rotate --in in.svg --out out.svg --from 1,1 --to 2,1e39"),
                  "--to: 1e39 is beyond the range of the drawing");
    expectFailure(smearhost("paint --tool rotate --in in.svg --out no/such/dir/out.svg --from 1,1 --to 2,2"),
                  "cannot write the file");
    EXPECT_FALSE(fs::exists(dir / "out.svg"));
    EXPECT_FALSE(fs::exists(dir / "out.svg.partial"));
}

// What the reader cannot keep reaches the user on the error stream, once
// per kind, under --quiet too; --strict makes it an error with no output.
// What the written file still holds (filters and masks, on elements painted
// or not) is not said to be lost.
TEST_F(AppTest, WhatTheReaderCannotKeepIsToldAndStrictRefusesIt) {
    write("lossy.svg",
          "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\">"
          "<filter id=\"f\"><feGaussianBlur stdDeviation=\"2\"/></filter><mask id=\"m\"/>"
          "<rect id=\"a\" width=\"10\" height=\"10\" filter=\"url(#f)\"/>"
          "<rect id=\"b\" x=\"80\" y=\"80\" width=\"10\" height=\"10\" filter=\"url(#f)\"/>"
          "<rect id=\"c\" x=\"40\" width=\"10\" height=\"10\" mask=\"url(#m)\"/>"
          "<ellipse id=\"d\" rx=\"-1\" ry=\"2\"/><ellipse id=\"e\" rx=\"-2\" ry=\"2\"/>"
          "<circle id=\"g\" r=\"0\"/></svg>");
    const std::string stroke = "paint --tool rotate --in lossy.svg --out out.svg --from 80,80 --to 95,95";
    for (const std::string quiet : {"", " --quiet"}) {
        const Result r = smearhost(stroke + quiet);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.err.find("smearhost: lossy.svg: 2 times: rx is negative; skipped (first: element <ellipse id=d>)"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("smearhost: lossy.svg: element <circle id=g>: r is zero; skipped"), std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find("filter"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("mask"), std::string::npos) << r.err;
        const std::string out = slurp(dir / "out.svg");
        EXPECT_NE(out.find("id=\"a\" width=\"10\" height=\"10\" filter=\"url(#f)\""), std::string::npos) << out;
        EXPECT_NE(out.find("mask=\"url(#m)\""), std::string::npos) << out;
        // The painted square keeps its filter too.
        const size_t b = out.find("id=\"b\"");
        ASSERT_NE(b, std::string::npos) << out;
        EXPECT_NE(out.substr(b, out.find('>', b) - b).find("filter=\"url(#f)\""), std::string::npos) << out;
        EXPECT_NE(out.find("data-smearcraft"), std::string::npos) << "the stroke reached b: " << out;
        fs::remove(dir / "out.svg");
    }
    expectFailure(smearhost(stroke + " --strict"), "lossy.svg: 3 parts of the drawing cannot be kept (--strict)");
    EXPECT_FALSE(fs::exists(dir / "out.svg"));

    write("lossy.json", R"({"document": "lossy.svg", "steps": ["startup", {"save": "saved.svg"}, "shutdown"]})");
    expectFailure(smearhost("run lossy.json --strict"), "cannot be kept (--strict)");
    EXPECT_FALSE(fs::exists(dir / "lossy.out" / "saved.svg"));
    const Result played = smearhost("run lossy.json");
    EXPECT_EQ(played.exitCode, 0) << played.err;
    EXPECT_NE(played.err.find("2 times: rx is negative"), std::string::npos) << played.err;
    EXPECT_TRUE(fs::exists(dir / "lossy.out" / "saved.svg"));

    // A drawing the reader keeps whole says nothing, strict or not.
    write("clean.svg", kDrawing);
    const Result clean = smearhost("paint --tool rotate --in clean.svg --out out.svg --from 1,1 --to 2,2 --strict");
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_EQ(clean.err, "");
}

TEST_F(AppTest, DialogDrawsTheOptionsDialogAsItOpens) {
    Result r = smearhost("dialog --tool 'Fill Channels' --set fillChannel2=33 --out fc.svg");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string svg = slurp(dir / "fc.svg");
    EXPECT_NE(svg.find("Fill (Channels)"), std::string::npos);
    EXPECT_NE(svg.find("33.00"), std::string::npos);  // the value set before it opened
    EXPECT_NE(r.out.find("options Fill Channels -> 'STOP'"), std::string::npos) << r.out;  // then cancelled
    expectFailure(smearhost("dialog --tool smudge --out x.svg"), "unknown tool 'smudge'");
    EXPECT_FALSE(fs::exists(dir / "x.svg"));
}

TEST_F(AppTest, DemoWritesAGalleryOfTheToolsThatWork) {
    Result r = smearhost("demo --out gallery");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string index = slurp(dir / "gallery" / "index.html");
    EXPECT_NE(index.find("<h2> TL58 Warp Mesh</h2>"), std::string::npos);
    EXPECT_NE(r.out.find("rotate: changed the drawing"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(dir / "gallery" / "before.svg"));
    EXPECT_TRUE(fs::exists(dir / "gallery" / "rotate.svg"));
    EXPECT_NE(index.find("src=\"rotate.svg\""), std::string::npos);
    EXPECT_NE(slurp(dir / "gallery" / "warp-mesh-dialog.svg").find("Warp Mesh"), std::string::npos);
    // The sample holds every kind of art the demo promises.
    const std::string before = slurp(dir / "gallery" / "before.svg");
    for (const char *id : {"id=\"ring\"", "id=\"mesh\"", "id=\"trio\"", "id=\"word\"", "id=\"tomato-box\""})
        EXPECT_NE(before.find(id), std::string::npos) << id;
}

}  // namespace
