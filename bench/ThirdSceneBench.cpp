// Frames per second of the asteroid field as the player first sees it, in
// the game's own window (1024 x 768 from cfg/ogre.cfg), against a baseline
// of the same view with every rock hidden (sky, fog clouds and overlays
// only), then without fog clouds and sky; and the indicator's picking ray
// against the time of one frame.
// Run it on the X display: xvfb-run -a -s "-screen 0 1024x768x24" bin/ThirdSceneBench
#include <Ogre.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/BenchApp.h"
#include "scenes/third/Scene3.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Frames per second over n rendered frames.
double measureFps(Mossden::MossdenApp& app, int n) {
    const auto start = Clock::now();
    for (int i = 0; i < n; ++i) app.root->renderOneFrame();
    return n / secondsSince(start);
}

void showRocks(Ogre::SceneManager* manager, bool shown) {
    for (auto& entry : manager->getMovableObjects("Entity")) {
        const std::string& name = entry.first;
        if (name.rfind("aster", 0) == 0 || name.rfind("eye", 0) == 0) entry.second->setVisible(shown);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string exe = argc > 0 ? argv[0] : "ThirdSceneBench";
    char sceneIndex[] = "2";
    char* args[] = {exe.data(), sceneIndex, nullptr};
    Mossden::MossdenApp& app = Mossden::Bench::app();
    if (!app.start(2, args)) return 1;
    auto* scene = dynamic_cast<Mossden::Scene3*>(app.currentScene());
    if (!scene) {
        std::printf("the third scene did not start\n");
        return 1;
    }
    // Through the opening until the viewer stands on aster19.
    const auto opening = Clock::now();
    while (scene->phase() != Mossden::Scene3Phase::OnAsteroid && secondsSince(opening) < 30) app.root->renderOneFrame();
    if (scene->phase() != Mossden::Scene3Phase::OnAsteroid) {
        std::printf("the viewer never stood on the asteroid\n");
        return 1;
    }
    const unsigned width = app.window->getWidth(), height = app.window->getHeight();
    measureFps(app, 30);  // warm caches
    const double field = measureFps(app, 300);
    showRocks(app.sceneManager, false);
    const double empty = measureFps(app, 300);
    showRocks(app.sceneManager, true);
    // Where the time goes: without the fog clouds, then without the sky too.
    for (auto& entry : app.sceneManager->getMovableObjects("BillboardSet")) entry.second->setVisible(false);
    const double noFog = measureFps(app, 200);
    app.sceneManager->setSkyBox(false, "");
    const double noFogNoSky = measureFps(app, 200);

    const int casts = 1000;
    const auto start = Clock::now();
    for (int i = 0; i < casts; ++i) scene->indicatorTest();
    const double castMs = secondsSince(start) * 1000 / casts;

    std::printf("window %ux%u\n", width, height);
    std::printf("field: %.1f fps (%.2f ms a frame)\n", field, 1000 / field);
    std::printf("baseline without rocks: %.1f fps; the rocks cost %.2fx the baseline frame\n", empty,
                empty / field);
    std::printf("without fog clouds: %.1f fps (%.2fx); also without sky: %.1f fps (%.2fx)\n", noFog,
                noFog / field, noFogNoSky, noFogNoSky / field);
    std::printf("indicator ray: %.3f ms, %.3f of a field frame\n", castMs, castMs * field / 1000);
    app.shutdown();
    return 0;
}
