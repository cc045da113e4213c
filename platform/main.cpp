// Linux entry point: hands the application the argument vector with the
// executable's absolute path in element 0, and turns an engine exception
// into a message and a failing exit status.
#include <OgreException.h>

#include <string>
#include <vector>

#include "app/MossdenApp.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    std::string self = Mossden::Platform::executablePath(argc > 0 ? argv[0] : nullptr);
    std::vector<char*> args(argv, argv + argc);
    if (args.empty()) args.push_back(nullptr);
    args[0] = self.data();
    Mossden::Platform::installQuitSignals();
    Mossden::MossdenApp& app = Mossden::MossdenApp::getInstance();
    int status = 0;
    try {
        app.go(static_cast<int>(args.size()), args.data());
    } catch (const Ogre::Exception& e) {
        Mossden::Platform::showFatalError("An exception has occured!", e.getFullDescription());
        status = 1;
    }
    app.shutdown();
    return status;
}
