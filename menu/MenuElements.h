#ifndef MOSSDEN_MENU_MENUELEMENTS_H
#define MOSSDEN_MENU_MENUELEMENTS_H

// The overlay elements the menu is drawn with, looked up by name and shown
// or hidden; what the menu's scripts lack fails with the engine's error
// when the menu is first built.
#include <OgreColourValue.h>
#include <OgrePrerequisites.h>

#include <string>

namespace Ogre {
class Overlay;
class OverlayContainer;
class OverlayElement;
class TextureUnitState;
}  // namespace Ogre

namespace Mossden {

// A button: the plain picture and the hover picture at the same place.
struct ButtonPair {
    Ogre::OverlayElement* plain = nullptr;
    Ogre::OverlayElement* hover = nullptr;
    bool holds(const Ogre::OverlayElement* e) const { return e && (e == plain || e == hover); }
};

Ogre::Overlay* findOverlay(const std::string& name);
// Throws the overlay manager's error when the scripts do not define the name.
Ogre::OverlayElement* findElement(const std::string& name);
Ogre::OverlayContainer* findContainer(const std::string& name);
// The elements prefix+label and prefix+label+"Hover".
ButtonPair findPair(const std::string& prefix, const std::string& label);
// Texture unit 0 of pass 0 of technique 0 of a material (the one the end
// menu fades); an engine error when the material or the unit is missing.
Ogre::TextureUnitState* firstTextureUnit(const std::string& materialName);

// Puts a slider's arrow (both pictures) at `left`, its top unchanged.
void placeArrow(const ButtonPair& arrow, float left);
void showHover(const ButtonPair& pair);
void resetPair(const ButtonPair& pair);
void setShown(Ogre::OverlayElement* element, bool shown);
// A button that shows whether it is chosen: its plain form wears
// "<material>On" when chosen.
void markChosen(const ButtonPair& pair, const std::string& material, bool chosen);
// A text area of the shared text overlay (which must exist) for a caption
// under a slider arrow, centred on its position.
Ogre::OverlayElement* createCaption(const char* id, Ogre::Real size, const Ogre::ColourValue& colour);

}  // namespace Mossden

#endif
