// Small helpers shared by the art and paint suite sources.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "handles.h"
#include "host.h"

namespace smear {

inline Document &currentDocument() { return currentHost().document(); }

// Arguments for the call log, formatted only when somebody is listening.
template <class F> std::string logArgs(F &&format) {
    return currentHost().log.enabled() ? format() : std::string();
}

// Whether changes to art on `layer` are refused.
inline bool isLocked(const Layer *layer) { return layer && layer->locked; }

// Resolves an art handle for a change: kBadParameterErr for null or disposed
// art, kLockedLayerErr for art on a locked layer.
inline SPErr editableArt(AIArtHandle h, Art *&art) {
    art = toArt(h);
    if (!art) return kBadParameterErr;
    if (isLocked(art->layer)) return kLockedLayerErr;
    return kNoErr;
}

// Copies `text` into a caller's buffer of `maxLength` bytes, terminator
// included; longer text is cut.
inline SPErr copyText(const std::string &text, char *out, ASInt32 maxLength) {
    if (!out || maxLength <= 0) return kBadParameterErr;
    const size_t n = std::min(text.size(), size_t(maxLength) - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return kNoErr;
}

inline bool isFinite(const AIRealMatrix &m) {
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
}

inline bool isFinite(AIRealPoint p) { return std::isfinite(p.h) && std::isfinite(p.v); }
inline bool isFinite(const AIPathSegment &s) { return isFinite(s.p) && isFinite(s.in) && isFinite(s.out); }

// Whether the geometry of `art` and of everything inside it is finite: its
// segments, mesh points, frame and placement, and its stroke width.
inline bool geometryIsFinite(const Art &art) {
    for (const AIPathSegment &s : art.segments)
        if (!isFinite(s)) return false;
    for (const MeshVertex &v : art.vertices)
        if (!isFinite(v.point)) return false;
    const AIRealRect &f = art.frame;
    if (!std::isfinite(f.left) || !std::isfinite(f.top) || !std::isfinite(f.right) || !std::isfinite(f.bottom) ||
        !isFinite(art.matrix) || !std::isfinite(art.style.stroke.width))
        return false;
    for (const Art *c = art.firstChild; c; c = c->next)
        if (!geometryIsFinite(*c)) return false;
    return true;
}

// A colour record the document can hold: a known kind, with the document
// handle that custom, gradient and pattern colours need.
inline bool isValidColor(const AIColor &c) {
    switch (c.kind) {
    case kGrayColor:
    case kFourColor:
    case kThreeColor:
    case kNoneColor:
        return true;
    case kCustomColor:
        return c.c.c.color != nullptr;
    case kGradient:
        return c.c.b.gradient != nullptr;
    case kPattern:
        return c.c.p.pattern != nullptr;
    default:
        return false;
    }
}

}  // namespace smear
