#ifndef MOSSDEN_APP_INPUTRECORDING_H
#define MOSSDEN_APP_INPUTRECORDING_H

// The text format of an input recording, free of the engine and of OIS so
// that it can be tested alone. A recording is a header line and one line per
// keyboard or mouse event, with the game frame it was delivered in:
//   mossden-input 1
//   <frame> key-down <key code> <text>
//   <frame> key-up <key code> <text>
//   <frame> move <x> <y> <z> <dx> <dy> <dz> <buttons>
//   <frame> press <button> <x> <y> <z> <dx> <dy> <dz> <buttons>
//   <frame> release <button> <x> <y> <z> <dx> <dy> <dz> <buttons>
// x, y, z are the mouse's absolute axes, dx, dy, dz the motion of the event,
// buttons the mask of held buttons. Frames never decrease.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace Mossden {

enum class InputKind { KeyDown, KeyUp, Move, Press, Release };

struct RecordedInput {
    std::uint64_t frame = 0;
    InputKind kind = InputKind::KeyDown;
    int key = 0;            // key events: OIS key code, 0..255
    unsigned text = 0;      // key events: the character typed, 0 for none
    int button = 0;         // press and release: OIS button id, 0..7
    int x = 0, y = 0, z = 0;
    int dx = 0, dy = 0, dz = 0;
    int buttons = 0;        // mouse events: bit n set while button n is held

    bool isKey() const { return kind == InputKind::KeyDown || kind == InputKind::KeyUp; }
};

inline constexpr const char* RECORDING_HEADER = "mossden-input 1";
// Longest line format() writes, with its newline and terminating zero.
inline constexpr std::size_t RECORDED_LINE_MAX = 160;

// Writes one event as a line (with its newline) into `line`, which holds
// RECORDED_LINE_MAX characters; returns the length. Does not allocate, so
// the game can record on its frame path.
std::size_t formatInput(const RecordedInput& input, char* line);

// Reads a whole recording. On success returns true with every event in
// `inputs`; otherwise false with `error` naming the line and the fault
// (missing header, unknown event, a number out of range or missing, trailing
// text, frames going back, an oversized line or file).
bool parseRecording(std::istream& in, std::vector<RecordedInput>& inputs, std::string& error);

}  // namespace Mossden

#endif
