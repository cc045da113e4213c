#include "app/InputDevices.h"

#include <OIS.h>
#include <OgreLogManager.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <iostream>

#include "app/GameClock.h"
#include "app/InputRecorder.h"
#include "app/InputReplay.h"
#include "platform/DesktopWindow.h"

namespace Mossden {

InputSettings readInputSettings() {
    InputSettings settings;
    if (const char* path = std::getenv("MOSSDEN_RECORD"); path && *path) settings.recordPath = path;
    const char* path = std::getenv("MOSSDEN_REPLAY");
    if (!path || !*path) return settings;
    std::string error;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "not a file";
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            error = "cannot be read";
        else
            parseRecording(in, settings.replay, error);
    }
    if (!error.empty()) {
        std::cout << "Ignoring MOSSDEN_REPLAY '" << path << "': " << error << "; input comes from the devices"
                  << std::endl;
        settings.replay.clear();
        return settings;
    }
    settings.replayPath = path;
    return settings;
}

namespace {

OIS::InputManager* openInputSystem(unsigned long windowHandle, bool grabPointer) {
    OIS::ParamList params;
    params.insert({"WINDOW", std::to_string(windowHandle)});
    params.insert({"x11_keyboard_grab", "false"});
    params.insert({"x11_mouse_grab", grabPointer ? "true" : "false"});
    // Over the window the menus draw their own cursor; beyond it the
    // desktop's shows.
    params.insert({"x11_mouse_hide", "true"});
    return OIS::InputManager::createInputSystem(params);
}

}  // namespace

struct InputDevices::KeyboardSystem {
    explicit KeyboardSystem(unsigned long windowHandle) : manager(openInputSystem(windowHandle, false)) {
        keyboard = static_cast<OIS::Keyboard*>(manager->createInputObject(OIS::OISKeyboard, true, ""));
        if (manager->getNumberOfDevices(OIS::OISJoyStick) <= 0) return;
        // A pad that cannot be opened (taken, unplugged meanwhile, no
        // permission) leaves the game to the keyboard and the mouse.
        try {
            joystick = static_cast<OIS::JoyStick*>(manager->createInputObject(OIS::OISJoyStick, true, ""));
            std::cout << "Gamepad: " << joystick->vendor() << std::endl;
        } catch (const OIS::Exception& e) {
            std::cout << "Gamepad not used: " << e.eText << std::endl;
            joystick = nullptr;
        }
    }
    ~KeyboardSystem() {
        if (joystick) manager->destroyInputObject(joystick);
        manager->destroyInputObject(keyboard);
        OIS::InputManager::destroyInputSystem(manager);
    }
    KeyboardSystem(const KeyboardSystem&) = delete;
    KeyboardSystem& operator=(const KeyboardSystem&) = delete;

    OIS::InputManager* manager = nullptr;
    OIS::Keyboard* keyboard = nullptr;
    OIS::JoyStick* joystick = nullptr;
};

struct InputDevices::PointerSystem {
    // place: where a free pointer goes, in window pixels; by default where
    // it was before the device opened (opening puts it at (6, 6)).
    PointerSystem(unsigned long windowHandle, bool grab, std::optional<std::pair<int, int>> place)
        : manager(openInputSystem(windowHandle, grab)), window(windowHandle) {
        const auto before = place ? place : window.pointer();
        mouse = static_cast<OIS::Mouse*>(manager->createInputObject(OIS::OISMouse, true, ""));
        // The device measures motion from (6, 6) but starts its position at
        // (0, 0); start it where it measures from, so that without a grab
        // its position is the pointer's in the window.
        OIS::MouseState& state = const_cast<OIS::MouseState&>(mouse->getMouseState());
        state.X.abs = OPEN_POSITION;
        state.Y.abs = OPEN_POSITION;
        // A grabbed pointer is hidden and may stay where the device put it;
        // a free one goes back to where the player left it.
        if (!grab && before) window.movePointer(before->first, before->second);
    }
    ~PointerSystem() {
        manager->destroyInputObject(mouse);
        OIS::InputManager::destroyInputSystem(manager);
    }
    PointerSystem(const PointerSystem&) = delete;
    PointerSystem& operator=(const PointerSystem&) = delete;

    static constexpr int OPEN_POSITION = 6;
    OIS::InputManager* manager = nullptr;
    Platform::DesktopWindow window;
    OIS::Mouse* mouse = nullptr;
};

InputDevices::InputDevices(unsigned long windowHandle, const GameClock& clock, InputSettings settings)
    : clock(clock) {
    if (!settings.replayPath.empty()) {
        // The devices are not opened at all: nothing from the X server can
        // mix with the recording.
        std::vector<RecordedInput> keyInputs, mouseInputs;
        for (const RecordedInput& input : settings.replay)
            (input.isKey() ? keyInputs : mouseInputs).push_back(input);
        replayEvents = settings.replay.size();
        replayKeys = std::make_unique<ReplayKeyboard>(std::move(keyInputs), clock);
        replayPointer = std::make_unique<ReplayMouse>(std::move(mouseInputs), clock);
        keys = replayKeys.get();
        pointer = replayPointer.get();
        std::cout << "Replaying " << replayEvents << " input events from '" << settings.replayPath << "'"
                  << std::endl;
    } else {
        Ogre::LogManager::getSingleton().logMessage("*** Initializing OIS ***");
        this->windowHandle = windowHandle;
        keyboardSystem = std::make_unique<KeyboardSystem>(windowHandle);
        pointerSystem = std::make_unique<PointerSystem>(windowHandle, false, std::nullopt);
        keys = keyboardSystem->keyboard;
        pointer = pointerSystem->mouse;
    }
    if (!settings.recordPath.empty()) {
        recorder = std::make_unique<InputRecorder>(settings.recordPath, clock);
        if (!recorder->ok()) {
            std::cout << "Not recording input: cannot write '" << settings.recordPath << "'" << std::endl;
            recorder.reset();
        }
    }
}

InputDevices::~InputDevices() {
    if (keyboardSystem) Ogre::LogManager::getSingleton().logMessage("*** Destroying OIS ***");
}

void InputDevices::pointAt(OIS::KeyListener* keyListener, OIS::MouseListener* mouseListener) {
    keyTarget = keyListener;
    mouseTarget = mouseListener;
    shortcut.target = keyListener;
    OIS::KeyListener* keyFirst = keyListener ? &shortcut : nullptr;
    if (recorder) {
        recorder->forwardTo(keyFirst, mouseListener);
        keys->setEventCallback(keyFirst ? recorder.get() : nullptr);
        pointer->setEventCallback(mouseListener ? recorder.get() : nullptr);
        return;
    }
    keys->setEventCallback(keyFirst);
    pointer->setEventCallback(mouseListener);
}

void InputDevices::setAltShortcut(OIS::KeyCode key, std::function<void()> action) {
    shortcut.key = key;
    shortcut.action = std::move(action);
}

bool InputDevices::ShortcutFilter::keyPressed(const OIS::KeyEvent& evt) {
    if (evt.key == OIS::KC_LMENU) leftAlt = true;
    if (evt.key == OIS::KC_RMENU) rightAlt = true;
    if (evt.key == key && (leftAlt || rightAlt) && action) {
        swallowRelease = true;
        action();
        return true;
    }
    return target ? target->keyPressed(evt) : true;
}

bool InputDevices::ShortcutFilter::keyReleased(const OIS::KeyEvent& evt) {
    if (evt.key == OIS::KC_LMENU) leftAlt = false;
    if (evt.key == OIS::KC_RMENU) rightAlt = false;
    if (evt.key == key && swallowRelease) {
        swallowRelease = false;
        return true;
    }
    return target ? target->keyReleased(evt) : true;
}

OIS::JoyStick* InputDevices::joystick() const { return keyboardSystem ? keyboardSystem->joystick : nullptr; }

void InputDevices::setJoystickListener(OIS::JoyStickListener* listener) {
    if (OIS::JoyStick* pad = joystick()) pad->setEventCallback(listener);
}

void InputDevices::capture() {
    keys->capture();
    pointer->capture();
    if (OIS::JoyStick* pad = joystick()) pad->capture();
    if (recorder) recorder->flush();
    if (replayKeys && !replayAnnounced && replayKeys->finished() && replayPointer->finished()) {
        replayAnnounced = true;
        std::cout << "Input replay: all " << replayEvents << " events delivered by frame " << clock.frame()
                  << std::endl;
    }
}

void InputDevices::grabPointer(bool grab) {
    if (grab == grabbed || !pointerSystem) return;
    grabbed = grab;
    // Let go, the pointer appears where the menus draw their cursor: at the
    // grabbed mouse's position, not where the hidden pointer wandered.
    std::optional<std::pair<int, int>> place;
    if (!grab) {
        const OIS::MouseState& state = pointer->getMouseState();
        place = std::make_pair(state.X.abs, state.Y.abs);
    }
    pointerSystem.reset();
    pointerSystem = std::make_unique<PointerSystem>(windowHandle, grab, place);
    pointer = pointerSystem->mouse;
    applyPointerArea();
    pointAt(keyTarget, mouseTarget);
}

void InputDevices::setPointerArea(int width, int height) {
    areaWidth = width;
    areaHeight = height;
    applyPointerArea();
}

void InputDevices::applyPointerArea() {
    const OIS::MouseState& state = pointer->getMouseState();
    state.width = areaWidth;
    state.height = areaHeight;
}

}  // namespace Mossden
