// The scene-file loader on the real engine: every load goes into a private
// scene manager, so the application's own scene stays as it was.
#include <Ogre.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "scene/SkyMesh.h"
#include "tests/engine/SceneTestSupport.h"

using namespace SceneTest;

namespace {

const Ogre::Real EPS = 1e-4f;

bool sameOrientation(const Ogre::Quaternion& a, const Ogre::Quaternion& b) {
    return a.equals(b, Ogre::Radian(1e-3f));
}

struct Loaded {
    PrivateSceneManager manager;
    TestScene scene{manager.get()};
    LogCapture log;
    std::string output;  // standard output during the load
};

// Loads text as a scene file (prefix "P_") and returns what it made.
std::unique_ptr<Loaded> load(const std::string& fileName, const std::string& text,
                             const std::string& prefix = "P_") {
    auto loaded = std::make_unique<Loaded>();
    SceneFiles::instance().write(fileName, text);
    ::testing::internal::CaptureStdout();
    loaded->scene.load(fileName, prefix);
    loaded->output = ::testing::internal::GetCapturedStdout();
    return loaded;
}

struct FileCase {
    const char* name;
    std::string text;
    std::function<void(Loaded&)> check;
};

void runCases(const std::vector<FileCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto loaded = load(std::string(c.name) + ".xml", c.text);
        c.check(*loaded);
    }
}

void prepareMedia() {
    ensureMaterial("SceneTest/Red");
    ensureMaterial("SceneTest/Blue");
    ensureMaterial("SceneTest/Sky");
    ensureParticleTemplate("SceneTest/Sparks");
    twoPartMesh();
}

}  // namespace

TEST(Loader, NodeTransformsAndPrefix) {
    prepareMedia();
    runCases(
        {{"transforms", sceneWithNodes(R"(
        <node name="a"><position x="1" y="2" z="3"/>
          <rotation qx="0" qy="0.70710678" qz="0" qw="0.70710678"/><scale x="2" y="3" z="4"/>
          <node name="b"><position x="0" y="0" z="-5"/></node></node>
        <node name="c"><rotation qx="0" qy="0" qz="1" qw="0"/><angleRotation y="90"/></node>
        <node name="d"><angleRotation x="30" y="45" z="60"/></node>)"),
          [](Loaded& l) {
              Ogre::SceneNode* a = l.manager->getSceneNode("P_a");
              EXPECT_TRUE(a->getPosition().positionEquals({1, 2, 3}, EPS));
              EXPECT_TRUE(
                  sameOrientation(a->getOrientation(), {Ogre::Degree(90), Ogre::Vector3::UNIT_Y}));
              EXPECT_TRUE(a->getScale().positionEquals({2, 3, 4}, EPS));
              Ogre::SceneNode* b = l.manager->getSceneNode("P_b");
              EXPECT_EQ(b->getParentSceneNode(), a);
              EXPECT_EQ(a->getParentSceneNode(), l.manager->getRootSceneNode());
              // angleRotation comes after rotation and replaces it.
              EXPECT_TRUE(sameOrientation(l.manager->getSceneNode("P_c")->getOrientation(),
                                          {Ogre::Degree(90), Ogre::Vector3::UNIT_Y}));
              // Yaw, then pitch, then roll: Ry * Rx * Rz.
              const Ogre::Quaternion yxz =
                  Ogre::Quaternion(Ogre::Degree(45), Ogre::Vector3::UNIT_Y) *
                  Ogre::Quaternion(Ogre::Degree(30), Ogre::Vector3::UNIT_X) *
                  Ogre::Quaternion(Ogre::Degree(60), Ogre::Vector3::UNIT_Z);
              EXPECT_TRUE(sameOrientation(l.manager->getSceneNode("P_d")->getOrientation(), yxz));
              EXPECT_EQ(l.scene.nodePrefix, "P_");
              EXPECT_EQ(l.scene.sceneFileName, "transforms.xml");
              EXPECT_EQ(l.scene.groupName, GROUP);
          }}});
}

TEST(Loader, EntityAttributes) {
    prepareMedia();
    const std::string& mesh = twoPartMesh();
    auto entity = [&](const std::string& name, const std::string& attributes,
                      const std::string& inner = "") {
        return "<node name=\"" + name + "\"><entity name=\"" + name + "\" meshFile=\"" + mesh +
               "\" " + attributes + ">" + inner + "</entity></node>";
    };
    const std::string nodes =
        entity("v1", R"(visible="true")") + entity("v2", R"(visible="false")") +
        entity("v3", R"(visible="yes")") + entity("v4", R"(visible="True")") + entity("v5", "") +
        entity("s1", R"(castShadows="false")") + entity("s2", R"(castShadows="no")") +
        entity("q1", R"(renderQueueGroup="60.7")") + entity("q2", R"(renderQueueGroup="200")") +
        entity("q3", R"(renderQueueGroup="-1")") +
        entity(
            "m1", R"(materialName="SceneTest/Red")",
            R"(<subentities><subentity index="1" materialName="SceneTest/Blue"/></subentities>)");
    runCases({{"entities", sceneWithNodes(nodes), [](Loaded& l) {
                   struct Expect {
                       const char* name;
                       bool visible;
                       bool shadows;
                       int queue;
                   };
                   const Expect table[] = {
                       {"v1", true, true, 0},
                       {"v2", false, true, 0},
                       {"v3", false, true, 0},
                       {"v4", false, true, 0},
                       {"v5", true, true, 0},
                       {"s1", true, false, 0},
                       {"s2", true, true, 0},
                       {"q1", true, true, 60},
                       {"q2", true, true, Ogre::RENDER_QUEUE_MAIN},
                       {"q3", true, true, Ogre::RENDER_QUEUE_MAIN},
                   };
                   for (const auto& e : table) {
                       SCOPED_TRACE(e.name);
                       Ogre::Entity* entity = l.manager->getEntity(e.name);
                       EXPECT_EQ(entity->getVisible(), e.visible);
                       EXPECT_EQ(entity->getCastShadows(), e.shadows);
                       EXPECT_EQ(entity->getRenderQueueGroup(), e.queue);
                       EXPECT_EQ(entity->getParentSceneNode(),
                                 l.manager->getSceneNode(std::string("P_") + e.name));
                   }
                   EXPECT_EQ(l.log.countContaining("renderQueueGroup 200 is outside"), 1);
                   EXPECT_EQ(l.log.countContaining("renderQueueGroup -1 is outside"), 1);
                   Ogre::Entity* m1 = l.manager->getEntity("m1");
                   EXPECT_EQ(m1->getSubEntity(0)->getMaterialName(), "SceneTest/Red");
                   EXPECT_EQ(m1->getSubEntity(1)->getMaterialName(), "SceneTest/Blue");
               }}});
}

TEST(Loader, TangentsBuiltUnlessFalse) {
    prepareMedia();
    const std::vector<Ogre::Vector3> quad = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    struct Case {
        const char* value;
        bool tangents;
    };
    const Case cases[] = {{"false", false}, {"no", true}, {"0", true}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string meshName = "SceneTest/Tangent" + std::to_string(n++) + ".mesh";
        Ogre::MeshPtr mesh = makeMesh(meshName, quad, {{0, 1, 2, 0, 2, 3}});
        auto l = load("tangents.xml",
                      sceneWithNodes("<node name=\"t\"><entity name=\"t\" meshFile=\"" + meshName +
                                     "\" buldTanget=\"" + c.value + "\"/></node>"));
        EXPECT_EQ(mesh->sharedVertexData->vertexDeclaration->findElementBySemantic(
                      Ogre::VES_TANGENT) != nullptr,
                  c.tangents);
    }
}

TEST(Loader, BillboardSet) {
    prepareMedia();
    runCases({{"billboards", sceneWithNodes(R"(
        <node name="bb"><billboardSet materialName="SceneTest/Red" width="2.9" height="0.5">
          <billboard><position x="1" y="2" z="3"/><colourDiffuse r="0.5" g="0.25" b="0"/></billboard>
          <billboard/></billboardSet></node>)"),
               [](Loaded& l) {
                   Ogre::BillboardSet* set = l.manager->getBillboardSet("P_bb");
                   EXPECT_EQ(set->getParentSceneNode(), l.manager->getSceneNode("P_bb"));
                   EXPECT_EQ(set->getPoolSize(), 20u);
                   EXPECT_EQ(set->getDefaultWidth(), 2);
                   EXPECT_EQ(set->getDefaultHeight(), 0);
                   EXPECT_EQ(set->getMaterialName(), "SceneTest/Red");
                   EXPECT_TRUE(set->getVisible());
                   ASSERT_EQ(set->getNumBillboards(), 2);
                   EXPECT_TRUE(set->getBillboard(0)->getPosition().positionEquals({1, 2, 3}, EPS));
                   EXPECT_EQ(set->getBillboard(0)->getColour(),
                             Ogre::ColourValue(0.5f, 0.25f, 0, 1));
                   EXPECT_EQ(set->getBillboard(1)->getPosition(), Ogre::Vector3::ZERO);
                   EXPECT_EQ(set->getBillboard(1)->getColour(), Ogre::ColourValue::White);
               }}});
}

TEST(Loader, Lights) {
    auto light = [](const std::string& name, const std::string& attributes,
                    const std::string& inner = "") {
        return "<node name=\"" + name + "\"><light name=\"" + name + "\" " + attributes + ">" +
               inner + "</light></node>";
    };
    const std::string nodes =
        light("point", R"(type="point")") + light("rad", R"(type="radPoint")") +
        light("dir", R"(type="directional")") + light("spot", R"(type="spot")") +
        light("sun", R"(type="sun")") + light("none", "") +
        light("full", R"(type="spot" castShadows="false" visible="false")",
              R"(<colourDiffuse r="1" g="0.5" b="0.25"/><colourSpecular r="0.1" g="0.2" b="0.3"/>
                 <lightAttenuation range="100" linear="0.5"/><position x="1"/>)") +
        light("loose", R"(castShadows="no" visible="no")");
    runCases({{"lights", sceneWithNodes(nodes), [](Loaded& l) {
                   struct Expect {
                       const char* name;
                       Ogre::Light::LightTypes type;
                   };
                   const Expect types[] = {
                       {"point", Ogre::Light::LT_POINT},     {"rad", Ogre::Light::LT_POINT},
                       {"dir", Ogre::Light::LT_DIRECTIONAL}, {"spot", Ogre::Light::LT_SPOTLIGHT},
                       {"sun", Ogre::Light::LT_POINT},  // the engine's default
                       {"none", Ogre::Light::LT_POINT}};
                   for (const auto& e : types) {
                       SCOPED_TRACE(e.name);
                       Ogre::Light* light = l.manager->getLight(e.name);
                       EXPECT_EQ(light->getType(), e.type);
                       EXPECT_TRUE(light->getCastShadows());
                       EXPECT_TRUE(light->getVisible());
                       EXPECT_EQ(light->getParentSceneNode(),
                                 l.manager->getSceneNode(std::string("P_") + e.name));
                   }
                   Ogre::Light* full = l.manager->getLight("full");
                   EXPECT_EQ(full->getDiffuseColour(), Ogre::ColourValue(1, 0.5f, 0.25f, 1));
                   EXPECT_EQ(full->getSpecularColour(), Ogre::ColourValue(0.1f, 0.2f, 0.3f, 1));
                   EXPECT_FLOAT_EQ(full->getAttenuationRange(), 100);
                   EXPECT_FLOAT_EQ(full->getAttenuationConstant(), 1);  // engine default kept
                   EXPECT_FLOAT_EQ(full->getAttenuationLinear(), 0.5f);
                   EXPECT_FLOAT_EQ(full->getAttenuationQuadric(), 0);
                   EXPECT_EQ(full->getPosition(), Ogre::Vector3(1, 0, 0));
                   EXPECT_FALSE(full->getCastShadows());
                   EXPECT_FALSE(full->getVisible());
                   EXPECT_TRUE(l.manager->getLight("loose")->getCastShadows());
                   EXPECT_TRUE(l.manager->getLight("loose")->getVisible());
               }}});
}

TEST(Loader, CamerasParticlesAndUserData) {
    prepareMedia();
    const std::string nodes = R"(
        <node name="n"><camera name="SceneTestCam"/>
          <particleSystem name="ps1" file="SceneTest/Sparks"/>
          <particleSystem name="ps2" file="SceneTest/Sparks"/>
          <userData><property name="a" data="1" type="int"/><property name="b" data="x" type="str"/></userData>
        </node>)";
    auto l = load("objects.xml", sceneWithNodes(nodes));
    Ogre::SceneNode* node = l->manager->getSceneNode("P_n");
    EXPECT_EQ(l->manager->getCamera("SceneTestCam")->getParentSceneNode(), node);
    EXPECT_EQ(l->manager->getParticleSystem("ps1")->getParentSceneNode(), node);
    EXPECT_EQ(l->manager->getParticleSystem("ps2")->getParentSceneNode(), node);
    ASSERT_EQ(l->scene.userDataProperties.size(), 2u);
    EXPECT_EQ(l->scene.userDataProperties[1].nodeName, "P_n");
    EXPECT_EQ(l->scene.userDataProperties[1].name, "b");
    EXPECT_EQ(l->scene.userDataProperties[1].data, "x");
    EXPECT_EQ(l->scene.userDataProperties[1].type, "str");

    // A second load into the same loader appends its records.
    SceneFiles::instance().write(
        "objects2.xml",
        sceneWithNodes(
            R"(<node name="n"><userData><property name="c" data="2" type="t"/></userData></node>)"));
    l->scene.load("objects2.xml", "Q_");
    ASSERT_EQ(l->scene.userDataProperties.size(), 3u);
    EXPECT_EQ(l->scene.userDataProperties[2].nodeName, "Q_n");
}

// The engine tells a node's objects apart by name: a second object of one
// name on a node is skipped, or tearing down the scene would crash.
TEST(Loader, ObjectsOfOneNameOnANodeLoadOnce) {
    prepareMedia();
    const std::string& mesh = twoPartMesh();
    const std::pair<const char*, std::string> cases[] = {
        {"light, camera", R"(<light name="x"/><camera name="x"/>)"},
        {"entity, light",
         "<entity name=\"x\" meshFile=\"" + mesh + "\"/><light name=\"x\"/>"},
        {"particles, particles",
         R"(<particleSystem name="x" file="SceneTest/Sparks"/>
            <particleSystem name="x" file="SceneTest/Sparks"/>)"},
        {"camera named as the node's billboard set",
         R"(<billboardSet materialName="SceneTest/Red" width="1" height="1"/><camera name="P_x"/>)"},
    };
    for (const auto& [name, objects] : cases) {
        SCOPED_TRACE(name);
        auto l = load("same-name.xml", sceneWithNodes("<node name=\"x\">" + objects + "</node>"));
        EXPECT_EQ(l->manager->getSceneNode("P_x")->numAttachedObjects(), 1u);
        EXPECT_EQ(l->log.countContaining("like another object of its node; element skipped"), 1)
            << l->log.all();
    }  // each scene manager is destroyed here, with what the file made
}

TEST(Loader, ConfigAmbientSkyAndFog) {
    prepareMedia();
    auto l = load("config.xml", R"(<scene><config>
        <ambientLight r="0.1" g="0.2" b="0.3"/>
        <shadow technique="STENCIL_MODULATIVE"/>
        <skyBox materialName="SceneTest/Sky" drawFirst="true">
          <rotation qx="0" qy="1" qz="0" qw="0"/></skyBox>
        <fog r="0.5" g="0.6" b="0.7" density="0.002"/>
        <background r="0.1" g="0.2" b="2"/>
      </config></scene>)");
    const Ogre::ColourValue ambient(0.1f, 0.2f, 0.3f, 1);
    EXPECT_EQ(l->scene.ambientColour, ambient);
    EXPECT_EQ(l->manager->getAmbientLight(), ambient);
    EXPECT_EQ(l->scene.shadowTechnique, 0x12);
    EXPECT_EQ(l->manager->getShadowTechnique(), Ogre::SHADOWTYPE_STENCIL_MODULATIVE);
    EXPECT_TRUE(l->manager->isSkyBoxEnabled());
    EXPECT_EQ(l->manager->getSkyBoxGenParameters().skyBoxDistance, 0);  // no "distance"
    EXPECT_TRUE(l->scene.fogEnabled);
    EXPECT_FLOAT_EQ(l->scene.fogDensity, 0.002f);
    EXPECT_EQ(l->scene.fogColour, Ogre::ColourValue(0.5f, 0.6f, 0.7f, 1));
    EXPECT_EQ(l->manager->getFogMode(), Ogre::FOG_EXP2);
    EXPECT_FLOAT_EQ(l->manager->getFogDensity(), 0.002f);
    EXPECT_EQ(l->manager->getFogColour(), Ogre::ColourValue(0.5f, 0.6f, 0.7f, 1));
    EXPECT_FLOAT_EQ(l->manager->getFogStart(), 0);
    EXPECT_FLOAT_EQ(l->manager->getFogEnd(), 1);
    EXPECT_EQ(l->scene.backgroundColour(), Ogre::ColourValue(0.1f, 0.2f, 1, 1));  // held to the colour range

    // A later file without fog leaves the manager's fog alone.
    SceneFiles::instance().write("nofog.xml", "<scene><config/></scene>");
    l->scene.load("nofog.xml");
    EXPECT_FALSE(l->scene.fogEnabled);
    EXPECT_EQ(l->scene.backgroundColour(), Ogre::ColourValue::Black);  // each file names its own
    EXPECT_EQ(l->manager->getFogMode(), Ogre::FOG_EXP2);
    EXPECT_EQ(l->scene.ambientColour, ambient);
}

TEST(Loader, SkyMeshIsDrawnFirstFollowsTheCameraAndIsNeverPicked) {
    prepareMedia();
    // The field's own sky: a sphere of vertex colours and the stars as points.
    auto l = load("skymesh.xml", R"(<scene><config><skyMesh meshFile="third_sky.mesh"/></config></scene>)");
    ASSERT_TRUE(l->manager->hasEntity(Mossden::SKY_MESH_ENTITY)) << l->log.all();
    Ogre::Entity* sky = l->manager->getEntity(Mossden::SKY_MESH_ENTITY);
    EXPECT_EQ(sky->getRenderQueueGroup(), Ogre::RENDER_QUEUE_SKIES_EARLY);
    EXPECT_EQ(sky->getQueryFlags(), 0u);
    EXPECT_FALSE(sky->getCastShadows());
    int points = 0;
    for (Ogre::SubEntity* part : sky->getSubEntities()) {
        const bool point = part->getSubMesh()->operationType == Ogre::RenderOperation::OT_POINT_LIST;
        points += point;
        const int group = part->isRenderQueueGroupSet() ? part->getRenderQueueGroup() : sky->getRenderQueueGroup();
        EXPECT_EQ(group, Ogre::RENDER_QUEUE_SKIES_EARLY + (point ? 1 : 0));
    }
    EXPECT_GT(points, 0);

    Ogre::Camera* camera = l->manager->createCamera("SkyTestCamera");
    l->manager->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(100, -200, 3000))->attachObject(camera);
    Mossden::SkyFollower follower;
    follower.cameraPreRenderScene(camera);
    EXPECT_EQ(l->manager->getSceneNode(Mossden::SKY_MESH_NODE)->getPosition(), Ogre::Vector3(100, -200, 3000));

    // A second sky, a missing mesh: one line each, and the scene goes on.
    SceneFiles::instance().write("skymesh2.xml", R"(<scene><config><skyMesh meshFile="third_sky.mesh"/></config></scene>)");
    l->scene.load("skymesh2.xml");
    EXPECT_EQ(l->log.countContaining("comes after another sky mesh; element skipped"), 1) << l->log.all();
    auto missing = load("skymesh3.xml", R"(<scene><config><skyMesh meshFile="no_such_sky.mesh"/></config></scene>)");
    EXPECT_FALSE(missing->manager->hasEntity(Mossden::SKY_MESH_ENTITY));
    EXPECT_EQ(missing->log.countContaining("has a mesh that cannot be used"), 1) << missing->log.all();
    follower.cameraPreRenderScene(camera);  // a scene without a sky is fine too
}

TEST(Loader, ShadowTechniques) {
    struct Case {
        const char* technique;
        int code;
        bool wrong;
    };
    const Case cases[] = {{"NONE", 0x00, false},
                          {"TEXTURE_MODULATIVE", 0x22, false},
                          {"STENCIL_MODULATIVE", 0x12, false},
                          {"STENCIL_ADDITIVE", 0x11, false},
                          {"none", 0x00, true},
                          {"", 0x00, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.technique);
        PrivateSceneManager manager;
        manager->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_ADDITIVE);  // to see it replaced
        TestScene scene(manager.get());
        SceneFiles::instance().write(
            "shadow.xml", std::string("<scene><config><shadow technique=\"") + c.technique +
                              "\"/></config></scene>");
        ::testing::internal::CaptureStdout();
        scene.load("shadow.xml");
        const std::string output = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(scene.shadowTechnique, c.code);
        EXPECT_EQ(manager->getShadowTechnique(), c.code);
        EXPECT_EQ(output, c.wrong
                              ? std::string("[ERROR] Wrong shadow technique: ") + c.technique + "\n"
                              : "");
    }
}

TEST(Loader, HookCalls) {
    struct Case {
        const char* name;
        std::string text;
        int customCalls;
        bool customNull;
        int autoCalls;
    };
    const Case cases[] = {
        {"no custom", "<scene><config/></scene>", 1, true, 0},
        {"custom", R"(<scene><config/><custom tag="c1"/><custom tag="c2"/></scene>)", 1, false, 0},
        {"auto", R"(<scene><auto tag="a1"/><auto tag="a2"/><config/><custom tag="c1"/></scene>)", 1,
         false, 1},
        {"only root", "<scene/>", 1, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto l = load("hooks.xml", c.text);
        EXPECT_EQ(l->scene.customCalls, c.customCalls);
        EXPECT_EQ(l->scene.customWasNull, c.customNull);
        if (!c.customNull) {
            EXPECT_EQ(l->scene.customValue, "c1");  // the first one
        }
        EXPECT_EQ(l->scene.autoCalls, c.autoCalls);
        if (c.autoCalls) {
            EXPECT_EQ(l->scene.autoValue, "a1");
        }
    }
}

TEST(Loader, NoNodesStillAppliesConfigAndCustom) {
    auto empty =
        load("nonodes.xml",
             R"(<scene><config><ambientLight r="0.5" g="0.5" b="0.5"/></config><custom/></scene>)");
    EXPECT_EQ(empty->manager->getAmbientLight(), Ogre::ColourValue(0.5f, 0.5f, 0.5f, 1));
    EXPECT_EQ(empty->scene.customCalls, 1);

    auto noChildren = load("emptynodes.xml", "<scene><nodes><other/></nodes><config/></scene>");
    EXPECT_EQ(noChildren->manager->getRootSceneNode()->numChildren(), 0u);
}

// Files that cannot be read at all: one of the three loader messages, nothing
// created, neither hook called.
TEST(Loader, UnreadableFilesAreReported) {
    const std::string parseError = "[dotSceneLoader] The TiXmlDocument reported an error";
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<node name=\"n\">";
    struct Case {
        const char* name;
        std::string text;  // empty name: file not written
        std::string line;
    };
    const Case cases[] = {
        {"notxml", "this is not XML", parseError},
        {"empty", "", parseError},
        {"unclosed", "<scene><nodes><node name=\"a\">", parseError},
        {"binary", std::string("<scene>\0\x01\xff<nodes>", 17), parseError},
        {"deep", "<scene><nodes>" + deep, parseError},
        {"wrongroot", "<world><config/></world>",
         "[dotSceneLoader]Error: Invalid .scene File. Missing <scene>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto l = load(std::string(c.name) + ".xml", c.text);
        EXPECT_TRUE(l->log.has(c.line)) << l->log.all();
        EXPECT_EQ(l->scene.customCalls, 0);
        EXPECT_EQ(l->manager->getRootSceneNode()->numChildren(), 0u);
    }
    PrivateSceneManager manager;
    TestScene scene(manager.get());
    LogCapture log;
    scene.load("does-not-exist.xml");
    EXPECT_TRUE(log.has("[dotSceneLoader] Error creating TiXmlDocument")) << log.all();
    scene.loadSceneFile("first_scene.xml", "NoSuchGroup", manager.get());
    EXPECT_EQ(log.countContaining("[dotSceneLoader] Error creating TiXmlDocument"), 2);
    EXPECT_EQ(scene.customCalls, 0);
}

// A missing required attribute skips that element, with one log line naming
// the file and the element; the rest of the file loads.
TEST(Loader, MissingAttributesSkipTheirElement) {
    prepareMedia();
    const std::string mesh = twoPartMesh();
    auto l = load(
        "missing.xml",
        sceneWithNodes(
            R"(
        <node><position x="1" y="2" z="3"/><node name="orphan"/></node>
        <node name="ok1"><position x="1" y="2"/><scale x="2"/><rotation qx="1"/>
          <entity name="noMesh"/><light/><camera/><billboardSet width="1" height="1"/>
          <particleSystem name="p"/><userData><property name="a" data="b"/></userData></node>
        <node name="ok2"><light name="L2"><colourDiffuse r="0"/></light>
          <entity name="E2" meshFile=")" +
                mesh +
                R"("><subentities><subentity materialName="SceneTest/Red"/></subentities></entity>
          <billboardSet materialName="SceneTest/Red" width="1" height="1">
            <billboard><position x="1"/><colourDiffuse r="0"/></billboard></billboardSet></node>)",
            R"(<config><ambientLight r="0"/><shadow/></config>)"));
    EXPECT_FALSE(l->manager->hasSceneNode("P_orphan"));
    Ogre::SceneNode* ok1 = l->manager->getSceneNode("P_ok1");
    EXPECT_EQ(ok1->getPosition(), Ogre::Vector3::ZERO);
    EXPECT_EQ(ok1->getScale(), Ogre::Vector3::UNIT_SCALE);
    EXPECT_EQ(ok1->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_EQ(ok1->numAttachedObjects(), 0u);
    EXPECT_TRUE(l->scene.userDataProperties.empty());
    EXPECT_EQ(l->manager->getLight("L2")->getDiffuseColour(), Ogre::ColourValue::White);
    EXPECT_EQ(l->manager->getEntity("E2")->getSubEntity(0)->getMaterialName(), "BaseWhite");
    Ogre::BillboardSet* set = l->manager->getBillboardSet("P_ok2");
    ASSERT_EQ(set->getNumBillboards(), 1);
    EXPECT_EQ(set->getBillboard(0)->getPosition(), Ogre::Vector3::ZERO);
    EXPECT_EQ(set->getBillboard(0)->getColour(), Ogre::ColourValue::White);
    EXPECT_EQ(l->manager->getAmbientLight(), Ogre::ColourValue::Black);
    EXPECT_EQ(l->scene.shadowTechnique, -1);
    // node, position, scale, rotation, entity, light, camera, billboardSet,
    // particleSystem, property, colourDiffuse, subentity, billboard position,
    // billboard colour, ambientLight, shadow
    EXPECT_EQ(l->log.countContaining("[dotSceneLoader] missing.xml line "), 16) << l->log.all();
    EXPECT_EQ(l->log.countContaining("; element skipped"), 16);
    EXPECT_EQ(l->scene.customCalls, 1);

    auto noConfig = load("noconfig.xml", "<scene><nodes/><custom/></scene>");
    EXPECT_EQ(noConfig->log.countContaining("noconfig.xml: no <config>"), 1);
    EXPECT_EQ(noConfig->scene.customCalls, 1);
}

// Numbers the engine cannot take (it asserts on NaN positions and on
// overflowing bounds) skip their element like a missing attribute.
TEST(Loader, UnusableNumbersSkipTheirElement) {
    prepareMedia();
    auto l = load(
        "numbers.xml",
        sceneWithNodes(
            R"(
        <node name="n1"><position x="nan" y="0" z="0"/></node>
        <node name="n2"><rotation qx="0" qy="0" qz="0" qw="0"/></node>
        <node name="n3"><scale x="inf" y="1" z="1"/></node>
        <node name="n4"><scale x="1e10" y="1e10" z="1e10"/>
          <node name="n5"><scale x="1e10" y="1e10" z="1e10"/></node></node>
        <node name="n6"><angleRotation y="nan"/></node>
        <node name="n7"><billboardSet materialName="SceneTest/Red" width="1e16" height="1"/></node>
        <node name="n8"><light name="L8"><lightAttenuation range="nan"/><position x="1e20"/></light></node>)",
            R"(<config><fog density="inf"/><skyBox materialName="SceneTest/Sky"><rotation/></skyBox></config>)"));
    for (const char* name : {"P_n1", "P_n2", "P_n3", "P_n5", "P_n6"}) {
        SCOPED_TRACE(name);
        Ogre::SceneNode* node = l->manager->getSceneNode(name);
        EXPECT_EQ(node->getPosition(), Ogre::Vector3::ZERO);
        EXPECT_EQ(node->getOrientation(), Ogre::Quaternion::IDENTITY);
        EXPECT_EQ(node->getScale(), Ogre::Vector3::UNIT_SCALE);
    }
    EXPECT_EQ(l->manager->getSceneNode("P_n4")->getScale(), Ogre::Vector3(1e10f, 1e10f, 1e10f));
    EXPECT_FALSE(l->manager->hasBillboardSet("P_n7"));
    Ogre::Light* light = l->manager->getLight("L8");
    EXPECT_FLOAT_EQ(light->getAttenuationRange(), 100000);
    EXPECT_EQ(light->getPosition(), Ogre::Vector3::ZERO);
    EXPECT_FALSE(l->scene.fogEnabled);
    EXPECT_EQ(l->manager->getFogMode(), Ogre::FOG_NONE);
    EXPECT_TRUE(l->manager->isSkyBoxEnabled());  // with the identity instead of a zero rotation
    EXPECT_EQ(l->log.countContaining("[dotSceneLoader] numbers.xml line "), 10) << l->log.all();
    renderOnce(l->manager.get());
}

// Engine errors are not the loader's to hide: they reach the caller.
TEST(Loader, EngineErrorsReachTheCaller) {
    prepareMedia();
    const std::string mesh = twoPartMesh();
    auto entity = [&](const std::string& node, const std::string& name, const std::string& meshFile,
                      const std::string& inner = "") {
        return "<node name=\"" + node + "\"><entity name=\"" + name + "\" meshFile=\"" + meshFile +
               "\">" + inner + "</entity></node>";
    };
    const std::pair<const char*, std::string> cases[] = {
        {"duplicate entity", entity("a", "same", mesh) + entity("b", "same", mesh)},
        {"duplicate node", entity("a", "e1", mesh) + entity("a", "e2", mesh)},
        {"unknown mesh", entity("a", "e", "NoSuchMesh.mesh")},
        {"sub-entity index",
         entity("a", "e", mesh, R"(<subentities><subentity index="2"/></subentities>)")},
        {"negative index",
         entity("a", "e", mesh, R"(<subentities><subentity index="-1"/></subentities>)")},
        {"unknown particles",
         R"(<node name="p"><particleSystem name="p" file="NoSuchTemplate"/></node>)"},
    };
    for (const auto& [name, nodes] : cases) {
        SCOPED_TRACE(name);
        PrivateSceneManager manager;
        TestScene scene(manager.get());
        SceneFiles::instance().write("engine-error.xml", sceneWithNodes(nodes));
        EXPECT_THROW(scene.load("engine-error.xml"), Ogre::Exception);
    }
}

// Broken variants of a full scene file: truncated anywhere, bytes replaced
// by markup characters. Loading (and rendering what was built) must never
// crash; engine errors are allowed.
TEST(Loader, BrokenFilesNeverCrash) {
    prepareMedia();
    const std::string mesh = twoPartMesh();
    const std::string full = R"(<?xml version="1.0" encoding="UTF-8"?>
<scene><nodes>
  <node name="a"><position x="1" y="2" z="3"/><rotation qx="0" qy="0" qz="0" qw="1"/>
    <scale x="1" y="1" z="1"/><angleRotation x="10" y="20" z="30"/>
    <light name="L" type="spot"><colourDiffuse r="1" g="1" b="1"/><lightAttenuation range="50"/></light>
    <entity name="E" meshFile=")" +
                             mesh +
                             R"(" renderQueueGroup="60" materialName="SceneTest/Red" visible="true">
      <subentities><subentity index="0" materialName="SceneTest/Blue"/></subentities></entity>
    <billboardSet materialName="SceneTest/Red" width="2" height="2">
      <billboard><position x="0" y="1" z="0"/><colourDiffuse r="1" g="0" b="0"/></billboard></billboardSet>
    <userData><property name="k" data="v" type="s"/></userData>
    <particleSystem name="PS" file="SceneTest/Sparks"/>
    <node name="b"><position x="0" y="0" z="-1"/></node>
  </node>
</nodes>
<config><ambientLight r="0.2" g="0.2" b="0.2"/><shadow technique="STENCIL_ADDITIVE"/>
  <skyBox materialName="SceneTest/Sky" distance="500" drawFirst="true"/>
  <fog r="0" g="0" b="0" density="0.001"/></config>
<custom><cameraSpeed value="5"/><disableFog><material name="SceneTest/Red"/></disableFog></custom>
<auto/>
</scene>)";
    std::vector<std::string> variants;
    for (size_t cut = 0; cut < full.size(); cut += 7) variants.push_back(full.substr(0, cut));
    std::mt19937 random(20240517u);
    const std::string markup = "<>/\"'= !?-[]&0.e9xnan";
    for (int i = 0; i < 300; ++i) {
        std::string text = full;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k)
            text[random() % text.size()] = markup[random() % markup.size()];
        variants.push_back(text);
    }
    // Non-numbers where numbers belong.
    std::string nonFinite = full;
    for (const char* value : {"x=\"1\"", "qw=\"1\"", "qy=\"0\"", "range=\"50\"", "width=\"2\""}) {
        const size_t at = nonFinite.find(value);
        const size_t eq = nonFinite.find('"', at);
        nonFinite.replace(eq + 1, nonFinite.find('"', eq + 1) - eq - 1,
                          std::string(value).rfind("qw", 0) == 0 ? "0" : "nan");
    }
    variants.push_back(nonFinite);
    // Scales that multiply past the float range down a chain of nodes.
    std::string chain;
    for (int i = 0; i < 40; ++i)
        chain += "<node name=\"s" + std::to_string(i) +
                 "\"><scale x=\"1e5\" y=\"1e5\" z=\"1e5\"/>"
                 "<rotation qx=\"0\" qy=\"0.3\" qz=\"0\" qw=\"0.95\"/>";
    chain += "<entity name=\"deepE\" meshFile=\"" + mesh + "\"/>";
    for (int i = 0; i < 40; ++i) chain += "</node>";
    variants.push_back(sceneWithNodes(chain));

    int loaded = 0;
    int engineErrors = 0;
    for (size_t i = 0; i < variants.size(); ++i) {
        PrivateSceneManager manager;
        TestScene scene(manager.get());
        SceneFiles::instance().write("broken.xml", variants[i]);
        ::testing::internal::CaptureStdout();
        try {
            scene.load("broken.xml");
            ++loaded;
            renderOnce(manager.get());
        } catch (const Ogre::Exception&) {
            ++engineErrors;
        }
        ::testing::internal::GetCapturedStdout();
    }
    EXPECT_GT(loaded, 0);
    RecordProperty("engineErrors", engineErrors);
}
