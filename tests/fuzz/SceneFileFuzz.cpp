// Scene files through the loader on the real engine with the game's GL
// render system and a hidden 1x1 window (on the X display, Xvfb under make
// fuzz): without a render system the engine crashes on a stencil shadow
// technique. Nodes, lights, cameras, billboard sets and the scene settings
// are built as in the game. The resource group holds no meshes and no
// particle templates, so an entity or a particle system fails as a missing
// file does in the game: with an engine exception, which the game takes to
// its fatal-error path. Any other way out (a signal, a sanitizer report, a
// hang) is a fault. Each input gets a scene manager of its own.
#include <Ogre.h>

#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>

#include "app/EnginePlugins.h"
#include "scene/CDotScene.h"
#include "tests/fuzz/ScratchFolder.h"

namespace {

const char* const GROUP = "Fuzz";
const char* const FILE_NAME = "fuzz_scene.xml";

class Engine {
public:
    Engine() {
        // The log exists before the root so that the root writes no file.
        logs.createLog("fuzz.log", true, false, true);
        root = std::make_unique<Ogre::Root>("", "", "");
        Mossden::loadEnginePlugins(
            *root, {(std::filesystem::path(Mossden::enginePluginFolder()) / "RenderSystem_GL")
                        .string()});
        root->setRenderSystem(root->getAvailableRenderers().front());
        root->initialise(false);
        Ogre::NameValuePairList hidden{{"hidden", "true"}};
        root->createRenderWindow("fuzz", 1, 1, false, &hidden);
        write(nullptr, 0);  // the file must exist when the group is indexed
        auto& groups = Ogre::ResourceGroupManager::getSingleton();
        groups.addResourceLocation(folder.path.string(), "FileSystem", GROUP);
        groups.initialiseResourceGroup(GROUP);
    }
    void write(const uint8_t* data, size_t size) const { folder.write(FILE_NAME, data, size); }

    Ogre::Root& getRoot() const { return *root; }

private:
    // Destroyed from the root up: the root still logs, the folder goes last.
    Mossden::Fuzz::ScratchFolder folder;
    Ogre::LogManager logs;
    std::unique_ptr<Ogre::Root> root;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Engine engine;
    engine.write(data, size);
    Ogre::SceneManager* manager = engine.getRoot().createSceneManager();
    {
        CDotScene scene(manager);
        try {
            scene.loadSceneFile(FILE_NAME, GROUP, manager);
        } catch (const std::exception&) {
            // the game's fatal-error path
        }
    }
    engine.getRoot().destroySceneManager(manager);
    return 0;
}
