#include "app/GamepadMapper.h"

#include <algorithm>
#include <cmath>

namespace Mossden {

std::optional<PadEvent> GamepadMapper::buttonChanged(int button, bool pressed, bool menuShown) {
    if (button == layout.buttonA) {
        if (pressed) {
            aHeld = menuShown ? PadAction::MenuPress : PadAction::Primary;
            return PadEvent{*aHeld, true};
        }
        if (!aHeld) return std::nullopt;
        const PadEvent release{*aHeld, false};
        aHeld.reset();
        return release;
    }
    if (button == layout.buttonB) return PadEvent{PadAction::FlyTo, pressed};
    if (button == layout.buttonStart) return PadEvent{PadAction::Menu, pressed};
    return std::nullopt;
}

std::optional<PadEvent> GamepadMapper::axisMoved(int index, int value) {
    value = std::clamp(value, AXIS_MIN, AXIS_MAX);
    if (index >= 0 && index < AXIS_COUNT) axes[index] = value;
    if (index != layout.rightTrigger) return std::nullopt;
    const float travel = float(value - AXIS_MIN) / float(AXIS_MAX - AXIS_MIN);
    if (!triggerDown && travel > TRIGGER_PRESS) {
        triggerDown = true;
        return PadEvent{PadAction::FlyTo, true};
    }
    if (triggerDown && travel < TRIGGER_RELEASE) {
        triggerDown = false;
        return PadEvent{PadAction::FlyTo, false};
    }
    return std::nullopt;
}

std::array<float, 2> GamepadMapper::stick(int x, int y) {
    const float fx = std::clamp(float(x) / AXIS_MAX, -1.0f, 1.0f);
    const float fy = std::clamp(float(y) / AXIS_MAX, -1.0f, 1.0f);
    const float length = std::hypot(fx, fy);
    if (length <= STICK_DEAD_ZONE) return {0.0f, 0.0f};
    // Radial, so that a diagonal is not cut to an axis; rescaled from the
    // dead zone's edge, and a corner beyond the unit circle counts as full.
    const float scaled = (std::min(length, 1.0f) - STICK_DEAD_ZONE) / (1.0f - STICK_DEAD_ZONE);
    return {fx / length * scaled, fy / length * scaled};
}

LookStep GamepadMapper::look(float dt, const LookOptions& options) const {
    const auto s = stick(axis(layout.rightX), axis(layout.rightY));
    // A full deflection for one second turns LOOK_DEGREES_PER_SECOND: the
    // mouse rule with one "pixel" per unit of deflection and second.
    return lookStep(s[0] * dt, s[1] * dt, LOOK_DEGREES_PER_SECOND, options);
}

std::array<float, 2> GamepadMapper::cursorMove(float dt) const {
    const auto s = stick(axis(layout.leftX), axis(layout.leftY));
    return {s[0] * CURSOR_PIXELS_PER_SECOND * dt, s[1] * CURSOR_PIXELS_PER_SECOND * dt};
}

}  // namespace Mossden
