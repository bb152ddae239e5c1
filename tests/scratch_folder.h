// A fresh folder per test under the build folder, for the tests of what
// is written where: its files by name, their text, and what is in it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace smear::scratch {

namespace fs = std::filesystem;

inline std::string slurp(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// `suite`: the folder under the build folder that holds one per test.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string &suite) {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(SMEAR_BUILD_DIR) / suite / info->name();
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

}  // namespace smear::scratch
