// Engine-free rules of the first scene: the height limit, the rig's pitch
// limit rule and the path movers' heading.
#include <gtest/gtest.h>

#include "scenes/first/PathMoverList.h"
#include "scenes/first/Scene1.h"
#include "scenes/first/TrackCameraRig.h"

using Ogre::Quaternion;
using Ogre::Vector3;

TEST(FirstSceneMath, HeightLimitWalksThePointsInListOrder) {
    const std::list<Vector3> points = {Vector3(10, 100, 0), Vector3(20, 50, 0), Vector3(5, 400, 0)};
    EXPECT_FLOAT_EQ(Mossden::heightLimit(points, 70), 10);   // not the nearest (50)
    EXPECT_FLOAT_EQ(Mossden::heightLimit(points, 100), 5);   // strictly above
    EXPECT_FLOAT_EQ(Mossden::heightLimit(points, 400), Mossden::NO_HEIGHT_LIMIT);
    EXPECT_FLOAT_EQ(Mossden::heightLimit({}, 0), Mossden::NO_HEIGHT_LIMIT);
}

TEST(FirstSceneMath, PitchLimitRule) {
    struct Case {
        float x1, a0, a1, lim;
        bool takenBack;
    };
    const Case cases[] = {
        {0.2f, 10, 20, 30, true},      // positive side below 160
        {0.9f, 150, 165, 30, false},   // positive side beyond 160
        {-0.5f, 140, 155, 30, true},   // down past 180 - lim
        {-0.5f, 160, 155, 30, false},  // back into the band from below
        {-0.5f, 40, 25, 30, true},     // up past lim
        {-0.5f, 20, 25, 30, false},    // back into the band from above
        {-0.5f, 60, 70, 30, false},    // inside the band
        {-0.5f, 65, 66, 3000, true},   // no points: every pitch goes back
        {-0.5f, 65, 64, 3000, true},
        {0.0f, 0, 0, 30, false},       // collapsed: neither side
    };
    for (const Case& c : cases)
        EXPECT_EQ(Mossden::pitchTakenBack(c.x1, c.a0, c.a1, c.lim), c.takenBack)
            << c.x1 << " " << c.a0 << " -> " << c.a1 << " lim " << c.lim;
}

TEST(FirstSceneMath, PitchAngleOfTheRigsStart) {
    const Quaternion q(Ogre::Degree(-65), Vector3::UNIT_X);
    EXPECT_NEAR(Mossden::pitchAngleOf(q), 65.0f, 1e-3);
    EXPECT_LT(q.x, 0);
    EXPECT_NEAR(Mossden::pitchAngleOf(Quaternion::IDENTITY), 0.0f, 1e-3);
}

TEST(FirstSceneMath, HeadingTurnsAboutTheVerticalOnly) {
    const Quaternion start = Quaternion::IDENTITY;
    // toward +X and a little up: only the horizontal part counts
    Quaternion q = Mossden::headingToward(start, Vector3::ZERO, Vector3(10, 5, 0));
    EXPECT_TRUE((q * Vector3::UNIT_Z).positionEquals(Vector3::UNIT_X, 1e-4f));
    EXPECT_TRUE((q * Vector3::UNIT_Y).positionEquals(Vector3::UNIT_Y, 1e-4f));
    // no horizontal motion (at the end, or straight up): heading kept
    for (const Vector3& p2 : {Vector3::ZERO, Vector3(0, 30, 0)})
        EXPECT_TRUE(Mossden::headingToward(q, Vector3::ZERO, p2).equals(q, Ogre::Degree(0.1f)));
    // a tilted object keeps its tilt while turning
    const Quaternion tilted(Ogre::Degree(20), Vector3::UNIT_X);
    q = Mossden::headingToward(tilted, Vector3::ZERO, Vector3(0, 0, -10));
    Vector3 forward = q * Vector3::UNIT_Z;
    forward.y = 0;
    EXPECT_TRUE(forward.normalisedCopy().positionEquals(Vector3::NEGATIVE_UNIT_Z, 1e-3f));
}
