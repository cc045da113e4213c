#include "app/EngineCore.h"

#include <OgreLogManager.h>
#include <OgreOverlaySystem.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>

#include <fstream>
#include <iostream>
#include <vector>

#include "app/DataGuard.h"
#include "app/EnginePlugins.h"

namespace Mossden {

namespace {

constexpr const char* LOG_FILE = "Ogre.log";

}  // namespace

EngineCore::EngineCore(const std::string& pluginsCfgPath, const std::string& ogreCfgPath) {
    if (!Ogre::LogManager::getSingletonPtr()) {
        logManager = std::make_unique<Ogre::LogManager>();
        logManager->createLog(LOG_FILE, true, false, false);
    }
    // Plugins load from the engine's own folder only, whatever the file says.
    rootObject = std::make_unique<Ogre::Root>("", ogreCfgPath, LOG_FILE);
    DataGuard::guardArchives();
    std::vector<std::string> notes;
    std::ifstream pluginsCfg(pluginsCfgPath);
    const std::vector<std::string> plugins = readPluginConfig(pluginsCfg, enginePluginFolder(), notes);
    for (const auto& note : notes) std::cout << pluginsCfgPath << ": " << note << std::endl;
    loadEnginePlugins(*rootObject, plugins);
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
