// Linux entry point: hands the application the argument vector with the
// executable's absolute path in element 0, and turns anything thrown into a
// message and a failing exit status.
#include <OgreException.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/MossdenApp.h"
#include "app/PlainTextBuffer.h"
#include "platform/CrashReport.h"
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
    // Everything the game prints is plain text. The filters are built
    // before the application so that they outlive it: its destructor may
    // still print.
    static Mossden::PlainTextBuffer plainOutput(std::cout.rdbuf());
    static Mossden::PlainTextBuffer plainErrors(std::cerr.rdbuf());
    std::cout.rdbuf(&plainOutput);
    std::cerr.rdbuf(&plainErrors);
    Mossden::CrashReport::install(&plainOutput);
    const char* display = std::getenv("DISPLAY");
    // A data check alone (MOSSDEN_CHECK_DATA=1) ends before any window.
    const char* checkOnly = std::getenv("MOSSDEN_CHECK_DATA");
    if ((!display || !*display) && !(checkOnly && std::string(checkOnly) == "1")) {
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
        Mossden::CrashReport::setPhase("start-up and play");
        app.go(static_cast<int>(args.size()), args.data());
    } catch (const Ogre::Exception& e) {
        Mossden::Platform::showFatalError(FATAL_CAPTION, describe(e));
        status = 1;
    } catch (const std::exception& e) {
        Mossden::Platform::showFatalError(FATAL_CAPTION, e.what());
        status = 1;
    }
    Mossden::CrashReport::setPhase("shut-down");
    app.shutdown();
    return status;
}
