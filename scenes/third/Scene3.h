#ifndef MOSSDEN_SCENES_THIRD_SCENE3_H
#define MOSSDEN_SCENES_THIRD_SCENE3_H

// The asteroid field: the viewer stands on one of twenty-one slowly
// spinning asteroids, looks around, hops over the surface (W), flies to
// another asteroid by clicking it, and dives through holes; after four
// different holes a closing sequence shows the face the field was all
// along. Scene3 holds the phase machine and the objects it drives; the
// viewer's rig, the flights and the closing sequence do their work in
// their own classes and ask the scene for what they need through
// ThirdSceneOwner.
#include <OgreSimpleSpline.h>
#include "app/GameClock.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "scene/Helpers.h"
#include "scene/MossdenScene.h"
#include "scenes/third/Asteroid.h"
#include "scenes/third/AsteroidFlight.h"
#include "scenes/third/CameraRig.h"
#include "scenes/third/FinalSequence.h"
#include "scenes/third/Hole.h"
#include "scenes/third/Motion.h"
#include "scenes/third/ThirdSceneOwner.h"
#include <list>

namespace Ogre {
class Overlay;
}

namespace Mossden {

// How far the field is from its end: playing; the closing sequence has just
// ended (the viewer flies off); over, one frame later (Escape offers the end
// menu, the sounds die out).
enum class FieldEnd { Playing, SequenceEnded, Over };

class Scene3 : public MossdenScene, public ThirdSceneOwner {
public:
    static constexpr const char* SCENE_FILE = "third_scene.xml";  // the field

    Scene3(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan, SceneServices& services);
    ~Scene3() override;

    void loadCustom(TiXmlElement* element) override;
    // Generated data is never read back.
    void loadAuto(TiXmlElement* element) override;
    void createScene() override;
    void update(const Ogre::FrameEvent& evt) override;

    bool mouseMoved(const OIS::MouseEvent& evt) override;
    void applyLook(const LookStep& step) override;
    // Shows all the fog clouds at High, two in three at Medium, one in
    // three at Low.
    void applyQuality(Settings::Quality quality) override;
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;
    bool keyPressed(const OIS::KeyEvent& evt) override;
    // After the closing sequence the menu is the end menu.
    MenuMode pauseMenu() const override { return mEndMode == FieldEnd::Over ? MenuMode::End : MenuMode::InGame; }
    void menuOpened() override { showIndicator(false); }

    // The owner interface (ThirdSceneOwner.h).
    Scene3Phase phase() const override { return mPhase; }
    void setPhase(Scene3Phase phase) override;
    Asteroid* currentAsteroid() const override { return mCurrentAsteroid; }
    void setCurrentAsteroid(Asteroid* asteroid) override { mCurrentAsteroid = asteroid; }
    Asteroid* asteroidNamed(const std::string& name) const override;
    const AsteroidMap& asteroids() const override { return mAsteroids; }
    bool pointable(const Ogre::Entity* entity) const override;
    RayPicker& picker() override { return *mPicker; }
    void showIndicator(bool shown) override;
    void startLandingTurn(const Ogre::Quaternion& cameraTarget, bool keepPhase) override;
    void landingTurnStep(float dt) override;
    // The engine brings world transforms up to date once per frame when it
    // renders; a node whose parent moved since then keeps its old world
    // transform until this runs, and picking and re-parenting need this
    // frame's.
    void refreshTransforms() override;
    // Where the viewer stands, in world space, with the asteroid's pivot
    // (its centre and turn): a trace line for tests and debugging.
    void reportStanding() override;
    void enterHole(Hole& hole, const Ogre::Vector3& exitPoint) override;
    void closingSequenceEnded(const Ogre::Vector3& direction) override;

    // The asteroid whose centre is nearest to a world point (ties: the
    // earlier in key order); asteroids without entity never count.
    Asteroid* nearestAsteroid(const Ogre::Vector3& point) const;
    // Shows the indicator when the viewer points at another asteroid.
    void indicatorTest();
    // The viewing direction of the camera, a million units long.
    Ogre::Vector3 pointingVector() const;

    // The scene's parts and state, for tracing and the engine tests.
    CameraRig& rig() { return mRig; }
    AsteroidFlight& flight() { return *mFlight; }
    const FinalSequence& finale() const { return mFinale; }
    bool openingDone() const { return started; }
    const std::vector<Ogre::SceneNode*>& pivots() const { return mPivotNodes; }
    const std::list<std::unique_ptr<Hole>>& holes() const { return mHoles; }
    std::size_t visitedHoleCount() const { return mVisitedHoles.size(); }
    const Ogre::SimpleSpline& holeRide() const { return holeRideSpline; }
    FieldEnd endMode() const { return mEndMode; }

protected:
    // Where createScene reads the world from; tests point it at small files.
    std::string sceneFile = SCENE_FILE;
    std::string sceneGroup = "General";
    // Skips the opening (tests that start standing).
    void skipOpening() { started = true; }

private:
    void openingStep();
    void onAsteroidStep(float dt);
    void buildPivots();
    void attachFogClouds();
    void prepareJaws();
    void holeRideStep(float dt);
    void requireStartAsteroid();
    void attachHoles();

    Scene3Phase mPhase = Scene3Phase::Intro;
    bool started = false;
    GameTimer startTimer;      // opening (1000 ms) and first landing (4000 ms)
    GameTimer indicatorTimer;  // paces the indicator test (30 ms)
    GameTimer swirlWaitTimer;  // reset when a hole ride starts

    std::map<std::string, std::unique_ptr<Asteroid>> mAsteroids;
    Asteroid* mCurrentAsteroid = nullptr;
    std::set<const Ogre::Entity*> mPointableEntities;
    std::vector<Ogre::SceneNode*> mPivotNodes;
    // Asteroid or eye entity -> (jaw entity, jaw sub-name); the sub-name is kept, never used.
    std::map<std::string, std::pair<std::string, std::string>> mJawAttachments;
    int mSwirlTime = 0;
    int mSwirlWaitTime = 0;  // milliseconds
    std::list<std::unique_ptr<Hole>> mHoles;
    std::set<Hole*> mVisitedHoles;  // distinct holes ridden through

    // The ride through a hole (phase InHole).
    bool swirlPending = false;
    Hole* currentHole = nullptr;
    Ogre::SimpleSpline holeRideSpline;
    float rideTime = 0;
    float rideDuration = 0;  // seconds

    // The landing turn: camera node and pitch node from start to target.
    Ogre::Quaternion alignCameraStart = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion alignCameraTarget = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion alignPitchStart = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion alignPitchTarget = Ogre::Quaternion::IDENTITY;
    TurnClock alignClock;
    bool firstLanding = true;  // the first landing tilts the view by 64 degrees, later ones by 90

    Ogre::Overlay* mIndicatorOverlay = nullptr;
    std::unique_ptr<RayPicker> mPicker;
    CameraRig mRig;
    FinalSequence mFinale;
    std::unique_ptr<AsteroidFlight> mFlight;

    int holeUpSound = 0, noiseSound = 0, musicSound = 0;
    FieldEnd mEndMode = FieldEnd::Playing;
    bool finaleStarted = false;
};

}  // namespace Mossden

#endif
