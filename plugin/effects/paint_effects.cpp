#include "paint_effects.h"

#include "globals.h"
#include "paint_support.h"
#include "suites.h"
#include "value_modes.h"

namespace {

/* Maximum (entry 3) and scale (entry 4) of each option's ValueMode. */
const AIReal kOpacityMaximum = 1.0f, kOpacityScale = 1.0f;
const AIReal kStrokeMaximum = 10.0f, kStrokeScale = 20.0f;
const AIReal kChannelMaximum = 1.0f, kChannelScale = 1.0f;

SPErr StrokeWeightTarget(const DragStep *step, const ArtStep *art, AIArtHandle object,
                         ASBoolean isChild, void *) {
    SmearcraftTag(object);
    if (!art->apply) return kNoErr;
    const Globals *g = gGlobals;
    /* A compound path's child paths take the value as hundredths. */
    AIReal v = isChild ? g->strokeWeightAmount * 0.01f : g->strokeWeightAmount;
    AIPathStyle style = {};
    if (!ReadPathStyle(object, &style)) return kNoErr;
    AIReal width = ValueMode(g->strokeWeightMode, v, art->weight, step->PressureFactor,
                             style.stroke.width, kStrokeMaximum, kStrokeScale);
    style.stroke.width = width < 0.0f ? 0.0f : width;
    sAIPathStyle->SetPathStyle(object, &style);
    return kNoErr;
}

void ShiftChannel(AIReal *channel, AIReal v, const ArtStep *art, const DragStep *step) {
    *channel = ClampUnit(ValueMode(gGlobals->fillIntensityMode, v, art->weight, step->PressureFactor,
                                   *channel, kChannelMaximum, kChannelScale));
}

/* `data` points at true for the fill colour, false for the stroke colour. */
SPErr RecolourTarget(const DragStep *step, const ArtStep *art, AIArtHandle object, ASBoolean,
                     void *data) {
    SmearcraftTag(object);
    if (!art->apply) return kNoErr;
    AIPathStyle style = {};
    if (!ReadPathStyle(object, &style)) return kNoErr;
    AIColor *color = *(const ASBoolean *)data ? &style.fill.color : &style.stroke.color;
    AIReal v = gGlobals->fillIntensityAmount * 0.01f;
    switch (color->kind) {
    case kFourColor:
        /* Black stays: only the three colour inks move. */
        ShiftChannel(&color->c.f.cyan, v, art, step);
        ShiftChannel(&color->c.f.magenta, v, art, step);
        ShiftChannel(&color->c.f.yellow, v, art, step);
        break;
    case kThreeColor:
        v = v * kRgbStep;
        ShiftChannel(&color->c.rgb.red, v, art, step);
        ShiftChannel(&color->c.rgb.green, v, art, step);
        ShiftChannel(&color->c.rgb.blue, v, art, step);
        break;
    case kGrayColor:
        ShiftChannel(&color->c.g.gray, v, art, step);
        break;
    default:
        break;
    }
    sAIPathStyle->SetPathStyle(object, &style);
    return kNoErr;
}

}  // namespace

SPErr TransparencyEffect(const DragStep *step, ArtStep *art) {
    const Globals *g = gGlobals;
    SmearcraftTag(art->art);
    if (!art->apply) return kNoErr;
    AIReal v = g->transparencyAmount * 0.01f;
    AIReal c = ValueModeReadsCurrent(g->transparencyMode) ? sAIBlendStyle->GetOpacity(art->art) : 0.0f;
    AIReal opacity = ValueMode(g->transparencyMode, v, art->weight, step->PressureFactor, c,
                               kOpacityMaximum, kOpacityScale);
    sAIBlendStyle->SetOpacity(art->art, ClampUnit(opacity));
    return kNoErr;
}

SPErr StrokeWeightEffect(const DragStep *step, ArtStep *art) {
    return WalkTargets(step, art, StrokeWeightTarget, NULL);
}

SPErr FillIntensityEffect(const DragStep *step, ArtStep *art) {
    const Globals *g = gGlobals;
    SPErr error = kNoErr;
    /* Fill and stroke are each a walk of their own: a child is tagged twice. */
    ASBoolean fill = true, stroke = false;
    if (g->fillIntensityApplyToFill) error = WalkTargets(step, art, RecolourTarget, &fill);
    if (error == kNoErr && g->fillIntensityApplyToStroke)
        error = WalkTargets(step, art, RecolourTarget, &stroke);
    return error;
}
