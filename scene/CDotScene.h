#ifndef MOSSDEN_SCENE_CDOTSCENE_H
#define MOSSDEN_SCENE_CDOTSCENE_H

// The XML scene-file loader (and, through SceneReaders.h, the attribute
// readers every scene uses for its own settings). A scene file builds a tree of scene nodes (entities,
// lights, cameras, billboard sets, particle systems) and the scene-wide
// settings; its "custom" and "auto" elements are handed to hooks that the
// scene classes override.
#include <OgreColourValue.h>
#include <OgrePrerequisites.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "scene/SceneReaders.h"

class TiXmlElement;

// One "property" of a node's "userData", with the full name of that node.
struct UserDataProperty {
    std::string nodeName;
    std::string name;
    std::string data;
    std::string type;
};

// Scene files are data a player may edit. Everything the engine creates
// belongs to the scene manager; the loader keeps no pointer to it. A
// missing required attribute (or a missing "config" element) skips that
// element with one log line naming the file and the element; engine errors
// (unknown mesh, duplicate name) pass to the caller of loadSceneFile.
class CDotScene {
public:
    explicit CDotScene(Ogre::SceneManager* sceneManager);
    CDotScene(const CDotScene&) = delete;
    CDotScene& operator=(const CDotScene&) = delete;
    virtual ~CDotScene();

    // The first "custom" child of the root, or null when the file has none.
    // The element lives only during the call.
    virtual void loadCustom(TiXmlElement* element);
    // The first "auto" child of the root; called only when there is one.
    virtual void loadAuto(TiXmlElement* element);

    // Builds the file (a resource of groupName) in sceneManager, node names
    // prefixed with nodePrefix. Open, parse and root-element failures are
    // logged with the "[dotSceneLoader]" prefix, create nothing and give
    // false (the reason is then in loadFailure).
    bool loadSceneFile(const std::string& fileName, const std::string& groupName,
                       Ogre::SceneManager* sceneManager, std::string nodePrefix = "");
    // loadSceneFile for a scene that cannot be played without its file: a
    // file that cannot be built throws an engine exception naming the file
    // and the reason, which ends the game through its fatal-error path
    // instead of leaving an empty world that never ends.
    void loadPlayableSceneFile(const std::string& fileName, const std::string& groupName,
                               Ogre::SceneManager* sceneManager);

    // The colour behind the scene (its "background" in "config"), where no
    // sky covers it; black when the last file named none.
    const Ogre::ColourValue& backgroundColour() const { return background; }

protected:
    std::vector<UserDataProperty> userDataProperties;  // only grows, one per "property"
    Ogre::SceneManager* sceneManager;                  // replaced by each loadSceneFile
    std::string nodePrefix;
    std::string sceneFileName;
    std::string groupName;
    std::string loadFailure;  // why the last loadSceneFile built nothing
    Ogre::ColourValue ambientColour = Ogre::ColourValue::White;
    int shadowTechnique = -1;  // engine shadow-technique code; -1 until a "shadow" element is read
    Ogre::Real fogDensity = 0;
    Ogre::ColourValue fogColour = Ogre::ColourValue::White;
    bool fogEnabled = false;  // the last file had a "fog" element
    Ogre::ColourValue background = Ogre::ColourValue::Black;

private:
    void loadNodes(const TiXmlElement* element, Ogre::SceneNode* parent);
    void loadNode(const TiXmlElement* element, Ogre::SceneNode* parent);
    Ogre::Light* loadLight(const TiXmlElement* element, Ogre::SceneManager* manager);
    void loadEntity(const TiXmlElement* element, Ogre::SceneNode* node);
    void loadBillboardSet(const TiXmlElement* element, Ogre::SceneNode* node);
    void loadUserData(const TiXmlElement* element, Ogre::SceneNode* node);
    void loadCamera(const TiXmlElement* element, Ogre::SceneNode* node);
    void loadParticleSystem(const TiXmlElement* element, Ogre::SceneNode* node);
    void loadConfig(const TiXmlElement* element);
    void loadSkyMesh(const TiXmlElement* element);

    // False, with one log line naming the file and the element, when one of
    // the attributes is absent.
    bool hasAttributes(const TiXmlElement* element, std::initializer_list<const char*> names) const;
    // True, with one log line, when an object of that name is attached to
    // node already: the engine tells a node's objects apart by name, and two
    // of one name leave one attached to a node that has forgotten it, which
    // crashes when the scene is torn down.
    bool nameTaken(const TiXmlElement* element, const Ogre::SceneNode* node,
                   const std::string& name) const;
    // False, with one log line, when one of the attributes is not a finite
    // number within +-1e15, or is absent and required.
    bool hasNumbers(const TiXmlElement* element, std::initializer_list<const char*> names,
                    bool required) const;
    void logElement(const TiXmlElement* element, const std::string& text) const;
    void logSkipped(const TiXmlElement* element, const std::string& why) const;
};

#endif
