// Replays one whole session with the n-th suite call failing, for n = 1, 2,
// 3 ... until a run meets no fault. Every run must end without a crash, with
// every acquisition released, with drags returning 0, and with each failure
// reaching the host (and the user, where the error dialog can be shown).
#include <cstring>

#include "brush_support.h"
#include "dialog_manager.h"
#include "suites.h"

namespace smear {
namespace {

struct SweepRun {
    std::vector<SPErr> results;
    std::vector<SPErr> dragResults;
    bool errorDialogShown = false;
    SPErr shutdownResult = 0;
};

void resetModuleState() {
    // A fresh module image: no block, no nesting, no suites.
    gGlobals = nullptr;
    AcquireDepth = 0;
    for (int row = 0; row < kSuiteCount; ++row) *SuiteTable[row].slot = nullptr;
}

const SPErr kInjected = -108;

SweepRun runSession(Host &host) {
    SweepRun run;
    auto tool = [&](int k) { return gGlobals ? gGlobals->toolHandles[k] : nullptr; };
    auto record = [&](SPErr result) {
        run.results.push_back(result);
        // Whatever failed, nothing stays acquired, unless the failure was a
        // release itself (the walk stops there by design).
        if (host.faults.firedAt() != "SP Basic Suite/ReleaseSuite") {
            EXPECT_EQ(host.suites.outstanding(), 0);
        }
        EXPECT_EQ(AcquireDepth, 0);
    };
    record(host.sendBasic("SP Interface", "Startup"));
    record(host.sendTool("AI Track Cursor", tool(2), {0, 0}, 0, 0));
    host.dialogs->queue({DialogAction::type(30, "5"), DialogAction::press(1)});
    record(host.sendTool("AI Edit Options", tool(2), {0, 0}, 0, 0));
    for (int k : {0, 3, 5}) {
        record(host.sendTool("AI Mouse Down", tool(k), {0, 0}, 200, 0));
        for (int step = 0; step < 3; ++step) {
            bool firedBefore = host.faults.fired();
            SPErr r = host.sendTool("AI Mouse Drag", tool(k), {AIReal(step), 1}, 200, step == 1 ? 0x20 : 0);
            // The step itself never fails; only the acquisition before it can.
            bool acquisitionFailed = !firedBefore && host.faults.fired() &&
                                     host.faults.firedAt() == "SP Basic Suite/AcquireSuite";
            if (!acquisitionFailed) run.dragResults.push_back(r);
            record(r);
        }
        record(host.sendTool("AI Mouse Up", tool(k), {2, 1}, 200, 0));
    }
    record(host.sendBasic("SP Interface", "About"));
    record(host.sendBasic("SP Access", "Unload"));
    record(host.sendBasic("SP Access", "Reload"));
    run.shutdownResult = host.sendBasic("SP Interface", "Shutdown");
    record(run.shutdownResult);
    for (const UiEvent &e : host.transcript) run.errorDialogShown |= e.name == "Error Dialog";
    return run;
}

TEST(FaultSweep, EveryFailingCallIsSurvivedAndReported) {
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(readResFile(std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", resources, error)) << error;
    long runs = 0;
    for (long n = 1; n < 20000; ++n) {
        resetModuleState();
        Host host;
        ASSERT_TRUE(host.attachLinked(&PluginMain, resources, error));
        Document &doc = host.document();
        addRect(doc, -10, -10, 10, 10);
        Art *compound = addCompound(doc);
        addRect(doc, -5, -5, 5, 5, true, compound);
        addRect(doc, 100, 100, 120, 120);
        host.faults.failNthCall(n, kInjected);

        SweepRun run = runSession(host);
        ++runs;
        for (SPErr r : run.dragResults) EXPECT_EQ(r, 0) << "n=" << n;
        bool failed = false;
        for (SPErr r : run.results) {
            EXPECT_TRUE(r == 0 || r == kInjected) << "n=" << n << " result " << r;
            failed |= r != 0;
        }
        // A failure the user could be told of was shown, unless the fault hit
        // the very calls the error dialog itself needs.
        const std::string &at = host.faults.firedAt();
        bool reportingPath = at.rfind("ADM ", 0) == 0 || at.rfind("AI User Suite", 0) == 0 ||
                             at == "SP Basic Suite/AcquireSuite";
        if (failed && !reportingPath) {
            EXPECT_TRUE(run.errorDialogShown) << "n=" << n << " at " << at;
        }
        if (run.shutdownResult == 0 && gGlobals == nullptr) {
            EXPECT_TRUE(host.blocks.empty()) << "n=" << n;
        }
        if (!host.faults.fired()) break;
        if (HasFailure()) {
            ADD_FAILURE() << "stopping the sweep at n=" << n << " (" << at << ")";
            break;
        }
    }
    EXPECT_GT(runs, 100);  // the session makes hundreds of suite calls
    resetModuleState();
}

}  // namespace
}  // namespace smear
