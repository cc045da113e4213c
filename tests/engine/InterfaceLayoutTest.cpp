// The interface laid out for the window's size on the real engine: the
// menus' overlays scale about the centre, their materials show the pictures
// drawn for that scale, the captions' font is rendered again, and pointer
// positions reach the buttons where they are drawn.
#include <Ogre.h>
#include <OgreFont.h>
#include <OgreFontManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayManager.h>
#include <gtest/gtest.h>

#include <string>

#include "menu/InterfaceLayout.h"
#include "menu/InterfaceScale.h"
#include "tests/engine/EngineEnvironment.h"

using Mossden::InterfaceLayout;
using Mossden::InterfaceScale;
using Mossden::Test::app;

namespace {

Ogre::Overlay* overlay(const std::string& name) {
    return Ogre::OverlayManager::getSingleton().getByName(name);
}

std::string firstPicture(const std::string& material) {
    auto m = Ogre::MaterialManager::getSingleton().getByName(material, Ogre::RGN_AUTODETECT);
    return m ? m->getTechnique(0)->getPass(0)->getTextureUnitState(0)->getTextureName() : "";
}

// Every picture of the menus and the indicator exists in every set.
TEST(InterfaceLayout, EveryPictureExistsAtEveryScale) {
    auto& groups = Ogre::ResourceGroupManager::getSingleton();
    int pictures = 0;
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements()) {
        const Ogre::ResourcePtr entry = materials.getNext();
        const std::string& name = entry->getName();
        if (name.rfind("Menu/", 0) != 0 && name.rfind("EndMenu/", 0) != 0 &&
            name != "MossdenOverlays/Indicator")
            continue;
        for (auto* technique : static_cast<Ogre::Material*>(entry.get())->getTechniques())
            for (auto* pass : technique->getPasses())
                for (auto* unit : pass->getTextureUnitStates())
                    for (int scale = 1; scale <= InterfaceScale::PICTURE_SCALES; ++scale) {
                        const std::string picture =
                            InterfaceScale::pictureName(unit->getTextureName(), scale);
                        EXPECT_TRUE(groups.resourceExistsInAnyGroup(picture))
                            << name << ": " << picture;
                        ++pictures;
                    }
    }
    EXPECT_GT(pictures, 0);
}

TEST(InterfaceLayout, ScalesTheOverlaysPicturesAndFontAndBack) {
    InterfaceLayout layout;  // the engine's overlays, as the menu's own lays them out
    Ogre::FontPtr font = Ogre::FontManager::getSingleton().getByName("MossdenMenu/ViewModeFont",
                                                                     Ogre::RGN_AUTODETECT);
    ASSERT_TRUE(font);
    const unsigned ownResolution = font->getTrueTypeResolution();

    layout.apply(3840, 2160);
    for (const char* name :
         {"MossdenOverlays/Menu", "MossdenOverlays/EndMenu", "MossdenOverlays/IndicatorOverlay"}) {
        ASSERT_NE(overlay(name), nullptr) << name;
        EXPECT_FLOAT_EQ(overlay(name)->getScaleX(), 2.8125f) << name;
        EXPECT_FLOAT_EQ(overlay(name)->getScaleY(), 2.8125f) << name;
    }
    EXPECT_EQ(firstPicture("Menu/Start"), "menu_start_3x.png");
    EXPECT_EQ(firstPicture("EndMenu/TheEnd"), "end_theend_3x.png");
    EXPECT_EQ(firstPicture("MossdenOverlays/Indicator"), "indicator_3x.png");
    EXPECT_EQ(font->getTrueTypeResolution(), 270u);
    EXPECT_TRUE(font->isLoaded());
    // The sky still covers the window: 1 / 2.8125 of it, centred, scaled up.
    Ogre::OverlayElement* stars = Ogre::OverlayManager::getSingleton().getOverlayElement(
        "MossdenOverlays/Menu/StarsBackground");
    EXPECT_FLOAT_EQ(stars->getWidth() * 2.8125f, 1.0f);
    EXPECT_NEAR(0.5f + (stars->getLeft() - 0.5f) * 2.8125f, 0.0f, 1e-6f);
    Mossden::Test::renderFrames(1);

    layout.apply(1024, 768);
    EXPECT_FLOAT_EQ(overlay("MossdenOverlays/Menu")->getScaleX(), 1.0f);
    EXPECT_EQ(firstPicture("Menu/Start"), "menu_start.png");
    EXPECT_EQ(firstPicture("MossdenOverlays/Indicator"), "indicator.png");
    EXPECT_EQ(font->getTrueTypeResolution(), ownResolution);
    EXPECT_FLOAT_EQ(stars->getWidth(), 1.0f);
    Mossden::Test::renderFrames(1);
}

// A new window size reaches the layout at once, through the menu.
TEST(InterfaceLayout, ANewWindowSizeLaysTheInterfaceOutAgain) {
    const std::string before = app().resolution;
    app().setResolution("800x600");
    ASSERT_TRUE(Mossden::Test::renderFrames(2));
    EXPECT_FLOAT_EQ(overlay("MossdenOverlays/Menu")->getScaleX(), 600.0f / 620);
    app().setResolution(before);
    ASSERT_TRUE(Mossden::Test::renderFrames(2));
    EXPECT_FLOAT_EQ(overlay("MossdenOverlays/Menu")->getScaleX(), 1.0f);
}

}  // namespace
