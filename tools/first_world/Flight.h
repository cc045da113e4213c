#ifndef MOSSDEN_TOOLS_FIRST_WORLD_FLIGHT_H
#define MOSSDEN_TOOLS_FIRST_WORLD_FLIGHT_H

// The height schedule the camera track is built for. The flight's speed
// rules are the game's own (scenes/first/FlightModel.h): simulated with
// this schedule, they give the track's key times, so that the camera is
// where the world expects it at each second of play.
#include "scenes/first/FlightModel.h"

namespace FirstWorld {

using Mossden::FlightRates;
using Mossden::FlightSample;
using Mossden::simulateFlight;

// Camera height in the ascent at a second of play.
float ascentHeight(float seconds);
constexpr float ASCENT_SECONDS = 125.0f;

}  // namespace FirstWorld

#endif
