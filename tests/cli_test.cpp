// The command line as a person uses it: choosing what to paint, strokes
// along a path with pressure, the options a tool takes, messages that speak
// of what the user wrote, convert and pictures, progress on a terminal.
#include <string>

#include "app_support.h"

namespace {

using namespace smear::apptest;

// Four objects a stroke across the middle reaches, with the classes and
// element types the selectors choose by.
const char kGarden[] = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100">
  <rect id="paper" width="100" height="100" fill="#ffffff"/>
  <g id="leaves" class="green leaf"><path id="a" class="vein" d="M40 40 L60 40 L60 60 Z" fill="#00ff00"/></g>
  <rect id="b" class="leaf" x="45" y="45" width="10" height="10" fill="#ff0000"/>
  <circle id="c" cx="50" cy="50" r="5" fill="#0000ff"/>
</svg>
)";

// Each element's markup as written: still in the output only when no
// stroke reached it (a stroke tags or changes what it reaches).
const char *const kMarkup[][2] = {
    {"paper", R"(<rect id="paper" width="100" height="100" fill="#ffffff"/>)"},
    {"a", R"(<path id="a" class="vein" d="M40 40 L60 40 L60 60 Z" fill="#00ff00"/>)"},
    {"b", R"(<rect id="b" class="leaf" x="45" y="45" width="10" height="10" fill="#ff0000"/>)"},
    {"c", R"(<circle id="c" cx="50" cy="50" r="5" fill="#0000ff"/>)"},
};

class CliTest : public AppTest {
protected:
    // The ids whose markup the painted file no longer holds as written.
    std::string touched(const std::string &selection) {
        write("garden.svg", kGarden);
        fs::remove(dir / "out.svg");
        const Result r = smearhost("paint --tool rotate --in garden.svg --out out.svg --from 40,50 --to 60,50 "
                                   "--set rotateAngle=30 --quiet " + selection);
        EXPECT_EQ(r.exitCode, 0) << selection << ": " << r.err;
        const std::string out = slurp(dir / "out.svg");
        std::string ids;
        for (const auto &m : kMarkup)
            if (out.find(m[1]) == std::string::npos) ids += std::string(ids.empty() ? "" : " ") + m[0];
        return ids;
    }

    Result paint(const std::string &args) {
        write("garden.svg", kGarden);
        return smearhost("paint --tool rotate --in garden.svg --out out.svg " + args);
    }
};

TEST_F(CliTest, PaintChangesOnlyWhatIsSelected) {
    EXPECT_EQ(touched(""), "paper a b c");  // everything, as before
    EXPECT_EQ(touched("--select b"), "b");
    EXPECT_EQ(touched("--select a,c"), "a c");
    EXPECT_EQ(touched("--select a --select c"), "a c");
    EXPECT_EQ(touched("--select leaves"), "a");  // a group with its contents
    EXPECT_EQ(touched("--select-by .leaf"), "a b");
    EXPECT_EQ(touched("--select-by circle"), "c");
    EXPECT_EQ(touched("--select-by path.vein"), "a");
    EXPECT_EQ(touched("--select-by '#paper'"), "paper");
    EXPECT_EQ(touched("--select b --select-by circle"), "b c");
}

TEST_F(CliTest, ASelectionThatFindsNothingIsAnErrorAndWritesNothing) {
    Result r = paint("--from 40,50 --to 60,50 --select nope --quiet");
    expectFailure(r, "smearhost: no object with id 'nope'\n");
    r = paint("--from 40,50 --to 60,50 --select-by .nothing");
    expectFailure(r, "no element of the drawing that holds art matches '.nothing'");
    r = paint("--from 40,50 --to 60,50 --select-by 'g > path'");
    expectFailure(r, "'g > path' is not a selector this command knows");
    expectFailure(paint("--from 40,50 --to 60,50 --select a,,b"), "--select 'a,,b': an empty id");
    expectFailure(paint("--from 40,50 --to 60,50 --select leafs"), "no object with id 'leafs' (did you mean leaves?)");
    EXPECT_EQ(r.err.find("step "), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "out.svg"));
}

TEST_F(CliTest, TheReadmeExampleRotatesTheLeavesAndNotThePaper) {
    const std::string leaves = std::string(SMEAR_SOURCE_DIR) + "/examples/leaves.svg";
    const Result r = smearhost("paint --tool rotate --in '" + leaves + "' --out leaves.svg --select leaves "
                               "--from 40,60 --to 300,200 --steps 12 --set rotateAngle=8");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string in = slurp(leaves), out = slurp(dir / "leaves.svg");
    const std::string paper = R"(<rect id="paper" width="400" height="300" fill="#fbf7ee"/>)";
    ASSERT_NE(in.find(paper), std::string::npos);
    EXPECT_NE(out.find(paper), std::string::npos);
    EXPECT_NE(in, out);
}

TEST_F(CliTest, PressureAlongAPathCountsOnlyWhenAnOptionUsesIt) {
    const std::string on = " --set pressureModification=on --set brushSizeHorizontal=100 --set brushSizeVertical=100";
    Result light = paint("--path '40,50,0 50,50,0 60,50,0' --set rotateAngle=30 --quiet" + on);
    ASSERT_EQ(light.exitCode, 0) << light.err;
    EXPECT_EQ(light.err, "");  // pressure counts: nothing to warn of
    const std::string lightOut = slurp(dir / "out.svg");
    Result full = paint("--path '40,50,1 50,50,1 60,50,1' --set rotateAngle=30 --quiet" + on);
    ASSERT_EQ(full.exitCode, 0) << full.err;
    EXPECT_NE(lightOut, slurp(dir / "out.svg"));

    // Without such an option the pressure changes nothing, and the user is
    // told so, under --quiet too.
    for (const std::string stroke : {"--path '40,50,0 60,50,0'", "--path '40,50,1 60,50,1'",
                                      "--from 40,50 --to 60,50 --pressure 10"}) {
        const Result r = paint(stroke + " --set rotateAngle=30 --quiet");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.err.find("smearhost: warning: the pen pressure has no effect: neither pressureModification"),
                  std::string::npos)
            << stroke << ": " << r.err;
    }
    const std::string a = (paint("--path '40,50,0 60,50,0' --set rotateAngle=30"), slurp(dir / "out.svg"));
    EXPECT_EQ(a, (paint("--path '40,50,1 60,50,1' --set rotateAngle=30"), slurp(dir / "out.svg")));
    // Blend mode has no strength to scale: only the brush size can use it.
    Result blend = smearhost("paint --tool blend-mode --in garden.svg --out out.svg --path '40,50,0.5 60,50,1' "
                             "--set pressureModification=on --quiet");
    EXPECT_NE(blend.err.find("warning: the pen pressure has no effect: the Blend mode tool's change has no strength"),
              std::string::npos)
        << blend.err;
    blend = smearhost("paint --tool 'Blend Mode' --in garden.svg --out out.svg --path '40,50,0.5 60,50,1' "
                      "--set sizeFromPressure=on --quiet");
    EXPECT_EQ(blend.err, "");
    // A pressure profile along SVG path data: a stroke that presses harder
    // turns the leaves further than one at an even light pressure.
    const std::string curve = "--path 'M40 50 C45 40 55 60 60 50' --steps 4 --set rotateAngle=30 --quiet" + on;
    Result rising = paint(curve + " --pressures '0 1'");
    ASSERT_EQ(rising.exitCode, 0) << rising.err;
    EXPECT_EQ(rising.err, "");
    const std::string risingOut = slurp(dir / "out.svg");
    ASSERT_EQ(paint(curve + " --pressures 0").exitCode, 0);
    EXPECT_NE(risingOut, slurp(dir / "out.svg"));
    // Given two ways, or not a pressure: refused, nothing written.
    for (const std::string &bad : {curve + " --pressures '0 1' --pressure 10",
                                  std::string("--path '40,50,1 60,50' --pressures 0.5"), curve + " --pressures '0 2'"}) {
        fs::remove(dir / "out.svg");
        const Result r = paint(bad);
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_NE(r.err.find("pressure"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.svg")) << bad;
    }
    EXPECT_NE(paint("--from 40,50 --to 60,50 --pressures '0 1' --set rotateAngle=30").err.find(
                  "warning: the pen pressure has no effect"),
              std::string::npos);
    // sizeFromPressure counts too; no pressure given, nothing said.
    EXPECT_EQ(paint("--path '40,50,0.5 60,50' --set sizeFromPressure=1").err, "");
    EXPECT_EQ(paint("--from 40,50 --to 60,50").err, "");
}

TEST_F(CliTest, AStrokeFollowsPointsPathDataOrAFile) {
    Result r = paint("--path '40,50 45,50;50,50'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("stroke rotate: down -> 0, 2 drags -> 0"), std::string::npos) << r.out;
    r = paint("--path 'M40 50 C45 40 55 60 60 50' --steps 7");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("stroke rotate: down -> 0, 7 drags -> 0"), std::string::npos) << r.out;
    write("stroke.txt", "40,50,0.2\n45,50,0.4\n50,50,0.6\n55,50,0.8\n");
    r = paint("--path-file stroke.txt --set pressureModification=on");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("3 drags -> 0"), std::string::npos) << r.out;
    r = paint("--path '40,50 60,50' --steps 5");
    EXPECT_NE(r.err.find("warning: --steps has no effect on a list of points"), std::string::npos) << r.err;
}

TEST_F(CliTest, AStrokeThatCannotBeReadIsRefusedWithWhy) {
    expectFailure(paint("--path '40,50 oops'"), "smearhost: --path: point 2 'oops' is not X,Y or X,Y,PRESSURE");
    expectFailure(paint("--path '40,50,2 45,50'"), "point 1 '40,50,2': the pressure must lie between 0 and 1");
    expectFailure(paint("--path '40,50'"), "a stroke needs at least two points");
    expectFailure(paint("--path 'M0 0 L10 0 M20 0 L30 0'"), "must be one subpath");
    expectFailure(paint("--path 'M0 0 L10'"), "--path: the path data 'M0 0 L10'");
    expectFailure(paint("--path-file nowhere.txt"), "nowhere.txt");
    // Mistakes in the command line itself, as CLI11's own.
    expectFailure(paint("--from 1,1 --to 2,2 --path '1,1 2,2'"), "give the stroke one way", 2);
    expectFailure(paint(""), "give the stroke: --from X,Y --to X,Y, --path or --path-file", 2);
    expectFailure(paint("--from 1,1"), "--from needs --to", 2);
    EXPECT_FALSE(fs::exists(dir / "out.svg"));
}

TEST_F(CliTest, OptionsListsWhatSetTakes) {
    Result r = smearhost("options --tool Rotate");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("  rotateAngle: \"Rotate\", number from -360 to 360 (2 decimals); default 1\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  rotateRandom: \"Rotate [R]\", check box; default off\n"), std::string::npos);
    EXPECT_NE(r.out.find("  brushSlowdown: \"Brush slowdown\", whole number from 0 to 200; default 0\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find("transparencyMode"), std::string::npos);  // another tool's
    r = smearhost("options --tool transparency");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const size_t mode = r.out.find("  transparencyMode: ");
    ASSERT_NE(mode, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("popup of 6 entries; default", mode), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("      5 \"", mode), std::string::npos) << r.out;
    expectFailure(smearhost("options --tool rotat"), "unknown tool 'rotat' (did you mean rotate?)");
}

TEST_F(CliTest, MistakesAreToldInTheUsersWordsWithTheirReasonEvenWhenQuiet) {
    const std::string stroke = " --from 40,50 --to 60,50 --quiet";
    Result r = paint("--set brushSizeHorizontal=1e2" + stroke);
    expectFailure(r, "smearhost: brushSizeHorizontal needs a number in decimal digits (such as 100 or 2.5), not "
                     "'1e2': the options dialog reads no exponents");
    EXPECT_EQ(r.err.find("step "), std::string::npos) << r.err;
    expectFailure(paint("--set rotateAngel=3" + stroke), "no option named 'rotateAngel' (did you mean rotateAngle?)");
    expectFailure(paint("--set transparencyMode=1" + stroke), "transparencyMode is not an option of the rotate tool");
    expectFailure(smearhost("paint --tool rotat --in garden.svg --out out.svg" + stroke),
                  "unknown tool 'rotat' (did you mean rotate?)");
    // A value the dialog changes says what it made of it.
    expectFailure(smearhost("paint --tool styles --in garden.svg --out out.svg --set styleIndex=5" + stroke),
                  "smearhost: styleIndex=5 is outside what the dialog allows here");
    // The system's reason for a file that cannot be written.
    expectFailure(smearhost("paint --tool rotate --in garden.svg --out no/such/out.svg" + stroke),
                  "no/such/out.svg: cannot write the file: No such file or directory");
    EXPECT_FALSE(fs::exists(dir / "out.svg"));

    // Option names in any case.
    r = paint("--set ROTATEangle=30 --set BrushSizeHorizontal=5" + std::string(" --from 40,50 --to 60,50"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("  rotateAngle = 30\n  brushSizeHorizontal = 5\n"), std::string::npos) << r.out;
}

TEST_F(CliTest, VersionIsThePlugInsVersion) {
    const Result r = smearhost("--version");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("smearhost 1.2.5", 0), 0u) << r.out;
}

TEST_F(CliTest, ConvertWritesWhatTheReaderKeepsWithoutPainting) {
    write("garden.svg", kGarden);
    Result r = smearhost("convert --in garden.svg --out copy.svg");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("document: 5 objects"), std::string::npos) << r.out;
    const std::string copy = slurp(dir / "copy.svg");
    for (const auto &m : kMarkup) EXPECT_NE(copy.find(m[1]), std::string::npos) << m[0];
    expectFailure(smearhost("convert --in garden.svg"), "convert writes --out FILE.svg, --png FILE.png or both");
    write("broken.svg", "<svg");
    expectFailure(smearhost("convert --in broken.svg --out b.svg"), "broken.svg");
    EXPECT_FALSE(fs::exists(dir / "b.svg"));
    // The module is not needed to convert.
    EXPECT_EQ(smearhost("--module nowhere.so convert --in garden.svg --out copy2.svg --quiet").exitCode, 0);
}

TEST_F(CliTest, PngDrawsTheResultWithLibrsvg) {
    write("garden.svg", kGarden);
    Result r = smearhost("convert --in garden.svg --png garden.png");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string png = slurp(dir / "garden.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x64\0\0\0\x64", 8));  // 100 x 100, the viewBox
    EXPECT_FALSE(fs::exists(dir / "garden.png.svg.partial"));
    r = paint("--from 40,50 --to 60,50 --png painted.png --quiet");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(slurp(dir / "painted.png").substr(0, 4), "\x89PNG");
    expectFailure(paint("--from 40,50 --to 60,50 --png no/such/p.png --quiet"),
                  "no/such/p.png: cannot write the file: No such file or directory");
}

TEST_F(CliTest, PngDrawsPhysicalUnitsAtTheReadersNinetySixToTheInch) {
    // The same square, once in millimetres and once in the pixels the reader
    // turns them into (a painted object is written back so): the same picture.
    write("mm.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="40mm" height="20mm">)"
                    R"(<rect x="10mm" y="5mm" width="10mm" height="10mm"/></svg>)");
    write("px.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="151.1811" height="75.59055">)"
                    R"(<path d="M37.795276 18.897638h37.795276v37.795276h-37.795276z"/></svg>)");
    ASSERT_EQ(smearhost("convert --in mm.svg --png mm.png --quiet").exitCode, 0);
    ASSERT_EQ(smearhost("convert --in px.svg --png px.png --quiet").exitCode, 0);
    const std::string mm = slurp(dir / "mm.png");
    ASSERT_GT(mm.size(), 24u);
    EXPECT_EQ(mm.substr(16, 8), std::string("\0\0\0\x98\0\0\0\x4c", 8));  // 152 x 76
    EXPECT_TRUE(mm == slurp(dir / "px.png")) << "the two pictures differ";
}

TEST_F(CliTest, AValueTheDialogRoundsIsTakenAndTheRoundingSaid) {
    const std::string stroke = " --from 40,50 --to 60,50";
    Result r = paint("--set rotateAngle=5.555" + stroke);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("smearhost: warning: rotateAngle=5.555 was rounded to 5.56: the dialog keeps 2 decimals"),
              std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("outside"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("  rotateAngle = 5.56\n"), std::string::npos) << r.out;
    // Said under --quiet too: the value painted with is not the one typed.
    r = paint("--set rotateAngle=-0.004" + stroke + " --quiet");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("rotateAngle=-0.004 was rounded to 0"), std::string::npos) << r.err;
    // A value the dialog keeps as typed says nothing.
    r = paint("--set rotateAngle=5.5" + stroke + " --quiet");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, AnIndexBeyondTheDrawingsSwatchesOrStylesSaysWhatTheDrawingHas) {
    const std::string stroke = " --in garden.svg --out out.svg --from 40,50 --to 60,50 --quiet";
    write("garden.svg", kGarden);
    expectFailure(smearhost("paint --tool swatches --set swatchIndex=2" + stroke),
                  "smearhost: swatchIndex=2 is outside what the dialog allows here: it made it 0 (the drawing has "
                  "no swatches)");
    expectFailure(smearhost("paint --tool styles --set styleIndex=3" + stroke), "(the drawing has no named graphic styles)");
    EXPECT_FALSE(fs::exists(dir / "out.svg"));
}

TEST_F(CliTest, AStrokeThatChangesNothingSaysWhy) {
    write("garden.svg", kGarden);
    const auto why = [&](const std::string &args) {
        const Result r = smearhost("paint --in garden.svg --out out.svg --quiet " + args);
        EXPECT_EQ(r.exitCode, 0) << args << ": " << r.err;
        return r.err;
    };
    EXPECT_NE(why("--tool swatches --from 40,50 --to 60,50")
                  .find("smearhost: warning: the stroke changed nothing: the drawing has no swatches"),
              std::string::npos);
    EXPECT_NE(why("--tool styles --from 40,50 --to 60,50").find("the drawing has no named graphic styles"),
              std::string::npos);
    EXPECT_NE(why("--tool warp-mesh --from 40,50 --to 60,50").find("no gradient mesh is selected"), std::string::npos);
    // Far from the art: the brush is 5 units either way, so nothing it reaches.
    EXPECT_NE(why("--tool rotate --set brushSizeHorizontal=5 --set brushSizeVertical=5 --from 0,95 --to 5,95 "
                  "--select c")
                  .find("no selected object lies under the brush (brushSizeHorizontal 5, brushSizeVertical 5)"),
              std::string::npos);
    EXPECT_NE(why("--tool transparency --set pressureModification=on --pressure 0 --from 40,50 --to 60,50")
                  .find("the pen pressure was 0 all along"),
              std::string::npos);
    // A stroke that changes something says nothing of the kind.
    EXPECT_EQ(why("--tool rotate --from 40,50 --to 60,50"), "");
}

TEST_F(CliTest, ASessionsStrokeOnNothingSelectedSaysWhichStepAndWhy) {
    write("garden.svg", kGarden);
    write("s.json", R"({"document": "garden.svg", "steps": ["startup", {"select": "none"},
        {"stroke": {"tool": "rotate", "points": [[40, 50], [60, 50]]}}, "shutdown"]})");
    const Result r = smearhost("run s.json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("smearhost: warning: step 3 (stroke): the stroke changed nothing: nothing is selected"),
              std::string::npos) << r.err;
}

TEST_F(CliTest, ModuleMayComeBeforeOrAfterTheCommand) {
    write("garden.svg", kGarden);
    const std::string module = std::string(SMEAR_BUILD_DIR) + "/Smearcraft.so";
    EXPECT_EQ(smearhost("tools --module '" + module + "'").exitCode, 0);
    EXPECT_EQ(smearhost("--module '" + module + "' tools").exitCode, 0);
    // The module named after the command is the one loaded.
    expectFailure(smearhost("paint --tool rotate --in garden.svg --out out.svg --from 40,50 --to 60,50 "
                            "--module nowhere.so"),
                  "cannot load the plug-in");
    EXPECT_FALSE(fs::exists(dir / "out.svg"));
}

TEST_F(CliTest, CommandLineMistakesSaySmearhostAndWhatWasMeant) {
    write("garden.svg", kGarden);
    Result r = paint("--sett rotateAngle=5 --from 40,50 --to 60,50");
    expectFailure(r, "(did you mean --set?)", 2);
    EXPECT_EQ(r.err.rfind("smearhost: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("smearhost paint --help"), std::string::npos) << r.err;
    expectFailure(smearhost("pant --tool rotate"), "(did you mean paint?)", 2);
    expectFailure(smearhost("--modul x.so tools"), "(did you mean --module?)", 2);
    // A mistake with nothing near it is still said the same way, without a guess.
    r = smearhost("tools --zzzzzzzz");
    expectFailure(r, "smearhost: ", 2);
    EXPECT_EQ(r.err.find("did you mean"), std::string::npos) << r.err;
    // Help is no mistake.
    EXPECT_EQ(smearhost("paint --help").exitCode, 0);
}

TEST_F(CliTest, AnInstalledProgramFindsTheModuleInItsLibFolder) {
    // The Debian package's layout: bin/smearhost and lib/smearcraft/.
    fs::create_directories(dir / "root" / "bin");
    fs::create_directories(dir / "root" / "lib" / "smearcraft");
    const fs::path build = SMEAR_BUILD_DIR;
    fs::copy_file(build / "smearhost", dir / "root" / "bin" / "smearhost");
    const auto run = [&](const std::string &args) {
        Result r;
        const int status = std::system(("cd '" + dir.string() + "' && root/bin/smearhost " + args +
                                        " >stdout.txt 2>stderr.txt").c_str());
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(dir / "stdout.txt");
        r.err = slurp(dir / "stderr.txt");
        return r;
    };
    // Without it, the error names where it was looked for: beside the program.
    Result r = run("tools");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("root/bin/Smearcraft.so"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("then in ../lib/smearcraft/"), std::string::npos) << r.err;
    fs::copy_file(build / "Smearcraft.so", dir / "root" / "lib" / "smearcraft" / "Smearcraft.so");
    fs::copy_file(build / "Smearcraft.res", dir / "root" / "lib" / "smearcraft" / "Smearcraft.res");
    r = run("tools");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("19 tools in 1 group"), std::string::npos) << r.out;
}

TEST_F(CliTest, ProgressShowsOnATerminalOnly) {
    write("garden.svg", kGarden);
    const std::string paint = "'" + std::string(SMEAR_BUILD_DIR) +
                              "/smearhost' paint --tool rotate --in garden.svg --out out.svg --from 0,0 --to 100,100 "
                              "--steps 20000";
    // `script` gives the program a terminal and copies what it shows.
    const auto onATerminal = [&](const std::string &args) {
        const Result tty = smearhost("--version >/dev/null && (script -qec \"" + paint + args +
                                     "\" /dev/null </dev/null >shown.txt)");
        EXPECT_EQ(tty.exitCode, 0) << tty.err;
        return slurp(dir / "shown.txt");
    };
    const std::string shown = onATerminal("");
    EXPECT_NE(shown.find("smearhost: reading garden.svg ..."), std::string::npos) << shown;
    EXPECT_NE(shown.find("of 20000"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\r\033[K"), std::string::npos);  // and cleared
    // The report on the same terminal never runs into the progress line.
    EXPECT_NE(shown.find("\r\033[K[4] save out.svg: 5 objects\r\n"), std::string::npos) << shown;
    // --quiet means quiet.
    EXPECT_EQ(onATerminal(" --quiet"), "");
    // In a pipe: nothing.
    const Result piped = smearhost("paint --tool rotate --in garden.svg --out out.svg --from 0,0 --to 100,100 "
                                   "--steps 20000");
    ASSERT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.err, "");
}

}  // namespace
