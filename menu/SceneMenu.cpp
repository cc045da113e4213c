#include "menu/SceneMenu.h"

#include <OIS.h>
#include <OgreSceneManager.h>

#include "app/MossdenApp.h"

namespace Mossden {

namespace {
constexpr int LAST_COUNT = 3;  // updates after the black frame before finishing
}

SceneMenu::SceneMenu(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan)
    : MossdenScene(sceneManager, cameraMan) {}

void SceneMenu::createScene() {
    camera = sceneManager->getCamera("PlayerCam");
    showMenuPending = true;
}

void SceneMenu::update(const Ogre::FrameEvent& evt) {
    MossdenApp& app = MossdenApp::getInstance();
    if (showMenuPending) {
        showMenuPending = false;
        app.menu.show(0);
        if (app.mouse) {
            const OIS::MouseState& state = app.mouse->getMouseState();
            app.menu.moveCursor(state.X.abs, state.Y.abs);
        }
    }
    if (endCountdown == 0 && app.fader) {
        app.fader->startFadeOut(1.0);
        app.fader->fade(999.0);
    }
    if (endCountdown == LAST_COUNT)
        finished = true;
    else if (endCountdown >= 0)
        ++endCountdown;
}

void SceneMenu::setFinished(bool) { endCountdown = 0; }

bool SceneMenu::mouseMoved(const OIS::MouseEvent& evt) {
    MossdenMenu& menu = MossdenApp::getInstance().menu;
    if (menu.visible) {
        menu.moveCursor(evt.state.X.abs, evt.state.Y.abs);
        menu.mouseMoved(static_cast<Ogre::Real>(evt.state.X.rel));
    }
    return true;
}

bool SceneMenu::mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    MossdenMenu& menu = MossdenApp::getInstance().menu;
    if (menu.visible)
        menu.mousePressed(static_cast<Ogre::Real>(evt.state.X.abs),
                          static_cast<Ogre::Real>(evt.state.Y.abs));
    return true;
}

}  // namespace Mossden
