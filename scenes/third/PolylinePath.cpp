#include "scenes/third/PolylinePath.h"

#include <algorithm>

namespace Mossden {

void PolylinePath::add(const Ogre::Vector3& point) {
    if (!mEntries.empty()) mTotal += point.distance(mEntries.back().point);
    mEntries.push_back({point, 0, mTotal});
    for (Entry& e : mEntries) e.parameter = mTotal > 0 ? e.length / mTotal : 0;
}

void PolylinePath::clear() {
    mEntries.clear();
    mTotal = 0;
}

Ogre::Vector3 PolylinePath::position(float s) const {
    if (mEntries.empty()) return Ogre::Vector3::ZERO;
    s = std::clamp(s, 0.0f, 1.0f);
    const Entry* below = nullptr;
    for (const Entry& e : mEntries) {
        if (e.parameter == s) return e.point;
        if (e.parameter < s) {
            below = &e;
            continue;
        }
        // The first entry above s.
        if (!below) return e.point;
        const float span = e.parameter - below->parameter;
        return below->point + (e.point - below->point) * ((s - below->parameter) / span);
    }
    return mEntries.back().point;
}

}  // namespace Mossden
