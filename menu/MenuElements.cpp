#include "menu/MenuElements.h"

#include <OgreMaterialManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>

#include "app/TextOverlay.h"

namespace Mossden {

Ogre::Overlay* findOverlay(const std::string& name) {
    Ogre::Overlay* overlay = Ogre::OverlayManager::getSingleton().getByName(name);
    if (!overlay)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Overlay " + name + " not found",
                    "MossdenMenu");
    return overlay;
}

Ogre::OverlayElement* findElement(const std::string& name) {
    return Ogre::OverlayManager::getSingleton().getOverlayElement(name);
}

Ogre::OverlayContainer* findContainer(const std::string& name) {
    Ogre::OverlayElement* element = findElement(name);
    if (!element->isContainer())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, name + " is not a container",
                    "MossdenMenu");
    return static_cast<Ogre::OverlayContainer*>(element);
}

ButtonPair findPair(const std::string& prefix, const std::string& label) {
    return {findElement(prefix + label), findElement(prefix + label + "Hover")};
}

void placeArrow(const ButtonPair& arrow, float left) {
    arrow.hover->setLeft(left);
    arrow.plain->setPosition(left, arrow.hover->getTop());
}

void showHover(const ButtonPair& pair) {
    pair.hover->show();
    pair.plain->hide();
}

void resetPair(const ButtonPair& pair) {
    pair.plain->show();
    pair.hover->hide();
}

void setShown(Ogre::OverlayElement* element, bool shown) {
    if (shown)
        element->show();
    else
        element->hide();
}

void markChosen(const ButtonPair& pair, const std::string& material, bool chosen) {
    pair.plain->setMaterialName(chosen ? material + "On" : material);
}

Ogre::OverlayElement* createCaption(const char* id, Ogre::Real size, const Ogre::ColourValue& colour) {
    TextOverlay::instance()->createTextArea(id, "", 0, 0, size, size, colour);
    Ogre::OverlayElement* caption = findElement(id);
    caption->setHorizontalAlignment(Ogre::GHA_CENTER);
    caption->setVerticalAlignment(Ogre::GVA_CENTER);
    return caption;
}


Ogre::TextureUnitState* firstTextureUnit(const std::string& name) {
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name, Ogre::RGN_AUTODETECT);
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Material " + name + " not found", "MossdenMenu");
    // The engine only asserts on missing indices: check them here.
    Ogre::Technique* technique = material->getNumTechniques() ? material->getTechnique(0) : nullptr;
    Ogre::Pass* pass = technique && technique->getNumPasses() ? technique->getPass(0) : nullptr;
    if (!pass || pass->getNumTextureUnitStates() == 0)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "Material " + name + " has no first texture unit to fade",
                    "MossdenMenu");
    return pass->getTextureUnitState(0);
}

}  // namespace Mossden
