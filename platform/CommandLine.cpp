#include "platform/CommandLine.h"

#include <cctype>
#include <climits>
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

int parseSceneArgument(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        // saturate instead of overflowing: such values are refused anyway
        if (value < INT_MAX) value = value * 10 + (*p - '0');
    }
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

int startSceneIndex(int argc, const char* const* argv) {
    if (argc <= 1) return 0;
    const int index = parseSceneArgument(argv[1]);
    if (index < 0 || index > 3) {
        std::cerr << "Scene index " << argv[1] << " is outside 0 to 3; starting at the menu."
                  << std::endl;
        return 0;
    }
    return index;
}

}  // namespace Mossden
