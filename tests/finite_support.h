// For the tests of finite values: the bytes an art object holds, to tell
// that a refused call changed nothing, and whether every number the document
// holds is finite.
#pragma once

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "document.h"

namespace smear {

template <class T> void appendBytes(std::vector<unsigned char> &out, const T &value) {
    const auto *bytes = reinterpret_cast<const unsigned char *>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

inline void appendBytes(std::vector<unsigned char> &out, const std::string &text) {
    appendBytes(out, text.size());
    out.insert(out.end(), text.begin(), text.end());
}

// Everything an art object and the art inside it hold, as bytes read from
// the objects themselves (so padding compares equal when nothing wrote it).
inline void artBytes(const Art &a, std::vector<unsigned char> &out) {
    appendBytes(out, a.type);
    appendBytes(out, a.id);
    for (const Art *link : {a.parent, a.firstChild, a.lastChild, a.prev, a.next}) appendBytes(out, link);
    appendBytes(out, a.layer);
    appendBytes(out, a.disposed);
    for (const AIPathSegment &s : a.segments) appendBytes(out, s);
    appendBytes(out, a.closed);
    appendBytes(out, a.svgTransform);
    appendBytes(out, a.style);
    appendBytes(out, a.opacity);
    appendBytes(out, a.blendMode);
    appendBytes(out, a.artStyle);
    appendBytes(out, a.styleFactor);
    for (const smear::TagRef tag : a.tags) {
        appendBytes(out, tag.name);
        appendBytes(out, tag.type);
        appendBytes(out, tag.value);
    }
    appendBytes(out, a.userAttr);
    appendBytes(out, a.meshI);
    appendBytes(out, a.meshJ);
    for (const MeshVertex &v : a.vertices) appendBytes(out, v);
    appendBytes(out, a.text);
    appendBytes(out, a.fontSize);
    appendBytes(out, a.frame);
    appendBytes(out, a.matrix);
    appendBytes(out, a.href);
    appendBytes(out, a.svgStyle);
    for (const Art *c = a.firstChild; c; c = c->next) artBytes(*c, out);
}

inline std::vector<unsigned char> artBytes(const Art *a) {
    std::vector<unsigned char> out;
    artBytes(*a, out);
    return out;
}

inline bool allOf(std::initializer_list<AIReal> values) {
    for (AIReal v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

inline bool matrixIsFinite(const AIRealMatrix &m) { return allOf({m.a, m.b, m.c, m.d, m.tx, m.ty}); }

// The numbers of the colour's own kind.
inline bool colourIsFinite(const AIColor &c) {
    switch (c.kind) {
    case kGrayColor:
        return allOf({c.c.g.gray});
    case kFourColor:
        return allOf({c.c.f.cyan, c.c.f.magenta, c.c.f.yellow, c.c.f.black});
    case kThreeColor:
        return allOf({c.c.rgb.red, c.c.rgb.green, c.c.rgb.blue});
    case kCustomColor:
        return allOf({c.c.c.tint});
    case kGradient: {
        const AIGradientStyle &b = c.c.b;
        return allOf({b.gradientOrigin.h, b.gradientOrigin.v, b.gradientAngle, b.gradientLength, b.hiliteAngle,
                      b.hiliteLength}) &&
               matrixIsFinite(b.matrix);
    }
    case kPattern: {
        const AIPatternStyle &p = c.c.p;
        return allOf({p.shiftDist, p.shiftAngle, p.scale.h, p.scale.v, p.rotate, p.reflectAngle, p.shearAngle,
                      p.shearAxis}) &&
               matrixIsFinite(p.transform);
    }
    default:
        return true;
    }
}

inline bool artIsFinite(const Art &a) {
    for (const AIPathSegment &s : a.segments)
        if (!allOf({s.p.h, s.p.v, s.in.h, s.in.v, s.out.h, s.out.v})) return false;
    for (const MeshVertex &v : a.vertices)
        if (!allOf({v.point.h, v.point.v}) || !colourIsFinite(v.color)) return false;
    const AIStrokeStyle &k = a.style.stroke;
    for (AIReal d : k.dashes)
        if (!std::isfinite(d)) return false;
    return colourIsFinite(a.style.fill.color) && colourIsFinite(k.color) &&
           allOf({k.width, k.dashOffset, k.miterLimit, a.opacity, a.styleFactor}) && matrixIsFinite(a.matrix);
}

// Whether every live art object of `doc` holds finite numbers only.
inline bool documentIsFinite(const Document &doc) {
    bool finite = true;
    doc.forEachArt([&](const Art &a) { finite = finite && artIsFinite(a); });
    return finite;
}

}  // namespace smear
