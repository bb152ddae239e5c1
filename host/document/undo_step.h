// What one undo step keeps (see Document::openUndoStep).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document.h"

namespace smear {

struct Document::UndoStep {
    uint32_t serial = 0;
    bool closed = false;
    // The document's lists and its stores' sizes when the step opened:
    // whatever the stores gained since is the step's own and goes with it.
    size_t artCount = 0, layerCount = 0, swatchCount = 0, styleCount = 0, customCount = 0, gradientCount = 0,
           patternCount = 0;
    std::vector<Layer *> layers;
    size_t currentLayerIndex = 0;
    std::vector<Swatch *> swatches;
    std::vector<GraphicStyle *> graphicStyles;
    std::vector<CustomColor *> customColors;
    std::vector<Gradient *> gradients;
    std::vector<Pattern *> patterns;
    // What each object was before the step first changed it.
    struct SavedArt {
        Art *where;
        Art before;
    };
    std::vector<SavedArt> art;
    // The tags of objects whose tags changed before anything else of theirs
    // did (so always saved before the object itself, if it is).
    struct SavedTags {
        Art *where;
        ArtTags before;
        uint32_t savedIn;
    };
    std::vector<SavedTags> tags;
    // Likewise the paint of objects whose paint changed first.
    struct SavedPaint {
        Art *where;
        AIPathStyle style;
        AIReal opacity;
        ASInt32 blendMode;
        GraphicStyle *artStyle;
        AIReal styleFactor;
        uint32_t savedIn;
    };
    std::vector<SavedPaint> paint;
    std::vector<std::pair<Swatch *, Swatch>> swatchColours;
    size_t bytes = 0;
    // Once undone, kept for a redo: what the step made (art by its contents
    // and address, to be made again there; other objects themselves). The
    // saved states above then hold what the step left, swapped for what it
    // found, so that putting them back is the same swap again.
    std::vector<Art *> madeWhere;
    std::vector<Art> madeArt;
    std::vector<std::unique_ptr<Layer>> madeLayers;
    std::vector<std::unique_ptr<Swatch>> madeSwatches;
    std::vector<std::unique_ptr<GraphicStyle>> madeStyles;
    std::vector<std::unique_ptr<CustomColor>> madeCustomColors;
    std::vector<std::unique_ptr<Gradient>> madeGradients;
    std::vector<std::unique_ptr<Pattern>> madePatterns;
#ifndef NDEBUG
    // Debug builds check that undo brings back exactly this.
    std::string fingerprint;
#endif
};

}  // namespace smear
