#include "app/ScenePreparer.h"

#include <Ogre.h>
#include <tinyxml.h>

#include <chrono>

#include "app/SceneSequence.h"
#include "audio/SoundManager.h"
#include "scene/SceneReaders.h"

namespace Mossden {

namespace {

constexpr std::size_t SOUND_READS_PER_PIECE = 4;  // of SoundManager::OGG_READ_BYTES each
const char* const GROUP = "General";

// Problems are the scene build's to report, with the line the player sees;
// here they only reach the engine log.
void logSkipped(const std::string& what, const Ogre::Exception& e) {
    Ogre::LogManager::getSingleton().logMessage("Not prepared ahead: " + what + ": " + e.getDescription());
}

}  // namespace

void ScenePreparer::begin(int sceneIndex) {
    if (sceneIndex == index) return;
    clear();
    index = sceneIndex;
    const SceneNeeds needs = SceneSequence::needs(sceneIndex);
    for (const std::string& file : needs.sceneFiles) readSceneFile(file);
    SoundManager& sound = SoundManager::getInstance();
    for (const std::string& name : needs.sounds) sound.prepare(name);
    soundsLeft = !needs.sounds.empty();
}

void ScenePreparer::readSceneFile(const std::string& file) {
    try {
        const std::string text = Ogre::ResourceGroupManager::getSingleton().openResource(file, GROUP)->getAsString();
        if (xmlNestingDepth(text) > maxSceneFileDepth) return;
        TiXmlDocument doc;
        doc.Parse(text.c_str());
        const SceneMedia media = sceneMedia(doc.RootElement());
        meshes.insert(meshes.end(), media.meshes.begin(), media.meshes.end());
        materials.insert(materials.end(), media.materials.begin(), media.materials.end());
    } catch (const Ogre::Exception& e) {
        logSkipped(file, e);
    }
}

void ScenePreparer::clear() {
    index = -1;
    meshes.clear();
    materials.clear();
    nextMesh = nextMaterial = 0;
    materialPrepared = false;
    soundsLeft = false;
}

bool ScenePreparer::done() const {
    return !soundsLeft && nextMesh == meshes.size() && nextMaterial == materials.size();
}

void ScenePreparer::step(double budgetMs) {
    const auto start = std::chrono::steady_clock::now();
    while (stepOnce()) {
        const double spent = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (spent >= budgetMs) return;
    }
}

bool ScenePreparer::stepOnce() {
    if (soundsLeft) {
        soundsLeft = SoundManager::getInstance().prepareStep(SOUND_READS_PER_PIECE);
        return true;
    }
    if (nextMesh < meshes.size()) {
        const std::string& name = meshes[nextMesh++];
        try {
            Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(name, GROUP);
            for (const Ogre::SubMesh* sub : mesh->getSubMeshes())
                if (const Ogre::MaterialPtr& material = sub->getMaterial()) material->load();
        } catch (const Ogre::Exception& e) {
            logSkipped(name, e);
        }
        return true;
    }
    if (nextMaterial < materials.size()) {
        // Two pieces: the textures' files read and decoded, then the
        // material loaded (textures uploaded, programs compiled). A sky's
        // six faces take the longest of all.
        const std::string& name = materials[nextMaterial];
        if (materialPrepared) ++nextMaterial;
        materialPrepared = !materialPrepared;
        try {
            if (Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name, GROUP)) {
                if (materialPrepared)
                    material->prepare();
                else
                    material->load();
            }
        } catch (const Ogre::Exception& e) {
            logSkipped(name, e);
        }
        return true;
    }
    return false;
}

}  // namespace Mossden
