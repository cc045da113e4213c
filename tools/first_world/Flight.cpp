#include "Flight.h"

#include <algorithm>
#include <cmath>

namespace FirstWorld {

namespace {
constexpr float START_HEIGHT = 32.0f;
constexpr float END_HEIGHT = 8960.0f;
constexpr float HIGH_ALTITUDE = 200.0f, APPROACH_HEIGHT = 8900.0f;
}  // namespace

float ascentHeight(float seconds) {
    const float u = std::clamp(seconds / ASCENT_SECONDS, 0.0f, 1.0f);
    return START_HEIGHT + (END_HEIGHT - START_HEIGHT) * u * u;
}

std::vector<FlightSample> simulateFlight(const FlightRates& rates, float length) {
    std::vector<FlightSample> out;
    const float dt = 1.0f / 60.0f;
    float t = 0, T = 0, speed = 0, acceleration = rates.cameraAcceleration, multiplier = 1.0f;
    bool high = false;
    int phase = 2;
    while (T < length && t < 1000) {
        const float h = ascentHeight(t);
        if (phase == 2) {
            if (h > APPROACH_HEIGHT) {
                phase = 3;
                multiplier = std::abs(rates.maxKeyAcceleration);
            }
            speed += acceleration / (high ? 1.0f : 5.0f) * dt;
        }
        if (phase == 3) {
            if (T > 1900) {
                acceleration += 9 * dt;
                speed = std::max(4.0f, speed - dt * acceleration);
            } else {
                acceleration += 0.07f * dt;
                speed += dt * acceleration;
            }
        }
        out.push_back({t, T, phase});
        T += speed * dt * multiplier;
        t += dt;
        if (h > HIGH_ALTITUDE) high = true;
    }
    out.push_back({t, std::min(T, length), phase});
    return out;
}

}  // namespace FirstWorld
