#ifndef MOSSDEN_PLATFORM_COMMANDLINE_H
#define MOSSDEN_PLATFORM_COMMANDLINE_H

#include <optional>
#include <string>
#include <vector>

namespace Mossden {

// Splits a Windows-style command-line text into arguments. Only the space
// character separates; tabs and quotes are ordinary characters, so a quoted
// argument with spaces comes out in pieces with the quotes kept. The result
// holds the arguments only: the caller puts the program path in front.
std::vector<std::string> splitCommandLine(const std::string& text);

// Index of the first scene from the first argument: a whole decimal number,
// digits only. Anything else (empty, sign, spaces, a fraction, a word,
// overflow) gives nullopt.
std::optional<int> parseSceneArgument(const char* text);

// The first scene index to run for an argument vector: the parsed first
// argument, or 0 without one. Anything but a whole number 0..3 is refused
// with one line on standard error and gives 0 (the menu).
int startSceneIndex(int argc, const char* const* argv);

}  // namespace Mossden

#endif
