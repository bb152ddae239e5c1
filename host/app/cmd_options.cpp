// `smearhost options --tool NAME`: every option of a tool's dialog, with
// the name --set takes, its label, limits, popup entries and default.
#include <iostream>

#include "app.h"
#include "option_catalogue.h"
#include "tool_names.h"

namespace smear::app {

void addOptionsCommand(CLI::App &app, Context &context) {
    auto tool = std::make_shared<std::string>();
    CLI::App *cmd = app.add_subcommand("options", "list a tool's options: the names --set takes, labels, limits, "
                                                  "popup entries and defaults");
    cmd->add_option("--tool", *tool, "the tool: its title without the prefix, e.g. rotate, stroke-weight")->required();
    cmd->callback([&context, tool]() {
        Host host;
        std::string error;
        if (!openPlugin(host, context, error)) {
            context.exitCode = fail(error);
            return;
        }
        host.sendBasic(kSPInterfaceCaller, kSPInterfaceStartupSelector);
        std::vector<OptionDescription> options;
        const int index = findTool(host.palette, *tool, error);
        const bool ok = index >= 0 && describeToolOptions(host, index, options, error);
        if (ok) printToolOptions(std::cout, shortToolName(host.palette[size_t(index)].title), options);
        host.sendBasic(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
        if (!ok) context.exitCode = fail(error);
    });
}

}  // namespace smear::app
