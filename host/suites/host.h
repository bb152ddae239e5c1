// The stand-in host: owns the document, the loaded plug-in, the suites it
// serves and everything the user would see. Suite functions are plain C
// function pointers, so they reach the host through currentHost().
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "call_log.h"
#include "document.h"
#include "faults.h"
#include "hostapi.h"
#include "resources.h"
#include "ui_event.h"

namespace smear {

class DialogManager;
class PluginModule;

// A memory handle's block: the handle is the address of `master`, which
// points at the bytes.
struct MemoryBlock {
    void *master = nullptr;
    std::vector<unsigned char> bytes;
};

// Allocates a memory handle the plug-in releases through the memory suite:
// of `bytes` zeros, or a copy of the `bytes` at `from`.
AIMdMemoryHandle newMemoryHandle(size_t bytes, const void *from = nullptr);

// One tool the plug-in added to the palette; AIToolHandle points to one.
struct PaletteTool {
    std::string name;
    std::string title;
    std::string tooltip;
    ADMIconRef icon = nullptr;  // the icon suite's icon (a DialogIcon)
    ASInt16 number = 0;
    ASInt16 groupNumber = 0;    // the tool whose group it joined (itself when it opened one)
    ASInt16 toolsetNumber = 0;
    ASInt32 options = 0;
    SPPluginRef plugin = nullptr;
};

class SuiteRegistry {
public:
    void add(const std::string &name, ASInt32 version, const void *table);
    // Looked up by the name as given, building no string: the plug-in
    // acquires and releases its suites around every message.
    const void *find(std::string_view name, ASInt32 version) const;
    bool hasName(std::string_view name) const;
    // Acquisitions not yet released, by suite name (a suite once acquired
    // keeps its entry, at 0 when all are released).
    std::map<std::string, int, std::less<>> held;
    int outstanding() const;
    long acquisitions = 0;
    long releases = 0;

private:
    std::map<std::string, std::map<ASInt32, const void *>, std::less<>> tables_;
};

// Random draws: seeded, or exact values queued by a test or session.
class RandomSource {
public:
    void seed(uint32_t s);
    void queue(AIReal value) { queued_.push_back(value); }
    AIReal next();
    long draws() const { return draws_; }
    uint32_t seedValue() const { return seed_; }

private:
    uint32_t seed_ = 1;
    uint64_t state_ = 0;
    std::deque<AIReal> queued_;
    long draws_ = 0;
};

// The stores of a document's objects other than art.
enum class StoreKind : uint8_t { Layer, Swatch, Style, CustomColor, Gradient, Pattern };

class Host {
public:
    Host();
    ~Host();
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    // Loads the plug-in module from disk, checking its property list.
    bool loadModule(const std::string &path, std::string &error);
    // Uses a plug-in linked into this program, with resources read from `res`.
    bool attachLinked(PluginMainProc entry, const std::string &resPath, std::string &error);
    bool attachLinked(PluginMainProc entry, const ResourceSet &resources, std::string &error);
    // Drops the module from memory (after an unload message); reattach with reloadModule.
    void unloadModule();
    bool reloadModule(std::string &error);

    // Sends one message to the plug-in and returns its result.
    SPErr send(const char *caller, const char *selector, void *message);
    SPErr sendBasic(const char *caller, const char *selector);  // an SPMessageData message
    SPErr sendTool(const char *selector, AIToolHandle tool, AIRealPoint cursor, ASInt16 pressure,
                   ASInt32 modifiers);

    SPBasicSuite *basicSuite();
    SPPluginRef pluginRef();
    // What the access suite reports as the module instance handle.
    const void *moduleInstance() const;
    const ResourceSet &resources() const { return resources_; }
    ResourceSet &resources() { return resources_; }

    Document &document() { return *document_; }
    void replaceDocument(std::unique_ptr<Document> doc);

    // Whether `object` is one of the current document's own objects (art,
    // layer, swatch, graphic style, custom colour, gradient or pattern). A
    // handle the plug-in kept across an undo points into a document that is
    // gone; this tells it apart without touching it. O(1) amortised.
    bool holds(const void *object) { return holdsArt(object) || kindOfLive(object) != nullptr; }
    // The same for one kind of object: a handle of one kind passed where
    // another is wanted is refused, never read as the wrong record.
    bool holdsArt(const void *object) const { return document_->artStore.contains(object); }
    // Whether `object` is the art holdsArt found last (so ours, and alive).
    bool holdsLastFound(const void *object) const { return document_->artStore.isLastFound(object); }
    // Whether `object` is art of the block holdsArt found last: ours, found
    // without a search (it may be disposed).
    bool holdsArtNearby(const void *object) const { return document_->artStore.inLastBlock(object); }
    bool holdsAs(const void *object, StoreKind kind) {
        const StoreKind *k = kindOfLive(object);
        return k && *k == kind;
    }

    // Mesh vertex handles. A handle is the vertex's address, remembered with
    // its mesh and index when handed out; it resolves only while that mesh
    // is live art of the current document with a vertex at that index, so a
    // handle whose mesh was disposed, undone away or changed is refused
    // without being followed. `mesh`, when given, receives the vertex's mesh.
    // `index` must lie within the mesh's vertices.
    AIMeshVertexHandle vertexHandle(Art &mesh, size_t index);
    MeshVertex *meshVertex(AIMeshVertexHandle h, Art **mesh = nullptr);

    // Undo: a step opens at every mouse down and is closed by the undo suite
    // (the document keeps the history: Document::openUndoStep).
    void openUndoStep();
    void closeUndoStep();
    bool undo();  // restores the document as it was when the last closed step opened
    // Puts back what the last undo took back (Document::redo).
    bool redo();

    SuiteRegistry suites;
    FaultPlan faults;
    CallLog log;
    RandomSource random;
    std::unique_ptr<DialogManager> dialogs;
    std::vector<UiEvent> transcript;
    std::deque<PaletteTool> palette;  // a deque: tool handles point into it

    // Memory handles and blocks the plug-in holds, for leak checks.
    std::map<const void *, std::unique_ptr<MemoryBlock>> memoryHandles;
    std::map<const void *, size_t> blocks;

    // Globals slot the host keeps across unload and reload.
    void *pluginGlobals = nullptr;
    ASInt32 pluginOptions = 0;

    // The tool the user picked, and the host's integer preferences.
    AIToolHandle selectedTool = nullptr;
    std::map<std::string, ASInt32> preferences;

    // State of the message being handled.
    ASInt32 modifiers = 0;
    bool pressureSupport = true;

    // Cursor set through the platform calls (Linux stand-ins of user32).
    int lastCursorId = 0;  // resource id loaded, 0 when none
    bool cursorSet = false;

    std::string modulePath;

private:
    // The addresses of the current document's objects, grown as its stores
    // grow and rebuilt when the document is replaced.
    struct LiveObjects {
        const Document *document = nullptr;
        size_t seen[6] = {};  // layers, swatches, styles, custom colours, gradients, patterns
        std::unordered_map<const void *, StoreKind> objects;
    };
    void forgetLiveObjects() { live_.document = nullptr; }
    // The kind of a live object other than art; null for none.
    const StoreKind *kindOfLive(const void *object);

    std::unique_ptr<Document> document_;
    LiveObjects live_;
    struct VertexPlace {
        Art *mesh;
        size_t index;
    };
    std::unordered_map<const void *, VertexPlace> vertexPlaces_;  // of the current document
    ResourceSet resources_;
    std::unique_ptr<PluginModule> module_;
    PluginMainProc entry_ = nullptr;
};

// The host whose suites are being called (set by the host that is alive).
inline Host *g_currentHost = nullptr;
inline Host &currentHost() { return *g_currentHost; }
// The same, or null while no host is alive (code that only has a document).
inline Host *currentHostIfAny() { return g_currentHost; }

// A call's arguments for the call log, formatted only when a log is kept.
template <class F> struct LogArgs {
    F format;
};
template <class F> LogArgs<F> logArgs(F &&format) { return {std::forward<F>(format)}; }

// Every suite function that returns a code starts with this: it logs the
// call and returns the fault plan's code for it (0 to go on). Inline: a
// drag step makes a few calls per object, and with no log kept and no fault
// planned a call costs two tests and builds no string.
//
// The log entry is built out of line, so that a suite function needs no
// stack frame for it (nor for the numbers it formats) when no log is kept.
[[gnu::cold, gnu::noinline]] void recordCall(Host &host, const char *suite, const char *function);
inline SPErr enterSuite(const char *suite, const char *function) {
    Host &host = currentHost();
    if (host.log.enabled()) recordCall(host, suite, function);
    return host.faults.onCall(suite, function);
}
template <class F>
[[gnu::cold, gnu::noinline]] void recordCall(Host &host, const char *suite, const char *function, LogArgs<F> &args) {
    host.log.record(suite, function, args.format());
}
template <class F> inline SPErr enterSuite(const char *suite, const char *function, LogArgs<F> args) {
    Host &host = currentHost();
    if (host.log.enabled()) recordCall(host, suite, function, args);
    return host.faults.onCall(suite, function);
}
inline SPErr enterSuite(const char *suite, const char *function, std::string args) {
    return enterSuite(suite, function, logArgs([&] { return std::move(args); }));
}

// The same for a function that returns no code: logged, never failed.
template <class F> inline void logCall(const char *suite, const char *function, LogArgs<F> args) {
    Host &host = currentHost();
    if (host.log.enabled()) recordCall(host, suite, function, args);
}

// Suite families register their tables here; each is defined in its own source.
void registerPlatformSuites(SuiteRegistry &r);   // SP basic, blocks, access
void registerHostSuites(SuiteRegistry &r);       // plugin, memory, maths, user, undo, random, preference, document, tool
void registerArtSuites(SuiteRegistry &r);        // art, path, matching, transform, shape, mesh, vertex, layer, tag
void registerPaintSuites(SuiteRegistry &r);      // path style, blend, art style, swatch list
void registerDialogSuites(SuiteRegistry &r);     // ADM basic, dialog, item, icon, tracker, list, entry

}  // namespace smear
