#include "menu/InterfaceLayout.h"

#include <OgreException.h>
#include <OgreFont.h>
#include <OgreFontManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <OgrePass.h>
#include <OgreResourceGroupManager.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>
#include <OgreTextureUnitState.h>

#include <cmath>

#include "app/TextOverlay.h"

namespace Mossden {

namespace {

const char* const SCALED_OVERLAYS[] = {"MossdenOverlays/Menu", "MossdenOverlays/EndMenu",
                                       "MossdenOverlays/IndicatorOverlay"};
// Spread over the whole window whatever the scale.
const char* const STARS = "MossdenOverlays/Menu/StarsBackground";
// The materials whose pictures come in sets, by the start of their names.
const char* const PICTURE_MATERIALS[] = {"Menu/", "EndMenu/", "MossdenOverlays/Indicator"};
// The captions' font, and the resolution its definition gives it at scale 1.
const char* const CAPTION_FONT = "MossdenMenu/ViewModeFont";
constexpr float CAPTION_FONT_RESOLUTION = 96;  // dots per inch

bool startsWith(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

}  // namespace

void InterfaceLayout::apply(int width, int height) {
    current = InterfaceScale(width, height);
    if (!Ogre::OverlayManager::getSingletonPtr()) return;
    scaleOverlays();
    takePictures();
    renderFont();
}

void InterfaceLayout::scaleOverlays() const {
    auto& overlays = Ogre::OverlayManager::getSingleton();
    const Ogre::Real s = current.scale();
    for (const char* name : SCALED_OVERLAYS)
        if (Ogre::Overlay* overlay = overlays.getByName(name)) overlay->setScale(s, s);
    if (TextOverlay* text = TextOverlay::instance()) text->overlay->setScale(s, s);
    if (overlays.hasOverlayElement(STARS)) {
        // Relative units: the overlay's scale about the centre would shrink
        // or grow the sky with the panel.
        Ogre::OverlayElement* stars = overlays.getOverlayElement(STARS);
        stars->setDimensions(1 / s, 1 / s);
        stars->setPosition(0.5f - 0.5f / s, 0.5f - 0.5f / s);
    }
}

void InterfaceLayout::takePictures() {
    auto& groups = Ogre::ResourceGroupManager::getSingleton();
    const int set = current.pictureScale();
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements()) {
        const Ogre::ResourcePtr entry = materials.getNext();
        const std::string& name = entry->getName();
        bool ours = false;
        for (const char* start : PICTURE_MATERIALS) ours = ours || startsWith(name, start);
        if (!ours) continue;
        auto* material = static_cast<Ogre::Material*>(entry.get());
        for (Ogre::Technique* technique : material->getTechniques())
            for (Ogre::Pass* pass : technique->getPasses())
                for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates()) {
                    const std::string& shown = unit->getTextureName();
                    std::string wanted = InterfaceScale::pictureName(shown, set);
                    if (wanted == shown) continue;
                    if (!groups.resourceExistsInAnyGroup(wanted)) {
                        // A damaged installation: the picture of scale 1,
                        // enlarged, still shows the menu.
                        if (missing.insert(wanted).second)
                            Ogre::LogManager::getSingleton().logMessage(
                                "Interface: picture '" + wanted +
                                "' is missing; its smaller form is shown");
                        wanted = InterfaceScale::baseName(shown);
                        if (wanted == shown) continue;
                    }
                    unit->setTextureName(wanted);
                }
    }
}

void InterfaceLayout::renderFont() {
    Ogre::FontPtr font =
        Ogre::FontManager::getSingleton().getByName(CAPTION_FONT, Ogre::RGN_AUTODETECT);
    if (!font || font->getType() != Ogre::FT_TRUETYPE) return;
    const auto resolution =
        static_cast<unsigned>(std::lround(CAPTION_FONT_RESOLUTION * current.scale()));
    if (resolution == fontResolution) return;
    fontResolution = resolution;
    try {
        font->unload();
        // The font keeps its glyph texture by name through an unload; a new
        // load makes it again and would find the name taken.
        Ogre::TextureManager::getSingleton().remove(font->getName() + "Texture", font->getGroup());
        font->setTrueTypeResolution(resolution);
        font->load();
    } catch (const Ogre::Exception& e) {
        Ogre::LogManager::getSingleton().logMessage("Interface: font '" +
                                                    std::string(CAPTION_FONT) +
                                                    "' not rendered again: " + e.getDescription());
        return;
    }
    // A text area keeps the material and glyph places of the font it was
    // given: give it the font again.
    TextOverlay* text = TextOverlay::instance();
    if (!text || !text->panel) return;
    for (const auto& child : text->panel->getChildren()) {
        Ogre::OverlayElement* area = child.second;
        if (area->getTypeName() == "TextArea" && area->getParameter("font_name") == CAPTION_FONT)
            area->setParameter("font_name", CAPTION_FONT);
    }
}

}  // namespace Mossden
