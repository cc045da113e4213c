#ifndef MOSSDEN_SCENES_THIRD_FINALSEQUENCE_H
#define MOSSDEN_SCENES_THIRD_FINALSEQUENCE_H

// The closing sequence: after the fourth hole the camera leaves the
// asteroid and flies, ever faster, out through the mouth to a point far
// out on +Z, while the hidden jaw skeletons move the asteroids like teeth.
#include <OgreVector.h>

#include <list>

namespace Mossden {

class Scene3;

class FinalSequence {
public:
    // A tooth or eye: the jaw whose root bone moves it, and its rest place.
    struct Attachment {
        Ogre::Entity* jaw;
        Ogre::Entity* asteroid;
        bool moved;
        Ogre::Vector3 lastBonePosition;
        Ogre::Vector3 restPosition;
    };

    std::list<Attachment> attachments;
};

}  // namespace Mossden

#endif
