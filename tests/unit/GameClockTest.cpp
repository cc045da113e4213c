#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "app/GameClock.h"
#include "app/LineStamper.h"

using Mossden::ClockSettings;
using Mossden::GameClock;
using Mossden::GameTimer;

TEST(GameClock, StepFollowsScaleCapAndFixedStep) {
    struct Case {
        const char* what;
        ClockSettings settings;
        double real, step;
    };
    const Case cases[] = {
        {"real time at scale 1", {1.0, 0.0}, 0.016, 0.016},
        {"scaled", {4.0, 0.0}, 0.016, 0.064},
        {"a stall counts as a quarter second", {1.0, 0.0}, 3.0, 0.25},
        {"the cap comes before the scale", {4.0, 0.0}, 3.0, 1.0},
        {"exactly at the cap", {1.0, 0.0}, 0.25, 0.25},
        {"time going back adds nothing", {1.0, 0.0}, -0.5, 0.0},
        {"fixed step ignores real time", {4.0, 20.0}, 3.0, 0.02},
        {"fixed step ignores a zero frame", {1.0, 16.0}, 0.0, 0.016},
    };
    for (const Case& c : cases) {
        const GameClock clock(c.settings);
        EXPECT_DOUBLE_EQ(clock.stepFor(c.real), c.step) << c.what;
    }
}

TEST(GameClock, TimersReadGameTimeSinceTheirReset) {
    GameClock clock({2.0, 0.0});
    GameTimer early(clock);
    clock.advanceFrame(0.010);  // 20 ms of game time
    GameTimer late(clock);
    clock.advanceFrame(1.0);  // capped: 500 ms
    clock.advance(0.0305);    // between frames (tests): not a frame
    EXPECT_EQ(clock.frame(), 2u);
    EXPECT_EQ(early.getMilliseconds(), 550u);
    EXPECT_EQ(late.getMilliseconds(), 530u);
    EXPECT_EQ(late.getMicroseconds(), 530500u);
    early.reset();
    EXPECT_EQ(early.getMilliseconds(), 0u);
    clock.advance(-1.0);  // never backwards
    EXPECT_EQ(late.getMicroseconds(), 530500u);
}

TEST(ClockKnobs, AcceptOnlyPlainNumbersInRange) {
    struct Case {
        const char* text;
        std::optional<double> scale, step;
    };
    const Case cases[] = {
        {"1", 1.0, 1.0},       {"4", 4.0, 4.0},         {"0.5", 0.5, {}},  {"100", 100.0, 100.0},
        {"16.5", 16.5, 16.5},  {"1000", {}, 1000.0},    {"1001", {}, {}},  {nullptr, {}, {}},
        {"", {}, {}},          {"x", {}, {}},           {"4x", {}, {}},    {"0", {}, {}},
        {"-2", {}, {}},        {"0.05", {}, {}},        {"101", {}, 101.0}, {"nan", {}, {}},
        {"inf", {}, {}},       {"1e999", {}, {}},       {" ", {}, {}},
    };
    for (const auto& c : cases) {
        const char* shown = c.text ? c.text : "(null)";
        EXPECT_EQ(Mossden::parseTimeScale(c.text), c.scale) << shown;
        EXPECT_EQ(Mossden::parseFixedStep(c.text), c.step) << shown;
    }
}

TEST(LineStamper, EveryLineStartsWithRealAndGameTimeAndFrame) {
    std::ostringstream sink;
    GameClock clock({1.0, 20.0});
    for (int i = 0; i < 3; ++i) clock.advanceFrame(0.0);
    Mossden::LineStamper stamper(sink.rdbuf(), clock, Mossden::LineStamper::RealClock::now());
    std::ostream out(&stamper);
    out << "Scene 2 starts\n" << "two" << std::flush;
    clock.advanceFrame(0.0);
    out << " halves\n\n";
    const std::string text = sink.str();
    const std::regex lines(
        R"(\[real \d+\.\d{3} game 0\.060 frame 3\] Scene 2 starts\n)"
        R"(\[real \d+\.\d{3} game 0\.060 frame 3\] two halves\n)"
        R"(\[real \d+\.\d{3} game 0\.080 frame 4\] \n)");
    EXPECT_TRUE(std::regex_match(text, lines)) << text;
}
