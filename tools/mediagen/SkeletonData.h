#ifndef MOSSDEN_TOOLS_MEDIAGEN_SKELETONDATA_H
#define MOSSDEN_TOOLS_MEDIAGEN_SKELETONDATA_H

// A skeleton as plain data: named bones in a hierarchy (a bone's handle is
// its index; parents come before their children) and named animations made
// of key frames per bone. Key frames are offsets from the bind pose, as the
// engine applies them. OgreExport writes it as a binary .skeleton.
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include <string>
#include <vector>

namespace MediaGen {

struct BoneData {
    std::string name;
    int parent = -1;  // index of the parent bone, -1 for a root
    Ogre::Vector3 position = Ogre::Vector3::ZERO;  // bind pose, relative to the parent
    Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
};

struct BoneKey {
    float time = 0;  // seconds
    Ogre::Vector3 translate = Ogre::Vector3::ZERO;
    Ogre::Quaternion rotate = Ogre::Quaternion::IDENTITY;
    Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
};

struct BoneTrack {
    int bone = 0;
    std::vector<BoneKey> keys;  // ascending times
};

struct AnimationData {
    std::string name;
    float length = 0;  // seconds
    std::vector<BoneTrack> tracks;
};

class SkeletonData {
public:
    std::vector<BoneData> bones;
    std::vector<AnimationData> animations;

    // Adds a bone under `parent` (-1: a root) and returns its handle.
    int addBone(const std::string& name, int parent, const Ogre::Vector3& position,
                const Ogre::Quaternion& orientation = Ogre::Quaternion::IDENTITY);
    int boneIndex(const std::string& name) const;  // -1 when absent
    AnimationData& addAnimation(const std::string& name, float length);
    // Appends a key for `bone` to an animation (creating the bone's track).
    void addKey(AnimationData& animation, int bone, const BoneKey& key);
    // Position of a bone's origin in skeleton space in the bind pose.
    Ogre::Vector3 bindPosition(int bone) const;
};

}  // namespace MediaGen

#endif
