// What the pixels of the two dearest views cost: the first scene's ascent
// and a turn on the asteroid field's start asteroid, each rendered along the
// same camera path with the baseline materials (bench/baseline: the moss,
// field and sky materials before their fill cost was cut, with the field's
// stencil shadows of that time) and with the game's own at each quality
// level, in one process, at 1024x768 and at 1920x1080. Prints the mean and
// 99th-percentile frame time of each and their ratios to the baseline, and
// writes a screenshot grid of the same frames (baseline, High / Medium, Low)
// to the artefacts folder. The game logic stands still while a path renders:
// only the bench moves the camera, so every look renders the same frames.
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/FillCostBench [frames per path] [rounds] [ascent|field|both] [baseline|High|Medium|Low]
// With a look named last it prints instead what each group of objects and the
// sky cost of that look's frames, at each size.
#include <Ogre.h>
#include <OgreOverlay.h>
#include <OgreSubEntity.h>
#include <OgreWindowEventUtilities.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <cctype>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchApp.h"
#include "scene/SkyMesh.h"
#include "first_world/World.h"
#include "scenes/first/Scene1.h"
#include "scenes/third/Scene3.h"

#ifndef MOSSDEN_BENCH_BASELINE_DIR
#error "MOSSDEN_BENCH_BASELINE_DIR names the folder of the baseline materials"
#endif

namespace {

using Clock = std::chrono::steady_clock;
using Mossden::MossdenApp;
using Quality = Mossden::Settings::Quality;

constexpr const char* BASELINE_SCRIPTS[] = {"FirstScene.material", "third_scene.material"};
constexpr const char* BASELINE_PREFIX = "Bench/Baseline/";
constexpr const char* GAME_PREFIX = "Bench/Game/";
constexpr float FRAME_STEP = 1.0f / 60.0f;  // what the engine is told a frame took, seconds
constexpr int WARM_FRAMES = 4;              // before a screenshot or a breakdown: shaders compile on first use
// The first scene's ascent in track time (the climb ends a little after).
constexpr float ASCENT_FROM = 0, ASCENT_TO = 2200;
constexpr float FIELD_PITCH = 20;  // degrees up and down while turning on the asteroid
const float SHOT_POINTS[] = {0.15f, 0.5f, 0.85f};  // where along a path the screenshots are

struct Size {
    unsigned width, height;
};
constexpr Size SIZES[] = {{1024, 768}, {1920, 1080}};

// A look: the materials and scene state a path is rendered with.
struct Look {
    const char* name;
    bool baseline;
    Quality quality;
};
const Look LOOKS[] = {{"baseline", true, Quality::High},
                      {"High", false, Quality::High},
                      {"Medium", false, Quality::Medium},
                      {"Low", false, Quality::Low}};
constexpr std::size_t LOOK_COUNT = sizeof(LOOKS) / sizeof(LOOKS[0]);

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The baseline materials, under BASELINE_PREFIX names beside the game's,
// copied into the game's materials (which every entity, billboard set and
// sky already points at) for a baseline look, and the game's own back.
class MaterialSwap {
public:
    bool load() {
        auto& manager = Ogre::MaterialManager::getSingleton();
        const std::regex declaration(R"(^material\s+(\S+))");
        for (const char* script : BASELINE_SCRIPTS) {
            const std::string path = std::string(MOSSDEN_BENCH_BASELINE_DIR) + "/" + script;
            std::string text = readFile(path);
            if (text.empty()) {
                std::printf("%s: missing or empty\n", path.c_str());
                return false;
            }
            std::istringstream lines(text);
            std::string renamed, line;
            while (std::getline(lines, line)) {
                std::smatch m;
                if (std::regex_search(line, m, declaration)) {
                    names.push_back(m[1]);
                    line = "material " + std::string(BASELINE_PREFIX) + m[1].str();
                }
                renamed += line + "\n";
            }
            Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(path, renamed.data(), renamed.size()));
            manager.parseScript(stream, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        }
        for (const std::string& name : names) {
            Ogre::MaterialPtr game = manager.getByName(name);
            if (!game) continue;  // the game no longer has it: nothing points at it
            swaps.push_back({game, manager.getByName(BASELINE_PREFIX + name), game->clone(GAME_PREFIX + name)});
        }
        return true;
    }

    void use(bool baseline) {
        for (Swap& s : swaps) {
            (baseline ? s.baseline : s.game)->copyDetailsTo(s.target);
            s.target->load();
        }
    }

private:
    struct Swap {
        Ogre::MaterialPtr target, baseline, game;
    };
    std::vector<std::string> names;
    std::vector<Swap> swaps;
};

// What the baseline drew that the game no longer does: the far moss under
// the detailed floor, never seen but paid for, as a plain grid of the same
// cells (shown only with the baseline look).
class BaselineStandIns {
public:
    explicit BaselineStandIns(Ogre::SceneManager* sceneManager) {
        using namespace FirstWorld;
        farMoss = sceneManager->createManualObject("Bench/Baseline/FarMossMiddle");
        const float cell = 2 * FAR_MOSS_REACH / FAR_MOSS_CELLS;
        const int n = int(std::lround(2 * FAR_MOSS_HOLE / cell));
        farMoss->begin("FirstScene/Moss", Ogre::RenderOperation::OT_TRIANGLE_LIST);
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) {
                farMoss->position(WORLD_CENTRE.x - FAR_MOSS_HOLE + float(i) * cell, FAR_MOSS_Y,
                                  WORLD_CENTRE.z - FAR_MOSS_HOLE + float(j) * cell);
                farMoss->normal(Ogre::Vector3::UNIT_Y);
                farMoss->textureCoord(float(i), float(j));
            }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const Ogre::uint32 a = Ogre::uint32(j * (n + 1) + i), b = a + 1, c = a + Ogre::uint32(n + 1), d = c + 1;
                farMoss->triangle(a, c, b);
                farMoss->triangle(b, c, d);
            }
        farMoss->end();
        farMoss->setCastShadows(false);
        sceneManager->getRootSceneNode()->attachObject(farMoss);
        farMoss->setVisible(false);
    }
    void show(bool baseline) { farMoss->setVisible(baseline); }

private:
    Ogre::ManualObject* farMoss;  // the scene manager's
};

// The process's processor time (the renderer's threads included), ms: less
// disturbed than wall time by others' work on a shared machine.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000 + double(t.tv_nsec) / 1e6;
}

struct Times {
    std::vector<double> ms;
    double cpu = 0;  // processor ms over all the frames
    double mean() const {
        double sum = 0;
        for (double t : ms) sum += t;
        return ms.empty() ? 0 : sum / double(ms.size());
    }
    double p99() const {
        if (ms.empty()) return 0;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min(sorted.size() - 1, std::size_t(double(sorted.size()) * 0.99))];
    }
};

// A path: puts the camera at a point 0..1 along it.
using Path = std::function<void(float)>;

class Bench {
public:
    Bench(MossdenApp& app, MaterialSwap& materials, int frames, int rounds, std::string shots)
        : app(app), materials(materials), frames(frames), rounds(rounds), shotFolder(std::move(shots)) {}

    void useStandIns(BaselineStandIns* s) { standIns = s; }

    // The scene state of the game's looks, taken once the scene is built.
    // The baseline drew a sky box of baselineSky (a baseline material) at
    // baselineDistance, first; the game draws its sky mesh, or a sky box.
    void takeGameState(const std::string& baselineSky, Ogre::Real baselineDistance) {
        gameShadows = app.sceneManager->getShadowTechnique();
        gameClear = app.window->getViewport(0)->getClearBuffers();
        baseSky = BASELINE_PREFIX + baselineSky;
        baseSkyDistance = baselineDistance;
        gameSkyBox = app.sceneManager->isSkyBoxEnabled();
        if (gameSkyBox) {
            Ogre::SceneNode* node = app.sceneManager->getSkyBoxNode();
            gameSky = baselineSky;  // the box's material, under its own name
            gameSkyDistance = app.sceneManager->getSkyBoxGenParameters().skyBoxDistance;
            gameSkyFirst = !node || node->numAttachedObjects() == 0 ||
                           node->getAttachedObject(0)->getRenderQueueGroup() == Ogre::RENDER_QUEUE_SKIES_EARLY;
        }
        skyMesh = app.sceneManager->hasEntity(Mossden::SKY_MESH_ENTITY)
                      ? app.sceneManager->getEntity(Mossden::SKY_MESH_ENTITY)
                      : nullptr;
        // The scene files now order the opaque world by queue groups below
        // the sky's; the baseline drew every file entity in the first.
        ordered.clear();
        for (const auto& entry : app.sceneManager->getMovableObjects("Entity"))
            if (entry.second->getRenderQueueGroup() > Ogre::RENDER_QUEUE_BACKGROUND &&
                entry.second->getRenderQueueGroup() < Ogre::RENDER_QUEUE_SKIES_EARLY)
                ordered.push_back({entry.second, entry.second->getRenderQueueGroup()});
    }

    void apply(const Look& look, Ogre::ShadowTechnique baselineShadows) {
        materials.use(look.baseline);
        if (standIns) standIns->show(look.baseline);
        app.setQuality(look.quality);
        app.sceneManager->setShadowTechnique(look.baseline ? baselineShadows : gameShadows);
        // The baseline cleared colour and depth only, which leaves a
        // software renderer a masked write of every pixel to keep the
        // stencil; the game clears all three in one fill.
        app.window->getViewport(0)->setClearEveryFrame(
            true, look.baseline ? unsigned(Ogre::FBT_COLOUR | Ogre::FBT_DEPTH) : gameClear);
        // The sky box is built anew from its material (a cube map and six
        // separate faces make different boxes).
        if (look.baseline)
            app.sceneManager->setSkyBox(true, baseSky, baseSkyDistance, true);
        else if (gameSkyBox)
            app.sceneManager->setSkyBox(true, gameSky, gameSkyDistance, gameSkyFirst);
        else
            app.sceneManager->setSkyBox(false, "");
        if (skyMesh) skyMesh->setVisible(!look.baseline);
        for (const auto& entry : ordered)
            entry.first->setRenderQueueGroup(look.baseline ? Ogre::uint8(Ogre::RENDER_QUEUE_BACKGROUND) : entry.second);
        // The baseline drew everything at any distance, in full detail (its
        // meshes had no coarser levels).
        // The game's looks have theirs from the quality level set above.
        if (look.baseline)
            for (const auto& entry : app.sceneManager->getMovableObjects("Entity")) {
                entry.second->setRenderingDistance(0);
                static_cast<Ogre::Entity*>(entry.second)->setMeshLodBias(1, 0, 0);
            }
    }

    void run(const char* pathName, const Path& path, Ogre::ShadowTechnique baselineShadows, const Size& size,
             bool shots) {
        std::vector<Times> times(LOOK_COUNT);
        // The looks take turns frame by frame, so that a load that comes and
        // goes on the machine falls on all of them alike.
        // Each look once along the whole path first, untimed: the renderer
        // compiles a shader for each new state on first use, and a look
        // that met a state first would carry all of those pauses.
        for (std::size_t l = 0; l < LOOK_COUNT; ++l) {
            apply(LOOKS[l], baselineShadows);
            for (int i = 0; i < frames; ++i) {
                path(float(i) / float(frames - 1));
                app.root->renderOneFrame(FRAME_STEP);
            }
        }
        for (int round = 0; round < rounds; ++round)
            for (int i = 0; i < frames; ++i)
                for (std::size_t l = 0; l < LOOK_COUNT; ++l) {
                    apply(LOOKS[l], baselineShadows);
                    path(float(i) / float(frames - 1));
                    const auto start = Clock::now();
                    const double cpuStart = cpuMs();
                    app.root->renderOneFrame(FRAME_STEP);
                    times[l].ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                    times[l].cpu += cpuMs() - cpuStart;
                }
        const double baseMean = times[0].mean(), baseP99 = times[0].p99();
        for (std::size_t l = 0; l < LOOK_COUNT; ++l)
            std::printf("%-7s %4ux%-4u %-8s mean %6.2f ms  p99 %6.2f ms  mean/baseline %.3f  p99/mean %.2f"
                        "  p99/baseline p99 %.3f  processor/baseline %.3f\n",
                        pathName, size.width, size.height, LOOKS[l].name, times[l].mean(), times[l].p99(),
                        times[l].mean() / baseMean, times[l].p99() / times[l].mean(), times[l].p99() / baseP99,
                        times[l].cpu / times[0].cpu);
        std::fflush(stdout);
        if (shots) writeShots(pathName, path, baselineShadows, size);
        apply(LOOKS[1], baselineShadows);  // the game's own again
    }

    // What each group of objects (named by their name without its digits),
    // each material of the entities and the sky cost at a look: every frame
    // of the path is rendered with everything and with each group hidden
    // in turn.
    void parts(const char* pathName, const Path& path, Ogre::ShadowTechnique baselineShadows, const Look& look) {
        apply(look, baselineShadows);
        std::map<std::string, std::vector<Ogre::MovableObject*>> groups;
        std::map<std::string, std::vector<Ogre::SubEntity*>> materials;
        for (const char* type : {"Entity", "BillboardSet", "ParticleSystem", "ManualObject"})
            for (const auto& entry : app.sceneManager->getMovableObjects(type)) {
                if (!entry.second->getVisible() || !entry.second->isAttached()) continue;
                std::string name = entry.first;
                while (!name.empty() && (std::isdigit(static_cast<unsigned char>(name.back())) || name.back() == '_'))
                    name.pop_back();
                groups[name].push_back(entry.second);
                if (std::string(type) == "Entity")
                    for (Ogre::SubEntity* sub : static_cast<Ogre::Entity*>(entry.second)->getSubEntities())
                        if (sub->isVisible()) materials["material " + sub->getMaterialName()].push_back(sub);
            }
        // The last variant hides everything: what is left is the frame's own
        // work (clearing, overlays, handing the picture to the display).
        std::vector<std::string> names{"(all)", "(sky)"};
        for (const auto& g : groups) names.push_back(g.first);
        for (const auto& m : materials) names.push_back(m.first);
        names.push_back("(everything)");
        std::vector<Times> times(names.size());
        std::vector<double> triangles(names.size()), batches(names.size());
        auto count = [&](const std::string& name) {
            return groups.count(name) ? groups[name].size() : materials.count(name) ? materials[name].size() : 0;
        };
        auto show = [&](std::size_t v, bool visible) {
            const bool everything = v + 1 == names.size();
            if (v == 1 || everything) {
                if (app.sceneManager->isSkyBoxEnabled() || !visible) app.sceneManager->setSkyBoxEnabled(visible);
                if (skyMesh && !look.baseline) skyMesh->setVisible(visible);
            }
            for (const auto& g : groups)
                if (everything || g.first == names[v])
                    for (Ogre::MovableObject* o : g.second) o->setVisible(visible);
            if (materials.count(names[v]))
                for (Ogre::SubEntity* sub : materials[names[v]]) sub->setVisible(visible);
        };
        path(0);
        for (int i = 0; i < WARM_FRAMES; ++i) app.root->renderOneFrame(FRAME_STEP);
        for (int round = 0; round < rounds; ++round)
            for (int i = 0; i < frames; ++i)
                for (std::size_t v = 0; v < names.size(); ++v) {
                    show(v, false);
                    path(float(i) / float(frames - 1));
                    const auto start = Clock::now();
                    app.root->renderOneFrame(FRAME_STEP);
                    times[v].ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                    triangles[v] += double(app.window->getStatistics().triangleCount);
                    batches[v] += double(app.window->getStatistics().batchCount);
                    show(v, true);
                }
        const double all = times[0].mean();
        for (std::size_t v = 0; v < names.size(); ++v)
            std::printf("%-7s %-8s %-32s objects %4zu  mean %6.2f ms  share of the frame %5.1f%%  triangles %7.0f"
                        "  batches %5.0f\n",
                        pathName, look.name, names[v].c_str(),
                        count(names[v]), times[v].mean(),
                        v == 0 ? 100.0 : 100.0 * (1 - times[v].mean() / all),
                        (triangles[0] - (v ? triangles[v] : 0)) / double(times[v].ms.size()),
                        (batches[0] - (v ? batches[v] : 0)) / double(times[v].ms.size()));
        std::fflush(stdout);
        apply(LOOKS[1], baselineShadows);
    }

private:
    // A grid of the looks at the same frames: baseline and High above,
    // Medium and Low below.
    void writeShots(const char* pathName, const Path& path, Ogre::ShadowTechnique baselineShadows,
                    const Size& size) {
        if (shotFolder.empty()) return;
        const std::size_t w = size.width, h = size.height, pixel = 3;
        for (float at : SHOT_POINTS) {
            std::vector<unsigned char> grid(w * 2 * h * 2 * pixel);
            for (std::size_t l = 0; l < LOOK_COUNT; ++l) {
                apply(LOOKS[l], baselineShadows);
                path(at);
                for (int i = 0; i < WARM_FRAMES; ++i) app.root->renderOneFrame(FRAME_STEP);
                std::vector<unsigned char> panel(w * h * pixel);
                const Ogre::PixelBox box(Ogre::uint32(w), Ogre::uint32(h), 1, Ogre::PF_BYTE_RGB, panel.data());
                app.window->copyContentsToMemory(Ogre::Box(0, 0, Ogre::uint32(w), Ogre::uint32(h)), box);
                const std::size_t left = (l % 2) * w, top = (l / 2) * h;
                for (std::size_t y = 0; y < h; ++y)
                    std::copy_n(&panel[y * w * pixel], w * pixel, &grid[((top + y) * w * 2 + left) * pixel]);
            }
            Ogre::Image image;
            image.loadDynamicImage(grid.data(), Ogre::uint32(w * 2), Ogre::uint32(h * 2), Ogre::PF_BYTE_RGB);
            char name[128];
            std::snprintf(name, sizeof name, "fillcost_%s_%ux%u_%02d.png", pathName, size.width, size.height,
                          int(at * 100));
            const std::string file = shotFolder + "/" + name;
            image.save(file);
            std::printf("wrote %s (baseline | High / Medium | Low)\n", file.c_str());
        }
    }

    MossdenApp& app;
    MaterialSwap& materials;
    BaselineStandIns* standIns = nullptr;
    int frames, rounds;
    std::string shotFolder;
    Ogre::ShadowTechnique gameShadows = Ogre::SHADOWTYPE_NONE;
    unsigned gameClear = Ogre::FBT_COLOUR | Ogre::FBT_DEPTH;
    std::string baseSky, gameSky;  // sky box materials
    Ogre::Real baseSkyDistance = 0, gameSkyDistance = 0;
    bool gameSkyBox = false, gameSkyFirst = true;
    Ogre::Entity* skyMesh = nullptr;  // the scene manager's
    std::vector<std::pair<Ogre::MovableObject*, Ogre::uint8>> ordered;  // and their game queue group
};

const Look* findLook(const std::string& name) {
    for (const Look& look : LOOKS)
        if (name == look.name) return &look;
    return nullptr;
}

// False when the window would not take the size.
bool resize(MossdenApp& app, const Size& size) {
    app.window->resize(size.width, size.height);
    for (int i = 0; i < 50 && (app.window->getWidth() != size.width || app.window->getHeight() != size.height); ++i) {
        OgreBites::WindowEventUtilities::messagePump();
        app.window->windowMovedOrResized();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    app.camera->setAspectRatio(Ogre::Real(size.width) / Ogre::Real(size.height));
    if (app.window->getWidth() == size.width && app.window->getHeight() == size.height) return true;
    std::printf("the window would not take %ux%u (it is %ux%u)\n", size.width, size.height, app.window->getWidth(),
                app.window->getHeight());
    return false;
}

void hideFader(MossdenApp& app) {
    app.fader->operation = Mossden::Fader::FADE_NONE;
    if (app.fader->overlay) app.fader->overlay->hide();
}

int measure(MossdenApp& app, int frames, int rounds, const std::string& only, const std::string& partsOf,
            const std::string& shots);

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 60;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    const std::string only = argc > 3 ? argv[3] : "";
    const std::string partsOf = argc > 4 ? argv[4] : "";
    // The player's own settings stay out of it, and are not written.
    char configHome[] = "/tmp/mossden-bench-XXXXXX";
    if (!mkdtemp(configHome)) return 1;
    setenv("XDG_CONFIG_HOME", configHome, 1);
    setenv("MOSSDEN_TIME_SCALE", "20", 1);  // through the field's opening quickly
    setenv("ALSOFT_DRIVERS", "null", 0);

    std::string exe = argv[0];
    std::string one = "1";
    char* args[] = {exe.data(), one.data(), nullptr};
    MossdenApp& app = Mossden::Bench::app();
    int result = 1;
    if (app.start(2, args)) {
        const std::string shots =
            (std::filesystem::weakly_canonical(std::filesystem::path(exe)).parent_path().parent_path() / "artefacts")
                .string();
        std::filesystem::create_directories(shots);
        // The pictures only the baseline's materials use, beside the media.
        const std::string benchMedia =
            (std::filesystem::weakly_canonical(std::filesystem::path(exe)).parent_path().parent_path() / "media" /
             "bench")
                .string();
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(
            benchMedia, "FileSystem", Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        result = measure(app, frames, rounds, only, partsOf, shots);
    }
    // After measure: its materials must let go before the engine goes.
    app.shutdown();
    std::filesystem::remove_all(configHome);
    return result;
}

namespace {

// Both paths with every look; 0 when all went well.
int measure(MossdenApp& app, int frames, int rounds, const std::string& only, const std::string& partsOf,
            const std::string& shots) {
    MaterialSwap materials;
    if (!materials.load()) return 1;
    Bench bench(app, materials, frames, rounds, shots);

    // The ascent: the track moved by hand, the scene's own update held off.
    auto* first = dynamic_cast<Mossden::Scene1*>(app.currentScene());
    if (!first) return 1;
    Mossden::Scene1::firstUpdatePending = false;
    Ogre::FrameEvent evt;
    evt.timeSinceLastFrame = FRAME_STEP;
    first->update(evt);  // into the ascent
    first->trackSpeed = 0;
    hideFader(app);
    app.root->removeFrameListener(&app);
    BaselineStandIns standIns(app.sceneManager);
    bench.useStandIns(&standIns);
    bench.takeGameState("FirstScene/Sky", 60000);
    const Path ascent = [&](float f) {
        first->cameraTrackState->setTimePosition(ASCENT_FROM + (ASCENT_TO - ASCENT_FROM) * f);
    };
    for (const Size& size : SIZES) {
        if (only == "field") break;
        if (!resize(app, size)) return 1;
        if (const Look* look = findLook(partsOf))
            bench.parts("ascent", ascent, Ogre::SHADOWTYPE_NONE, *look);
        else
            bench.run("ascent", ascent, Ogre::SHADOWTYPE_NONE, size, &size == &SIZES[0]);
    }
    resize(app, SIZES[0]);

    bench.useStandIns(nullptr);  // the first scene's, gone with it

    // The field: through its opening until the viewer stands on the start
    // asteroid, then a turn all the way round, looking up and down.
    app.root->addFrameListener(&app);
    app.sceneIndex = 1;
    app.nextScene();
    auto* field = dynamic_cast<Mossden::Scene3*>(app.currentScene());
    if (!field) return 1;
    const auto opening = Clock::now();
    while (field->phase() != Mossden::Scene3Phase::OnAsteroid &&
           std::chrono::duration<double>(Clock::now() - opening).count() < 60)
        app.root->renderOneFrame();
    if (field->phase() != Mossden::Scene3Phase::OnAsteroid) {
        std::printf("the viewer never stood on the start asteroid\n");
        return 1;
    }
    hideFader(app);
    app.root->removeFrameListener(&app);
    bench.takeGameState("Third/Sky", 50000);
    const Ogre::Quaternion facing = app.camera->getOrientation();
    const Path turn = [&](float f) {
        app.camera->setOrientation(
            facing * Ogre::Quaternion(Ogre::Degree(360 * f), Ogre::Vector3::UNIT_Y) *
            Ogre::Quaternion(Ogre::Degree(FIELD_PITCH * std::sin(f * Ogre::Math::TWO_PI * 2)), Ogre::Vector3::UNIT_X));
    };
    // The field as it is started on its own: the application's stencil
    // shadows were on (the first scene's file turns them off for the rest
    // of a play-through).
    for (const Size& size : SIZES) {
        if (only == "ascent") break;
        if (!resize(app, size)) return 1;
        if (const Look* look = findLook(partsOf))
            bench.parts("field", turn, Ogre::SHADOWTYPE_STENCIL_ADDITIVE, *look);
        else
            bench.run("field", turn, Ogre::SHADOWTYPE_STENCIL_ADDITIVE, size, &size == &SIZES[0]);
    }
    app.camera->setOrientation(facing);
    app.root->addFrameListener(&app);
    return 0;
}

}  // namespace
