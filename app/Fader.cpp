#include "app/Fader.h"

#include <OgreMaterialManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>

#include <cmath>
#include <iostream>

namespace Mossden {

namespace {
constexpr double MIN_FADE_SECONDS = 0.000001;
constexpr double DEFAULT_FADE_SECONDS = 1.0;
}  // namespace

Fader::Fader(FaderCallback* callback) : callback(callback) {
    try {
        Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(
            "Materials/OverlayMaterial", Ogre::RGN_AUTODETECT);
        if (!material) {
            OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                        "material Materials/OverlayMaterial not found", "Fader");
        }
        // The engine only asserts on missing indices: check them here.
        Ogre::Technique* technique =
            material->getNumTechniques() ? material->getTechnique(0) : nullptr;
        Ogre::Pass* pass = technique && technique->getNumPasses() ? technique->getPass(0) : nullptr;
        if (!pass || pass->getNumTextureUnitStates() == 0) {
            OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                        "material Materials/OverlayMaterial has no first texture unit", "Fader");
        }
        textureUnit = pass->getTextureUnitState(0);
        overlay = Ogre::OverlayManager::getSingleton().getByName("Overlays/FadeInOut");
        if (!overlay) {
            OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "overlay Overlays/FadeInOut not found",
                        "Fader");
        }
        overlay->hide();
    } catch (const Ogre::Exception& e) {
        std::cout << e.getFullDescription() << std::endl;
    } catch (...) {
        std::cout << "An unknown exception has occured while setting up the fader." << std::endl;
    }
}

void Fader::startFadeIn(double seconds) {
    seconds = std::fabs(seconds);
    if (seconds < MIN_FADE_SECONDS) seconds = DEFAULT_FADE_SECONDS;
    alpha = 1.0;
    totalDuration = currentDuration = seconds;
    operation = FADE_IN;
    if (overlay) overlay->show();
}

void Fader::startFadeOut(double seconds) {
    // A zero length would divide by zero in fade(); treat it as fade-in does.
    seconds = std::fabs(seconds);
    if (seconds < MIN_FADE_SECONDS) seconds = DEFAULT_FADE_SECONDS;
    alpha = 0.0;
    totalDuration = seconds;
    currentDuration = 0.0;
    operation = FADE_OUT;
    if (overlay) overlay->show();
}

void Fader::applyAlpha(double value) {
    if (!textureUnit) return;
    textureUnit->setAlphaOperation(Ogre::LBX_MODULATE, Ogre::LBS_MANUAL, Ogre::LBS_TEXTURE,
                                   static_cast<Ogre::Real>(value), 1.0f, 0.0f);
}

void Fader::fade(double dt) {
    if (operation == FADE_NONE || !textureUnit) return;
    if (operation == FADE_IN)
        currentDuration -= dt;
    else
        currentDuration += dt;
    alpha = currentDuration / totalDuration;
    // Applied before clamping: the last frame of a fade gets a value just
    // outside 0..1, which the blend clamps anyway.
    applyAlpha(alpha);
    if (alpha < 0.0) {
        alpha = 0.0;
        if (overlay) overlay->hide();
        operation = FADE_NONE;
        if (callback) callback->fadeInCallback();
    }
    if (alpha > 1.0) {
        alpha = 1.0;
        operation = FADE_NONE;
        if (callback) callback->fadeOutCallback();
    }
}

}  // namespace Mossden
