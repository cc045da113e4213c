// Building the field from its loaded scene file: the start asteroid, the
// jaws, the asteroids' pivots, the holes and the fog clouds.
#include <Ogre.h>

#include <cmath>
#include <iostream>

#include "scene/Helpers.h"
#include "scene/SkyMesh.h"
#include "scenes/third/FieldLayout.h"
#include "scenes/third/Scene3.h"

namespace Mossden {

namespace {

using FieldLayout::ASTEROID_COUNT;
constexpr Ogre::Real MIN_START_ASTEROID_SIZE = 1;  // world units across its bounding box

std::string numbered(const char* stem, int i) { return stem + std::to_string(i); }

}  // namespace

void Scene3::prepareJaws() {
    // The jaws are skeletons only: scaled to nothing, their root bones'
    // motion moves the teeth (the closing sequence).
    for (const auto& [name, jaw] : mJawAttachments) {
        if (!sceneManager->hasEntity(name) || !sceneManager->hasEntity(jaw.first) ||
            !sceneManager->getEntity(jaw.first)->getParentSceneNode()) {
            std::cout << sceneFile << ": no \"" << name << "\" or jaw \"" << jaw.first
                      << "\"; that rock stays out of the face" << std::endl;
            continue;
        }
        Ogre::Entity* asteroid = sceneManager->getEntity(name);
        Ogre::Entity* jawEntity = sceneManager->getEntity(jaw.first);
        jawEntity->getParentSceneNode()->setScale(0, 0, 0);
        mFinale.attachments.push_back({jawEntity, asteroid, false, Ogre::Vector3::ZERO, Ogre::Vector3::ZERO});
    }
}

void Scene3::requireStartAsteroid() {
    // The viewer wakes on this asteroid: without ground there the opening
    // would wait for a landing forever.
    Ogre::Entity* entity = mCurrentAsteroid ? mCurrentAsteroid->entity() : nullptr;
    const Ogre::AxisAlignedBox box = entity ? entity->getWorldBoundingBox(true) : Ogre::AxisAlignedBox();
    const Ogre::Real size = box.isFinite() ? box.getSize().length() : 0;
    if (!(size > MIN_START_ASTEROID_SIZE && std::isfinite(size)))
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    "Cannot play scene file " + sceneFile + ": the start asteroid \"" +
                        FieldLayout::START_ASTEROID_NAME + "\" is missing or has no size",
                    "Scene3::createScene");
}

void Scene3::attachHoles() {
    for (auto& hole : mHoles) {
        Asteroid* asteroid = nearestAsteroid(hole->centerNode->getPosition());
        if (!asteroid) continue;
        asteroid->addHole(hole.get());
        hole->asteroid = asteroid;
    }
}

void Scene3::buildPivots() {
    Ogre::SceneNode* root = sceneManager->getRootSceneNode();
    for (int i = 1; i <= ASTEROID_COUNT; ++i) {
        const std::string name = numbered("aster", i);
        if (!sceneManager->hasEntity(name)) continue;
        Ogre::Entity* entity = sceneManager->getEntity(name);
        mPointableEntities.insert(entity);
        Ogre::SceneNode* node = entity->getParentSceneNode();
        node->_update(true, true);
        const Ogre::Vector3 c = entity->getWorldBoundingBox(true).getCenter();
        Ogre::SceneNode* pivot = root->createChildSceneNode();
        node->setPosition(node->getPosition() - c);
        if (Ogre::SceneNode* parent = node->getParentSceneNode()) parent->removeChild(node);
        pivot->setPosition(c);
        pivot->addChild(node);
        mPivotNodes.push_back(pivot);
    }
}

void Scene3::attachFogClouds() {
    for (int i = 1; i <= ASTEROID_COUNT; ++i) {
        const std::string name = numbered("dark_fog", i);
        if (!sceneManager->hasSceneNode(name)) continue;
        Ogre::SceneNode* fog = sceneManager->getSceneNode(name);
        Asteroid* asteroid = nearestAsteroid(fog->_getDerivedPosition());
        if (!asteroid || !asteroid->entity()) continue;
        moveToParent(asteroid->entity()->getParentSceneNode(), fog, fog->_getDerivedPosition());
    }
}

void Scene3::applyQuality(Settings::Quality quality) {
    MossdenScene::applyQuality(quality);
    // Of every FOG_CLOUD_GROUP clouds in turn, the level keeps this many:
    // the clouds are blended over the whole of their square, the dearest
    // pixels of the field.
    constexpr int FOG_CLOUD_GROUP = 3;
    constexpr int FOG_CLOUDS_KEPT[] = {0, 2, 3};  // Low, Medium, High
    const int kept = FOG_CLOUDS_KEPT[static_cast<int>(quality)];
    for (int i = 1; i <= ASTEROID_COUNT; ++i) {
        const std::string name = numbered("dark_fog", i);
        if (sceneManager->hasBillboardSet(name))
            sceneManager->getBillboardSet(name)->setVisible((i - 1) % FOG_CLOUD_GROUP < kept);
    }
    // Low leaves the faint nebula out of the sky and keeps its stars.
    if (sceneManager->hasEntity(SKY_MESH_ENTITY))
        for (Ogre::SubEntity* part : sceneManager->getEntity(SKY_MESH_ENTITY)->getSubEntities())
            if (part->getSubMesh()->operationType != Ogre::RenderOperation::OT_POINT_LIST)
                part->setVisible(quality != Settings::Quality::Low);
}

}  // namespace Mossden
