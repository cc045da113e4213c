#include "app/DataPaths.h"

#include <OgreException.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace Mossden {

std::string joinDataPath(const std::string& candidate, const std::string& relative) {
    if (candidate.empty()) return relative;
    return (fs::path(candidate) / relative).string();
}

std::vector<std::string> dataCandidates(const std::string& exePath) {
    std::error_code ec;
    fs::path exe = fs::absolute(fs::path(exePath), ec);
    if (ec) exe = fs::path(exePath);
    const std::string exeDir = exe.parent_path().string();
    return {"", joinDataPath(exeDir, "../games/Mossden/"), joinDataPath(exeDir, "../"),
            "/usr/games/Mossden/", "/usr/local/games/Mossden/"};
}

std::string findDataFile(const std::vector<std::string>& candidates, const std::string& relative) {
    for (const auto& candidate : candidates) {
        const std::string path = joinDataPath(candidate, relative);
        std::error_code ec;
        if (fs::exists(fs::status(path, ec))) return path;
    }
    OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND, relative + " not found", "Helpers");
}

std::string findDataRoot(const std::vector<std::string>& candidates) {
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(joinDataPath(candidate, "cfg/ogre.cfg"), ec))) return candidate;
    }
    OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND, "cfg/ogre.cfg not found", "Helpers");
}

std::string requireDataPath(const std::string& root, const std::string& relative, bool directory) {
    const std::string path = joinDataPath(root, relative);
    std::error_code ec;
    const auto status = fs::status(path, ec);
    const char* problem = nullptr;
    if (!fs::exists(status))
        problem = "not found";
    else if (directory && !fs::is_directory(status))
        problem = "is not a folder";
    else if (!directory && !fs::is_regular_file(status))
        problem = "is not a regular file";
    else if (!directory && !std::ifstream(path))
        problem = "cannot be read";
    if (problem)
        OGRE_EXCEPT(Ogre::Exception::ERR_FILE_NOT_FOUND, path + " " + problem, "Helpers");
    return path;
}

namespace {

std::optional<int> parseDecimal(const std::string& piece) {
    if (piece.empty()) return std::nullopt;
    int value = 0;
    const char* end = piece.data() + piece.size();
    const auto [ptr, ec] = std::from_chars(piece.data(), end, value);
    if (ec != std::errc() || ptr != end || piece[0] == '-') return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::pair<int, int>> parseSizeText(const std::string& text) {
    const auto x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    const auto w = parseDecimal(text.substr(0, x));
    // like splitting at every "x": the height is the second piece only
    const auto next = text.find('x', x + 1);
    const auto h = parseDecimal(text.substr(x + 1, next == std::string::npos ? next : next - x - 1));
    if (!w || !h) return std::nullopt;
    return std::make_pair(*w, *h);
}

}  // namespace Mossden
