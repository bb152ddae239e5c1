#include "style_effects.h"

#include "globals.h"
#include "suites.h"
#include "value_modes.h"

namespace {

enum {
    kStyleUseListed = 0,
    kStyleNoChange = 1,
    kStyleRandomUpToCurrent = 2,
    kStyleSequence = 3,
    kStyleTotalRandom = 4
};

enum {
    kFactorIgnore = 0,
    kFactorSet = 1,
    kFactorRandomFromZero = 2,
    kFactorAdd = 3,
    kFactorAddRandom = 4,
    kFactorJitter = 5,
    kFactorDefault = 6,
    kFactorMultiply = 7
};

/* Gives the object named style k unless it has an equivalent style already.
   Without a style k the object keeps its own. */
void ApplyNamedStyleUnlessSame(AIArtHandle art, ASInt32 k) {
    AIArtStyleHandle named = NULL;
    if (sAIArtStyle->GetNthNamedArtStyle(k, &named) != kNoErr) return;
    AIArtStyleHandle current = NULL;
    sAIArtStyle->GetArtStyle(art, &current);
    if (!sAIArtStyle->ArtStylesEquiv(named, current)) sAIArtStyle->SetArtStyle(art, named);
}

/* The named style after the object's own in the document's list; style 0
   is never chosen, so the sequence runs 1, 2, ..., N - 1, 1, 2, ... */
void ApplyNextStyle(AIArtHandle art) {
    AIArtStyleHandle current = NULL;
    sAIArtStyle->GetArtStyle(art, &current);
    ASInt32 count = 0;
    sAIArtStyle->CountNamedArtStyles(&count);
    ASInt32 k = 0;
    for (ASInt32 i = 0; i < count; ++i) {
        AIArtStyleHandle named = NULL;
        if (sAIArtStyle->GetNthNamedArtStyle(i, &named) != kNoErr) continue;
        if (sAIArtStyle->ArtStylesEquiv(named, current)) {
            k = i + 1;
            break;
        }
    }
    if (k == 0 || k >= count) k = 1;
    if (count == 0) k = 0;
    AIArtStyleHandle next = NULL;
    if (sAIArtStyle->GetNthNamedArtStyle(k, &next) != kNoErr) return;
    sAIArtStyle->SetArtStyle(art, next);
}

void StyleStep(AIArtHandle art) {
    const Globals *g = gGlobals;
    switch (g->styleMode) {
    case kStyleUseListed:
        ApplyNamedStyleUnlessSame(art, g->styleIndex);
        break;
    case kStyleRandomUpToCurrent:
        ApplyNamedStyleUnlessSame(art, TruncateToInt(RandomDraw() * (AIReal)g->styleIndex) + 1);
        break;
    case kStyleSequence:
        ApplyNextStyle(art);
        break;
    case kStyleTotalRandom: {
        ASInt32 count = 0;
        sAIArtStyle->CountNamedArtStyles(&count);
        /* k may be count itself, for which there is no style. */
        ApplyNamedStyleUnlessSame(art, TruncateToInt(RandomDraw() * (AIReal)count) + 1);
        break;
    }
    default:
        break; /* no change to the existing style */
    }
}

void StyleFactorStep(AIArtHandle art, AIReal v) {
    AIReal f;
    switch (gGlobals->styleFactorMode) {
    case kFactorSet:
        sAIArtStyle->SetStyleFactor(art, v);
        break;
    case kFactorRandomFromZero:
        sAIArtStyle->SetStyleFactor(art, RandomDraw() * v);
        break;
    case kFactorAdd:
        f = sAIArtStyle->GetStyleFactor(art);
        sAIArtStyle->SetStyleFactor(art, f + v);
        break;
    case kFactorAddRandom:
        f = sAIArtStyle->GetStyleFactor(art);
        sAIArtStyle->SetStyleFactor(art, f + RandomDraw() * v);
        break;
    case kFactorJitter: {
        f = sAIArtStyle->GetStyleFactor(art);
        AIReal s = RandomSign();
        AIReal r = RandomDraw();
        sAIArtStyle->SetStyleFactor(art, f + r * v * s);
        break;
    }
    case kFactorDefault:
        sAIArtStyle->SetStyleFactor(art, 1.0f);
        break;
    case kFactorMultiply:
        f = sAIArtStyle->GetStyleFactor(art);
        sAIArtStyle->SetStyleFactor(art, f * v);
        break;
    default:
        break; /* ignore the style factor */
    }
}

}  // namespace

SPErr StylesEffect(const DragStep *step, ArtStep *art) {
    SmearcraftTag(art->art);
    if (!art->apply) return kNoErr;
    StyleStep(art->art);
    const Globals *g = gGlobals;
    StyleFactorStep(art->art, g->styleFactor * art->weight * step->PressureFactor * 0.01f);
    return kNoErr;
}

SPErr BlendModeEffect(const DragStep *, ArtStep *art) {
    SmearcraftTag(art->art);
    if (!art->apply) return kNoErr;
    ASInt32 m = gGlobals->blendMode;
    if (m >= kAINormalBlendingMode && m <= kAILuminosityBlendingMode) {
        sAIBlendStyle->SetBlendingMode(art->art, m);
        return kNoErr;
    }
    switch (m) {
    case kBlendChoiceRandom: {
        /* Twenty equal chances, the four past Luminosity falling to Normal. */
        ASInt32 drawn = TruncateToInt(RandomDraw() * 20.0f);
        sAIBlendStyle->SetBlendingMode(art->art, drawn > kAILuminosityBlendingMode ? kAINormalBlendingMode : drawn);
        break;
    }
    case kBlendChoiceHalfTransparent:
    case kBlendChoiceTenthOpaque:
        sAIBlendStyle->SetOpacity(art->art, m == kBlendChoiceHalfTransparent ? 0.5f : 0.1f);
        sAIBlendStyle->SetBlendingMode(art->art, kAINormalBlendingMode);
        break;
    case kBlendChoiceShift: {
        ASInt32 next = sAIBlendStyle->GetBlendingMode(art->art) + 1;
        sAIBlendStyle->SetBlendingMode(art->art, next > kAILuminosityBlendingMode ? kAINormalBlendingMode : next);
        break;
    }
    default:
        break;
    }
    return kNoErr;
}
