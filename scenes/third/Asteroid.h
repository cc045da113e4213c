#ifndef MOSSDEN_SCENES_THIRD_ASTEROID_H
#define MOSSDEN_SCENES_THIRD_ASTEROID_H

#include <OgrePrerequisites.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include <limits>
#include <memory>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "scene/Helpers.h"
#include "scenes/third/Motion.h"

namespace Mossden {

struct Hole;

// One asteroid of the field ("aster1" ... "aster21"): finds and caches its
// entity, keeps its surface for ground tests, knows its holes and spins
// slowly about its pivot's local Z axis.
class Asteroid {
public:
    // Takes the next row of the spin table (a process-wide count of
    // asteroids built: the n-th takes row n mod 21).
    Asteroid(std::string name, Ogre::SceneManager* sceneManager);

    const std::string& name() const { return mName; }
    // The entity, resolved and cached on first success (its surface is
    // read then, once); null while the scene manager has no such entity.
    Ogre::Entity* entity();
    // Centre of the entity's world bounding box as last computed by the
    // engine. Throws std::runtime_error without an entity.
    Ogre::Vector3 getCenter();
    // The triangles in world space as the asteroid stood when its entity was
    // first resolved (before any spin): the rig's ground tests run on them in
    // the asteroid's own unturned frame. Null until the entity is resolved.
    const MeshData* surface() const { return mSurface.get(); }
    // Resolves the entity again and reads its surface as it stands now
    // (after it was moved on purpose, as the engine tests do).
    void rereadSurface();

    // The hole whose sphere node is nearest to a world point, with that
    // distance; (null, FLT_MAX) without holes.
    std::pair<Hole*, float> nearestHole(const Ogre::Vector3& point);
    std::list<Hole*>& holes() { return mHoles; }
    // Hangs the hole on this asteroid's pivot and counts it as one of its holes.
    void addHole(Hole* hole);

    // Turns the pivot (the parent of the entity's node) by one frame.
    void spin(float dt);
    // The closing sequence's rest pose of the pivot.
    void saveRestOrientation();
    const Ogre::Quaternion& restOrientation() const { return mRestOrientation; }

    const SpinRow& spinRow() const { return mSpin; }
    int spinRowIndex() const { return mSpinRow; }

private:
    std::string mName;
    Ogre::SceneManager* mSceneManager;
    Ogre::Entity* mEntity = nullptr;
    std::unique_ptr<MeshData> mSurface;
    std::list<Hole*> mHoles;
    int mSpinRow;
    SpinRow mSpin;
    Ogre::Quaternion mRestOrientation = Ogre::Quaternion::IDENTITY;
};

}  // namespace Mossden

#endif
