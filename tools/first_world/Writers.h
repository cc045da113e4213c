#ifndef MOSSDEN_TOOLS_FIRST_WORLD_WRITERS_H
#define MOSSDEN_TOOLS_FIRST_WORLD_WRITERS_H

// The first world's plain data handed to the media pipeline's writers.
#include <string>

#include "MeshData.h"

namespace MediaGen {
class HeadlessOgre;
}

namespace FirstWorld {

// A static mesh with its vertex colours, through the pipeline's writer.
void writeStaticMesh(MediaGen::HeadlessOgre& ogre, const MeshData& mesh, const std::string& path);

// A skinned mesh whose vertices follow their Vertex::bone with full weight,
// and its skeleton. The pipeline's mesh writer keeps every vertex element in
// one buffer; the engine's software skinning (the fixed-function path this
// game renders with) swaps the buffer that holds the positions for a blended
// copy whose other elements are left undefined, so colours and texture
// coordinates would be lost. Here positions and normals get a buffer of
// their own.
void writeSkinnedMesh(MediaGen::HeadlessOgre& ogre, const MeshData& mesh, const SkeletonData& skeleton,
                      const std::string& meshPath, const std::string& skeletonPath,
                      const std::string& skeletonName);

}  // namespace FirstWorld

#endif
