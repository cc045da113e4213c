// Linux entry point: hands the application the argument vector with the
// executable's absolute path in element 0, and turns anything thrown into a
// message and a failing exit status.
#include <OgreException.h>

#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/MossdenApp.h"
#include "platform/Platform.h"

namespace {

const char* const FATAL_CAPTION = "An exception has occured!";

// What an engine exception says, from the parts it holds as its own strings.
// Its file and type names point into the library that threw it, and when a
// plugin fails while the engine root is built, that library is unloaded
// before the exception arrives here: getFullDescription would read them.
std::string describe(const Ogre::Exception& e) {
    std::string text = e.getDescription();
    if (!e.getSource().empty()) text += " (in " + e.getSource() + ")";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        Mossden::Platform::showFatalError(FATAL_CAPTION,
                                          "No X display: set DISPLAY or start from a desktop session");
        return 1;
    }
    std::string self = Mossden::Platform::executablePath(argc > 0 ? argv[0] : nullptr);
    std::vector<char*> args(argv, argv + argc);
    if (args.empty()) args.push_back(nullptr);
    args[0] = self.data();
    Mossden::Platform::installQuitSignals();
    Mossden::MossdenApp app;
    int status = 0;
    try {
        app.go(static_cast<int>(args.size()), args.data());
    } catch (const Ogre::Exception& e) {
        Mossden::Platform::showFatalError(FATAL_CAPTION, describe(e));
        status = 1;
    } catch (const std::exception& e) {
        Mossden::Platform::showFatalError(FATAL_CAPTION, e.what());
        status = 1;
    }
    app.shutdown();
    return status;
}
