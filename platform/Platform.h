#ifndef MOSSDEN_PLATFORM_PLATFORM_H
#define MOSSDEN_PLATFORM_PLATFORM_H

#include <string>

// The few calls that differ between operating systems.
namespace Mossden::Platform {

// Absolute path of the running executable; falls back to argv0 made absolute.
std::string executablePath(const char* argv0);

// Reports a fatal error as one line of plain text (control characters and
// bytes that are no UTF-8 escaped): always on standard output after the
// caption, and the same text in a desktop message box when a display is
// available. Never blocks: the box is a detached process that closes itself
// after a minute.
void showFatalError(const std::string& caption, const std::string& text);

// Makes the signals that ask a program to end (SIGINT, SIGTERM, SIGHUP: a
// Ctrl+C, a kill, a desktop logging out) set a flag instead of killing the
// process, so that the render loop can stop and the normal shutdown runs.
void installQuitSignals();

// True once one of those signals has arrived.
bool quitRequested();

}  // namespace Mossden::Platform

#endif
