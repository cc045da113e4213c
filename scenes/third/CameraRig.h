#ifndef MOSSDEN_SCENES_THIRD_CAMERARIG_H
#define MOSSDEN_SCENES_THIRD_CAMERARIG_H

// The viewer of the third scene: five chained nodes carrying "PlayerCam".
//   root scene node -> mRootCameraNode (under the current asteroid's node)
//     -> mCameraNode (the viewer's place; its local Z is the viewer's up)
//       -> mCameraYawNode (mouse yaw about Z) -> mCameraPitchNode (mouse
//          pitch about X) -> mCameraRollNode -> camera
// It stands at eye height on its asteroid, keeps its up axis along the
// ground's normal, looks around within pitch limits and hops with W.
// Positions of mCameraNode are in the asteroid's unturned frame, the frame
// of the asteroid's surface mesh.
#include <OIS.h>
#include <OgreQuaternion.h>
#include <OgreSimpleSpline.h>
#include <OgreVector.h>

#include <set>

#include "app/LookControl.h"

namespace Mossden {

class Asteroid;
class ThirdSceneOwner;

class CameraRig {
public:
    CameraRig() = default;
    CameraRig(const CameraRig&) = delete;
    CameraRig& operator=(const CameraRig&) = delete;
    ~CameraRig();

    void setup(Ogre::SceneManager* sceneManager, ThirdSceneOwner* owner);
    // Creates the node chain and hangs the camera at its end.
    void build();
    // Moves the rig under the asteroid's node, keeping its world position.
    void attach(Asteroid* asteroid);
    Asteroid* asteroid() const { return mAsteroid; }

    // The nearest front-facing triangle of the asteroid's surface along a
    // ray; false without asteroid, query result or triangle hit.
    bool surfaceRay(const Ogre::Vector3& direction, const Ogre::Vector3& origin, Ogre::Vector3& hitPoint,
                    Ogre::Vector3& faceNormal);
    // Finds the ground below the viewer and turns upright on it; false when
    // there is no ground (the phase then stays as it is).
    bool land(bool animate, bool keepPhase);
    // Turns the viewer's up onto the ground's normal: at once, or as the
    // owner's landing turn.
    void align(bool animate, const Ogre::Vector3& normal, bool keepPhase);
    // The normal of the ground last landed or aligned on, in the
    // asteroid's unturned frame.
    const Ogre::Vector3& surfaceNormal() const { return mSurfaceNormal; }
    // The mouse's turn per pixel at the player's default look options.
    static constexpr float MOUSE_DEGREES_PER_PIXEL = 0.05f;
    // Turns the view; a pitch beyond the limits is taken back.
    void look(const LookStep& step);
    // Phase OnAsteroid: the running hop, or a new one while W is held.
    void update(const std::set<OIS::KeyCode>& heldKeys, float dt);
    void jump();
    bool jumping() const { return mJumping; }
    void stopJump() { mJumping = false; }
    // The hole test at a point in mRootCameraNode's space (flights).
    bool holeCheckAt(const Ogre::Vector3& point);
    void enterNearestHole();

    Ogre::SceneNode* mRootCameraNode = nullptr;
    Ogre::SceneNode* mCameraNode = nullptr;
    Ogre::SceneNode* mCameraYawNode = nullptr;
    Ogre::SceneNode* mCameraPitchNode = nullptr;
    Ogre::SceneNode* mCameraRollNode = nullptr;
    bool finalTurn = false;  // a flight's final turn has been prepared

private:
    bool sampleHoleTest(const Ogre::Vector3& point);

    Ogre::SceneManager* mSceneManager = nullptr;
    Ogre::Camera* mCamera = nullptr;
    ThirdSceneOwner* mOwner = nullptr;
    Asteroid* mAsteroid = nullptr;
    Ogre::RaySceneQuery* mSurfaceQuery = nullptr;
    Ogre::Vector3 mSurfaceNormal = Ogre::Vector3::UNIT_Z;
    bool mJumping = false;
    float mJumpTime = 0;
    Ogre::SimpleSpline mJumpSpline;
    Ogre::Quaternion mJumpStart = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion mJumpTarget = Ogre::Quaternion::IDENTITY;
};

}  // namespace Mossden

#endif
