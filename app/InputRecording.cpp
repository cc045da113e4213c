#include "app/InputRecording.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Mossden {

namespace {

// A recording of an hour at 60 frames with ten events a frame is far below
// this; anything larger is not one of ours.
constexpr std::size_t MAX_EVENTS = 4'000'000;
constexpr long long MAX_AXIS = 1'000'000;  // pixels, either way
constexpr int MAX_KEY = 255;
constexpr int MAX_BUTTON = 7;
constexpr long long MAX_TEXT = 0x10FFFF;   // the last Unicode code point
constexpr long long MAX_BUTTON_MASK = (1 << (MAX_BUTTON + 1)) - 1;

struct KindName {
    InputKind kind;
    const char* name;
};
constexpr KindName KIND_NAMES[] = {{InputKind::KeyDown, "key-down"},
                                   {InputKind::KeyUp, "key-up"},
                                   {InputKind::Move, "move"},
                                   {InputKind::Press, "press"},
                                   {InputKind::Release, "release"}};

const char* nameOf(InputKind kind) {
    for (const KindName& k : KIND_NAMES)
        if (k.kind == kind) return k.name;
    return "?";
}

// Splits a line into fields at spaces; reads integers in a range.
class Fields {
public:
    explicit Fields(const std::string& line) : rest(line.c_str()) {}

    bool word(std::string& out) {
        skipSpaces();
        const char* start = rest;
        while (*rest && *rest != ' ') ++rest;
        out.assign(start, rest);
        return !out.empty();
    }
    bool number(long long low, long long high, long long& out) {
        skipSpaces();
        if (!*rest) return false;
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(rest, &end, 10);
        if (errno != 0 || end == rest || (*end && *end != ' ') || value < low || value > high) return false;
        rest = end;
        out = value;
        return true;
    }
    bool atEnd() {
        skipSpaces();
        return !*rest;
    }

private:
    void skipSpaces() {
        while (*rest == ' ') ++rest;
    }
    const char* rest;
};

bool readMouse(Fields& fields, RecordedInput& input) {
    long long v[7];
    for (long long& value : v)
        if (!fields.number(-MAX_AXIS, MAX_AXIS, value)) return false;
    if (v[6] < 0 || v[6] > MAX_BUTTON_MASK) return false;
    input.x = static_cast<int>(v[0]);
    input.y = static_cast<int>(v[1]);
    input.z = static_cast<int>(v[2]);
    input.dx = static_cast<int>(v[3]);
    input.dy = static_cast<int>(v[4]);
    input.dz = static_cast<int>(v[5]);
    input.buttons = static_cast<int>(v[6]);
    return true;
}

// Reads one event line; returns the fault, or nullptr.
const char* readLine(const std::string& line, RecordedInput& input) {
    Fields fields(line);
    long long frame = 0;
    if (!fields.number(0, INT64_MAX, frame)) return "no frame number";
    input.frame = static_cast<std::uint64_t>(frame);
    std::string name;
    if (!fields.word(name)) return "no event";
    const KindName* kind = nullptr;
    for (const KindName& k : KIND_NAMES)
        if (name == k.name) kind = &k;
    if (!kind) return "unknown event";
    input.kind = kind->kind;
    long long value = 0;
    switch (input.kind) {
    case InputKind::KeyDown:
    case InputKind::KeyUp:
        if (!fields.number(0, MAX_KEY, value)) return "key code missing or not 0..255";
        input.key = static_cast<int>(value);
        if (!fields.number(0, MAX_TEXT, value)) return "key text missing or not a character";
        input.text = static_cast<unsigned>(value);
        break;
    case InputKind::Press:
    case InputKind::Release:
        if (!fields.number(0, MAX_BUTTON, value)) return "button missing or not 0..7";
        input.button = static_cast<int>(value);
        [[fallthrough]];
    case InputKind::Move:
        if (!readMouse(fields, input)) return "mouse state missing or out of range";
        break;
    }
    if (!fields.atEnd()) return "trailing text";
    return nullptr;
}

}  // namespace

std::size_t formatInput(const RecordedInput& input, char* line) {
    int written = 0;
    if (input.isKey()) {
        written = std::snprintf(line, RECORDED_LINE_MAX, "%" PRIu64 " %s %d %u\n", input.frame,
                                nameOf(input.kind), input.key, input.text);
    } else {
        char button[16] = "";
        if (input.kind != InputKind::Move) std::snprintf(button, sizeof button, " %d", input.button);
        written = std::snprintf(line, RECORDED_LINE_MAX, "%" PRIu64 " %s%s %d %d %d %d %d %d %d\n",
                                input.frame, nameOf(input.kind), button, input.x, input.y, input.z,
                                input.dx, input.dy, input.dz, input.buttons);
    }
    if (written < 0) return 0;
    return std::min(static_cast<std::size_t>(written), RECORDED_LINE_MAX - 1);
}

bool parseRecording(std::istream& in, std::vector<RecordedInput>& inputs, std::string& error) {
    inputs.clear();
    std::string line;
    std::size_t number = 0;
    const auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(number) + ": " + what;
        inputs.clear();
        return false;
    };
    // Reads a line of at most RECORDED_LINE_MAX characters: a file without
    // newlines must not be read whole into one string.
    const auto next = [&]() -> int {
        line.clear();
        int c = in.get();
        if (c == std::char_traits<char>::eof()) return 0;
        ++number;
        for (; c != std::char_traits<char>::eof() && c != '\n'; c = in.get()) {
            if (line.size() >= RECORDED_LINE_MAX) return -1;
            if (c == '\0') return -2;
            line.push_back(static_cast<char>(c));
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return 1;
    };
    int got = next();
    if (got == 0) {
        error = "empty, no '" + std::string(RECORDING_HEADER) + "' header";
        return false;
    }
    if (got < 0 || line != RECORDING_HEADER) {
        return fail("not a Mossden input recording (no '" + std::string(RECORDING_HEADER) + "' header)");
    }
    std::uint64_t lastFrame = 0;
    while ((got = next()) != 0) {
        if (got == -1) return fail("longer than " + std::to_string(RECORDED_LINE_MAX) + " characters");
        if (got == -2) return fail("holds a zero byte");
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        if (inputs.size() >= MAX_EVENTS) return fail("more than " + std::to_string(MAX_EVENTS) + " events");
        RecordedInput input;
        if (const char* fault = readLine(line, input)) return fail(fault);
        if (input.frame < lastFrame) return fail("frame " + std::to_string(input.frame) + " goes back");
        lastFrame = input.frame;
        inputs.push_back(input);
    }
    if (in.bad()) return fail("could not be read");
    return true;
}

}  // namespace Mossden
