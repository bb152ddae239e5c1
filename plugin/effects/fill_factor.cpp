#include "fill_factor.h"

#include "suites.h"

AIReal FillFactorWeighted(AIArtHandle object, AIReal rgbWeight) {
    /* A style that cannot be read says nothing of the fill: the factor is
       that of a fill of any other kind, 1, rather than the 0 of the black
       that the zeroed record would read as, which would leave the object
       as it is. */
    AIPathStyle style = {};
    if (sAIPathStyle->GetPathStyle(object, &style) != kNoErr) return 1.0f;
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
