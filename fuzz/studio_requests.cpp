// Any bytes as the requests a page sends the studio, on the built-in sample
// drawing with the linked plug-in: one request a line, "METHOD PATH BODY"
// (GET or POST; the body the rest of the line). Whatever the requests, each
// is answered with JSON or the page's files, and the record the studio kept
// replays with the session runner to the drawing the studio shows. Saves
// are left out (they write files). Inputs reach well past the limits the
// studio sets on a request (JSON nested 64 deep, as many ids as the drawing
// has objects, error texts quoted short), so that deep and wide bodies are
// tried, not only small ones.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using nlohmann::json;
    if (size > (size_t(1) << 20)) return 0;
    const std::string input(reinterpret_cast<const char *>(data), size);
    std::string drawing, error;
    json session;
    {
        smear::StudioOptions options;
        options.attach = attach;
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
        drawing = studio.drawingSvg();
        session = studio.session("unused.svg");
    }
    json steps = json::array();
    for (const json &step : session["steps"])
        if (!(step.is_object() && step.contains("save"))) steps.push_back(step);
    session["steps"] = steps;
    smear::Session parsed;
    if (!smear::parseSession(session, parsed, error)) __builtin_trap();
    smear::Host host;
    if (!attach(host, error)) __builtin_trap();
    std::ostringstream report;
    std::string replayed;
    {
        smear::SessionRunner runner(host, report);
        if (!runner.run(parsed, error)) __builtin_trap();
        if (!smear::writeSvgPreview(host.document(), replayed, error)) __builtin_trap();
        runner.quit();
    }
    // What the studio recorded plays back to what it shows.
    if (replayed != drawing) __builtin_trap();
    return 0;
}
