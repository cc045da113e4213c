#include <gtest/gtest.h>

#include "platform/CommandLine.h"

using Mossden::parseSceneArgument;
using Mossden::splitCommandLine;
using Mossden::startSceneIndex;

TEST(CommandLine, SplitsOnSpacesOnly) {
    struct Case {
        const char* text;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"", {}},
        {"     ", {}},
        {"  2   x ", {"2", "x"}},
        {"1\t2", {"1\t2"}},
        {"\"a b\" c", {"\"a", "b\"", "c"}},
        {"scene", {"scene"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitCommandLine(c.text), c.args) << "text: " << c.text;
}

TEST(CommandLine, SceneArgumentIsAWholeNumberOrNothing) {
    struct Case {
        const char* text;
        std::optional<int> index;
    };
    const Case cases[] = {
        {"2", 2},       {"0", 0},   {"3", 3},     {"17", 17}, {"007", 7},
        {nullptr, {}},  {"", {}},   {"abc", {}},  {"1.5", {}}, {" 2", {}}, {"2 ", {}},
        {"+3", {}},     {"-1", {}}, {"1\t2", {}}, {"2x", {}}, {"99999999999999999999", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseSceneArgument(c.text), c.index) << "text: " << (c.text ? c.text : "(null)");
}

TEST(CommandLine, StartIndexRefusesAnythingButZeroToThree) {
    struct Case {
        std::vector<const char*> argv;
        int index;
    };
    const Case cases[] = {
        {{"mossden"}, 0},       {{"mossden", "2"}, 2},    {{"mossden", "3"}, 3},
        {{"mossden", "x"}, 0},  {{"mossden", "4"}, 0},    {{"mossden", "-1"}, 0},
        {{"mossden", "1.5"}, 0}, {{"mossden", "\x1b[2J"}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(startSceneIndex(static_cast<int>(c.argv.size()), c.argv.data()), c.index)
            << "argument: " << (c.argv.size() > 1 ? c.argv[1] : "(none)");
}
