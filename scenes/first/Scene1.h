#ifndef MOSSDEN_SCENES_SCENE1_H
#define MOSSDEN_SCENES_SCENE1_H

// PLACEHOLDER: an empty scene until this scene lands.
#include <OgreSceneManager.h>

#include "scene/MossdenScene.h"

namespace Mossden {

class Scene1 : public MossdenScene {
public:
    Scene1(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan)
        : MossdenScene(sceneManager, cameraMan) {}
    void createScene() override { camera = sceneManager->getCamera("PlayerCam"); }
    void update(const Ogre::FrameEvent& evt) override {}
};

}  // namespace Mossden

#endif
