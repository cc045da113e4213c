// The application's frame operations on the real engine: the 50 ms tick,
// scene replacement, the menu-visible rule and starting over.
#include <OIS.h>
#include <Ogre.h>
#include <OgreOverlay.h>
#include <OgreOverlayManager.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/SoundManager.h"
#include "menu/SceneMenu.h"
#include "scenes/first/Scene1.h"
#include "scenes/second/Scene2.h"
#include "scenes/third/Scene3.h"
#include "tests/engine/EngineEnvironment.h"
#include "tests/sound/SoundFiles.h"

namespace {

using Mossden::Test::app;
using Mossden::Test::renderFrames;

constexpr double PAST_TICK = 0.060;  // seconds of game time

// Lets game time pass between frames, as a slow frame would.
void passGameTime(double seconds) { app().clock.advance(seconds); }

// What the application did to a probe scene; outlives the scene.
struct ProbeLog {
    bool alive = true;
    int updates = 0;
    std::vector<int> ticks;
    int releases = 0;
    bool aliveAfterStartOver = false;
    std::vector<OIS::KeyCode> keys;  // pressed, as the scene saw them
};

class ProbeScene : public MossdenScene {
public:
    explicit ProbeScene(ProbeLog& log)
        : MossdenScene(app().sceneManager, app().cameraMan.get(), app().sceneServices()), log(log) {}
    ~ProbeScene() override { log.alive = false; }

    void createScene() override {}
    void update(const Ogre::FrameEvent&) override { ++log.updates; }
    void tick(int elapsedMs) override { log.ticks.push_back(elapsedMs); }
    bool keyPressed(const OIS::KeyEvent& evt) override {
        log.keys.push_back(evt.key);
        return MossdenScene::keyPressed(evt);
    }
    bool mouseReleased(const OIS::MouseEvent&, OIS::MouseButtonID) override {
        ProbeLog& record = log;  // this scene may be gone after the call
        ++record.releases;
        if (startOverOnRelease) {
            app().request(Mossden::Request::StartOver);
            record.aliveAfterStartOver = record.alive;
        }
        return true;
    }

    bool startOverOnRelease = false;

private:
    ProbeLog& log;
};

// The devices deliver to the input chain, and the chain to the scene.
bool inputPointsAt(MossdenScene* scene) {
    Mossden::InputChain& chain = app().inputChain();
    return app().mouse->getEventCallback() == static_cast<OIS::MouseListener*>(&chain) &&
           app().keyListener() == static_cast<OIS::KeyListener*>(&chain) && chain.currentScene() == scene;
}

// The sequence's slot a test's own scene goes into.
constexpr int PROBE_SLOT = Mossden::SceneSequence::LAST_INDEX;

// Runs each test with a probe as the current scene at a chosen index; the
// scene it displaced comes back unless the sequence has moved on.
class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        app().handleRequests();  // what the scene before asked for is not the probe's
        app().menu.hide();
        app().shutDown = false;
        savedIndex = app().sceneIndex;
        savedSlot = app().scenes.currentSlot();
        ASSERT_NE(savedSlot, PROBE_SLOT);
        probe = new ProbeScene(log);
        app().scenes.install(PROBE_SLOT, std::unique_ptr<MossdenScene>(probe));
        app().pointInputAt(probe);
    }
    void TearDown() override {
        if (log.alive) {
            app().scenes.install(PROBE_SLOT, nullptr);
            app().scenes.makeCurrent(savedSlot);
            app().sceneIndex = savedIndex;
            app().pointInputAt(app().currentScene());
        } else {
            // the sequence moved on to a real first scene
            Mossden::Test::backToMenu();
        }
        app().menu.hide();
        SoundManager::getInstance().stopAll();
    }

    ProbeLog log;
    ProbeScene* probe = nullptr;  // owned by the sequence
    int savedSlot = 0;
    int savedIndex = 0;
};

TEST_F(FrameLoopTest, TicksOnlyAfterMoreThanFiftyMilliseconds) {
    app().tickTimer.reset();
    ASSERT_TRUE(renderFrames(3, 0.0125));
    EXPECT_TRUE(log.ticks.empty());
    ASSERT_TRUE(renderFrames(1, 0.0125));  // exactly 50 ms: not more
    EXPECT_TRUE(log.ticks.empty());

    ASSERT_TRUE(renderFrames(1, 0.001));
    ASSERT_EQ(log.ticks.size(), 1u);
    EXPECT_EQ(log.ticks[0], 51);  // the game time on the timer
    // The count started again at the tick.
    EXPECT_EQ(app().tickTimer.getMilliseconds(), 0u);
    passGameTime(PAST_TICK);
    ASSERT_TRUE(renderFrames(1, 0.0));
    ASSERT_EQ(log.ticks.size(), 2u);
    EXPECT_EQ(log.ticks[1], 60);
    EXPECT_EQ(log.updates, 6);
}

TEST_F(FrameLoopTest, FinishedSceneIsReplacedAtTheStartOfTheFrame) {
    struct Case {
        int from, to;
        const char* built;
    };
    const Case cases[] = {
        {0, 1, "Scene1 with Scene2"},
        {1, 2, "Scene3"},
        {2, 3, "Scene3"},
        {3, 0, "SceneMenu: nothing follows the last scene"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.built);
        ProbeLog caseLog;
        auto* finishing = new ProbeScene(caseLog);
        // Replaces the fixture's probe, which is not needed here. The other
        // scenes of the sequence stay: the advance releases them together
        // with the current one.
        app().scenes.install(PROBE_SLOT, std::unique_ptr<MossdenScene>(finishing));
        app().sceneIndex = c.from;
        app().pointInputAt(finishing);
        finishing->setFinished(true);
        passGameTime(PAST_TICK);  // a tick is due in this frame

        ASSERT_TRUE(renderFrames(1));
        EXPECT_FALSE(caseLog.alive);
        EXPECT_EQ(caseLog.updates, 0);
        EXPECT_TRUE(caseLog.ticks.empty());
        EXPECT_EQ(app().sceneIndex, c.to);
        MossdenScene* current = app().currentScene();
        EXPECT_EQ(app().scenes[c.to], current);
        EXPECT_TRUE(inputPointsAt(current));
        switch (c.to) {
            case 0:
                EXPECT_NE(dynamic_cast<Mossden::SceneMenu*>(current), nullptr);
                break;
            case 1:
                EXPECT_NE(dynamic_cast<Mossden::Scene1*>(current), nullptr);
                EXPECT_NE(dynamic_cast<Scene2*>(app().scenes[2]), nullptr);
                break;
            default:
                EXPECT_NE(dynamic_cast<Mossden::Scene3*>(current), nullptr);
                break;
        }
        for (int i = 0; i < 4; ++i) {
            if (i != c.to && !(c.to == 1 && i == 2)) {
                EXPECT_EQ(app().scenes[i], nullptr) << i;
            }
        }
        // The cleared scene graph gave the camera a fresh node.
        ASSERT_NE(app().camera->getParentSceneNode(), nullptr);
        EXPECT_TRUE(app().camera->getParentSceneNode()->isInSceneGraph());
    }
    app().menu.hide();
}

TEST_F(FrameLoopTest, MenuOverAPlayableSceneStopsOnlyItsUpdate) {
    // A sound fading out shows that the sound manager advanced.
    SoundManager& sound = SoundManager::getInstance();
    const std::string folder = sound.getFolder();
    const std::string dir = Mossden::Test::makeTempDir("mossden-frame");
    Mossden::Test::writeWav(dir + "/frameloop.wav", 1, 16, 8000, 8000);
    sound.setFolder(dir + "/");
    const int id = sound.loadSound("frameloop.wav", true);
    sound.setFolder(folder);
    sound.play(id);
    sound.fadeOut(id, 10.0f);
    app().fader->startFadeIn(10.0);

    app().sceneIndex = 1;
    app().menu.show(Mossden::MenuMode::InGame);
    ASSERT_TRUE(renderFrames(1, 0.25));
    EXPECT_EQ(log.updates, 0);
    EXPECT_EQ(log.ticks.size(), 1u);
    EXPECT_NEAR(app().fader->alpha, 0.975, 1e-6);
    EXPECT_FLOAT_EQ(sound.record(id)->fadeGain, 0.975f);

    app().sceneIndex = 0;  // over the menu scene the scene keeps running
    ASSERT_TRUE(renderFrames(1, 0.25));
    EXPECT_EQ(log.updates, 1);

    app().sceneIndex = 1;
    app().menu.hide();
    ASSERT_TRUE(renderFrames(1, 0.25));
    EXPECT_EQ(log.updates, 2);

    app().fader->fade(100.0);  // end the fade-in: overlay hidden again
    std::filesystem::remove_all(dir);
}

// A desktop program holds the pointer only while the player looks around:
// never over the start menu, nor under a menu in a game scene.
TEST_F(FrameLoopTest, PointerIsGrabbedOnlyInPlay) {
    struct Case {
        int sceneIndex;
        bool menuShown;
        bool grabbed;
    };
    for (const Case& c : {Case{1, false, true}, Case{1, true, false}, Case{0, false, false}, Case{2, false, true},
                          Case{2, true, false}}) {
        app().sceneIndex = c.sceneIndex;
        if (c.menuShown)
            app().menu.show(Mossden::MenuMode::InGame);
        else
            app().menu.hide();
        ASSERT_TRUE(renderFrames(1));
        EXPECT_EQ(app().pointerGrabbed(), c.grabbed) << "scene " << c.sceneIndex << " menu " << c.menuShown;
        // The events still reach the scene through the new mouse.
        EXPECT_TRUE(inputPointsAt(probe));
    }
}

// Alt+Enter asks for the other window mode (kept in the settings) and never
// reaches the scene; Enter alone does. (Without a window manager the engine
// cannot go full screen: the switch itself is tested under one, end to end.)
TEST_F(FrameLoopTest, AltEnterSwitchesTheWindowModeBeforeTheScene) {
    OIS::KeyListener* keys = app().keyboard->getEventCallback();
    ASSERT_NE(keys, nullptr);
    const bool wasFullscreen = app().window->isFullScreen();
    auto press = [&](OIS::KeyCode key) { keys->keyPressed(OIS::KeyEvent(app().keyboard, key, 0)); };
    auto release = [&](OIS::KeyCode key) { keys->keyReleased(OIS::KeyEvent(app().keyboard, key, 0)); };

    press(OIS::KC_RETURN);
    release(OIS::KC_RETURN);
    EXPECT_EQ(app().window->isFullScreen(), wasFullscreen);
    EXPECT_NE(app().settings.fullscreen, std::optional<bool>(!wasFullscreen));
    press(OIS::KC_LMENU);
    press(OIS::KC_RETURN);
    release(OIS::KC_RETURN);
    release(OIS::KC_LMENU);
    EXPECT_EQ(app().settings.fullscreen, std::optional<bool>(!wasFullscreen));
    EXPECT_EQ(log.keys, (std::vector<OIS::KeyCode>{OIS::KC_RETURN, OIS::KC_LMENU}));
    app().setFullscreen(wasFullscreen);
    ASSERT_TRUE(renderFrames(1));
}

TEST_F(FrameLoopTest, ShutDownEndsTheLoop) {
    app().shutDown = true;
    EXPECT_FALSE(renderFrames(1));
    EXPECT_EQ(log.updates, 0);
    app().shutDown = false;
    EXPECT_TRUE(renderFrames(1));
}

void expectStartedOver() {
    EXPECT_EQ(app().sceneIndex, 1);
    EXPECT_NE(dynamic_cast<Mossden::Scene1*>(app().currentScene()), nullptr);
    EXPECT_NE(dynamic_cast<Scene2*>(app().scenes[2]), nullptr);
    EXPECT_TRUE(inputPointsAt(app().currentScene()));
    EXPECT_FALSE(app().menu.visible);
}

TEST_F(FrameLoopTest, StartOverFromTheEndRebuildsTheFirstScene) {
    app().sceneIndex = 2;
    SoundManager& sound = SoundManager::getInstance();
    sound.pauseAll();
    app().menu.show(Mossden::MenuMode::End);

    app().request(Mossden::Request::StartOver);
    app().handleRequests();
    EXPECT_FALSE(log.alive);
    EXPECT_FALSE(sound.isPaused());
    expectStartedOver();
    EXPECT_TRUE(renderFrames(1));
}

// The menu's start-over button asks from inside an input handler: the
// scene outlives its own handler call, and the frame's request point starts
// over.
TEST_F(FrameLoopTest, StartOverFromAnInputHandlerWaitsForTheDelivery) {
    app().sceneIndex = 2;
    probe->startOverOnRelease = true;
    ASSERT_TRUE(renderFrames(1));
    ASSERT_EQ(std::system("xdotool click 1"), 0);
    for (int i = 0; i < 100 && log.releases == 0; ++i) {
        ASSERT_TRUE(renderFrames(1));
        if (log.releases == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(log.releases, 1) << "the click did not arrive";
    EXPECT_TRUE(log.aliveAfterStartOver);
    EXPECT_FALSE(log.alive);
    expectStartedOver();
}

}  // namespace
