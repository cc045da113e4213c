#ifndef MOSSDEN_PLATFORM_COMMANDLINE_H
#define MOSSDEN_PLATFORM_COMMANDLINE_H

#include <string>
#include <vector>

namespace Mossden {

// Splits a Windows-style command-line text into arguments. Only the space
// character separates; tabs and quotes are ordinary characters, so a quoted
// argument with spaces comes out in pieces with the quotes kept. The result
// holds the arguments only: the caller puts the program path in front.
std::vector<std::string> splitCommandLine(const std::string& text);

// Index of the first scene from the first argument: optional white space and
// sign, then the leading decimal digits (none gives 0), like atoi.
int parseSceneArgument(const char* text);

// The first scene index to run for an argument vector: the parsed first
// argument, or 0 without one. Values outside 0..3 are refused with a line on
// standard error and give 0 (the menu).
int startSceneIndex(int argc, const char* const* argv);

}  // namespace Mossden

#endif
