#ifndef MOSSDEN_SCENES_FIRST_SCENE1_H
#define MOSSDEN_SCENES_FIRST_SCENE1_H

#include <OgreQuaternion.h>
#include "app/GameClock.h"
#include <OgreVector3.h>

#include <list>
#include <map>
#include <memory>

#include "scene/MossdenScene.h"
#include "scenes/first/FlightModel.h"
#include "scenes/first/PathMoverList.h"
#include "scenes/first/TrackCameraRig.h"

class AnimationStarter;

namespace Mossden {

// The flight up through the moss world of "first_scene.xml": the camera
// rides the "CameraTrack" animation through five phases (waiting, ascent,
// approach, fall, outro), the player looks around with the mouse and speeds
// the flight up with W or the left button within a budget, and the scene
// finishes five seconds after the fall has ended.
//
// Times named "track time" are time positions of the "CameraTrack" state;
// the scene advances them by its own speed factors, not by real time.
// The fields are public so that tests can drive and inspect the flight.
// The flight's phases, in their order (the numbers are those of the
// "Scene1 phase" lines).
enum class FlightPhase { Waiting = 1, Ascent, Approach, Fall, Outro };

class Scene1 : public MossdenScene {
public:
    static constexpr const char* SCENE_FILE = "first_scene.xml";  // the moss world
    static constexpr const char* MUSIC = "scene1.ogg";            // the climb's music, the longest sound

    // True until the first phase-1 update of the process has run: the very
    // first frame of the program is spent without starting the fade-in.
    static bool firstUpdatePending;

    Scene1(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan, SceneServices& services);
    ~Scene1() override;

    void loadCustom(TiXmlElement* element) override;
    void createScene() override;
    void update(const Ogre::FrameEvent& evt) override;
    void tick(int elapsedMs) override;
    bool mouseMoved(const OIS::MouseEvent& evt) override;
    void applyLook(const LookStep& step) override;
    bool isEnding() const override { return phase == FlightPhase::Fall || phase == FlightPhase::Outro; }
    // Draws the moss's tufts and the grass out to a distance that the
    // level sets.
    void applyQuality(Settings::Quality quality) override;

    // Pitch limit in degrees for the current height of cameraTrackNode.
    float heightLimitAt() const;

    using MossdenScene::finished;
    using MossdenScene::heldKeys;
    using MossdenScene::leftButtonDown;

    Ogre::SceneNode*& cameraTrackNode = cameraNode;  // the base's camera node
    Ogre::AnimationState* cameraTrackState = nullptr;
    float mouseSensitivity = 0.01f;  // degrees per mouse count
    Ogre::SceneNode* lookTrackNode = nullptr;
    Ogre::AnimationState* lookTrackState = nullptr;
    FlightPhase phase = FlightPhase::Waiting;
    Ogre::SceneNode* yawNode = nullptr;
    Ogre::SceneNode* pitchNode = nullptr;
    Ogre::SceneNode* rigCameraNode = nullptr;
    float ascentTime = 0;        // seconds spent in the ascent
    float ladybirdDelayMs = 0;   // milliseconds of ascent before the ladybird walks
    Ogre::SceneNode* dragonFlyTrackNode = nullptr;
    Ogre::AnimationState* dragonFlyTrackState = nullptr;
    FlightRates rates;           // as the scene file gives them
    Boost boost;                 // the forward input's multiplier and budget
    float trackSpeed = 0;
    float cameraAcceleration = rates.cameraAcceleration;  // the approach raises it
    bool highAltitude = false;   // the camera node has been above HIGH_ALTITUDE
    Ogre::Entity* ladybird = nullptr;
    Ogre::Entity* ladybird2 = nullptr;
    Ogre::Entity* ladybirdPath = nullptr;
    Ogre::AnimationState* ladybirdTrackState = nullptr;
    Ogre::SceneNode* ladybirdTrackNode = nullptr;
    std::unique_ptr<AnimationStarter> animationStarters;
    Ogre::SceneNode* fallTrackNode = nullptr;
    Ogre::AnimationState* fallTrackState = nullptr;
    float fallSpeed = 1.0f;
    GameTimer outroTimer, frameTimer, fallTimer;
    std::multimap<float, int> soundStarts;  // track time -> sound id
    PathMoverList pathMovers;
    std::list<Ogre::Vector3> radiusPoints;  // (limit degrees, height, unused)
    std::unique_ptr<TrackCameraRig> rig;
    float approachStartTime = 0;  // track time at which the final turn began
    bool endTurnStarted = false;
    Ogre::Quaternion endTurnFrom = Ogre::Quaternion::IDENTITY;

private:
    void ascentStep(float dt);
    void approachStep(float dt);
    void fallStep(float dt);
    void outroStep(float dt);
    void startSounds();
    void setFaderAlpha(double alpha);
    void advanceLadybird(float dt);
    // The flight's camera tracks: a missing or empty one cannot be played
    // and ends the game naming the scene file.
    Ogre::AnimationState* flightTrack(const char* name);
    // Tracks of what only decorates the flight: missing gives a line and null.
    Ogre::AnimationState* decorationTrack(const char* name);
    // A skinned entity that can walk, or null with a line naming what is missing.
    Ogre::Entity* walker(const char* name);
    void setUpLadybirds();
    void enterPhase(FlightPhase next);
};

// Pitch limit for height h: the x of the first point, in list order, whose
// y is above h; NO_HEIGHT_LIMIT when none is.
float heightLimit(const std::list<Ogre::Vector3>& points, float h);

constexpr float NO_HEIGHT_LIMIT = 3000.0f;

}  // namespace Mossden

#endif
