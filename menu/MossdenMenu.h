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
#include "menu/MenuElements.h"
#include "menu/MenuHost.h"
#include "menu/MenuMode.h"

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
// While it shows, the input chain (app/InputChain.h) hands it every event
// before the scene: it moves its cursor, drags its sliders, acts on its
// buttons by asking the host (MenuHost.h) for requests and settings, and
// Escape asks to resume play (the start menu stays until the player starts).
// Everything the menu shows comes from the overlay scripts
// "MossdenOverlays/Menu" and "MossdenOverlays/EndMenu"; the first show looks
// all their elements up and fails with the engine's error if one is missing.
// The steps of the settings page's sliders, in the slider line's pixels.
struct SliderSteps {
    float viewMode = 0, volume = 0, sensitivity = 0, fieldOfView = 0;
};

// The captions under the slider arrows (areas of the shared text overlay);
// the look captions' tops are pixels from the window's centre.
struct SliderCaptions {
    Ogre::OverlayElement* viewMode = nullptr;
    Ogre::OverlayElement* sensitivity = nullptr;
    Ogre::OverlayElement* fieldOfView = nullptr;
    Ogre::Real sensitivityTop = 0, fieldOfViewTop = 0;
};

// The menu's two overlays and the containers its pages are made of.
struct MenuPanels {
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
    Ogre::OverlayElement* viewModeArrowLine = nullptr;  // in TextMain: the sliders' length
};

// The menu's buttons, by the container that holds them.
struct MenuButtons {
    // in Background
    ButtonPair start, startAbout, startExit, continueButton, about, startOver, exit;
    // in TextMain
    ButtonPair tabScreen, tabLook;
    ButtonPair fullscreen, windowed, apply, viewModeArrow, soundArrow;
    ButtonPair sensitivityArrow, invert, fieldOfViewArrow, qualityLow, qualityMedium, qualityHigh;
    // in TextAbout
    ButtonPair back;
    // in EndMenu
    ButtonPair endContinue, endStartOver, endExit;
};

// The settings page's sliders, or none.
enum class MenuSlider { None, ViewMode, Volume, Sensitivity, FieldOfView };

class MossdenMenu : public OIS::KeyListener, public OIS::MouseListener {
public:
    static constexpr int MAX_VOLUME = 10;  // volume steps; the master gain is volume / 10

    // The three places that remember the last highlighted element, so that a
    // click sounds once per newly highlighted button.
    enum HoverSlot { SLOT_BUTTONS = 0, SLOT_END_AND_ABOUT = 1, SLOT_SETTINGS = 2, SLOT_COUNT = 3 };

    // The pages on the panel's right half.
    enum class Page { Screen, Look, About };


    explicit MossdenMenu(MenuHost& host);
    ~MossdenMenu() override;
    MossdenMenu(const MossdenMenu&) = delete;
    MossdenMenu& operator=(const MossdenMenu&) = delete;

    void show(MenuMode shownMode);
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

    bool shown() const { return visible; }

    // The events the input chain hands it while it shows.
    // Escape asks to resume play; the start menu stays until the player starts.
    bool keyPressed(const OIS::KeyEvent& evt) override {
        if (evt.key == OIS::KC_ESCAPE && mode != MenuMode::Start) host.request(Request::Resume);
        return true;
    }
    bool keyReleased(const OIS::KeyEvent&) override { return true; }
    bool mouseMoved(const OIS::MouseEvent& evt) override {
        moveCursor(evt.state.X.abs, evt.state.Y.abs);
        mouseMoved(Ogre::Real(evt.state.X.rel));
        return true;
    }
    // Any button presses; only the left button releases.
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID) override {
        mousePressed(Ogre::Real(evt.state.X.abs), Ogre::Real(evt.state.Y.abs));
        return true;
    }
    bool mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override {
        if (id == OIS::MB_Left) mouseReleased(Ogre::Real(evt.state.X.abs), Ogre::Real(evt.state.Y.abs));
        return true;
    }

    // The menu's state. The application and the scenes read `visible` and
    // `mode`; the rest is public for inspection.
    MenuMode mode = MenuMode::InGame;
    int windowWidth = 0;   // pixels
    int windowHeight = 0;  // pixels
    bool sizeInitialised = false;
    bool visible = false;
    MenuSlider dragged = MenuSlider::None;  // the slider whose arrow the mouse holds
    Page page = Page::Screen;      // the start and in-game menus open on Screen
    float endFade = 0.0f;          // opacity of the end menu, 0..1; once 1 it stays
    SliderSteps steps;             // in the slider line's pixels
    int volume = MAX_VOLUME;
    std::unique_ptr<MenuCursor> cursor;   // made by the first show
    std::vector<std::string> videoModes;  // "<width>x<height>", by width
    float dragAccumulator = 0.0f;         // pixels moved since the last slider step
    int viewModeIndex = 0;                // entry of videoModes on the size slider
    int sliderLeft = 0;                   // arrow left at slider value 0, pixels
    int musicId = -1;                     // sound id of the menu's music

    MenuPanels panels;    // overlays and containers, found by the first show
    MenuButtons buttons;  // found by the first show
    SliderCaptions captions;

    std::array<const Ogre::OverlayElement*, SLOT_COUNT> lastHover{};
    std::set<const Ogre::OverlayElement*> clickSet;
    const std::vector<std::string> endMaterials;
    std::vector<Ogre::TextureUnitState*> endUnits;  // first unit of each of endMaterials

private:
    MenuHost& host;

    void build();
    void resetHighlights();
    void refreshSliders();
    // The look rows as the application's settings are now.
    void refreshLookRows();
    bool dragging() const { return dragged != MenuSlider::None; }
    // One mouse movement of relX pixels while an arrow is dragged.
    void drag(Ogre::Real relX);
    // A release over the settings page's buttons (not the arrows).
    void releaseOnSettings(const Ogre::OverlayElement* e);
    void showPage(Page shown);
    void clickCheck(const Ogre::OverlayElement* element, HoverSlot slot);

    // The shared text overlay that shows the captions, when the menu was
    // the first to need it.
    std::unique_ptr<TextOverlay> ownTextOverlay;
    // The interface's scale for the window size: the overlays keep their
    // layout pixels, so pointer positions are mapped into them.
    InterfaceLayout interfaceLayout;
};

}  // namespace Mossden

#endif
