#include "Writers.h"

#include <Ogre.h>
#include <OgreMeshSerializer.h>

#include <cstring>

#include "mediagen/MeshData.h"
#include "mediagen/OgreExport.h"
#include "mediagen/SkeletonData.h"

namespace FirstWorld {

void writeStaticMesh(MediaGen::HeadlessOgre& ogre, const MeshData& mesh, const std::string& path) {
    MediaGen::MeshData out;
    out.hasColours = true;
    out.vertices.reserve(mesh.vertices.size());
    for (const Vertex& v : mesh.vertices) out.vertices.push_back({v.position, v.normal, v.uv, v.colour});
    for (const Part& p : mesh.parts)
        if (!p.indices.empty()) out.part(p.material).indices = p.indices;
    ogre.writeMesh(out, path);
}

namespace {

MediaGen::SkeletonData toPipeline(const SkeletonData& skeleton) {
    MediaGen::SkeletonData out;
    for (const BoneData& b : skeleton.bones) out.addBone(b.name, b.parent, b.position, b.orientation);
    for (const AnimationData& a : skeleton.animations) {
        MediaGen::AnimationData& anim = out.addAnimation(a.name, a.length);
        for (const auto& track : a.tracks)
            for (const KeyFrame& k : track.second) {
                MediaGen::BoneKey key;
                key.time = k.time;
                key.translate = k.translate;
                key.rotate = k.rotate;
                out.addKey(anim, track.first, key);
            }
    }
    return out;
}

void ensureMaterial(const std::string& name) {
    auto& materials = Ogre::MaterialManager::getSingleton();
    if (!materials.resourceExists(name, Ogre::RGN_DEFAULT)) materials.create(name, Ogre::RGN_DEFAULT);
}

}  // namespace

void writeSkinnedMesh(MediaGen::HeadlessOgre& ogre, const MeshData& mesh, const SkeletonData& skeleton,
                      const std::string& meshPath, const std::string& skeletonPath,
                      const std::string& skeletonName) {
    ogre.writeSkeleton(toPipeline(skeleton), skeletonPath);

    Ogre::MeshPtr out = Ogre::MeshManager::getSingleton().createManual("first_world_" + skeletonName,
                                                                      Ogre::RGN_DEFAULT);
    auto* data = new Ogre::VertexData();
    out->sharedVertexData = data;
    const size_t n = mesh.vertices.size();
    data->vertexCount = n;
    Ogre::VertexDeclaration* decl = data->vertexDeclaration;
    decl->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    decl->addElement(0, 12, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    decl->addElement(1, 0, Ogre::VET_UBYTE4_NORM, Ogre::VES_DIFFUSE);
    decl->addElement(1, 4, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
    std::vector<float> geometry(n * 6);
    std::vector<uint8_t> surface(n * 12);
    Ogre::AxisAlignedBox box;
    for (size_t i = 0; i < n; ++i) {
        const Vertex& v = mesh.vertices[i];
        std::memcpy(&geometry[i * 6], v.position.ptr(), 12);
        std::memcpy(&geometry[i * 6 + 3], v.normal.ptr(), 12);
        const uint32_t colour = v.colour.getAsABGR();  // bytes R, G, B, A in memory
        std::memcpy(&surface[i * 12], &colour, 4);
        std::memcpy(&surface[i * 12 + 4], v.uv.ptr(), 8);
        box.merge(v.position);
    }
    auto& buffers = Ogre::HardwareBufferManager::getSingleton();
    auto positions = buffers.createVertexBuffer(24, n, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    positions->writeData(0, geometry.size() * sizeof(float), geometry.data(), true);
    auto rest = buffers.createVertexBuffer(12, n, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    rest->writeData(0, surface.size(), surface.data(), true);
    data->vertexBufferBinding->setBinding(0, positions);
    data->vertexBufferBinding->setBinding(1, rest);

    for (const Part& part : mesh.parts) {
        if (part.indices.empty()) continue;
        Ogre::SubMesh* sub = out->createSubMesh();
        sub->useSharedVertices = true;
        auto indices = buffers.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_32BIT, part.indices.size(),
                                                 Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        indices->writeData(0, indices->getSizeInBytes(), part.indices.data(), true);
        sub->indexData->indexBuffer = indices;
        sub->indexData->indexCount = part.indices.size();
        ensureMaterial(part.material);
        sub->setMaterialName(part.material);
    }
    // The engine loads the skeleton by this name when it loads the mesh.
    out->setSkeletonName(skeletonName);
    for (size_t i = 0; i < n; ++i)
        out->addBoneAssignment(Ogre::VertexBoneAssignment{static_cast<unsigned>(i),
                                                          static_cast<unsigned short>(mesh.vertices[i].bone), 1.0f});
    out->_setBounds(box, false);
    Ogre::Vector3 extent = box.getMaximum();
    extent.makeCeil(-box.getMinimum());
    out->_setBoundingSphereRadius(extent.length());
    out->buildEdgeList();  // stored in the file: the engine would never build it
    Ogre::MeshSerializer().exportMesh(out.get(), meshPath);
    Ogre::MeshManager::getSingleton().remove(out);
}

}  // namespace FirstWorld
