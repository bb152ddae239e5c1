// `smearhost paint`: one stroke of one tool over an SVG drawing.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app.h"
#include "option_fields.h"
#include "session.h"
#include "session_files.h"
#include "stroke_path.h"
#include "svg.h"
#include "svg_numbers.h"
#include "tool_names.h"

namespace smear::app {

namespace {

struct PaintOptions {
    std::string tool, in, out, png;
    std::vector<std::string> sets, select, selectBy;
    std::string from, to, path, pathFile, pressures;
    int steps = 10;
    int pressure = 255;
    uint32_t seed = 1;
    bool quiet = false;
    bool strict = false;
    bool inPlace = false;
    CLI::Option *stepsOption = nullptr, *pressureOption = nullptr;
};

const char kPathHelp[] =
    "the stroke's path instead of --from/--to: points \"X,Y[,P] X,Y[,P] ...\" (each one message: mouse down "
    "at the first, a drag at each further one, mouse up at the last; P the pen pressure from 0 to 1, else "
    "--pressure), or SVG path data \"M10 10 C40 0 60 80 90 50\" (one subpath, --steps drag messages evenly "
    "spaced along it)";

// One coordinate: a decimal number as SVG writes it, so that "0x10" is
// refused as it is in --path (a number beyond a double reads as infinite,
// and is then refused as beyond the drawing's range).
bool parseCoordinate(const std::string &text, double &out) {
    return svg::parseNumber(text, out);
}

bool parsePoint(const char *option, const std::string &text, AIRealPoint &p, std::string &error) {
    const size_t comma = text.find(',');
    double v[2];
    if (comma == std::string::npos || !parseCoordinate(text.substr(0, comma), v[0]) ||
        !parseCoordinate(text.substr(comma + 1), v[1])) {
        error = std::string(option) + ": '" + text + "' is not a point X,Y";
        return false;
    }
    for (int i = 0; i < 2; ++i)
        if (!(std::fabs(v[i]) <= double(std::numeric_limits<AIReal>::max()))) {
            const std::string number = i == 0 ? text.substr(0, comma) : text.substr(comma + 1);
            error = std::string(option) + ": " + number + " is beyond the range of the drawing";
            return false;
        }
    p = AIRealPoint{AIReal(v[0]), AIReal(v[1])};
    return true;
}

// What is wrong with the way the command line gives the stroke (a mistake
// in the command line itself), or empty.
std::string strokeChoiceError(const PaintOptions &o) {
    const bool straight = !o.from.empty() || !o.to.empty();
    const int pathSources = int(straight) + int(!o.path.empty()) + int(!o.pathFile.empty());
    if (pathSources == 0) return "give the stroke: --from X,Y --to X,Y, --path or --path-file";
    if (pathSources > 1) return "give the stroke one way: --from/--to, --path or --path-file";
    if (straight && o.from.empty()) return "--to needs --from";
    if (straight && o.to.empty()) return "--from needs --to";
    return {};
}

// The pen's pressure along the stroke from --pressures, in place of one
// pressure for every message.
bool applyPressures(const PaintOptions &o, SessionStep &stroke, std::string &error) {
    if (!pressureProfile(o.pressures, stroke.points.size(), stroke.pressure, error)) {
        error = "--pressures: " + error;
        return false;
    }
    return true;
}

// The stroke from --from/--to or from --path / --path-file.
bool strokeOf(const PaintOptions &o, SessionStep &stroke, bool &pressureGiven, std::string &error) {
    pressureGiven = o.pressureOption->count() > 0 || !o.pressures.empty();
    if (o.pressureOption->count() > 0 && !o.pressures.empty()) {
        error = "give the pen's pressure one way: --pressure or --pressures";
        return false;
    }
    if (!o.from.empty()) {
        AIRealPoint from{}, to{};
        if (!parsePoint("--from", o.from, from, error) || !parsePoint("--to", o.to, to, error)) return false;
        stroke = straightStroke(o.tool, from, to, o.steps, ASInt16(o.pressure));
        return o.pressures.empty() || applyPressures(o, stroke, error);
    }
    std::string text = o.path, where = "--path";
    if (!o.pathFile.empty()) {
        where = o.pathFile;
        if (!readInputFile(o.pathFile, size_t(16) << 20, text, error)) return false;
    }
    StrokePath path;
    if (!parseStrokePath(text, o.steps, ASInt16(o.pressure), path, error)) {
        error = where + ": " + error;
        return false;
    }
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (o.stepsOption->count() > 0 && std::isalpha(static_cast<unsigned char>(text[first])) == 0)
        warn("--steps has no effect on a list of points: each point is one message");
    if (path.pressureGiven && !o.pressures.empty()) {
        error = "give the pen's pressure one way: on each point of " + where + " or with --pressures";
        return false;
    }
    pressureGiven = pressureGiven || path.pressureGiven;
    stroke.kind = SessionStep::Kind::Stroke;
    stroke.tool = o.tool;
    stroke.points = path.points;
    stroke.pressure = path.pressure;
    stroke.modifiers.assign(path.points.size() - 1, 0);
    return o.pressures.empty() || applyPressures(o, stroke, error);
}

// Why the pen's pressure cannot change this stroke, or empty when it can:
// only sizeFromPressure (the brush's size) and pressureModification (the
// effect's strength) use it, and Blend mode has no strength to scale. Every
// paint starts from the defaults, in which both are off.
std::string whyPressureIsIgnored(const std::string &tool, const std::vector<std::pair<std::string, std::string>> &values) {
    bool modification = false, size = false;
    for (const auto &v : values) {
        const OptionField *f = findOptionField(v.first);
        double on = 0;
        std::string ignored;
        if (!f || !parseFieldValue(*f, v.second, on, ignored)) continue;
        if (f->name == "pressureModification") modification = on != 0;
        if (f->name == "sizeFromPressure") size = on != 0;
    }
    if (size) return {};
    const std::string name = normalizeToolName(tool);
    // The short name, or the whole title with its prefix.
    const std::string suffix = " blend mode";
    const bool blendMode = name == "blend mode" || (name.size() > suffix.size() &&
                                                    name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
    if (modification && !blendMode) return {};
    if (modification)
        return "the Blend mode tool's change has no strength for pressureModification to scale; only "
               "sizeFromPressure (the brush size scaled by pressure) makes it count";
    return "neither pressureModification (effects scaled by pressure) nor sizeFromPressure (brush size scaled "
           "by pressure) is on; add --set pressureModification=on";
}

// The session `paint` plays: select, start-up, the options, one stroke,
// save, shutdown.
bool paintSession(const PaintOptions &o, Session &session, std::string &error) {
    session.name = "paint " + o.tool;
    session.document = o.in;
    session.hasSeed = true;
    session.seed = o.seed;
    SessionStep select;
    select.kind = SessionStep::Kind::Select;
    for (const std::string &list : o.select)
        for (size_t begin = 0; begin <= list.size();) {
            const size_t comma = std::min(list.find(',', begin), list.size());
            const std::string id = list.substr(begin, comma - begin);
            if (id.empty()) {
                error = "--select '" + list + "': an empty id";
                return false;
            }
            select.ids.push_back(id);
            begin = comma + 1;
        }
    select.selectors = o.selectBy;
    // Without a choice, everything a user could select.
    select.selectAll = select.ids.empty() && select.selectors.empty();
    session.steps.push_back(select);
    SessionStep startup;
    startup.kind = SessionStep::Kind::Startup;
    session.steps.push_back(startup);
    SessionStep set;
    if (!o.sets.empty()) {
        if (!setStepFromArguments(o.tool, o.sets, set, error)) return false;
        session.steps.push_back(set);
    }
    SessionStep stroke;
    bool pressureGiven = false;
    if (!strokeOf(o, stroke, pressureGiven, error)) return false;
    if (pressureGiven) {
        const std::string why = whyPressureIsIgnored(o.tool, set.values);
        if (!why.empty()) warn("the pen pressure has no effect: " + why);
    }
    session.steps.push_back(stroke);
    SessionStep save;
    save.kind = SessionStep::Kind::Save;
    save.path = o.inPlace ? o.in : o.out;
    session.steps.push_back(save);
    SessionStep shutdown;
    shutdown.kind = SessionStep::Kind::Shutdown;
    session.steps.push_back(shutdown);
    return true;
}

}  // namespace

void addPaintCommand(CLI::App &app, Context &context) {
    auto o = std::make_shared<PaintOptions>();
    CLI::App *cmd = app.add_subcommand("paint", "paint one stroke with a tool over an SVG drawing");
    cmd->footer("Without --select or --select-by, everything that is neither locked nor hidden is selected.\n"
                "Option names and limits: smearhost options --tool NAME.");
    cmd->add_option("--tool", o->tool, "the tool: its title without the prefix, e.g. rotate, stroke-weight")->required();
    cmd->add_option("--in", o->in, "the drawing to paint on (SVG)")->required();
    cmd->add_option("--out", o->out, "where to write the painted drawing (SVG; - for standard output); never the "
                                     "drawing read, unless --in-place");
    cmd->add_flag("--in-place", o->inPlace, "write the painted drawing over --in, in place of --out");
    cmd->add_option("--select", o->select, "select these objects only: ID[,ID...] (the SVG elements' ids); a group "
                                           "is selected with its contents");
    cmd->add_option("--select-by", o->selectBy, "select the objects read from elements that match: an element name "
                                                "(rect), a class (.leaf), an id (#berry) or both (path.vein)");
    cmd->add_option("--set", o->sets, "an option as field=value (names as `smearhost options` lists them, in any "
                                      "case, e.g. rotateAngle=10); typed into the tool's options dialog");
    cmd->add_option("--from", o->from, "mouse down at X,Y (the drawing's user units)");
    cmd->add_option("--to", o->to, "the last drag message and the mouse up at X,Y");
    cmd->add_option("--path", o->path, kPathHelp);
    cmd->add_option("--path-file", o->pathFile, "a file holding what --path takes (points may stand on lines of their own)");
    o->stepsOption = cmd->add_option("--steps", o->steps, "number of drag messages along --from/--to or SVG path data")
                         ->check(CLI::Range(1, 100000));
    o->pressureOption =
        cmd->add_option("--pressure", o->pressure, "pen pressure, 0 to 255 (counts only with pressureModification or "
                                                   "sizeFromPressure on)")
            ->check(CLI::Range(0, 255));
    cmd->add_option("--pressures", o->pressures,
                    "the pen's pressure along the stroke, \"P0 P1 ... Pk\" from 0 to 1: P0 at the mouse down, Pk at "
                    "the mouse up, spread evenly over the messages between and read in straight lines");
    cmd->add_option("--seed", o->seed, "seed of the host's random source");
    cmd->add_option("--png", o->png, "also draw the painted drawing as a PNG picture (librsvg; - for standard output)");
    cmd->add_flag("--quiet", o->quiet, "print nothing but errors, warnings and what the drawing loses");
    cmd->add_flag("--strict", o->strict, "fail, writing nothing, when the reader cannot keep part of the drawing");
    cmd->callback([&context, o]() {
        Session session;
        std::string error;
        std::string usage = strokeChoiceError(*o);
        if (o->inPlace && !o->out.empty()) usage = "give --out or --in-place, not both";
        if (!o->inPlace && o->out.empty()) usage = "--out is required (or --in-place to write over --in)";
        if (!usage.empty()) {
            fail(usage);
            context.exitCode = 2;
            return;
        }
        if (!o->png.empty() && !pngAvailable(error)) {
            context.exitCode = fail(error);
            return;
        }
        const std::string out = o->inPlace ? o->in : o->out;
        CommandOutputs outputs{o->in, {{"--out", out}, {"--png", o->png}}, o->inPlace,
                               "to paint the drawing in place, give --in-place instead of --out"};
        if (!checkOutputs(outputs, error) || !paintSession(*o, session, error)) {
            context.exitCode = fail(error);
            return;
        }
        PlayOptions play;
        // Standard output holds the drawing or the picture, and nothing else.
        play.quiet = o->quiet || isStandardOutput(out) || isStandardOutput(o->png);
        play.strict = o->strict;
        play.numberSteps = false;
        // The picture shows the SVG as written; its relative references lead
        // from where it was written.
        if (!o->png.empty())
            play.afterRun = [o, out](Host &host, std::string &why) {
                std::string svg;
                return writeSvg(host.document(), svg, why) &&
                       writePngOf(svg, isStandardOutput(out) ? o->in : out, o->png, why);
            };
        playSession(context, session, play);
    });
}

}  // namespace smear::app
