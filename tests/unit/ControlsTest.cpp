#include <gtest/gtest.h>

#include <vector>

#include "app/GamepadMapper.h"
#include "app/LookControl.h"
#include "app/Settings.h"

using namespace Mossden;

TEST(LookControl, SensitivityInvertAndFieldOfViewShapeTheStep) {
    struct Case {
        float dx, dy;
        LookOptions options;
        float yaw, pitch;
    };
    const Case cases[] = {
        {10, 4, {}, -1.0f, -0.4f},                   // right turns right, down looks down
        {10, 4, {2.0f, false, 45.0f}, -2.0f, -0.8f},  // sensitivity multiplies both
        {10, 4, {1.0f, true, 45.0f}, -1.0f, 0.4f},    // invert flips only the vertical
        {10, 4, {1.0f, false, 67.5f}, -1.5f, -0.6f},  // a wider view turns further per pixel
        {0, 0, {4.0f, true, 75.0f}, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        const LookStep step = lookStep(c.dx, c.dy, 0.1f, c.options);
        EXPECT_FLOAT_EQ(step.yaw, c.yaw);
        EXPECT_FLOAT_EQ(step.pitch, c.pitch);
    }
    Settings settings;
    settings.mouseSensitivity = 0.5f;
    settings.invertVerticalLook = true;
    settings.fieldOfView = 60.0f;
    const LookOptions options = LookOptions::from(settings);
    EXPECT_EQ(options.sensitivity, 0.5f);
    EXPECT_TRUE(options.invertVertical);
    EXPECT_EQ(options.fieldOfView, 60.0f);
    EXPECT_EQ(LookOptions{}.fieldOfView, Settings::DEFAULT_FIELD_OF_VIEW);
}

TEST(LookControl, SensitivitySliderIsLogarithmic) {
    EXPECT_FLOAT_EQ(sensitivityFromSlider(0.0f), Settings::MIN_SENSITIVITY);
    EXPECT_FLOAT_EQ(sensitivityFromSlider(0.5f), 1.0f);
    EXPECT_FLOAT_EQ(sensitivityFromSlider(0.75f), 2.0f);
    EXPECT_FLOAT_EQ(sensitivityFromSlider(1.0f), Settings::MAX_SENSITIVITY);
    EXPECT_FLOAT_EQ(sensitivityFromSlider(-3.0f), Settings::MIN_SENSITIVITY);
    EXPECT_FLOAT_EQ(sensitivityFromSlider(7.0f), Settings::MAX_SENSITIVITY);
    for (const float position : {0.0f, 0.1f, 0.5f, 0.9f, 1.0f})
        EXPECT_NEAR(sliderFromSensitivity(sensitivityFromSlider(position)), position, 1e-6f);
    EXPECT_FLOAT_EQ(sliderFromSensitivity(100.0f), 1.0f);
}

TEST(GamepadMapper, ButtonTable) {
    struct Case {
        int button;
        bool pressed, menuShown;
        std::optional<PadEvent> event;
    };
    const Case cases[] = {
        {0, true, false, PadEvent{PadAction::Primary, true}},
        {0, true, true, PadEvent{PadAction::MenuPress, true}},
        {0, false, false, std::nullopt},  // A held as the game started
        {1, true, false, PadEvent{PadAction::FlyTo, true}},
        {1, false, true, PadEvent{PadAction::FlyTo, false}},
        {7, true, false, PadEvent{PadAction::Menu, true}},
        {7, true, true, PadEvent{PadAction::Menu, true}},
        {2, true, false, std::nullopt},
        {6, true, true, std::nullopt},
        {-1, true, false, std::nullopt},
        {99, true, false, std::nullopt},
    };
    for (const auto& c : cases) {
        GamepadMapper mapper;
        EXPECT_EQ(mapper.buttonChanged(c.button, c.pressed, c.menuShown), c.event) << c.button;
    }
}

// A pressed in the menu that starts the game is let go in play: the
// release belongs to the menu press, and the scene sees no stray release.
TEST(GamepadMapper, ReleaseMatchesItsPress) {
    GamepadMapper mapper;
    EXPECT_EQ(mapper.buttonChanged(0, true, true), (PadEvent{PadAction::MenuPress, true}));
    EXPECT_EQ(mapper.buttonChanged(0, false, false), (PadEvent{PadAction::MenuPress, false}));
    EXPECT_EQ(mapper.buttonChanged(0, true, false), (PadEvent{PadAction::Primary, true}));
    EXPECT_EQ(mapper.buttonChanged(0, false, true), (PadEvent{PadAction::Primary, false}));
    EXPECT_EQ(mapper.buttonChanged(0, false, true), std::nullopt);
}

TEST(GamepadMapper, RightTriggerFliesWithHysteresis) {
    GamepadMapper mapper;
    const int rt = PadLayout{}.rightTrigger;
    struct Step {
        int value;
        std::optional<PadEvent> event;
    };
    const Step steps[] = {
        {GamepadMapper::AXIS_MIN, std::nullopt},  // resting
        {0, std::nullopt},                        // half way
        {20000, PadEvent{PadAction::FlyTo, true}},
        {32767, std::nullopt},
        {12000, std::nullopt},  // between the thresholds: still held
        {5000, PadEvent{PadAction::FlyTo, false}},
        {-30000, std::nullopt},
        {99999, PadEvent{PadAction::FlyTo, true}},  // beyond the range counts as full
    };
    for (const auto& s : steps) EXPECT_EQ(mapper.axisMoved(rt, s.value), s.event) << s.value;
    // Other axes never give actions.
    EXPECT_EQ(mapper.axisMoved(0, 32767), std::nullopt);
    EXPECT_EQ(mapper.axisMoved(42, 32767), std::nullopt);
}

TEST(GamepadMapper, SticksHaveARadialDeadZone) {
    struct Case {
        int x, y;
        float fx, fy;
    };
    const int edge = static_cast<int>(GamepadMapper::STICK_DEAD_ZONE * GamepadMapper::AXIS_MAX);
    const Case cases[] = {
        {0, 0, 0.0f, 0.0f},
        {edge, 0, 0.0f, 0.0f},
        {edge * 7 / 10, edge * 7 / 10, 0.0f, 0.0f},  // a diagonal inside the circle
        {GamepadMapper::AXIS_MAX, 0, 1.0f, 0.0f},
        {0, GamepadMapper::AXIS_MIN, 0.0f, -1.0f},
        {GamepadMapper::AXIS_MAX, GamepadMapper::AXIS_MAX, 0.70710677f, 0.70710677f},
    };
    for (const auto& c : cases) {
        const auto s = GamepadMapper::stick(c.x, c.y);
        EXPECT_NEAR(s[0], c.fx, 1e-5f) << c.x << "," << c.y;
        EXPECT_NEAR(s[1], c.fy, 1e-5f) << c.x << "," << c.y;
    }
    // Just beyond the edge the output starts from nothing.
    EXPECT_LT(GamepadMapper::stick(edge + 400, 0)[0], 0.02f);
}

TEST(GamepadMapper, RightStickLooksAndLeftStickMovesTheMenuCursor) {
    GamepadMapper mapper;
    const PadLayout layout;
    EXPECT_FLOAT_EQ(mapper.look(0.5f, {}).yaw, 0.0f);
    mapper.axisMoved(layout.rightX, GamepadMapper::AXIS_MAX);
    mapper.axisMoved(layout.rightY, GamepadMapper::AXIS_MIN);  // stick pushed up
    LookStep step = mapper.look(0.5f, {});
    // Full right and up: clamped to the unit circle, half a second.
    const float full = GamepadMapper::LOOK_DEGREES_PER_SECOND * 0.5f * 0.70710677f;
    EXPECT_NEAR(step.yaw, -full, 1e-3f);
    EXPECT_NEAR(step.pitch, full, 1e-3f);
    step = mapper.look(0.5f, {2.0f, true, 45.0f});
    EXPECT_NEAR(step.yaw, -2 * full, 1e-3f);
    EXPECT_NEAR(step.pitch, -2 * full, 1e-3f);
    EXPECT_FLOAT_EQ(mapper.cursorMove(1.0f)[0], 0.0f);

    mapper.axisMoved(layout.leftX, GamepadMapper::AXIS_MIN);
    const auto move = mapper.cursorMove(0.1f);
    EXPECT_NEAR(move[0], -GamepadMapper::CURSOR_PIXELS_PER_SECOND * 0.1f, 1e-3f);
    EXPECT_FLOAT_EQ(move[1], 0.0f);
}
