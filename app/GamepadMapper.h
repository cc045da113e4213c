#ifndef MOSSDEN_APP_GAMEPADMAPPER_H
#define MOSSDEN_APP_GAMEPADMAPPER_H

#include <array>
#include <optional>

#include "app/LookControl.h"

namespace Mossden {

// What a gamepad asks of the game.
enum class PadAction {
    Primary,    // A in play: hop in the first scene, speed up the flight
    FlyTo,      // B or the right trigger: fly to the asteroid in view
    Menu,       // Start: open (or close) the in-game menu
    MenuPress,  // A while a menu is shown: press at the menu cursor
};

struct PadEvent {
    PadAction action;
    bool pressed;  // false when the button is let go
    bool operator==(const PadEvent& o) const { return action == o.action && pressed == o.pressed; }
};

// Button and axis numbers as OIS reports them for the common Linux pad
// layout (the kernel's order: A, B, X, Y, LB, RB, Back, Start; left stick
// X, Y, left trigger, right stick X, Y, right trigger).
struct PadLayout {
    int buttonA = 0;
    int buttonB = 1;
    int buttonStart = 7;
    int leftX = 0;
    int leftY = 1;
    int rightX = 3;
    int rightY = 4;
    int rightTrigger = 5;
};

// Turns joystick events into game actions, and the sticks into look turns
// and menu cursor moves. Engine-free: the scenes' joystick listeners feed it
// the numbers from OIS's events and act on what it returns.
class GamepadMapper {
public:
    static constexpr int AXIS_MIN = -32768;  // OIS's axis range
    static constexpr int AXIS_MAX = 32767;
    // Stick deflection (fraction of full) under which a worn or resting
    // stick counts as centred; beyond it the output grows from 0 again, so
    // that the slowest turn is still slow.
    static constexpr float STICK_DEAD_ZONE = 0.24f;
    // A trigger rests at AXIS_MIN; its travel is pressed beyond
    // TRIGGER_PRESS and let go under TRIGGER_RELEASE, so a trigger held half
    // way does not flicker.
    static constexpr float TRIGGER_PRESS = 0.75f;
    static constexpr float TRIGGER_RELEASE = 0.6f;
    // Turn at full deflection with sensitivity 1, degrees per second.
    static constexpr float LOOK_DEGREES_PER_SECOND = 120.0f;
    // Menu cursor speed at full deflection, pixels per second.
    static constexpr float CURSOR_PIXELS_PER_SECOND = 900.0f;
    static constexpr int AXIS_COUNT = 8;

    explicit GamepadMapper(const PadLayout& layout = {}) : layout(layout) {}

    // A button went down or up. menuShown: a menu is over the game, where A
    // presses at the cursor. A's release gives the release of what its
    // press gave, even when the menu came or went in between, and nothing
    // when its press was never seen (held as the game started).
    std::optional<PadEvent> buttonChanged(int button, bool pressed, bool menuShown);
    // An axis moved to value (AXIS_MIN..AXIS_MAX; others are clamped). The
    // right trigger crossing its thresholds gives FlyTo pressed or let go.
    std::optional<PadEvent> axisMoved(int axis, int value);

    // The look turn for dt seconds of the right stick as it is now.
    LookStep look(float dt, const LookOptions& options) const;
    // The menu cursor's movement in pixels for dt seconds of the left stick.
    std::array<float, 2> cursorMove(float dt) const;

    // A stick's two axes with the radial dead zone applied, each -1..1.
    static std::array<float, 2> stick(int x, int y);

private:
    int axis(int index) const { return index >= 0 && index < AXIS_COUNT ? axes[index] : 0; }

    PadLayout layout;
    std::array<int, AXIS_COUNT> axes{};
    bool triggerDown = false;
    std::optional<PadAction> aHeld;  // what the A held down gave
};

}  // namespace Mossden

#endif
