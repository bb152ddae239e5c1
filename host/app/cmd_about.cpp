// `smearhost about`: what the About dialog shows.
#include <iostream>

#include "app.h"
#include "session_report.h"

namespace smear::app {

void addAboutCommand(CLI::App &app, Context &context) {
    CLI::App *cmd = app.add_subcommand("about", "start the plug-in, open its About dialog and print what it shows");
    cmd->callback([&context]() {
        Host host;
        std::string error;
        if (!openPlugin(host, context, error)) {
            context.exitCode = fail(error);
            return;
        }
        SPErr result = host.sendBasic(kSPInterfaceCaller, kSPInterfaceStartupSelector);
        if (result != kNoErr) {
            for (const UiEvent &event : host.transcript) printUiEvent(std::cout, event, "");
            context.exitCode = fail("the plug-in's start-up returned " + formatCode(result));
            return;
        }
        const size_t before = host.transcript.size();
        result = host.sendBasic(kSPInterfaceCaller, kSPInterfaceAboutSelector);
        for (size_t i = before; i < host.transcript.size(); ++i) printUiEvent(std::cout, host.transcript[i], "");
        host.sendBasic(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
        if (host.transcript.size() == before) context.exitCode = fail("the plug-in showed no About dialog");
        else if (result != kNoErr) context.exitCode = fail("About returned " + formatCode(result));
    });
}

}  // namespace smear::app
