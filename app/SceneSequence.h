#ifndef MOSSDEN_APP_SCENESEQUENCE_H
#define MOSSDEN_APP_SCENESEQUENCE_H

// The scenes of the game in their order, by name, and who owns them: the
// start menu, the moss world (the first scene together with the tunnel
// scene, built on the same scene manager, so its file adds to the first
// scene's world, and released with it), and the asteroid field, listed
// twice so that the positions stay the numbers the command line takes
// (0 to 3). The sequence owns every scene it holds; one of them is the
// current one.
#include <array>
#include <memory>
#include <string>
#include <vector>

class MossdenScene;
namespace Ogre {
class SceneManager;
}
namespace OgreBites {
class CameraMan;
}

namespace Mossden {

class SceneServices;

// What the scene of an index loads that takes long enough to prepare ahead:
// its scene files' media and its long sounds.
struct SceneNeeds {
    std::vector<std::string> sceneFiles, sounds;
};

enum class SceneName { StartMenu, MossWorld, AsteroidField };

class SceneSequence {
public:
    static constexpr std::array<SceneName, 4> ORDER = {SceneName::StartMenu, SceneName::MossWorld,
                                                       SceneName::AsteroidField, SceneName::AsteroidField};
    static constexpr int LAST_INDEX = static_cast<int>(ORDER.size()) - 1;
    // The scene at a position of ORDER (0..LAST_INDEX).
    static constexpr SceneName nameAt(int index) { return ORDER.at(static_cast<std::size_t>(index)); }
    // The first position of a scene in ORDER.
    static constexpr int indexOf(SceneName name) {
        for (std::size_t i = 0; i < ORDER.size(); ++i)
            if (ORDER[i] == name) return static_cast<int>(i);
        return -1;
    }
    // Whether the scene at `index` is one the player plays in (not the start
    // menu); false for a position outside ORDER.
    static constexpr bool playable(int index) {
        return index >= 0 && index <= LAST_INDEX && nameAt(index) != SceneName::StartMenu;
    }
    static constexpr int TUNNEL_SLOT = 2;  // where the tunnel scene waits while the first runs

    SceneSequence();
    ~SceneSequence();
    SceneSequence(const SceneSequence&) = delete;
    SceneSequence& operator=(const SceneSequence&) = delete;

    // Builds the scene (or scenes) of `index` (0..LAST_INDEX) and calls
    // their createScene; the new scene is current. Call clear() first.
    MossdenScene* build(int index, Ogre::SceneManager* sceneManager, OgreBites::CameraMan* cameraMan,
                        SceneServices& services);
    static SceneNeeds needs(int index);
    // Releases every scene, the current one last.
    void clear();

    MossdenScene* current() const { return currentScene; }
    MossdenScene* operator[](int slot) const { return slots.at(static_cast<std::size_t>(slot)).get(); }

    // Tests: puts a scene of their own into `slot` and makes it current
    // (null leaves no current scene); returns what the slot held.
    std::unique_ptr<MossdenScene> install(int slot, std::unique_ptr<MossdenScene> scene);
    // Tests: makes the scene in `slot` current again.
    void makeCurrent(int slot) { currentScene = (*this)[slot]; }
    // The slot of the current scene, -1 without one.
    int currentSlot() const;

private:
    std::array<std::unique_ptr<MossdenScene>, LAST_INDEX + 1> slots;
    MossdenScene* currentScene = nullptr;
};

}  // namespace Mossden

#endif
