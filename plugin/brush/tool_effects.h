/* What the per-art loop does for each tool: one row per ToolId. A row
   without an effect or a list effect runs the drag step but no loop. */
#ifndef SMEARCRAFT_TOOL_EFFECTS_H
#define SMEARCRAFT_TOOL_EFFECTS_H

#include "brush_step.h"
#include "globals.h"

typedef struct ToolEffect {
    ArtEffectProc effect;          /* what happens to one object; null: no per-art loop */
    ListEffectProc listEffect;     /* a tool that walks the list itself, in place of the loop */
    BeforeLoopProc beforeLoop;     /* runs once before the loop, or null */
    BeforeWeightProc beforeWeight; /* runs before each object's weight, or null */
    AfterLoopProc afterLoop;       /* runs after a loop that met no host error, or null */
    ASBoolean objectWeight;        /* false for tools that weigh each point themselves */
    ASBoolean throughChildren;     /* a compound path is changed through its child paths */
    ASBoolean trailCopy;           /* duplicates each object when "Trail cursor" is on */
    /* The random-skip option the loop draws for, null when the tool has none
       or draws it at a point of its own effect. */
    ASInt32 Globals::*skipOption;
    ASBoolean skipEveryObject;     /* draw also for objects of weight 0 */
    /* The "Follow brush" option of a tool whose offsets turn with the
       brush's movement, null for the others. The angle's cosine and sine
       are the same for every object of a step, and the host's are slow. */
    ASInt32 Globals::*followOption;
} ToolEffect;

extern const ToolEffect ToolEffects[kToolCount];

#endif
