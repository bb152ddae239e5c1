/* The stroke cycle every tool shares: mouse down, drag steps, mouse up. */
#ifndef SMEARCRAFT_STROKE_H
#define SMEARCRAFT_STROKE_H

#include "hostapi.h"

/* "AI Mouse Down": resets the stroke state and collects the selected art. */
SPErr ToolMouseDown(AIToolMessage *message);
/* "AI Mouse Drag": one drag step; always returns 0. */
SPErr ToolMouseDrag(AIToolMessage *message);
/* "AI Mouse Up": ends the stroke; returns the code of the closing undo call. */
SPErr ToolMouseUp(AIToolMessage *message);

/* Collects the selected art into ArtList, with SelectionCenter. */
SPErr CollectArt(void);
void FreeArtList(void);

#endif
