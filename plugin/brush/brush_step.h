/* What one processed drag step hands to the effects: the values computed
   once per step, and the frame's findings for one art object. */
#ifndef SMEARCRAFT_BRUSH_STEP_H
#define SMEARCRAFT_BRUSH_STEP_H

#include "hostapi.h"

/* Computed once per processed drag step. CurrentPoint, LastPoint, DownPoint
   and SelectionCenter stay in Globals. */
typedef struct DragStep {
    AIReal PressureFactor;
    AIReal SizePressureFactor;
    AIReal hx;
    AIReal hy;
    AIRealRect BrushRect;
    AIRealRect DoubledRect;
    AIReal MovementAngle;
    /* Its cosine and sine from the Real Math suite, asked once per step
       for a tool whose "Follow brush" option is on (see ToolEffect). */
    AIReal MovementCos;
    AIReal MovementSin;
    ASInt32 SwatchCount; /* the document's swatches, counted by Swatches before its loop */
} DragStep;

/* One object of the ArtList as the per-art loop hands it to an effect. */
typedef struct ArtStep {
    AIArtHandle art;
    ASInt32 index;      /* position in the ArtList */
    AIReal weight;      /* ShapeWeight; tools that weigh points leave it 0 */
    ASBoolean apply;    /* weight not 0 and not skipped at random */
    AIRealRect bounds;
    AIRealPoint center;
    AIReal preset;      /* what the tool's before-weight hook computed (Rotate's angle) */
    ASBoolean throughChildren; /* a compound path is changed through its child paths */
} ArtStep;

/* The part of a tool's effect that runs for each object of the list. */
typedef void (*BeforeWeightProc)(const DragStep *step, ArtStep *art);
typedef SPErr (*ArtEffectProc)(const DragStep *step, ArtStep *art);
/* Runs once per processed step before the per-art loop. */
typedef void (*BeforeLoopProc)(DragStep *step);
/* Runs once per processed step after a per-art loop that met no error. */
typedef void (*AfterLoopProc)(const DragStep *step);
/* A tool that walks the whole ArtList itself (more than one pass) in place
   of the per-art loop. A non-zero result ends the step. */
typedef SPErr (*ListEffectProc)(const DragStep *step);
/* Visits one object the effect works on: the art itself, or one child path
   of a compound path. A non-zero result ends the drag step. */
typedef SPErr (*ArtTargetProc)(const DragStep *step, const ArtStep *art, AIArtHandle object,
                               ASBoolean isChild, void *data);

/* Writes the "smearcraft" tag on an object; its result is not looked at. */
void SmearcraftTag(AIArtHandle object);
/* Leaves a duplicate of the art above it, for the trail. */
SPErr TrailCopy(AIArtHandle art);
/* Calls `visit` for each child path of a compound path when the tool works
   through children (the compound path itself is then not visited), else for
   the art itself. Errors of the child walk and of `visit` end the walk. */
SPErr WalkTargets(const DragStep *step, const ArtStep *art, ArtTargetProc visit, void *data);

/* The same for a caller that has asked the art's type itself (`type`), so
   that it is not asked twice. */
SPErr WalkTargetsOfType(const DragStep *step, const ArtStep *art, ASInt16 type, ArtTargetProc visit, void *data);

/* The art's type; kUnknownArt when the host cannot tell. */
ASInt16 ArtType(AIArtHandle art);
/* The same for the tools that do not look at the child walk's errors: the
   walk simply stops where no further child comes back. Errors of `visit`
   still end it. */
SPErr WalkMembers(const DragStep *step, const ArtStep *art, ArtTargetProc visit, void *data);
/* True when `art` is a compound path, whose members a tool works through. */
ASBoolean IsCompoundPath(AIArtHandle art);

/* The angle of the line from LastPoint to CurrentPoint. */
AIReal MovementAngle(void);
/* Pen pressure x 1/255 when `option` is on and the host has pressure, else 1. */
AIReal PressureFactor(ASInt32 option, ASInt16 pressure);
/* The brush rectangle around CurrentPoint with half-sizes hx, hy, and the
   one with twice those half-sizes. */
AIRealRect BrushRect(AIReal hx, AIReal hy);
AIRealRect DoubledRect(AIReal hx, AIReal hy);
/* Centre of a bounds rectangle, the way SelectionCenter is computed. */
AIRealPoint RectCenter(const AIRealRect *r);

#endif
