#ifndef MOSSDEN_SCENES_THIRD_HOLE_H
#define MOSSDEN_SCENES_THIRD_HOLE_H

// A hole through an asteroid, read from the scene file's "holes": a trigger
// sphere on the surface, the guide points of the ride through it, the
// points where the ride may come out, a swirl of particles on the way and
// a butterfly waiting at its mouth. The sphere and swirl nodes hang under
// the asteroid's pivot and turn with it; the guide points stay where the
// file put them, in the asteroid's unturned frame like the viewer's rig.
#include <OgrePrerequisites.h>
#include <OgreVector.h>

#include <memory>
#include <string>
#include <vector>

#include "scenes/third/Butterfly.h"

class TiXmlElement;

namespace Mossden {

class Asteroid;

struct Hole {
    int id = 0;  // 1, 2, ... for the holes of the process
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::SceneNode* centerNode = nullptr;
    Ogre::SceneNode* downNode = nullptr;
    Ogre::SceneNode* upNode = nullptr;
    Ogre::SceneNode* sphereNode = nullptr;
    float radius = 0;
    std::vector<Ogre::Vector3> fallPoints;
    std::string swirlNodeName, butterflyName, particleTemplate, particleTemplate2;
    Ogre::SceneNode* swirlNode = nullptr;
    Ogre::ParticleSystem* firstSwirl = nullptr;
    Ogre::ParticleSystem* secondSwirl = nullptr;
    Asteroid* asteroid = nullptr;
    std::unique_ptr<Butterfly> butterfly;

    // A hole from a "hole" element; null when it has no "sphere".
    static std::unique_ptr<Hole> read(const TiXmlElement* element, Ogre::SceneManager* sceneManager);

    // The fall point nearest to p (the first on ties); p itself without any.
    Ogre::Vector3 nearestFallPoint(const Ogre::Vector3& p) const;
    // Hangs the sphere and swirl nodes and the butterfly under the pivot.
    void attach(Ogre::SceneNode* pivot);
    // The swirl node, looked up by name on first use; null without one.
    Ogre::SceneNode* resolveSwirlNode();
    // (Re)starts the swirl's particle systems on the swirl node.
    void startSwirl();

    void launchButterfly() { butterfly->launch(); }
    void showButterfly() { butterfly->show(); }
    void hideButterfly() { butterfly->hide(); }
};

}  // namespace Mossden

#endif
