#ifndef MOSSDEN_SCENES_THIRD_FINALSEQUENCE_H
#define MOSSDEN_SCENES_THIRD_FINALSEQUENCE_H

// The closing sequence: after the fourth hole the camera leaves the
// asteroid and flies, ever faster, out through the mouth to a point far
// out on +Z, first looking back at the asteroid, then at an eye; the
// asteroids turn back to their first poses, and once the camera is far out
// the hidden jaw skeletons move the teeth while the laugh sounds. Its own
// time t runs from 0 at speed 0.2, gaining 0.1 a second; u = t / 40 is its
// progress, and the end comes after about 26 seconds.
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include <list>
#include <vector>

#include "scenes/third/PolylinePath.h"

namespace Mossden {

class CameraRig;
class ThirdSceneOwner;

class FinalSequence {
public:
    // A tooth or eye: the jaw whose root bone moves it, and its rest place.
    struct Attachment {
        Ogre::Entity* jaw;
        Ogre::Entity* asteroid;
        bool moved;
        Ogre::Vector3 lastBonePosition;
        Ogre::Vector3 restPosition;
    };

    static constexpr float LENGTH = 40.0f;         // t at the end
    static constexpr float HALF_WAY = 0.5f;        // u of the half-way switch
    static constexpr float TURN_END = 0.7f;        // u when the camera has turned to the final view
    static constexpr float EYE_LOOK_FROM = 0.2f;   // u from which the camera looks at the eye
    static constexpr float LAUGH_Z = 26100.0f;     // the laugh waits until the camera is this far out
    static constexpr float HOME_TIME = 28.0f;      // t when the asteroids are back in their first poses
    static constexpr float JAW_SPEED = 1.2f;       // jaw animations run this much faster
    static const Ogre::Vector3 FAR_POINT, VIA_POINT;
    static const Ogre::Quaternion FINAL_ORIENTATION;
    static const Ogre::Vector3 RETURN_DIRECTION;   // the flight after the end

    FinalSequence(ThirdSceneOwner& owner, CameraRig& rig, Ogre::SceneManager* sceneManager);

    void start();
    // One frame, stage by stage in this order: the music on the first
    // frame, the jaws' animations, the laugh, the teeth, the look back (first
    // half), the half-way switch, the final turn (second half), the camera
    // along the path or the end, the clock, the asteroids' way home.
    void update(float dt);

    float progress() const { return t / LENGTH; }
    bool laughed() const { return mLaughed; }
    bool secondHalf() const { return mSecondHalf; }
    const PolylinePath& path() const { return mPath; }

    std::list<Attachment> attachments;

private:
    void beginStep();
    void laughStep(float u);
    void teethStep();
    void lookStep(float u, float dt);
    void halfWayStep(float u);
    void finalTurnStep(float u);
    void pathStep(float u);
    void endStep();
    void homeStep();

    ThirdSceneOwner& owner;
    CameraRig& rig;
    Ogre::SceneManager* sceneManager;
    PolylinePath mPath;
    std::vector<Ogre::Vector3> routePoints;
    Ogre::Quaternion mFinalRootOrient = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion mFinalStartOrient = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion mFinalStartYawOrient = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion mFinalStartPitchOrient = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion mFinalStartRollOrient = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion lookOrientation = Ogre::Quaternion::IDENTITY;
    std::vector<Ogre::Entity*> jaws;
    float t = 0;
    float speed = 0.2f;
    bool begun = false;
    bool mLaughed = false;
    bool teethMoving = false;
    bool mSecondHalf = false;
    bool homeReached = false;  // the asteroids are back in their first poses
    float halfWayFraction = 0;
    int noiseSound, laughSound, musicSound;
};

}  // namespace Mossden

#endif
