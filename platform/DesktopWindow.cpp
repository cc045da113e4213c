#include "platform/DesktopWindow.h"

#if defined(__linux__) || defined(__unix__)
#include <X11/Xlib.h>
#define MOSSDEN_X11 1
#endif

namespace Mossden::Platform {

#ifdef MOSSDEN_X11

struct DesktopWindow::Connection {
    Display* display = nullptr;
    Window window = 0;
    ~Connection() {
        if (display) XCloseDisplay(display);
    }
};

DesktopWindow::DesktopWindow(unsigned long windowHandle) {
    if (windowHandle == 0) return;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    connection = std::make_unique<Connection>();
    connection->display = display;
    connection->window = static_cast<Window>(windowHandle);
}

DesktopWindow::~DesktopWindow() = default;

DesktopWindow::Focus DesktopWindow::focus() const {
    if (!connection) return Focus::Unknown;
    Window focused = None;
    int revertTo = 0;
    XGetInputFocus(connection->display, &focused, &revertTo);
    // Without a window manager the focus follows the pointer (PointerRoot)
    // or rests nowhere: nobody took it from us.
    if (focused == None || focused == PointerRoot) return Focus::Unknown;
    // The focus may sit on a child of ours; walk up a few parents at most.
    constexpr int MAX_DEPTH = 8;
    Window current = focused;
    for (int depth = 0; depth < MAX_DEPTH && current != None; ++depth) {
        if (current == connection->window) return Focus::Ours;
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(connection->display, current, &root, &parent, &children, &count)) break;
        if (children) XFree(children);
        if (parent == root) break;
        current = parent;
    }
    return Focus::Elsewhere;
}

std::optional<std::pair<int, int>> DesktopWindow::pointer() const {
    if (!connection) return std::nullopt;
    Window root = None, child = None;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(connection->display, connection->window, &root, &child, &rootX, &rootY, &x, &y, &buttons))
        return std::nullopt;  // on another screen
    return std::make_pair(x, y);
}

void DesktopWindow::movePointer(int x, int y) {
    if (!connection) return;
    XWarpPointer(connection->display, None, connection->window, 0, 0, 0, 0, x, y);
    XSync(connection->display, False);
}

#else

struct DesktopWindow::Connection {};
DesktopWindow::DesktopWindow(unsigned long) {}
DesktopWindow::~DesktopWindow() = default;
DesktopWindow::Focus DesktopWindow::focus() const { return Focus::Unknown; }
std::optional<std::pair<int, int>> DesktopWindow::pointer() const { return std::nullopt; }
void DesktopWindow::movePointer(int, int) {}

#endif

}  // namespace Mossden::Platform
