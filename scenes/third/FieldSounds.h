#ifndef MOSSDEN_SCENES_THIRD_FIELDSOUNDS_H
#define MOSSDEN_SCENES_THIRD_FIELDSOUNDS_H

// The sound files of the asteroid field (the scene, its flights and its
// closing sequence), named once: the scene loads them, and the scene
// before it decodes them ahead across its dark outro.
#include <array>

namespace Mossden::FieldSounds {

constexpr const char* HOLE_UP = "holeup.ogg";
constexpr const char* MUSIC = "scene3.ogg";
constexpr const char* NOISE = "scene3noise.ogg";  // looped
constexpr const char* LAUGH = "haha.ogg";
constexpr const char* COLLISION = "collision.ogg";

constexpr std::array<const char*, 5> ALL = {MUSIC, NOISE, HOLE_UP, LAUGH, COLLISION};

}  // namespace Mossden::FieldSounds

#endif
