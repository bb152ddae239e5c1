// Running the smearhost program as a user does, for the tests of its
// command line: a fresh folder per test, the exit code, both streams.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace smear::apptest {

namespace fs = std::filesystem;

struct Result {
    int exitCode = -1;
    bool crashed = false;
    std::string out, err;
};

inline std::string slurp(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(SMEAR_BUILD_DIR) / "app_test" / info->test_suite_name() / info->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }

    Result smearhost(const std::string &args) {
        Result r;
        const std::string cmd = "cd '" + dir.string() + "' && '" + std::string(SMEAR_BUILD_DIR) + "/smearhost' " + args +
                                " >stdout.txt 2>stderr.txt";
        const int status = std::system(cmd.c_str());
        r.crashed = !WIFEXITED(status);
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(dir / "stdout.txt");
        r.err = slurp(dir / "stderr.txt");
        return r;
    }

    void write(const std::string &name, const std::string &text) { std::ofstream(dir / name, std::ios::binary) << text; }

    // A failure as the user must see it: a message, exit code 1, no crash.
    void expectFailure(const Result &r, const std::string &message, int exitCode = 1) {
        EXPECT_FALSE(r.crashed);
        EXPECT_EQ(r.exitCode, exitCode) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << "stderr: " << r.err;
    }

    fs::path dir;
};

}  // namespace smear::apptest
