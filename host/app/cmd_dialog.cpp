// `smearhost dialog`: a picture of a tool's options dialog as it opens.
#include "app.h"
#include "session.h"
#include "session_files.h"

namespace smear::app {

namespace {

struct DialogOptions {
    std::string tool, out;
    std::vector<std::string> sets;
    bool quiet = false;
};

}  // namespace

void addDialogCommand(CLI::App &app, Context &context) {
    auto o = std::make_shared<DialogOptions>();
    CLI::App *cmd = app.add_subcommand("dialog", "draw a tool's options dialog as it opens (SVG), then cancel it");
    cmd->add_option("--tool", o->tool, "the tool: its title without the prefix, e.g. rotate, stroke-weight")->required();
    cmd->add_option("--out", o->out, "where to write the picture (SVG; - for standard output)")->required();
    cmd->add_option("--set", o->sets, "set an option first, as field=value, so the dialog opens showing it");
    cmd->add_flag("--quiet", o->quiet, "print nothing but errors");
    cmd->callback([&context, o]() {
        std::string error;
        if (!checkOutputs(CommandOutputs{{}, {{"--out", o->out}}, false, {}}, error)) {
            context.exitCode = fail(error);
            return;
        }
        Session session;
        session.name = "dialog " + o->tool;
        SessionStep step;
        step.kind = SessionStep::Kind::Startup;
        session.steps.push_back(step);
        if (!o->sets.empty()) {
            SessionStep set;
            if (!setStepFromArguments(o->tool, o->sets, set, error)) {
                context.exitCode = fail(error);
                return;
            }
            session.steps.push_back(set);
        }
        SessionStep open;
        open.kind = SessionStep::Kind::Options;
        open.tool = o->tool;
        open.actions.push_back(DialogAction::escape());
        open.path = o->out;
        session.steps.push_back(open);
        step.kind = SessionStep::Kind::Shutdown;
        session.steps.push_back(step);

        PlayOptions play;
        // Standard output holds the picture and nothing else.
        play.quiet = o->quiet || isStandardOutput(o->out);
        play.numberSteps = false;
        playSession(context, session, play);
    });
}

}  // namespace smear::app
