#ifndef MOSSDEN_TOOLS_THIRD_WORLD_ROCKMESH_H
#define MOSSDEN_TOOLS_THIRD_WORLD_ROCKMESH_H

// A rock of the field as a mesh: the closed surface of its shape with
// smooth normals, painted vertex colours (stone, moss, darker hollows,
// glowing crystal) and box-projected texture coordinates. Rock and crystal
// are two parts with their own materials over one shared vertex list.
#include "mediagen/MeshData.h"

#include "FaceLayout.h"

namespace ThirdWorld {

MediaGen::MeshData buildRockMesh(const RockPiece& rock);

}  // namespace ThirdWorld

#endif
