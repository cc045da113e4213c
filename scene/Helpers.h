#ifndef MOSSDEN_SCENE_HELPERS_H
#define MOSSDEN_SCENE_HELPERS_H

// Geometry and animation operations the scenes share.
#include <OgrePrerequisites.h>

// Nothing for a null entity. A skinned entity blends its animations
// cumulatively; every state is enabled, set to loop or not, and rewound.
void startAllAnimations(Ogre::Entity* entity, bool loop);
// Advances every animation state of the entity by dt seconds, enabled or
// not; nothing for a null entity or one without animation states.
void advanceAllAnimations(Ogre::Entity* entity, Ogre::Real dt);

#endif
