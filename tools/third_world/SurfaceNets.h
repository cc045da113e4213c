#ifndef MOSSDEN_TOOLS_THIRD_WORLD_SURFACENETS_H
#define MOSSDEN_TOOLS_THIRD_WORLD_SURFACENETS_H

// Turns a field (negative inside) into a closed triangle list by surface
// nets: one vertex per grid cell that the surface crosses, one quad per grid
// edge that it crosses. Quads are wound counter-clockwise seen from outside,
// so every triangle faces out (picking counts front faces only).
#include <OgreVector.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace ThirdWorld {

struct Surface {
    std::vector<Ogre::Vector3> positions;
    std::vector<std::uint32_t> indices;  // three per triangle
};

// Samples the field on a grid of cells x cells x cells over the cube
// [-halfSize, halfSize]^3. Samples on the cube's faces count as outside,
// so the result is closed even if the field reaches the border.
Surface polygonise(const std::function<double(const Ogre::Vector3&)>& field, double halfSize, int cells);

// Evens out the triangles: every vertex moves towards the mean of its
// neighbours and back onto the surface (one gradient step), `iterations`
// times. Topology and winding are unchanged.
void relax(Surface& surface, const std::function<double(const Ogre::Vector3&)>& field, int iterations,
           double gradientStep);

}  // namespace ThirdWorld

#endif
