/* What the colour tools share: reading a path style safely, the unit clamp,
   and finding or adding a document swatch for a colour. */
#ifndef SMEARCRAFT_PAINT_SUPPORT_H
#define SMEARCRAFT_PAINT_SUPPORT_H

#include "hostapi.h"

/* 100/255: an RGB channel takes a percentage as steps of 0..255. */
extern const AIReal kRgbStep;

/* Below 0 (or not a number) becomes 0, above 1 becomes 1. */
AIReal ClampUnit(AIReal x);

/* Reads the object's path style; false when the host cannot give it. A tool
   never writes back a style it did not read: the record would be zeroes and
   would wipe the object's paint. */
ASBoolean ReadPathStyle(AIArtHandle object, AIPathStyle *style);

/* Whether two colours are the same swatch colour: the same kind and the same
   components (gray, process, RGB), the same custom colour and tint, the same
   gradient or pattern; none matches none. */
ASBoolean SwatchColorsMatch(const AIColor *a, const AIColor *b);

/* Looks at every swatch of the document and, when none matches `color`,
   adds one at the end of the list with that colour. The host's answers are
   not checked. */
void MakeSureOfSwatch(const AIColor *color);

#endif
