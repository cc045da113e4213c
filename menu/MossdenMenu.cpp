#include "menu/MossdenMenu.h"

#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>

#include <algorithm>

#include "app/MossdenApp.h"
#include "app/TextOverlay.h"
#include "audio/SoundManager.h"
#include "menu/MenuSliders.h"
#include "scene/MossdenScene.h"

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

Ogre::Overlay* findOverlay(const std::string& name) {
    Ogre::Overlay* overlay = Ogre::OverlayManager::getSingleton().getByName(name);
    if (!overlay)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Overlay " + name + " not found",
                    "MossdenMenu::build");
    return overlay;
}

// Throws the overlay manager's error when the scripts do not define the name.
Ogre::OverlayElement* findElement(const std::string& name) {
    return Ogre::OverlayManager::getSingleton().getOverlayElement(name);
}

Ogre::OverlayContainer* findContainer(const std::string& name) {
    Ogre::OverlayElement* element = findElement(name);
    if (!element->isContainer())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, name + " is not a container",
                    "MossdenMenu::build");
    return static_cast<Ogre::OverlayContainer*>(element);
}

MossdenMenu::ButtonPair findPair(const std::string& prefix, const std::string& label) {
    return {findElement(prefix + label), findElement(prefix + label + "Hover")};
}

void showHover(const MossdenMenu::ButtonPair& pair) {
    pair.hover->show();
    pair.plain->hide();
}

void resetPair(const MossdenMenu::ButtonPair& pair) {
    pair.plain->show();
    pair.hover->hide();
}

void setShown(Ogre::OverlayElement* element, bool shown) {
    if (shown)
        element->show();
    else
        element->hide();
}

// A button that shows whether it is chosen: its plain form wears
// "<material>On" when chosen.
void markChosen(const MossdenMenu::ButtonPair& pair, const std::string& material, bool chosen) {
    pair.plain->setMaterialName(chosen ? material + "On" : material);
}

// A text area of the shared text overlay for a caption under a slider arrow.
Ogre::OverlayElement* createCaption(const char* id) {
    TextOverlay::instance()->createTextArea(id, "", 0, 0, VIEW_MODE_TEXT_SIZE, VIEW_MODE_TEXT_SIZE,
                                            VIEW_MODE_TEXT_COLOUR);
    Ogre::OverlayElement* caption = findElement(id);
    caption->setHorizontalAlignment(Ogre::GHA_CENTER);
    caption->setVerticalAlignment(Ogre::GVA_CENTER);
    return caption;
}

}  // namespace

MossdenMenu::MossdenMenu()
    : endMaterials{"EndMenu/TheEnd",        "EndMenu/Continue",  "EndMenu/ContinueHover",
                   "EndMenu/Exit",          "EndMenu/ExitHover", "EndMenu/StartOver",
                   "EndMenu/StartOverHover"} {}

// The engine owns every overlay, element and material the menu points at and
// may already be gone here: nothing of it is touched.
MossdenMenu::~MossdenMenu() = default;

void MossdenMenu::build() {
    cursor = std::make_unique<MenuCursor>(CURSOR_IMAGE);
    cursor->setWindowSize(windowWidth, windowHeight);

    MossdenApp& app = MossdenApp::getInstance();
    std::vector<std::string> offered;
    app.collectVideoModes(offered);
    std::vector<std::string> rejected;
    videoModes = sortVideoModes(offered, rejected);
    for (const auto& text : rejected)
        Ogre::LogManager::getSingleton().logMessage("Menu: screen size '" + text +
                                                    "' left out: not <width>x<height>");

    menuOverlay = findOverlay(MENU_OVERLAY);
    endOverlay = findOverlay(END_OVERLAY);
    const std::string menu = std::string(MENU_OVERLAY) + "/";
    const std::string end = std::string(END_OVERLAY) + "/";
    background = findContainer(menu + "Background");
    startBackground = findContainer(menu + "StartBackground");
    starsBackground = findContainer(menu + "StarsBackground");
    boxBackground = findContainer(menu + "BoxBackground");
    textMain = findContainer(menu + "TextMain");
    textAbout = findContainer(menu + "TextAbout");
    screenRows = findContainer(menu + "ScreenRows");
    lookRows = findContainer(menu + "LookRows");
    endMenu = findContainer(END_OVERLAY);
    start = findPair(menu, "Start");
    startAbout = findPair(menu, "StartAbout");
    startExit = findPair(menu, "StartExit");
    continueButton = findPair(menu, "Continue");
    about = findPair(menu, "About");
    startOver = findPair(menu, "StartOver");
    exit = findPair(menu, "Exit");
    tabScreen = findPair(menu, "TabScreen");
    tabLook = findPair(menu, "TabLook");
    fullscreen = findPair(menu, "Fullscreen");
    windowed = findPair(menu, "Windowed");
    apply = findPair(menu, "Apply");
    viewModeArrow = findPair(menu, "ViewModeArrow");
    soundArrow = findPair(menu, "SoundArrow");
    sensitivityArrow = findPair(menu, "SensitivityArrow");
    invert = findPair(menu, "Invert");
    fieldOfViewArrow = findPair(menu, "FieldOfViewArrow");
    qualityLow = findPair(menu, "QualityLow");
    qualityMedium = findPair(menu, "QualityMedium");
    qualityHigh = findPair(menu, "QualityHigh");
    viewModeArrowLine = findElement(menu + "ViewModeArrowLine");
    back = findPair(menu, "Back");
    endContinue = findPair(end, "Continue");
    endStartOver = findPair(end, "StartOver");
    endExit = findPair(end, "Exit");

    clickSet = {endExit.plain,     endExit.hover,       endStartOver.plain,   endStartOver.hover,
                endContinue.plain, endContinue.hover,   continueButton.hover, start.hover,
                startAbout.hover,  startExit.hover,     startOver.hover,      about.hover,
                exit.hover,        fullscreen.plain,    windowed.plain,       apply.plain,
                back.plain,        tabScreen.plain,     tabLook.plain,        invert.plain,
                qualityLow.plain,  qualityMedium.plain, qualityHigh.plain};

    for (const auto& name : endMaterials) {
        Ogre::MaterialPtr material =
            Ogre::MaterialManager::getSingleton().getByName(name, Ogre::RGN_AUTODETECT);
        if (!material)
            OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Material " + name + " not found",
                        "MossdenMenu::build");
        // The engine only asserts on missing indices: check them here.
        Ogre::Technique* technique =
            material->getNumTechniques() ? material->getTechnique(0) : nullptr;
        Ogre::Pass* pass = technique && technique->getNumPasses() ? technique->getPass(0) : nullptr;
        if (!pass || pass->getNumTextureUnitStates() == 0)
            OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                        "Material " + name + " has no first texture unit to fade",
                        "MossdenMenu::build");
        endUnits.push_back(pass->getTextureUnitState(0));
    }

    sliderLeft = static_cast<int>(viewModeArrow.hover->getLeft());
    const float lineWidth = viewModeArrowLine->getWidth();
    viewModeStep = sliderStep(lineWidth, static_cast<int>(videoModes.size()) - 1);
    volumeStep = sliderStep(lineWidth, MAX_VOLUME);
    sensitivityStep = sliderStep(lineWidth, SENSITIVITY_STEPS);
    fieldOfViewStep = sliderStep(lineWidth, fieldOfViewSteps());

    if (!TextOverlay::instance()) ownTextOverlay = std::make_unique<TextOverlay>();
    viewModeText = createCaption(VIEW_MODE_TEXT);
    sensitivityText = createCaption(SENSITIVITY_TEXT);
    fieldOfViewText = createCaption(FIELD_OF_VIEW_TEXT);
    // The look captions lie as far below their lines as the size caption
    // lies below its own.
    const Ogre::Real belowLine =
        VIEW_MODE_TEXT_TOP - textMain->getTop() - viewModeArrowLine->getTop();
    sensitivityTextTop =
        textMain->getTop() + findElement(menu + "SensitivityArrowLine")->getTop() + belowLine;
    fieldOfViewTextTop =
        textMain->getTop() + findElement(menu + "FieldOfViewArrowLine")->getTop() + belowLine;
    interfaceLayout.apply(windowWidth, windowHeight);
}

void MossdenMenu::show(int newMode) {
    mode = newMode;
    SoundManager& sound = SoundManager::getInstance();
    sound.pauseAll();
    musicId = sound.loadSound(MUSIC, true);
    sound.play(musicId);

    if (!cursor) build();
    cursor->show();
    visible = true;

    Ogre::Overlay* shown = nullptr;
    if (mode == MODE_END) {
        shown = endOverlay;
    } else {
        shown = menuOverlay;
        if (mode == MODE_START) {
            starsBackground->show();
            boxBackground->show();
            background->setMaterialName(START_MATERIAL);
        } else {
            starsBackground->hide();
            boxBackground->hide();
            background->setMaterialName(IN_GAME_MATERIAL);
        }
        showPage(Page::Screen);
        refreshSliders();
        refreshLookRows();
    }
    resetHighlights();
    shown->show();
    fullscreen.plain->show();
    windowed.plain->show();
}

void MossdenMenu::hide() {
    visible = false;
    if (cursor) {
        cursor->hide();
        menuOverlay->hide();
        for (Ogre::OverlayElement* caption : {viewModeText, sensitivityText, fieldOfViewText})
            caption->hide();
    }
    SoundManager& sound = SoundManager::getInstance();
    sound.resumeAll();
    sound.stop(sound.loadSound(MUSIC, true));
    if (mode == MODE_END && endOverlay) endOverlay->hide();
}

void MossdenMenu::resetHighlights() {
    for (const ButtonPair* pair :
         {&continueButton, &about, &startAbout, &startOver, &exit, &startExit, &start, &back,
          &apply, &fullscreen, &windowed, &viewModeArrow, &soundArrow, &tabScreen, &tabLook,
          &sensitivityArrow, &invert, &fieldOfViewArrow, &qualityLow, &qualityMedium, &qualityHigh})
        pair->hover->hide();
    startBackground->hide();
    switch (mode) {
        case MODE_END:
            for (const ButtonPair* pair : {&endExit, &endStartOver, &endContinue}) resetPair(*pair);
            break;
        case MODE_IN_GAME:
            for (const ButtonPair* pair : {&continueButton, &about, &startOver, &exit})
                pair->plain->show();
            for (const ButtonPair* pair : {&startAbout, &startExit, &start}) pair->plain->hide();
            break;
        default:
            for (const ButtonPair* pair : {&startAbout, &startExit, &start}) pair->plain->show();
            for (const ButtonPair* pair : {&continueButton, &about, &startOver, &exit})
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
    const bool onlyViewMode = draggingViewMode && !draggingVolume;
    const bool onlyVolume = draggingVolume && !draggingViewMode;
    if (!onlyViewMode) {
        soundArrow.hover->setLeft(volumeStep * static_cast<float>(volume) +
                                  static_cast<float>(sliderLeft));
        soundArrow.plain->setPosition(soundArrow.hover->getLeft(), soundArrow.hover->getTop());
        SoundManager::getInstance().setVolume(static_cast<float>(volume) /
                                              static_cast<float>(MAX_VOLUME));
    }
    if (!onlyVolume) {
        const float left =
            viewModeStep * static_cast<float>(viewModeIndex) + static_cast<float>(sliderLeft);
        viewModeArrow.hover->setLeft(left);
        viewModeArrow.plain->setPosition(left, viewModeArrow.hover->getTop());
        viewModeText->setPosition(left, VIEW_MODE_TEXT_TOP);
        const bool known =
            viewModeIndex >= 0 && viewModeIndex < static_cast<int>(videoModes.size());
        TextOverlay::instance()->setCaption(VIEW_MODE_TEXT, known ? videoModes[viewModeIndex] : "");
        // The caption lives on the shared text overlay, which stays up when
        // the menu goes: it shows only with the settings page.
        if (visible && mode != MODE_END && textMain->isVisible() && page == Page::Screen)
            viewModeText->show();
    }
}

void MossdenMenu::refreshLookRows() {
    const Settings& settings = MossdenApp::getInstance().settings;
    const auto placeArrow = [this](const ButtonPair& arrow, Ogre::OverlayElement* caption,
                                   float step, int value, Ogre::Real captionTop,
                                   const std::string& text) {
        const float left = step * static_cast<float>(value) + static_cast<float>(sliderLeft);
        arrow.hover->setLeft(left);
        arrow.plain->setPosition(left, arrow.hover->getTop());
        caption->setPosition(left, captionTop);
        TextOverlay::instance()->setCaption(caption->getName(), text);
    };
    placeArrow(sensitivityArrow, sensitivityText, sensitivityStep,
               stepOfSensitivity(settings.mouseSensitivity), sensitivityTextTop,
               sensitivityCaption(settings.mouseSensitivity));
    placeArrow(fieldOfViewArrow, fieldOfViewText, fieldOfViewStep,
               stepOfFieldOfView(settings.fieldOfView), fieldOfViewTextTop,
               fieldOfViewCaption(settings.fieldOfView));

    const bool inverted = settings.invertVerticalLook;
    markChosen(invert, "Menu/Invert", inverted);
    invert.hover->setMaterialName(inverted ? "Menu/InvertOnHover" : "Menu/InvertHover");
    const Settings::Quality quality = settings.quality.value_or(Settings::Quality::High);
    markChosen(qualityLow, "Menu/QualityLow", quality == Settings::Quality::Low);
    markChosen(qualityMedium, "Menu/QualityMedium", quality == Settings::Quality::Medium);
    markChosen(qualityHigh, "Menu/QualityHigh", quality == Settings::Quality::High);
}

void MossdenMenu::showPage(Page shown) {
    page = shown;
    const bool settingsPage = shown != Page::About;
    setShown(textMain, settingsPage);
    setShown(textAbout, !settingsPage);
    setShown(screenRows, shown == Page::Screen);
    setShown(lookRows, shown == Page::Look);
    markChosen(tabScreen, "Menu/TabScreen", shown == Page::Screen);
    markChosen(tabLook, "Menu/TabLook", shown == Page::Look);
    // The captions live on the shared text overlay, outside the pages.
    setShown(viewModeText, shown == Page::Screen);
    setShown(sensitivityText, shown == Page::Look);
    setShown(fieldOfViewText, shown == Page::Look);
    for (const ButtonPair* pair : {&fullscreen, &windowed}) {
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

bool MossdenMenu::mouseMoved(const OIS::MouseEvent& evt) {
    moveCursor(evt.state.X.abs, evt.state.Y.abs);
    return true;
}

void MossdenMenu::mouseMoved(Ogre::Real relX) {
    if (!cursor) return;
    const Ogre::Real x = interfaceLayout.scale().toLayout(cursor->getX());
    const Ogre::Real y = interfaceLayout.scale().toLayout(cursor->getY());

    if (mode == MODE_END) {
        const Ogre::OverlayElement* e = endMenu->findElementAt(x, y);
        resetHighlights();
        for (const ButtonPair* pair : {&endContinue, &endStartOver, &endExit})
            if (pair->holds(e)) showHover(*pair);
        clickCheck(e, SLOT_END_AND_ABOUT);
        return;
    }

    if (dragging()) {
        drag(relX);
        return;
    }

    const Ogre::OverlayElement* e = background->findElementAt(x, y);
    resetHighlights();
    for (const ButtonPair* pair :
         {&continueButton, &start, &startAbout, &startExit, &startOver, &about, &exit})
        if (pair->holds(e)) showHover(*pair);
    clickCheck(e, SLOT_BUTTONS);

    e = textAbout->findElementAt(x, y);
    if (back.holds(e)) back.hover->show();
    clickCheck(e, SLOT_END_AND_ABOUT);

    e = textMain->findElementAt(x, y);
    for (const ButtonPair* pair : {&apply, &fullscreen, &windowed, &tabScreen, &tabLook, &invert,
                                   &qualityLow, &qualityMedium, &qualityHigh})
        if (pair->holds(e)) pair->hover->show();
    for (const ButtonPair* pair :
         {&viewModeArrow, &soundArrow, &sensitivityArrow, &fieldOfViewArrow}) {
        if (pair->holds(e)) {
            pair->hover->setPosition(pair->plain->getLeft(), pair->plain->getTop());
            pair->hover->show();
        }
    }
    clickCheck(e, SLOT_SETTINGS);
}

void MossdenMenu::drag(Ogre::Real windowRelX) {
    const Ogre::Real relX = interfaceLayout.scale().toLayoutPixels(windowRelX);
    if (draggingViewMode || draggingVolume) {
        const bool moved = draggingViewMode
                               ? dragSlider(dragAccumulator, relX, viewModeStep,
                                            static_cast<int>(videoModes.size()) - 1, viewModeIndex)
                               : dragSlider(dragAccumulator, relX, volumeStep, MAX_VOLUME, volume);
        if (moved) refreshSliders();
        return;
    }
    // The look sliders keep no value of their own: they step from the
    // settings and write back into them, live; the release saves them.
    MossdenApp& app = MossdenApp::getInstance();
    if (draggingSensitivity) {
        int step = stepOfSensitivity(app.settings.mouseSensitivity);
        if (!dragSlider(dragAccumulator, relX, sensitivityStep, SENSITIVITY_STEPS, step)) return;
        app.settings.mouseSensitivity = sensitivityAtStep(step);
    } else {
        int step = stepOfFieldOfView(app.settings.fieldOfView);
        if (!dragSlider(dragAccumulator, relX, fieldOfViewStep, fieldOfViewSteps(), step)) return;
        app.setFieldOfView(fieldOfViewAtStep(step));
    }
    refreshLookRows();
}

void MossdenMenu::mousePressed(Ogre::Real x, Ogre::Real y) {
    // The settings page belongs to the start and in-game menus; its arrows
    // must not catch a press while the end menu is shown.
    if (!cursor || dragging() || mode == MODE_END) return;
    if (windowWidth <= 0 || windowHeight <= 0) return;
    const InterfaceScale& scale = interfaceLayout.scale();
    const Ogre::OverlayElement* e =
        textMain->findElementAt(scale.toLayout(x / static_cast<Ogre::Real>(windowWidth)),
                                scale.toLayout(y / static_cast<Ogre::Real>(windowHeight)));
    if (viewModeArrow.holds(e))
        draggingViewMode = true;
    else if (soundArrow.holds(e))
        draggingVolume = true;
    else if (sensitivityArrow.holds(e))
        draggingSensitivity = true;
    else if (fieldOfViewArrow.holds(e))
        draggingFieldOfView = true;
    else
        return;
    cursor->hide();
}

void MossdenMenu::mouseReleased(Ogre::Real x, Ogre::Real y) {
    if (!cursor) return;
    MossdenApp& app = MossdenApp::getInstance();
    if (dragging()) {
        cursor->show();
        dragAccumulator = 0.0f;
        // The volume is kept by the application once its drag ends.
        if (draggingSensitivity || draggingFieldOfView) app.keepSettings();
        draggingViewMode = false;
        draggingVolume = false;
        draggingSensitivity = false;
        draggingFieldOfView = false;
        return;
    }

    if (mode == MODE_END) {
        const InterfaceScale& scale = interfaceLayout.scale();
        const Ogre::OverlayElement* e =
            endMenu->findElementAt(scale.toLayout(cursor->getX()), scale.toLayout(cursor->getY()));
        if (e == endExit.hover)
            app.shutDown = true;
        else if (e == endStartOver.hover)
            app.startOver();
        else if (e == endContinue.hover)
            hide();
        return;
    }

    if (windowWidth <= 0 || windowHeight <= 0) return;
    const InterfaceScale& scale = interfaceLayout.scale();
    const Ogre::Real px = scale.toLayout(x / static_cast<Ogre::Real>(windowWidth));
    const Ogre::Real py = scale.toLayout(y / static_cast<Ogre::Real>(windowHeight));

    const Ogre::OverlayElement* e = background->findElementAt(px, py);
    // Only hover forms act: a button must have been highlighted by a move.
    if (e == startExit.hover || e == exit.hover) {
        app.shutDown = true;
    } else if (e == continueButton.hover) {
        hide();
    } else if (e == about.hover || e == startAbout.hover) {
        showPage(Page::About);
    } else if (e == startOver.hover) {
        app.startOver();
    } else if (e == start.hover) {
        hide();
        if (app.currentScene()) app.currentScene()->setFinished(true);
    }

    releaseOnSettings(textMain->findElementAt(px, py));

    e = textAbout->findElementAt(px, py);
    if (back.holds(e)) showPage(Page::Screen);
}

void MossdenMenu::releaseOnSettings(const Ogre::OverlayElement* e) {
    if (!e) return;
    MossdenApp& app = MossdenApp::getInstance();
    if (tabScreen.holds(e)) {
        showPage(Page::Screen);
    } else if (tabLook.holds(e)) {
        showPage(Page::Look);
    } else if (apply.holds(e)) {
        if (viewModeIndex >= 0 && viewModeIndex < static_cast<int>(videoModes.size()))
            app.setResolution(videoModes[viewModeIndex]);
    } else if (windowed.holds(e)) {
        app.setFullscreen(false);
        setWindowSize(windowWidth, windowHeight);
    } else if (fullscreen.holds(e)) {
        app.setFullscreen(true);
        setWindowSize(windowWidth, windowHeight);
    } else if (invert.holds(e)) {
        app.settings.invertVerticalLook = !app.settings.invertVerticalLook;
        app.keepSettings();
        refreshLookRows();
    } else {
        const std::pair<const ButtonPair*, Settings::Quality> levels[] = {
            {&qualityLow, Settings::Quality::Low},
            {&qualityMedium, Settings::Quality::Medium},
            {&qualityHigh, Settings::Quality::High}};
        for (const auto& [pair, level] : levels) {
            if (!pair->holds(e)) continue;
            app.settings.quality = level;
            app.keepSettings();
            refreshLookRows();
        }
    }
}

void MossdenMenu::update(const Ogre::FrameEvent& evt) {
    if (mode != MODE_END || endFade >= 1.0f) return;
    endFade = std::min(1.0f, endFade + evt.timeSinceLastFrame);
    for (Ogre::TextureUnitState* unit : endUnits)
        unit->setAlphaOperation(Ogre::LBX_MODULATE, Ogre::LBS_MANUAL, Ogre::LBS_TEXTURE, endFade);
}

}  // namespace Mossden
