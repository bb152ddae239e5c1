// The Matching Art suite: art objects picked by type and user attributes.
#include <vector>

#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

const char *const kSuite = kAIMatchingArtSuite;

// The list a search fills before it is handed over: kept from one search to
// the next, so that a mouse down over a large drawing does not grow it
// again from nothing (the host runs one message at a time).
std::vector<AIArtHandle> &emptyList() {
    static std::vector<AIArtHandle> list;
    list.clear();
    return list;
}

// Hands `found` to the caller in a new memory handle. No match gives a null
// handle and a count of 0: there is nothing for the caller to release.
SPErr deliver(const std::vector<AIArtHandle> &found, AIArtHandle ***matches, ASInt32 *numMatches) {
    if (found.empty()) return kNoErr;
    AIMdMemoryHandle block = newMemoryHandle(found.size() * sizeof(AIArtHandle), found.data());
    if (!block) return kOutOfMemoryErr;
    *matches = reinterpret_cast<AIArtHandle **>(block);
    *numMatches = ASInt32(found.size());
    return kNoErr;
}

bool matchesSpec(const Art &art, const AIMatchingArtSpec &wanted) {
    return art.type == wanted.type && (art.userAttr & wanted.whichAttr) == wanted.attr;
}

SPErr getMatchingArt(const AIMatchingArtSpec *specs, ASInt16 numSpecs, AIArtHandle ***matches,
                     ASInt32 *numMatches) {
    if (matches) *matches = nullptr;
    if (numMatches) *numMatches = 0;
    if (SPErr e = enterSuite(kSuite, "GetMatchingArt", logArgs([&] {
            std::string s;
            for (ASInt16 i = 0; specs && i < numSpecs; ++i)
                s += (i ? " " : "") + std::to_string(specs[i].type) + "/" + std::to_string(specs[i].whichAttr) +
                     "/" + std::to_string(specs[i].attr);
            return s;
        })))
        return e;
    if (!matches || !numMatches || numSpecs < 0 || (numSpecs > 0 && !specs)) return kBadParameterErr;
    std::vector<AIArtHandle> &found = emptyList();
    currentDocument().forEachArt([&](Art &art) {
        for (ASInt16 i = 0; i < numSpecs; ++i)
            if (matchesSpec(art, specs[i])) {
                found.push_back(toHandle(&art));
                return;
            }
    });
    return deliver(found, matches, numMatches);
}

SPErr getSelectedArt(AIArtHandle ***matches, ASInt32 *numMatches) {
    if (matches) *matches = nullptr;
    if (numMatches) *numMatches = 0;
    if (SPErr e = enterSuite(kSuite, "GetSelectedArt")) return e;
    if (!matches || !numMatches) return kBadParameterErr;
    std::vector<AIArtHandle> &found = emptyList();
    currentDocument().forEachArt([&](Art &art) {
        if (art.selected()) found.push_back(toHandle(&art));
    });
    return deliver(found, matches, numMatches);
}

const AIMatchingArtSuite kTable = {getMatchingArt, getSelectedArt};

}  // namespace

void registerMatchingArtSuite(SuiteRegistry &r) {
    r.add(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, &kTable);
}

}  // namespace smear
