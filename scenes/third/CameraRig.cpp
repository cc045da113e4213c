#include "scenes/third/CameraRig.h"

#include <Ogre.h>

#include <iostream>

#include "scene/Helpers.h"
#include "scenes/third/Asteroid.h"
#include "scenes/third/Hole.h"
#include "scenes/third/Motion.h"
#include "scenes/third/FieldLayout.h"
#include "scenes/third/ThirdSceneOwner.h"

namespace Mossden {

namespace {

using FieldLayout::EYE_HEIGHT;                 // above the ground after a hop
constexpr float HOP_ARC_HEIGHT = 150.0f;        // the hop's middle point above the ground
constexpr float HOP_REACH = 400.0f;             // how far ahead a hop aims
constexpr float SURFACE_RAY_BACKOFF = 10000.0f; // ground rays start this far outside
constexpr float STEEP_PITCH = 50.0f;            // degrees: steeper looks hop as if at this pitch
const Ogre::Quaternion STEEP_PITCH_REFERENCE(0.907452f, 0.42016f, 0, 0);
constexpr float FREE_FLIGHT_SPEED = 5000.0f;    // units per second without an asteroid
constexpr float BUTTERFLY_LAUNCH_DISTANCE = 550.0f;
constexpr float BUTTERFLY_SHOW_DISTANCE = 800.0f;
constexpr int HOLE_SAMPLES = 10;                // segments along a hop's line and arc
constexpr float ARC_GROUND_MARGIN = 1.2f;       // a segment meets the ground within this many lengths

}  // namespace

CameraRig::~CameraRig() {
    if (mSurfaceQuery && mSceneManager) mSceneManager->destroyQuery(mSurfaceQuery);
}

void CameraRig::setup(Ogre::SceneManager* sceneManager, ThirdSceneOwner* owner) {
    mSceneManager = sceneManager;
    mOwner = owner;
}

void CameraRig::build() {
    mCamera = mSceneManager->getCamera("PlayerCam");
    mRootCameraNode = mSceneManager->getRootSceneNode()->createChildSceneNode();
    mCameraNode = mRootCameraNode->createChildSceneNode();
    mCameraYawNode = mCameraNode->createChildSceneNode();
    mCameraPitchNode = mCameraYawNode->createChildSceneNode();
    mCameraRollNode = mCameraPitchNode->createChildSceneNode();
    if (mCamera->isAttached()) mCamera->detachFromParent();
    mCameraRollNode->attachObject(mCamera);
}

void CameraRig::attach(Asteroid* asteroid) {
    mAsteroid = asteroid;
    if (!asteroid || !asteroid->entity()) return;
    moveToParent(asteroid->entity()->getParentSceneNode(), mRootCameraNode, mRootCameraNode->_getDerivedPosition());
}

bool CameraRig::surfaceRay(const Ogre::Vector3& direction, const Ogre::Vector3& origin, Ogre::Vector3& hitPoint,
                           Ogre::Vector3& faceNormal) {
    if (!mAsteroid || !mAsteroid->surface()) return false;
    if (!mSurfaceQuery) {
        mSurfaceQuery = mSceneManager->createRayQuery(Ogre::Ray(Ogre::Vector3::ZERO, Ogre::Vector3::UNIT_Z),
                                                      Ogre::SceneManager::WORLD_GEOMETRY_TYPE_MASK);
        mSurfaceQuery->setSortByDistance(true);
    }
    const Ogre::Ray ray(origin, direction);
    // A coarse test in the engine first: something must lie on the ray.
    mSurfaceQuery->setRay(ray);
    if (mSurfaceQuery->execute().empty()) return false;

    const MeshData& mesh = *mAsteroid->surface();
    float nearest = -1;
    std::size_t best = 0;
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        const auto hit = Ogre::Math::intersects(ray, mesh.vertices[mesh.indices[i]], mesh.vertices[mesh.indices[i + 1]],
                                                mesh.vertices[mesh.indices[i + 2]], true, false);
        if (hit.first && (nearest < 0 || hit.second < nearest)) {
            nearest = hit.second;
            best = i;
        }
    }
    if (nearest < 0) return false;
    hitPoint = origin + direction * nearest;
    faceNormal = Ogre::Math::calculateBasicFaceNormal(mesh.vertices[mesh.indices[best]], mesh.vertices[mesh.indices[best + 1]],
                                                      mesh.vertices[mesh.indices[best + 2]]);
    return true;
}

bool CameraRig::land(bool animate, bool keepPhase) {
    if (!mAsteroid || !mAsteroid->entity()) return false;
    if (mOwner->phase() == Scene3Phase::Flying && !animate) return false;
    const Ogre::Vector3 p = mCameraNode->getPosition();
    const Ogre::Vector3 c = mAsteroid->entity()->getWorldBoundingBox(true).getCenter();
    const Ogre::Vector3 d = (c - p).normalisedCopy();
    Ogre::Vector3 hit, normal;
    if (!surfaceRay(d, p - d * SURFACE_RAY_BACKOFF, hit, normal)) return false;
    align(animate, normal, keepPhase);
    return true;
}

void CameraRig::align(bool animate, const Ogre::Vector3& normal, bool keepPhase) {
    mSurfaceNormal = normal;
    const Ogre::Quaternion orientation = mCameraNode->getOrientation();
    const Ogre::Vector3 up = (orientation * Ogre::Vector3::UNIT_Z).normalisedCopy();
    const Ogre::Quaternion r = up.getRotationTo(normal, Ogre::Vector3::ZERO);
    if (!animate) {
        mCameraNode->setOrientation(r * orientation);
        return;
    }
    mOwner->startLandingTurn(r * orientation, keepPhase);
}

void CameraRig::look(const LookStep& step) {
    mCameraYawNode->rotate(Ogre::Vector3::UNIT_Z, Ogre::Degree(step.yaw), Ogre::Node::TS_LOCAL);
    mCameraPitchNode->pitch(Ogre::Degree(step.pitch), Ogre::Node::TS_LOCAL);
    if (pitchOutsideLimits(mCameraPitchNode->getOrientation()))
        mCameraPitchNode->pitch(Ogre::Degree(-step.pitch), Ogre::Node::TS_LOCAL);
}

void CameraRig::update(const std::set<OIS::KeyCode>& heldKeys, float dt) {
    if (mJumping) {
        mJumpTime += dt;
        const float p = hopProgress(mJumpTime);
        mCameraNode->setPosition(mJumpSpline.interpolate(p));
        mCameraNode->setOrientation(Ogre::Quaternion::Slerp(p, mJumpStart, mJumpTarget, true));
        if (p >= 1) {
            mJumping = false;
            mOwner->reportStanding();
        }
    } else if (heldKeys.count(OIS::KC_W)) {
        jump();
    }
    if (mAsteroid) return;
    // Free flight, for a world without a start asteroid.
    const float a = dt * FREE_FLIGHT_SPEED;
    const Ogre::Quaternion look = mCameraYawNode->getOrientation() * mCameraPitchNode->getOrientation();
    if (heldKeys.count(OIS::KC_W))
        mCameraNode->setPosition(mCameraNode->getPosition() + mCameraNode->getOrientation() * look * Ogre::Vector3(0, 0, -a));
    if (heldKeys.count(OIS::KC_F)) mCameraNode->translate(look * Ogre::Vector3(0, 0, -a));
    if (heldKeys.count(OIS::KC_S)) mCameraNode->translate(look * Ogre::Vector3(0, 0, a));
    if (heldKeys.count(OIS::KC_A)) mCameraNode->translate(look * Ogre::Vector3(-a, 0, 0));
    if (heldKeys.count(OIS::KC_D)) mCameraNode->translate(look * Ogre::Vector3(a, 0, 0));
}

void CameraRig::jump() {
    if (!mAsteroid || mOwner->phase() != Scene3Phase::OnAsteroid) return;
    const Ogre::Quaternion pitch = mCameraPitchNode->getOrientation();
    const Ogre::Quaternion pitchReference =
        pitch.getPitch().valueDegrees() < STEEP_PITCH ? STEEP_PITCH_REFERENCE : pitch;
    const Ogre::Vector3 position = mCameraNode->getPosition();
    const Ogre::Vector3 target = position + (mRootCameraNode->getOrientation() * mCameraNode->getOrientation() *
                                             mCameraYawNode->getOrientation() * pitchReference) *
                                                Ogre::Vector3(0, 0, -HOP_REACH);
    const Ogre::Vector3 d = (mAsteroid->getCenter() - target).normalisedCopy();
    Ogre::Vector3 ground, normal;
    if (!surfaceRay(d, target - d * SURFACE_RAY_BACKOFF, ground, normal)) return;

    mJumpSpline.clear();
    mJumpSpline.addPoint(position);
    mJumpSpline.addPoint((ground + position) / 2 + normal * HOP_ARC_HEIGHT);
    mJumpSpline.addPoint(ground + normal * EYE_HEIGHT);

    // A hop whose straight drop or arc passes a hole dives into it.
    for (int i = 0; i <= HOLE_SAMPLES; ++i) {
        const float t = float(i) / HOLE_SAMPLES;
        if (sampleHoleTest(position + (ground - position) * t)) return enterNearestHole();
    }
    for (int i = 0; i <= HOLE_SAMPLES; ++i)
        if (sampleHoleTest(mJumpSpline.interpolate(float(i) / HOLE_SAMPLES))) return enterNearestHole();

    const auto nearest = mAsteroid->nearestHole(mRootCameraNode->_getFullTransform() * position);
    if (Hole* hole = nearest.first) {
        Ogre::Vector3 previous = mJumpSpline.interpolate(0);
        for (int i = 0; i <= HOLE_SAMPLES; ++i) {
            const Ogre::Vector3 z = mJumpSpline.interpolate(float(i) / HOLE_SAMPLES);
            if (i > 0) {
                const Ogre::Vector3 segment = z - previous;
                Ogre::Vector3 hit, faceNormal;
                if (surfaceRay(segment.normalisedCopy(), z, hit, faceNormal) &&
                    hit.distance(z) < ARC_GROUND_MARGIN * segment.length())
                    return enterNearestHole();
            }
            previous = z;
            const Ogre::Vector3 world = mRootCameraNode->_getFullTransform() * z;
            const Ogre::Ray down(world, (mAsteroid->getCenter() - world).normalisedCopy());
            const auto meets = down.intersects(Ogre::Sphere(hole->sphereNode->_getDerivedPosition(), hole->radius));
            if (meets.first && meets.second < hole->radius) return enterNearestHole();
        }
    }

    std::cout << "Hop on " << mAsteroid->name() << ": " << int(position.distance(ground)) << " units" << std::endl;
    mJumpTime = 0;
    mJumping = true;
    mJumpStart = mCameraNode->getOrientation();
    mJumpTarget = (mJumpStart * Ogre::Vector3::UNIT_Z).getRotationTo(normal) * mJumpStart;
}

bool CameraRig::sampleHoleTest(const Ogre::Vector3& point) {
    const Ogre::Vector3 world = mRootCameraNode->_getFullTransform() * point;
    const auto nearest = mAsteroid->nearestHole(world);
    Hole* hole = nearest.first;
    if (!hole) return false;
    if (hole->radius > nearest.second) return true;
    if (nearest.second < BUTTERFLY_LAUNCH_DISTANCE)
        hole->launchButterfly();
    else if (nearest.second > BUTTERFLY_SHOW_DISTANCE)
        hole->showButterfly();
    return false;
}

bool CameraRig::holeCheckAt(const Ogre::Vector3& point) { return mAsteroid && sampleHoleTest(point); }

void CameraRig::enterNearestHole() {
    const Ogre::Vector3 world = mRootCameraNode->_getFullTransform() * mCameraNode->getPosition();
    mOwner->showIndicator(false);
    Hole* hole = mAsteroid->nearestHole(world).first;
    if (!hole) return;
    mOwner->enterHole(*hole, hole->nearestFallPoint(mCameraNode->getPosition()));
}

}  // namespace Mossden
