#include "scenes/third/Motion.h"

#include <OgreMath.h>

#include <algorithm>
#include <cmath>

namespace Mossden {

namespace {

constexpr SpinRow SPIN_TABLE[SPIN_ROWS] = {
    {1, 1, -1},  {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {-1, -1, 1}, {-1, -1, 1}, {1, -1, 1},
    {1, -1, 1},  {1, 1, 1},    {-1, 1, 1},  {1, -1, 1}, {-1, 1, -1}, {1, 0, -1},  {1, 1, -1},
    {1, -1, -1}, {-1, 1, -1},  {-1, 1, -1}, {-1, -1, 1}, {-1, -1, 1}, {1, 1, -1}, {-1, 1, -1},
};

constexpr float PITCH_UP_LIMIT = 160.0f;    // degrees, positive x
constexpr float PITCH_DOWN_LIMIT = 17.0f;   // degrees, negative x

}  // namespace

SpinRow spinRow(int k) { return SPIN_TABLE[((k % SPIN_ROWS) + SPIN_ROWS) % SPIN_ROWS]; }

Ogre::Quaternion spinTurn(const SpinRow& row, float dt) {
    Ogre::Quaternion q = Ogre::Quaternion::IDENTITY;
    for (int component : {row.a, row.b, row.c})
        q = q * Ogre::Quaternion(Ogre::Degree(component * dt * SPIN_DEGREES_PER_SECOND), Ogre::Vector3::UNIT_Z);
    return q;
}

float spinRate(const SpinRow& row) { return (row.a + row.b + row.c) * SPIN_DEGREES_PER_SECOND; }

bool pitchOutsideLimits(const Ogre::Quaternion& pitch) {
    const float angle = Ogre::Radian(2 * std::acos(std::clamp(pitch.w, -1.0f, 1.0f))).valueDegrees();
    return (pitch.x > 0 && angle > PITCH_UP_LIMIT) || (pitch.x < 0 && angle > PITCH_DOWN_LIMIT);
}

}  // namespace Mossden
