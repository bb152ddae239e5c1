#include "stroke_outcome.h"

#include <algorithm>

#include "document.h"
#include "option_catalogue.h"
#include "option_fields.h"

namespace smear {

namespace {

// The brush shape that weighs what lies outside the brush, not inside.
constexpr int kInvertedBrushShape = 1;

struct BrushOptions {
    double hx = 0, hy = 0;
    int shape = 0;
    bool pressureModification = false;
    bool read = false;
};

BrushOptions readBrushOptions(Host &host) {
    BrushOptions b;
    const OptionField *hx = findOptionField("brushSizeHorizontal");
    const OptionField *hy = findOptionField("brushSizeVertical");
    const OptionField *shape = findOptionField("brushShape");
    const OptionField *pressure = findOptionField("pressureModification");
    if (!hx || !hy || !shape || !pressure) return b;
    b.read = withPluginGlobals(host, [&](void *globals) {
        b.hx = readField(globals, *hx);
        b.hy = readField(globals, *hy);
        b.shape = int(readField(globals, *shape));
        b.pressureModification = readField(globals, *pressure) != 0;
    });
    return b;
}

int toolOf(const char *field) {
    const OptionField *f = findOptionField(field);
    return f ? f->tool : -2;
}

bool overlaps(const AIRealRect &a, const AIRealRect &b) {
    return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

// Whether any selected art lies within twice the brush's half sizes of a
// point of the stroke: the furthest any brush shape reaches (a pressure
// only shrinks the brush).
bool anySelectedWithinReach(const Document &doc, const std::vector<AIRealPoint> &points, double hx, double hy) {
    bool found = false;
    doc.forEachArt([&](const Art &art) {
        AIRealRect bounds;
        if (found || !art.selected() || !artBounds(art, bounds)) return;
        for (const AIRealPoint &p : points) {
            const AIRealRect reach{AIReal(p.h - 2 * hx), AIReal(p.v + 2 * hy), AIReal(p.h + 2 * hx),
                                   AIReal(p.v - 2 * hy)};
            if (overlaps(reach, bounds)) {
                found = true;
                return;
            }
        }
    });
    return found;
}

}  // namespace

std::string whyStrokeChangedNothing(Host &host, int toolId, const std::vector<AIRealPoint> &points,
                                    const std::vector<ASInt16> &pressures) {
    const Document &doc = host.document();
    bool anySelected = false, meshSelected = false;
    doc.forEachArt([&](const Art &art) {
        if (!art.selected()) return;
        anySelected = true;
        meshSelected |= art.type == kMeshArt;
    });
    if (!anySelected) return "nothing is selected";
    if (toolId == toolOf("swatchIndex") && doc.swatches.empty())
        return "the drawing has no swatches for the Swatches tool to apply";
    if (toolId == toolOf("styleIndex") && doc.graphicStyles.empty())
        return "the drawing has no named graphic styles for the Styles tool to apply";
    if ((toolId == toolOf("meshColorChannel1") || toolId == toolOf("warpShiftHorizontal")) && !meshSelected)
        return "no gradient mesh is selected, and the mesh tools change meshes only";
    const BrushOptions brush = readBrushOptions(host);
    if (!brush.read) return "";
    const bool drags = pressures.size() > 1;
    if (brush.pressureModification && host.pressureSupport && drags &&
        std::all_of(pressures.begin() + 1, pressures.end(), [](ASInt16 p) { return p == 0; }))
        return "the pen pressure was 0 all along, and pressureModification scales every change by it";
    if (brush.shape != kInvertedBrushShape && !anySelectedWithinReach(doc, points, brush.hx, brush.hy)) {
        const OptionField &hx = *findOptionField("brushSizeHorizontal");
        const OptionField &hy = *findOptionField("brushSizeVertical");
        return "no selected object lies under the brush (" + hx.name + " " + formatFieldValue(hx, brush.hx) + ", " +
               hy.name + " " + formatFieldValue(hy, brush.hy) + ")";
    }
    return "";
}

}  // namespace smear
