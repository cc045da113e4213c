#ifndef MOSSDEN_APP_USERPATHS_H
#define MOSSDEN_APP_USERPATHS_H

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace Mossden {

// Looks up an environment variable as std::getenv does (nullptr when
// unset); tests pass their own.
using Environment = std::function<const char*(const char*)>;

// The player's own folders, after the XDG base directory rules:
// $XDG_CONFIG_HOME/mossden/ (else $HOME/.config/mossden/) for the settings,
// $XDG_STATE_HOME/mossden/ (else $HOME/.local/state/mossden/) for the
// engine log of a run started from the desktop. The folder ends in '/'. An
// XDG variable that is empty is unset; one that is not an absolute path is
// invalid, ignored with a note naming it. Without an absolute HOME to fall
// back on the folder is empty (no per-user folder), with a note.
enum class UserFolder { Config, State };
std::string userFolder(const Environment& env, UserFolder kind, std::vector<std::string>& notes);

// Creates folder and its missing parents with permission 0700, as the XDG
// rules ask. False, with note naming the folder and the reason, when it
// cannot be made or is not a folder.
bool ensureFolder(const std::string& folder, std::string& note);

// Replaces the file at path with contents so that a crash or a full disk
// never leaves a half-written file: a temporary file in the same folder,
// written, flushed to disk, then renamed over path. On failure the old file
// is as it was, the temporary file is gone, and note names path and why.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& note);

// Where the engine configuration is read from and written to. The player's
// copy (<userFolder>ogre.cfg) is read when it is a regular file, else the
// data's copy; the player's copy is always the one written, so the data
// stays untouched. With no user folder (empty) nothing is written (write
// is empty).
struct EngineConfigPaths {
    std::string read;
    std::string write;
};
EngineConfigPaths engineConfigPaths(const std::string& userFolder, const std::string& dataCopy);

// The engine configuration's text in the engine's own layout
// ("Render System=<name>", then one "[<render system>]" section of
// "<option>=<value>" lines per render system), so the engine reads back
// what it would have written itself.
struct EngineConfigSection {
    std::string renderSystem;
    std::vector<std::pair<std::string, std::string>> options;
};
std::string engineConfigText(const std::string& activeRenderSystem,
                             const std::vector<EngineConfigSection>& sections);

}  // namespace Mossden

#endif
