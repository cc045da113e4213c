#include "scenes/third/AsteroidFlight.h"

#include <Ogre.h>

#include <iostream>

#include "audio/SoundManager.h"
#include "scene/Helpers.h"
#include "scenes/third/Asteroid.h"
#include "scenes/third/CameraRig.h"
#include "scenes/third/FieldLayout.h"
#include "scenes/third/FieldSounds.h"
#include "scenes/third/Hole.h"
#include "scenes/third/ThirdSceneOwner.h"

namespace Mossden {

namespace {

constexpr float LANDING_HEIGHT = FieldLayout::EYE_HEIGHT;  // the flight ends this far before the hit point
constexpr float CRASH_DISTANCE = 32.0f;   // an asteroid this close ahead takes over the flight
constexpr float BUTTERFLY_HIDE_DISTANCE = 550.0f;

}  // namespace

AsteroidFlight::AsteroidFlight(ThirdSceneOwner& owner, CameraRig& rig)
    : owner(owner), rig(rig), collisionSound(SoundManager::getInstance().loadSound(FieldSounds::COLLISION, false)) {}

bool AsteroidFlight::start(const Ogre::Vector3& direction) {
    owner.refreshTransforms();
    const Ogre::Vector3 from = rig.mCameraNode->_getDerivedPosition();
    Ogre::Vector3 hit, normal;
    Ogre::Entity* entity = nullptr;
    Ogre::Real distance = 0;
    if (!castRay(owner.picker(), from, direction, hit, normal, entity, distance) || !entity) return false;
    Asteroid* current = owner.currentAsteroid();
    if (current && entity == current->entity()) return false;
    if (!Ogre::StringUtil::startsWith(entity->getName(), "aster", true)) return false;
    // An "aster..." entity that is not one of the field's asteroids has no
    // record to land on: nothing happens either.
    Asteroid* target = owner.asteroidNamed(entity->getName());
    if (!target) return false;

    lastPosition = Ogre::Vector3::ZERO;
    hasMoved = false;
    const Ogre::Vector3 u = (hit - from).normalisedCopy();
    mLandingPoint = hit - u * LANDING_HEIGHT;

    // The path lives in the target pivot's frame, so the target's spin
    // carries it along.
    Ogre::SceneNode* pivot = entity->getParentSceneNode()->getParentSceneNode();
    const Ogre::Quaternion r = pivot->_getDerivedOrientation().Inverse();
    const Ogre::Vector3 k = pivot->_getDerivedPosition();
    path.clear();
    path.addPoint(Ogre::Vector3::ZERO);
    path.addPoint(r * (mLandingPoint - k) - r * (from - k));

    const Ogre::Vector3 worldPosition = from;
    const Ogre::Quaternion worldOrientation = rig.mCameraNode->_getDerivedOrientation();
    moveToParent(pivot, rig.mRootCameraNode, rig.mRootCameraNode->_getDerivedPosition());
    rig.mRootCameraNode->setPosition(-pivot->getPosition());
    moveToParent(rig.mRootCameraNode, rig.mCameraNode, worldPosition);
    origin = rig.mCameraNode->getPosition();

    owner.setCurrentAsteroid(target);
    rig.attach(target);

    clock.start(hit.distance(from));
    std::cout << "Flight to " << target->name() << ": " << int(hit.distance(from)) << " units" << std::endl;
    rig.finalTurn = false;
    owner.showIndicator(false);
    owner.setPhase(Scene3Phase::Flying);
    rig.mCameraNode->setOrientation(rig.mRootCameraNode->_getDerivedOrientation().Inverse() * worldOrientation);
    rig.stopJump();
    return true;
}

void AsteroidFlight::update(float dt) {
    const float p = clock.step(dt);
    Asteroid& current = *owner.currentAsteroid();  // set by start

    const auto nearHole = current.nearestHole(rig.mCameraRollNode->_getDerivedPosition());
    if (nearHole.first && nearHole.second < BUTTERFLY_HIDE_DISTANCE) nearHole.first->hideButterfly();

    // Crash avoidance: an asteroid right ahead becomes the destination.
    // Ahead is where the camera went since the previous frame (before that
    // frame's move), so the spin of the target alone does not steer it.
    const Ogre::Vector3 here = rig.mCameraNode->_getDerivedPosition();
    const Ogre::Vector3 travel = here - lastPosition;
    const bool moving = hasMoved && !travel.isZeroLength();
    lastPosition = here;
    hasMoved = true;
    if (moving) {
        const Ogre::Vector3 heading = travel.normalisedCopy();
        Ogre::Vector3 hit, normal;
        Ogre::Entity* entity = nullptr;
        Ogre::Real distance = 0;
        if (castRay(owner.picker(), here, heading, hit, normal, entity, distance) && entity &&
            entity != current.entity() && owner.pointable(entity) &&
            hit.distance(here) < CRASH_DISTANCE) {
            std::cout << "Flight: swerving to " << entity->getName() << std::endl;
            start(heading);
            clock.time = clock.duration;
            return;
        }
    }

    rig.mCameraNode->setPosition(origin + path.interpolate(p));

    if (clock.remaining() < FINAL_TURN_UNITS) {
        if (rig.finalTurn)
            owner.landingTurnStep(dt);
        else if (rig.land(true, true))
            rig.finalTurn = true;  // a missed ground is tried again next frame
    }
    if (rig.holeCheckAt(rig.mCameraNode->getPosition())) {
        rig.enterNearestHole();
        return;
    }
    if (p >= 1) {
        SoundManager::getInstance().play(collisionSound);
        rig.land(true, false);
    }
}

}  // namespace Mossden
