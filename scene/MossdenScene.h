#ifndef MOSSDEN_SCENE_MOSSDENSCENE_H
#define MOSSDEN_SCENE_MOSSDENSCENE_H

// PLACEHOLDER interface until the scene base lands: the hooks the
// application drives, with the OIS listener parts.
#include <OIS.h>
#include <OgreFrameListener.h>

#include <set>

#include "scene/CDotScene.h"

namespace OgreBites {
class CameraMan;
}

class MossdenScene : public CDotScene, public OIS::MouseListener, public OIS::KeyListener {
public:
    MossdenScene(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan)
        : CDotScene(sceneManager), cameraMan(cameraMan) {}
    ~MossdenScene() override = default;

    virtual void createScene() = 0;
    virtual void update(const Ogre::FrameEvent& evt) = 0;
    virtual bool isFinished() { return finished; }
    virtual void setFinished(bool value) { finished = value; }
    virtual void tick(int elapsedMs) {}

    bool mouseMoved(const OIS::MouseEvent& evt) override { return true; }
    bool mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override { return true; }
    bool mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) override { return true; }
    bool keyPressed(const OIS::KeyEvent& evt) override { return true; }
    bool keyReleased(const OIS::KeyEvent& evt) override { return true; }

protected:
    int cameraSpeed = 0;
    Ogre::SceneNode* cameraNode = nullptr;
    Ogre::Camera* camera = nullptr;
    OgreBites::CameraMan* cameraMan = nullptr;
    std::set<OIS::KeyCode> heldKeys;
    bool finished = false;
    bool leftButtonDown = false;
    bool cameraKeysDisabled = false;
};

#endif
