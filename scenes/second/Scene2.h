#ifndef MOSSDEN_SCENES_SECOND_SCENE2_H
#define MOSSDEN_SCENES_SECOND_SCENE2_H

#include "scene/MossdenScene.h"

// Adds the world of "second_scene.xml" (the tunnel below the moss world) to
// the first scene's world, on the same scene manager. Built beside
// Mossden::Scene1; never current, so it gets no frames, ticks or input.
class Scene2 : public MossdenScene {
public:
    static constexpr const char* SCENE_FILE = "second_scene.xml";  // the tunnel
    Scene2(Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan,
           Mossden::SceneServices& services);

    void loadCustom(TiXmlElement* element) override;
    void createScene() override;
    void update(const Ogre::FrameEvent& evt) override {}
};

#endif
