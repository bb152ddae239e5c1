#include "paint_support.h"

#include "suites.h"

const AIReal kRgbStep = 0.39215687f;

AIReal ClampUnit(AIReal x) {
    if (x > 1.0f) return 1.0f;
    if (x >= 0.0f) return x;
    return 0.0f; /* below 0, and not a number */
}

ASBoolean ReadPathStyle(AIArtHandle object, AIPathStyle *style) {
    return sAIPathStyle->GetPathStyle(object, style) == kNoErr;
}

ASBoolean SwatchColorsMatch(const AIColor *a, const AIColor *b) {
    if (a->kind != b->kind) return false;
    switch (a->kind) {
    case kGrayColor:
        return a->c.g.gray == b->c.g.gray;
    case kFourColor:
        return a->c.f.cyan == b->c.f.cyan && a->c.f.magenta == b->c.f.magenta &&
               a->c.f.yellow == b->c.f.yellow && a->c.f.black == b->c.f.black;
    case kThreeColor:
        return a->c.rgb.red == b->c.rgb.red && a->c.rgb.green == b->c.rgb.green &&
               a->c.rgb.blue == b->c.rgb.blue;
    /* Colours that are not ink values match by what they are, so repeated
       drag steps never fill the list with copies of one colour. */
    case kCustomColor:
        return a->c.c.color == b->c.c.color && a->c.c.tint == b->c.c.tint;
    case kGradient:
        return a->c.b.gradient == b->c.b.gradient;
    case kPattern:
        return a->c.p.pattern == b->c.p.pattern;
    case kNoneColor:
        return true;
    default:
        return false;
    }
}

void MakeSureOfSwatch(const AIColor *color) {
    ASInt32 count = sAISwatchList->CountSwatches(NULL);
    ASBoolean found = false;
    /* Every swatch is looked at, not only up to the first match. */
    for (ASInt32 i = 0; i < count; ++i) {
        AIColor swatchColor;
        swatchColor.kind = -1;
        sAISwatchList->GetAIColor(sAISwatchList->GetNthSwatch(NULL, i), &swatchColor);
        if (SwatchColorsMatch(&swatchColor, color)) found = true;
    }
    if (found) return;
    AISwatchRef swatch = sAISwatchList->InsertNthSwatch(NULL, count);
    sAISwatchList->SetAIColor(swatch, color);
}
