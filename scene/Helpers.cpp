#include "scene/Helpers.h"

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreSkeletonInstance.h>

void startAllAnimations(Ogre::Entity* entity, bool loop) {
    if (!entity) return;
    if (entity->hasSkeleton()) entity->getSkeleton()->setBlendMode(Ogre::ANIMBLEND_CUMULATIVE);
    Ogre::AnimationStateSet* states = entity->getAllAnimationStates();
    if (!states) return;
    for (const auto& [name, state] : states->getAnimationStates()) {
        state->setEnabled(true);
        state->setLoop(loop);
        state->setTimePosition(0);
    }
}

void advanceAllAnimations(Ogre::Entity* entity, Ogre::Real dt) {
    if (!entity) return;
    Ogre::AnimationStateSet* states = entity->getAllAnimationStates();
    if (!states) return;
    for (const auto& [name, state] : states->getAnimationStates()) state->addTime(dt);
}
