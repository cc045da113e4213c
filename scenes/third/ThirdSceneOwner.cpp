#include "scenes/third/ThirdSceneOwner.h"

#include <OgreLogManager.h>

#include <cassert>
#include <iostream>
#include <string>

namespace Mossden {

const char* phaseName(Scene3Phase phase) {
    switch (phase) {
    case Scene3Phase::Intro: return "Intro";
    case Scene3Phase::OnAsteroid: return "OnAsteroid";
    case Scene3Phase::InHole: return "InHole";
    case Scene3Phase::Aligning: return "Aligning";
    case Scene3Phase::Flying: return "Flying";
    case Scene3Phase::Finale: return "Finale";
    }
    reportBadPhase(phase, "phaseName");
    return "?";
}

void reportBadPhase(Scene3Phase phase, const char* where) {
    const std::string text =
        "Scene3: bad phase " + std::to_string(static_cast<int>(phase)) + " in " + where;
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(text, Ogre::LML_CRITICAL);
    else
        std::cerr << text << std::endl;
    assert(!"bad Scene3 phase");
}

}  // namespace Mossden
