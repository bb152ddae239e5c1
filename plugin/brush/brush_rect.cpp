#include "brush_step.h"
#include "globals.h"
#include "suites.h"

AIReal MovementAngle(void) {
    return sAIRealMath->AIRealPointAngle(&gGlobals->LastPoint, &gGlobals->CurrentPoint);
}

AIReal PressureFactor(ASInt32 option, ASInt16 pressure) {
    if (!option) return 1.0f;
    /* A failed query counts as no pressure support. */
    ASBoolean hasPressure = false;
    sAITool->SystemHasPressure(&hasPressure);
    if (!hasPressure) return 1.0f;
    return (AIReal)pressure * (1.0f / 255.0f);
}

AIRealRect BrushRect(AIReal hx, AIReal hy) {
    AIRealPoint c = gGlobals->CurrentPoint;
    AIRealRect r = {c.h - hx, c.v + hy, c.h + hx, c.v - hy};
    return r;
}

AIRealRect DoubledRect(AIReal hx, AIReal hy) { return BrushRect(2.0f * hx, 2.0f * hy); }

AIRealPoint RectCenter(const AIRealRect *r) {
    AIRealPoint c = {r->left + (r->right - r->left) / 2.0f, r->bottom + (r->top - r->bottom) / 2.0f};
    return c;
}
