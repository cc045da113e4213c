#include "scenes/third/Hole.h"

namespace Mossden {

Ogre::Vector3 Hole::nearestFallPoint(const Ogre::Vector3& p) const {
    if (fallPoints.empty()) return p;
    const Ogre::Vector3* best = &fallPoints.front();
    for (const Ogre::Vector3& f : fallPoints)
        if (f.squaredDistance(p) < best->squaredDistance(p)) best = &f;
    return *best;
}

}  // namespace Mossden
