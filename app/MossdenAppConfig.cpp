// The player's settings and the engine configuration: where they are read
// from, how they are checked, and how they are kept.
#include <Ogre.h>

#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/DataPaths.h"
#include "app/MossdenApp.h"
#include "app/UserPaths.h"
#include "app/VideoModeCheck.h"
#include "audio/SoundManager.h"

namespace Mossden {

void MossdenApp::loadUserSettings() {
    std::vector<std::string> notes;
    std::string folder =
        userFolder([](const char* name) { return std::getenv(name); }, UserFolder::Config, notes);
    if (std::string note; !folder.empty() && !ensureFolder(folder, note)) {
        notes.push_back(note + "; settings are not kept");
        folder.clear();
    }
    const EngineConfigPaths engineConfig = engineConfigPaths(folder, ogreCfgPath);
    ogreCfgPath = engineConfig.read;
    userOgreCfgPath = engineConfig.write;
    if (!folder.empty()) {
        settingsPath = folder + "settings.cfg";
        settings = loadSettings(settingsPath, notes);
        savedSettings = settings;
    }
    for (const auto& note : notes) std::cout << note << std::endl;
    menu.volume = settings.volume;
    SoundManager::getInstance().setVolume(float(settings.volume) / float(Settings::MAX_VOLUME));
}

void MossdenApp::keepSettings() {
    // The settings page changes the level in the settings and keeps them:
    // the scenes follow at once.
    if (settings.quality.value_or(Settings::Quality::High) != appliedQuality) applyQuality();
    if (settingsPath.empty() || settings == savedSettings) return;
    std::string note;
    if (saveSettings(settingsPath, settings, note))
        savedSettings = settings;
    else
        std::cout << note << std::endl;
}

void MossdenApp::pickFirstQuality() {
    if (settings.quality) return;
    const Ogre::RenderSystemCapabilities* capabilities = root->getRenderSystem()->getCapabilities();
    const std::string renderer = capabilities ? capabilities->getDeviceName() : "";
    settings.quality = firstQuality(renderer);
    // Not on standard output: a first start is not news to the player.
    Ogre::LogManager::getSingleton().logMessage(
        std::string("Quality ") + (*settings.quality == Settings::Quality::Low ? "low" : "high") +
        " chosen for the renderer '" + renderer + "'");
    keepSettings();
}

void MossdenApp::setFieldOfView(float degrees) {
    settings.fieldOfView = degrees;
    if (camera) camera->setFOVy(Ogre::Degree(degrees));
}

bool MossdenApp::applySettingsToEngineConfig() {
    // The size and window mode last chosen in the menu; checked against the
    // offered modes afterwards like the configuration's own.
    // Returns whether the size came from the settings.
    Ogre::RenderSystem* renderSystem = root->getRenderSystem();
    const auto size = parseSizeText(settings.screenSize);
    try {
        if (size)
            renderSystem->setConfigOption(
                "Video Mode", std::to_string(size->first) + " x " + std::to_string(size->second));
        if (settings.fullscreen) renderSystem->setConfigOption("Full Screen", *settings.fullscreen ? "Yes" : "No");
        // Anti-aliasing multiplies the cost of every pixel: only High keeps
        // what the engine configuration asks for (the window is made with it,
        // so a change of level takes effect at the next start).
        if (settings.quality.value_or(Settings::Quality::High) != Settings::Quality::High)
            renderSystem->setConfigOption("FSAA", "0");
    } catch (const Ogre::Exception& e) {
        std::cout << "Ignoring the window settings of " << settingsPath << ": " << e.getDescription() << std::endl;
        return false;
    }
    return size.has_value();
}

void MossdenApp::writeEngineConfig() const {
    // Written by us rather than by the engine, which would write over the
    // file in place; and to the player's copy, never into the data.
    if (userOgreCfgPath.empty()) return;
    std::vector<EngineConfigSection> sections;
    for (Ogre::RenderSystem* renderSystem : root->getAvailableRenderers()) {
        EngineConfigSection& section = sections.emplace_back();
        section.renderSystem = renderSystem->getName();
        for (const auto& option : renderSystem->getConfigOptions())
            section.options.emplace_back(option.first, option.second.currentValue);
    }
    std::string note;
    if (!writeFileAtomically(userOgreCfgPath, engineConfigText(root->getRenderSystem()->getName(), sections),
                             note)) {
        std::cout << note << std::endl;
        Ogre::LogManager::getSingleton().logMessage("Configuration not saved: " + note);
    }
}

void MossdenApp::checkConfiguredVideoMode(const std::string& source) {
    Ogre::RenderSystem* renderSystem = root->getRenderSystem();
    const auto& options = renderSystem->getConfigOptions();
    const auto it = options.find("Video Mode");
    if (it == options.end()) return;
    const std::vector<std::string> offered(it->second.possibleValues.begin(), it->second.possibleValues.end());
    const VideoModeChoice choice = checkVideoMode(it->second.currentValue, offered);
    if (choice.note.empty()) return;
    std::cout << source << ": " << choice.note << std::endl;
    renderSystem->setConfigOption("Video Mode", choice.mode);
}

}  // namespace Mossden
