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
// and its skeleton, through the pipeline's writers.
void writeSkinnedMesh(MediaGen::HeadlessOgre& ogre, const MeshData& mesh, const SkeletonData& skeleton,
                      const std::string& meshPath, const std::string& skeletonPath,
                      const std::string& skeletonName);

}  // namespace FirstWorld

#endif
