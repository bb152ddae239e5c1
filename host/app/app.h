// The smearhost program: one source per command, this header between them.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "host.h"
#include "session.h"

namespace smear::app {

// What every command shares: the module to load and the exit code the
// command chose.
struct Context {
    std::string modulePath;  // empty: the module beside the program
    int exitCode = 0;
};

// The plug-in module that sits beside this program.
std::string defaultModulePath();

// Loads the plug-in into `host`, as the host does at launch.
bool openPlugin(Host &host, const Context &context, std::string &error);

// Prints "smearhost: message" to the error stream and gives the exit code 1.
int fail(const std::string &message);

// A "set" step for `tool` from --set arguments (field=value each).
bool setStepFromArguments(const std::string &tool, const std::vector<std::string> &sets, SessionStep &step,
                          std::string &error);

// Loads the plug-in, plays `session` and shuts the plug-in down if the
// session left it started; the report goes to standard output unless
// `quiet`. Sets the context's exit code on failure.
// `confine`: the session's save paths must stay inside `outDir`. What the
// SVG reader could not keep goes to standard error, quiet or not; `strict`
// makes it an error before anything is played or written.
void playSession(Context &context, const Session &session, bool quiet, const std::string &outDir = {},
                 bool confine = false, bool strict = false);

void addToolsCommand(CLI::App &app, Context &context);
void addAboutCommand(CLI::App &app, Context &context);
void addRunCommand(CLI::App &app, Context &context);
void addPaintCommand(CLI::App &app, Context &context);
void addDemoCommand(CLI::App &app, Context &context);
void addDialogCommand(CLI::App &app, Context &context);
#ifdef SMEAR_STUDIO
void addStudioCommand(CLI::App &app, Context &context);
#endif

}  // namespace smear::app
