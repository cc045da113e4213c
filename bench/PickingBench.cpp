// Picking rays against a field of 21 spinning asteroid-sized rocks (over
// 10,000 triangles each): castRay with its cached model-space hierarchy
// against castRayExtracting, which extracts every examined entity's whole
// mesh into world space at every cast. Both run on the same rays and poses
// in this process; the ratio of their times is printed, and every ray's
// hit, entity, distance, normal and point must agree exactly.
//
// Runs without a window: a root without render system and system-memory
// hardware buffers. Usage: PickingBench [rays] (default 2000).
#include <Ogre.h>
#include <OgreDefaultHardwareBufferManager.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>

#include "bench/RockField.h"
#include "scene/Helpers.h"

namespace {

constexpr int ROCKS = 21;
constexpr int RINGS = 64;
constexpr int SEGMENTS = 80;  // 2 * 64 * 80 = 10240 triangles per rock
constexpr int RAYS_PER_POSE = 50;
constexpr Ogre::Real POSE_STEP = 0.03f;  // seconds between poses: one picking ray per 30 ms

struct Outcome {
    bool result = false;
    Ogre::Vector3 point{-1, -2, -3};
    Ogre::Vector3 normal{-4, -5, -6};
    Ogre::Entity* entity = nullptr;
    Ogre::Real distance = -7;
    bool operator==(const Outcome& o) const {
        return result == o.result && point == o.point && normal == o.normal && entity == o.entity &&
               distance == o.distance;
    }
};

// Processor time of this thread: other programs sharing the machine do not
// count, so the ratio holds on a busy machine.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<Clock, duration>;
    static time_point now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec));
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rayCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    auto* logs = new Ogre::LogManager();
    logs->createLog("PickingBench.log", true, false, true);
    auto* root = new Ogre::Root("", "", "");
    auto* buffers = new Ogre::DefaultHardwareBufferManager();
    Ogre::MaterialManager::getSingleton().initialise();  // no render system does it for us
    int status = 0;
    {
        Ogre::SceneManager* manager = root->createSceneManager();
        {
            std::vector<RockField::Rock> rocks =
                RockField::build(manager, "aster", ROCKS, RINGS, SEGMENTS, 5);
            RockField::spin(manager, rocks, 0);
            const std::vector<RockField::Ray> rays = RockField::rays(rocks, rayCount, 11);
            RayPicker picker(manager);

            // The hierarchies are built on a mesh's first cast; time that apart.
            auto buildStart = Clock::now();
            for (const auto& rock : rocks) picker.meshTriangles(rock.entity->getMesh().get());
            const double buildMs =
                std::chrono::duration<double, std::milli>(Clock::now() - buildStart).count();

            Clock::duration cached{}, extracting{};
            int hits = 0, mismatches = 0;
            for (size_t first = 0; first < rays.size(); first += RAYS_PER_POSE) {
                RockField::spin(manager, rocks, POSE_STEP * (first / RAYS_PER_POSE));
                const size_t last = std::min(rays.size(), first + RAYS_PER_POSE);
                std::vector<Outcome> fast(last - first), slow(last - first);
                auto start = Clock::now();
                for (size_t i = first; i < last; ++i) {
                    Outcome& o = fast[i - first];
                    o.result = castRay(picker, rays[i].origin, rays[i].direction, o.point, o.normal,
                                       o.entity, o.distance);
                }
                cached += Clock::now() - start;
                start = Clock::now();
                for (size_t i = first; i < last; ++i) {
                    Outcome& o = slow[i - first];
                    o.result = castRayExtracting(picker, rays[i].origin, rays[i].direction, o.point,
                                                 o.normal, o.entity, o.distance);
                }
                extracting += Clock::now() - start;
                for (size_t i = 0; i < fast.size(); ++i) {
                    if (slow[i].result) ++hits;
                    if (!(fast[i] == slow[i])) {
                        ++mismatches;
                        std::cout << "ray " << first + i << " differs: result " << fast[i].result
                                  << "/" << slow[i].result << " distance " << fast[i].distance
                                  << "/" << slow[i].distance << " entity "
                                  << (fast[i].entity ? fast[i].entity->getName() : "-") << "/"
                                  << (slow[i].entity ? slow[i].entity->getName() : "-")
                                  << std::endl;
                    }
                }
            }
            const double fastMs = std::chrono::duration<double, std::milli>(cached).count();
            const double slowMs = std::chrono::duration<double, std::milli>(extracting).count();
            std::cout << "rocks " << ROCKS << " x " << 2 * RINGS * SEGMENTS << " triangles, rays "
                      << rays.size() << " (" << hits << " hits)\n"
                      << "building the 21 hierarchies once: " << buildMs << " ms\n"
                      << "castRay (cached hierarchies):             " << fastMs << " ms, "
                      << fastMs * 1000 / rays.size() << " us/ray\n"
                      << "castRayExtracting (per-cast extraction):  " << slowMs << " ms, "
                      << slowMs * 1000 / rays.size() << " us/ray\n"
                      << "speed-up: " << slowMs / fastMs << " x (" << slowMs / (fastMs + buildMs)
                      << " x counting the hierarchy builds)\n"
                      << "rays that disagree: " << mismatches << std::endl;
            status = mismatches == 0 ? 0 : 1;
        }  // the picker releases its query before its scene manager goes
        root->destroySceneManager(manager);
    }
    delete root;
    delete buffers;
    delete logs;
    return status;
}
