#ifndef MOSSDEN_APP_INPUTREPLAY_H
#define MOSSDEN_APP_INPUTREPLAY_H

// Input devices that play a recording back (MOSSDEN_REPLAY): they stand in
// for the OIS keyboard and mouse, so the frame loop, the scenes and the menu
// see the same calls as with real devices. Each capture() delivers the
// recorded events of the frames up to the game clock's current frame.
#include <OISKeyboard.h>
#include <OISMouse.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "app/InputRecording.h"

namespace Mossden {

class GameClock;

class ReplayKeyboard : public OIS::Keyboard {
public:
    ReplayKeyboard(std::vector<RecordedInput> inputs, const GameClock& clock);

    void capture() override;
    bool isKeyDown(OIS::KeyCode key) const override;
    const std::string& getAsString(OIS::KeyCode key) override;
    void copyKeyStates(char keys[256]) const override;
    void setBuffered(bool) override {}
    OIS::Interface* queryInterface(OIS::Interface::IType) override { return nullptr; }
    void _initialize() override {}

    bool finished() const { return next == inputs.size(); }

private:
    std::vector<RecordedInput> inputs;  // key events only, in order
    std::size_t next = 0;
    const GameClock& clock;
    std::array<bool, 256> held{};
    std::string keyName;
};

class ReplayMouse : public OIS::Mouse {
public:
    ReplayMouse(std::vector<RecordedInput> inputs, const GameClock& clock);

    void capture() override;
    void setBuffered(bool) override {}
    OIS::Interface* queryInterface(OIS::Interface::IType) override { return nullptr; }
    void _initialize() override {}

    bool finished() const { return next == inputs.size(); }

private:
    std::vector<RecordedInput> inputs;  // mouse events only, in order
    std::size_t next = 0;
    const GameClock& clock;
};

}  // namespace Mossden

#endif
