// The third scene on the real engine, in a small world of sphere asteroids
// on a private scene manager: spin rows, nearest asteroid, jaws
// and fog set-up, the rig (landing, pitch limits, hops) and flights
// (clicks that do nothing, duration and arrival, crash avoidance).
#include <OgreOverlay.h>
#include <OgreOverlayManager.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <sstream>

#include "app/GamepadInput.h"
#include "scene/Helpers.h"
#include "scenes/third/Scene3.h"
#include "tests/engine/SceneTestSupport.h"

using Mossden::Test::app;

namespace {

using Mossden::Scene3;
using Mossden::Scene3Phase;

const Ogre::Vector3 START(7948, -4788, -8380);
constexpr float BIG = 1000;    // radius of the start asteroid
constexpr float SMALL = 300;   // radius of the others
const Ogre::Vector3 TIE_POINT(-30000, 0, 0);

class TestScene3 : public Scene3 {
public:
    TestScene3(Ogre::SceneManager* manager, const std::string& file) : Scene3(manager, nullptr, app().sceneServices()) {
        sceneFile = file;
        sceneGroup = SceneTest::GROUP;
    }
    using Scene3::skipOpening;
};

// The scene's parts and state in the tests' terms, through its public
// queries and its owner interface.
class Scene3Driver {
public:
    explicit Scene3Driver(TestScene3& scene) : s(scene) {}
    Mossden::CameraRig& rig() { return s.rig(); }
    Mossden::AsteroidFlight& flight() { return s.flight(); }
    bool started() const { return s.openingDone(); }
    void skipOpening() { s.skipOpening(); }
    void setPhase(Scene3Phase phase) { s.setPhase(phase); }
    Mossden::Asteroid& asteroid(const std::string& name) { return *s.asteroidNamed(name); }
    Ogre::SceneNode* pivotOf(const std::string& name) {
        return asteroid(name).entity()->getParentSceneNode()->getParentSceneNode();
    }
    const std::vector<Ogre::SceneNode*>& pivots() const { return s.pivots(); }
    const Ogre::Vector3& lastSurfaceNormal() { return s.rig().surfaceNormal(); }
    // A frame of no time: before the start, the update runs the opening only.
    void openingStep() {
        Ogre::FrameEvent evt{};
        s.update(evt);
    }
    const Mossden::FinalSequence& finale() const { return s.finale(); }
    std::vector<Mossden::Hole*> holes() const {
        std::vector<Mossden::Hole*> all;
        for (const auto& h : s.holes()) all.push_back(h.get());
        return all;
    }
    std::size_t visitedHoles() const { return s.visitedHoleCount(); }
    void enterHole(Mossden::Hole& hole) { s.enterHole(hole, hole.nearestFallPoint(rig().mCameraNode->getPosition())); }
    const Ogre::SimpleSpline& rideSpline() const { return s.holeRide(); }
    Mossden::FieldEnd endMode() const { return s.endMode(); }
    // Reads an asteroid's surface again where it stands now (after a test
    // moved it).
    void refreshSurface(const std::string& name) { asteroid(name).rereadSurface(); }
    // Runs frames of dt seconds until the phase leaves `phase` (at most n).
    int runWhile(Scene3Phase phase, float dt, int n) {
        Ogre::FrameEvent evt{};
        evt.timeSinceLastFrame = dt;
        int frames = 0;
        while (s.phase() == phase && frames < n) {
            app().clock.advance(dt);  // as the application's frame does
            s.update(evt);
            ++frames;
        }
        return frames;
    }

private:
    TestScene3& s;
};

std::string vec(const Ogre::Vector3& v) {
    std::ostringstream out;
    out << "<position x=\"" << v.x << "\" y=\"" << v.y << "\" z=\"" << v.z << "\"/>";
    return out.str();
}

std::string entityNode(const std::string& name, const Ogre::Vector3& at, const std::string& mesh) {
    return "<node name=\"" + name + "\">" + vec(at) + "<entity name=\"" + name + "\" meshFile=\"" + mesh +
           "\" castShadows=\"false\"/></node>";
}

// aster19 holds the start position 130 above its top; aster18 lies 5000
// ahead of the start along +Z; aster2 and aster10 lie either side of
// TIE_POINT; eye1 sits 2000 along -X; the rest stand far away.
Ogre::Vector3 placeOf(int i) {
    switch (i) {
    case 19: return START - Ogre::Vector3(0, BIG + 130, 0);
    case 18: return START + Ogre::Vector3(0, 0, 5000 + SMALL);
    case 2: return TIE_POINT - Ogre::Vector3(1000, 0, 0);
    case 10: return TIE_POINT + Ogre::Vector3(1000, 0, 0);
    default: return Ogre::Vector3(40000.0f + 3000 * i, 20000, 0);
    }
}

// Holes on the start asteroid, at the ends of its axes (not its top, where
// the viewer stands); each ride goes through the centre to the far side.
const Ogre::Vector3 HOLE_DIRECTIONS[] = {Ogre::Vector3::UNIT_X, Ogre::Vector3::NEGATIVE_UNIT_X,
                                         Ogre::Vector3::UNIT_Z, Ogre::Vector3::NEGATIVE_UNIT_Z,
                                         Ogre::Vector3::NEGATIVE_UNIT_Y};
Ogre::Vector3 holeAt(int k) { return placeOf(19) + HOLE_DIRECTIONS[k] * BIG; }

std::string point(const char* name, const Ogre::Vector3& v) {
    std::ostringstream out;
    out << "<" << name << " x=\"" << v.x << "\" y=\"" << v.y << "\" z=\"" << v.z << "\"/>";
    return out.str();
}

// Hole 1: everything; 2: no up point; 3 and 4: no particle templates (4 also
// no fall points); 5: templates but no swirl node; then one without sphere.
std::string holesXml() {
    const Ogre::Vector3 c = placeOf(19);
    std::string xml = "<holes>";
    const char* attributes[] = {
        "particleSystem=\"Third/SwirlStream\" particleSystem2=\"Third/SwirlRings\" butterFly=\"tfly1\" swirlNode=\"tswirl1\"",
        "particleSystem=\"Third/SwirlStream\"",
        "swirlNode=\"tswirl3\"",
        "",
        "particleSystem=\"Third/SwirlStream\" swirlNode=\"nosuchnode\""};
    for (int k = 0; k < 5; ++k) {
        const Ogre::Vector3 d = HOLE_DIRECTIONS[k];
        xml += std::string("<hole ") + attributes[k] + ">";
        std::ostringstream sphere;
        sphere << "<sphere radius=\"150\" x=\"" << holeAt(k).x << "\" y=\"" << holeAt(k).y << "\" z=\"" << holeAt(k).z << "\"/>";
        xml += sphere.str() + point("centerPoint", c + d * 900) + point("downPoint", c);
        if (k != 1) xml += point("upPoint", c - d * 900);
        if (k != 3)
            xml += "<fallPoints>" + point("point", c - d * 1050) + point("point", c - d * 1050 + Ogre::Vector3(0, 0, 300)) +
                   "</fallPoints>";
        xml += "</hole>";
    }
    xml += "<hole particleSystem=\"Third/SwirlStream\">" + point("centerPoint", c) + "</hole></holes>";
    return xml;
}

std::string worldFile() {
    static const std::string name = [] {
        createSphereMesh("ThirdTest/Big.mesh", BIG);
        createSphereMesh("ThirdTest/Small.mesh", SMALL);
        createSphereMesh("ThirdTest/Tiny.mesh", 10);
        std::string nodes;
        for (int i = 1; i <= 21; ++i)
            nodes += entityNode("aster" + std::to_string(i), placeOf(i),
                                i == 19 ? "ThirdTest/Big.mesh" : "ThirdTest/Small.mesh");
        nodes += entityNode("eye1", START - Ogre::Vector3(2000, 0, 0), "ThirdTest/Small.mesh");
        int k = 0;
        for (const char* e : {"eye2", "eye2_1", "eye2_2", "upper_jaw_1", "upper_jaw_2", "lower_jaw_1",
                              "lower_jaw_2", "eye_1", "eye_2"})
            nodes += entityNode(e, Ogre::Vector3(-50000.0f - 100 * k++, -50000, 0), "ThirdTest/Tiny.mesh");
        nodes += "<node name=\"dark_fog1\">" + vec(placeOf(2) + Ogre::Vector3(0, 400, 0)) + "</node>";
        nodes += "<node name=\"tswirl1\">" + vec(holeAt(0)) + "</node>";
        nodes += "<node name=\"tswirl3\">" + vec(holeAt(2)) + "</node>";
        nodes += "<node name=\"tfly1\">" + vec(holeAt(0) + HOLE_DIRECTIONS[0] * 200) +
                 "<billboardSet materialName=\"Third/Butterfly\" width=\"50\" height=\"50\"><billboard/></billboardSet>"
                 "<particleSystem name=\"tfly1_particle\" file=\"Third/ButterflyTrail\"/></node>";
        return SceneTest::SceneFiles::instance().write(
            "third_test.xml", SceneTest::sceneWithNodes(nodes, "<config/><custom><swirlWaitTime value=\"0\"/>" + holesXml() +
                                                                  "</custom>"));
    }();
    return name;
}

class ThirdScene : public ::testing::Test {
protected:
    void SetUp() override {
        SceneTest::ensureParticleTemplate("spiral");
        manager->createCamera("PlayerCam");
        if (!Ogre::OverlayManager::getSingleton().getByName("MossdenOverlays/IndicatorOverlay"))
            Ogre::OverlayManager::getSingleton().create("MossdenOverlays/IndicatorOverlay");
        indicator = Ogre::OverlayManager::getSingleton().getByName("MossdenOverlays/IndicatorOverlay");
        Mossden::Fader& fader = *app().fader;
        faderAlpha = fader.alpha;
        faderOperation = fader.operation;
        faderShown = fader.overlay && fader.overlay->isVisible();
        scene = std::make_unique<TestScene3>(manager.get(), worldFile());
        scene->createScene();
        probe = std::make_unique<Scene3Driver>(*scene);
        // The field gets what the menu leaves of the input; what the scene
        // before asked for is not the field's.
        app().handleRequests();
        app().menu.hide();
        savedInput = app().inputChain().currentScene();
        app().inputChain().setScene(scene.get());
    }
    void TearDown() override {
        app().inputChain().setScene(savedInput);
        probe.reset();
        scene.reset();
        indicator->hide();
        Mossden::Fader& fader = *app().fader;
        fader.alpha = faderAlpha;
        fader.operation = faderOperation;
        if (fader.overlay) faderShown ? fader.overlay->show() : fader.overlay->hide();
    }

    // Lands on aster19 and finishes the turn: the viewer stands upright.
    void standOnStart() {
        probe->skipOpening();
        ASSERT_TRUE(probe->rig().land(true, false));
        ASSERT_EQ(scene->phase(), Scene3Phase::Aligning);
        probe->runWhile(Scene3Phase::Aligning, 1.0f / 60, 600);
        ASSERT_EQ(scene->phase(), Scene3Phase::OnAsteroid);
    }
    void frame(float dt) {
        Ogre::FrameEvent evt{};
        evt.timeSinceLastFrame = dt;
        app().clock.advance(dt);
        scene->update(evt);
    }
    Ogre::Vector3 cameraUp() {
        return (probe->rig().mCameraNode->getOrientation() * Ogre::Vector3::UNIT_Z).normalisedCopy();
    }

    SceneTest::PrivateSceneManager manager;
    std::unique_ptr<TestScene3> scene;
    std::unique_ptr<Scene3Driver> probe;
    Ogre::Overlay* indicator = nullptr;
    MossdenScene* savedInput = nullptr;
    double faderAlpha = 0;
    int faderOperation = 0;
    bool faderShown = false;
};

TEST_F(ThirdScene, SpinRowsTurnPivotsAndFollowTheProcessCount) {
    // Before the opening (1000 ms) nothing spins.
    const Ogre::Quaternion before = probe->pivots().front()->getOrientation();
    frame(1.0f);
    EXPECT_FALSE(probe->started());
    EXPECT_TRUE(probe->pivots().front()->getOrientation().equals(before, Ogre::Degree(0.001f)));

    // The n-th asteroid of the process takes row n mod 21.
    Mossden::Asteroid next("extra", manager.get());
    EXPECT_EQ(next.spinRowIndex(), (probe->asteroid("aster21").spinRowIndex() + 1) % 21);

    probe->skipOpening();
    probe->setPhase(Scene3Phase::OnAsteroid);
    std::map<int, Ogre::Quaternion> startOf;
    for (int i = 1; i <= 21; ++i) startOf[i] = probe->pivotOf("aster" + std::to_string(i))->getOrientation();
    frame(1.0f);
    int checked = 0;
    for (int i = 1; i <= 21; ++i) {
        const std::string name = "aster" + std::to_string(i);
        const int row = probe->asteroid(name).spinRowIndex();
        const float expected = row == 12 ? 0.0f : row == 1 ? -4.5f : row == 8 ? 4.5f : 99;
        if (expected == 99) continue;
        SCOPED_TRACE(name + " row " + std::to_string(row));
        const Ogre::Quaternion turn = startOf[i].Inverse() * probe->pivotOf(name)->getOrientation();
        Ogre::Radian angle;
        Ogre::Vector3 axis;
        turn.ToAngleAxis(angle, axis);
        EXPECT_NEAR(angle.valueDegrees() * (axis.z < 0 ? -1 : 1), expected, 0.01);
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

TEST_F(ThirdScene, NearestAsteroidTiesGoToTheEarlierKey) {
    Mossden::Asteroid* nearest = scene->nearestAsteroid(TIE_POINT);
    ASSERT_NE(nearest, nullptr);
    EXPECT_EQ(nearest->name(), "aster10");
    EXPECT_EQ(scene->nearestAsteroid(TIE_POINT - Ogre::Vector3(1, 0, 0))->name(), "aster2");
    EXPECT_EQ(scene->nearestAsteroid(START)->name(), "aster19");
}

TEST_F(ThirdScene, SetUpHidesJawsBuildsPivotsAndHangsFogOnItsAsteroid) {
    for (const char* jaw : {"upper_jaw_1", "upper_jaw_2", "lower_jaw_1", "lower_jaw_2", "eye_1", "eye_2"})
        EXPECT_EQ(manager->getEntity(jaw)->getParentSceneNode()->getScale(), Ogre::Vector3::ZERO) << jaw;
    EXPECT_EQ(probe->finale().attachments.size(), 25u);
    EXPECT_EQ(probe->pivots().size(), 21u);
    // A pivot sits at its asteroid's centre, the entity's node below it.
    Ogre::SceneNode* pivot = probe->pivotOf("aster18");
    EXPECT_TRUE(pivot->getPosition().positionEquals(placeOf(18), 0.5f));
    EXPECT_EQ(pivot->getParentSceneNode(), manager->getRootSceneNode());
    Ogre::SceneNode* fog = manager->getSceneNode("dark_fog1");
    EXPECT_EQ(fog->getParentSceneNode(), manager->getEntity("aster2")->getParentSceneNode());
    EXPECT_TRUE(fog->_getDerivedPosition().positionEquals(placeOf(2) + Ogre::Vector3(0, 400, 0), 0.5f));
    // The rig hangs under the start asteroid and the camera at its end.
    EXPECT_EQ(scene->currentAsteroid()->name(), "aster19");
    EXPECT_EQ(probe->rig().mRootCameraNode->getParentSceneNode(), manager->getEntity("aster19")->getParentSceneNode());
    EXPECT_EQ(manager->getCamera("PlayerCam")->getParentSceneNode(), probe->rig().mCameraRollNode);
    EXPECT_TRUE(probe->rig().mCameraNode->_getDerivedPosition().positionEquals(START, 0.5f));
}

TEST_F(ThirdScene, OpeningStandsUprightAfterOneSecond) {
    probe->openingStep();
    EXPECT_FALSE(probe->started());
    app().clock.advance(1.05);
    probe->openingStep();
    EXPECT_TRUE(probe->started());
    // Straight above the sphere's top: the ground's normal is up the Y axis.
    EXPECT_GT(cameraUp().dotProduct(probe->lastSurfaceNormal()), 0.9999f);
    EXPECT_GT(probe->lastSurfaceNormal().dotProduct(Ogre::Vector3::UNIT_Y), 0.99f);
    EXPECT_EQ(scene->phase(), Scene3Phase::Intro);
    EXPECT_EQ(app().fader->operation, Mossden::Fader::FADE_IN);
}

TEST_F(ThirdScene, FirstLandingTiltsBy64DegreesAndEndsUpright) {
    standOnStart();
    EXPECT_GT(cameraUp().dotProduct(probe->lastSurfaceNormal()), 0.9999f);
    const Ogre::Quaternion tilt(Ogre::Degree(64), Ogre::Vector3::UNIT_X);
    EXPECT_TRUE(probe->rig().mCameraPitchNode->getOrientation().equals(tilt, Ogre::Degree(0.01f)));
    // Later landings look along the ground.
    ASSERT_TRUE(probe->rig().land(true, false));
    probe->runWhile(Scene3Phase::Aligning, 1.0f / 60, 600);
    const Ogre::Quaternion level(Ogre::Degree(90), Ogre::Vector3::UNIT_X);
    EXPECT_TRUE(probe->rig().mCameraPitchNode->getOrientation().equals(level, Ogre::Degree(0.01f)));
}

TEST_F(ThirdScene, MouseLookKeepsPitchWithinLimitsAndYawsFreely) {
    standOnStart();
    Mossden::CameraRig& rig = probe->rig();
    auto pitchDegrees = [&] {
        Ogre::Radian a;
        Ogre::Vector3 axis;
        rig.mCameraPitchNode->getOrientation().ToAngleAxis(a, axis);
        return a.valueDegrees() * (axis.x < 0 ? -1 : 1);
    };
    for (int i = 0; i < 100; ++i) rig.look({0.0f, 5.0f});  // up: 5 degrees a step
    EXPECT_LE(pitchDegrees(), 160.0f);
    EXPECT_GT(pitchDegrees(), 155.0f);
    for (int i = 0; i < 100; ++i) rig.look({0.0f, -5.0f});
    EXPECT_GE(pitchDegrees(), -17.0f);
    EXPECT_LT(pitchDegrees(), -12.0f);
    const Ogre::Quaternion yaw = rig.mCameraYawNode->getOrientation();
    rig.look({-180.0f, 0.0f});  // 180 degrees about the viewer's up
    Ogre::Radian a;
    Ogre::Vector3 axis;
    (yaw.Inverse() * rig.mCameraYawNode->getOrientation()).ToAngleAxis(a, axis);
    EXPECT_NEAR(a.valueDegrees(), 180.0f, 0.01f);
}

TEST_F(ThirdScene, MouseLookFollowsTheSensitivityAndInvertOfTheSettings) {
    standOnStart();
    Mossden::CameraRig& rig = probe->rig();
    Mossden::Settings& settings = app().settings;
    const Mossden::Settings saved = settings;
    settings.fieldOfView = Mossden::Settings::DEFAULT_FIELD_OF_VIEW;
    // Turn of a node between two orientations, signed about its turning axis.
    auto turned = [](const Ogre::Quaternion& from, const Ogre::Quaternion& to, const Ogre::Vector3& about) {
        Ogre::Radian a;
        Ogre::Vector3 axis;
        (from.Inverse() * to).ToAngleAxis(a, axis);
        return a.valueDegrees() * (axis.dotProduct(about) < 0 ? -1 : 1);
    };
    struct Case {
        float sensitivity;
        bool invert;
        int dx, dy;
        float yaw, pitch;  // degrees: left and up are positive
    };
    const Case cases[] = {
        {1, false, 100, 0, -5, 0},  {2, false, 100, 0, -10, 0}, {1, false, 0, 100, 0, -5},
        {2, false, 0, 100, 0, -10}, {1, true, 0, 100, 0, 5},    {2, true, 0, -100, 0, -10},
    };
    for (const Case& c : cases) {
        settings.mouseSensitivity = c.sensitivity;
        settings.invertVerticalLook = c.invert;
        const Ogre::Quaternion yaw = rig.mCameraYawNode->getOrientation();
        const Ogre::Quaternion pitch = rig.mCameraPitchNode->getOrientation();
        OIS::MouseState state;
        state.X.rel = c.dx;
        state.Y.rel = c.dy;
        scene->mouseMoved(OIS::MouseEvent(nullptr, state));
        const std::string label = "sensitivity " + std::to_string(c.sensitivity) +
                                  (c.invert ? " inverted" : "") + " dx " + std::to_string(c.dx) +
                                  " dy " + std::to_string(c.dy);
        EXPECT_NEAR(turned(yaw, rig.mCameraYawNode->getOrientation(), Ogre::Vector3::UNIT_Z), c.yaw, 0.01f) << label;
        EXPECT_NEAR(turned(pitch, rig.mCameraPitchNode->getOrientation(), Ogre::Vector3::UNIT_X), c.pitch, 0.01f)
            << label;
    }
    settings = saved;
}

// A gamepad's events, made here (no pad is plugged into these machines),
// reach the field through the application's gamepad glue: A hops, the right
// stick turns the view with the look options, Start opens the in-game menu,
// where the left stick moves the cursor and A presses at it.
TEST_F(ThirdScene, GamepadHopsLooksAndOpensTheMenu) {
    standOnStart();
    struct Target : Mossden::GamepadInput::Target {
        Mossden::InputChain& input() override { return app().inputChain(); }
        Mossden::MossdenMenu& menu() override { return app().menu; }
        OIS::Keyboard* keyboard() override { return app().keyboard; }
        OIS::Mouse* mouse() override { return app().mouse; }
    } target;
    Mossden::GamepadInput pad(target);
    OIS::JoyStickState state;
    state.mAxes.resize(Mossden::GamepadMapper::AXIS_COUNT);
    const OIS::JoyStickEvent evt(nullptr, state);
    const Mossden::PadLayout layout;
    Mossden::CameraRig& rig = probe->rig();
    Mossden::Settings& settings = app().settings;
    const Mossden::Settings saved = settings;
    settings.mouseSensitivity = 1;
    settings.fieldOfView = Mossden::Settings::DEFAULT_FIELD_OF_VIEW;

    pad.buttonPressed(evt, layout.buttonA);
    EXPECT_TRUE(rig.jumping());
    pad.buttonReleased(evt, layout.buttonA);
    for (int i = 0; i < 120 && rig.jumping(); ++i) frame(1.0f / 60);
    ASSERT_FALSE(rig.jumping());

    // Full right for half a second: 60 degrees to the right; inverted, the
    // stick pushed up looks down.
    auto yawOf = [&] { return rig.mCameraYawNode->getOrientation(); };
    Ogre::Quaternion before = yawOf();
    state.mAxes[layout.rightX].abs = Mossden::GamepadMapper::AXIS_MAX;
    pad.axisMoved(evt, layout.rightX);
    pad.frame(0.5f);
    Ogre::Radian angle;
    Ogre::Vector3 axis;
    (before.Inverse() * yawOf()).ToAngleAxis(angle, axis);
    EXPECT_NEAR(angle.valueDegrees() * (axis.z < 0 ? -1 : 1), -60.0f, 0.05f);
    state.mAxes[layout.rightX].abs = 0;
    pad.axisMoved(evt, layout.rightX);
    settings.invertVerticalLook = true;
    before = rig.mCameraPitchNode->getOrientation();
    state.mAxes[layout.rightY].abs = Mossden::GamepadMapper::AXIS_MIN;  // up
    pad.axisMoved(evt, layout.rightY);
    pad.frame(0.1f);
    (before.Inverse() * rig.mCameraPitchNode->getOrientation()).ToAngleAxis(angle, axis);
    EXPECT_NEAR(angle.valueDegrees() * (axis.x < 0 ? -1 : 1), -12.0f, 0.05f);
    state.mAxes[layout.rightY].abs = 0;
    pad.axisMoved(evt, layout.rightY);

    Mossden::MossdenMenu& menu = app().menu;
    pad.buttonPressed(evt, layout.buttonStart);
    pad.buttonReleased(evt, layout.buttonStart);
    app().handleRequests();
    ASSERT_TRUE(menu.visible);
    EXPECT_EQ(menu.mode, Mossden::MenuMode::InGame);
    ASSERT_TRUE(Mossden::Test::renderFrames(1));  // lays the menu out
    // The left stick carries the cursor: full right for two frames of 0.05 s
    // (the first lights the button under it, as a mouse move does).
    Ogre::OverlayElement* button = menu.buttons.continueButton.plain;
    const int centreX = static_cast<int>((button->_getDerivedLeft() + button->_getWidth() / 2) * menu.windowWidth);
    const int centreY = static_cast<int>((button->_getDerivedTop() + button->_getHeight() / 2) * menu.windowHeight);
    const int fromX = centreX - static_cast<int>(Mossden::GamepadMapper::CURSOR_PIXELS_PER_SECOND * 0.1f);
    menu.moveCursor(fromX, centreY);
    state.mAxes[layout.leftX].abs = Mossden::GamepadMapper::AXIS_MAX;
    pad.axisMoved(evt, layout.leftX);
    pad.frame(0.05f);
    pad.frame(0.05f);
    state.mAxes[layout.leftX].abs = 0;
    pad.axisMoved(evt, layout.leftX);
    EXPECT_NEAR(menu.cursor->getX() * menu.windowWidth, centreX, 1.0f);
    // ... onto Continue, where A presses: the menu goes, the field plays on.
    pad.buttonPressed(evt, layout.buttonA);
    pad.buttonReleased(evt, layout.buttonA);
    app().handleRequests();
    EXPECT_FALSE(menu.visible);
    settings = saved;
}

TEST_F(ThirdScene, HopLandsUprightOneHundredThirtyAboveTheGround) {
    standOnStart();
    Mossden::CameraRig& rig = probe->rig();
    const Ogre::Vector3 from = rig.mCameraNode->getPosition();
    rig.jump();
    ASSERT_TRUE(rig.jumping());
    rig.jump();  // a running hop is not restarted
    for (int i = 0; i < 120 && rig.jumping(); ++i) frame(1.0f / 60);
    ASSERT_FALSE(rig.jumping());
    const Ogre::Vector3 to = rig.mCameraNode->getPosition();
    EXPECT_GT(from.distance(to), 250.0f);
    EXPECT_LT(from.distance(to), 500.0f);
    // Straight down along the new up: the ground is 130 away and its face
    // normal is the up axis.
    Ogre::Vector3 ground, normal;
    ASSERT_TRUE(rig.surfaceRay(-cameraUp(), to + cameraUp() * 10, ground, normal));
    EXPECT_NEAR(ground.distance(to), 130.0f, 0.5f);
    EXPECT_GT(normal.dotProduct(cameraUp()), 0.9999f);
}

TEST_F(ThirdScene, ClickingOwnAsteroidEmptySpaceOrAnotherEntityDoesNothing) {
    standOnStart();
    const Ogre::Vector3 before = probe->rig().mCameraNode->_getDerivedPosition();
    for (const Ogre::Vector3& direction : {Ogre::Vector3(0, -1000, 0), Ogre::Vector3(0, 1000, 0),
                                           Ogre::Vector3(-1000, 0, 0)}) {
        SCOPED_TRACE(Ogre::StringConverter::toString(direction));
        EXPECT_FALSE(probe->flight().start(direction));
        EXPECT_EQ(scene->phase(), Scene3Phase::OnAsteroid);
        EXPECT_EQ(scene->currentAsteroid()->name(), "aster19");
    }
    EXPECT_TRUE(probe->rig().mCameraNode->_getDerivedPosition().positionEquals(before, 0.01f));
}

TEST_F(ThirdScene, IndicatorShowsOnlyForAnotherAsteroidWhileStanding) {
    standOnStart();
    Mossden::CameraRig& rig = probe->rig();
    // Look straight along +Z, at aster18.
    rig.mCameraYawNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraPitchNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraNode->setOrientation(rig.mRootCameraNode->_getDerivedOrientation().Inverse() *
                                    Ogre::Quaternion(Ogre::Degree(180), Ogre::Vector3::UNIT_Y));
    scene->indicatorTest();
    EXPECT_TRUE(indicator->isVisible());
    probe->setPhase(Scene3Phase::Aligning);
    indicator->hide();
    scene->indicatorTest();
    EXPECT_FALSE(indicator->isVisible());
    probe->setPhase(Scene3Phase::OnAsteroid);
    rig.mCameraNode->pitch(Ogre::Degree(-90));  // now at the own ground
    scene->indicatorTest();
    EXPECT_FALSE(indicator->isVisible());
}

TEST_F(ThirdScene, LeavingTheSceneHidesItsIndicator) {
    indicator->show();  // the viewer pointed at another asteroid
    probe.reset();
    scene.reset();
    EXPECT_FALSE(indicator->isVisible());
}

TEST_F(ThirdScene, FlightOfFiveThousandUnitsArrivesOnItsTarget) {
    standOnStart();
    scene->refreshTransforms();
    const Ogre::Vector3 before = probe->rig().mCameraNode->_getDerivedPosition();
    ASSERT_TRUE(probe->flight().start(Ogre::Vector3(0, 0, 1000)));
    EXPECT_EQ(scene->phase(), Scene3Phase::Flying);
    EXPECT_EQ(scene->currentAsteroid()->name(), "aster18");
    EXPECT_NEAR(probe->flight().flightClock().duration, 5.0f, 0.01f);
    // The camera does not jump at the start.
    EXPECT_TRUE(probe->rig().mCameraNode->_getDerivedPosition().positionEquals(before, 0.01f));
    const int frames = probe->runWhile(Scene3Phase::Flying, 1.0f / 60, 600);
    EXPECT_NEAR(frames / 60.0f, 1.55f, 0.1f);
    EXPECT_NE(scene->phase(), Scene3Phase::Flying);
    // Landed: 130 above aster18's surface.
    const Ogre::Vector3 centre = probe->pivotOf("aster18")->_getDerivedPosition();
    EXPECT_NEAR(probe->rig().mCameraNode->_getDerivedPosition().distance(centre), SMALL + 130, 8.0f);
    probe->runWhile(Scene3Phase::Aligning, 1.0f / 60, 600);
    EXPECT_EQ(scene->phase(), Scene3Phase::OnAsteroid);
    EXPECT_GT(cameraUp().dotProduct(probe->lastSurfaceNormal()), 0.9999f);
}

TEST_F(ThirdScene, AnAsteroidInTheWayTakesOverTheFlight) {
    standOnStart();
    ASSERT_TRUE(probe->flight().start(Ogre::Vector3(0, 0, 1000)));
    frame(1.0f / 60);
    frame(1.0f / 60);
    // Put aster17 right ahead: its surface 20 units in front of the camera.
    Mossden::CameraRig& rig = probe->rig();
    const Ogre::Vector3 here = rig.mCameraNode->_getDerivedPosition();
    Ogre::SceneNode* pivot = probe->pivotOf("aster17");
    pivot->setOrientation(Ogre::Quaternion::IDENTITY);
    pivot->setPosition(here + Ogre::Vector3(0, 0, SMALL + 20));
    manager->getRootSceneNode()->_update(true, false);
    probe->refreshSurface("aster17");
    frame(1.0f / 60);
    EXPECT_EQ(scene->currentAsteroid()->name(), "aster17");
    EXPECT_EQ(scene->phase(), Scene3Phase::Flying);
    frame(1.0f / 60);  // the next frame is the arrival
    EXPECT_EQ(scene->phase(), Scene3Phase::Aligning);
    EXPECT_EQ(scene->currentAsteroid()->name(), "aster17");
}

// Rides through a hole and waits until the viewer stands again (or the
// closing sequence takes over).
void rideThrough(Scene3Driver& probe, Scene3& scene, Mossden::Hole& hole) {
    probe.enterHole(hole);
    ASSERT_EQ(scene.phase(), Scene3Phase::InHole);
    probe.runWhile(Scene3Phase::InHole, 1.0f / 30, 400);
    probe.runWhile(Scene3Phase::Aligning, 1.0f / 30, 400);
}

TEST_F(ThirdScene, HolesReadFromTheFileWithTheirDefaults) {
    const std::vector<Mossden::Hole*> holes = probe->holes();
    ASSERT_EQ(holes.size(), 5u);  // the hole without a sphere is skipped
    for (std::size_t i = 1; i < holes.size(); ++i) EXPECT_EQ(holes[i]->id, holes[i - 1]->id + 1);
    const Mossden::Hole& full = *holes[0];
    EXPECT_FLOAT_EQ(full.radius, 150);
    EXPECT_EQ(full.particleTemplate, "Third/SwirlStream");
    EXPECT_EQ(full.particleTemplate2, "Third/SwirlRings");
    EXPECT_EQ(full.butterflyName, "tfly1");
    EXPECT_EQ(full.swirlNodeName, "tswirl1");
    ASSERT_EQ(full.fallPoints.size(), 2u);
    EXPECT_TRUE(full.fallPoints[0].positionEquals(placeOf(19) - Ogre::Vector3::UNIT_X * 1050, 0.01f));
    EXPECT_EQ(holes[1]->upNode->getPosition(), Ogre::Vector3::ZERO);  // no upPoint
    EXPECT_TRUE(holes[3]->fallPoints.empty());
    EXPECT_TRUE(holes[3]->particleTemplate.empty());
    // Attached to the start asteroid: the sphere (and swirl) nodes turn with it.
    for (Mossden::Hole* hole : holes) {
        EXPECT_EQ(hole->asteroid, &probe->asteroid("aster19"));
        EXPECT_EQ(hole->sphereNode->getParentSceneNode(), probe->pivotOf("aster19"));
        EXPECT_TRUE(hole->sphereNode->_getDerivedPosition().positionEquals(holeAt(hole->id - holes[0]->id), 0.5f));
    }
    EXPECT_EQ(manager->getSceneNode("tswirl1")->getParentSceneNode(), probe->pivotOf("aster19"));
    EXPECT_EQ(probe->asteroid("aster19").holes().size(), 5u);
    EXPECT_TRUE(probe->asteroid("aster18").holes().empty());
    // The nearest hole of an asteroid, by its sphere node.
    const auto nearest = probe->asteroid("aster19").nearestHole(holeAt(2) + Ogre::Vector3(0, 0, 40));
    EXPECT_EQ(nearest.first, holes[2]);
    EXPECT_NEAR(nearest.second, 40, 0.5f);
    EXPECT_EQ(probe->asteroid("aster18").nearestHole(START).first, nullptr);
}

TEST_F(ThirdScene, NearestFallPointIsTheFirstOfTheClosestOrTheQueryItself) {
    Mossden::Hole hole;
    EXPECT_EQ(hole.nearestFallPoint({1, 2, 3}), Ogre::Vector3(1, 2, 3));
    hole.fallPoints = {{10, 0, 0}, {0, 5, 0}, {0, -5, 0}};
    EXPECT_EQ(hole.nearestFallPoint({0, 0, 0}), Ogre::Vector3(0, 5, 0));  // a tie: the first
    EXPECT_EQ(hole.nearestFallPoint({9, 0, 0}), Ogre::Vector3(10, 0, 0));
}

TEST_F(ThirdScene, RideSplinePassesTheGuidePointsOrGoesStraightOut) {
    standOnStart();
    const std::vector<Mossden::Hole*> holes = probe->holes();
    const Ogre::Vector3 from = probe->rig().mCameraNode->getPosition();
    probe->enterHole(*holes[0]);
    EXPECT_EQ(scene->phase(), Scene3Phase::InHole);
    const Ogre::SimpleSpline& full = probe->rideSpline();
    ASSERT_EQ(full.getNumPoints(), 6u);
    EXPECT_EQ(full.getPoint(0), from);
    EXPECT_EQ(full.getPoint(1), from);
    EXPECT_EQ(full.getPoint(2), holes[0]->centerNode->getPosition());
    EXPECT_EQ(full.getPoint(3), holes[0]->downNode->getPosition());
    EXPECT_EQ(full.getPoint(4), holes[0]->upNode->getPosition());
    // Out 130 beyond the nearest fall point, away from the asteroid's centre.
    const Ogre::Vector3 fall = holes[0]->nearestFallPoint(from);
    EXPECT_TRUE(full.getPoint(5).positionEquals(fall + (fall - placeOf(19)).normalisedCopy() * 130, 0.5f));

    probe->setPhase(Scene3Phase::OnAsteroid);
    probe->enterHole(*holes[1]);
    ASSERT_EQ(probe->rideSpline().getNumPoints(), 3u);
    // Without fall points the ride comes out above the viewer's own place.
    probe->setPhase(Scene3Phase::OnAsteroid);
    probe->enterHole(*holes[3]);
    const Ogre::Vector3 out = probe->rideSpline().getPoint(probe->rideSpline().getNumPoints() - 1);
    EXPECT_TRUE(out.positionEquals(from + (from - placeOf(19)).normalisedCopy() * 130, 0.5f));
}

TEST_F(ThirdScene, RidesCountDistinctHolesAndTheFourthStartsTheClosingSequence) {
    standOnStart();
    const std::vector<Mossden::Hole*> holes = probe->holes();
    rideThrough(*probe, *scene, *holes[0]);
    EXPECT_EQ(scene->phase(), Scene3Phase::OnAsteroid);
    EXPECT_EQ(probe->visitedHoles(), 1u);
    // Came out on the far side, standing upright again.
    EXPECT_LT(probe->rig().mCameraNode->getPosition().x, placeOf(19).x - BIG);
    EXPECT_GT(cameraUp().dotProduct(probe->lastSurfaceNormal()), 0.9999f);
    // The swirl ran on the hole's swirl node, named by the hole's id.
    const std::string id = std::to_string(holes[0]->id);
    ASSERT_TRUE(manager->hasParticleSystem(id + "swirlFirst"));
    ASSERT_TRUE(manager->hasParticleSystem(id + "swirlSecond"));
    EXPECT_EQ(manager->getParticleSystem(id + "swirlFirst")->getParentSceneNode(), manager->getSceneNode("tswirl1"));
    rideThrough(*probe, *scene, *holes[0]);  // again: new systems, the same count
    EXPECT_EQ(probe->visitedHoles(), 1u);
    // Two holes without templates each get their own stand-in swirl; a
    // hole without swirl node keeps its systems unattached.
    rideThrough(*probe, *scene, *holes[2]);
    rideThrough(*probe, *scene, *holes[4]);
    EXPECT_EQ(probe->visitedHoles(), 3u);
    EXPECT_TRUE(manager->hasParticleSystem(std::to_string(holes[2]->id) + "test"));
    EXPECT_FALSE(manager->getParticleSystem(std::to_string(holes[4]->id) + "swirlFirst")->isAttached());
    EXPECT_EQ(scene->phase(), Scene3Phase::OnAsteroid);
    probe->enterHole(*holes[3]);
    probe->runWhile(Scene3Phase::InHole, 1.0f / 30, 400);
    EXPECT_TRUE(manager->hasParticleSystem(std::to_string(holes[3]->id) + "test"));
    EXPECT_EQ(probe->visitedHoles(), 4u);
    EXPECT_EQ(scene->phase(), Scene3Phase::Finale);
}

TEST_F(ThirdScene, ButterflyLaunchesFliesIntoTheHoleAndWaitsAgain) {
    Mossden::Butterfly& fly = *probe->holes()[0]->butterfly;
    Ogre::SceneNode* node = manager->getSceneNode("tfly1");
    // createScene launched it: it is on its way.
    EXPECT_TRUE(fly.flying());
    EXPECT_EQ(node->getParentSceneNode(), probe->pivotOf("aster19"));
    const Ogre::Vector3 start = node->getPosition();
    frame(0.5f);
    EXPECT_TRUE(node->getPosition().positionEquals(start + fly.direction() * 250, 0.5f));
    EXPECT_TRUE(manager->getBillboardSet("tfly1")->isVisible());
    frame(0.2f);
    EXPECT_FALSE(manager->getBillboardSet("tfly1")->isVisible());  // wings gone after 0.6 s
    frame(0.6f);
    EXPECT_FALSE(fly.flying());
    EXPECT_FALSE(fly.shown());
    EXPECT_FALSE(manager->getParticleSystem("tfly1_particle")->getEmitting());
    fly.launch();  // hidden: nothing
    EXPECT_FALSE(fly.flying());
    fly.show();
    EXPECT_TRUE(fly.shown());
    EXPECT_EQ(node->getPosition(), start);
    EXPECT_TRUE(manager->getBillboardSet("tfly1")->isVisible());
    EXPECT_TRUE(manager->getParticleSystem("tfly1_particle")->getEmitting());
    // Towards the hole's down point, in the pivot's frame.
    EXPECT_GT(fly.direction().dotProduct(Ogre::Vector3::NEGATIVE_UNIT_X), 0.9f);
    // A butterfly without node does nothing at all.
    Mossden::Butterfly none(manager.get(), "", probe->holes()[1]);
    none.launch();
    none.show();
    none.update(1);
    EXPECT_FALSE(none.flying());
}

TEST_F(ThirdScene, ClosingSequenceLaughsOnceFarOutAndEndsFreeWithTheEndMenuAhead) {
    standOnStart();
    const std::vector<Mossden::Hole*> holes = probe->holes();
    for (int k : {0, 2, 4}) rideThrough(*probe, *scene, *holes[k]);
    probe->enterHole(*holes[1]);
    probe->runWhile(Scene3Phase::InHole, 1.0f / 30, 400);
    ASSERT_EQ(scene->phase(), Scene3Phase::Finale);
    const Mossden::FinalSequence& finale = probe->finale();
    Mossden::CameraRig& rig = probe->rig();
    EXPECT_EQ(rig.mRootCameraNode->getParentSceneNode(), manager->getRootSceneNode());
    // The path starts at the camera and ends at the far point.
    EXPECT_TRUE(finale.path().entries().back().point.positionEquals(Mossden::FinalSequence::FAR_POINT, 0.01f));
    bool wasLaughing = false;
    int frames = 0;
    while (scene->phase() == Scene3Phase::Finale && frames < 5000) {
        frame(1.0f / 30);
        ++frames;
        if (finale.laughed() && !wasLaughing) {
            wasLaughing = true;
            EXPECT_GT(finale.progress(), 0.5f);
            EXPECT_GT(rig.mCameraNode->getPosition().z, 26100.0f);
        }
        if (scene->phase() == Scene3Phase::Finale && finale.progress() > 0.72f && finale.progress() <= 1) {
            EXPECT_TRUE(rig.mCameraNode->getOrientation().equals(Mossden::FinalSequence::FINAL_ORIENTATION,
                                                                   Ogre::Degree(0.01f)));
        }
    }
    EXPECT_TRUE(wasLaughing);
    // About 26 seconds.
    EXPECT_NEAR(frames / 30.0f, 26.4f, 0.5f);
    // The end: free, no asteroid below (nothing lies on the return ray in
    // this world, so no flight), orientations reset, yaw to the final view.
    EXPECT_EQ(scene->phase(), Scene3Phase::OnAsteroid);
    EXPECT_EQ(scene->currentAsteroid(), nullptr);
    EXPECT_EQ(probe->endMode(), Mossden::FieldEnd::SequenceEnded);
    EXPECT_EQ(rig.mRootCameraNode->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_EQ(rig.mCameraNode->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_TRUE(rig.mCameraYawNode->getOrientation().equals(Mossden::FinalSequence::FINAL_ORIENTATION,
                                                             Ogre::Degree(0.001f)));
    EXPECT_EQ(rig.mCameraPitchNode->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_EQ(rig.mCameraRollNode->getOrientation(), Ogre::Quaternion::IDENTITY);
    // The asteroids are home: back in their first poses.
    for (Ogre::SceneNode* pivot : probe->pivots())
        EXPECT_TRUE(pivot->getOrientation().equals(Ogre::Quaternion::IDENTITY, Ogre::Degree(0.01f)));
    frame(1.0f / 30);
    EXPECT_EQ(probe->endMode(), Mossden::FieldEnd::Over);
    // Escape now offers the end menu.
    Mossden::MossdenMenu& menu = app().menu;
    menu.hide();
    OIS::KeyEvent escape(nullptr, OIS::KC_ESCAPE, 0);
    app().inputChain().keyPressed(escape);
    app().handleRequests();
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(menu.mode, Mossden::MenuMode::End);
    menu.hide();
}

}  // namespace
