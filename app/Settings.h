#ifndef MOSSDEN_APP_SETTINGS_H
#define MOSSDEN_APP_SETTINGS_H

#include <optional>
#include <string>
#include <vector>

namespace Mossden {

// The player's choices that last between runs, kept in settings.cfg in the
// player's config folder, one "key=value" a line:
//   volume=0..10                      sound volume steps; the gain is volume / 10
//   window_mode=fullscreen|windowed
//   screen_size=<width>x<height>
//   mouse_sensitivity=0.25..4         multiplies every mouse-look step
//   invert_vertical_look=yes|no
//   field_of_view=35..75              vertical, degrees
//   quality=low|medium|high           how much the scenes draw (MossdenApp::applyQuality);
//                                     absent until the first start picks one
// Lines starting with '#', and keys this version does not know, are kept
// and written back after the known keys, so a newer version's file survives
// an older game.
struct Settings {
    enum class Quality { Low, Medium, High };

    static constexpr int MAX_VOLUME = 10;
    static constexpr float MIN_SENSITIVITY = 0.25f;
    static constexpr float MAX_SENSITIVITY = 4.0f;
    static constexpr float MIN_FIELD_OF_VIEW = 35.0f;  // degrees
    static constexpr float MAX_FIELD_OF_VIEW = 75.0f;  // degrees
    // The engine camera's own vertical field of view, which frames the scenes.
    static constexpr float DEFAULT_FIELD_OF_VIEW = 45.0f;  // degrees
    // Larger files are not settings files: read no further.
    static constexpr std::size_t MAX_FILE_BYTES = 64 * 1024;
    // Notes for malformed lines stop here; one more note counts the rest.
    static constexpr int MAX_LINE_NOTES = 10;

    int volume = MAX_VOLUME;
    std::optional<bool> fullscreen;  // unset: as the engine configuration says
    std::string screenSize;          // empty: as the engine configuration says
    float mouseSensitivity = 1.0f;
    bool invertVerticalLook = false;
    float fieldOfView = DEFAULT_FIELD_OF_VIEW;
    // Unset only before the first start has picked one for the renderer
    // (firstQuality); the application sets it before any scene is built.
    std::optional<Quality> quality;
    std::vector<std::string> keptLines;  // comments and unknown keys, as read

    bool operator==(const Settings& other) const;
};

// The quality a first start picks for a GL renderer of that name: Low for
// the software rasterisers (the name holds "llvmpipe" or "softpipe", in any
// case), which cannot afford more; High otherwise.
Settings::Quality firstQuality(const std::string& rendererName);

// Reads settings from text. Every line that cannot be used gives one note
// ("<name>:<line>: ...") and is skipped or, for a value out of range, put at
// the nearer end; a text with a NUL byte is not a settings file at all and
// gives the defaults with one note. name is what the notes call the text.
Settings parseSettings(const std::string& text, const std::string& name, std::vector<std::string>& notes);

// The file's text: the known keys in a fixed order, then the kept lines.
std::string formatSettings(const Settings& settings);

// Reads the file at path. A file that is missing gives the defaults with no
// note (the first run); one that is not a regular file, cannot be read or is
// larger than MAX_FILE_BYTES gives the defaults with one note. Never blocks
// on a special file.
Settings loadSettings(const std::string& path, std::vector<std::string>& notes);

// Writes the file atomically (writeFileAtomically). False with note when
// the old file, if any, is left as it was.
bool saveSettings(const std::string& path, const Settings& settings, std::string& note);

}  // namespace Mossden

#endif
