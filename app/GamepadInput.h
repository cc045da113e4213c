#ifndef MOSSDEN_APP_GAMEPADINPUT_H
#define MOSSDEN_APP_GAMEPADINPUT_H

#include <OISJoyStick.h>

#include "app/GamepadMapper.h"

class MossdenScene;

namespace Mossden {

class InputChain;
class MossdenMenu;

// A gamepad drives the game through the same doors as the keyboard and the
// mouse: its actions (GamepadMapper) become the key and button events the
// scenes already handle (A holds W, B or the right trigger holds the left
// button, Start presses Escape), delivered through the input chain (menu
// first); the right stick turns the view through the scene's look, and over
// a menu the left stick moves the menu's cursor and A presses at it.
// Without a joystick nothing calls it.
class GamepadInput : public OIS::JoyStickListener {
public:
    // Where the pad's events go, asked anew at every event: the application
    // changes scenes and devices under it.
    struct Target {
        virtual ~Target() = default;
        virtual InputChain& input() = 0;
        virtual MossdenMenu& menu() = 0;
        virtual OIS::Keyboard* keyboard() = 0;
        virtual OIS::Mouse* mouse() = 0;
    };

    explicit GamepadInput(Target& target) : target(target) {}

    bool buttonPressed(const OIS::JoyStickEvent& evt, int button) override;
    bool buttonReleased(const OIS::JoyStickEvent& evt, int button) override;
    bool axisMoved(const OIS::JoyStickEvent& evt, int axis) override;

    // Once per frame, after the devices' events: the sticks' turn or cursor
    // movement for dt game seconds.
    void frame(float dt);

private:
    void act(const PadEvent& event);
    // A mouse event at the menu cursor (or the mouse's own place) with the
    // given relative movement.
    void mouseAt(float x, float y, float relX, float relY, int pressed);

    Target& target;
    GamepadMapper mapper;
};

}  // namespace Mossden

#endif
