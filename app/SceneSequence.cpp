#include "app/SceneSequence.h"

#include "menu/SceneMenu.h"
#include "scene/MossdenScene.h"
#include "scenes/first/Scene1.h"
#include "scenes/second/Scene2.h"
#include "scenes/third/FieldSounds.h"
#include "scenes/third/Scene3.h"

namespace Mossden {

SceneSequence::SceneSequence() = default;

SceneSequence::~SceneSequence() { clear(); }

MossdenScene* SceneSequence::build(int index, Ogre::SceneManager* sceneManager,
                                   OgreBites::CameraMan* cameraMan, SceneServices& services) {
    auto& slot = slots.at(static_cast<std::size_t>(index));
    const SceneName name = nameAt(index);
    switch (name) {
    case SceneName::StartMenu: slot = std::make_unique<SceneMenu>(sceneManager, cameraMan, services); break;
    case SceneName::MossWorld: slot = std::make_unique<Scene1>(sceneManager, cameraMan, services); break;
    case SceneName::AsteroidField: slot = std::make_unique<Scene3>(sceneManager, cameraMan, services); break;
    }
    currentScene = slot.get();
    currentScene->createScene();
    if (name == SceneName::MossWorld) {
        // The tunnel's file adds to the first scene's world; it is never
        // current and leaves with the first scene.
        slots[TUNNEL_SLOT] = std::make_unique<Scene2>(sceneManager, cameraMan, services);
        slots[TUNNEL_SLOT]->createScene();
    }
    return currentScene;
}

SceneNeeds SceneSequence::needs(int index) {
    // The first scene with its tunnel is prepared while the start menu waits
    // for the player; the field while the first scene ends in the dark.
    if (index < 0 || index > LAST_INDEX) return {};
    switch (nameAt(index)) {
    case SceneName::StartMenu: return {};
    case SceneName::MossWorld: return {{Scene1::SCENE_FILE, Scene2::SCENE_FILE}, {Scene1::MUSIC}};
    case SceneName::AsteroidField: return {{Scene3::SCENE_FILE}, {FieldSounds::ALL.begin(), FieldSounds::ALL.end()}};
    }
    return {};
}

void SceneSequence::clear() {
    for (auto& slot : slots)
        if (slot.get() != currentScene) slot.reset();
    for (auto& slot : slots) slot.reset();
    currentScene = nullptr;
}

std::unique_ptr<MossdenScene> SceneSequence::install(int slot, std::unique_ptr<MossdenScene> scene) {
    auto& held = slots.at(static_cast<std::size_t>(slot));
    std::unique_ptr<MossdenScene> previous = std::move(held);
    held = std::move(scene);
    if (previous.get() == currentScene || held) currentScene = held.get();
    return previous;
}

int SceneSequence::currentSlot() const {
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (currentScene && slots[i].get() == currentScene) return static_cast<int>(i);
    return -1;
}

}  // namespace Mossden
