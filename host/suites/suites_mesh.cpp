// The Mesh and Mesh Vertex suites: a gradient mesh's grid and its vertices.
#include <cmath>

#include "suite_parts.h"
#include "suite_support.h"

namespace smear {

namespace {

const char *const kMesh = kAIMeshSuite;
const char *const kVertex = kAIMeshVertexSuite;

// A mesh whose vertex vector holds its whole (I + 1) x (J + 1) grid.
Art *toMesh(AIArtHandle h) {
    Art *art = toArt(h);
    if (!art || art->type != kMeshArt || art->meshI < 0 || art->meshJ < 0) return nullptr;
    const size_t expected = (size_t(art->meshI) + 1) * (size_t(art->meshJ) + 1);
    return art->vertices.size() == expected ? art : nullptr;
}

SPErr getSize(AIArtHandle h, ASInt32 *i, ASInt32 *j) {
    if (SPErr e = enterSuite(kMesh, "GetSize")) return e;
    const Art *mesh = toMesh(h);
    if (!mesh || !i || !j) return kBadParameterErr;
    *i = mesh->meshI;
    *j = mesh->meshJ;
    return kNoErr;
}

SPErr getVertex(AIArtHandle h, ASInt32 i, ASInt32 j, AIMeshVertexHandle *vertex) {
    // The plug-in does not check this call: a failed one must not leave it
    // holding a stale vertex.
    if (vertex) *vertex = nullptr;
    if (SPErr e = enterSuite(kMesh, "GetVertex", logArgs([&] { return std::to_string(i) + " " + std::to_string(j); })))
        return e;
    Art *mesh = toMesh(h);
    if (!mesh || !vertex || i < 0 || j < 0 || i > mesh->meshI || j > mesh->meshJ) return kBadParameterErr;
    *vertex = currentHost().vertexHandle(*mesh, size_t(i) * size_t(mesh->meshJ + 1) + size_t(j));
    return kNoErr;
}

const AIMeshSuite kMeshTable = {getSize, getVertex};

// A vertex whose mesh takes changes: kBadParameterErr for a handle that no
// longer resolves, kLockedLayerErr for a mesh on a locked layer.
SPErr editableVertex(AIMeshVertexHandle h, MeshVertex *&v, Art **owner = nullptr) {
    Art *mesh = nullptr;
    v = toMeshVertex(h, &mesh);
    if (!v) return kBadParameterErr;
    if (owner) *owner = mesh;
    if (isLocked(mesh->layer)) return kLockedLayerErr;
    currentDocument().willChange(*mesh);
    return kNoErr;
}

SPErr getPoint(AIMeshVertexHandle h, AIRealPoint *point) {
    if (SPErr e = enterSuite(kVertex, "GetPoint")) return e;
    const MeshVertex *v = toMeshVertex(h);
    if (!v || !point) return kBadParameterErr;
    *point = v->point;
    return kNoErr;
}

SPErr setPoint(AIMeshVertexHandle h, const AIRealPoint *point) {
    if (SPErr e = enterSuite(kVertex, "SetPoint", logArgs([&] {
            return point ? std::to_string(point->h) + " " + std::to_string(point->v) : std::string("null");
        })))
        return e;
    MeshVertex *v = nullptr;
    Art *mesh = nullptr;
    if (SPErr e = editableVertex(h, v, &mesh)) return e;
    if (!point || !isFinite(*point)) return kBadParameterErr;
    v->point = *point;
    geometryChanged(*mesh);
    return kNoErr;
}

SPErr getColor(AIMeshVertexHandle h, AIColor *color) {
    if (SPErr e = enterSuite(kVertex, "GetColor")) return e;
    const MeshVertex *v = toMeshVertex(h);
    if (!v || !color) return kBadParameterErr;
    *color = v->color;
    return kNoErr;
}

SPErr setColor(AIMeshVertexHandle h, const AIColor *color) {
    if (SPErr e = enterSuite(kVertex, "SetColor")) return e;
    MeshVertex *v = nullptr;
    if (SPErr e = editableVertex(h, v)) return e;
    if (!color || !isValidColor(*color)) return kBadParameterErr;
    v->color = *color;
    return kNoErr;
}

const AIMeshVertexSuite kVertexTable = {getPoint, setPoint, getColor, setColor};

}  // namespace

void registerMeshSuites(SuiteRegistry &r) {
    r.add(kAIMeshSuite, kAIMeshSuiteVersion, &kMeshTable);
    r.add(kAIMeshVertexSuite, kAIMeshVertexSuiteVersion, &kVertexTable);
}

}  // namespace smear
