// What a user feels, over 10,000, 100,000 and 300,000 selected objects:
// - one processed drag step of every tool with the default brush over a
//   drawing where it reaches about 1 % of the objects, and with a brush that
//   reaches them all;
// - the first drag step, over art no stroke has tagged yet;
// - a drag step with "Trail cursor" on (a copy left behind per object);
// - mouse down (the collection of the selection and the undo record);
// - the floor: the host work alone a step needs per object (walking the
//   list, the bounds query, the tag), measured in the same run;
// - the phases of `smearhost paint` (read, paint, write) on an SVG file;
// - memory: after reading a drawing, after ten strokes at the default brush,
//   and what the undo history holds after a stroke that reaches everything.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ai_art_suites.h"
#include "globals.h"
#include "handles.h"
#include "host.h"
#include "svg.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace {

using smear::Art;
using smear::Document;
using smear::Host;

// The side of the square the objects fill: the default brush (50 across)
// covers about 1 % of it.
constexpr AIReal kSide = 443;

void addSquare(Document &doc, Art *parent, AIReal left, AIReal bottom, AIReal size) {
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

// `count` selected squares in a grid over the square of side kSide, every
// tenth a compound path of two members.
void fill(Document &doc, long count) {
    Art *root = doc.currentLayer()->root;
    long side = 1;
    while (side * side < count) ++side;
    const AIReal cell = kSide / AIReal(side);
    for (long i = 0; i < count; ++i) {
        const AIReal x = AIReal(i % side) * cell, y = AIReal(i / side) * cell;
        if (i % 10 == 0) {
            Art *c = doc.newArt(kCompoundPathArt);
            c->userAttr = kArtSelected;
            doc.link(c, kPlaceInsideOnTop, root);
            addSquare(doc, c, x, y, cell * 0.25f);
            addSquare(doc, c, x + cell * 0.5f, y, cell * 0.25f);
        } else {
            addSquare(doc, root, x, y, cell * 0.5f);
        }
    }
}

std::unique_ptr<Host> makeHost(long count) {
    auto host = std::make_unique<Host>();
    std::string error;
    if (!host->attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error) ||
        host->sendBasic("SP Interface", "Startup") != 0) {
        std::fprintf(stderr, "cannot start the plug-in: %s\n", error.c_str());
        std::exit(1);
    }
    fill(host->document(), count);
    gGlobals->showOutline = 0;
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

const AIRealPoint kMiddle{kSide / 2, kSide / 2};

// The fastest single step of a run, beside the mean the library reports.
// On a shared machine other guests slow whole seconds of a run down by half;
// the fastest step is what the code costs when nothing else is in the way.
class StepMinimum {
public:
    void start() { from_ = std::chrono::steady_clock::now(); }
    void stop() {
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - from_;
        if (took.count() < least_) least_ = took.count();
    }
    void report(benchmark::State &state) const { state.counters["fastest_ms"] = least_; }

private:
    std::chrono::steady_clock::time_point from_;
    double least_ = 1e300;
};

// Drag steps of one tool after a mouse down and a first step; `brush` 0 is
// the default brush.
void dragSteps(benchmark::State &state, int toolId, AIReal brush) {
    auto host = makeHost(state.range(0));
    if (brush > 0) gGlobals->brushSizeHorizontal = gGlobals->brushSizeVertical = brush;
    AIToolHandle tool = gGlobals->toolHandles[toolId];
    host->sendTool("AI Mouse Down", tool, kMiddle, 255, 0);
    host->sendTool("AI Mouse Drag", tool, kMiddle, 255, 0);
    StepMinimum fastest;
    for (auto _ : state) {
        alternate(gGlobals, toolId);
        fastest.start();
        host->sendTool("AI Mouse Drag", tool, kMiddle, 255, 0);
        fastest.stop();
    }
    fastest.report(state);
    host->sendTool("AI Mouse Up", tool, kMiddle, 255, 0);
    host->sendBasic("SP Interface", "Shutdown");
}

void BM_DragDefaultBrush(benchmark::State &s) { dragSteps(s, int(s.range(1)), 0); }
void BM_DragEveryObjectHit(benchmark::State &s) { dragSteps(s, int(s.range(1)), 4 * kSide); }

// The first drag step of a stroke, over art that carries no tag yet.
void BM_FirstDragUntagged(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto host = makeHost(state.range(0));
        gGlobals->brushSizeHorizontal = gGlobals->brushSizeVertical = 4 * kSide;
        AIToolHandle tool = gGlobals->toolHandles[kTransparencyTool];
        host->sendTool("AI Mouse Down", tool, kMiddle, 255, 0);
        state.ResumeTiming();
        host->sendTool("AI Mouse Drag", tool, kMiddle, 255, 0);
        state.PauseTiming();
        host->sendTool("AI Mouse Up", tool, kMiddle, 255, 0);
        host.reset();
        state.ResumeTiming();
    }
}

// A drag step of Translate with "Trail cursor" on, the default brush.
void BM_DragTrailCursor(benchmark::State &state) {
    auto host = makeHost(state.range(0));
    gGlobals->trailCursor = 1;
    AIToolHandle tool = gGlobals->toolHandles[kTranslateTool];
    host->sendTool("AI Mouse Down", tool, kMiddle, 255, 0);
    for (auto _ : state) {
        alternate(gGlobals, kTranslateTool);
        host->sendTool("AI Mouse Drag", tool, kMiddle, 255, 0);
    }
    host->sendTool("AI Mouse Up", tool, kMiddle, 255, 0);
    host->sendBasic("SP Interface", "Shutdown");
}

// Mouse down: the plug-in collects the selection, the host opens an undo
// step. The mouse up closes the stroke outside the timing.
void BM_MouseDown(benchmark::State &state) {
    auto host = makeHost(state.range(0));
    AIToolHandle tool = gGlobals->toolHandles[kScalingTool];
    StepMinimum fastest;
    for (auto _ : state) {
        fastest.start();
        host->sendTool("AI Mouse Down", tool, kMiddle, 255, 0);
        fastest.stop();
        state.PauseTiming();
        host->sendTool("AI Mouse Up", tool, kMiddle, 255, 0);
        state.ResumeTiming();
    }
    fastest.report(state);
    host->sendBasic("SP Interface", "Shutdown");
}

// The host alone, per object as a drag step asks it: the art list walked,
// each object's bounds and its tag written, through the suites' tables.
void BM_FloorHostOnly(benchmark::State &state) {
    Host host;
    fill(host.document(), state.range(0));
    const auto *art = static_cast<const AIArtSuite *>(host.suites.find(kAIArtSuite, kAIArtSuiteVersion));
    const auto *tag = static_cast<const AITagSuite *>(host.suites.find(kAITagSuite, kAITagSuiteVersion));
    std::vector<AIArtHandle> list;
    host.document().forEachArt([&](const Art &a) {
        if (a.type == kPathArt) list.push_back(smear::toHandle(const_cast<Art *>(&a)));
    });
    for (auto _ : state) {
        for (AIArtHandle h : list) {
            AIRealRect r;
            art->GetArtBounds(h, &r);
            tag->SetTag(h, "smearcraft", "string", "smearcraft");
            benchmark::DoNotOptimize(r);
        }
    }
}

// The phases of `smearhost paint` on an SVG file of `count` squares.
std::string squaresSvg(long count) {
    Document doc;
    fill(doc, count);
    std::string text, error;
    smear::writeSvg(doc, text, error);
    return text;
}

void BM_PaintRead(benchmark::State &state) {
    const std::string text = squaresSvg(state.range(0));
    for (auto _ : state) {
        Document doc;
        smear::SvgReadReport report;
        std::string error;
        benchmark::DoNotOptimize(smear::readSvgString(text, doc, report, error));
    }
}

// The host's document becomes the drawing `text`, everything selected.
void readInto(Host &host, const std::string &text) {
    auto doc = std::make_unique<Document>();
    smear::SvgReadReport report;
    std::string error;
    smear::readSvgString(text, *doc, report, error);
    doc->forEachArt([](const Art &a) { const_cast<Art &>(a).userAttr |= kArtSelected; });
    host.replaceDocument(std::move(doc));
}

void BM_PaintStroke(benchmark::State &state) {
    const std::string text = squaresSvg(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto host = makeHost(0);
        readInto(*host, text);
        AIToolHandle tool = gGlobals->toolHandles[kRotateTool];
        state.ResumeTiming();
        host->sendTool("AI Mouse Down", tool, {0, -kSide / 2}, 255, 0);
        for (int i = 1; i <= 10; ++i)
            host->sendTool("AI Mouse Drag", tool, {kSide * AIReal(i) / 10, -kSide / 2}, 255, 0);
        host->sendTool("AI Mouse Up", tool, {kSide, -kSide / 2}, 255, 0);
        state.PauseTiming();
        host.reset();
        state.ResumeTiming();
    }
}

void BM_PaintWrite(benchmark::State &state) {
    const std::string text = squaresSvg(state.range(0));
    Document doc;
    smear::SvgReadReport report;
    std::string error;
    smear::readSvgString(text, doc, report, error);
    doc.forEachArt([](const Art &a) {
        if (a.type == kPathArt) const_cast<Art &>(a).tags.set("smearcraft", "string", "smearcraft");
    });
    for (auto _ : state) {
        std::string out;
        benchmark::DoNotOptimize(smear::writeSvg(doc, out, error));
    }
}

// Bytes the program holds from the heap (mmapped blocks included), and
// the art arenas' blocks, which are mapped apart from it.
double heapBytes() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks) + double(m.hblkhd) + double(smear::ArtArena::blockBytes());
}

// Memory of a drawing of `count` squares read from SVG, then after ten
// strokes of ten drag steps at the default brush (the Scaling tool, over
// ten different places), then after one stroke that reaches every object.
void BM_Memory(benchmark::State &state) {
    const std::string text = squaresSvg(state.range(0));
    for (auto _ : state) {
        auto host = makeHost(0);
        const double base = heapBytes();
        readInto(*host, text);
        const double read = heapBytes() - base;
        AIToolHandle tool = gGlobals->toolHandles[kScalingTool];
        for (int k = 0; k < 10; ++k) {
            const AIRealPoint at{kSide * AIReal(k + 1) / 12, -kSide * AIReal(k + 1) / 12};
            host->sendTool("AI Mouse Down", tool, at, 255, 0);
            for (int i = 0; i < 10; ++i) host->sendTool("AI Mouse Drag", tool, {at.h + AIReal(i), at.v}, 255, 0);
            host->sendTool("AI Mouse Up", tool, at, 255, 0);
        }
        const double strokes = heapBytes() - base;
        gGlobals->brushSizeHorizontal = gGlobals->brushSizeVertical = 4 * kSide;
        host->sendTool("AI Mouse Down", tool, kMiddle, 255, 0);
        host->sendTool("AI Mouse Drag", tool, kMiddle, 255, 0);
        host->sendTool("AI Mouse Up", tool, kMiddle, 255, 0);
        state.counters["read_MB"] = read / 1e6;
        state.counters["per_object_B"] = read / double(state.range(0));
        state.counters["ten_strokes_MB"] = strokes / 1e6;
        state.counters["ratio"] = strokes / read;
        state.counters["undo_all_hit_MB"] = double(host->document().undoBytes()) / 1e6;
        host->sendBasic("SP Interface", "Shutdown");
    }
}

void everyTool(benchmark::internal::Benchmark *b) {
    for (long n : {10000L, 100000L})
        for (int t = 0; t < kToolCount; ++t) b->Args({n, t});
}

#define SIZES ->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_DragDefaultBrush)->Apply(everyTool)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragEveryObjectHit)->Apply(everyTool)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorHostOnly) SIZES;
BENCHMARK(BM_FirstDragUntagged)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DragTrailCursor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MouseDown) SIZES;
BENCHMARK(BM_PaintRead) SIZES;
BENCHMARK(BM_PaintStroke)->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PaintWrite) SIZES;
BENCHMARK(BM_Memory)->Arg(10000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
