#ifndef MOSSDEN_APP_TEXTOVERLAY_H
#define MOSSDEN_APP_TEXTOVERLAY_H

#include <OgreColourValue.h>
#include <OgrePrerequisites.h>

#include <string>

namespace Ogre {
class Overlay;
class OverlayContainer;
class OverlayManager;
}  // namespace Ogre

namespace Mossden {

// Lines of text placed on the screen in layout pixels (pixels of a window
// 768 high; the menu's InterfaceLayout scales the overlay about the window's
// centre and renders the font again for other sizes), outside the overlay
// scripts:
// one overlay "overlay1" (z-order 601) with one full-screen panel
// "container1" that holds text areas known by their ids. There is at most
// one; the overlay manager owns the overlay and the text areas and destroys
// them with the engine.
class TextOverlay {
public:
    static constexpr unsigned short Z_ORDER = 601;

    // Builds and shows the overlay. Engine errors (such as a second
    // TextOverlay, whose overlay name is taken) pass to the caller.
    TextOverlay();
    ~TextOverlay();
    TextOverlay(const TextOverlay&) = delete;
    TextOverlay& operator=(const TextOverlay&) = delete;

    // The one TextOverlay, or null before it is built.
    static TextOverlay* instance() { return current; }

    // A text area at (x, y) pixels from the window's top left corner, of
    // width x height pixels, in the font "MossdenMenu/ViewModeFont" at
    // 16 pixels. An id used before raises the engine's error.
    void createTextArea(const std::string& id, const std::string& caption, Ogre::Real x,
                        Ogre::Real y, Ogre::Real width, Ogre::Real height,
                        const Ogre::ColourValue& colour);
    // New caption of an existing text area; an unknown id raises the
    // engine's error.
    void setCaption(const std::string& id, const std::string& caption);

    Ogre::OverlayManager* overlayManager = nullptr;
    Ogre::Overlay* overlay = nullptr;
    Ogre::OverlayContainer* panel = nullptr;

private:
    static TextOverlay* current;
};

}  // namespace Mossden

#endif
