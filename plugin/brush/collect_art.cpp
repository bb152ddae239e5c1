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

/* The members of the compound paths met so far, which must leave the
   ArtList. A set of art handles with open addressing, grown as members are
   added: it holds the members alone, not the whole list, so that on a large
   drawing it stays small enough for the cache and a look-up costs the same
   for any list length. A null handle marks an empty slot. */
typedef struct MemberSet {
    AIMdMemoryHandle memory; /* the host's block that holds the slots */
    AIArtHandle *slots;
    uint32_t bits;
    uint32_t used;
} MemberSet;

/* Fibonacci hashing: the top bits of the product spread neighbouring
   addresses over the whole table. */
uint32_t HashArt(uint32_t bits, AIArtHandle art) {
    uint64_t key = (uint64_t)(uintptr_t)art;
    return (uint32_t)((key * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

void PutMember(AIArtHandle *slots, uint32_t bits, AIArtHandle art) {
    uint32_t mask = (1u << bits) - 1;
    uint32_t slot = HashArt(bits, art);
    while (slots[slot] != NULL && slots[slot] != art) slot = (slot + 1) & mask;
    slots[slot] = art;
}

ASBoolean HasMember(const MemberSet *set, AIArtHandle art) {
    if (set->used == 0) return false;
    uint32_t mask = (1u << set->bits) - 1;
    for (uint32_t slot = HashArt(set->bits, art); set->slots[slot] != NULL; slot = (slot + 1) & mask)
        if (set->slots[slot] == art) return true;
    return false;
}

/* Adds `art`, doubling the table while it is more than half full. False,
   with the set as it was, when the host has no memory for a larger one. */
ASBoolean AddMember(MemberSet *set, AIArtHandle art) {
    if (set->slots == NULL || (set->used + 1) * 2 > (1u << set->bits)) {
        uint32_t bits = set->slots == NULL ? 6 : set->bits + 1;
        if (bits > 31) return false;
        size_t bytes = ((size_t)1 << bits) * sizeof(AIArtHandle);
        AIMdMemoryHandle memory = NULL;
        if (sAIMdMemory->MdMemoryNewHandle(bytes, &memory) != kNoErr || memory == NULL) return false;
        AIArtHandle *slots = (AIArtHandle *)*memory;
        memset(slots, 0, bytes);
        if (set->slots != NULL) {
            for (uint32_t i = 0; i < (1u << set->bits); ++i)
                if (set->slots[i] != NULL) PutMember(slots, bits, set->slots[i]);
            sAIMdMemory->MdMemoryDisposeHandle(set->memory);
        }
        set->memory = memory;
        set->slots = slots;
        set->bits = bits;
    }
    if (!HasMember(set, art)) {
        PutMember(set->slots, set->bits, art);
        ++set->used;
    }
    return true;
}

/* Takes a member of a compound path out of the list. Without memory for the
   set the list is searched for it instead; that is slower, not different. */
void RemoveMember(MemberSet *set, AIArtHandle *list, ASInt32 count, AIArtHandle member) {
    if (AddMember(set, member)) return;
    for (ASInt32 i = 0; i < count; ++i)
        if (list[i] == member) list[i] = NULL;
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
    MemberSet members = {NULL, NULL, 0, 0};
    AIRealRect all = {0, 0, 0, 0};
    ASBoolean found = false;
    for (ASInt32 i = 0; i < g->ArtCount; ++i) {
        AIArtHandle art = list[i];
        if (art == NULL) continue;
        /* A member of a compound path met before: it is worked on through
           the compound path, so it must not come up a second time. */
        if (HasMember(&members, art)) {
            list[i] = NULL;
            continue;
        }
        AIRealRect bounds;
        if (sAIArt->GetArtBounds(art, &bounds) == kNoErr) {
            GrowUnion(&all, &bounds, !found);
            found = true;
        }
        ASInt16 type = kUnknownArt;
        sAIArt->GetArtType(art, &type);
        if (type != kCompoundPathArt) continue;
        /* Its members mostly follow it in the list, and leave from there;
           the others are looked up when met. */
        ASInt32 after = i + 1;
        AIArtHandle child = NULL;
        if (sAIArt->GetArtFirstChild(art, &child) != kNoErr) child = NULL;
        while (child != NULL) {
            if (after < g->ArtCount && list[after] == child) list[after++] = NULL;
            else RemoveMember(&members, list, g->ArtCount, child);
            AIArtHandle next = NULL;
            if (sAIArt->GetArtSibling(child, &next) != kNoErr) next = NULL;
            child = next;
        }
    }
    /* Members listed before their compound path leave too. */
    if (members.used > 0) {
        for (ASInt32 i = 0; i < g->ArtCount; ++i)
            if (list[i] != NULL && HasMember(&members, list[i])) list[i] = NULL;
    }
    if (members.memory != NULL) sAIMdMemory->MdMemoryDisposeHandle(members.memory);
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
