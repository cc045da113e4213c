#ifndef MOSSDEN_TOOLS_FIRST_WORLD_MESHDATA_H
#define MOSSDEN_TOOLS_FIRST_WORLD_MESHDATA_H

// Plain geometry for the first scene's world: built by the shape code,
// written by the writers. No engine state is needed to build it.
#include <OgreColourValue.h>
#include <OgreQuaternion.h>
#include <OgreVector2.h>
#include <OgreVector3.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace FirstWorld {

struct Vertex {
    Ogre::Vector3 position;
    Ogre::Vector3 normal;
    Ogre::Vector2 uv;
    Ogre::ColourValue colour = Ogre::ColourValue::White;
    int bone = 0;  // skinned meshes: the one bone that moves this vertex
};

// One material's triangles; indices refer to MeshData::vertices.
struct Part {
    std::string material;
    std::vector<uint32_t> indices;
};

struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<Part> parts;

    Part& part(const std::string& material);
    uint32_t add(const Vertex& v) {
        vertices.push_back(v);
        return static_cast<uint32_t>(vertices.size() - 1);
    }
    void triangle(Part& p, uint32_t a, uint32_t b, uint32_t c) {
        p.indices.insert(p.indices.end(), {a, b, c});
    }
    // Appends another mesh moved by (orientation, scale, offset).
    void append(const MeshData& other, const Ogre::Vector3& offset,
                const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY,
                const Ogre::Vector3& scale = Ogre::Vector3::UNIT_SCALE);
    // Recomputes normals from the triangles (area weighted).
    void smoothNormals();
    size_t triangleCount() const;
};

// A grid of (rows + 1) x (cols + 1) vertices made by f(u, v) with u, v in
// 0..1, joined into triangles facing the side given by the winding.
template <class F>
void grid(MeshData& mesh, const std::string& material, int rows, int cols, F f,
          bool flip = false) {
    Part& part = mesh.part(material);
    const uint32_t base = static_cast<uint32_t>(mesh.vertices.size());
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) mesh.add(f(float(r) / rows, float(c) / cols));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const uint32_t a = base + r * (cols + 1) + c, b = a + 1, d = a + cols + 1, e = d + 1;
            if (flip) {
                mesh.triangle(part, a, b, d);
                mesh.triangle(part, b, e, d);
            } else {
                mesh.triangle(part, a, d, b);
                mesh.triangle(part, b, d, e);
            }
        }
}

// A bone of a generated skeleton; parent -1 for a root. Position is
// relative to the parent in the binding pose.
struct BoneData {
    std::string name;
    int parent = -1;
    Ogre::Vector3 position;
    Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
};

struct KeyFrame {
    float time;
    Ogre::Vector3 translate = Ogre::Vector3::ZERO;  // relative to the binding pose
    Ogre::Quaternion rotate = Ogre::Quaternion::IDENTITY;
};

struct AnimationData {
    std::string name;
    float length;
    std::map<int, std::vector<KeyFrame>> tracks;  // bone index -> keys
};

struct SkeletonData {
    std::vector<BoneData> bones;
    std::vector<AnimationData> animations;
};

}  // namespace FirstWorld

#endif
