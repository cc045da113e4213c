#include "scenes/first/Scene1.h"

#include <OIS.h>
#include <Ogre.h>
#include <OgreOverlay.h>
#include <OgreTagPoint.h>
#include <tinyxml.h>

#include <iostream>

#include "app/Fader.h"
#include "audio/SoundManager.h"
#include "scene/AnimationStarter.h"
#include "scene/CDotScene.h"
#include "scene/Helpers.h"

namespace Mossden {

namespace {

constexpr float FADE_IN_SECONDS = 7.0f;
constexpr float LOOK_TRACK_LAG = 4.0f;        // track time the look node trails the camera
constexpr float MUSIC_FADE_SECONDS = 15.0f;
constexpr float ASCENT_CORRECTION_DEG_PER_S = 2.0f;
constexpr float END_TURN_FRACTION = 0.8f;          // T / L at which the final turn begins
constexpr float END_TURN_SHORTFALL = 150.0f;       // the turn completes this track time before L
constexpr float DARKEN_DELAY = 50.0f;              // track time after the turn before darkening
constexpr float FALL_DELAY_MS = 250.0f;
constexpr float FALL_TRACK_RATE = 20.0f;
constexpr float FALL_SPEED_GROWTH = 50.0f;  // per second
constexpr float OUTRO_MS = 5000.0f;
constexpr float CAMERA_NEAR_CLIP = 0.4f;
constexpr float MOUSE_CORRECTION_MS_PER_DEG = 300.0f;
constexpr float LADYBIRD_BOUNDS = 50.0f;

// How far the world's small things are drawn at each quality level (Low,
// Medium, High), in units from the camera to a cell's centre; 0 draws them
// at any distance. Beyond these they are a pixel or less and cost the
// renderer far more than they show.
struct DetailReach {
    const char* prefix;  // entity names of the cells: "<prefix><x>_<z>"
    float reach[3];
};
constexpr DetailReach DETAIL_REACHES[] = {
    {"moss_tufts_", {700, 1400, 2500}},
    {"grass_", {6000, 12000, 0}},
};

const char* const OMNI_LIGHT = "Scene1Omni02";

Ogre::Radian rad(float degrees) { return Ogre::Radian(degrees * Ogre::Math::fDeg2Rad); }

void enableAllStates(Ogre::Entity* entity, bool setLoop, bool loop) {
    Ogre::AnimationStateSet* states = entity->getAllAnimationStates();
    if (!states) return;
    for (const auto& named : states->getAnimationStates()) {
        named.second->setEnabled(true);
        if (setLoop) named.second->setLoop(loop);
    }
}

// A boost value from the scene file. One the boost cannot work with (a
// rate not above 0, a bound not above 1: the multiplier would never come
// back, or the input would slow the flight) is named on one line and the
// built-in value stays.
void readBoostValue(const TiXmlElement* custom, const char* name, float lowest, float& value) {
    const TiXmlElement* e = custom->FirstChildElement(name);
    if (!e) return;
    const float read = readRealAttribute("value", e);
    if (read > lowest) {
        value = read;
        return;
    }
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logMessage(std::string(Scene1::SCENE_FILE) + ": \"" + name + "\" value " + std::to_string(read) +
                        " is not above " + std::to_string(lowest) + "; using " + std::to_string(value));
}

void advanceState(Ogre::Entity* entity, const char* name, float seconds) {
    if (entity->hasAnimationState(name))
        entity->getAnimationState(name)->addTime(seconds);
    else
        std::cout << entity->getMesh()->getName() << ": no animation \"" << name << "\"" << std::endl;
}

}  // namespace

bool Scene1::firstUpdatePending = true;

float heightLimit(const std::list<Ogre::Vector3>& points, float h) {
    for (const Ogre::Vector3& point : points)
        if (point.y > h) return point.x;
    return NO_HEIGHT_LIMIT;
}

Scene1::Scene1(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan, SceneServices& services)
    : MossdenScene(sceneManager, cameraMan, services),
      outroTimer(services.clock()),
      frameTimer(services.clock()),
      fallTimer(services.clock()),
      pathMovers(sceneManager) {
    outroTimer.reset();
    frameTimer.reset();
    fallTimer.reset();
}

Scene1::~Scene1() = default;

float Scene1::heightLimitAt() const {
    return heightLimit(radiusPoints, cameraTrackNode ? cameraTrackNode->getPosition().y : 0.0f);
}

void Scene1::loadCustom(TiXmlElement* element) {
    MossdenScene::loadCustom(element);
    if (!element) return;
    dragonFlyTrackNode = createTrack(element, "DragonFlyTrack");
    ladybirdTrackNode = createTrack(element, "LadyBirdTrack");
    if (TiXmlElement* points = element->FirstChildElement("radiusPoints")) {
        for (TiXmlElement* point = points->FirstChildElement("point"); point;
             point = point->NextSiblingElement("point"))
            radiusPoints.emplace_back(static_cast<float>(readIntAttribute("x", point)),
                                      static_cast<float>(readIntAttribute("y", point)),
                                      static_cast<float>(readIntAttribute("z", point)));
    }
    cameraTrackNode = createTrack(element, "CameraTrack");
    lookTrackNode = createTrack(element, "CameraTrack", "CameraLookTrack");
    fallTrackNode = createTrack(element, "CameraFallTrack");
    pathMovers.load(element->FirstChildElement("pathMoveObjects"));
    if (TiXmlElement* e = element->FirstChildElement("dotwingStartDelay"))
        ladybirdDelayMs = static_cast<float>(readIntAttribute("value", e));
    if (TiXmlElement* e = element->FirstChildElement("cameraAccseleration"))
        rates.cameraAcceleration = readRealAttribute("value", e);
    cameraAcceleration = rates.cameraAcceleration;
    readBoostValue(element, "cameraKeyAccseleration", 0.0f, rates.keyAcceleration);
    readBoostValue(element, "cameraKeySlowdown", 0.0f, rates.keySlowdown);
    readBoostValue(element, "cameraMaxKeyAccseleration", 1.0f, rates.maxKeyAcceleration);
    if (TiXmlElement* e = element->FirstChildElement("animationStarter"))
        animationStarters = loadAnimationStarter(e);
    if (TiXmlElement* sounds = element->FirstChildElement("soundsStarter")) {
        SoundManager& soundManager = SoundManager::getInstance();
        for (TiXmlElement* start = sounds->FirstChildElement("start"); start;
             start = start->NextSiblingElement("start")) {
            const int id = soundManager.loadSound(readStringAttribute("sound", start),
                                                  readBoolAttribute("loop", start));
            soundStarts.emplace(readRealAttribute("time", start), id);
        }
    }
}

void Scene1::createScene() {
    camera = sceneManager->getCamera("PlayerCam");
    loadPlayableSceneFile(SCENE_FILE, "General", sceneManager);
    camera->setNearClipDistance(CAMERA_NEAR_CLIP);
    if (sceneManager->hasLight(OMNI_LIGHT))
        sceneManager->getLight(OMNI_LIGHT)->setVisible(false);
    else
        std::cout << SCENE_FILE << ": no light \"" << OMNI_LIGHT << "\"; the end turn lights nothing" << std::endl;
    pathMovers.start();

    rig = std::make_unique<TrackCameraRig>(this, sceneManager, cameraTrackNode);
    yawNode = rig->yawNode;
    pitchNode = rig->pitchNode;
    rigCameraNode = rig->cameraNode;

    dragonFlyTrackState = decorationTrack("DragonFlyTrack");
    cameraTrackState = flightTrack("CameraTrack");
    lookTrackState = flightTrack("CameraLookTrack");
    fallTrackState = flightTrack("CameraFallTrack");
    ladybirdTrackState = decorationTrack("LadyBirdTrack");
    cameraTrackState->setTimePosition(0);
    cameraTrackState->setEnabled(true);

    camera->setPosition(Ogre::Vector3::ZERO);
    camera->setOrientation(Ogre::Quaternion::IDENTITY);

    setUpLadybirds();

    SoundManager& soundManager = SoundManager::getInstance();
    soundManager.stopAll();
    soundManager.play(soundManager.loadSound(MUSIC, false));

    Fader* fader = services.fader();
    fader->startFadeOut(1.0);
    fader->fade(999.0);
}

void Scene1::applyQuality(Settings::Quality quality) {
    MossdenScene::applyQuality(quality);
    const auto level = static_cast<std::size_t>(quality);
    for (const auto& entry : sceneManager->getMovableObjects("Entity"))
        for (const DetailReach& detail : DETAIL_REACHES)
            if (entry.first.rfind(detail.prefix, 0) == 0) entry.second->setRenderingDistance(detail.reach[level]);
}

Ogre::AnimationState* Scene1::flightTrack(const char* name) {
    // Without its camera tracks the flight could never end: such a file
    // cannot be played.
    const Ogre::Animation* track = sceneManager->hasAnimation(name) ? sceneManager->getAnimation(name) : nullptr;
    if (!track || !(track->getLength() > 0) || track->getNumNodeTracks() == 0 ||
        track->getNodeTrackIterator().getNext()->getNumKeyFrames() == 0)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    std::string("Cannot play scene file ") + SCENE_FILE + ": the track \"" + name +
                        "\" is missing, empty or of length 0",
                    "Scene1::createScene");
    Ogre::AnimationState* state = sceneManager->createAnimationState(name);
    state->setEnabled(false);
    state->setLoop(false);
    return state;
}

Ogre::AnimationState* Scene1::decorationTrack(const char* name) {
    if (!sceneManager->hasAnimation(name)) {
        std::cout << SCENE_FILE << ": no track \"" << name << "\"; what it moves stays still" << std::endl;
        return nullptr;
    }
    Ogre::AnimationState* state = sceneManager->createAnimationState(name);
    state->setEnabled(true);
    return state;
}

Ogre::Entity* Scene1::walker(const char* name) {
    if (!sceneManager->hasEntity(name)) {
        std::cout << SCENE_FILE << ": no entity \"" << name << "\"" << std::endl;
        return nullptr;
    }
    Ogre::Entity* entity = sceneManager->getEntity(name);
    if (!entity->hasSkeleton() || entity->getSkeleton()->getRootBones().empty() ||
        !entity->getAllAnimationStates()) {
        std::cout << entity->getMesh()->getName() << ": its skeleton \"" << entity->getMesh()->getSkeletonName()
                  << "\" is missing or broken" << std::endl;
        return nullptr;
    }
    return entity;
}

void Scene1::setUpLadybirds() {
    ladybirdPath = walker("ladybird_track");
    ladybird = walker("ladybird");
    ladybird2 = walker("ladybird2");
    if (!ladybirdPath || !ladybird || !ladybird2) {
        // Half a ladybird is worse than none: the walkers leave the scene.
        std::cout << "The ladybirds stay out of the scene" << std::endl;
        for (const char* name : {"ladybird_track", "ladybird", "ladybird2"})
            if (sceneManager->hasEntity(name)) sceneManager->getEntity(name)->setVisible(false);
        ladybirdPath = ladybird = ladybird2 = nullptr;
        return;
    }
    ladybirdPath->getSkeleton()->setBlendMode(Ogre::ANIMBLEND_CUMULATIVE);
    enableAllStates(ladybirdPath, true, false);

    ladybird = sceneManager->getEntity("ladybird");
    ladybird->getSkeleton()->setBlendMode(Ogre::ANIMBLEND_CUMULATIVE);
    enableAllStates(ladybird, false, false);
    advanceState(ladybird, "leg_left1", 1.5f);
    advanceState(ladybird, "leg_left2", 0.0f);
    advanceState(ladybird, "leg_right1", 0.0f);
    advanceState(ladybird, "leg_right2", 1.5f);

    ladybird2 = sceneManager->getEntity("ladybird2");
    ladybird2->getSkeleton()->setBlendMode(Ogre::ANIMBLEND_CUMULATIVE);
    enableAllStates(ladybird2, false, false);
    advanceState(ladybird2, "leg_left3", 2.0f);
    advanceState(ladybird2, "leg_right3", 0.5f);

    const Ogre::Quaternion offset = Ogre::Quaternion(rad(180), Ogre::Vector3::UNIT_Z) *
                                    Ogre::Quaternion(rad(90), Ogre::Vector3::UNIT_Y);
    const Ogre::String rootBone = ladybirdPath->getSkeleton()->getRootBones().front()->getName();
    for (Ogre::Entity* walker : {ladybird, ladybird2}) {
        if (walker->getParentSceneNode()) walker->getParentSceneNode()->detachObject(walker);
        ladybirdPath->attachObjectToBone(rootBone, walker, offset, Ogre::Vector3::ZERO);
    }

    Ogre::MeshManager::getSingleton().setBoundsPaddingFactor(0);
    ladybird->getMesh()->_setBounds(
        Ogre::AxisAlignedBox(Ogre::Vector3::ZERO, Ogre::Vector3(LADYBIRD_BOUNDS)), true);
}

void Scene1::enterPhase(FlightPhase next) {
    phase = next;
    std::cout << "Scene1 phase " << static_cast<int>(next) << std::endl;
}

void Scene1::update(const Ogre::FrameEvent& evt) {
    const float dt = evt.timeSinceLastFrame;
    sceneManager->_applySceneAnimations();
    // The rig's world transforms are otherwise brought up to date only when
    // a frame is rendered; the phase rules read the camera node's height now.
    if (cameraTrackNode) cameraTrackNode->_update(true, false);
    frameTimer.reset();
    if (phase == FlightPhase::Waiting) {
        if (firstUpdatePending) {
            firstUpdatePending = false;
            return;
        }
        services.fader()->startFadeIn(FADE_IN_SECONDS);
        enterPhase(FlightPhase::Ascent);
        return;
    }
    if (finished) return;
    pathMovers.update(dt);
    if (phase == FlightPhase::Ascent) ascentStep(dt);
    if (phase == FlightPhase::Approach) approachStep(dt);
    startSounds();
    if (phase == FlightPhase::Fall)
        fallStep(dt);
    else
        cameraTrackState->addTime(trackSpeed * dt * boost.multiplier);
    if (phase == FlightPhase::Outro) outroStep(dt);
    if (rigCameraNode->_getDerivedPosition().y > FLIGHT_HIGH_ALTITUDE) highAltitude = true;
}

void Scene1::startSounds() {
    const float trackTime = cameraTrackState->getTimePosition();
    SoundManager& soundManager = SoundManager::getInstance();
    while (!soundStarts.empty() && soundStarts.begin()->first <= trackTime) {
        const int id = soundStarts.begin()->second;
        soundStarts.erase(soundStarts.begin());
        soundManager.play(id);
    }
}

void Scene1::ascentStep(float dt) {
    ascentTime += dt;
    // A track that ends below the approach height (edited data) must not
    // hold the flight in its ascent: its end starts the approach.
    if (rigCameraNode->_getDerivedPosition().y > FLIGHT_APPROACH_HEIGHT || cameraTrackState->hasEnded()) {
        enterPhase(FlightPhase::Approach);
        lookTrackState->setTimePosition(cameraTrackState->getTimePosition() - LOOK_TRACK_LAG);
        lookTrackState->setEnabled(true);
        boost.multiplier = approachMultiplier(rates);
        SoundManager& soundManager = SoundManager::getInstance();
        soundManager.fadeOut(soundManager.loadSound(MUSIC, false), MUSIC_FADE_SECONDS);
    }
    if (animationStarters) animationStarters->update(dt);
    rig->rotate(0, 0, ASCENT_CORRECTION_DEG_PER_S * dt);
    trackSpeed = ascentTrackSpeed(trackSpeed, cameraAcceleration, highAltitude, dt);
    advanceLadybird(dt);
}

void Scene1::advanceLadybird(float dt) {
    if (!ladybirdPath || !(ladybirdDelayMs < ascentTime * 1000.0f)) return;
    Ogre::AnimationStateSet* pathStates = ladybirdPath->getAllAnimationStates();
    if (!pathStates) return;
    Ogre::AnimationState* last = nullptr;
    for (const auto& named : pathStates->getAnimationStates()) {
        named.second->addTime(dt);
        last = named.second;
    }
    if (last && last->hasEnded()) return;
    advanceAllAnimations(ladybird, dt);
    advanceAllAnimations(ladybird2, dt);
}

void Scene1::setFaderAlpha(double alpha) {
    Fader* fader = services.fader();
    fader->alpha = alpha;
    fader->applyAlpha(alpha);
}

void Scene1::approachStep(float dt) {
    const float T = cameraTrackState->getTimePosition();
    const float L = cameraTrackState->getLength();
    if (T / L > END_TURN_FRACTION && sceneManager->hasLight(OMNI_LIGHT)) {
        sceneManager->destroyLight(OMNI_LIGHT);
        rigCameraNode->resetOrientation();
        camera->setOrientation(Ogre::Quaternion::IDENTITY);
        cameraTrackNode->resetOrientation();
        Fader* fader = services.fader();
        if (fader->overlay) fader->overlay->show();
        fader->operation = Fader::FADE_NONE;
    }
    if (T / L > END_TURN_FRACTION) {
        if (!endTurnStarted) {
            endTurnStarted = true;
            approachStartTime = T;
            rig->collapse();
            endTurnFrom = yawNode->getOrientation();
        }
        const float t = std::min(
            (T - approachStartTime) / (L - END_TURN_SHORTFALL - approachStartTime), 1.0f);
        const float a = Ogre::Math::Clamp(
            (T - DARKEN_DELAY - approachStartTime) / (L - approachStartTime), 0.0f, 1.0f);
        setFaderAlpha(a);
        static const Ogre::Quaternion target = Ogre::Quaternion(rad(-90), Ogre::Vector3::UNIT_Z) *
                                               Ogre::Quaternion(rad(-90), Ogre::Vector3::UNIT_Y);
        yawNode->setOrientation(Ogre::Quaternion::Slerp(t, endTurnFrom, target, false));
    }
    if (cameraTrackState->hasEnded()) {
        enterPhase(FlightPhase::Fall);
        fallTrackState->setEnabled(true);
        fallTrackState->setTimePosition(0);
        fallSpeed = 0;
        fallTimer.reset();
        return;
    }
    lookTrackState->addTime(dt * trackSpeed * boost.multiplier);
    if (!endTurnStarted) rig->followLook(dt);
    approachTrackSpeed(T, dt, trackSpeed, cameraAcceleration);
}

void Scene1::fallStep(float dt) {
    const Ogre::Vector3& fallPosition = fallTrackNode->getPosition();
    if (fallPosition != Ogre::Vector3::ZERO)
        camera->setPosition(rigCameraNode->convertWorldToLocalPosition(fallPosition));
    if (fallTimer.getMilliseconds() > FALL_DELAY_MS) {
        fallTrackState->addTime(dt * FALL_TRACK_RATE * fallSpeed);
        fallSpeed += dt * FALL_SPEED_GROWTH;
        if (fallTrackState->hasEnded()) {
            enterPhase(FlightPhase::Outro);
            outroTimer.reset();
        }
    }
}

void Scene1::outroStep(float dt) {
    Fader* fader = services.fader();
    setFaderAlpha(Ogre::Math::Clamp(fader->alpha + dt, 0.0, 1.0));
    if (outroTimer.getMilliseconds() > OUTRO_MS) {
        finished = true;
        outroTimer.reset();
    }
}

void Scene1::tick(int elapsedMs) {
    if (phase == FlightPhase::Approach) return;
    const bool forward = heldKeys.count(OIS::KC_W) > 0 || leftButtonDown;
    boost.tick(rates, forward, static_cast<float>(elapsedMs));
}

bool Scene1::mouseMoved(const OIS::MouseEvent& evt) {
    const float base = phase == FlightPhase::Approach ? TrackCameraRig::MOUSE_DEG_PER_COUNT : mouseSensitivity;
    applyLook(lookStep(static_cast<float>(evt.state.X.rel), static_cast<float>(evt.state.Y.rel), base,
                       currentLookOptions()));
    return true;
}

void Scene1::applyLook(const LookStep& step) {
    if (phase == FlightPhase::Waiting || phase == FlightPhase::Fall || phase == FlightPhase::Outro || endTurnStarted) return;
    if (phase == FlightPhase::Ascent)
        rig->rotate(step.yaw, step.pitch,
                    static_cast<float>(frameTimer.getMilliseconds()) / MOUSE_CORRECTION_MS_PER_DEG);
    else if (phase == FlightPhase::Approach)
        rig->approachLook(step.yaw, step.pitch);
}

}  // namespace Mossden
