#include "scene/AnimationStarter.h"

#include <OgreAnimationState.h>
#include <OgreEntity.h>

#include "scene/Helpers.h"

void AnimationStarter::update(Ogre::Real dt) {
    elapsed += dt;
    for (auto it = pending.begin(); it != pending.end();) {
        if (it->second <= elapsed) {
            running.push_back(it->first);
            startAllAnimations(it->first, false);
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = running.begin(); it != running.end();) {
        Ogre::AnimationStateSet* states = (*it)->getAllAnimationStates();
        bool ended = false;
        if (states) {
            for (const auto& [name, state] : states->getAnimationStates()) {
                if (state->hasEnded()) {
                    ended = true;  // the other states stay where they are
                    break;
                }
                state->addTime(dt);
            }
        }
        it = ended ? running.erase(it) : std::next(it);
    }
}
