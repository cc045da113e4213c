#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/InputRecording.h"

using Mossden::InputKind;
using Mossden::RecordedInput;

namespace {

bool parse(const std::string& text, std::vector<RecordedInput>& inputs, std::string& error) {
    std::istringstream in(text);
    return Mossden::parseRecording(in, inputs, error);
}

RecordedInput key(std::uint64_t frame, InputKind kind, int code, unsigned text) {
    RecordedInput input;
    input.frame = frame;
    input.kind = kind;
    input.key = code;
    input.text = text;
    return input;
}

RecordedInput mouse(std::uint64_t frame, InputKind kind, int button, int x, int y, int dx, int buttons) {
    RecordedInput input;
    input.frame = frame;
    input.kind = kind;
    input.button = button;
    input.x = x;
    input.y = y;
    input.z = -120;
    input.dx = dx;
    input.dy = -3;
    input.dz = 0;
    input.buttons = buttons;
    return input;
}

}  // namespace

// What the game writes, it reads back unchanged, every kind of event.
TEST(InputRecording, FormattedEventsReadBackUnchanged) {
    const std::vector<RecordedInput> written = {
        key(0, InputKind::KeyDown, 17, 'w'),          key(0, InputKind::KeyUp, 1, 27),
        mouse(12, InputKind::Move, 0, 512, 384, -40, 0), mouse(12, InputKind::Press, 0, 0, 1023, 0, 1),
        mouse(300, InputKind::Release, 7, -5, 9, 2, 0), key(18446744073709551615u >> 1, InputKind::KeyDown, 255, 0x10FFFF),
    };
    std::string text = std::string(Mossden::RECORDING_HEADER) + "\n";
    char line[Mossden::RECORDED_LINE_MAX];
    for (const RecordedInput& input : written) {
        const std::size_t length = Mossden::formatInput(input, line);
        ASSERT_GT(length, 0u);
        ASSERT_EQ(line[length - 1], '\n');
        text.append(line, length);
    }
    EXPECT_NE(text.find("\n12 press 0 0 1023 -120 0 -3 0 1\n"), std::string::npos) << text;

    std::vector<RecordedInput> read;
    std::string error;
    ASSERT_TRUE(parse(text, read, error)) << error;
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].frame, written[i].frame);
        EXPECT_EQ(read[i].kind, written[i].kind);
        if (read[i].isKey()) {
            EXPECT_EQ(read[i].key, written[i].key);
            EXPECT_EQ(read[i].text, written[i].text);
        } else {
            EXPECT_EQ(read[i].button, written[i].kind == InputKind::Move ? 0 : written[i].button);
            EXPECT_EQ(read[i].x, written[i].x);
            EXPECT_EQ(read[i].y, written[i].y);
            EXPECT_EQ(read[i].z, written[i].z);
            EXPECT_EQ(read[i].dx, written[i].dx);
            EXPECT_EQ(read[i].dy, written[i].dy);
            EXPECT_EQ(read[i].buttons, written[i].buttons);
        }
    }
}

TEST(InputRecording, AHeaderAloneAndBlankLinesAndWindowsEndingsAreFine) {
    std::vector<RecordedInput> read;
    std::string error;
    EXPECT_TRUE(parse("mossden-input 1", read, error)) << error;
    EXPECT_TRUE(read.empty());
    ASSERT_TRUE(parse("mossden-input 1\r\n\r\n4 key-down 17 119\r\n  \n", read, error)) << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].frame, 4u);
}

// Every broken or hostile file is refused with the line and the fault, and
// leaves no half-read events behind.
TEST(InputRecording, BrokenFilesNameTheLineAndTheFault) {
    const std::string header = "mossden-input 1\n";
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"", "empty"},
        {"mossden-input 2\n1 key-down 17 0\n", "line 1: not a Mossden input recording"},
        {"\x89PNG\r\n\x1a\n", "line 1: not a Mossden input recording"},
        {std::string(100000, 'x'), "line 1: not a Mossden input recording"},
        {header + "1 key-down 17 0\n" + std::string(100000, '1'), "line 3: longer than"},
        {header + "1 key-down 17 0\nx key-down 17 0\n", "line 3: no frame number"},
        {header + "-1 key-down 17 0\n", "line 2: no frame number"},
        {header + "99999999999999999999 move 0 0 0 0 0 0 0\n", "line 2: no frame number"},
        {header + "5\n", "line 2: no event"},
        {header + "5 jump 1\n", "line 2: unknown event"},
        {header + "5 key-down 256 0\n", "line 2: key code"},
        {header + "5 key-up 17\n", "line 2: key text"},
        {header + "5 key-up 17 1114112\n", "line 2: key text"},
        {header + "5 press 8 0 0 0 0 0 0 0\n", "line 2: button"},
        {header + "5 move 0 0 0 0 0 0\n", "line 2: mouse state"},
        {header + "5 move 0 0 0 0 0 0 256\n", "line 2: mouse state"},
        {header + "5 move 2000000 0 0 0 0 0 0\n", "line 2: mouse state"},
        {header + "5 move 1x 0 0 0 0 0 0\n", "line 2: mouse state"},
        {header + "5 key-down 17 0 extra\n", "line 2: trailing text"},
        {header + "5 key-down 17 0\n4 key-up 17 0\n", "line 3: frame 4 goes back"},
        {header + std::string("5 key-down 17 0\0\n", 17), "line 2: holds a zero byte"},
    };
    for (const Case& c : cases) {
        std::vector<RecordedInput> read;
        std::string error;
        EXPECT_FALSE(parse(c.text, read, error)) << c.error;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got '" << error << "', wanted '" << c.error << "'";
        EXPECT_TRUE(read.empty()) << c.error;
    }
}
