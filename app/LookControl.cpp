#include "app/LookControl.h"

#include <algorithm>
#include <cmath>

#include "app/Settings.h"

namespace Mossden {

LookOptions LookOptions::from(const Settings& settings) {
    return {settings.mouseSensitivity, settings.invertVerticalLook, settings.fieldOfView};
}

LookStep lookStep(float dx, float dy, float baseDegreesPerPixel, const LookOptions& options) {
    const float scale =
        baseDegreesPerPixel * options.sensitivity * options.fieldOfView / Settings::DEFAULT_FIELD_OF_VIEW;
    const float vertical = options.invertVertical ? 1.0f : -1.0f;
    return {-dx * scale, vertical * dy * scale};
}

float sensitivityFromSlider(float position) {
    const float t = std::clamp(position, 0.0f, 1.0f);
    return Settings::MIN_SENSITIVITY * std::pow(Settings::MAX_SENSITIVITY / Settings::MIN_SENSITIVITY, t);
}

float sliderFromSensitivity(float sensitivity) {
    const float s = std::clamp(sensitivity, Settings::MIN_SENSITIVITY, Settings::MAX_SENSITIVITY);
    return std::log(s / Settings::MIN_SENSITIVITY) /
           std::log(Settings::MAX_SENSITIVITY / Settings::MIN_SENSITIVITY);
}

}  // namespace Mossden
