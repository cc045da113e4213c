#include "app/InputChain.h"

#include "menu/MossdenMenu.h"
#include "scene/MossdenScene.h"

namespace Mossden {

bool InputChain::keyPressed(const OIS::KeyEvent& evt) {
    if (menu.shown()) return menu.keyPressed(evt);
    return scene ? scene->keyPressed(evt) : true;
}

bool InputChain::keyReleased(const OIS::KeyEvent& evt) {
    return scene ? scene->keyReleased(evt) : true;
}

bool InputChain::mouseMoved(const OIS::MouseEvent& evt) {
    if (menu.shown()) return menu.mouseMoved(evt);
    return scene ? scene->mouseMoved(evt) : true;
}

bool InputChain::mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    if (menu.shown()) return menu.mousePressed(evt, id);
    return scene ? scene->mousePressed(evt, id) : true;
}

bool InputChain::mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    if (menu.shown()) menu.mouseReleased(evt, id);
    return scene ? scene->mouseReleased(evt, id) : true;
}

}  // namespace Mossden
