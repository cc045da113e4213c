#include "scenes/third/Scene3.h"

#include <Ogre.h>
#include <OgreCameraMan.h>
#include <OgreOverlay.h>
#include <OgreOverlayManager.h>
#include <tinyxml.h>

#include <cmath>
#include <iostream>
#include <sstream>

#include "app/Fader.h"
#include "audio/SoundManager.h"
#include "scene/CDotScene.h"
#include "scenes/third/FieldLayout.h"
#include "scenes/third/FieldSounds.h"

namespace Mossden {

namespace {

using FieldLayout::ASTEROID_COUNT;
constexpr unsigned long OPENING_MS = 1000;       // black, then the fade-in starts
constexpr unsigned long FIRST_LANDING_MS = 4000; // the view lifts from the ground
constexpr double OPENING_FADE_SECONDS = 3.0;
constexpr float TUNNEL_NOISE_FADE_SECONDS = 15.0f;
constexpr float NOISE_RETURN_FADE_SECONDS = 10.0f;
constexpr unsigned long INDICATOR_MS = 30;       // the indicator casts a ray at most this often
constexpr float CAMERA_MAN_TOP_SPEED = 400.0f;
constexpr float POINTING_LENGTH = 1000000.0f;
constexpr float SURFACE_RAY_BACKOFF = 10000.0f;
constexpr float HOLE_EXIT_HEIGHT = FieldLayout::EYE_HEIGHT;  // the ride ends this far above the exit point
constexpr float HOLE_RIDE_SECONDS = 2.5f;
constexpr std::size_t FINALE_HOLES = 4;     // distinct holes before the closing sequence
constexpr float FIRST_LANDING_TILT = 64.0f;  // degrees: the first view looks down a little
constexpr float LANDING_TILT = 90.0f;        // degrees: later views look along the ground

std::string numbered(const char* stem, int i) { return stem + std::to_string(i); }

}  // namespace

Scene3::Scene3(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan, SceneServices& services)
    : MossdenScene(sceneManager, cameraMan, services),
      startTimer(services.clock()),
      indicatorTimer(services.clock()),
      swirlWaitTimer(services.clock()),
      mFinale(*this, mRig, sceneManager) {
    mFlight = std::make_unique<AsteroidFlight>(*this, mRig);
    cameraKeysDisabled = true;
    mPicker = std::make_unique<RayPicker>(sceneManager);

    SoundManager& sound = SoundManager::getInstance();
    holeUpSound = sound.loadSound(FieldSounds::HOLE_UP, false);
    musicSound = sound.loadSound(FieldSounds::MUSIC, false);
    noiseSound = sound.loadSound(FieldSounds::NOISE, true);
    sound.addRepeat(noiseSound);

    for (int i = 1; i <= ASTEROID_COUNT; ++i) {
        const std::string name = numbered("aster", i);
        mAsteroids[name] = std::make_unique<Asteroid>(name, sceneManager);
    }

    Ogre::MeshPtr head = Ogre::MeshManager::getSingleton().load(
        "ogrehead.mesh", Ogre::RGN_DEFAULT, Ogre::HardwareBuffer::HBU_DYNAMIC_WRITE_ONLY,
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true, true);
    unsigned short source = 0, index = 0;
    if (!head->suggestTangentVectorBuildParams(Ogre::VES_TANGENT, source, index))
        head->buildTangentVectors(Ogre::VES_TANGENT, source, index);
}

Scene3::~Scene3() {
    if (mIndicatorOverlay) mIndicatorOverlay->hide();  // the overlay outlives the scene
}

void Scene3::loadCustom(TiXmlElement* element) {
    MossdenScene::loadCustom(element);
    if (element) {
        if (const TiXmlElement* e = element->FirstChildElement("swirlTime")) mSwirlTime = readIntAttribute("value", e);
        if (const TiXmlElement* e = element->FirstChildElement("swirlWaitTime"))
            mSwirlWaitTime = readIntAttribute("value", e);
        if (const TiXmlElement* holes = element->FirstChildElement("holes"))
            for (const TiXmlElement* h = holes->FirstChildElement("hole"); h; h = h->NextSiblingElement("hole"))
                if (std::unique_ptr<Hole> hole = Hole::read(h, sceneManager)) mHoles.push_back(std::move(hole));
    }
    for (const FieldLayout::JawCarry& carry : FieldLayout::JAW_CARRIES)
        mJawAttachments[carry.carried] = {carry.jaw, carry.subName};
    prepareJaws();
}

void Scene3::loadAuto(TiXmlElement* element) {}

void Scene3::createScene() {
    camera = sceneManager->getCamera("PlayerCam");
    camera->setPosition(Ogre::Vector3::ZERO);
    camera->setOrientation(Ogre::Quaternion::IDENTITY);
    loadPlayableSceneFile(sceneFile, sceneGroup, sceneManager);
    started = false;
    startTimer.reset();
    if (cameraMan) cameraMan->setTopSpeed(CAMERA_MAN_TOP_SPEED);

    mRig.setup(sceneManager, this);
    mRig.build();
    mPhase = Scene3Phase::Intro;
    cameraNode = mRig.mCameraNode;
    mRig.mCameraNode->setPosition(toVector(FieldLayout::START_POSITION));
    mCurrentAsteroid = asteroidNamed(FieldLayout::START_ASTEROID_NAME);
    requireStartAsteroid();
    mRig.mCameraNode->setOrientation(toQuaternion(FieldLayout::START_ORIENTATION));
    mIndicatorOverlay = Ogre::OverlayManager::getSingleton().getByName("MossdenOverlays/IndicatorOverlay");

    buildPivots();
    if (mCurrentAsteroid) mRig.attach(mCurrentAsteroid);
    attachHoles();
    for (auto& entry : mAsteroids) entry.second->entity();
    attachFogClouds();
    // Attached butterflies fly off at once and come back when the viewer
    // is far away; the others are hidden.
    for (auto& hole : mHoles)
        if (hole->butterfly->hasNode()) hole->butterfly->launch();

    // The opening fades in from black: when the scene is entered directly
    // (not after the first scene's fade-out) cover the picture at once.
    if (Fader* fader = services.fader()) {
        const bool covered = fader->alpha >= 1.0 && fader->overlay && fader->overlay->isVisible();
        if (!covered) {
            fader->startFadeOut(1.0);
            fader->fade(999.0);
        }
    }
}

Asteroid* Scene3::nearestAsteroid(const Ogre::Vector3& point) const {
    Asteroid* best = nullptr;
    float bestDistance = 0;
    for (const auto& entry : mAsteroids) {
        Asteroid* asteroid = entry.second.get();
        if (!asteroid->entity()) continue;
        const float d = point.distance(asteroid->getCenter());
        if (!best || d < bestDistance) {
            best = asteroid;
            bestDistance = d;
        }
    }
    return best;
}

Asteroid* Scene3::asteroidNamed(const std::string& name) const {
    const auto it = mAsteroids.find(name);
    return it == mAsteroids.end() ? nullptr : it->second.get();
}

void Scene3::setPhase(Scene3Phase phase) {
    if (phase == mPhase) return;
    std::cout << "Scene3 phase: " << phaseName(mPhase) << " -> " << phaseName(phase) << std::endl;
    mPhase = phase;
    if (phase == Scene3Phase::OnAsteroid) reportStanding();
}

void Scene3::reportStanding() {
    if (!mCurrentAsteroid || !mCurrentAsteroid->entity()) return;
    refreshTransforms();
    Ogre::SceneNode* pivot = mCurrentAsteroid->entity()->getParentSceneNode()->getParentSceneNode();
    const auto v = [](const Ogre::Vector3& x) {
        std::ostringstream out;
        out << "(" << x.x << " " << x.y << " " << x.z << ")";
        return out.str();
    };
    const Ogre::Quaternion q = pivot->_getDerivedOrientation();
    std::cout << "Standing on " << mCurrentAsteroid->name() << " at " << v(mRig.mCameraNode->_getDerivedPosition())
              << " up " << v(mRig.mCameraNode->_getDerivedOrientation() * Ogre::Vector3::UNIT_Z) << " looking "
              << v(pointingVector().normalisedCopy()) << " pivot " << v(pivot->_getDerivedPosition()) << " turned ("
              << q.w << " " << q.x << " " << q.y << " " << q.z << ")" << std::endl;
}

void Scene3::update(const Ogre::FrameEvent& evt) {
    const float dt = evt.timeSinceLastFrame;
    for (auto& hole : mHoles) hole->butterfly->update(dt);
    if (indicatorTimer.getMilliseconds() > INDICATOR_MS) {
        indicatorTest();
        indicatorTimer.reset();
    }
    if (!started) {
        openingStep();
        return;
    }
    if (mPhase != Scene3Phase::Finale) {
        for (auto& entry : mAsteroids) entry.second->spin(dt);
        refreshTransforms();
    }

    switch (mPhase) {
    case Scene3Phase::Intro:
        // A landing that finds no ground is tried again next frame.
        if (startTimer.getMilliseconds() > FIRST_LANDING_MS) mRig.land(true, false);
        return;
    case Scene3Phase::OnAsteroid: return onAsteroidStep(dt);
    case Scene3Phase::InHole: return holeRideStep(dt);
    case Scene3Phase::Aligning: return landingTurnStep(dt);
    case Scene3Phase::Flying: return mFlight->update(dt);
    case Scene3Phase::Finale: return mFinale.update(dt);
    }
    reportBadPhase(mPhase, "update");
}

void Scene3::openingStep() {
    if (startTimer.getMilliseconds() <= OPENING_MS) return;
    started = true;
    if (Fader* fader = services.fader()) fader->startFadeIn(OPENING_FADE_SECONDS);
    if (Asteroid* asteroid = mRig.asteroid(); asteroid && asteroid->entity() && mPhase != Scene3Phase::Flying) {
        // Stand upright on the ground below at once, still looking at it.
        const Ogre::Vector3 p = mRig.mCameraNode->getPosition();
        const Ogre::Vector3 c = asteroid->entity()->getWorldBoundingBox(true).getCenter();
        const Ogre::Vector3 d = (c - p).normalisedCopy();
        Ogre::Vector3 hit, normal;
        if (mRig.surfaceRay(d, p - d * SURFACE_RAY_BACKOFF, hit, normal)) mRig.align(false, normal, true);
    }
    SoundManager& sound = SoundManager::getInstance();
    sound.fadeOut(sound.loadSound("scene2noise.ogg", false), TUNNEL_NOISE_FADE_SECONDS);
    // The field's own air comes in as the tunnel's dies away: the way to
    // the first hole is not walked in silence.
    sound.fadeIn(noiseSound, TUNNEL_NOISE_FADE_SECONDS);
    sound.play(noiseSound);
}

Ogre::Vector3 Scene3::pointingVector() const {
    return mRig.mCameraRollNode->_getDerivedOrientation() * Ogre::Vector3(0, 0, -POINTING_LENGTH);
}

void Scene3::refreshTransforms() { sceneManager->getRootSceneNode()->_update(true, false); }

void Scene3::indicatorTest() {
    if (mPhase != Scene3Phase::OnAsteroid || !mCurrentAsteroid) return;
    refreshTransforms();
    Ogre::Vector3 hit, normal;
    Ogre::Entity* entity = nullptr;
    Ogre::Real distance = 0;
    const bool pointable = castRay(*mPicker, mRig.mCameraNode->_getDerivedPosition(), pointingVector(), hit, normal,
                                   entity, distance) &&
                           entity != mCurrentAsteroid->entity() && Scene3::pointable(entity);
    showIndicator(pointable);
}

bool Scene3::pointable(const Ogre::Entity* entity) const {
    return mPointableEntities.count(entity) > 0;
}

void Scene3::showIndicator(bool shown) {
    if (!mIndicatorOverlay) return;
    if (shown)
        mIndicatorOverlay->show();
    else
        mIndicatorOverlay->hide();
}

void Scene3::startLandingTurn(const Ogre::Quaternion& cameraTarget, bool keepPhase) {
    alignCameraTarget = cameraTarget;
    alignCameraStart = mRig.mCameraNode->getOrientation();
    if (!keepPhase) setPhase(Scene3Phase::Aligning);
    alignClock.start();
    alignPitchStart = mRig.mCameraPitchNode->getOrientation();
    alignPitchTarget = Ogre::Quaternion(Ogre::Degree(firstLanding ? FIRST_LANDING_TILT : LANDING_TILT),
                                        Ogre::Vector3::UNIT_X);
    firstLanding = false;
}

void Scene3::landingTurnStep(float dt) {
    const float c = alignClock.step(dt);
    // The last frame lands exactly on the target instead of past it.
    const float t = std::min(c, 1.0f);
    mRig.mCameraNode->setOrientation(Ogre::Quaternion::Slerp(t, alignCameraStart, alignCameraTarget, true));
    mRig.mCameraPitchNode->setOrientation(Ogre::Quaternion::Slerp(t, alignPitchStart, alignPitchTarget, true));
    if (c > 1) setPhase(Scene3Phase::OnAsteroid);
}

void Scene3::onAsteroidStep(float dt) {
    mRig.update(heldKeys, dt);
    if (mEndMode == FieldEnd::SequenceEnded) mEndMode = FieldEnd::Over;
    SoundManager& sound = SoundManager::getInstance();
    if (mEndMode == FieldEnd::Over && !sound.isPlaying(noiseSound) && !sound.isPlaying(musicSound)) {
        sound.addRepeat(noiseSound);
        sound.fadeIn(noiseSound, NOISE_RETURN_FADE_SECONDS);
        sound.play(noiseSound);
    }
}

void Scene3::enterHole(Hole& hole, const Ogre::Vector3& exitPoint) {
    if (!mCurrentAsteroid) return;
    SoundManager::getInstance().play(holeUpSound);
    const Ogre::Vector3 c = mCurrentAsteroid->getCenter();
    const Ogre::Vector3 from = mRig.mCameraNode->getPosition();
    holeRideSpline.clear();
    holeRideSpline.addPoint(from);
    holeRideSpline.addPoint(from);
    if (hole.upNode->getPosition().x != 0) {
        holeRideSpline.addPoint(hole.centerNode->getPosition());
        holeRideSpline.addPoint(hole.downNode->getPosition());
        holeRideSpline.addPoint(hole.upNode->getPosition());
    }
    holeRideSpline.addPoint(exitPoint + (exitPoint - c).normalisedCopy() * HOLE_EXIT_HEIGHT);
    rideDuration = HOLE_RIDE_SECONDS;
    rideTime = 0;
    std::cout << "Into hole " << hole.id << " of " << mCurrentAsteroid->name() << std::endl;
    setPhase(Scene3Phase::InHole);
    swirlPending = true;
    swirlWaitTimer.reset();
    currentHole = &hole;
}

void Scene3::holeRideStep(float dt) {
    float p = rideTime / rideDuration;
    // The second half of the ride runs at half speed.
    rideTime += p <= 0.5f ? dt : dt * 0.5f;
    p = std::min(p, 1.0f);
    mRig.mCameraNode->setPosition(holeRideSpline.interpolate(p));
    if (swirlPending && swirlWaitTimer.getMilliseconds() >= static_cast<unsigned long>(std::max(mSwirlWaitTime, 0))) {
        swirlPending = false;
        currentHole->startSwirl();
    }
    if (p < 1) return;
    currentHole->resolveSwirlNode();
    mVisitedHoles.insert(currentHole);
    SoundManager& sound = SoundManager::getInstance();
    if (mVisitedHoles.size() == 1 && !sound.isPlaying(noiseSound)) {
        sound.fadeIn(noiseSound, NOISE_RETURN_FADE_SECONDS);
        sound.play(noiseSound);
    }
    if (!finaleStarted && mVisitedHoles.size() == FINALE_HOLES) {
        finaleStarted = true;
        std::cout << "Holes ridden: " << mVisitedHoles.size() << "; the closing sequence starts" << std::endl;
        setPhase(Scene3Phase::Finale);
        mFinale.start();
        return;
    }
    // A ride whose end finds no ground repeats its last step next frame.
    mRig.land(true, false);
}

void Scene3::closingSequenceEnded(const Ogre::Vector3& direction) {
    mEndMode = FieldEnd::SequenceEnded;
    mCurrentAsteroid = nullptr;
    std::cout << "Closing sequence: the end" << std::endl;
    mFlight->start(direction);
}

bool Scene3::mouseMoved(const OIS::MouseEvent& evt) {
    applyLook(lookStep(float(evt.state.X.rel), float(evt.state.Y.rel), CameraRig::MOUSE_DEGREES_PER_PIXEL,
                       currentLookOptions()));
    return true;
}

void Scene3::applyLook(const LookStep& step) {
    switch (mPhase) {
    case Scene3Phase::Intro:
    case Scene3Phase::Aligning:
    case Scene3Phase::Finale: return;
    case Scene3Phase::Flying:
        if (mFlight->remaining() < AsteroidFlight::FINAL_TURN_UNITS) return;
        break;
    case Scene3Phase::OnAsteroid:
    case Scene3Phase::InHole: break;
    default: reportBadPhase(mPhase, "applyLook"); return;
    }
    mRig.look(step);
}

bool Scene3::mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    if (mPhase == Scene3Phase::OnAsteroid) mFlight->start(pointingVector());
    return true;
}

bool Scene3::keyPressed(const OIS::KeyEvent& evt) {
    heldKeys.insert(evt.key);
    switch (evt.key) {
    case OIS::KC_ESCAPE: services.request(Request::OpenMenu); break;
    case OIS::KC_W:
        if (!mRig.jumping()) mRig.jump();
        break;
    default: break;
    }
    return true;
}

}  // namespace Mossden
