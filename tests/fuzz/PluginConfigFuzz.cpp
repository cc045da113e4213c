// plugins.cfg texts through the reader: every plugin it accepts lies in the
// engine's plugin folder, named by a file name alone.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/EnginePlugins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const std::string& folder = Mossden::enginePluginFolder();
    std::vector<std::string> notes;
    for (const auto& plugin : Mossden::readPluginConfig(in, folder, notes)) {
        const std::filesystem::path path(plugin);
        const std::string name = path.filename().string();
        const auto normal = [](const std::filesystem::path& p) { return (p / "").lexically_normal(); };
        if (normal(path.parent_path()) != normal(folder) || name.empty() || name == "." ||
            name == "..")
            std::abort();
    }
    return 0;
}
