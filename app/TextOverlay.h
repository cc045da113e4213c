#ifndef MOSSDEN_APP_TEXTOVERLAY_H
#define MOSSDEN_APP_TEXTOVERLAY_H

// PLACEHOLDER interface until the text overlay lands: just enough for the
// menu's size caption.
#include <OgreColourValue.h>
#include <OgreFontManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>

#include <string>

namespace Mossden {

class TextOverlay {
public:
    static TextOverlay* instance() { return current(); }
    static TextOverlay*& current() {
        static TextOverlay* one = nullptr;
        return one;
    }
    ~TextOverlay() {
        if (current() == this) current() = nullptr;
    }
    TextOverlay() {
        current() = this;
        overlayManager = Ogre::OverlayManager::getSingletonPtr();
        overlay = overlayManager->create("overlay1");
        panel = static_cast<Ogre::OverlayContainer*>(
            overlayManager->createOverlayElement("Panel", "container1"));
        panel->setDimensions(1, 1);
        panel->setPosition(0, 0);
        overlay->setZOrder(601);
        overlay->add2D(panel);
        overlay->show();
    }
    void createTextArea(const std::string& id, const std::string& caption, Ogre::Real x,
                        Ogre::Real y, Ogre::Real width, Ogre::Real height,
                        const Ogre::ColourValue& colour) {
        Ogre::OverlayElement* text = overlayManager->createOverlayElement("TextArea", id);
        text->setDimensions(width, height);
        text->setMetricsMode(Ogre::GMM_PIXELS);
        text->setPosition(x, y);
        text->setWidth(width);
        text->setHeight(height);
        if (Ogre::FontManager::getSingleton().resourceExists("MossdenMenu/ViewModeFont"))
            text->setParameter("font_name", "MossdenMenu/ViewModeFont");
        text->setParameter("char_height", "14");
        text->setColour(colour);
        text->setCaption(caption);
        panel->addChild(text);
    }
    void setCaption(const std::string& id, const std::string& caption) {
        overlayManager->getOverlayElement(id)->setCaption(caption);
    }

    Ogre::OverlayManager* overlayManager = nullptr;
    Ogre::Overlay* overlay = nullptr;
    Ogre::OverlayContainer* panel = nullptr;
};

}  // namespace Mossden

#endif
