#ifndef MOSSDEN_TESTS_ENGINE_ENGINEENVIRONMENT_H
#define MOSSDEN_TESTS_ENGINE_ENGINEENVIRONMENT_H

// The real application, started once per test process on the X display
// (Xvfb in CI) with the build tree's data, without entering the render loop.
// Engine tests reach everything through app() and render
// frames with renderFrames().
#include <gtest/gtest.h>

#include <Ogre.h>
#include <OgreOverlay.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/MossdenApp.h"
#include "audio/SoundManager.h"

namespace Mossden::Test {

// The tests' one application, built on first use; the environment shuts it
// down before the end of main.
inline MossdenApp& app() {
    static MossdenApp application;
    return application;
}

// The FSAA value the saved configuration holds before the start; the start
// writes 0 over it (Startup tests). Empty when it could not be written.
inline std::string& seededFsaa() {
    static std::string value;
    return value;
}

class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // A player folder of its own, so that settings kept by earlier runs,
        // or by whoever runs the tests, never change what the tests see.
        playerFolder = (std::filesystem::temp_directory_path() / "mossden-engine-XXXXXX").string();
        ASSERT_NE(::mkdtemp(playerFolder.data()), nullptr);
        ::setenv("XDG_CONFIG_HOME", (playerFolder + "/config").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (playerFolder + "/state").c_str(), 1);
        // The player's engine configuration starts as the data's with
        // another FSAA value, which the start must replace.
        std::filesystem::create_directories(playerFolder + "/config/mossden");
        seedFsaa(std::string(MOSSDEN_BUILD_DIR) + "/cfg/ogre.cfg", playerFolder + "/config/mossden/ogre.cfg", "4");
        static std::string exe = std::string(MOSSDEN_BUILD_DIR) + "/bin/mossden";
        char* argv[] = {exe.data(), nullptr};
        ASSERT_TRUE(app().start(1, argv));
    }
    void TearDown() override {
        app().shutdown();
        std::filesystem::remove_all(playerFolder);
    }

private:
    static void seedFsaa(const std::string& from, const std::string& path, const std::string& value) {
        std::ifstream in(from);
        std::string text, line;
        bool found = false;
        while (std::getline(in, line)) {
            if (line.rfind("FSAA=", 0) == 0) {
                line = "FSAA=" + value;
                found = true;
            }
            text += line + "\n";
        }
        in.close();
        if (found && (std::ofstream(path) << text)) seededFsaa() = value;
    }

    std::string playerFolder;
};


// Renders n frames through the engine's own frame calls, each reported as
// dt seconds long, so the application's frame operations run as in the game.
// Returns false when the application asked to stop.
inline bool renderFrames(int n, double dt = 1.0 / 60.0) {
    for (int i = 0; i < n; ++i)
        if (!app().root->renderOneFrame(static_cast<Ogre::Real>(dt))) return false;
    return true;
}

// Starts over as the menu's button does: the request, then the frame's
// request point.
inline void startOver() {
    app().request(Request::StartOver);
    app().handleRequests();
}

// Replaces whatever scene runs by a fresh menu scene and undoes what the
// scenes change beyond their scene graph: the shadow technique (scene files
// may set their own; the application starts with stencil additive), the
// fader (the first scene starts covered) and the sounds.
inline void backToMenu() {
    app().sceneIndex = -1;
    app().nextScene();
    // The menu scene asks for its menu; the tests start from a hidden one.
    app().handleRequests();
    app().menu.hide();
    app().sceneManager->setShadowTechnique(Ogre::SHADOWTYPE_STENCIL_ADDITIVE);
    if (Fader* fader = app().fader.get()) {
        fader->operation = Fader::FADE_NONE;
        fader->alpha = 0;
        fader->applyAlpha(0);
        if (fader->overlay) fader->overlay->hide();
    }
    SoundManager::getInstance().stopAll();
}

}  // namespace Mossden::Test

#endif
