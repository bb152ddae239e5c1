#include "brush_step.h"
#include "globals.h"
#include "modifier_cycling.h"
#include "shape_weight.h"
#include "stroke.h"
#include "suites.h"
#include "tool_effects.h"
#include "value_modes.h"

namespace {

/* The ToolId whose handle the message carries, -1 for none of ours. */
ASInt32 FindTool(AIToolHandle tool) {
    for (ASInt32 k = 0; k < kToolCount; ++k)
        if (gGlobals->toolHandles[k] == tool) return k;
    return -1;
}

/* The per-art loop: last entry first. A non-zero result ends the step. */
SPErr ArtLoop(const ToolEffect *tool, const DragStep *step) {
    Globals *g = gGlobals;
    for (ASInt32 i = g->ArtCount - 1; i >= 0; --i) {
        /* Re-read through the handle: the host may have moved the block. */
        AIArtHandle art = ((AIArtHandle *)*g->ArtList)[i];
        if (art == NULL) continue;
        ArtStep a = {};
        a.art = art;
        a.index = i;
        a.throughChildren = tool->throughChildren;
        if (tool->beforeWeight != NULL) tool->beforeWeight(step, &a);
        if (tool->objectWeight) {
            a.weight = ShapeWeight(g->brushShape, art, &step->BrushRect, &step->DoubledRect, step->hx,
                                   step->hy, i);
            a.apply = a.weight != 0.0f;
        } else {
            a.apply = true;
        }
        SPErr error = sAIArt->GetArtBounds(art, &a.bounds);
        if (error != kNoErr) return error;
        a.center = RectCenter(&a.bounds);
        if (tool->skipOption != NULL && g->*(tool->skipOption) && (a.apply || tool->skipEveryObject)) {
            if (RandomSkip()) a.apply = false;
        }
        error = tool->effect(step, &a);
        if (error != kNoErr) return error;
        if (tool->trailCopy && g->trailCursor) {
            error = TrailCopy(art);
            if (error != kNoErr) return error;
        }
    }
    return kNoErr;
}

/* The tool's part of the step: its own walk of the list, or the per-art
   loop around its effect. */
SPErr RunTool(const ToolEffect *tool, DragStep *step) {
    SPErr error = kNoErr;
    /* Without a list (nothing collected) no object is visited, but the
       step still counts for a tool's stroke strength. */
    if (gGlobals->ArtList != NULL) {
        if (tool->listEffect != NULL) return tool->listEffect(step);
        if (tool->effect == NULL) return kNoErr;
        if (tool->followOption != NULL && gGlobals->*(tool->followOption)) {
            step->MovementCos = sAIRealMath->AIRealCos(step->MovementAngle);
            step->MovementSin = sAIRealMath->AIRealSin(step->MovementAngle);
        }
        if (tool->beforeLoop != NULL) tool->beforeLoop(step);
        error = ArtLoop(tool, step);
    }
    if (error == kNoErr && tool->afterLoop != NULL) tool->afterLoop(step);
    return error;
}

/* Draws the brush outline, or moves the one of an earlier step to the new
   brush rectangle. Its errors are of no consequence to the stroke. */
void DrawOutline(const AIRealRect *r) {
    Globals *g = gGlobals;
    if (g->OutlineArt == NULL) {
        AIArtHandle outline = NULL;
        sAIShapeConstruction->NewRect(r->top, r->left, r->bottom, r->right, false, &outline);
        g->OutlineArt = outline;
        return;
    }
    ASInt16 count = 0;
    sAIPath->GetPathSegmentCount(g->OutlineArt, &count);
    const AIRealPoint corners[4] = {{r->left, r->top}, {r->right, r->top}, {r->right, r->bottom},
                                    {r->left, r->bottom}};
    for (ASInt16 n = 0; n < 4 && n < count; ++n) {
        AIPathSegment segment = {};
        sAIPath->GetPathSegments(g->OutlineArt, n, 1, &segment);
        segment.p = segment.in = segment.out = corners[n];
        sAIPath->SetPathSegments(g->OutlineArt, n, 1, &segment);
    }
}

}  // namespace

SPErr ToolMouseDrag(AIToolMessage *message) {
    Globals *g = gGlobals;
    g->CurrentPoint = message->cursor;

    if (g->SlowdownCount < g->brushSlowdown) {
        ++g->SlowdownCount;
        return kNoErr;
    }
    g->SlowdownCount = 0;

    ASInt32 modifiers = sADMTracker->GetModifiers(NULL);
    if (modifiers & kADMSpaceKeyMask) {
        ++g->SlowdownCount;
        return kNoErr;
    }

    if (g->trailCursor && g->trailOnNewLayer) {
        AILayerHandle layer = NULL;
        if (sAILayer->InsertLayer(NULL, kPlaceAboveAll, &layer) != kNoErr) return kNoErr;
    }

    ASInt32 toolId = FindTool(message->tool);
    if (toolId >= 0) ModifierCycling(toolId, modifiers);

    DragStep step;
    step.SwatchCount = 0;
    step.MovementAngle = MovementAngle();
    step.MovementCos = 1.0f;
    step.MovementSin = 0.0f;
    step.PressureFactor = PressureFactor(g->pressureModification, message->pressure);
    step.SizePressureFactor = PressureFactor(g->sizeFromPressure, message->pressure);
    step.hx = g->brushSizeHorizontal * step.SizePressureFactor;
    step.hy = g->brushSizeVertical * step.SizePressureFactor;
    step.BrushRect = BrushRect(step.hx, step.hy);
    step.DoubledRect = DoubledRect(step.hx, step.hy);

    if (g->showOutline) DrawOutline(&step.BrushRect);

    if (toolId >= 0) {
        /* A host error ends the step where it happened: what changed stays
           changed, and LastPoint and the slowdown count stay as they are. */
        if (RunTool(&ToolEffects[toolId], &step) != kNoErr) return kNoErr;
    }

    g->LastPoint = g->CurrentPoint;
    ++g->SlowdownCount;
    return kNoErr;
}
