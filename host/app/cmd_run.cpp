// `smearhost run SESSION`: plays a session file and prints its report.
#include "app.h"
#include "session.h"
#include "session_files.h"

namespace smear::app {

void addRunCommand(CLI::App &app, Context &context) {
    CLI::App *cmd = app.add_subcommand("run", "play a session file and report every step");
    auto path = std::make_shared<std::string>();
    auto outDir = std::make_shared<std::string>();
    auto strict = std::make_shared<bool>(false);
    cmd->add_option("session", *path, "the session (JSON)")->required();
    cmd->add_option("--out-dir", *outDir, "folder for the files the session saves, made if missing (default: the working folder)");
    cmd->add_flag("--strict", *strict, "fail, playing nothing, when the reader cannot keep part of the drawing");
    cmd->callback([&context, path, outDir, strict]() {
        Session session;
        std::string error;
        if (!loadSessionFile(*path, session, error)) {
            context.exitCode = fail(error);
            return;
        }
        // The folder is made, with its parents, as a save into it needs it.
        if (!outDir->empty() && !makeFolders(*outDir, error)) {
            context.exitCode = fail(error);
            return;
        }
        PlayOptions play;
        play.outDir = *outDir;
        play.confine = true;
        play.strict = *strict;
        playSession(context, session, play);
    });
}

}  // namespace smear::app
