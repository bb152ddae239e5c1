// Small helpers shared by the art and paint suite sources.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

#include "finite.h"
#include "handles.h"
#include "host.h"

namespace smear {

inline Document &currentDocument() { return currentHost().document(); }

// Whether changes to art on `layer` are refused.
inline bool isLocked(const Layer *layer) { return layer && layer->locked; }

// Resolves an art handle for a change: kBadParameterErr for null or disposed
// art, kLockedLayerErr for art on a locked layer. Undo saves the art first
// (paintableArt: only its paint, for a change of nothing else).
inline SPErr changeableArt(AIArtHandle h, Art *&art) {
    art = toArt(h);
    if (!art) return kBadParameterErr;
    if (isLocked(art->layer)) return kLockedLayerErr;
    return kNoErr;
}
inline SPErr editableArt(AIArtHandle h, Art *&art) {
    if (SPErr e = changeableArt(h, art)) return e;
    currentDocument().willChange(*art);
    return kNoErr;
}
inline SPErr paintableArt(AIArtHandle h, Art *&art) {
    if (SPErr e = changeableArt(h, art)) return e;
    currentDocument().willChangePaint(*art);
    return kNoErr;
}

// Copies `text` into a caller's buffer of `maxLength` bytes, terminator
// included; longer text is cut.
inline SPErr copyText(std::string_view text, char *out, ASInt32 maxLength) {
    if (!out || maxLength <= 0) return kBadParameterErr;
    const size_t n = std::min(text.size(), size_t(maxLength) - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return kNoErr;
}

// A colour record the document can hold: a known kind with finite numbers,
// and for custom, gradient and pattern colours a handle to one of the
// current document's own (one kept across an undo would dangle).
inline bool isValidColor(const AIColor &c) {
    switch (c.kind) {
    case kGrayColor:
    case kFourColor:
    case kThreeColor:
    case kNoneColor:
        break;
    case kCustomColor:
        if (!toCustomColor(c.c.c.color)) return false;
        break;
    case kGradient:
        if (!toGradient(c.c.b.gradient)) return false;
        break;
    case kPattern:
        if (!toPattern(c.c.p.pattern)) return false;
        break;
    default:
        return false;
    }
    return colorIsFinite(c);
}

// A path style the document can hold: valid colours, finite numbers (every
// dash slot, used or not, since all are stored) and a dash count it can
// hold.
inline bool isValidStyle(const AIPathStyle &s) {
    const AIStrokeStyle &k = s.stroke;
    return isValidColor(s.fill.color) && isValidColor(k.color) && std::isfinite(k.width) &&
           std::isfinite(k.dashOffset) && std::isfinite(k.miterLimit) && k.dashCount >= 0 &&
           k.dashCount <= kMaxDashComponents &&
           std::all_of(std::begin(k.dashes), std::end(k.dashes), [](AIReal d) { return std::isfinite(d); });
}

}  // namespace smear
