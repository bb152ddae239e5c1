/* Fill channels: recolours fill and stroke channel by channel, can tie the
   first three channels together by a link formula, and can keep every new
   colour as a swatch. */
#ifndef SMEARCRAFT_FILL_CHANNELS_H
#define SMEARCRAFT_FILL_CHANNELS_H

#include "brush_step.h"

SPErr FillChannelsEffect(const DragStep *step, ArtStep *art);

/* Applies link formula `link` (0..28) to channels a, b, c; draws from the
   host for formulas 23 and 24. */
void LinkChannels(ASInt32 link, AIReal *a, AIReal *b, AIReal *c);

#endif
