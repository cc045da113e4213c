#include "app/EngineCore.h"

#include <OgreLogManager.h>
#include <OgreOverlaySystem.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>

namespace Mossden {

namespace {

constexpr const char* LOG_FILE = "Ogre.log";

}  // namespace

EngineCore::EngineCore(const std::string& pluginsCfgPath, const std::string& ogreCfgPath) {
    if (!Ogre::LogManager::getSingletonPtr()) {
        logManager = std::make_unique<Ogre::LogManager>();
        logManager->createLog(LOG_FILE, true, false, false);
    }
    rootObject = std::make_unique<Ogre::Root>(pluginsCfgPath, ogreCfgPath, LOG_FILE);
    overlays = std::make_unique<Ogre::OverlaySystem>();
}

EngineCore::~EngineCore() {
    if (overlaidManager) overlaidManager->removeRenderQueueListener(overlays.get());
}

void EngineCore::attachOverlays(Ogre::SceneManager* sceneManager) {
    sceneManager->addRenderQueueListener(overlays.get());
    overlaidManager = sceneManager;
}

}  // namespace Mossden
