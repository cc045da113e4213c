#include "app/InputRecorder.h"

#include <iostream>

#include "app/GameClock.h"
#include "app/InputRecording.h"

namespace Mossden {

InputRecorder::InputRecorder(const std::string& path, const GameClock& clock)
    : path(path), clock(clock), file(std::fopen(path.c_str(), "w")) {
    if (file && std::fprintf(file.get(), "%s\n", RECORDING_HEADER) < 0) writeFailed = true;
}

InputRecorder::~InputRecorder() {
    if (file && std::fflush(file.get()) != 0) writeFailed = true;
    if (writeFailed) std::cout << "Could not write the input recording '" << path << "' completely" << std::endl;
}

void InputRecorder::flush() {
    if (!unflushed || !file) return;
    unflushed = false;
    if (std::fflush(file.get()) != 0) writeFailed = true;
}

void InputRecorder::forwardTo(OIS::KeyListener* keys, OIS::MouseListener* mice) {
    keyTarget = keys;
    mouseTarget = mice;
}

void InputRecorder::write(const RecordedInput& input) {
    if (!file || writeFailed) return;
    char line[RECORDED_LINE_MAX];
    const std::size_t length = formatInput(input, line);
    if (std::fwrite(line, 1, length, file.get()) != length) writeFailed = true;
    unflushed = true;
}

void InputRecorder::writeKey(const OIS::KeyEvent& evt, bool down) {
    RecordedInput input;
    input.frame = clock.frame();
    input.kind = down ? InputKind::KeyDown : InputKind::KeyUp;
    input.key = static_cast<int>(evt.key) & 0xFF;
    input.text = evt.text;
    write(input);
}

void InputRecorder::writeMouse(const OIS::MouseEvent& evt, InputKind kind, OIS::MouseButtonID button) {
    RecordedInput input;
    input.frame = clock.frame();
    input.kind = kind;
    input.button = static_cast<int>(button) & 7;
    input.x = evt.state.X.abs;
    input.y = evt.state.Y.abs;
    input.z = evt.state.Z.abs;
    input.dx = evt.state.X.rel;
    input.dy = evt.state.Y.rel;
    input.dz = evt.state.Z.rel;
    input.buttons = evt.state.buttons;
    write(input);
}

bool InputRecorder::keyPressed(const OIS::KeyEvent& evt) {
    writeKey(evt, true);
    return keyTarget ? keyTarget->keyPressed(evt) : true;
}

bool InputRecorder::keyReleased(const OIS::KeyEvent& evt) {
    writeKey(evt, false);
    return keyTarget ? keyTarget->keyReleased(evt) : true;
}

bool InputRecorder::mouseMoved(const OIS::MouseEvent& evt) {
    writeMouse(evt, InputKind::Move, OIS::MB_Left);
    return mouseTarget ? mouseTarget->mouseMoved(evt) : true;
}

bool InputRecorder::mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    writeMouse(evt, InputKind::Press, id);
    return mouseTarget ? mouseTarget->mousePressed(evt, id) : true;
}

bool InputRecorder::mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    writeMouse(evt, InputKind::Release, id);
    return mouseTarget ? mouseTarget->mouseReleased(evt, id) : true;
}

}  // namespace Mossden
