#include "Writers.h"

#include "mediagen/MeshData.h"
#include "mediagen/OgreExport.h"
#include "mediagen/SkeletonData.h"

namespace FirstWorld {

namespace {

MediaGen::MeshData toPipeline(const MeshData& mesh) {
    MediaGen::MeshData out;
    out.hasColours = true;
    out.vertices.reserve(mesh.vertices.size());
    for (const Vertex& v : mesh.vertices) out.vertices.push_back({v.position, v.normal, v.uv, v.colour});
    for (const Part& p : mesh.parts)
        if (!p.indices.empty()) out.part(p.material).indices = p.indices;
    return out;
}

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

}  // namespace

void writeStaticMesh(MediaGen::HeadlessOgre& ogre, const MeshData& mesh, const std::string& path) {
    ogre.writeMesh(toPipeline(mesh), path);
}

void writeSkinnedMesh(MediaGen::HeadlessOgre& ogre, const MeshData& mesh, const SkeletonData& skeleton,
                      const std::string& meshPath, const std::string& skeletonPath,
                      const std::string& skeletonName) {
    const MediaGen::SkeletonData bones = toPipeline(skeleton);
    ogre.writeSkeleton(bones, skeletonPath);
    MediaGen::MeshData out = toPipeline(mesh);
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i)
        out.assignBone(std::uint32_t(i), std::uint16_t(mesh.vertices[i].bone), 1.0f);
    ogre.writeMesh(out, meshPath, skeletonName, &bones);
}

}  // namespace FirstWorld
