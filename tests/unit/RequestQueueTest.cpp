// The queue of requests: handled in the order asked, what a handler asks
// for is handled in the same drain, and a full frame's excess is refused
// rather than written past the end.
#include <gtest/gtest.h>

#include <vector>

#include "app/Request.h"

namespace {

using Mossden::Request;
using Mossden::RequestQueue;

TEST(RequestQueue, DrainsInOrderIncludingWhatHandlersAsk) {
    RequestQueue queue;
    queue.push(Request::OpenMenu);
    queue.push(Request::StartOver);
    std::vector<Request> seen;
    queue.drain([&](Request r) {
        seen.push_back(r);
        if (r == Request::OpenMenu) queue.push(Request::Resume);
    });
    EXPECT_EQ(seen, (std::vector<Request>{Request::OpenMenu, Request::StartOver, Request::Resume}));
    EXPECT_TRUE(queue.empty());
    queue.drain([&](Request r) { seen.push_back(r); });
    EXPECT_EQ(seen.size(), 3u);
}

TEST(RequestQueue, RefusesBeyondItsCapacity) {
    RequestQueue queue;
    for (std::size_t i = 0; i < RequestQueue::CAPACITY; ++i) EXPECT_TRUE(queue.push(Request::Quit));
    EXPECT_FALSE(queue.push(Request::Start));
    std::size_t handled = 0;
    queue.drain([&](Request r) {
        EXPECT_EQ(r, Request::Quit);
        ++handled;
    });
    EXPECT_EQ(handled, RequestQueue::CAPACITY);
    EXPECT_TRUE(queue.push(Request::Start));
}

}  // namespace
