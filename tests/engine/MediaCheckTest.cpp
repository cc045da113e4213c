// The media check: every name in the catalog resolves on the started game
// (all resource groups loaded), meshes load as the game loads them with
// their materials present, and every sound file decodes.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <Ogre.h>
#include <OgreFontManager.h>
#include <OgreOverlayManager.h>
#include <OgreParticleSystemManager.h>

#include <algorithm>
#include <string>

#include "app/MediaCatalog.h"
#include "tests/engine/EngineEnvironment.h"

using Mossden::MediaEntry;
using Mossden::MediaKind;
using Mossden::Test::app;

namespace {

bool materialResolves(const std::string& name) {
    return Ogre::MaterialManager::getSingleton()
               .getByName(name, Ogre::RGN_AUTODETECT)
               .get() != nullptr;
}

// A cube map named "sky.png" is loaded from its six faces "sky_fr.png",
// "sky_bk.png", "sky_lf.png", "sky_rt.png", "sky_up.png" and "sky_dn.png".
bool textureExists(const std::string& name, Ogre::TextureType type) {
    auto& groups = Ogre::ResourceGroupManager::getSingleton();
    if (groups.resourceExistsInAnyGroup(name)) return true;
    if (type != Ogre::TEX_TYPE_CUBE_MAP) return false;
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    for (const char* face : {"_fr", "_bk", "_lf", "_rt", "_up", "_dn"})
        if (!groups.resourceExistsInAnyGroup(name.substr(0, dot) + face + name.substr(dot))) return false;
    return true;
}

// Every texture a material names must be a resource too: the engine only
// logs a missing one and draws the layer blank.
void expectTexturesExist(const std::string& material) {
    auto mat = Ogre::MaterialManager::getSingleton().getByName(material, Ogre::RGN_AUTODETECT);
    ASSERT_TRUE(mat) << material;
    for (auto* tech : mat->getTechniques())
        for (auto* pass : tech->getPasses())
            for (auto* unit : pass->getTextureUnitStates())
                for (unsigned f = 0; f < unit->getNumFrames(); ++f) {
                    const std::string tex = unit->getFrameTextureName(f);
                    EXPECT_TRUE(textureExists(tex, unit->getTextureType()))
                        << material << " names missing texture " << tex;
                }
}

// Decodes the whole file as the sound manager does (16-bit words).
long decodedBytes(const std::string& path, int& channels, long& rate) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return -1;
    const vorbis_info* vi = ov_info(&vf, -1);
    channels = vi->channels;
    rate = vi->rate;
    char buffer[32768];
    long total = 0;
    int section = 0;
    for (;;) {
        const long n = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (n == OV_HOLE) continue;
        if (n <= 0) break;
        total += n;
    }
    ov_clear(&vf);
    return total;
}

class MediaCheck : public ::testing::TestWithParam<MediaEntry> {};

TEST_P(MediaCheck, Resolves) {
    const MediaEntry& e = GetParam();
    const std::string name = e.name;
    auto& om = Ogre::OverlayManager::getSingleton();
    switch (e.kind) {
        case MediaKind::Material:
            ASSERT_TRUE(materialResolves(name)) << name;
            expectTexturesExist(name);
            break;
        case MediaKind::Overlay: {
            Ogre::Overlay* overlay = om.getByName(name);
            ASSERT_NE(overlay, nullptr) << name;
            for (auto* element : overlay->get2DElements())
                if (!element->getMaterialName().empty()) expectTexturesExist(element->getMaterialName());
            break;
        }
        case MediaKind::OverlayElement:
            EXPECT_TRUE(om.hasOverlayElement(name)) << name;
            break;
        case MediaKind::Font: {
            auto font = Ogre::FontManager::getSingleton().getByName(name, Ogre::RGN_AUTODETECT);
            ASSERT_TRUE(font) << name;
            font->load();
            EXPECT_TRUE(font->isLoaded()) << name;
            break;
        }
        case MediaKind::Texture:
            EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceExistsInAnyGroup(name))
                << name;
            break;
        case MediaKind::Mesh: {
            // As the third scene loads its head: buffers the game can rewrite,
            // tangents built on load.
            auto mesh = Ogre::MeshManager::getSingleton().load(
                name, Ogre::RGN_DEFAULT, Ogre::HardwareBuffer::HBU_DYNAMIC_WRITE_ONLY,
                Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true, true);
            ASSERT_TRUE(mesh) << name;
            // Points (a sky's stars) cast no shadow and have no edges.
            const bool points = std::any_of(mesh->getSubMeshes().begin(), mesh->getSubMeshes().end(), [](const Ogre::SubMesh* sub) {
                return sub->operationType == Ogre::RenderOperation::OT_POINT_LIST;
            });
            if (!points) {
                EXPECT_TRUE(mesh->isEdgeListBuilt()) << name << " has no edge list (no stencil shadow)";
            }
            unsigned short src = 0, dst = 0;
            if (!mesh->suggestTangentVectorBuildParams(Ogre::VES_TANGENT, src, dst)) {
                EXPECT_NO_THROW(mesh->buildTangentVectors(Ogre::VES_TANGENT, src, dst)) << name;
            }
            for (auto* sub : mesh->getSubMeshes()) {
                EXPECT_TRUE(materialResolves(sub->getMaterialName()))
                    << name << " uses unknown material '" << sub->getMaterialName() << "'";
                if (materialResolves(sub->getMaterialName())) expectTexturesExist(sub->getMaterialName());
            }
            Ogre::Entity* entity = app().sceneManager->createEntity(mesh);
            EXPECT_GT(entity->getBoundingRadius(), 0.0f);
            app().sceneManager->destroyEntity(entity);
            break;
        }
        case MediaKind::ParticleTemplate: {
            auto* ps = app().sceneManager->createParticleSystem("MediaCheck/" + name, name);
            ASSERT_NE(ps, nullptr);
            EXPECT_TRUE(materialResolves(ps->getMaterialName())) << ps->getMaterialName();
            if (materialResolves(ps->getMaterialName())) expectTexturesExist(ps->getMaterialName());
            // Particle systems only run while attached to a node.
            Ogre::SceneNode* node = app().sceneManager->getRootSceneNode()->createChildSceneNode();
            node->attachObject(ps);
            ps->fastForward(2.0f);
            EXPECT_GT(ps->getNumParticles(), 0u) << name << " emits nothing";
            app().sceneManager->destroyParticleSystem(ps);
            app().sceneManager->destroySceneNode(node);
            break;
        }
        case MediaKind::Sound: {
            int channels = 0;
            long rate = 0;
            const long bytes = decodedBytes(app().soundDir + name, channels, rate);
            ASSERT_GT(bytes, 0) << app().soundDir + name << " does not decode";
            EXPECT_TRUE(channels == 1 || channels == 2) << name;
            EXPECT_TRUE(rate == 44100 || rate == 48000) << name;
            break;
        }
        case MediaKind::SceneFile:
            EXPECT_TRUE(
                Ogre::ResourceGroupManager::getSingleton().resourceExists("General", name))
                << name;
            break;
    }
}

std::string entryName(const ::testing::TestParamInfo<MediaEntry>& info) {
    std::string n = std::to_string(info.index) + "_" + info.param.name;
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
}

INSTANTIATE_TEST_SUITE_P(Catalog, MediaCheck,
                         ::testing::ValuesIn(Mossden::MEDIA_CATALOG,
                                             Mossden::MEDIA_CATALOG + Mossden::MEDIA_CATALOG_SIZE),
                         entryName);

}  // namespace

// The world's shaders compile on this renderer, and its broad surfaces draw
// with them at every level: falling back to the fixed pipeline would keep
// the look and quietly lose the frame time they save.
TEST(MediaCheckShaders, CompileAndDrawTheWorld) {
    ASSERT_TRUE(app().root);
    for (const auto& file : Mossden::MossdenApp::unusablePrograms())
        ADD_FAILURE() << file.first << " does not compile: see Ogre.log";
    auto& materials = Ogre::MaterialManager::getSingleton();
    const std::string kept = materials.getActiveScheme();
    for (const char* scheme : {"Low", "Medium", Ogre::MaterialManager::DEFAULT_SCHEME_NAME.c_str()}) {
        materials.setActiveScheme(scheme);
        for (const char* name : {"FirstScene/Moss", "FirstScene/MossCushion", "FirstScene/Grass", "FirstScene/Stem",
                                 "FirstScene/Leaf", "FirstScene/Flower"}) {
            Ogre::MaterialPtr material = materials.getByName(name, Ogre::RGN_AUTODETECT);
            ASSERT_TRUE(material) << name;
            material->load();
            for (unsigned short lod = 0; lod < material->getNumLodLevels(scheme); ++lod) {
                Ogre::Technique* technique = material->getBestTechnique(lod);
                ASSERT_TRUE(technique) << name;
                EXPECT_TRUE(technique->getPass(0)->hasVertexProgram() && technique->getPass(0)->hasFragmentProgram())
                    << name << " at " << scheme << ", level " << lod << " draws with the fixed pipeline";
            }
        }
    }
    materials.setActiveScheme(kept);
}
