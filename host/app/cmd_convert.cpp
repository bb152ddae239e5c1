// `smearhost convert`: reads an SVG drawing and writes it as `paint` would,
// without painting: what the reader keeps, and optionally a picture of it.
#include "app.h"
#include "session.h"
#include "session_files.h"
#include "svg.h"

namespace smear::app {

namespace {

struct ConvertOptions {
    std::string in, out, png;
    bool quiet = false;
    bool strict = false;
};

}  // namespace

void addConvertCommand(CLI::App &app, Context &context) {
    auto o = std::make_shared<ConvertOptions>();
    CLI::App *cmd = app.add_subcommand("convert", "read an SVG drawing and write it back without painting (what the "
                                                  "reader keeps), or draw it as a PNG picture");
    cmd->add_option("--in", o->in, "the drawing to read (SVG)")->required();
    cmd->add_option("--out", o->out, "where to write the drawing (SVG; - for standard output), never over --in");
    cmd->add_option("--png", o->png, "draw the drawing as written as a PNG picture (librsvg; - for standard output)");
    cmd->add_flag("--quiet", o->quiet, "print nothing but errors and what the drawing loses");
    cmd->add_flag("--strict", o->strict, "fail, writing nothing, when the reader cannot keep part of the drawing");
    cmd->callback([&context, o]() {
        std::string error;
        if (o->out.empty() && o->png.empty()) {
            context.exitCode = fail("convert writes --out FILE.svg, --png FILE.png or both");
            return;
        }
        const CommandOutputs outputs{o->in, {{"--out", o->out}, {"--png", o->png}}, false, "give another file"};
        if ((!o->png.empty() && !pngAvailable(error)) || !checkOutputs(outputs, error)) {
            context.exitCode = fail(error);
            return;
        }
        Session session;
        session.name = "convert " + o->in;
        session.document = o->in;
        if (!o->out.empty()) {
            SessionStep save;
            save.kind = SessionStep::Kind::Save;
            save.path = o->out;
            session.steps.push_back(save);
        }
        PlayOptions play;
        // Standard output holds the drawing or the picture, and nothing else.
        play.quiet = o->quiet || isStandardOutput(o->out) || isStandardOutput(o->png);
        play.strict = o->strict;
        play.numberSteps = false;
        play.loadPlugin = false;
        // The picture shows the SVG as written, what a reader of --out sees.
        if (!o->png.empty())
            play.afterRun = [o](Host &host, std::string &why) {
                std::string svg;
                if (!writeSvg(host.document(), svg, why)) return false;
                return writePngOf(svg, o->in, o->png, why);
            };
        playSession(context, session, play);
    });
}

}  // namespace smear::app
