#ifndef MOSSDEN_APP_RENDERERCHECK_H
#define MOSSDEN_APP_RENDERERCHECK_H

// What the game needs of the renderer, checked once the window (and with it
// the GL context) exists and before the scenes are built: a GL that lacks
// it ends the game with a line naming what is missing, where the engine
// itself would fail on it later, some of it by a segmentation fault.
namespace Ogre {
class RenderSystem;
}

namespace Mossden::RendererCheck {

// Before the window: throws std::runtime_error naming what the display's
// GL lacks, where the engine would die of a fault creating its window.
void probeDisplay();

// Throws std::runtime_error naming the renderer and what it lacks; tells
// the crash report which renderer runs.
void require(const Ogre::RenderSystem& renderSystem);

}  // namespace Mossden::RendererCheck

#endif
