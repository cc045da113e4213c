#ifndef MOSSDEN_SCENE_HELPERS_H
#define MOSSDEN_SCENE_HELPERS_H

// Geometry and animation operations the scenes share: sphere meshes and
// markers, re-parenting, and starting or advancing animations; with the ray
// picker (RayPicker.h), which every user of these also needs.
#include <OgrePrerequisites.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include <string>

#include "scene/RayPicker.h"

// A loaded sphere mesh of 16 rings and 16 segments (289 vertices with
// position, normal and texture coordinates; 1632 16-bit indices) in the
// default resource group. The name must be new to the mesh manager.
Ogre::MeshPtr createSphereMesh(const std::string& name, Ogre::Real radius);

// Markers made so far; each new one is named "<count>MANUALSPHERE".
extern int sphereMarkerCount;
// A sphere entity without shadows on a new child of the root node at position.
void createSphereMarker(const Ogre::Vector3& position, Ogre::Real radius,
                        Ogre::SceneManager* sceneManager);
// Removes the markers numbered first .. last - 1: their entities and nodes
// where the scene manager still has them, and their meshes.
void destroySphereMarkers(int first, int last, Ogre::SceneManager* sceneManager);

// Makes node a child of newParent and puts it at worldPosition, taking the
// parent's world position and orientation into account but not its scale.
// The node's own orientation is kept.
void moveToParent(Ogre::SceneNode* newParent, Ogre::SceneNode* node,
                  const Ogre::Vector3& worldPosition);

// A point of node's space in world space.
Ogre::Vector3 localToWorld(const Ogre::Node* node, const Ogre::Vector3& point);

// Nothing for a null entity. A skinned entity blends its animations
// cumulatively; every state is enabled, set to loop or not, and rewound.
void startAllAnimations(Ogre::Entity* entity, bool loop);
// Advances every animation state of the entity by dt seconds, enabled or
// not; nothing for a null entity or one without animation states.
void advanceAllAnimations(Ogre::Entity* entity, Ogre::Real dt);

#endif
