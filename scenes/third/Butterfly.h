#ifndef MOSSDEN_SCENES_THIRD_BUTTERFLY_H
#define MOSSDEN_SCENES_THIRD_BUTTERFLY_H

// A butterfly waiting at a hole: a node of the scene file with a billboard
// set of the same name and a trail particle system named "<name>_particle".
// When the viewer comes near it flies off into the hole and vanishes; it
// waits again once the viewer is far away.
//   shown (at the hole) -> launch -> flying (1.2 s) -> hidden -> show -> shown
#include <OgrePrerequisites.h>
#include <OgreVector.h>

#include <string>

namespace Mossden {

struct Hole;

class Butterfly {
public:
    static constexpr float SPEED = 500.0f;         // units per second
    static constexpr float WINGS_SECONDS = 0.6f;   // the wings vanish first
    static constexpr float FLIGHT_SECONDS = 1.2f;  // then the trail and the node

    Butterfly(Ogre::SceneManager* sceneManager, std::string name, const Hole* hole);

    // Hangs the node under the asteroid's pivot, keeping its place, and
    // aims it at the hole's down point. Nothing without a node.
    void attach(Ogre::SceneNode* pivot);
    void show();
    void launch();
    // Hides the node and its children at once (a flight passing by).
    void hide();
    void update(float dt);

    bool hasNode() { return node() != nullptr; }
    bool flying() const { return mFlying; }
    bool shown() const { return mShown; }
    Ogre::SceneNode* node();
    const Ogre::Vector3& direction() const { return mDirection; }

private:
    Ogre::SceneManager* mSceneManager;
    std::string mName;
    const Hole* mHole;
    Ogre::SceneNode* mNode = nullptr;
    Ogre::SceneNode* mPivot = nullptr;
    Ogre::Vector3 mStartPosition = Ogre::Vector3::ZERO;
    Ogre::Vector3 mDirection = Ogre::Vector3::ZERO;
    float mFlightTime = 0;
    Ogre::BillboardSet* mBillboards = nullptr;
    Ogre::ParticleSystem* mTrail = nullptr;
    bool mFlying = false;
    bool mShown = true;
};

}  // namespace Mossden

#endif
