#ifndef MOSSDEN_MENU_SCENEMENU_H
#define MOSSDEN_MENU_SCENEMENU_H

#include "scene/MossdenScene.h"

namespace Mossden {

// The empty world behind the start menu: asks for its menu once built and
// leaves the rest to it (Start is the application's business). It has
// nothing to steer, so it takes no input of its own.
class SceneMenu : public MossdenScene {
public:
    SceneMenu(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan, SceneServices& services);

    void createScene() override;
    void update(const Ogre::FrameEvent&) override {}
    MenuMode pauseMenu() const override { return MenuMode::Start; }

    bool mouseMoved(const OIS::MouseEvent&) override { return true; }
    bool mousePressed(const OIS::MouseEvent&, OIS::MouseButtonID) override { return true; }
    bool mouseReleased(const OIS::MouseEvent&, OIS::MouseButtonID) override { return true; }
    bool keyPressed(const OIS::KeyEvent&) override { return true; }
    bool keyReleased(const OIS::KeyEvent&) override { return true; }
};

}  // namespace Mossden

#endif
