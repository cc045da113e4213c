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
    cubeFacesLeft = false;
    cubeFaces.abandon();
    materialPrepared = false;
    soundsLeft = false;
}

void ScenePreparer::beginCubeFaces(Ogre::Material& material) {
    for (Ogre::Technique* technique : material.getTechniques())
        for (Ogre::Pass* pass : technique->getPasses())
            for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates()) {
                if (unit->getTextureType() != Ogre::TEX_TYPE_CUBE_MAP || unit->getNumFrames() != 1) continue;
                const std::string& name = unit->getTextureName();
                if (Ogre::StringUtil::endsWith(name, ".dds")) continue;  // one file holds all faces
                if (cubeFaces.begin(*unit, GROUP)) {
                    cubeFacesLeft = true;
                    return;  // one cube at a time; a material has one sky at most
                }
            }
}

std::string CubeFaces::faceName(const std::string& name, int face) {
    // the engine's order: +X, -X, +Y, -Y, +Z, -Z
    static const char* const SUFFIXES[FACES] = {"_rt", "_lf", "_up", "_dn", "_fr", "_bk"};
    std::string base, extension;
    Ogre::StringUtil::splitBaseFilename(name, base, extension);
    return base + SUFFIXES[face] + (extension.empty() ? "" : "." + extension);
}

bool CubeFaces::begin(Ogre::TextureUnitState& unit, const std::string& group) {
    Ogre::TextureManager& manager = Ogre::TextureManager::getSingleton();
    const std::string name = unit.getTextureName();
    const Ogre::TexturePtr existing = manager.getByName(name, group);
    if (existing && existing->isLoaded()) return false;
    if (existing && existing->isManuallyLoaded()) {
        texture = existing;  // ours, unloaded since
    } else {
        // The plain texture the material declared when it was read: the
        // material gets one of the same name that loads through us.
        if (existing) manager.remove(existing);
        texture = manager.create(name, group, true, this);
        texture->setTextureType(Ogre::TEX_TYPE_CUBE_MAP);
        unit.setTexture(texture);
    }
    nextPiece = 0;
    return true;
}

bool CubeFaces::step() {
    if (!texture) return false;
    const int face = nextPiece / 2;
    Ogre::Image& image = faces[static_cast<std::size_t>(face)];
    if (nextPiece % 2 == 0) {
        image.load(faceName(texture->getName(), face), texture->getGroup());
    } else {
        if (face == 0) {
            texture->setWidth(image.getWidth());
            texture->setHeight(image.getHeight());
            texture->setDepth(1);
            texture->setFormat(image.getFormat());
            texture->setNumMipmaps(Ogre::TextureManager::getSingleton().getDefaultNumMipmaps());
            texture->createInternalResources();
        }
        texture->getBuffer(static_cast<std::size_t>(face), 0)->blitFromMemory(image.getPixelBox());
        image.freeMemory();
    }
    if (++nextPiece < 2 * FACES) return true;
    uploaded = texture.get();
    texture.reset();
    return false;
}

void CubeFaces::abandon() {
    texture.reset();
    for (Ogre::Image& image : faces) image.freeMemory();
    nextPiece = 0;
}

void CubeFaces::loadResource(Ogre::Resource* resource) {
    if (resource == uploaded) {
        uploaded = nullptr;
        return;
    }
    auto* cube = static_cast<Ogre::Texture*>(resource);
    std::array<Ogre::Image, FACES> all;
    Ogre::ConstImagePtrList list;
    for (int face = 0; face < FACES; ++face) {
        all[static_cast<std::size_t>(face)].load(faceName(cube->getName(), face), cube->getGroup());
        list.push_back(&all[static_cast<std::size_t>(face)]);
    }
    cube->setTextureType(Ogre::TEX_TYPE_CUBE_MAP);
    cube->_loadImages(list);
}

bool ScenePreparer::done() const {
    return !soundsLeft && !cubeFacesLeft && nextMesh == meshes.size() && nextMaterial == materials.size();
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
        // material loaded (textures uploaded, programs compiled); a cube
        // texture of six files (a sky, the longest of all) is made one that
        // loads a face a piece in between.
        const std::string& name = materials[nextMaterial];
        if (cubeFacesLeft) {
            try {
                cubeFacesLeft = cubeFaces.step();
            } catch (const Ogre::Exception& e) {
                logSkipped(name, e);
                cubeFacesLeft = false;
            }
            return true;
        }
        if (materialPrepared) ++nextMaterial;
        materialPrepared = !materialPrepared;
        try {
            if (Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name, GROUP)) {
                if (materialPrepared) {
                    beginCubeFaces(*material);
                    material->prepare();
                } else
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
