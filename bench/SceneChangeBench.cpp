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
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchApp.h"
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

// A frame's wall-clock time, and the CPU time of the whole process in it
// (the main thread, the software renderer's threads and the sound mixer):
// on a machine shared with other work the wall clock also counts the
// waits for a core, the CPU time does not.
struct FrameTime {
    double wallMs = 0, cpuMs = 0;
};

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

FrameTime timedFrame(Mossden::MossdenApp& app, bool& running) {
    const auto start = Clock::now();
    const double cpuStart = cpuMs();
    running = app.root->renderOneFrame(static_cast<Ogre::Real>(FRAME_SECONDS));
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(), cpuMs() - cpuStart};
}

FrameTime worst(const std::vector<FrameTime>& frames) {
    FrameTime w;
    for (const FrameTime& f : frames) w = {std::max(w.wallMs, f.wallMs), std::max(w.cpuMs, f.cpuMs)};
    return w;
}

void printResult(const char* key, const FrameTime& t) {
    std::printf("RESULT %s_ms %.2f\nRESULT %s_cpu_ms %.2f\n", key, t.wallMs, key, t.cpuMs);
}

// Renders the field's frames (the first one builds it when it follows
// another scene) and prints the figures for the parent; change is the
// frame that built the field, or none when it was built before the loop.
bool reportField(Mossden::MossdenApp& app, const FrameTime* change, const FrameTime& outroWorst, bool& running) {
    std::vector<FrameTime> start, play;
    for (int i = 0; i < FIELD_FRAMES && running; ++i)
        (i < FIELD_START_FRAMES ? start : play).push_back(timedFrame(app, running));
    if (start.size() < 2 || play.empty()) return false;
    // started directly: the field's first frame is its change frame
    const FrameTime changeFrame = change ? *change : start.front();
    if (!change) start.erase(start.begin());
    FrameTime sum;
    for (const FrameTime& f : play) sum = {sum.wallMs + f.wallMs, sum.cpuMs + f.cpuMs};
    const double n = static_cast<double>(play.size());
    printResult("change", changeFrame);
    printResult("outro_worst", outroWorst);
    printResult("start_worst", worst(start));
    printResult("play_mean", {sum.wallMs / n, sum.cpuMs / n});
    std::printf("RESULT resident_mib %.1f\n", residentMiB());
    return true;
}

int runField(char* exe) {
    char index[] = "2";
    char* args[] = {exe, index, nullptr};
    Mossden::MossdenApp& app = Mossden::Bench::app();
    if (!app.start(2, args)) return 1;
    bool running = true;
    const bool ok = reportField(app, nullptr, FrameTime(), running);
    app.shutdown();
    return ok ? 0 : 1;
}

int runJourney(char* exe) {
    char index[] = "1";
    char* args[] = {exe, index, nullptr};
    Mossden::MossdenApp& app = Mossden::Bench::app();
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
    scene->phase = Mossden::FlightPhase::Fall;
    scene->fallTimer.reset();
    std::vector<FrameTime> outro;
    FrameTime change;
    for (int i = 0; i < OUTRO_FRAMES_MAX && running && app.sceneIndex == 1; ++i) {
        const FrameTime t = timedFrame(app, running);
        if (app.sceneIndex == 1)
            outro.push_back(t);
        else
            change = t;
    }
    if (app.sceneIndex == 1) {
        std::printf("the first scene did not hand over to the field\n");
        return 1;
    }
    const bool ok = reportField(app, &change, worst(outro), running);
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
    std::printf("%-20s %12s %12s %12s %12s\n", "", "field wall", "field cpu", "journey wall", "journey cpu");
    for (const char* key : {"change", "start_worst", "outro_worst", "play_mean"})
        std::printf("%-20s %12.1f %12.1f %12.1f %12.1f  ms\n", key, field[std::string(key) + "_ms"],
                    field[std::string(key) + "_cpu_ms"], journey[std::string(key) + "_ms"],
                    journey[std::string(key) + "_cpu_ms"]);
    std::printf("%-20s %12.1f %12s %12.1f  MiB\n", "resident", field["resident_mib"], "", journey["resident_mib"]);
    const double worstChange = std::max({journey["change_ms"], journey["start_worst_ms"], journey["outro_worst_ms"],
                                         field["change_ms"], field["start_worst_ms"]});
    const double worstChangeCpu =
        std::max({journey["change_cpu_ms"], journey["start_worst_cpu_ms"], journey["outro_worst_cpu_ms"],
                  field["change_cpu_ms"], field["start_worst_cpu_ms"]});
    std::printf("journey's change frame / field's mean frame (wall): %.1f\n",
                journey["change_ms"] / journey["play_mean_ms"]);
    std::printf("worst frame around a change / %.0f ms budget: wall %.2f, cpu %.2f (target at most 1)\n",
                STALL_BUDGET_MS, worstChange / STALL_BUDGET_MS, worstChangeCpu / STALL_BUDGET_MS);
    std::printf("resident memory, journey / field started directly: %.3f (target at most 1.10)\n",
                journey["resident_mib"] / field["resident_mib"]);
    return 0;
}
