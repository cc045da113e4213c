#include "Flight.h"

#include <algorithm>

namespace FirstWorld {

namespace {
constexpr float START_HEIGHT = 32.0f;
constexpr float END_HEIGHT = 8960.0f;
}  // namespace

float ascentHeight(float seconds) {
    const float u = std::clamp(seconds / ASCENT_SECONDS, 0.0f, 1.0f);
    return START_HEIGHT + (END_HEIGHT - START_HEIGHT) * u * u;
}

}  // namespace FirstWorld
