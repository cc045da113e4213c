#ifndef MOSSDEN_TESTS_ENGINE_SCENETESTSUPPORT_H
#define MOSSDEN_TESTS_ENGINE_SCENETESTSUPPORT_H

// Shared pieces for the scene-framework engine tests: scene files written to
// a private resource group, a private scene manager (so the application's
// own scene is never touched), meshes built in code, a log capture, and a
// scene class that exposes the base's state and records its hooks.
#include <Ogre.h>
#include <OgreLog.h>
#include <gtest/gtest.h>
#include <tinyxml.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "scene/MossdenScene.h"
#include "tests/engine/EngineEnvironment.h"

namespace SceneTest {

inline const char* const GROUP = "SceneFrameworkTests";

// Scene files in a temporary folder that is a location of GROUP.
class SceneFiles {
public:
    static SceneFiles& instance() {
        static SceneFiles files;
        return files;
    }
    // Writes (or replaces) a file and returns its resource name.
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        // The location is indexed when added: add it again to see new files.
        auto& rgm = Ogre::ResourceGroupManager::getSingleton();
        rgm.removeResourceLocation(dir.string(), GROUP);
        rgm.addResourceLocation(dir.string(), "FileSystem", GROUP);
        return name;
    }
    ~SceneFiles() { std::filesystem::remove_all(dir); }

private:
    SceneFiles() {
        dir = std::filesystem::temp_directory_path() /
              ("mossden-scene-tests-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(dir.string(), "FileSystem",
                                                                       GROUP);
    }
    std::filesystem::path dir;
};

// A scene manager of our own, destroyed with everything in it.
class PrivateSceneManager {
public:
    PrivateSceneManager() : manager(Mossden::Test::app().root->createSceneManager()) {}
    ~PrivateSceneManager() { Mossden::Test::app().root->destroySceneManager(manager); }
    PrivateSceneManager(const PrivateSceneManager&) = delete;
    PrivateSceneManager& operator=(const PrivateSceneManager&) = delete;
    Ogre::SceneManager* operator->() const { return manager; }
    Ogre::SceneManager* get() const { return manager; }

private:
    Ogre::SceneManager* manager;
};

// Collects the lines written to the engine log while it exists.
class LogCapture : public Ogre::LogListener {
public:
    LogCapture() { Ogre::LogManager::getSingleton().getDefaultLog()->addListener(this); }
    ~LogCapture() override {
        Ogre::LogManager::getSingleton().getDefaultLog()->removeListener(this);
    }
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool,
                       const Ogre::String&, bool&) override {
        lines.push_back(message);
    }
    bool has(const std::string& line) const {
        for (const auto& l : lines)
            if (l == line) return true;
        return false;
    }
    int countContaining(const std::string& part) const {
        int n = 0;
        for (const auto& l : lines)
            if (l.find(part) != std::string::npos) ++n;
        return n;
    }
    std::string all() const {
        std::string text;
        for (const auto& l : lines) text += l + "\n";
        return text;
    }
    std::vector<std::string> lines;
};

inline void ensureMaterial(const std::string& name) {
    auto& mm = Ogre::MaterialManager::getSingleton();
    if (!mm.resourceExists(name, Ogre::RGN_DEFAULT)) mm.create(name, Ogre::RGN_DEFAULT);
}

inline void ensureParticleTemplate(const std::string& name) {
    auto& pm = Ogre::ParticleSystemManager::getSingleton();
    if (!pm.getTemplate(name)) pm.createTemplate(name, Ogre::RGN_DEFAULT);
}

// A triangle-list mesh with positions, normals and texture coordinates: one
// sub-mesh per entry of subMeshIndices, all on shared vertices unless
// ownVertices (then every sub-mesh gets its own copy of the vertices).
// beforeLoad, when given, sees the mesh just before it is loaded.
inline Ogre::MeshPtr makeMesh(const std::string& name, const std::vector<Ogre::Vector3>& positions,
                              const std::vector<std::vector<Ogre::uint32>>& subMeshIndices,
                              bool ownVertices = false,
                              const std::function<void(Ogre::Mesh*)>& beforeLoad = {}) {
    auto& meshes = Ogre::MeshManager::getSingleton();
    if (Ogre::MeshPtr old = meshes.getByName(name, Ogre::RGN_DEFAULT)) return old;
    Ogre::MeshPtr mesh = meshes.createManual(name, Ogre::RGN_DEFAULT);
    auto makeVertexData = [&]() {
        auto* data = new Ogre::VertexData();
        data->vertexCount = positions.size();
        Ogre::VertexDeclaration* decl = data->vertexDeclaration;
        size_t offset = 0;
        offset += decl->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
        offset += decl->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
        offset +=
            decl->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES).getSize();
        std::vector<float> raw;
        for (const auto& p : positions) {
            const Ogre::Vector3 n = p.normalisedCopy();
            raw.insert(raw.end(), {p.x, p.y, p.z, n.x, n.y, n.z, p.x * 0.1f, p.y * 0.1f});
        }
        Ogre::HardwareVertexBufferSharedPtr buffer =
            Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
                offset, positions.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
        buffer->writeData(0, buffer->getSizeInBytes(), raw.data(), true);
        data->vertexBufferBinding->setBinding(0, buffer);
        return data;
    };
    if (!ownVertices) mesh->sharedVertexData = makeVertexData();
    Ogre::AxisAlignedBox box;
    for (const auto& p : positions) box.merge(p);
    for (const auto& indices : subMeshIndices) {
        Ogre::SubMesh* sub = mesh->createSubMesh();
        sub->useSharedVertices = !ownVertices;
        if (ownVertices) sub->vertexData = makeVertexData();
        Ogre::HardwareIndexBufferSharedPtr ib =
            Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
                Ogre::HardwareIndexBuffer::IT_32BIT, indices.size(),
                Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
        ib->writeData(0, ib->getSizeInBytes(), indices.data(), true);
        sub->indexData->indexBuffer = ib;
        sub->indexData->indexCount = indices.size();
        sub->indexData->indexStart = 0;
    }
    mesh->_setBounds(box, false);
    mesh->_setBoundingSphereRadius(std::max(box.getMaximum().length(), box.getMinimum().length()));
    if (beforeLoad) beforeLoad(mesh.get());
    mesh->load();
    return mesh;
}

// Renders one frame of a scene manager into a small texture, from a camera
// at (0, 0, 50) looking down -Z; everything made for it is removed again.
inline void renderOnce(Ogre::SceneManager* manager) {
    static int serial = 0;
    const std::string name = "SceneTest/Render" + std::to_string(++serial);
    Ogre::TexturePtr texture = Ogre::TextureManager::getSingleton().createManual(
        name, Ogre::RGN_DEFAULT, Ogre::TEX_TYPE_2D, 64, 64, 0, Ogre::PF_R8G8B8,
        Ogre::TU_RENDERTARGET);
    Ogre::RenderTarget* target = texture->getBuffer()->getRenderTarget();
    Ogre::Camera* camera = manager->createCamera(name);
    camera->setNearClipDistance(0.5f);
    Ogre::SceneNode* node = manager->getRootSceneNode()->createChildSceneNode(name);
    node->setPosition(0, 0, 50);
    node->attachObject(camera);
    target->addViewport(camera);
    target->update();
    target->removeAllViewports();
    manager->destroyCamera(camera);
    manager->destroySceneNode(node);
    Ogre::TextureManager::getSingleton().remove(texture);
}

// A unit quad in the XY plane facing +Z, twice: two sub-meshes.
inline const std::string& twoPartMesh() {
    static const std::string name = "SceneTest/TwoPart.mesh";
    makeMesh(name, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
    return name;
}

// A scene that exposes the base's state and records its hooks.
class TestScene : public MossdenScene {
public:
    TestScene(Ogre::SceneManager* manager, OgreBites::CameraMan* man = nullptr)
        : MossdenScene(manager, man, Mossden::Test::app().sceneServices()) {}
    void createScene() override {}
    void update(const Ogre::FrameEvent&) override {}
    void loadCustom(TiXmlElement* element) override {
        ++customCalls;
        customWasNull = element == nullptr;
        if (element) customValue = element->Attribute("tag") ? element->Attribute("tag") : "";
        MossdenScene::loadCustom(element);
    }
    void loadAuto(TiXmlElement* element) override {
        ++autoCalls;
        if (element) autoValue = element->Attribute("tag") ? element->Attribute("tag") : "";
    }
    void load(const std::string& file, const std::string& prefix = "") {
        loadSceneFile(file, GROUP, sceneManager, prefix);
    }

    int customCalls = 0;
    bool customWasNull = false;
    std::string customValue;
    int autoCalls = 0;
    std::string autoValue;

    using CDotScene::ambientColour;
    using CDotScene::fogColour;
    using CDotScene::fogDensity;
    using CDotScene::fogEnabled;
    using CDotScene::groupName;
    using CDotScene::nodePrefix;
    using CDotScene::sceneFileName;
    using CDotScene::sceneManager;
    using CDotScene::shadowTechnique;
    using CDotScene::userDataProperties;
    using MossdenScene::cameraKeysDisabled;
    using MossdenScene::cameraSpeed;
    using MossdenScene::heldKeys;
    using MossdenScene::leftButtonDown;
};

// Wraps node XML in a scene file with an empty config.
inline std::string sceneWithNodes(const std::string& nodes, const std::string& rest = "<config/>") {
    return "<scene><nodes>" + nodes + "</nodes>" + rest + "</scene>";
}

}  // namespace SceneTest

#endif
