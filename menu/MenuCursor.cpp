#include "menu/MenuCursor.h"

#include <OgreMaterialManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>

#include <algorithm>

namespace Mossden {

namespace {
const char* const OVERLAY_NAME = "MouseCursor";
const char* const PANEL_NAME = "MouseCursor";
const char* const MATERIAL_NAME = "MouseCursor/default";
const char* const GROUP = "General";
}  // namespace

MenuCursor::MenuCursor(const std::string& imageName) {
    Ogre::MaterialPtr created =
        Ogre::MaterialManager::getSingleton().getByName(MATERIAL_NAME, GROUP);
    if (!created) created = Ogre::MaterialManager::getSingleton().create(MATERIAL_NAME, GROUP);
    material = created.get();
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    // An overlay picture must not be lit or depth-tested: the menu scene has
    // no light, and the cursor is drawn over everything.
    pass->setLightingEnabled(false);
    pass->setDepthCheckEnabled(false);
    pass->setDepthWriteEnabled(false);

    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    panel =
        static_cast<Ogre::OverlayContainer*>(overlays.createOverlayElement("Panel", PANEL_NAME));
    panel->setMaterialName(MATERIAL_NAME);
    panel->setPosition(0, 0);
    overlay = overlays.create(OVERLAY_NAME);
    overlay->setZOrder(Z_ORDER);
    overlay->add2D(panel);
    overlay->show();
    setImage(imageName);
}

void MenuCursor::setImage(const std::string& imageName) {
    Ogre::TexturePtr loaded = Ogre::TextureManager::getSingleton().load(imageName, GROUP);
    texture = loaded.get();
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    Ogre::TextureUnitState* unit = pass->getNumTextureUnitStates() > 0
                                       ? pass->getTextureUnitState(0)
                                       : pass->createTextureUnitState();
    unit->setTexture(loaded);
    unit->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
    pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    updateSize();
}

void MenuCursor::setWindowSize(int width, int height) {
    windowWidth = static_cast<Ogre::Real>(std::max(width, 1));
    windowHeight = static_cast<Ogre::Real>(std::max(height, 1));
    updateSize();
}

void MenuCursor::updateSize() {
    if (!texture) return;
    panel->setDimensions(static_cast<Ogre::Real>(texture->getWidth()) / windowWidth,
                         static_cast<Ogre::Real>(texture->getHeight()) / windowHeight);
}

void MenuCursor::setPosition(int px, int py) {
    x = static_cast<Ogre::Real>(px) / windowWidth;
    y = static_cast<Ogre::Real>(py) / windowHeight;
    panel->setPosition(std::clamp(x, Ogre::Real(0), Ogre::Real(1)),
                       std::clamp(y, Ogre::Real(0), Ogre::Real(1)));
}

void MenuCursor::show() { panel->show(); }

void MenuCursor::hide() { panel->hide(); }

bool MenuCursor::isVisible() const { return panel->isVisible(); }

}  // namespace Mossden
