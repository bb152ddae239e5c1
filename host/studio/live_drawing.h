// What the studio's page holds of the drawing, so that an answer carries
// only what changed since the page last heard. The page loads the drawing
// once, every top-level object under a key the studio gives it; each change
// after that is the markup of the objects that changed, were added or went,
// by key. Markup is what writeSvgPreview writes for the object (meshes as
// patches) less its data attributes, which draw nothing, made safe for the
// page (pageSafeMarkup).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "document.h"
#include "session_changes.h"

namespace smear {

namespace svg {
class Writer;
}

class LiveDrawing {
public:
    LiveDrawing();
    ~LiveDrawing();
    LiveDrawing(const LiveDrawing &) = delete;
    LiveDrawing &operator=(const LiveDrawing &) = delete;

    // The whole drawing, which the page holds from now on:
    // {"seq", "root": {attribute: value}, "defs": markup,
    //  "layers": [{"hidden": bool, "objects": [[key, markup], ...]}, ...]}.
    // Throws std::runtime_error with the writer's message when a number in
    // the drawing cannot be written.
    nlohmann::json full(const Document &doc);

    // What changed since the last full() or changes(), to be applied by the
    // page in the order of "seq": {"seq", "changed": [[key, markup]],
    // "added": [[key, layer, key before it or null, markup]], "removed":
    // [key], "defs": markup to add}; {"seq", "reload": true} when the page
    // must load the whole drawing again; null when nothing changed.
    // With `near`, objects changed in place are looked for only among those
    // whose bounds touch it (where the pen worked, while it works); a call
    // without it (the stroke's end) looks at all the stroke changed.
    nlohmann::json changes(const Document &doc, const AIRealRect *near = nullptr);

    // Objects the next changes() must look at: what the document's current
    // undo step changed. Called before an undo, which puts them back as
    // they were without a mark on them.
    void noteUndoStep(const Document &doc);

    // Called before a stroke's mouse down: until stopWatching, changes()
    // looks at the objects the stroke's undo step has saved (a change to
    // art saves it first), not at what earlier steps saved. Nothing but a
    // stroke changes how objects are drawn without adding or taking any.
    void watchStroke(const Document &doc);
    void stopWatching() { watching_ = false; }
    // What the stroke watched did to the top-level objects so far: those
    // that look different, those it added, those it removed. Costs what
    // the stroke touched, not what the drawing holds.
    ChangeWatch::Changes strokeChanges(const Document &doc);

    // The document was replaced (or the page lost track): the next
    // changes() asks the page to load the drawing whole.
    void forget();

    long seq() const { return seq_; }

private:
    struct Known {
        uint64_t key = 0;
        uint64_t digest = 0;
    };
    std::string markupOf(const Art &art, uint64_t key);
    // The top-level objects whose latest mark is the latest of all marks
    // above `floor`, and that mark (0: none).
    std::vector<const Art *> marked(const Document &doc, uint32_t floor, uint32_t *latest = nullptr) const;

    std::unique_ptr<svg::Writer> writer_;
    const Document *doc_ = nullptr;
    std::vector<const Layer *> layers_;  // as the page holds them
    std::vector<bool> hidden_;
    std::vector<std::vector<const Art *>> objects_;  // per layer, in paint order
    std::unordered_map<const Art *, Known> known_;
    std::vector<const Art *> noted_;
    size_t stylesSent_ = 0, swatchesSent_ = 0;
    uint64_t nextKey_ = 1;
    long seq_ = 0;
    bool lost_ = true;
    bool watching_ = false;
    uint32_t floor_ = 0;
    // The stroke's start: the top-level objects then, and the digests of
    // those whose change has been sent since, as they were.
    std::vector<std::vector<const Art *>> strokeStart_;
    std::unordered_map<const Art *, uint64_t> strokeBefore_;
};

// A digest of everything the page is shown of the object and what it holds.
uint64_t drawnDigest(const Art &art);

}  // namespace smear
