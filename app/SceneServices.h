#ifndef MOSSDEN_APP_SCENESERVICES_H
#define MOSSDEN_APP_SCENESERVICES_H

// What a scene may use of the game around it, and no more: the fade over the
// picture, the game clock, the player's settings (read only) and the queue
// of requests. The application hands it to every scene it builds; a test
// can hand its own.
#include "app/Request.h"
#include "app/Settings.h"

namespace Mossden {

class Fader;
class GameClock;

class SceneServices {
public:
    // Null until the application has its fade overlay.
    virtual Fader* fader() = 0;
    virtual const GameClock& clock() const = 0;
    // The player's settings as they are now (the menu changes them live).
    virtual const Settings& settings() const = 0;
    // Noted now, acted on at the frame's request point.
    virtual void request(Request request) = 0;

protected:
    ~SceneServices() = default;
};

}  // namespace Mossden

#endif
