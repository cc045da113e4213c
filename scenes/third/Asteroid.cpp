#include "scenes/third/Asteroid.h"

#include <Ogre.h>

#include <limits>
#include <stdexcept>

#include "scene/Helpers.h"
#include "scenes/third/Hole.h"

namespace Mossden {

namespace {

// Asteroids built in this process; the n-th takes spin row n mod 21, also
// when the scene is built again.
int asteroidsBuilt = 0;

std::unique_ptr<MeshData> readSurface(Ogre::Entity* entity) {
    Ogre::SceneNode* node = entity->getParentSceneNode();
    return std::make_unique<MeshData>(extractMeshData(entity, node->_getDerivedPosition(),
                                                      node->_getDerivedOrientation(), node->_getDerivedScale()));
}

}  // namespace

Asteroid::Asteroid(std::string name, Ogre::SceneManager* sceneManager)
    : mName(std::move(name)),
      mSceneManager(sceneManager),
      mSpinRow(++asteroidsBuilt % SPIN_ROWS),
      mSpin(Mossden::spinRow(mSpinRow)) {}

Ogre::Entity* Asteroid::entity() {
    if (!mEntity && mSceneManager->hasEntity(mName)) {
        mEntity = mSceneManager->getEntity(mName);
        if (Ogre::SceneNode* node = mEntity->getParentSceneNode()) node->_update(true, true);
        mSurface = readSurface(mEntity);
    }
    return mEntity;
}

void Asteroid::rereadSurface() {
    mEntity = nullptr;
    entity();
}

Ogre::Vector3 Asteroid::getCenter() {
    if (!entity()) throw std::runtime_error("Asteroid.getCenter - no such entity: " + mName);
    return mEntity->getWorldBoundingBox(false).getCenter();
}

std::pair<Hole*, float> Asteroid::nearestHole(const Ogre::Vector3& point) {
    std::pair<Hole*, float> best(nullptr, std::numeric_limits<float>::max());
    for (Hole* hole : mHoles) {
        const float d = point.distance(hole->sphereNode->_getDerivedPosition());
        if (d < best.second) best = {hole, d};
    }
    return best;
}

void Asteroid::addHole(Hole* hole) {
    if (!entity()) return;
    hole->attach(mEntity->getParentSceneNode()->getParentSceneNode());
    mHoles.push_back(hole);
}

void Asteroid::spin(float dt) {
    if (!entity()) return;
    Ogre::SceneNode* pivot = mEntity->getParentSceneNode()->getParentSceneNode();
    if (pivot) pivot->rotate(spinTurn(mSpin, dt), Ogre::Node::TS_LOCAL);
}

void Asteroid::saveRestOrientation() {
    if (!entity()) return;
    if (Ogre::SceneNode* pivot = mEntity->getParentSceneNode()->getParentSceneNode())
        mRestOrientation = pivot->getOrientation();
}

}  // namespace Mossden
