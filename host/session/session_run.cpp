// Playing a session on the host, step by step, with its report.
#include <cmath>
#include <functional>
#include <ostream>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "art_selectors.h"
#include "option_catalogue.h"
#include "option_fields.h"
#include "session.h"
#include "session_changes.h"
#include "dialog_svg.h"
#include "session_document.h"
#include "save_folder.h"
#include "session_files.h"
#include "session_platform.h"
#include "session_report.h"
#include "svg.h"
#include "svg_report.h"
#include "spelling.h"
#include "stroke_outcome.h"
#include "tool_names.h"

namespace smear {

namespace {

using Kind = SessionStep::Kind;

AIRealPoint toDoc(AIRealPoint svg) { return AIRealPoint{svg.h, -svg.v}; }

size_t countArt(const Document &doc) {
    size_t n = 0;
    doc.forEachArt([&](const Art &) { ++n; });
    return n;
}

// The dialog action that sets one option as a user would.
DialogAction actionFor(const OptionField &field, double value, const std::string &typed) {
    switch (field.kind) {
    case FieldKind::Flag: return DialogAction::check(field.item, value != 0);
    case FieldKind::Index: return DialogAction::pick(field.item, ASInt32(value));
    default: return DialogAction::type(field.item, typed);
    }
}

// The decimals a dialog that rounds what is typed kept of `wanted` to give
// `stored`: the most that give it (-0.004 rounds to 0 at two decimals as at
// none). -1 when no rounding gives it: the dialog held the value to limits.
int decimalsRoundedTo(const OptionField &field, double wanted, double stored) {
    if (field.kind != FieldKind::Float) return -1;
    for (int decimals = 6; decimals >= 0; --decimals) {
        const double scale = std::pow(10.0, decimals);
        if (sameFieldValue(field, stored, std::round(wanted * scale) / scale)) return decimals;
    }
    return -1;
}

// What the document holds of what an option with a limit that depends on
// it counts ("no swatches", "3 named graphic styles"); empty for others.
std::string documentCount(const Document &doc, const OptionField &field) {
    if (field.max != kDocumentLimit) return "";
    const bool swatches = field.name.rfind("swatch", 0) == 0;
    const size_t count = swatches ? doc.swatches.size() : doc.graphicStyles.size();
    const std::string one = swatches ? "swatch" : "named graphic style";
    const std::string many = swatches ? "swatches" : "named graphic styles";
    if (count == 0) return "no " + many;
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::unique_ptr<Document> loadSessionDocument(const Session &session, std::string &error,
                                              std::vector<std::string> *problems) {
    const nlohmann::json &d = session.document;
    if (d.is_null()) return std::make_unique<Document>();
    if (d.is_object()) {
        auto doc = buildDocument(d, error);
        if (!doc) error = "document: " + error;
        return doc;
    }
    const std::string path = joinPath(session.baseDir, d.get<std::string>());
    auto doc = std::make_unique<Document>();
    SvgReadReport report;
    if (!readSvgFile(path, *doc, report, error)) return nullptr;
    if (problems) problems->insert(problems->end(), report.problems.begin(), report.problems.end());
    return doc;
}

SessionRunner::SessionRunner(Host &host, std::ostream &report) : host_(host), out_(report) {}

bool SessionRunner::run(const Session &session, std::string &error) {
    std::vector<std::string> problems;
    if (onPhase && session.document.is_string()) onPhase("reading " + session.document.get<std::string>());
    auto doc = loadSessionDocument(session, error, &problems);
    if (!doc) return false;
    drawingPath_.reset();
    if (session.document.is_string()) drawingPath_ = joinPath(session.baseDir, session.document.get<std::string>());
    out_ << "session " << (session.name.empty() ? "(unnamed)" : session.name) << "\n";
    out_ << "document: " << countArt(*doc) << " objects\n";
    // What the file holds that the document does not, so that a saved
    // drawing's losses are never silent.
    for (const std::string &problem : problems) out_ << "  read: " << problem << "\n";
    if (!problems.empty()) {
        const std::string file = session.document.is_string() ? session.document.get<std::string>() : "the drawing";
        if (readWarnings)
            for (const std::string &line : summarizeReadProblems(problems))
                *readWarnings << "smearhost: " << file << ": " << line << "\n";
        if (strict) {
            error = file + ": " + std::to_string(problems.size()) +
                    (problems.size() == 1 ? " part" : " parts") + " of the drawing cannot be kept (--strict)";
            return false;
        }
    }
    host_.replaceDocument(std::move(doc));
    if (session.hasSeed) {
        host_.random.seed(session.seed);
        out_ << "seed " << session.seed << "\n";
    }
    transcriptSeen_ = host_.transcript.size();
    problemsSeen_ = host_.dialogs->problems.size();
    for (const SessionStep &step : session.steps)
        if (!runStep(step, error)) return false;
    return true;
}

bool SessionRunner::runStep(const SessionStep &step, std::string &error) {
    ++stepNumber_;
    out_ << "[" << stepNumber_ << "] " << stepName(step.kind);
    if (!step.tool.empty()) out_ << " " << step.tool;
    bool ok = true;
    switch (step.kind) {
    case Kind::Startup:
        reportResult(host_.sendBasic(kSPInterfaceCaller, kSPInterfaceStartupSelector));
        started_ = true;  // even a failed start-up may hold what a shutdown frees
        break;
    case Kind::Shutdown:
        reportResult(host_.sendBasic(kSPInterfaceCaller, kSPInterfaceShutdownSelector));
        started_ = false;
        break;
    case Kind::About: reportResult(host_.sendBasic(kSPInterfaceCaller, kSPInterfaceAboutSelector)); break;
    case Kind::Unload:
        reportResult(host_.sendBasic(kSPAccessCaller, kSPAccessUnloadSelector));
        host_.unloadModule();
        break;
    case Kind::Reload:
        if (!host_.reloadModule(error)) {
            out_ << "\n";
            if (numberStepsInErrors) error = "step " + std::to_string(stepNumber_) + " (reload): " + error;
            return false;
        }
        reportResult(host_.sendBasic(kSPAccessCaller, kSPAccessReloadSelector));
        break;
    case Kind::Tools:
        out_ << "\n";
        printPalette(out_, host_.palette);
        break;
    case Kind::Select: ok = select(step, error); break;
    case Kind::Options: ok = options(step, error); break;
    case Kind::Set: ok = set(step, error); break;
    case Kind::Cursor: ok = cursor(step, error); break;
    case Kind::Stroke: ok = stroke(step, error); break;
    case Kind::Undo: out_ << (host_.undo() ? ": undone\n" : ": nothing to undo\n"); break;
    case Kind::Save: ok = save(step, error); break;
    case Kind::Randoms:
        for (AIReal v : step.randoms) host_.random.queue(v);
        out_ << ": " << step.randoms.size() << " draws queued\n";
        break;
    case Kind::Seed:
        host_.random.seed(step.seed);
        out_ << " " << step.seed << "\n";
        break;
    }
    if (!ok) {
        out_ << ": failed\n";
        if (numberStepsInErrors)
            error = "step " + std::to_string(stepNumber_) + " (" + stepName(step.kind) + "): " + error;
        return false;
    }
    reportUi();
    return true;
}

void SessionRunner::quit() {
    if (!started_) return;
    started_ = false;
    out_ << "quit: shutdown";
    reportResult(host_.sendBasic(kSPInterfaceCaller, kSPInterfaceShutdownSelector));
    reportUi();
}

void SessionRunner::reportResult(SPErr result) {
    lastResult_ = result;
    out_ << " -> " << formatCode(result) << "\n";
}

void SessionRunner::reportUi() {
    for (; transcriptSeen_ < host_.transcript.size(); ++transcriptSeen_)
        printUiEvent(out_, host_.transcript[transcriptSeen_], "  ");
    const auto &problems = host_.dialogs->problems;
    for (; problemsSeen_ < problems.size(); ++problemsSeen_) out_ << "  dialog problem: " << problems[problemsSeen_] << "\n";
}

bool SessionRunner::tool(const std::string &name, AIToolHandle &handle, std::string &error) {
    const int id = findTool(host_.palette, name, error);
    if (id < 0) return false;
    handle = toolHandle(host_, id);
    return true;
}

bool SessionRunner::select(const SessionStep &step, std::string &error) {
    Document &doc = host_.document();
    std::vector<Art *> chosen;
    // The first object with each id, found in one pass: a step may name
    // every object of a large drawing.
    std::unordered_map<std::string_view, Art *> byId;
    if (!step.ids.empty())
        doc.forEachArt([&](Art &a) {
            if (!a.id.empty()) byId.emplace(a.id, &a);
        });
    for (const std::string &id : step.ids) {
        if (id.empty()) {
            error = "an empty id names no object";
            return false;
        }
        const auto it = byId.find(id);
        Art *found = it == byId.end() ? nullptr : it->second;
        if (!found) {
            std::vector<std::string> ids;
            doc.forEachArt([&](const Art &a) {
                if (!a.id.empty()) ids.push_back(a.id);
            });
            const std::string guess = closestName(id, ids);
            error = "no object with id '" + id + "'" + (guess.empty() ? "" : " (did you mean " + guess + "?)");
            return false;
        }
        chosen.push_back(found);
    }
    for (const std::string &text : step.selectors) {
        SimpleSelector selector;
        if (!parseSimpleSelector(text, selector, error)) return false;
        const std::vector<Art *> matched = artMatching(doc, selector);
        if (matched.empty()) {
            error = doc.svgSource ? "no element of the drawing that holds art matches '" + text + "'"
                                  : "'" + text + "' selects by SVG element, and this drawing was not read from SVG";
            return false;
        }
        chosen.insert(chosen.end(), matched.begin(), matched.end());
    }
    // Like a click on the art: selecting a group or compound path selects
    // everything in it; everything else is deselected.
    doc.forEachArt([&](Art &a) { doc.setUserAttr(a, a.userAttr & ~kArtSelected); });
    std::function<void(Art &)> selectTree = [&](Art &a) {
        doc.setUserAttr(a, a.userAttr | kArtSelected);
        for (Art *c = a.firstChild; c; c = c->next) selectTree(*c);
    };
    // Select all, as a host does it: what is locked or hidden, by itself or
    // by its layer, stays unselected.
    std::function<void(Art &)> selectOpen = [&](Art &a) {
        if (a.userAttr & (kArtLocked | kArtHidden)) return;
        doc.setUserAttr(a, a.userAttr | kArtSelected);
        for (Art *c = a.firstChild; c; c = c->next) selectOpen(*c);
    };
    if (step.selectAll)
        for (Layer *layer : doc.layers)
            if (layer->visible && !layer->locked)
                for (Art *a = layer->root->firstChild; a; a = a->next) selectOpen(*a);
    // Each named once however often it was named, so that a step costs what
    // the drawing holds.
    std::unordered_set<Art *> done;
    for (Art *a : chosen)
        if (done.insert(a).second) selectTree(*a);
    size_t selected = 0;
    doc.forEachArt([&](const Art &a) { selected += a.selected(); });
    out_ << ": " << selected << " objects selected\n";
    return true;
}

SPErr SessionRunner::runOptionsDialog(AIToolHandle handle, std::vector<DialogAction> actions, size_t &problems,
                                      std::string *drawing) {
    const size_t before = host_.dialogs->problems.size();
    host_.dialogs->queue(std::move(actions));
    auto previous = host_.dialogs->onOpen;
    if (drawing) {
        host_.dialogs->onOpen = [drawing](Dialog &dialog) {
            if (drawing->empty()) *drawing = drawDialogSvg(dialog);
        };
    }
    const SPErr result = host_.sendTool(kAIToolEditOptionsSelector, handle, AIRealPoint{0, 0}, 255, 0);
    host_.dialogs->onOpen = previous;
    // A dialog that never opened leaves its script behind.
    host_.dialogs->clearScripts();
    problems = host_.dialogs->problems.size() - before;
    return result;
}

bool SessionRunner::options(const SessionStep &step, std::string &error) {
    AIToolHandle handle = nullptr;
    if (!tool(step.tool, handle, error)) return false;
    size_t problems = 0;
    std::string drawing;
    reportResult(runOptionsDialog(handle, step.actions, problems, step.path.empty() ? nullptr : &drawing));
    if (step.path.empty()) return true;
    if (drawing.empty()) {
        error = "no dialog opened to draw";
        return false;
    }
    if (!writeOut(step.path, drawing, error)) return false;
    out_ << "  drawn to " << step.path << "\n";
    return true;
}

bool SessionRunner::set(const SessionStep &step, std::string &error) {
    AIToolHandle handle = nullptr;
    if (!tool(step.tool, handle, error)) return false;
    const int paletteIndex = findTool(host_.palette, step.tool, error);
    const int toolId = toolIdOf(host_.palette, paletteIndex);
    std::vector<DialogAction> actions;
    std::vector<std::pair<const OptionField *, double>> wanted;
    std::vector<std::string> typed;
    for (const auto &v : step.values) {
        const OptionField *field = findOptionField(v.first);
        if (!field) {
            const std::string guess = closestName(v.first, optionNames(toolId));
            error = "no option named '" + v.first + "'" +
                    (guess.empty() ? " (names as in the options record, such as rotateAngle)"
                                   : " (did you mean " + guess + "?)") +
                    "; smearhost options --tool " + shortToolName(host_.palette[size_t(paletteIndex)].title) +
                    " lists them";
            return false;
        }
        if (field->tool != -1 && field->tool != toolId) {
            error = field->name + " is not an option of the " + step.tool + " tool's dialog";
            return false;
        }
        double value = 0;
        if (!parseFieldValue(*field, v.second, value, error)) return false;
        actions.push_back(actionFor(*field, value, v.second));
        wanted.emplace_back(field, value);
        typed.push_back(v.second);
        out_ << " " << v.first << "=" << v.second;
    }
    actions.push_back(DialogAction::press(1));
    size_t problems = 0;
    const SPErr result = runOptionsDialog(handle, actions, problems);
    reportResult(result);
    reportUi();
    if (result != kNoErr || problems != 0) {
        // Why, in the dialog's own words: the report may go unread (--quiet).
        const auto &said = host_.dialogs->problems;
        error = "the options dialog did not take the values";
        if (problems != 0) error += ": " + said[said.size() - problems];
        else error += ": it returned " + formatCode(result);
        return false;
    }
    // What the dialog wrote into the record, as the plug-in will use it. A
    // value the dialog changed (held to limits that depend on the document,
    // such as the number of graphic styles) fails the step: nothing is
    // changed behind the user's back. A number with more decimals than the
    // dialog shows is taken as the dialog rounds it, as a user typing it
    // gets it, and the rounding is said.
    std::string changed;
    std::vector<std::string> rounded;
    bool readable = withPluginGlobals(host_, [&](void *globals) {
        for (size_t i = 0; i < wanted.size(); ++i) {
            const OptionField &field = *wanted[i].first;
            const double stored = readField(globals, field);
            out_ << "  " << field.name << " = " << formatFieldValue(field, stored) << "\n";
            if (sameFieldValue(field, stored, wanted[i].second) || !changed.empty()) continue;
            const int decimals = decimalsRoundedTo(field, wanted[i].second, stored);
            if (decimals >= 0)
                rounded.push_back(field.name + "=" + typed[i] + " was rounded to " + formatFieldValue(field, stored) +
                                  ": the dialog keeps " + std::to_string(decimals) +
                                  (decimals == 1 ? " decimal" : " decimals"));
            else {
                const std::string held = documentCount(host_.document(), field);
                changed = field.name + "=" + typed[i] + " is outside what the dialog allows here: it made it " +
                          formatFieldValue(field, stored) + (held.empty() ? "" : " (the drawing has " + held + ")");
            }
        }
    });
    if (!readable) out_ << "  (the plug-in gave no options record to read back)\n";
    if (!changed.empty()) {
        error = changed;
        return false;
    }
    for (const std::string &r : rounded) warn(step.kind, r);
    return true;
}

void SessionRunner::warn(SessionStep::Kind kind, const std::string &message) {
    if (!warnings) return;
    *warnings << "smearhost: warning: ";
    if (numberStepsInErrors) *warnings << "step " << stepNumber_ << " (" << stepName(kind) << "): ";
    *warnings << message << "\n";
}

bool SessionRunner::cursor(const SessionStep &step, std::string &error) {
    AIToolHandle handle = nullptr;
    if (!tool(step.tool, handle, error)) return false;
    forgetCursor(host_);
    const SPErr result = host_.sendTool(kAIToolTrackCursorSelector, handle, toDoc(step.points.front()), 255, 0);
    lastResult_ = result;
    out_ << " -> " << formatCode(result);
    const int id = observedCursor(host_);
    out_ << ", cursor " << (id ? std::to_string(id) : std::string("not set")) << "\n";
    return true;
}

bool SessionRunner::stroke(const SessionStep &step, std::string &error) {
    AIToolHandle handle = nullptr;
    if (!tool(step.tool, handle, error)) return false;
    const size_t drags = step.points.size() - 1;
    const ChangeWatch watch(host_.document());
    const SPErr down = host_.sendTool(kAIToolMouseDownSelector, handle, toDoc(step.points[0]), step.pressure[0], 0);
    SPErr firstDragError = kNoErr;
    for (size_t i = 1; i <= drags; ++i) {
        const SPErr r = host_.sendTool(kAIToolMouseDragSelector, handle, toDoc(step.points[i]), step.pressure[i],
                                       step.modifiers[i - 1]);
        if (firstDragError == kNoErr) firstDragError = r;
        if (onDrag) onDrag(i, drags);
    }
    const SPErr up = host_.sendTool(kAIToolMouseUpSelector, handle, toDoc(step.points.back()), step.pressure.back(), 0);
    lastResult_ = up;
    const ChangeWatch::Changes changes = watch.compare(host_.document());
    out_ << ": down -> " << formatCode(down) << ", " << drags << (drags == 1 ? " drag -> " : " drags -> ")
         << formatCode(firstDragError) << ", up -> " << formatCode(up) << "; "
         << describe(changes) << "\n";
    if (warnings && changes.changed + changes.added + changes.removed == 0) {
        std::vector<AIRealPoint> points;
        for (const AIRealPoint &p : step.points) points.push_back(toDoc(p));
        std::string unused;
        const int index = findTool(host_.palette, step.tool, unused);
        const std::string why = whyStrokeChangedNothing(host_, toolIdOf(host_.palette, index), points, step.pressure);
        if (!why.empty()) warn(step.kind, "the stroke changed nothing: " + why);
    }
    return true;
}

bool SessionRunner::writeOut(const std::string &path, const std::string &content, std::string &error) {
    if (!confineSaves) return writeOutput(isStandardOutput(path) ? path : joinPath(outDir, path), content, error);
    SaveFolder folder{outDir, keepFiles};
    if (drawingPath_) folder.keep.emplace_back(*drawingPath_, "the session's drawing");
    std::string target;
    if (savePath(folder, path, ".svg", target, error) != SaveRefusal::None) return false;
    return writeFileAtomically(target, content, error);
}

bool SessionRunner::save(const SessionStep &step, std::string &error) {
    if (onPhase) onPhase("writing " + step.path);
    std::string svg;
    if (!writeSvg(host_.document(), svg, error)) {
        error = step.path + ": " + error + "; nothing written";
        return false;
    }
    if (!writeOut(step.path, svg, error)) return false;
    out_ << " " << step.path << ": " << countArt(host_.document()) << " objects\n";
    return true;
}

}  // namespace smear
