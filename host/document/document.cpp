#include "document.h"

#include <set>
#include <unordered_map>

#include "undo_step.h"

namespace smear {

namespace {

// Black ink, as new art is painted when nobody says otherwise.
AIColor blackInk() {
    AIColor c{};
    c.kind = kGrayColor;
    c.c.g.gray = 1.0f;
    return c;
}

// Old-to-new pointer maps used while cloning a document.
struct CloneMaps {
    std::unordered_map<const Art *, Art *> art;
    std::unordered_map<const Layer *, Layer *> layer;
    std::unordered_map<const GraphicStyle *, GraphicStyle *> style;
    std::unordered_map<const CustomColor *, CustomColor *> custom;
    std::unordered_map<const Gradient *, Gradient *> gradient;
    std::unordered_map<const Pattern *, Pattern *> pattern;

    template <class T> static T *find(const std::unordered_map<const T *, T *> &m, const T *old) {
        if (!old) return nullptr;
        auto it = m.find(old);
        return it == m.end() ? nullptr : it->second;
    }

    // Colour records carry document handles for custom colours, gradients and patterns.
    void remap(AIColor &c) const {
        switch (c.kind) {
        case kCustomColor:
            c.c.c.color = reinterpret_cast<AICustomColorHandle>(
                find(custom, reinterpret_cast<const CustomColor *>(c.c.c.color)));
            break;
        case kGradient:
            c.c.b.gradient = reinterpret_cast<AIGradientHandle>(
                find(gradient, reinterpret_cast<const Gradient *>(c.c.b.gradient)));
            break;
        case kPattern:
            c.c.p.pattern = reinterpret_cast<AIPatternHandle>(
                find(pattern, reinterpret_cast<const Pattern *>(c.c.p.pattern)));
            break;
        default:
            break;
        }
    }
    void remap(AIPathStyle &s) const {
        remap(s.fill.color);
        remap(s.stroke.color);
    }
};

template <class T>
T *cloneInto(std::deque<std::unique_ptr<T>> &store, const T &from) {
    store.push_back(std::make_unique<T>(from));
    return store.back().get();
}

}  // namespace

Document::Document() { addLayer("Layer 1"); }

void Document::setLayerOfSubtree(Art *art, Layer *layer) {
    if (art->layer != layer) {
        willChange(*art);
        art->layer = layer;
    }
    for (Art *c = art->firstChild; c; c = c->next) setLayerOfSubtree(c, layer);
}

void Document::markDisposed(Art *art) {
    willChange(*art);
    art->disposed = true;
    art->userAttr &= ~kArtSelected;
    for (Art *c = art->firstChild; c; c = c->next) markDisposed(c);
}

// Puts `art` into `parent`'s child list right after `after` (null: first child).
void Document::insertChildAfter(Art *parent, Art *after, Art *art) {
    Art *next = after ? after->next : parent->firstChild;
    willChange(*parent);
    willChange(*art);
    if (after) willChange(*after);
    if (next) willChange(*next);
    art->parent = parent;
    art->prev = after;
    art->next = next;
    if (next) next->prev = art;
    else parent->lastChild = art;
    if (after) after->next = art;
    else parent->firstChild = art;
    setLayerOfSubtree(art, parent->layer);
    geometryChanged(*parent);
}

Art *Document::newArt(ASInt16 type) {
    Art *art = artStore.create();
    art->savedIn = art->tagsSavedIn = art->paintSavedIn = recording_;  // made in this step: undo takes it away whole
    art->type = type;
    art->style.fill.color = blackInk();
    art->style.stroke.color = blackInk();
    art->style.stroke.width = 1.0f;
    art->style.stroke.miterLimit = 4.0f;
    return art;
}

// Whether `art` is `ancestor` or lies inside it.
static bool isWithin(const Art *art, const Art *ancestor) {
    for (; art; art = art->parent)
        if (art == ancestor) return true;
    return false;
}

void Document::link(Art *art, ASInt16 paintOrder, Art *prep) {
    // A layer's own group stays put, and art cannot go inside itself.
    if (!art || (art->layer && art->layer->root == art)) return;
    if (prep && prep != art && isWithin(prep, art)) return;
    unlink(art);
    const bool prepLinked = prep && prep->parent;
    switch (paintOrder) {
    case kPlaceAbove:
        if (prepLinked) return insertChildAfter(prep->parent, prep, art);
        break;
    case kPlaceBelow:
        if (prepLinked) return insertChildAfter(prep->parent, prep->prev, art);
        break;
    // Only art that holds members takes art inside: a walk looks for
    // members in no other.
    case kPlaceInsideOnTop:
        if (prep && holdsMembers(prep->type)) return insertChildAfter(prep, prep->lastChild, art);
        break;
    case kPlaceInsideOnBottom:
        if (prep && holdsMembers(prep->type)) return insertChildAfter(prep, nullptr, art);
        break;
    case kPlaceBelowAll:
        if (Layer *l = currentLayer()) return insertChildAfter(l->root, nullptr, art);
        return;
    default:
        break;
    }
    // kPlaceAboveAll, and any order whose reference cannot place the art.
    if (Layer *l = currentLayer()) insertChildAfter(l->root, l->root->lastChild, art);
}

void Document::unlink(Art *art) {
    if (!art || !art->parent) return;
    Art *parent = art->parent;
    willChange(*art);
    willChange(*parent);
    if (art->prev) willChange(*art->prev);
    if (art->next) willChange(*art->next);
    if (art->prev) art->prev->next = art->next;
    else parent->firstChild = art->next;
    if (art->next) art->next->prev = art->prev;
    else parent->lastChild = art->prev;
    art->parent = art->prev = art->next = nullptr;
    setLayerOfSubtree(art, nullptr);
    geometryChanged(*parent);
}

void Document::countNewIds() {
    for (; idsCounted_ < artStore.size(); ++idsCounted_) {
        const Art &a = *artStore[idsCounted_];
        if (!a.disposed && !a.id.empty()) ++idUse_[a.id];
    }
}

// A disposed object's id is free again for later copies.
void Document::releaseIds(const Art *art) {
    if (!art->id.empty()) {
        auto it = idUse_.find(art->id);
        if (it != idUse_.end() && --it->second <= 0) idUse_.erase(it);
    }
    for (const Art *c = art->firstChild; c; c = c->next) releaseIds(c);
}

// A copy's id: the original's with "-copy", "-copy-2", ... the first that no
// other live art of the document holds, so ids stay unique in written SVG.
std::string Document::freeCopyId(const std::string &id) {
    countNewIds();
    const std::string base = id + "-copy";
    std::string candidate = base;
    for (int n = 2; idUse_.count(candidate) != 0; ++n) candidate = base + "-" + std::to_string(n);
    return candidate;
}

void Document::dispose(Art *art) {
    if (!art || art->disposed) return;
    countNewIds();
    releaseIds(art);
    unlink(art);
    markDisposed(art);
}

Art *Document::duplicate(const Art *art) {
    if (!art) return nullptr;
    // Chosen before the copy joins the store, which counts it by this id.
    const std::string id = art->id.empty() ? std::string() : freeCopyId(art->id);
    Art *copy = artStore.create(*art);
    copy->parent = copy->firstChild = copy->lastChild = copy->prev = copy->next = nullptr;
    copy->layer = nullptr;
    copy->disposed = false;
    copy->savedIn = copy->tagsSavedIn = copy->paintSavedIn = recording_;
    copy->id = id;
    copy->sourceCopy = true;
    // A copy is left behind, not picked up: it does not join the selection.
    copy->userAttr &= ~kArtSelected;
    for (const Art *c = art->firstChild; c; c = c->next)
        insertChildAfter(copy, copy->lastChild, duplicate(c));
    return copy;
}

Layer *Document::addLayer(const std::string &name) {
    layerStore.push_back(std::make_unique<Layer>());
    Layer *layer = layerStore.back().get();
    layer->name = name;
    layer->root = newArt(kGroupArt);
    layer->root->layer = layer;
    layers.push_back(layer);
    currentLayerIndex = layers.size() - 1;
    return layer;
}

Layer *Document::insertLayer(ASInt16 paintOrder, Layer *base) {
    size_t at = layers.size();  // on top of all
    if (paintOrder == kPlaceBelowAll) {
        at = 0;
    } else if (base && (paintOrder == kPlaceAbove || paintOrder == kPlaceBelow)) {
        for (size_t i = 0; i < layers.size(); ++i)
            if (layers[i] == base) at = paintOrder == kPlaceAbove ? i + 1 : i;
    }
    Layer *layer = addLayer("Layer " + std::to_string(layerStore.size() + 1));
    layers.pop_back();
    layers.insert(layers.begin() + std::ptrdiff_t(at), layer);
    currentLayerIndex = at;
    return layer;
}

std::unique_ptr<Document> Document::clone() const {
    auto doc = std::make_unique<Document>();
    // Drop the default layer the constructor made; the copy gets ours.
    doc->layers.clear();
    doc->layerStore.clear();
    doc->artStore.clear();

    CloneMaps maps;
    for (const auto &c : customColorStore) maps.custom[c.get()] = cloneInto(doc->customColorStore, *c);
    for (const auto &g : gradientStore) maps.gradient[g.get()] = cloneInto(doc->gradientStore, *g);
    for (const auto &p : patternStore) maps.pattern[p.get()] = cloneInto(doc->patternStore, *p);
    for (const auto &s : styleStore) maps.style[s.get()] = cloneInto(doc->styleStore, *s);
    for (const auto &l : layerStore) maps.layer[l.get()] = cloneInto(doc->layerStore, *l);
    // Disposed art is unreachable in the copy, so it is not carried over.
    for (const auto &a : artStore)
        if (!a->disposed) maps.art[a] = doc->artStore.create(*a);
    // The copy has no undo history of its own.
    for (Art *a : doc->artStore) a->savedIn = a->tagsSavedIn = a->paintSavedIn = 0;

    for (auto &g : doc->gradientStore)
        for (GradientStop &stop : g->stops) maps.remap(stop.color);
    for (auto &p : doc->patternStore) maps.remap(p->color);
    for (auto &s : doc->styleStore) maps.remap(s->style);
    for (auto &l : doc->layerStore) l->root = CloneMaps::find(maps.art, l->root);
    for (Art *a : doc->artStore) {
        a->parent = CloneMaps::find(maps.art, a->parent);
        a->firstChild = CloneMaps::find(maps.art, a->firstChild);
        a->lastChild = CloneMaps::find(maps.art, a->lastChild);
        a->prev = CloneMaps::find(maps.art, a->prev);
        a->next = CloneMaps::find(maps.art, a->next);
        a->layer = CloneMaps::find(maps.layer, a->layer);
        a->artStyle = CloneMaps::find(maps.style, a->artStyle);
        maps.remap(a->style);
        for (MeshVertex &v : a->vertices) maps.remap(v.color);
    }

    for (const Layer *l : layers) doc->layers.push_back(maps.layer.at(l));
    doc->currentLayerIndex = currentLayerIndex;
    for (const Swatch *s : swatches) {
        Swatch *copy = cloneInto(doc->swatchStore, *s);
        maps.remap(copy->color);
        doc->swatches.push_back(copy);
    }
    for (const GraphicStyle *s : graphicStyles) doc->graphicStyles.push_back(maps.style.at(s));
    for (const CustomColor *c : customColors) doc->customColors.push_back(maps.custom.at(c));
    for (const Gradient *g : gradients) doc->gradients.push_back(maps.gradient.at(g));
    for (const Pattern *p : patterns) doc->patterns.push_back(maps.pattern.at(p));
    doc->artboard = artboard;
    doc->svgViewBox = svgViewBox;
    doc->svgWidth = svgWidth;
    doc->svgHeight = svgHeight;
    doc->svgDefinitions = svgDefinitions;
    doc->svgSource = svgSource;
    return doc;
}

Swatch *Document::addSwatch(const std::string &name, const AIColor &color) {
    swatchStore.push_back(std::make_unique<Swatch>(Swatch{name, color}));
    swatches.push_back(swatchStore.back().get());
    return swatches.back();
}

GraphicStyle *Document::addGraphicStyle(const std::string &name, const AIPathStyle &style) {
    styleStore.push_back(std::make_unique<GraphicStyle>());
    GraphicStyle *s = styleStore.back().get();
    s->name = name;
    s->style = style;
    graphicStyles.push_back(s);
    return s;
}

CustomColor *Document::addCustomColor(const std::string &name, const AIColor &base) {
    customColorStore.push_back(std::make_unique<CustomColor>(CustomColor{name, base}));
    customColors.push_back(customColorStore.back().get());
    return customColors.back();
}

Gradient *Document::addGradient(const std::string &name) {
    gradientStore.push_back(std::make_unique<Gradient>());
    gradientStore.back()->name = name;
    gradients.push_back(gradientStore.back().get());
    return gradients.back();
}

Pattern *Document::addPattern(const std::string &name) {
    patternStore.push_back(std::make_unique<Pattern>());
    patternStore.back()->name = name;
    patterns.push_back(patternStore.back().get());
    return patterns.back();
}

}  // namespace smear
