#ifndef MOSSDEN_TOOLS_THIRD_WORLD_FACELAYOUT_H
#define MOSSDEN_TOOLS_THIRD_WORLD_FACELAYOUT_H

// Where everything of the asteroid field stands. The field is a giant face
// seen only at the very end, from far out on +Z looking down -Z: the
// twenty-one asteroids are its teeth (an upper and a lower dental arch,
// horseshoes that recede from z = 0 towards -Z), four rocks above them its
// eyes. The places the game stands and flies by (the start pose, the
// closing flight's points, the eye height, which rocks each jaw carries)
// are the game's layout contract, scenes/third/FieldLayout.h.
#include <OgreColourValue.h>
#include <OgreVector.h>

#include <string>
#include <vector>

#include "RockShape.h"
#include "scenes/third/FieldLayout.h"

namespace ThirdWorld {

namespace Layout = Mossden::FieldLayout;
inline Ogre::Vector3 toVector(const Layout::Point& p) { return Ogre::Vector3(p.x, p.y, p.z); }

// Direction from the start asteroid's centre towards the start position:
// chosen so that the first view looks along the lower arch into the mouth.
extern const Ogre::Vector3 START_UP;

struct RockPiece {
    std::string entity;  // "aster7", "eye1": the name the game looks up
    std::string mesh;    // "third_aster7.mesh"
    std::string material;          // rock body
    std::string crystalMaterial;   // crystal spikes
    Ogre::Vector3 centre;
    RockParams params;
    int gridCells = 56;
};

// A way into a tunnel: the ride goes in at one mouth and out at the other.
struct HolePlace {
    std::string asteroid;
    Ogre::Vector3 mouth;      // where the bore's axis meets the rock going in
    Ogre::Vector3 exitMouth;  // ... and coming out
    Ogre::Vector3 direction;  // unit, along the bore from mouth to exitMouth
    double radius;            // the bore's
    std::vector<Ogre::Vector3> fallPoints;  // solid ground either side of exitMouth
};

struct FogCloud {
    std::string node;  // "dark_fog7"
    Ogre::Vector3 position;
    std::vector<Ogre::Vector3> puffs;  // relative to the node
    std::vector<Ogre::ColourValue> colours;
    int size;
};

struct Jaw {
    std::string entity;  // "upper_jaw_1"
    Ogre::Vector3 position;
    std::vector<std::string> carries;  // the entities it moves in the closing sequence
    Ogre::Vector3 chomp;               // the root bone's widest move while the laugh plays
};

struct Field {
    std::vector<RockPiece> rocks;
    std::vector<HolePlace> holes;
    std::vector<FogCloud> fogs;
    std::vector<Jaw> jaws;
};

// The complete, deterministic field. Rock shapes are built on the way
// (the start asteroid is moved so that its ground lies EYE_HEIGHT below
// the start position).
Field buildField();

}  // namespace ThirdWorld

#endif
