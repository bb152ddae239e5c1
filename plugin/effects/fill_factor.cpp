#include "fill_factor.h"

#include "suites.h"

AIReal FillFactorWeighted(AIArtHandle object, AIReal rgbWeight) {
    /* The style is not checked: a failed read gives a zeroed record. */
    AIPathStyle style = {};
    sAIPathStyle->GetPathStyle(object, &style);
    const AIColor &fill = style.fill.color;
    switch (fill.kind) {
    case kGrayColor:
        return fill.c.g.gray;
    case kFourColor:
        return (fill.c.f.cyan + fill.c.f.magenta + fill.c.f.yellow + fill.c.f.black) * 0.25f;
    case kThreeColor:
        return (fill.c.rgb.red + fill.c.rgb.green + fill.c.rgb.blue) * rgbWeight;
    default:
        return 1.0f;
    }
}

AIReal FillFactor(AIArtHandle object) { return FillFactorWeighted(object, 0.33333334f); }
