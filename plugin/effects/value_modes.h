/* How an option value combines with an object's current value, and the
   random idioms every tool shares. All randomness comes from the host. */
#ifndef SMEARCRAFT_VALUE_MODES_H
#define SMEARCRAFT_VALUE_MODES_H

#include "hostapi.h"

/* The six entries shared by every ValueMode popup, and the two that some
   lists add after them. */
enum {
    kValueModeAdd = 0,
    kValueModeRandomFromZero = 1,
    kValueModeSet = 2,
    kValueModeRandomToMaximum = 3,
    kValueModeTotalRandom = 4,
    kValueModeJitter = 5,
    kValueModeIgnore = 6,
    kValueModeMultiply = 7
};

/* A fresh draw between 0 and 1 from the host's random source. */
AIReal RandomDraw(void);
/* -1 when a draw is greater than 0.5, else +1. */
AIReal RandomSign(void);
/* True when the object is to be left alone this step (a draw above 0.5). */
ASBoolean RandomSkip(void);
/* r x value x s, the sign drawn before the magnitude. */
AIReal RandomAmount(AIReal value);

/* A real as an integer, truncated toward zero; a value beyond the integers
   stops near their ends and one that is not a number gives 0, so no input
   reaches an undefined conversion. */
ASInt32 TruncateToInt(AIReal x);

/* Whether `mode` combines with the current value, so that the caller must
   read it from the host before calling ValueMode. */
ASBoolean ValueModeReadsCurrent(ASInt32 mode);

/* The new value from the option value v in its working unit, the weight w,
   the pressure factor p, the current value c (read only where
   ValueModeReadsCurrent says so), the maximum of entry 3 and the scale of
   entry 4. Draws from the host in the order the rule is read. Entry 6
   keeps c, entry 7 gives c x q; a mode outside the eight keeps c. The
   caller clamps. */
AIReal ValueMode(ASInt32 mode, AIReal v, AIReal w, AIReal p, AIReal c, AIReal maximum,
                 AIReal scale);

#endif
