#include "app/UserPaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace Mossden {

namespace {

const char* const GAME_FOLDER = "mossden/";

// $<variable>/mossden/ when the variable holds an absolute path; empty when
// it is unset or empty; ignored, with a note, when it is relative.
std::string xdgFolder(const Environment& env, const char* variable, std::vector<std::string>& notes) {
    const char* value = env(variable);
    if (!value || !*value) return "";
    if (value[0] != '/') {
        notes.push_back(std::string("Ignoring ") + variable + " '" + value + "': not an absolute path");
        return "";
    }
    std::string folder = value;
    if (folder.back() != '/') folder += '/';
    return folder + GAME_FOLDER;
}

std::string errorText(int error) { return std::strerror(error); }

// Closes a descriptor and removes the temporary file unless released.
struct TemporaryFile {
    int fd = -1;
    std::string path;
    ~TemporaryFile() {
        if (fd >= 0) ::close(fd);
        if (!path.empty()) ::unlink(path.c_str());
    }
};

}  // namespace

std::string userFolder(const Environment& env, UserFolder kind, std::vector<std::string>& notes) {
    const bool config = kind == UserFolder::Config;
    const std::string folder = xdgFolder(env, config ? "XDG_CONFIG_HOME" : "XDG_STATE_HOME", notes);
    if (!folder.empty()) return folder;
    const char* home = env("HOME");
    if (!home || home[0] != '/') {
        notes.push_back(std::string("HOME ") +
                        (home ? "'" + std::string(home) + "' is not an absolute path" : "is not set") +
                        ": no per-user folder for " + (config ? "the settings" : "the engine log"));
        return "";
    }
    std::string base = home;
    if (base.back() != '/') base += '/';
    return base + (config ? ".config/" : ".local/state/") + GAME_FOLDER;
}

bool ensureFolder(const std::string& folder, std::string& note) {
    // Each missing component is made on its own so that every new folder
    // gets 0700, not only the last.
    fs::path partial;
    for (const auto& part : fs::path(folder)) {
        if (part.empty()) continue;
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            note = "Cannot create folder '" + partial.string() + "': " + errorText(errno);
            return false;
        }
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        note = "'" + folder + "' is not a folder";
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& note) {
    TemporaryFile temp;
    std::string pattern = path + ".XXXXXX";
    temp.fd = ::mkstemp(pattern.data());
    if (temp.fd < 0) {
        note = "Cannot write '" + path + "': " + errorText(errno);
        return false;
    }
    temp.path = pattern;
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(temp.fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            note = "Cannot write '" + path + "': " + errorText(written < 0 ? errno : ENOSPC);
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    // The data must be on disk before the rename makes it the file: a crash
    // in between would otherwise leave an empty file under the old name.
    if (::fsync(temp.fd) != 0) {
        note = "Cannot write '" + path + "': " + errorText(errno);
        return false;
    }
    const int closed = ::close(temp.fd);
    temp.fd = -1;
    if (closed != 0 || ::rename(temp.path.c_str(), path.c_str()) != 0) {
        note = "Cannot write '" + path + "': " + errorText(errno);
        return false;
    }
    temp.path.clear();
    return true;
}

EngineConfigPaths engineConfigPaths(const std::string& userFolder, const std::string& dataCopy) {
    if (userFolder.empty()) return {dataCopy, ""};
    const std::string userCopy = userFolder + "ogre.cfg";
    std::error_code ec;
    return {fs::is_regular_file(userCopy, ec) ? userCopy : dataCopy, userCopy};
}

std::string engineConfigText(const std::string& activeRenderSystem,
                             const std::vector<EngineConfigSection>& sections) {
    std::string text = "Render System=" + activeRenderSystem + "\n";
    for (const auto& section : sections) {
        text += "\n[" + section.renderSystem + "]\n";
        for (const auto& option : section.options) text += option.first + "=" + option.second + "\n";
    }
    return text;
}

}  // namespace Mossden
