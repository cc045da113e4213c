#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "menu/MenuSliders.h"

using namespace Mossden;

TEST(VideoModes, SortedByWidthAsNumbersKeepingTheOrderOfEqualWidths) {
    std::vector<std::string> rejected;
    const auto sorted = sortVideoModes(
        {"1280x1024", "1024x768", "1280x720", "800x600", "1920x1080", "1280x800"}, rejected);
    EXPECT_EQ(sorted, (std::vector<std::string>{"800x600", "1024x768", "1280x1024", "1280x720",
                                                "1280x800", "1920x1080"}));
    EXPECT_TRUE(rejected.empty());
}

TEST(VideoModes, SpacesAreRemovedAndMalformedTextsLeftOut) {
    // Texts the render system could hand over; none of the bad ones may stop
    // the sort, and each is named so the menu can report it.
    std::vector<std::string> rejected;
    const auto sorted = sortVideoModes({"1024 x  768", "wide", "x600", "800x", "-800x600",
                                        "99999999999x600", "640x480", "", "1e3x700"},
                                       rejected);
    EXPECT_EQ(sorted, (std::vector<std::string>{"640x480", "1024x768"}));
    EXPECT_EQ(rejected, (std::vector<std::string>{"wide", "x600", "800x", "-800x600",
                                                  "99999999999x600", "", "1e3x700"}));
}

TEST(SliderStep, LineLengthOverTheNumberOfSteps) {
    EXPECT_FLOAT_EQ(sliderStep(300, 2), 150);  // three screen sizes
    EXPECT_FLOAT_EQ(sliderStep(240, 10), 24);  // volume 0..10
    EXPECT_FLOAT_EQ(sliderStep(300, 0), 0);    // a single size: the arrow stays
    EXPECT_FLOAT_EQ(sliderStep(300, -1), 0);   // no size at all
}

TEST(DragSlider, StepsOnceTheMovementExceedsTheStepAndClampsAtTheEnds) {
    struct Case {
        const char* what;
        int value;
        float accumulator;
        float dx;
        float step;
        int maxValue;
        bool refreshed;
        int valueAfter;
        float accumulatorAfter;
    };
    const Case cases[] = {
        {"short of a step", 0, 0, 150, 150, 2, false, 0, 150},
        {"just past a step", 0, 100, 51, 150, 2, true, 1, 0},
        {"left past a step", 2, -100, -60, 150, 2, true, 1, 0},
        {"one step per move however far", 0, 0, 1000, 150, 2, true, 1, 0},
        {"right end holds", 2, 0, 151, 150, 2, false, 2, 0},
        {"volume below 0 holds", 0, 0, -25, 24, 10, false, 0, 0},
        {"volume 9 to 10", 9, 0, 25, 24, 10, true, 10, 0},
        {"single size never moves", 0, 0, 500, 0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        int value = c.value;
        float accumulator = c.accumulator;
        EXPECT_EQ(dragSlider(accumulator, c.dx, c.step, c.maxValue, value), c.refreshed) << c.what;
        EXPECT_EQ(value, c.valueAfter) << c.what;
        EXPECT_FLOAT_EQ(accumulator, c.accumulatorAfter) << c.what;
    }
}

// The look sliders' arrow positions and the values they stand for: the ends,
// the defaults in place, the logarithmic spacing, and values from a settings
// file that fall between steps or outside the range.
TEST(LookSliders, StepsAndValuesMatch) {
    struct Case {
        float sensitivity;
        int step;
        float atStep;
        const char* caption;
    };
    const Case sensitivities[] = {
        {0.25f, 0, 0.25f, "0.25\u00d7"},    {1.0f, 8, 1.0f, "1.00\u00d7"},
        {2.0f, 12, 2.0f, "2.00\u00d7"},     {4.0f, 16, 4.0f, "4.00\u00d7"},
        {1.1f, 9, 1.189207f, "1.19\u00d7"}, {0.1f, 0, 0.25f, "0.25\u00d7"},
        {9.0f, 16, 4.0f, "4.00\u00d7"},
    };
    for (const Case& c : sensitivities) {
        const int step = stepOfSensitivity(c.sensitivity);
        EXPECT_EQ(step, c.step) << c.sensitivity;
        EXPECT_NEAR(sensitivityAtStep(step), c.atStep, 1e-5f) << c.sensitivity;
        EXPECT_EQ(sensitivityCaption(sensitivityAtStep(step)), c.caption) << c.sensitivity;
    }
    // Each step multiplies by the same factor.
    for (int step = 1; step <= SENSITIVITY_STEPS; ++step)
        EXPECT_NEAR(sensitivityAtStep(step) / sensitivityAtStep(step - 1),
                    std::pow(16.0f, 1.0f / 16), 1e-5f);

    EXPECT_EQ(fieldOfViewSteps(), 8);
    struct FovCase {
        float degrees;
        int step;
        float atStep;
        const char* caption;
    };
    const FovCase fields[] = {
        {35, 0, 35, "35\u00b0"},    {45, 2, 45, "45\u00b0"}, {75, 8, 75, "75\u00b0"},
        {52.4f, 3, 50, "50\u00b0"}, {53, 4, 55, "55\u00b0"}, {10, 0, 35, "35\u00b0"},
        {120, 8, 75, "75\u00b0"},
    };
    for (const FovCase& c : fields) {
        const int step = stepOfFieldOfView(c.degrees);
        EXPECT_EQ(step, c.step) << c.degrees;
        EXPECT_FLOAT_EQ(fieldOfViewAtStep(step), c.atStep) << c.degrees;
        EXPECT_EQ(fieldOfViewCaption(fieldOfViewAtStep(step)), c.caption) << c.degrees;
    }
    EXPECT_FLOAT_EQ(fieldOfViewAtStep(-1), 35);
    EXPECT_FLOAT_EQ(fieldOfViewAtStep(99), 75);
}
