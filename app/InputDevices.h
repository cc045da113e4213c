#ifndef MOSSDEN_APP_INPUTDEVICES_H
#define MOSSDEN_APP_INPUTDEVICES_H

// The keyboard and the mouse: the OIS devices on the game window, or the
// replay devices of a recording (MOSSDEN_REPLAY), and optionally the
// recorder (MOSSDEN_RECORD) between them and the scene. Owns all of it;
// destruction releases the devices before their input system.
//
// As a desktop program should, the game never grabs the keyboard, and grabs
// (and hides) the pointer only while the player looks around in a scene:
// the keyboard and the pointer have input systems of their own, and the
// pointer's is opened anew when the grab changes (OIS fixes the grab when a
// device opens). The pointer stays where the player left it.
#include <OISKeyboard.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/InputRecording.h"

namespace OIS {
class InputManager;
class Keyboard;
class Mouse;
class JoyStick;
class KeyListener;
class MouseListener;
class JoyStickListener;
}  // namespace OIS

namespace Mossden {

class GameClock;
class InputRecorder;
class ReplayKeyboard;
class ReplayMouse;

// What the test knobs ask of the input, read before the window exists.
struct InputSettings {
    std::string recordPath;             // empty: no recording
    std::string replayPath;             // empty: the real devices
    std::vector<RecordedInput> replay;  // the parsed recording
};

// Reads MOSSDEN_RECORD and MOSSDEN_REPLAY. A replay file that is missing or
// broken is refused with one line naming it and the fault; input then comes
// from the devices.
InputSettings readInputSettings();

class InputDevices {
public:
    // Opens the devices for the window with the given native handle, the
    // pointer not grabbed.
    InputDevices(unsigned long windowHandle, const GameClock& clock, InputSettings settings);
    ~InputDevices();
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;

    OIS::Keyboard* keyboard() const { return keys; }
    OIS::Mouse* mouse() const { return pointer; }
    // The first gamepad or joystick OIS found at start, or null.
    OIS::JoyStick* joystick() const;
    void setJoystickListener(OIS::JoyStickListener* listener);

    // Where the events go (a scene, or nothing), through the recorder when
    // there is one.
    void pointAt(OIS::KeyListener* keyListener, OIS::MouseListener* mouseListener);
    OIS::KeyListener* keyListener() const { return keyTarget; }
    OIS::MouseListener* mouseListener() const { return mouseTarget; }

    // A key combination the application takes before the scene sees it:
    // Alt with key (either Alt key; recorded and replayed like any key).
    // The key's press and release then never reach the scene.
    void setAltShortcut(OIS::KeyCode key, std::function<void()> action);
    // Delivers the events since the last capture: keyboard, mouse, joystick.
    void capture();

    // Grabs the pointer to the window (hidden, unlimited motion for looking
    // around) or lets it go. Never call it from inside an event handler: it
    // may replace the mouse. A replay has nothing to grab.
    void grabPointer(bool grab);
    bool pointerGrabbed() const { return grabbed; }
    // The window's size in pixels, which bounds the mouse's position.
    void setPointerArea(int width, int height);

private:
    // Between the devices (or the recorder) and the scene: takes the
    // application's shortcut, passes every other key on.
    class ShortcutFilter : public OIS::KeyListener {
    public:
        bool keyPressed(const OIS::KeyEvent& evt) override;
        bool keyReleased(const OIS::KeyEvent& evt) override;

        OIS::KeyListener* target = nullptr;
        OIS::KeyCode key = OIS::KC_UNASSIGNED;
        std::function<void()> action;

    private:
        bool leftAlt = false, rightAlt = false;
        bool swallowRelease = false;  // the shortcut key's press was taken
    };

    struct KeyboardSystem;  // an OIS input manager and its keyboard
    struct PointerSystem;   // an OIS input manager and its mouse
    void applyPointerArea();

    unsigned long windowHandle = 0;
    std::unique_ptr<KeyboardSystem> keyboardSystem;
    std::unique_ptr<PointerSystem> pointerSystem;
    ShortcutFilter shortcut;
    OIS::KeyListener* keyTarget = nullptr;
    OIS::MouseListener* mouseTarget = nullptr;
    bool grabbed = false;
    int areaWidth = 0, areaHeight = 0;
    std::unique_ptr<ReplayKeyboard> replayKeys;
    std::unique_ptr<ReplayMouse> replayPointer;
    std::unique_ptr<InputRecorder> recorder;
    OIS::Keyboard* keys = nullptr;
    OIS::Mouse* pointer = nullptr;
    const GameClock& clock;
    std::size_t replayEvents = 0;
    bool replayAnnounced = false;
};

}  // namespace Mossden

#endif
