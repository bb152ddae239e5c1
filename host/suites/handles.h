// Handles the plug-in holds are pointers to model objects. These helpers turn
// them back (and forth). The to* functions of document objects return null
// for a null handle and for a handle that is not an object of their kind in
// the current host's document (a handle kept across an undo, which replaced
// the document, or a layer passed as art), and toArt also for art that has
// been disposed, so a suite can answer kBadParameterErr instead of touching
// it. With no host alive (code that works on a document alone) only the
// null and disposed checks apply.
#pragma once

#include "document.h"
#include "host.h"

namespace smear {

// The store each kind of handle's object lives in.
template <class T> struct StoreOf;
template <> struct StoreOf<Layer> { static constexpr StoreKind kind = StoreKind::Layer; };
template <> struct StoreOf<Swatch> { static constexpr StoreKind kind = StoreKind::Swatch; };
template <> struct StoreOf<GraphicStyle> { static constexpr StoreKind kind = StoreKind::Style; };
template <> struct StoreOf<CustomColor> { static constexpr StoreKind kind = StoreKind::CustomColor; };
template <> struct StoreOf<Gradient> { static constexpr StoreKind kind = StoreKind::Gradient; };
template <> struct StoreOf<Pattern> { static constexpr StoreKind kind = StoreKind::Pattern; };

template <class T> T *liveObject(void *h) {
    T *object = reinterpret_cast<T *>(h);
    if (!object) return nullptr;
    Host *host = currentHostIfAny();
    return host == nullptr || host->holdsAs(object, StoreOf<T>::kind) ? object : nullptr;
}

// Asked of every art handle on every suite call: inline, and only the arena.
inline Art *toArt(AIArtHandle h) {
    Art *art = reinterpret_cast<Art *>(h);
    if (!art) return nullptr;
    const Host *host = currentHostIfAny();
    if (host && !host->holdsArt(art)) return nullptr;
    return art->disposed ? nullptr : art;
}
inline AIArtHandle toHandle(Art *art) { return reinterpret_cast<AIArtHandle>(art); }

// The calls a step makes for every object mostly find no log kept, no fault
// planned and the art the last call found (kJustBefore: the calls a tool
// makes again and again about one object), or art of the block the last call
// found (kInItsBlock: the first calls about each object, which come one
// object after another from the same block): that art, unless disposed, or
// null for any other call, which then goes the whole way. Inline and without
// calls, so that the function that asks needs no stack frame on that path;
// the calls made again and again test no more than they need, for the block
// test alone made the segment reads take a frame.
enum class Asked { kJustBefore, kInItsBlock };
template <Asked asked> [[gnu::always_inline]] inline Art *quietCallArt(AIArtHandle h) {
    const Host *host = currentHostIfAny();
    if (!host || host->log.enabled() || host->faults.planned()) return nullptr;
    if (asked == Asked::kJustBefore ? !host->holdsLastFound(h) : !host->holdsArtNearby(h)) return nullptr;
    Art *art = reinterpret_cast<Art *>(h);
    return art->disposed ? nullptr : art;
}

inline Layer *toLayer(AILayerHandle h) { return liveObject<Layer>(h); }
inline AILayerHandle toHandle(Layer *layer) { return reinterpret_cast<AILayerHandle>(layer); }

inline GraphicStyle *toGraphicStyle(AIArtStyleHandle h) { return liveObject<GraphicStyle>(h); }
inline AIArtStyleHandle toHandle(GraphicStyle *s) { return reinterpret_cast<AIArtStyleHandle>(s); }

inline Swatch *toSwatch(AISwatchRef h) { return liveObject<Swatch>(h); }
inline AISwatchRef toHandle(Swatch *s) { return reinterpret_cast<AISwatchRef>(s); }

inline CustomColor *toCustomColor(AICustomColorHandle h) { return liveObject<CustomColor>(h); }
inline AICustomColorHandle toHandle(CustomColor *c) { return reinterpret_cast<AICustomColorHandle>(c); }

inline Gradient *toGradient(AIGradientHandle h) { return liveObject<Gradient>(h); }
inline AIGradientHandle toHandle(Gradient *g) { return reinterpret_cast<AIGradientHandle>(g); }

inline Pattern *toPattern(AIPatternHandle h) { return liveObject<Pattern>(h); }
inline AIPatternHandle toHandle(Pattern *p) { return reinterpret_cast<AIPatternHandle>(p); }

// A mesh vertex handle addresses one element of its mesh's vertex vector;
// the host remembers which (Host::vertexHandle), so one that outlived its
// mesh or its place is null here. With no host alive there are none.
inline MeshVertex *toMeshVertex(AIMeshVertexHandle h, Art **mesh = nullptr) {
    if (mesh) *mesh = nullptr;
    Host *host = currentHostIfAny();
    return host && h ? host->meshVertex(h, mesh) : nullptr;
}

}  // namespace smear
