#include <stdint.h>
#include <string.h>

#include "globals.h"
#include "brush_step.h"
#include "stroke.h"
#include "suites.h"

namespace {

/* The art the brush works on: selected objects of these kinds, compound
   paths first. Groups are not among them; their members are found on their
   own. */
const ASInt16 kCollectedTypes[] = {kCompoundPathArt, kPathArt, kMysteryPathArt, kSymbolArt,
                                   kTextArt,         kPlacedArt, kRasterArt,    kMeshArt};
const ASInt16 kCollectedTypeCount = sizeof kCollectedTypes / sizeof kCollectedTypes[0];

/* An index of the ArtList by art handle, so that taking the children of a
   compound path out of the list costs the same for any list length. Open
   addressing with the handle kept beside the entry's index, so a probe
   does not have to look into the list; a null key marks an empty slot. */
typedef struct ArtSlot {
    AIArtHandle art;
    ASInt32 index;
} ArtSlot;

typedef struct ArtIndex {
    AIMdMemoryHandle memory; /* the host's block that holds the slots */
    ArtSlot *slots;
    uint32_t mask;
    uint32_t shift;
} ArtIndex;

/* Fibonacci hashing: the top bits of the product spread neighbouring
   addresses over the whole table. */
uint32_t HashArt(const ArtIndex *index, AIArtHandle art) {
    uint64_t key = (uint64_t)(uintptr_t)art;
    return (uint32_t)((key * 0x9E3779B97F4A7C15ull) >> index->shift);
}

ASBoolean BuildArtIndex(ArtIndex *index, AIArtHandle *list, ASInt32 count) {
    uint32_t bits = 4;
    while ((1u << bits) < (uint32_t)count * 2u) ++bits;
    size_t bytes = ((size_t)1 << bits) * sizeof(ArtSlot);
    AIMdMemoryHandle memory = NULL;
    if (sAIMdMemory->MdMemoryNewHandle(bytes, &memory) != kNoErr || memory == NULL) return false;
    index->memory = memory;
    index->slots = (ArtSlot *)*memory;
    memset(index->slots, 0, bytes);
    index->mask = (1u << bits) - 1;
    index->shift = 64 - bits;
    for (ASInt32 i = 0; i < count; ++i) {
        if (list[i] == NULL) continue;
        uint32_t slot = HashArt(index, list[i]);
        while (index->slots[slot].art != NULL) slot = (slot + 1) & index->mask;
        index->slots[slot].art = list[i];
        index->slots[slot].index = i;
    }
    return true;
}

/* Sets every ArtList entry that holds `child` to null. Without an index
   (its memory could not be had) the list is searched instead. */
void RemoveFromList(const ArtIndex *index, AIArtHandle *list, ASInt32 count, AIArtHandle child) {
    if (index->slots == NULL) {
        for (ASInt32 i = 0; i < count; ++i)
            if (list[i] == child) list[i] = NULL;
        return;
    }
    for (uint32_t slot = HashArt(index, child); index->slots[slot].art != NULL;
         slot = (slot + 1) & index->mask) {
        if (index->slots[slot].art == child) list[index->slots[slot].index] = NULL;
    }
}

void GrowUnion(AIRealRect *u, const AIRealRect *r, ASBoolean first) {
    if (first) {
        *u = *r;
        return;
    }
    if (r->left < u->left) u->left = r->left;
    if (r->right > u->right) u->right = r->right;
    if (r->top > u->top) u->top = r->top;
    if (r->bottom < u->bottom) u->bottom = r->bottom;
}

}  // namespace

SPErr CollectArt(void) {
    Globals *g = gGlobals;
    AIMatchingArtSpec specs[kCollectedTypeCount];
    for (ASInt16 k = 0; k < kCollectedTypeCount; ++k) {
        specs[k].type = kCollectedTypes[k];
        specs[k].whichAttr = kArtSelected;
        specs[k].attr = kArtSelected;
    }
    AIArtHandle **matches = NULL;
    ASInt32 count = 0;
    SPErr error = sAIMatchingArt->GetMatchingArt(specs, kCollectedTypeCount, &matches, &count);
    g->ArtList = (AIMdMemoryHandle)matches;
    if (error != kNoErr) {
        FreeArtList();
        return kNoErr;
    }
    g->ArtCount = matches != NULL ? count : 0;
    if (g->ArtCount <= 0) return kNoErr;

    AIArtHandle *list = *matches;
    ArtIndex index = {NULL, NULL, 0, 0};
    AIRealRect all = {0, 0, 0, 0};
    ASBoolean found = false;
    for (ASInt32 i = 0; i < g->ArtCount; ++i) {
        AIArtHandle art = list[i];
        if (art == NULL) continue;
        AIRealRect bounds;
        if (sAIArt->GetArtBounds(art, &bounds) == kNoErr) {
            GrowUnion(&all, &bounds, !found);
            found = true;
        }
        ASInt16 type = kUnknownArt;
        sAIArt->GetArtType(art, &type);
        if (type != kCompoundPathArt) continue;
        /* A compound path is worked on through its own children, so its
           child paths must not come up a second time. */
        if (index.slots == NULL) BuildArtIndex(&index, list, g->ArtCount);
        AIArtHandle child = NULL;
        if (sAIArt->GetArtFirstChild(art, &child) != kNoErr) child = NULL;
        while (child != NULL) {
            RemoveFromList(&index, list, g->ArtCount, child);
            AIArtHandle next = NULL;
            if (sAIArt->GetArtSibling(child, &next) != kNoErr) next = NULL;
            child = next;
        }
    }
    if (index.memory != NULL) sAIMdMemory->MdMemoryDisposeHandle(index.memory);
    if (found) g->SelectionCenter = RectCenter(&all);
    return kNoErr;
}

void FreeArtList(void) {
    Globals *g = gGlobals;
    if (g->ArtList != NULL) sAIMdMemory->MdMemoryDisposeHandle(g->ArtList);
    /* Nothing may reach the released list: a second mouse up, or a drag
       after mouse up, finds an empty list. */
    g->ArtList = NULL;
    g->ArtCount = 0;
}
