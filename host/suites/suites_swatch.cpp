// The Swatch List suite. The document has one list; a null list handle
// stands for it, as does the handle of the document itself.
#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

const char *const kSuite = kAISwatchListSuite;

std::vector<Swatch *> *toList(AISwatchListRef list) {
    Document &doc = currentDocument();
    if (list && list != reinterpret_cast<AISwatchListRef>(&doc)) return nullptr;
    return &doc.swatches;
}

ASInt32 countSwatches(AISwatchListRef list) {
    currentHost().log.record(kSuite, "CountSwatches");
    const auto *swatches = toList(list);
    return swatches ? ASInt32(swatches->size()) : 0;
}

AISwatchRef getNthSwatch(AISwatchListRef list, ASInt32 index) {
    logCall(kSuite, "GetNthSwatch", logArgs([&] { return std::to_string(index); }));
    const auto *swatches = toList(list);
    if (!swatches || index < 0 || size_t(index) >= swatches->size()) return nullptr;
    return toHandle((*swatches)[size_t(index)]);
}

// A name no swatch of the list has yet: "Swatch N", N counting on from the
// list's length.
std::string freshName(const std::vector<Swatch *> &swatches) {
    for (size_t n = swatches.size() + 1;; ++n) {
        std::string name = "Swatch " + std::to_string(n);
        bool taken = false;
        for (const Swatch *s : swatches) taken = taken || s->name == name;
        if (!taken) return name;
    }
}

// Inserts a new swatch before entry `index`; an index outside the list
// appends. The new swatch holds black ink until its colour is set.
AISwatchRef insertNthSwatch(AISwatchListRef list, ASInt32 index) {
    logCall(kSuite, "InsertNthSwatch", logArgs([&] { return std::to_string(index); }));
    auto *swatches = toList(list);
    if (!swatches) return nullptr;
    AIColor black{};
    black.kind = kGrayColor;
    black.c.g.gray = 1.0f;
    const std::string name = freshName(*swatches);
    Swatch *swatch = currentDocument().addSwatch(name, black);  // appended
    if (index >= 0 && size_t(index) < swatches->size() - 1) {
        swatches->pop_back();
        swatches->insert(swatches->begin() + index, swatch);
    }
    return toHandle(swatch);
}

SPErr getAIColor(AISwatchRef h, AIColor *color) {
    if (SPErr e = enterSuite(kSuite, "GetAIColor")) return e;
    const Swatch *swatch = toSwatch(h);
    if (!swatch || !color) return kBadParameterErr;
    *color = swatch->color;
    return kNoErr;
}

SPErr setAIColor(AISwatchRef h, const AIColor *color) {
    if (SPErr e = enterSuite(kSuite, "SetAIColor")) return e;
    Swatch *swatch = toSwatch(h);
    if (!swatch || !color || !isValidColor(*color)) return kBadParameterErr;
    currentDocument().willChange(*swatch);
    swatch->color = *color;
    return kNoErr;
}

SPErr getSwatchName(AISwatchRef h, char *name, ASInt32 maxLength) {
    if (SPErr e = enterSuite(kSuite, "GetSwatchName")) return e;
    const Swatch *swatch = toSwatch(h);
    if (!swatch) return kBadParameterErr;
    return copyText(swatch->name, name, maxLength);
}

const AISwatchListSuite kTable = {countSwatches, getNthSwatch,  insertNthSwatch,
                                  getAIColor,    setAIColor,    getSwatchName};

}  // namespace

void registerSwatchListSuite(SuiteRegistry &r) { r.add(kAISwatchListSuite, kAISwatchListSuiteVersion, &kTable); }

}  // namespace smear
