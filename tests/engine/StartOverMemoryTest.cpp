// Start over, again and again, in one process, each time after the whole
// journey's scenes: the first scene (with the tunnel's world) and then the
// asteroid field are built and rendered before the next Start over. The
// resident memory after each cycle is printed, and only clear growth fails
// (the first cycle loads the scenes' resources, the second is the reference).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "scene/MossdenScene.h"
#include "tests/engine/EngineEnvironment.h"

namespace {

using Mossden::Test::app;
using Mossden::Test::renderFrames;

// Resident set size in MiB from /proc/self/statm (second field, in pages);
// negative when it cannot be read.
double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long sizePages = 0, residentPages = 0;
    if (!(statm >> sizePages >> residentPages)) return -1;
    return static_cast<double>(residentPages) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

TEST(StartOverMemory, FiveCyclesStayFlat) {
    constexpr int CYCLES = 5;
    constexpr int FRAMES_PER_CYCLE = 90;
    constexpr double ALLOWED_GROWTH = 0.15;  // over the second cycle's figure
    std::vector<double> resident;
    for (int cycle = 1; cycle <= CYCLES; ++cycle) {
        Mossden::Test::startOver();
        ASSERT_EQ(app().sceneIndex, 1);
        ASSERT_TRUE(renderFrames(FRAMES_PER_CYCLE));
        // The first scene is done: the next frame hands over to the field.
        ASSERT_NE(app().currentScene(), nullptr);
        app().currentScene()->setFinished(true);
        ASSERT_TRUE(renderFrames(1));
        ASSERT_EQ(app().sceneIndex, 2);
        ASSERT_TRUE(renderFrames(FRAMES_PER_CYCLE));
        resident.push_back(residentMiB());
        ASSERT_GT(resident.back(), 0) << "/proc/self/statm unreadable";
        std::printf("start over cycle %d: resident %.1f MiB\n", cycle, resident.back());
    }
    std::fflush(stdout);
    const double reference = resident[1];
    for (int cycle = 3; cycle <= CYCLES; ++cycle)
        EXPECT_LE(resident[cycle - 1], reference * (1 + ALLOWED_GROWTH))
            << "cycle " << cycle << " grew past the second cycle's " << reference << " MiB";
    Mossden::Test::backToMenu();
}

}  // namespace
