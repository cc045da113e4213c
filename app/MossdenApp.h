#ifndef MOSSDEN_APP_MOSSDENAPP_H
#define MOSSDEN_APP_MOSSDENAPP_H

#include <OgreFrameListener.h>
#include <OgreTrays.h>
#include <OgreWindowEventUtilities.h>

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/EngineCore.h"
#include "app/Fader.h"
#include "app/FrameStats.h"
#include "app/GamepadInput.h"
#include "app/GameClock.h"
#include "app/InputChain.h"
#include "app/InputDevices.h"
#include "app/LineStamper.h"
#include "app/Request.h"
#include "app/ScenePreparer.h"
#include "app/SceneServices.h"
#include "app/SceneSequence.h"
#include "app/Settings.h"
#include "menu/MossdenMenu.h"
#include "scene/SkyMesh.h"
#include "platform/DesktopWindow.h"

namespace OIS {
class Mouse;
class Keyboard;
}  // namespace OIS
namespace OgreBites {
class CameraMan;
}
class MossdenScene;

namespace Mossden {

// The one application object, a façade over parts that own themselves: the
// engine core (EngineCore), the input devices (InputDevices), the scene
// sequence (SceneSequence), the game clock, the fader and the overlay menu.
// It keeps the names and operations that the scenes, the menu and the tests
// use, and the frame loop.
// Frame order (written down here and nowhere else), per rendered frame:
//   frameStarted:          window messages, game clock, fader
//   frameRenderingQueued:  scene switch (the current scene finished, or the
//                          dark picture after Start has been shown),
//                          close/quit check,
//                          keyboard then mouse capture: the events go down
//                          the input chain, menu first, then the scene,
//                          the menu asked for when the window lost the focus
//                          in play,
//                          requests: everything the menu and the scenes asked
//                          for (Request.h), handled here and nowhere else,
//                          pointer grab,
//                          trays, 50 ms scene tick, sound manager,
//                          menu update (menu over a playable scene) or scene update,
//                          preparing the next scene while the current one ends
class MossdenApp : public FaderCallback,
                   public Ogre::FrameListener,
                   public OgreBites::WindowEventListener,
                   public OgreBites::TrayListener {
public:
    // One per process: main's (or a test's). Starts the sound system.
    MossdenApp();
    ~MossdenApp() override;
    MossdenApp(const MossdenApp&) = delete;
    MossdenApp& operator=(const MossdenApp&) = delete;

    void fadeInCallback() override {}
    void fadeOutCallback() override {}

    // Finds the data, applies the start-scene argument, sets up and runs
    // the render loop. Engine exceptions pass through.
    void go(int argc, char** argv);
    // go without the render loop: data search, start argument and setup.
    // Tests use it to get the real application and render frames by hand.
    bool start(int argc, char** argv);
    void prepareScenes();
    // Builds the scene after the current one in SceneSequence::ORDER (the
    // start menu after the last).
    void nextScene();
    bool setup();
    bool configure();
    void chooseSceneManager();
    void createCamera();
    void createFrameListener();
    void createViewports();
    void setupResources();
    void loadResources();
    void reportUnusablePrograms();
    // The shaders that cannot be used on this renderer, by source file.
    static std::map<std::string, std::set<std::string>> unusablePrograms();

    bool frameStarted(const Ogre::FrameEvent& evt) override;
    bool frameRenderingQueued(const Ogre::FrameEvent& evt) override;
    bool frameEnded(const Ogre::FrameEvent& evt) override;
    void windowResized(Ogre::RenderWindow* rw) override;
    void windowClosed(Ogre::RenderWindow* rw) override;

    // Notes a request (Request.h); handleRequests acts on it.
    void request(Request request) { requests.push(request); }
    // The frame's request point: acts on every request noted since the last
    // call, in order. The frame loop calls it after the input; tests call it
    // after handing events to the input chain themselves.
    void handleRequests();
    // Everything the devices deliver goes through it (menu first, then the
    // scene); tests hand it events of their own.
    InputChain& inputChain() { return chain; }
    // What the scenes are built with.
    SceneServices& sceneServices() { return services; }
    void setResolution(const std::string& sizeText);
    // The player's quality level: kept with the settings and applied to the
    // scenes at once (keeping settings whose level changed applies it too).
    void setQuality(Settings::Quality quality);
    // Gives every scene of the sequence the quality level of the settings;
    // nextScene calls it once a scene is built.
    void applyQuality();
    void setFullscreen(bool fullscreen);
    // Alt+Enter: full screen to windowed and back.
    void toggleFullscreen();
    void collectVideoModes(std::vector<std::string>& modes) const;
    void collectFsaaValues(std::vector<std::string>& values) const;

    // The scene that gets the frames and the input, or null.
    MossdenScene* currentScene() const { return scenes.current(); }

    // Tears everything down: fader, trays, input, scenes, engine. Call it
    // before the end of main: engine plugins are unloaded libraries whose
    // static data is already gone when a static object's destructor runs.
    // Safe to call more than once.
    void shutdown();

    // Makes a scene (or nothing) the one that gets what the menu leaves of
    // the input.
    void pointInputAt(MossdenScene* scene);
    // What the devices' key events go to (the input chain once they exist).
    OIS::KeyListener* keyListener() const;
    // Whether the pointer is grabbed to the window now.
    bool pointerGrabbed() const;

    std::unique_ptr<Fader> fader;
    // Game time: advanced once per frame in frameStarted; every timer of the
    // game logic reads it (see GameClock.h).
    GameClock clock;
    GameTimer tickTimer{clock};
    int sceneIndex = -1;
    std::string soundDir;
    Ogre::Root* root = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::RenderWindow* window = nullptr;
    std::string resourcesCfgPath, pluginsCfgPath, ogreCfgPath;
    std::string resolution;
    std::unique_ptr<OgreBites::TrayManager> trayManager;
    std::unique_ptr<OgreBites::CameraMan> cameraMan;
    OgreBites::ParamsPanel* detailsPanel = nullptr;
    bool shutDown = false;
    // The devices' keyboard and mouse (real or replayed; owned by the input
    // part below), null once the window is closed.
    OIS::Mouse* mouse = nullptr;
    OIS::Keyboard* keyboard = nullptr;
    SceneSequence scenes;
    ScenePreparer preparer;  // the next scene, while the current one ends
    std::vector<std::string> videoModes;
private:
    // What the scenes and the menu may use of the application (SceneServices.h,
    // MenuHost.h), and nothing else of it.
    class Services : public SceneServices, public MenuHost {
    public:
        explicit Services(MossdenApp& app) : app(app) {}
        Fader* fader() override { return app.fader.get(); }
        const GameClock& clock() const override { return app.clock; }
        const Settings& settings() const override { return app.settings; }
        void request(Request request) override { app.request(request); }
        void changeSettings(const Settings& changed, bool keep) override;
        void setResolution(const std::string& sizeText) override { app.setResolution(sizeText); }
        void setFullscreen(bool fullscreen) override { app.setFullscreen(fullscreen); }
        void collectVideoModes(std::vector<std::string>& modes) const override { app.collectVideoModes(modes); }

    private:
        MossdenApp& app;
    };
    Services services{*this};
    RequestQueue requests;

public:
    MossdenMenu menu{services};
    // What a gamepad's events go to: the current scene and menu, and the
    // devices of the moment.
    struct PadTarget : GamepadInput::Target {
        explicit PadTarget(MossdenApp& app) : app(app) {}
        InputChain& input() override { return app.chain; }
        MossdenMenu& menu() override { return app.menu; }
        OIS::Keyboard* keyboard() override { return app.keyboard; }
        OIS::Mouse* mouse() override { return app.mouse; }
        MossdenApp& app;
    };
    PadTarget padTarget{*this};
    // A gamepad's events, when OIS found one (tests feed it their own).
    GamepadInput gamepad{padTarget};
    // The player's settings, read at start and saved whenever one changes;
    // the paths are empty when the player has no folder to keep them in.
    Settings settings;
    std::string settingsPath, userOgreCfgPath;
    // Saves the settings at once when they differ from the file's; a failed
    // write gives one line and the game goes on.
    void keepSettings();
    // The player's vertical field of view, in degrees, into the settings and
    // onto the camera at once (not saved: keepSettings does that).
    void setFieldOfView(float degrees);

    // Test knobs read once by start() from the environment:
    // MOSSDEN_TIME_SCALE and MOSSDEN_FIXED_STEP set how the clock advances
    // (game time runs faster or in fixed steps, the game logic is the same);
    // MOSSDEN_FRAME_STATS=<file> records the real frame times per scene,
    // the frames that build a scene apart, and writes their summary there
    // when go() ends; MOSSDEN_RECORD and
    // MOSSDEN_REPLAY record or play back the input (InputDevices.h);
    // MOSSDEN_STAMP=1 stamps every line of standard output (LineStamper.h);
    // MOSSDEN_FREE_CAMERA_DEBUG=1 gives the scenes a free camera (the
    // engine's camera man) fed with their input and moved every frame.
    std::unique_ptr<FrameStats> frameStats;
    std::string frameStatsPath;

private:
    void shutdownEngine();
    void handle(Request request);
    // Shows the menu in `mode` with its cursor where the mouse is.
    void openMenu(MenuMode mode);
    void startOver();
    void checkConfiguredVideoMode(const std::string& source);  // source: the file named in a note
    void destroyInput();
    // Asks for the menu when another window took the focus in play; true
    // while the focus is elsewhere.
    bool noticeFocus();
    void grabPointerInPlay(bool focusLost);
    void readTestKnobs();
    // Unloads the meshes, skeletons, materials and textures that no scene
    // object refers to any more: what only the scenes before used.
    void releaseUnusedResources();
    void writeFrameStats() const;
    void loadUserSettings();
    void pickFirstQuality();
    bool applySettingsToEngineConfig();
    void writeEngineConfig() const;

    // Keeps a scene's sky mesh on the camera; declared before the engine so
    // that it outlives the camera it listens to.
    SkyFollower skyFollower;
    std::unique_ptr<EngineCore> engine;
    InputSettings inputSettings;           // what start() read, until the devices open
    std::unique_ptr<InputDevices> input;
    std::unique_ptr<Platform::DesktopWindow> desktop;  // focus and pointer, as the desktop has them
    bool focusSeen = false;                 // the window had the focus once
    std::unique_ptr<LineStamper> stamper;  // in std::cout while set
    std::streambuf* plainOutput = nullptr;  // std::cout's own buffer
    Ogre::SceneNode* cameraNode = nullptr;  // carries "PlayerCam" for the camera man
    InputChain chain{menu};
    bool freeCameraDebug = false;  // MOSSDEN_FREE_CAMERA_DEBUG=1
    // Frames left until the first scene is built after Start: the dark
    // picture is on the screen by then, while the scene loads.
    int darkFramesLeft = 0;
    bool sceneBuilt = false;                // a scene was built since the frame under way began
    Settings savedSettings;                 // as last read or written, to skip needless writes
    std::chrono::steady_clock::time_point lastFrameStart{};  // for the frame times
    Ogre::Real frameStep = 0;  // game seconds of the frame under way
    Ogre::ShadowTechnique sceneShadows = Ogre::SHADOWTYPE_NONE;  // as the current scene set it up
    Settings::Quality appliedQuality = Settings::Quality::High;   // what applyQuality last gave the scenes
};

}  // namespace Mossden

#endif
