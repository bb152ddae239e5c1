// Finding and loading the plug-in module.
#include <filesystem>
#include <iostream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

#include "app.h"
#include "progress.h"

namespace smear::app {

namespace {

std::string programFolder() {
#ifdef _WIN32
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path, n < MAX_PATH ? n : 0);
#else
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string p(path, n > 0 ? size_t(n) : 0);
#endif
    const size_t slash = p.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

// Where the module may be for a program in `folder`, in the order tried.
std::vector<std::string> moduleCandidates(const std::string &folder) {
#ifdef _WIN32
    return {folder + "\\Smearcraft.aip"};
#else
    // Beside the program in a build folder; an installed package keeps
    // programs in bin/ and the module in lib/smearcraft/ beside it.
    return {folder + "/Smearcraft.so", folder + "/../lib/smearcraft/Smearcraft.so"};
#endif
}

}  // namespace

std::string defaultModulePath() {
    const std::vector<std::string> candidates = moduleCandidates(programFolder());
    for (const std::string &path : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    // None there: the error names the first place looked at.
    return candidates.front();
}

bool openPlugin(Host &host, const Context &context, std::string &error) {
    const std::string path = context.modulePath.empty() ? defaultModulePath() : context.modulePath;
    if (!host.loadModule(path, error)) {
        error = "cannot load the plug-in: " + error;
#ifndef _WIN32
        if (context.modulePath.empty())
            error += " (smearhost looks beside itself, then in ../lib/smearcraft/; --module PATH names another)";
#endif
        return false;
    }
    return true;
}

bool setStepFromArguments(const std::string &tool, const std::vector<std::string> &sets, SessionStep &step,
                          std::string &error) {
    step.kind = SessionStep::Kind::Set;
    step.tool = tool;
    for (const std::string &s : sets) {
        const size_t eq = s.find('=');
        if (eq == std::string::npos || eq == 0) {
            error = "--set '" + s + "': expected field=value, such as rotateAngle=10";
            return false;
        }
        step.values.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    }
    return true;
}

bool playSession(Context &context, const Session &session, const PlayOptions &options) {
    Host host;
    std::string error;
    if (options.loadPlugin && !openPlugin(host, context, error)) {
        context.exitCode = fail(error);
        return false;
    }
    Progress progress(!options.quiet && Progress::stderrIsTerminal());
    std::ostringstream discarded;
    SessionRunner runner(host, options.quiet ? static_cast<std::ostream &>(discarded) : progress.output());
    runner.outDir = options.outDir;
    runner.confineSaves = options.confine;
    runner.keepFiles = options.keep;
    // What the drawing loses is said even under --quiet: it is no progress
    // report but news of the user's file.
    runner.readWarnings = &progress.errors();
    runner.warnings = &progress.errors();
    runner.strict = options.strict;
    runner.numberStepsInErrors = options.numberSteps;
    runner.onDrag = [&progress](size_t done, size_t total) { progress.update("painting, drag message", done, total); };
    runner.onPhase = [&progress](const std::string &what) { progress.status(what); };
    const bool ok = runner.run(session, error) && (!options.afterRun || options.afterRun(host, error));
    runner.quit();
    progress.output().flush();
    progress.errors().flush();
    progress.finish();
    if (!ok) context.exitCode = fail(error);
    return ok;
}

void warn(const std::string &message) {
    std::cout.flush();
    std::cerr << "smearhost: warning: " << message << std::endl;
}

int fail(const std::string &message) {
    std::cout.flush();
    std::cerr << "smearhost: " << message << std::endl;
    return 1;
}

}  // namespace smear::app
