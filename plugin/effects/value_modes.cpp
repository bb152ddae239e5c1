#include "value_modes.h"

#include "suites.h"

AIReal RandomDraw(void) { return sAIRandom->FloatRnd(); }

AIReal RandomSign(void) { return RandomDraw() > 0.5f ? -1.0f : 1.0f; }

ASBoolean RandomSkip(void) { return RandomDraw() > 0.5f; }

AIReal RandomAmount(AIReal value) {
    AIReal s = RandomSign();
    AIReal r = RandomDraw();
    return r * value * s;
}

ASInt32 TruncateToInt(AIReal x) {
    if (!(x == x)) return 0;
    /* The largest reals below 2^31 in size, so that a caller may still add
       or subtract a little. */
    if (x >= 2147483648.0f) return 2147483520;
    if (x <= -2147483648.0f) return -2147483520;
    return (ASInt32)x;
}

ASBoolean ValueModeReadsCurrent(ASInt32 mode) {
    switch (mode) {
    case kValueModeRandomFromZero:
    case kValueModeSet:
    case kValueModeRandomToMaximum:
    case kValueModeTotalRandom:
        return false;
    default:
        return true;
    }
}

AIReal ValueMode(ASInt32 mode, AIReal v, AIReal w, AIReal p, AIReal c, AIReal maximum,
                 AIReal scale) {
    AIReal q = v * w * p;
    switch (mode) {
    case kValueModeAdd:
        return c + q;
    case kValueModeRandomFromZero:
        return RandomDraw() * q;
    case kValueModeSet:
        return q;
    case kValueModeRandomToMaximum:
        return maximum - RandomDraw() * q;
    case kValueModeTotalRandom:
        /* The option value plays no part: only the brush strength scales it. */
        return RandomDraw() * w * p * scale;
    case kValueModeJitter: {
        AIReal s = RandomSign();
        AIReal r = RandomDraw();
        return c + s * r * q;
    }
    case kValueModeMultiply:
        return c * q;
    default:
        return c;
    }
}
