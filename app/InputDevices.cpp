#include "app/InputDevices.h"

#include <OIS.h>
#include <OgreLogManager.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/GameClock.h"
#include "app/InputRecorder.h"
#include "app/InputReplay.h"

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

struct InputDevices::InputSystem {
    explicit InputSystem(unsigned long windowHandle) {
        OIS::ParamList params;
        params.insert({"WINDOW", std::to_string(windowHandle)});
        manager = OIS::InputManager::createInputSystem(params);
        keyboard = static_cast<OIS::Keyboard*>(manager->createInputObject(OIS::OISKeyboard, true, ""));
        mouse = static_cast<OIS::Mouse*>(manager->createInputObject(OIS::OISMouse, true, ""));
    }
    ~InputSystem() {
        manager->destroyInputObject(mouse);
        manager->destroyInputObject(keyboard);
        OIS::InputManager::destroyInputSystem(manager);
    }
    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    OIS::InputManager* manager = nullptr;
    OIS::Keyboard* keyboard = nullptr;
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
        system = std::make_unique<InputSystem>(windowHandle);
        keys = system->keyboard;
        pointer = system->mouse;
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
    if (system) Ogre::LogManager::getSingleton().logMessage("*** Destroying OIS ***");
}

void InputDevices::pointAt(OIS::KeyListener* keyListener, OIS::MouseListener* mouseListener) {
    if (recorder) {
        recorder->forwardTo(keyListener, mouseListener);
        keys->setEventCallback(keyListener ? recorder.get() : nullptr);
        pointer->setEventCallback(mouseListener ? recorder.get() : nullptr);
        return;
    }
    keys->setEventCallback(keyListener);
    pointer->setEventCallback(mouseListener);
}

void InputDevices::capture() {
    keys->capture();
    pointer->capture();
    if (recorder) recorder->flush();
    if (replayKeys && !replayAnnounced && replayKeys->finished() && replayPointer->finished()) {
        replayAnnounced = true;
        std::cout << "Input replay: all " << replayEvents << " events delivered by frame " << clock.frame()
                  << std::endl;
    }
}

}  // namespace Mossden
