// Writing output files: a new file beside the target renamed into place,
// never an existing file or a link followed, never a folder replaced, the
// system's reason on failure, and session saves kept inside their folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <csignal>
#endif

#include <nlohmann/json.hpp>

#include "fixture.h"
#include "scratch_folder.h"
#include "session.h"
#include "save_folder.h"
#include "session_files.h"

namespace {

namespace fs = std::filesystem;
using namespace smear;

using smear::scratch::slurp;

class SafeWriting : public ::testing::Test, public smear::scratch::ScratchFolder {
protected:
    SafeWriting() : ScratchFolder("safe_writing") {}
};

TEST_F(SafeWriting, ReplacesTheTargetAndLeavesAnOldPartialFileAlone) {
    put("out.svg", "old");
    put("out.svg.partial", "someone else's");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(at("out.svg"), "<svg/>", error)) << error;
    EXPECT_EQ(slurp(dir / "out.svg"), "<svg/>");
    EXPECT_EQ(slurp(dir / "out.svg.partial"), "someone else's");
    EXPECT_EQ(listing(), (std::vector<std::string>{"out.svg", "out.svg.partial"}));
}

TEST_F(SafeWriting, AFolderAtTheTargetIsRefusedAndKept) {
    fs::create_directory(dir / "out.svg");
    std::string error;
    EXPECT_FALSE(writeFileAtomically(at("out.svg"), "<svg/>", error));
    EXPECT_NE(error.find("cannot write the file: it is a folder"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(dir / "out.svg"));
    EXPECT_EQ(listing(), std::vector<std::string>{"out.svg"});
}

TEST_F(SafeWriting, AMissingFolderGivesTheSystemsReasonAndLeavesNothing) {
    std::string error;
    EXPECT_FALSE(writeFileAtomically(at("nowhere/out.svg"), "<svg/>", error));
    EXPECT_NE(error.find("nowhere/out.svg: cannot write the file: "), std::string::npos) << error;
#ifndef _WIN32
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
#endif
    EXPECT_TRUE(listing().empty());
}

#ifndef _WIN32
TEST_F(SafeWriting, TheTemporaryFileIsNeverALinkAndALinkedTargetStaysALink) {
    put("victim.txt", "precious");
    put("real.svg", "old");
    // A link where the old code put its temporary file, and one at the target.
    fs::create_symlink(dir / "victim.txt", dir / "out.svg.partial");
    fs::create_symlink("real.svg", dir / "linked.svg");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(at("out.svg"), "<svg/>", error)) << error;
    ASSERT_TRUE(writeFileAtomically(at("linked.svg"), "<svg id='b'/>", error)) << error;
    EXPECT_EQ(slurp(dir / "victim.txt"), "precious");
    EXPECT_EQ(slurp(dir / "out.svg"), "<svg/>");
    EXPECT_TRUE(fs::is_symlink(dir / "out.svg.partial"));
    // The link at the target is followed: what it leads to is written, and
    // the link itself is left as it was.
    EXPECT_TRUE(fs::is_symlink(dir / "linked.svg"));
    EXPECT_EQ(fs::read_symlink(dir / "linked.svg"), fs::path("real.svg"));
    EXPECT_EQ(slurp(dir / "real.svg"), "<svg id='b'/>");
    EXPECT_EQ(listing(), (std::vector<std::string>{"linked.svg", "out.svg", "out.svg.partial", "real.svg", "victim.txt"}));
}

// The disk running out half way through: a file size limit makes write()
// fail the same way, in a child process so the limit ends with it.
// Run in a child: a file size limit makes write() fail part way, and the
// file must not be left behind. Exits 0 when all went as it should.
[[noreturn]] void writePastTheLimit(const std::string &target, const fs::path &folder) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool ok = writeFileAtomically(target, std::string(100000, 'x'), error);
    const bool said = error.find(std::string(": cannot write the file: ") + std::strerror(EFBIG)) != std::string::npos;
    const bool empty = fs::directory_iterator(folder) == fs::directory_iterator();
    std::_Exit(!ok && said && empty ? 0 : 1);
}

TEST_F(SafeWriting, AWriteThatRunsOutOfRoomSaysWhyAndLeavesNoFile) {
    EXPECT_EXIT(writePastTheLimit(at("big.svg"), dir), ::testing::ExitedWithCode(0), "");
}
#endif

TEST_F(SafeWriting, SavesMustStayInsideTheOutputFolder) {
    const SaveFolder folder{dir.string(), {}};
    std::string path, error;
    EXPECT_EQ(savePath(folder, "a.svg", ".svg", path, error), SaveRefusal::None) << error;
    EXPECT_EQ(fs::path(path), dir / "a.svg");
    fs::create_directory(dir / "sub");
    for (const std::string &bad : std::vector<std::string>{"../x.svg", "sub/../../x.svg", "sub/a.svg", "",
                                                           (dir / "a.svg").string()}) {
        error.clear();
        EXPECT_EQ(savePath(folder, bad, ".svg", path, error), SaveRefusal::Name) << bad;
        EXPECT_NE(error.find("must be a plain file name ending in .svg"), std::string::npos) << bad << ": " << error;
    }
#ifndef _WIN32
    // A link in the folder that leads out of it is no way out, even to a
    // name not made yet; one that stays inside is.
    fs::create_directory(dir.parent_path() / "outside");
    fs::create_symlink(dir.parent_path() / "outside" / "x.svg", dir / "door.svg");
    EXPECT_EQ(savePath(folder, "door.svg", ".svg", path, error), SaveRefusal::Target);
    EXPECT_NE(error.find("a link there leads out of it"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir.parent_path() / "outside" / "x.svg"));
    fs::create_symlink("sub/x.svg", dir / "inner.svg");
    EXPECT_EQ(savePath(folder, "inner.svg", ".svg", path, error), SaveRefusal::None) << error;
#endif
}

class ConfinedSession : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(SMEAR_BUILD_DIR) / "safe_writing" / info->name();
        fs::remove_all(dir);
        fs::create_directories(dir / "out");
    }
    // Plays `steps` on a drawing read from out/in.svg, as a session file in
    // out/ would; `keep`: the session file the runner is told of.
    bool play(const std::string &steps, std::string &error, const std::string &keep = {}) {
        if (!fs::exists(dir / "out" / "in.svg"))
            std::ofstream(dir / "out" / "in.svg", std::ios::binary) << R"(<svg xmlns="http://www.w3.org/2000/svg"><rect id="sq" width="10" height="10"/></svg>)";
        Session s;
        const std::string text = R"({"document": "in.svg", "steps": )" + steps + "}";
        if (!parseSession(nlohmann::json::parse(text), s, error)) return false;
        s.baseDir = (dir / "out").string();
        SessionRunner runner(host, report);
        runner.outDir = (dir / "out").string();
        runner.confineSaves = true;
        if (!keep.empty()) runner.keepFiles.emplace_back(keep, "the session file");
        return runner.run(s, error);
    }
    bool save(const std::string &name, std::string &error) {
        return play("[{\"save\": " + nlohmann::json(name).dump() + "}]", error);
    }
    std::ostringstream report;
    fs::path dir;
};

TEST_F(ConfinedSession, ASaveThatLeavesTheFolderFailsTheStepAndWritesNothing) {
    std::string error;
    EXPECT_FALSE(save("../escaped.svg", error));
    EXPECT_NE(error.find("step 1 (save): '../escaped.svg' must be a plain file name ending in .svg"), std::string::npos)
        << error;
    EXPECT_FALSE(fs::exists(dir / "escaped.svg"));
    EXPECT_FALSE(save((dir / "abs.svg").string(), error));
    EXPECT_FALSE(fs::exists(dir / "abs.svg"));
    EXPECT_TRUE(save("kept.svg", error)) << error;
    EXPECT_NE(slurp(dir / "out" / "kept.svg").find("id=\"sq\""), std::string::npos);
}

// What a shared session tried: a dot file, a name without the extension of
// what is written, its own drawing and itself.
TEST_F(ConfinedSession, ASaveReplacesNeitherHiddenFilesNorTheSessionNorItsDrawing) {
    std::ofstream(dir / "out" / ".bashrc") << "mine";
    std::ofstream(dir / "out" / "notes") << "mine";
    std::ofstream(dir / "out" / "s.svg") << "{}";
    std::string error;
#ifndef _WIN32
    // The drawing is written back byte for byte when not painted: a second
    // name for it shows whether it was replaced.
    ASSERT_TRUE(save("first.svg", error)) << error;
    fs::create_hard_link(dir / "out" / "in.svg", dir / "out" / "in-again.svg");
#endif
    EXPECT_FALSE(save(".bashrc", error));
    EXPECT_NE(error.find("does not end in .svg"), std::string::npos) << error;
    EXPECT_FALSE(save("notes", error));
    EXPECT_FALSE(save("in.svg", error));
    EXPECT_NE(error.find("in.svg is the session's drawing; a save never replaces it"), std::string::npos) << error;
    EXPECT_FALSE(play(R"([{"save": "s.svg"}])", error, (dir / "out" / "s.svg").string()));
    EXPECT_NE(error.find("s.svg is the session file"), std::string::npos) << error;
    EXPECT_EQ(slurp(dir / "out" / ".bashrc"), "mine");
    EXPECT_EQ(slurp(dir / "out" / "notes"), "mine");
    EXPECT_EQ(slurp(dir / "out" / "s.svg"), "{}");
#ifndef _WIN32
    EXPECT_TRUE(fs::equivalent(dir / "out" / "in.svg", dir / "out" / "in-again.svg"));
#endif
}

// A dialog drawn as it opens is a save too, under the same rule.
TEST_F(ConfinedSession, ADialogPictureFollowsTheSameRule) {
    std::string error;
    fs::create_directory(dir / "out" / "sub");
    EXPECT_FALSE(play(R"(["startup", {"options": {"tool": "rotate", "actions": [{"escape": true}], "draw": "sub/d.svg"}}])",
                      error));
    EXPECT_NE(error.find("must be a plain file name ending in .svg"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(dir / "out" / "sub"));
}

}  // namespace
