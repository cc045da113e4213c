#ifndef MOSSDEN_MENU_MENUSLIDERS_H
#define MOSSDEN_MENU_MENUSLIDERS_H

// The settings page's rules that need no engine: the list of screen sizes
// behind the size slider, how a dragged slider arrow steps, and the values
// behind the look sliders' steps.
#include <string>
#include <vector>

namespace Mossden {

// The screen sizes the size slider offers, from the render system's texts.
// A text is kept, without its spaces, when it reads "<width>x<height>" in
// decimal; the kept texts are ordered by width alone, and texts of equal
// width keep the order they came in. Every other text is left out and
// appended to rejected (as given), so that the caller can report it.
std::vector<std::string> sortVideoModes(const std::vector<std::string>& modes,
                                        std::vector<std::string>& rejected);

// Length of one slider step, in the slider line's units, for a slider with
// values 0..maxValue on a line lineWidth long. A slider with a single value
// has no step (0): its arrow stays where it is.
float sliderStep(float lineWidth, int maxValue);

// One mouse movement while a slider arrow is dragged. dx (pixels) is added
// to accumulator; once the accumulated movement exceeds step either way, the
// value moves by one in that direction and the accumulator starts again from
// 0. A value that would leave 0..maxValue is put at the nearer end instead.
// Returns true only when the value moved to a new place inside the range,
// which is when the slider must be drawn again. A step of 0 never moves.
bool dragSlider(float& accumulator, float dx, float step, int maxValue, int& value);

// The mouse-sensitivity slider's steps: the logarithmic scale of
// sensitivityFromSlider cut into SENSITIVITY_STEPS equal steps, so that
// each step multiplies the sensitivity by the same factor and 1x sits in
// the middle. A value between steps shows at the nearest one.
constexpr int SENSITIVITY_STEPS = 16;
float sensitivityAtStep(int step);
int stepOfSensitivity(float sensitivity);

// The field-of-view slider's steps, FIELD_OF_VIEW_STEP degrees apart from
// the narrowest field of view to the widest; the default (45) is a step.
constexpr float FIELD_OF_VIEW_STEP = 5.0f;  // degrees
int fieldOfViewSteps();
float fieldOfViewAtStep(int step);
int stepOfFieldOfView(float degrees);

// The captions under the look sliders' arrows: "1.19×", "45°" (UTF-8).
std::string sensitivityCaption(float sensitivity);
std::string fieldOfViewCaption(float degrees);

}  // namespace Mossden

#endif
