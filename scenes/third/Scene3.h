#ifndef MOSSDEN_SCENES_SCENE3_H
#define MOSSDEN_SCENES_SCENE3_H

// PLACEHOLDER: an empty scene until this scene lands.
#include <OgreSceneManager.h>

#include "scene/MossdenScene.h"

namespace Mossden {

class Scene3 : public MossdenScene {
public:
    Scene3(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan)
        : MossdenScene(sceneManager, cameraMan) {}
    void createScene() override { camera = sceneManager->getCamera("PlayerCam"); }
    void update(const Ogre::FrameEvent& evt) override {}
};

}  // namespace Mossden

#endif
