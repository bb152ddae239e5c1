// What every writer of the host may replace: a regular file that is not
// read-only, or a new name, reached through links that stay links. Anything
// else is refused with the path and what it is, and left as it was. And the
// one rule for the names of the files sessions and the studio save.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "save_folder.h"
#include "scratch_folder.h"
#include "session_files.h"

namespace {

namespace fs = std::filesystem;
using namespace smear;

using smear::scratch::slurp;

class WriteTargets : public ::testing::Test, public smear::scratch::ScratchFolder {
protected:
    WriteTargets() : ScratchFolder("write_targets") {}
    // A refused write: false, the path and `what` in the message, and the
    // folder as it was.
    void expectRefused(const std::string &name, const std::string &what) {
        const std::vector<std::string> before = listing();
        std::string error;
        EXPECT_FALSE(writeFileAtomically(at(name), "<svg/>", error)) << name;
        EXPECT_NE(error.find(at(name) + ": cannot write the file: " + what), std::string::npos) << error;
        EXPECT_EQ(listing(), before) << name;
    }
};

TEST_F(WriteTargets, AReadOnlyFileIsRefusedAndKept) {
    put("kept.svg", "mine");
    fs::permissions(dir / "kept.svg", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Root may write anything; the mode bits still say no.
    expectRefused("kept.svg", "it is read-only");
    EXPECT_EQ(slurp(dir / "kept.svg"), "mine");
    fs::permissions(dir / "kept.svg", fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(WriteTargets, StandardOutputIsADash) {
    EXPECT_TRUE(isStandardOutput("-"));
    EXPECT_FALSE(isStandardOutput("./-"));
    ::testing::internal::CaptureStdout();
    std::string error;
    const bool ok = writeOutput("-", "<svg/>", error);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "<svg/>");
    EXPECT_TRUE(ok) << error;
    EXPECT_TRUE(listing().empty());
}

TEST_F(WriteTargets, SameFileComparesFilesAndPlacesNotSpellings) {
    put("a.svg", "a");
    put("b.svg", "b");
    fs::create_directory(dir / "sub");
    EXPECT_TRUE(sameFile(at("a.svg"), at("sub/../a.svg")));
    EXPECT_FALSE(sameFile(at("a.svg"), at("b.svg")));
    // Names not made yet are compared as the places they name.
    EXPECT_TRUE(sameFile(at("new.svg"), at("sub/../new.svg")));
    EXPECT_FALSE(sameFile(at("new.svg"), at("sub/new.svg")));
#ifndef _WIN32
    fs::create_hard_link(dir / "a.svg", dir / "again.svg");
    EXPECT_TRUE(sameFile(at("a.svg"), at("again.svg")));
    fs::create_symlink("a.svg", dir / "link.svg");
    EXPECT_TRUE(sameFile(at("link.svg"), at("a.svg")));
    fs::create_symlink("sub/later.svg", dir / "dangling.svg");
    EXPECT_TRUE(sameFile(at("dangling.svg"), at("sub/later.svg")));
#endif
}

TEST_F(WriteTargets, SaveNamesArePlainVisibleNamesWithTheirExtension) {
    std::string error;
    for (const std::string good : {"drawing.svg", "Drawing 2.SVG", "caf\xC3\xA9.svg", "a.b.svg", "nullish.svg"})
        EXPECT_TRUE(checkSaveName(good, ".svg", error)) << good << ": " << error;
    const std::vector<std::pair<std::string, std::string>> bad = {
        {".bashrc", "does not end in .svg"},
        {"drawing", "does not end in .svg"},
        {"drawing.svg.json", "does not end in .svg"},
        {".svg", "does not end in .svg"},
        {".hidden.svg", "starts with a dot"},
        {" spaced.svg", "starts with a space"},
        {"sub/a.svg", "names a folder"},
        {"sub\\a.svg", "names a folder"},
        {"two\nlines.svg", "holds U+000A"},
        {"tab\t.svg", "holds U+0009"},
        {"evil\xE2\x80\xAEgvs.svg", "holds U+202E"},
        {"zero\xE2\x80\x8Bwidth.svg", "holds U+200B"},
        {"bom\xEF\xBB\xBF.svg", "holds U+FEFF"},
        {"c1\xC2\x85.svg", "holds U+0085"},
        {"\xFF.svg", "not valid UTF-8"},
        {"\xC0\xAF.svg", "not valid UTF-8"},  // "/" written long
        {"\xED\xA0\x80.svg", "not valid UTF-8"},  // a lone surrogate
        {"cut\xE2\x80.svg", "not valid UTF-8"},
        {"a:b.svg", "holds ':'"},
        {"a*.svg", "holds '*'"},
        {"NUL.svg", "a device"},
        {"com1.svg", "a device"},
        {std::string(260, 'x') + ".svg", "longer than 255"},
    };
    for (const auto &[name, why] : bad) {
        error.clear();
        EXPECT_FALSE(checkSaveName(name, ".svg", error)) << name;
        EXPECT_NE(error.find(why), std::string::npos) << name << ": " << error;
        EXPECT_NE(error.find("must be a plain file name ending in .svg"), std::string::npos) << error;
    }
    // The message shows what the name really holds, not what it makes a
    // terminal show.
    checkSaveName("evil\xE2\x80\xAEgvs.svg", ".svg", error);
    EXPECT_EQ(error.find("\xE2\x80\xAE"), std::string::npos) << error;
    EXPECT_NE(error.find("'evil<U+202E>gvs.svg'"), std::string::npos) << error;
    checkSaveName("two\nlines.svg", ".svg", error);
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_TRUE(checkSaveName("s.json", ".json", error)) << error;
}

TEST_F(WriteTargets, ASessionsOwnFolderIsBesideItAndNamedAfterIt) {
    EXPECT_EQ(fs::path(sessionOutputFolder("work/walk.json")), fs::path("work/walk.out"));
    EXPECT_EQ(fs::path(sessionOutputFolder("walk")), fs::path("walk.out"));
    EXPECT_EQ(fs::path(sessionOutputFolder("a/b.session.JSON")), fs::path("a/b.session.out"));
    std::string error;
    ASSERT_TRUE(makeSessionOutputFolder(at("walk.out"), error)) << error;
    EXPECT_TRUE(fs::is_directory(dir / "walk.out"));
    EXPECT_TRUE(makeSessionOutputFolder(at("walk.out"), error)) << error;  // played again
    put("taken.out", "");
    EXPECT_FALSE(makeSessionOutputFolder(at("taken.out"), error));
#ifndef _WIN32
    fs::create_directory(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", dir / "pointed.out");
    EXPECT_FALSE(makeSessionOutputFolder(at("pointed.out"), error));
    EXPECT_NE(error.find("a link of that name is in the way"), std::string::npos) << error;
#endif
}

// A save refused for what stands at its name is refused before either file
// of the studio's pair is written.
TEST_F(WriteTargets, ASaveOntoAFolderOrAKeptFileIsRefusedBeforeWriting) {
    fs::create_directory(dir / "s.json");
    put("drawing.svg", "mine");
    SaveFolder folder{dir.string(), {{at("drawing.svg"), "the drawing the studio opened"}}};
    std::string path, error;
    EXPECT_EQ(savePath(folder, "s.json", ".json", path, error), SaveRefusal::Target);
    EXPECT_NE(error.find("s.json: cannot write the file: it is a folder"), std::string::npos) << error;
    EXPECT_EQ(savePath(folder, "drawing.svg", ".svg", path, error), SaveRefusal::Target);
    EXPECT_NE(error.find("drawing.svg is the drawing the studio opened"), std::string::npos) << error;
    EXPECT_EQ(listing(), (std::vector<std::string>{"drawing.svg", "s.json"}));
}

#ifndef _WIN32

TEST_F(WriteTargets, FifosAndSocketsAreRefusedAndNeverOpened) {
    ASSERT_EQ(::mkfifo(at("pipe.svg").c_str(), 0666), 0);
    // Opening the FIFO to write would block with no reader: a refusal that
    // returns at all has not opened it.
    expectRefused("pipe.svg", "it is a FIFO (named pipe)");
    EXPECT_EQ(fs::status(dir / "pipe.svg").type(), fs::file_type::fifo);

    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = at("sock.svg");
    if (socketPath.size() >= sizeof address.sun_path) {
        ::close(fd);
        GTEST_SKIP() << "the build folder's path is too long for a socket";
    }
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    expectRefused("sock.svg", "it is a socket");
    EXPECT_EQ(fs::status(dir / "sock.svg").type(), fs::file_type::socket);
    ::close(fd);
}

// Devices are only ever asked about: a write that went wrong here would
// replace one of the system's.
TEST_F(WriteTargets, DevicesAreRefusedWithWhatTheyAre) {
    std::string resolved, error;
    EXPECT_FALSE(checkWriteTarget("/dev/null", resolved, error));
    EXPECT_EQ(error, "/dev/null: cannot write the file: it is a character device");
    fs::create_symlink("/dev/null", dir / "quiet.svg");
    EXPECT_FALSE(checkWriteTarget(at("quiet.svg"), resolved, error));
    EXPECT_EQ(error, at("quiet.svg") + ": cannot write the file: it is a link to /dev/null, which is a character device");
}

TEST_F(WriteTargets, ALinkIsFollowedAndMustLeadToWhatMayBeWritten) {
    put("real.svg", "old");
    fs::create_directory(dir / "sub");
    fs::create_symlink("real.svg", dir / "one.svg");
    fs::create_symlink("one.svg", dir / "two.svg");  // a link to a link
    std::string error;
    ASSERT_TRUE(writeFileAtomically(at("two.svg"), "<svg/>", error)) << error;
    EXPECT_EQ(slurp(dir / "real.svg"), "<svg/>");
    EXPECT_TRUE(fs::is_symlink(dir / "one.svg"));
    EXPECT_TRUE(fs::is_symlink(dir / "two.svg"));

    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0666), 0);
    fs::create_symlink("pipe", dir / "to-pipe.svg");
    expectRefused("to-pipe.svg", "it is a link to " + at("pipe") + ", which is a FIFO (named pipe)");
    fs::create_symlink("sub", dir / "to-folder.svg");
    expectRefused("to-folder.svg", "it is a link to " + at("sub") + ", which is a folder");
    fs::create_symlink("loop-b.svg", dir / "loop-a.svg");
    fs::create_symlink("loop-a.svg", dir / "loop-b.svg");
    expectRefused("loop-a.svg", "too many links one after another");
}

// A link to a name not made yet is followed like any other: the file is
// made where it leads, as editors do, and the link then leads to it.
TEST_F(WriteTargets, ADanglingLinkMakesTheFileItLeadsTo) {
    fs::create_directory(dir / "sub");
    fs::create_symlink("sub/later.svg", dir / "soon.svg");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(at("soon.svg"), "<svg/>", error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "soon.svg"));
    EXPECT_EQ(slurp(dir / "sub" / "later.svg"), "<svg/>");
    // Into a folder that does not exist: the system's reason, nothing made.
    fs::create_symlink("nowhere/x.svg", dir / "lost.svg");
    EXPECT_FALSE(writeFileAtomically(at("lost.svg"), "<svg/>", error));
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

TEST_F(WriteTargets, AReplacedFileKeepsItsPermissions) {
    put("private.svg", "old");
    fs::permissions(dir / "private.svg", fs::perms::owner_read | fs::perms::owner_write);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(at("private.svg"), "<svg/>", error)) << error;
    EXPECT_EQ(fs::status(dir / "private.svg").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// Where the user's rights matter: a folder not theirs, and a file of another
// user's that is writable by its owner only. Played in a child process that
// runs as an unprivileged user (nobody, when the tests run as root).
class WriteTargetsUnprivileged : public WriteTargets {
protected:
    void SetUp() override {
        // Only root can make what another user may not write.
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to make files and folders of another user's";
        if (::getpwnam("nobody") == nullptr) GTEST_SKIP() << "no unprivileged user to run as";
        // Under /tmp, which every user may pass through, unlike the build folder.
        char name[] = "/tmp/smear-targets-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        shared = name;
        ::chmod(name, 0755);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!shared.empty()) fs::remove_all(shared, ignored);
    }
    // In the child: become the unprivileged user, then run `check`.
    template <class Check> [[noreturn]] static void asUnprivileged(Check check) {
        const passwd *nobody = ::getpwnam("nobody");
        if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) std::_Exit(3);
        std::_Exit(check() ? 0 : 1);
    }
    fs::path shared;
};

TEST_F(WriteTargetsUnprivileged, AFolderNotTheUsersGetsTheSystemsReasonAndNothing) {
    const fs::path target = shared / "out.svg";
    EXPECT_EXIT(asUnprivileged([&] {
                    std::string error;
                    return !writeFileAtomically(target.string(), "<svg/>", error) &&
                           error.find(std::strerror(EACCES)) != std::string::npos;
                }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(fs::is_empty(shared));
}

TEST_F(WriteTargetsUnprivileged, AnotherUsersFileIsReadOnlyEvenInAWritableFolder) {
    // The folder lets anyone rename over its files (no sticky bit): only the
    // file's own rights keep it.
    ::chmod(shared.c_str(), 0777);
    const fs::path target = shared / "theirs.svg";
    std::ofstream(target) << "theirs";
    ::chmod(target.c_str(), 0644);
    EXPECT_EXIT(asUnprivileged([&] {
                    std::string error;
                    return !writeFileAtomically(target.string(), "<svg/>", error) &&
                           error.find("it is read-only") != std::string::npos;
                }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(slurp(target), "theirs");
    EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), 1);
}

#endif

}  // namespace
