#include "gradient_pattern.h"

#include "globals.h"
#include "paint_support.h"
#include "suites.h"
#include "value_modes.h"

namespace {

/* The gradient and pattern modes are the shared ones, with each field's own
   maximum serving both entry 3 and entry 4 (which ignores the brush
   strength), so v comes in with weight and pressure applied already. */
AIReal FieldValue(ASInt32 mode, AIReal e, AIReal v, AIReal maximum) {
    return ValueMode(mode, v, 1.0f, 1.0f, e, maximum, maximum);
}

/* Angles are clamped, never wrapped: the upper end is tested first. */
AIReal ClampAngle(AIReal x) {
    if (x > 360.0f) return 360.0f;
    if (x < -360.0f) return -360.0f;
    return x;
}

AIReal ClampLength(AIReal x) { return x < 0.0f ? 0.0f : x; }

/* v = amount x w x p, in that order. */
AIReal Strength(AIReal amount, const ArtStep *art, const DragStep *step) {
    return amount * art->weight * step->PressureFactor;
}

SPErr GradientTarget(const DragStep *step, const ArtStep *art, AIArtHandle object, ASBoolean, void *) {
    SmearcraftTag(object);
    if (!art->apply) return kNoErr;
    AIPathStyle style;
    if (!ReadPathStyle(object, &style) || style.fill.color.kind != kGradient) return kNoErr;
    const Globals *g = gGlobals;
    AIGradientStyle *b = &style.fill.color.c.b;
    b->gradientAngle = ClampAngle(FieldValue(g->gradientAngleMode, b->gradientAngle,
                                             Strength(g->gradientAngle, art, step), 360.0f));
    b->gradientLength = ClampLength(FieldValue(g->gradientLengthMode, b->gradientLength,
                                               Strength(g->gradientLength, art, step), 600.0f));
    b->hiliteAngle = ClampAngle(FieldValue(g->gradientHiliteAngleMode, b->hiliteAngle,
                                           Strength(g->gradientHiliteAngle, art, step), 360.0f));
    b->hiliteLength = ClampUnit(FieldValue(g->gradientHiliteLengthMode, b->hiliteLength,
                                           Strength(g->gradientHiliteLength, art, step) * 0.01f, 1.0f));
    sAIPathStyle->SetPathStyle(object, &style);
    return kNoErr;
}

SPErr PatternTarget(const DragStep *step, const ArtStep *art, AIArtHandle object, ASBoolean, void *) {
    SmearcraftTag(object);
    if (!art->apply) return kNoErr;
    AIPathStyle style;
    if (!ReadPathStyle(object, &style) || style.fill.color.kind != kPattern) return kNoErr;
    const Globals *g = gGlobals;
    AIPatternStyle *p = &style.fill.color.c.p;
    p->rotate = ClampAngle(FieldValue(g->patternAngleMode, p->rotate, Strength(g->patternAngle, art, step), 360.0f));
    /* The scales are not clamped; multiply scales each one's own value. */
    p->scale.h = FieldValue(g->patternScaleHorizontalMode, p->scale.h,
                            Strength(g->patternScaleHorizontal, art, step), 1000.0f);
    p->scale.v = FieldValue(g->patternScaleVerticalMode, p->scale.v,
                            Strength(g->patternScaleVertical, art, step), 1000.0f);
    sAIPathStyle->SetPathStyle(object, &style);
    return kNoErr;
}

}  // namespace

SPErr GradientEffect(const DragStep *step, ArtStep *art) { return WalkMembers(step, art, GradientTarget, NULL); }

SPErr PatternEffect(const DragStep *step, ArtStep *art) { return WalkMembers(step, art, PatternTarget, NULL); }
