#ifndef MOSSDEN_TOOLS_MEDIAGEN_OGREEXPORT_H
#define MOSSDEN_TOOLS_MEDIAGEN_OGREEXPORT_H

// Writes plain mesh and skeleton data with the engine's own serializers,
// without a window or render system. Create one HeadlessOgre per process
// before the first write; it owns the engine objects the serializers need.
#include <memory>
#include <string>

namespace Ogre {
class LogManager;
class Root;
class HardwareBufferManager;
class MeshLodGenerator;
}  // namespace Ogre

namespace MediaGen {

class MeshData;
class SkeletonData;

class HeadlessOgre {
public:
    HeadlessOgre();
    ~HeadlessOgre();
    HeadlessOgre(const HeadlessOgre&) = delete;
    HeadlessOgre& operator=(const HeadlessOgre&) = delete;

    // Writes `mesh` as a binary .mesh with an edge list (stencil shadows)
    // and the mesh's coarser levels of detail.
    // With a skeleton, the file links to `skeletonName` and carries the
    // mesh's bone weights; the skeleton itself is written by writeSkeleton.
    void writeMesh(const MeshData& mesh, const std::string& path,
                   const std::string& skeletonName = "", const SkeletonData* skeleton = nullptr);
    void writeSkeleton(const SkeletonData& skeleton, const std::string& path);

private:
    // Created in this order; the destructor releases the level-of-detail
    // generator, the root, then the buffer manager, then the log (the order
    // that exits cleanly).
    std::unique_ptr<Ogre::LogManager> log;
    std::unique_ptr<Ogre::Root> root;
    std::unique_ptr<Ogre::HardwareBufferManager> buffers;
    std::unique_ptr<Ogre::MeshLodGenerator> lodGenerator;
    int counter = 0;  // makes resource names unique within the process
};

}  // namespace MediaGen

#endif
