#ifndef MOSSDEN_SCENE_ANIMATIONSTARTER_H
#define MOSSDEN_SCENE_ANIMATIONSTARTER_H

#include <OgrePrerequisites.h>

#include <list>
#include <utility>

// Starts the animations of entities at given times and plays them once.
// Built from a scene file by MossdenScene::loadAnimationStarter; the scene
// that asked for it owns it. Entity pointers are the scene manager's.
class AnimationStarter {
public:
    // dt in seconds, once per frame. Due entities start (all their states
    // from 0, not looping) and every running entity's states advance by dt,
    // in name order; an entity stops at the first update at which one of its
    // states has ended, its states keeping their last pose.
    void update(Ogre::Real dt);

    std::list<std::pair<Ogre::Entity*, Ogre::Real>>
        pending;                       // (entity, start time in s), file order
    std::list<Ogre::Entity*> running;  // in start order
    Ogre::Real elapsed = 0;            // seconds accumulated by update
};

#endif
