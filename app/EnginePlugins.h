#ifndef MOSSDEN_APP_ENGINEPLUGINS_H
#define MOSSDEN_APP_ENGINEPLUGINS_H

#include <iosfwd>
#include <string>
#include <vector>

namespace Ogre {
class Root;
}

namespace Mossden {

// The engine's own plugin folder, as the engine package installs it.
const std::string& enginePluginFolder();

// Reads a plugins.cfg ("PluginFolder=..." and "Plugin=..." lines, '#'
// comments) into the plugin libraries to load. Plugins load only from
// engineFolder: a PluginFolder elsewhere, or a plugin named with a path, is
// refused with a line in notes, and the rest of the file is used. A data
// folder is no place to load code from.
std::vector<std::string> readPluginConfig(std::istream& in, const std::string& engineFolder,
                                          std::vector<std::string>& notes);

// Loads each plugin into the root. A plugin that fails is reported as an
// engine exception of our own naming it: the plugin's exception object is
// released here, while its library is still loaded.
void loadEnginePlugins(Ogre::Root& root, const std::vector<std::string>& plugins);

}  // namespace Mossden

#endif
