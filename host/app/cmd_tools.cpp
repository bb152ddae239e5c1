// `smearhost tools`: starts the plug-in and prints the palette it made.
#include <iostream>

#include "app.h"
#include "session_report.h"

namespace smear::app {

void addToolsCommand(CLI::App &app, Context &context) {
    CLI::App *cmd = app.add_subcommand("tools", "start the plug-in and print its tools as the palette shows them");
    cmd->callback([&context]() {
        Host host;
        std::string error;
        if (!openPlugin(host, context, error)) {
            context.exitCode = fail(error);
            return;
        }
        const SPErr result = host.sendBasic(kSPInterfaceCaller, kSPInterfaceStartupSelector);
        for (const UiEvent &event : host.transcript) printUiEvent(std::cout, event, "");
        if (result != kNoErr) {
            printPalette(std::cout, host.palette);
            context.exitCode = fail("the plug-in's start-up returned " + formatCode(result));
            return;
        }
        printPalette(std::cout, host.palette);
        host.sendBasic(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
    });
}

}  // namespace smear::app
