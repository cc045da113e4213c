#include "scenes/second/Scene2.h"

#include <Ogre.h>

Scene2::Scene2(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan,
               Mossden::SceneServices& services)
    : MossdenScene(sceneManager, cameraMan, services) {}

void Scene2::loadCustom(TiXmlElement* element) {
    MossdenScene::loadCustom(element);
    if (!element) return;
    // No state is created for the tunnel track: its node stays where the
    // track builder put it, and nothing reads it while this scene lives.
    cameraNode = createTrack(element, "CameraTunnelTrack");
}

void Scene2::createScene() {
    camera = sceneManager->getCamera("PlayerCam");
    loadPlayableSceneFile(SCENE_FILE, "General", sceneManager);
}
