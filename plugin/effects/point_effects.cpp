#include "point_effects.h"

#include "fill_factor.h"
#include "globals.h"
#include "point_support.h"
#include "suites.h"
#include "value_modes.h"

namespace {

enum { kCornerPercent = 0, kCornerPoints = 1, kCornerAsEntered = 2 };

/* The Point shifter weighs an RGB fill's channels so, not by a third. */
const AIReal kShifterRgbWeight = 0.13071895f;

/* The number of segments of a path; a count the host cannot give as a
   positive 16-bit number walks nothing. */
SPErr SegmentCount(AIArtHandle path, ASInt16 *count) {
    *count = 0;
    SPErr error = sAIPath->GetPathSegmentCount(path, count);
    if (*count < 0) *count = 0;
    return error;
}

/* Whether an object of the list has anchor points to move. Text, meshes,
   images and symbols are collected too; asking them for segments would fail
   and end the step for every object after them. */
ASBoolean HasSegments(AIArtHandle object, ASBoolean isChild) {
    if (isChild) return true;
    ASInt16 type = kUnknownArt;
    sAIArt->GetArtType(object, &type);
    return type == kPathArt;
}

/* Writes a segment unless a coordinate is not finite. A member's failed
   write ends the step; a plain path's result is not looked at. */
SPErr WriteSegment(AIArtHandle path, ASInt16 i, const AIPathSegment *s, ASBoolean isChild) {
    if (!IsFinitePoint(&s->p) || !IsFinitePoint(&s->in) || !IsFinitePoint(&s->out)) return kNoErr;
    SPErr error = sAIPath->SetPathSegments(path, i, 1, s);
    return isChild ? error : kNoErr;
}

/* One control point relative to its anchor, changed by the mode. */
AIReal CornerValue(ASInt32 mode, AIReal relative, AIReal amount) {
    switch (mode) {
    case kCornerPercent: return relative * (1.0f + amount);
    case kCornerPoints: return relative + amount;
    default: return amount; /* as entered */
    }
}

SPErr CornerTarget(const DragStep *step, const ArtStep *art, AIArtHandle path, ASBoolean isChild, void *) {
    const Globals *g = gGlobals;
    SmearcraftTag(path);
    if (!HasSegments(path, isChild)) return kNoErr;
    ASInt16 count;
    SPErr error = SegmentCount(path, &count);
    if (error != kNoErr) return isChild ? kNoErr : error;  /* a member is only skipped */
    if (g->cornerApplyMode < kCornerPercent || g->cornerApplyMode > kCornerAsEntered) return kNoErr;
    for (ASInt16 i = 0; i < count; ++i) {
        AIPathSegment s;
        error = sAIPath->GetPathSegments(path, i, 1, &s);
        if (error != kNoErr) return error;
        const AIReal q = PointWeight(step, art, &s.p);
        if (q == 0.0f) continue;
        AIRealPoint in = {s.in.h - s.p.h, s.in.v - s.p.v};
        AIRealPoint out = {s.out.h - s.p.h, s.out.v - s.p.v};
        const AIReal p = step->PressureFactor;
        AIReal d[4] = {g->cornerInHorizontal * q * p, g->cornerInVertical * q * p, g->cornerOutHorizontal * q * p,
                       g->cornerOutVertical * q * p};
        for (ASInt32 k = 0; k < 4; ++k) {
            if (g->cornerApplyMode == kCornerPercent) d[k] = d[k] * 0.01f;
            if (g->cornerRandom) d[k] = RandomAmount(d[k]);
        }
        in.h = CornerValue(g->cornerApplyMode, in.h, d[0]);
        in.v = CornerValue(g->cornerApplyMode, in.v, d[1]);
        out.h = CornerValue(g->cornerApplyMode, out.h, d[2]);
        out.v = CornerValue(g->cornerApplyMode, out.v, d[3]);
        /* The anchor and the corner flag stay. */
        s.in.h = s.p.h + in.h;
        s.in.v = s.p.v + in.v;
        s.out.h = s.p.h + out.h;
        s.out.v = s.p.v + out.v;
        error = WriteSegment(path, i, &s, isChild);
        if (error != kNoErr) return error;
    }
    return kNoErr;
}

void Move(AIRealPoint *point, AIReal dx, AIReal dy) {
    point->h = point->h + dx;
    point->v = point->v + dy;
}

SPErr ShifterTarget(const DragStep *step, const ArtStep *art, AIArtHandle path, ASBoolean isChild, void *) {
    const Globals *g = gGlobals;
    SmearcraftTag(path);
    if (!HasSegments(path, isChild)) return kNoErr;
    ASInt16 count;
    SPErr error = SegmentCount(path, &count);
    if (error != kNoErr) return error;
    for (ASInt16 i = 0; i < count; ++i) {
        /* The tool's own skip: one draw per anchor, before it is read. */
        if (g->pointShifterApplyRandom && RandomSkip()) continue;
        AIPathSegment s;
        error = sAIPath->GetPathSegments(path, i, 1, &s);
        if (error != kNoErr) return error;
        const AIReal q = PointWeight(step, art, &s.p);
        if (q == 0.0f) continue;
        const AIReal c = g->pointShifterFillFactor ? FillFactorWeighted(path, kShifterRgbWeight) : 1.0f;
        AIReal dx, dy;
        ShiftOffsets(step, g->pointShiftHorizontal, g->pointShiftVertical, q, c, g->ShifterStrokeFactor,
                     g->pointShifterRandom, g->pointShifterFollowBrush, &dx, &dy);
        /* "Direction points" keeps the control points where they are, which
           bends the curve at the moved anchor. */
        if (!g->pointShifterDirectionPoints) {
            Move(&s.in, dx, dy);
            Move(&s.out, dx, dy);
        }
        Move(&s.p, dx, dy);
        error = WriteSegment(path, i, &s, isChild);
        if (error != kNoErr) return error;
    }
    return kNoErr;
}

}  // namespace

SPErr CornerPointsEffect(const DragStep *step, ArtStep *art) { return WalkTargets(step, art, CornerTarget, NULL); }

SPErr PointShifterEffect(const DragStep *step, ArtStep *art) { return WalkTargets(step, art, ShifterTarget, NULL); }

void PointShifterAfterLoop(const DragStep *) {
    Globals *g = gGlobals;
    g->ShifterStrokeFactor = NextStrokeStrength(g->pointShifterFactor, g->ShifterStrokeFactor);
}
