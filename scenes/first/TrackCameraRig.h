#ifndef MOSSDEN_SCENES_FIRST_TRACKCAMERARIG_H
#define MOSSDEN_SCENES_FIRST_TRACKCAMERARIG_H

#include <OgrePrerequisites.h>

namespace OIS {
class MouseEvent;
}

namespace Mossden {

class Scene1;

// Pitch angle in degrees of a rotation about the local X axis: 2 acos(w).
// Its side is the sign of the quaternion's x.
float pitchAngleOf(const Ogre::Quaternion& q);

// The limit rule of a turn with limits: true when a pitch that moved the
// pitch angle from a0 to a1 (x1 the orientation's x afterwards) must be
// taken back under the limit lim. On the negative side (looking down) the
// angle may not move further out of the band lim .. 180 - lim; the positive
// side (looking up) is closed below 160 degrees.
bool pitchTakenBack(float x1, float a0, float a1, float lim);

// The first scene's camera mount: track node -> yaw node -> pitch node ->
// camera node, with the camera "PlayerCam" on the camera node. The flight
// moves the track node; the player's look turns the inner nodes. Owned by
// Scene1; the nodes belong to the scene manager.
class TrackCameraRig {
public:
    static constexpr float START_TURN_DEG = -65.0f;
    static constexpr float MOUSE_DEG_PER_COUNT = 0.01f;
    // Largest angle between the view and the direction to the look node
    // that a mouse turn in the approach may leave.
    static constexpr float APPROACH_LOOK_LIMIT_DEG = 70.0f;

    TrackCameraRig(Scene1* owner, Ogre::SceneManager* sceneManager, Ogre::SceneNode* trackNode);

    // Turn with the owner's height limit (degrees); a pure correction (yaw
    // and pitch 0) pulls the pitch back toward the limit.
    void rotate(float yawDeg, float pitchDeg, float correctionDeg);
    // Pulls the view toward the owner's look node; dt in seconds is the
    // interpolation parameter of this frame.
    void followLook(float dt);
    // Mouse turn in the approach, kept within APPROACH_LOOK_LIMIT_DEG of the
    // look node.
    void approachLook(float yawDeg, float pitchDeg);
    // Moves the whole look into the yaw node; the camera's world
    // orientation does not change.
    void collapse();

    // Angle in degrees between the view and the direction to the look node,
    // both in the camera node's space.
    float lookOffsetDeg() const;

    Scene1* owner;
    Ogre::SceneManager* sceneManager;
    Ogre::Camera* camera;
    Ogre::SceneNode* trackNode;
    Ogre::SceneNode* yawNode;
    Ogre::SceneNode* pitchNode;
    Ogre::SceneNode* cameraNode;

private:
    void turnLook(float yawDeg, float pitchDeg);
    Ogre::Vector3 lookDirection() const;
};

}  // namespace Mossden

#endif
