// The entry point: dispatch of every caller and selector, suite acquisition
// and release around each call, and the life of the Globals block.
#include <cstring>

#include "fixture.h"
#include "suites.h"

namespace smear {
namespace {

const char *const kSuiteNames[31] = {
    "SP Blocks Suite",      "SP Access Suite",       "AI Plugin Suite",        "AI MdMemory Suite",
    "AI Real Math Suite",   "AI Art Suite",          "AI User Suite",          "AI Path Suite",
    "AI Path Style Suite",  "AI Undo Suite",         "AI Matching Art Suite",  "AI Transform Art Suite",
    "AI Tag Suite",         "AI Random Suite",       "AI Blend Style Suite",   "AI Art Style Suite",
    "AI Swatch List Suite", "AI Shape Construction Suite", "AI Preference Suite", "AI Layer Suite",
    "AI Mesh Suite",        "AI Mesh Vertex Suite",  "AI Document Suite",      "AI Tool Suite",
    "ADM Basic Suite",      "ADM Dialog Suite",      "ADM Item Suite",         "ADM Icon Suite",
    "ADM Tracker Suite",    "ADM List Suite",        "ADM Entry Suite"};
const int kSuiteVersions[31] = {2, 3, 3, 1, 1, 9, 5, 4, 5, 4, 4, 1, 2, 3, 2, 3,
                                4, 4, 2, 9, 3, 1, 7, 9, 2, 3, 4, 1, 1, 1, 2};

class EntryTest : public PluginTest {
protected:
    // Acquisitions the plug-in made during `f`, with the check that it
    // released every one of them afterwards.
    template <class F> long acquisitionsDuring(F &&f) {
        long before = host.suites.acquisitions;
        f();
        EXPECT_EQ(host.suites.outstanding(), 0);
        EXPECT_EQ(AcquireDepth, 0);
        return host.suites.acquisitions - before;
    }
    std::vector<std::string> alerts() const {
        std::vector<std::string> out;
        for (const UiEvent &e : host.transcript)
            if (e.kind == "alert") out.push_back(e.title);
        return out;
    }
    const UiEvent *dialogNamed(const std::string &name) const {
        for (const UiEvent &e : host.transcript)
            if (e.kind == "dialog" && e.name == name) return &e;
        return nullptr;
    }
    static std::string textOf(const UiEvent &e, int item) {
        for (const auto &t : e.texts)
            if (t.first == item) return t.second;
        return "<no item " + std::to_string(item) + ">";
    }
};

TEST_F(EntryTest, SuiteTableRowsAreTheHostsSuitesInOrder) {
    for (int row = 0; row < kSuiteCount; ++row) {
        EXPECT_STREQ(SuiteTable[row].name, kSuiteNames[row]) << "row " << row + 1;
        EXPECT_EQ(SuiteTable[row].version, kSuiteVersions[row]) << SuiteTable[row].name;
        EXPECT_NE(host.suites.find(kSuiteNames[row], kSuiteVersions[row]), nullptr) << kSuiteNames[row];
    }
}

TEST_F(EntryTest, StartupAcquiresAllSuitesOnceAndReleasesThem) {
    host.log.enable(true);
    EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(startup(), 0); }), 31);
    // Acquired and released in table order, first row first both times.
    std::vector<std::string> acquired, released;
    for (const SuiteCall &c : host.log.calls()) {
        if (c.function == "AcquireSuite") acquired.push_back(c.args);
        if (c.function == "ReleaseSuite") released.push_back(c.args);
    }
    ASSERT_EQ(acquired.size(), 31u);
    ASSERT_EQ(released.size(), 31u);
    for (int row = 0; row < 31; ++row) {
        std::string expected = std::string(kSuiteNames[row]) + " " + std::to_string(kSuiteVersions[row]);
        EXPECT_EQ(acquired[size_t(row)], expected);
        EXPECT_EQ(released[size_t(row)], expected);
    }
    for (int row = 0; row < kSuiteCount; ++row) EXPECT_EQ(*SuiteTable[row].slot, nullptr);
}

TEST_F(EntryTest, StartupAllocatesGlobalsAndSetsTheOptionBit) {
    host.pluginOptions = 0x10;
    ASSERT_EQ(startup(), 0);
    ASSERT_NE(gGlobals, nullptr);
    EXPECT_EQ(host.blocks.count(gGlobals), 1u);
    EXPECT_EQ(host.blocks[gGlobals], sizeof(Globals));
    EXPECT_EQ(g().basicSuite, host.basicSuite());
    EXPECT_EQ(host.pluginOptions, 0x12);
    // No stroke yet: nothing for a stray drag or mouse up to touch.
    EXPECT_EQ(g().ArtList, nullptr);
    EXPECT_EQ(g().ArtCount, 0);
    EXPECT_EQ(g().OutlineArt, nullptr);
}

TEST_F(EntryTest, AccessMessagesNeitherAcquireNorTouchSlotsOrDepth) {
    ASSERT_EQ(startup(), 0);
    for (const char *selector : {"Unload", "Reload", "Anything"}) {
        EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(host.sendBasic("SP Access", selector), 0); }), 0) << selector;
    }
    // Nor inside another call: depth and every slot stay as they are.
    ASSERT_EQ(AcquireSuites(host.basicSuite()), 0);
    Globals *block = gGlobals;
    SPMessageData message{kSPValidSPMessageData, host.pluginRef(), block, host.basicSuite()};
    EXPECT_EQ(PluginMain("SP Access", "Something", &message), 0);
    EXPECT_EQ(AcquireDepth, 1);
    for (int row = 0; row < kSuiteCount; ++row) EXPECT_NE(*SuiteTable[row].slot, nullptr);
    ReleaseSuites(host.basicSuite());
}

TEST_F(EntryTest, UnloadHandsOverGlobalsAndReloadTakesThemBack) {
    ASSERT_EQ(startup(), 0);
    Globals *block = gGlobals;
    g().rotateAngle = 7.5f;
    g().brushShape = 4;
    g().trailCursor = 1;
    ASSERT_EQ(host.sendBasic("SP Access", "Unload"), 0);
    EXPECT_EQ(host.pluginGlobals, block);
    gGlobals = nullptr;  // the module's memory is gone while it is unloaded
    AcquireDepth = 3;    // and whatever the counter held with it
    ASSERT_EQ(host.sendBasic("SP Access", "Reload"), 0);
    EXPECT_EQ(gGlobals, block);
    EXPECT_EQ(AcquireDepth, 0);
    EXPECT_EQ(g().rotateAngle, 7.5f);
    EXPECT_EQ(g().brushShape, 4);
    EXPECT_EQ(g().trailCursor, 1);
    EXPECT_EQ(g().toolHandles[18], reinterpret_cast<AIToolHandle>(&host.palette[18]));
}

TEST_F(EntryTest, ShutdownFreesTheBlockAndClearsTheSlot) {
    ASSERT_EQ(startup(), 0);
    Globals *block = gGlobals;
    host.pluginGlobals = block;
    EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(shutdown(), 0); }), 32);  // the table and its own blocks suite
    EXPECT_EQ(gGlobals, nullptr);
    EXPECT_EQ(host.pluginGlobals, nullptr);
    EXPECT_TRUE(host.blocks.empty());
}

TEST_F(EntryTest, MessagesWithoutAGlobalsBlockDoNothing) {
    // Start-up never ran: no block, and nothing is read through it.
    for (const char *selector : {"AI Edit Options", "AI Track Cursor", "AI Mouse Down", "AI Mouse Drag", "AI Mouse Up"})
        EXPECT_EQ(host.sendTool(selector, nullptr, {1, 1}, 255, 0), 0) << selector;
    EXPECT_EQ(shutdown(), 0);
    EXPECT_TRUE(host.transcript.empty());
}

TEST_F(EntryTest, OtherSelectorsAndCallersStillAcquireAndRelease) {
    ASSERT_EQ(startup(), 0);
    EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(host.sendBasic("SP Interface", "Purge"), 0); }), 31);
    EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(host.sendBasic("AI Other Caller", "Startup"), 0); }), 31);
    for (const char *selector : {"AI Select", "AI Deselect", "AI Reselect"})
        EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(host.sendTool(selector, tool(0), {0, 0}, 0, 0), 0); }), 31);
    EXPECT_TRUE(host.transcript.empty());
}

TEST_F(EntryTest, AboutShowsTheAboutDialogAndReturnsZero) {
    ASSERT_EQ(startup(), 0);
    EXPECT_EQ(host.sendBasic("SP Interface", "About"), 0);
    const UiEvent *about = dialogNamed("About Dialog");
    ASSERT_NE(about, nullptr);
    EXPECT_NE(about->title.find("Smearcraft"), std::string::npos);
    EXPECT_EQ(about->result, 1);
    bool hasVersion = false;
    for (const auto &t : about->texts) hasVersion |= t.second == "Version: 1.2.5";
    EXPECT_TRUE(hasVersion);
}

TEST_F(EntryTest, TrackCursorLoadsAndSetsTheToolCursor) {
    ASSERT_EQ(startup(), 0);
    EXPECT_EQ(host.sendTool("AI Track Cursor", tool(5), {0, 0}, 0, 0), 0);
#ifndef _WIN32
    EXPECT_EQ(host.lastCursorId, 16001);
    EXPECT_TRUE(host.cursorSet);
#endif
}

TEST_F(EntryTest, NestedCallNeitherAcquiresNorReleases) {
    ASSERT_EQ(startup(), 0);
    ASSERT_EQ(AcquireSuites(host.basicSuite()), 0);  // the outer call
    long acquisitions = host.suites.acquisitions, releases = host.suites.releases;
    SPMessageData message{kSPValidSPMessageData, host.pluginRef(), gGlobals, host.basicSuite()};
    EXPECT_EQ(PluginMain("SP Interface", "Nested", &message), 0);
    EXPECT_EQ(host.suites.acquisitions, acquisitions);
    EXPECT_EQ(host.suites.releases, releases);
    EXPECT_EQ(AcquireDepth, 1);
    // The outer call can still use every suite.
    for (int row = 0; row < kSuiteCount; ++row) EXPECT_NE(*SuiteTable[row].slot, nullptr);
    ReleaseSuites(host.basicSuite());
    EXPECT_EQ(host.suites.outstanding(), 0);
}

TEST_F(EntryTest, AcquisitionStopsAtTheFirstMissingSuite) {
    host.faults.makeUnavailable("AI Art Suite");
    EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(startup(), kSuiteNotFoundErr); }), 5);
    EXPECT_EQ(gGlobals, nullptr);  // not dispatched
    // ADM Basic was not held yet: no alert, and no error dialog either.
    EXPECT_TRUE(host.transcript.empty());
}

TEST_F(EntryTest, MissingAdmSuiteAfterBasicShowsTheSuiteLoadingAlert) {
    host.faults.makeUnavailable("ADM Dialog Suite");
    EXPECT_EQ(acquisitionsDuring([&] { EXPECT_EQ(startup(), kSuiteNotFoundErr); }), 25);
    char expected[256];
    std::snprintf(expected, sizeof expected, "Suite Loading Error: %d, suite: ADM Dialog Suite, version: 3!",
                  int(kSuiteNotFoundErr));
    EXPECT_EQ(alerts(), std::vector<std::string>{expected});
    EXPECT_EQ(dialogNamed("Error Dialog"), nullptr);  // no dialog suite to show it with
}

TEST_F(EntryTest, MissingItemSuiteShowsTheAlertButNoDialogItCannotFill) {
    host.faults.makeUnavailable("ADM Item Suite");
    EXPECT_EQ(startup(), kSuiteNotFoundErr);
    EXPECT_EQ(alerts().size(), 1u);
    EXPECT_EQ(dialogNamed("Error Dialog"), nullptr);
}

TEST_F(EntryTest, MissingLaterSuiteShowsAlertThenErrorDialog) {
    host.faults.makeUnavailable("ADM Entry Suite");
    EXPECT_EQ(startup(), kSuiteNotFoundErr);
    EXPECT_EQ(alerts().size(), 1u);
    const UiEvent *error = dialogNamed("Error Dialog");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(textOf(*error, 3), "uS!S");  // 'S!Su' from its lowest byte up
}

TEST_F(EntryTest, FailedReleaseStopsTheWalkAndKeepsTheResult) {
    ASSERT_EQ(startup(), 0);
    host.faults.failNthCallOf("SP Basic Suite", "ReleaseSuite", 3, kBadParameterErr);
    EXPECT_EQ(host.sendBasic("SP Interface", "Purge"), 0);
    EXPECT_EQ(AcquireDepth, 0);
    // Rows 1 and 2 released; row 3 onwards still held, their slots filled.
    EXPECT_EQ(sSPBlocks, nullptr);
    EXPECT_EQ(sSPAccess, nullptr);
    EXPECT_NE(sAIPlugin, nullptr);
    EXPECT_NE(sADMEntry, nullptr);
    EXPECT_EQ(host.suites.outstanding(), 29);
    // Tidy up by hand so the fixture's own check holds.
    ASSERT_EQ(AcquireSuites(host.basicSuite()), 0);  // depth 0 again: acquires all once more
    AcquireDepth = 1;
    for (int row = 2; row < kSuiteCount; ++row) host.basicSuite()->ReleaseSuite(SuiteTable[row].name, SuiteTable[row].version);
    ReleaseSuites(host.basicSuite());
}

}  // namespace
}  // namespace smear
