#include "live_drawing.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

#include "art_signature.h"
#include "page_markup.h"
#include "svg_write_internal.h"

namespace smear {

using nlohmann::json;

namespace {

void mix(uint64_t &h, uint64_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); }

// The latest undo step that saved anything the page shows of the object or
// what it holds: a change to art always saves it first, marked with the
// step. Not its tags, which the page is not shown and which the plug-in
// writes on every selected object on a stroke.
uint32_t latestMark(const Art &art) {
    uint32_t m = std::max(art.savedIn, art.paintSavedIn);
    if (holdsMembers(art.type))
        for (const Art *c = art.firstChild; c; c = c->next) m = std::max(m, latestMark(*c));
    return m;
}

// Whether the layer's top-level objects are still `known`, in that order.
// The objects with the latest mark above `floor`, as objects are seen one
// after another: those a step saved carry its mark.
struct LatestMarked {
    uint32_t floor, latest;
    std::vector<const Art *> objects;
    void see(const Art &a) {
        const uint32_t m = latestMark(a);
        if (m <= floor || m < latest) return;
        if (m > latest) {
            latest = m;
            objects.clear();
        }
        objects.push_back(&a);
    }
};

bool sameTopLevel(const Layer &layer, const std::vector<const Art *> &known) {
    size_t k = 0;
    for (const Art *a = layer.root ? layer.root->firstChild : nullptr; a; a = a->next) {
        if (a->disposed) continue;
        if (k == known.size() || known[k] != a) return false;
        ++k;
    }
    return k == known.size();
}

bool touches(const AIRealRect &r, const AIRealRect &near) {
    // Document rectangles have their top above their bottom.
    return r.left <= near.right && r.right >= near.left && r.top >= near.bottom && r.bottom <= near.top;
}

// Two lists of objects as they differ: objects come and go in a run (a
// copy on top, an outline drawn and taken away), so the common start and
// end are passed by pointer, and only what lies between is looked up.
struct Difference {
    std::vector<const Art *> gone, came;  // in their lists' order
    bool reordered = false;               // objects in both changed places
    size_t from = 0, to = 0;              // where in `now` the lists differ
};

Difference differ(const std::vector<const Art *> &before, const std::vector<const Art *> &now) {
    size_t start = 0, endBefore = before.size(), endNow = now.size();
    while (start < endBefore && start < endNow && before[start] == now[start]) ++start;
    while (endBefore > start && endNow > start && before[endBefore - 1] == now[endNow - 1]) --endBefore, --endNow;
    const std::unordered_set<const Art *> inNow(now.begin() + long(start), now.begin() + long(endNow));
    const std::unordered_set<const Art *> inBefore(before.begin() + long(start), before.begin() + long(endBefore));
    Difference d;
    std::vector<const Art *> keptBefore, keptNow;
    for (size_t k = start; k < endBefore; ++k) (inNow.count(before[k]) ? keptBefore : d.gone).push_back(before[k]);
    for (size_t k = start; k < endNow; ++k) (inBefore.count(now[k]) ? keptNow : d.came).push_back(now[k]);
    d.reordered = keptBefore != keptNow;
    d.from = start;
    d.to = endNow;
    return d;
}

std::vector<const Art *> topLevel(const Layer &layer) {
    std::vector<const Art *> out;
    for (const Art *a = layer.root ? layer.root->firstChild : nullptr; a; a = a->next)
        if (!a->disposed) out.push_back(a);
    return out;
}

// The markup as the page shows it: the key right after the first element's
// name, and no data attributes (the tags and what a reader would need),
// which draw nothing: the plug-in tags every selected object on a stroke,
// and sending them would send the whole selection once a stroke.
std::string pageMarkup(const std::string &markup, uint64_t key) {
    std::string out;
    out.reserve(markup.size() + 24);
    bool first = true;
    for (size_t i = 0; i < markup.size();) {
        const char c = markup[i];
        if (c != '<' || i + 1 >= markup.size() || markup[i + 1] == '/' || markup[i + 1] == '!' || markup[i + 1] == '?') {
            out += c;
            ++i;
            continue;
        }
        // A start tag: its name, then attributes up to '>' outside quotes.
        size_t j = markup.find_first_of(" \t\n/>", i + 1);
        if (j == std::string::npos) j = markup.size();
        out.append(markup, i, j - i);
        if (first) out += " data-key=\"" + std::to_string(key) + "\"";
        first = false;
        while (j < markup.size() && markup[j] != '>') {
            const size_t nameStart = markup.find_first_not_of(" \t\n", j);
            if (nameStart == std::string::npos || markup[nameStart] == '>' || markup[nameStart] == '/') {
                out.append(markup, j, (nameStart == std::string::npos ? markup.size() : nameStart) - j);
                j = nameStart == std::string::npos ? markup.size() : nameStart;
                if (j < markup.size() && markup[j] == '/') out += markup[j++];
                continue;
            }
            const size_t quote = markup.find_first_of("\"'", nameStart);
            const size_t close = quote == std::string::npos ? std::string::npos : markup.find(markup[quote], quote + 1);
            if (close == std::string::npos) return out + markup.substr(j);  // not the writer's: left as it is
            if (markup.compare(nameStart, 5, "data-") != 0) out.append(markup, j, close + 1 - j);
            j = close + 1;
        }
        i = j;
    }
    return out;
}

// Runs the writer; what it cannot write is a std::runtime_error saying which
// object and which number.
template <class F> auto writing(F &&write) -> decltype(write()) {
    try {
        return write();
    } catch (const svg::WriteFailure &f) {
        throw std::runtime_error(f.message);
    } catch (const svg::UnwritableNumber &e) {
        throw std::runtime_error(svg::failureText("the drawing", e));
    }
}

}  // namespace

uint64_t drawnDigest(const Art &art) {
    // Not the tags, which the page is not shown (pageMarkup); the id it is.
    uint64_t h = uint64_t(art.type);
    mix(h, std::hash<std::string>()(art.id));
    for (ArtPart part : {ArtPart::kGeometry, ArtPart::kPaint, ArtPart::kAppearance})
        mix(h, std::hash<std::string>()(artPartSignature(art, part)));
    if (holdsMembers(art.type))
        for (const Art *c = art.firstChild; c; c = c->next)
            if (!c->disposed) mix(h, drawnDigest(*c));
    return h;
}

LiveDrawing::LiveDrawing() = default;
LiveDrawing::~LiveDrawing() = default;

void LiveDrawing::forget() { lost_ = true; }

std::string LiveDrawing::markupOf(const Art &art, uint64_t key) {
    return pageSafeMarkup(pageMarkup(writing([&] { return writer_->artMarkup(art, nullptr, nullptr); }), key));
}

json LiveDrawing::full(const Document &doc) {
    lost_ = true;  // until it is all written
    writer_ = std::make_unique<svg::Writer>(doc, true);
    doc_ = &doc;
    known_.clear();
    noted_.clear();
    layers_.clear();
    hidden_.clear();
    objects_.clear();
    json layers = json::array();
    for (const Layer *layer : doc.layers) {
        json objects = json::array();
        layers_.push_back(layer);
        hidden_.push_back(!layer->visible);
        objects_.push_back(topLevel(*layer));
        for (const Art *a : objects_.back()) {
            const uint64_t key = nextKey_++;
            known_[a] = Known{key, drawnDigest(*a)};
            objects.push_back(json::array({key, markupOf(*a, key)}));
        }
        layers.push_back(json{{"hidden", !layer->visible}, {"objects", std::move(objects)}});
    }
    std::string defs;
    for (const auto &def : doc.svgDefinitions) defs += def.second + "\n";
    defs += writing([&] { return writer_->newDefinitions(0, 0); });
    stylesSent_ = doc.graphicStyles.size();
    swatchesSent_ = doc.swatches.size();
    lost_ = false;
    return json{{"seq", ++seq_}, {"defs", pageSafeMarkup(defs)}, {"layers", std::move(layers)}};
}

std::vector<const Art *> LiveDrawing::marked(const Document &doc, uint32_t floor, uint32_t *latestOut) const {
    LatestMarked found{floor, floor, {}};
    for (const Layer *layer : doc.layers)
        for (const Art *a = layer->root ? layer->root->firstChild : nullptr; a; a = a->next)
            if (!a->disposed) found.see(*a);
    if (latestOut) *latestOut = found.objects.empty() ? 0 : found.latest;
    return found.objects;
}

void LiveDrawing::watchStroke(const Document &doc) {
    uint32_t latest = 0;
    marked(doc, 0, &latest);
    floor_ = latest;
    watching_ = true;
    strokeStart_.clear();
    for (const Layer *layer : doc.layers) strokeStart_.push_back(topLevel(*layer));
    strokeBefore_.clear();
    // No page holds the drawing (none has loaded it, or it lost track): what
    // the objects were is kept here instead, for strokeChanges.
    if (lost_ || doc_ != &doc)
        for (const auto &layer : strokeStart_)
            for (const Art *a : layer) strokeBefore_.emplace(a, drawnDigest(*a));
}

ChangeWatch::Changes LiveDrawing::strokeChanges(const Document &doc) {
    ChangeWatch::Changes out;
    bool same = strokeStart_.size() == doc.layers.size();
    for (size_t i = 0; same && i < strokeStart_.size(); ++i) same = sameTopLevel(*doc.layers[i], strokeStart_[i]);
    std::unordered_set<const Art *> came;
    for (size_t i = 0; !same && i < doc.layers.size(); ++i) {
        const Difference d = differ(i < strokeStart_.size() ? strokeStart_[i] : std::vector<const Art *>{},
                                    topLevel(*doc.layers[i]));
        out.added += d.came.size();
        out.removed += d.gone.size();
        came.insert(d.came.begin(), d.came.end());
    }
    for (const Art *a : marked(doc, floor_)) {
        if (came.count(a)) continue;  // added by the stroke
        const auto sent = strokeBefore_.find(a);
        const auto known = known_.find(a);
        if (sent == strokeBefore_.end() && known == known_.end()) continue;
        const uint64_t then = sent != strokeBefore_.end() ? sent->second : known->second.digest;
        out.changed += drawnDigest(*a) != then;
    }
    return out;
}

void LiveDrawing::noteUndoStep(const Document &doc) {
    const std::vector<const Art *> m = marked(doc, 0);
    noted_.insert(noted_.end(), m.begin(), m.end());
}

json LiveDrawing::changes(const Document &doc, const AIRealRect *near) {
    const auto reload = [this]() {
        lost_ = true;
        return json{{"seq", ++seq_}, {"reload", true}};
    };
    if (lost_ || doc_ != &doc || doc.layers.size() != layers_.size()) return reload();
    for (size_t i = 0; i < layers_.size(); ++i)
        if (doc.layers[i] != layers_[i] || hidden_[i] != !doc.layers[i]->visible) return reload();

    try {
        json changed = json::array(), added = json::array(), removed = json::array();
        // One walk over the top-level objects, the answer's only one over
        // the whole drawing: whether each layer still holds the objects the
        // page has, in order, and (during a stroke) the objects the stroke's
        // undo step saved, which carry its mark (as marked() finds them).
        std::vector<char> same(layers_.size(), 1);
        LatestMarked savedByStroke{floor_, floor_, {}};
        for (size_t i = 0; i < layers_.size(); ++i) {
            const std::vector<const Art *> &known = objects_[i];
            size_t k = 0;
            for (const Art *a = doc.layers[i]->root ? doc.layers[i]->root->firstChild : nullptr; a; a = a->next) {
                if (a->disposed) continue;
                if (same[i]) {
                    if (k < known.size() && known[k] == a) ++k;
                    else same[i] = 0;
                }
                if (watching_) savedByStroke.see(*a);
            }
            if (k != known.size()) same[i] = 0;
        }
        // What came and went, layer by layer. Objects that stay keep their
        // order; one moved elsewhere is rare enough to load the drawing again.
        for (size_t i = 0; i < layers_.size(); ++i) {
            std::vector<const Art *> &before = objects_[i];
            if (same[i]) continue;
            std::vector<const Art *> now = topLevel(*doc.layers[i]);
            const Difference d = differ(before, now);
            if (d.reordered) return reload();
            for (const Art *a : d.gone) {
                removed.push_back(known_[a].key);
                known_.erase(a);
            }
            const std::unordered_set<const Art *> came(d.came.begin(), d.came.end());
            for (size_t k = d.from; k < d.to; ++k) {
                const Art *a = now[k];
                if (!came.count(a)) continue;
                const uint64_t key = nextKey_++;
                known_[a] = Known{key, drawnDigest(*a)};
                const json after = k == 0 ? json(nullptr) : json(known_[now[k - 1]].key);
                added.push_back(json::array({key, i, after, markupOf(*a, key)}));
            }
            before = std::move(now);
        }
        // What changed: the objects the stroke's undo step saved (a change
        // saves the object first), and those an undo put back.
        std::vector<const Art *> &candidates = savedByStroke.objects;
        if (near) {
            // Of those, the ones near the pen; the rest are looked at again
            // when the stroke ends (with no `near`).
            AIRealRect r;
            candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                            [&](const Art *a) { return artBounds(*a, r) && !touches(r, *near); }),
                             candidates.end());
        }
        candidates.insert(candidates.end(), noted_.begin(), noted_.end());
        noted_.clear();
        std::unordered_set<const Art *> seen;
        for (const Art *a : candidates) {
            const auto it = known_.find(a);
            if (it == known_.end() || !seen.insert(a).second || a->disposed) continue;
            const uint64_t digest = drawnDigest(*a);
            if (digest == it->second.digest) continue;
            if (watching_) strokeBefore_.emplace(a, it->second.digest);  // the first time only
            it->second.digest = digest;
            changed.push_back(json::array({it->second.key, markupOf(*a, it->second.key)}));
        }
        const std::string defs = writing([&] { return writer_->newDefinitions(stylesSent_, swatchesSent_); });
        stylesSent_ = doc.graphicStyles.size();
        swatchesSent_ = doc.swatches.size();
        if (changed.empty() && added.empty() && removed.empty() && defs.empty()) return nullptr;
        json out{{"seq", ++seq_}};
        if (!changed.empty()) out["changed"] = std::move(changed);
        if (!added.empty()) out["added"] = std::move(added);
        if (!removed.empty()) out["removed"] = std::move(removed);
        if (!defs.empty()) out["defs"] = pageSafeMarkup(defs);
        return out;
    } catch (const std::runtime_error &) {
        // A number that cannot be written: the whole drawing's load says which.
        return reload();
    }
}

}  // namespace smear
