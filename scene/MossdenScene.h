#ifndef MOSSDEN_SCENE_MOSSDENSCENE_H
#define MOSSDEN_SCENE_MOSSDENSCENE_H

// The base of every scene: the scene-file loader, the hooks through which
// the application drives a scene, the settings every scene file may carry,
// and the input routing between the overlay menu and the camera man.
#include <OIS.h>
#include <OgreFrameListener.h>
#include <OgrePrerequisites.h>
#include <OgreSimpleSpline.h>

#include <memory>
#include <set>
#include <string>

#include "app/LookControl.h"
#include "app/SceneServices.h"
#include "app/Settings.h"
#include "menu/MenuMode.h"
#include "scene/AnimationStarter.h"
#include "scene/CDotScene.h"

namespace OgreBites {
class CameraMan;
}

class MossdenScene : public CDotScene, public OIS::MouseListener, public OIS::KeyListener {
public:
    // The pointers and the services are the application's and outlive the scene.
    MossdenScene(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan,
                 Mossden::SceneServices& services);
    ~MossdenScene() override;

    // Reads "cameraSpeed" and "disableFog"; derived scenes call this first.
    // A null element (a file without "custom") reads as an empty one.
    void loadCustom(TiXmlElement* element) override;

    // Right after construction: loads the scene file, sets camera and cameraNode.
    virtual void createScene() = 0;
    // Every rendered frame unless the menu is shown over a playable scene.
    virtual void update(const Ogre::FrameEvent& evt) = 0;
    // True asks the application to replace this scene by the next one.
    virtual bool isFinished();
    virtual void setFinished(bool value);
    // True while the picture is dark and the scene is about to finish: the
    // application prepares the next scene in these frames.
    virtual bool isEnding() const { return false; }
    // When the application's tick timer passed 50 ms; elapsedMs is its reading.
    virtual void tick(int elapsedMs);

    // What the menu leaves of the input (app/InputChain.h): held keys and
    // the left button, Escape asks for the menu, and the camera man gets
    // the rest. All return true.
    bool mouseMoved(const OIS::MouseEvent& evt) override;
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;
    bool mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override;
    bool keyPressed(const OIS::KeyEvent& evt) override;
    bool keyReleased(const OIS::KeyEvent& evt) override;

    // The menu the scene pauses under (Escape, or the window losing the
    // focus in play): the in-game menu unless the scene has another.
    virtual Mossden::MenuMode pauseMenu() const { return Mossden::MenuMode::InGame; }
    // The menu has just opened over the scene: hide what must not show
    // through it.
    virtual void menuOpened() {}

    // A turn of the player's view from any look device (mouse, gamepad),
    // already scaled by the player's look options. Each scene turns its own
    // view and ignores the turn where its phase allows no look; the default
    // turns nothing.
    virtual void applyLook(const Mossden::LookStep& step);
    // The player's look options as they are now (the menu changes them live).
    Mossden::LookOptions currentLookOptions() const;

    // Sets how much the scene draws for the player's quality level: called
    // by the application once the scene is built and whenever the level
    // changes, so a scene goes from any level to any other. The default
    // moves the meshes' coarser levels of detail nearer on lower levels;
    // scenes that override it call it too.
    virtual void applyQuality(Mossden::Settings::Quality quality);

    // Builders for the paths and starters a scene reads from its "custom"
    // element (inside loadCustom). Track and spline coordinates are whole
    // numbers (the integer reader). A null parent reads as one without
    // the child.

    // createTrack(parent, name, name).
    Ogre::SceneNode* createTrack(const TiXmlElement* parent, const std::string& name);
    // A new unnamed child of the root node moved by node track 0 of a new
    // animation animationName (the scene manager owns both), keyed from the
    // "translate" children of the first elementName child of parent. Null,
    // with a line on standard output, when there is no such child. Playing
    // the animation is the caller's business.
    Ogre::SceneNode* createTrack(const TiXmlElement* parent, const std::string& elementName,
                                 const std::string& animationName);
    // A spline through the "point" children of the first childName child
    // (empty when there is none).
    std::unique_ptr<Ogre::SimpleSpline> loadSpline(const TiXmlElement* parent,
                                                   const std::string& childName);
    // A starter for the "start" children of element; null for a null element.
    // The named entities must exist (the engine throws otherwise).
    std::unique_ptr<AnimationStarter> loadAnimationStarter(const TiXmlElement* element);

protected:
    Mossden::SceneServices& services;
    int cameraSpeed = 0;  // from the scene file's "cameraSpeed"; 0 when it has none
    Ogre::SceneNode* cameraNode = nullptr;
    Ogre::Camera* camera = nullptr;
    OgreBites::CameraMan* cameraMan;
    std::set<OIS::KeyCode> heldKeys;
    bool finished = false;
    bool leftButtonDown = false;      // tracked only while the menu is hidden
    bool cameraKeysDisabled = false;  // keys still enter heldKeys but skip the camera man
};

#endif
