#include "app/InputReplay.h"

#include "app/GameClock.h"

namespace Mossden {

namespace {

constexpr const char* REPLAY_VENDOR = "Mossden replay";

}  // namespace

ReplayKeyboard::ReplayKeyboard(std::vector<RecordedInput> inputs, const GameClock& clock)
    : OIS::Keyboard(REPLAY_VENDOR, true, 0, nullptr), inputs(std::move(inputs)), clock(clock) {}

void ReplayKeyboard::capture() {
    for (; next < inputs.size() && inputs[next].frame <= clock.frame(); ++next) {
        const RecordedInput& input = inputs[next];
        const auto key = static_cast<OIS::KeyCode>(input.key);
        const bool down = input.kind == InputKind::KeyDown;
        held[static_cast<std::size_t>(input.key)] = down;
        if (!mListener) continue;
        const OIS::KeyEvent event(this, key, input.text);
        if (down)
            mListener->keyPressed(event);
        else
            mListener->keyReleased(event);
    }
}

bool ReplayKeyboard::isKeyDown(OIS::KeyCode key) const {
    return static_cast<std::size_t>(key) < held.size() && held[static_cast<std::size_t>(key)];
}

const std::string& ReplayKeyboard::getAsString(OIS::KeyCode key) {
    keyName = "key " + std::to_string(static_cast<int>(key));
    return keyName;
}

void ReplayKeyboard::copyKeyStates(char keys[256]) const {
    for (std::size_t i = 0; i < held.size(); ++i) keys[i] = held[i] ? 1 : 0;
}

ReplayMouse::ReplayMouse(std::vector<RecordedInput> inputs, const GameClock& clock)
    : OIS::Mouse(REPLAY_VENDOR, true, 0, nullptr), inputs(std::move(inputs)), clock(clock) {}

void ReplayMouse::capture() {
    // As the OIS mouse does: the motion shown is that of this capture only.
    mState.X.rel = mState.Y.rel = mState.Z.rel = 0;
    for (; next < inputs.size() && inputs[next].frame <= clock.frame(); ++next) {
        const RecordedInput& input = inputs[next];
        mState.X.abs = input.x;
        mState.Y.abs = input.y;
        mState.Z.abs = input.z;
        mState.X.rel = input.dx;
        mState.Y.rel = input.dy;
        mState.Z.rel = input.dz;
        mState.buttons = input.buttons;
        if (!mListener) continue;
        const OIS::MouseEvent event(this, mState);
        const auto button = static_cast<OIS::MouseButtonID>(input.button);
        switch (input.kind) {
        case InputKind::Press:
            mListener->mousePressed(event, button);
            break;
        case InputKind::Release:
            mListener->mouseReleased(event, button);
            break;
        default:
            mListener->mouseMoved(event);
            break;
        }
    }
}

}  // namespace Mossden
