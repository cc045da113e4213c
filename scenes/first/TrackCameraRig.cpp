#include "scenes/first/TrackCameraRig.h"

#include <OIS.h>
#include <Ogre.h>

#include <cmath>

#include "scenes/first/Scene1.h"

namespace Mossden {

namespace {

// The positive (upward) side is closed below this pitch angle.
constexpr float POSITIVE_SIDE_MIN_DEG = 160.0f;

Ogre::Radian rad(float degrees) { return Ogre::Radian(degrees * Ogre::Math::fDeg2Rad); }

}  // namespace

float pitchAngleOf(const Ogre::Quaternion& q) {
    const float w = std::max(-1.0f, std::min(1.0f, static_cast<float>(q.w)));
    return 2.0f * std::acos(w) * Ogre::Math::fRad2Deg;
}

bool pitchTakenBack(float x1, float a0, float a1, float lim) {
    if (x1 > 0 && a1 < POSITIVE_SIDE_MIN_DEG) return true;
    if (x1 < 0 && a1 > 180.0f - lim && a1 > a0) return true;
    if (x1 < 0 && a1 < lim && a1 < a0) return true;
    return false;
}

TrackCameraRig::TrackCameraRig(Scene1* owner, Ogre::SceneManager* sceneManager,
                               Ogre::SceneNode* trackNode)
    : owner(owner), sceneManager(sceneManager), trackNode(trackNode) {
    camera = sceneManager->getCamera("PlayerCam");
    yawNode = trackNode->createChildSceneNode();
    pitchNode = yawNode->createChildSceneNode();
    cameraNode = pitchNode->createChildSceneNode();
    if (camera->getParentSceneNode()) camera->getParentSceneNode()->detachObject(camera);
    cameraNode->attachObject(camera);
    yawNode->yaw(rad(START_TURN_DEG));
    pitchNode->pitch(rad(START_TURN_DEG));
}

void TrackCameraRig::rotate(float yawDeg, float pitchDeg, float correctionDeg) {
    const float a0 = pitchAngleOf(pitchNode->getOrientation());
    yawNode->yaw(rad(yawDeg));
    pitchNode->pitch(rad(pitchDeg));
    const Ogre::Quaternion& q = pitchNode->getOrientation();
    const float a1 = pitchAngleOf(q);
    const float x1 = q.x;
    const float lim = owner->heightLimitAt();
    if (pitchTakenBack(x1, a0, a1, lim)) pitchNode->pitch(rad(-pitchDeg));
    if (yawDeg == 0 && pitchDeg == 0 && x1 < 0 && lim > a0) pitchNode->pitch(rad(-correctionDeg));
}

Ogre::Vector3 TrackCameraRig::lookDirection() const {
    // A turn marks only the turned node; bring the mount's cached world
    // transforms up to date before measuring in the camera node's space.
    trackNode->_update(true, false);
    const Ogre::Vector3 look = cameraNode->convertWorldToLocalPosition(
        owner->lookTrackNode->_getDerivedPosition());
    const Ogre::Vector3 self =
        cameraNode->convertWorldToLocalPosition(cameraNode->_getDerivedPosition());
    return look - self;
}

void TrackCameraRig::followLook(float dt) {
    Ogre::Vector3 d = lookDirection();
    Ogre::Vector3 v = camera->getOrientation() * Ogre::Vector3::NEGATIVE_UNIT_Z;
    d.normalise();
    v.normalise();

    Ogre::Vector3 towardPitch(0, d.y, d.z);
    Ogre::Quaternion q = v.getRotationTo(towardPitch, Ogre::Vector3::ZERO);
    const Ogre::Quaternion pitchNow = pitchNode->getOrientation();
    pitchNode->setOrientation(Ogre::Quaternion::Slerp(dt, pitchNow, q * pitchNow, false));

    Ogre::Vector3 towardYaw(d.x, 0, d.z);
    q = v.getRotationTo(towardYaw, Ogre::Vector3::ZERO);
    const Ogre::Quaternion yawNow = yawNode->getOrientation();
    yawNode->setOrientation(Ogre::Quaternion::Slerp(dt, yawNow, q * yawNow, false));
}

float TrackCameraRig::lookOffsetDeg() const {
    Ogre::Vector3 d = lookDirection();
    Ogre::Vector3 v = camera->getOrientation() * Ogre::Vector3::NEGATIVE_UNIT_Z;
    if (d.isZeroLength()) return 0;
    return v.angleBetween(d).valueDegrees();
}

void TrackCameraRig::turnLook(float yawDeg, float pitchDeg) {
    yawNode->yaw(rad(yawDeg));
    pitchNode->pitch(rad(pitchDeg));
    cameraNode->_update(false, true);
}

void TrackCameraRig::approachLook(float yawDeg, float pitchDeg) {
    const float before = lookOffsetDeg();
    turnLook(yawDeg, pitchDeg);
    // followLook pulls the view back every frame, but a fast mouse could
    // still turn the look node out of sight: a turn that ends beyond the
    // limit and moved further away is taken back.
    const float after = lookOffsetDeg();
    if (after > APPROACH_LOOK_LIMIT_DEG && after > before) turnLook(-yawDeg, -pitchDeg);
}

void TrackCameraRig::collapse() {
    pitchNode->setOrientation(pitchNode->getOrientation() * cameraNode->getOrientation());
    cameraNode->setOrientation(Ogre::Quaternion::IDENTITY);
    yawNode->setOrientation(yawNode->getOrientation() * pitchNode->getOrientation());
    pitchNode->setOrientation(Ogre::Quaternion::IDENTITY);
}

}  // namespace Mossden
