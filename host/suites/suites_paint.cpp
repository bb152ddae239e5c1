// The Path Style and Blend Style suites, and the registration of the whole
// paint family.
#include <cmath>

#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

// ---- Path Style suite

const char *const kPathStyle = kAIPathStyleSuite;

// A compound path paints as one: its members carry its style too.
void setStyleOfTree(Art &art, const AIPathStyle &style) {
    currentDocument().willChangePaint(art);
    art.style = style;
    for (Art *c = art.firstChild; c; c = c->next) setStyleOfTree(*c, style);
}

SPErr getPathStyle(AIArtHandle h, AIPathStyle *style) {
    if (SPErr e = enterSuite(kPathStyle, "GetPathStyle")) return e;
    const Art *art = toArt(h);
    if (!art || !style || art->type == kGroupArt) return kBadParameterErr;
    prefetchNearbyStyle(art);
    // A paint tool sets the style it read, and the setter reads the art's
    // layer (line 1) and the paint's undo mark on the fade's line. Left to
    // the processor, whether those lines came in time depended on where the
    // linker put the code: the same step took 8 or 20 ms from one build to
    // the next.
    prefetchNearbyLayer(art);
    prefetchNearbyFade(art);
    const Art *source = art->type == kCompoundPathArt && art->firstChild ? art->firstChild : art;
    *style = source->style;
    return kNoErr;
}

SPErr setPathStyle(AIArtHandle h, const AIPathStyle *style) {
    if (SPErr e = enterSuite(kPathStyle, "SetPathStyle")) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    if (!style || art->type == kGroupArt || !isValidStyle(*style)) return kBadParameterErr;
    if (art->type == kCompoundPathArt) setStyleOfTree(*art, *style);
    else art->style = *style;
    return kNoErr;
}

const AIPathStyleSuite kPathStyleTable = {getPathStyle, setPathStyle};

// ---- Blend Style suite

const char *const kBlend = kAIBlendStyleSuite;

ASInt32 getBlendingMode(AIArtHandle h) {
    currentHost().log.record(kBlend, "GetBlendingMode");
    const Art *art = toArt(h);
    if (!art) return kAINormalBlendingMode;
    prefetchNearbyFade(art);
    return art->blendMode;
}

SPErr setBlendingMode(AIArtHandle h, ASInt32 mode) {
    if (SPErr e = enterSuite(kBlend, "SetBlendingMode", logArgs([&] { return std::to_string(mode); }))) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    if (mode < kAINormalBlendingMode || mode > kAILuminosityBlendingMode) return kBadParameterErr;
    prefetchNearbyFade(art);
    art->blendMode = mode;
    return kNoErr;
}

// Unknown art reads as opaque, the default of every object.
AIReal getOpacity(AIArtHandle h) {
    currentHost().log.record(kBlend, "GetOpacity");
    const Art *art = toArt(h);
    if (!art) return 1.0f;
    prefetchNearbyFade(art);
    return art->opacity;
}

SPErr setOpacity(AIArtHandle h, AIReal opacity) {
    if (SPErr e = enterSuite(kBlend, "SetOpacity", logArgs([&] { return std::to_string(opacity); }))) return e;
    Art *art = nullptr;
    if (SPErr e = paintableArt(h, art)) return e;
    if (!std::isfinite(opacity)) return kBadParameterErr;
    prefetchNearbyFade(art);
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
