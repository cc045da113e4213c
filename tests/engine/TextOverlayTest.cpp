// Text areas placed in pixels over the real window, in the menu's font.
#include <Ogre.h>
#include <OgreFont.h>
#include <OgreFontManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/TextOverlay.h"
#include "tests/engine/EngineEnvironment.h"

namespace {

using Mossden::TextOverlay;
using Mossden::Test::app;
using Mossden::Test::renderFrames;

// The one text overlay of the process: the menu's if it has built one.
TextOverlay& textOverlay() {
    static std::unique_ptr<TextOverlay> owned;
    if (!TextOverlay::instance()) owned = std::make_unique<TextOverlay>();
    return *TextOverlay::instance();
}

Ogre::Viewport& viewport() { return *app().window->getViewport(0); }

// Renders until the viewport has the size, as a resize reaches the engine
// through the window system's messages.
bool renderUntilSize(int width, int height) {
    for (int i = 0; i < 50; ++i) {
        if (viewport().getActualWidth() == width && viewport().getActualHeight() == height)
            return true;
        renderFrames(1);
    }
    return false;
}

// How many pixels of the window's rectangle are brighter than the black
// background.
int brightPixels(int left, int top, int width, int height) {
    const Ogre::PixelFormat format = Ogre::PF_BYTE_RGBA;
    std::vector<Ogre::uchar> data(static_cast<std::size_t>(width * height) * 4);
    Ogre::PixelBox box(width, height, 1, format, data.data());
    app().window->copyContentsToMemory(Ogre::Box(left, top, left + width, top + height), box);
    int bright = 0;
    for (std::size_t i = 0; i < data.size(); i += 4)
        if (data[i] > 128 && data[i + 1] > 128 && data[i + 2] > 128) ++bright;
    return bright;
}

// A text area made through the text overlay, as the engine holds it.
Ogre::OverlayElement* createArea(const std::string& id, const std::string& caption, Ogre::Real x,
                                 Ogre::Real y, Ogre::Real width, Ogre::Real height,
                                 const Ogre::ColourValue& colour) {
    textOverlay().createTextArea(id, caption, x, y, width, height, colour);
    return Ogre::OverlayManager::getSingleton().getOverlayElement(id);
}

TEST(TextOverlay, IsOneFullScreenPanelAboveTheScene) {
    TextOverlay& text = textOverlay();
    ASSERT_EQ(text.overlay, Ogre::OverlayManager::getSingleton().getByName("overlay1"));
    EXPECT_EQ(text.overlay->getZOrder(), 601);
    EXPECT_TRUE(text.overlay->isVisible());
    ASSERT_EQ(text.panel->getName(), "container1");
    EXPECT_EQ(text.panel->getMetricsMode(), Ogre::GMM_RELATIVE);
    EXPECT_EQ(text.panel->getWidth(), 1.0f);
    EXPECT_EQ(text.panel->getHeight(), 1.0f);

    // A second one cannot exist; the first stays the one.
    EXPECT_THROW(TextOverlay(), Ogre::Exception);
    EXPECT_EQ(TextOverlay::instance(), &text);
}

TEST(TextOverlay, FontComesFromTheMediaScripts) {
    Ogre::FontPtr font = Ogre::FontManager::getSingleton().getByName("MossdenMenu/ViewModeFont");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->getType(), Ogre::FT_TRUETYPE);
    EXPECT_EQ(font->getSource(), "DejaVuSans.ttf");
    EXPECT_NO_THROW(font->load());
}

TEST(TextOverlay, TextAreaKeepsItsPixelsThroughAResize) {
    // Nothing else bright on the screen: the menu scene opens its start menu
    // on its first frame, so let that happen and put the menu away.
    ASSERT_TRUE(renderFrames(1));
    app().menu.hide();
    Ogre::OverlayElement* area = createArea("TextOverlayTest/Area", "Mossden 1024x768", 10, 20, 200,
                                            30, Ogre::ColourValue::White);
    EXPECT_EQ(area->getParent(), textOverlay().panel);
    EXPECT_EQ(area->getMetricsMode(), Ogre::GMM_PIXELS);
    EXPECT_EQ(area->getParameter("font_name"), "MossdenMenu/ViewModeFont");
    EXPECT_EQ(area->getParameter("char_height"), "16");
    EXPECT_EQ(area->getColour(), Ogre::ColourValue::White);

    const std::string original = app().resolution;
    for (const auto& size : {std::pair<int, int>{1024, 768}, std::pair<int, int>{800, 600}}) {
        SCOPED_TRACE(size.first);
        app().setResolution(std::to_string(size.first) + "x" + std::to_string(size.second));
        ASSERT_TRUE(renderUntilSize(size.first, size.second));
        ASSERT_TRUE(renderFrames(1));
        EXPECT_FLOAT_EQ(area->_getDerivedLeft() * size.first, 10.0f);
        EXPECT_FLOAT_EQ(area->_getDerivedTop() * size.second, 20.0f);
        EXPECT_FLOAT_EQ(area->getWidth(), 200.0f);
        EXPECT_FLOAT_EQ(area->getHeight(), 30.0f);
        EXPECT_GT(brightPixels(10, 20, 200, 30), 20) << "the caption should be drawn there";
        EXPECT_EQ(brightPixels(300, 100, 200, 30), 0);
    }
    app().setResolution(original);
    renderFrames(2);
}

TEST(TextOverlay, CaptionsChangeInPlaceAndIdsAreChecked) {
    TextOverlay& text = textOverlay();
    Ogre::OverlayElement* area =
        createArea("TextOverlayTest/Caption", "first", 40, 50, 100, 20, Ogre::ColourValue::Red);
    text.setCaption("TextOverlayTest/Caption", "second");
    EXPECT_EQ(area->getCaption(), "second");
    EXPECT_EQ(area->getLeft(), 40.0f);
    EXPECT_EQ(area->getTop(), 50.0f);

    EXPECT_THROW(text.setCaption("TextOverlayTest/Nothing", "x"), Ogre::Exception);
    EXPECT_THROW(text.createTextArea("TextOverlayTest/Caption", "again", 0, 0, 10, 10,
                                     Ogre::ColourValue::Red),
                 Ogre::Exception);
    EXPECT_EQ(area->getCaption(), "second");
}

}  // namespace
