#ifndef MOSSDEN_MENU_MENUCURSOR_H
#define MOSSDEN_MENU_MENUCURSOR_H

#include <OgrePrerequisites.h>

#include <string>

namespace Ogre {
class Overlay;
class OverlayContainer;
}  // namespace Ogre

namespace Mossden {

// The menu's own mouse pointer: a picture on the overlay "MouseCursor", drawn
// above everything else the game shows. Positions arrive in window pixels and
// are kept as fractions of the window size; the picture keeps its pixel size
// whatever the window size. The engine owns the overlay, material and
// texture; this object only points at them, so it may outlive the engine.
class MenuCursor {
public:
    static constexpr unsigned short Z_ORDER = 649;

    // Builds the material "MouseCursor/default", the panel and the overlay,
    // and shows the overlay with imageName as the picture.
    explicit MenuCursor(const std::string& imageName);

    MenuCursor(const MenuCursor&) = delete;
    MenuCursor& operator=(const MenuCursor&) = delete;

    // Loads the picture (group "General") onto the first texture unit.
    void setImage(const std::string& imageName);
    // width, height in pixels; 0 counts as 1.
    void setWindowSize(int width, int height);
    // x, y in window pixels. The stored position is not clamped; the picture
    // stays on the screen.
    void setPosition(int x, int y);
    void show();
    void hide();
    bool isVisible() const;

    // Last position as fractions of the window size (not clamped).
    Ogre::Real getX() const { return x; }
    Ogre::Real getY() const { return y; }
    Ogre::OverlayContainer* getPanel() const { return panel; }

private:
    void updateSize();

    Ogre::Overlay* overlay = nullptr;
    Ogre::OverlayContainer* panel = nullptr;
    Ogre::Material* material = nullptr;
    Ogre::Texture* texture = nullptr;
    Ogre::Real windowWidth = 1;   // pixels, never below 1
    Ogre::Real windowHeight = 1;  // pixels, never below 1
    Ogre::Real x = 0;
    Ogre::Real y = 0;
};

}  // namespace Mossden

#endif
