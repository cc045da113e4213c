#include "scenes/first/FlightModel.h"

#include <algorithm>
#include <cmath>

namespace Mossden {

namespace {
constexpr float SIMULATION_STEP = 1.0f / 60.0f;  // seconds
constexpr float SIMULATION_LIMIT = 1000.0f;      // seconds
}  // namespace

float approachMultiplier(const FlightRates& rates) { return std::abs(rates.maxKeyAcceleration); }

float ascentTrackSpeed(float trackSpeed, float cameraAcceleration, bool highAltitude, float dt) {
    return trackSpeed + cameraAcceleration / (highAltitude ? 1.0f : FLIGHT_LOW_ACCELERATION_DIVISOR) * dt;
}

void approachTrackSpeed(float trackTime, float dt, float& trackSpeed, float& cameraAcceleration) {
    if (trackTime > FLIGHT_APPROACH_SLOWDOWN_TIME) {
        cameraAcceleration += FLIGHT_APPROACH_BRAKE_GROWTH * dt;
        trackSpeed = std::max(FLIGHT_APPROACH_MIN_SPEED, trackSpeed - dt * cameraAcceleration);
    } else {
        cameraAcceleration += FLIGHT_APPROACH_SPEEDUP_GROWTH * dt;
        trackSpeed += dt * cameraAcceleration;
    }
}

void Boost::tick(const FlightRates& rates, bool forward, float ms) {
    const float units = ms / BOOST_TICK_UNIT_MS;
    if (forward && !exhausted && (budgetMs > BOOST_BUDGET_START_MS || (budgetMs > 0 && active))) {
        active = true;
        if (multiplier < rates.maxKeyAcceleration)
            multiplier = std::min(multiplier + rates.keyAcceleration * units, rates.maxKeyAcceleration);
        budgetMs -= ms;
        if (budgetMs <= 0) exhausted = true;
    } else if (multiplier > 1.0f) {
        multiplier = std::max(multiplier - rates.keySlowdown * units, 1.0f);
    }
    // Nothing the file says may leave the flight slower than without input.
    multiplier = std::max(multiplier, 1.0f);
    if (!forward) {
        active = false;
        exhausted = false;
    }
    budgetMs = std::min(budgetMs + ms / BOOST_REFILL_DIVISOR, BOOST_BUDGET_MAX_MS);
}

std::vector<FlightSample> simulateFlight(const FlightRates& rates, float length, float (*heightAt)(float seconds)) {
    std::vector<FlightSample> out;
    const float dt = SIMULATION_STEP;
    float t = 0, trackTime = 0, speed = 0, acceleration = rates.cameraAcceleration, multiplier = 1.0f;
    bool high = false, approach = false;
    while (trackTime < length && t < SIMULATION_LIMIT) {
        const float h = heightAt(t);
        if (!approach) {
            if (h > FLIGHT_APPROACH_HEIGHT) {
                approach = true;
                multiplier = approachMultiplier(rates);
            }
            speed = ascentTrackSpeed(speed, acceleration, high, dt);
        }
        if (approach) approachTrackSpeed(trackTime, dt, speed, acceleration);
        out.push_back({t, trackTime, approach});
        trackTime += speed * dt * multiplier;
        t += dt;
        if (h > FLIGHT_HIGH_ALTITUDE) high = true;
    }
    out.push_back({t, std::min(trackTime, length), approach});
    return out;
}

}  // namespace Mossden
