#ifndef MOSSDEN_SCENES_THIRD_FIELDLAYOUT_H
#define MOSSDEN_SCENES_THIRD_FIELDLAYOUT_H

// The asteroid field's layout contract: the places, poses and names that
// the third scene (Scene3, CameraRig, AsteroidFlight, FinalSequence) and
// the field's generator (tools/third_world) must agree on. The generator
// builds the face around these; the game flies and stands by them. Change
// a value here and both follow. No engine headers: the generator has its
// own math, and the game converts with toVector / toQuaternion.
//
// World units; the face is seen at the very end from far out on +Z.
namespace Mossden::FieldLayout {

struct Point {
    float x, y, z;
};
struct Rotation {
    float w, x, y, z;
};

// The asteroids are "aster1" .. "aster21"; the viewer starts on one of them.
constexpr int ASTEROID_COUNT = 21;
constexpr int START_ASTEROID = 19;
constexpr const char* START_ASTEROID_NAME = "aster19";

// The camera node's pose at the opening; the generator places the start
// asteroid so that its ground lies EYE_HEIGHT below START_POSITION.
constexpr Point START_POSITION{7948, -4788, -8380};
constexpr Rotation START_ORIENTATION{0.302413f, 0.0100697f, 0.0100697f, 0.953124f};

// How far above the ground the viewer's eye stays: after a hop, at the end
// of a flight (that far before the hit point) and of a hole ride.
constexpr float EYE_HEIGHT = 130.0f;

// The closing flight: from the last asteroid through the mouth (VIA_POINT,
// also the goal of the debug path) out to FAR_POINT, turning to
// FINAL_ORIENTATION and looking at LOOK_EYE on the way; afterwards the
// viewer flies along RETURN_DIRECTION back into the field (the lower front
// tooth right of the face's axis stands where that flight crosses z = 0).
constexpr Point VIA_POINT{149, -2016, 370};
constexpr Point FAR_POINT{-633.446f, 631.27f, 34770};
constexpr Rotation FINAL_ORIENTATION{0.999995f, -0.027f, 0, 0};
constexpr Point RETURN_DIRECTION{32652.2f, -193042, -945732};
constexpr const char* LOOK_EYE = "eye2_1";

// The hidden jaw and eye skeletons whose root bones move the face's parts.
constexpr const char* JAW_NAMES[] = {"upper_jaw_1", "upper_jaw_2", "lower_jaw_1",
                                     "lower_jaw_2", "eye_1",       "eye_2"};

// Which jaw carries which asteroid or eye rock in the closing sequence:
// upper_jaw_1 and lower_jaw_1 the right-hand teeth (+X), the others the
// left. The sub-name is part of the scene's table but nothing reads it.
struct JawCarry {
    const char* carried;
    const char* jaw;
    const char* subName;
};
constexpr JawCarry JAW_CARRIES[] = {
    {"aster1", "upper_jaw_1", "upper_jaw_1_1"},   {"aster3", "upper_jaw_1", "upper_jaw_1_1"},
    {"aster4", "upper_jaw_1", "upper_jaw_1_1"},   {"aster7", "upper_jaw_1", "upper_jaw_1_1"},
    {"aster9", "upper_jaw_1", "upper_jaw_1_1"},   {"aster10", "upper_jaw_1", "upper_jaw_1_1"},
    {"aster2", "upper_jaw_2", "upper_jaw_2_1"},   {"aster5", "upper_jaw_2", "upper_jaw_2_1"},
    {"aster6", "upper_jaw_2", "upper_jaw_2_1"},   {"aster8", "upper_jaw_2", "upper_jaw_2_1"},
    {"aster11", "upper_jaw_2", "upper_jaw_2_1"},  {"aster12", "lower_jaw_2", "lower_jaw_2_1"},
    {"aster15", "lower_jaw_2", "lower_jaw_2_1"},  {"aster16", "lower_jaw_2", "lower_jaw_2_1"},
    {"aster18", "lower_jaw_2", "lower_jaw_2_1"},  {"aster13", "lower_jaw_1", "lower_jaw_1_1"},
    {"aster14", "lower_jaw_1", "lower_jaw_1_1"},  {"aster17", "lower_jaw_1", "lower_jaw_1_1"},
    {"aster19", "lower_jaw_1", "lower_jaw_1_1"},  {"aster20", "lower_jaw_1", "lower_jaw_1_1"},
    {"aster21", "lower_jaw_1", "lower_jaw_1_1"},  {"eye1", "eye_1", "lower_jaw_1_1"},
    {"eye2", "eye_1", "lower_jaw_1_1"},           {"eye2_1", "eye_2", "lower_jaw_1_1"},
    {"eye2_2", "eye_2", "lower_jaw_1_1"},
};

}  // namespace Mossden::FieldLayout

#endif
