// Sessions: a document, a random seed and a list of steps a user (or the
// host) takes with the plug-in: start-up, select, open a tool's options and
// act in the dialog, strokes, unload and reload, About, undo, save,
// shutdown. The runner plays them on a Host and reports every step, the
// plug-in's result and every dialog or alert the plug-in showed.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "dialog_manager.h"
#include "host.h"

namespace smear {

struct SessionStep {
    enum class Kind {
        Startup, Shutdown, Unload, Reload, About, Tools,
        Select, Options, Set, Cursor, Stroke, Undo, Save, Randoms, Seed,
    };
    Kind kind = Kind::Startup;
    std::string tool;                   // options, set, cursor, stroke

    bool selectAll = false;             // select
    std::vector<std::string> ids;
    std::vector<std::string> selectors; // simple selectors (art_selectors.h) of the elements art was read from

    std::vector<DialogAction> actions;  // options

    // set: option field names of the record and the text a user types.
    std::vector<std::pair<std::string, std::string>> values;

    // stroke: SVG user units. The first point is the mouse down, each further
    // point one drag message, and the mouse up comes at the last point.
    std::vector<AIRealPoint> points;    // cursor: one point
    std::vector<ASInt16> pressure;      // one per point
    std::vector<ASInt32> modifiers;     // one per drag message

    std::string path;                   // save; options: where to draw the dialog as it opens
    std::vector<AIReal> randoms;        // randoms
    uint32_t seed = 0;                  // seed
};

const char *stepName(SessionStep::Kind kind);

struct Session {
    std::string name;           // shown in the report
    std::string baseDir;        // a document path is relative to it
    nlohmann::json document;    // null: an empty document; a string: an SVG file; an object: inline
    bool hasSeed = false;
    uint32_t seed = 1;
    std::vector<SessionStep> steps;
};

// Reads a session; false with a message naming the offending step or field.
bool parseSession(const nlohmann::json &j, Session &out, std::string &error);
bool loadSessionFile(const std::string &path, Session &out, std::string &error);

// The session's document: read from its SVG file, built from its inline
// description, or empty. What of the file could not be read or kept is
// added to `problems` when given, one line each.
std::unique_ptr<Document> loadSessionDocument(const Session &session, std::string &error,
                                              std::vector<std::string> *problems = nullptr);

// A stroke as `paint` gives it: mouse down at `from`, `steps` drag messages
// evenly spaced up to `to`, mouse up at `to`.
SessionStep straightStroke(const std::string &tool, AIRealPoint from, AIRealPoint to, int steps, ASInt16 pressure);

class SessionRunner {
public:
    SessionRunner(Host &host, std::ostream &report);

    // Save paths are relative to this folder (empty: the working folder).
    std::string outDir;
    // Whether the session's saves are confined to `outDir` (save_folder.h):
    // true for a session file, whose author is not the person running it.
    // A confined save never replaces the session's drawing, nor any of
    // `keepFiles` (path, what it is to the user).
    bool confineSaves = false;
    std::vector<std::pair<std::string, std::string>> keepFiles;
    // Where what the SVG reader could not keep is told, once per kind of
    // problem (none: only the report's "read:" lines say it).
    std::ostream *readWarnings = nullptr;
    // Where the user is told what is no error but worth knowing, as
    // "smearhost: warning: ..." lines: a value the options dialog rounded,
    // why a stroke changed nothing (none: nowhere).
    std::ostream *warnings = nullptr;
    // Whether any such problem fails the run before a step is played.
    bool strict = false;
    // Whether an error names the step that failed ("step 3 (set): ..."):
    // true for a session file, whose steps its author numbered; a command
    // that builds its session says only what of its own arguments failed.
    bool numberStepsInErrors = true;
    // Called after each drag message of a stroke (done, total), for a
    // progress display; the report does not change with it.
    std::function<void(size_t, size_t)> onDrag;
    // Called before the slow parts of a run: "reading FILE", "writing FILE".
    std::function<void(const std::string &)> onPhase;

    // Loads the document, seeds the random source and plays every step.
    // Stops at the first step that cannot be carried out (an unknown tool or
    // id, a file that cannot be written ...): false with a message. What the
    // plug-in returns is reported, not judged.
    bool run(const Session &session, std::string &error);
    bool runStep(const SessionStep &step, std::string &error);

    // The result of the last plug-in message a step sent.
    SPErr lastResult() const { return lastResult_; }

    // What the host does when it quits: a plug-in still started is shut
    // down (reported as a "quit" line). Call it however the session ended.
    void quit();
    bool started() const { return started_; }

private:
    std::optional<std::string> drawingPath_;  // the SVG file the session read, if any
    bool select(const SessionStep &step, std::string &error);
    bool options(const SessionStep &step, std::string &error);
    bool set(const SessionStep &step, std::string &error);
    bool cursor(const SessionStep &step, std::string &error);
    bool stroke(const SessionStep &step, std::string &error);
    bool save(const SessionStep &step, std::string &error);
    bool tool(const std::string &name, AIToolHandle &handle, std::string &error);
    bool writeOut(const std::string &path, const std::string &content, std::string &error);
    // Runs the tool's options dialog with `actions`; reports it and any action
    // the dialog could not take.
    SPErr runOptionsDialog(AIToolHandle handle, std::vector<DialogAction> actions, size_t &problems,
                           std::string *drawing = nullptr);
    void reportResult(SPErr result);
    void reportUi();
    void warn(SessionStep::Kind kind, const std::string &message);

    Host &host_;
    std::ostream &out_;
    size_t stepNumber_ = 0;
    size_t transcriptSeen_ = 0;
    size_t problemsSeen_ = 0;
    SPErr lastResult_ = 0;
    bool started_ = false;
};

}  // namespace smear
