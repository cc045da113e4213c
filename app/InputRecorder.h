#ifndef MOSSDEN_APP_INPUTRECORDER_H
#define MOSSDEN_APP_INPUTRECORDER_H

// Records every keyboard and mouse event with its game frame
// (MOSSDEN_RECORD): it sits between the devices and the scene they point
// at, writes each event and passes it on unchanged.
#include <OISKeyboard.h>
#include <OISMouse.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/InputRecording.h"

namespace Mossden {

class GameClock;

class InputRecorder : public OIS::KeyListener, public OIS::MouseListener {
public:
    // Opens `path` for writing; ok() tells whether that worked.
    InputRecorder(const std::string& path, const GameClock& clock);
    // Closes the file; says once on standard output if a write failed.
    ~InputRecorder() override;
    InputRecorder(const InputRecorder&) = delete;
    InputRecorder& operator=(const InputRecorder&) = delete;

    bool ok() const { return file != nullptr; }
    // Hands what was recorded since the last call to the system, so that a
    // run that is killed leaves whole lines behind.
    void flush();
    // Where the recorded events go on to (a scene, or nothing).
    void forwardTo(OIS::KeyListener* keys, OIS::MouseListener* mice);

    bool keyPressed(const OIS::KeyEvent& evt) override;
    bool keyReleased(const OIS::KeyEvent& evt) override;
    bool mouseMoved(const OIS::MouseEvent& evt) override;
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;
    bool mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    void write(const RecordedInput& input);
    void writeKey(const OIS::KeyEvent& evt, bool down);
    void writeMouse(const OIS::MouseEvent& evt, InputKind kind, OIS::MouseButtonID button);

    std::string path;
    const GameClock& clock;
    std::unique_ptr<std::FILE, FileCloser> file;
    bool writeFailed = false;
    bool unflushed = false;
    OIS::KeyListener* keyTarget = nullptr;
    OIS::MouseListener* mouseTarget = nullptr;
};

}  // namespace Mossden

#endif
