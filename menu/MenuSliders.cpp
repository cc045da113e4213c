#include "menu/MenuSliders.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "app/DataPaths.h"
#include "app/LookControl.h"
#include "app/Settings.h"

namespace Mossden {

std::vector<std::string> sortVideoModes(const std::vector<std::string>& modes,
                                        std::vector<std::string>& rejected) {
    std::vector<std::pair<int, std::string>> kept;
    for (const auto& mode : modes) {
        std::string text = mode;
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        const auto size = parseSizeText(text);
        if (size)
            kept.emplace_back(size->first, text);
        else
            rejected.push_back(mode);
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> sorted;
    sorted.reserve(kept.size());
    for (auto& entry : kept) sorted.push_back(std::move(entry.second));
    return sorted;
}

float sliderStep(float lineWidth, int maxValue) {
    return maxValue > 0 ? lineWidth / static_cast<float>(maxValue) : 0.0f;
}

bool dragSlider(float& accumulator, float dx, float step, int maxValue, int& value) {
    if (step <= 0.0f || maxValue <= 0) {
        accumulator = 0.0f;
        return false;
    }
    accumulator += dx;
    if (std::fabs(accumulator) <= step) return false;
    const int moved = value + (accumulator > 0.0f ? 1 : -1);
    accumulator = 0.0f;
    if (moved < 0 || moved > maxValue) {
        value = std::clamp(moved, 0, maxValue);
        return false;
    }
    value = moved;
    return true;
}

float sensitivityAtStep(int step) {
    return sensitivityFromSlider(static_cast<float>(step) / static_cast<float>(SENSITIVITY_STEPS));
}

int stepOfSensitivity(float sensitivity) {
    return static_cast<int>(std::lround(sliderFromSensitivity(sensitivity) * SENSITIVITY_STEPS));
}

int fieldOfViewSteps() {
    return static_cast<int>(std::lround(
        (Settings::MAX_FIELD_OF_VIEW - Settings::MIN_FIELD_OF_VIEW) / FIELD_OF_VIEW_STEP));
}

float fieldOfViewAtStep(int step) {
    return Settings::MIN_FIELD_OF_VIEW +
           FIELD_OF_VIEW_STEP * static_cast<float>(std::clamp(step, 0, fieldOfViewSteps()));
}

int stepOfFieldOfView(float degrees) {
    const float clamped =
        std::clamp(degrees, Settings::MIN_FIELD_OF_VIEW, Settings::MAX_FIELD_OF_VIEW);
    return static_cast<int>(
        std::lround((clamped - Settings::MIN_FIELD_OF_VIEW) / FIELD_OF_VIEW_STEP));
}

std::string sensitivityCaption(float sensitivity) {
    // Not printf: the decimal point must not follow the locale.
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), sensitivity,
                                   std::chars_format::fixed, 2);
    return std::string(text.data(), end.ptr) + "\u00d7";
}

std::string fieldOfViewCaption(float degrees) {
    return std::to_string(std::lround(degrees)) + "\u00b0";
}

}  // namespace Mossden
