#include "scene/MossdenScene.h"

#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <tinyxml.h>

#include "app/MossdenApp.h"
#include "scene/CameraManInput.h"

namespace {

// Fog settings that make a material ignore the scene's fog.
constexpr Ogre::Real NO_FOG_DENSITY = 0.001f;
constexpr Ogre::Real NO_FOG_START = 0;
constexpr Ogre::Real NO_FOG_END = 1;

constexpr int MENU_START_MODE = 0;
constexpr int MENU_GAME_MODE = 1;

void logLine(const std::string& text) {
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr()) log->logMessage(text);
}

}  // namespace

MossdenScene::MossdenScene(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan)
    : CDotScene(sceneManager), cameraMan(cameraMan) {}

MossdenScene::~MossdenScene() = default;

void MossdenScene::loadCustom(TiXmlElement* element) {
    if (!element) return;  // nothing to read: every key is optional
    if (const TiXmlElement* speed = element->FirstChildElement("cameraSpeed"))
        cameraSpeed = readIntAttribute("value", speed);
    const TiXmlElement* disableFog = element->FirstChildElement("disableFog");
    if (!disableFog) return;
    for (const TiXmlElement* m = disableFog->FirstChildElement("material"); m;
         m = m->NextSiblingElement("material")) {
        const std::string name = readStringAttribute("name", m);
        Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
        Ogre::Technique* technique =
            material && material->getNumTechniques() > 0 ? material->getTechnique(0) : nullptr;
        if (!technique || technique->getNumPasses() == 0) {
            logLine("[dotSceneLoader] " + sceneFileName + " line " + std::to_string(m->Row()) +
                    ": <disableFog> names material \"" + name +
                    "\", which does not exist or has no pass; skipped");
            continue;
        }
        technique->getPass(0)->setFog(true, Ogre::FOG_NONE, Ogre::ColourValue::White,
                                      NO_FOG_DENSITY, NO_FOG_START, NO_FOG_END);
    }
}

bool MossdenScene::isFinished() { return finished; }

void MossdenScene::setFinished(bool value) { finished = value; }

void MossdenScene::tick(int) {}

bool MossdenScene::mouseMoved(const OIS::MouseEvent& evt) {
    Mossden::MossdenMenu& menu = Mossden::MossdenApp::getInstance().menu;
    if (menu.visible) {
        menu.moveCursor(evt.state.X.abs, evt.state.Y.abs);
        menu.mouseMoved(static_cast<Ogre::Real>(evt.state.X.rel));
    }
    if (cameraMan) injectMouseMove(*cameraMan, evt);
    return true;
}

bool MossdenScene::mousePressed(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    Mossden::MossdenMenu& menu = Mossden::MossdenApp::getInstance().menu;
    if (menu.visible) {
        menu.mousePressed(static_cast<Ogre::Real>(evt.state.X.abs),
                          static_cast<Ogre::Real>(evt.state.Y.abs));
        return true;
    }
    if (cameraMan) injectMouseDown(*cameraMan, evt, id);
    if (id == OIS::MB_Left) leftButtonDown = true;
    return true;
}

bool MossdenScene::mouseReleased(const OIS::MouseEvent& evt, OIS::MouseButtonID id) {
    Mossden::MossdenMenu& menu = Mossden::MossdenApp::getInstance().menu;
    if (menu.visible) {
        if (id == OIS::MB_Left)
            menu.mouseReleased(static_cast<Ogre::Real>(evt.state.X.abs),
                               static_cast<Ogre::Real>(evt.state.Y.abs));
        return true;
    }
    if (cameraMan) injectMouseUp(*cameraMan, evt, id);
    if (id == OIS::MB_Left) leftButtonDown = false;
    return true;
}

bool MossdenScene::keyPressed(const OIS::KeyEvent& evt) {
    Mossden::MossdenApp& app = Mossden::MossdenApp::getInstance();
    Mossden::MossdenMenu& menu = app.menu;
    heldKeys.insert(evt.key);
    if (menu.visible) {
        // The start menu stays until the player starts.
        if (evt.key == OIS::KC_ESCAPE && menu.mode != MENU_START_MODE) menu.hide();
    } else if (evt.key == OIS::KC_ESCAPE) {
        menu.show(MENU_GAME_MODE);
        if (app.mouse) {
            const OIS::MouseState& state = app.mouse->getMouseState();
            menu.moveCursor(state.X.abs, state.Y.abs);
        }
    }
    if (!cameraKeysDisabled && cameraMan) injectKeyDown(*cameraMan, evt);
    return true;
}

bool MossdenScene::keyReleased(const OIS::KeyEvent& evt) {
    heldKeys.erase(evt.key);
    if (!cameraKeysDisabled && cameraMan) injectKeyUp(*cameraMan, evt);
    return true;
}
