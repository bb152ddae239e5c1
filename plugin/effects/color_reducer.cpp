#include "color_reducer.h"

#include "globals.h"
#include "paint_support.h"
#include "shape_weight.h"
#include "suites.h"

namespace {

/* Per-component sums (then averages) of the colours of one paint, by kind. */
typedef struct KindSums {
    AIReal four[4]; /* cyan, magenta, yellow, black */
    AIReal three[3]; /* red, green, blue */
    AIReal gray;
} KindSums;

/* The state of one drag step: the running product t, the sums of the fill
   and stroke colours and the fill counts, by which both are divided. */
typedef struct Reduction {
    AIReal t;
    KindSums fill;
    KindSums stroke;
    ASInt32 fourCount, threeCount, grayCount;
} Reduction;

/* What one reduction visit works on. */
typedef struct ReduceTarget {
    Reduction *reduction;
    ASBoolean fill;    /* fill colour, else stroke colour */
    ASBoolean reduced; /* the object passed the brush-shape decision */
} ReduceTarget;

void AddColour(KindSums *sums, const AIColor *color) {
    switch (color->kind) {
    case kFourColor:
        sums->four[0] += color->c.f.cyan;
        sums->four[1] += color->c.f.magenta;
        sums->four[2] += color->c.f.yellow;
        sums->four[3] += color->c.f.black;
        break;
    case kThreeColor:
        sums->three[0] += color->c.rgb.red;
        sums->three[1] += color->c.rgb.green;
        sums->three[2] += color->c.rgb.blue;
        break;
    case kGrayColor:
        sums->gray += color->c.g.gray;
        break;
    default:
        break;
    }
}

SPErr SumTarget(const DragStep *, const ArtStep *, AIArtHandle object, ASBoolean, void *data) {
    Reduction *r = (Reduction *)data;
    AIPathStyle style;
    /* An object without a readable style has no colours to average. */
    if (!ReadPathStyle(object, &style)) return kNoErr;
    AddColour(&r->fill, &style.fill.color);
    switch (style.fill.color.kind) {
    case kFourColor: ++r->fourCount; break;
    case kThreeColor: ++r->threeCount; break;
    case kGrayColor: ++r->grayCount; break;
    default: break;
    }
    /* Strokes have no counts of their own. */
    AddColour(&r->stroke, &style.stroke.color);
    return kNoErr;
}

/* A sum whose count is 0 stays as it is. */
void Average(AIReal *sums, ASInt32 n, ASInt32 count) {
    if (count == 0) return;
    for (ASInt32 i = 0; i < n; ++i) sums[i] = sums[i] / (AIReal)count;
}

void Averages(Reduction *r) {
    KindSums *both[2] = {&r->fill, &r->stroke};
    for (ASInt32 k = 0; k < 2; ++k) {
        Average(both[k]->four, 4, r->fourCount);
        Average(both[k]->three, 3, r->threeCount);
        Average(&both[k]->gray, 1, r->grayCount);
    }
}

/* Moves one component by t times its distance from the average: away from
   the average's far side in a member of a compound path, toward it in any
   other object. */
void ReduceComponent(AIReal *c, AIReal a, AIReal t, ASBoolean member) {
    AIReal d = *c - a;
    if (d < 0.0f) d = -d;
    *c = ClampUnit(member ? a + t * d : a - t * d);
}

void ReduceColour(AIColor *color, const KindSums *average, AIReal t, ASBoolean member) {
    switch (color->kind) {
    case kFourColor:
        ReduceComponent(&color->c.f.cyan, average->four[0], t, member);
        ReduceComponent(&color->c.f.magenta, average->four[1], t, member);
        ReduceComponent(&color->c.f.yellow, average->four[2], t, member);
        ReduceComponent(&color->c.f.black, average->four[3], t, member);
        break;
    case kThreeColor:
        ReduceComponent(&color->c.rgb.red, average->three[0], t, member);
        ReduceComponent(&color->c.rgb.green, average->three[1], t, member);
        ReduceComponent(&color->c.rgb.blue, average->three[2], t, member);
        break;
    case kGrayColor:
        ReduceComponent(&color->c.g.gray, average->gray, t, member);
        break;
    default:
        break; /* pattern, gradient, custom colour, none */
    }
}

SPErr ReduceVisit(const DragStep *, const ArtStep *, AIArtHandle object, ASBoolean isChild, void *data) {
    const ReduceTarget *target = (const ReduceTarget *)data;
    SmearcraftTag(object);
    if (!target->reduced) return kNoErr;
    AIPathStyle style;
    if (!ReadPathStyle(object, &style)) return kNoErr;
    const Reduction *r = target->reduction;
    AIColor *color = target->fill ? &style.fill.color : &style.stroke.color;
    ReduceColour(color, target->fill ? &r->fill : &r->stroke, r->t, isChild);
    sAIPathStyle->SetPathStyle(object, &style);
    if (gGlobals->colorReducerCreateSwatch) MakeSureOfSwatch(color);
    return kNoErr;
}

/* Whether the second pass reduces an object, from the brush shape and the
   object's bounds. The shapes beyond the frame ones reduce an object when
   its own weight is not 0. */
ASBoolean IsReduced(const DragStep *step, AIArtHandle art, const AIRealRect *bounds, ASInt32 index) {
    ASInt32 shape = gGlobals->brushShape;
    switch (shape) {
    case kShapeBrush:
        return sAIRealMath->AIRealRectOverlap(&step->BrushRect, bounds);
    case kShapeInvert:
        return !sAIRealMath->AIRealRectOverlap(&step->BrushRect, bounds);
    case kShapeFrame:
        return sAIRealMath->AIRealRectOverlap(&step->DoubledRect, bounds) &&
               !sAIRealMath->AIRealRectOverlap(&step->BrushRect, bounds);
    default:
        return ShapeWeight(shape, art, &step->BrushRect, &step->DoubledRect, step->hx, step->hy, index) != 0.0f;
    }
}

AIArtHandle ListEntry(ASInt32 i) { return ((AIArtHandle *)*gGlobals->ArtList)[i]; }

ArtStep MemberWalk(AIArtHandle art, ASInt32 index) {
    ArtStep a = {};
    a.art = art;
    a.index = index;
    a.throughChildren = true;
    return a;
}

SPErr AveragePass(const DragStep *step, Reduction *r) {
    Globals *g = gGlobals;
    for (ASInt32 i = g->ArtCount - 1; i >= 0; --i) {
        AIArtHandle art = ListEntry(i);
        if (art == NULL) continue;
        AIReal w = ShapeWeight(g->brushShape, art, &step->BrushRect, &step->DoubledRect, step->hx, step->hy, i);
        AIRealRect bounds;
        SPErr error = sAIArt->GetArtBounds(art, &bounds);
        if (error != kNoErr) return error;
        /* Every weight joins the product, 0 included. */
        r->t = r->t * w;
        if (w == 0.0f) continue;
        ArtStep a = MemberWalk(art, i);
        error = WalkTargets(step, &a, SumTarget, r);
        if (error != kNoErr) return error;
    }
    Averages(r);
    return kNoErr;
}

SPErr ReducePass(const DragStep *step, Reduction *r) {
    Globals *g = gGlobals;
    for (ASInt32 i = g->ArtCount - 1; i >= 0; --i) {
        AIArtHandle art = ListEntry(i);
        if (art == NULL) continue;
        AIRealRect bounds;
        SPErr error = sAIArt->GetArtBounds(art, &bounds);
        if (error != kNoErr) return error;
        ReduceTarget target = {r, true, IsReduced(step, art, &bounds, i)};
        ArtStep a = MemberWalk(art, i);
        if (g->colorReducerApplyToFill) error = WalkTargets(step, &a, ReduceVisit, &target);
        if (error != kNoErr) return error;
        target.fill = false;
        if (g->colorReducerApplyToStroke) error = WalkTargets(step, &a, ReduceVisit, &target);
        if (error != kNoErr) return error;
        if (g->trailCursor) {
            error = TrailCopy(art);
            if (error != kNoErr) return error;
        }
    }
    return kNoErr;
}

}  // namespace

SPErr ColorReducerStep(const DragStep *step) {
    Reduction r = {};
    r.t = gGlobals->colorReducerAmount * step->PressureFactor * 0.01f;
    SPErr error = AveragePass(step, &r);
    if (error == kNoErr) error = ReducePass(step, &r);
    return error;
}
