// Tracks, splines and animation starters built from XML, on the real engine
// (private scene managers).
#include <Ogre.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include "scene/Helpers.h"
#include "tests/engine/SceneTestSupport.h"

using namespace SceneTest;

namespace {

// A parsed "custom" element kept alive for the builders.
struct Xml {
    explicit Xml(const std::string& text) {
        document.Parse(text.c_str());
        EXPECT_FALSE(document.Error()) << text;
    }
    const TiXmlElement* root() const { return document.RootElement(); }
    TiXmlDocument document;
};

std::vector<Ogre::Real> keyTimes(const Ogre::NodeAnimationTrack* track) {
    std::vector<Ogre::Real> times;
    for (unsigned short i = 0; i < track->getNumKeyFrames(); ++i)
        times.push_back(track->getNodeKeyFrame(i)->getTime());
    return times;
}

// A mesh whose entities have animation states of the given lengths (mesh
// animations without tracks: they only keep time).
const std::string& animatedMesh() {
    static const std::string name = "SceneTest/Animated.mesh";
    Ogre::MeshPtr mesh = makeMesh(name, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    if (!mesh->hasAnimation("a")) {
        mesh->createAnimation("a", 1.0f);
        mesh->createAnimation("b", 3.0f);
    }
    return name;
}

}  // namespace

TEST(Track, AutoFrameKeyTimesFollowDistance) {
    PrivateSceneManager manager;
    TestScene scene(manager.get());
    struct Case {
        const char* name;
        std::string points;
        std::vector<Ogre::Real> times;
    };
    const Case cases[] = {
        {"three",
         R"(<translate x="0" y="0" z="0"/><translate x="10" y="0" z="0"/>
                     <translate x="10" y="30" z="0"/>)",
         {0, 2, 8}},
        {"one", R"(<translate x="4" y="5" z="6"/>)", {0}},
        {"none", "", {}},
        {"coinciding", R"(<translate x="1" y="1" z="1"/><translate x="1" y="1" z="1"/>)", {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Xml xml(std::string("<custom><Path length=\"8\" autoFrame=\"true\">") + c.points +
                "</Path></custom>");
        Ogre::SceneNode* node = scene.createTrack(xml.root(), "Path", c.name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->getParentSceneNode(), manager->getRootSceneNode());
        Ogre::Animation* animation = manager->getAnimation(c.name);
        EXPECT_FLOAT_EQ(animation->getLength(), 8);
        const Ogre::NodeAnimationTrack* track = animation->getNodeTrack(0);
        EXPECT_EQ(track->getAssociatedNode(), node);
        EXPECT_TRUE(track->getUseShortestRotationPath());
        EXPECT_EQ(keyTimes(track), c.times);
    }
    const Ogre::NodeAnimationTrack* three = manager->getAnimation("three")->getNodeTrack(0);
    EXPECT_EQ(three->getNodeKeyFrame(2)->getTranslate(), Ogre::Vector3(10, 30, 0));
}

TEST(Track, ExplicitKeysTypeAndWholeNumbers) {
    PrivateSceneManager manager;
    TestScene scene(manager.get());
    Xml xml(R"(<custom>
        <Fly length="4" type="Spline"><translate x="1.75" y="-2.5" keyFrame="0"/>
          <translate x="10" y="0" z="0" keyFrame="1.5"/><translate z="3" keyFrame="4"/></Fly>
        <Walk length="2" type="spline"/>
        <Odd length="2"><translate x="1" keyFrame="nan"/><translate x="2" keyFrame="1"/></Odd>
      </custom>)");
    ::testing::internal::CaptureStdout();
    Ogre::SceneNode* fly = scene.createTrack(xml.root(), "Fly");
    ASSERT_NE(fly, nullptr);
    Ogre::Animation* animation = manager->getAnimation("Fly");
    EXPECT_EQ(animation->getInterpolationMode(), Ogre::Animation::IM_SPLINE);
    const Ogre::NodeAnimationTrack* track = animation->getNodeTrack(0);
    EXPECT_EQ(keyTimes(track), (std::vector<Ogre::Real>{0, 1.5f, 4}));
    EXPECT_EQ(track->getNodeKeyFrame(0)->getTranslate(), Ogre::Vector3(1, -2, 0));
    EXPECT_EQ(track->getNodeKeyFrame(2)->getTranslate(), Ogre::Vector3(0, 0, 3));

    ASSERT_NE(scene.createTrack(xml.root(), "Walk", "WalkAnimation"), nullptr);
    EXPECT_EQ(manager->getAnimation("WalkAnimation")->getInterpolationMode(),
              Ogre::Animation::IM_LINEAR);

    EXPECT_NE(scene.createTrack(xml.root(), "Odd"), nullptr);
    EXPECT_EQ(keyTimes(manager->getAnimation("Odd")->getNodeTrack(0)), std::vector<Ogre::Real>{1});

    // Playing is the caller's: the node follows the keys.
    animation->apply(1.5f);
    EXPECT_TRUE(fly->getPosition().positionEquals({10, 0, 0}, 1e-3f));

    EXPECT_EQ(scene.createTrack(xml.root(), "Nope"), nullptr);
    EXPECT_EQ(scene.createTrack(nullptr, "Fly", "Other"), nullptr);
    const std::string output = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(output,
              "Error: Track 'Odd': translate with keyFrame \"nan\" skipped\n"
              "Error: Track 'Nope' not found\n"
              "Error: Track 'Fly' not found\n");
    EXPECT_FALSE(manager->hasAnimation("Other"));
    // An animation name already in use is the engine's error.
    EXPECT_THROW(scene.createTrack(xml.root(), "Fly"), Ogre::Exception);
}

TEST(Track, Splines) {
    PrivateSceneManager manager;
    TestScene scene(manager.get());
    Xml xml(R"(<custom><Path><point x="0" y="0" z="0"/><point x="10.9" y="5" z="0"/>
                 <point x="20" y="0"/></Path><Empty/></custom>)");
    auto spline = scene.loadSpline(xml.root(), "Path");
    ASSERT_EQ(spline->getNumPoints(), 3u);
    EXPECT_EQ(spline->getPoint(1), Ogre::Vector3(10, 5, 0));
    EXPECT_TRUE(spline->interpolate(0.5f).positionEquals({10, 5, 0}, 1e-3f));
    EXPECT_TRUE(spline->interpolate(0, 0.5f).positionEquals({4.375f, 2.8125f, 0}, 1e-3f));
    // Tangents are calculated again as points are added.
    spline->addPoint({30, 5, 0});
    EXPECT_TRUE(spline->interpolate(3, 0).positionEquals({30, 5, 0}, 1e-3f));

    EXPECT_EQ(scene.loadSpline(xml.root(), "Empty")->getNumPoints(), 0u);
    EXPECT_EQ(scene.loadSpline(xml.root(), "Missing")->getNumPoints(), 0u);
    EXPECT_EQ(scene.loadSpline(nullptr, "Path")->getNumPoints(), 0u);
}

TEST(Track, AnimationHelpers) {
    PrivateSceneManager manager;
    Ogre::Entity* entity = manager->createEntity("anim", animatedMesh());
    startAllAnimations(entity, true);
    for (const auto& [name, state] : entity->getAllAnimationStates()->getAnimationStates()) {
        EXPECT_TRUE(state->getEnabled());
        EXPECT_TRUE(state->getLoop());
        EXPECT_EQ(state->getTimePosition(), 0);
    }
    advanceAllAnimations(entity, 0.5f);
    EXPECT_FLOAT_EQ(entity->getAnimationState("b")->getTimePosition(), 0.5f);
    entity->getAnimationState("b")->setEnabled(false);
    advanceAllAnimations(entity, 0.25f);  // disabled states advance too
    EXPECT_FLOAT_EQ(entity->getAnimationState("b")->getTimePosition(), 0.75f);
    startAllAnimations(entity, false);
    EXPECT_FALSE(entity->getAnimationState("a")->getLoop());
    EXPECT_EQ(entity->getAnimationState("b")->getTimePosition(), 0);

    Ogre::Entity* still = manager->createEntity("still", twoPartMesh());
    startAllAnimations(still, true);
    advanceAllAnimations(still, 1);
    startAllAnimations(nullptr, true);
    advanceAllAnimations(nullptr, 1);
}

TEST(Track, StarterStartsOnTimeAndStopsAtTheFirstEnd) {
    PrivateSceneManager manager;
    TestScene scene(manager.get());
    manager->createEntity("first", animatedMesh());
    manager->createEntity("second", animatedMesh());
    manager->createEntity("plain", twoPartMesh());
    Xml xml(R"(<animationStarter><start entity="first" time="0"/><start entity="second" time="2.5"/>
                 <start entity="plain" time="-1"/></animationStarter>)");
    std::unique_ptr<AnimationStarter> starter = scene.loadAnimationStarter(xml.root());
    ASSERT_NE(starter, nullptr);
    ASSERT_EQ(starter->pending.size(), 3u);
    EXPECT_EQ(starter->elapsed, 0);

    Ogre::Entity* first = manager->getEntity("first");
    Ogre::Entity* second = manager->getEntity("second");
    // Times 0 and below start on the first update, even with dt 0.
    starter->update(0);
    EXPECT_EQ(starter->pending.size(), 1u);
    EXPECT_EQ(starter->running, (std::list<Ogre::Entity*>{first, manager->getEntity("plain")}));
    EXPECT_TRUE(first->getAnimationState("a")->getEnabled());
    EXPECT_FALSE(first->getAnimationState("a")->getLoop());

    starter->update(0.6f);  // a 0.6, b 0.6
    starter->update(0.6f);  // a ends (1.0), b 1.2
    EXPECT_TRUE(first->getAnimationState("a")->hasEnded());
    EXPECT_EQ(starter->running.front(), first);
    starter->update(0.6f);  // "a" sorts first and has ended: first stops as a whole
    EXPECT_FLOAT_EQ(first->getAnimationState("b")->getTimePosition(), 1.2f);
    EXPECT_EQ(starter->running, std::list<Ogre::Entity*>{manager->getEntity("plain")});
    EXPECT_FLOAT_EQ(starter->elapsed, 1.8f);

    // second starts at the first update that reaches 2.5, advanced at once.
    starter->update(0.6f);
    EXPECT_EQ(starter->pending.size(), 1u);
    starter->update(0.2f);
    EXPECT_TRUE(starter->pending.empty());
    EXPECT_FLOAT_EQ(second->getAnimationState("a")->getTimePosition(), 0.2f);
    EXPECT_EQ(starter->running.back(), second);

    EXPECT_EQ(scene.loadAnimationStarter(nullptr), nullptr);
    // A start for an entity the scene does not have is left out with a line.
    Xml unknown(R"(<animationStarter><start entity="nobody" time="1"/></animationStarter>)");
    const auto without = scene.loadAnimationStarter(unknown.root());
    ASSERT_NE(without, nullptr);
    EXPECT_TRUE(without->pending.empty());
}
