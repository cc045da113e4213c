#ifndef MOSSDEN_TOOLS_THIRD_WORLD_TEXTURES_H
#define MOSSDEN_TOOLS_THIRD_WORLD_TEXTURES_H

// The field's pictures: the rock detail that tiles over every asteroid, the
// soft puff of the fog clouds, and the six faces of the starry sky.
#include <array>
#include <string>

#include "mediagen/Image.h"

namespace ThirdWorld {

MediaGen::Image rockDetail(int size);
MediaGen::Image fogPuff(int size);
// A glowing butterfly seen from above, white (the billboard tints it).
MediaGen::Image butterfly(int size);
// A soft round spark for particles, white.
MediaGen::Image spark(int size);

// The engine's file suffixes for the faces of a cube texture, in the order
// +X, -X, +Y, -Y, +Z, -Z.
extern const std::array<std::string, 6> SKY_SUFFIXES;
// One face of the sky: stars of many brightnesses and colours, a faint band
// of them across the sky, and a dark nebula. Seamless across faces: every
// pixel is computed from its direction.
MediaGen::Image skyFace(int face, int size);

}  // namespace ThirdWorld

#endif
