// Any bytes as the requests a page sends the studio, on a small drawing
// with one object of each kind the tools treat apart (gradient, pattern,
// group, path, mesh, a text of two lines), with the linked plug-in: one request a line, "METHOD PATH BODY"
// (GET or POST; the body the rest of the line). Whatever the requests, each
// is answered with JSON or the page's files, and the record the studio kept
// replays with the session runner to the drawing the studio shows. Saves
// are left out (they write files). Inputs reach well past the limits the
// studio sets on a request (JSON nested 64 deep, as many ids as the drawing
// has objects, error texts quoted short), so that deep and wide bodies are
// tried, not only small ones.
#include <sys/prctl.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "host.h"
#include "session.h"
#include "studio.h"
#include "studio_api.h"
#include "svg.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace {

bool attach(smear::Host &host, std::string &error) {
    return host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error);
}

// What the studio shows after the requests of `input`, and the record it
// kept (saves left out: they write files).
struct Outcome {
    std::string drawing;
    nlohmann::json session;
};

Outcome paintInStudio(const std::string &input) {
    using nlohmann::json;
    Outcome out;
    std::string error;
    smear::StudioOptions options;
    options.attach = attach;
    // Small, so that each input costs what its requests do.
    options.drawing = std::string(SMEAR_SOURCE_DIR) + "/fuzz/small_drawing.svg";
    smear::Studio studio(options);
    if (!studio.open(error)) __builtin_trap();
    std::istringstream lines(input);
    std::string line;
    for (int n = 0; n < 32 && std::getline(lines, line); ++n) {
        smear::StudioRequest request;
        std::istringstream words(line);
        words >> request.method >> request.path;
        std::getline(words, request.body);
        if (request.path.find("save") != std::string::npos) continue;
        const smear::StudioResponse answer = smear::handleStudioRequest(studio, request);
        if (answer.contentType == "application/json" && json::parse(answer.body, nullptr, false).is_discarded())
            __builtin_trap();
        // A refusal says why in a few lines, whatever it was sent.
        if (answer.status >= 400 && answer.body.size() > 8192) __builtin_trap();
    }
    // Ends a stroke left open, as any next request does.
    smear::handleStudioRequest(studio, {"POST", "/api/select", {}, R"({"all": false})", {}, {}, {}});
    out.drawing = studio.drawingSvg();
    out.session = studio.session("unused.svg");
    json steps = json::array();
    for (const json &step : out.session["steps"])
        if (!(step.is_object() && step.contains("save"))) steps.push_back(step);
    out.session["steps"] = steps;
    return out;
}

// What the record plays back to with the session runner.
std::string replay(const nlohmann::json &session) {
    std::string error, replayed;
    smear::Session parsed;
    if (!smear::parseSession(session, parsed, error)) __builtin_trap();
    smear::Host host;
    if (!attach(host, error)) __builtin_trap();
    std::ostringstream report;
    smear::SessionRunner runner(host, report);
    if (!runner.run(parsed, error)) __builtin_trap();
    if (!smear::writeSvgPreview(host.document(), replayed, error)) __builtin_trap();
    runner.quit();
    return replayed;
}

}  // namespace

// Each input makes a document or two, whose art arena reserves a block of
// 2 MiB: without huge pages only the pages a small drawing touches are
// cleared, not the whole block, every time.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    prctl(PR_SET_THP_DISABLE, 1, 0, 0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size > (size_t(1) << 20)) return 0;
    // The studio as it opens, checked once: most inputs record nothing, and
    // their drawing must be this one, without playing it back again.
    static const Outcome opened = [] {
        Outcome o = paintInStudio("");
        if (replay(o.session) != o.drawing) __builtin_trap();
        return o;
    }();
    const Outcome now = paintInStudio(std::string(reinterpret_cast<const char *>(data), size));
    if (now.session == opened.session) {
        if (now.drawing != opened.drawing) __builtin_trap();
        return 0;
    }
    // What the studio recorded plays back to what it shows.
    if (replay(now.session) != now.drawing) __builtin_trap();
    return 0;
}
