#include "platform/Platform.h"

#include "app/PlainTextBuffer.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace Mossden::Platform {

namespace {
volatile std::sig_atomic_t quitSignal = 0;
extern "C" void onQuitSignal(int signal) { quitSignal = signal; }
}  // namespace

void installQuitSignals() {
#ifndef _WIN32
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
#endif
}

bool quitRequested() { return quitSignal != 0; }

std::string executablePath(const char* argv0) {
    std::error_code ec;
#ifndef _WIN32
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !self.empty()) return self.string();
#endif
    if (!argv0 || !*argv0) return std::string();
    const auto abs = std::filesystem::absolute(argv0, ec);
    return ec ? std::string(argv0) : abs.string();
}

void showFatalError(const std::string& caption, const std::string& message) {
    // One line of plain text, the same on the output and in the box: what
    // it quotes (a file's bytes, an engine message) may hold anything.
    const std::string text = plainText(message, true);
    std::cout << caption << " " << text << std::endl;
#ifdef _WIN32
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_TASKMODAL | MB_ICONERROR);
#else
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || std::getenv("MOSSDEN_NO_DIALOG")) return;
    // xmessage (x11-utils) is the smallest dialog Debian offers; if it is not
    // installed the spawn fails and standard error has said it all.
    const std::string body = caption + "\n\n" + text;
    const char* argv[] = {"xmessage", "-center", "-timeout", "60", "-title", caption.c_str(),
                          body.c_str(), nullptr};
    // Double fork so the dialog outlives us without leaving a zombie or
    // making the caller wait for it.
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        pid_t grandchild = 0;
        posix_spawnp(&grandchild, "xmessage", nullptr, nullptr, const_cast<char**>(argv), environ);
        _exit(0);
    }
    if (child > 0) waitpid(child, nullptr, 0);
#endif
}

}  // namespace Mossden::Platform
