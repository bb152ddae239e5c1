// Small helpers shared by the art and paint suite sources.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>
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

// Whether every number of the colour's kind is finite: its inks, its tint,
// a gradient's placement and matrix, a pattern's placement and transform.
inline bool colorIsFinite(const AIColor &c) {
    auto finite = [](std::initializer_list<AIReal> values) {
        return std::all_of(values.begin(), values.end(), [](AIReal v) { return std::isfinite(v); });
    };
    switch (c.kind) {
    case kGrayColor:
        return std::isfinite(c.c.g.gray);
    case kFourColor:
        return finite({c.c.f.cyan, c.c.f.magenta, c.c.f.yellow, c.c.f.black});
    case kThreeColor:
        return finite({c.c.rgb.red, c.c.rgb.green, c.c.rgb.blue});
    case kCustomColor:
        return std::isfinite(c.c.c.tint);
    case kGradient: {
        const AIGradientStyle &b = c.c.b;
        return isFinite(b.gradientOrigin) && isFinite(b.matrix) &&
               finite({b.gradientAngle, b.gradientLength, b.hiliteAngle, b.hiliteLength});
    }
    case kPattern: {
        const AIPatternStyle &p = c.c.p;
        return isFinite(p.scale) && isFinite(p.transform) &&
               finite({p.shiftDist, p.shiftAngle, p.rotate, p.reflectAngle, p.shearAngle, p.shearAxis});
    }
    default:
        return true;
    }
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
