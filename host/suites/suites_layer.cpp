// The Layer suite. Layers are counted from the top: layer 0 is the one
// painted last, as a layers palette lists them.
#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

const char *const kSuite = kAILayerSuite;

SPErr insertLayer(AILayerHandle base, ASInt16 paintOrder, AILayerHandle *out) {
    if (out) *out = nullptr;
    if (SPErr e = enterSuite(kSuite, "InsertLayer", logArgs([&] {
            return std::string(base ? "layer " : "null ") + std::to_string(paintOrder);
        })))
        return e;
    if (!out) return kBadParameterErr;
    Document &doc = currentDocument();
    switch (paintOrder) {
    case kPlaceAboveAll:
    case kPlaceBelowAll:
        break;
    case kPlaceAbove:
    case kPlaceBelow: {
        // The base must be one of this document's layers.
        bool found = false;
        for (const Layer *l : doc.layers) found = found || l == toLayer(base);
        if (!base || !found) return kBadParameterErr;
        break;
    }
    default:
        return kBadParameterErr;  // this host has no sublayers
    }
    *out = toHandle(doc.insertLayer(paintOrder, toLayer(base)));
    return kNoErr;
}

SPErr countLayers(ASInt32 *count) {
    if (SPErr e = enterSuite(kSuite, "CountLayers")) return e;
    if (!count) return kBadParameterErr;
    *count = ASInt32(currentDocument().layers.size());
    return kNoErr;
}

SPErr getNthLayer(ASInt32 n, AILayerHandle *out) {
    if (out) *out = nullptr;
    if (SPErr e = enterSuite(kSuite, "GetNthLayer", logArgs([&] { return std::to_string(n); }))) return e;
    const auto &layers = currentDocument().layers;
    if (!out) return kBadParameterErr;
    if (n < 0 || size_t(n) >= layers.size()) return kNoSuchEntryErr;
    *out = toHandle(layers[layers.size() - 1 - size_t(n)]);
    return kNoErr;
}

SPErr getCurrentLayer(AILayerHandle *out) {
    if (out) *out = nullptr;
    if (SPErr e = enterSuite(kSuite, "GetCurrentLayer")) return e;
    if (!out) return kBadParameterErr;
    Layer *layer = currentDocument().currentLayer();
    if (!layer) return kNoSuchEntryErr;
    *out = toHandle(layer);
    return kNoErr;
}

SPErr getLayerTitle(AILayerHandle h, char *title, ASInt32 maxLength) {
    if (SPErr e = enterSuite(kSuite, "GetLayerTitle")) return e;
    const Layer *layer = toLayer(h);
    if (!layer) return kBadParameterErr;
    return copyText(layer->name, title, maxLength);
}

const AILayerSuite kTable = {insertLayer, countLayers, getNthLayer, getCurrentLayer, getLayerTitle};

}  // namespace

void registerLayerSuite(SuiteRegistry &r) { r.add(kAILayerSuite, kAILayerSuiteVersion, &kTable); }

}  // namespace smear
