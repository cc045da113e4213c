#ifndef MOSSDEN_APP_INPUTDEVICES_H
#define MOSSDEN_APP_INPUTDEVICES_H

// The keyboard and the mouse: the OIS devices on the game window, or the
// replay devices of a recording (MOSSDEN_REPLAY), and optionally the
// recorder (MOSSDEN_RECORD) between them and the scene. Owns all of it;
// destruction releases the devices before their input system.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/InputRecording.h"

namespace OIS {
class InputManager;
class Keyboard;
class Mouse;
class KeyListener;
class MouseListener;
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
    // Opens the devices for the window with the given native handle.
    InputDevices(unsigned long windowHandle, const GameClock& clock, InputSettings settings);
    ~InputDevices();
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;

    OIS::Keyboard* keyboard() const { return keys; }
    OIS::Mouse* mouse() const { return pointer; }

    // Where the events go (a scene, or nothing), through the recorder when
    // there is one.
    void pointAt(OIS::KeyListener* keyListener, OIS::MouseListener* mouseListener);
    // Delivers the events since the last capture: keyboard first, then mouse.
    void capture();

private:
    struct InputSystem;  // the OIS input manager and its devices
    std::unique_ptr<InputSystem> system;
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
