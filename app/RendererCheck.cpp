#include "app/RendererCheck.h"

#include <OgreRenderSystem.h>
#include <OgreRenderSystemCapabilities.h>

#include <stdexcept>
#include <string>

#include "platform/CrashReport.h"
#include "platform/GlProbe.h"

namespace Mossden::RendererCheck {

void probeDisplay() {
    const std::string missing = Platform::missingGlFeatures();
    if (!missing.empty()) throw std::runtime_error("The display's OpenGL lacks what the game needs: " + missing);
}

void require(const Ogre::RenderSystem& renderSystem) {
    const Ogre::RenderSystemCapabilities* caps = renderSystem.getCapabilities();
    const std::string name = renderSystem.getName();
    if (!caps) throw std::runtime_error(name + " reports no capabilities: the game cannot draw with it");
    const std::string device = caps->getDeviceName() + ", " + caps->getDriverVersion().toString();
    CrashReport::setRenderer(name + ": " + device);
    std::string missing;
    auto need = [&](bool present, const char* what) {
        if (present) return;
        missing += missing.empty() ? "" : ", ";
        missing += what;
    };
    // The engine's GL state handling assumes programmable shading: on a GL
    // without it the engine dies of a fault rather than an error.
    need(caps->hasCapability(Ogre::RSC_VERTEX_PROGRAM), "vertex programs (shaders)");
    need(caps->hasCapability(Ogre::RSC_FRAGMENT_PROGRAM), "fragment programs (shaders)");
    need(caps->getNumTextureUnits() >= 2, "two texture units");
    if (!missing.empty())
        throw std::runtime_error("The renderer (" + name + ": " + device + ") lacks what the game needs: " + missing);
}

}  // namespace Mossden::RendererCheck
