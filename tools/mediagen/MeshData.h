#ifndef MOSSDEN_TOOLS_MEDIAGEN_MESHDATA_H
#define MOSSDEN_TOOLS_MEDIAGEN_MESHDATA_H

// A mesh as plain data: one shared vertex list (position, normal, one UV
// set, optional colour) and parts, each a triangle list with a material
// name. Build, deform and combine it freely; OgreExport turns it into a
// binary .mesh. Triangles are counter-clockwise seen from the front.
#include <OgreColourValue.h>
#include <OgreMatrix4.h>
#include <OgreVector.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace MediaGen {

struct MeshVertex {
    Ogre::Vector3 position = Ogre::Vector3::ZERO;
    Ogre::Vector3 normal = Ogre::Vector3::ZERO;
    Ogre::Vector2 uv = Ogre::Vector2::ZERO;
    Ogre::ColourValue colour = Ogre::ColourValue::White;
};

// One skinning weight; a vertex may have up to four.
struct MeshBoneWeight {
    std::uint32_t vertex;
    std::uint16_t bone;  // bone handle in the skeleton
    float weight;
};

struct MeshPart {
    std::string material;
    std::vector<std::uint32_t> indices;  // triangle list, or point list with `points`
    bool points = false;
};

// A coarser level of detail: from `distance` units between the camera and
// the mesh's bounds on, the engine draws it with `reduction` (0..1) of its
// vertices collapsed away.
struct MeshLod {
    float distance;
    float reduction;
};

class MeshData {
public:
    std::vector<MeshVertex> vertices;
    std::vector<MeshPart> parts;
    std::vector<MeshBoneWeight> boneWeights;
    // Write the vertex colours into the file (VES_DIFFUSE).
    bool hasColours = false;
    // Coarser levels written with the mesh, nearest first (triangles only).
    std::vector<MeshLod> lods;

    std::uint32_t addVertex(const Ogre::Vector3& position,
                            const Ogre::Vector3& normal = Ogre::Vector3::ZERO,
                            const Ogre::Vector2& uv = Ogre::Vector2::ZERO);
    std::uint32_t addVertex(const MeshVertex& v) {
        vertices.push_back(v);
        return std::uint32_t(vertices.size() - 1);
    }
    // The part drawn with `material`, created on first use.
    MeshPart& part(const std::string& material);
    void addTriangle(const std::string& material, std::uint32_t a, std::uint32_t b,
                     std::uint32_t c);
    void addQuad(const std::string& material, std::uint32_t a, std::uint32_t b, std::uint32_t c,
                 std::uint32_t d);
    // A point of `material`, whose part then holds points only (a material
    // draws either triangles or points).
    void addPoint(const std::string& material, std::uint32_t a);

    // Area-weighted smooth normals. With mergeByPosition, vertices that share
    // a position (UV seams) share one normal, so seams do not show.
    void computeNormals(bool mergeByPosition = true);
    // Gives every triangle its own three vertices with the face normal.
    void makeFlat();
    // Moves every vertex by f(position) (positions only; recompute normals).
    void displace(const std::function<Ogre::Vector3(const Ogre::Vector3&)>& f);
    void transform(const Ogre::Matrix4& m);
    // Appends other's vertices and parts (parts merge by material name).
    void append(const MeshData& other, const Ogre::Matrix4& m = Ogre::Matrix4::IDENTITY);
    void assignBone(std::uint32_t vertex, std::uint16_t bone, float weight);
    // Gives every vertex from `first` on to `bone` with full weight.
    void assignBoneFrom(std::uint32_t first, std::uint16_t bone);

    Ogre::Vector3 boundsMin() const;
    Ogre::Vector3 boundsMax() const;
    // Distance of the farthest vertex from the origin.
    float boundingRadius() const;
    std::size_t triangleCount() const;

    // Primitives centred on the origin, with normals and UVs.
    static MeshData uvSphere(float radius, int segments, int rings, const std::string& material);
    static MeshData box(const Ogre::Vector3& halfSize, const std::string& material);
    // Along +Y from y = 0 to height; radius r0 at the bottom, r1 at the top.
    static MeshData cylinder(float r0, float r1, float height, int segments,
                             const std::string& material, bool caps = true);
    // In the XZ plane facing +Y; UVs repeat uvRepeat times across.
    static MeshData grid(float width, float depth, int nx, int nz, const std::string& material,
                         float uvRepeat = 1.0f);
    // Surface of revolution around +Y of a profile of (radius, height)
    // points from bottom to top; U runs around, V along the profile.
    static MeshData lathe(const std::vector<Ogre::Vector2>& profile, int segments,
                          const std::string& material);
};

// A patch of (rows + 1) x (cols + 1) vertices made by f(u, v) -> MeshVertex,
// u and v in 0..1, joined into triangles of `material`; `flip` turns their
// winding over.
template <class F>
void addPatch(MeshData& mesh, const std::string& material, int rows, int cols, F f,
              bool flip = false) {
    const std::uint32_t base = std::uint32_t(mesh.vertices.size());
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) mesh.addVertex(f(float(r) / rows, float(c) / cols));
    auto& indices = mesh.part(material).indices;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const std::uint32_t a = base + r * (cols + 1) + c, b = a + 1, d = a + cols + 1, e = d + 1;
            if (flip)
                indices.insert(indices.end(), {a, b, d, b, e, d});
            else
                indices.insert(indices.end(), {a, d, b, b, d, e});
        }
}

}  // namespace MediaGen

#endif
