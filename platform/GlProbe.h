#ifndef MOSSDEN_PLATFORM_GLPROBE_H
#define MOSSDEN_PLATFORM_GLPROBE_H

// A look at the display's OpenGL before the engine opens its window: the
// engine calls shader functions of a GL without shaders through null
// pointers while it creates its window, a segmentation fault that no
// capability check after the window could prevent.
#include <string>

namespace Mossden::Platform {

// What the GL of the current display lacks of what the game needs (GL 1.5
// and GLSL shaders), as a text for a message; empty when nothing is
// missing or when the probe itself cannot run (the engine then reports
// that on its own).
std::string missingGlFeatures();

}  // namespace Mossden::Platform

#endif
