#ifndef MOSSDEN_TOOLS_THIRD_WORLD_TEXTURES_H
#define MOSSDEN_TOOLS_THIRD_WORLD_TEXTURES_H

// The field's pictures: the rock detail that tiles over every asteroid, the
// soft puff of the fog clouds, and the starry sky.
#include <array>
#include <string>

#include <OgreColourValue.h>
#include <OgreVector3.h>

#include "mediagen/Image.h"
#include "mediagen/MeshData.h"

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
// A star of the sky: its radius is in texels of a 1024-texel face.
struct Star {
    Ogre::Vector3 direction;
    float brightness, radius;
    Ogre::ColourValue colour;
};
// The sky: a dark nebula and stars of many brightnesses and colours, with a
// faint band of them across it. skyMesh is what the game draws: the nebula
// as vertex colours on a sphere round the camera (left open where it is
// darkest) and the stars as points. skyFace is one face of the sky box it
// drew before, for the fill-cost bench's baseline.
MediaGen::MeshData skyMesh();
// The field's background (the window's clear colour, named by its scene
// file): the faint glow of the countless stars too dim to draw one by one,
// which the open parts of the sky show.
const Ogre::ColourValue SKY_BACKGROUND(0.012f, 0.011f, 0.022f);
MediaGen::Image skyFace(int face, int size);

}  // namespace ThirdWorld

#endif
