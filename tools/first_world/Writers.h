#ifndef MOSSDEN_TOOLS_FIRST_WORLD_WRITERS_H
#define MOSSDEN_TOOLS_FIRST_WORLD_WRITERS_H

// Serialises plain data into the engine's binary formats and PNG. Needs an
// Engine alive for the whole run (offline root: no window, no render system).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MeshData.h"

namespace Ogre {
class Root;
class LogManager;
class DefaultHardwareBufferManager;
}  // namespace Ogre

namespace FirstWorld {

class Engine {
public:
    explicit Engine(const std::string& pluginDir);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

private:
    Ogre::LogManager* log;
    Ogre::Root* root;
    Ogre::DefaultHardwareBufferManager* buffers;
};

// skeletonName empty: a static mesh; otherwise a skinned mesh whose
// vertices follow their Vertex::bone with full weight.
void writeMesh(const MeshData& mesh, const std::string& path, const std::string& name,
               const std::string& skeletonName = "");
void writeSkeleton(const SkeletonData& skeleton, const std::string& path, const std::string& name);

// RGBA, 8 bits per channel, rows from the top.
struct Picture {
    int width, height;
    std::vector<uint8_t> rgba;
    Picture(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4, 255) {}
    void set(int x, int y, float r, float g, float b, float a = 1.0f);
};
void writePng(const Picture& picture, const std::string& path);

}  // namespace FirstWorld

#endif
