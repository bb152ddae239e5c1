#include "document_fingerprint.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "art_signature.h"

namespace smear {

namespace {

class Text {
public:
    Text &operator<<(const std::string &s) {
        out_ += s;
        return *this;
    }
    Text &operator<<(const char *s) {
        out_ += s;
        return *this;
    }
    Text &operator<<(long long v) { return *this << std::to_string(v); }
    Text &hex(uint64_t v) {
        char b[24];
        std::snprintf(b, sizeof b, "%016" PRIx64, v);
        return *this << b << " ";
    }
    // Floats by their bits: a fingerprint tells every change.
    Text &bits(AIReal v) {
        uint32_t u = 0;
        std::memcpy(&u, &v, sizeof u);
        return hex(u);
    }
    Text &matrix(const AIRealMatrix &m) {
        for (AIReal v : {m.a, m.b, m.c, m.d, m.tx, m.ty}) bits(v);
        return *this;
    }
    std::string str() && { return std::move(out_); }

private:
    std::string out_;
};

void art(Text &t, const Art &a, const Art *parent, const Layer *layer, int depth) {
    t << std::string(size_t(depth) * 2, ' ') << a.id << " type " << (long long)a.type << " attr "
      << (long long)a.userAttr << (a.disposed ? " disposed" : "") << (a.parent != parent ? " wrong-parent" : "")
      << (a.layer != layer ? " wrong-layer" : "") << " parts ";
    for (int p = 0; p < int(ArtPart::kCount); ++p) t.hex(artPartDigest(a, ArtPart(p)));
    t << "svg ";
    t.matrix(a.svgTransform).matrix(a.hostTransform);
    t << a.svgStyle << " source " << (long long)a.sourceElement << " " << (long long)a.sourceOwner << " "
      << (long long)a.sourcePart << (a.sourceCopy ? " copy " : " ");
    for (uint64_t d : a.sourceDigest) t.hex(d);
    t << "\n";
    const Art *prev = nullptr;
    for (const Art *c = a.firstChild; c; prev = c, c = c->next) {
        if (c->prev != prev) t << "wrong-prev\n";
        art(t, *c, &a, layer, depth + 1);
    }
    if (a.lastChild != prev) t << "wrong-last\n";
}

}  // namespace

std::string documentFingerprint(const Document &doc) {
    Text t;
    t << "artboard ";
    for (AIReal v : {doc.artboard.left, doc.artboard.top, doc.artboard.right, doc.artboard.bottom}) t.bits(v);
    t << "\ncurrent layer " << (long long)doc.currentLayerIndex << "\n";
    for (const Layer *l : doc.layers) {
        t << "layer " << l->name << (l->visible ? " visible" : "") << (l->locked ? " locked" : "") << " source "
          << (long long)l->sourceElement << "\n";
        if (l->root) art(t, *l->root, nullptr, l, 1);
    }
    for (const Swatch *s : doc.swatches) {
        Art probe;
        probe.style.fill.color = s->color;
        t << "swatch " << s->name << " ";
        t.hex(artPartDigest(probe, ArtPart::kPaint)) << "\n";
    }
    for (const GraphicStyle *s : doc.graphicStyles) {
        Art probe;
        probe.style = s->style;
        t << "style " << s->name << " ";
        t.hex(artPartDigest(probe, ArtPart::kPaint)).bits(s->opacity) << "\n";
    }
    for (const CustomColor *c : doc.customColors) t << "custom colour " << c->name << "\n";
    for (const Gradient *g : doc.gradients) t << "gradient " << g->name << " " << (long long)g->stops.size() << "\n";
    for (const Pattern *p : doc.patterns) t << "pattern " << p->name << "\n";
    return std::move(t).str();
}

}  // namespace smear
