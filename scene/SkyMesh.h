#ifndef MOSSDEN_SCENE_SKYMESH_H
#define MOSSDEN_SCENE_SKYMESH_H

// A sky made of a mesh instead of a textured box: vertex colours for the
// gradients and points for the stars cost a software renderer a fraction
// of a box's six textured faces. A scene file names it in its "config" as
// <skyMesh meshFile="..."/>; the loader puts it on SKY_MESH_NODE, drawn
// before the world, and SkyFollower keeps that node on the camera.
#include <OgreCamera.h>

namespace Mossden {

constexpr const char* SKY_MESH_NODE = "SkyMeshNode";
constexpr const char* SKY_MESH_ENTITY = "SkyMesh";

// Moves the scene's sky node to the camera before each view is drawn. Keeps
// no pointer of its own: the node is looked up in the camera's scene, so a
// cleared scene or one without a sky is fine.
class SkyFollower : public Ogre::Camera::Listener {
public:
    void cameraPreRenderScene(Ogre::Camera* camera) override;
};

}  // namespace Mossden

#endif
