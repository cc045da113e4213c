#include "app/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <set>

#include "app/DataPaths.h"
#include "app/UserPaths.h"

namespace Mossden {

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

template <typename Number>
std::optional<Number> parseNumber(const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(value)) return std::nullopt;
    }
    return value;
}

std::string numberText(float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// Reads a number within [low, high] into target. Out of range, the nearer
// end is used and the returned problem says so; not a number, target keeps
// its value.
template <typename Number>
std::string readRange(const std::string& value, Number low, Number high, Number& target) {
    const auto number = parseNumber<Number>(value);
    if (!number) return "'" + value + "' is not a number";
    target = std::clamp(*number, low, high);
    if (target == *number) return "";
    return "'" + value + "' is outside " + numberText(float(low)) + ".." + numberText(float(high)) +
           "; " + numberText(float(target)) + " used";
}

// One known key: its name, how its value is read (returning a problem, or
// empty) and how it is written (nullopt: the key is not written).
struct Key {
    const char* name;
    std::string (*read)(Settings&, const std::string&);
    std::optional<std::string> (*write)(const Settings&);
};

const char* const QUALITY_NAMES[] = {"low", "medium", "high"};

const Key KEYS[] = {
    {"volume",
     [](Settings& s, const std::string& v) { return readRange(v, 0, Settings::MAX_VOLUME, s.volume); },
     [](const Settings& s) -> std::optional<std::string> { return std::to_string(s.volume); }},
    {"window_mode",
     [](Settings& s, const std::string& v) -> std::string {
         const std::string mode = lower(v);
         if (mode != "fullscreen" && mode != "windowed") return "'" + v + "' is not fullscreen or windowed";
         s.fullscreen = mode == "fullscreen";
         return "";
     },
     [](const Settings& s) -> std::optional<std::string> {
         if (!s.fullscreen) return std::nullopt;
         return *s.fullscreen ? "fullscreen" : "windowed";
     }},
    {"screen_size",
     [](Settings& s, const std::string& v) -> std::string {
         const auto size = parseSizeText(v);
         if (!size || size->first == 0 || size->second == 0) return "'" + v + "' is not <width>x<height>";
         s.screenSize = v;
         return "";
     },
     [](const Settings& s) -> std::optional<std::string> {
         if (s.screenSize.empty()) return std::nullopt;
         return s.screenSize;
     }},
    {"mouse_sensitivity",
     [](Settings& s, const std::string& v) {
         return readRange(v, Settings::MIN_SENSITIVITY, Settings::MAX_SENSITIVITY, s.mouseSensitivity);
     },
     [](const Settings& s) -> std::optional<std::string> { return numberText(s.mouseSensitivity); }},
    {"invert_vertical_look",
     [](Settings& s, const std::string& v) -> std::string {
         const std::string flag = lower(v);
         if (flag == "yes" || flag == "true" || flag == "1" || flag == "on") {
             s.invertVerticalLook = true;
         } else if (flag == "no" || flag == "false" || flag == "0" || flag == "off") {
             s.invertVerticalLook = false;
         } else {
             return "'" + v + "' is not yes or no";
         }
         return "";
     },
     [](const Settings& s) -> std::optional<std::string> { return s.invertVerticalLook ? "yes" : "no"; }},
    {"field_of_view",
     [](Settings& s, const std::string& v) {
         return readRange(v, Settings::MIN_FIELD_OF_VIEW, Settings::MAX_FIELD_OF_VIEW, s.fieldOfView);
     },
     [](const Settings& s) -> std::optional<std::string> { return numberText(s.fieldOfView); }},
    {"quality",
     [](Settings& s, const std::string& v) -> std::string {
         const std::string name = lower(v);
         for (int i = 0; i < 3; ++i) {
             if (name == QUALITY_NAMES[i]) {
                 s.quality = static_cast<Settings::Quality>(i);
                 return "";
             }
         }
         return "'" + v + "' is not low, medium or high";
     },
     [](const Settings& s) -> std::optional<std::string> {
         if (!s.quality) return std::nullopt;
         return QUALITY_NAMES[static_cast<int>(*s.quality)];
     }},
};

const Key* findKey(const std::string& name) {
    for (const auto& key : KEYS)
        if (name == key.name) return &key;
    return nullptr;
}

// A line's problem before its key is looked at, or empty.
std::string lineProblem(const std::string& line, std::string::size_type equals) {
    for (const unsigned char c : line)
        if (c < 0x20 && c != '\t') return "control character in the line";
    if (equals == std::string::npos) return "not key=value";
    if (trim(line.substr(0, equals)).empty()) return "no key before '='";
    return "";
}

std::string systemError(const std::string& path, int error) {
    return "Cannot read '" + path + "': " + std::strerror(error) + "; default settings used";
}

}  // namespace

bool Settings::operator==(const Settings& o) const {
    return volume == o.volume && fullscreen == o.fullscreen && screenSize == o.screenSize &&
           mouseSensitivity == o.mouseSensitivity && invertVerticalLook == o.invertVerticalLook &&
           fieldOfView == o.fieldOfView && quality == o.quality && keptLines == o.keptLines;
}

Settings::Quality firstQuality(const std::string& rendererName) {
    const std::string name = lower(rendererName);
    for (const char* software : {"llvmpipe", "softpipe"})
        if (name.find(software) != std::string::npos) return Settings::Quality::Low;
    return Settings::Quality::High;
}

Settings parseSettings(const std::string& text, const std::string& name, std::vector<std::string>& notes) {
    Settings settings;
    if (text.find('\0') != std::string::npos) {
        notes.push_back(name + ": holds binary data, not settings; default settings used");
        return settings;
    }
    std::set<std::string> seen;
    int skipped = 0;
    auto note = [&](int lineNumber, const std::string& problem) {
        if (++skipped <= Settings::MAX_LINE_NOTES)
            notes.push_back(name + ":" + std::to_string(lineNumber) + ": " + problem);
    };
    std::string::size_type start = 0;
    for (int lineNumber = 1; start < text.size(); ++lineNumber) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = trim(line);
        if (trimmed.empty()) continue;
        if (trimmed[0] == '#') {
            settings.keptLines.push_back(line);
            continue;
        }
        const auto equals = line.find('=');
        if (const std::string problem = lineProblem(line, equals); !problem.empty()) {
            note(lineNumber, problem + "; line skipped");
            continue;
        }
        const std::string key = trim(line.substr(0, equals));
        const Key* known = findKey(key);
        if (!known) {
            settings.keptLines.push_back(line);
            continue;
        }
        if (!seen.insert(key).second) note(lineNumber, key + " given again; the last one counts");
        const std::string problem = known->read(settings, trim(line.substr(equals + 1)));
        if (!problem.empty()) note(lineNumber, key + ": " + problem);
    }
    if (skipped > Settings::MAX_LINE_NOTES)
        notes.push_back(name + ": " + std::to_string(skipped - Settings::MAX_LINE_NOTES) +
                        " more lines with problems");
    return settings;
}

std::string formatSettings(const Settings& settings) {
    std::string text;
    for (const auto& key : KEYS) {
        if (const auto value = key.write(settings)) text += std::string(key.name) + "=" + *value + "\n";
    }
    for (const auto& line : settings.keptLines) text += line + "\n";
    return text;
}

Settings loadSettings(const std::string& path, std::vector<std::string>& notes) {
    // Non-blocking, so that a named pipe put in the file's place cannot
    // stop the game; fstat then turns away everything but a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) notes.push_back(systemError(path, errno));
        return Settings{};
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        notes.push_back(systemError(path, errno));
        return Settings{};
    }
    if (!S_ISREG(info.st_mode)) {
        notes.push_back("'" + path + "' is not a regular file; default settings used");
        return Settings{};
    }
    std::string text(Settings::MAX_FILE_BYTES + 1, '\0');
    std::size_t size = 0;
    while (size < text.size()) {
        const ssize_t got = ::read(fd, text.data() + size, text.size() - size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            notes.push_back(systemError(path, errno));
            return Settings{};
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    if (size > Settings::MAX_FILE_BYTES) {
        notes.push_back("'" + path + "' is larger than " + std::to_string(Settings::MAX_FILE_BYTES) +
                        " bytes, not a settings file; default settings used");
        return Settings{};
    }
    text.resize(size);
    return parseSettings(text, path, notes);
}

bool saveSettings(const std::string& path, const Settings& settings, std::string& note) {
    return writeFileAtomically(path, formatSettings(settings), note);
}

}  // namespace Mossden
