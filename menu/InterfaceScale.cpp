#include "menu/InterfaceScale.h"

#include <algorithm>
#include <cmath>

namespace Mossden {

namespace {

const std::string PICTURE_SUFFIX = ".png";

bool isPicture(const std::string& name) {
    return name.size() > PICTURE_SUFFIX.size() &&
           name.compare(name.size() - PICTURE_SUFFIX.size(), PICTURE_SUFFIX.size(),
                        PICTURE_SUFFIX) == 0;
}

// The length of the "_<k>x" mark of a picture set above 1 before the
// suffix, or 0 when the name has none.
std::string::size_type scaleMarkLength(const std::string& name) {
    if (!isPicture(name) || name.size() < PICTURE_SUFFIX.size() + 4) return 0;
    const std::string::size_type end = name.size() - PICTURE_SUFFIX.size();
    const char k = name[end - 2];
    const bool marked = name[end - 3] == '_' && name[end - 1] == 'x' && k >= '2' &&
                        k <= static_cast<char>('0' + InterfaceScale::PICTURE_SCALES);
    return marked ? 3 : 0;
}

}  // namespace

InterfaceScale::InterfaceScale(int width, int height) {
    const float w = static_cast<float>(std::max(width, 1));
    const float h = static_cast<float>(std::max(height, 1));
    const float fit = std::min(w / MENU_WIDTH, h / MENU_HEIGHT);
    const float share = h / LAYOUT_HEIGHT;
    scaleValue = std::min(fit, std::max(share, 1.0f));
    pictures = std::clamp(static_cast<int>(std::ceil(scaleValue / PICTURE_ENLARGEMENT)), 1,
                          PICTURE_SCALES);
}

std::string InterfaceScale::pictureName(const std::string& name, int scale) {
    const std::string base = baseName(name);
    if (!isPicture(base) || scale <= 1 || scale > PICTURE_SCALES) return base;
    return base.substr(0, base.size() - PICTURE_SUFFIX.size()) + "_" + std::to_string(scale) + "x" +
           PICTURE_SUFFIX;
}

std::string InterfaceScale::baseName(const std::string& name) {
    const std::string::size_type mark = scaleMarkLength(name);
    if (mark == 0) return name;
    const std::string::size_type end = name.size() - PICTURE_SUFFIX.size();
    return name.substr(0, end - mark) + PICTURE_SUFFIX;
}

}  // namespace Mossden
