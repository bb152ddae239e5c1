#include "transform_effects.h"

#include "fill_factor.h"
#include "globals.h"
#include "suites.h"
#include "value_modes.h"

namespace {

/* Line scale and option flags of every transform these tools make. */
const AIReal kLineScale = 1.0f;
const ASInt32 kTransformFlags = kTransformObjects | kTransformPaints;

enum { kIgnoreRange = 0, kLimitToRange = 1, kLimitIgnoringInitialSize = 2 };

/* Whether the size range lets an object of width w and height h be scaled
   by the signed amounts a and b. */
ASBoolean InRange(AIReal a, AIReal b, AIReal w, AIReal h) {
    const Globals *g = gGlobals;
    switch (g->scaleLimitMode) {
    case kLimitToRange:
        return g->scaleMinWidth < w && w < g->scaleMaxWidth && g->scaleMinHeight < h &&
               h < g->scaleMaxHeight;
    case kLimitIgnoringInitialSize:
        /* An object outside the range may still be scaled back towards it. */
        return !((a < 0.0f && w <= g->scaleMinWidth) || (b < 0.0f && h <= g->scaleMinHeight) ||
                 (a > 0.0f && w >= g->scaleMaxWidth) || (b > 0.0f && h >= g->scaleMaxHeight));
    default:
        return true;
    }
}

AIRealPoint Pivot(ASInt32 selectedCenter, const ArtStep *art) {
    return selectedCenter ? gGlobals->SelectionCenter : art->center;
}

SPErr TagAndTransform(AIArtHandle object, ASBoolean apply, const AIRealMatrix *m) {
    SmearcraftTag(object);
    if (!apply) return kNoErr;
    return sAITransformArt->TransformArt(object, m, kLineScale, kTransformFlags);
}

SPErr TransformTarget(const DragStep *, const ArtStep *art, AIArtHandle object, ASBoolean,
                      void *matrix) {
    return TagAndTransform(object, art->apply, (const AIRealMatrix *)matrix);
}

typedef struct Offset {
    AIReal dx;
    AIReal dy;
} Offset;

SPErr TranslateTarget(const DragStep *, const ArtStep *art, AIArtHandle object, ASBoolean,
                      void *data) {
    const Offset *offset = (const Offset *)data;
    AIReal f = gGlobals->translateBasedOnFill ? FillFactor(object) : 1.0f;
    AIRealMatrix m;
    sAIRealMath->AIRealMatrixSetTranslate(&m, offset->dx * f, offset->dy * f);
    return TagAndTransform(object, art->apply, &m);
}

SPErr RotateTarget(const DragStep *, const ArtStep *art, AIArtHandle object, ASBoolean, void *) {
    SmearcraftTag(object);
    if (!art->apply) return kNoErr;
    const Globals *g = gGlobals;
    AIReal angle = art->preset;
    if (g->rotateBasedOnFill) angle = angle * FillFactor(object);
    /* Children turn about the compound path's centre, as one shape. */
    AIRealPoint pivot = Pivot(g->rotateSelectedCenter, art);
    AIRealMatrix m;
    sAIRealMath->AIRealMatrixSetTranslate(&m, -pivot.h, -pivot.v);
    sAIRealMath->AIRealMatrixConcatRotate(&m, angle);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, pivot.h, pivot.v);
    return sAITransformArt->TransformArt(object, &m, kLineScale, kTransformFlags);
}

}  // namespace

SPErr ScalingEffect(const DragStep *step, ArtStep *art) {
    const Globals *g = gGlobals;
    AIReal width = art->bounds.right - art->bounds.left;
    AIReal height = art->bounds.top - art->bounds.bottom;
    AIReal a = g->scaleHorizontal * 0.01f;
    AIReal b = g->scaleVertical * 0.01f;
    /* The range looks at the options' signs, not at the random ones. */
    if (!InRange(a, b, width, height)) art->apply = false;
    if (g->scaleRandom) {
        a = RandomAmount(a);
        b = RandomAmount(b);
    }
    a = art->weight * a * step->PressureFactor;
    b = art->weight * b * step->PressureFactor;
    AIRealPoint pivot = Pivot(g->scaleSelectedCenter, art);
    AIRealMatrix m;
    sAIRealMath->AIRealMatrixSetTranslate(&m, -pivot.h, -pivot.v);
    sAIRealMath->AIRealMatrixConcatScale(&m, 1.0f + a, 1.0f + b);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, pivot.h, pivot.v);
    return WalkTargets(step, art, TransformTarget, &m);
}

SPErr TranslateEffect(const DragStep *step, ArtStep *art) {
    const Globals *g = gGlobals;
    Offset offset = {g->translateHorizontal, g->translateVertical};
    if (g->translateRandom) {
        offset.dx = RandomAmount(offset.dx);
        offset.dy = RandomAmount(offset.dy);
    }
    if (g->translateFollowBrush) {
        offset.dx = offset.dx * step->MovementCos;
        offset.dy = offset.dy * step->MovementSin;
    }
    offset.dx = art->weight * offset.dx * step->PressureFactor;
    offset.dy = art->weight * offset.dy * step->PressureFactor;
    /* Drawn for every object, weight 0 included, after its random offsets. */
    if (g->translateApplyRandom && RandomSkip()) art->apply = false;
    return WalkTargets(step, art, TranslateTarget, &offset);
}

void RotateBeforeWeight(const DragStep *, ArtStep *art) {
    const Globals *g = gGlobals;
    AIReal angle = sAIRealMath->DegreeToRadian(g->rotateAngle);
    if (g->rotateRandom) angle = RandomAmount(angle);
    art->preset = angle;
}

SPErr RotateEffect(const DragStep *step, ArtStep *art) {
    art->preset = art->weight * art->preset * step->PressureFactor;
    return WalkTargets(step, art, RotateTarget, NULL);
}

SPErr QuickShrinkEffect(const DragStep *step, ArtStep *art) {
    /* A lens about the brush centre: at most one percent per drag step. */
    const AIRealPoint c = gGlobals->CurrentPoint;
    const AIReal s = 0.99f - (1.0f - art->weight * step->PressureFactor) * -0.01f;
    AIRealMatrix m;
    sAIRealMath->AIRealMatrixSetTranslate(&m, -c.h, -c.v);
    sAIRealMath->AIRealMatrixConcatScale(&m, s, s);
    sAIRealMath->AIRealMatrixConcatTranslate(&m, c.h, c.v);
    return WalkTargets(step, art, TransformTarget, &m);
}
