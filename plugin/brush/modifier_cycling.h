/* Cycling a tool's main values by holding modifier keys while dragging. */
#ifndef SMEARCRAFT_MODIFIER_CYCLING_H
#define SMEARCRAFT_MODIFIER_CYCLING_H

#include "hostapi.h"

/* With bit 0x20 in `modifiers`, steps the main values of tool `toolId`:
   with 0x40 also held the first action, else the second. Each value wraps
   round on its own as soon as it passes its bound. */
void ModifierCycling(ASInt32 toolId, ASInt32 modifiers);

#endif
