// The third scene's clocks and limits: spin table, landing turn, flight
// clock, hop and pitch limits.
#include <gtest/gtest.h>

#include <OgreMath.h>

#include "scenes/third/Motion.h"
#include "scenes/third/PolylinePath.h"
#include "scenes/third/ThirdSceneOwner.h"

using namespace Mossden;

TEST(ThirdMotion, SpinRowsTurnAboutZAtTheirRate) {
    struct Case {
        int row;
        float degreesPerSecond;
    };
    for (const Case& c : {Case{12, 0.0f}, Case{1, -4.5f}, Case{8, 4.5f}, Case{0, 1.5f}, Case{2, -1.5f},
                          Case{21, 1.5f}, Case{22, -4.5f}}) {
        SCOPED_TRACE(c.row);
        const SpinRow row = spinRow(c.row);
        EXPECT_FLOAT_EQ(spinRate(row), c.degreesPerSecond);
        const Ogre::Quaternion q = spinTurn(row, 2.0f);
        Ogre::Radian angle;
        Ogre::Vector3 axis;
        q.ToAngleAxis(angle, axis);
        if (c.degreesPerSecond == 0) {
            EXPECT_NEAR(angle.valueDegrees(), 0, 1e-3);
            continue;
        }
        // A turn about +Z by the rate, or about -Z by its opposite.
        EXPECT_NEAR(std::abs(axis.z), 1, 1e-5);
        EXPECT_NEAR(angle.valueDegrees() * axis.z, 2.0f * c.degreesPerSecond, 1e-3);
    }
}

TEST(ThirdMotion, TurnClockCompletesFasterAndFaster) {
    TurnClock clock;
    clock.start();
    float progress = 0;
    int frames = 0;
    while (progress <= 1 && frames < 1000) {
        progress = clock.step(0.01f);
        ++frames;
    }
    // time = t + t^2 / 2 reaches 1.5 after about 1.0 s.
    EXPECT_NEAR(frames * 0.01f, 1.0f, 0.02f);
    clock.start();
    EXPECT_FLOAT_EQ(clock.step(0.5f), 0.5f / 1.5f);
    EXPECT_FLOAT_EQ(clock.speed, 1.5f);
}

TEST(ThirdMotion, FlightOfFiveThousandUnitsTakesAboutOneAndAHalfSeconds) {
    FlightClock clock;
    clock.start(5000);
    EXPECT_FLOAT_EQ(clock.duration, 5);
    float p = 0, seconds = 0;
    while (p < 1 && seconds < 10) {
        p = clock.step(1.0f / 60);
        seconds += 1.0f / 60;
    }
    // t + 1.5 t^2 = 5 at t = 1.52 s; progress is read before each step.
    EXPECT_NEAR(seconds, 1.54f, 0.03f);
    EXPECT_FLOAT_EQ(p, 1);
}

TEST(ThirdMotion, FlightProgressIsClampedAndAZeroFlightIsDone) {
    FlightClock clock;
    clock.start(100);
    clock.step(1);
    EXPECT_FLOAT_EQ(clock.step(1), 1.0f);
    EXPECT_LT(clock.remaining(), 0);
    FlightClock none;
    none.start(0);
    EXPECT_FLOAT_EQ(none.step(0.016f), 1.0f);
}

TEST(ThirdMotion, HopProgress) {
    EXPECT_FLOAT_EQ(hopProgress(0), 0);
    EXPECT_FLOAT_EQ(hopProgress(0.75f), 0.5f);
    EXPECT_FLOAT_EQ(hopProgress(3), 1);
}

TEST(ThirdMotion, PitchLimits) {
    struct Case {
        float degrees;
        bool outside;
    };
    for (const Case& c : {Case{0, false}, Case{90, false}, Case{159, false}, Case{161, true},
                          Case{-16, false}, Case{-18, true}}) {
        SCOPED_TRACE(c.degrees);
        const Ogre::Quaternion q(Ogre::Degree(c.degrees), Ogre::Vector3::UNIT_X);
        EXPECT_EQ(pitchOutsideLimits(q), c.outside);
    }
}

// The phase trace names every phase; a value outside the enum is reported
// loudly (a failed assertion in debug builds) instead of read as some phase.
TEST(ThirdPhases, NamesAndABadValue) {
    EXPECT_STREQ(phaseName(Scene3Phase::Intro), "Intro");
    EXPECT_STREQ(phaseName(Scene3Phase::Finale), "Finale");
    const char* name = nullptr;
    EXPECT_DEBUG_DEATH(name = phaseName(static_cast<Scene3Phase>(42)), "bad phase 42 in phaseName");
    if (name) {
        EXPECT_STREQ(name, "?");  // release builds go on
    }
}

TEST(ThirdPolylinePath, ParametersFollowArcLength) {
    PolylinePath path;
    EXPECT_EQ(path.position(0.5f), Ogre::Vector3::ZERO);
    path.add({0, 0, 0});
    EXPECT_EQ(path.position(0.7f), Ogre::Vector3::ZERO);  // one point: everywhere
    path.add({10, 0, 0});
    path.add({10, 30, 0});
    EXPECT_FLOAT_EQ(path.totalLength(), 40);
    ASSERT_EQ(path.entries().size(), 3u);
    EXPECT_FLOAT_EQ(path.entries()[1].parameter, 0.25f);
    EXPECT_FLOAT_EQ(path.entries()[2].parameter, 1.0f);
    struct Case {
        float s;
        Ogre::Vector3 expected;
    };
    for (const Case& c : {Case{0, {0, 0, 0}}, Case{0.125f, {5, 0, 0}}, Case{0.25f, {10, 0, 0}},
                          Case{0.625f, {10, 15, 0}}, Case{1, {10, 30, 0}}, Case{-1, {0, 0, 0}},
                          Case{7, {10, 30, 0}}}) {
        SCOPED_TRACE(c.s);
        EXPECT_TRUE(path.position(c.s).positionEquals(c.expected, 1e-4f));
    }
    path.clear();
    EXPECT_FLOAT_EQ(path.totalLength(), 0);
    EXPECT_TRUE(path.entries().empty());
}

TEST(ThirdPolylinePath, RepeatedPointsKeepTheLastOne) {
    // findPath ends its routes with the target repeated: zero-length steps.
    PolylinePath path;
    path.add({0, 0, 0});
    path.add({0, 0, 8});
    path.add({0, 0, 8});
    EXPECT_TRUE(path.position(1).positionEquals({0, 0, 8}));
    EXPECT_TRUE(path.position(0.5f).positionEquals({0, 0, 4}));
}
