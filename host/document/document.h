// The stand-in host's document model: layers of art trees with real geometry
// and paint, plus the document's swatches, graphic styles, custom colours,
// gradients and patterns. Handles given to the plug-in are pointers to these
// objects, so following one is O(1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "art_arena.h"
#include "art_tags.h"
#include "segment_list.h"
#include "hostapi.h"

namespace smear {

struct Layer;
struct SvgSource;  // the SVG file a document was read from (svg/svg_source.h)

struct MeshVertex {
    AIRealPoint point{};
    AIColor color{};
};


// What Art::boundsKnown says.
enum : signed char { kBoundsToCompute = 0, kNoBounds = 1, kBoundsKept = 2, kAnchorBoundsKept = 3 };

// The kinds of art that hold members: the document puts art inside no other.
inline bool holdsMembers(ASInt16 type) { return type == kGroupArt || type == kCompoundPathArt; }

// What a drag step asks of every object (whether it is live, its type, its
// bounds, its first tag) and what a walk over the document asks (its user
// attributes, the sibling after it) fill its first cache line, so that a
// step over an object the brush does not reach, and a walk past an object
// that holds no members, read that line alone; the rest of the tree (its
// layer, its parent, its members) the next, with what a fade changes
// (opacity, blending mode), for every change reads the layer for its lock;
// a short path's segments, with their count, the two after, so that the
// point tools read three lines of an object whose points the brush does
// not reach; the path style the four after those; and what a transform
// reads besides (the host's transform, the mesh's vertices) the one after
// that. Objects start on a cache line.
struct alignas(64) Art {
    ASInt16 type = kPathArt;
    bool disposed = false;
    // kBoundsToCompute, kNoBounds, kBoundsKept (boundsBox), or
    // kAnchorBoundsKept (boundsBox, spanned by the anchors: every curve's
    // controls lie between its ends).
    mutable signed char boundsKnown = 0;
    ASInt32 userAttr = 0;                 // kArtSelected, kArtLocked, kArtHidden
    // Its geometric bounds as last computed (artBounds), kept until its
    // geometry changes or, for a group or compound path, a member's does:
    // whatever changes geometry calls geometryChanged. Kept as the floats
    // they are given as: rounding keeps order, so a group's bounds from its
    // members' rounded bounds are its bounds from their exact ones, rounded.
    mutable AIReal boundsBox[4] = {0, 0, 0, 0};  // left, top, right, bottom
    // Tree links; a layer's top-level art hangs off the layer's root group.
    // Only groups and compound paths hold members (holdsMembers).
    Art *next = nullptr;  // sibling painted after this one
    ArtTags tags;

    Layer *layer = nullptr;
    Art *parent = nullptr;
    Art *firstChild = nullptr;  // bottom-most child (painted first)
    Art *lastChild = nullptr;   // top-most child
    Art *prev = nullptr;        // sibling painted before this one
    // The undo step that last saved what the art was (0: none), so that a
    // step saves an object once, when it first changes it; and the one that
    // last saved only its tags, which the plug-in writes on every object
    // of the selection (so that costs a step little).
    uint32_t savedIn = 0;
    uint32_t tagsSavedIn = 0;
    // Paint a tool may set on every object it reaches, in the line every
    // change reads for the layer's lock; and the undo step that last saved
    // only the paint (the paint tools change nothing else).
    uint32_t paintSavedIn = 0;
    AIReal opacity = 1.0f;
    ASInt32 blendMode = 0;
    bool closed = false;

    // Paths (and path-like art): Bezier segments, their count and four of
    // them in two lines of their own.
    alignas(64) SegmentList segments;

    // The rest of its paint, from the start of a cache line, so that the
    // style fills four lines, not five.
    AIPathStyle style{};
    struct GraphicStyle *artStyle = nullptr;
    // The transforms the host applied to the art since, composed (document
    // space), so that its element is written with them as its transform
    // and what lies in its own space (a clip path, a mask) moves with it.
    // In one line with the mesh's vertices, which a transform also looks at.
    AIRealMatrix hostTransform{1, 0, 0, 1, 0, 0};
    AIReal styleFactor = 1.0f;

    // Gradient mesh: I x J patches, (I + 1) * (J + 1) vertices, i major.
    ASInt32 meshI = 0;
    ASInt32 meshJ = 0;
    std::vector<MeshVertex> vertices;

    std::string id;  // the SVG id it was read with, kept when written back

    // The transform an SVG path element was drawn with (document space),
    // kept so that the file is written back in the element's own
    // coordinates. The segments above stay absolute: nothing but the SVG
    // writer looks at this.
    AIRealMatrix svgTransform{1, 0, 0, 1, 0, 0};

    // Text, placed, raster and symbol art: a frame in its own space, placed
    // into the document by `matrix`.
    std::string text;
    AIReal fontSize = 12.0f;
    AIRealRect frame{};
    AIRealMatrix matrix{1, 0, 0, 1, 0, 0};
    // Placed or raster image source, symbol name; for a text of several
    // lines (its words one line per row), where each line starts: a row of
    // "x y anchor size" per line, in the text's own space (y down).
    std::string href;
    // Text presentation the model has no field for (font family, weight,
    // anchor ...), as CSS declarations kept from the SVG it was read from.
    std::string svgStyle;

    // Where the art came from in the SVG file the document was read from:
    // the element it was read from (an index into the document's
    // svgSource; -1 for none), and the element whose markup holds it
    // (itself, or for a compound path's member or a line of a text, the
    // element of the art that holds it; -1 for art made since). With a
    // digest of each part as read, so that the writer changes that markup
    // only where the art changed. Copies keep both, marked as copies.
    int sourceElement = -1;
    int sourceOwner = -1;
    // For a line of a text placed by a span of its own: that span's
    // element, which the writer can move out with the line; -1 otherwise.
    int sourcePart = -1;
    bool sourceCopy = false;
    uint64_t sourceDigest[4] = {};


    bool selected() const { return (userAttr & kArtSelected) != 0; }
    MeshVertex &vertex(ASInt32 i, ASInt32 j) { return vertices[size_t(i) * size_t(meshJ + 1) + size_t(j)]; }
};

// The distance between neighbouring objects in the arena: an odd number of
// cache lines. With an even number the same line of consecutive objects
// would fall into a fraction of the cache's sets (a quarter, for twelve
// lines), and a walk over a drawing that fits the cache would not.
constexpr size_t kArtSlotBytes = (sizeof(Art) / 64) % 2 == 1 ? sizeof(Art) : sizeof(Art) + 64;
constexpr size_t kArtsPerBlock = ArtArena::kBlockBytes / kArtSlotBytes;

// Objects are mostly made in the order a walk of the document meets them,
// and so lie in the arena: while one is looked at, `count` cache lines from
// `first` on of those a few places ahead are fetched. Every line a step
// reads is fetched so: the processor's own prefetcher follows such strides
// only for some placements of the code, and a step took 4 or 15 ms by where
// the linker put it. A walk goes up the arena; a drag step visits the
// selection from its last object to its first, so down it, and fetching the
// other way too would only take bandwidth from the lines it needs. A
// prefetch never faults, so an address past the arena's objects costs
// nothing.
// Always inlined: a function that does nothing but prefetch is taken for
// one without effect, and calls to it that were not inlined early are
// dropped.
enum class Toward { kLower, kBoth };

// `locality` as __builtin_prefetch takes it: 3 fetches into every level of
// cache, 2 into the second level and beyond.
template <size_t count, int locality> [[gnu::always_inline]] inline void prefetchLines(uintptr_t from) {
#if defined(__GNUC__)
    // Addresses are computed as integers: a pointer past the objects would
    // be undefined even if never read. Written out, not looped: the
    // compiler drops a loop that does nothing but prefetch.
    __builtin_prefetch(reinterpret_cast<const void *>(from), 0, locality);
    if constexpr (count >= 2) __builtin_prefetch(reinterpret_cast<const void *>(from + 64), 0, locality);
    if constexpr (count >= 3) __builtin_prefetch(reinterpret_cast<const void *>(from + 128), 0, locality);
    if constexpr (count >= 4) __builtin_prefetch(reinterpret_cast<const void *>(from + 192), 0, locality);
#else
    (void)from;
#endif
}

template <size_t first, size_t count, Toward toward, int locality = 3>
[[gnu::always_inline]] inline void prefetchNearbyLines(const Art *art) {
    static_assert(count >= 1 && count <= 4, "one to four lines");
    // Far enough ahead that a line comes from memory in time even for a
    // tool that reads six lines of each object (a paint tool with every
    // object hit): 16 places ahead, such a step over 100,000 objects, which
    // do not fit the cache, took up to a quarter longer per object than
    // over 10,000, which do; 24 places ahead, at most 8 % longer. 32 was no
    // better than 16 for some tools.
    constexpr uintptr_t kAhead = 24 * kArtSlotBytes;
    const uintptr_t at = uintptr_t(art) + first * 64;
    prefetchLines<count, locality>(at - kAhead);
    if constexpr (toward == Toward::kBoth) prefetchLines<count, locality>(at + kAhead);
}
// What a walk, or a drag step, reads of every object (line 0). Mouse down
// asks every object's bounds up the arena, a drag step down it.
[[gnu::always_inline]] inline void prefetchNearbyStep(const Art *art) { prefetchNearbyLines<0, 1, Toward::kBoth>(art); }
// A short path's segments, with their count (lines 2 and 3).
[[gnu::always_inline]] inline void prefetchNearbySegments(const Art *art) {
    prefetchNearbyLines<2, 2, Toward::kLower>(art);
}
// The path style's four lines, into the second level only: a paint tool
// copies them out and back, and in the first level they would push out the
// lines of the objects in between (measured: 8 ms a step against 10).
[[gnu::always_inline]] inline void prefetchNearbyStyle(const Art *art) {
    prefetchNearbyLines<4, 4, Toward::kLower, 2>(art);
}
// The art's layer, read by every change for its lock, with the undo marks
// and a fade's fields (line 1).
[[gnu::always_inline]] inline void prefetchNearbyLayer(const Art *art) { prefetchNearbyLines<1, 1, Toward::kLower>(art); }
// What a transform reads and writes besides the segments: the stroke's
// width (line 6) and the host's transform (line 8).
[[gnu::always_inline]] inline void prefetchNearbyTransform(const Art *art) {
    prefetchNearbyLines<6, 1, Toward::kLower>(art);
    prefetchNearbyLines<8, 1, Toward::kLower>(art);
}

bool ArtArena::inLastBlock(const void *p) const {
    const uintptr_t at = uintptr_t(p);
    // A tool asks a dozen things of one object before the next: the last
    // object found stays ours until objects are destroyed.
    if (at == lastObject_) return true;
    // An address below the block wraps to an offset past its objects; with
    // no block found, every offset is past them.
    const uintptr_t offset = at - lastFound_;
    if (offset >= lastFoundEnd_ || offset % kArtSlotBytes != 0) return false;
    lastObject_ = at;
    return true;
}

bool ArtArena::contains(const void *p) const {
    if (inLastBlock(p)) return true;
    // Handles come in runs from one block: another is searched for only
    // when the address lies outside the last one found.
    const uintptr_t base = uintptr_t(p) & ~uintptr_t(kBlockBytes - 1);
    if (base == lastFound_ || !findBlock(base)) return false;
    return inLastBlock(p);
}

struct Layer {
    std::string name;
    bool visible = true;
    bool locked = false;
    Art *root = nullptr;  // a group that holds the layer's art
    int sourceElement = -1;  // the SVG element holding its art as read, -1 for none
};

struct Swatch {
    std::string name;
    AIColor color{};
};

struct GraphicStyle {
    std::string name;
    AIPathStyle style{};
    AIReal opacity = 1.0f;
};

struct CustomColor {
    std::string name;
    AIColor base{};  // a four- or three-colour definition
};

struct GradientStop {
    AIReal offset = 0;  // 0 .. 1
    AIColor color{};
    AIReal opacity = 1.0f;  // 0 .. 1, as an SVG stop may have it
};

struct Gradient {
    std::string name;
    bool radial = false;
    std::vector<GradientStop> stops;
};

struct Pattern {
    std::string name;
    AIRealRect tile{};
    AIColor color{};  // the pattern's ink, for drawing
};

class Document {
public:
    Document();
    ~Document();
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    // A deep copy; handles into the copy are new pointers.
    std::unique_ptr<Document> clone() const;

    // Art life cycle. New art is unlinked; link places it at `paintOrder`
    // relative to `prep`: kPlaceAbove / kPlaceBelow next to prep in its
    // parent, kPlaceInsideOnTop / OnBottom as prep's last / first child,
    // kPlaceAboveAll / BelowAll on top / at the bottom of the current layer
    // (prep ignored). Linked art moves; an order prep cannot serve puts the
    // art on top of the current layer; art never goes inside itself.
    Art *newArt(ASInt16 type);
    void link(Art *art, ASInt16 paintOrder, Art *prep);
    void unlink(Art *art);
    void dispose(Art *art);  // unlinks and marks the art and its subtree disposed
    // An unlinked deep copy with the same paint and tags; not selected. Its
    // id (and each child's) is the original's with "-copy", "-copy-2", ...:
    // the first no other art of the document holds.
    Art *duplicate(const Art *art);

    // New layers become the current layer.
    Layer *addLayer(const std::string &name);  // on top of all layers
    // kPlaceAboveAll / BelowAll: top / bottom; kPlaceAbove / Below: next to base.
    Layer *insertLayer(ASInt16 paintOrder, Layer *base);
    Layer *currentLayer() { return layers.empty() ? nullptr : layers[currentLayerIndex]; }

    // Walk every live art object in paint order (back to front), depth first.
    template <class F> void forEachArt(F &&f) const {
        for (Layer *layer : layers)
            for (Art *a = layer->root->firstChild; a; a = a->next) walk(a, f);
    }

    std::vector<Layer *> layers;  // bottom to top
    size_t currentLayerIndex = 0;

    std::vector<Swatch *> swatches;
    std::vector<GraphicStyle *> graphicStyles;
    std::vector<CustomColor *> customColors;
    std::vector<Gradient *> gradients;
    std::vector<Pattern *> patterns;

    // The artboard, in document points; y grows upwards in the document.
    AIRealRect artboard{0, 792, 612, 0};

    // What an SVG file said that the model has no place for, kept to be
    // written back: the root's viewBox, width and height as they were
    // written, and definitions that art refers to (the content of symbol
    // art, pattern tiles) as XML text by id.
    std::string svgViewBox, svgWidth, svgHeight;
    std::map<std::string, std::string> svgDefinitions;
    // The file itself, so that writing it back changes only what changed.
    std::shared_ptr<const SvgSource> svgSource;

    // Owned storage; objects never move, so pointers stay valid until the
    // document dies (disposed art included, so stale handles are detectable).
    ArtArena artStore;
    std::deque<std::unique_ptr<Layer>> layerStore;
    std::deque<std::unique_ptr<Swatch>> swatchStore;
    std::deque<std::unique_ptr<GraphicStyle>> styleStore;
    std::deque<std::unique_ptr<CustomColor>> customColorStore;
    std::deque<std::unique_ptr<Gradient>> gradientStore;
    std::deque<std::unique_ptr<Pattern>> patternStore;

    // Undo. A step opens at a mouse down; from then on whatever changes is
    // saved as it was, object by object, the first time it changes, and
    // undo puts it back. Changes made after a step is closed, or in a step
    // that is never closed, go with the last step, so that undo always
    // brings back the document exactly as it was when the step opened. The
    // history keeps the last `undoStepLimit` closed steps within
    // `undoByteLimit` bytes of saved objects; the last step is kept whatever
    // it holds, so a stroke can always be undone.
    size_t undoStepLimit = 100;
    size_t undoByteLimit = size_t(256) << 20;
    void openUndoStep();
    void closeUndoStep();
    bool undo();  // false when no closed step is left
    // Puts back what the last undo took back, without doing it again: the
    // document as it was before that undo, the step undoable again. Only
    // right while nothing else changed the document since that undo (the
    // caller knows: a change made by the plug-in opens a step, which
    // forgets what could be redone). False, with nothing changed, when
    // there is nothing to redo or the objects the step made cannot come
    // back at their addresses.
    bool redo();
    bool canRedo() const { return !redoSteps_.empty(); }
    size_t undoSteps() const;      // closed steps that can be undone
    size_t undoBytes() const { return undoBytes_; }

    // Every change to art goes through these first (or changes nothing an
    // undo would have to bring back). willChangeTree: the art and all it holds.
    void willChange(Art &art) {
        if (art.savedIn < recording_) saveArt(art);
    }
    void willChangeTags(Art &art) {
        if (art.savedIn < recording_ && art.tagsSavedIn < recording_) saveTags(art);
    }
    // Only its paint: path style, opacity, blend mode, named style and factor.
    void willChangePaint(Art &art) {
        if (art.savedIn < recording_ && art.paintSavedIn < recording_) savePaint(art);
    }
    void willChangeTree(Art &art);
    // Whether a change to the art now needs nothing saved first.
    bool savedAlready(const Art &art) const { return !(art.savedIn < recording_); }
    void willChange(Swatch &swatch);
    // Sets the art's user attributes (selection, lock, hidden).
    void setUserAttr(Art &art, ASInt32 attr) {
        if (art.userAttr == attr) return;
        willChange(art);
        art.userAttr = attr;
    }

    Swatch *addSwatch(const std::string &name, const AIColor &color);
    GraphicStyle *addGraphicStyle(const std::string &name, const AIPathStyle &style);
    CustomColor *addCustomColor(const std::string &name, const AIColor &base);
    Gradient *addGradient(const std::string &name);
    Pattern *addPattern(const std::string &name);

private:
    // How many live objects hold each id, for the ids of copies: art is
    // counted once artStore has grown past it, so that a copy costs no walk
    // over the whole document.
    std::unordered_map<std::string, int> idUse_;
    size_t idsCounted_ = 0;
    void countNewIds();
    std::string freeCopyId(const std::string &id);
    void releaseIds(const Art *art);

    void insertChildAfter(Art *parent, Art *after, Art *art);
    void setLayerOfSubtree(Art *art, Layer *layer);
    void markDisposed(Art *art);

    struct UndoStep;  // document_undo.cpp
    std::vector<std::unique_ptr<UndoStep>> undoSteps_;  // oldest first; the last one records
    // What each undo took back (its steps oldest first), the last undo last.
    std::vector<std::vector<std::unique_ptr<UndoStep>>> redoSteps_;
    void reapply(UndoStep &step);
    void swapLists(UndoStep &step);
    uint32_t recording_ = 0;    // the recording step's serial, 0 when none records
    uint32_t lastSerial_ = 0;
    size_t undoBytes_ = 0;
    void saveArt(Art &art);
    void saveTags(Art &art);
    void savePaint(Art &art);
    void revert(UndoStep &step);
    void trimUndoHistory();

    // Art that cannot hold members is passed by its first cache line alone.
    template <class F> static void walk(Art *a, F &f) {
        prefetchNearbyStep(a);
        f(*a);
        if (holdsMembers(a->type))
            for (Art *c = a->firstChild; c; c = c->next) walk(c, f);
    }
};

// Geometric bounds of an art object: of its curves (not their control
// points), of its children, of its mesh vertices or of its placed frame.
// Returns false for art without extent (an empty group).
bool artBounds(const Art &art, AIRealRect &bounds);
// The art's bounds if they are kept (true), as artBounds gives them. Kept
// bounds are floats already: a stroke asks for them twice per object on
// every step, so they are copied as they are. A debug build gives none
// here: artBounds checks them there against bounds worked out afresh.
inline bool keptBounds(const Art &art, AIRealRect &bounds) {
#ifdef NDEBUG
    if (art.boundsKnown >= kBoundsKept) {
        bounds = {art.boundsBox[0], art.boundsBox[1], art.boundsBox[2], art.boundsBox[3]};
        return true;
    }
#else
    (void)art;
    (void)bounds;
#endif
    return false;
}
// The art's geometry (or a member's, or its list of members) changed: its
// bounds and its ancestors' are computed again when next asked for. Not
// inline: inlined into the transforms, it made Scaling and Rotate steps a
// seventh slower (measured), for a call the point tools hardly notice.
void geometryChanged(Art &art);

// Whether two points are the same bits (so a zero's sign counts).
inline bool samePoint(const AIRealPoint &a, const AIRealPoint &b) {
    uint64_t x, y;
    static_assert(sizeof(AIRealPoint) == sizeof x, "a point is two floats");
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

// Whether `v` is a number within the float range, so that it is finite once
// stored as an AIReal. A product worked out in double is judged before it is
// rounded to a float.
inline bool fitsFloat(double v) {
    return v >= -double(std::numeric_limits<AIReal>::max()) && v <= double(std::numeric_limits<AIReal>::max());
}

// Applies `m` to the art's geometry, and to fill and stroke gradients and
// patterns when `flags` has kTransformPaints;
// stroke widths are multiplied by `lineScale` when `flags` has kScaleLines.
// Every result is computed and checked first: when one would not be finite
// the art and everything inside it stay as they were and the answer is false.
bool transformArt(Art &art, const AIRealMatrix &m, AIReal lineScale, ASInt32 flags);

}  // namespace smear
