#ifndef MOSSDEN_SCENES_THIRD_MOTION_H
#define MOSSDEN_SCENES_THIRD_MOTION_H

// The third scene's clocks and limits as plain arithmetic, free of the
// engine's scene graph: the asteroids' spin table, the landing turn, the
// flight's accelerating time, the hop and the mouse-look pitch limits.
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include "scenes/third/FieldLayout.h"

namespace Mossden {

// The layout contract's plain points and rotations in the engine's math.
inline Ogre::Vector3 toVector(const FieldLayout::Point& p) { return Ogre::Vector3(p.x, p.y, p.z); }
inline Ogre::Quaternion toQuaternion(const FieldLayout::Rotation& r) { return Ogre::Quaternion(r.w, r.x, r.y, r.z); }

// One row of the spin table: three turns of -1, 0 or +1 times 1.5 degrees
// per second, all about the asteroid's local Z axis.
struct SpinRow {
    int a, b, c;
};

constexpr int SPIN_ROWS = 21;
constexpr float SPIN_DEGREES_PER_SECOND = 1.5f;

// Row k (0 .. 20) of the table.
SpinRow spinRow(int k);
// The turn of one frame of dt seconds, applied to the pivot in local space.
Ogre::Quaternion spinTurn(const SpinRow& row, float dt);
// Total spin in degrees per second (the sum of the three turns).
float spinRate(const SpinRow& row);

// The landing turn (phase Aligning and a flight's last stretch): time runs
// faster and faster, the turn completes once progress passes 1.
class TurnClock {
public:
    static constexpr float LENGTH = 1.5f;  // turn length in turn-time units

    void start() {
        time = 0;
        speed = 1;
    }
    // Advances by a frame of dt seconds; returns the progress time / LENGTH
    // (above 1 in the frame the turn completes).
    float step(float dt) {
        time += dt * speed;
        speed += dt;
        return time / LENGTH;
    }

    float time = 0;
    float speed = 1;
};

// An asteroid-to-asteroid flight's clock in flight units (1 unit per 1000
// world units of distance): it starts at 1 unit per second and gains 3 per
// second.
class FlightClock {
public:
    static constexpr float UNITS_PER_METRE = 0.001f;
    static constexpr float ACCELERATION = 3.0f;

    void start(float distance) {
        time = 0;
        speed = 1;
        duration = distance * UNITS_PER_METRE;
    }
    // Progress before this step (clamped to 1), then advances by dt seconds.
    // A flight of no length is complete at once.
    float step(float dt) {
        const float p = duration > 0 ? time / duration : 1.0f;
        time += speed * dt;
        speed += ACCELERATION * dt;
        return p < 1 ? p : 1.0f;
    }
    float remaining() const { return duration - time; }

    float time = 0;
    float duration = 0;
    float speed = 1;
};

// A hop lasts 1.5 seconds; progress clamped to 1.
constexpr float HOP_SECONDS = 1.5f;
inline float hopProgress(float time) { return time / HOP_SECONDS < 1 ? time / HOP_SECONDS : 1.0f; }

// Mouse look: the pitch node may turn up to 160 degrees one way (positive
// x) and 17 degrees the other from its rest.
bool pitchOutsideLimits(const Ogre::Quaternion& pitch);

}  // namespace Mossden

#endif
