#include "menu/SceneMenu.h"

#include <OgreSceneManager.h>

namespace Mossden {

SceneMenu::SceneMenu(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan, SceneServices& services)
    : MossdenScene(sceneManager, cameraMan, services) {}

void SceneMenu::createScene() {
    camera = sceneManager->getCamera("PlayerCam");
    services.request(Request::OpenMenu);
}

}  // namespace Mossden
