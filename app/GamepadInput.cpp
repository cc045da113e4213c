#include "app/GamepadInput.h"

#include "app/InputChain.h"

#include <OISKeyboard.h>
#include <OISMouse.h>

#include <algorithm>
#include <cmath>

#include "menu/MenuCursor.h"
#include "menu/MossdenMenu.h"
#include "scene/MossdenScene.h"

namespace Mossden {

namespace {
// What mouseAt delivers.
constexpr int MOVE = 0;
constexpr int PRESS = 1;
constexpr int RELEASE = 2;
}  // namespace

bool GamepadInput::buttonPressed(const OIS::JoyStickEvent&, int button) {
    if (const auto event = mapper.buttonChanged(button, true, target.menu().visible)) act(*event);
    return true;
}

bool GamepadInput::buttonReleased(const OIS::JoyStickEvent&, int button) {
    if (const auto event = mapper.buttonChanged(button, false, target.menu().visible)) act(*event);
    return true;
}

bool GamepadInput::axisMoved(const OIS::JoyStickEvent& evt, int axis) {
    if (axis < 0 || axis >= static_cast<int>(evt.state.mAxes.size())) return true;
    if (const auto event = mapper.axisMoved(axis, evt.state.mAxes[axis].abs)) act(*event);
    return true;
}

void GamepadInput::act(const PadEvent& event) {
    InputChain& input = target.input();
    if (!input.currentScene()) return;
    auto key = [&](OIS::KeyCode code) {
        const OIS::KeyEvent keyEvent(target.keyboard(), code, 0);
        if (event.pressed)
            input.keyPressed(keyEvent);
        else
            input.keyReleased(keyEvent);
    };
    switch (event.action) {
    case PadAction::Primary: key(OIS::KC_W); break;
    case PadAction::Menu: key(OIS::KC_ESCAPE); break;
    case PadAction::FlyTo:
    case PadAction::MenuPress: {
        const MossdenMenu& menu = target.menu();
        // Over a menu the press lands at the menu's cursor; in play where the
        // mouse is (the scenes aim at the view's centre anyway).
        if (menu.visible && menu.cursor)
            mouseAt(menu.cursor->getX() * menu.windowWidth, menu.cursor->getY() * menu.windowHeight, 0, 0,
                    event.pressed ? PRESS : RELEASE);
        else if (OIS::Mouse* mouse = target.mouse())
            mouseAt(static_cast<float>(mouse->getMouseState().X.abs),
                    static_cast<float>(mouse->getMouseState().Y.abs), 0, 0, event.pressed ? PRESS : RELEASE);
        break;
    }
    }
}

void GamepadInput::mouseAt(float x, float y, float relX, float relY, int what) {
    InputChain& input = target.input();
    OIS::Mouse* mouse = target.mouse();
    if (!input.currentScene() || !mouse) return;
    OIS::MouseState state = mouse->getMouseState();
    state.X.abs = static_cast<int>(std::lround(x));
    state.Y.abs = static_cast<int>(std::lround(y));
    state.X.rel = static_cast<int>(std::lround(relX));
    state.Y.rel = static_cast<int>(std::lround(relY));
    const OIS::MouseEvent evt(mouse, state);
    if (what == PRESS)
        input.mousePressed(evt, OIS::MB_Left);
    else if (what == RELEASE)
        input.mouseReleased(evt, OIS::MB_Left);
    else
        input.mouseMoved(evt);
}

void GamepadInput::frame(float dt) {
    MossdenScene* scene = target.input().currentScene();
    if (!scene || dt <= 0) return;
    const MossdenMenu& menu = target.menu();
    if (menu.visible) {
        const auto move = mapper.cursorMove(dt);
        if ((move[0] == 0 && move[1] == 0) || !menu.cursor) return;
        const float x = std::clamp(menu.cursor->getX() * menu.windowWidth + move[0], 0.0f,
                                   static_cast<float>(menu.windowWidth));
        const float y = std::clamp(menu.cursor->getY() * menu.windowHeight + move[1], 0.0f,
                                   static_cast<float>(menu.windowHeight));
        mouseAt(x, y, move[0], move[1], MOVE);
        return;
    }
    const LookStep step = mapper.look(dt, scene->currentLookOptions());
    if (step.yaw != 0 || step.pitch != 0) scene->applyLook(step);
}

}  // namespace Mossden
