#include "platform/GlProbe.h"

#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#endif

namespace Mossden::Platform {

namespace {

#ifndef _WIN32
bool hasExtension(const char* extensions, const char* name) {
    if (!extensions) return false;
    const std::size_t length = std::strlen(name);
    for (const char* p = std::strstr(extensions, name); p; p = std::strstr(p + 1, name))
        if ((p == extensions || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
    return false;
}

// A throw-away context on a small unmapped window: the GL the engine will
// get, asked before it asks.
std::string probe(Display* display) {
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (!visual) return std::string();
    std::string missing;
    const Window rootWindow = RootWindow(display, visual->screen);
    XSetWindowAttributes windowAttributes = {};
    windowAttributes.colormap = XCreateColormap(display, rootWindow, visual->visual, AllocNone);
    const Window window = XCreateWindow(display, rootWindow, 0, 0, 8, 8, 0, visual->depth, InputOutput,
                                        visual->visual, CWColormap, &windowAttributes);
    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    if (context && glXMakeCurrent(display, window, context)) {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        int major = 0, minor = 0;
        if (version) std::sscanf(version, "%d.%d", &major, &minor);
        const bool gl15 = major > 1 || (major == 1 && minor >= 5);
        const bool gl20 = major >= 2;
        if (!gl15) missing = "OpenGL 1.5 (the display offers " + std::string(version ? version : "no version") + ")";
        const bool shaders = gl20 || (hasExtension(extensions, "GL_ARB_shader_objects") &&
                                      hasExtension(extensions, "GL_ARB_vertex_shader") &&
                                      hasExtension(extensions, "GL_ARB_fragment_shader"));
        if (!shaders) missing += std::string(missing.empty() ? "" : " and ") + "GLSL shaders (GL 2.0 or the ARB shader extensions)";
        if (!missing.empty()) {
            const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
            missing += std::string("; renderer: ") + (renderer ? renderer : "unknown") + ", GL " +
                       (version ? version : "unknown");
        }
        glXMakeCurrent(display, None, nullptr);
    }
    if (context) glXDestroyContext(display, context);
    XDestroyWindow(display, window);
    XFreeColormap(display, windowAttributes.colormap);
    XFree(visual);
    return missing;
}
#endif

}  // namespace

std::string missingGlFeatures() {
#ifndef _WIN32
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::string();
    const std::string missing = probe(display);
    XCloseDisplay(display);
    return missing;
#else
    return std::string();
#endif
}

}  // namespace Mossden::Platform
