// Paint records of two documents compared field by field and exactly, with
// custom colours, gradients and patterns matched by name (a document read
// back from a file has handles of its own). Each comparison returns what
// differs, empty when nothing does, so that a failure says which field.
#pragma once

#include <iomanip>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "document.h"

namespace smear {

class PaintDiff {
public:
    explicit PaintDiff(std::string where = {}) : where_(std::move(where)) {}

    template <class T> void field(const char *name, const T &a, const T &b) {
        if (a == b) return;
        std::ostringstream s;
        s << std::setprecision(9) << where_ << name << ": " << a << " vs " << b << "\n";
        out_ += s.str();
    }
    void add(const std::string &text) { out_ += text; }
    const std::string &text() const { return out_; }

private:
    std::string where_;
    std::string out_;
};

inline std::string nameOf(const CustomColor *c) { return c ? c->name : "(none)"; }
inline std::string nameOf(const Gradient *g) { return g ? g->name : "(none)"; }
inline std::string nameOf(const Pattern *p) { return p ? p->name : "(none)"; }
inline std::string nameOf(const GraphicStyle *s) { return s ? s->name : "(none)"; }

inline void compareMatrix(PaintDiff &d, const char *name, const AIRealMatrix &a, const AIRealMatrix &b) {
    const std::string n = name;
    d.field((n + ".a").c_str(), a.a, b.a);
    d.field((n + ".b").c_str(), a.b, b.b);
    d.field((n + ".c").c_str(), a.c, b.c);
    d.field((n + ".d").c_str(), a.d, b.d);
    d.field((n + ".tx").c_str(), a.tx, b.tx);
    d.field((n + ".ty").c_str(), a.ty, b.ty);
}

// Every field the colour's kind uses; an unpainted colour has none.
inline std::string colourDifference(const AIColor &a, const AIColor &b, const std::string &where = {}) {
    PaintDiff d(where);
    d.field("kind", a.kind, b.kind);
    if (a.kind != b.kind) return d.text();
    switch (a.kind) {
    case kGrayColor: d.field("gray", a.c.g.gray, b.c.g.gray); break;
    case kFourColor:
        d.field("cyan", a.c.f.cyan, b.c.f.cyan);
        d.field("magenta", a.c.f.magenta, b.c.f.magenta);
        d.field("yellow", a.c.f.yellow, b.c.f.yellow);
        d.field("black", a.c.f.black, b.c.f.black);
        break;
    case kThreeColor:
        d.field("red", a.c.rgb.red, b.c.rgb.red);
        d.field("green", a.c.rgb.green, b.c.rgb.green);
        d.field("blue", a.c.rgb.blue, b.c.rgb.blue);
        break;
    case kCustomColor: {
        const CustomColor *x = reinterpret_cast<const CustomColor *>(a.c.c.color);
        const CustomColor *y = reinterpret_cast<const CustomColor *>(b.c.c.color);
        d.field("custom colour", nameOf(x), nameOf(y));
        d.field("tint", a.c.c.tint, b.c.c.tint);
        if (x && y) d.add(colourDifference(x->base, y->base, where + "custom base "));
        break;
    }
    case kGradient: {
        const AIGradientStyle &x = a.c.b, &y = b.c.b;
        d.field("gradient", nameOf(reinterpret_cast<const Gradient *>(x.gradient)),
                nameOf(reinterpret_cast<const Gradient *>(y.gradient)));
        d.field("origin.h", x.gradientOrigin.h, y.gradientOrigin.h);
        d.field("origin.v", x.gradientOrigin.v, y.gradientOrigin.v);
        d.field("angle", x.gradientAngle, y.gradientAngle);
        d.field("length", x.gradientLength, y.gradientLength);
        compareMatrix(d, "matrix", x.matrix, y.matrix);
        d.field("hiliteAngle", x.hiliteAngle, y.hiliteAngle);
        d.field("hiliteLength", x.hiliteLength, y.hiliteLength);
        break;
    }
    case kPattern: {
        const AIPatternStyle &x = a.c.p, &y = b.c.p;
        d.field("pattern", nameOf(reinterpret_cast<const Pattern *>(x.pattern)),
                nameOf(reinterpret_cast<const Pattern *>(y.pattern)));
        d.field("shiftDist", x.shiftDist, y.shiftDist);
        d.field("shiftAngle", x.shiftAngle, y.shiftAngle);
        d.field("scale.h", x.scale.h, y.scale.h);
        d.field("scale.v", x.scale.v, y.scale.v);
        d.field("rotate", x.rotate, y.rotate);
        d.field("reflect", x.reflect, y.reflect);
        d.field("reflectAngle", x.reflectAngle, y.reflectAngle);
        d.field("shearAngle", x.shearAngle, y.shearAngle);
        d.field("shearAxis", x.shearAxis, y.shearAxis);
        compareMatrix(d, "transform", x.transform, y.transform);
        break;
    }
    default: break;
    }
    return d.text();
}

// Paint flags, the colours that are painted, and the stroke's attributes
// when the stroke is painted; with `everyField` (a named style keeps its
// whole record) also the colours and stroke of what is not painted.
inline std::string pathStyleDifference(const AIPathStyle &a, const AIPathStyle &b, const std::string &where = {},
                                       bool everyField = false) {
    PaintDiff d(where);
    d.field("fillPaint", a.fillPaint != 0, b.fillPaint != 0);
    d.field("strokePaint", a.strokePaint != 0, b.strokePaint != 0);
    d.field("evenodd", a.evenodd != 0, b.evenodd != 0);
    if (everyField || (a.fillPaint && b.fillPaint))
        d.add(colourDifference(a.fill.color, b.fill.color, where + "fill "));
    if (everyField || (a.strokePaint && b.strokePaint)) {
        const AIStrokeStyle &x = a.stroke, &y = b.stroke;
        d.add(colourDifference(x.color, y.color, where + "stroke "));
        d.field("stroke width", x.width, y.width);
        d.field("cap", x.cap, y.cap);
        d.field("join", x.join, y.join);
        d.field("miterLimit", x.miterLimit, y.miterLimit);
        d.field("dashCount", x.dashCount, y.dashCount);
        if (x.dashCount == y.dashCount)
            for (int i = 0; i < x.dashCount && i < kMaxDashComponents; ++i)
                d.field(("dash " + std::to_string(i)).c_str(), x.dashes[i], y.dashes[i]);
        if (everyField || x.dashCount) d.field("dashOffset", x.dashOffset, y.dashOffset);
    }
    return d.text();
}

// The paint an art object shows: a compound path shows its first member's
// (which is what the path style suite reports for it).
inline const AIPathStyle &shownStyle(const Art &a) {
    return a.type == kCompoundPathArt && a.firstChild ? a.firstChild->style : a.style;
}

// What the colour tools change on an art object: the paint it shows,
// opacity, blend mode, named style (by name) and style factor. `label`
// names art without an id.
inline std::string artPaintDifference(const Art &a, const Art &b, const std::string &label = "(no id)") {
    const std::string where = "art " + (a.id.empty() ? label : a.id) + ": ";
    PaintDiff d(where);
    d.field("type", a.type, b.type);
    d.field("id", a.id, b.id);
    // Groups and meshes are not painted themselves.
    if (a.type != kGroupArt && a.type != kMeshArt) d.add(pathStyleDifference(shownStyle(a), shownStyle(b), where));
    d.field("opacity", a.opacity, b.opacity);
    d.field("blendMode", a.blendMode, b.blendMode);
    d.field("named style", nameOf(a.artStyle), nameOf(b.artStyle));
    d.field("styleFactor", a.styleFactor, b.styleFactor);
    return d.text();
}

// The swatch list (order, names, colours) and the named styles (order,
// names, paint, opacity).
inline std::string libraryDifference(const Document &a, const Document &b) {
    PaintDiff d;
    d.field("swatch count", a.swatches.size(), b.swatches.size());
    for (size_t k = 0; k < a.swatches.size() && k < b.swatches.size(); ++k) {
        const std::string where = "swatch " + std::to_string(k) + " ";
        PaintDiff s(where);
        s.field("name", a.swatches[k]->name, b.swatches[k]->name);
        d.add(s.text());
        d.add(colourDifference(a.swatches[k]->color, b.swatches[k]->color, where));
    }
    d.field("named style count", a.graphicStyles.size(), b.graphicStyles.size());
    for (size_t k = 0; k < a.graphicStyles.size() && k < b.graphicStyles.size(); ++k) {
        const GraphicStyle &x = *a.graphicStyles[k], &y = *b.graphicStyles[k];
        const std::string where = "named style " + x.name + " ";
        PaintDiff s(where);
        s.field("name", x.name, y.name);
        s.field("opacity", x.opacity, y.opacity);
        d.add(s.text());
        d.add(pathStyleDifference(x.style, y.style, where, true));
    }
    return d.text();
}

// Every art object of two documents, paired in paint order.
inline std::string documentPaintDifference(const Document &a, const Document &b) {
    std::vector<const Art *> x, y;
    a.forEachArt([&](const Art &art) { x.push_back(&art); });
    b.forEachArt([&](const Art &art) { y.push_back(&art); });
    PaintDiff d;
    d.field("art count", x.size(), y.size());
    for (size_t k = 0; k < x.size() && k < y.size(); ++k) {
        const Art &art = *x[k];
        const std::string label = "#" + std::to_string(k) + " (type " + std::to_string(art.type) +
                                  (art.parent && art.parent->type == kCompoundPathArt ? ", a compound's member)" : ")");
        d.add(artPaintDifference(art, *y[k], label));
    }
    return d.text() + libraryDifference(a, b);
}

}  // namespace smear
