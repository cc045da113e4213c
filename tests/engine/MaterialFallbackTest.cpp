// A renderer without shaders draws the world through each material's
// fixed-pipeline techniques. At every quality level they must draw what the
// shader techniques of that level draw: the same textures, the same
// highlight (or none), the same glow, colours and culling, so that a
// player's quality choice means the same on either renderer.
#include <gtest/gtest.h>

#include <Ogre.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/EngineEnvironment.h"

using Mossden::Test::app;

namespace {

// Ogre draws a viewport's scheme with the material's techniques of that
// scheme, or with those of the default scheme when it has none.
std::string effectiveScheme(const Ogre::Material& material, const std::string& scheme) {
    for (const auto* technique : material.getTechniques())
        if (technique->getSchemeName() == scheme) return scheme;
    return Ogre::MaterialManager::DEFAULT_SCHEME_NAME;
}

bool programmable(const Ogre::Technique& technique) {
    for (const auto* pass : technique.getPasses())
        if (pass->hasVertexProgram() || pass->hasFragmentProgram()) return true;
    return false;
}

// The first technique of the scheme and level that uses shaders, or that
// does not: the order in which Ogre tries them.
const Ogre::Technique* firstOf(const Ogre::Material& material, const std::string& scheme, unsigned short lod,
                               bool withShaders) {
    for (const auto* technique : material.getTechniques())
        if (technique->getSchemeName() == scheme && technique->getLodIndex() == lod &&
            programmable(*technique) == withShaders)
            return technique;
    return nullptr;
}

std::string colour(const Ogre::ColourValue& c) {
    std::ostringstream out;
    out << c.r << ' ' << c.g << ' ' << c.b << ' ' << c.a;
    return out.str();
}

// What a pass puts on the screen, apart from the program that draws it.
std::string looks(const Ogre::Pass& pass) {
    std::ostringstream out;
    out << "vertex colour " << pass.getVertexColourTracking() << "; ambient " << colour(pass.getAmbient())
        << "; diffuse " << colour(pass.getDiffuse());
    if (pass.getSpecular() == Ogre::ColourValue::Black)
        out << "; no highlight";
    else
        out << "; highlight " << colour(pass.getSpecular()) << " shininess " << pass.getShininess();
    out << "; emissive " << colour(pass.getSelfIllumination()) << "; lighting " << pass.getLightingEnabled()
        << "; culling " << pass.getCullingMode() << '/' << pass.getManualCullingMode() << "; blend "
        << pass.getSourceBlendFactor() << '/' << pass.getDestBlendFactor();
    const auto& units = pass.getTextureUnitStates();
    if (units.empty()) out << "; no texture";
    for (const auto* unit : units)
        out << "; texture " << unit->getTextureName() << " scale " << unit->getTextureUScale() << ' '
            << unit->getTextureVScale() << " filtering " << unit->getTextureFiltering(Ogre::FT_MIN) << '/'
            << unit->getTextureFiltering(Ogre::FT_MAG) << '/' << unit->getTextureFiltering(Ogre::FT_MIP)
            << " addressing " << unit->getTextureAddressingMode().u << '/'
            << unit->getTextureAddressingMode().v;
    return out.str();
}

std::vector<std::string> looks(const Ogre::Technique& technique) {
    std::vector<std::string> passes;
    for (const auto* pass : technique.getPasses()) passes.push_back(looks(*pass));
    return passes;
}

// Every script's material with shader techniques, at Low, Medium and the default
// level, at each of its distance levels: the first fixed-pipeline technique
// of that level exists and draws as the first shader technique does.
TEST(MaterialFallback, DrawsWhatTheShadersDrawAtEveryLevel) {
    ASSERT_TRUE(app().root);
    int compared = 0;
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements()) {
        const Ogre::ResourcePtr resource = materials.getNext();
        const auto* material = static_cast<const Ogre::Material*>(resource.get());
        // Materials the engine makes in code for itself (the stencil shadows'
        // debug material) are no script's and have no fallback to keep.
        if (material->getOrigin().empty()) continue;
        for (const std::string& level : {std::string("Low"), std::string("Medium"),
                                         Ogre::MaterialManager::DEFAULT_SCHEME_NAME}) {
            const std::string scheme = effectiveScheme(*material, level);
            for (unsigned short lod = 0; lod < 8; ++lod) {
                const Ogre::Technique* shaded = firstOf(*material, scheme, lod, true);
                if (!shaded) continue;
                const Ogre::Technique* fixed = firstOf(*material, scheme, lod, false);
                const std::string where = material->getName() + " at " + level + ", distance level " +
                                          std::to_string(lod);
                ASSERT_NE(fixed, nullptr) << where << " has no fixed-pipeline technique";
                EXPECT_EQ(looks(*fixed), looks(*shaded)) << where << ": fixed pipeline (left) against shaders";
                ++compared;
            }
        }
    }
    // The moss world's surfaces are the materials this is about; both sides
    // of the comparison being empty would prove nothing.
    EXPECT_GT(compared, 0) << "no material with shader techniques was found";
    auto moss = Ogre::MaterialManager::getSingleton().getByName("FirstScene/Moss", Ogre::RGN_AUTODETECT);
    ASSERT_TRUE(moss);
    const Ogre::Technique* fixed = firstOf(*moss, Ogre::MaterialManager::DEFAULT_SCHEME_NAME, 0, false);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(looks(*fixed).front().find("vertex colour 0"), std::string::npos);
    EXPECT_NE(looks(*fixed).front().find("texture first_moss.png"), std::string::npos) << looks(*fixed).front();
}

}  // namespace
