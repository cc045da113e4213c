#ifndef MOSSDEN_SCENES_SCENE2_H
#define MOSSDEN_SCENES_SCENE2_H

// PLACEHOLDER: an empty scene until this scene lands.
#include <OgreSceneManager.h>

#include "scene/MossdenScene.h"



class Scene2 : public MossdenScene {
public:
    Scene2(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan)
        : MossdenScene(sceneManager, cameraMan) {}
    void createScene() override { camera = sceneManager->getCamera("PlayerCam"); }
    void update(const Ogre::FrameEvent& evt) override {}
};



#endif
