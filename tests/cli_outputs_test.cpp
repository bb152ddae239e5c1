// Where the commands write: never over the drawing they read unless told
// to paint in place, never one output over another, standard output for
// "-", and every target that is no file refused before anything is read.
// Sessions write into a folder of their own.
#include <string>

#include <sys/stat.h>

#include "app_support.h"

namespace {

using namespace smear::apptest;

const char kDrawing[] = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100">
  <rect id="sq" x="40" y="40" width="20" height="20" fill="#ff0000"/>
</svg>
)";

class CliOutputs : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        write("in.svg", kDrawing);
    }
    Result paint(const std::string &outputs) {
        return smearhost("paint --tool rotate --in in.svg --from 40,50 --to 60,50 --set rotateAngle=30 " + outputs);
    }
    // The drawing read, as it was before the command.
    void expectInputKept() { EXPECT_EQ(slurp(dir / "in.svg"), kDrawing); }
};

TEST_F(CliOutputs, PaintNeverWritesOverItsInputUnlessInPlace) {
    for (const std::string same : {"in.svg", "./in.svg", "sub/../in.svg"}) {
        fs::create_directories(dir / "sub");
        const Result r = paint("--out " + same);
        expectFailure(r, "--out " + same + " names the drawing read (in.svg); to paint the drawing in place, give "
                             "--in-place instead of --out");
        EXPECT_EQ(r.out, "") << "refused before anything was played";
        expectInputKept();
    }
    fs::create_symlink("in.svg", dir / "alias.svg");
    expectFailure(paint("--out alias.svg"), "names the drawing read");
    expectInputKept();

    const Result r = paint("--in-place --quiet");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(slurp(dir / "in.svg"), kDrawing);
    EXPECT_NE(slurp(dir / "in.svg").find("id=\"sq\""), std::string::npos);
    expectFailure(paint("--in-place --out other.svg"), "give --out or --in-place, not both", 2);
    expectFailure(smearhost("paint --tool rotate --in in.svg --from 1,1 --to 2,2"), "--out is required", 2);
    EXPECT_FALSE(fs::exists(dir / "other.svg"));
}

TEST_F(CliOutputs, APictureNamesNeitherTheInputNorTheDrawingWritten) {
    expectFailure(paint("--out out.svg --png in.svg"), "--png in.svg names the drawing read (in.svg)");
    expectFailure(paint("--in-place --png in.svg"), "--png in.svg names the drawing read");
    expectFailure(paint("--out out.svg --png ./out.svg"), "--out and --png name the same file (./out.svg)");
    expectFailure(paint("--out - --png -"), "--out and --png name the same standard output (-)");
    expectFailure(smearhost("convert --in in.svg --out in.svg"), "--out in.svg names the drawing read (in.svg)");
    expectFailure(smearhost("convert --in in.svg --png ./in.svg"), "--png ./in.svg names the drawing read");
    expectInputKept();
    EXPECT_FALSE(fs::exists(dir / "out.svg"));
}

TEST_F(CliOutputs, ADashWritesTheDrawingAloneToStandardOutput) {
    Result r = paint("--out -");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The report would spoil the drawing: nothing but the drawing is there.
    EXPECT_EQ(r.out.rfind("<svg", 0), 0u) << r.out.substr(0, 200);
    EXPECT_NE(r.out.find("id=\"sq\""), std::string::npos);
    EXPECT_EQ(r.out.find("drags ->"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "-"));

    r = smearhost("convert --in in.svg --out -");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, kDrawing);  // read and not painted: the file as it was

    r = smearhost("dialog --tool rotate --out -");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("<svg"), std::string::npos) << r.out.substr(0, 200);
    EXPECT_EQ(r.out.substr(r.out.size() - 7), "</svg>\n");
    EXPECT_EQ(r.out.find("'STOP'"), std::string::npos) << "no report";
    EXPECT_FALSE(fs::exists(dir / "-"));
}

TEST_F(CliOutputs, EveryWriterRefusesTargetsThatAreNoFileBeforeReading) {
    ASSERT_EQ(::mkfifo((dir / "pipe.svg").c_str(), 0666), 0);
    write("locked.svg", "mine");
    fs::permissions(dir / "locked.svg", fs::perms::owner_read);
    fs::create_directory(dir / "folder.png");
    const struct {
        std::string command, message;
    } cases[] = {
        {"paint --tool rotate --in in.svg --from 1,1 --to 2,2 --out pipe.svg", "pipe.svg: cannot write the file: it is a FIFO (named pipe)"},
        {"paint --tool rotate --in in.svg --from 1,1 --to 2,2 --out locked.svg", "locked.svg: cannot write the file: it is read-only"},
        {"paint --tool rotate --in in.svg --from 1,1 --to 2,2 --out ok.svg --png folder.png", "folder.png: cannot write the file: it is a folder"},
        {"convert --in in.svg --out pipe.svg", "it is a FIFO"},
        {"dialog --tool rotate --out locked.svg", "it is read-only"},
    };
    for (const auto &c : cases) {
        const Result r = smearhost(c.command);
        expectFailure(r, c.message);
        EXPECT_EQ(r.out, "") << c.command;
    }
    EXPECT_EQ(fs::status(dir / "pipe.svg").type(), fs::file_type::fifo);
    EXPECT_EQ(slurp(dir / "locked.svg"), "mine");
    EXPECT_TRUE(fs::is_empty(dir / "folder.png"));
    // Nothing was written before the refusal of the second output.
    EXPECT_FALSE(fs::exists(dir / "ok.svg"));
    fs::permissions(dir / "locked.svg", fs::perms::owner_write, fs::perm_options::add);
}

// The attack of a shared session: a dot file in the working folder.
TEST_F(CliOutputs, ASharedSessionCannotTouchTheWorkingFolder) {
    write(".bashrc", "mine");
    write("payload.json", R"({"document": "in.svg", "steps": ["startup", {"save": ".bashrc"}, "shutdown"]})");
    expectFailure(smearhost("run payload.json"), "step 2 (save): '.bashrc' must be a plain file name ending in .svg");
    write("self.json", R"({"document": "in.svg", "steps": [{"save": "in.svg"}]})");
    expectFailure(smearhost("run self.json --out-dir ."), "in.svg is the session's drawing; a save never replaces it");
    write("me.svg", R"({"document": "in.svg", "steps": [{"save": "me.svg"}]})");
    expectFailure(smearhost("run me.svg --out-dir ."), "me.svg is the session file");
    EXPECT_EQ(slurp(dir / ".bashrc"), "mine");
    expectInputKept();
    EXPECT_EQ(slurp(dir / "me.svg"), R"({"document": "in.svg", "steps": [{"save": "me.svg"}]})");

    // Saved where it may: into the folder beside it named after it.
    write("walk.json", R"({"document": "in.svg", "steps": [{"save": "copy.svg"}]})");
    const Result r = smearhost("run walk.json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(slurp(dir / "walk.out" / "copy.svg"), kDrawing);
    EXPECT_FALSE(fs::exists(dir / "copy.svg"));
    // A session that saves nothing makes no folder.
    write("look.json", R"({"document": "in.svg", "steps": [{"select": "all"}]})");
    ASSERT_EQ(smearhost("run look.json").exitCode, 0);
    EXPECT_FALSE(fs::exists(dir / "look.out"));
}

}  // namespace
