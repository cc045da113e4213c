#include "menu/MossdenMenu.h"

#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>

#include <algorithm>

#include "app/TextOverlay.h"
#include "audio/SoundManager.h"
#include "menu/MenuElements.h"
#include "menu/MenuSliders.h"

namespace Mossden {

namespace {

const char* const CURSOR_IMAGE = "pointer.png";
const char* const MUSIC = "thehumming.ogg";
const char* const CLICK = "button.ogg";
const char* const MENU_OVERLAY = "MossdenOverlays/Menu";
const char* const END_OVERLAY = "MossdenOverlays/EndMenu";
const char* const START_MATERIAL = "Menu/StartBackgroundPic";
const char* const IN_GAME_MATERIAL = "Menu/Background";
const char* const VIEW_MODE_MATERIAL_PREFIX = "Menu/ViewMode";

// The size caption: an area of the shared text overlay, placed in pixels from
// the window's centre, so that it follows the size slider's arrow.
const char* const VIEW_MODE_TEXT = "ViewModeText";
constexpr Ogre::Real VIEW_MODE_TEXT_SIZE = 400;  // pixels, width and height
constexpr Ogre::Real VIEW_MODE_TEXT_TOP = 8;     // pixels below the centre
const Ogre::ColourValue VIEW_MODE_TEXT_COLOUR(0.28627452f, 0.105882354f, 0.2784314f, 1.0f);
// The look sliders' captions, placed as the size caption is.
const char* const SENSITIVITY_TEXT = "SensitivityText";
const char* const FIELD_OF_VIEW_TEXT = "FieldOfViewText";

}  // namespace

MossdenMenu::MossdenMenu(MenuHost& host)
    : endMaterials{"EndMenu/TheEnd",        "EndMenu/Continue",  "EndMenu/ContinueHover",
                   "EndMenu/Exit",          "EndMenu/ExitHover", "EndMenu/StartOver",
                   "EndMenu/StartOverHover"},
      host(host) {}

// The engine owns every overlay, element and material the menu points at and
// may already be gone here: nothing of it is touched.
MossdenMenu::~MossdenMenu() = default;

void MossdenMenu::build() {
    MenuButtons& b = buttons;
    cursor = std::make_unique<MenuCursor>(CURSOR_IMAGE);
    cursor->setWindowSize(windowWidth, windowHeight);

    std::vector<std::string> offered;
    host.collectVideoModes(offered);
    std::vector<std::string> rejected;
    videoModes = sortVideoModes(offered, rejected);
    for (const auto& text : rejected)
        Ogre::LogManager::getSingleton().logMessage("Menu: screen size '" + text +
                                                    "' left out: not <width>x<height>");

    panels.menuOverlay = findOverlay(MENU_OVERLAY);
    panels.endOverlay = findOverlay(END_OVERLAY);
    const std::string menu = std::string(MENU_OVERLAY) + "/";
    const std::string end = std::string(END_OVERLAY) + "/";
    panels.background = findContainer(menu + "Background");
    panels.startBackground = findContainer(menu + "StartBackground");
    panels.starsBackground = findContainer(menu + "StarsBackground");
    panels.boxBackground = findContainer(menu + "BoxBackground");
    panels.textMain = findContainer(menu + "TextMain");
    panels.textAbout = findContainer(menu + "TextAbout");
    panels.screenRows = findContainer(menu + "ScreenRows");
    panels.lookRows = findContainer(menu + "LookRows");
    panels.endMenu = findContainer(END_OVERLAY);
    b.start = findPair(menu, "Start");
    b.startAbout = findPair(menu, "StartAbout");
    b.startExit = findPair(menu, "StartExit");
    b.continueButton = findPair(menu, "Continue");
    b.about = findPair(menu, "About");
    b.startOver = findPair(menu, "StartOver");
    b.exit = findPair(menu, "Exit");
    b.tabScreen = findPair(menu, "TabScreen");
    b.tabLook = findPair(menu, "TabLook");
    b.fullscreen = findPair(menu, "Fullscreen");
    b.windowed = findPair(menu, "Windowed");
    b.apply = findPair(menu, "Apply");
    b.viewModeArrow = findPair(menu, "ViewModeArrow");
    b.soundArrow = findPair(menu, "SoundArrow");
    b.sensitivityArrow = findPair(menu, "SensitivityArrow");
    b.invert = findPair(menu, "Invert");
    b.fieldOfViewArrow = findPair(menu, "FieldOfViewArrow");
    b.qualityLow = findPair(menu, "QualityLow");
    b.qualityMedium = findPair(menu, "QualityMedium");
    b.qualityHigh = findPair(menu, "QualityHigh");
    panels.viewModeArrowLine = findElement(menu + "ViewModeArrowLine");
    b.back = findPair(menu, "Back");
    b.endContinue = findPair(end, "Continue");
    b.endStartOver = findPair(end, "StartOver");
    b.endExit = findPair(end, "Exit");

    clickSet = {
        b.endExit.plain,     b.endExit.hover,       b.endStartOver.plain,   b.endStartOver.hover,
        b.endContinue.plain, b.endContinue.hover,   b.continueButton.hover, b.start.hover,
        b.startAbout.hover,  b.startExit.hover,     b.startOver.hover,      b.about.hover,
        b.exit.hover,        b.fullscreen.plain,    b.windowed.plain,       b.apply.plain,
        b.back.plain,        b.tabScreen.plain,     b.tabLook.plain,        b.invert.plain,
        b.qualityLow.plain,  b.qualityMedium.plain, b.qualityHigh.plain};

    for (const auto& name : endMaterials) endUnits.push_back(firstTextureUnit(name));

    sliderLeft = static_cast<int>(b.viewModeArrow.hover->getLeft());
    const float lineWidth = panels.viewModeArrowLine->getWidth();
    steps.viewMode = sliderStep(lineWidth, static_cast<int>(videoModes.size()) - 1);
    steps.volume = sliderStep(lineWidth, MAX_VOLUME);
    steps.sensitivity = sliderStep(lineWidth, SENSITIVITY_STEPS);
    steps.fieldOfView = sliderStep(lineWidth, fieldOfViewSteps());

    if (!TextOverlay::instance()) ownTextOverlay = std::make_unique<TextOverlay>();
    captions.viewMode = createCaption(VIEW_MODE_TEXT, VIEW_MODE_TEXT_SIZE, VIEW_MODE_TEXT_COLOUR);
    captions.sensitivity =
        createCaption(SENSITIVITY_TEXT, VIEW_MODE_TEXT_SIZE, VIEW_MODE_TEXT_COLOUR);
    captions.fieldOfView =
        createCaption(FIELD_OF_VIEW_TEXT, VIEW_MODE_TEXT_SIZE, VIEW_MODE_TEXT_COLOUR);
    // The look captions lie as far below their lines as the size caption does.
    const Ogre::Real belowLine =
        VIEW_MODE_TEXT_TOP - panels.textMain->getTop() - panels.viewModeArrowLine->getTop();
    captions.sensitivityTop = panels.textMain->getTop() +
                              findElement(menu + "SensitivityArrowLine")->getTop() + belowLine;
    captions.fieldOfViewTop = panels.textMain->getTop() +
                              findElement(menu + "FieldOfViewArrowLine")->getTop() + belowLine;
    interfaceLayout.apply(windowWidth, windowHeight);
}

void MossdenMenu::show(MenuMode shownMode) {
    mode = shownMode;
    SoundManager& sound = SoundManager::getInstance();
    sound.pauseAll();
    musicId = sound.loadSound(MUSIC, true);
    sound.play(musicId);

    if (!cursor) build();
    cursor->show();
    visible = true;

    Ogre::Overlay* shown = nullptr;
    if (mode == MenuMode::End) {
        shown = panels.endOverlay;
    } else {
        shown = panels.menuOverlay;
        if (mode == MenuMode::Start) {
            panels.starsBackground->show();
            panels.boxBackground->show();
            panels.background->setMaterialName(START_MATERIAL);
        } else {
            panels.starsBackground->hide();
            panels.boxBackground->hide();
            panels.background->setMaterialName(IN_GAME_MATERIAL);
        }
        showPage(Page::Screen);
        refreshSliders();
        refreshLookRows();
    }
    resetHighlights();
    shown->show();
    buttons.fullscreen.plain->show();
    buttons.windowed.plain->show();
}

void MossdenMenu::hide() {
    visible = false;
    if (cursor) {
        cursor->hide();
        panels.menuOverlay->hide();
        for (Ogre::OverlayElement* caption : {captions.viewMode, captions.sensitivity, captions.fieldOfView})
            caption->hide();
    }
    SoundManager& sound = SoundManager::getInstance();
    sound.resumeAll();
    sound.stop(sound.loadSound(MUSIC, true));
    if (mode == MenuMode::End && panels.endOverlay) panels.endOverlay->hide();
}

void MossdenMenu::resetHighlights() {
    const MenuButtons& b = buttons;
    for (const ButtonPair* pair :
         {&b.continueButton, &b.about, &b.startAbout, &b.startOver, &b.exit, &b.startExit, &b.start,
          &b.back, &b.apply, &b.fullscreen, &b.windowed, &b.viewModeArrow, &b.soundArrow,
          &b.tabScreen, &b.tabLook, &b.sensitivityArrow, &b.invert, &b.fieldOfViewArrow,
          &b.qualityLow, &b.qualityMedium, &b.qualityHigh})
        pair->hover->hide();
    panels.startBackground->hide();
    switch (mode) {
        case MenuMode::End:
            for (const ButtonPair* pair : {&b.endExit, &b.endStartOver, &b.endContinue})
                resetPair(*pair);
            break;
        case MenuMode::InGame:
            for (const ButtonPair* pair : {&b.continueButton, &b.about, &b.startOver, &b.exit})
                pair->plain->show();
            for (const ButtonPair* pair : {&b.startAbout, &b.startExit, &b.start})
                pair->plain->hide();
            break;
        default:
            for (const ButtonPair* pair : {&b.startAbout, &b.startExit, &b.start})
                pair->plain->show();
            for (const ButtonPair* pair : {&b.continueButton, &b.about, &b.startOver, &b.exit})
                pair->plain->hide();
            break;
    }
}

void MossdenMenu::setWindowSize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
    interfaceLayout.apply(width, height);
    if (cursor) cursor->setWindowSize(width, height);
    if (sizeInitialised || !cursor) return;
    sizeInitialised = true;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (Ogre::MaterialManager::getSingleton().resourceExists(VIEW_MODE_MATERIAL_PREFIX + size)) {
        const auto it = std::find(videoModes.begin(), videoModes.end(), size);
        if (it != videoModes.end()) viewModeIndex = static_cast<int>(it - videoModes.begin());
    }
    refreshSliders();
}

void MossdenMenu::refreshSliders() {
    const bool onlyViewMode = dragged == MenuSlider::ViewMode;
    const bool onlyVolume = dragged == MenuSlider::Volume;
    if (!onlyViewMode) {
        placeArrow(buttons.soundArrow, steps.volume * float(volume) + float(sliderLeft));
        SoundManager::getInstance().setVolume(static_cast<float>(volume) /
                                              static_cast<float>(MAX_VOLUME));
    }
    if (!onlyVolume) {
        const float left =
            steps.viewMode * static_cast<float>(viewModeIndex) + static_cast<float>(sliderLeft);
        placeArrow(buttons.viewModeArrow, left);
        captions.viewMode->setPosition(left, VIEW_MODE_TEXT_TOP);
        const bool known =
            viewModeIndex >= 0 && viewModeIndex < static_cast<int>(videoModes.size());
        TextOverlay::instance()->setCaption(VIEW_MODE_TEXT, known ? videoModes[viewModeIndex] : "");
        // The caption lives on the shared text overlay, which stays up when
        // the menu goes: it shows only with the settings page.
        if (visible && mode != MenuMode::End && panels.textMain->isVisible() && page == Page::Screen)
            captions.viewMode->show();
    }
}

void MossdenMenu::refreshLookRows() {
    const Settings& settings = host.settings();
    const auto placeSlider = [this](const ButtonPair& arrow, Ogre::OverlayElement* caption,
                                    float step, int value, Ogre::Real captionTop,
                                    const std::string& text) {
        const float left = step * static_cast<float>(value) + static_cast<float>(sliderLeft);
        placeArrow(arrow, left);
        caption->setPosition(left, captionTop);
        TextOverlay::instance()->setCaption(caption->getName(), text);
    };
    placeSlider(buttons.sensitivityArrow, captions.sensitivity, steps.sensitivity,
                stepOfSensitivity(settings.mouseSensitivity), captions.sensitivityTop,
                sensitivityCaption(settings.mouseSensitivity));
    placeSlider(buttons.fieldOfViewArrow, captions.fieldOfView, steps.fieldOfView,
                stepOfFieldOfView(settings.fieldOfView), captions.fieldOfViewTop,
                fieldOfViewCaption(settings.fieldOfView));

    const bool inverted = settings.invertVerticalLook;
    markChosen(buttons.invert, "Menu/Invert", inverted);
    buttons.invert.hover->setMaterialName(inverted ? "Menu/InvertOnHover" : "Menu/InvertHover");
    const Settings::Quality quality = settings.quality.value_or(Settings::Quality::High);
    markChosen(buttons.qualityLow, "Menu/QualityLow", quality == Settings::Quality::Low);
    markChosen(buttons.qualityMedium, "Menu/QualityMedium", quality == Settings::Quality::Medium);
    markChosen(buttons.qualityHigh, "Menu/QualityHigh", quality == Settings::Quality::High);
}

void MossdenMenu::showPage(Page shown) {
    page = shown;
    const bool settingsPage = shown != Page::About;
    setShown(panels.textMain, settingsPage);
    setShown(panels.textAbout, !settingsPage);
    setShown(panels.screenRows, shown == Page::Screen);
    setShown(panels.lookRows, shown == Page::Look);
    markChosen(buttons.tabScreen, "Menu/TabScreen", shown == Page::Screen);
    markChosen(buttons.tabLook, "Menu/TabLook", shown == Page::Look);
    // The captions live on the shared text overlay, outside the pages.
    setShown(captions.viewMode, shown == Page::Screen);
    setShown(captions.sensitivity, shown == Page::Look);
    setShown(captions.fieldOfView, shown == Page::Look);
    for (const ButtonPair* pair : {&buttons.fullscreen, &buttons.windowed}) {
        setShown(pair->plain, settingsPage);
        pair->hover->hide();
    }
}

void MossdenMenu::clickCheck(const Ogre::OverlayElement* element, HoverSlot slot) {
    if (!element || element == lastHover[slot]) return;
    if (clickSet.count(element)) {
        SoundManager& sound = SoundManager::getInstance();
        sound.playInstance(sound.loadSound(CLICK, false));
    }
    lastHover[slot] = element;
}

void MossdenMenu::moveCursor(int x, int y) {
    if (cursor) cursor->setPosition(x, y);
}

void MossdenMenu::mouseMoved(Ogre::Real relX) {
    if (!cursor) return;
    const Ogre::Real x = interfaceLayout.scale().toLayout(cursor->getX());
    const Ogre::Real y = interfaceLayout.scale().toLayout(cursor->getY());

    if (mode == MenuMode::End) {
        const Ogre::OverlayElement* e = panels.endMenu->findElementAt(x, y);
        resetHighlights();
        for (const ButtonPair* pair : {&buttons.endContinue, &buttons.endStartOver, &buttons.endExit})
            if (pair->holds(e)) showHover(*pair);
        clickCheck(e, SLOT_END_AND_ABOUT);
        return;
    }

    if (dragging()) {
        drag(relX);
        return;
    }

    const Ogre::OverlayElement* e = panels.background->findElementAt(x, y);
    resetHighlights();
    for (const ButtonPair* pair :
         {&buttons.continueButton, &buttons.start, &buttons.startAbout, &buttons.startExit,
          &buttons.startOver, &buttons.about, &buttons.exit})
        if (pair->holds(e)) showHover(*pair);
    clickCheck(e, SLOT_BUTTONS);

    e = panels.textAbout->findElementAt(x, y);
    if (buttons.back.holds(e)) buttons.back.hover->show();
    clickCheck(e, SLOT_END_AND_ABOUT);

    e = panels.textMain->findElementAt(x, y);
    for (const ButtonPair* pair :
         {&buttons.apply, &buttons.fullscreen, &buttons.windowed, &buttons.tabScreen,
          &buttons.tabLook, &buttons.invert, &buttons.qualityLow, &buttons.qualityMedium,
          &buttons.qualityHigh})
        if (pair->holds(e)) pair->hover->show();
    for (const ButtonPair* pair : {&buttons.viewModeArrow, &buttons.soundArrow,
                                   &buttons.sensitivityArrow, &buttons.fieldOfViewArrow}) {
        if (pair->holds(e)) {
            pair->hover->setPosition(pair->plain->getLeft(), pair->plain->getTop());
            pair->hover->show();
        }
    }
    clickCheck(e, SLOT_SETTINGS);
}

void MossdenMenu::drag(Ogre::Real windowRelX) {
    const Ogre::Real relX = interfaceLayout.scale().toLayoutPixels(windowRelX);
    if (dragged == MenuSlider::ViewMode || dragged == MenuSlider::Volume) {
        const bool moved = dragged == MenuSlider::ViewMode
                               ? dragSlider(dragAccumulator, relX, steps.viewMode,
                                            static_cast<int>(videoModes.size()) - 1, viewModeIndex)
                               : dragSlider(dragAccumulator, relX, steps.volume, MAX_VOLUME, volume);
        if (moved) refreshSliders();
        return;
    }
    // The look sliders keep no value of their own: they step from the
    // settings and write back into them, live; the release saves them.
    Settings changed = host.settings();
    if (dragged == MenuSlider::Sensitivity) {
        int step = stepOfSensitivity(changed.mouseSensitivity);
        if (!dragSlider(dragAccumulator, relX, steps.sensitivity, SENSITIVITY_STEPS, step)) return;
        changed.mouseSensitivity = sensitivityAtStep(step);
    } else {
        int step = stepOfFieldOfView(changed.fieldOfView);
        if (!dragSlider(dragAccumulator, relX, steps.fieldOfView, fieldOfViewSteps(), step)) return;
        changed.fieldOfView = fieldOfViewAtStep(step);
    }
    host.changeSettings(changed, false);
    refreshLookRows();
}

void MossdenMenu::mousePressed(Ogre::Real x, Ogre::Real y) {
    // The settings page belongs to the start and in-game menus; its arrows
    // must not catch a press while the end menu is shown.
    if (!cursor || dragging() || mode == MenuMode::End) return;
    if (windowWidth <= 0 || windowHeight <= 0) return;
    const InterfaceScale& scale = interfaceLayout.scale();
    const Ogre::OverlayElement* e =
        panels.textMain->findElementAt(scale.toLayout(x / static_cast<Ogre::Real>(windowWidth)),
                                       scale.toLayout(y / static_cast<Ogre::Real>(windowHeight)));
    if (buttons.viewModeArrow.holds(e))
        dragged = MenuSlider::ViewMode;
    else if (buttons.soundArrow.holds(e))
        dragged = MenuSlider::Volume;
    else if (buttons.sensitivityArrow.holds(e))
        dragged = MenuSlider::Sensitivity;
    else if (buttons.fieldOfViewArrow.holds(e))
        dragged = MenuSlider::FieldOfView;
    else
        return;
    cursor->hide();
}

void MossdenMenu::mouseReleased(Ogre::Real x, Ogre::Real y) {
    if (!cursor) return;
    if (dragging()) {
        cursor->show();
        dragAccumulator = 0.0f;
        // A slider's value is kept once it is let go.
        Settings changed = host.settings();
        changed.volume = volume;
        host.changeSettings(changed, true);
        dragged = MenuSlider::None;
        return;
    }

    if (mode == MenuMode::End) {
        const InterfaceScale& scale = interfaceLayout.scale();
        const Ogre::OverlayElement* e = panels.endMenu->findElementAt(scale.toLayout(cursor->getX()),
                                                                      scale.toLayout(cursor->getY()));
        if (e == buttons.endExit.hover)
            host.request(Request::Quit);
        else if (e == buttons.endStartOver.hover)
            host.request(Request::StartOver);
        else if (e == buttons.endContinue.hover)
            host.request(Request::Resume);
        return;
    }

    if (windowWidth <= 0 || windowHeight <= 0) return;
    const InterfaceScale& scale = interfaceLayout.scale();
    const Ogre::Real px = scale.toLayout(x / static_cast<Ogre::Real>(windowWidth));
    const Ogre::Real py = scale.toLayout(y / static_cast<Ogre::Real>(windowHeight));

    const Ogre::OverlayElement* e = panels.background->findElementAt(px, py);
    // Only hover forms act: a button must have been highlighted by a move.
    if (e == buttons.startExit.hover || e == buttons.exit.hover) {
        host.request(Request::Quit);
    } else if (e == buttons.continueButton.hover) {
        host.request(Request::Resume);
    } else if (e == buttons.about.hover || e == buttons.startAbout.hover) {
        showPage(Page::About);
    } else if (e == buttons.startOver.hover) {
        host.request(Request::StartOver);
    } else if (e == buttons.start.hover) {
        host.request(Request::Start);
    }

    releaseOnSettings(panels.textMain->findElementAt(px, py));

    e = panels.textAbout->findElementAt(px, py);
    if (buttons.back.holds(e)) showPage(Page::Screen);
}

void MossdenMenu::releaseOnSettings(const Ogre::OverlayElement* e) {
    if (!e) return;
    if (buttons.tabScreen.holds(e)) {
        showPage(Page::Screen);
    } else if (buttons.tabLook.holds(e)) {
        showPage(Page::Look);
    } else if (buttons.apply.holds(e)) {
        if (viewModeIndex >= 0 && viewModeIndex < static_cast<int>(videoModes.size()))
            host.setResolution(videoModes[viewModeIndex]);
    } else if (buttons.windowed.holds(e)) {
        host.setFullscreen(false);
        setWindowSize(windowWidth, windowHeight);
    } else if (buttons.fullscreen.holds(e)) {
        host.setFullscreen(true);
        setWindowSize(windowWidth, windowHeight);
    } else if (buttons.invert.holds(e)) {
        Settings changed = host.settings();
        changed.invertVerticalLook = !changed.invertVerticalLook;
        host.changeSettings(changed, true);
        refreshLookRows();
    } else {
        const std::pair<const ButtonPair*, Settings::Quality> levels[] = {
            {&buttons.qualityLow, Settings::Quality::Low},
            {&buttons.qualityMedium, Settings::Quality::Medium},
            {&buttons.qualityHigh, Settings::Quality::High}};
        for (const auto& [pair, level] : levels) {
            if (!pair->holds(e)) continue;
            Settings changed = host.settings();
            changed.quality = level;
            host.changeSettings(changed, true);
            refreshLookRows();
        }
    }
}

void MossdenMenu::update(const Ogre::FrameEvent& evt) {
    if (mode != MenuMode::End || endFade >= 1.0f) return;
    endFade = std::min(1.0f, endFade + evt.timeSinceLastFrame);
    for (Ogre::TextureUnitState* unit : endUnits)
        unit->setAlphaOperation(Ogre::LBX_MODULATE, Ogre::LBS_MANUAL, Ogre::LBS_TEXTURE, endFade);
}

}  // namespace Mossden
