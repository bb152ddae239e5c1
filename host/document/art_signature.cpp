#include "art_signature.h"

#include <cstring>

namespace smear {

namespace {

class Signature {
public:
    template <class T> Signature &add(const T &v) {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        s_.append(bytes, sizeof(T));
        return *this;
    }
    Signature &add(const AIRealPoint &p) { return add(p.h).add(p.v); }
    Signature &add(const AIRealMatrix &m) { return add(m.a).add(m.b).add(m.c).add(m.d).add(m.tx).add(m.ty); }
    Signature &add(const AIRealRect &r) { return add(r.left).add(r.top).add(r.right).add(r.bottom); }
    Signature &add(const std::string &text) { return add(text.size()).bytes(text); }
    Signature &add(const AIColor &c) {
        add(c.kind);
        switch (c.kind) {
        case kGrayColor: return add(c.c.g.gray);
        case kFourColor: return add(c.c.f.cyan).add(c.c.f.magenta).add(c.c.f.yellow).add(c.c.f.black);
        case kThreeColor: return add(c.c.rgb.red).add(c.c.rgb.green).add(c.c.rgb.blue);
        case kCustomColor: return named(reinterpret_cast<const CustomColor *>(c.c.c.color)).add(c.c.c.tint);
        case kPattern: {
            const AIPatternStyle &p = c.c.p;
            return named(reinterpret_cast<const Pattern *>(p.pattern)).add(p.shiftDist).add(p.shiftAngle).add(p.scale).add(p.rotate).add(p.reflect)
                .add(p.reflectAngle).add(p.shearAngle).add(p.shearAxis).add(p.transform);
        }
        case kGradient: {
            const AIGradientStyle &g = c.c.b;
            return named(reinterpret_cast<const Gradient *>(g.gradient)).add(g.gradientOrigin).add(g.gradientAngle).add(g.gradientLength).add(g.matrix)
                .add(g.hiliteAngle).add(g.hiliteLength);
        }
        default: return *this;
        }
    }
    Signature &add(const AIPathStyle &st) {
        add(st.fillPaint).add(st.fill.color).add(st.strokePaint).add(st.stroke.color).add(st.stroke.width);
        add(st.stroke.overprint).add(st.stroke.dashOffset).add(st.stroke.dashCount);
        const ASInt32 dashes = st.stroke.dashCount < 0 ? 0
                               : st.stroke.dashCount > kMaxDashComponents ? kMaxDashComponents
                                                                          : st.stroke.dashCount;
        for (ASInt32 k = 0; k < dashes; ++k) add(st.stroke.dashes[k]);
        return add(st.stroke.cap).add(st.stroke.join).add(st.stroke.miterLimit).add(st.evenodd);
    }
    // Paint the art refers to, by its name: the same in a copy of the
    // document, where every such object lives at another address.
    template <class T> Signature &named(const T *object) {
        add(object != nullptr);
        return object ? add(object->name) : *this;
    }
    Signature &bytes(const std::string &text) {
        s_ += text;
        return *this;
    }
    const std::string &str() const { return s_; }

private:
    std::string s_;
};

}  // namespace

std::string artPartSignature(const Art &a, ArtPart part) {
    Signature s;
    switch (part) {
    case ArtPart::kGeometry:
        s.add(a.type).add(a.closed).add(a.segments.size());
        for (const AIPathSegment &seg : a.segments) s.add(seg.p).add(seg.in).add(seg.out).add(seg.corner);
        s.add(a.meshI).add(a.meshJ).add(a.vertices.size());
        for (const MeshVertex &v : a.vertices) s.add(v.point);
        s.add(a.matrix).add(a.frame).add(a.fontSize).add(a.text).add(a.href);
        break;
    case ArtPart::kPaint:
        s.add(a.style).named(a.artStyle).add(a.styleFactor);
        for (const MeshVertex &v : a.vertices) s.add(v.color);
        break;
    case ArtPart::kAppearance: s.add(a.opacity).add(a.blendMode).add(ASInt32(a.userAttr & kArtHidden)); break;
    case ArtPart::kTags:
        s.add(a.id);
        for (const TagRef tag : a.tags) s.add(tag.name).add(tag.type).add(tag.value);
        break;
    case ArtPart::kCount: break;
    }
    return s.str();
}

std::string visibleSignature(const Art &a) {
    return artPartSignature(a, ArtPart::kGeometry) + artPartSignature(a, ArtPart::kPaint) +
           artPartSignature(a, ArtPart::kAppearance);
}

uint64_t artPartDigest(const Art &art, ArtPart part) {
    // FNV-1a: the same digest on every platform.
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : artPartSignature(art, part)) h = (h ^ c) * 1099511628211ull;
    return h;
}

}  // namespace smear
