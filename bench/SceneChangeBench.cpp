// The frames around a scene change and the memory the field holds, in the
// game's own window (1024 x 768 from cfg/ogre.cfg), with the game's frame
// operations at 60 frames per second of game time.
//   journey: the first scene, its fall and its dark outro, the change to the
//            asteroid field and the field's first frames; then the
//            resident memory.
//   field:   the field started directly, its first frames; then the
//            resident memory: the baseline the journey's figure is held to.
// Without an argument the program runs both, each in a process of its own
// (one engine per process), and prints the ratios.
// Run it on the X display: xvfb-run -a -s "-screen 0 1024x768x24" bin/SceneChangeBench
#include <Ogre.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/MossdenApp.h"
#include "audio/SoundManager.h"
#include "scenes/first/Scene1.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double FRAME_SECONDS = 1.0 / 60.0;  // game time per frame
constexpr int FIRST_SCENE_FRAMES = 60;        // of the ascent, before the fall
constexpr int OUTRO_FRAMES_MAX = 2000;        // the outro ends the scene well before
constexpr int FIELD_FRAMES = 240;             // the field's opening, then its play
constexpr int FIELD_START_FRAMES = 60;        // counted as the scene's start
constexpr double STALL_BUDGET_MS = 250.0;

double residentMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kib = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kib;
            break;
        }
        status.ignore(4096, '\n');
    }
    return kib / 1024.0;
}

double timedFrame(Mossden::MossdenApp& app, bool& running) {
    const auto start = Clock::now();
    running = app.root->renderOneFrame(static_cast<Ogre::Real>(FRAME_SECONDS));
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Renders the field's frames (the first one builds it when it follows
// another scene) and prints the figures for the parent.
bool reportField(Mossden::MossdenApp& app, double changeMs, double outroWorstMs, bool& running) {
    std::vector<double> start, play;
    for (int i = 0; i < FIELD_FRAMES && running; ++i) {
        const double ms = timedFrame(app, running);
        (i < FIELD_START_FRAMES ? start : play).push_back(ms);
    }
    if (start.empty() || play.empty()) return false;
    if (changeMs < 0) {
        // started directly: the field's first frame is its change frame
        changeMs = start.front();
        start.erase(start.begin());
    }
    double sum = 0;
    for (double ms : play) sum += ms;
    std::printf("RESULT change_ms %.2f\n", changeMs);
    std::printf("RESULT outro_worst_ms %.2f\n", outroWorstMs);
    std::printf("RESULT start_worst_ms %.2f\n", *std::max_element(start.begin(), start.end()));
    std::printf("RESULT play_mean_ms %.2f\n", sum / static_cast<double>(play.size()));
    std::printf("RESULT resident_mib %.1f\n", residentMiB());
    return true;
}

int runField(char* exe) {
    char index[] = "2";
    char* args[] = {exe, index, nullptr};
    Mossden::MossdenApp& app = Mossden::MossdenApp::getInstance();
    if (!app.start(2, args)) return 1;
    bool running = true;
    const bool ok = reportField(app, -1, 0, running);
    app.shutdown();
    return ok ? 0 : 1;
}

int runJourney(char* exe) {
    char index[] = "1";
    char* args[] = {exe, index, nullptr};
    Mossden::MossdenApp& app = Mossden::MossdenApp::getInstance();
    if (!app.start(2, args)) return 1;
    bool running = true;
    for (int i = 0; i < FIRST_SCENE_FRAMES && running; ++i) timedFrame(app, running);
    auto* scene = dynamic_cast<Mossden::Scene1*>(app.currentScene());
    if (!scene) return 1;
    // The end of the flight: the approach (whose fade ends the flight's
    // music, and in which the one-shot sounds run out) and the fall's track
    // are skipped, the dark outro is played frame by frame until the scene
    // hands over.
    SoundManager& sound = SoundManager::getInstance();
    for (int id = 0; id < sound.soundCount(); ++id)
        if (!sound.record(id)->loop) sound.stop(id);
    scene->fallTrackState->setEnabled(true);
    scene->fallTrackState->setTimePosition(scene->fallTrackState->getLength());
    scene->phase = Mossden::Scene1::PHASE_FALL;
    scene->fallTimer.reset();
    double outroWorst = 0, changeMs = -1;
    for (int i = 0; i < OUTRO_FRAMES_MAX && running && app.sceneIndex == 1; ++i) {
        const double ms = timedFrame(app, running);
        if (app.sceneIndex == 1)
            outroWorst = std::max(outroWorst, ms);
        else
            changeMs = ms;
    }
    if (changeMs < 0) {
        std::printf("the first scene did not hand over to the field\n");
        return 1;
    }
    const bool ok = reportField(app, changeMs, outroWorst, running);
    app.shutdown();
    return ok ? 0 : 1;
}

// Runs this program with mode in a child process and collects its
// "RESULT key value" lines.
std::map<std::string, double> runChild(const char* exe, const char* mode) {
    std::map<std::string, double> results;
    int fds[2];
    if (pipe(fds) != 0) return results;
    const pid_t child = fork();
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        execl(exe, exe, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    FILE* in = fdopen(fds[0], "r");
    char line[512];
    while (in && std::fgets(line, sizeof line, in)) {
        char key[64];
        double value = 0;
        if (std::sscanf(line, "RESULT %63s %lf", key, &value) == 2) results[key] = value;
    }
    if (in) std::fclose(in);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) results.clear();
    return results;
}

}  // namespace

int main(int argc, char** argv) {
    std::string exe = argc > 0 ? argv[0] : "SceneChangeBench";
    if (argc > 1 && std::strcmp(argv[1], "journey") == 0) return runJourney(exe.data());
    if (argc > 1 && std::strcmp(argv[1], "field") == 0) return runField(exe.data());

    auto field = runChild(exe.c_str(), "field");
    auto journey = runChild(exe.c_str(), "journey");
    if (field.empty() || journey.empty()) {
        std::printf("a run failed (field %s, journey %s)\n", field.empty() ? "failed" : "ran",
                    journey.empty() ? "failed" : "ran");
        return 1;
    }
    std::printf("%-36s %10s %10s\n", "", "field", "journey");
    for (const char* key : {"change_ms", "start_worst_ms", "outro_worst_ms", "play_mean_ms", "resident_mib"})
        std::printf("%-36s %10.1f %10.1f\n", key, field[key], journey[key]);
    std::printf("journey's change frame / %.0f ms budget:    %.2f\n", STALL_BUDGET_MS,
                journey["change_ms"] / STALL_BUDGET_MS);
    std::printf("field's start frame / %.0f ms budget:       %.2f\n", STALL_BUDGET_MS,
                field["change_ms"] / STALL_BUDGET_MS);
    std::printf("worst other frame / %.0f ms budget:         %.2f\n", STALL_BUDGET_MS,
                std::max({journey["start_worst_ms"], journey["outro_worst_ms"], field["start_worst_ms"]}) /
                    STALL_BUDGET_MS);
    std::printf("journey's change frame / field's mean frame: %.1f\n",
                journey["change_ms"] / journey["play_mean_ms"]);
    std::printf("resident memory, journey / field started directly: %.3f (target at most 1.10)\n",
                journey["resident_mib"] / field["resident_mib"]);
    return 0;
}
