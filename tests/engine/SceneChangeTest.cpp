// The change from the first scene to the field on the real engine: the
// field is prepared while the first scene ends in the dark, and once it is
// built what only the first scene used is unloaded.
#include <Ogre.h>
#include <gtest/gtest.h>

#include "audio/SoundManager.h"
#include "scenes/first/Scene1.h"
#include "tests/engine/EngineEnvironment.h"

namespace {

using Mossden::Test::app;
using Mossden::Test::renderFrames;

bool meshLoaded(const char* name) {
    const Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().getByName(name, Ogre::RGN_DEFAULT);
    return mesh && mesh->isLoaded();
}

TEST(SceneChange, FieldIsPreparedInTheDarkAndTheFirstScenesMediaGo) {
    const char* const FIELD_MESH = "third_aster1.mesh";
    const char* const FIRST_MESH = "moss_floor_40_42.mesh";
    // Game time per frame: the outro lasts thousands of frames, however
    // slowly this machine prepares.
    constexpr double SHORT_FRAME = 0.001;
    constexpr int MAX_FRAMES = 3000;

    Mossden::Test::startOver();
    ASSERT_EQ(app().sceneIndex, 1);
    ASSERT_TRUE(renderFrames(3));
    auto* scene = dynamic_cast<Mossden::Scene1*>(app().currentScene());
    ASSERT_NE(scene, nullptr);
    SoundManager& sound = SoundManager::getInstance();
    const int music = sound.loadSound("scene1.ogg", false);
    EXPECT_TRUE(meshLoaded(FIRST_MESH));
    EXPECT_FALSE(meshLoaded(FIELD_MESH)) << "the field's meshes are loaded while the first scene flies";

    scene->phase = Mossden::FlightPhase::Outro;
    scene->outroTimer.reset();
    int frames = 0;
    do {
        ASSERT_TRUE(renderFrames(1, SHORT_FRAME));
    } while (!app().preparer.done() && ++frames < MAX_FRAMES && app().sceneIndex == 1);
    EXPECT_GT(frames, 1) << "the preparation was done in one frame";
    EXPECT_EQ(app().sceneIndex, 1) << "the outro ended before the field was prepared";
    EXPECT_TRUE(app().preparer.done());
    EXPECT_TRUE(meshLoaded(FIELD_MESH));
    EXPECT_TRUE(meshLoaded("third_sky.mesh"));

    sound.stop(music);  // as the approach's fade-out does
    scene->setFinished(true);
    ASSERT_TRUE(renderFrames(1));
    ASSERT_EQ(app().sceneIndex, 2);
    EXPECT_TRUE(meshLoaded(FIELD_MESH));
    EXPECT_FALSE(meshLoaded(FIRST_MESH));
    EXPECT_FALSE(sound.record(music)->loaded);
    EXPECT_EQ(sound.record(music)->buffer, 0u);
    Mossden::Test::backToMenu();
}

}  // namespace
