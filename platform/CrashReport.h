#ifndef MOSSDEN_PLATFORM_CRASHREPORT_H
#define MOSSDEN_PLATFORM_CRASHREPORT_H

// What a player can send when the game dies of a fatal signal (SIGSEGV,
// SIGBUS, SIGFPE, SIGILL, SIGABRT): a file crash-<date>.txt in the game's
// state folder with the version and commit, the scene and phase, the
// renderer, a backtrace with function names and the last lines of the
// game's output. Its path goes to standard error; the process then ends
// with the signal's own status.
//
// The backtrace is glibc's backtrace() with backtrace_symbols_fd(): both
// are safe in a signal handler once the unwinder is loaded (install does
// that), they need no library beyond the C library, and they name every
// function that the executable exports. The game is linked to export its
// functions (-rdynamic), and exported names live in the dynamic symbol
// table, which survives the stripping of the packaged binary.
#include <string>

namespace Mossden {
class PlainTextBuffer;
}

namespace Mossden::CrashReport {

// The folder reports go to: $XDG_STATE_HOME/mossden, or
// ~/.local/state/mossden when that is not set to an absolute path.
std::string folder();

// Installs the handlers. `output` is the buffer whose last lines a report
// quotes (may be null); it must live as long as the process.
void install(const PlainTextBuffer* output);

// What the report says about the moment of the crash; kept in fixed
// buffers so that the handler reads them without allocating.
void setScene(int index);
void setPhase(const char* phase);  // a string literal
void setRenderer(const std::string& text);

}  // namespace Mossden::CrashReport

#endif
