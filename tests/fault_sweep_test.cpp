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

// The tools whose strokes a session plays, how many drags each, and the
// options a started plug-in gets before them.
struct SweepPlan {
    std::vector<int> tools;
    int drags = 3;
    void (*options)(Globals &g) = nullptr;
};

SweepRun runSession(Host &host, const SweepPlan &plan) {
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
    if (gGlobals && plan.options) plan.options(*gGlobals);
    for (int k : plan.tools) {
        record(host.sendTool("AI Mouse Down", tool(k), {0, 0}, 200, 0));
        for (int step = 0; step < plan.drags; ++step) {
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

// Plays `plan` with the n-th suite call failing, n = 1, 2 ... until a run
// meets no fault; `paint` gives each run's document what the tools work on.
void sweep(const SweepPlan &plan, void (*paint)(Document &doc, Art *plain, Art *member), long minimumRuns) {
    ResourceSet resources;
    std::string error;
    ASSERT_TRUE(readResFile(std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", resources, error)) << error;
    long runs = 0;
    for (long n = 1; n < 20000; ++n) {
        resetModuleState();
        Host host;
        ASSERT_TRUE(host.attachLinked(&PluginMain, resources, error));
        Document &doc = host.document();
        Art *plain = addRect(doc, -10, -10, 10, 10);
        Art *compound = addCompound(doc);
        Art *member = addRect(doc, -5, -5, 5, 5, true, compound);
        addRect(doc, 100, 100, 120, 120);
        if (paint) paint(doc, plain, member);
        host.faults.failNthCall(n, kInjected);

        SweepRun run = runSession(host, plan);
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
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "stopping the sweep at n=" << n << " (" << at << ")";
            break;
        }
    }
    EXPECT_GT(runs, minimumRuns);  // the session makes hundreds of suite calls
    resetModuleState();
}

TEST(FaultSweep, EveryFailingCallIsSurvivedAndReported) { sweep({{0, 3, 5}, 3, nullptr}, nullptr, 100); }

// The colour tools on every kind of paint, with swatches to take and add,
// named styles to apply and trail copies to make.
TEST(FaultSweep, ColourToolsSurviveEveryFailingCall) {
    SweepPlan plan;
    plan.tools = {kFillChannelsTool, kStylesTool, kBlendModeTool, kColorReducerTool,
                  kSwatchesTool,     kTintTool,   kGradientTool,  kPatternTool};
    plan.drags = 1;
    plan.options = [](Globals &g) {
        g.fillChannelsCreateSwatch = 1;
        g.colorReducerCreateSwatch = 1;
        g.styleMode = 3;
        g.styleFactorMode = 5;
        g.blendMode = 19;
        g.tintMode = 5;
        g.trailCursor = 1;
    };
    sweep(plan,
          [](Document &doc, Art *plain, Art *member) {
              AIColor gray{};
              gray.kind = kGrayColor;
              gray.c.g.gray = 0.5f;
              doc.addSwatch("Gray", gray);
              AIColor base{};
              base.kind = kFourColor;
              base.c.f.cyan = 0.5f;
              doc.addSwatch("Process", base);
              doc.addGraphicStyle("One", plain->style);
              doc.addGraphicStyle("Two", plain->style);
              Gradient *g = doc.addGradient("Ramp");
              g->stops = {GradientStop{0, gray, 1}, GradientStop{1, base, 1}};
              plain->style.fill.color.kind = kGradient;
              plain->style.fill.color.c.b.gradient = reinterpret_cast<AIGradientHandle>(g);
              plain->style.fill.color.c.b.gradientLength = 10;
              plain->style.stroke.color.kind = kCustomColor;
              plain->style.stroke.color.c.c.color =
                  reinterpret_cast<AICustomColorHandle>(doc.addCustomColor("Spot", base));
              member->style.fill.color.kind = kPattern;
              member->style.fill.color.c.p.pattern = reinterpret_cast<AIPatternHandle>(doc.addPattern("Dots"));
              member->style.fill.color.c.p.scale = {100, 100};
          },
          100);
}

}  // namespace
}  // namespace smear
