// The scene base on the real application: the input chain (the overlay menu
// first, then the scene and its camera man), and the settings every scene
// file may carry.
#include <OgreCameraMan.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/SceneTestSupport.h"

using namespace SceneTest;
using Mossden::Test::app;

namespace {

// Records what reaches the camera man; moves nothing.
class RecordingCameraMan : public OgreBites::CameraMan {
public:
    explicit RecordingCameraMan(Ogre::SceneNode* node) : CameraMan(node) {}
    bool keyPressed(const OgreBites::KeyboardEvent& evt) override {
        keysDown.push_back(evt.keysym.sym);
        return true;
    }
    bool keyReleased(const OgreBites::KeyboardEvent& evt) override {
        keysUp.push_back(evt.keysym.sym);
        return true;
    }
    bool mouseMoved(const OgreBites::MouseMotionEvent& evt) override {
        moves.push_back(evt);
        return true;
    }
    bool mouseWheelRolled(const OgreBites::MouseWheelEvent& evt) override {
        wheel.push_back(evt.y);
        return true;
    }
    bool mousePressed(const OgreBites::MouseButtonEvent& evt) override {
        pressed.push_back(evt.button);
        return true;
    }
    bool mouseReleased(const OgreBites::MouseButtonEvent& evt) override {
        released.push_back(evt.button);
        return true;
    }
    std::vector<OgreBites::Keycode> keysDown, keysUp;
    std::vector<OgreBites::MouseMotionEvent> moves;
    std::vector<int> wheel;
    std::vector<int> pressed, released;
};

// A scene with a recording camera man at the end of the application's input
// chain, the menu hidden before and after. Every event is followed by the
// frame's request point, as in the frame loop.
class Routing : public ::testing::Test {
protected:
    Routing()
        : node(manager->getRootSceneNode()->createChildSceneNode()),
          man(node),
          scene(manager.get(), &man) {}
    void SetUp() override {
        app().menu.hide();
        saved = app().inputChain().currentScene();
        app().inputChain().setScene(&scene);
    }
    void TearDown() override {
        app().inputChain().setScene(saved);
        app().menu.hide();
    }

    bool handled(bool result) {
        app().handleRequests();
        return result;
    }
    bool press(OIS::KeyCode key) { return handled(app().inputChain().keyPressed(OIS::KeyEvent(nullptr, key, 0))); }
    bool release(OIS::KeyCode key) {
        return handled(app().inputChain().keyReleased(OIS::KeyEvent(nullptr, key, 0)));
    }
    bool click(OIS::MouseButtonID id) {
        return handled(app().inputChain().mousePressed(OIS::MouseEvent(nullptr, mouse), id));
    }
    bool unclick(OIS::MouseButtonID id) {
        return handled(app().inputChain().mouseReleased(OIS::MouseEvent(nullptr, mouse), id));
    }
    bool move(int dx, int dy, int dz = 0) {
        mouse.X.rel = dx;
        mouse.Y.rel = dy;
        mouse.Z.rel = dz;
        mouse.X.abs += dx;
        mouse.Y.abs += dy;
        return handled(app().inputChain().mouseMoved(OIS::MouseEvent(nullptr, mouse)));
    }

    MossdenScene* saved = nullptr;

    PrivateSceneManager manager;
    Ogre::SceneNode* node;
    RecordingCameraMan man;
    TestScene scene;
    OIS::MouseState mouse;
};

}  // namespace

TEST_F(Routing, MenuHiddenFeedsTheCameraMan) {
    mouse.X.abs = 200;
    mouse.Y.abs = 100;
    EXPECT_TRUE(move(5, -2, 240));
    ASSERT_EQ(man.moves.size(), 1u);
    EXPECT_EQ(man.moves[0].xrel, 5);
    EXPECT_EQ(man.moves[0].yrel, -2);
    EXPECT_EQ(man.wheel, std::vector<int>{2});

    EXPECT_TRUE(click(OIS::MB_Right));
    EXPECT_FALSE(scene.leftButtonDown);
    EXPECT_TRUE(click(OIS::MB_Left));
    EXPECT_TRUE(scene.leftButtonDown);
    EXPECT_TRUE(unclick(OIS::MB_Left));
    EXPECT_FALSE(scene.leftButtonDown);
    EXPECT_EQ(man.pressed, (std::vector<int>{OgreBites::BUTTON_RIGHT, OgreBites::BUTTON_LEFT}));
    EXPECT_EQ(man.released, std::vector<int>{OgreBites::BUTTON_LEFT});

    // Held once however often pressed; one release frees it.
    EXPECT_TRUE(press(OIS::KC_W));
    EXPECT_TRUE(press(OIS::KC_W));
    EXPECT_EQ(scene.heldKeys, std::set<OIS::KeyCode>{OIS::KC_W});
    EXPECT_TRUE(release(OIS::KC_W));
    EXPECT_TRUE(scene.heldKeys.empty());
    EXPECT_EQ(man.keysDown, (std::vector<OgreBites::Keycode>{'w', 'w'}));
    EXPECT_EQ(man.keysUp, std::vector<OgreBites::Keycode>{'w'});
    EXPECT_FALSE(app().menu.visible);
}

TEST_F(Routing, EscapeOpensAndClosesTheGameMenu) {
    Mossden::MossdenMenu& menu = app().menu;
    press(OIS::KC_ESCAPE);
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(menu.mode, Mossden::MenuMode::InGame);
    EXPECT_TRUE(scene.heldKeys.count(OIS::KC_ESCAPE));
    EXPECT_EQ(man.keysDown, std::vector<OgreBites::Keycode>{OgreBites::SDLK_ESCAPE});
    release(OIS::KC_ESCAPE);
    press(OIS::KC_ESCAPE);
    EXPECT_FALSE(menu.visible);
    release(OIS::KC_ESCAPE);

    // The start menu is not closed by Esc, and takes it.
    menu.show(Mossden::MenuMode::Start);
    press(OIS::KC_ESCAPE);
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(menu.mode, Mossden::MenuMode::Start);
    EXPECT_EQ(man.keysDown.size(), 1u);
}

// While the menu shows, presses, motion and keys are the menu's alone.
TEST_F(Routing, MenuShownTakesPressesMotionAndKeys) {
    app().menu.show(Mossden::MenuMode::InGame);
    EXPECT_TRUE(click(OIS::MB_Left));
    EXPECT_TRUE(click(OIS::MB_Right));
    EXPECT_TRUE(man.pressed.empty());
    EXPECT_FALSE(scene.leftButtonDown);
    EXPECT_TRUE(move(3, 4));
    EXPECT_TRUE(man.moves.empty());
    press(OIS::KC_A);
    EXPECT_TRUE(man.keysDown.empty());
    EXPECT_TRUE(scene.heldKeys.empty());
    EXPECT_TRUE(app().menu.visible);
}

// Releases reach the scene behind the menu too: nothing held before the
// menu opened stays held when play goes on.
TEST_F(Routing, ReleasesBehindTheMenuReachTheScene) {
    click(OIS::MB_Left);
    press(OIS::KC_W);
    app().menu.show(Mossden::MenuMode::InGame);
    unclick(OIS::MB_Left);
    release(OIS::KC_W);
    EXPECT_FALSE(scene.leftButtonDown);
    EXPECT_TRUE(scene.heldKeys.empty());
    EXPECT_EQ(man.released, std::vector<int>{OgreBites::BUTTON_LEFT});
    EXPECT_TRUE(app().menu.visible);
}

TEST_F(Routing, DisabledCameraKeysStillHeld) {
    scene.cameraKeysDisabled = true;
    press(OIS::KC_S);
    EXPECT_TRUE(scene.heldKeys.count(OIS::KC_S));
    release(OIS::KC_S);
    EXPECT_TRUE(scene.heldKeys.empty());
    press(OIS::KC_ESCAPE);
    EXPECT_TRUE(app().menu.visible);
    EXPECT_TRUE(man.keysDown.empty());
    EXPECT_TRUE(man.keysUp.empty());
}

// The real camera man moves its node on the converted keys.
TEST_F(Routing, RealCameraManMovesOnW) {
    Ogre::SceneNode* camNode = manager->getRootSceneNode()->createChildSceneNode();
    OgreBites::CameraMan real(camNode);
    TestScene withReal(manager.get(), &real);
    withReal.keyPressed(OIS::KeyEvent(nullptr, OIS::KC_W, 0));
    Ogre::FrameEvent evt{};
    evt.timeSinceLastFrame = 0.1f;
    for (int i = 0; i < 5; ++i) real.frameRendered(evt);
    withReal.keyReleased(OIS::KeyEvent(nullptr, OIS::KC_W, 0));
    EXPECT_LT(camNode->getPosition().z, -1);  // forward is -Z
}

TEST(SceneBase, CustomSettings) {
    ensureMaterial("SceneTest/FogA");
    ensureMaterial("SceneTest/FogB");
    ensureMaterial("SceneTest/NoTechnique");
    Ogre::MaterialManager::getSingleton().getByName("SceneTest/NoTechnique")->removeAllTechniques();
    PrivateSceneManager manager;
    TestScene scene(manager.get());
    LogCapture log;
    SceneFiles::instance().write("custom.xml", R"(<scene><config/><custom>
        <cameraSpeed value="12.9"/><sceneName value="x"/>
        <disableFog><material name="SceneTest/FogA"/><material name="NoSuchMaterial"/>
          <material name="SceneTest/NoTechnique"/><material name="SceneTest/FogB"/></disableFog>
      </custom></scene>)");
    scene.load("custom.xml");
    EXPECT_EQ(scene.cameraSpeed, 12);
    for (const char* name : {"SceneTest/FogA", "SceneTest/FogB"}) {
        SCOPED_TRACE(name);
        Ogre::Pass* pass =
            Ogre::MaterialManager::getSingleton().getByName(name)->getTechnique(0)->getPass(0);
        EXPECT_TRUE(pass->getFogOverride());
        EXPECT_EQ(pass->getFogMode(), Ogre::FOG_NONE);
        EXPECT_FLOAT_EQ(pass->getFogDensity(), 0.001f);
    }
    EXPECT_EQ(log.countContaining("<disableFog> names material"), 2) << log.all();

    // Keys that are absent leave the settings as they are.
    SceneFiles::instance().write("custom2.xml",
                                 "<scene><config/><custom><disableFog/></custom></scene>");
    scene.load("custom2.xml");
    EXPECT_EQ(scene.cameraSpeed, 12);
    scene.loadCustom(nullptr);
    EXPECT_EQ(scene.cameraSpeed, 12);
}
