// Windows entry point; built only on Windows (see CMakeLists.txt).
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
    Mossden::MossdenApp& app = Mossden::MossdenApp::getInstance();
    try {
        app.go(static_cast<int>(argv.size()), argv.data());
    } catch (const Ogre::Exception& e) {
        Mossden::Platform::showFatalError("An exception has occured!", e.getFullDescription());
        return 1;
    }
    return 0;
}
