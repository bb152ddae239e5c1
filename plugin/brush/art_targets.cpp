#include "brush_step.h"
#include "suites.h"

void SmearcraftTag(AIArtHandle object) {
    sAITag->SetTag(object, "smearcraft", "string", "smearcraft");
}

SPErr TrailCopy(AIArtHandle art) {
    AIArtHandle copy = NULL;
    return sAIArt->DuplicateArt(art, kPlaceAboveAll, art, &copy);
}

ASInt16 ArtType(AIArtHandle art) {
    ASInt16 type = kUnknownArt;
    sAIArt->GetArtType(art, &type);
    return type;
}

ASBoolean IsCompoundPath(AIArtHandle art) { return ArtType(art) == kCompoundPathArt; }

SPErr WalkTargets(const DragStep *step, const ArtStep *art, ArtTargetProc visit, void *data) {
    if (!art->throughChildren) return visit(step, art, art->art, false, data);
    return WalkTargetsOfType(step, art, ArtType(art->art), visit, data);
}

SPErr WalkTargetsOfType(const DragStep *step, const ArtStep *art, ASInt16 type, ArtTargetProc visit, void *data) {
    if (!art->throughChildren || type != kCompoundPathArt) return visit(step, art, art->art, false, data);
    AIArtHandle child = NULL;
    SPErr error = sAIArt->GetArtFirstChild(art->art, &child);
    while (error == kNoErr && child != NULL) {
        error = visit(step, art, child, true, data);
        if (error == kNoErr) error = sAIArt->GetArtSibling(child, &child);
    }
    return error;
}

SPErr WalkMembers(const DragStep *step, const ArtStep *art, ArtTargetProc visit, void *data) {
    if (!art->throughChildren || !IsCompoundPath(art->art)) return visit(step, art, art->art, false, data);
    AIArtHandle member = NULL;
    sAIArt->GetArtFirstChild(art->art, &member);
    while (member != NULL) {
        SPErr error = visit(step, art, member, true, data);
        if (error != kNoErr) return error;
        AIArtHandle next = NULL;
        sAIArt->GetArtSibling(member, &next);
        member = next;
    }
    return kNoErr;
}
