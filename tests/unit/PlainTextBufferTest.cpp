#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/PlainTextBuffer.h"

using namespace Mossden;

TEST(PlainText, EscapesWhatATerminalWouldActOnAndKeepsText) {
    struct Case {
        std::string in, line, lines;
    };
    const Case cases[] = {
        {"plain\ttab", "plain\ttab", "plain\ttab"},
        {"a\nb", "a\\nb", "a\nb"},
        {"bell\a esc\x1b[2J del\x7f", "bell\\x07 esc\\x1b[2J del\\x7f", "bell\\x07 esc\\x1b[2J del\\x7f"},
        {"gr\xc3\xbcn \xe2\x82\xac \xf0\x9f\x8c\xbf", "gr\xc3\xbcn \xe2\x82\xac \xf0\x9f\x8c\xbf",
         "gr\xc3\xbcn \xe2\x82\xac \xf0\x9f\x8c\xbf"},
        {"c1 \xc2\x9b", "c1 \\u009b", "c1 \\u009b"},
        // stray continuation, overlong, surrogate, beyond U+10FFFF, cut short
        {"\x80|\xc0\xaf|\xed\xa0\x80|\xf4\x90\x80\x80|\xe2\x82", "\\x80|\\xc0\\xaf|\\xed\\xa0\\x80|\\xf4\\x90\\x80\\x80|\\xe2\\x82",
         "\\x80|\\xc0\\xaf|\\xed\\xa0\\x80|\\xf4\\x90\\x80\\x80|\\xe2\\x82"},
        {std::string("nul\0x", 5), "nul\\x00x", "nul\\x00x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plainText(c.in, true), c.line) << c.in;
        EXPECT_EQ(plainText(c.in, false), c.lines) << c.in;
    }
}

TEST(PlainText, StreamKeepsItsLastOutputAndSequencesSplitAcrossWrites) {
    std::stringbuf target;
    PlainTextBuffer buffer(&target);
    std::ostream out(&buffer);
    out << "\xe2" << std::flush << "\x82\xac ok\n";
    EXPECT_EQ(target.str(), "\xe2\x82\xac ok\n");
    for (int i = 0; i < 1000; ++i) out << "line " << i << "\n";
    char history[PlainTextBuffer::OUTPUT_HISTORY];
    const std::size_t n = buffer.history(history, sizeof history);
    EXPECT_EQ(n, PlainTextBuffer::OUTPUT_HISTORY);
    EXPECT_EQ(std::string(history + n - 9, 9), "line 999\n");
}
