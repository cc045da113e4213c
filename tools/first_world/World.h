#ifndef MOSSDEN_TOOLS_FIRST_WORLD_WORLD_H
#define MOSSDEN_TOOLS_FIRST_WORLD_WORLD_H

// The layout of the first scene's world, shared by the shape code and the
// scene-file writer. One unit is about a third of a millimetre: the ladybird
// is some 20 units long, the tallest stems rise above 11000.
#include <OgreColourValue.h>
#include <OgreVector3.h>

#include <cmath>
#include <string>
#include <vector>

#include "mediagen/MeshData.h"

namespace FirstWorld {

using MediaGen::MeshData;

// The camera starts low, looking down and ahead along VIEW_DIR (the rig's
// starting yaw of -65 degrees), at the ladybird; it rises and drifts back so
// that the ladybird's ground stays near the centre of the view.
const Ogre::Vector3 VIEW_DIR(0.9063f, 0, -0.4226f);
const Ogre::Vector3 SIDE_DIR(0.4226f, 0, 0.9063f);
const Ogre::Vector3 LADYBIRD_START(0, 0, 0);
constexpr float CAMERA_START_HEIGHT = 32;
constexpr float LOOK_DOWN_RATIO = 0.4663f;  // 1 / tan(65 degrees)
constexpr float TOP_HEIGHT = 9650;          // where the camera track ends
const Ogre::Vector3 HOLE = LADYBIRD_START - VIEW_DIR * 5600.0f + SIDE_DIR * 300.0f;
constexpr float HOLE_RADIUS = 260;
constexpr float WORLD_RADIUS = 16000;
const Ogre::Vector3 WORLD_CENTRE = LADYBIRD_START - VIEW_DIR * 2500.0f;
// The far moss: a grid of FAR_MOSS_CELLS x FAR_MOSS_CELLS square cells out
// to FAR_MOSS_REACH round WORLD_CENTRE, a little below the floor, open in the
// middle (half-width FAR_MOSS_HOLE) where the detailed floor covers it.
constexpr float FAR_MOSS_REACH = 42000, FAR_MOSS_Y = -60;
constexpr int FAR_MOSS_CELLS = 60;
constexpr float FAR_MOSS_HOLE = WORLD_RADIUS - 2 * (2 * FAR_MOSS_REACH / FAR_MOSS_CELLS);

// The haze: the fog's colour, which the sky takes below the horizon.
constexpr float FOG_COLOUR[3] = {0.58f, 0.58f, 0.40f};
constexpr float FOG_DENSITY = 0.000068f;

// Height of the moss floor at (x, z), before cushions; the burrow opens at HOLE.
float groundHeight(float x, float z);

// The sky's colour at an elevation (radians): a warm haze at the horizon
// deepening to a dusky blue overhead; below the horizon the fog's colour,
// into which the far moss fades, so the world's edge never shows.
Ogre::ColourValue skyColour(float elevation);
// The sky: a dome of rings round the camera coloured by skyColour, from a
// little below the horizon (where the ground always covers it) to the top.
MeshData buildSkyDome();

// Where the camera is at height h on its way up (the crane shot).
Ogre::Vector3 ascentPoint(float h);

struct Stem {
    Ogre::Vector3 base;
    float height, radius;
    float lean;  // bend of the top, units
    Ogre::Vector3 leanDir;
    Ogre::Vector3 pointAt(float f) const;  // f = 0 base .. 1 top
};
const std::vector<Stem>& stems();

// Named meshes written by the generator.
struct NamedMesh {
    std::string name;  // entity and file name without ".mesh"
    MeshData mesh;
    Ogre::Vector3 origin = Ogre::Vector3::ZERO;  // where its node stands; the mesh is relative to it
};
// The ground in "moss_floor" cells, the cushions on it in "moss_cushions"
// cells (each whole in the cell of its centre), the moss's small detail
// (stalks and dew) in "moss_tufts" cells, the far moss, the grass and the
// stems.
std::vector<NamedMesh> buildStaticWorld();
constexpr float TUFT_CELL = 1000;     // units: the tufts are small and seen only near
constexpr float CUSHION_CELL = 4000;  // units
std::vector<NamedMesh> buildTunnel();
MeshData buildDewDrop();

// Splits a mesh built in world space into cells of `cell` units in x/z so
// that the engine can skip the parts out of view. Each cell's mesh is moved
// to its own origin, the cell's centre on the ground plane: the engine
// measures an object's distance from its node, and the game leaves the
// small detail out beyond a distance.
std::vector<NamedMesh> splitByCell(const std::string& name, const MeshData& mesh, float cell);

// The ladybird walk: points on the moss (y = the floor) at even spacing.
std::vector<Ogre::Vector3> ladybirdWalk();
constexpr float LADYBIRD_SPEED = 7.0f;  // units per second

}  // namespace FirstWorld

#endif
