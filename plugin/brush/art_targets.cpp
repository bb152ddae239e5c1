#include "brush_step.h"
#include "suites.h"

void SmearcraftTag(AIArtHandle object) {
    sAITag->SetTag(object, "smearcraft", "string", "smearcraft");
}

SPErr TrailCopy(AIArtHandle art) {
    AIArtHandle copy = NULL;
    return sAIArt->DuplicateArt(art, kPlaceAboveAll, art, &copy);
}

SPErr WalkTargets(const DragStep *step, const ArtStep *art, ArtTargetProc visit, void *data) {
    ASInt16 type = kUnknownArt;
    if (art->throughChildren) sAIArt->GetArtType(art->art, &type);
    if (type != kCompoundPathArt) return visit(step, art, art->art, false, data);
    AIArtHandle child = NULL;
    SPErr error = sAIArt->GetArtFirstChild(art->art, &child);
    while (error == kNoErr && child != NULL) {
        error = visit(step, art, child, true, data);
        if (error == kNoErr) error = sAIArt->GetArtSibling(child, &child);
    }
    return error;
}
