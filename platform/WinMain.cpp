// Windows entry point, built instead of main.cpp on Windows (see
// CMakeLists.txt): the same run and the same shutdown as main.
#include <windows.h>

#include <OgreException.h>

#include <cstring>
#include <vector>

#include "app/MossdenApp.h"
#include "platform/CommandLine.h"
#include "platform/Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const std::vector<std::string> pieces = Mossden::splitCommandLine(commandLine ? commandLine : "");
    char modulePath[512] = {0};
    GetModuleFileNameA(nullptr, modulePath, sizeof(modulePath));
    std::vector<char*> argv;
    argv.push_back(modulePath);
    for (const auto& piece : pieces) argv.push_back(const_cast<char*>(piece.c_str()));
    Mossden::Platform::installQuitSignals();
    Mossden::MossdenApp app;
    int status = 0;
    try {
        app.go(static_cast<int>(argv.size()), argv.data());
    } catch (const Ogre::Exception& e) {
        Mossden::Platform::showFatalError("An exception has occured!", e.getFullDescription());
        status = 1;
    }
    app.shutdown();
    return status;
}
