#include "mesh_effects.h"

#include "fill_channels.h"
#include "globals.h"
#include "paint_support.h"
#include "point_support.h"
#include "suites.h"
#include "value_modes.h"

namespace {

/* One mesh vertex (i, j) of a mesh of I x J patches. */
typedef struct MeshPlace {
    AIArtHandle mesh;
    ASInt32 I, J, i, j;
} MeshPlace;

typedef void (*VertexProc)(const DragStep *step, const ArtStep *art, const MeshPlace *at);

AIMeshVertexHandle Vertex(AIArtHandle mesh, ASInt32 i, ASInt32 j) {
    AIMeshVertexHandle v = NULL;
    sAIMesh->GetVertex(mesh, i, j, &v);
    return v;
}

/* Mesh art only: it is tagged and each of its (I + 1) x (J + 1) vertices is
   visited, i outer. Any other art is left alone (the loop still copies it). */
SPErr MeshFrame(const DragStep *step, ArtStep *art, VertexProc visit) {
    ASInt16 type = kUnknownArt;
    sAIArt->GetArtType(art->art, &type);
    if (type != kMeshArt) return kNoErr;
    SmearcraftTag(art->art);
    MeshPlace at = {art->art, 0, 0, 0, 0};
    sAIMesh->GetSize(art->art, &at.I, &at.J);
    /* Sizes that cannot be walked: either count negative, or so large that
       the count itself would overflow. */
    if (at.I < 0 || at.I == 2147483647 || at.J < 0 || at.J == 2147483647) return kNoErr;
    for (at.i = 0; at.i <= at.I; ++at.i)
        for (at.j = 0; at.j <= at.J; ++at.j) visit(step, art, &at);
    return kNoErr;
}

/* ---- Gradient Mesh */

/* One component by the tool's mode; a is the component's amount. */
AIReal MeshComponent(AIReal c, AIReal a, AIReal q, AIReal p) {
    switch (gGlobals->meshColorMode) {
    case kValueModeAdd: return c + a * q * p;
    case kValueModeRandomFromZero: return RandomDraw() * q * a * p;
    case kValueModeSet: return a * q * p;
    case kValueModeRandomToMaximum: return 1.0f - RandomDraw() * q * a * p;
    case kValueModeTotalRandom: return RandomDraw() * q * p;
    case kValueModeJitter: {
        AIReal s = RandomSign();
        AIReal r = RandomDraw();
        return c + s * r * q * a * p;
    }
    default: return c;
    }
}

/* The new colour of a vertex of weight q; false for a kind it leaves alone. */
ASBoolean Recolour(AIColor *color, AIReal q, AIReal p) {
    const Globals *g = gGlobals;
    AIReal a[4] = {g->meshColorChannel1 * 0.01f, g->meshColorChannel2 * 0.01f, g->meshColorChannel3 * 0.01f,
                   g->meshColorChannel4 * 0.01f};
    switch (color->kind) {
    case kFourColor: {
        AIFourColorStyle *f = &color->c.f;
        f->cyan = MeshComponent(f->cyan, a[0], q, p);
        f->magenta = MeshComponent(f->magenta, a[1], q, p);
        f->yellow = MeshComponent(f->yellow, a[2], q, p);
        f->black = MeshComponent(f->black, a[3], q, p);
        LinkChannels(g->meshColorLink, &f->cyan, &f->magenta, &f->yellow);
        f->cyan = ClampUnit(f->cyan);
        f->magenta = ClampUnit(f->magenta);
        f->yellow = ClampUnit(f->yellow);
        f->black = ClampUnit(f->black);
        return true;
    }
    case kThreeColor: {
        AIThreeColorStyle *c = &color->c.rgb;
        c->red = MeshComponent(c->red, a[0] * kRgbStep, q, p);
        c->green = MeshComponent(c->green, a[1] * kRgbStep, q, p);
        c->blue = MeshComponent(c->blue, a[2] * kRgbStep, q, p);
        LinkChannels(g->meshColorLink, &c->red, &c->green, &c->blue);
        c->red = ClampUnit(c->red);
        c->green = ClampUnit(c->green);
        c->blue = ClampUnit(c->blue);
        return true;
    }
    case kGrayColor:
        color->c.g.gray = ClampUnit(MeshComponent(color->c.g.gray, a[0], q, p));
        return true;
    default:
        return false;
    }
}

/* Every component c of the colour's kind as 1 - c. */
AIColor Complement(const AIColor *color) {
    AIColor out = *color;
    switch (out.kind) {
    case kFourColor:
        out.c.f.cyan = 1.0f - out.c.f.cyan;
        out.c.f.magenta = 1.0f - out.c.f.magenta;
        out.c.f.yellow = 1.0f - out.c.f.yellow;
        out.c.f.black = 1.0f - out.c.f.black;
        break;
    case kThreeColor:
        out.c.rgb.red = 1.0f - out.c.rgb.red;
        out.c.rgb.green = 1.0f - out.c.rgb.green;
        out.c.rgb.blue = 1.0f - out.c.rgb.blue;
        break;
    default:
        out.c.g.gray = 1.0f - out.c.g.gray;
        break;
    }
    return out;
}

enum { kMirrorH = 1, kMirrorV = 2, kMirrorBoth = 4 };

/* Which mirrors of a pattern take the colour and which the complement. */
typedef struct MeshPattern {
    ASInt32 colour;
    ASInt32 complement;
} MeshPattern;

const MeshPattern kMeshPatterns[9] = {
    {0, 0},
    {kMirrorH | kMirrorV | kMirrorBoth, 0},
    {kMirrorH, 0},
    {kMirrorV, 0},
    {kMirrorBoth, 0},
    {kMirrorH | kMirrorV, kMirrorBoth},
    {0, kMirrorH},
    {0, kMirrorV},
    {0, kMirrorBoth},
};

void SetMirrorColours(const MeshPlace *at, const AIColor *colour, const AIColor *complement, ASBoolean hasComplement) {
    ASInt32 pattern = gGlobals->meshPattern;
    if (pattern < 0 || pattern > 8) return;
    const MeshPattern *m = &kMeshPatterns[pattern];
    const ASInt32 mirrors[3] = {kMirrorH, kMirrorV, kMirrorBoth};
    const ASInt32 ti[3] = {at->I - at->i, at->i, at->I - at->i};
    const ASInt32 tj[3] = {at->j, at->J - at->j, at->J - at->j};
    for (ASInt32 k = 0; k < 3; ++k) {
        if (m->colour & mirrors[k]) {
            sAIMeshVertex->SetColor(Vertex(at->mesh, ti[k], tj[k]), colour);
        } else if ((m->complement & mirrors[k]) && hasComplement) {
            /* A colour without a complement (custom, pattern, gradient,
               none) leaves the complement's targets as they are. */
            sAIMeshVertex->SetColor(Vertex(at->mesh, ti[k], tj[k]), complement);
        }
    }
}

void RecolourVertex(const DragStep *step, const ArtStep *art, const MeshPlace *at) {
    AIMeshVertexHandle v = Vertex(at->mesh, at->i, at->j);
    AIRealPoint point;
    if (sAIMeshVertex->GetPoint(v, &point) != kNoErr) return;
    const AIReal q = PointWeight(step, art, &point);
    if (q == 0.0f) return;
    /* A colour that cannot be read is never written back. */
    AIColor colour;
    if (sAIMeshVertex->GetColor(v, &colour) != kNoErr) return;
    const ASBoolean changed = Recolour(&colour, q, step->PressureFactor);
    const AIColor complement = Complement(&colour);
    sAIMeshVertex->SetColor(v, &colour);
    SetMirrorColours(at, &colour, &complement, changed);
}

/* ---- Warp Mesh */

/* Moves a vertex by (dx, dy) from where it is, unless it cannot be read or
   would leave the finite plane. */
void MoveVertex(AIMeshVertexHandle v, AIReal dx, AIReal dy) {
    AIRealPoint point;
    if (sAIMeshVertex->GetPoint(v, &point) != kNoErr) return;
    point.h = point.h + dx;
    point.v = point.v + dy;
    if (IsFinitePoint(&point)) sAIMeshVertex->SetPoint(v, &point);
}

void WarpMirrors(const MeshPlace *at, AIReal dx, AIReal dy) {
    const ASInt32 mi = at->I - at->i, mj = at->J - at->j;
    switch (gGlobals->warpMeshPattern) {
    case 1:
        MoveVertex(Vertex(at->mesh, mi, at->j), -dx, dy);
        MoveVertex(Vertex(at->mesh, at->i, mj), dx, -dy);
        MoveVertex(Vertex(at->mesh, mi, mj), -dx, -dy);
        break;
    case 2: MoveVertex(Vertex(at->mesh, mi, at->j), -dx, dy); break;
    case 3: MoveVertex(Vertex(at->mesh, at->i, mj), dx, -dy); break;
    case 4: MoveVertex(Vertex(at->mesh, mi, mj), -dx, -dy); break;
    case 5: MoveVertex(Vertex(at->mesh, mi, at->j), -2.0f * dx, 2.0f * dy); break;
    case 6: MoveVertex(Vertex(at->mesh, mi, at->j), -0.5f * dx, 0.5f * dy); break;
    case 7:
        if (at->i % 2 == 0) MoveVertex(Vertex(at->mesh, mi, at->j), -dx, dy);
        break;
    case 8:
        if (at->j % 2 == 0) MoveVertex(Vertex(at->mesh, mi, at->j), -dx, dy);
        break;
    default: break;
    }
}

void WarpVertex(const DragStep *step, const ArtStep *art, const MeshPlace *at) {
    const Globals *g = gGlobals;
    AIMeshVertexHandle v = Vertex(at->mesh, at->i, at->j);
    AIRealPoint point;
    if (sAIMeshVertex->GetPoint(v, &point) != kNoErr) return;
    if (g->warpMeshApplyRandom && RandomSkip()) return;
    const AIReal q = PointWeight(step, art, &point);
    if (q == 0.0f) return;
    AIReal dx, dy;
    ShiftOffsets(step, g->warpShiftHorizontal, g->warpShiftVertical, q, 1.0f, g->WarpStrokeFactor,
                 g->warpMeshRandom, g->warpMeshFollowBrush, &dx, &dy);
    point.h = point.h + dx;
    point.v = point.v + dy;
    if (!IsFinitePoint(&point)) return;
    sAIMeshVertex->SetPoint(v, &point);
    WarpMirrors(at, dx, dy);
}

}  // namespace

SPErr GradientMeshEffect(const DragStep *step, ArtStep *art) { return MeshFrame(step, art, RecolourVertex); }

SPErr WarpMeshEffect(const DragStep *step, ArtStep *art) { return MeshFrame(step, art, WarpVertex); }

void WarpMeshAfterLoop(const DragStep *) {
    Globals *g = gGlobals;
    g->WarpStrokeFactor = NextStrokeStrength(g->warpMeshFactor, g->WarpStrokeFactor);
}
