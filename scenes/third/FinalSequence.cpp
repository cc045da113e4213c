#include "scenes/third/FinalSequence.h"

#include <Ogre.h>

#include <algorithm>
#include <iostream>

#include "audio/SoundManager.h"
#include "scene/Helpers.h"
#include "scenes/third/Asteroid.h"
#include "scenes/third/CameraRig.h"
#include "scenes/third/FieldLayout.h"
#include "scenes/third/FieldSounds.h"
#include "scenes/third/Motion.h"
#include "scenes/third/ThirdSceneOwner.h"

namespace Mossden {

const Ogre::Vector3 FinalSequence::FAR_POINT = toVector(FieldLayout::FAR_POINT);
const Ogre::Vector3 FinalSequence::VIA_POINT = toVector(FieldLayout::VIA_POINT);
const Ogre::Quaternion FinalSequence::FINAL_ORIENTATION = toQuaternion(FieldLayout::FINAL_ORIENTATION);
const Ogre::Vector3 FinalSequence::RETURN_DIRECTION = toVector(FieldLayout::RETURN_DIRECTION);

namespace {

constexpr float LIFT = 520.0f;  // the route leaves the ground this far along its normal
constexpr float NOISE_FADE_SECONDS = 3.0f;

// The end's rig poses are written out once per process.
bool endPosesWritten = false;

}  // namespace

FinalSequence::FinalSequence(ThirdSceneOwner& owner, CameraRig& rig, Ogre::SceneManager* sceneManager)
    : owner(owner), rig(rig), sceneManager(sceneManager) {
    SoundManager& sound = SoundManager::getInstance();
    noiseSound = sound.loadSound(FieldSounds::NOISE, true);
    laughSound = sound.loadSound(FieldSounds::LAUGH, false);
    musicSound = sound.loadSound(FieldSounds::MUSIC, false);
}

void FinalSequence::start() {
    owner.refreshTransforms();
    mSecondHalf = false;

    // Off the asteroid: the rig's root keeps its world pose under the root
    // scene node, and its offset moves into the camera node.
    Ogre::SceneNode* root = rig.mRootCameraNode;
    const Ogre::Vector3 worldPosition = root->_getDerivedPosition();
    const Ogre::Quaternion worldOrientation = root->_getDerivedOrientation();
    if (Ogre::SceneNode* parent = root->getParentSceneNode()) parent->removeChild(root);
    sceneManager->getRootSceneNode()->addChild(root);
    root->setPosition(worldPosition);
    root->setOrientation(worldOrientation);
    rig.mCameraNode->setPosition(rig.mCameraNode->getPosition() + root->getOrientation().Inverse() * root->getPosition());
    root->setPosition(Ogre::Vector3::ZERO);

    speed = 0.2f;
    t = 0;
    homeReached = false;
    mFinalRootOrient = root->getOrientation();
    mFinalStartOrient = rig.mCameraNode->getOrientation();
    mFinalStartYawOrient = rig.mCameraYawNode->getOrientation();
    mFinalStartPitchOrient = rig.mCameraPitchNode->getOrientation();

    const Ogre::Vector3 n = owner.currentAsteroid()->entity()->getParentSceneNode()->_getDerivedOrientation() *
                            rig.surfaceNormal();
    const Ogre::Vector3 c = rig.mCameraNode->_getDerivedPosition();
    routePoints.clear();
    findPath(owner.picker(), c + n * LIFT, VIA_POINT, routePoints);
    findPath(owner.picker(), VIA_POINT, FAR_POINT, routePoints);
    mPath.clear();
    mPath.add(c);
    mPath.add(c + n * (LIFT / 2));
    mPath.add(c + n * (LIFT * 0.75f));
    for (const Ogre::Vector3& p : routePoints) mPath.add(p);

    for (const auto& entry : owner.asteroids()) entry.second->saveRestOrientation();
    jaws.clear();
    for (const char* name : FieldLayout::JAW_NAMES)
        if (sceneManager->hasEntity(name)) jaws.push_back(sceneManager->getEntity(name));
    teethMoving = false;
    for (Attachment& a : attachments) a.restPosition = a.asteroid->getParentSceneNode()->getPosition();
    std::cout << "Closing sequence: " << routePoints.size() << " route points, "
              << int(mPath.totalLength()) << " units" << std::endl;
}

void FinalSequence::update(float dt) {
    const float u = progress();
    if (!begun) beginStep();
    for (Ogre::Entity* jaw : jaws) advanceAllAnimations(jaw, dt * JAW_SPEED);
    if (!mLaughed) laughStep(u);
    if (teethMoving) teethStep();
    if (!mSecondHalf && u < HALF_WAY) lookStep(u, dt);
    if (!mSecondHalf && u > HALF_WAY) halfWayStep(u);
    if (mSecondHalf) finalTurnStep(u);
    if (u <= 1)
        pathStep(u);
    else
        endStep();
    t += dt * speed;
    speed += dt / 10;
    if (!homeReached) homeStep();
}

void FinalSequence::beginStep() {
    begun = true;
    SoundManager& sound = SoundManager::getInstance();
    sound.play(musicSound);
    sound.fadeOut(noiseSound, NOISE_FADE_SECONDS);
    sound.removeRepeat(noiseSound);
}

void FinalSequence::laughStep(float u) {
    if (u <= HALF_WAY || rig.mCameraNode->getPosition().z <= LAUGH_Z) return;
    mLaughed = true;
    std::cout << "Closing sequence: the laugh" << std::endl;
    SoundManager::getInstance().play(laughSound);
    teethMoving = true;
    for (Ogre::Entity* jaw : jaws) startAllAnimations(jaw, false);
}

void FinalSequence::teethStep() {
    for (Attachment& a : attachments) {
        // A jaw whose skeleton did not load keeps its rocks still.
        if (!a.jaw || !a.jaw->hasSkeleton() || !a.jaw->getAllAnimationStates() ||
            a.jaw->getSkeleton()->getRootBones().empty())
            continue;
        // Pose the skeleton now: a jaw scaled to nothing is never drawn,
        // so the engine would not do it.
        Ogre::SkeletonInstance* skeleton = a.jaw->getSkeleton();
        skeleton->setAnimationState(*a.jaw->getAllAnimationStates());
        const Ogre::Vector3 bone = skeleton->getRootBones().front()->getPosition();
        Ogre::SceneNode* node = a.asteroid->getParentSceneNode();
        if (a.moved)
            node->setPosition(node->getPosition() + (bone - a.lastBonePosition));
        else
            a.moved = true;
        a.lastBonePosition = bone;
    }
}

void FinalSequence::lookStep(float u, float dt) {
    // Look back at the asteroid, then up at the right eye: a smooth chase.
    const Ogre::Quaternion q0 = rig.mCameraRollNode->getOrientation();
    Ogre::Vector3 target = owner.currentAsteroid()->getCenter();
    if (u >= EYE_LOOK_FROM && sceneManager->hasEntity(FieldLayout::LOOK_EYE))
        target = sceneManager->getEntity(FieldLayout::LOOK_EYE)->getWorldBoundingBox(true).getCenter();
    rig.mCameraRollNode->lookAt(target, Ogre::Node::TS_WORLD, Ogre::Vector3::NEGATIVE_UNIT_Z);
    lookOrientation = rig.mCameraRollNode->getOrientation();
    rig.mCameraRollNode->setOrientation(Ogre::Quaternion::Slerp(dt, q0, lookOrientation, true));
}

void FinalSequence::halfWayStep(float u) {
    mSecondHalf = true;
    halfWayFraction = u;
    // Everything the rig's nodes turn moves into the camera node.
    rig.mCameraPitchNode->setOrientation(rig.mCameraPitchNode->getOrientation() * rig.mCameraRollNode->getOrientation());
    rig.mCameraRollNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraYawNode->setOrientation(rig.mCameraYawNode->getOrientation() * rig.mCameraPitchNode->getOrientation());
    rig.mCameraPitchNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraNode->setOrientation(rig.mCameraNode->getOrientation() * rig.mCameraYawNode->getOrientation());
    rig.mCameraYawNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraNode->setOrientation(rig.mRootCameraNode->getOrientation() * rig.mCameraNode->getOrientation());
    rig.mRootCameraNode->setOrientation(Ogre::Quaternion::IDENTITY);
    mFinalRootOrient = rig.mRootCameraNode->getOrientation();
    mFinalStartOrient = rig.mCameraNode->getOrientation();
    mFinalStartYawOrient = rig.mCameraYawNode->getOrientation();
    mFinalStartPitchOrient = rig.mCameraPitchNode->getOrientation();
    mFinalStartRollOrient = rig.mCameraRollNode->getOrientation();
    std::cout << "mFinalRootOrient " << mFinalRootOrient << "\n"
              << "mFinalStartOrient " << mFinalStartOrient << "\n"
              << "mFinalStartYawOrient " << mFinalStartYawOrient << "\n"
              << "mFinalStartPitchOrient " << mFinalStartPitchOrient << "\n"
              << "mFinalStartRollOrient " << mFinalStartRollOrient << std::endl;
}

void FinalSequence::finalTurnStep(float u) {
    const float a = std::min((u - halfWayFraction) / (TURN_END - halfWayFraction), 1.0f);
    rig.mCameraNode->setOrientation(Ogre::Quaternion::Slerp(a, mFinalStartOrient, FINAL_ORIENTATION, true));
}

void FinalSequence::pathStep(float u) {
    Ogre::SceneNode* parent = rig.mCameraNode->getParentSceneNode();
    rig.mCameraNode->setPosition(parent->_getDerivedOrientation().Inverse() *
                                 (mPath.position(u) - parent->_getDerivedPosition()));
}

void FinalSequence::homeStep() {
    // The frame that passes t = 28 puts them exactly home.
    const float home = std::min(t / HOME_TIME, 1.0f);
    homeReached = home >= 1;
    for (const auto& entry : owner.asteroids()) {
        Asteroid& a = *entry.second;
        if (!a.entity()) continue;
        Ogre::SceneNode* pivot = a.entity()->getParentSceneNode()->getParentSceneNode();
        pivot->setOrientation(Ogre::Quaternion::Slerp(home, a.restOrientation(), pivot->getInitialOrientation(), true));
    }
}

void FinalSequence::endStep() {
    if (!endPosesWritten) {
        endPosesWritten = true;
        std::cout << "mRootCameraNode->getPosition " << rig.mRootCameraNode->getPosition() << "\n"
                  << "mRootCameraNode->getOrientation " << rig.mRootCameraNode->getOrientation() << "\n"
                  << "mCameraNode->getPosition " << rig.mCameraNode->getPosition() << "\n"
                  << "mCameraNode->getOrientation " << rig.mCameraNode->getOrientation() << "\n"
                  << "mCameraYawNode->getOrientation " << rig.mCameraYawNode->getOrientation() << "\n"
                  << "mCameraPitchNode->getOrientation " << rig.mCameraPitchNode->getOrientation() << "\n"
                  << "mCameraRollNode->getOrientation " << rig.mCameraRollNode->getOrientation() << std::endl;
    }
    owner.setPhase(Scene3Phase::OnAsteroid);
    rig.mRootCameraNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraYawNode->setOrientation(FINAL_ORIENTATION);
    rig.mCameraPitchNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rig.mCameraRollNode->setOrientation(Ogre::Quaternion::IDENTITY);
    for (Attachment& a : attachments) a.asteroid->getParentSceneNode()->setPosition(a.restPosition);
    owner.closingSequenceEnded(RETURN_DIRECTION);
}

}  // namespace Mossden
