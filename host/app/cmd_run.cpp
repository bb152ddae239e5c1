// `smearhost run SESSION`: plays a session file and prints its report.
#include <iostream>

#include "app.h"
#include "save_folder.h"
#include "session.h"
#include "session_files.h"

namespace smear::app {

namespace {

// Whether the session writes any file: saves, and dialogs drawn as they open.
bool writesFiles(const Session &session) {
    for (const SessionStep &step : session.steps)
        if (!step.path.empty()) return true;
    return false;
}

}  // namespace

void addRunCommand(CLI::App &app, Context &context) {
    CLI::App *cmd = app.add_subcommand("run", "play a session file and report every step");
    auto path = std::make_shared<std::string>();
    auto outDir = std::make_shared<std::string>();
    auto strict = std::make_shared<bool>(false);
    cmd->add_option("session", *path, "the session (JSON)")->required();
    cmd->add_option("--out-dir", *outDir,
                    "folder for the files the session saves, made if missing (default: a folder beside the session "
                    "named after it, walk.json saving into walk.out)");
    cmd->add_flag("--strict", *strict, "fail, playing nothing, when the reader cannot keep part of the drawing");
    cmd->callback([&context, path, outDir, strict]() {
        Session session;
        std::string error;
        if (!loadSessionFile(*path, session, error)) {
            context.exitCode = fail(error);
            return;
        }
        // A session shared by someone else writes only into a folder of its
        // own, never among the user's files; the folder is made, with its
        // parents, only when the session saves anything.
        const bool own = outDir->empty();
        const std::string folder = own ? sessionOutputFolder(*path) : *outDir;
        if (writesFiles(session)) {
            if (!(own ? makeSessionOutputFolder(folder, error) : makeFolders(folder, error))) {
                context.exitCode = fail(error);
                return;
            }
            if (own) std::cerr << "smearhost: the session's files go to " << folder << "\n";
        }
        PlayOptions play;
        play.outDir = folder;
        play.confine = true;
        play.keep.emplace_back(*path, "the session file");
        play.strict = *strict;
        playSession(context, session, play);
    });
}

}  // namespace smear::app
