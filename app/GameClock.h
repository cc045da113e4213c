#ifndef MOSSDEN_APP_GAMECLOCK_H
#define MOSSDEN_APP_GAMECLOCK_H

// Game time, free of the engine. The application advances one GameClock once
// per rendered frame; every timer the game logic reads is a GameTimer on that
// clock, so the time scale, a fixed step or a stall affect all of it alike.
#include <cstdint>
#include <optional>

namespace Mossden {

// How a frame's real duration becomes game time.
struct ClockSettings {
    double timeScale = 1.0;    // game seconds per real second
    double fixedStepMs = 0.0;  // > 0: every frame is exactly this long, real time is ignored
};

class GameClock {
public:
    // Real frames longer than this count as this long (a scene load, a
    // stall), so that nothing jumps after them. Applied before the scale.
    static constexpr double MAX_REAL_FRAME_SECONDS = 0.25;

    GameClock() = default;
    explicit GameClock(const ClockSettings& settings) : settings(settings) {}

    // The game seconds a frame of `realSeconds` advances the clock by.
    double stepFor(double realSeconds) const;
    // Ends a frame: advances game time by stepFor(realSeconds), counts the
    // frame and returns the step.
    double advanceFrame(double realSeconds);
    // Moves game time on without counting a frame (tests).
    void advance(double gameSeconds);

    const ClockSettings& configuration() const { return settings; }
    void configure(const ClockSettings& next) { settings = next; }

    std::uint64_t microseconds() const { return micros; }
    std::uint64_t frame() const { return frames; }

private:
    ClockSettings settings;
    std::uint64_t micros = 0;  // whole microseconds: timers read it without drift
    std::uint64_t frames = 0;
};

// A stopwatch on a GameClock with the calls of the engine's timer
// (milliseconds since the last reset), so that code written against that
// timer reads game time unchanged.
class GameTimer {
public:
    explicit GameTimer(const GameClock& clock) : clock(&clock), start(clock.microseconds()) {}

    void reset() { start = clock->microseconds(); }
    unsigned long getMilliseconds() const { return static_cast<unsigned long>(getMicroseconds() / 1000); }
    unsigned long getMicroseconds() const { return static_cast<unsigned long>(clock->microseconds() - start); }

private:
    const GameClock* clock;
    std::uint64_t start;
};

// Reads a game-time multiplier: a finite number in [0.1, 100].
std::optional<double> parseTimeScale(const char* text);
// Reads a fixed frame step in milliseconds: a finite number in [1, 1000].
// Anything else (empty, trailing text, out of range) gives nothing.
std::optional<double> parseFixedStep(const char* text);

}  // namespace Mossden

#endif
