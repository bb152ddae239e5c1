// Undo by the objects a step changed: a mouse down costs nothing, and what a
// step keeps grows with what it changes, not with the document.
#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <utility>

#include "document.h"
#include "document_fingerprint.h"
#include "undo_step.h"

namespace smear {

namespace {

// Tags past the first and long values, roughly (names and types are shared).
size_t tagBytes(const ArtTags &tags) {
    size_t bytes = 0;
    for (const TagRef tag : tags) bytes += sizeof(TagText) + sizeof(void *) + (tag.value.size() > 15 ? tag.value.size() + 1 : 0);
    return tags.empty() ? 0 : bytes - sizeof(TagText) - sizeof(void *);
}

// What an art object holds on the heap beside its record, roughly, for the
// history's budget.
size_t heapBytes(const Art &a) {
    size_t bytes = a.segments.heapBytes() + a.vertices.capacity() * sizeof(MeshVertex);
    for (const std::string *s : {&a.id, &a.text, &a.href, &a.svgStyle})
        if (s->capacity() > 15) bytes += s->capacity() + 1;
    return bytes + tagBytes(a.tags);
}

template <class T> void truncateStore(std::deque<std::unique_ptr<T>> &store, size_t n) {
    while (store.size() > n) store.pop_back();
}

}  // namespace

Document::~Document() = default;

void Document::openUndoStep() {
    // A new change: what was undone stays undone.
    redoSteps_.clear();
    auto step = std::make_unique<UndoStep>();
    step->serial = ++lastSerial_;
    step->artCount = artStore.size();
    step->layerCount = layerStore.size();
    step->swatchCount = swatchStore.size();
    step->styleCount = styleStore.size();
    step->customCount = customColorStore.size();
    step->gradientCount = gradientStore.size();
    step->patternCount = patternStore.size();
    step->layers = layers;
    step->currentLayerIndex = currentLayerIndex;
    step->swatches = swatches;
    step->graphicStyles = graphicStyles;
    step->customColors = customColors;
    step->gradients = gradients;
    step->patterns = patterns;
#ifndef NDEBUG
    step->fingerprint = documentFingerprint(*this);
#endif
    recording_ = step->serial;
    undoSteps_.push_back(std::move(step));
}

void Document::closeUndoStep() {
    if (undoSteps_.empty() || undoSteps_.back()->closed) return;
    undoSteps_.back()->closed = true;
    trimUndoHistory();
}

size_t Document::undoSteps() const {
    return size_t(std::count_if(undoSteps_.begin(), undoSteps_.end(), [](const auto &s) { return s->closed; }));
}

void Document::saveArt(Art &art) {
    UndoStep &step = *undoSteps_.back();
    step.art.push_back(UndoStep::SavedArt{&art, art});
    art.savedIn = recording_;
    const size_t bytes = sizeof(UndoStep::SavedArt) + heapBytes(art);
    step.bytes += bytes;
    undoBytes_ += bytes;
}

void Document::saveTags(Art &art) {
    UndoStep &step = *undoSteps_.back();
    step.tags.push_back(UndoStep::SavedTags{&art, art.tags, art.tagsSavedIn});
    art.tagsSavedIn = recording_;
    size_t bytes = sizeof(UndoStep::SavedTags);
    bytes += tagBytes(art.tags);
    step.bytes += bytes;
    undoBytes_ += bytes;
}

void Document::savePaint(Art &art) {
    UndoStep &step = *undoSteps_.back();
    step.paint.push_back(
        UndoStep::SavedPaint{&art, art.style, art.opacity, art.blendMode, art.artStyle, art.styleFactor, art.paintSavedIn});
    art.paintSavedIn = recording_;
    step.bytes += sizeof(UndoStep::SavedPaint);
    undoBytes_ += sizeof(UndoStep::SavedPaint);
}

void Document::willChangeTree(Art &art) {
    willChange(art);
    for (Art *c = art.firstChild; c; c = c->next) willChangeTree(*c);
}

void Document::willChange(Swatch &swatch) {
    if (recording_ == 0) return;
    UndoStep &step = *undoSteps_.back();
    step.swatchColours.emplace_back(&swatch, swatch);
    step.bytes += sizeof(std::pair<Swatch *, Swatch>);
    undoBytes_ += sizeof(std::pair<Swatch *, Swatch>);
}

// Each undo and redo swaps a saved part with the object's: what one holds
// the other held.
template <class SavedPaint> void swapPaint(Art &a, SavedPaint &p) {
    using std::swap;
    swap(a.style, p.style);
    swap(a.opacity, p.opacity);
    swap(a.blendMode, p.blendMode);
    swap(a.artStyle, p.artStyle);
    swap(a.styleFactor, p.styleFactor);
    swap(a.paintSavedIn, p.savedIn);
}

template <class SavedTags> void swapTags(SavedTags &t) {
    std::swap(t.where->tags, t.before);
    std::swap(t.where->tagsSavedIn, t.savedIn);
}

template <class T> void takeMade(std::deque<std::unique_ptr<T>> &store, size_t n, std::vector<std::unique_ptr<T>> &made) {
    for (size_t i = n; i < store.size(); ++i) made.push_back(std::move(store[i]));
    truncateStore(store, n);
}

template <class T> void putMade(std::deque<std::unique_ptr<T>> &store, std::vector<std::unique_ptr<T>> &made) {
    for (auto &p : made) store.push_back(std::move(p));
    made.clear();
}

// The document's lists and its current layer, swapped with the step's.
void Document::swapLists(UndoStep &step) {
    using std::swap;
    swap(layers, step.layers);
    swap(currentLayerIndex, step.currentLayerIndex);
    swap(swatches, step.swatches);
    swap(graphicStyles, step.graphicStyles);
    swap(customColors, step.customColors);
    swap(gradients, step.gradients);
    swap(patterns, step.patterns);
}

// Puts back what the step saved, the earliest saving last (it is what the
// object was when the step opened), then takes away what the step made.
// Each saved state is swapped with the object's, so that the step then
// holds what the step left, for a redo.
void Document::revert(UndoStep &step) {
    using std::swap;
    for (auto it = step.art.rbegin(); it != step.art.rend(); ++it) swap(*it->where, it->before);
    // Parts saved alone were saved before any saving of the whole object
    // in the step (which then saves no part), so they go back after it.
    for (auto it = step.paint.rbegin(); it != step.paint.rend(); ++it) swapPaint(*it->where, *it);
    for (auto it = step.tags.rbegin(); it != step.tags.rend(); ++it) swapTags(*it);
    for (auto it = step.swatchColours.rbegin(); it != step.swatchColours.rend(); ++it) swap(*it->first, it->second);
    for (const auto &saved : step.art) geometryChanged(*saved.where);
    swapLists(step);
    for (size_t i = step.artCount; i < artStore.size(); ++i) {
        step.madeWhere.push_back(artStore[i]);
        step.madeArt.push_back(*artStore[i]);
    }
    artStore.truncate(step.artCount);
    takeMade(layerStore, step.layerCount, step.madeLayers);
    takeMade(swatchStore, step.swatchCount, step.madeSwatches);
    takeMade(styleStore, step.styleCount, step.madeStyles);
    takeMade(customColorStore, step.customCount, step.madeCustomColors);
    takeMade(gradientStore, step.gradientCount, step.madeGradients);
    takeMade(patternStore, step.patternCount, step.madePatterns);
    // Ids in use are counted afresh when a copy next needs one.
    idUse_.clear();
    idsCounted_ = 0;
    undoBytes_ -= step.bytes;
#ifndef NDEBUG
    const std::string now = documentFingerprint(*this);
    if (now != step.fingerprint) {
        std::fprintf(stderr, "undo did not bring back the document as it was:\n--- then\n%s\n--- now\n%s\n",
                     step.fingerprint.c_str(), now.c_str());
        std::abort();
    }
#endif
}

// The swaps of revert again, in the opposite order: what the step left,
// with the step holding again what it found. The art it made is made
// again already (redo does that first, where it can fail).
void Document::reapply(UndoStep &step) {
    using std::swap;
    putMade(layerStore, step.madeLayers);
    putMade(swatchStore, step.madeSwatches);
    putMade(styleStore, step.madeStyles);
    putMade(customColorStore, step.madeCustomColors);
    putMade(gradientStore, step.madeGradients);
    putMade(patternStore, step.madePatterns);
    step.madeWhere.clear();
    step.madeArt.clear();
    swapLists(step);
    for (auto &[swatch, saved] : step.swatchColours) swap(*swatch, saved);
    for (auto &t : step.tags) swapTags(t);
    for (auto &p : step.paint) swapPaint(*p.where, p);
    for (auto &saved : step.art) swap(*saved.where, saved.before);
    for (const auto &saved : step.art) geometryChanged(*saved.where);
    idUse_.clear();
    idsCounted_ = 0;
    undoBytes_ += step.bytes;
}

bool Document::undo() {
    const bool any = std::any_of(undoSteps_.begin(), undoSteps_.end(), [](const auto &s) { return s->closed; });
    if (!any) return false;
    // Steps never closed after the last closed one go with it.
    std::vector<std::unique_ptr<UndoStep>> undone;
    for (bool closed = false; !closed;) {
        closed = undoSteps_.back()->closed;
        revert(*undoSteps_.back());
        undone.insert(undone.begin(), std::move(undoSteps_.back()));
        undoSteps_.pop_back();
    }
    redoSteps_.push_back(std::move(undone));
    recording_ = undoSteps_.empty() ? 0 : undoSteps_.back()->serial;
    return true;
}

bool Document::redo() {
    if (redoSteps_.empty()) return false;
    std::vector<std::unique_ptr<UndoStep>> &group = redoSteps_.back();
    // The art the steps made, made again first, each where it was: saved
    // objects point to it. Anything else in its place, and nothing changes.
    const size_t before = artStore.size();
    bool placed = before == group.front()->artCount;
    for (size_t s = 0; s < group.size() && placed; ++s) {
        const UndoStep &step = *group[s];
        placed = artStore.size() == step.artCount;
        for (size_t i = 0; i < step.madeArt.size() && placed; ++i)
            placed = artStore.create(step.madeArt[i]) == step.madeWhere[i];
    }
    if (!placed) {
        artStore.truncate(before);
        redoSteps_.clear();
        return false;
    }
    for (auto &step : group) {
        reapply(*step);
        undoSteps_.push_back(std::move(step));
    }
    redoSteps_.pop_back();
    recording_ = undoSteps_.back()->serial;
    return true;
}

// Forgets the oldest steps past the history's bounds, and steps never closed
// that no closed step precedes (no undo could reach them).
void Document::trimUndoHistory() {
    size_t closed = undoSteps();
    size_t drop = 0;
    while (drop + 1 < undoSteps_.size()) {
        const UndoStep &s = *undoSteps_[drop];
        const bool over = closed > undoStepLimit || undoBytes_ > undoByteLimit;
        if (s.closed && !over) break;
        if (s.closed) --closed;
        undoBytes_ -= s.bytes;
        ++drop;
    }
    undoSteps_.erase(undoSteps_.begin(), undoSteps_.begin() + std::ptrdiff_t(drop));
}

}  // namespace smear
