#include "app/TextOverlay.h"

#include <OgreException.h>
#include <OgreFont.h>
#include <OgreFontManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayElement.h>
#include <OgreOverlayManager.h>

namespace Mossden {

namespace {
const char* const OVERLAY_NAME = "overlay1";
const char* const PANEL_NAME = "container1";
const char* const FONT_NAME = "MossdenMenu/ViewModeFont";
const char* const CHAR_HEIGHT = "16";  // layout pixels
}  // namespace

TextOverlay* TextOverlay::current = nullptr;

TextOverlay::TextOverlay() {
    TextOverlay* const previous = current;
    current = this;
    try {
        overlayManager = Ogre::OverlayManager::getSingletonPtr();
        if (!overlayManager)
            OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_STATE, "no overlay system", "TextOverlay");
        overlay = overlayManager->create(OVERLAY_NAME);
        // Relative metrics by default: 1 x 1 at (0, 0) covers the screen.
        panel = static_cast<Ogre::OverlayContainer*>(
            overlayManager->createOverlayElement("Panel", PANEL_NAME));
        panel->setDimensions(1, 1);
        panel->setPosition(0, 0);
        overlay->setZOrder(Z_ORDER);
        overlay->add2D(panel);
        overlay->show();
    } catch (...) {
        // Leave nothing half-built behind, so that the names stay free.
        if (panel) overlayManager->destroyOverlayElement(panel);
        if (overlay) overlayManager->destroy(overlay);
        current = previous;
        throw;
    }
}

TextOverlay::~TextOverlay() {
    if (current == this) current = nullptr;
}

void TextOverlay::createTextArea(const std::string& id, const std::string& caption, Ogre::Real x,
                                 Ogre::Real y, Ogre::Real width, Ogre::Real height,
                                 const Ogre::ColourValue& colour) {
    Ogre::OverlayElement* area = overlayManager->createOverlayElement("TextArea", id);
    area->setDimensions(width, height);
    area->setMetricsMode(Ogre::GMM_PIXELS);
    area->setPosition(x, y);
    area->setWidth(width);
    area->setHeight(height);
    // The text area does not load its font; with the font unloaded it has no
    // glyphs, sizes the caption wrongly and draws nothing.
    if (Ogre::FontPtr font = Ogre::FontManager::getSingleton().getByName(FONT_NAME)) font->load();
    area->setParameter("font_name", FONT_NAME);
    area->setParameter("char_height", CHAR_HEIGHT);
    area->setColour(colour);
    area->setCaption(caption);
    panel->addChild(area);
}

void TextOverlay::setCaption(const std::string& id, const std::string& caption) {
    overlayManager->getOverlayElement(id)->setCaption(caption);
}

}  // namespace Mossden
