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

TEST(CommandLine, SceneArgumentReadsLeadingDigits) {
    EXPECT_EQ(parseSceneArgument("2"), 2);
    EXPECT_EQ(parseSceneArgument("1\t2"), 1);
    EXPECT_EQ(parseSceneArgument("  +3x"), 3);
    EXPECT_EQ(parseSceneArgument("x"), 0);
    EXPECT_EQ(parseSceneArgument("-1"), -1);
    EXPECT_EQ(parseSceneArgument("99999999999999999999"), 2147483647);
}

TEST(CommandLine, StartIndexRefusesOutOfRange) {
    const char* none[] = {"mossden"};
    const char* two[] = {"mossden", "2"};
    const char* word[] = {"mossden", "x"};
    const char* big[] = {"mossden", "4"};
    const char* negative[] = {"mossden", "-1"};
    EXPECT_EQ(startSceneIndex(1, none), 0);
    EXPECT_EQ(startSceneIndex(2, two), 2);
    EXPECT_EQ(startSceneIndex(2, word), 0);
    EXPECT_EQ(startSceneIndex(2, big), 0);
    EXPECT_EQ(startSceneIndex(2, negative), 0);
}
