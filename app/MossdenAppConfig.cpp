// The player's settings, the engine configuration, the window's size and
// mode, the shaders this renderer cannot use and the test knobs: where they
// are read from, how they are checked, and how they are kept.
#include <Ogre.h>
#include <OgreHighLevelGpuProgramManager.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <iostream>
#include <vector>

#include "app/DataPaths.h"
#include "app/InputDevices.h"
#include "app/LineStamper.h"
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


void MossdenApp::collectVideoModes(std::vector<std::string>& modes) const {
    const Ogre::ConfigOptionMap& options = root->getRenderSystem()->getConfigOptions();
    const auto it = options.find("Video Mode");
    if (it == options.end()) return;
    for (const auto& value : it->second.possibleValues) {
        std::string size = value.substr(0, value.find('@'));
        size.erase(std::remove(size.begin(), size.end(), ' '), size.end());
        modes.push_back(size);
    }
}

void MossdenApp::collectFsaaValues(std::vector<std::string>& values) const {
    const Ogre::ConfigOptionMap& options = root->getRenderSystem()->getConfigOptions();
    const auto it = options.find("FSAA");
    if (it == options.end()) return;
    values.insert(values.end(), it->second.possibleValues.begin(), it->second.possibleValues.end());
}

void MossdenApp::setResolution(const std::string& text) {
    const auto size = parseSizeText(text);
    if (!size) {
        Ogre::LogManager::getSingleton().logMessage("Ignoring window size '" + text +
                                                    "': not <width>x<height>");
        return;
    }
    resolution = text;
    settings.screenSize = text;
    keepSettings();
    window->setFullscreen(window->isFullScreen(), size->first, size->second);
    menu.setWindowSize(size->first, size->second);
    camera->setAspectRatio(Ogre::Real(size->first) / Ogre::Real(size->second));
}

void MossdenApp::toggleFullscreen() {
    if (window) setFullscreen(!window->isFullScreen());
}

void MossdenApp::setFullscreen(bool fullscreen) {
    const auto size = parseSizeText(resolution);
    if (!size) {
        Ogre::LogManager::getSingleton().logMessage("Ignoring window mode change: size '" +
                                                    resolution + "' is not <width>x<height>");
        return;
    }
    settings.fullscreen = fullscreen;
    keepSettings();
    // Detour through another mode so that the engine performs a real mode
    // change even when only the fullscreen flag differs.
    for (const auto& mode : videoModes) {
        const auto other = parseSizeText(mode);
        if (!other) continue;
        if (other->first != size->first && other->second != size->second) {
            window->setFullscreen(fullscreen, other->first, other->second);
            break;
        }
    }
    window->setFullscreen(fullscreen, size->first, size->second);
    menu.setWindowSize(size->first, size->second);
    camera->setAspectRatio(Ogre::Real(size->first) / Ogre::Real(size->second));
}

void MossdenApp::readTestKnobs() {
    ClockSettings settings;
    if (const char* text = std::getenv("MOSSDEN_TIME_SCALE")) {
        if (const auto scale = parseTimeScale(text)) {
            settings.timeScale = *scale;
            SoundManager::getInstance().setSpeed(static_cast<float>(*scale));
        } else {
            std::cout << "Ignoring MOSSDEN_TIME_SCALE '" << text
                      << "': not a number from 0.1 to 100; game time runs at 1" << std::endl;
        }
    }
    if (const char* text = std::getenv("MOSSDEN_FIXED_STEP")) {
        if (const auto step = parseFixedStep(text)) {
            settings.fixedStepMs = *step;
        } else {
            std::cout << "Ignoring MOSSDEN_FIXED_STEP '" << text
                      << "': not a number of milliseconds from 1 to 1000; frames take real time" << std::endl;
        }
    }
    clock.configure(settings);
    if (const char* free = std::getenv("MOSSDEN_FREE_CAMERA_DEBUG"); free && *free) {
        freeCameraDebug = std::string(free) == "1";
        if (freeCameraDebug)
            std::cout << "Debug: the free camera follows the keys and the mouse" << std::endl;
        else
            std::cout << "Ignoring MOSSDEN_FREE_CAMERA_DEBUG '" << free << "': only 1 turns the free camera on"
                      << std::endl;
    }
    inputSettings = readInputSettings();
    if (const char* stamp = std::getenv("MOSSDEN_STAMP"); stamp && *stamp && !stamper) {
        if (std::string(stamp) == "1") {
            stamper = std::make_unique<LineStamper>(std::cout.rdbuf(), clock, LineStamper::RealClock::now());
            plainOutput = std::cout.rdbuf(stamper.get());
        } else {
            std::cout << "Ignoring MOSSDEN_STAMP '" << stamp << "': only 1 stamps the output lines" << std::endl;
        }
    }
    if (const char* path = std::getenv("MOSSDEN_FRAME_STATS"); path && *path) {
        // An hour at 60 frames per second; later frames are counted as dropped.
        constexpr std::size_t FRAME_CAPACITY = 60 * 60 * 60;
        frameStats = std::make_unique<FrameStats>(FRAME_CAPACITY);
        frameStatsPath = path;
    }
}

void MossdenApp::writeFrameStats() const {
    if (!frameStats) return;
    const std::string table = FrameStats::table(frameStats->summarise());
    std::cout << "Frame times per scene (scene changes apart):\n" << table;
    if (frameStats->dropped() > 0)
        std::cout << frameStats->dropped() << " frames beyond the buffer not counted" << std::endl;
    std::ofstream out(frameStatsPath);
    out << table;
    if (!out) std::cout << "Could not write frame times to '" << frameStatsPath << "'" << std::endl;
}

std::map<std::string, std::set<std::string>> MossdenApp::unusablePrograms() {
    std::map<std::string, std::set<std::string>> unusable;
    auto resources = Ogre::HighLevelGpuProgramManager::getSingleton().getResourceIterator();
    while (resources.hasMoreElements()) {
        auto program = Ogre::static_pointer_cast<Ogre::GpuProgram>(resources.getNext());
        if (!program || program->getSourceFile().empty()) continue;
        try {
            program->load();
        } catch (const Ogre::Exception&) {
            // not loaded: unusable
        }
        if (!program->isLoaded() || !program->isSupported() || program->hasCompileError())
            unusable[program->getSourceFile()].insert(program->getName());
    }
    return unusable;
}

void MossdenApp::reportUnusablePrograms() {
    // A shader that is missing or does not compile leaves its materials to
    // the techniques after it (the fixed pipeline's): the look stays, a
    // little dearer. One line for each such file, naming its shaders.
    for (const auto& file : unusablePrograms()) {
        std::cout << file.first
                  << ": missing or does not compile (Ogre.log says why); surfaces are drawn without the shaders";
        for (const std::string& name : file.second) std::cout << " " << name;
        std::cout << std::endl;
    }
}

}  // namespace Mossden
