#include "app/MossdenApp.h"

#include <OIS.h>
#include <Ogre.h>
#include <OgreCameraMan.h>
#include <OgreHighLevelGpuProgramManager.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>

#include "app/DataGuard.h"
#include "app/DataPaths.h"
#include "app/RendererCheck.h"
#include "audio/SoundManager.h"
#include "platform/CommandLine.h"
#include "platform/CrashReport.h"
#include "platform/Platform.h"
#include "scene/MossdenScene.h"

namespace Mossden {

namespace {

constexpr int TICK_MS = 50;
constexpr int MIPMAPS = 5;
// Real time a dark frame at a scene's end may spend loading the next scene:
// at 60 frames per second, the frame takes about three frames' time.
constexpr double PREPARE_MS_PER_FRAME = 30.0;
constexpr double PREPARE_MS_PER_MENU_FRAME = 8.0;
constexpr Ogre::Real NEAR_CLIP = 0.4f;
constexpr Ogre::Real FAR_CLIP = 1500000.0f;
// Frames between Start and building the first scene: the dark picture is
// rendered and shown before the long build begins.
constexpr int START_DARK_FRAMES = 4;
static_assert(Settings::MAX_VOLUME == MossdenMenu::MAX_VOLUME, "the settings file keeps the menu's volume steps");

std::string sizeText(unsigned width, unsigned height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

MossdenApp::MossdenApp() {
    SoundManager::getInstance().initialise();
}

MossdenApp::~MossdenApp() {
    shutdown();
    if (plainOutput) std::cout.rdbuf(plainOutput);
}

void MossdenApp::shutdown() {
    fader.reset();
    trayManager.reset();
    if (window) OgreBites::WindowEventUtilities::removeWindowEventListener(window, this);
    destroyInput();
    scenes.clear();
    cameraMan.reset();
    // A scene half prepared holds engine resources.
    preparer.clear();
    shutdownEngine();
}

void MossdenApp::shutdownEngine() {
    // The engine core destroys the auto-created window, the scene manager
    // and the camera with it.
    window = nullptr;
    sceneManager = nullptr;
    camera = nullptr;
    cameraNode = nullptr;
    root = nullptr;
    engine.reset();
}

void MossdenApp::go(int argc, char** argv) {
    if (start(argc, argv)) {
        root->startRendering();
        writeFrameStats();
    }
}

bool MossdenApp::start(int argc, char** argv) {
    const std::vector<std::string> candidates = dataCandidates(argc > 0 && argv[0] ? argv[0] : "");
    const std::string dataRoot = findDataRoot(candidates);
    std::cout << "Data from " << (dataRoot.empty() ? "the working directory" : dataRoot) << std::endl;
    soundDir = requireDataPath(dataRoot, "media/sound/", true);
    resourcesCfgPath = requireDataPath(dataRoot, "cfg/resources.cfg");
    pluginsCfgPath = requireDataPath(dataRoot, "cfg/plugins.cfg");
    ogreCfgPath = requireDataPath(dataRoot, "cfg/ogre.cfg");
    DataGuard::check(dataRoot);
    loadUserSettings();
    SoundManager::getInstance().setFolder(soundDir);
    sceneIndex = startSceneIndex(argc, argv) - 1;
    readTestKnobs();
    return setup();
}

bool MossdenApp::setup() {
    engine = std::make_unique<EngineCore>(pluginsCfgPath, ogreCfgPath);
    root = &engine->root();
    setupResources();
    if (!configure()) return false;
    chooseSceneManager();
    createCamera();
    createViewports();
    Ogre::TextureManager::getSingleton().setDefaultNumMipmaps(MIPMAPS);
    loadResources();
    prepareScenes();
    createFrameListener();
    pointInputAt(scenes.current());
    return true;
}

void MossdenApp::setupResources() {
    Ogre::ConfigFile cf;
    cf.load(resourcesCfgPath, "\t:=", true);
    auto& rgm = Ogre::ResourceGroupManager::getSingleton();
    for (const auto& section : cf.getSettingsBySection()) {
        for (const auto& setting : section.second)
            rgm.addResourceLocation(setting.second, setting.first, section.first, false);
    }
}

bool MossdenApp::configure() {
    try {
        if (!root->restoreConfig())
            std::cout << ogreCfgPath << ": names no render system; the engine's defaults are used" << std::endl;
    } catch (const Ogre::Exception& e) {
        // An option the render system does not know stops the restore; say
        // which and fall back to the first render system's defaults.
        Ogre::LogManager::getSingleton().logMessage("ogre.cfg: " + e.getDescription());
        std::cout << "Ignoring part of " << ogreCfgPath << ": " << e.getDescription() << std::endl;
    }
    if (!root->getRenderSystem()) {
        const auto& systems = root->getAvailableRenderers();
        if (systems.empty())
            OGRE_EXCEPT(Ogre::Exception::ERR_RENDERINGAPI_ERROR, "no render system is available",
                        "MossdenApp::configure");
        root->setRenderSystem(systems.front());
    }
    checkConfiguredVideoMode(applySettingsToEngineConfig() ? settingsPath : ogreCfgPath);
    RendererCheck::probeDisplay();
    window = root->initialise(true, "Mossden");
    RendererCheck::require(*root->getRenderSystem());
    pickFirstQuality();
    root->getRenderSystem()->setConfigOption("FSAA", "0");
    writeEngineConfig();
    OgreBites::WindowEventUtilities::_addRenderWindow(window);
    return true;
}

void MossdenApp::chooseSceneManager() {
    sceneManager = root->createSceneManager();
    engine->attachOverlays(sceneManager);
}

void MossdenApp::createCamera() {
    camera = sceneManager->createCamera("PlayerCam");
    camera->addListener(&skyFollower);
    camera->setNearClipDistance(NEAR_CLIP);
    camera->setFarClipDistance(FAR_CLIP);
    setFieldOfView(settings.fieldOfView);
    cameraNode = sceneManager->getRootSceneNode()->createChildSceneNode();
    cameraNode->attachObject(camera);
    if (freeCameraDebug) cameraMan = std::make_unique<OgreBites::CameraMan>(cameraNode);
}

void MossdenApp::createViewports() {
    Ogre::Viewport* vp = window->addViewport(camera, 0, 0, 0, 1, 1);
    vp->setBackgroundColour(Ogre::ColourValue(0, 0, 0, 1));
    // Stencil too: a software renderer clears depth and stencil together in
    // one fill, while depth alone is a masked write of every pixel.
    vp->setClearEveryFrame(true, Ogre::FBT_COLOUR | Ogre::FBT_DEPTH | Ogre::FBT_STENCIL);
    camera->setAspectRatio(Ogre::Real(vp->getActualWidth()) / Ogre::Real(vp->getActualHeight()));
}

void MossdenApp::loadResources() {
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();
    reportUnusablePrograms();
}

void MossdenApp::prepareScenes() {
    fader = std::make_unique<Fader>(this);
    sceneManager->setShadowTechnique(Ogre::SHADOWTYPE_STENCIL_ADDITIVE);
    nextScene();
}

void MossdenApp::createFrameListener() {
    unsigned long handle = 0;
    window->getCustomAttribute("WINDOW", &handle);
    input = std::make_unique<InputDevices>(handle, clock, std::move(inputSettings));
    input->setAltShortcut(OIS::KC_RETURN, [this] { toggleFullscreen(); });
    input->setJoystickListener(&gamepad);
    keyboard = input->keyboard();
    mouse = input->mouse();
    desktop = std::make_unique<Platform::DesktopWindow>(handle);
    windowResized(window);
    OgreBites::WindowEventUtilities::addWindowEventListener(window, this);

    trayManager = std::make_unique<OgreBites::TrayManager>("InterfaceName", window, this);
    trayManager->hideCursor();
    const Ogre::StringVector rows = {"cam.pX", "cam.pY", "cam.pZ", "",          "cam.oW",   "cam.oX",
                                     "cam.oY", "cam.oZ", "",       "Filtering", "Poly Mode"};
    detailsPanel = trayManager->createParamsPanel(OgreBites::TL_NONE, "DetailsPanel", 200, rows);
    detailsPanel->setParamValue(9, "Bilinear");
    detailsPanel->setParamValue(10, "Solid");
    detailsPanel->getOverlayElement()->hide();

    root->addFrameListener(this);

    menu.show(MenuMode::InGame);
    menu.hide();
    Ogre::Viewport* vp = window->getViewport(0);
    menu.setWindowSize(vp->getActualWidth(), vp->getActualHeight());
    collectVideoModes(videoModes);
    setResolution(sizeText(vp->getActualWidth(), vp->getActualHeight()));
    // Test drivers wait for this line: input sent before it would be lost.
    std::cout << "Mossden ready" << std::endl;
}

void MossdenApp::pointInputAt(MossdenScene* scene) {
    chain.setScene(scene);
    if (input) input->pointAt(&chain, &chain);
}

OIS::KeyListener* MossdenApp::keyListener() const { return input ? input->keyListener() : nullptr; }

bool MossdenApp::pointerGrabbed() const { return input && input->pointerGrabbed(); }

bool MossdenApp::noticeFocus() {
    MossdenScene* scene = scenes.current();
    const bool inPlay = scene && SceneSequence::playable(sceneIndex) && !menu.shown();
    const Platform::DesktopWindow::Focus focus = desktop ? desktop->focus() : Platform::DesktopWindow::Focus::Unknown;
    if (focus == Platform::DesktopWindow::Focus::Ours) focusSeen = true;
    // Another window took the focus (the player switched away, or the game
    // was minimised): pause as Escape does. Before the window ever had the
    // focus a window manager may not have handed it over yet.
    const bool focusLost = focusSeen && focus == Platform::DesktopWindow::Focus::Elsewhere;
    if (focusLost && inPlay) {
        std::cout << "Focus lost: the game pauses" << std::endl;
        request(Request::OpenMenu);
    }
    return focusLost;
}

void MossdenApp::grabPointerInPlay(bool focusLost) {
    // The pointer is grabbed only while the player looks around in a scene.
    input->grabPointer(scenes.current() && SceneSequence::playable(sceneIndex) && !menu.shown() && !focusLost);
    mouse = input->mouse();
}

void MossdenApp::nextScene() {
    darkFramesLeft = 0;  // a Start still waiting is overtaken
    ++sceneIndex;
    sceneBuilt = true;
    if (scenes.current()) {
        pointInputAt(nullptr);
        scenes.clear();
        sceneManager->clearScene();
        // clearScene took the camera's node with it; give the camera a new
        // one and tell the camera man.
        cameraNode = sceneManager->getRootSceneNode()->createChildSceneNode();
        cameraNode->attachObject(camera);
        if (cameraMan) cameraMan->setCamera(cameraNode);
    }
    if (sceneIndex > SceneSequence::LAST_INDEX) {
        // Nothing follows the last scene: go back to the start menu.
        std::cout << "No scene after index " << SceneSequence::LAST_INDEX << "; back to the menu." << std::endl;
        sceneIndex = 0;
    }
    std::cout << "Scene " << sceneIndex << " starts" << std::endl;
    CrashReport::setScene(sceneIndex);
    SoundManager& sound = SoundManager::getInstance();
    sound.beginSceneLoad();
    pointInputAt(scenes.build(sceneIndex, sceneManager, cameraMan.get(), services));
    // Every scene frames its view with the player's field of view, whatever
    // the one before left on the camera.
    setFieldOfView(settings.fieldOfView);
    // Behind everything, where no sky covers it, the colour the scene chose.
    if (window && window->getNumViewports() > 0 && currentScene())
        window->getViewport(0)->setBackgroundColour(currentScene()->backgroundColour());
    sound.endSceneLoad();
    preparer.clear();
    // What the scene's file (or the application before it) chose for
    // shadows; High keeps it.
    sceneShadows = sceneManager->getShadowTechnique();
    applyQuality();
    releaseUnusedResources();
}

void MossdenApp::releaseUnusedResources() {
    // Run once the new scene is built: what it shares with the scene before
    // is referenced again and stays loaded; the rest is only the managers'.
    // Materials go before textures: a loaded material holds its textures.
    Ogre::MeshManager::getSingleton().unloadUnreferencedResources();
    Ogre::SkeletonManager::getSingleton().unloadUnreferencedResources();
    Ogre::MaterialManager::getSingleton().unloadUnreferencedResources();
    Ogre::TextureManager::getSingleton().unloadUnreferencedResources();
    // The allocator keeps freed pages for later use; the scene's meshes and
    // sounds were tens of megabytes that the next scene may never need.
    malloc_trim(0);
}

void MossdenApp::setQuality(Settings::Quality quality) {
    settings.quality = quality;
    keepSettings();
    applyQuality();
}

void MossdenApp::applyQuality() {
    const Settings::Quality quality = settings.quality.value_or(Settings::Quality::High);
    appliedQuality = quality;
    // Materials may carry cheaper techniques for the lower levels under
    // schemes of these names; the others fall back to their default one.
    static const char* const SCHEMES[] = {"Low", "Medium", Ogre::MaterialManager::DEFAULT_SCHEME_NAME.c_str()};
    if (window && window->getNumViewports() > 0)
        window->getViewport(0)->setMaterialScheme(SCHEMES[static_cast<int>(quality)]);
    // Nothing in the scenes casts a shadow, but the stencil technique still
    // draws every lit object once more per light.
    if (sceneManager)
        sceneManager->setShadowTechnique(quality == Settings::Quality::High ? sceneShadows : Ogre::SHADOWTYPE_NONE);
    for (int slot = 0; slot <= SceneSequence::LAST_INDEX; ++slot)
        if (MossdenScene* scene = scenes[slot]) scene->applyQuality(quality);
}

void MossdenApp::handleRequests() {
    requests.drain([this](Request r) { handle(r); });
}

void MossdenApp::handle(Request request) {
    switch (request) {
    case Request::Start:
        menu.hide();
        if (fader) {
            fader->startFadeOut(1.0);
            fader->fade(999.0);
        }
        darkFramesLeft = START_DARK_FRAMES;
        return;
    case Request::Resume: menu.hide(); return;
    case Request::StartOver: startOver(); return;
    case Request::OpenMenu:
        if (MossdenScene* scene = chain.currentScene()) {
            openMenu(scene->pauseMenu());
            scene->menuOpened();
        }
        return;
    case Request::Quit: shutDown = true; return;
    }
    std::cout << "Request " << static_cast<int>(request) << " has no handler" << std::endl;
}

void MossdenApp::openMenu(MenuMode mode) {
    menu.show(mode);
    if (mouse) {
        const OIS::MouseState& state = mouse->getMouseState();
        menu.moveCursor(state.X.abs, state.Y.abs);
    }
}

void MossdenApp::Services::changeSettings(const Settings& changed, bool keep) {
    app.settings = changed;
    // The view follows the field of view live, while its slider is dragged.
    app.setFieldOfView(changed.fieldOfView);
    if (keep) app.keepSettings();
}

void MossdenApp::startOver() {
    darkFramesLeft = 0;
    SoundManager::getInstance().stopAll();
    sceneIndex = SceneSequence::indexOf(SceneName::MossWorld) - 1;
    nextScene();
    menu.hide();
    pointInputAt(scenes.current());
}

bool MossdenApp::frameStarted(const Ogre::FrameEvent& evt) {
    // 1.12's render loop no longer pumps the window system's messages.
    OgreBites::WindowEventUtilities::messagePump();
    // The frame that ends here built a scene when sceneBuilt is set: it is
    // recorded as a scene change, apart from the frames of play. The scene
    // built before the loop started is shown by the loop's first frame,
    // which is therefore its change frame.
    // The engine's frame times come in whole milliseconds; ours are finer.
    const bool firstFrame = lastFrameStart.time_since_epoch().count() == 0;
    const auto now = std::chrono::steady_clock::now();
    if (frameStats) {
        if (!firstFrame && sceneIndex >= 0)
            frameStats->record(
                sceneIndex, std::chrono::duration<double, std::milli>(now - lastFrameStart).count(), sceneBuilt);
    }
    lastFrameStart = now;
    if (!firstFrame) sceneBuilt = false;
    frameStep = static_cast<Ogre::Real>(clock.advanceFrame(evt.timeSinceLastFrame));
    if (fader) fader->fade(frameStep);
    return true;
}

bool MossdenApp::frameRenderingQueued(const Ogre::FrameEvent& realEvt) {
    Ogre::FrameEvent evt = realEvt;  // in game time
    evt.timeSinceLastFrame = frameStep;
    evt.timeSinceLastEvent = frameStep;
    // The one place where scenes change (besides Start over, at the request
    // point): a scene that finished, or Start once its dark frames are shown.
    if (darkFramesLeft > 0 && --darkFramesLeft == 0)
        nextScene();
    else if (scenes.current() && scenes.current()->isFinished())
        nextScene();
    if (!window || window->isClosed()) return false;
    if (shutDown) return false;
    if (Platform::quitRequested()) {
        // Say why the game ends: an interrupt or termination is otherwise silent.
        std::cout << "Ending on a quit signal" << std::endl;
        return false;
    }
    if (!input) return false;
    input->capture();
    if (!input) return false;  // the window closed during the delivery
    const bool focusLost = noticeFocus();
    handleRequests();
    grabPointerInPlay(focusLost);
    gamepad.frame(frameStep);
    trayManager->frameRendered(realEvt);
    if (tickTimer.getMilliseconds() > TICK_MS) {
        if (MossdenScene* scene = scenes.current()) scene->tick(static_cast<int>(tickTimer.getMilliseconds()));
        tickTimer.reset();
    }
    SoundManager::getInstance().update(evt.timeSinceLastFrame);
    if (menu.shown() && SceneSequence::playable(sceneIndex))
        menu.update(evt);
    else if (MossdenScene* scene = scenes.current())
        scene->update(evt);
    if (cameraMan) cameraMan->frameRendered(evt);
    if (MossdenScene* scene = scenes.current(); scene && scene->isEnding() && sceneIndex < SceneSequence::LAST_INDEX) {
        preparer.begin(sceneIndex + 1);
        preparer.step(PREPARE_MS_PER_FRAME);
    } else if (menu.shown() && (!SceneSequence::playable(sceneIndex) || menu.mode == MenuMode::End)) {
        // The start menu and the end menu (Start over) wait for the player:
        // the first scene comes in small pieces, so that the pointer stays
        // smooth.
        preparer.begin(SceneSequence::indexOf(SceneName::MossWorld));
        preparer.step(PREPARE_MS_PER_MENU_FRAME);
    }
    return true;
}

bool MossdenApp::frameEnded(const Ogre::FrameEvent& evt) { return true; }

void MossdenApp::windowResized(Ogre::RenderWindow* rw) {
    unsigned int width = 0, height = 0, depth = 0;
    int left = 0, top = 0;
    rw->getMetrics(width, height, depth, left, top);
    if (input) input->setPointerArea(static_cast<int>(width), static_cast<int>(height));
    // The interface is laid out again for the new size at once.
    menu.setWindowSize(static_cast<int>(width), static_cast<int>(height));
}

void MossdenApp::windowClosed(Ogre::RenderWindow* rw) {
    if (rw == window) destroyInput();
}

void MossdenApp::destroyInput() {
    mouse = nullptr;
    keyboard = nullptr;
    input.reset();
    desktop.reset();
}

}  // namespace Mossden
