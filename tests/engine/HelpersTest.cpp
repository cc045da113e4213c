// Geometry helpers on the real engine: mesh extraction, picking, detour
// paths, sphere meshes and markers, re-parenting. Private scene managers.
#include <Ogre.h>
#include <gtest/gtest.h>

#include <limits>
#include <list>

#include "bench/RockField.h"
#include "scene/Helpers.h"
#include "tests/engine/SceneTestSupport.h"

using namespace SceneTest;

namespace {

const Ogre::Real EPS = 1e-4f;

// A unit quad in the XY plane whose front faces +Z.
const std::string& quadMesh() {
    static const std::string name = "SceneTest/Quad.mesh";
    makeMesh(name, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{0, 1, 2, 0, 2, 3}});
    return name;
}

// Everything a cast writes, with values no cast produces.
struct Outputs {
    Ogre::Vector3 point{-1, -2, -3};
    Ogre::Vector3 normal{-4, -5, -6};
    Ogre::Entity* entity = reinterpret_cast<Ogre::Entity*>(0x1);
    Ogre::Real distance = -7;
    bool result = false;
    bool operator==(const Outputs& o) const {
        return point == o.point && normal == o.normal && entity == o.entity &&
               distance == o.distance && result == o.result;
    }
    bool untouched() const { return *this == Outputs{}; }
};

Outputs cast(RayPicker& picker, const Ogre::Vector3& origin, const Ogre::Vector3& direction,
             bool extracting = false) {
    Outputs o;
    o.result = (extracting ? castRayExtracting : castRay)(picker, origin, direction, o.point,
                                                          o.normal, o.entity, o.distance);
    return o;
}

class Picking : public ::testing::Test {
protected:
    Ogre::Entity* place(const std::string& name, const std::string& mesh,
                        const Ogre::Vector3& position,
                        const Ogre::Vector3& scale = Ogre::Vector3::UNIT_SCALE,
                        const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY) {
        Ogre::Entity* entity = manager->createEntity(name, mesh);
        Ogre::SceneNode* node = manager->getRootSceneNode()->createChildSceneNode();
        node->attachObject(entity);
        node->setPosition(position);
        node->setScale(scale);
        node->setOrientation(orientation);
        refresh();
        return entity;
    }
    // World bounds follow the nodes only when the scene is updated.
    void refresh() { manager->getRootSceneNode()->_update(true, false); }

    PrivateSceneManager manager;
    RayPicker picker{manager.get()};
};

}  // namespace

TEST_F(Picking, FrontFacesOnlyAndMissesLeaveOutputs) {
    Ogre::Entity* wall = place("wall", quadMesh(), {0, 0, -10}, {5, 5, 1});
    struct Case {
        const char* name;
        Ogre::Vector3 origin, direction;
        bool hit;
        Ogre::Real distance;
        Ogre::Vector3 point;
    };
    const Case cases[] = {
        {"straight", {0, 0, 0}, {0, 0, -1}, true, 10, {0, 0, -10}},
        {"long direction", {0, 0, 0}, {0, 0, -2}, true, 5, {0, 0, -10}},
        {"off centre", {3, 4, 0}, {0, 0, -1}, true, 10, {3, 4, -10}},
        {"back face", {0, 0, -20}, {0, 0, 1}, false, 0, {}},
        {"beside", {10, 0, 0}, {0, 0, -1}, false, 0, {}},
        {"away", {0, 0, 0}, {0, 0, 1}, false, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outputs o = cast(picker, c.origin, c.direction);
        if (!c.hit) {
            EXPECT_TRUE(o.untouched());
            continue;
        }
        EXPECT_TRUE(o.result);
        EXPECT_EQ(o.entity, wall);
        EXPECT_NEAR(o.distance, c.distance, EPS);
        EXPECT_TRUE(o.point.positionEquals(c.point, EPS));
        EXPECT_TRUE(o.normal.positionEquals({0, 0, 1}, EPS));
    }
    PrivateSceneManager empty;
    RayPicker nothing(empty.get());
    EXPECT_TRUE(cast(nothing, {0, 0, 0}, {0, 0, -1}).untouched());
}

// A near triangle of a later entity beats a far one of an entity whose box
// comes first; an entity whose box lies beyond the best hit is not examined.
TEST_F(Picking, NearestTriangleWinsOverNearestBox) {
    // Its box starts at 2 (a triangle facing away), its front quad is at 30.
    const std::string deep = "SceneTest/Deep.mesh";
    makeMesh(deep,
             {{-1, -1, -30},
              {1, -1, -30},
              {1, 1, -30},
              {-1, 1, -30},
              {-1, -1, -2},
              {-1, 1, -2},
              {1, -1, -2}},
             {{0, 1, 2, 0, 2, 3, 4, 5, 6}});
    Ogre::Entity* far = place("far", deep, {0, 0, 0});
    Ogre::Entity* near = place("near", quadMesh(), {0, 0, -10});
    Outputs o = cast(picker, {0, 0, 0}, {0, 0, -1});
    EXPECT_EQ(o.entity, near);
    EXPECT_NEAR(o.distance, 10, EPS);
    near->getParentSceneNode()->setPosition(0, 0, -40);
    refresh();
    o = cast(picker, {0, 0, 0}, {0, 0, -1});
    EXPECT_EQ(o.entity, far);
    EXPECT_NEAR(o.distance, 30, EPS);
}

// The cached, hierarchy-driven cast and the brute-force one agree to the
// bit on rocks that spin, are scaled unevenly and mirrored, and on a skinned
// entity, for hits and misses alike.
TEST_F(Picking, CachedCastMatchesExtraction) {
    std::vector<RockField::Rock> rocks =
        RockField::build(manager.get(), "pickRock", 6, 20, 24, 3, 3);
    const std::vector<RockField::Ray> rays = RockField::rays(rocks, 600, 17);
    int hits = 0;
    for (size_t i = 0; i < rays.size(); ++i) {
        if (i % 100 == 0) RockField::spin(manager.get(), rocks, 0.5f * i);
        const Outputs fast = cast(picker, rays[i].origin, rays[i].direction);
        const Outputs slow = cast(picker, rays[i].origin, rays[i].direction, true);
        ASSERT_TRUE(fast == slow) << "ray " << i << ": " << fast.distance << " vs "
                                  << slow.distance;
        hits += slow.result;
    }
    EXPECT_GT(hits, 200);
}

TEST(ExtractMeshData, SharedAndOwnVerticesAndTransform) {
    PrivateSceneManager manager;
    const std::vector<Ogre::Vector3> quad = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    makeMesh("SceneTest/Own.mesh", quad, {{0, 1, 2}, {0, 2, 3}}, true);
    makeMesh("SceneTest/Partial.mesh", quad, {{0, 1, 2, 3}, {3, 2, 1}});
    struct Case {
        const char* mesh;
        size_t vertices;
        std::vector<Ogre::uint32> indices;
    };
    const Case cases[] = {
        {"SceneTest/TwoPart.mesh", 4, {0, 1, 2, 0, 2, 3}},
        {"SceneTest/Own.mesh", 8, {0, 1, 2, 4, 6, 7}},
        {"SceneTest/Partial.mesh", 4, {0, 1, 2, 3, 2, 1}},  // the fourth index is dropped
    };
    twoPartMesh();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mesh);
        const MeshData data =
            extractMeshData(manager->createEntity(c.mesh), Ogre::Vector3::ZERO,
                            Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE);
        EXPECT_EQ(data.vertices.size(), c.vertices);
        EXPECT_EQ(data.indices, c.indices);
    }
    // Scale first, then rotation, then translation.
    const MeshData moved =
        extractMeshData(manager->createEntity(twoPartMesh()), {1, 2, 3},
                        Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y), {2, 1, 1});
    EXPECT_TRUE(
        moved.vertices[1].positionEquals({1, 1, 1}, EPS));  // (1,-1,0) -> (2,-1,0) -> (0,-1,-2)
    EXPECT_TRUE(extractMeshData(nullptr, {}, {}, {}).vertices.empty());
}

// Skinned entities give their current pose, and picking follows it.
TEST_F(Picking, SkinnedEntitiesInTheirPose) {
    auto& skeletons = Ogre::SkeletonManager::getSingleton();
    const std::string skeletonName = "SceneTest/Lift.skeleton";
    if (!skeletons.resourceExists(skeletonName, Ogre::RGN_DEFAULT)) {
        Ogre::SkeletonPtr skeleton = skeletons.create(skeletonName, Ogre::RGN_DEFAULT, true);
        Ogre::Bone* bone = skeleton->createBone("Root", 0);
        skeleton->setBindingPose();
        Ogre::NodeAnimationTrack* track =
            skeleton->createAnimation("Lift", 1)->createNodeTrack(0, bone);
        track->createNodeKeyFrame(0);
        track->createNodeKeyFrame(1)->setTranslate({0, 1.5f, 0});
    }
    auto skin = [&](Ogre::Mesh* mesh) {
        mesh->setSkeletonName(skeletonName);
        for (unsigned i = 0; i < 4; ++i) {
            Ogre::VertexBoneAssignment assignment{i, 0, 1.0f};
            if (mesh->sharedVertexData)
                mesh->addBoneAssignment(assignment);
            else
                for (unsigned s = 0; s < mesh->getNumSubMeshes(); ++s)
                    mesh->getSubMesh(s)->addBoneAssignment(assignment);
        }
    };
    const std::vector<Ogre::Vector3> quad = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    for (bool own : {false, true}) {
        SCOPED_TRACE(own ? "own vertices" : "shared vertices");
        const std::string meshName = own ? "SceneTest/SkinOwn.mesh" : "SceneTest/SkinShared.mesh";
        makeMesh(meshName, quad, {{0, 1, 2}, {0, 2, 3}}, own, skin);
        Ogre::Entity* still = place(meshName + "still", meshName, {0, 0, -10});
        const MeshData rest = extractMeshData(
            still, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE);
        EXPECT_TRUE(rest.vertices[0].positionEquals({-1, -1, 0}, EPS));

        Ogre::Entity* lifted = place(meshName + "lifted", meshName, {10, 0, -10});
        Ogre::AnimationState* lift = lifted->getAnimationState("Lift");
        lift->setEnabled(true);
        lift->setLoop(false);  // a looping state would wrap time 1 back to 0
        lift->setTimePosition(1);
        const MeshData pose = extractMeshData(
            lifted, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE);
        EXPECT_TRUE(pose.vertices[0].positionEquals({-1, 0.5f, 0}, EPS));
        // The query knows the rest pose's box (y -1..1); the pose spans y
        // 0.5..2.5. Below 0.5 only the rest pose would be hit.
        const Outputs high = cast(picker, {10, 0.75f, 0}, {0, 0, -1});
        EXPECT_TRUE(high.result);
        EXPECT_EQ(high.entity, lifted);
        EXPECT_TRUE(high == cast(picker, {10, 0.75f, 0}, {0, 0, -1}, true));
        const Outputs low = cast(picker, {10, -0.75f, 0}, {0, 0, -1});
        EXPECT_TRUE(low.untouched());
        EXPECT_TRUE(low == cast(picker, {10, -0.75f, 0}, {0, 0, -1}, true));
        manager->destroyEntity(still);
        manager->destroyEntity(lifted);
    }
}

TEST_F(Picking, FindPathAroundObstacles) {
    const Ogre::Vector3 start(0, 0, 0), target(0, 0, -10000);
    std::vector<Ogre::Vector3> clear;
    findPath(picker, start, target, clear);
    EXPECT_EQ(clear, (std::vector<Ogre::Vector3>{start, target}));

    // A 2000-wide wall half way: one detour beside it, target twice.
    place("wall", quadMesh(), {0, 0, -5000}, {1000, 1000, 1});
    std::list<Ogre::Vector3> detour;
    findPath(picker, start, target, detour);
    ASSERT_EQ(detour.size(), 4u);
    const Ogre::Vector3 side = *std::next(detour.begin());
    // The first candidate: the hit point, 2000 out along the engine's perpendicular.
    const Ogre::Vector3 expected =
        Ogre::Vector3(0, 0, -5000) + (target - start).perpendicular().normalisedCopy() * 2000;
    EXPECT_TRUE(side.positionEquals(expected, 1e-2f)) << side;
    EXPECT_EQ(detour.front(), start);
    EXPECT_EQ(detour.back(), target);
    EXPECT_EQ(*std::next(detour.begin(), 2), target);
    EXPECT_EQ(pathDepth, 0);

    // A path that continues from where the last one ended does not repeat it.
    std::vector<Ogre::Vector3> continued{start};
    findPath(picker, start, {0, 0, 10000}, continued);
    EXPECT_EQ(continued.size(), 2u);
}

TEST_F(Picking, FindPathNestsAtMostNineteenDetours) {
    // A target inside a closed ball: every leg towards it is blocked again.
    const Ogre::Vector3 start(0, 0, 0), target(0, 0, -10000);
    createSphereMesh("SceneTest/Ball.mesh", 500);
    place("ball", "SceneTest/Ball.mesh", target);
    std::vector<Ogre::Vector3> path;
    findPath(picker, start, target, path);
    ASSERT_EQ(path.size(), 40u);  // start, 19 detours, target 20 times
    for (size_t i = 20; i < path.size(); ++i) EXPECT_EQ(path[i], target);
    EXPECT_EQ(pathDepth, 0);
}

TEST(SphereMesh, LayoutAndContents) {
    const std::string name = "SceneTest/SphereLayout.mesh";
    Ogre::MeshPtr mesh = createSphereMesh(name, 5);
    EXPECT_TRUE(mesh->isLoaded());
    EXPECT_EQ(mesh->getGroup(), Ogre::RGN_DEFAULT);
    ASSERT_EQ(mesh->getNumSubMeshes(), 1u);
    EXPECT_TRUE(mesh->getSubMesh(0)->useSharedVertices);
    EXPECT_EQ(mesh->sharedVertexData->vertexCount, 289u);
    const Ogre::IndexData* indices = mesh->getSubMesh(0)->indexData;
    EXPECT_EQ(indices->indexCount, 1632u);
    EXPECT_EQ(indices->indexBuffer->getType(), Ogre::HardwareIndexBuffer::IT_16BIT);
    EXPECT_EQ(mesh->getBounds(), Ogre::AxisAlignedBox(-5, -5, -5, 5, 5, 5));
    EXPECT_FLOAT_EQ(mesh->getBoundingSphereRadius(), 5);

    // Read through the declaration: with stencil shadows on, the engine moves
    // positions into a buffer of their own when the mesh loads.
    const Ogre::VertexData* data = mesh->sharedVertexData;
    auto read = [data](Ogre::VertexElementSemantic semantic, size_t vertex, size_t count) {
        const Ogre::VertexElement* element =
            data->vertexDeclaration->findElementBySemantic(semantic);
        std::vector<float> values(count);
        if (!element) return values;
        Ogre::HardwareVertexBufferSharedPtr buffer =
            data->vertexBufferBinding->getBuffer(element->getSource());
        buffer->readData(vertex * buffer->getVertexSize() + element->getOffset(),
                         count * sizeof(float), values.data());
        return values;
    };
    EXPECT_EQ(read(Ogre::VES_POSITION, 0, 3), (std::vector<float>{0, 5, 0}));
    EXPECT_EQ(read(Ogre::VES_NORMAL, 0, 3), (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(read(Ogre::VES_TEXTURE_COORDINATES, 0, 2), (std::vector<float>{0, 0}));
    EXPECT_EQ(read(Ogre::VES_TEXTURE_COORDINATES, 18, 2),
              (std::vector<float>{1 / 16.0f, 1 / 16.0f}));
    const std::vector<float> last = read(Ogre::VES_POSITION, 288, 3);
    EXPECT_NEAR(last[0], 0, EPS);
    EXPECT_NEAR(last[1], -5, EPS);
    EXPECT_NEAR(last[2], 0, EPS);
    std::vector<Ogre::uint16> firstIndices(6);
    indices->indexBuffer->readData(0, 12, firstIndices.data());
    EXPECT_EQ(firstIndices, (std::vector<Ogre::uint16>{17, 0, 16, 17, 1, 0}));
    mesh.reset();
    Ogre::MeshManager::getSingleton().remove(name, Ogre::RGN_DEFAULT);
}

TEST_F(Picking, SphereMarkers) {
    const int before = sphereMarkerCount;
    createSphereMarker({0, 0, -100}, 10, manager.get());
    createSphereMarker({50, 0, -100}, 3, manager.get());
    EXPECT_EQ(sphereMarkerCount, before + 2);
    const std::string name = std::to_string(before + 1) + "MANUALSPHERE";
    Ogre::Entity* marker = manager->getEntity(name);
    EXPECT_FALSE(marker->getCastShadows());
    EXPECT_EQ(marker->getMesh()->getName(), name);
    EXPECT_EQ(marker->getParentSceneNode()->getParentSceneNode(), manager->getRootSceneNode());
    EXPECT_EQ(marker->getParentSceneNode()->getPosition(), Ogre::Vector3(0, 0, -100));
    refresh();
    // Its name starts with a digit, so it counts as a hit.
    const Outputs o = cast(picker, {0, 0, 0}, {0, 0, -1});
    EXPECT_TRUE(o.result);
    EXPECT_EQ(o.entity, marker);
    EXPECT_NEAR(o.distance, 90, 0.1f);
}

TEST(NodeHelpers, MoveToParentAndLocalToWorld) {
    PrivateSceneManager manager;
    Ogre::SceneNode* root = manager->getRootSceneNode();
    Ogre::SceneNode* parent = root->createChildSceneNode(Ogre::Vector3(10, 0, 0));
    parent->setOrientation(Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y));
    Ogre::SceneNode* node = root->createChildSceneNode(Ogre::Vector3(1, 2, 3));
    const Ogre::Quaternion own(Ogre::Degree(30), Ogre::Vector3::UNIT_X);
    node->setOrientation(own);
    moveToParent(parent, node, {10, 0, -5});
    EXPECT_EQ(node->getParent(), parent);
    EXPECT_EQ(root->numChildren(), 1u);
    EXPECT_TRUE(node->_getDerivedPosition().positionEquals({10, 0, -5}, EPS));
    EXPECT_TRUE(node->getOrientation().equals(own, Ogre::Radian(1e-4f)));
    // The new parent's scale is not applied to the position.
    parent->setScale(2, 2, 2);
    moveToParent(parent, node, {10, 0, -5});
    EXPECT_TRUE(node->getPosition().positionEquals({5, 0, 0}, EPS));

    const Ogre::Vector3 point(1, 2, 3);
    EXPECT_TRUE(
        localToWorld(node, point).positionEquals(node->convertLocalToWorldPosition(point), EPS));
    EXPECT_TRUE(localToWorld(parent, {1, 0, 0}).positionEquals({10, 0, -2}, EPS));
}
