// The smearhost program: one source per command, this header between them.
#pragma once

#include <functional>
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

// The plug-in module for this program: the first that exists of the one
// beside it and (on Linux) the one in ../lib/smearcraft/ from its folder,
// where a package installs it; the one beside it when neither does.
std::string defaultModulePath();

// Loads the plug-in into `host`, as the host does at launch.
bool openPlugin(Host &host, const Context &context, std::string &error);

// "smearhost: ..." for a mistake in the command line itself: the parser's
// words, the flag or command meant when one was misspelt, and where help is.
std::string commandLineError(const CLI::App &app, const CLI::ParseError &e);

// Prints "smearhost: message" to the error stream and gives the exit code 1.
int fail(const std::string &message);

// A "set" step for `tool` from --set arguments (field=value each).
bool setStepFromArguments(const std::string &tool, const std::vector<std::string> &sets, SessionStep &step,
                          std::string &error);

// How a command plays its session.
struct PlayOptions {
    bool quiet = false;           // no report on standard output
    std::string outDir;           // save paths are relative to it
    bool confine = false;         // the session's saves are confined to outDir (save_folder.h)
    std::vector<std::pair<std::string, std::string>> keep;  // confined: files no save replaces, and what they are
    bool strict = false;          // what the SVG reader cannot keep is an error
    bool numberSteps = true;      // errors name the session's step ("step 3 (set): ...")
    bool loadPlugin = true;       // false: a session that only reads and writes
    // Called with the host when the session ran, before it is shut down.
    std::function<bool(Host &, std::string &error)> afterRun;
};

// Loads the plug-in, plays `session` and shuts the plug-in down if the
// session left it started; the report goes to standard output unless
// quiet. What the SVG reader could not keep goes to standard error, quiet
// or not. On a terminal, unless quiet, long strokes and files show their
// progress there.
// Returns whether the session ran; sets the context's exit code when not.
bool playSession(Context &context, const Session &session, const PlayOptions &options);

// Prints "smearhost: warning: message" to the error stream, quiet or not.
void warn(const std::string &message);

// Whether this build can draw PNG pictures (--png), and drawing SVG text
// into the PNG file `pngPath` ("-": standard output); `baseFile` is where
// its relative references lead from.
bool pngAvailable(std::string &why);
bool writePngOf(const std::string &svg, const std::string &baseFile, const std::string &pngPath, std::string &error);

// What a command writes, to be checked before it reads anything: every
// output (option, path; empty: not given, "-": standard output) and the
// drawing it reads.
struct CommandOutputs {
    std::string input;
    std::vector<std::pair<std::string, std::string>> outputs;
    bool inPlace = false;     // --out may name the input (paint --in-place)
    std::string inPlaceHint;  // what to do instead of --out naming the input
};

// Refuses an output that names the input (unless in place) or another
// output, compared as files (sameFile), and one checkWriteTarget refuses.
bool checkOutputs(const CommandOutputs &outputs, std::string &error);

void addToolsCommand(CLI::App &app, Context &context);
void addAboutCommand(CLI::App &app, Context &context);
void addRunCommand(CLI::App &app, Context &context);
void addPaintCommand(CLI::App &app, Context &context);
void addDemoCommand(CLI::App &app, Context &context);
void addDialogCommand(CLI::App &app, Context &context);
void addOptionsCommand(CLI::App &app, Context &context);
void addConvertCommand(CLI::App &app, Context &context);
#ifdef SMEAR_STUDIO
void addStudioCommand(CLI::App &app, Context &context);
#endif

}  // namespace smear::app
