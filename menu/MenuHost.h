#ifndef MOSSDEN_MENU_MENUHOST_H
#define MOSSDEN_MENU_MENUHOST_H

// What the overlay menu may use of the game: requests, the player's
// settings (read, and changed through one door), and the window's size and
// mode. The application is the host; a test can be its own.
#include <string>
#include <vector>

#include "app/Request.h"
#include "app/Settings.h"

namespace Mossden {

class MenuHost {
public:
    virtual void request(Request request) = 0;
    virtual const Settings& settings() const = 0;
    // The one way settings change: the game follows at once (quality, field
    // of view, volume); keep also saves them for the next run.
    virtual void changeSettings(const Settings& changed, bool keep) = 0;
    // "<width>x<height>": resizes the window and keeps the size.
    virtual void setResolution(const std::string& sizeText) = 0;
    virtual void setFullscreen(bool fullscreen) = 0;
    // The render system's window sizes, "<width>x<height>".
    virtual void collectVideoModes(std::vector<std::string>& modes) const = 0;

protected:
    ~MenuHost() = default;
};

}  // namespace Mossden

#endif
