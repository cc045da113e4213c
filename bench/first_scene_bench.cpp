// Frame rate of the first scene's world at the window's size (1024 x 768
// under the test display), at five points of the flight, against a baseline
// of the same window with the world hidden, in one process. Also the share
// of a frame spent outside rendering: the application's own frame work
// (input, tick, sound, fader and the scene's update), timed on its own.
//   first_scene_bench [frames per point]
#include <Ogre.h>
#include <OgreOverlay.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchApp.h"
#include "scenes/first/Scene1.h"

using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double framesPerSecond(Mossden::MossdenApp& app, int frames) {
    const auto start = Clock::now();
    for (int i = 0; i < frames; ++i) app.root->renderOneFrame(1.0f / 60.0f);
    return frames / seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 60;
    std::string exe = argv[0];
    std::string one = "1";
    char* args[] = {exe.data(), one.data(), nullptr};
    Mossden::MossdenApp& app = Mossden::Bench::app();
    if (!app.start(2, args)) return 1;
    auto* scene = dynamic_cast<Mossden::Scene1*>(app.currentScene());
    if (!scene) return 1;
    Mossden::Scene1::firstUpdatePending = false;
    Ogre::FrameEvent evt;
    evt.timeSinceLastFrame = 1.0f / 60.0f;
    scene->update(evt);  // into the ascent
    // the flight's own clock would move the camera: hold the track still
    scene->trackSpeed = 0;
    app.fader->operation = Mossden::Fader::FADE_NONE;
    if (app.fader->overlay) app.fader->overlay->hide();

    Ogre::SceneNode* root = app.sceneManager->getRootSceneNode();
    root->setVisible(false, true);  // the sky mesh's node too
    app.root->renderOneFrame(0);
    const double baseline = framesPerSecond(app, frames);
    root->setVisible(true, true);
    std::printf("%-28s %8.1f fps\n", "baseline (world hidden)", baseline);

    const Ogre::Viewport* vp = app.window->getViewport(0);
    std::printf("window %ux%u\n", vp->getActualWidth(), vp->getActualHeight());
    double worst = 1e9, sum = 0, shareMax = 0;
    const float points[] = {0, 300, 800, 1400, 2200};
    for (float T : points) {
        scene->cameraTrackState->setTimePosition(T);
        app.root->renderOneFrame(0);
        const double fps = framesPerSecond(app, frames);
        // the application's frame work without rendering, as the engine
        // calls it once a frame
        const auto start = Clock::now();
        for (int i = 0; i < frames; ++i) {
            app.frameStarted(evt);
            app.frameRenderingQueued(evt);
        }
        const double updateSeconds = seconds(start) / frames;
        const double share = updateSeconds * fps;
        std::printf("track time %6.0f: %8.1f fps  (%.3f of baseline)  outside rendering %.3f ms = %.2f%% of a frame\n",
                    T, fps, fps / baseline, updateSeconds * 1000, share * 100);
        worst = std::min(worst, fps);
        sum += fps;
        shareMax = std::max(shareMax, share);
    }
    std::printf("world: mean %.1f fps, worst %.1f fps (%.3f of baseline); outside rendering at most %.2f%% of a frame\n",
                sum / 5, worst, worst / baseline, shareMax * 100);
    app.shutdown();
    return 0;
}
