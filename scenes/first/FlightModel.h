#ifndef MOSSDEN_SCENES_FIRST_FLIGHTMODEL_H
#define MOSSDEN_SCENES_FIRST_FLIGHTMODEL_H

// The first scene's flight as plain arithmetic: how the camera track's
// speed grows in the ascent and the approach, and how the forward input
// (W or the left button) boosts it. The game's Scene1 runs these rules
// frame by frame; the world generator (tools/first_world) runs the same
// rules in simulateFlight to time the track it builds, so a change here
// moves both together. No engine headers: the generator has its own math.
#include <vector>

namespace Mossden {

// Heights are world units of the camera node; "track time" is a time
// position of the "CameraTrack" animation.
constexpr float FLIGHT_HIGH_ALTITUDE = 200.0f;      // from here the ascent accelerates fully
constexpr float FLIGHT_APPROACH_HEIGHT = 8900.0f;   // above it the ascent ends
constexpr float FLIGHT_LOW_ACCELERATION_DIVISOR = 5.0f;  // below FLIGHT_HIGH_ALTITUDE
constexpr float FLIGHT_APPROACH_SLOWDOWN_TIME = 1900.0f;  // track time at which the approach brakes
constexpr float FLIGHT_APPROACH_BRAKE_GROWTH = 9.0f;      // per second
constexpr float FLIGHT_APPROACH_SPEEDUP_GROWTH = 0.07f;   // per second
constexpr float FLIGHT_APPROACH_MIN_SPEED = 4.0f;

constexpr float BOOST_BUDGET_MAX_MS = 800.0f;
constexpr float BOOST_BUDGET_START_MS = 100.0f;  // budget needed to start a boost
constexpr float BOOST_REFILL_DIVISOR = 9.0f;     // the budget refills at a ninth of real time
constexpr float BOOST_TICK_UNIT_MS = 50.0f;      // the key rates are per 50 ms

// The flight's values as "first_scene.xml" carries them; the defaults are
// the ones the generator writes.
struct FlightRates {
    float cameraAcceleration = 0.24f;  // growth of the track speed per second
    float keyAcceleration = 0.2f;      // multiplier gained per 50 ms of forward input
    float keySlowdown = 0.1f;          // multiplier lost per 50 ms without it
    float maxKeyAcceleration = 3.0f;   // the boost's bound, above 1; also the approach's multiplier
};

// The multiplier on the track's time through the approach (the player's
// input does not act there).
float approachMultiplier(const FlightRates& rates);

// One frame of the ascent: the track speed after dt seconds.
float ascentTrackSpeed(float trackSpeed, float cameraAcceleration, bool highAltitude, float dt);

// One frame of the approach at track time trackTime: the acceleration
// grows, and the speed rises until FLIGHT_APPROACH_SLOWDOWN_TIME, then
// brakes down to FLIGHT_APPROACH_MIN_SPEED.
void approachTrackSpeed(float trackTime, float dt, float& trackSpeed, float& cameraAcceleration);

// The forward input's boost, ticked about every 50 ms outside the approach.
// Held, it raises the multiplier toward maxKeyAcceleration at keyAcceleration
// per 50 ms and spends one millisecond of budget per millisecond; once the
// budget is spent the input must be released before it acts again. Without
// it (released or exhausted) the multiplier eases back toward 1 at
// keySlowdown per 50 ms. The multiplier never drops below 1 and never
// passes the bound.
struct Boost {
    bool active = false;     // the input is boosting now
    bool exhausted = false;  // the budget ran out while the input was held
    float budgetMs = 0;      // milliseconds of boost left, 0 .. BOOST_BUDGET_MAX_MS
    float multiplier = 1.0f; // factor on the track's time

    void tick(const FlightRates& rates, bool forward, float ms);
};

// One simulated frame of the flight without input.
struct FlightSample {
    float seconds;    // since the ascent began
    float trackTime;  // "CameraTrack" time position
    bool approach;    // false in the ascent
};

// The flight without input at 60 frames a second, in the order of the
// scene's frame update, until track time `length` (or 1000 seconds).
// heightAt gives the camera's height at a second of the ascent.
std::vector<FlightSample> simulateFlight(const FlightRates& rates, float length, float (*heightAt)(float seconds));

}  // namespace Mossden

#endif
