// `smearhost dialog`: a picture of a tool's options dialog as it opens.
#include "app.h"
#include "session.h"

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
    cmd->add_option("--out", o->out, "where to write the picture (SVG)")->required();
    cmd->add_option("--set", o->sets, "set an option first, as field=value, so the dialog opens showing it");
    cmd->add_flag("--quiet", o->quiet, "print nothing but errors");
    cmd->callback([&context, o]() {
        Session session;
        session.name = "dialog " + o->tool;
        SessionStep step;
        step.kind = SessionStep::Kind::Startup;
        session.steps.push_back(step);
        if (!o->sets.empty()) {
            SessionStep set;
            std::string error;
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
        play.quiet = o->quiet;
        play.numberSteps = false;
        playSession(context, session, play);
    });
}

}  // namespace smear::app
