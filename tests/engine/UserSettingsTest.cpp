#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Settings.h"
#include "tests/engine/EngineEnvironment.h"

namespace fs = std::filesystem;
using namespace Mossden;
using namespace Mossden::Test;

namespace {

Settings kept() {
    std::vector<std::string> notes;
    const Settings settings = loadSettings(app().settingsPath, notes);
    EXPECT_TRUE(notes.empty()) << notes.front();
    return settings;
}

}  // namespace

// The start wrote the player's files into the player's folder (the test's
// own XDG_CONFIG_HOME), the engine configuration in the engine's layout.
TEST(UserSettings, StartKeepsThePlayersFilesInTheirFolder) {
    const fs::path folder = fs::path(std::getenv("XDG_CONFIG_HOME")) / "mossden";
    EXPECT_EQ(fs::path(app().settingsPath), folder / "settings.cfg");
    EXPECT_EQ(fs::path(app().userOgreCfgPath), folder / "ogre.cfg");
    std::ifstream engineConfig(app().userOgreCfgPath);
    std::string first;
    std::getline(engineConfig, first);
    EXPECT_EQ(first, "Render System=" + app().root->getRenderSystem()->getName());
    EXPECT_EQ(kept().screenSize, app().resolution);
    // The folder started empty: the start picked the quality for the GL
    // renderer (Mesa's llvmpipe under Xvfb gives Low) and kept it, and the
    // camera has the player's field of view.
    const std::string renderer = app().root->getRenderSystem()->getCapabilities()->getDeviceName();
    EXPECT_EQ(kept().quality, firstQuality(renderer)) << renderer;
    EXPECT_EQ(app().settings.quality, firstQuality(renderer));
    EXPECT_NEAR(app().camera->getFOVy().valueDegrees(), app().settings.fieldOfView, 1e-4f);
}

// Volume, size and window mode are saved as soon as the menu changes them;
// the volume once its slider is let go.
TEST(UserSettings, MenuChangesAreSavedAtOnce) {
    const std::string before = app().resolution;
    MossdenMenu& menu = app().menu;
    menu.volume = 3;
    menu.dragged = Mossden::MenuSlider::Volume;
    ASSERT_TRUE(renderFrames(1));
    EXPECT_EQ(kept().volume, Settings::MAX_VOLUME) << "saved while dragging";
    menu.mouseReleased(0, 0);  // lets the slider go
    EXPECT_EQ(kept().volume, 3);

    app().setResolution("800x600");
    EXPECT_EQ(kept().screenSize, "800x600");
    app().setFullscreen(false);
    EXPECT_EQ(kept().fullscreen, std::optional<bool>(false));

    menu.volume = Settings::MAX_VOLUME;
    menu.dragged = Mossden::MenuSlider::Volume;
    menu.mouseReleased(0, 0);
    app().setResolution(before);
    ASSERT_TRUE(renderFrames(2));
    EXPECT_EQ(kept().volume, Settings::MAX_VOLUME);
    EXPECT_EQ(kept().screenSize, before);
}
