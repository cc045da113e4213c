#ifndef MOSSDEN_SCENES_THIRD_THIRDSCENEOWNER_H
#define MOSSDEN_SCENES_THIRD_THIRDSCENEOWNER_H

// The third scene's phases, and what its parts (the viewer's rig, the
// flights between asteroids, the closing sequence) may ask of the scene
// that owns them. Scene3 implements the interface; a part holds a reference
// to it and never reaches into the scene's own state.
#include <OgrePrerequisites.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include <map>
#include <memory>
#include <string>

class RayPicker;  // scene/Helpers.h

namespace Mossden {

class Asteroid;
struct Hole;

enum class Scene3Phase { Intro, OnAsteroid, InHole, Aligning, Flying, Finale };

// The phase's name, as the phase trace writes it; "?" for a value outside
// the enum (reported as a bad phase).
const char* phaseName(Scene3Phase phase);
// A switch over the phase met a value outside the enum: one log line naming
// the value and the place, and a failed assertion in debug builds. Release
// builds go on as if nothing happened in that frame.
void reportBadPhase(Scene3Phase phase, const char* where);

class ThirdSceneOwner {
public:
    using AsteroidMap = std::map<std::string, std::unique_ptr<Asteroid>>;

    virtual Scene3Phase phase() const = 0;
    // Every phase change goes through here and is written to standard output.
    virtual void setPhase(Scene3Phase phase) = 0;

    // The asteroid the viewer belongs to; null when free (after the end).
    virtual Asteroid* currentAsteroid() const = 0;
    virtual void setCurrentAsteroid(Asteroid* asteroid) = 0;
    // The asteroid of that name, or null.
    virtual Asteroid* asteroidNamed(const std::string& name) const = 0;
    virtual const AsteroidMap& asteroids() const = 0;
    // True for the entities a click can fly to: the field's asteroids.
    virtual bool pointable(const Ogre::Entity* entity) const = 0;
    // The scene's ray picker, for flights and the closing route.
    virtual ::RayPicker& picker() = 0;
    virtual void showIndicator(bool shown) = 0;

    // The landing turn: the camera node turns from where it stands to
    // cameraTarget while the pitch node tilts to the landing's view (64
    // degrees the first time, 90 later). Unless keepPhase, the phase
    // becomes Aligning. landingTurnStep runs one frame of it and, once the
    // turn completes, sets the phase to OnAsteroid.
    virtual void startLandingTurn(const Ogre::Quaternion& cameraTarget, bool keepPhase) = 0;
    virtual void landingTurnStep(float dt) = 0;

    // Brings every node's world transform up to date (see Scene3).
    virtual void refreshTransforms() = 0;
    // Writes where the viewer stands (a trace line).
    virtual void reportStanding() = 0;
    // Starts the ride through a hole, coming out above exitPoint.
    virtual void enterHole(Hole& hole, const Ogre::Vector3& exitPoint) = 0;
    // The closing sequence has ended: the viewer, free of any asteroid,
    // flies on along `direction`, and the end menu is ahead.
    virtual void closingSequenceEnded(const Ogre::Vector3& direction) = 0;

protected:
    ~ThirdSceneOwner() = default;
};

}  // namespace Mossden

#endif
