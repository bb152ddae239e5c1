// `smearhost paint`: one stroke of one tool over an SVG drawing.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app.h"
#include "session.h"

namespace smear::app {

namespace {

struct PaintOptions {
    std::string tool, in, out;
    std::vector<std::string> sets;
    std::string from, to;
    int steps = 10;
    int pressure = 255;
    uint32_t seed = 1;
    bool quiet = false;
    bool strict = false;
};

// One coordinate: a number, and one the drawing's single-precision
// numbers hold (a number beyond a double reads as infinite).
bool parseCoordinate(const std::string &text, double &out) {
    char *end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && !std::isnan(out);
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

// The session `paint` plays: select all, start-up, the options, one
// stroke, save, shutdown.
bool paintSession(const PaintOptions &o, Session &session, std::string &error) {
    AIRealPoint from{}, to{};
    if (!parsePoint("--from", o.from, from, error) || !parsePoint("--to", o.to, to, error)) return false;
    session.name = "paint " + o.tool;
    session.document = o.in;
    session.hasSeed = true;
    session.seed = o.seed;
    SessionStep select;
    select.kind = SessionStep::Kind::Select;
    select.selectAll = true;
    session.steps.push_back(select);
    SessionStep startup;
    startup.kind = SessionStep::Kind::Startup;
    session.steps.push_back(startup);
    if (!o.sets.empty()) {
        SessionStep set;
        if (!setStepFromArguments(o.tool, o.sets, set, error)) return false;
        session.steps.push_back(set);
    }
    session.steps.push_back(straightStroke(o.tool, from, to, o.steps, ASInt16(o.pressure)));
    SessionStep save;
    save.kind = SessionStep::Kind::Save;
    save.path = o.out;
    session.steps.push_back(save);
    SessionStep shutdown;
    shutdown.kind = SessionStep::Kind::Shutdown;
    session.steps.push_back(shutdown);
    return true;
}

}  // namespace

void addPaintCommand(CLI::App &app, Context &context) {
    auto o = std::make_shared<PaintOptions>();
    CLI::App *cmd = app.add_subcommand("paint", "paint one stroke with a tool over every object of an SVG drawing");
    cmd->add_option("--tool", o->tool, "the tool: its title without the prefix, e.g. rotate, stroke-weight")->required();
    cmd->add_option("--in", o->in, "the drawing to paint on (SVG)")->required();
    cmd->add_option("--out", o->out, "where to write the painted drawing (SVG)")->required();
    cmd->add_option("--set", o->sets, "an option as field=value (name as in the options record, e.g. rotateAngle=10); "
                                      "typed into the tool's options dialog");
    cmd->add_option("--from", o->from, "mouse down at X,Y (the drawing's user units)")->required();
    cmd->add_option("--to", o->to, "the last drag message and the mouse up at X,Y")->required();
    cmd->add_option("--steps", o->steps, "number of drag messages")->check(CLI::Range(1, 100000));
    cmd->add_option("--pressure", o->pressure, "pen pressure, 0 to 255")->check(CLI::Range(0, 255));
    cmd->add_option("--seed", o->seed, "seed of the host's random source");
    cmd->add_flag("--quiet", o->quiet, "print nothing but errors and what the drawing loses");
    cmd->add_flag("--strict", o->strict, "fail, writing nothing, when the reader cannot keep part of the drawing");
    cmd->callback([&context, o]() {
        Session session;
        std::string error;
        if (!paintSession(*o, session, error)) {
            context.exitCode = fail(error);
            return;
        }
        playSession(context, session, o->quiet, {}, false, o->strict);
    });
}

}  // namespace smear::app
