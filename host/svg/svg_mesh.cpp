#include "svg_mesh.h"

#include "svg_color_codec.h"

namespace smear::svg {

int patchEdges(int row, int col, bool all, MeshEdge out[4]) {
    const MeshCorner tl{row, col}, tr{row, col + 1}, br{row + 1, col + 1}, bl{row + 1, col};
    // A corner's colour is new unless the patch above or to the left has it.
    const bool above = row > 0, left = col > 0;
    const MeshEdge edges[4] = {{tl, tr, !above && !left}, {tr, br, !above}, {br, bl, true}, {bl, tl, !left}};
    int n = 0;
    for (int k = 0; k < 4; ++k) {
        const bool shared = (k == 0 && above) || (k == 3 && left);
        if (all || !shared) out[n++] = edges[k];
    }
    return n;
}

bool isMeshGrid(const Art &art) {
    if (art.meshI < 1 || art.meshJ < 1) return false;
    // Each side first, so that the product cannot overflow on 32 bits.
    const size_t across = size_t(art.meshI) + 1, down = size_t(art.meshJ) + 1;
    if (across > kMaxMeshVertices || down > kMaxMeshVertices / across) return false;
    return art.vertices.size() == across * down;
}

std::string meshStopColour(const AIColor &color) {
    double rgb[3] = {0, 0, 0};
    displayRgb(color, rgb);
    return hexColor(rgb);
}

}  // namespace smear::svg
