#ifndef MOSSDEN_MENU_INTERFACESCALE_H
#define MOSSDEN_MENU_INTERFACESCALE_H

// How large the interface is drawn in a window, without the engine. The
// overlay scripts lay the menus out in pixels for a window 768 pixels high
// (the "layout pixels" below); a window of another size shows them scaled
// about its centre by scale(), and the pictures they show are taken from
// the set drawn at build time for the scale pictureScale(), so that text is
// drawn at about the size it is seen and never enlarged.
#include <string>

namespace Mossden {

class InterfaceScale {
public:
    // The window height at which the layout is shown at its own size.
    static constexpr int LAYOUT_HEIGHT = 768;  // pixels
    // The largest thing laid out: the start menu's halo around its panel,
    // centred in the window.
    static constexpr int MENU_WIDTH = 820;   // layout pixels
    static constexpr int MENU_HEIGHT = 620;  // layout pixels
    // The pictures exist at these scales ("<name>.png", "<name>_2x.png",
    // "<name>_3x.png"), made by tools/menu and tools/marks.
    static constexpr int PICTURE_SCALES = 3;
    // A picture may be shown this much larger than it was drawn before the
    // next scale's picture is taken: too little to blur its text.
    static constexpr float PICTURE_ENLARGEMENT = 1.05f;

    InterfaceScale() = default;
    // width, height: the window's size in pixels; sizes below 1 count as 1.
    InterfaceScale(int width, int height);

    // Window pixels per layout pixel. Windows at least LAYOUT_HEIGHT high
    // keep the menus' share of the height (height / LAYOUT_HEIGHT); smaller
    // ones keep the layout's own size, for legible text, as long as the
    // whole menu fits, and shrink it only as much as it must to fit. The
    // menu never leaves the window.
    float scale() const { return scaleValue; }
    // The picture set to show: 1, 2 or 3.
    int pictureScale() const { return pictures; }

    // A position across the window (0 left or top, 1 right or bottom, as
    // the overlay manager counts) mapped into the unscaled layout, where the
    // overlay elements keep their places: what lies under the pointer.
    float toLayout(float fraction) const { return 0.5f + (fraction - 0.5f) / scaleValue; }
    // A movement of the pointer in window pixels, in layout pixels.
    float toLayoutPixels(float pixels) const { return pixels / scaleValue; }

    // The file name of a picture in the set of the given scale:
    // "menu_start.png" at 2 is "menu_start_2x.png"; scale 1 keeps the name.
    static std::string pictureName(const std::string& name, int scale);
    // The inverse: the scale-1 name of any picture of a set, so that a
    // picture can be switched from any set to any other.
    static std::string baseName(const std::string& name);

private:
    float scaleValue = 1;
    int pictures = 1;
};

}  // namespace Mossden

#endif
