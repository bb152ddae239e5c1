// One processed drag step of each of the first six tools over 1,000, 10,000
// and 100,000 selected objects, against two floors: the frame of a step with
// no per-art loop, and the loop with the brush far from every object (host
// work for weights, bounds and tags only). Also the art collection alone,
// with compound paths, to show that it grows linearly.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "globals.h"
#include "host.h"
#include "stroke.h"
#include "suites.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace {

using smear::Art;
using smear::Document;
using smear::Host;

void addRect(Document &doc, Art *parent, AIReal left, AIReal bottom, AIReal size) {
    Art *a = doc.newArt(kPathArt);
    for (AIRealPoint p : {AIRealPoint{left, bottom + size}, {left + size, bottom + size}, {left + size, bottom},
                          {left, bottom}}) {
        AIPathSegment s{};
        s.p = s.in = s.out = p;
        s.corner = true;
        a->segments.push_back(s);
    }
    a->closed = true;
    a->userAttr = kArtSelected;
    doc.link(a, kPlaceInsideOnTop, parent);
}

// A stand-in host with the plug-in started and `count` selected squares in a
// grid of 1000 x 1000 points (every third object a compound path of two
// children when `compounds` is set, all of them selected).
std::unique_ptr<Host> makeHost(long count, bool compounds) {
    auto host = std::make_unique<Host>();
    std::string error;
    if (!host->attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error) ||
        host->sendBasic("SP Interface", "Startup") != 0) {
        std::fprintf(stderr, "cannot start the plug-in: %s\n", error.c_str());
        std::exit(1);
    }
    Document &doc = host->document();
    Art *root = doc.currentLayer()->root;
    long side = 1;
    while (side * side < count) ++side;
    const AIReal cell = 1000.0f / AIReal(side);
    for (long i = 0; i < count; ++i) {
        AIReal x = AIReal(i % side) * cell, y = AIReal(i / side) * cell;
        if (compounds && i % 3 == 0) {
            Art *c = doc.newArt(kCompoundPathArt);
            c->userAttr = kArtSelected;
            doc.link(c, kPlaceInsideOnTop, root);
            addRect(doc, c, x, y, cell * 0.25f);
            addRect(doc, c, x + cell * 0.5f, y, cell * 0.25f);
        } else {
            addRect(doc, root, x, y, cell * 0.5f);
        }
    }
    Globals *g = gGlobals;
    g->showOutline = 0;
    g->brushSizeHorizontal = 2000;  // the brush reaches every object
    g->brushSizeVertical = 2000;
    return host;
}

// Options that keep the art in the brush however many steps run: each
// step undoes the previous one's direction.
void alternate(Globals *g, int toolId) {
    switch (toolId) {
    case kScalingTool: g->scaleHorizontal = g->scaleVertical = -g->scaleHorizontal; break;
    case kTranslateTool: g->translateHorizontal = g->translateVertical = -g->translateHorizontal; break;
    case kRotateTool: g->rotateAngle = -g->rotateAngle; break;
    default: break;
    }
}

void dragStep(benchmark::State &state, int toolId, AIRealPoint at) {
    auto host = makeHost(state.range(0), false);
    AIToolHandle tool = gGlobals->toolHandles[toolId];
    host->sendTool("AI Mouse Down", tool, {500, 500}, 255, 0);
    for (auto _ : state) {
        alternate(gGlobals, toolId);
        host->sendTool("AI Mouse Drag", tool, at, 255, 0);
    }
    host->sendTool("AI Mouse Up", tool, at, 255, 0);
    host->sendBasic("SP Interface", "Shutdown");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Scaling(benchmark::State &s) { dragStep(s, kScalingTool, {500, 500}); }
void BM_Translate(benchmark::State &s) { dragStep(s, kTranslateTool, {500, 500}); }
void BM_Rotate(benchmark::State &s) { dragStep(s, kRotateTool, {500, 500}); }
void BM_Transparency(benchmark::State &s) { dragStep(s, kTransparencyTool, {500, 500}); }
void BM_StrokeWeight(benchmark::State &s) { dragStep(s, kStrokeWeightTool, {500, 500}); }
void BM_FillIntensity(benchmark::State &s) { dragStep(s, kFillIntensityTool, {500, 500}); }
void BM_FloorFrameOnly(benchmark::State &s) { dragStep(s, kBlendModeTool, {500, 500}); }
void BM_FloorBrushFarAway(benchmark::State &s) { dragStep(s, kTransparencyTool, {1e6f, 1e6f}); }

// The collection alone, inside one acquisition of the host's suites.
void BM_CollectArt(benchmark::State &state) {
    auto host = makeHost(state.range(0), true);
    SPBasicSuite *basic = host->basicSuite();
    AcquireSuites(basic);
    for (auto _ : state) {
        CollectArt();
        benchmark::DoNotOptimize(gGlobals->SelectionCenter);
        FreeArtList();
    }
    ReleaseSuites(basic);
    host->sendBasic("SP Interface", "Shutdown");
    state.SetComplexityN(state.range(0));
}

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Scaling) SIZES;
BENCHMARK(BM_Translate) SIZES;
BENCHMARK(BM_Rotate) SIZES;
BENCHMARK(BM_Transparency) SIZES;
BENCHMARK(BM_StrokeWeight) SIZES;
BENCHMARK(BM_FillIntensity) SIZES;
BENCHMARK(BM_FloorFrameOnly) SIZES;
BENCHMARK(BM_FloorBrushFarAway) SIZES;
BENCHMARK(BM_CollectArt)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
