// `smearhost convert`: reads an SVG drawing and writes it as `paint` would,
// without painting: what the reader keeps, and optionally a picture of it.
#include <cstdio>

#include "app.h"
#include "session.h"

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
    cmd->add_option("--out", o->out, "where to write the drawing (SVG)");
    cmd->add_option("--png", o->png, "draw the drawing as written as a PNG picture (librsvg)");
    cmd->add_flag("--quiet", o->quiet, "print nothing but errors and what the drawing loses");
    cmd->add_flag("--strict", o->strict, "fail, writing nothing, when the reader cannot keep part of the drawing");
    cmd->callback([&context, o]() {
        std::string error;
        if (o->out.empty() && o->png.empty()) {
            context.exitCode = fail("convert writes --out FILE.svg, --png FILE.png or both");
            return;
        }
        if (!o->png.empty() && !pngAvailable(error)) {
            context.exitCode = fail(error);
            return;
        }
        Session session;
        session.name = "convert " + o->in;
        session.document = o->in;
        // The picture is drawn from the SVG as written, so that it shows what
        // a reader of --out would see; without --out that file is temporary.
        const std::string svg = o->out.empty() ? o->png + ".svg.partial" : o->out;
        SessionStep save;
        save.kind = SessionStep::Kind::Save;
        save.path = svg;
        session.steps.push_back(save);
        PlayOptions play;
        play.quiet = o->quiet;
        play.strict = o->strict;
        play.numberSteps = false;
        play.loadPlugin = false;
        if (!playSession(context, session, play)) return;
        if (!o->png.empty() && !writePng(svg, o->png, error)) context.exitCode = fail(error);
        if (o->out.empty()) std::remove(svg.c_str());
    });
}

}  // namespace smear::app
