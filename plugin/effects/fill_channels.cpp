#include "fill_channels.h"

#include "globals.h"
#include "paint_support.h"
#include "suites.h"
#include "value_modes.h"

namespace {

/* Values above 1 come round to the bottom of the range once. */
AIReal Wrap(AIReal x) { return x > 1.0f ? x - 1.0f : x; }

/* One channel through the tool's ValueMode: its own amount and its own draws. */
void ModeChannel(AIReal *channel, AIReal v, const ArtStep *art, const DragStep *step) {
    *channel = ValueMode(gGlobals->fillChannelsMode, v, art->weight, step->PressureFactor, *channel, 1.0f, 1.0f);
}

/* `data` points at true for the fill colour, false for the stroke colour. */
SPErr RecolourTarget(const DragStep *step, const ArtStep *art, AIArtHandle object, ASBoolean, void *data) {
    SmearcraftTag(object);
    if (!art->apply) return kNoErr;
    const Globals *g = gGlobals;
    const AIReal amount[4] = {g->fillChannel1 * 0.01f, g->fillChannel2 * 0.01f, g->fillChannel3 * 0.01f,
                              g->fillChannel4 * 0.01f};
    AIPathStyle style = {};
    if (!ReadPathStyle(object, &style)) return kNoErr;
    AIColor *color = *(const ASBoolean *)data ? &style.fill.color : &style.stroke.color;
    switch (color->kind) {
    case kFourColor: {
        AIFourColorStyle *f = &color->c.f;
        ModeChannel(&f->cyan, amount[0], art, step);
        ModeChannel(&f->magenta, amount[1], art, step);
        ModeChannel(&f->yellow, amount[2], art, step);
        ModeChannel(&f->black, amount[3], art, step);
        /* Black never takes part in the link. */
        LinkChannels(g->fillChannelsLink, &f->cyan, &f->magenta, &f->yellow);
        f->cyan = ClampUnit(f->cyan);
        f->magenta = ClampUnit(f->magenta);
        f->yellow = ClampUnit(f->yellow);
        f->black = ClampUnit(f->black);
        break;
    }
    case kThreeColor: {
        AIThreeColorStyle *c = &color->c.rgb;
        ModeChannel(&c->red, amount[0] * kRgbStep, art, step);
        ModeChannel(&c->green, amount[1] * kRgbStep, art, step);
        ModeChannel(&c->blue, amount[2] * kRgbStep, art, step);
        LinkChannels(g->fillChannelsLink, &c->red, &c->green, &c->blue);
        c->red = ClampUnit(c->red);
        c->green = ClampUnit(c->green);
        c->blue = ClampUnit(c->blue);
        break;
    }
    case kGrayColor:
        ModeChannel(&color->c.g.gray, amount[0], art, step);
        color->c.g.gray = ClampUnit(color->c.g.gray);
        break;
    default:
        break; /* pattern, custom colour, gradient, none: the record goes back as it came */
    }
    sAIPathStyle->SetPathStyle(object, &style);
    if (g->fillChannelsCreateSwatch) MakeSureOfSwatch(color);
    return kNoErr;
}

}  // namespace

void LinkChannels(ASInt32 link, AIReal *a, AIReal *b, AIReal *c) {
    /* Every formula reads the values from before the link unless it says so. */
    const AIReal A = *a, B = *b, C = *c;
    switch (link) {
    case 1: *b = A; *c = A; break;
    case 2: *b = A + 0.1f; *c = A + 0.1f; break;
    case 3: *b = A + 0.3f; *c = A + 0.3f; break;
    case 4: *b = A + 0.1f; *c = A + 0.2f; break;
    case 5:
    case 6: *b = A - 0.1f; *c = A - 0.2f; break;
    case 7: *b = 1.0f - A; *c = 1.0f - A; break;
    case 8: *a = 1.0f - C; *b = 1.0f - C; break;
    case 9: *b = A - 0.5f; *c = A + 0.5f; break;
    case 10: *b = A > B ? 1.0f : 0.0f; *c = A > C ? 1.0f : 0.0f; break;
    case 11: *b = A * 0.33333334f; *c = A * 0.5f; break;
    case 12: *b = A * 2.0f; *c = A * 0.25f; break;
    case 13: *b = A - 0.1f; *c = A - 0.1f; break;
    case 14: *b = A - 0.6f; *c = A - 0.3f; break;
    case 15: *b = A + 0.6f; *c = A + 0.3f; break;
    case 16: *a = C + 0.3f; *b = C + 0.6f; break;
    case 17: *a = B + 0.6f; *c = B + 0.3f; break;
    case 18: *c = A + B; *b = A - *c; break;
    case 19: *c = A - B; *b = A * 0.5f + 2.0f * (A - B); break;
    case 20: *a = B + C; *b = (B + C) * 0.5f; break;
    case 21: *a = B + C * 0.5f; break;
    case 22: *a = B + 0.4f; *c = B + C * 0.5f + 0.1f; break;
    case 23: {
        AIReal s1 = RandomSign(), r1 = RandomDraw();
        *a = B + 0.1f * r1 * s1;
        AIReal s2 = RandomSign(), r2 = RandomDraw();
        *c = B + 0.2f * r2 * s2;
        break;
    }
    case 24: {
        AIReal s1 = RandomSign(), r1 = RandomDraw();
        *a = B - 0.3f * r1 * s1;
        AIReal s2 = RandomSign(), r2 = RandomDraw();
        *c = B + 0.1f * r2 * s2;
        break;
    }
    case 25: *a = Wrap(B + 0.4f); *c = Wrap(B + 0.5f); break;
    case 26: *b = Wrap(A + 0.3f); *c = Wrap(*b + 0.5f); break;
    case 27: *a = A * 1.1f + B * 0.5f; *c = C * 0.5f + *a * 1.1f; break;
    default: break; /* 0 and 28: no linking */
    }
}

SPErr FillChannelsEffect(const DragStep *step, ArtStep *art) {
    const Globals *g = gGlobals;
    SPErr error = kNoErr;
    /* Fill and stroke are each a walk of their own: a child is tagged twice. */
    ASBoolean fill = true, stroke = false;
    if (g->fillChannelsApplyToFill) error = WalkTargets(step, art, RecolourTarget, &fill);
    if (error == kNoErr && g->fillChannelsApplyToStroke) error = WalkTargets(step, art, RecolourTarget, &stroke);
    return error;
}
