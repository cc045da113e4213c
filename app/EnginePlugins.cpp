#include "app/EnginePlugins.h"

#include <OgreException.h>
#include <OgreRoot.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <istream>

namespace fs = std::filesystem;

namespace Mossden {

const std::string& enginePluginFolder() {
    static const std::string folder = MOSSDEN_OGRE_PLUGIN_DIR;
    return folder;
}

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec)) return true;
    return fs::path(a).lexically_normal() / "" == fs::path(b).lexically_normal() / "";
}

// A plugin is named by its library's file name alone.
bool isBareName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    });
}

}  // namespace

std::vector<std::string> readPluginConfig(std::istream& in, const std::string& engineFolder,
                                          std::vector<std::string>& notes) {
    std::vector<std::string> plugins;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        const auto equals = line.find('=');
        const std::string key = trimmed(line.substr(0, equals));
        const std::string value = equals == std::string::npos ? "" : trimmed(line.substr(equals + 1));
        const std::string where = "plugins.cfg line " + std::to_string(number) + ": ";
        if (key == "PluginFolder") {
            if (!value.empty() && !sameFolder(value, engineFolder))
                notes.push_back(where + "plugin folder refused, plugins load only from " + engineFolder);
        } else if (key == "Plugin") {
            if (isBareName(value))
                plugins.push_back((fs::path(engineFolder) / value).string());
            else
                notes.push_back(where + "plugin refused, a plugin is named without a path");
        } else {
            notes.push_back(where + "not a plugin setting, ignored");
        }
    }
    return plugins;
}

void loadEnginePlugins(Ogre::Root& root, const std::vector<std::string>& plugins) {
    for (const auto& plugin : plugins) {
        std::string failure;
        try {
            root.loadPlugin(plugin);
        } catch (const Ogre::Exception& e) {
            failure = e.getDescription();
        }
        if (!failure.empty())
            OGRE_EXCEPT(Ogre::Exception::ERR_RENDERINGAPI_ERROR, failure, "engine plugin " + plugin);
    }
}

}  // namespace Mossden
