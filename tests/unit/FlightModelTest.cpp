// The first scene's flight model: the forward input's boost over ticks, the
// track speed's growth, and the simulation the world generator times the
// camera track with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "scenes/first/FlightModel.h"

using Mossden::Boost;
using Mossden::FlightRates;

namespace {

constexpr float EPS = 1e-4f;

// A full budget, as after a minute of flight.
Boost rested() {
    Boost b;
    b.budgetMs = Mossden::BOOST_BUDGET_MAX_MS;
    return b;
}

struct Curve {
    std::vector<float> multiplier;  // after each tick
    int firstExhausted = -1;        // tick at which the budget ran out
};

Curve run(const FlightRates& rates, Boost boost, int ticks, float ms, const std::function<bool(int)>& forward) {
    Curve c;
    for (int i = 0; i < ticks; ++i) {
        boost.tick(rates, forward(i), ms);
        c.multiplier.push_back(boost.multiplier);
        if (boost.exhausted && c.firstExhausted < 0) c.firstExhausted = i;
    }
    return c;
}

std::string text(const Curve& c) {
    std::string s;
    for (float m : c.multiplier) s += std::to_string(m).substr(0, 4) + " ";
    return s;
}

}  // namespace

// Curves of the multiplier under typical inputs, each checked tick by tick
// against the rules: between 1 and the bound, rising at most keyAcceleration
// per 50 ms while the input acts, easing back at most keySlowdown per 50 ms
// otherwise (never to 1 in one step from the bound), plus what each input
// must show.
TEST(FlightModel, MultiplierCurves) {
    const FlightRates rates;  // 0.2 up, 0.1 down per 50 ms, bound 3
    struct Case {
        const char* name;
        std::function<bool(int)> forward;
        float ms;
        float peak;          // highest multiplier reached
        int exhaustedAt;     // tick at which the budget runs out, -1 never
        float last;          // multiplier after the last tick
    };
    const Case cases[] = {
        // 800 ms of budget, refilled by a ninth while spent: 18 ticks of 50 ms
        {"hold", [](int) { return true; }, 50, 3.0f, 17, 1.0f},
        {"hold, longer ticks", [](int) { return true; }, 67, 3.0f, 13, 1.0f},
        {"release after 5 ticks", [](int i) { return i < 5; }, 50, 2.0f, -1, 1.0f},
        // released and held again: a short second boost on the refilled budget
        {"exhaust, release, hold", [](int i) { return i < 20 || i >= 40; }, 50, 3.0f, 17, 1.0f},
        {"tap: 2 ticks of 6", [](int i) { return i % 6 < 2; }, 50, 1.4f, -1, 1.0f},
    };
    for (const Case& c : cases) {
        const int ticks = 60;
        const Curve curve = run(rates, rested(), ticks, c.ms, c.forward);
        SCOPED_TRACE(std::string(c.name) + ": " + text(curve));
        const float up = rates.keyAcceleration * c.ms / 50, down = rates.keySlowdown * c.ms / 50;
        float before = 1.0f, peak = 1.0f;
        for (int i = 0; i < ticks; ++i) {
            const float m = curve.multiplier[i];
            EXPECT_GE(m, 1.0f) << "tick " << i;
            EXPECT_LE(m, rates.maxKeyAcceleration) << "tick " << i;
            EXPECT_LE(m - before, up + EPS) << "tick " << i;
            EXPECT_LE(before - m, down + EPS) << "tick " << i;
            if (!c.forward(i)) {
                EXPECT_LE(m, before) << "released, tick " << i;
            }
            peak = std::max(peak, m);
            before = m;
        }
        EXPECT_NEAR(peak, c.peak, EPS);
        EXPECT_EQ(curve.firstExhausted, c.exhaustedAt);
        EXPECT_NEAR(curve.multiplier.back(), c.last, EPS);
    }
}

TEST(FlightModel, ExhaustedEasesBackWhileHeldAndWaitsForARelease) {
    const FlightRates rates;
    Boost b = rested();
    int ticks = 0;
    while (!b.exhausted && ticks < 100) {
        b.tick(rates, true, 50);
        ++ticks;
    }
    ASSERT_TRUE(b.exhausted);
    EXPECT_FLOAT_EQ(b.multiplier, 3.0f);
    // still held: one step down, not back to 1 at once
    b.tick(rates, true, 50);
    EXPECT_NEAR(b.multiplier, 2.9f, EPS);
    for (int i = 0; i < 40; ++i) b.tick(rates, true, 50);
    EXPECT_FLOAT_EQ(b.multiplier, 1.0f);
    EXPECT_TRUE(b.exhausted);
    // released, the budget has refilled above 100 for a while: held again, it acts
    b.tick(rates, false, 50);
    EXPECT_FALSE(b.exhausted);
    b.tick(rates, true, 50);
    EXPECT_TRUE(b.active);
    EXPECT_NEAR(b.multiplier, 1.2f, EPS);
}

TEST(FlightModel, BudgetStartsAbove100AndRefillsToItsCap) {
    const FlightRates rates;
    Boost b;  // at construction: no budget
    for (int i = 0; i < 18; ++i) b.tick(rates, true, 51);  // 900 ms held
    EXPECT_FLOAT_EQ(b.multiplier, 1.0f);
    EXPECT_FALSE(b.active);
    b.tick(rates, true, 51);  // 18 x 51 / 9 = 102 before this tick
    EXPECT_TRUE(b.active);
    EXPECT_NEAR(b.budgetMs, 102 - 51 + 51 / 9.0f, 1e-3);
    b.tick(rates, true, 51);  // under 100 now, but already boosting: goes on
    EXPECT_TRUE(b.active);
    for (int i = 0; i < 400; ++i) b.tick(rates, false, 51);
    EXPECT_FLOAT_EQ(b.budgetMs, Mossden::BOOST_BUDGET_MAX_MS);
}

TEST(FlightModel, TrackSpeedInTheAscentAndTheApproach) {
    // a fifth of the acceleration until the camera has been high
    EXPECT_FLOAT_EQ(Mossden::ascentTrackSpeed(10, 0.5f, false, 2), 10.2f);
    EXPECT_FLOAT_EQ(Mossden::ascentTrackSpeed(10, 0.5f, true, 2), 11.0f);
    // the approach speeds up to track time 1900, then brakes to 4
    float speed = 30, acceleration = 0.3f;
    Mossden::approachTrackSpeed(1000, 1, speed, acceleration);
    EXPECT_FLOAT_EQ(acceleration, 0.37f);
    EXPECT_FLOAT_EQ(speed, 30.37f);
    for (int i = 0; i < 10; ++i) Mossden::approachTrackSpeed(1950, 1, speed, acceleration);
    EXPECT_FLOAT_EQ(speed, Mossden::FLIGHT_APPROACH_MIN_SPEED);
}

// The generator's simulation: the flight without input depends on the
// bound (the approach's multiplier) alone, so the boost's rates can change
// without moving the generated track's timing; the older data (negative
// rates, bound -3) gives the very same flight.
TEST(FlightModel, TheFlightWithoutInputIgnoresTheBoostRates) {
    const auto height = [](float seconds) { return 32 + 80 * seconds; };
    const FlightRates now;
    FlightRates older;
    older.keyAcceleration = -0.8f;
    older.keySlowdown = 0.5f;
    older.maxKeyAcceleration = -3.0f;
    const auto a = Mossden::simulateFlight(now, 2600, height);
    const auto b = Mossden::simulateFlight(older, 2600, height);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].trackTime, b[i].trackTime) << i;
        EXPECT_EQ(a[i].approach, b[i].approach) << i;
    }
    // the approach begins once the height passes 8900 and runs to the end
    const auto first = std::find_if(a.begin(), a.end(), [](const auto& s) { return s.approach; });
    ASSERT_NE(first, a.end());
    ASSERT_NE(first, a.begin());
    EXPECT_GT(height(first->seconds), Mossden::FLIGHT_APPROACH_HEIGHT);
    EXPECT_LE(height(std::prev(first)->seconds), Mossden::FLIGHT_APPROACH_HEIGHT);
    EXPECT_TRUE(std::all_of(first, a.end(), [](const auto& s) { return s.approach; }));
    EXPECT_FLOAT_EQ(a.back().trackTime, 2600);
}
