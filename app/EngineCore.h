#ifndef MOSSDEN_APP_ENGINECORE_H
#define MOSSDEN_APP_ENGINECORE_H

// The engine's own singletons, created in the order the engine needs and
// destroyed in reverse by member order: the overlay system before the root
// (a text area holds its font, and a font released after the root's
// shutdown removes a texture that is gone), the root (which shuts down and
// destroys the auto-created window) before our log manager.
#include <memory>
#include <string>

namespace Ogre {
class LogManager;
class OverlaySystem;
class Root;
class SceneManager;
}  // namespace Ogre

namespace Mossden {

class EngineCore {
public:
    // Our own log manager (unless one exists) keeps the engine log out of
    // standard output; the overlay system must exist before the resource
    // groups are parsed, so it comes with the root.
    EngineCore(const std::string& pluginsCfgPath, const std::string& ogreCfgPath);
    ~EngineCore();
    EngineCore(const EngineCore&) = delete;
    EngineCore& operator=(const EngineCore&) = delete;

    Ogre::Root& root() const { return *rootObject; }
    Ogre::OverlaySystem& overlaySystem() const { return *overlays; }
    // Feeds the overlays into the scene manager's rendering; undone on
    // destruction.
    void attachOverlays(Ogre::SceneManager* sceneManager);

private:
    std::unique_ptr<Ogre::LogManager> logManager;  // null when someone else made one
    std::unique_ptr<Ogre::Root> rootObject;
    std::unique_ptr<Ogre::OverlaySystem> overlays;
    Ogre::SceneManager* overlaidManager = nullptr;
};

}  // namespace Mossden

#endif
