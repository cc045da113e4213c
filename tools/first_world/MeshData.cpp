#include "MeshData.h"

namespace FirstWorld {

Part& MeshData::part(const std::string& material) {
    for (Part& p : parts)
        if (p.material == material) return p;
    parts.push_back(Part{material, {}});
    return parts.back();
}

void MeshData::append(const MeshData& other, const Ogre::Vector3& offset,
                      const Ogre::Quaternion& orientation, const Ogre::Vector3& scale) {
    const uint32_t base = static_cast<uint32_t>(vertices.size());
    for (Vertex v : other.vertices) {
        v.position = orientation * (v.position * scale) + offset;
        v.normal = orientation * (v.normal / scale);
        v.normal.normalise();
        vertices.push_back(v);
    }
    for (const Part& p : other.parts) {
        Part& mine = part(p.material);
        for (uint32_t i : p.indices) mine.indices.push_back(base + i);
    }
}

void MeshData::smoothNormals() {
    for (Vertex& v : vertices) v.normal = Ogre::Vector3::ZERO;
    for (const Part& p : parts)
        for (size_t i = 0; i + 2 < p.indices.size(); i += 3) {
            Vertex& a = vertices[p.indices[i]];
            Vertex& b = vertices[p.indices[i + 1]];
            Vertex& c = vertices[p.indices[i + 2]];
            const Ogre::Vector3 n = (b.position - a.position).crossProduct(c.position - a.position);
            a.normal += n;
            b.normal += n;
            c.normal += n;
        }
    for (Vertex& v : vertices) {
        if (v.normal.isZeroLength()) v.normal = Ogre::Vector3::UNIT_Y;
        v.normal.normalise();
    }
}

size_t MeshData::triangleCount() const {
    size_t n = 0;
    for (const Part& p : parts) n += p.indices.size() / 3;
    return n;
}

}  // namespace FirstWorld
