#include "Writers.h"

#include <Ogre.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreMeshSerializer.h>
#include <OgreSkeletonSerializer.h>

#include <algorithm>
#include <cstring>

namespace FirstWorld {

Engine::Engine(const std::string& pluginDir) {
    log = new Ogre::LogManager();
    log->createLog("first_world.log", true, false, true);
    root = new Ogre::Root("", "", "");
    buffers = new Ogre::DefaultHardwareBufferManager();
    root->loadPlugin(pluginDir + "/Codec_STBI");
}

Engine::~Engine() {
    Ogre::MeshManager::getSingleton().removeAll();
    Ogre::SkeletonManager::getSingleton().removeAll();
    delete root;
    delete buffers;
    delete log;
}

namespace {

void ensureMaterial(const std::string& name) {
    auto& mm = Ogre::MaterialManager::getSingleton();
    if (!mm.resourceExists(name, Ogre::RGN_DEFAULT)) mm.create(name, Ogre::RGN_DEFAULT);
}

Ogre::VertexData* buildVertexData(const MeshData& mesh, Ogre::AxisAlignedBox& box) {
    // Positions and normals in buffer 0, colours and texture coordinates in
    // buffer 1: software skinning replaces buffer 0 with a blended copy and
    // would leave anything else in it undefined.
    auto* data = new Ogre::VertexData();
    data->vertexCount = mesh.vertices.size();
    Ogre::VertexDeclaration* decl = data->vertexDeclaration;
    decl->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    decl->addElement(0, 12, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    decl->addElement(1, 0, Ogre::VET_COLOUR_ABGR, Ogre::VES_DIFFUSE);
    decl->addElement(1, 4, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
    const size_t n = data->vertexCount;
    std::vector<float> geometry(n * 6);
    std::vector<uint8_t> surface(n * 12);
    box.setNull();
    for (size_t i = 0; i < n; ++i) {
        const Vertex& v = mesh.vertices[i];
        float* g = geometry.data() + i * 6;
        g[0] = v.position.x; g[1] = v.position.y; g[2] = v.position.z;
        g[3] = v.normal.x; g[4] = v.normal.y; g[5] = v.normal.z;
        const uint32_t colour = v.colour.getAsABGR();
        const float uv[2] = {v.uv.x, v.uv.y};
        std::memcpy(surface.data() + i * 12, &colour, 4);
        std::memcpy(surface.data() + i * 12 + 4, uv, 8);
        box.merge(v.position);
    }
    auto& hbm = Ogre::HardwareBufferManager::getSingleton();
    auto b0 = hbm.createVertexBuffer(24, n, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    b0->writeData(0, geometry.size() * 4, geometry.data(), true);
    auto b1 = hbm.createVertexBuffer(12, n, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    b1->writeData(0, surface.size(), surface.data(), true);
    data->vertexBufferBinding->setBinding(0, b0);
    data->vertexBufferBinding->setBinding(1, b1);
    return data;
}

}  // namespace

void writeMesh(const MeshData& mesh, const std::string& path, const std::string& name,
               const std::string& skeletonName) {
    Ogre::MeshPtr out = Ogre::MeshManager::getSingleton().createManual(name, Ogre::RGN_DEFAULT);
    Ogre::AxisAlignedBox box;
    out->sharedVertexData = buildVertexData(mesh, box);
    for (const Part& part : mesh.parts) {
        if (part.indices.empty()) continue;
        Ogre::SubMesh* sub = out->createSubMesh();
        sub->useSharedVertices = true;
        ensureMaterial(part.material);
        sub->setMaterialName(part.material);
        const bool wide = mesh.vertices.size() > 65535;
        auto ib = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
            wide ? Ogre::HardwareIndexBuffer::IT_32BIT : Ogre::HardwareIndexBuffer::IT_16BIT,
            part.indices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        if (wide) {
            ib->writeData(0, ib->getSizeInBytes(), part.indices.data(), true);
        } else {
            std::vector<uint16_t> shorts(part.indices.begin(), part.indices.end());
            ib->writeData(0, ib->getSizeInBytes(), shorts.data(), true);
        }
        sub->indexData->indexBuffer = ib;
        sub->indexData->indexCount = part.indices.size();
        sub->indexData->indexStart = 0;
    }
    if (!skeletonName.empty()) {
        out->setSkeletonName(skeletonName);
        for (size_t i = 0; i < mesh.vertices.size(); ++i)
            out->addBoneAssignment(Ogre::VertexBoneAssignment{
                static_cast<unsigned>(i), static_cast<unsigned short>(mesh.vertices[i].bone), 1.0f});
    }
    out->_setBounds(box, false);
    Ogre::Vector3 extent = box.getMaximum();
    extent.makeCeil(-box.getMinimum());
    out->_setBoundingSphereRadius(extent.length());
    Ogre::MeshSerializer().exportMesh(out.get(), path);
    Ogre::MeshManager::getSingleton().remove(out);
}

void writeSkeleton(const SkeletonData& skeleton, const std::string& path, const std::string& name) {
    Ogre::SkeletonPtr out = Ogre::SkeletonManager::getSingleton().create(name, Ogre::RGN_DEFAULT, true);
    std::vector<Ogre::Bone*> bones;
    for (size_t i = 0; i < skeleton.bones.size(); ++i) {
        const BoneData& b = skeleton.bones[i];
        Ogre::Bone* bone = out->createBone(b.name, static_cast<unsigned short>(i));
        if (b.parent >= 0) bones[b.parent]->addChild(bone);
        bone->setPosition(b.position);
        bone->setOrientation(b.orientation);
        bones.push_back(bone);
    }
    out->setBindingPose();
    for (const AnimationData& a : skeleton.animations) {
        Ogre::Animation* anim = out->createAnimation(a.name, a.length);
        for (const auto& track : a.tracks) {
            Ogre::NodeAnimationTrack* t =
                anim->createNodeTrack(static_cast<unsigned short>(track.first), bones[track.first]);
            for (const KeyFrame& k : track.second) {
                Ogre::TransformKeyFrame* key = t->createNodeKeyFrame(k.time);
                key->setTranslate(k.translate);
                key->setRotation(k.rotate);
            }
        }
    }
    Ogre::SkeletonSerializer().exportSkeleton(out.get(), path);
    Ogre::SkeletonManager::getSingleton().remove(out);
}

void Picture::set(int x, int y, float r, float g, float b, float a) {
    uint8_t* p = rgba.data() + (size_t(y) * width + x) * 4;
    auto byte = [](float f) { return uint8_t(std::lround(std::clamp(f, 0.0f, 1.0f) * 255.0f)); };
    p[0] = byte(r);
    p[1] = byte(g);
    p[2] = byte(b);
    p[3] = byte(a);
}

void writePng(const Picture& picture, const std::string& path) {
    Ogre::Image image;
    image.loadDynamicImage(const_cast<uint8_t*>(picture.rgba.data()), picture.width,
                           picture.height, 1, Ogre::PF_BYTE_RGBA);
    image.save(path);
}

}  // namespace FirstWorld
