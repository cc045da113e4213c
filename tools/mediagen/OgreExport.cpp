#include "mediagen/OgreExport.h"

#include <algorithm>
#include <Ogre.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreDistanceLodStrategy.h>
#include <MeshLodGenerator/OgreLodConfig.h>
#include <MeshLodGenerator/OgreMeshLodGenerator.h>
#include <OgreMeshSerializer.h>
#include <OgreSkeletonSerializer.h>

#include <stdexcept>

#include "mediagen/MeshData.h"
#include "mediagen/SkeletonData.h"

namespace MediaGen {

namespace {

// Sub-mesh material names are stored through a material lookup; a name the
// headless root does not know is silently dropped, so make placeholders.
void ensureMaterial(const std::string& name) {
    auto& mm = Ogre::MaterialManager::getSingleton();
    if (!mm.resourceExists(name, Ogre::RGN_DEFAULT)) mm.create(name, Ogre::RGN_DEFAULT);
}

Ogre::SkeletonPtr buildSkeleton(const SkeletonData& data, const std::string& name) {
    auto skel = Ogre::SkeletonManager::getSingleton().create(name, Ogre::RGN_DEFAULT, true);
    for (std::size_t i = 0; i < data.bones.size(); ++i) {
        const auto& b = data.bones[i];
        Ogre::Bone* bone = skel->createBone(b.name, Ogre::ushort(i));
        if (b.parent >= 0) skel->getBone(Ogre::ushort(b.parent))->addChild(bone);
        bone->setPosition(b.position);
        bone->setOrientation(b.orientation);
    }
    skel->setBindingPose();
    for (const auto& a : data.animations) {
        Ogre::Animation* anim = skel->createAnimation(a.name, a.length);
        for (const auto& t : a.tracks) {
            Ogre::NodeAnimationTrack* track =
                anim->createNodeTrack(Ogre::ushort(t.bone), skel->getBone(Ogre::ushort(t.bone)));
            for (const auto& k : t.keys) {
                Ogre::TransformKeyFrame* kf = track->createNodeKeyFrame(k.time);
                kf->setTranslate(k.translate);
                kf->setRotation(k.rotate);
                kf->setScale(k.scale);
            }
        }
    }
    return skel;
}

}  // namespace

HeadlessOgre::HeadlessOgre()
    : log(std::make_unique<Ogre::LogManager>()) {
    // Log to nowhere: the generators' own output is their files.
    log->createLog("mediagen.log", true, false, true);
    // No plugins file, no config, no render system: no display needed.
    root = std::make_unique<Ogre::Root>("", "", "");
    // System-memory buffers stand in for the missing render system's.
    buffers = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    lodGenerator = std::make_unique<Ogre::MeshLodGenerator>();
}

HeadlessOgre::~HeadlessOgre() {
    lodGenerator.reset();
    root.reset();
    buffers.reset();
    log.reset();
}

void HeadlessOgre::writeSkeleton(const SkeletonData& data, const std::string& path) {
    const std::string name = "mediagen_skeleton_" + std::to_string(++counter);
    Ogre::SkeletonPtr skel = buildSkeleton(data, name);
    Ogre::SkeletonSerializer().exportSkeleton(skel.get(), path);
    Ogre::SkeletonManager::getSingleton().remove(skel);
}

void HeadlessOgre::writeMesh(const MeshData& data, const std::string& path,
                             const std::string& skeletonName, const SkeletonData* skeleton) {
    if (data.vertices.empty()) throw std::invalid_argument("writeMesh: no vertices for " + path);
    const std::string name = "mediagen_mesh_" + std::to_string(++counter);
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(name, Ogre::RGN_DEFAULT);

    auto* vd = new Ogre::VertexData();
    mesh->sharedVertexData = vd;
    vd->vertexCount = data.vertices.size();
    // Skinned meshes keep positions and normals in a buffer of their own:
    // software skinning replaces that buffer with a blended copy, and
    // anything else sharing it (colours, texture coordinates) would be lost.
    const bool skinned = !skeletonName.empty();
    const unsigned short extraSource = skinned ? 1 : 0;
    Ogre::VertexDeclaration* decl = vd->vertexDeclaration;
    size_t offset = 0;
    offset += decl->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += decl->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    const size_t mainSize = offset;
    if (skinned) offset = 0;
    if (data.hasColours)
        offset += decl->addElement(extraSource, offset, Ogre::VET_UBYTE4_NORM, Ogre::VES_DIFFUSE)
                      .getSize();
    offset += decl->addElement(extraSource, offset, Ogre::VET_FLOAT2,
                               Ogre::VES_TEXTURE_COORDINATES, 0)
                  .getSize();
    const size_t extraSize = skinned ? offset : 0;
    const size_t firstSize = skinned ? mainSize : offset;

    std::vector<unsigned char> first(firstSize * data.vertices.size());
    std::vector<unsigned char> extra(extraSize * data.vertices.size());
    unsigned char* out = first.data();
    unsigned char* outExtra = skinned ? extra.data() : nullptr;
    auto put = [](unsigned char*& dst, const void* p, size_t n) {
        std::memcpy(dst, p, n);
        dst += n;
    };
    for (const auto& v : data.vertices) {
        put(out, v.position.ptr(), 12);
        put(out, v.normal.ptr(), 12);
        unsigned char*& rest = skinned ? outExtra : out;
        if (data.hasColours) {
            const Ogre::uint32 rgba = v.colour.getAsABGR();  // bytes R, G, B, A in memory
            put(rest, &rgba, 4);
        }
        put(rest, v.uv.ptr(), 8);
    }
    auto& hbm = Ogre::HardwareBufferManager::getSingleton();
    auto vbuf = hbm.createVertexBuffer(firstSize, data.vertices.size(),
                                       Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    vbuf->writeData(0, first.size(), first.data(), true);
    vd->vertexBufferBinding->setBinding(0, vbuf);
    if (skinned) {
        auto ebuf = hbm.createVertexBuffer(extraSize, data.vertices.size(),
                                           Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        ebuf->writeData(0, extra.size(), extra.data(), true);
        vd->vertexBufferBinding->setBinding(1, ebuf);
    }

    const bool wide = data.vertices.size() > 65535;
    for (const auto& p : data.parts) {
        if (p.indices.empty()) continue;
        for (auto i : p.indices)
            if (i >= data.vertices.size())
                throw std::out_of_range("writeMesh: index out of range in " + path);
        Ogre::SubMesh* sub = mesh->createSubMesh();
        sub->useSharedVertices = true;
        sub->operationType = p.points ? Ogre::RenderOperation::OT_POINT_LIST : Ogre::RenderOperation::OT_TRIANGLE_LIST;
        auto ibuf = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
            wide ? Ogre::HardwareIndexBuffer::IT_32BIT : Ogre::HardwareIndexBuffer::IT_16BIT,
            p.indices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        if (wide) {
            ibuf->writeData(0, ibuf->getSizeInBytes(), p.indices.data(), true);
        } else {
            std::vector<Ogre::uint16> narrow(p.indices.begin(), p.indices.end());
            ibuf->writeData(0, ibuf->getSizeInBytes(), narrow.data(), true);
        }
        sub->indexData->indexBuffer = ibuf;
        sub->indexData->indexCount = p.indices.size();
        sub->indexData->indexStart = 0;
        ensureMaterial(p.material);
        sub->setMaterialName(p.material);
    }

    Ogre::SkeletonPtr skel;
    if (!skeletonName.empty()) {
        // The mesh looks its skeleton up by name: have it in memory.
        if (skeleton) skel = buildSkeleton(*skeleton, skeletonName);
        mesh->setSkeletonName(skeletonName);
        for (const auto& w : data.boneWeights) {
            Ogre::VertexBoneAssignment vba;
            vba.vertexIndex = w.vertex;
            vba.boneIndex = w.bone;
            vba.weight = w.weight;
            mesh->addBoneAssignment(vba);
        }
        // Not _compileBoneAssignments(): the engine does that when it loads
        // the mesh, and a compiled buffer in the file breaks XML round trips.
    }

    mesh->_setBounds(Ogre::AxisAlignedBox(data.boundsMin(), data.boundsMax()), false);
    mesh->_setBoundingSphereRadius(data.boundingRadius());
    if (!data.lods.empty()) {
        if (std::any_of(data.parts.begin(), data.parts.end(), [](const MeshPart& p) { return p.points; }))
            throw std::invalid_argument("writeMesh: levels of detail of points in " + path);
        // Collapsed on this thread, uncompressed: the same file every run.
        Ogre::LodConfig config(mesh, Ogre::DistanceLodBoxStrategy::getSingletonPtr());
        config.advanced.useBackgroundQueue = false;
        config.advanced.useCompression = false;
        for (const MeshLod& lod : data.lods) config.createGeneratedLodLevel(lod.distance, lod.reduction);
        lodGenerator->generateLodLevels(config);
    }
    // Points cast no shadows, and the edge builder reads any list as triangles.
    if (std::none_of(data.parts.begin(), data.parts.end(), [](const MeshPart& p) { return p.points; }))
        mesh->buildEdgeList();
    Ogre::MeshSerializer().exportMesh(mesh.get(), path);

    Ogre::MeshManager::getSingleton().remove(mesh);
    mesh.reset();
    if (skel) Ogre::SkeletonManager::getSingleton().remove(skel);
}

}  // namespace MediaGen
