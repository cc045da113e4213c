#ifndef MOSSDEN_SCENES_THIRD_HOLE_H
#define MOSSDEN_SCENES_THIRD_HOLE_H

// A hole through an asteroid: a trigger sphere on the surface, the guide
// points of the ride through it and the points where the ride comes out.
#include <OgrePrerequisites.h>
#include <OgreVector.h>

#include <vector>

namespace Mossden {

class Asteroid;

struct Hole {
    int id = 0;
    Ogre::SceneNode* centerNode = nullptr;
    Ogre::SceneNode* downNode = nullptr;
    Ogre::SceneNode* upNode = nullptr;
    Ogre::SceneNode* sphereNode = nullptr;
    float radius = 0;
    std::vector<Ogre::Vector3> fallPoints;
    Asteroid* asteroid = nullptr;

    // The fall point nearest to p (the first on ties); p itself without any.
    Ogre::Vector3 nearestFallPoint(const Ogre::Vector3& p) const;
    void launchButterfly() {}
    void showButterfly() {}
    void hideButterfly() {}
};

}  // namespace Mossden

#endif
