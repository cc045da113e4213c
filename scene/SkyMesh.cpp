#include "scene/SkyMesh.h"

#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

namespace Mossden {

void SkyFollower::cameraPreRenderScene(Ogre::Camera* camera) {
    Ogre::SceneManager* scene = camera->getSceneManager();
    if (!scene || !scene->hasSceneNode(SKY_MESH_NODE)) return;
    scene->getSceneNode(SKY_MESH_NODE)->setPosition(camera->getDerivedPosition());
}

}  // namespace Mossden
