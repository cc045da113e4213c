#ifndef MOSSDEN_TOOLS_FIRST_WORLD_CREATURES_H
#define MOSSDEN_TOOLS_FIRST_WORLD_CREATURES_H

// The animated things of the first scene: the ladybird (body with four legs,
// and its hind legs as a second mesh), the walk skeleton that carries both,
// the dragonfly with beating wings, drifting seeds and unfurling ferns.
#include <OgreVector3.h>

#include <vector>

#include "mediagen/MeshData.h"
#include "mediagen/SkeletonData.h"

namespace FirstWorld {

using MediaGen::MeshData;
using MediaGen::SkeletonData;

struct Creature {
    MeshData mesh;
    SkeletonData skeleton;  // empty bones: a static mesh
};

// Offset of the ladybird's ground point from the walk bone, in the bone's
// space: the engine attaches the ladybird meshes at the bone with a fixed
// turn and no offset, and their culling box is set to 0..50 on each axis of
// mesh space, so the body sits in that box.
const Ogre::Vector3 LADYBIRD_IN_BONE(-25, -48, -25);

Creature buildLadybird();       // "ladybird": legs 1 and 2 of each side
Creature buildLadybirdHind();   // "ladybird2": legs 3
// The walk along the given ground points at LADYBIRD_SPEED.
Creature buildLadybirdTrack(const std::vector<Ogre::Vector3>& walk, float speed);
Creature buildDragonfly();
Creature buildSeed();
Creature buildFern();

}  // namespace FirstWorld

#endif
