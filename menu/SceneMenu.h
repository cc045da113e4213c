#ifndef MOSSDEN_MENU_SCENEMENU_H
#define MOSSDEN_MENU_SCENEMENU_H

#include "scene/MossdenScene.h"

namespace Mossden {

// The empty world behind the start menu. Opens the menu in start mode on its
// first frame; once the player starts, blacks the picture and reports
// finished three updates later, so the first scene is built while black.
class SceneMenu : public MossdenScene {
public:
    SceneMenu(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan);

    void createScene() override;
    void update(const Ogre::FrameEvent& evt) override;
    void setFinished(bool value) override;  // starts the end countdown

    bool mouseMoved(const OIS::MouseEvent& evt) override;
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;
    bool keyPressed(const OIS::KeyEvent& evt) override { return true; }
    bool keyReleased(const OIS::KeyEvent& evt) override { return true; }

    bool showMenuPending = false;
    int endCountdown = -1;  // -1 while waiting; 0..3 once the player started
};

}  // namespace Mossden

#endif
