#ifndef MOSSDEN_MENU_MOSSDENMENU_H
#define MOSSDEN_MENU_MOSSDENMENU_H

#include <OIS.h>
#include <OgreFrameListener.h>

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "menu/InterfaceLayout.h"
#include "menu/MenuCursor.h"

namespace Ogre {
class Overlay;
class OverlayContainer;
class OverlayElement;
class TextureUnitState;
}  // namespace Ogre

namespace Mossden {

class TextOverlay;

// The one overlay menu, owned by the application: the start menu over the
// menu scene, the in-game menu that Escape opens over a game scene and the
// end menu of the last scene. It draws its own cursor, highlights the button
// under it by swapping the button for its hover picture, plays its own music
// while shown (every other sound is paused meanwhile), and offers an about
// page and a settings page in two tabs: window mode, screen size and volume;
// mouse sensitivity, invert vertical look, field of view and quality.
//
// The menu is not an input callback: while `visible`, the current scene
// hands it the mouse (moveCursor, mouseMoved, mousePressed, mouseReleased).
// Everything the menu shows comes from the overlay scripts
// "MossdenOverlays/Menu" and "MossdenOverlays/EndMenu"; the first show looks
// all their elements up and fails with the engine's error if one is missing.
class MossdenMenu : public OIS::MouseListener {
public:
    static constexpr int MODE_START = 0;
    static constexpr int MODE_IN_GAME = 1;
    static constexpr int MODE_END = 2;
    static constexpr int MAX_VOLUME = 10;  // volume steps; the master gain is volume / 10

    // The three places that remember the last highlighted element, so that a
    // click sounds once per newly highlighted button.
    enum HoverSlot { SLOT_BUTTONS = 0, SLOT_END_AND_ABOUT = 1, SLOT_SETTINGS = 2, SLOT_COUNT = 3 };

    // The pages on the panel's right half.
    enum class Page { Screen, Look, About };

    // A button: the plain picture and the hover picture at the same place.
    struct ButtonPair {
        Ogre::OverlayElement* plain = nullptr;
        Ogre::OverlayElement* hover = nullptr;
        bool holds(const Ogre::OverlayElement* e) const { return e && (e == plain || e == hover); }
    };

    MossdenMenu();
    ~MossdenMenu() override;
    MossdenMenu(const MossdenMenu&) = delete;
    MossdenMenu& operator=(const MossdenMenu&) = delete;

    void show(int mode);
    void hide();
    // Window size in pixels. The first call also puts the size slider at that
    // size when it is one of the known sizes (materials "Menu/ViewMode<size>").
    void setWindowSize(int width, int height);
    // Runs instead of the scene's update while the menu is over a game scene:
    // fades the end menu in, the first time it shows.
    void update(const Ogre::FrameEvent& evt);
    // x, y: the mouse's absolute position in window pixels.
    void moveCursor(int x, int y);
    // relX: the mouse's horizontal movement in pixels (drags the sliders).
    void mouseMoved(Ogre::Real relX);
    // x, y: the mouse's absolute position; any button.
    void mousePressed(Ogre::Real x, Ogre::Real y);
    // x, y: the mouse's absolute position; left button only.
    void mouseReleased(Ogre::Real x, Ogre::Real y);

    // As an OIS listener the menu only moves its cursor.
    bool mouseMoved(const OIS::MouseEvent& evt) override;
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override { return true; }
    bool mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override { return true; }

    // The menu's state. The application and the scenes read `visible` and
    // `mode`; the rest is public for inspection.
    int mode = MODE_IN_GAME;
    int windowWidth = 0;   // pixels
    int windowHeight = 0;  // pixels
    bool sizeInitialised = false;
    bool visible = false;
    bool draggingViewMode = false;
    bool draggingVolume = false;
    bool draggingSensitivity = false;
    bool draggingFieldOfView = false;
    Page page = Page::Screen;      // the start and in-game menus open on Screen
    float endFade = 0.0f;          // opacity of the end menu, 0..1; once 1 it stays
    float viewModeStep = 0.0f;     // slider step in the slider line's pixels
    float volumeStep = 0.0f;       // slider step in the slider line's pixels
    float sensitivityStep = 0.0f;  // slider step in the slider line's pixels
    float fieldOfViewStep = 0.0f;  // slider step in the slider line's pixels
    int volume = MAX_VOLUME;
    std::unique_ptr<MenuCursor> cursor;   // made by the first show
    std::vector<std::string> videoModes;  // "<width>x<height>", by width
    float dragAccumulator = 0.0f;         // pixels moved since the last slider step
    int viewModeIndex = 0;                // entry of videoModes on the size slider
    int sliderLeft = 0;                   // arrow left at slider value 0, pixels
    int musicId = -1;                     // sound id of the menu's music

    Ogre::Overlay* menuOverlay = nullptr;
    Ogre::Overlay* endOverlay = nullptr;
    Ogre::OverlayContainer* background = nullptr;
    Ogre::OverlayContainer* startBackground = nullptr;
    Ogre::OverlayContainer* starsBackground = nullptr;
    Ogre::OverlayContainer* boxBackground = nullptr;
    Ogre::OverlayContainer* textMain = nullptr;
    Ogre::OverlayContainer* textAbout = nullptr;
    Ogre::OverlayContainer* screenRows = nullptr;  // the Screen tab's rows, in TextMain
    Ogre::OverlayContainer* lookRows = nullptr;    // the Look tab's rows, in TextMain
    Ogre::OverlayContainer* endMenu = nullptr;
    // in Background
    ButtonPair start, startAbout, startExit, continueButton, about, startOver, exit;
    // in TextMain
    ButtonPair tabScreen, tabLook;
    ButtonPair fullscreen, windowed, apply, viewModeArrow, soundArrow;
    ButtonPair sensitivityArrow, invert, fieldOfViewArrow, qualityLow, qualityMedium, qualityHigh;
    Ogre::OverlayElement* viewModeArrowLine = nullptr;
    // in TextAbout
    ButtonPair back;
    // in EndMenu
    ButtonPair endContinue, endStartOver, endExit;
    Ogre::OverlayElement* viewModeText = nullptr;     // the size caption
    Ogre::OverlayElement* sensitivityText = nullptr;  // the sensitivity caption
    Ogre::OverlayElement* fieldOfViewText = nullptr;  // the field-of-view caption

    std::array<const Ogre::OverlayElement*, SLOT_COUNT> lastHover{};
    std::set<const Ogre::OverlayElement*> clickSet;
    const std::vector<std::string> endMaterials;
    std::vector<Ogre::TextureUnitState*> endUnits;  // first unit of each of endMaterials

private:
    void build();
    void resetHighlights();
    void refreshSliders();
    // The look rows as the application's settings are now.
    void refreshLookRows();
    bool dragging() const {
        return draggingViewMode || draggingVolume || draggingSensitivity || draggingFieldOfView;
    }
    // One mouse movement of relX pixels while an arrow is dragged.
    void drag(Ogre::Real relX);
    // A release over the settings page's buttons (not the arrows).
    void releaseOnSettings(const Ogre::OverlayElement* e);
    void showPage(Page shown);
    void clickCheck(const Ogre::OverlayElement* element, HoverSlot slot);

    // Tops of the look captions, pixels from the window's centre.
    Ogre::Real sensitivityTextTop = 0;
    Ogre::Real fieldOfViewTextTop = 0;
    // The shared text overlay that shows the captions, when the menu was
    // the first to need it.
    std::unique_ptr<TextOverlay> ownTextOverlay;
    // The interface's scale for the window size: the overlays keep their
    // layout pixels, so pointer positions are mapped into them.
    InterfaceLayout interfaceLayout;
};

}  // namespace Mossden

#endif
