// `smearhost run SESSION`: plays a session file and prints its report.
#include "app.h"
#include "session.h"

namespace smear::app {

void addRunCommand(CLI::App &app, Context &context) {
    CLI::App *cmd = app.add_subcommand("run", "play a session file and report every step");
    auto path = std::make_shared<std::string>();
    auto outDir = std::make_shared<std::string>();
    auto strict = std::make_shared<bool>(false);
    cmd->add_option("session", *path, "the session (JSON)")->required();
    cmd->add_option("--out-dir", *outDir, "folder for the files the session saves (default: the working folder)");
    cmd->add_flag("--strict", *strict, "fail, playing nothing, when the reader cannot keep part of the drawing");
    cmd->callback([&context, path, outDir, strict]() {
        Session session;
        std::string error;
        if (!loadSessionFile(*path, session, error)) {
            context.exitCode = fail(error);
            return;
        }
        playSession(context, session, false, *outDir, true, *strict);
    });
}

}  // namespace smear::app
