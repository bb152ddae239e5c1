// The studio: a drawing painted by hand through a page in a browser. It keeps
// the host with the plug-in started, sends each pointer event of a stroke as
// the tool message it stands for, and records everything that changes the
// drawing or the options (select, options dialogs, strokes, undo) as the
// steps of a session, so that `smearhost run` replays it to the same file.
// The HTTP side (studio_api.h) turns requests into these calls; nothing here
// knows of sockets.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host.h"
#include "live_drawing.h"
#include "session.h"
#include "studio_journal.h"

namespace smear {

// A request the studio refuses: the HTTP status and what to tell the user.
// `message` is the whole text: what() stops at the first NUL, and a name the
// user sent may hold one.
struct StudioError : std::runtime_error {
    StudioError(int status, const std::string &message) : std::runtime_error(message), status(status), message(message) {}
    int status;
    std::string message;
};

struct StudioOptions {
    std::string drawing;  // the SVG file to paint on; empty: the built-in sample drawing
    std::string outDir;   // where saved drawings and sessions go (empty: the working folder)
    uint32_t seed = 1;    // the host's random source
    // Where the record is kept as it grows (empty: nowhere). A journal found
    // there at open is taken up: the drawing as it was after its last step.
    std::string journal;
    bool recover = false;  // a journal must be there to take up
    // Loads the plug-in into a new host (the module beside the program, or
    // one linked into a test).
    std::function<bool(Host &, std::string &)> attach;
};

// One pointer event of a stroke, in the drawing's SVG user units.
struct StrokePoint {
    double x = 0, y = 0;
    int pressure = 255;  // 0 .. 255
    int32_t modifiers = 0;  // the tracker's modifier bits, for drag messages
};

class Studio {
public:
    explicit Studio(StudioOptions options);
    ~Studio();
    Studio(const Studio &) = delete;
    Studio &operator=(const Studio &) = delete;

    // Reads the drawing and starts the plug-in; false with a message.
    bool open(std::string &error);

    // What the page shows: the drawing's frame, the selection, undo and
    // redo, the brush. Changes with every call below.
    nlohmann::json state();
    nlohmann::json tools() const;
    // The drawing as browsers draw it (meshes as patches).
    std::string drawingSvg();
    // The drawing as the page holds it, keyed object by object
    // (LiveDrawing::full), and what changed in it since the page last
    // heard (LiveDrawing::changes: null for nothing).
    nlohmann::json drawingForPage();
    nlohmann::json drawingChanges();
    // The same after a drag: among the objects near the pen only.
    nlohmann::json dragChanges();
    // What a drag's answer says besides the drawing's changes: small, so
    // that it costs nothing however much is selected.
    nlohmann::json dragState() const;
    // The tool's icon as the palette shows it.
    std::string iconSvg(int toolId) const;

    // The tool's options dialog as it opens: every item with its kind,
    // place, text, value, limits and popup entries. The dialog is cancelled,
    // which changes nothing.
    nlohmann::json dialog(const std::string &tool);
    // The user's actions in the tool's dialog (session "options" actions),
    // ending with OK or Cancel; returns what the plug-in answered and any
    // action the dialog refused.
    nlohmann::json options(const std::string &tool, const nlohmann::json &actions);

    // One field of the tool's dialog committed (Enter, or leaving it): a
    // number typed, a box checked or not, a popup entry (its number). A
    // value the dialog would change (past its limits, not a number) is
    // refused, naming the field by its label and saying its limits;
    // otherwise it is recorded as the options step that sets it. Returns
    // the dialog as it is now.
    nlohmann::json setField(const std::string &tool, int item, const std::string &value);

    // Selection: by ids, "all", "none", the object under a point, or those a
    // rubber band touches; `add` toggles into the current selection.
    void selectIds(const std::vector<std::string> &ids);
    void selectAll(bool all);
    void selectAt(double x, double y, bool add);
    void selectBox(double x1, double y1, double x2, double y2, bool add);

    // A stroke: mouse down, drag messages as the pointer moves, mouse up at
    // the last point. Anything else asked while a stroke is open ends it first.
    void strokeDown(const std::string &tool, const StrokePoint &at);
    void strokeDrag(const std::vector<StrokePoint> &points);
    // Returns what the stroke did ("stroke painted: 2 objects changed"), or
    // why it changed nothing when the reason is plain.
    std::string strokeUp();

    bool undo();
    bool redo();

    // Writes the drawing (writeSvg) and the session that replays to it,
    // both in the output folder. An existing file is kept unless `overwrite`;
    // the drawing the studio opened is never written over.
    nlohmann::json save(const std::string &svgName, const std::string &sessionName, bool overwrite);
    // The session recorded so far, ending with a save of `svgName`.
    nlohmann::json session(const std::string &svgName) const;

    // Whether the record changed since the last save; and the journal.
    bool unsaved() const { return unsaved_; }
    const StudioJournal &journal() const { return journal_; }
    // Steps taken up from a journal at open (0: none was there).
    size_t recovered() const { return recovered_; }

    // What the SVG reader could not keep of the drawing, one line each.
    const std::vector<std::string> &problems() const { return problems_; }

    // Shuts the plug-in down, as the host does when it quits.
    void quit();

private:
    struct OpenStroke;
    // Where the last drag's points lie, grown by the brush's reach.
    AIRealRect dragReach_{0, 0, 0, 0};
    struct Run;

    bool build(const nlohmann::json &steps, std::string &error);
    std::string finishStroke();
    std::string strokeOutcome(const OpenStroke &stroke);
    void record(const nlohmann::json &step);
    void play(const nlohmann::json &step);
    void selectStep(const nlohmann::json &which);
    std::vector<std::string> selectedTopIds();
    std::string nameOf(const Art &art);
    int toolIndex(const std::string &name) const;
    void readBrush();
    bool redoInPlace(size_t undoAt);
    bool takeUpJournal(std::string &error);
    nlohmann::json journalHeader() const;
    // A change of the record, kept in the journal before the answer goes.
    void journalLine(const nlohmann::json &line);
    void changed() { ++version_; }

    StudioOptions options_;
    std::string drawingText_;  // the file as read at open, so rebuilds never see later edits
    std::vector<std::string> problems_;  // what the reader could not keep of it
    std::unique_ptr<Run> run_;
    std::unique_ptr<OpenStroke> stroke_;
    nlohmann::json steps_ = nlohmann::json::array();  // the record
    // Beside each step of the record: for a stroke, the host's random
    // source as the stroke found it, so that a redo can play it again alone.
    std::vector<std::optional<RandomSource>> randomBefore_;
    std::vector<size_t> redoable_;  // indices in steps_ of undos a redo may take back
    size_t undoable_ = 0;           // strokes the host can undo
    long version_ = 0;
    LiveDrawing live_;
    StudioJournal journal_;
    std::string journalError_;
    size_t recovered_ = 0;
    bool unsaved_ = false;
    struct Brush {
        double hx = 50, hy = 50;
        bool sizeFromPressure = false;
        bool outline = true;  // the plug-in draws its own outline into the drawing while painting
    } brush_;
};

}  // namespace smear
