#include "platform/CommandLine.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <iostream>

namespace Mossden {

std::vector<std::string> splitCommandLine(const std::string& text) {
    std::vector<std::string> args;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i == text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        args.push_back(text.substr(start, i - start));
    }
    return args;
}

std::optional<int> parseSceneArgument(const char* text) {
    if (!text || !*text) return std::nullopt;
    int value = 0;
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, value);
    // from_chars takes a minus sign; a scene index never has one
    if (ec != std::errc() || ptr != end || *text == '-') return std::nullopt;
    return value;
}

namespace {

// The argument as it may be printed: control characters (a hostile
// terminal sequence) become '?', and a long one is cut.
std::string printable(const char* text) {
    constexpr std::size_t MAX_SHOWN = 40;
    std::string shown;
    for (const char* p = text; *p && shown.size() < MAX_SHOWN; ++p)
        shown += std::isprint(static_cast<unsigned char>(*p)) ? *p : '?';
    if (std::strlen(text) > MAX_SHOWN) shown += "...";
    return shown;
}

}  // namespace

int startSceneIndex(int argc, const char* const* argv) {
    if (argc <= 1 || !argv[1]) return 0;
    const auto index = parseSceneArgument(argv[1]);
    if (!index || *index < 0 || *index > 3) {
        std::cerr << "Scene index \"" << printable(argv[1])
                  << "\" is not a whole number from 0 to 3; starting at the menu." << std::endl;
        return 0;
    }
    return *index;
}

}  // namespace Mossden
