#ifndef MOSSDEN_MENU_MOSSDENMENU_H
#define MOSSDEN_MENU_MOSSDENMENU_H

// PLACEHOLDER interface until the overlay menu lands.
#include <OgreFrameListener.h>

namespace Mossden {

class MossdenMenu {
public:
    void show(int mode) { this->mode = mode; visible = true; }
    void hide() { visible = false; }
    void update(const Ogre::FrameEvent& evt) {}
    void setWindowSize(int width, int height) {}
    void moveCursor(int x, int y) {}
    void mousePressed(Ogre::Real x, Ogre::Real y) {}
    void mouseReleased(Ogre::Real x, Ogre::Real y) {}
    void mouseMoved(Ogre::Real relX) {}

    bool visible = false;
    int mode = 0;
};

}  // namespace Mossden

#endif
