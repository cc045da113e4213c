#include "scene/CameraManInput.h"

#include <OgreCameraMan.h>

#include <array>
#include <utility>

namespace {

// SDL gives keys without a character the scan code with bit 30 set.
constexpr OgreBites::Keycode scancodeKey(int scancode) { return (1 << 30) | scancode; }

constexpr int OIS_WHEEL_NOTCH = 120;

using KeyPair = std::pair<OIS::KeyCode, OgreBites::Keycode>;

// OIS numbers keys by scan code (q w e r t y ... on one row), so the letters
// are not in alphabetical order.
constexpr KeyPair KEY_TABLE[] = {
    {OIS::KC_ESCAPE, OgreBites::SDLK_ESCAPE},
    {OIS::KC_1, '1'},
    {OIS::KC_2, '2'},
    {OIS::KC_3, '3'},
    {OIS::KC_4, '4'},
    {OIS::KC_5, '5'},
    {OIS::KC_6, '6'},
    {OIS::KC_7, '7'},
    {OIS::KC_8, '8'},
    {OIS::KC_9, '9'},
    {OIS::KC_0, '0'},
    {OIS::KC_MINUS, '-'},
    {OIS::KC_EQUALS, '='},
    {OIS::KC_BACK, '\b'},
    {OIS::KC_TAB, '\t'},
    {OIS::KC_Q, 'q'},
    {OIS::KC_W, 'w'},
    {OIS::KC_E, 'e'},
    {OIS::KC_R, 'r'},
    {OIS::KC_T, 't'},
    {OIS::KC_Y, 'y'},
    {OIS::KC_U, 'u'},
    {OIS::KC_I, 'i'},
    {OIS::KC_O, 'o'},
    {OIS::KC_P, 'p'},
    {OIS::KC_LBRACKET, '['},
    {OIS::KC_RBRACKET, ']'},
    {OIS::KC_RETURN, OgreBites::SDLK_RETURN},
    {OIS::KC_LCONTROL, scancodeKey(0xE0)},
    {OIS::KC_A, 'a'},
    {OIS::KC_S, 's'},
    {OIS::KC_D, 'd'},
    {OIS::KC_F, 'f'},
    {OIS::KC_G, 'g'},
    {OIS::KC_H, 'h'},
    {OIS::KC_J, 'j'},
    {OIS::KC_K, 'k'},
    {OIS::KC_L, 'l'},
    {OIS::KC_SEMICOLON, ';'},
    {OIS::KC_APOSTROPHE, '\''},
    {OIS::KC_GRAVE, '`'},
    {OIS::KC_LSHIFT, OgreBites::SDLK_LSHIFT},
    {OIS::KC_BACKSLASH, '\\'},
    {OIS::KC_Z, 'z'},
    {OIS::KC_X, 'x'},
    {OIS::KC_C, 'c'},
    {OIS::KC_V, 'v'},
    {OIS::KC_B, 'b'},
    {OIS::KC_N, 'n'},
    {OIS::KC_M, 'm'},
    {OIS::KC_COMMA, ','},
    {OIS::KC_PERIOD, '.'},
    {OIS::KC_SLASH, '/'},
    {OIS::KC_RSHIFT, scancodeKey(0xE5)},
    {OIS::KC_MULTIPLY, OgreBites::SDLK_KP_MULTIPLY},
    {OIS::KC_LMENU, scancodeKey(0xE2)},
    {OIS::KC_SPACE, OgreBites::SDLK_SPACE},
    {OIS::KC_CAPITAL, scancodeKey(0x39)},
    {OIS::KC_F1, OgreBites::SDLK_F1},
    {OIS::KC_F2, OgreBites::SDLK_F2},
    {OIS::KC_F3, OgreBites::SDLK_F3},
    {OIS::KC_F4, OgreBites::SDLK_F4},
    {OIS::KC_F5, OgreBites::SDLK_F5},
    {OIS::KC_F6, OgreBites::SDLK_F6},
    {OIS::KC_F7, OgreBites::SDLK_F7},
    {OIS::KC_F8, OgreBites::SDLK_F8},
    {OIS::KC_F9, OgreBites::SDLK_F9},
    {OIS::KC_F10, OgreBites::SDLK_F10},
    {OIS::KC_F11, OgreBites::SDLK_F11},
    {OIS::KC_F12, OgreBites::SDLK_F12},
    {OIS::KC_NUMLOCK, OgreBites::SDLK_NUMLOCKCLEAR},
    {OIS::KC_SCROLL, OgreBites::SDLK_SCROLLLOCK},
    {OIS::KC_NUMPAD7, OgreBites::SDLK_KP_7},
    {OIS::KC_NUMPAD8, OgreBites::SDLK_KP_8},
    {OIS::KC_NUMPAD9, OgreBites::SDLK_KP_9},
    {OIS::KC_SUBTRACT, OgreBites::SDLK_KP_MINUS},
    {OIS::KC_NUMPAD4, OgreBites::SDLK_KP_4},
    {OIS::KC_NUMPAD5, OgreBites::SDLK_KP_5},
    {OIS::KC_NUMPAD6, OgreBites::SDLK_KP_6},
    {OIS::KC_ADD, OgreBites::SDLK_KP_PLUS},
    {OIS::KC_NUMPAD1, OgreBites::SDLK_KP_1},
    {OIS::KC_NUMPAD2, OgreBites::SDLK_KP_2},
    {OIS::KC_NUMPAD3, OgreBites::SDLK_KP_3},
    {OIS::KC_NUMPAD0, OgreBites::SDLK_KP_0},
    {OIS::KC_DECIMAL, OgreBites::SDLK_KP_PERIOD},
    {OIS::KC_NUMPADENTER, OgreBites::SDLK_KP_ENTER},
    {OIS::KC_RCONTROL, scancodeKey(0xE4)},
    {OIS::KC_DIVIDE, OgreBites::SDLK_KP_DIVIDE},
    {OIS::KC_SYSRQ, OgreBites::SDLK_PRINTSCREEN},
    {OIS::KC_RMENU, scancodeKey(0xE6)},
    {OIS::KC_PAUSE, OgreBites::SDLK_PAUSE},
    {OIS::KC_HOME, OgreBites::SDLK_HOME},
    {OIS::KC_UP, OgreBites::SDLK_UP},
    {OIS::KC_PGUP, OgreBites::SDLK_PAGEUP},
    {OIS::KC_LEFT, OgreBites::SDLK_LEFT},
    {OIS::KC_RIGHT, OgreBites::SDLK_RIGHT},
    {OIS::KC_END, OgreBites::SDLK_END},
    {OIS::KC_DOWN, OgreBites::SDLK_DOWN},
    {OIS::KC_PGDOWN, OgreBites::SDLK_PAGEDOWN},
    {OIS::KC_INSERT, OgreBites::SDLK_INSERT},
    {OIS::KC_DELETE, OgreBites::SDLK_DELETE},
    {OIS::KC_LWIN, scancodeKey(0xE3)},
    {OIS::KC_RWIN, scancodeKey(0xE7)},
};

// Indexed by OIS key code (all codes are below 256).
std::array<OgreBites::Keycode, 256> buildKeyLookup() {
    std::array<OgreBites::Keycode, 256> lookup{};
    for (const auto& [ois, bites] : KEY_TABLE) lookup[ois & 0xFF] = bites;
    return lookup;
}

}  // namespace

OgreBites::Keycode bitesKeycode(OIS::KeyCode key) {
    static const std::array<OgreBites::Keycode, 256> lookup = buildKeyLookup();
    const unsigned code = static_cast<unsigned>(key);
    return code < lookup.size() ? lookup[code] : 0;
}

OgreBites::KeyboardEvent bitesKeyEvent(int type, const OIS::KeyEvent& evt) {
    OgreBites::KeyboardEvent out{};
    out.type = type;
    out.keysym.sym = bitesKeycode(evt.key);
    return out;
}

OgreBites::MouseMotionEvent bitesMotionEvent(const OIS::MouseEvent& evt) {
    OgreBites::MouseMotionEvent out{};
    out.type = OgreBites::MOUSEMOTION;
    out.x = evt.state.X.abs;
    out.y = evt.state.Y.abs;
    out.xrel = evt.state.X.rel;
    out.yrel = evt.state.Y.rel;
    return out;
}

OgreBites::MouseButtonEvent bitesButtonEvent(int type, const OIS::MouseEvent& evt,
                                             OIS::MouseButtonID id) {
    OgreBites::MouseButtonEvent out{};
    out.type = type;
    out.x = evt.state.X.abs;
    out.y = evt.state.Y.abs;
    switch (id) {
        case OIS::MB_Left:
            out.button = OgreBites::BUTTON_LEFT;
            break;
        case OIS::MB_Right:
            out.button = OgreBites::BUTTON_RIGHT;
            break;
        case OIS::MB_Middle:
            out.button = OgreBites::BUTTON_MIDDLE;
            break;
        default:
            out.button = static_cast<unsigned char>(id + 1);
            break;
    }
    out.clicks = 1;
    return out;
}

void injectMouseMove(OgreBites::CameraMan& cameraMan, const OIS::MouseEvent& evt) {
    cameraMan.mouseMoved(bitesMotionEvent(evt));
    if (evt.state.Z.rel != 0) {
        OgreBites::MouseWheelEvent wheel{};
        wheel.type = OgreBites::MOUSEWHEEL;
        wheel.y = evt.state.Z.rel / OIS_WHEEL_NOTCH;
        if (wheel.y != 0) cameraMan.mouseWheelRolled(wheel);
    }
}

void injectMouseDown(OgreBites::CameraMan& cameraMan, const OIS::MouseEvent& evt,
                     OIS::MouseButtonID id) {
    cameraMan.mousePressed(bitesButtonEvent(OgreBites::MOUSEBUTTONDOWN, evt, id));
}

void injectMouseUp(OgreBites::CameraMan& cameraMan, const OIS::MouseEvent& evt,
                   OIS::MouseButtonID id) {
    cameraMan.mouseReleased(bitesButtonEvent(OgreBites::MOUSEBUTTONUP, evt, id));
}

void injectKeyDown(OgreBites::CameraMan& cameraMan, const OIS::KeyEvent& evt) {
    cameraMan.keyPressed(bitesKeyEvent(OgreBites::KEYDOWN, evt));
}

void injectKeyUp(OgreBites::CameraMan& cameraMan, const OIS::KeyEvent& evt) {
    cameraMan.keyReleased(bitesKeyEvent(OgreBites::KEYUP, evt));
}
