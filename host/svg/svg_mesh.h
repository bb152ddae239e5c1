// Gradient meshes as SVG 2 mesh gradients, the layout the writer and the
// reader share.
//
// Mesh art of I x J patches is a mesh gradient of J rows of I patches: the
// art's vertex (i, j) is the gradient's corner (row j, column i), so i runs
// along a row and j down the rows. Patch (r, c) has the corners (r, c) top
// left, (r, c + 1) top right, (r + 1, c + 1) bottom right and (r + 1, c)
// bottom left. Each stop of a patch is one edge, in the order top, right,
// bottom, left, its path running from the current point (the corner the
// edge starts at) and its colour that corner's; edges and corner colours an
// earlier patch gave are left out, so the first patch has four stops, the
// others of the first row three (no left edge), the first of every other
// row three (no top edge) and all the rest two (right and bottom).
#pragma once

#include <cstddef>
#include <string>

#include "document.h"

namespace smear::svg {

// The largest mesh read or drawn as a mesh gradient: 1001 x 1001 vertices
// (1000 x 1000 patches, or as many vertices in another shape).
constexpr size_t kMaxMeshVertices = 1001 * 1001;

struct MeshCorner {
    int row = 0, col = 0;
};

struct MeshEdge {
    MeshCorner from, to;
    bool givesColour = false;  // whether its stop gives the colour at `from`
};

// The edges patch (row, col) lists as stops, in order; `all` gives the four
// edges of a patch that lists every one (the colours of corners an earlier
// patch gave are not taken again). Returns how many there are.
int patchEdges(int row, int col, bool all, MeshEdge out[4]);

// Whether the art is a grid a mesh gradient can draw: at least one patch
// each way, one vertex per corner, not too many.
bool isMeshGrid(const Art &art);

// The colour a vertex shows as in a stop: #rrggbb, black for a colour that
// shows none of its own (none, a gradient, a pattern).
std::string meshStopColour(const AIColor &color);

}  // namespace smear::svg
