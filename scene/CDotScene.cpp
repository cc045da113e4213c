#include "scene/CDotScene.h"

#include "scene/SkyMesh.h"

#include <OgreBillboard.h>
#include <OgreBillboardSet.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreLogManager.h>
#include <OgreMatrix3.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreParticleSystem.h>
#include <OgreRenderQueue.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreStringConverter.h>
#include <OgreSubEntity.h>
#include <OgreSubMesh.h>
#include <tinyxml.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <exception>
#include <iostream>
#include <limits>
#include <memory>

namespace {

constexpr size_t BILLBOARD_POOL_SIZE = 20;

// Largest magnitude accepted for a number in a scene file, and for an entry
// of a node's world transform. The engine asserts on NaN positions and on
// bounding boxes whose corners overflowed (inf - inf); 1e15 leaves room for
// meshes far larger than any we make before a float overflows.
constexpr Ogre::Real MAX_MAGNITUDE = 1e15f;
// Shorter quaternions cannot be normalised into a rotation.
constexpr Ogre::Real MIN_QUATERNION_NORM = 1e-6f;

bool usable(Ogre::Real value) { return std::isfinite(value) && std::fabs(value) <= MAX_MAGNITUDE; }

bool usableTransform(const Ogre::Affine3& m) {
    for (size_t row = 0; row < 3; ++row)
        for (size_t column = 0; column < 4; ++column)
            if (!usable(m[row][column])) return false;
    return true;
}

void logLine(const std::string& text) {
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr()) log->logMessage(text);
}

const TiXmlElement* child(const TiXmlElement* element, const char* name) {
    return element ? element->FirstChildElement(name) : nullptr;
}

Ogre::Vector3 readXyz(const TiXmlElement* element) {
    return Ogre::Vector3(readRealAttribute("x", element), readRealAttribute("y", element),
                         readRealAttribute("z", element));
}

Ogre::ColourValue readRgb(const TiXmlElement* element) {
    return Ogre::ColourValue(readRealAttribute("r", element), readRealAttribute("g", element),
                             readRealAttribute("b", element), 1);
}

// "Switched on first; exactly "false" switches it off": absent means on.
bool notFalse(const TiXmlElement* element, const char* name) {
    const char* text = element->Attribute(name);
    return !text || std::strcmp(text, "false") != 0;
}

// Engine shadow-technique codes of the "technique" texts; -1 for others.
int shadowTechniqueCode(const std::string& technique) {
    if (technique == "NONE") return Ogre::SHADOWTYPE_NONE;
    if (technique == "TEXTURE_MODULATIVE") return Ogre::SHADOWTYPE_TEXTURE_MODULATIVE;
    if (technique == "STENCIL_MODULATIVE") return Ogre::SHADOWTYPE_STENCIL_MODULATIVE;
    if (technique == "STENCIL_ADDITIVE") return Ogre::SHADOWTYPE_STENCIL_ADDITIVE;
    return -1;
}

}  // namespace

CDotScene::CDotScene(Ogre::SceneManager* sceneManager) : sceneManager(sceneManager) {}

CDotScene::~CDotScene() = default;

void CDotScene::loadCustom(TiXmlElement*) {}

void CDotScene::loadAuto(TiXmlElement*) {}


void CDotScene::logElement(const TiXmlElement* element, const std::string& text) const {
    logLine("[dotSceneLoader] " + sceneFileName + " line " + std::to_string(element->Row()) +
            ": <" + element->ValueStr() + "> " + text);
}

void CDotScene::logSkipped(const TiXmlElement* element, const std::string& why) const {
    logElement(element, why + "; element skipped");
}

bool CDotScene::hasAttributes(const TiXmlElement* element,
                              std::initializer_list<const char*> names) const {
    for (const char* name : names) {
        if (!element->Attribute(name)) {
            logSkipped(element, std::string("has no \"") + name + "\"");
            return false;
        }
    }
    return true;
}

bool CDotScene::nameTaken(const TiXmlElement* element, const Ogre::SceneNode* node,
                          const std::string& name) const {
    for (const Ogre::MovableObject* object : node->getAttachedObjects()) {
        if (object->getName() == name) {
            logSkipped(element, "is named \"" + name + "\" like another object of its node");
            return true;
        }
    }
    return false;
}

bool CDotScene::hasNumbers(const TiXmlElement* element, std::initializer_list<const char*> names,
                           bool required) const {
    for (const char* name : names) {
        const char* text = element->Attribute(name);
        if (!text) {
            if (!required) continue;
            logSkipped(element, std::string("has no \"") + name + "\"");
            return false;
        }
        if (!usable(readRealAttribute(name, element))) {
            logSkipped(element, std::string("has \"") + name + "\" = \"" + text +
                                    "\", not a number within +-1e15");
            return false;
        }
    }
    return true;
}

bool CDotScene::loadSceneFile(const std::string& fileName, const std::string& groupName,
                              Ogre::SceneManager* sceneManager, std::string nodePrefix) {
    sceneFileName = fileName;
    loadFailure.clear();
    this->groupName = groupName;
    this->nodePrefix = std::move(nodePrefix);
    this->sceneManager = sceneManager;

    TiXmlDocument document;
    std::string text;
    try {
        Ogre::DataStreamPtr stream =
            Ogre::ResourceGroupManager::getSingleton().openResource(fileName, groupName);
        text = stream->getAsString();
        stream->close();
    } catch (const std::exception& e) {
        logLine("[dotSceneLoader] Error creating TiXmlDocument");
        loadFailure = fileName + ": " + e.what();
        logLine("[dotSceneLoader] " + loadFailure);
        return false;
    }
    if (xmlNestingDepth(text) > maxSceneFileDepth) {
        logLine("[dotSceneLoader] The TiXmlDocument reported an error");
        loadFailure = fileName + ": elements nested deeper than " + std::to_string(maxSceneFileDepth) + " levels";
        logLine("[dotSceneLoader] " + loadFailure);
        return false;
    }
    document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    if (document.Error()) {
        logLine("[dotSceneLoader] The TiXmlDocument reported an error");
        loadFailure = fileName + " line " + std::to_string(document.ErrorRow()) + ": " + document.ErrorDesc();
        logLine("[dotSceneLoader] " + loadFailure);
        return false;
    }
    TiXmlElement* root = document.RootElement();
    if (!root || root->ValueStr() != "scene") {
        logLine("[dotSceneLoader]Error: Invalid .scene File. Missing <scene>");
        loadFailure = fileName + ": the root element is not <scene>";
        return false;
    }

    Ogre::SceneNode* rootNode = sceneManager->getRootSceneNode();
    if (const TiXmlElement* nodes = child(root, "nodes")) loadNodes(child(nodes, "node"), rootNode);

    if (const TiXmlElement* config = child(root, "config")) {
        loadConfig(config);
    } else {
        logLine("[dotSceneLoader] " + sceneFileName +
                ": no <config>; ambient light, shadows, sky box and fog unchanged");
        fogEnabled = false;
    }

    loadCustom(root->FirstChildElement("custom"));
    if (TiXmlElement* autoElement = root->FirstChildElement("auto")) loadAuto(autoElement);
    return true;
}

void CDotScene::loadPlayableSceneFile(const std::string& fileName, const std::string& groupName,
                                      Ogre::SceneManager* sceneManager) {
    if (!loadSceneFile(fileName, groupName, sceneManager, ""))
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "Cannot play scene file " + loadFailure,
                    "CDotScene::loadPlayableSceneFile");
}

void CDotScene::loadNodes(const TiXmlElement* element, Ogre::SceneNode* parent) {
    for (; element; element = element->NextSiblingElement("node")) loadNode(element, parent);
}

void CDotScene::loadNode(const TiXmlElement* element, Ogre::SceneNode* parent) {
    if (!hasAttributes(element, {"name"})) return;  // and its whole subtree
    const std::string fullName = nodePrefix + element->Attribute("name");
    Ogre::SceneNode* node = parent->createChildSceneNode(fullName);

    if (const TiXmlElement* e = child(element, "position")) {
        if (hasNumbers(e, {"x", "y", "z"}, true)) node->setPosition(readXyz(e));
    }
    if (const TiXmlElement* e = child(element, "rotation")) {
        if (hasNumbers(e, {"qx", "qy", "qz", "qw"}, true)) {
            const Ogre::Quaternion q(readRealAttribute("qw", e), readRealAttribute("qx", e),
                                     readRealAttribute("qy", e), readRealAttribute("qz", e));
            if (q.Norm() >= MIN_QUATERNION_NORM)
                node->setOrientation(q);
            else
                logSkipped(e, "is not a rotation (zero quaternion)");
        }
    }
    if (const TiXmlElement* e = child(element, "angleRotation")) {
        if (hasNumbers(e, {"x", "y", "z"}, false)) {
            // Yaw about Y, then pitch about X, then roll about Z (Ry * Rx * Rz).
            Ogre::Matrix3 rotation;
            rotation.FromEulerAnglesYXZ(Ogre::Degree(readRealAttribute("y", e)),
                                        Ogre::Degree(readRealAttribute("x", e)),
                                        Ogre::Degree(readRealAttribute("z", e)));
            node->setOrientation(Ogre::Quaternion(rotation));
        }
    }
    if (const TiXmlElement* e = child(element, "scale")) {
        if (hasNumbers(e, {"x", "y", "z"}, true)) node->setScale(readXyz(e));
    }
    // Scales multiply down the tree: a deep chain of large ones overflows.
    if (!usableTransform(node->_getFullTransform())) {
        logElement(element,
                   "would have a world transform beyond +-1e15; its position, "
                   "rotation and scale are ignored");
        node->setPosition(Ogre::Vector3::ZERO);
        node->setOrientation(Ogre::Quaternion::IDENTITY);
        node->setScale(Ogre::Vector3::UNIT_SCALE);
    }
    if (const TiXmlElement* e = child(element, "light")) {
        if (!nameTaken(e, node, readStringAttribute("name", e)))
            if (Ogre::Light* light = loadLight(e, sceneManager)) node->attachObject(light);
    }
    if (const TiXmlElement* e = child(element, "entity")) loadEntity(e, node);
    if (const TiXmlElement* e = child(element, "billboardSet")) loadBillboardSet(e, node);
    if (const TiXmlElement* e = child(element, "userData")) loadUserData(e, node);
    if (const TiXmlElement* e = child(element, "camera")) loadCamera(e, node);
    for (const TiXmlElement* e = child(element, "particleSystem"); e;
         e = e->NextSiblingElement("particleSystem"))
        loadParticleSystem(e, node);
    loadNodes(child(element, "node"), node);
}

Ogre::Light* CDotScene::loadLight(const TiXmlElement* element, Ogre::SceneManager* manager) {
    if (!hasAttributes(element, {"name"})) return nullptr;
    Ogre::Light* light = manager->createLight(element->Attribute("name"));

    if (const char* type = element->Attribute("type")) {
        const std::string t = type;
        if (t == "point" || t == "radPoint")
            light->setType(Ogre::Light::LT_POINT);
        else if (t == "directional")
            light->setType(Ogre::Light::LT_DIRECTIONAL);
        else if (t == "spot")
            light->setType(Ogre::Light::LT_SPOTLIGHT);
        // any other text keeps the type the engine gave the new light
    } else {
        light->setType(Ogre::Light::LT_POINT);
    }

    if (const TiXmlElement* e = child(element, "colourDiffuse")) {
        if (hasNumbers(e, {"r", "g", "b"}, true)) light->setDiffuseColour(readRgb(e));
    }
    if (const TiXmlElement* e = child(element, "colourSpecular")) {
        if (hasNumbers(e, {"r", "g", "b"}, true)) light->setSpecularColour(readRgb(e));
    }
    const TiXmlElement* attenuation = child(element, "lightAttenuation");
    if (attenuation &&
        hasNumbers(attenuation, {"range", "constant", "linear", "quadratic"}, false)) {
        const TiXmlElement* e = attenuation;
        auto valueOr = [e](const char* name, Ogre::Real current) {
            return e->Attribute(name) ? readRealAttribute(name, e) : current;
        };
        light->setAttenuation(valueOr("range", light->getAttenuationRange()),
                              valueOr("constant", light->getAttenuationConstant()),
                              valueOr("linear", light->getAttenuationLinear()),
                              valueOr("quadratic", light->getAttenuationQuadric()));
    }
    if (const TiXmlElement* e = child(element, "position")) {
        if (hasNumbers(e, {"x", "y", "z"}, false)) light->setPosition(readXyz(e));
    }
    light->setCastShadows(notFalse(element, "castShadows"));
    light->setVisible(notFalse(element, "visible"));
    return light;
}

void CDotScene::loadEntity(const TiXmlElement* element, Ogre::SceneNode* node) {
    if (!hasAttributes(element, {"name", "meshFile"}) ||
        nameTaken(element, node, element->Attribute("name")))
        return;
    const std::string meshFile = element->Attribute("meshFile");
    Ogre::Entity* entity = sceneManager->createEntity(element->Attribute("name"), meshFile);

    entity->setCastShadows(notFalse(element, "castShadows"));

    // The engine keeps one slot per group up to RENDER_QUEUE_MAX and indexes
    // them without checking: a larger id would write past that table.
    const int queue = readIntAttribute("renderQueueGroup", element);
    if (queue >= 0 && queue <= Ogre::RENDER_QUEUE_MAX)
        entity->setRenderQueueGroup(static_cast<Ogre::uint8>(queue));
    else
        logElement(element, "renderQueueGroup " + std::to_string(queue) + " is outside 0.." +
                                std::to_string(Ogre::RENDER_QUEUE_MAX) + "; group left unchanged");

    if (const char* material = element->Attribute("materialName"))
        entity->setMaterialName(material);

    if (const char* visible = element->Attribute("visible"))
        entity->setVisible(std::strcmp(visible, "true") == 0);

    if (element->Attribute("buldTanget") && notFalse(element, "buldTanget")) {
        Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(
            meshFile, Ogre::RGN_DEFAULT, Ogre::HardwareBuffer::HBU_DYNAMIC_WRITE_ONLY,
            Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true, true);
        unsigned short source = 0;
        unsigned short destination = 0;
        if (!mesh->suggestTangentVectorBuildParams(Ogre::VES_TANGENT, source, destination))
            mesh->buildTangentVectors(Ogre::VES_TANGENT, source, destination, false, false, false);
    }

    if (const TiXmlElement* subentities = child(element, "subentities")) {
        for (const TiXmlElement* e = child(subentities, "subentity"); e;
             e = e->NextSiblingElement("subentity")) {
            if (!hasAttributes(e, {"index"})) continue;
            // A negative index becomes a huge one, which the engine rejects.
            Ogre::SubEntity* sub = entity->getSubEntity(
                static_cast<size_t>(Ogre::StringConverter::parseInt(e->Attribute("index"))));
            if (const char* material = e->Attribute("materialName")) sub->setMaterialName(material);
        }
    }

    node->attachObject(entity);
}

void CDotScene::loadBillboardSet(const TiXmlElement* element, Ogre::SceneNode* node) {
    if (!hasAttributes(element, {"materialName"}) ||
        !hasNumbers(element, {"width", "height"}, true) ||
        nameTaken(element, node, node->getName()))
        return;
    Ogre::BillboardSet* set =
        sceneManager->createBillboardSet(node->getName(), BILLBOARD_POOL_SIZE);
    set->setMaterialName(element->Attribute("materialName"));
    set->setDefaultDimensions(std::trunc(readRealAttribute("width", element)),
                              std::trunc(readRealAttribute("height", element)));
    set->setVisible(true);
    node->attachObject(set);

    for (const TiXmlElement* b = child(element, "billboard"); b;
         b = b->NextSiblingElement("billboard")) {
        Ogre::Vector3 position = Ogre::Vector3::ZERO;
        Ogre::ColourValue colour = Ogre::ColourValue::White;
        if (const TiXmlElement* e = child(b, "position")) {
            if (hasNumbers(e, {"x", "y", "z"}, true)) position = readXyz(e);
        }
        if (const TiXmlElement* e = child(b, "colourDiffuse")) {
            if (hasNumbers(e, {"r", "g", "b"}, true)) colour = readRgb(e);
        }
        set->createBillboard(position, colour);
    }
}

void CDotScene::loadUserData(const TiXmlElement* element, Ogre::SceneNode* node) {
    for (const TiXmlElement* e = child(element, "property"); e;
         e = e->NextSiblingElement("property")) {
        if (!hasAttributes(e, {"name", "data", "type"})) continue;
        userDataProperties.push_back(
            {node->getName(), e->Attribute("name"), e->Attribute("data"), e->Attribute("type")});
    }
}

void CDotScene::loadCamera(const TiXmlElement* element, Ogre::SceneNode* node) {
    if (!hasAttributes(element, {"name"}) || nameTaken(element, node, element->Attribute("name")))
        return;
    node->attachObject(sceneManager->createCamera(element->Attribute("name")));
}

void CDotScene::loadParticleSystem(const TiXmlElement* element, Ogre::SceneNode* node) {
    if (!hasAttributes(element, {"name", "file"}) ||
        nameTaken(element, node, element->Attribute("name")))
        return;
    node->attachObject(
        sceneManager->createParticleSystem(element->Attribute("name"), element->Attribute("file")));
}

// The sky as a mesh round the camera, drawn first. A sky that cannot be
// made leaves the scene without one, with a line saying why.
void CDotScene::loadSkyMesh(const TiXmlElement* element) {
    if (!hasAttributes(element, {"meshFile"})) return;
    if (sceneManager->hasSceneNode(Mossden::SKY_MESH_NODE) || sceneManager->hasEntity(Mossden::SKY_MESH_ENTITY)) {
        logSkipped(element, "comes after another sky mesh");
        return;
    }
    Ogre::Entity* sky = nullptr;
    try {
        sky = sceneManager->createEntity(Mossden::SKY_MESH_ENTITY, readStringAttribute("meshFile", element));
    } catch (const Ogre::Exception& e) {
        logSkipped(element, "has a mesh that cannot be used (" + e.getDescription() + "); no sky");
        return;
    }
    sky->setCastShadows(false);
    sky->setQueryFlags(0);  // rays through the world's gaps find nothing, as with a sky box
    sky->setRenderQueueGroup(Ogre::RENDER_QUEUE_SKIES_EARLY);
    // Points (stars) come after the surfaces they shine over.
    for (Ogre::SubEntity* part : sky->getSubEntities())
        if (part->getSubMesh()->operationType == Ogre::RenderOperation::OT_POINT_LIST)
            part->setRenderQueueGroup(Ogre::RENDER_QUEUE_SKIES_EARLY + 1);
    sceneManager->getRootSceneNode()->createChildSceneNode(Mossden::SKY_MESH_NODE)->attachObject(sky);
}

void CDotScene::loadConfig(const TiXmlElement* element) {
    if (const TiXmlElement* e = child(element, "ambientLight")) {
        if (hasNumbers(e, {"r", "g", "b"}, true)) {
            ambientColour = readRgb(e);
            sceneManager->setAmbientLight(ambientColour);
        }
    }
    if (const TiXmlElement* e = child(element, "shadow")) {
        if (hasAttributes(e, {"technique"})) {
            const std::string technique = e->Attribute("technique");
            int code = shadowTechniqueCode(technique);
            if (code < 0) {
                std::cout << "[ERROR] Wrong shadow technique: " << technique << std::endl;
                code = Ogre::SHADOWTYPE_NONE;
            }
            shadowTechnique = code;
            sceneManager->setShadowTechnique(static_cast<Ogre::ShadowTechnique>(code));
        }
    }
    if (const TiXmlElement* e = child(element, "skyBox")) {
        Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
        if (const TiXmlElement* r = child(e, "rotation")) {
            if (hasNumbers(r, {"qx", "qy", "qz", "qw"}, false)) {
                const Ogre::Quaternion q(readRealAttribute("qw", r), readRealAttribute("qx", r),
                                         readRealAttribute("qy", r), readRealAttribute("qz", r));
                if (q.Norm() >= MIN_QUATERNION_NORM)
                    orientation = q;
                else
                    logSkipped(r, "is not a rotation (zero quaternion)");
            }
        }
        sceneManager->setSkyBox(true, readStringAttribute("materialName", e),
                                static_cast<Ogre::Real>(readIntAttribute("distance", e)),
                                readBoolAttribute("drawFirst", e), orientation, Ogre::RGN_DEFAULT);
    }
    if (const TiXmlElement* e = child(element, "skyMesh")) loadSkyMesh(e);
    background = Ogre::ColourValue::Black;
    if (const TiXmlElement* e = child(element, "background"))
        if (hasNumbers(e, {"r", "g", "b"}, true)) {
            background = readRgb(e);
            background.saturate();
        }
    const TiXmlElement* fog = child(element, "fog");
    if (fog && !hasNumbers(fog, {"r", "g", "b", "density"}, false)) fog = nullptr;
    if (const TiXmlElement* e = fog) {
        fogColour = readRgb(e);
        fogDensity = readRealAttribute("density", e);
        sceneManager->setFog(Ogre::FOG_EXP2, fogColour, fogDensity, 0, 1);
        fogEnabled = true;
    } else {
        fogEnabled = false;
    }
}
