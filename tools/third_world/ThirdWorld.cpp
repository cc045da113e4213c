// Generator of the third scene's world: the asteroid field laid out as a
// face, its jaw and eye skeletons, its textures and "third_scene.xml".
#include <iostream>

#include "FaceLayout.h"
#include "RockMesh.h"
#include "SceneFile.h"
#include "Textures.h"
#include "mediagen/Generator.h"
#include "mediagen/MeshData.h"
#include "mediagen/OgreExport.h"
#include "mediagen/SkeletonData.h"

namespace {

// A jaw is a tiny hidden tetrahedron skinned to one root bone; only the
// bone's motion matters to the game.
void writeJaw(MediaGen::HeadlessOgre& ogre, MediaGen::Output& out, const ThirdWorld::Jaw& jaw) {
    MediaGen::SkeletonData skeleton;
    const int root = skeleton.addBone("root", -1, Ogre::Vector3::ZERO);
    // The laugh: the root bone chomps three times, each a little less, and
    // comes back to rest before the closing sequence ends.
    MediaGen::AnimationData& laugh = skeleton.addAnimation("laugh", 3.6f);
    const float times[] = {0, 0.5f, 0.9f, 1.3f, 1.7f, 2.1f, 2.6f, 3.6f};
    const float reach[] = {0, 1, 0.45f, 1, 0.4f, 0.9f, 0.3f, 0};
    for (int k = 0; k < 8; ++k) {
        MediaGen::BoneKey key;
        key.time = times[k];
        key.translate = jaw.chomp * reach[k];
        skeleton.addKey(laugh, root, key);
    }
    MediaGen::MeshData mesh;
    const Ogre::Vector3 corners[] = {{0, 10, 0}, {-10, -5, 6}, {10, -5, 6}, {0, -5, -10}};
    for (const auto& c : corners) mesh.addVertex(c, c.normalisedCopy());
    mesh.addTriangle("Third/Jaw", 0, 1, 2);
    mesh.addTriangle("Third/Jaw", 0, 2, 3);
    mesh.addTriangle("Third/Jaw", 0, 3, 1);
    mesh.addTriangle("Third/Jaw", 1, 3, 2);
    for (std::uint32_t v = 0; v < 4; ++v) mesh.assignBone(v, std::uint16_t(root), 1.0f);
    const std::string name = "third_" + jaw.entity;
    ogre.writeSkeleton(skeleton, out.path("models/" + name + ".skeleton"));
    ogre.writeMesh(mesh, out.path("models/" + name + ".mesh"), name + ".skeleton", &skeleton);
}

}  // namespace

int main(int argc, char** argv) {
    return MediaGen::runGenerator(argc, argv, [](MediaGen::Output& out) {
        MediaGen::HeadlessOgre ogre;
        const ThirdWorld::Field field = ThirdWorld::buildField();
        for (const ThirdWorld::RockPiece& rock : field.rocks) {
            MediaGen::MeshData mesh = ThirdWorld::buildRockMesh(rock);
            // Rocks beyond the nearest few are small on screen: coarser
            // shapes there save the triangles a software renderer sets up.
            mesh.lods = {{1500, 0.5f}, {4500, 0.75f}};
            ogre.writeMesh(mesh, out.path("models/" + rock.mesh));
        }
        for (const ThirdWorld::Jaw& jaw : field.jaws) writeJaw(ogre, out, jaw);
        const MediaGen::Image rock = ThirdWorld::rockDetail(256);
        rock.writePng(out.path("textures/third_rock.png"), false);
        rock.mean().writePng(out.path("textures/third_rock_mean.png"), false);
        ThirdWorld::fogPuff(128).writePng(out.path("textures/third_fog.png"));
        ThirdWorld::butterfly(128).writePng(out.path("textures/third_butterfly.png"));
        ThirdWorld::spark(64).writePng(out.path("textures/third_spark.png"));
        ogre.writeMesh(ThirdWorld::skyMesh(), out.path("models/third_sky.mesh"));
        for (int face = 0; face < 6; ++face)
            ThirdWorld::skyFace(face, 1024).writePng(
                out.path("bench/third_sky" + ThirdWorld::SKY_SUFFIXES[face] + ".png"), false);
        ThirdWorld::writeSceneFile(field, out.path("scenes/third_scene.xml"));
    });
}
