#include <gtest/gtest.h>

#include <string>

#include "menu/InterfaceScale.h"

using Mossden::InterfaceScale;

TEST(InterfaceScale, KeepsTheMenusShareOfTheHeightAndStaysInsideTheWindow) {
    struct Case {
        int width, height;
        float scale;
        int pictures;
    };
    const Case cases[] = {
        {1024, 768, 1.0f, 1},       // the layout's own size
        {1920, 1080, 1.40625f, 2},  // share of the height
        {3840, 2160, 2.8125f, 3},   // share of the height
        {2560, 1440, 1.875f, 2},
        {800, 600, 600.0f / 620, 1},   // own size would not fit: fitted
        {1280, 720, 1.0f, 1},          // own size fits: kept for legible text
        {2560, 800, 800.0f / 768, 1},  // 4 % larger: the scale-1 pictures still do
        {700, 2160, 700.0f / 820, 1},  // a tall narrow window: fitted across
        {0, -5, 1.0f / 820, 1},        // no size yet: counts as 1 x 1
    };
    for (const Case& c : cases) {
        const InterfaceScale s(c.width, c.height);
        EXPECT_FLOAT_EQ(s.scale(), c.scale) << c.width << "x" << c.height;
        EXPECT_EQ(s.pictureScale(), c.pictures) << c.width << "x" << c.height;
        if (c.width > 0) {
            EXPECT_LE(InterfaceScale::MENU_WIDTH * s.scale(), c.width + 0.01f);
            EXPECT_LE(InterfaceScale::MENU_HEIGHT * s.scale(), c.height + 0.01f);
        }
    }
}

TEST(InterfaceScale, PointerPositionsMapIntoTheLayoutAboutTheCentre) {
    const InterfaceScale s(3840, 2160);
    EXPECT_FLOAT_EQ(s.toLayout(0.5f), 0.5f);
    // The layout's right edge at scale 2.8125 is that much farther out.
    EXPECT_FLOAT_EQ(s.toLayout(0.5f + 0.25f * 2.8125f), 0.75f);
    EXPECT_FLOAT_EQ(s.toLayoutPixels(28.125f), 10.0f);
    const InterfaceScale own(1024, 768);
    EXPECT_FLOAT_EQ(own.toLayout(0.1f), 0.1f);
}

TEST(InterfaceScale, PictureNamesOfEachSet) {
    EXPECT_EQ(InterfaceScale::pictureName("menu_start.png", 1), "menu_start.png");
    EXPECT_EQ(InterfaceScale::pictureName("menu_start.png", 2), "menu_start_2x.png");
    EXPECT_EQ(InterfaceScale::pictureName("menu_start_2x.png", 3), "menu_start_3x.png");
    EXPECT_EQ(InterfaceScale::pictureName("menu_start_3x.png", 1), "menu_start.png");
    // Scales without a set, and names that are not pictures, stay as named.
    EXPECT_EQ(InterfaceScale::pictureName("menu_start.png", 4), "menu_start.png");
    EXPECT_EQ(InterfaceScale::pictureName("sky.jpg", 2), "sky.jpg");
    EXPECT_EQ(InterfaceScale::baseName("menu_4x.png"), "menu_4x.png");
    EXPECT_EQ(InterfaceScale::baseName("_2x.png"), "_2x.png");
    EXPECT_EQ(InterfaceScale::baseName(".png"), ".png");
    EXPECT_EQ(InterfaceScale::baseName("a_2x.png"), "a.png");
}
