#include <OIS.h>
#include <Ogre.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/Fader.h"
#include "app/Settings.h"
#include "audio/SoundManager.h"
#include "menu/MenuSliders.h"
#include "menu/MossdenMenu.h"
#include "menu/SceneMenu.h"
#include "scenes/first/Scene1.h"
#include "scene/MossdenScene.h"
#include "tests/engine/EngineEnvironment.h"

using Mossden::MossdenMenu;
using Mossden::SceneMenu;
using Mossden::Test::app;
using Mossden::Test::renderFrames;

namespace {

const std::string M = "MossdenOverlays/Menu/";
const std::string E = "MossdenOverlays/EndMenu/";

Ogre::OverlayElement* element(const std::string& name) {
    return Ogre::OverlayManager::getSingleton().getOverlayElement(name);
}

bool overlayShown(const std::string& name) {
    return Ogre::OverlayManager::getSingleton().getByName(name)->isVisible();
}

// Centre of an element in window pixels, from where the last frame drew it.
std::pair<int, int> centreOf(const std::string& name) {
    Ogre::OverlayElement* e = element(name);
    const MossdenMenu& menu = app().menu;
    return {static_cast<int>((e->_getDerivedLeft() + e->_getWidth() / 2) * menu.windowWidth),
            static_cast<int>((e->_getDerivedTop() + e->_getHeight() / 2) * menu.windowHeight)};
}

// Keeps a picture of the window in the artefacts folder, for people to look at.
void saveScreenshot(const std::string& name) {
    const char* dir = std::getenv("MOSSDEN_ARTEFACTS");
    const std::filesystem::path folder =
        dir ? std::filesystem::path(dir) : std::filesystem::path(MOSSDEN_BUILD_DIR) / "artefacts";
    std::filesystem::create_directories(folder);
    renderFrames(1);
    app().window->writeContentsToFile((folder / (name + ".png")).string());
}

// Mouse events as the OIS mouse delivers them: down the input chain, then
// the frame's request point.
struct FakeMouse {
    OIS::MouseState state;
    FakeMouse() {
        state.width = app().menu.windowWidth;
        state.height = app().menu.windowHeight;
    }
    void moveTo(std::pair<int, int> p, int relX = 1) {
        state.X.rel = relX;
        state.X.abs = p.first;
        state.Y.abs = p.second;
        app().inputChain().mouseMoved(OIS::MouseEvent(nullptr, state));
        app().handleRequests();
    }
    void press(OIS::MouseButtonID id = OIS::MB_Left) {
        app().inputChain().mousePressed(OIS::MouseEvent(nullptr, state), id);
        app().handleRequests();
    }
    void release(OIS::MouseButtonID id = OIS::MB_Left) {
        app().inputChain().mouseReleased(OIS::MouseEvent(nullptr, state), id);
        app().handleRequests();
    }
    std::pair<int, int> at() const { return {state.X.abs, state.Y.abs}; }
};

// The start menu over a menu scene of the test's own, made current as the
// application would at index 0; the scene it displaced comes back afterwards.
class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSlot = app().scenes.currentSlot();
        savedSceneIndex = app().sceneIndex;
        savedModes = menu.videoModes;
        savedStep = menu.steps.viewMode;
        savedIndex = menu.viewModeIndex;
        savedSettings = app().settings;
        app().shutDown = false;
        app().fader->startFadeIn(0.01);  // a clear picture for the screenshots
        app().fader->fade(1.0);
        menu.hide();
        menuScene = new SceneMenu(app().sceneManager, app().cameraMan.get(), app().sceneServices());
        menuScene->createScene();
        app().scenes.install(Mossden::SceneSequence::LAST_INDEX, std::unique_ptr<MossdenScene>(menuScene));
        app().sceneIndex = 0;
        app().pointInputAt(menuScene);
        ASSERT_TRUE(renderFrames(2));  // the first frame opens the start menu
        ASSERT_TRUE(menu.visible);
        ASSERT_EQ(menu.mode, Mossden::MenuMode::Start);
    }
    void TearDown() override {
        menu.mouseReleased(0, 0);  // ends a drag left over by a failed test
        app().handleRequests();
        menu.videoModes = savedModes;
        menu.steps.viewMode = savedStep;
        menu.viewModeIndex = savedIndex;
        menu.volume = MossdenMenu::MAX_VOLUME;
        app().settings = savedSettings;
        app().setFieldOfView(savedSettings.fieldOfView);
        app().keepSettings();
        menu.hide();
        app().scenes.install(Mossden::SceneSequence::LAST_INDEX, nullptr);  // releases menuScene
        app().scenes.makeCurrent(savedSlot);
        app().sceneIndex = savedSceneIndex;
        app().pointInputAt(app().currentScene());
    }

    SoundManager& sound = SoundManager::getInstance();
    MossdenMenu& menu = app().menu;
    // The sequence moved on (or must): the fixture's scene goes, a fresh menu
    // scene takes its place.
    void sequenceMovedOn() {
        menuScene = nullptr;
        Mossden::Test::backToMenu();
        savedSlot = app().scenes.currentSlot();
        savedSceneIndex = 0;
    }

    SceneMenu* menuScene = nullptr;
    int savedSlot = 0;
    int savedSceneIndex = 0;
    std::vector<std::string> savedModes;
    float savedStep = 0;
    int savedIndex = 0;
    Mossden::Settings savedSettings;
};

// The settings as the player's file holds them now.
Mossden::Settings kept() {
    std::vector<std::string> notes;
    const Mossden::Settings settings = Mossden::loadSettings(app().settingsPath, notes);
    EXPECT_TRUE(notes.empty()) << notes.front();
    return settings;
}

// A click as a player makes it: onto the button, a little further (the
// hover form shows), then the left button goes down and up.
void click(FakeMouse& mouse, const std::string& name) {
    const auto p = centreOf(name);
    mouse.moveTo(p);
    mouse.moveTo({p.first + 1, p.second});
    mouse.press();
    mouse.release();
}

}  // namespace

TEST_F(MenuTest, EachModeShowsItsButtonsAndHidesTheRest) {
    struct Row {
        Mossden::MenuMode mode;
        std::vector<std::string> shown;
        std::vector<std::string> hidden;
        const char* backgroundMaterial;
    };
    const std::vector<std::string> hovers = {
        M + "StartHover",      M + "StartAboutHover", M + "StartExitHover",
        M + "ContinueHover",   M + "AboutHover",      M + "StartOverHover",
        M + "ExitHover",       M + "BackHover",       M + "ApplyHover",
        M + "FullscreenHover", M + "WindowedHover",   M + "ViewModeArrowHover",
        M + "SoundArrowHover", M + "StartBackground"};
    const Row rows[] = {
        {Mossden::MenuMode::Start,
         {M + "StarsBackground", M + "BoxBackground", M + "Start", M + "StartAbout",
          M + "StartExit", M + "TextMain", M + "Fullscreen", M + "Windowed", M + "Apply",
          M + "ViewModeArrow", M + "SoundArrow", "ViewModeText"},
         {M + "Continue", M + "About", M + "StartOver", M + "Exit", M + "TextAbout"},
         "Menu/StartBackgroundPic"},
        {Mossden::MenuMode::InGame,
         {M + "Continue", M + "About", M + "StartOver", M + "Exit", M + "TextMain",
          M + "Fullscreen", M + "Windowed", "ViewModeText"},
         {M + "StarsBackground", M + "BoxBackground", M + "Start", M + "StartAbout",
          M + "StartExit", M + "TextAbout"},
         "Menu/Background"},
        {Mossden::MenuMode::End,
         {E + "Continue", E + "StartOver", E + "Exit"},
         {E + "ContinueHover", E + "StartOverHover", E + "ExitHover"},
         nullptr},
    };
    for (const Row& row : rows) {
        menu.hide();
        menu.show(row.mode);
        ASSERT_TRUE(renderFrames(1));
        EXPECT_TRUE(menu.visible);
        EXPECT_TRUE(menu.cursor->isVisible());
        EXPECT_TRUE(sound.isPaused());  // everything else waits while the menu plays
        EXPECT_EQ(menu.musicId, sound.loadSound("thehumming.ogg", true));
        EXPECT_EQ(overlayShown("MossdenOverlays/Menu"), row.mode != Mossden::MenuMode::End);
        EXPECT_EQ(overlayShown("MossdenOverlays/EndMenu"), row.mode == Mossden::MenuMode::End);
        for (const auto& name : row.shown)
            EXPECT_TRUE(element(name)->isVisible()) << static_cast<int>(row.mode) << name;
        for (const auto& name : row.hidden)
            EXPECT_FALSE(element(name)->isVisible()) << static_cast<int>(row.mode) << name;
        for (const auto& name : hovers)
            EXPECT_FALSE(element(name)->isVisible()) << static_cast<int>(row.mode) << name;
        saveScreenshot("menu_mode" + std::to_string(static_cast<int>(row.mode)));
        if (row.backgroundMaterial) {
            EXPECT_EQ(element(M + "Background")->getMaterialName(), row.backgroundMaterial);
        }

        menu.hide();
        EXPECT_FALSE(menu.visible);
        EXPECT_FALSE(sound.isPaused());
        EXPECT_FALSE(menu.cursor->isVisible());
        EXPECT_FALSE(overlayShown("MossdenOverlays/Menu"));
        EXPECT_FALSE(overlayShown("MossdenOverlays/EndMenu"));
        EXPECT_FALSE(element("ViewModeText")->isVisible());
    }
}

TEST_F(MenuTest, HoverShowsTheHoverFormAndClicksOncePerNewButton) {
    ASSERT_TRUE(sound.hasDevice());
    const std::size_t before = sound.oneShots().size();
    auto clicks = [&] { return static_cast<int>(sound.oneShots().size() - before); };
    FakeMouse mouse;
    const auto start = centreOf(M + "Start");
    mouse.moveTo(start);
    // The first move finds the plain button and swaps in its hover form...
    EXPECT_EQ(menu.lastHover[MossdenMenu::SLOT_BUTTONS], element(M + "Start"));
    EXPECT_TRUE(element(M + "StartHover")->isVisible());
    EXPECT_FALSE(element(M + "Start")->isVisible());
    EXPECT_EQ(clicks(), 0);
    // ...the next one finds the hover form, which clicks once.
    mouse.moveTo({start.first + 2, start.second});
    EXPECT_EQ(menu.lastHover[MossdenMenu::SLOT_BUTTONS], element(M + "StartHover"));
    EXPECT_TRUE(element(M + "StartHover")->isVisible());
    EXPECT_EQ(clicks(), 1);
    mouse.moveTo({start.first + 4, start.second + 1});
    EXPECT_EQ(clicks(), 1);

    // Onto another button: the first one goes back to its plain form.
    const auto exitButton = centreOf(M + "StartExit");
    mouse.moveTo(exitButton);
    EXPECT_EQ(clicks(), 1);
    mouse.moveTo({exitButton.first + 1, exitButton.second});
    EXPECT_EQ(clicks(), 2);
    EXPECT_TRUE(element(M + "StartExitHover")->isVisible());
    EXPECT_FALSE(element(M + "StartHover")->isVisible());
    EXPECT_TRUE(element(M + "Start")->isVisible());

    // Settings buttons keep the plain form, which clicks, and lay the hover
    // form over it.
    mouse.moveTo(centreOf(M + "Apply"));
    EXPECT_EQ(clicks(), 3);
    EXPECT_TRUE(element(M + "ApplyHover")->isVisible());
    EXPECT_TRUE(element(M + "Apply")->isVisible());
    EXPECT_EQ(menu.lastHover[MossdenMenu::SLOT_SETTINGS], element(M + "Apply"));
    EXPECT_FALSE(element(M + "StartExitHover")->isVisible());
    mouse.moveTo(centreOf(M + "Apply"));
    EXPECT_EQ(clicks(), 3);
    saveScreenshot("menu_hover_apply");

    // The cursor follows the mouse in fractions of the window.
    EXPECT_FLOAT_EQ(menu.cursor->getX(), float(mouse.at().first) / menu.windowWidth);
    EXPECT_FLOAT_EQ(menu.cursor->getY(), float(mouse.at().second) / menu.windowHeight);
}

TEST_F(MenuTest, OnlyAHighlightedButtonActsOnRelease) {
    FakeMouse mouse;
    ASSERT_TRUE(renderFrames(1));
    const auto start = centreOf(M + "Start");
    // Released over the plain start button: nothing happens.
    mouse.state.X.abs = start.first;
    mouse.state.Y.abs = start.second;
    mouse.release();
    EXPECT_TRUE(menu.visible);

    // About, once highlighted, opens the about page in place of the settings.
    const auto aboutButton = centreOf(M + "StartAbout");
    mouse.moveTo(aboutButton);
    mouse.release(OIS::MB_Right);  // only the left button acts
    EXPECT_FALSE(element(M + "TextAbout")->isVisible());
    mouse.release();
    EXPECT_TRUE(element(M + "TextAbout")->isVisible());
    EXPECT_FALSE(element(M + "TextMain")->isVisible());
    EXPECT_FALSE(element("ViewModeText")->isVisible());
    EXPECT_FALSE(element(M + "Fullscreen")->isVisible());
    EXPECT_FALSE(element(M + "Windowed")->isVisible());
    saveScreenshot("menu_about");

    // Back returns to the settings page.
    const auto backButton = centreOf(M + "Back");
    mouse.moveTo(backButton);
    EXPECT_TRUE(element(M + "BackHover")->isVisible());
    mouse.release();
    EXPECT_FALSE(element(M + "TextAbout")->isVisible());
    EXPECT_TRUE(element(M + "TextMain")->isVisible());
    EXPECT_TRUE(element("ViewModeText")->isVisible());
    EXPECT_TRUE(element(M + "Fullscreen")->isVisible());
    EXPECT_TRUE(menu.visible);
    EXPECT_FALSE(app().shutDown);

    // Start, once highlighted, closes the menu and darkens the picture.
    mouse.moveTo(start);
    mouse.release();
    EXPECT_FALSE(menu.visible);
    EXPECT_GE(app().fader->alpha, 1.0);
    // A fresh menu scene overtakes the pending start.
    sequenceMovedOn();
}

TEST_F(MenuTest, SizeArrowStepsThroughThreeModesOnALine300Wide) {
    menu.videoModes = {"800x600", "1024x768", "1280x1024"};
    menu.steps.viewMode = Mossden::sliderStep(300, 2);
    menu.viewModeIndex = 0;
    menu.show(Mossden::MenuMode::Start);
    ASSERT_TRUE(renderFrames(1));
    saveScreenshot("menu_sizes");
    Ogre::OverlayElement* arrow = element(M + "ViewModeArrow");
    Ogre::OverlayElement* hoverArrow = element(M + "ViewModeArrowHover");
    Ogre::OverlayElement* caption = element("ViewModeText");
    EXPECT_EQ(caption->getCaption(), "800x600");

    FakeMouse mouse;
    mouse.moveTo(centreOf(M + "ViewModeArrow"));
    EXPECT_TRUE(hoverArrow->isVisible());
    mouse.press(OIS::MB_Right);  // any button takes the arrow
    EXPECT_EQ(menu.dragged, Mossden::MenuSlider::ViewMode);
    EXPECT_FALSE(menu.cursor->isVisible());

    const std::pair<int, int> at = mouse.at();
    struct Step {
        int dx;
        int index;
    };
    const Step steps[] = {{100, 0}, {50, 0}, {1, 1}, {151, 2}, {151, 2}, {-151, 1}};
    for (const Step& s : steps) {
        mouse.moveTo(at, s.dx);
        EXPECT_EQ(menu.viewModeIndex, s.index) << s.dx;
        const float left = menu.sliderLeft + 150.0f * s.index;
        EXPECT_FLOAT_EQ(hoverArrow->getLeft(), left);
        EXPECT_FLOAT_EQ(arrow->getLeft(), left);
        EXPECT_FLOAT_EQ(caption->getLeft(), left);
        EXPECT_FLOAT_EQ(caption->getTop(), 8);
        EXPECT_EQ(caption->getCaption(), menu.videoModes[s.index]);
    }
    // The volume arrow did not move.
    EXPECT_EQ(menu.volume, MossdenMenu::MAX_VOLUME);

    const auto p = mouse.at();
    menu.mouseReleased(p.first, p.second);
    EXPECT_NE(menu.dragged, Mossden::MenuSlider::ViewMode);
    EXPECT_FLOAT_EQ(menu.dragAccumulator, 0);
    EXPECT_TRUE(menu.cursor->isVisible());
}

TEST_F(MenuTest, VolumeArrowStopsAtBothEnds) {
    FakeMouse mouse;
    const float step = menu.steps.volume;
    ASSERT_GT(step, 0);
    mouse.moveTo(centreOf(M + "SoundArrow"));
    mouse.press();
    ASSERT_EQ(menu.dragged, Mossden::MenuSlider::Volume);
    const auto at = mouse.at();
    for (int expected = MossdenMenu::MAX_VOLUME - 1; expected >= 0; --expected) {
        mouse.moveTo(at, -static_cast<int>(step) - 1);
        EXPECT_EQ(menu.volume, expected);
    }
    mouse.moveTo(at, -static_cast<int>(step) - 1);
    EXPECT_EQ(menu.volume, 0);
    EXPECT_FLOAT_EQ(sound.getVolume(), 0.0f);
    EXPECT_FLOAT_EQ(element(M + "SoundArrow")->getLeft(), menu.sliderLeft);
    for (int i = 0; i < 12; ++i) mouse.moveTo(at, static_cast<int>(step) + 1);
    EXPECT_EQ(menu.volume, MossdenMenu::MAX_VOLUME);
    EXPECT_FLOAT_EQ(sound.getVolume(), 1.0f);
    EXPECT_FLOAT_EQ(element(M + "SoundArrow")->getLeft(), menu.sliderLeft + 10 * step);
    EXPECT_EQ(menu.viewModeIndex, savedIndex);
    menu.mouseReleased(at.first, at.second);
    EXPECT_NE(menu.dragged, Mossden::MenuSlider::Volume);
}

TEST_F(MenuTest, ASingleScreenSizeKeepsTheArrowStill) {
    menu.videoModes = {"1024x768"};
    menu.steps.viewMode = Mossden::sliderStep(240, 0);
    menu.viewModeIndex = 0;
    menu.show(Mossden::MenuMode::Start);
    ASSERT_TRUE(renderFrames(1));
    FakeMouse mouse;
    mouse.moveTo(centreOf(M + "ViewModeArrow"));
    mouse.press();
    ASSERT_EQ(menu.dragged, Mossden::MenuSlider::ViewMode);
    for (int dx : {500, -500, 1, 500}) mouse.moveTo(mouse.at(), dx);
    EXPECT_EQ(menu.viewModeIndex, 0);
    EXPECT_FLOAT_EQ(element(M + "ViewModeArrow")->getLeft(), menu.sliderLeft);
    EXPECT_EQ(element("ViewModeText")->getCaption(), "1024x768");
}

TEST_F(MenuTest, FirstWindowSizePutsTheSliderAtAKnownSize) {
    menu.videoModes = {"800x600", "1024x768", "1280x1024"};
    menu.sizeInitialised = false;
    menu.setWindowSize(1000, 700);  // no "Menu/ViewMode1000x700": unchanged
    EXPECT_EQ(menu.viewModeIndex, savedIndex);
    menu.sizeInitialised = false;
    menu.setWindowSize(1024, 768);
    EXPECT_EQ(menu.viewModeIndex, 1);
    EXPECT_EQ(element("ViewModeText")->getCaption(), "1024x768");
    menu.setWindowSize(1280, 1024);  // only the first call looks
    EXPECT_EQ(menu.viewModeIndex, 1);
    EXPECT_EQ(menu.windowWidth, 1280);
    menu.setWindowSize(1024, 768);
    EXPECT_TRUE(menu.sizeInitialised);
}

TEST_F(MenuTest, SettingsButtonsCallTheApplication) {
    const std::string before = app().resolution;
    const auto applyButton = centreOf(M + "Apply");
    menu.videoModes = {"800x600"};
    menu.viewModeIndex = 0;
    menu.mouseReleased(applyButton.first, applyButton.second);
    EXPECT_EQ(app().resolution, "800x600");
    EXPECT_EQ(menu.windowWidth, 800);
    EXPECT_EQ(menu.windowHeight, 600);
    ASSERT_TRUE(renderFrames(2));
    EXPECT_EQ(app().window->getWidth(), 800u);
    // The buttons keep their pixel size and stay centred in the new window.
    EXPECT_NEAR(centreOf(M + "Windowed").first, 400 + 275, 1);

    // The window-mode buttons re-apply the application's size, which then
    // tells the menu: give the application a size the window does not have
    // yet, to see that they did. (Without a window manager only the windowed
    // mode changes the window itself.)
    for (const char* button : {"Windowed", "Fullscreen"}) {
        app().setResolution(before);
        ASSERT_TRUE(renderFrames(2));
        ASSERT_EQ(menu.windowWidth, 1024);
        app().resolution = "800x600";
        const auto p = centreOf(M + button);
        menu.mouseReleased(p.first, p.second);
        EXPECT_EQ(menu.windowWidth, 800) << button;
        EXPECT_EQ(menu.windowHeight, 600) << button;
        ASSERT_TRUE(renderFrames(2));
        if (std::string(button) == "Windowed") {
            EXPECT_EQ(app().window->getWidth(), 800u);
        }
    }
    app().setFullscreen(false);
    app().setResolution(before);
    ASSERT_TRUE(renderFrames(2));
    EXPECT_EQ(menu.windowWidth, 1024);
    EXPECT_FALSE(app().window->isFullScreen());
}

TEST_F(MenuTest, EndMenuFadesInOnceAndOpensOpaqueTheSecondTime) {
    menu.hide();
    menu.show(Mossden::MenuMode::End);
    ASSERT_EQ(menu.endUnits.size(), 7u);
    for (Ogre::TextureUnitState* unit : menu.endUnits)
        EXPECT_FLOAT_EQ(unit->getAlphaBlendMode().alphaArg1, 0.0f);
    Ogre::FrameEvent evt{};
    evt.timeSinceLastFrame = 0.25f;
    menu.update(evt);
    EXPECT_FLOAT_EQ(menu.endFade, 0.25f);
    for (Ogre::TextureUnitState* unit : menu.endUnits) {
        EXPECT_EQ(unit->getAlphaBlendMode().operation, Ogre::LBX_MODULATE);
        EXPECT_EQ(unit->getAlphaBlendMode().source1, Ogre::LBS_MANUAL);
        EXPECT_EQ(unit->getAlphaBlendMode().source2, Ogre::LBS_TEXTURE);
        EXPECT_FLOAT_EQ(unit->getAlphaBlendMode().alphaArg1, 0.25f);
    }
    evt.timeSinceLastFrame = 0.5f;
    menu.update(evt);
    menu.update(evt);
    EXPECT_FLOAT_EQ(menu.endFade, 1.0f);
    EXPECT_FLOAT_EQ(menu.endUnits[0]->getAlphaBlendMode().alphaArg1, 1.0f);
    saveScreenshot("menu_end");

    menu.hide();
    menu.show(Mossden::MenuMode::End);
    EXPECT_FLOAT_EQ(menu.endFade, 1.0f);
    for (Ogre::TextureUnitState* unit : menu.endUnits)
        EXPECT_FLOAT_EQ(unit->getAlphaBlendMode().alphaArg1, 1.0f);

    // Over the end menu a press where the settings arrows lie takes nothing.
    ASSERT_TRUE(renderFrames(1));
    const auto arrow = centreOf(M + "SoundArrow");
    menu.mousePressed(arrow.first, arrow.second);
    EXPECT_NE(menu.dragged, Mossden::MenuSlider::Volume);
    EXPECT_TRUE(menu.cursor->isVisible());

    // Continue, once highlighted, closes the end menu.
    FakeMouse mouse;
    const auto continueButton = centreOf(E + "Continue");
    mouse.moveTo(continueButton);
    EXPECT_TRUE(element(E + "ContinueHover")->isVisible());
    EXPECT_FALSE(element(E + "Continue")->isVisible());
    menu.mouseReleased(continueButton.first, continueButton.second);
    app().handleRequests();
    EXPECT_FALSE(menu.visible);
    EXPECT_FALSE(overlayShown("MossdenOverlays/EndMenu"));
}

// Escape can come while a fade covers the picture (the first scene starts
// black): the menu and its cursor must show above the fade.
TEST_F(MenuTest, MenuShowsAboveAFullFade) {
    Mossden::Fader& fader = *app().fader;
    fader.operation = Mossden::Fader::FADE_NONE;
    fader.overlay->show();
    fader.applyAlpha(1.0);
    ASSERT_TRUE(renderFrames(1));

    // Inside the plain Start button, clear of its label: light paper.
    Ogre::OverlayElement* start = element(M + "Start");
    const std::size_t x = static_cast<std::size_t>(start->_getDerivedLeft() * menu.windowWidth) + 15;
    const std::size_t y = static_cast<std::size_t>(start->_getDerivedTop() * menu.windowHeight) + 8;
    Ogre::Image picture(Ogre::PF_BYTE_RGBA, menu.windowWidth, menu.windowHeight);
    Ogre::PixelBox box = picture.getPixelBox();
    app().window->copyContentsToMemory(box, box);
    const Ogre::ColourValue paper = picture.getColourAt(x, y, 0);
    EXPECT_GT(paper.r + paper.g + paper.b, 2.0f) << "at " << x << ", " << y;

    fader.applyAlpha(0.0);
    fader.overlay->hide();
}

// The menu scene asks for the start menu once built; Start darkens the
// picture, and the first scene is built only once the dark picture has
// been on the screen, four frames later.
TEST_F(MenuTest, StartDarkensThePictureAndTheFirstSceneFollowsFourFramesLater) {
    menu.hide();
    menuScene->createScene();
    app().handleRequests();
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(menu.mode, Mossden::MenuMode::Start);
    const OIS::MouseState& mouseState = app().mouse->getMouseState();
    EXPECT_FLOAT_EQ(menu.cursor->getX(), float(mouseState.X.abs) / menu.windowWidth);

    // Escape does nothing here.
    app().inputChain().keyPressed(OIS::KeyEvent(nullptr, OIS::KC_ESCAPE, 0));
    app().handleRequests();
    EXPECT_TRUE(menu.visible);

    app().request(Mossden::Request::Start);
    app().handleRequests();
    EXPECT_FALSE(menu.visible);
    EXPECT_GE(app().fader->alpha, 1.0);
    EXPECT_TRUE(app().fader->overlay->isVisible());
    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_TRUE(renderFrames(1));
        EXPECT_EQ(app().sceneIndex, 0) << frame;
        EXPECT_EQ(app().currentScene(), menuScene) << frame;
    }
    ASSERT_TRUE(renderFrames(1));
    EXPECT_EQ(app().sceneIndex, 1);
    EXPECT_NE(dynamic_cast<Mossden::Scene1*>(app().currentScene()), nullptr);
    sequenceMovedOn();
}

// The Look & quality tab through the menu's own mouse entry points: the
// sliders change the settings (and the camera) while they move and save
// when let go; the toggle and the quality row save at once.
TEST_F(MenuTest, LookRowsChangeTheSettingsTheFileAndTheCamera) {
    Mossden::Settings& settings = app().settings;
    settings.mouseSensitivity = 1.0f;
    settings.invertVerticalLook = false;
    settings.quality = Mossden::Settings::Quality::High;
    app().setFieldOfView(Mossden::Settings::DEFAULT_FIELD_OF_VIEW);
    app().keepSettings();
    menu.show(Mossden::MenuMode::Start);
    ASSERT_TRUE(renderFrames(1));
    EXPECT_FALSE(element(M + "LookRows")->isVisible());

    FakeMouse mouse;
    click(mouse, M + "TabLook");
    EXPECT_EQ(menu.page, MossdenMenu::Page::Look);
    EXPECT_TRUE(element(M + "LookRows")->isVisible());
    EXPECT_FALSE(element(M + "ScreenRows")->isVisible());
    EXPECT_FALSE(element("ViewModeText")->isVisible());
    EXPECT_TRUE(element("SensitivityText")->isVisible());
    EXPECT_EQ(element(M + "TabLook")->getMaterialName(), "Menu/TabLookOn");
    EXPECT_EQ(element("SensitivityText")->getCaption(), "1.00\u00d7");
    EXPECT_EQ(element("FieldOfViewText")->getCaption(), "45\u00b0");
    saveScreenshot("menu_look");

    struct Drag {
        const char* arrow;
        int dx;
        float sensitivity, fieldOfView;  // after the move
        int arrowStep;                   // the arrow's step on its line
    };
    const float s = menu.steps.sensitivity;
    const float f = menu.steps.fieldOfView;
    ASSERT_GT(s, 0);
    ASSERT_GT(f, 0);
    const Drag drags[] = {
        {"SensitivityArrow", int(s) + 1, 1.189207f, 45, 9},
        {"SensitivityArrow", int(s) + 1, 1.414214f, 45, 10},
        {"SensitivityArrow", 1, 1.414214f, 45, 10},  // short of a step, but counted:
        {"SensitivityArrow", -int(s) - 1, 1.414214f, 45, 10},
        {"SensitivityArrow", -int(s) - 1, 1.189207f, 45, 9},
        {"FieldOfViewArrow", int(f) + 1, 1.189207f, 50, 3},
        {"FieldOfViewArrow", -int(f) - 1, 1.189207f, 45, 2},
        {"FieldOfViewArrow", -int(f) - 1, 1.189207f, 40, 1},
    };
    std::string dragged;
    for (const Drag& d : drags) {
        if (dragged != d.arrow) {
            if (!dragged.empty()) mouse.release();
            dragged = d.arrow;
            mouse.moveTo(centreOf(M + d.arrow));
            mouse.press();
        }
        mouse.moveTo(mouse.at(), d.dx);
        EXPECT_NEAR(settings.mouseSensitivity, d.sensitivity, 1e-5f) << d.arrow << d.dx;
        EXPECT_FLOAT_EQ(settings.fieldOfView, d.fieldOfView) << d.arrow << d.dx;
        // The camera follows the field of view while the arrow moves.
        EXPECT_NEAR(app().camera->getFOVy().valueDegrees(), d.fieldOfView, 1e-4f);
        const float step = std::string(d.arrow) == "SensitivityArrow" ? s : f;
        EXPECT_FLOAT_EQ(element(M + d.arrow)->getLeft(), menu.sliderLeft + step * d.arrowStep);
        // Mouse look reads the new values at once.
        EXPECT_EQ(app().currentScene()->currentLookOptions().sensitivity, settings.mouseSensitivity);
    }
    EXPECT_EQ(menu.dragged, Mossden::MenuSlider::FieldOfView);
    EXPECT_FLOAT_EQ(kept().fieldOfView, 45) << "saved before the arrow was let go";
    EXPECT_NEAR(kept().mouseSensitivity, 1.189207f, 1e-5f);  // saved when let go
    mouse.release();
    EXPECT_NE(menu.dragged, Mossden::MenuSlider::FieldOfView);
    EXPECT_FLOAT_EQ(kept().fieldOfView, 40);
    EXPECT_EQ(element("FieldOfViewText")->getCaption(), "40\u00b0");

    // Far past either end, the arrows stop at 0.25x and 75 degrees.
    mouse.moveTo(centreOf(M + "SensitivityArrow"));
    mouse.press();
    for (int i = 0; i < 20; ++i) mouse.moveTo(mouse.at(), -100);
    mouse.release();
    mouse.moveTo(centreOf(M + "FieldOfViewArrow"));
    mouse.press();
    for (int i = 0; i < 20; ++i) mouse.moveTo(mouse.at(), 100);
    mouse.release();
    EXPECT_FLOAT_EQ(kept().mouseSensitivity, Mossden::Settings::MIN_SENSITIVITY);
    EXPECT_FLOAT_EQ(kept().fieldOfView, Mossden::Settings::MAX_FIELD_OF_VIEW);
    EXPECT_NEAR(app().camera->getFOVy().valueDegrees(), 75, 1e-4f);
    EXPECT_FLOAT_EQ(element(M + "FieldOfViewArrow")->getLeft(), menu.sliderLeft + 240);

    // The toggle and the quality row act and save on release.
    click(mouse, M + "Invert");
    EXPECT_TRUE(settings.invertVerticalLook);
    EXPECT_TRUE(kept().invertVerticalLook);
    EXPECT_EQ(element(M + "Invert")->getMaterialName(), "Menu/InvertOn");
    EXPECT_EQ(element(M + "InvertHover")->getMaterialName(), "Menu/InvertOnHover");
    EXPECT_TRUE(app().currentScene()->currentLookOptions().invertVertical);
    struct Level {
        const char* button;
        Mossden::Settings::Quality quality;
    };
    const Level levels[] = {{"QualityMedium", Mossden::Settings::Quality::Medium},
                            {"QualityLow", Mossden::Settings::Quality::Low},
                            {"QualityHigh", Mossden::Settings::Quality::High}};
    for (const Level& level : levels) {
        click(mouse, M + level.button);
        EXPECT_EQ(settings.quality, level.quality) << level.button;
        EXPECT_EQ(kept().quality, level.quality) << level.button;
        for (const Level& other : levels)
            EXPECT_EQ(element(M + other.button)->getMaterialName(),
                      "Menu/" + std::string(other.button) + (&other == &level ? "On" : ""));
    }
    click(mouse, M + "Invert");
    EXPECT_FALSE(kept().invertVerticalLook);
    saveScreenshot("menu_look_changed");

    // Back on the first tab; the menu opens there the next time too.
    click(mouse, M + "TabLook");  // the open tab stays open
    EXPECT_EQ(menu.page, MossdenMenu::Page::Look);
    click(mouse, M + "TabScreen");
    EXPECT_EQ(menu.page, MossdenMenu::Page::Screen);
    EXPECT_TRUE(element("ViewModeText")->isVisible());
    EXPECT_FALSE(element("FieldOfViewText")->isVisible());
    click(mouse, M + "TabLook");
    menu.hide();
    EXPECT_FALSE(element("SensitivityText")->isVisible());
    menu.show(Mossden::MenuMode::InGame);
    EXPECT_EQ(menu.page, MossdenMenu::Page::Screen);
    EXPECT_TRUE(element(M + "ScreenRows")->isVisible());
    EXPECT_FALSE(element("SensitivityText")->isVisible());
}
