#include "session_changes.h"

#include <cstring>
#include <set>

namespace smear {

namespace {

// Everything a person could see of an art object, written field by field so
// that padding bytes never count as a change. Tags and selection do not.
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
    Signature &add(const AIColor &c) {
        add(c.kind);
        switch (c.kind) {
        case kGrayColor: return add(c.c.g.gray);
        case kFourColor: return add(c.c.f.cyan).add(c.c.f.magenta).add(c.c.f.yellow).add(c.c.f.black);
        case kThreeColor: return add(c.c.rgb.red).add(c.c.rgb.green).add(c.c.rgb.blue);
        case kCustomColor: return add(c.c.c.color).add(c.c.c.tint);
        case kPattern: {
            const AIPatternStyle &p = c.c.p;
            return add(p.pattern).add(p.shiftDist).add(p.shiftAngle).add(p.scale).add(p.rotate).add(p.reflect)
                .add(p.reflectAngle).add(p.shearAngle).add(p.shearAxis).add(p.transform);
        }
        case kGradient: {
            const AIGradientStyle &g = c.c.b;
            return add(g.gradient).add(g.gradientOrigin).add(g.gradientAngle).add(g.gradientLength).add(g.matrix)
                .add(g.hiliteAngle).add(g.hiliteLength);
        }
        default: return *this;
        }
    }
    const std::string &str() const { return s_; }

private:
    std::string s_;
};

std::string signatureOf(const Art &a) {
    Signature s;
    s.add(a.type).add(a.closed);
    for (const AIPathSegment &seg : a.segments) s.add(seg.p).add(seg.in).add(seg.out).add(seg.corner);
    const AIPathStyle &st = a.style;
    s.add(st.fillPaint).add(st.fill.color).add(st.strokePaint).add(st.stroke.color).add(st.stroke.width).add(st.evenodd);
    s.add(a.opacity).add(a.blendMode).add(a.artStyle).add(a.styleFactor);
    s.add(ASInt32(a.userAttr & ~kArtSelected)).add(a.meshI).add(a.meshJ);
    for (const MeshVertex &v : a.vertices) s.add(v.point).add(v.color);
    s.add(a.matrix).add(a.frame).add(a.fontSize);
    return s.str() + a.text + '\0' + a.href;
}

}  // namespace

ChangeWatch::ChangeWatch(const Document &doc) {
    doc.forEachArt([&](const Art &a) { before_[&a] = signatureOf(a); });
}

ChangeWatch::Changes ChangeWatch::compare(const Document &doc) const {
    Changes c;
    std::set<const Art *> seen;
    doc.forEachArt([&](const Art &a) {
        auto it = before_.find(&a);
        if (it == before_.end()) {
            ++c.added;
            return;
        }
        seen.insert(&a);
        if (it->second != signatureOf(a)) ++c.changed;
    });
    c.removed = before_.size() - seen.size();
    return c;
}

std::string describe(const ChangeWatch::Changes &c) {
    std::string s = std::to_string(c.changed) + (c.changed == 1 ? " object changed" : " objects changed");
    if (c.added) s += ", " + std::to_string(c.added) + " added";
    if (c.removed) s += ", " + std::to_string(c.removed) + " removed";
    return s;
}

}  // namespace smear
