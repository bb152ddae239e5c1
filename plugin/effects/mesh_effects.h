/* Gradient Mesh and Warp Mesh: the tools that recolour and move the vertices
   of gradient meshes, each vertex weighed by itself under the brush, with
   patterns that carry a change to mirrored vertices. */
#ifndef SMEARCRAFT_MESH_EFFECTS_H
#define SMEARCRAFT_MESH_EFFECTS_H

#include "brush_step.h"

SPErr GradientMeshEffect(const DragStep *step, ArtStep *art);
SPErr WarpMeshEffect(const DragStep *step, ArtStep *art);
/* The Warp Mesh's strength for the next drag step. */
void WarpMeshAfterLoop(const DragStep *step);

#endif
