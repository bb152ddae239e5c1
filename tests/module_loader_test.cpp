// The host's loading of the plug-in module: the property list decides
// whether and through which entry point the module is used.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "byte_reader.h"
#include "host.h"
#include "module_loader.h"
#include "res_builder.h"

#ifdef _WIN32
#include <windows.h>
#else
extern "C" void *LoadCursorA(void *instance, const char *name);
extern "C" void *SetCursor(void *cursor);
#endif

namespace smear {
namespace {

namespace fs = std::filesystem;
using restest::expectedPipl;

#ifdef _WIN32
const char *const kModuleName = "Smearcraft.aip";
#else
const char *const kModuleName = "Smearcraft.so";
#endif

std::string builtModule() { return std::string(SMEAR_BUILD_DIR) + "/" + kModuleName; }

// Bytes of the property list with one 32-bit field replaced.
std::vector<uint8_t> piplWith(size_t offset, uint32_t value) {
    std::vector<uint8_t> bytes = expectedPipl();
    for (int i = 0; i < 4; ++i) bytes[offset + size_t(i)] = uint8_t(value >> (8 * i));
    return bytes;
}

TEST(PropertyList, NamesTheEntryPoint) {
    std::string entry, error;
    ASSERT_TRUE(parsePipl(expectedPipl(), entry, error)) << error;
    EXPECT_EQ(entry, "PluginMain");
}

TEST(PropertyList, RefusesWhatIsNotAPluginOfThisInterface) {
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
        const char *mentions;
    };
    std::vector<uint8_t> badPrefix = expectedPipl();
    badPrefix[0] = 2;
    std::vector<uint8_t> noEntry = expectedPipl();
    noEntry.resize(50);
    noEntry[6] = 2;  // two properties: kind and ivrs
    std::vector<uint8_t> unterminated = expectedPipl();
    unterminated[76] = 'x';
    unterminated[77] = 'y';
    std::vector<uint8_t> emptyName = expectedPipl();
    emptyName[66] = 0;
    const Case cases[] = {
        {"prefix", badPrefix, "prefix"},
        {"list version", piplWith(2, 1), "version"},
        {"kind", piplWith(26, 0x46494C4C), "kind"},  // 'FILL'
        {"interface version", piplWith(46, 3), "interface version 3"},
        {"missing wx86", noEntry, "wx86"},
        {"unterminated entry name", unterminated, "cut off"},
        {"empty entry name", emptyName, "empty"},
    };
    for (const Case &c : cases) {
        std::string entry = "unchanged", error;
        EXPECT_FALSE(parsePipl(c.bytes, entry, error)) << c.what;
        EXPECT_NE(error.find(c.mentions), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(entry, "unchanged") << c.what;
    }
}

TEST(PropertyList, RefusesEveryTruncation) {
    // All but the trailer byte carries meaning.
    for (size_t n = 0; n + 1 < expectedPipl().size(); ++n) {
        std::vector<uint8_t> cut(expectedPipl().begin(), expectedPipl().begin() + long(n));
        std::string entry, error;
        EXPECT_FALSE(parsePipl(cut, entry, error)) << n;
    }
}

TEST(PropertyList, IgnoresOtherVendorsProperties) {
    std::vector<uint8_t> bytes = expectedPipl();
    bytes[6] = 4;  // a fourth property, from someone else, after the trailer's place
    bytes.pop_back();
    for (const char *word : {"RDNV", "dnik"}) bytes.insert(bytes.end(), word, word + 4);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 4, 0, 0, 0, 'X', 'X', 'X', 'X'});
    std::string entry, error;
    ASSERT_TRUE(parsePipl(bytes, entry, error)) << error;
    EXPECT_EQ(entry, "PluginMain");
}

TEST(ModulePaths, ResourcesLieBesideTheModule) {
    EXPECT_EQ(resourcePathFor("build/Smearcraft.so"), "build/Smearcraft.res");
    EXPECT_EQ(resourcePathFor("/a.b/Smearcraft"), "/a.b/Smearcraft.res");
    EXPECT_EQ(resourcePathFor("Smearcraft.aip"), "Smearcraft.res");
}

// A folder of its own for modules made up by a test.
class ScratchModules : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("smear-loader-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A copy of the built module, with `res` as the resources beside it.
    std::string moduleWithResources(const std::vector<restest::ResRecord> &res) {
        fs::path module = dir_ / kModuleName;
        fs::copy_file(builtModule(), module, fs::copy_options::overwrite_existing);
        restest::writeFile(resourcePathFor(module.string()), restest::resFile(res));
        return module.string();
    }

    fs::path dir_;
};

TEST_F(ScratchModules, MissingFileIsRefused) {
    std::string error;
    std::string path = (dir_ / "NoSuchModule.so").string();
    EXPECT_EQ(PluginModule::open(path, error), nullptr);
    EXPECT_NE(error.find(path), std::string::npos) << error;
}

#ifndef _WIN32
TEST_F(ScratchModules, ModuleWithoutAPropertyListIsRefused) {
    std::string path = moduleWithResources({{"#6", 1004, {0, 0}}});
    std::string error;
    EXPECT_EQ(PluginModule::open(path, error), nullptr);
    EXPECT_NE(error.find("PIPL"), std::string::npos) << error;
}

TEST_F(ScratchModules, ModuleWithoutResourcesIsRefused) {
    fs::path module = dir_ / kModuleName;
    fs::copy_file(builtModule(), module);
    std::string error;
    EXPECT_EQ(PluginModule::open(module.string(), error), nullptr);
    EXPECT_NE(error.find("resources"), std::string::npos) << error;
}

TEST_F(ScratchModules, ModuleOfAnotherKindIsRefused) {
    std::string path = moduleWithResources({{"PIPL", 16000, piplWith(26, 0x46494C4C)}});
    std::string error;
    EXPECT_EQ(PluginModule::open(path, error), nullptr);
    EXPECT_NE(error.find("'FILL'"), std::string::npos) << error;
}

TEST_F(ScratchModules, EntryPointTheModuleLacksIsRefused) {
    std::vector<uint8_t> pipl = expectedPipl();
    const char name[] = "PluginMane";  // same length, not exported
    std::copy(name, name + 10, pipl.begin() + 66);
    std::string path = moduleWithResources({{"PIPL", 16000, pipl}});
    std::string error;
    EXPECT_EQ(PluginModule::open(path, error), nullptr);
    EXPECT_NE(error.find("PluginMane"), std::string::npos) << error;
}
#else
TEST_F(ScratchModules, ModuleWithoutAPropertyListIsRefused) {
    // A PE module with no property list: this test program itself.
    char self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    std::string error;
    EXPECT_EQ(PluginModule::open(self, error), nullptr);
    EXPECT_FALSE(error.empty());
}
#endif

TEST(PluginModule, LoadsTheBuiltModuleThroughItsPropertyList) {
    std::string error;
    auto module = PluginModule::open(builtModule(), error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_NE(module->entry(), nullptr);
    EXPECT_EQ(module->path(), builtModule());
    ASSERT_NE(module->resources().find("PIPL", 16000), nullptr);
    EXPECT_EQ(*module->resources().find("PIPL", 16000), expectedPipl());
    EXPECT_TRUE(module->resources().dialog(16137).has_value());
#ifdef _WIN32
    EXPECT_EQ(reinterpret_cast<void *>(module->entry()),
              reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(module->instanceHandle()), "PluginMain")));
#else
    EXPECT_EQ(module->instanceHandle(), &module->resources());
#endif
}

#ifndef _WIN32
TEST(PlatformCursor, LoadsCursorGroupsOfTheModuleAndRecordsTheCursorSet) {
    Host host;
    std::string error;
    auto module = PluginModule::open(builtModule(), error);
    ASSERT_NE(module, nullptr) << error;
    void *instance = module->instanceHandle();

    EXPECT_EQ(LoadCursorA(instance, reinterpret_cast<const char *>(uintptr_t(16002))), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<const char *>(uintptr_t(16001))), nullptr);
    EXPECT_EQ(LoadCursorA(instance, "16001"), nullptr) << "names by text are not resource numbers";
    EXPECT_EQ(host.lastCursorId, 0);

    void *cursor = LoadCursorA(instance, reinterpret_cast<const char *>(uintptr_t(16001)));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(host.lastCursorId, 16001);
    EXPECT_EQ(LoadCursorA(instance, reinterpret_cast<const char *>(uintptr_t(16001))), cursor);

    SetCursor(nullptr);
    EXPECT_FALSE(host.cursorSet);
    EXPECT_EQ(SetCursor(cursor), nullptr);
    EXPECT_TRUE(host.cursorSet);
    EXPECT_EQ(SetCursor(nullptr), cursor) << "returns the cursor it replaces";
}
#endif

#ifdef _WIN32
TEST(PlatformCursor, WindowsLoadsTheModulesCursorAndIcons) {
    std::string error;
    auto module = PluginModule::open(builtModule(), error);
    ASSERT_NE(module, nullptr) << error;
    auto instance = static_cast<HINSTANCE>(module->instanceHandle());
    EXPECT_NE(LoadCursorA(instance, MAKEINTRESOURCEA(16001)), nullptr);
    EXPECT_EQ(LoadCursorA(instance, MAKEINTRESOURCEA(16002)), nullptr);
    for (int id = 16051; id <= 16069; ++id) EXPECT_NE(LoadIconA(instance, MAKEINTRESOURCEA(id)), nullptr) << id;
}
#endif

}  // namespace
}  // namespace smear
