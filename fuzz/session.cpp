// Any bytes as a session file, played on the linked plug-in. Sessions are
// kept small (steps, points, randoms) so that each run is quick, and nothing
// touches files: no SVG documents, saves or drawings of dialogs.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "host.h"
#include "session.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using nlohmann::json;
    const json j = json::parse(data, data + size, nullptr, false);
    if (j.is_discarded()) return 0;
    smear::Session session;
    std::string error;
    if (!smear::parseSession(j, session, error)) return 0;
    if (session.document.is_string() || session.steps.size() > 24) return 0;
    for (const smear::SessionStep &step : session.steps)
        if (step.kind == smear::SessionStep::Kind::Save || !step.path.empty() || step.points.size() > 64 ||
            step.randoms.size() > 64)
            return 0;
    smear::Host host;
    if (!host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error)) __builtin_trap();
    std::ostringstream report;
    {
        smear::SessionRunner runner(host, report);
        runner.confineSaves = true;
        runner.run(session, error);
        runner.quit();
    }
    return 0;
}
