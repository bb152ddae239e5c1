#include "stroke.h"

#include "globals.h"
#include "suites.h"

SPErr ToolMouseDown(AIToolMessage *message) {
    Globals *g = gGlobals;
    /* A stroke that never saw its mouse up still holds its list. */
    if (g->ArtList != NULL) FreeArtList();
    g->OutlineArt = NULL;
    g->DownPoint = message->cursor;
    g->ArtList = NULL;
    g->LastPoint = g->DownPoint;
    g->ShifterStrokeFactor = 1.0f;
    g->WarpStrokeFactor = 1.0f;
    g->SlowdownCount = 0;
    CollectArt();
    return kNoErr;
}

SPErr ToolMouseUp(AIToolMessage *) {
    Globals *g = gGlobals;
    FreeArtList();
    if (g->OutlineArt != NULL) sAIArt->DisposeArt(g->OutlineArt);
    g->OutlineArt = NULL;
    return sAIUndo->CloseUndoStep();
}
