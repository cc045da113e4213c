#include "mediagen/SkeletonData.h"

#include <stdexcept>

namespace MediaGen {

int SkeletonData::addBone(const std::string& name, int parent, const Ogre::Vector3& position,
                          const Ogre::Quaternion& orientation) {
    if (parent >= int(bones.size())) throw std::invalid_argument("addBone: parent must come first");
    if (boneIndex(name) >= 0) throw std::invalid_argument("addBone: duplicate bone " + name);
    bones.push_back(BoneData{name, parent, position, orientation});
    return int(bones.size()) - 1;
}

int SkeletonData::boneIndex(const std::string& name) const {
    for (std::size_t i = 0; i < bones.size(); ++i)
        if (bones[i].name == name) return int(i);
    return -1;
}

AnimationData& SkeletonData::addAnimation(const std::string& name, float length) {
    animations.push_back(AnimationData{name, length, {}});
    return animations.back();
}

void SkeletonData::addKey(AnimationData& animation, int bone, const BoneKey& key) {
    if (bone < 0 || bone >= int(bones.size())) throw std::invalid_argument("addKey: no such bone");
    for (auto& t : animation.tracks)
        if (t.bone == bone) {
            t.keys.push_back(key);
            return;
        }
    animation.tracks.push_back(BoneTrack{bone, {key}});
}

Ogre::Vector3 SkeletonData::bindPosition(int bone) const {
    Ogre::Vector3 p = Ogre::Vector3::ZERO;
    // Each step expresses the point in the next parent's space.
    for (int b = bone; b >= 0; b = bones[b].parent) p = bones[b].orientation * p + bones[b].position;
    return p;
}

}  // namespace MediaGen
