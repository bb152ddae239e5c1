// The Path Style and Blend Style suites, and the registration of the whole
// paint family.
#include <cmath>
#include <cstring>
#include <type_traits>

#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

// ---- Path Style suite

const char *const kPathStyle = kAIPathStyleSuite;

// Stores a style a cache line at a time, and only the lines that differ. A
// paint tool changes a colour or a width of the style it read: the lines it
// did not change stay clean and need not be written back to memory.
// Each line's size is a constant, so that the compiler compares and copies
// it inline.
template <size_t at, size_t bytes> void storeLineIfChanged(unsigned char *to, const unsigned char *from) {
    if (std::memcmp(to + at, from + at, bytes) != 0) std::memcpy(to + at, from + at, bytes);
}
void storeStyle(AIPathStyle &to, const AIPathStyle &from) {
    static_assert(std::is_trivially_copyable_v<AIPathStyle>, "a style is copied as bytes");
    static_assert(sizeof(AIPathStyle) > 192 && sizeof(AIPathStyle) <= 256, "a style fills four lines");
    auto *d = reinterpret_cast<unsigned char *>(&to);
    const auto *s = reinterpret_cast<const unsigned char *>(&from);
    storeLineIfChanged<0, 64>(d, s);
    storeLineIfChanged<64, 64>(d, s);
    storeLineIfChanged<128, 64>(d, s);
    storeLineIfChanged<192, sizeof(AIPathStyle) - 192>(d, s);
}

// A compound path paints as one: its members carry its style too.
void setStyleOfTree(Art &art, const AIPathStyle &style) {
    currentDocument().willChangePaint(art);
    storeStyle(art.style, style);
    for (Art *c = art.firstChild; c; c = c->next) setStyleOfTree(*c, style);
}

SPErr getPathStyle(AIArtHandle h, AIPathStyle *style) {
    if (SPErr e = enterSuite(kPathStyle, "GetPathStyle")) return e;
    const Art *art = toArt(h);
    if (!art || !style || art->type == kGroupArt) return kBadParameterErr;
    prefetchNearbyStyle(art);
    const Art *source = art->type == kCompoundPathArt && art->firstChild ? art->firstChild : art;
    *style = source->style;
    return kNoErr;
}

SPErr setPathStyle(AIArtHandle h, const AIPathStyle *style) {
    if (SPErr e = enterSuite(kPathStyle, "SetPathStyle")) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    // What this call reads first of the objects a paint tool sets next: the
    // art's layer for the lock and the paint's undo mark, in one line. Left
    // to the processor, whether that line came in time depended on where
    // the linker put the code: the same step took 8 or 20 ms from one build
    // to the next.
    prefetchNearbyLayer(art);
    if (!style || art->type == kGroupArt || !isValidStyle(*style)) return kBadParameterErr;
    if (art->type == kCompoundPathArt) setStyleOfTree(*art, *style);
    else storeStyle(art->style, *style);
    return kNoErr;
}

const AIPathStyleSuite kPathStyleTable = {getPathStyle, setPathStyle};

// ---- Blend Style suite

const char *const kBlend = kAIBlendStyleSuite;

ASInt32 getBlendingMode(AIArtHandle h) {
    currentHost().log.record(kBlend, "GetBlendingMode");
    const Art *art = toArt(h);
    if (!art) return kAINormalBlendingMode;
    prefetchNearbyLayer(art);
    return art->blendMode;
}

SPErr setBlendingMode(AIArtHandle h, ASInt32 mode) {
    if (SPErr e = enterSuite(kBlend, "SetBlendingMode", logArgs([&] { return std::to_string(mode); }))) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    if (mode < kAINormalBlendingMode || mode > kAILuminosityBlendingMode) return kBadParameterErr;
    prefetchNearbyLayer(art);
    art->blendMode = mode;
    return kNoErr;
}

// Unknown art reads as opaque, the default of every object.
AIReal getOpacity(AIArtHandle h) {
    currentHost().log.record(kBlend, "GetOpacity");
    const Art *art = toArt(h);
    if (!art) return 1.0f;
    prefetchNearbyLayer(art);
    return art->opacity;
}

SPErr setOpacity(AIArtHandle h, AIReal opacity) {
    if (SPErr e = enterSuite(kBlend, "SetOpacity", logArgs([&] { return std::to_string(opacity); }))) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    if (!std::isfinite(opacity)) return kBadParameterErr;
    prefetchNearbyLayer(art);
    art->opacity = opacity;
    return kNoErr;
}

const AIBlendStyleSuite kBlendTable = {getBlendingMode, setBlendingMode, getOpacity, setOpacity};

}  // namespace

void registerStyleSuites(SuiteRegistry &r) {
    r.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kPathStyleTable);
    r.add(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, &kBlendTable);
}

void registerPaintSuites(SuiteRegistry &r) {
    registerStyleSuites(r);
    registerArtStyleSuite(r);
    registerSwatchListSuite(r);
}

}  // namespace smear
