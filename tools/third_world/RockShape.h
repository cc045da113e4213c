#ifndef MOSSDEN_TOOLS_THIRD_WORLD_ROCKSHAPE_H
#define MOSSDEN_TOOLS_THIRD_WORLD_ROCKSHAPE_H

// One asteroid as a field over space: negative inside, positive outside,
// roughly a distance in world units near the surface. Made of a noisy lump
// (or a ring, or a crystal cluster), carved by craters and straight tunnels,
// grown with crystal spikes. Coordinates are relative to the rock's centre.
#include <OgreVector.h>

#include <cstdint>
#include <vector>

#include "mediagen/Noise.h"
#include "mediagen/Random.h"

namespace ThirdWorld {

// A straight bore through the rock, from a to b (both outside the surface).
// Uniformly distributed unit vector.
Ogre::Vector3 randomDirection(MediaGen::Random& random);

struct Tunnel {
    Ogre::Vector3 a, b;
    double radius = 0;
};

enum class RockForm { Lump, Ring, CrystalCluster };

struct RockParams {
    std::uint64_t seed = 1;
    RockForm form = RockForm::Lump;
    double radius = 1000;                     // lump radius, or ring's major radius
    double ringMinor = 400;                   // ring's tube radius
    Ogre::Vector3 squash{1, 1, 1};           // per-axis stretch of the lump
    double roughness = 0.18;                  // noise amplitude as a fraction of the radius
    int craters = 6;
    int crystalPatches = 1;
    double mossiness = 0.0;                   // -0.3 (bare) .. 0.3 (overgrown)
    std::vector<Tunnel> tunnels;
    // No crater or crystal within clearAngle (degrees) of this direction:
    // the player's first standing place must be plain ground.
    Ogre::Vector3 keepClear = Ogre::Vector3::ZERO;
    double clearAngle = 0;
    // A flat patch of ground of this radius around that direction, so that
    // the first landing's face normal is the direction itself.
    double padRadius = 0;
};

class RockShape {
public:
    explicit RockShape(const RockParams& params);

    double distance(const Ogre::Vector3& p) const;
    // True inside the rock as if no tunnel were bored through it.
    bool solidUnbored(const Ogre::Vector3& p) const;
    // True where the crystal part forms the surface.
    bool isCrystal(const Ogre::Vector3& p) const;
    Ogre::Vector3 normal(const Ogre::Vector3& p) const;
    // 0 bare rock .. 1 thick moss.
    double moss(const Ogre::Vector3& p) const;
    // 0 fully enclosed .. 1 open sky, from the field one step along the normal.
    double openness(const Ogre::Vector3& p, const Ogre::Vector3& n) const;
    // Half size of a cube around the centre that holds the whole rock.
    double extent() const { return extentHalf; }
    // Distance from the centre to the outermost surface along a direction,
    // found by bisection; uses the full field (craters, crystals, tunnels).
    double surfaceRadius(const Ogre::Vector3& direction) const;
    const RockParams& params() const { return par; }

private:
    struct Crater {
        Ogre::Vector3 centre;
        double radius;
    };
    struct Spike {
        Ogre::Vector3 centre, axis, side, up;
        double halfLength, halfWidth;
    };

    double baseField(const Ogre::Vector3& p) const;
    double rockField(const Ogre::Vector3& p) const;
    double crystalField(const Ogre::Vector3& p) const;
    double carve(const Ogre::Vector3& p, double field) const;
    double baseRadius(const Ogre::Vector3& direction) const;
    bool clearOf(const Ogre::Vector3& direction, double marginDegrees) const;
    void addSpikes(MediaGen::Random& random, const Ogre::Vector3& root, const Ogre::Vector3& out, int count,
                   double scale);

    RockParams par;
    MediaGen::Noise shapeNoise, mossNoise;
    std::vector<Crater> craters;
    std::vector<Spike> spikes;
    double extentHalf = 0;
    double padHeight = 0;
};

}  // namespace ThirdWorld

#endif
