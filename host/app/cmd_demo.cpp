// `smearhost demo`: paints the built-in sample drawing with every tool and
// writes an HTML gallery of before and after pictures.
#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

#include "app.h"
#include "gallery.h"
#include "option_fields.h"
#include "sample_document.h"
#include "session.h"
#include "session_document.h"
#include "session_files.h"
#include "svg.h"
#include "tool_names.h"

namespace smear::app {

namespace {

// The stroke runs along the sample's middle line, through every object.
const AIRealPoint kFrom{10, 160};
const AIRealPoint kTo{510, 160};
const int kSteps = 30;
// The default brush: 50 points either way of the pointer.
const double kBrushHalfSize = 50;
const uint32_t kSeed = 7;

// Options that make a tool's change easy to see in a small picture; every
// other tool paints with its defaults.
const std::map<std::string, std::vector<std::pair<std::string, std::string>>> &demoSettings() {
    static const std::map<std::string, std::vector<std::pair<std::string, std::string>>> settings = {
        {"transparency", {{"transparencyAmount", "-3"}}},
        {"stroke-weight", {{"strokeWeightAmount", "0.3"}}},
        {"fill-intensity", {{"fillIntensityAmount", "-2"}}},
        {"translate", {{"translateHorizontal", "1"}, {"translateVertical", "1"}}},
        // Cyan up, magenta down, yellow a little up, on fills and strokes.
        {"fill-channels",
         {{"fillChannel1", "2"}, {"fillChannel2", "-2"}, {"fillChannel3", "1"}, {"fillChannelsApplyToStroke", "1"}}},
        // Every object takes "Soft Blue", its stroke three times as wide.
        {"styles", {{"styleIndex", "1"}, {"styleFactorMode", "1"}, {"styleFactor", "300"}}},
        {"blend-mode", {{"blendMode", "10"}}},  // Difference, over the backdrop's bands
        {"color-reducer", {{"colorReducerAmount", "5"}}},
        {"swatches", {{"swatchIndex", "8"}, {"swatchJitter", "3"}}},
        {"tint", {{"tintAmount", "-8"}, {"tintApplyToStroke", "1"}}},
        {"gradient", {{"gradientAngle", "3"}, {"gradientLength", "-1"}, {"gradientHiliteAngle", "4"},
                      {"gradientHiliteLength", "2"}}},
        {"pattern", {{"patternAngle", "4"}, {"patternScaleHorizontal", "10"}, {"patternScaleVertical", "5"}}},
        // Handles drawn out of every corner the brush reaches.
        {"corner-points", {{"cornerApplyMode", "1"}, {"cornerOutHorizontal", "1.5"}, {"cornerOutVertical", "1.5"},
                           {"cornerInHorizontal", "-1.5"}, {"cornerInVertical", "1.5"}}},
        {"point-shifter", {{"pointShiftHorizontal", "1"}, {"pointShiftVertical", "4"},
                           {"pointShifterFollowBrush", "off"}}},
        // A narrow brush over the mesh's middle, mirrored left to right.
        {"gradient-mesh", {{"meshColorChannel1", "6"}, {"meshColorChannel2", "-4"}, {"meshColorChannel3", "4"},
                           {"meshPattern", "2"}, {"brushSizeHorizontal", "25"}, {"brushSizeVertical", "25"}}},
        {"warp-mesh", {{"warpShiftHorizontal", "1.5"}, {"warpShiftVertical", "2.5"}, {"warpMeshFollowBrush", "off"},
                       {"warpMeshPattern", "2"}, {"brushSizeHorizontal", "30"}, {"brushSizeVertical", "30"}}},
    };
    return settings;
}

std::string settingsText(const std::vector<std::pair<std::string, std::string>> &values) {
    std::string s;
    for (const auto &v : values) s += (s.empty() ? "" : " ") + v.first + "=" + v.second;
    return s;
}

// A whole number of points for the gallery's view box; false past an int.
bool wholeText(double v, std::string &out) {
    if (!(std::fabs(v) < 2147483647.0)) return false;
    out = std::to_string(int(v));
    return true;
}

// The stroke and the brush a tool's picture shows: the default brush
// unless the tool's settings size it (read as the options dialog takes them).
bool brushPath(const Document &doc, const std::vector<std::pair<std::string, std::string>> *settings,
               GalleryStroke &path, std::string &error) {
    path.x1 = kFrom.h;
    path.y1 = kFrom.v;
    path.x2 = kTo.h;
    path.y2 = kTo.v;
    path.hx = path.hy = kBrushHalfSize;
    if (settings)
        for (const auto &v : *settings) {
            if (v.first != "brushSizeHorizontal" && v.first != "brushSizeVertical") continue;
            const OptionField *field = findOptionField(v.first);
            double size = 0;
            if (!field || !parseFieldValue(*field, v.second, size, error)) return false;
            (v.first == "brushSizeHorizontal" ? path.hx : path.hy) = size;
        }
    const AIRealRect &board = doc.artboard;
    std::string x, y, w, h;
    if (!wholeText(board.left, x) || !wholeText(-board.top, y) || !wholeText(double(board.right) - board.left, w) ||
        !wholeText(double(board.top) - board.bottom, h)) {
        error = "the sample's artboard is too large for the gallery";
        return false;
    }
    path.viewBox = x + " " + y + " " + w + " " + h;
    return true;
}

struct DemoOptions {
    std::string out = "demo";
};

bool runDemo(const Context &context, const DemoOptions &o, std::string &error) {
    if (!makeFolders(o.out, error)) return false;
    auto before = buildDocument(sampleDocument(), error);
    if (!before) return false;
    // Whether a tool changed the drawing is decided on the files it would
    // save; the pictures are previews, which show the meshes' colours.
    std::string beforeSvg, beforePreview;
    if (!writeSvg(*before, beforeSvg, error) || !writeSvgPreview(*before, beforePreview, error)) {
        error = "the sample drawing: " + error;
        return false;
    }
    if (!writeFileAtomically(joinPath(o.out, "before.svg"), beforePreview, error)) return false;

    Host host;
    if (!openPlugin(host, context, error)) return false;
    std::ostringstream startup;
    SessionRunner starter(host, startup);
    SessionStep start;
    start.kind = SessionStep::Kind::Startup;
    // However the demo ends, the plug-in is shut down as the host does when it quits.
    struct QuitOnExit {
        SessionRunner &runner;
        ~QuitOnExit() { runner.quit(); }
    } quitOnExit{starter};
    if (!starter.runStep(start, error)) return false;
    if (starter.lastResult() != kNoErr) {
        error = "the plug-in's start-up failed:\n" + startup.str();
        return false;
    }

    std::vector<GalleryEntry> entries;
    const size_t toolCount = host.palette.size();
    for (size_t i = 0; i < toolCount; ++i) {
        GalleryEntry entry;
        entry.title = host.palette[i].title;
        entry.tooltip = host.palette[i].tooltip;
        entry.name = shortToolName(entry.title);
        entry.afterFile = entry.name + ".svg";

        Session session;
        session.name = "demo " + entry.name;
        session.document = sampleDocument();
        session.hasSeed = true;
        session.seed = kSeed;
        SessionStep select;
        select.kind = SessionStep::Kind::Select;
        select.selectAll = true;
        session.steps.push_back(select);
        auto settings = demoSettings().find(entry.name);
        if (!brushPath(*before, settings == demoSettings().end() ? nullptr : &settings->second, entry.stroke, error))
            return false;
        if (settings != demoSettings().end()) {
            SessionStep set;
            set.kind = SessionStep::Kind::Set;
            set.tool = entry.name;
            set.values = settings->second;
            session.steps.push_back(set);
            entry.settings = settingsText(settings->second);
        }
        session.steps.push_back(straightStroke(entry.name, kFrom, kTo, kSteps, 255));
        // The options dialog as the user opens it afterwards, then cancels it.
        SessionStep dialog;
        dialog.kind = SessionStep::Kind::Options;
        dialog.tool = entry.name;
        dialog.actions.push_back(DialogAction::escape());
        dialog.path = entry.name + "-dialog.svg";
        session.steps.push_back(dialog);
        entry.dialogFile = dialog.path;

        std::ostringstream report;
        SessionRunner runner(host, report);
        runner.outDir = o.out;
        if (!runner.run(session, error)) {
            error = entry.name + ": " + error;
            return false;
        }
        std::string afterSvg, afterPreview;
        if (!writeSvg(host.document(), afterSvg, error) || !writeSvgPreview(host.document(), afterPreview, error)) {
            error = entry.name + ": " + error;
            return false;
        }
        entry.changed = afterSvg != beforeSvg;
        entry.report = report.str();
        if (entry.changed && !writeFileAtomically(joinPath(o.out, entry.afterFile), afterPreview, error))
            return false;
        std::cout << entry.name << ": " << (entry.changed ? "changed the drawing" : "no change") << "\n";
        entries.push_back(entry);
    }

    std::ostringstream stroke;
    stroke << "Each tool paints one stroke over the sample drawing with every object selected: mouse down at ("
           << kFrom.h << ", " << kFrom.v << "), " << kSteps << " drag messages to (" << kTo.h << ", " << kTo.v
           << "), full pressure, random seed " << kSeed << ".";
    const std::string index = joinPath(o.out, "index.html");
    if (!writeFileAtomically(index, galleryHtml("before.svg", stroke.str(), entries), error)) return false;
    std::cout << "wrote " << index << "\n";
    return true;
}

}  // namespace

void addDemoCommand(CLI::App &app, Context &context) {
    auto o = std::make_shared<DemoOptions>();
    CLI::App *cmd = app.add_subcommand("demo", "paint the built-in sample with every tool into an HTML gallery");
    cmd->add_option("--out", o->out, "folder for index.html and the pictures");
    cmd->callback([&context, o]() {
        std::string error;
        if (!runDemo(context, *o, error)) context.exitCode = fail(error);
    });
}

}  // namespace smear::app
