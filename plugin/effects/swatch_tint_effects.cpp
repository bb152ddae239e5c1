#include "swatch_tint_effects.h"

#include "globals.h"
#include "paint_support.h"
#include "suites.h"
#include "value_modes.h"

namespace {

SPErr PaintWithSwatch(const DragStep *, const ArtStep *art, AIArtHandle object, ASBoolean, void *data) {
    SmearcraftTag(object);
    if (!art->apply) return kNoErr;
    const AIColor *color = (const AIColor *)data;
    AIPathStyle style;
    if (!ReadPathStyle(object, &style)) return kNoErr;
    const Globals *g = gGlobals;
    /* Copied whatever its kind: a pattern or gradient swatch paints with
       that pattern or gradient. */
    if (g->swatchApplyToFill) {
        style.fillPaint = true;
        style.fill.color = *color;
    }
    if (g->swatchApplyToStroke) {
        style.strokePaint = true;
        style.stroke.color = *color;
    }
    sAIPathStyle->SetPathStyle(object, &style);
    return kNoErr;
}

/* Tags the members only: with no swatch to paint with, nothing changes. */
SPErr TagOnly(const DragStep *, const ArtStep *, AIArtHandle object, ASBoolean, void *) {
    SmearcraftTag(object);
    return kNoErr;
}

/* The new tint of a custom colour: the mode works on its strength 1 - tint,
   whose maximum is 1. */
AIReal NewTint(AIReal tint, AIReal v) {
    /* v carries weight and pressure already; entry 4 takes r alone. */
    AIReal x = ValueMode(gGlobals->tintMode, v, 1.0f, 1.0f, 1.0f - tint, 1.0f, 1.0f);
    return 1.0f - ClampUnit(x);
}

typedef struct TintTarget {
    AIArtHandle owner; /* the ArtList object, compound path or path */
    AIReal v;
} TintTarget;

SPErr TintVisit(const DragStep *, const ArtStep *art, AIArtHandle member, ASBoolean, void *data) {
    SmearcraftTag(member);
    if (!art->apply) return kNoErr;
    const TintTarget *target = (const TintTarget *)data;
    const Globals *g = gGlobals;
    AIPathStyle style;
    if (!ReadPathStyle(member, &style)) return kNoErr;
    ASBoolean changed = false;
    /* Each change goes to the ArtList object; a member's changed style thus
       reaches its compound path. */
    if (g->tintApplyToFill && style.fill.color.kind == kCustomColor) {
        style.fill.color.c.c.tint = NewTint(style.fill.color.c.c.tint, target->v);
        sAIPathStyle->SetPathStyle(target->owner, &style);
        changed = true;
    }
    if (g->tintApplyToStroke && style.stroke.color.kind == kCustomColor) {
        style.stroke.color.c.c.tint = NewTint(style.stroke.color.c.c.tint, target->v);
        sAIPathStyle->SetPathStyle(target->owner, &style);
        changed = true;
    }
    if (changed) sAIPathStyle->SetPathStyle(member, &style);
    return kNoErr;
}

}  // namespace

void SwatchesBeforeLoop(DragStep *step) { step->SwatchCount = sAISwatchList->CountSwatches(NULL); }

ASInt32 SwatchIndex(AIReal w, AIReal p, ASInt32 count) {
    const Globals *g = gGlobals;
    ASInt32 k;
    if (g->swatchRandom) {
        k = TruncateToInt(RandomDraw() * (AIReal)g->swatchIndex) + 1;
    } else {
        ASInt32 base = TruncateToInt((AIReal)g->swatchIndex * w * p);
        AIReal s = RandomSign();
        AIReal r = RandomDraw();
        k = base + TruncateToInt(s * r * (AIReal)g->swatchJitter);
    }
    if (k >= count) k = count - 1;
    if (k < 0) k = 0;
    if (k == g->swatchIgnoreRandom) k = g->swatchIgnoreRandom == 0 ? 2 : 0;
    return k;
}

SPErr SwatchesEffect(const DragStep *step, ArtStep *art) {
    ASInt32 k = SwatchIndex(art->weight, step->PressureFactor, step->SwatchCount);
    AIColor color;
    /* No swatch k (an empty list, or the ignored index moved past its end):
       the object keeps its paint. */
    if (k >= step->SwatchCount ||
        sAISwatchList->GetAIColor(sAISwatchList->GetNthSwatch(NULL, k), &color) != kNoErr)
        return WalkMembers(step, art, TagOnly, NULL);
    return WalkMembers(step, art, PaintWithSwatch, &color);
}

SPErr TintEffect(const DragStep *step, ArtStep *art) {
    TintTarget target;
    target.owner = art->art;
    target.v = gGlobals->tintAmount * art->weight * step->PressureFactor * 0.01f;
    return WalkMembers(step, art, TintVisit, &target);
}
