/* The options dialog of every tool. */
#ifndef SMEARCRAFT_OPTIONS_DIALOGS_H
#define SMEARCRAFT_OPTIONS_DIALOGS_H

#include "hostapi.h"

/* "AI Edit Options": runs the dialog of the message's tool; 0 after OK,
   'STOP' otherwise, 0 for a tool that is not ours. */
SPErr EditToolOptions(AIToolMessage *message);

#endif
