#ifndef MOSSDEN_SCENES_THIRD_ASTEROIDFLIGHT_H
#define MOSSDEN_SCENES_THIRD_ASTEROIDFLIGHT_H

// A flight from the viewer's asteroid to the one being pointed at: the rig
// is re-anchored to the target at once, then the camera node moves along a
// straight, accelerating path in the target's frame (so the target's spin
// carries the path along), swerves to an asteroid it is about to hit,
// turns upright over the last stretch and lands with a thump.
#include <OgreSimpleSpline.h>
#include <OgreVector.h>

#include "scenes/third/Motion.h"

namespace Mossden {

class CameraRig;
class ThirdSceneOwner;

class AsteroidFlight {
public:
    AsteroidFlight(ThirdSceneOwner& owner, CameraRig& rig);

    // Starts a flight along a ray from the camera node (direction need not
    // be normalised); false, and nothing changes, unless the ray hits an
    // asteroid other than the current one.
    bool start(const Ogre::Vector3& direction);
    void update(float dt);
    // Flight units left; mouse look stops when fewer than 2.5 remain.
    float remaining() const { return clock.remaining(); }
    const FlightClock& flightClock() const { return clock; }
    const Ogre::Vector3& landingPoint() const { return mLandingPoint; }

    // The last stretch, in flight units, over which the viewer turns upright.
    static constexpr float FINAL_TURN_UNITS = 2.5f;

private:
    ThirdSceneOwner& owner;
    CameraRig& rig;
    int collisionSound;
    FlightClock clock;
    Ogre::Vector3 mLandingPoint = Ogre::Vector3::ZERO;
    Ogre::SimpleSpline path;                           // in the target pivot's frame
    Ogre::Vector3 origin = Ogre::Vector3::ZERO;        // camera node's local position at the start
    Ogre::Vector3 lastPosition = Ogre::Vector3::ZERO;  // camera's world position before the previous frame's move
    bool hasMoved = false;                             // the flight has had a frame
};

}  // namespace Mossden

#endif
