// Handles the plug-in holds are pointers to model objects. These helpers turn
// them back (and forth); the to* functions return null for a null handle, and
// toArt also for art that has been disposed, so a suite can answer
// kBadParameterErr instead of touching it.
#pragma once

#include "document.h"

namespace smear {

inline Art *toArt(AIArtHandle h) {
    Art *art = reinterpret_cast<Art *>(h);
    return art && !art->disposed ? art : nullptr;
}
inline AIArtHandle toHandle(Art *art) { return reinterpret_cast<AIArtHandle>(art); }

inline Layer *toLayer(AILayerHandle h) { return reinterpret_cast<Layer *>(h); }
inline AILayerHandle toHandle(Layer *layer) { return reinterpret_cast<AILayerHandle>(layer); }

inline GraphicStyle *toGraphicStyle(AIArtStyleHandle h) { return reinterpret_cast<GraphicStyle *>(h); }
inline AIArtStyleHandle toHandle(GraphicStyle *s) { return reinterpret_cast<AIArtStyleHandle>(s); }

inline Swatch *toSwatch(AISwatchRef h) { return reinterpret_cast<Swatch *>(h); }
inline AISwatchRef toHandle(Swatch *s) { return reinterpret_cast<AISwatchRef>(s); }

inline CustomColor *toCustomColor(AICustomColorHandle h) { return reinterpret_cast<CustomColor *>(h); }
inline AICustomColorHandle toHandle(CustomColor *c) { return reinterpret_cast<AICustomColorHandle>(c); }

inline Gradient *toGradient(AIGradientHandle h) { return reinterpret_cast<Gradient *>(h); }
inline AIGradientHandle toHandle(Gradient *g) { return reinterpret_cast<AIGradientHandle>(g); }

inline Pattern *toPattern(AIPatternHandle h) { return reinterpret_cast<Pattern *>(h); }
inline AIPatternHandle toHandle(Pattern *p) { return reinterpret_cast<AIPatternHandle>(p); }

// A mesh vertex handle addresses one element of its mesh's vertex vector,
// which is never resized while the mesh is in a document.
inline MeshVertex *toMeshVertex(AIMeshVertexHandle h) { return reinterpret_cast<MeshVertex *>(h); }
inline AIMeshVertexHandle toHandle(MeshVertex *v) { return reinterpret_cast<AIMeshVertexHandle>(v); }

}  // namespace smear
