// smearhost: the stand-in host on the command line.
#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app.h"

int main(int argc, char **argv) {
#ifdef _WIN32
    // Reports are compared byte for byte with the native build's.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    smear::app::Context context;
    CLI::App app{"smearhost: loads the Smearcraft plug-in as the illustration host does, and drives it"};
    app.option_defaults()->always_capture_default();
    // The same command lines on both builds: a path such as /work/s.json is
    // an argument, never a Windows-style option. Subcommands inherit this.
    app.allow_windows_style_options(false);
    // What a command does not know goes to the program: --module may come
    // before or after the command. Subcommands inherit this too.
    app.fallthrough();
    app.set_version_flag("--version", "smearhost " SMEAR_VERSION " (the Smearcraft plug-in's stand-in host)");
    app.add_option("--module", context.modulePath,
                   "plug-in module to load, before or after the command (default: the one beside smearhost, "
                   "or in ../lib/smearcraft/ from its folder)");
    app.require_subcommand(1);
    smear::app::addToolsCommand(app, context);
    smear::app::addAboutCommand(app, context);
    smear::app::addRunCommand(app, context);
    smear::app::addPaintCommand(app, context);
    smear::app::addDemoCommand(app, context);
    smear::app::addDialogCommand(app, context);
    smear::app::addOptionsCommand(app, context);
    smear::app::addConvertCommand(app, context);
#ifdef SMEAR_STUDIO
    smear::app::addStudioCommand(app, context);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        // --help and --version are no error; every mistake on the command
        // line exits with 2, in the words every other error uses.
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cout.flush();
        std::cerr << smear::app::commandLineError(app, e) << std::endl;
        return 2;
    }
    std::cout.flush();
    return context.exitCode;
}
