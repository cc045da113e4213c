#ifndef MOSSDEN_SCENE_CDOTSCENE_H
#define MOSSDEN_SCENE_CDOTSCENE_H

// PLACEHOLDER interface until the scene-file loader lands.
#include <OgrePrerequisites.h>

#include <string>

class TiXmlElement;

class CDotScene {
public:
    explicit CDotScene(Ogre::SceneManager* sceneManager) : sceneManager(sceneManager) {}
    virtual ~CDotScene() = default;
    virtual void loadCustom(TiXmlElement* element) {}
    virtual void loadAuto(TiXmlElement* element) {}
    virtual TiXmlElement* saveAuto() { return nullptr; }

protected:
    Ogre::SceneManager* sceneManager;
};

#endif
