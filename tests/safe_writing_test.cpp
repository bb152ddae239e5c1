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
#include "session.h"
#include "session_files.h"

namespace {

namespace fs = std::filesystem;
using namespace smear;

std::string slurp(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SafeWriting : public ::testing::Test {
protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(SMEAR_BUILD_DIR) / "safe_writing" / info->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    std::string at(const std::string &name) const { return (dir / name).string(); }
    void put(const std::string &name, const std::string &text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    // Everything in the folder, so a test sees any temporary file left over.
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir;
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
TEST_F(SafeWriting, LinksAreNeverWrittenThrough) {
    put("victim.txt", "precious");
    // A link where the old code put its temporary file, and one at the target.
    fs::create_symlink(dir / "victim.txt", dir / "out.svg.partial");
    fs::create_symlink(dir / "victim.txt", dir / "linked.svg");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(at("out.svg"), "<svg/>", error)) << error;
    ASSERT_TRUE(writeFileAtomically(at("linked.svg"), "<svg id='b'/>", error)) << error;
    EXPECT_EQ(slurp(dir / "victim.txt"), "precious");
    EXPECT_EQ(slurp(dir / "out.svg"), "<svg/>");
    EXPECT_TRUE(fs::is_symlink(dir / "out.svg.partial"));
    // The link at the target is replaced by the file, not followed.
    EXPECT_FALSE(fs::is_symlink(dir / "linked.svg"));
    EXPECT_EQ(slurp(dir / "linked.svg"), "<svg id='b'/>");
    EXPECT_EQ(listing(), (std::vector<std::string>{"linked.svg", "out.svg", "out.svg.partial", "victim.txt"}));
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

TEST_F(SafeWriting, SavePathsMustStayInsideTheOutputFolder) {
    std::string error;
    EXPECT_TRUE(pathInsideFolder(dir.string(), "a.svg", error)) << error;
    fs::create_directory(dir / "sub");
    EXPECT_TRUE(pathInsideFolder(dir.string(), "sub/a.svg", error)) << error;
    EXPECT_TRUE(pathInsideFolder(dir.string(), "sub/new/a.svg", error)) << error;
    for (const std::string &bad : std::vector<std::string>{"../x.svg", "sub/../../x.svg", "", (dir / "a.svg").string()}) {
        error.clear();
        EXPECT_FALSE(pathInsideFolder(dir.string(), bad, error)) << bad;
        EXPECT_NE(error.find("output folder"), std::string::npos) << bad << ": " << error;
    }
#ifndef _WIN32
    fs::create_directory(dir.parent_path() / "outside");
    fs::create_directory_symlink(dir.parent_path() / "outside", dir / "door");
    EXPECT_FALSE(pathInsideFolder(dir.string(), "door/x.svg", error));
    EXPECT_NE(error.find("a link leads out"), std::string::npos) << error;
    // A link that stays inside is no way out.
    fs::create_directory_symlink(dir / "sub", dir / "inner");
    EXPECT_TRUE(pathInsideFolder(dir.string(), "inner/x.svg", error)) << error;
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
    bool play(const std::string &savePath, std::string &error) {
        Session s;
        const std::string text = R"({"document": {"objects": [{"id": "sq", "rect": [0, 0, 10, 10]}]},
            "steps": [{"save": )" + nlohmann::json(savePath).dump() + "}]}";
        if (!parseSession(nlohmann::json::parse(text), s, error)) return false;
        SessionRunner runner(host, report);
        runner.outDir = (dir / "out").string();
        runner.confineSaves = true;
        return runner.run(s, error);
    }
    std::ostringstream report;
    fs::path dir;
};

TEST_F(ConfinedSession, ASaveThatLeavesTheFolderFailsTheStepAndWritesNothing) {
    std::string error;
    EXPECT_FALSE(play("../escaped.svg", error));
    EXPECT_NE(error.find("step 1 (save): ../escaped.svg: a saved file must stay inside the output folder"),
              std::string::npos)
        << error;
    EXPECT_FALSE(fs::exists(dir / "escaped.svg"));
    EXPECT_FALSE(play((dir / "abs.svg").string(), error));
    EXPECT_FALSE(fs::exists(dir / "abs.svg"));
    EXPECT_TRUE(play("kept.svg", error)) << error;
    EXPECT_NE(slurp(dir / "out" / "kept.svg").find("id=\"sq\""), std::string::npos);
}

}  // namespace
