#include "studio.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dialog_manager.h"
#include "document.h"
#include "icon_svg.h"
#include "option_catalogue.h"
#include "option_fields.h"
#include "resources.h"
#include "sample_document.h"
#include "save_folder.h"
#include "session_document.h"
#include "session_changes.h"
#include "session_files.h"
#include "stroke_outcome.h"
#include "svg.h"
#include "svg_report.h"
#include "tool_names.h"

namespace smear {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

// Bounds on what one page may ask, so that no request costs unbounded time
// or memory: drag messages in one request and in one stroke.
constexpr size_t kMaxPointsPerRequest = 10000;
constexpr size_t kMaxPointsPerStroke = 100000;
// Objects outlined one by one while at most this many are selected; past
// it, the page draws one box around them all.
constexpr size_t kMaxOutlined = 300;

AIRealPoint toDoc(double x, double y) { return AIRealPoint{AIReal(x), -AIReal(y)}; }

// A coordinate the drawing's single-precision numbers hold, kept to
// hundredths of a unit so that the record reads well; the record holds
// exactly the number that was sent.
double checkedCoordinate(double v) {
    if (!std::isfinite(v) || std::fabs(v) > 1e7)
        throw StudioError(400, "a coordinate must be a number within the drawing's range, not " + json(v).dump());
    return std::round(v * 100) / 100;
}

StrokePoint checkedPoint(const StrokePoint &p) {
    if (p.pressure < 0 || p.pressure > 255) throw StudioError(400, "pressure must lie from 0 to 255");
    if (p.modifiers < 0) throw StudioError(400, "modifier bits must be a non-negative 31-bit number");
    return StrokePoint{checkedCoordinate(p.x), checkedCoordinate(p.y), p.pressure, p.modifiers};
}

// The step as a session file writes it, parsed as a session would parse it.
SessionStep parsedStep(const json &step) {
    Session parsed;
    std::string error;
    if (!parseSession(json{{"steps", json::array({step})}}, parsed, error)) {
        // "steps[0].options.actions[1]: ..." names the place as the page sent it.
        const std::string wrapper = "steps[0].";
        throw StudioError(400, error.compare(0, wrapper.size(), wrapper) == 0 ? error.substr(wrapper.size()) : error);
    }
    return parsed.steps.front();
}

// A number the plug-in gave as a float, as the page should show it: 0.01,
// not 0.009999999776.
double tidy(double v) {
    if (!std::isfinite(v)) return v;
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", v);
    return std::strtod(text, nullptr);
}

// What the page needs of one dialog item to build its form control.
json describeItem(const DialogItem &item) {
    json j{{"id", item.id}, {"rect", {item.rect.left, item.rect.top, item.rect.right, item.rect.bottom}}};
    switch (item.kind) {
    case ItemKind::Static: j["kind"] = "label"; j["text"] = item.text; break;
    case ItemKind::SpinEdit:
        j["kind"] = "number";
        j["value"] = tidy(item.value);
        j["text"] = item.displayText();
        j["min"] = tidy(item.lowLimit());
        j["max"] = tidy(item.highLimit());
        j["precision"] = item.precision;
        break;
    case ItemKind::CheckBox: j["kind"] = "check"; j["text"] = item.text; j["checked"] = item.checked; break;
    case ItemKind::Popup: {
        j["kind"] = "popup";
        json entries = json::array();
        if (DialogList *list = item.list())
            for (ASInt32 i = 0; i < list->size(); ++i) entries.push_back(list->at(i)->text);
        j["entries"] = entries;
        j["active"] = item.list() ? item.list()->activeIndex() : -1;
        break;
    }
    case ItemKind::PushButton: j["kind"] = "button"; j["text"] = item.text; break;
    default: j["kind"] = "other"; j["text"] = item.displayText(); break;
    }
    return j;
}

json describeDialog(const Dialog &dialog) {
    json items = json::array();
    for (const auto &item : dialog.items()) items.push_back(describeItem(*item));
    return json{{"title", dialog.title}, {"width", dialog.width}, {"height", dialog.height}, {"items", items}};
}

json boxOf(const AIRealRect &r) {
    return json::array({r.left, -r.top, double(r.right) - r.left, double(r.top) - r.bottom});
}

bool touches(const AIRealRect &r, double left, double top, double right, double bottom) {
    // Document rectangles have their top above their bottom.
    return r.left <= right && r.right >= left && r.top >= bottom && r.bottom <= top;
}

// Strokes the host can undo after `steps`: each stroke closes one step,
// each undo takes one back.
size_t undoableAfter(const json &steps) {
    size_t n = 0;
    for (const json &s : steps) {
        if (s == "undo" && n > 0) --n;
        else if (s.is_object() && s.contains("stroke")) ++n;
    }
    return n;
}

}  // namespace

struct Studio::Run {
    Host host;
    std::ostringstream report;  // the runner's report; the page shows results, not this
    SessionRunner runner{host, report};
};

struct Studio::OpenStroke {
    std::string tool;  // as the record names it
    RandomSource randomBefore;
    int toolId = 0;
    AIToolHandle handle = nullptr;
    json points = json::array(), pressure = json::array(), modifiers = json::array();
    StrokePoint last;
};

Studio::Studio(StudioOptions options) : options_(std::move(options)) {}

Studio::~Studio() { quit(); }

void Studio::quit() {
    if (!run_) return;
    finishStroke();
    // Everything is saved: the journal has done its work.
    if (!unsaved_) journal_.remove();
    run_->runner.quit();
    run_.reset();
}

bool Studio::open(std::string &error) {
    if (!options_.drawing.empty()) {
        if (!readInputFile(options_.drawing, kSvgMaxFileBytes, drawingText_, error)) return false;
        Document probe;
        SvgReadReport report;
        if (!readSvgString(drawingText_, probe, report, error)) {
            error = options_.drawing + ": " + error;
            return false;
        }
        // Grouped as the command line tells them: once per kind, with a count.
        problems_ = summarizeReadProblems(report.problems);
    }
    steps_ = json::array({"startup"});
    if (!takeUpJournal(error)) return false;
    randomBefore_.assign(steps_.size(), std::nullopt);
    if (!build(steps_, error)) return false;
    if (!options_.journal.empty()) {
        std::vector<json> lines;
        for (const json &step : steps_) lines.push_back(json{{"step", step}});
        if (!journal_.start(options_.journal, journalHeader(), lines, error)) return false;
        unsaved_ = recovered_ > 0;
    }
    if (run_->runner.lastResult() != kNoErr) {
        error = "the plug-in's start-up failed:\n" + run_->report.str();
        return false;
    }
    readBrush();
    return true;
}

json Studio::journalHeader() const {
    json document = json{{"builtin", "sample"}};
    if (!options_.drawing.empty()) {
        std::error_code ec;
        document = fs::absolute(options_.drawing, ec).lexically_normal().generic_string();
    }
    return json{{"journal", 1}, {"document", document}, {"seed", options_.seed}};
}

bool Studio::takeUpJournal(std::string &error) {
    std::error_code ec;
    if (options_.journal.empty() || !fs::exists(options_.journal, ec)) {
        if (options_.recover) {
            error = "no journal to take up: " + (options_.journal.empty() ? std::string("none is kept") : options_.journal);
            return false;
        }
        return true;
    }
    json header, steps;
    if (!StudioJournal::read(options_.journal, header, steps, error)) return false;
    const json mine = journalHeader();
    if (header.value("document", json()) != mine["document"] || header.value("seed", json()) != mine["seed"]) {
        error = options_.journal + " is the journal of " + header.value("document", json()).dump() + " with seed " +
                header.value("seed", json()).dump() + ", not of this drawing; move it away to start afresh";
        return false;
    }
    if (steps.empty() || steps[0] != "startup") {
        error = options_.journal + ": the record does not start with the plug-in's start-up";
        return false;
    }
    steps_ = steps;
    recovered_ = steps.size() - 1;
    return true;
}

void Studio::journalLine(const json &line) {
    unsaved_ = true;
    if (!journal_.active()) return;
    std::string error;
    if (!journal_.append(line, error)) journalError_ = error;
}

bool Studio::build(const json &steps, std::string &error) {
    // One plug-in at a time: the old host shuts it down before the new one starts it.
    if (run_) run_->runner.quit();
    run_.reset();
    auto run = std::make_unique<Run>();
    if (!options_.attach || !options_.attach(run->host, error)) {
        if (error.empty()) error = "no plug-in to load";
        return false;
    }
    std::unique_ptr<Document> doc;
    if (options_.drawing.empty()) {
        doc = buildDocument(sampleDocument(), error);
    } else {
        doc = std::make_unique<Document>();
        SvgReadReport report;
        if (!readSvgString(drawingText_, *doc, report, error)) doc.reset();
    }
    if (!doc) return false;
    run->host.replaceDocument(std::move(doc));
    run->host.random.seed(options_.seed);
    Session parsed;
    if (!parseSession(json{{"steps", steps}}, parsed, error)) return false;
    for (const SessionStep &step : parsed.steps)
        if (!run->runner.runStep(step, error)) {
            run->runner.quit();
            return false;
        }
    run_ = std::move(run);
    live_.forget();
    undoable_ = undoableAfter(steps);
    changed();
    return true;
}

void Studio::play(const json &step) {
    const SessionStep parsed = parsedStep(step);
    std::string error;
    if (!run_->runner.runStep(parsed, error)) throw StudioError(400, error);
    steps_.push_back(step);
    randomBefore_.emplace_back();
    journalLine(json{{"step", step}});
    changed();
}

int Studio::toolIndex(const std::string &name) const {
    std::string error;
    const int index = findTool(run_->host.palette, name, error);
    if (index < 0) throw StudioError(400, error);
    return index;
}

// ---- What the page shows

json Studio::tools() const {
    json list = json::array();
    const auto &palette = run_->host.palette;
    for (size_t i = 0; i < palette.size(); ++i)
        list.push_back({{"index", i},
                        {"name", shortToolName(palette[i].title)},
                        {"title", palette[i].title},
                        {"tooltip", palette[i].tooltip},
                        {"icon", "/icons/" + std::to_string(i) + ".svg"}});
    return list;
}

std::string Studio::iconSvg(int toolId) const {
    const auto &palette = run_->host.palette;
    if (toolId < 0 || size_t(toolId) >= palette.size()) throw StudioError(404, "no tool " + std::to_string(toolId));
    const auto *icon = reinterpret_cast<const DialogIcon *>(palette[size_t(toolId)].icon);
    if (!icon) throw StudioError(404, "the tool has no icon");
    const auto images = run_->host.resources().iconGroup(uint16_t(icon->resourceId));
    if (!images || images->empty()) throw StudioError(404, "icon " + std::to_string(icon->resourceId) + " is missing");
    // The largest image, as a palette at full size shows it.
    const IconImage *best = &images->front();
    for (const IconImage &image : *images)
        if (image.width > best->width) best = &image;
    std::string svg, error;
    if (!drawIconSvg(*best, svg, error)) throw StudioError(500, error);
    return svg;
}

std::string Studio::drawingSvg() {
    std::string svg, error;
    if (!writeSvgPreview(run_->host.document(), svg, error)) throw StudioError(500, "the drawing cannot be shown: " + error);
    return svg;
}

json Studio::drawingForPage() {
    try {
        return live_.full(run_->host.document());
    } catch (const std::runtime_error &e) {
        throw StudioError(500, std::string("the drawing cannot be shown: ") + e.what());
    }
}

json Studio::drawingChanges() {
    json changes = live_.changes(run_->host.document());
    // The stroke's last changes are in; the next stroke watches its own.
    if (!stroke_) live_.stopWatching();
    return changes;
}

json Studio::dragChanges() {
    if (!stroke_) return drawingChanges();
    return live_.changes(run_->host.document(), &dragReach_);
}

json Studio::dragState() const {
    return json{{"version", version_}, {"stroking", stroke_ != nullptr}};
}

json Studio::state() {
    const Document &doc = run_->host.document();
    json selection = json::array();
    size_t selected = 0, selectedTop = 0;
    doc.forEachArt([&](const Art &a) { selected += a.selected(); });
    AIRealRect all{0, 0, 0, 0};
    bool any = false;
    for (Layer *layer : doc.layers)
        for (Art *a = layer->root->firstChild; a; a = a->next) {
            AIRealRect r;
            if (!a->selected() || !artBounds(*a, r)) continue;
            if (++selectedTop <= kMaxOutlined) selection.push_back({{"id", a->id}, {"box", boxOf(r)}});
            if (!any) all = r;
            all = AIRealRect{std::min(all.left, r.left), std::max(all.top, r.top), std::max(all.right, r.right),
                             std::min(all.bottom, r.bottom)};
            any = true;
        }
    // Past a few hundred, outlines would cost the page more than they show.
    if (selectedTop > kMaxOutlined) selection = json::array();
    const AIRealRect &board = doc.artboard;
    const std::string stem = options_.drawing.empty() ? "sample" : fs::path(options_.drawing).stem().string();
    return json{{"drawing", options_.drawing.empty() ? "the built-in sample" : options_.drawing},
                {"name", stem},
                {"viewBox", boxOf(board)},
                {"version", version_},
                {"seq", live_.seq()},
                {"steps", steps_.size()},
                {"selection", selection},
                {"outlined", selectedTop <= kMaxOutlined},
                {"selectionBox", any ? boxOf(all) : json(nullptr)},
                {"selected", selected},
                {"canUndo", undoable_ > 0},
                {"canRedo", !redoable_.empty()},
                {"stroking", stroke_ != nullptr},
                {"brush", {{"hx", brush_.hx}, {"hy", brush_.hy}, {"sizeFromPressure", brush_.sizeFromPressure}, {"outline", brush_.outline}}},
                {"problems", problems_},
                {"unsaved", unsaved_},
                {"journal", {{"path", journal_.active() ? journal_.path() : ""}, {"error", journalError_}, {"recovered", recovered_}}}};
}

// ---- Options dialogs

json Studio::dialog(const std::string &tool) {
    finishStroke();
    const int index = toolIndex(tool);
    Host &host = run_->host;
    json described;
    auto previous = host.dialogs->onOpen;
    host.dialogs->onOpen = [&described](Dialog &d) {
        if (described.is_null()) described = describeDialog(d);
    };
    host.dialogs->queue({DialogAction::escape()});
    host.sendTool(kAIToolEditOptionsSelector, toolHandle(host, toolIdOf(host.palette, index)), AIRealPoint{0, 0}, 255, 0);
    host.dialogs->onOpen = previous;
    host.dialogs->clearScripts();
    if (described.is_null()) throw StudioError(500, "the plug-in opened no dialog for " + tool);
    described["tool"] = shortToolName(host.palette[size_t(index)].title);
    return described;
}

json Studio::options(const std::string &tool, const json &actions) {
    finishStroke();
    const int index = toolIndex(tool);
    if (!actions.is_array() || actions.empty())
        throw StudioError(400, "actions: expected the list of what the user did, ending with OK or Cancel");
    const json &last = actions.back();
    const bool closes = last.is_object() && (last.contains("escape") || last.contains("close") ||
                                             (last.contains("press") && (last["press"] == 1 || last["press"] == 2)));
    if (!closes) throw StudioError(400, "actions: the last action must press OK ({\"press\": 1}) or Cancel ({\"press\": 2})");
    const std::string name = shortToolName(run_->host.palette[size_t(index)].title);
    const size_t problemsBefore = run_->host.dialogs->problems.size();
    play(json{{"options", {{"tool", name}, {"actions", actions}}}});
    const auto &problems = run_->host.dialogs->problems;
    const json refused = std::vector<std::string>(problems.begin() + long(problemsBefore), problems.end());
    readBrush();
    return json{{"result", run_->runner.lastResult()}, {"problems", refused}, {"dialog", dialog(name)}};
}

json Studio::setField(const std::string &tool, int item, const std::string &value) {
    finishStroke();
    const int index = toolIndex(tool);
    std::vector<OptionDescription> described;
    std::string error;
    if (!describeToolOptions(run_->host, index, described, error)) throw StudioError(500, error);
    const auto it = std::find_if(described.begin(), described.end(),
                                 [&](const OptionDescription &d) { return d.field->item == item; });
    if (it == described.end())
        throw StudioError(400, "item " + std::to_string(item) + " is no option of " + tool + "'s dialog");
    // The limits the dialog itself keeps (some follow the document).
    OptionField field = *it->field;
    if (field.kind == FieldKind::Float || field.kind == FieldKind::Integer) {
        field.min = it->min;
        field.max = it->max;
    }
    const std::string label = it->label.empty() ? field.name : it->label;
    double v = 0;
    if (!parseFieldValue(field, value, v, error)) {
        // As --set says it, with the field's label for its record name.
        if (error.compare(0, field.name.size(), field.name) == 0) error = "\"" + label + "\"" + error.substr(field.name.size());
        throw StudioError(422, error);
    }
    json action;
    switch (field.kind) {
    case FieldKind::Flag: action = v != 0 ? json{{"check", item}} : json{{"uncheck", item}}; break;
    case FieldKind::Index: action = json{{"pick", {item, int(v)}}}; break;
    default: action = json{{"type", item}, {"text", value}};
    }
    json answer = options(tool, json::array({action, {{"press", 1}}}));
    answer["label"] = label;
    return answer;
}

void Studio::readBrush() {
    const json d = dialog(shortToolName(run_->host.palette.at(0).title));
    for (const json &item : d["items"]) {
        if (item["id"] == 191) brush_.hx = item["value"];
        if (item["id"] == 192) brush_.hy = item["value"];
        if (item["id"] == 196) brush_.sizeFromPressure = item["checked"];
        if (item["id"] == 190) brush_.outline = item["checked"];
    }
}

// ---- Selection

namespace {

// The first object of each id, as a session's select finds it.
std::unordered_map<std::string_view, const Art *> firstById(const Document &doc) {
    std::unordered_map<std::string_view, const Art *> first;
    doc.forEachArt([&](const Art &a) {
        if (!a.id.empty()) first.emplace(a.id, &a);
    });
    return first;
}

}  // namespace

std::string Studio::nameOf(const Art &art) {
    if (art.id.empty())
        throw StudioError(409, "this object has no id in the file, so a session could not name it; use Select all");
    if (firstById(run_->host.document()).at(art.id) != &art)
        throw StudioError(409, "another object has the same id '" + art.id + "', so a session could not name this one");
    return art.id;
}

std::vector<std::string> Studio::selectedTopIds() {
    std::vector<std::string> ids;
    const auto first = firstById(run_->host.document());
    for (Layer *layer : run_->host.document().layers)
        for (Art *a = layer->root->firstChild; a; a = a->next)
            if (a->selected()) {
                if (a->id.empty() || first.at(a->id) != a) nameOf(*a);  // says why it cannot be named
                ids.push_back(a->id);
            }
    return ids;
}

void Studio::selectStep(const json &which) {
    finishStroke();
    play(json{{"select", which}});
}

void Studio::selectIds(const std::vector<std::string> &ids) {
    finishStroke();
    if (ids.empty()) return selectStep("none");
    // Naming an object twice selects nothing more: a list longer than the
    // drawing is refused before it is recorded.
    size_t objects = 0;
    run_->host.document().forEachArt([&](const Art &) { ++objects; });
    if (ids.size() > objects)
        throw StudioError(400, "ids: " + std::to_string(ids.size()) + " ids, and the drawing holds " +
                                   std::to_string(objects) + " objects");
    selectStep(ids);
}

void Studio::selectAll(bool all) { selectStep(all ? "all" : "none"); }

namespace {

// What a click or a rubber band can pick: the top-level art of the layers
// a user can work on, front to back.
std::vector<Art *> pickable(Document &doc) {
    std::vector<Art *> out;
    for (auto layer = doc.layers.rbegin(); layer != doc.layers.rend(); ++layer) {
        if (!(*layer)->visible || (*layer)->locked) continue;
        for (Art *a = (*layer)->root->lastChild; a; a = a->prev)
            if (!(a->userAttr & (kArtLocked | kArtHidden))) out.push_back(a);
    }
    return out;
}

}  // namespace

void Studio::selectAt(double x, double y, bool add) {
    finishStroke();
    const AIRealPoint p = toDoc(checkedCoordinate(x), checkedCoordinate(y));
    Art *hit = nullptr;
    for (Art *a : pickable(run_->host.document())) {
        AIRealRect r;
        if (artBounds(*a, r) && touches(r, p.h, p.v, p.h, p.v)) {
            hit = a;
            break;
        }
    }
    std::vector<std::string> ids = add ? selectedTopIds() : std::vector<std::string>{};
    if (hit) {
        const std::string id = nameOf(*hit);
        const auto it = std::find(ids.begin(), ids.end(), id);
        if (it == ids.end()) ids.push_back(id);
        else ids.erase(it);  // a shift-click on a selected object deselects it
    }
    selectIds(ids);
}

void Studio::selectBox(double x1, double y1, double x2, double y2, bool add) {
    finishStroke();
    const AIRealPoint a = toDoc(checkedCoordinate(x1), checkedCoordinate(y1));
    const AIRealPoint b = toDoc(checkedCoordinate(x2), checkedCoordinate(y2));
    std::vector<std::string> ids = add ? selectedTopIds() : std::vector<std::string>{};
    std::vector<Art *> hits = pickable(run_->host.document());
    std::reverse(hits.begin(), hits.end());  // in paint order, as the record lists them
    const auto first = firstById(run_->host.document());
    std::unordered_set<std::string> listed(ids.begin(), ids.end());
    for (Art *art : hits) {
        AIRealRect r;
        if (artBounds(*art, r) &&
            touches(r, std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h), std::min(a.v, b.v))) {
            if (art->id.empty() || first.at(art->id) != art) nameOf(*art);  // says why it cannot be named
            const std::string &id = art->id;
            if (listed.insert(id).second) ids.push_back(id);
        }
    }
    selectIds(ids);
}

// ---- Strokes

void Studio::strokeDown(const std::string &tool, const StrokePoint &at) {
    finishStroke();
    const StrokePoint p = checkedPoint(at);
    Host &host = run_->host;
    const int index = toolIndex(tool);
    auto stroke = std::make_unique<OpenStroke>();
    stroke->tool = shortToolName(host.palette[size_t(index)].title);
    stroke->toolId = toolIdOf(host.palette, index);
    stroke->handle = toolHandle(host, stroke->toolId);
    live_.watchStroke(host.document());
    stroke->randomBefore = host.random;
    // As a session's stroke plays it: the mouse down carries no modifiers.
    host.sendTool(kAIToolMouseDownSelector, stroke->handle, toDoc(p.x, p.y), ASInt16(p.pressure), 0);
    stroke->points.push_back({p.x, p.y});
    stroke->pressure.push_back(p.pressure);
    stroke->last = p;
    stroke_ = std::move(stroke);
    changed();
}

void Studio::strokeDrag(const std::vector<StrokePoint> &points) {
    if (!stroke_) throw StudioError(409, "no stroke is open: a drag comes between a mouse down and a mouse up");
    if (points.size() > kMaxPointsPerRequest)
        throw StudioError(400, "at most " + std::to_string(kMaxPointsPerRequest) + " points in one request");
    if (stroke_->points.size() + points.size() > kMaxPointsPerStroke)
        throw StudioError(400, "a stroke holds at most " + std::to_string(kMaxPointsPerStroke) + " points; release and start another");
    std::vector<StrokePoint> checked;
    for (const StrokePoint &p : points) checked.push_back(checkedPoint(p));
    // What the brush may reach from these points (and the one before them):
    // a tool works on objects its brush, or twice its size, touches; four
    // times leaves room for objects it moved. Size from pressure only shrinks it.
    const double reachX = 4 * std::fabs(brush_.hx), reachY = 4 * std::fabs(brush_.hy);
    AIRealPoint from = toDoc(stroke_->last.x, stroke_->last.y);
    double left = from.h, right = from.h, top = from.v, bottom = from.v;
    for (const StrokePoint &p : checked) {
        const AIRealPoint d = toDoc(p.x, p.y);
        left = std::min(left, double(d.h)), right = std::max(right, double(d.h));
        bottom = std::min(bottom, double(d.v)), top = std::max(top, double(d.v));
    }
    dragReach_ = AIRealRect{AIReal(left - reachX), AIReal(top + reachY), AIReal(right + reachX), AIReal(bottom - reachY)};
    for (const StrokePoint &p : checked) {
        run_->host.sendTool(kAIToolMouseDragSelector, stroke_->handle, toDoc(p.x, p.y), ASInt16(p.pressure),
                            p.modifiers);
        stroke_->points.push_back({p.x, p.y});
        stroke_->pressure.push_back(p.pressure);
        stroke_->modifiers.push_back(p.modifiers);
        stroke_->last = p;
    }
    changed();
}

std::string Studio::strokeUp() {
    if (!stroke_) throw StudioError(409, "no stroke is open");
    return finishStroke();
}

std::string Studio::finishStroke() {
    if (!stroke_) return "";
    std::unique_ptr<OpenStroke> s = std::move(stroke_);
    run_->host.sendTool(kAIToolMouseUpSelector, s->handle, toDoc(s->last.x, s->last.y), ASInt16(s->last.pressure), 0);
    const std::string outcome = strokeOutcome(*s);
    steps_.push_back(json{{"stroke", {{"tool", s->tool}, {"points", s->points}, {"pressure", s->pressure},
                                      {"modifiers", s->modifiers}}}});
    randomBefore_.emplace_back(s->randomBefore);
    journalLine(json{{"step", steps_.back()}});
    // A new stroke is a new branch of history: what was undone stays undone.
    redoable_.clear();
    ++undoable_;
    changed();
    return outcome;
}

// What a finished stroke did, or why it did nothing when that is plain.
std::string Studio::strokeOutcome(const OpenStroke &s) {
    // Counted by top-level object, from what the stroke's undo step saved.
    const ChangeWatch::Changes changes = live_.strokeChanges(run_->host.document());
    if (changes.changed + changes.added + changes.removed != 0) return "stroke painted: " + describe(changes);
    std::vector<AIRealPoint> points;
    std::vector<ASInt16> pressures;
    for (const json &p : s.points) points.push_back(toDoc(p[0].get<double>(), p[1].get<double>()));
    for (const json &p : s.pressure) pressures.push_back(ASInt16(p.get<int>()));
    const std::string why = whyStrokeChangedNothing(run_->host, s.toolId, points, pressures);
    return why.empty() ? "the stroke changed nothing" : "the stroke changed nothing: " + why;
}

// ---- Undo and redo

bool Studio::undo() {
    finishStroke();
    if (undoable_ == 0) return false;
    // The undo puts back what its step changed, leaving no mark on it.
    live_.noteUndoStep(run_->host.document());
    play("undo");
    redoable_.push_back(steps_.size() - 1);
    --undoable_;
    return true;
}

// A redo of the undo that ends the record, when the stroke it took back
// can be played again alone: the undo left the drawing exactly as the
// stroke found it, and so a stroke played with the random source it found
// does again what it did. Between the stroke and the undo there may be
// selections (the undo took them back too; they are played again after
// it) and strokes each undone again (which changed nothing that stays);
// not options, nor a stroke with Shift or Ctrl held, which change the
// tool's values the stroke would be played with. False: it cannot.
bool Studio::redoInPlace(size_t undoAt) {
    const auto plain = [](const json &stroke) {
        for (const json &m : stroke["modifiers"])
            if (m != 0) return false;
        return true;
    };
    std::vector<size_t> selections;
    size_t undone = 0;  // undos seen going back that are still to meet their stroke
    size_t stroke = 0;
    for (size_t i = undoAt; i-- > 0 && stroke == 0;) {
        const json &step = steps_[i];
        if (step == "undo") ++undone;
        else if (step.is_object() && step.contains("stroke")) {
            if (!plain(step["stroke"])) return false;
            if (undone > 0) --undone;
            else stroke = i;
        } else if (step.is_object() && step.contains("select")) {
            if (undone == 0) selections.insert(selections.begin(), i);
        } else {
            return false;
        }
    }
    if (stroke == 0 || !randomBefore_[stroke]) return false;
    Host &host = run_->host;
    const RandomSource now = host.random;
    host.random = *randomBefore_[stroke];
    live_.watchStroke(host.document());
    std::string error;
    bool played = run_->runner.runStep(parsedStep(steps_[stroke]), error);
    for (size_t i : selections) played = played && run_->runner.runStep(parsedStep(steps_[i]), error);
    host.random = now;
    if (!played) throw StudioError(500, "redo failed: " + error);
    return true;
}

// A redo right after its undo puts back what the host kept; after a
// selection, the stroke is played again in place; else the record is
// played again from the drawing as read, without the undo: that gives exactly the drawing the stroke made, with everything
// done since the undo (selections, options) done again on it, and a record
// that `smearhost run` plays the same way.
bool Studio::redo() {
    finishStroke();
    if (redoable_.empty()) return false;
    const size_t undoAt = redoable_.back();
    // Nothing done since the undo: the host still has what it took back.
    const bool kept = undoAt + 1 == steps_.size() && run_->host.redo();
    if (kept) live_.noteUndoStep(run_->host.document());
    if (kept || (undoAt + 1 == steps_.size() && redoInPlace(undoAt))) {
        journalLine(json{{"redo", undoAt}});
        steps_.erase(steps_.size() - 1);
        randomBefore_.pop_back();
        redoable_.pop_back();
        ++undoable_;
        changed();
        return true;
    }
    json steps = steps_;
    steps.erase(steps.begin() + long(undoAt));
    std::string error;
    if (!build(steps, error)) {
        std::string again;
        if (!build(steps_, again)) throw StudioError(500, "redo failed (" + error + ") and so did playing the record again: " + again);
        throw StudioError(500, "redo failed: " + error);
    }
    steps_ = std::move(steps);
    journalLine(json{{"redo", undoAt}});
    randomBefore_.erase(randomBefore_.begin() + long(undoAt));
    redoable_.pop_back();
    readBrush();
    return true;
}

// ---- Saving

json Studio::session(const std::string &svgName) const {
    json document;
    if (options_.drawing.empty()) {
        document = json{{"builtin", "sample"}};
    } else {
        // Relative to the session's folder, as a session file names its drawing.
        std::error_code ec;
        const fs::path folder = fs::absolute(options_.outDir.empty() ? fs::path(".") : fs::path(options_.outDir), ec);
        const fs::path drawing = fs::absolute(options_.drawing, ec);
        fs::path relative = drawing.lexically_normal().lexically_relative(folder.lexically_normal());
        document = relative.empty() ? drawing.generic_string() : relative.generic_string();
    }
    json steps = steps_;
    steps.push_back({{"save", svgName}});
    steps.push_back("shutdown");
    return json{{"name", "studio"}, {"document", document}, {"seed", options_.seed}, {"steps", steps}};
}

json Studio::save(const std::string &svgName, const std::string &sessionName, bool overwrite) {
    finishStroke();
    // One rule with `smearhost run`'s saves, every target checked before
    // either file is written.
    SaveFolder folder{options_.outDir, {}};
    if (!options_.drawing.empty()) folder.keep.emplace_back(options_.drawing, "the drawing the studio opened");
    std::string error, svgPath, sessionPath;
    const std::pair<const char *, const std::string *> names[] = {{"drawing", &svgName}, {"session", &sessionName}};
    for (const auto &[what, name] : names) {
        const bool drawing = name == &svgName;
        std::string &path = drawing ? svgPath : sessionPath;
        const SaveRefusal refusal = savePath(folder, *name, drawing ? ".svg" : ".json", path, error);
        if (refusal == SaveRefusal::Name) throw StudioError(400, std::string(what) + ": " + error);
        if (refusal == SaveRefusal::Target) throw StudioError(409, error);
        std::error_code ec;
        if (fs::is_directory(path, ec)) throw StudioError(409, *name + " is a folder; save under another name");
        if (!overwrite && fs::exists(fs::symlink_status(path, ec)))
            throw StudioError(409, *name + " exists already; say to overwrite it");
    }
    std::string svg;
    if (!writeSvg(run_->host.document(), svg, error)) throw StudioError(500, "the drawing cannot be written: " + error);
    if (!writeFileAtomically(svgPath, svg, error)) throw StudioError(500, error);
    if (!writeFileAtomically(sessionPath, session(svgName).dump(2) + "\n", error)) throw StudioError(500, error);
    unsaved_ = false;
    return json{{"svg", svgPath}, {"session", sessionPath}};
}

}  // namespace smear
