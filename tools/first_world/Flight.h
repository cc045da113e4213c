#ifndef MOSSDEN_TOOLS_FIRST_WORLD_FLIGHT_H
#define MOSSDEN_TOOLS_FIRST_WORLD_FLIGHT_H

// The camera's flight without input, simulated with the scene's own speed
// rules, so that the track's key times put the camera where the world
// expects it at each second of play.
#include <vector>

namespace FirstWorld {

struct FlightRates {
    float cameraAcceleration = 0.24f;
    float keyAcceleration = -0.8f;      // per 50 ms; negative: W speeds the flight up
    float keySlowdown = 0.5f;           // per 50 ms
    float maxKeyAcceleration = -3.0f;   // |value| is the approach's multiplier
};

struct FlightSample {
    float seconds;    // since the ascent began
    float trackTime;  // "CameraTrack" time position
    int phase;        // 2 ascent, 3 approach
};

// Camera height in the ascent at a second of play (the schedule the track
// is built for).
float ascentHeight(float seconds);
constexpr float ASCENT_SECONDS = 125.0f;

// Simulates the flight at 60 frames a second until track time `length`.
std::vector<FlightSample> simulateFlight(const FlightRates& rates, float length);

}  // namespace FirstWorld

#endif
