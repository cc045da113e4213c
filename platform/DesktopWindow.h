#ifndef MOSSDEN_PLATFORM_DESKTOPWINDOW_H
#define MOSSDEN_PLATFORM_DESKTOPWINDOW_H

#include <memory>
#include <optional>
#include <utility>

namespace Mossden::Platform {

// The game window as the desktop sees it: who has the keyboard focus, and
// where the pointer is. It asks the window system on a connection of its
// own, so it never takes events from the engine or the input devices. When
// the window system cannot be asked (no X display, or another system), every
// answer is "unknown" and nothing moves.
class DesktopWindow {
public:
    enum class Focus {
        Unknown,    // no window manager hands out focus (it follows the pointer), or no answer
        Ours,       // the game window or one of its children has it
        Elsewhere,  // another window has it
    };

    explicit DesktopWindow(unsigned long windowHandle);
    ~DesktopWindow();
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    Focus focus() const;
    // The pointer in window coordinates (it may lie outside the window).
    std::optional<std::pair<int, int>> pointer() const;
    // Puts the pointer at x, y in window coordinates.
    void movePointer(int x, int y);

private:
    struct Connection;
    std::unique_ptr<Connection> connection;
};

}  // namespace Mossden::Platform

#endif
