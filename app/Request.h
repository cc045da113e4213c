#ifndef MOSSDEN_APP_REQUEST_H
#define MOSSDEN_APP_REQUEST_H

// What the menus and the scenes ask of the game. A request is only noted
// where it arises (often inside an input handler, under the scene that is
// to be replaced); the application acts on all of them at one point of the
// frame, after the devices have delivered their events (MossdenApp.h shows
// the frame). A new kind of request is a new value here, the line that asks
// for it and the case that handles it in MossdenApp::handle.
#include <array>
#include <cstddef>

namespace Mossden {

enum class Request {
    Start,        // leave the start menu for the first scene, through a dark picture
    Resume,       // close the menu and go on playing
    StartOver,    // back to the first scene from anywhere
    OpenMenu,     // pause under the menu the current scene offers (in-game or end)
    Quit,         // end the run
};

// The requests of one frame, in the order they came. Fixed storage: asking
// allocates nothing, and a frame that asks more than CAPACITY times (which
// no player can) loses the excess.
class RequestQueue {
public:
    static constexpr std::size_t CAPACITY = 16;

    // False when the queue is full and the request was dropped.
    bool push(Request request) {
        if (count == CAPACITY) return false;
        pending[count++] = request;
        return true;
    }
    bool empty() const { return count == 0; }
    std::size_t size() const { return count; }

    // Hands every request to handle, oldest first, and empties the queue.
    // What a handler asks for meanwhile is handled in the same call.
    template <class Handler>
    void drain(Handler&& handle) {
        for (std::size_t i = 0; i < count; ++i) handle(pending[i]);
        count = 0;
    }

private:
    std::array<Request, CAPACITY> pending{};
    std::size_t count = 0;
};

}  // namespace Mossden

#endif
