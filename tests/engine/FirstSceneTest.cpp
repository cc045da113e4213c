// The first scene on the real engine: its world loads with the second
// scene's beside it, and the flight's rules hold frame by frame.
#include <gtest/gtest.h>

#include <OIS.h>
#include <Ogre.h>

#include <cstdlib>
#include <filesystem>

#include "scenes/first/Scene1.h"
#include "scenes/second/Scene2.h"
#include "tests/engine/EngineEnvironment.h"

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
        scene = dynamic_cast<Scene1*>(app().currentScene);
        ASSERT_NE(scene, nullptr);
    }
    void TearDown() override {
        app().sceneIndex = -1;
        app().nextScene();
    }
    // Runs update with a frame of dt seconds, as the application does.
    void update(float dt) {
        Ogre::FrameEvent evt;
        evt.timeSinceLastFrame = dt;
        evt.timeSinceLastEvent = dt;
        scene->update(evt);
    }
    void startAscent() {
        Scene1::firstUpdatePending = false;
        update(0.016f);
        ASSERT_EQ(scene->phase, Scene1::PHASE_ASCENT);
    }
    Scene1* scene = nullptr;
};

std::string artefact(const std::string& name) {
    const std::string dir = std::string(MOSSDEN_BUILD_DIR) + "/artefacts";
    std::filesystem::create_directories(dir);
    return dir + "/" + name;
}

}  // namespace

TEST_F(FirstScene, ScreenshotsOfTheAscent) {
    startAscent();
    Mossden::Fader* fader = app().fader.get();
    for (float T : {0.0f, 60.0f, 300.0f, 800.0f, 1400.0f}) {
        scene->cameraTrackState->setTimePosition(T);
        fader->startFadeIn(0.001);
        renderFrames(3, 0.016);
        app().window->writeContentsToFile(artefact("first_ascent_" + std::to_string(int(T)) + ".png"));
    }
    if (std::getenv("PROBE")) {
        app().sceneManager->setFog(Ogre::FOG_NONE);
        renderFrames(2, 0.016);
        app().window->writeContentsToFile(artefact("probe_nofog.png"));
        app().camera->setFarClipDistance(50000);
        renderFrames(2, 0.016);
        app().window->writeContentsToFile(artefact("probe_far.png"));
        app().camera->setFarClipDistance(1500000);
    }
}
