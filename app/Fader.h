#ifndef MOSSDEN_APP_FADER_H
#define MOSSDEN_APP_FADER_H

#include <OgrePrerequisites.h>

namespace Ogre {
class Overlay;
}

// Receiver of the fader's completion calls.
class FaderCallback {
public:
    virtual ~FaderCallback() = default;
    virtual void fadeInCallback() {}
    virtual void fadeOutCallback() {}
};

namespace Mossden {

// Darkens and clears the whole picture through the full-screen overlay
// "Overlays/FadeInOut", whose material's first texture unit gets a manual
// alpha: 1 covers the picture, 0 leaves it clear. Scenes may drive alpha
// themselves: set operation to FADE_NONE, show the overlay and call applyAlpha.
class Fader {
public:
    static constexpr int FADE_NONE = 0;
    static constexpr int FADE_IN = 1;
    static constexpr int FADE_OUT = 2;

    explicit Fader(FaderCallback* callback);

    void startFadeIn(double seconds);   // alpha 1 -> 0, then the overlay hides
    void startFadeOut(double seconds);  // alpha 0 -> 1, the overlay stays shown
    void fade(double dt);               // dt: seconds since the last frame

    // Gives the texture unit the manual alpha, as the fades do every frame.
    void applyAlpha(double value);

    double alpha = 0.0;
    double currentDuration = 0.0;  // fade-in: seconds left; fade-out: seconds done
    double totalDuration = 0.0;    // seconds
    FaderCallback* callback = nullptr;
    Ogre::TextureUnitState* textureUnit = nullptr;
    Ogre::Overlay* overlay = nullptr;
    int operation = FADE_NONE;
};

}  // namespace Mossden

#endif
