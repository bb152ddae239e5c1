/* A strength between 0 and 1 taken from an object's fill colour. */
#ifndef SMEARCRAFT_FILL_FACTOR_H
#define SMEARCRAFT_FILL_FACTOR_H

#include "hostapi.h"

/* From the fill colour of the object's path style, painted or not: the gray
   component, the mean of the process inks or of the RGB channels; 1 for
   every other kind. */
AIReal FillFactor(AIArtHandle object);

/* The same with the sum of the RGB channels weighted by `rgbWeight` (the
   point shifter weighs them by 0.13071895, not a third). */
AIReal FillFactorWeighted(AIArtHandle object, AIReal rgbWeight);

#endif
