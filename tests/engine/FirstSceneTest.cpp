// The first scene on the real engine: its world loads with the second
// scene's beside it, and the flight's rules hold frame by frame.
#include <gtest/gtest.h>

#include <OIS.h>
#include <Ogre.h>

#include <OgreTagPoint.h>
#include <tinyxml.h>

#include <filesystem>
#include <memory>

#include "scenes/first/Scene1.h"
#include "scenes/second/Scene2.h"
#include "app/MossdenApp.h"
#include "tests/engine/EngineEnvironment.h"

using Mossden::FlightPhase;
using Mossden::Scene1;
using Mossden::Test::app;
using Mossden::Test::renderFrames;

namespace {

// Enters the first scene as the application does (Scene1 and Scene2 on one
// scene manager) and goes back to the menu afterwards.
class FirstScene : public ::testing::Test {
protected:
    void SetUp() override {
        app().sceneIndex = 0;
        app().nextScene();
        scene = dynamic_cast<Scene1*>(app().currentScene());
        ASSERT_NE(scene, nullptr);
    }
    void TearDown() override { Mossden::Test::backToMenu(); }
    // Runs update with a frame of dt seconds, as the application does: the
    // game clock first, then the scene.
    void update(float dt) {
        app().clock.advance(dt);
        Ogre::FrameEvent evt;
        evt.timeSinceLastFrame = dt;
        evt.timeSinceLastEvent = dt;
        scene->update(evt);
    }
    void startAscent() {
        Scene1::firstUpdatePending = false;
        update(0.016f);
        ASSERT_EQ(scene->phase, FlightPhase::Ascent);
    }
    Scene1* scene = nullptr;
};

std::string artefact(const std::string& name) {
    const std::string dir = std::string(MOSSDEN_BUILD_DIR) + "/artefacts";
    std::filesystem::create_directories(dir);
    return dir + "/" + name;
}

}  // namespace


TEST_F(FirstScene, BothFilesAreLoadedOnOneSceneManager) {
    Ogre::SceneManager* sm = app().sceneManager;
    for (const char* name : {"ladybird", "ladybird2", "ladybird_track", "dragonfly", "seed1", "fern1", "tunnel"})
        EXPECT_TRUE(sm->hasEntity(name)) << name;
    for (const char* name : {"CameraTrack", "CameraLookTrack", "CameraFallTrack", "DragonFlyTrack",
                             "LadyBirdTrack", "CameraTunnelTrack"})
        EXPECT_TRUE(sm->hasAnimation(name)) << name;
    EXPECT_FALSE(sm->getLight("Scene1Omni02")->isVisible());
    // the ladybirds ride the walk skeleton's root bone
    EXPECT_TRUE(scene->ladybird->isAttached());
    EXPECT_EQ(scene->ladybird->getParentSceneNode(), scene->ladybirdPath->getParentSceneNode());
    EXPECT_NE(dynamic_cast<Ogre::TagPoint*>(scene->ladybird->getParentNode()), nullptr);
    EXPECT_FLOAT_EQ(app().camera->getNearClipDistance(), 0.4f);
    EXPECT_EQ(app().camera->getParentSceneNode(), scene->rigCameraNode);
    EXPECT_EQ(scene->rigCameraNode->getParentSceneNode(), scene->pitchNode);
    EXPECT_EQ(scene->pitchNode->getParentSceneNode(), scene->yawNode);
    EXPECT_EQ(scene->yawNode->getParentSceneNode(), scene->cameraTrackNode);
    // instant black until the fade-in
    EXPECT_DOUBLE_EQ(app().fader->alpha, 1.0);
    EXPECT_TRUE(renderFrames(2));
}

// Each level sets the material scheme, the shadows and how far the small
// detail reaches, whatever level came before; High is the file's world.
TEST_F(FirstScene, QualityLevelsSetTheirDetailFromAnyOther) {
    using Quality = Mossden::Settings::Quality;
    struct Case {
        Quality quality;
        const char* scheme;
        float tuftReach, grassReach;  // 0: any distance
    };
    const Case cases[] = {{Quality::Low, "Low", 700, 6000},
                          {Quality::High, "Default", 2500, 0},
                          {Quality::Medium, "Medium", 1400, 12000},
                          {Quality::Low, "Low", 700, 6000},
                          {Quality::High, "Default", 2500, 0}};
    Ogre::SceneManager* sm = app().sceneManager;
    const auto kept = app().settings.quality;
    for (const Case& c : cases) {
        app().settings.quality = c.quality;
        app().applyQuality();
        EXPECT_EQ(app().window->getViewport(0)->getMaterialScheme(), c.scheme);
        EXPECT_EQ(sm->getShadowTechnique(), Ogre::SHADOWTYPE_NONE);  // the file asks for none
        EXPECT_FLOAT_EQ(sm->getEntity("moss_tufts_50_50")->getRenderingDistance(), c.tuftReach) << c.scheme;
        EXPECT_FLOAT_EQ(sm->getEntity("grass_50_50")->getRenderingDistance(), c.grassReach) << c.scheme;
        EXPECT_FLOAT_EQ(sm->getEntity("moss_floor_50_50")->getRenderingDistance(), 0) << c.scheme;
    }
    // The settings page changes the level and keeps the settings.
    app().settings.quality = Quality::Low;
    app().keepSettings();
    EXPECT_EQ(app().window->getViewport(0)->getMaterialScheme(), "Low");
    app().settings.quality = Quality::High;
    app().keepSettings();
    EXPECT_EQ(app().window->getViewport(0)->getMaterialScheme(), "Default");
    app().settings.quality = kept;
    app().keepSettings();
    EXPECT_TRUE(renderFrames(2));
}

TEST_F(FirstScene, FirstUpdateOfTheProcessIsSkipped) {
    Scene1::firstUpdatePending = true;
    update(0.016f);
    EXPECT_EQ(scene->phase, FlightPhase::Waiting);
    EXPECT_FALSE(Scene1::firstUpdatePending);
    update(0.016f);
    EXPECT_EQ(scene->phase, FlightPhase::Ascent);
    EXPECT_EQ(app().fader->operation, Mossden::Fader::FADE_IN);
    EXPECT_DOUBLE_EQ(app().fader->totalDuration, 7.0);
}

// The boost's rules are the flight model's (unit tests); here the scene
// feeds it: W or the left button is the forward input, the approach
// ignores it, and the file's values reach it.
TEST_F(FirstScene, ForwardInputBoostsOutsideTheApproach) {
    startAscent();
    scene->boost.budgetMs = Mossden::BOOST_BUDGET_MAX_MS;
    const float up = scene->rates.keyAcceleration, down = scene->rates.keySlowdown;
    scene->heldKeys.insert(OIS::KC_W);
    scene->tick(50);
    EXPECT_NEAR(scene->boost.multiplier, 1 + up, 1e-5);
    scene->heldKeys.erase(OIS::KC_W);
    scene->leftButtonDown = true;
    scene->tick(50);
    EXPECT_NEAR(scene->boost.multiplier, 1 + 2 * up, 1e-5);
    scene->leftButtonDown = false;
    scene->tick(50);
    EXPECT_NEAR(scene->boost.multiplier, 1 + 2 * up - down, 1e-5);
    // a tick in the approach does nothing at all
    scene->phase = FlightPhase::Approach;
    scene->heldKeys.insert(OIS::KC_W);
    const Mossden::Boost before = scene->boost;
    scene->tick(500);
    EXPECT_FLOAT_EQ(scene->boost.multiplier, before.multiplier);
    EXPECT_FLOAT_EQ(scene->boost.budgetMs, before.budgetMs);
}

TEST_F(FirstScene, BoostValuesComeFromTheFileUnlessUnusable) {
    // the generated file carries the model's own values
    const Mossden::FlightRates model;
    EXPECT_FLOAT_EQ(scene->rates.cameraAcceleration, model.cameraAcceleration);
    EXPECT_FLOAT_EQ(scene->rates.keyAcceleration, model.keyAcceleration);
    EXPECT_FLOAT_EQ(scene->rates.keySlowdown, model.keySlowdown);
    EXPECT_FLOAT_EQ(scene->rates.maxKeyAcceleration, model.maxKeyAcceleration);
    // rates not above 0 and a bound not above 1 are refused, each alone
    TiXmlDocument doc;
    doc.Parse(R"(<custom><cameraKeyAccseleration value="-0.8"/><cameraKeySlowdown value="0.3"/>
                 <cameraMaxKeyAccseleration value="-3"/></custom>)");
    Scene1 other(app().sceneManager, nullptr, app().sceneServices());
    other.loadCustom(doc.RootElement());
    EXPECT_FLOAT_EQ(other.rates.keyAcceleration, model.keyAcceleration);
    EXPECT_FLOAT_EQ(other.rates.keySlowdown, 0.3f);
    EXPECT_FLOAT_EQ(other.rates.maxKeyAcceleration, model.maxKeyAcceleration);
    doc.Parse(R"(<custom><cameraKeySlowdown value="0"/><cameraMaxKeyAccseleration value="1"/></custom>)");
    other.loadCustom(doc.RootElement());
    EXPECT_FLOAT_EQ(other.rates.keySlowdown, 0.3f);
    EXPECT_FLOAT_EQ(other.rates.maxKeyAcceleration, model.maxKeyAcceleration);
}

TEST_F(FirstScene, HeightLimitTakesTheFirstPointAboveInListOrder) {
    scene->radiusPoints = {Ogre::Vector3(10, 100, 0), Ogre::Vector3(20, 50, 0)};
    scene->cameraTrackNode->setPosition(0, 70, 0);
    EXPECT_FLOAT_EQ(scene->heightLimitAt(), 10.0f);
    scene->cameraTrackNode->setPosition(0, 40, 0);
    EXPECT_FLOAT_EQ(scene->heightLimitAt(), 10.0f);
    scene->cameraTrackNode->setPosition(0, 100, 0);
    EXPECT_FLOAT_EQ(scene->heightLimitAt(), Mossden::NO_HEIGHT_LIMIT);
    scene->radiusPoints.clear();
    scene->cameraTrackNode->setPosition(0, 0, 0);
    EXPECT_FLOAT_EQ(scene->heightLimitAt(), Mossden::NO_HEIGHT_LIMIT);
}

TEST_F(FirstScene, RigKeepsThePitchInTheBandOfTheLimit) {
    Mossden::TrackCameraRig& rig = *scene->rig;
    auto angle = [&] { return Mossden::pitchAngleOf(rig.pitchNode->getOrientation()); };
    EXPECT_NEAR(angle(), 65.0f, 1e-3);
    EXPECT_LT(rig.pitchNode->getOrientation().x, 0);
    scene->cameraTrackNode->setPosition(0, 10, 0);
    scene->radiusPoints = {Ogre::Vector3(30, 1000, 0)};
    struct Case {
        float pitch, expected;
    };
    // down past 150 and up past 30 are taken back; moves inside the band stay
    for (const Case& c : {Case{-100, 65}, Case{50, 65}, Case{30, 35}, Case{-30, 65}, Case{-80, 145}}) {
        rig.rotate(0, c.pitch, 0);
        EXPECT_NEAR(angle(), c.expected, 1e-2) << "pitch " << c.pitch;
    }
    // the yaw is never taken back
    const Ogre::Quaternion yawBefore = rig.yawNode->getOrientation();
    rig.rotate(10, -100, 0);
    EXPECT_NEAR(angle(), 145, 1e-2);
    EXPECT_FALSE(rig.yawNode->getOrientation().equals(yawBefore, Ogre::Degree(1)));
    // a pure correction pulls toward the limit only from inside it
    rig.pitchNode->setOrientation(Ogre::Quaternion(Ogre::Degree(-20), Ogre::Vector3::UNIT_X));
    rig.rotate(0, 0, 2);
    EXPECT_NEAR(angle(), 22, 1e-2);
    rig.pitchNode->setOrientation(Ogre::Quaternion(Ogre::Degree(-40), Ogre::Vector3::UNIT_X));
    rig.rotate(0, 0, 2);
    EXPECT_NEAR(angle(), 40, 1e-2);
    // the positive (upward) side is closed below 160 degrees, and not corrected
    rig.pitchNode->setOrientation(Ogre::Quaternion(Ogre::Degree(20), Ogre::Vector3::UNIT_X));
    rig.rotate(0, 5, 2);
    EXPECT_NEAR(angle(), 20, 1e-2);
    rig.rotate(0, 0, 2);
    EXPECT_NEAR(angle(), 20, 1e-2);
    // without radius points only the yaw turns
    scene->radiusPoints.clear();
    rig.pitchNode->setOrientation(Ogre::Quaternion(Ogre::Degree(-65), Ogre::Vector3::UNIT_X));
    for (float pitch : {-5.0f, 5.0f}) {
        rig.rotate(3, pitch, 0);
        EXPECT_NEAR(angle(), 65, 1e-2);
    }
}

TEST_F(FirstScene, CollapseKeepsTheViewAndMovesItIntoTheYawNode) {
    Mossden::TrackCameraRig& rig = *scene->rig;
    rig.cameraNode->setOrientation(Ogre::Quaternion(Ogre::Degree(12), Ogre::Vector3::UNIT_Y));
    scene->cameraTrackNode->_update(true, false);
    const Ogre::Quaternion before = rig.cameraNode->_getDerivedOrientation();
    rig.collapse();
    scene->cameraTrackNode->_update(true, false);
    EXPECT_TRUE(rig.cameraNode->_getDerivedOrientation().equals(before, Ogre::Degree(0.01f)));
    EXPECT_EQ(rig.pitchNode->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_EQ(rig.cameraNode->getOrientation(), Ogre::Quaternion::IDENTITY);
}

TEST_F(FirstScene, ApproachLookFollowsTheLookNodeWithinTheLimit) {
    Mossden::TrackCameraRig& rig = *scene->rig;
    scene->cameraTrackNode->setPosition(0, 5000, 0);
    scene->lookTrackNode->setPosition(500, 4000, 300);
    scene->cameraTrackNode->_update(true, false);
    scene->lookTrackNode->_update(true, false);
    const float start = rig.lookOffsetDeg();
    for (int i = 0; i < 120; ++i) rig.followLook(0.05f);
    EXPECT_LT(rig.lookOffsetDeg(), start);
    EXPECT_LT(rig.lookOffsetDeg(), 5.0f);
    // mouse turns move the view off the look node, but none leaves it more
    // than 70 degrees off: the turn that would is taken back
    float largest = 0;
    for (int i = 0; i < 40; ++i) {
        rig.approachLook(-20.0f, 15.0f);
        largest = std::max(largest, rig.lookOffsetDeg());
        EXPECT_LE(rig.lookOffsetDeg(), Mossden::TrackCameraRig::APPROACH_LOOK_LIMIT_DEG) << "turn " << i;
    }
    EXPECT_GT(largest, 50.0f);
}

TEST_F(FirstScene, SeveralPhasesInOneFrame) {
    startAscent();
    // the track's end lies above 8900: one frame runs the ascent, the
    // approach (the track has ended) and the first fall step
    const float L = scene->cameraTrackState->getLength();
    scene->cameraTrackState->setTimePosition(L);
    update(0.016f);
    EXPECT_EQ(scene->phase, FlightPhase::Fall);
    EXPECT_TRUE(scene->fallTrackState->getEnabled());
    EXPECT_FLOAT_EQ(scene->fallSpeed, 0.0f);
    EXPECT_TRUE(scene->endTurnStarted);
    EXPECT_FALSE(app().sceneManager->hasLight("Scene1Omni02"));
    EXPECT_FLOAT_EQ(scene->boost.multiplier, Mossden::approachMultiplier(scene->rates));
    EXPECT_EQ(app().fader->operation, Mossden::Fader::FADE_NONE);
}

TEST_F(FirstScene, ApproachTurnsDarkensAndSlowsDown) {
    startAscent();
    const float L = scene->cameraTrackState->getLength();
    scene->phase = FlightPhase::Approach;
    scene->lookTrackState->setEnabled(true);
    scene->boost.multiplier = 3;
    scene->trackSpeed = 30;
    scene->cameraAcceleration = 0.3f;
    scene->cameraTrackState->setTimePosition(1950);
    for (int i = 0; i < 600; ++i) update(0.02f);
    EXPECT_FLOAT_EQ(scene->trackSpeed, 4.0f);
    scene->cameraTrackState->setTimePosition(0.8f * L + 1);
    update(0.02f);
    ASSERT_TRUE(scene->endTurnStarted);
    const float s = scene->approachStartTime;
    EXPECT_DOUBLE_EQ(app().fader->alpha, 0.0);
    scene->cameraTrackState->setTimePosition(L - 150);
    update(0.0f);
    EXPECT_NEAR(app().fader->alpha, (L - 150 - 50 - s) / (L - s), 1e-4);
    const Ogre::Quaternion target = Ogre::Quaternion(Ogre::Degree(-90), Ogre::Vector3::UNIT_Z) *
                                    Ogre::Quaternion(Ogre::Degree(-90), Ogre::Vector3::UNIT_Y);
    EXPECT_TRUE(scene->yawNode->getOrientation().equals(target, Ogre::Degree(0.1f)));
    // looking straight down
    scene->cameraTrackNode->_update(true, false);
    const Ogre::Vector3 view = app().camera->getDerivedDirection();
    EXPECT_LT(view.y, -0.999f);
}

TEST_F(FirstScene, SoundsStartByTrackTime) {
    startAscent();
    scene->soundStarts = {{0.0f, 1}, {5.0f, 2}, {5.0f, 3}, {100.0f, 4}};
    scene->trackSpeed = 0;
    scene->cameraTrackState->setTimePosition(0);
    update(0.016f);
    EXPECT_EQ(scene->soundStarts.size(), 3u);
    scene->cameraTrackState->setTimePosition(5);
    update(0.016f);
    ASSERT_EQ(scene->soundStarts.size(), 1u);
    EXPECT_EQ(scene->soundStarts.begin()->second, 4);
}

TEST_F(FirstScene, TheFallEndsInTheOutro) {
    startAscent();
    scene->cameraTrackState->setTimePosition(scene->cameraTrackState->getLength());
    update(0.016f);
    ASSERT_EQ(scene->phase, FlightPhase::Fall);
    // the fall waits a quarter of a second, then accelerates
    for (int i = 0; i < 400 && scene->phase == FlightPhase::Fall; ++i) {
        update(0.05f);
        if (i == 0) {
            EXPECT_FLOAT_EQ(scene->fallTrackState->getTimePosition(), 0.0f);
        }
    }
    EXPECT_EQ(scene->phase, FlightPhase::Outro);
    // the camera has fallen from above 8900 into the burrow below the moss
    scene->cameraTrackNode->_update(true, false);
    EXPECT_LT(app().camera->getDerivedPosition().y, -1000);
    EXPECT_FALSE(scene->isFinished());
}

TEST_F(FirstScene, PathMoversTravelOnceAndFaceTheirWay) {
    TiXmlDocument doc;
    doc.Parse(R"(<pathMoveObjects>
        <object><node><entity name="moverA" meshFile="seed.mesh"/><scale x="2" y="2" z="2"/>
            <rotation qw="0.7071" qx="0" qy="0.7071" qz="0"/></node>
          <path time="2"><point x="0" y="0" z="0"/><point x="100" y="0" z="0"/><point x="200" y="0" z="0"/></path></object>
        <object><node><entity name="moverUp" meshFile="seed.mesh"/></node>
          <path time="1"><point x="0" y="0" z="0"/><point x="0" y="100" z="0"/></path></object>
        <object><node><entity name="moverStill" meshFile="seed.mesh"/></node>
          <path time="1"><point x="7" y="8" z="9"/></path></object>
        <object><node><entity name="standing" meshFile="seed.mesh"/></node></object>
      </pathMoveObjects>)");
    Mossden::PathMoverList list(app().sceneManager);
    list.load(doc.RootElement());
    ASSERT_EQ(list.movers.size(), 3u);
    EXPECT_TRUE(app().sceneManager->hasEntity("standing"));
    list.start();
    Mossden::PathMover& a = list.movers.front();
    Mossden::PathMover& up = *std::next(list.movers.begin());
    Mossden::PathMover& still = list.movers.back();
    // the inner node carries the fixed placement, the outer node moves
    Ogre::SceneNode* inner = a.entity->getParentSceneNode();
    EXPECT_EQ(inner->getParentSceneNode(), a.node);
    EXPECT_EQ(inner->getScale(), Ogre::Vector3(2, 2, 2));
    list.update(1.0f);
    EXPECT_TRUE(a.node->getPosition().positionEquals(Ogre::Vector3(100, 0, 0), 1.0f));
    // forward (+Z) turned toward +X, about the vertical only
    const Ogre::Vector3 forward = a.node->getOrientation() * Ogre::Vector3::UNIT_Z;
    EXPECT_TRUE(forward.positionEquals(Ogre::Vector3::UNIT_X, 1e-3f)) << forward;
    // straight up: no horizontal direction, the heading stays
    EXPECT_EQ(up.node->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_TRUE(still.node->getPosition().positionEquals(Ogre::Vector3(7, 8, 9), 1e-3f));
    // past the end: stopped at the last point with the last heading
    list.update(5.0f);
    EXPECT_TRUE(a.node->getPosition().positionEquals(Ogre::Vector3(200, 0, 0), 1e-3f));
    EXPECT_TRUE((a.node->getOrientation() * Ogre::Vector3::UNIT_Z).positionEquals(Ogre::Vector3::UNIT_X, 1e-3f));
    EXPECT_FLOAT_EQ(a.elapsed, 6.0f);
}

// Seconds of play from the start of the ascent to the end of the camera
// track at 30 updates a second, with a tick every other update; `forward`
// says whether W is held at a given second.
template <class Forward>
float flightSeconds(Scene1* scene, Forward forward) {
    const float dt = 1.0f / 30.0f;
    float seconds = 0;
    Ogre::FrameEvent evt;
    evt.timeSinceLastFrame = dt;
    for (int frame = 0; scene->phase < FlightPhase::Fall && seconds < 600; ++frame) {
        if (forward(seconds))
            scene->heldKeys.insert(OIS::KC_W);
        else
            scene->heldKeys.erase(OIS::KC_W);
        if (frame % 2) scene->tick(67);
        scene->update(evt);
        seconds += dt;
    }
    return seconds;
}

TEST_F(FirstScene, TheFlightLastsMinutesAndWShortensIt) {
    startAscent();
    const float calm = flightSeconds(scene, [](float) { return false; });
    EXPECT_GT(calm, 110.0f);
    EXPECT_LT(calm, 220.0f);
    TearDown();
    SetUp();
    startAscent();
    // from half a minute on, as a player would
    const float held = flightSeconds(scene, [](float s) { return s > 30; });
    EXPECT_LT(held, calm);
    TearDown();
    SetUp();
    startAscent();
    // pressed again and again: a second down, half a second up
    const float tapped = flightSeconds(scene, [](float s) { return s > 30 && std::fmod(s, 1.5f) < 1.0f; });
    EXPECT_LT(tapped, held);
    std::printf("flight to the fall: %.1f s calm, %.1f s with W held, %.1f s with W pressed again and again\n",
                calm, held, tapped);
}

// Plays the flight without input at 30 updates a second, rendering only at
// a few moments, and keeps those pictures as artefacts.
TEST_F(FirstScene, ScreenshotsOfTheFlight) {
    startAscent();
    const float dt = 1.0f / 30.0f;
    float seconds = 0;
    for (float at : {8.0f, 24.0f, 40.0f, 80.0f, 128.0f, 150.0f, 170.0f}) {
        while (seconds < at && scene->phase < FlightPhase::Fall) {
            update(dt);
            seconds += dt;
        }
        if (scene->phase >= FlightPhase::Fall) break;
        const double alpha = app().fader->alpha;
        if (!scene->endTurnStarted) app().fader->overlay->hide();  // the fade-in runs on the frame loop
        renderFrames(2, 0.0);
        app().window->writeContentsToFile(artefact("first_flight_" + std::to_string(int(at)) + "s.png"));
        app().fader->alpha = alpha;
    }
    EXPECT_GE(seconds, 170.0f);
}
