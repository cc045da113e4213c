#ifndef MOSSDEN_APP_FRAMESTATS_H
#define MOSSDEN_APP_FRAMESTATS_H

// Frame-time bookkeeping for test runs, free of the engine so that its maths
// can be tested alone. Frame times are milliseconds of wall-clock time.
// A frame that builds a scene (loading it, and the first picture of it) is
// a scene change: it is kept apart from the scene's other frames, whose
// mean and percentile describe play, and reported in columns of its own.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Mossden {

struct FrameSummary {
    int sceneIndex = 0;
    std::size_t frames = 0;  // frames of play; mean, p99 and worst are 0 without any
    double meanMs = 0, p99Ms = 0, worstMs = 0;
    std::size_t changeFrames = 0;  // frames that built this scene
    double changeWorstMs = 0;
};

class FrameStats {
public:
    // Reserves room for `capacity` frames; record() never allocates, and
    // frames beyond the capacity are counted as dropped, not stored.
    explicit FrameStats(std::size_t capacity = 0);

    // sceneChange: the frame built the scene of sceneIndex.
    void record(int sceneIndex, double frameMs, bool sceneChange = false);
    std::size_t dropped() const { return droppedFrames; }

    // One summary per scene index seen, by ascending index. The 99th
    // percentile is the nearest-rank value: the smallest frame time that at
    // least 99 % of the scene's frames do not exceed.
    std::vector<FrameSummary> summarise() const;

    // The summaries as a fixed-width table with a header line; the
    // scene-change columns come last, so that the play columns keep their
    // places.
    static std::string table(const std::vector<FrameSummary>& rows);

private:
    struct Sample {
        int sceneIndex;
        float ms;
        bool sceneChange;
    };
    std::vector<Sample> samples;
    std::size_t droppedFrames = 0;
};

}  // namespace Mossden

#endif
