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
   and end the step for every object after them. `data` points to the
   object's type, asked once by the effect for the member walk too. */
ASBoolean HasSegments(ASBoolean isChild, const void *data) {
    return isChild || *(const ASInt16 *)data == kPathArt;
}

/* Writes a segment unless a coordinate is not finite. A member's failed
   write ends the step; a plain path's result is not looked at. Inline, so
   that the test takes the coordinates the caller has just worked out where
   they are, rather than reading them back from the record a moment after
   they were stored, which stalls until the stores are done. */
inline SPErr WriteSegment(const AIPathSuite *paths, AIArtHandle path, ASInt16 i, const AIPathSegment *s,
                          ASBoolean isChild) {
    if (!IsFiniteSegment(s)) return kNoErr;
    SPErr error = paths->SetPathSegments(path, i, 1, s);
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

/* One of the four amounts: the option weighted by the point and the
   pressure, a hundredth of it for "percentage of current", randomized when
   asked. Each amount is one value of its own, not an element of an array
   filled in a loop: that kept the compiler from reading the four back as one
   wide load that had to wait for four narrow stores. */
AIReal CornerAmount(ASInt32 mode, ASBoolean random, AIReal option, AIReal q, AIReal p) {
    AIReal amount = option * q * p;
    if (mode == kCornerPercent) amount = amount * 0.01f;
    if (random) amount = RandomAmount(amount);
    return amount;
}

SPErr CornerTarget(const DragStep *step, const ArtStep *art, AIArtHandle path, ASBoolean isChild, void *type) {
    const Globals *g = gGlobals;
    SmearcraftTag(path);
    if (!HasSegments(isChild, type)) return kNoErr;
    ASInt16 count;
    SPErr error = SegmentCount(path, &count);
    if (error != kNoErr) return isChild ? kNoErr : error;  /* a member is only skipped */
    const ASInt32 mode = g->cornerApplyMode;
    if (mode < kCornerPercent || mode > kCornerAsEntered) return kNoErr;
    /* The options and the suite are read once per path: after every host
       call the compiler would have to read them again. */
    const ASBoolean random = g->cornerRandom;
    const AIReal p = step->PressureFactor;
    const AIReal optionInH = g->cornerInHorizontal, optionInV = g->cornerInVertical;
    const AIReal optionOutH = g->cornerOutHorizontal, optionOutV = g->cornerOutVertical;
    const AIPathSuite *paths = sAIPath;
    for (ASInt16 i = 0; i < count; ++i) {
        AIPathSegment s;
        error = paths->GetPathSegments(path, i, 1, &s);
        if (error != kNoErr) return error;
        const AIReal q = PointWeight(step, art, &s.p);
        if (q == 0.0f) continue;
        /* Drawn in this order when randomized. */
        const AIReal inH = CornerAmount(mode, random, optionInH, q, p);
        const AIReal inV = CornerAmount(mode, random, optionInV, q, p);
        const AIReal outH = CornerAmount(mode, random, optionOutH, q, p);
        const AIReal outV = CornerAmount(mode, random, optionOutV, q, p);
        /* Relative to the anchor, changed, and back; the anchor and the
           corner flag stay. */
        s.in.h = s.p.h + CornerValue(mode, s.in.h - s.p.h, inH);
        s.in.v = s.p.v + CornerValue(mode, s.in.v - s.p.v, inV);
        s.out.h = s.p.h + CornerValue(mode, s.out.h - s.p.h, outH);
        s.out.v = s.p.v + CornerValue(mode, s.out.v - s.p.v, outV);
        error = WriteSegment(paths, path, i, &s, isChild);
        if (error != kNoErr) return error;
    }
    return kNoErr;
}

void Move(AIRealPoint *point, AIReal dx, AIReal dy) {
    point->h = point->h + dx;
    point->v = point->v + dy;
}

SPErr ShifterTarget(const DragStep *step, const ArtStep *art, AIArtHandle path, ASBoolean isChild, void *type) {
    const Globals *g = gGlobals;
    SmearcraftTag(path);
    if (!HasSegments(isChild, type)) return kNoErr;
    ASInt16 count;
    SPErr error = SegmentCount(path, &count);
    if (error != kNoErr) return error;
    /* The options and the suite are read once per path: after every host
       call the compiler would have to read them again. */
    const ASBoolean applyRandom = g->pointShifterApplyRandom, fillFactor = g->pointShifterFillFactor;
    const ASBoolean random = g->pointShifterRandom, follow = g->pointShifterFollowBrush;
    const ASBoolean directionPoints = g->pointShifterDirectionPoints;
    const AIReal shiftH = g->pointShiftHorizontal, shiftV = g->pointShiftVertical, F = g->ShifterStrokeFactor;
    const AIPathSuite *paths = sAIPath;
    for (ASInt16 i = 0; i < count; ++i) {
        /* The tool's own skip: one draw per anchor, before it is read. */
        if (applyRandom && RandomSkip()) continue;
        AIPathSegment s;
        error = paths->GetPathSegments(path, i, 1, &s);
        if (error != kNoErr) return error;
        const AIReal q = PointWeight(step, art, &s.p);
        if (q == 0.0f) continue;
        const AIReal c = fillFactor ? FillFactorWeighted(path, kShifterRgbWeight) : 1.0f;
        AIReal dx, dy;
        ShiftOffsets(step, shiftH, shiftV, q, c, F, random, follow, &dx, &dy);
        /* "Direction points" keeps the control points where they are, which
           bends the curve at the moved anchor. */
        if (!directionPoints) {
            Move(&s.in, dx, dy);
            Move(&s.out, dx, dy);
        }
        Move(&s.p, dx, dy);
        error = WriteSegment(paths, path, i, &s, isChild);
        if (error != kNoErr) return error;
    }
    return kNoErr;
}

}  // namespace

SPErr CornerPointsEffect(const DragStep *step, ArtStep *art) {
    ASInt16 type = ArtType(art->art);
    return WalkTargetsOfType(step, art, type, CornerTarget, &type);
}

SPErr PointShifterEffect(const DragStep *step, ArtStep *art) {
    ASInt16 type = ArtType(art->art);
    return WalkTargetsOfType(step, art, type, ShifterTarget, &type);
}

void PointShifterAfterLoop(const DragStep *) {
    Globals *g = gGlobals;
    g->ShifterStrokeFactor = NextStrokeStrength(g->pointShifterFactor, g->ShifterStrokeFactor);
}
