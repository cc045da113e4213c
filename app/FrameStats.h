#ifndef MOSSDEN_APP_FRAMESTATS_H
#define MOSSDEN_APP_FRAMESTATS_H

// Frame-time bookkeeping for test runs, free of the engine so that its maths
// can be tested alone. Frame times are milliseconds of wall-clock time.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Mossden {

struct FrameSummary {
    int sceneIndex = 0;
    std::size_t frames = 0;
    double meanMs = 0, p99Ms = 0, worstMs = 0;
};

class FrameStats {
public:
    // Reserves room for `capacity` frames; record() never allocates, and
    // frames beyond the capacity are counted as dropped, not stored.
    explicit FrameStats(std::size_t capacity = 0);

    void record(int sceneIndex, double frameMs);
    std::size_t dropped() const { return droppedFrames; }

    // One summary per scene index seen, by ascending index. The 99th
    // percentile is the nearest-rank value: the smallest frame time that at
    // least 99 % of the scene's frames do not exceed.
    std::vector<FrameSummary> summarise() const;

    // The summaries as a fixed-width table with a header line.
    static std::string table(const std::vector<FrameSummary>& rows);

private:
    struct Sample {
        int sceneIndex;
        float ms;
    };
    std::vector<Sample> samples;
    std::size_t droppedFrames = 0;
};

}  // namespace Mossden

#endif
