#include "app/VideoModeCheck.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

#include "app/DataPaths.h"

namespace Mossden {

namespace {

// "1024 x 768 @ 60Hz" -> 1024, 768: spaces and the part after '@' go.
std::optional<std::pair<int, int>> modeSize(const std::string& mode) {
    std::string size = mode.substr(0, mode.find('@'));
    size.erase(std::remove(size.begin(), size.end(), ' '), size.end());
    const auto parsed = parseSizeText(size);
    if (!parsed || parsed->first <= 0 || parsed->second <= 0) return std::nullopt;
    return parsed;
}

}  // namespace

VideoModeChoice checkVideoMode(const std::string& requested, const std::vector<std::string>& offered) {
    const auto wanted = modeSize(requested);
    if (offered.empty()) {
        if (wanted) return {requested, ""};
        return {requested, "Video Mode \"" + requested + "\" is not a size; nothing to replace it with"};
    }
    if (!wanted)
        return {offered.front(), "Video Mode \"" + requested + "\" is not a usable size; using " + offered.front()};
    const std::string* nearest = nullptr;
    long best = std::numeric_limits<long>::max();
    for (const auto& mode : offered) {
        const auto size = modeSize(mode);
        if (!size) continue;
        const long distance = std::labs(long(size->first) - wanted->first) + std::labs(long(size->second) - wanted->second);
        if (distance < best) {
            best = distance;
            nearest = &mode;
        }
    }
    if (!nearest)
        return {offered.front(), "Video Mode \"" + requested + "\": no offered mode has a size; using " + offered.front()};
    if (best == 0) return {*nearest, ""};
    return {*nearest, "Video Mode \"" + requested + "\" is not offered; using " + *nearest};
}

}  // namespace Mossden
