#include <gtest/gtest.h>

#include "app/VideoModeCheck.h"

using Mossden::checkVideoMode;

// A bad mode in the engine configuration never reaches the window system:
// it is replaced by an offered one and the reason is said.
TEST(VideoModeCheck, BadModesBecomeTheNearestOffered) {
    const std::vector<std::string> offered = {"800 x 600", "1024 x 768", "1920 x 1080 @ 60Hz"};
    struct Case {
        const char* requested;
        const char* mode;
        bool noted;
    };
    const Case cases[] = {
        {"1024 x 768", "1024 x 768", false},
        {"1024x768", "1024 x 768", false},
        {"1920 x 1080", "1920 x 1080 @ 60Hz", false},
        {"0 x 0", "800 x 600", true},
        {"1000 x 700", "1024 x 768", true},
        {"4000 x 3000", "1920 x 1080 @ 60Hz", true},
        {"", "800 x 600", true},
        {"big", "800 x 600", true},
        {"-1024 x 768", "800 x 600", true},
        {"99999999999 x 1", "800 x 600", true},
    };
    for (const auto& c : cases) {
        const auto choice = checkVideoMode(c.requested, offered);
        EXPECT_EQ(choice.mode, c.mode) << c.requested;
        EXPECT_EQ(!choice.note.empty(), c.noted) << c.requested;
        if (c.noted) {
            EXPECT_NE(choice.note.find(std::string("\"") + c.requested + "\""), std::string::npos);
        }
    }
}

TEST(VideoModeCheck, WithoutOfferedModesAGoodSizeIsKept) {
    EXPECT_EQ(checkVideoMode("1280 x 720", {}).mode, "1280 x 720");
    EXPECT_TRUE(checkVideoMode("1280 x 720", {}).note.empty());
    EXPECT_FALSE(checkVideoMode("0 x 0", {}).note.empty());
}
