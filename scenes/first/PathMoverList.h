#ifndef MOSSDEN_SCENES_FIRST_PATHMOVERLIST_H
#define MOSSDEN_SCENES_FIRST_PATHMOVERLIST_H

#include <OgrePrerequisites.h>
#include <OgreQuaternion.h>
#include <OgreSimpleSpline.h>

#include <list>

class TiXmlElement;

namespace Mossden {

// One object that travels once along a spline: the outer node moves and
// turns about the vertical, the inner node below it holds the entity with
// its fixed scale and rotation. Local +Z of the outer node is forward.
struct PathMover {
    Ogre::Entity* entity = nullptr;
    float elapsed = 0;   // seconds travelled
    float duration = 0;  // seconds the whole path takes
    Ogre::SimpleSpline spline;
    Ogre::SceneNode* node = nullptr;
};

// New orientation of a mover at p that will be at p2 a moment later: turned
// about the vertical only, from its current heading toward p2 - p. A zero
// horizontal direction (at the path's end, or moving straight up or down)
// keeps the heading.
Ogre::Quaternion headingToward(const Ogre::Quaternion& current, const Ogre::Vector3& p,
                               const Ogre::Vector3& p2);

// The first scene's path movers, loaded from its "pathMoveObjects" element.
// Owns the records; entities and nodes belong to the scene manager.
class PathMoverList {
public:
    // Look-ahead in seconds for the heading.
    static constexpr float HEADING_LEAD = 0.1f;

    explicit PathMoverList(Ogre::SceneManager* sceneManager) : sceneManager(sceneManager) {}

    void load(TiXmlElement* element);
    void start();
    void update(float dt);  // dt in seconds

    Ogre::SceneManager* sceneManager;
    std::list<PathMover> movers;

private:
    void place(PathMover& mover);
};

}  // namespace Mossden

#endif
