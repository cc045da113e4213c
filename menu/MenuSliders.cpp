#include "menu/MenuSliders.h"

#include <algorithm>
#include <cmath>

#include "app/DataPaths.h"

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

}  // namespace Mossden
