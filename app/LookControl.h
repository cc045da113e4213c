#ifndef MOSSDEN_APP_LOOKCONTROL_H
#define MOSSDEN_APP_LOOKCONTROL_H

namespace Mossden {

struct Settings;

// The player's look options, as every mouse-look of the game applies them.
struct LookOptions {
    float sensitivity = 1.0f;      // multiplies the step
    bool invertVertical = false;   // moving the pointer up looks down
    float fieldOfView = 45.0f;     // vertical, degrees

    static LookOptions from(const Settings& settings);
};

// A turn of the view, in degrees: positive yaw turns left, positive pitch
// looks up (the scenes' own signs).
struct LookStep {
    float yaw = 0.0f;
    float pitch = 0.0f;
};

// The turn for a pointer movement of dx, dy pixels (right and down are
// positive, as the mouse reports them). baseDegreesPerPixel is the scene's
// own rate at sensitivity 1 and the default field of view. The step also
// scales with the field of view over the default, so that the picture
// slides under the pointer at the same speed whatever the field of view.
LookStep lookStep(float dx, float dy, float baseDegreesPerPixel, const LookOptions& options);

// The sensitivity slider is logarithmic: position 0..1 maps onto 0.25..4,
// with 1 in the middle; positions outside 0..1 are put at the nearer end.
float sensitivityFromSlider(float position);
float sliderFromSensitivity(float sensitivity);

}  // namespace Mossden

#endif
