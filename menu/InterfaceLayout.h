#ifndef MOSSDEN_MENU_INTERFACELAYOUT_H
#define MOSSDEN_MENU_INTERFACELAYOUT_H

#include <set>
#include <string>

#include "menu/InterfaceScale.h"

namespace Mossden {

// Lays the interface out for the window's size (see InterfaceScale): the
// menus, the end menu, the text overlay's captions and the flight indicator
// are scaled about the window's centre; their materials take the pictures
// drawn for that scale; the captions' font is rendered again at the size
// it is seen. The fader covers the window in relative units and needs
// nothing. Overlays, materials and the font not defined (yet) are left out,
// so that it can run before the menu is built and again after. The engine
// owns everything touched here.
class InterfaceLayout {
public:
    // width, height: the window's size in pixels.
    void apply(int width, int height);

    const InterfaceScale& scale() const { return current; }

private:
    void scaleOverlays() const;
    void takePictures();
    void renderFont();

    InterfaceScale current;
    unsigned fontResolution = 0;    // dots per inch the font was last rendered at
    std::set<std::string> missing;  // pictures reported missing, each once
};

}  // namespace Mossden

#endif
