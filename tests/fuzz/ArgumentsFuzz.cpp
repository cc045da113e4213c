// The texts the game takes from its command line and settings: the
// command-line splitter, the scene argument and the window size text. Each
// either gives a value that keeps its contract or refuses the text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/DataPaths.h"
#include "platform/CommandLine.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Pieces hold no space and are never empty; together they are the text
    // without its spaces.
    const std::vector<std::string> args = Mossden::splitCommandLine(text);
    std::string joined, spaceless;
    for (const auto& arg : args) {
        require(!arg.empty() && arg.find(' ') == std::string::npos);
        joined += arg;
    }
    for (char c : text)
        if (c != ' ') spaceless += c;
    require(joined == spaceless);

    // The argument as the C runtime hands it over: up to its first NUL.
    const std::string argument = text.c_str();
    if (const auto index = Mossden::parseSceneArgument(argument.c_str()))
        require(*index >= 0 && allDigits(argument));

    std::vector<const char*> argv{"mossden"};
    for (const auto& arg : args) argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    const int first = Mossden::startSceneIndex(static_cast<int>(argv.size() - 1), argv.data());
    require(first >= 0 && first <= 3);

    if (const auto sizeText = Mossden::parseSizeText(text)) {
        require(sizeText->first >= 0 && sizeText->second >= 0);
        const auto x = text.find('x');
        require(allDigits(text.substr(0, x)));
    }
    return 0;
}
