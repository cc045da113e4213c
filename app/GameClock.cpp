#include "app/GameClock.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace Mossden {

namespace {

std::optional<double> parseNumberIn(const char* text, double low, double high) {
    if (!text || !*text) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0') return std::nullopt;
    if (!std::isfinite(value) || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> parseTimeScale(const char* text) { return parseNumberIn(text, 0.1, 100.0); }

std::optional<double> parseFixedStep(const char* text) { return parseNumberIn(text, 1.0, 1000.0); }

double GameClock::stepFor(double realSeconds) const {
    if (settings.fixedStepMs > 0) return settings.fixedStepMs / 1000.0;
    // A negative or NaN frame time (a clock that went back) adds nothing.
    if (!(realSeconds > 0)) return 0.0;
    return std::min(realSeconds, MAX_REAL_FRAME_SECONDS) * settings.timeScale;
}

double GameClock::advanceFrame(double realSeconds) {
    const double step = stepFor(realSeconds);
    advance(step);
    ++frames;
    return step;
}

void GameClock::advance(double gameSeconds) {
    if (gameSeconds > 0) micros += static_cast<std::uint64_t>(std::llround(gameSeconds * 1e6));
}

}  // namespace Mossden
