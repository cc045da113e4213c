#ifndef MOSSDEN_SCENES_THIRD_POLYLINEPATH_H
#define MOSSDEN_SCENES_THIRD_POLYLINEPATH_H

// A path of straight segments through points, travelled by arc length: the
// parameter runs from 0 at the first point to 1 at the last, each point
// sitting at its share of the total length.
#include <OgreVector.h>

#include <vector>

namespace Mossden {

class PolylinePath {
public:
    struct Entry {
        Ogre::Vector3 point;
        float parameter;  // cumulative length / total length
        float length;     // cumulative length up to this point
    };

    void add(const Ogre::Vector3& point);
    void clear();
    // The point at parameter s (clamped to [0, 1]): a point whose parameter
    // is s exactly, else the straight line between the last point below s
    // and the first above it. An empty path gives the origin.
    Ogre::Vector3 position(float s) const;

    const std::vector<Entry>& entries() const { return mEntries; }
    float totalLength() const { return mTotal; }

private:
    std::vector<Entry> mEntries;
    float mTotal = 0;
};

}  // namespace Mossden

#endif
