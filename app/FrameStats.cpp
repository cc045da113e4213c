#include "app/FrameStats.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace Mossden {

FrameStats::FrameStats(std::size_t capacity) { samples.reserve(capacity); }

void FrameStats::record(int sceneIndex, double frameMs, bool sceneChange) {
    if (samples.size() == samples.capacity()) {
        ++droppedFrames;
        return;
    }
    samples.push_back({sceneIndex, static_cast<float>(frameMs), sceneChange});
}

std::vector<FrameSummary> FrameStats::summarise() const {
    std::map<int, std::vector<double>> byScene;
    std::map<int, FrameSummary> changes;
    for (const Sample& s : samples) {
        if (s.sceneChange) {
            FrameSummary& change = changes[s.sceneIndex];
            ++change.changeFrames;
            change.changeWorstMs = std::max(change.changeWorstMs, static_cast<double>(s.ms));
        }
        // a scene seen only in its change frames still gets its row
        std::vector<double>& times = byScene[s.sceneIndex];
        if (!s.sceneChange) times.push_back(s.ms);
    }
    std::vector<FrameSummary> rows;
    for (auto& [index, times] : byScene) {
        FrameSummary row = changes[index];
        row.sceneIndex = index;
        row.frames = times.size();
        if (times.empty()) {
            rows.push_back(row);
            continue;
        }
        std::sort(times.begin(), times.end());
        double sum = 0;
        for (double t : times) sum += t;
        row.meanMs = sum / static_cast<double>(times.size());
        // nearest rank: ceil(0.99 n), 1-based
        const std::size_t rank =
            static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(times.size())));
        row.p99Ms = times[std::max<std::size_t>(rank, 1) - 1];
        row.worstMs = times.back();
        rows.push_back(row);
    }
    return rows;
}

std::string FrameStats::table(const std::vector<FrameSummary>& rows) {
    std::string out = "scene  frames   mean ms    p99 ms  worst ms  changes change ms\n";
    char line[128];
    for (const FrameSummary& r : rows) {
        std::snprintf(line, sizeof line, "%5d %7zu %9.2f %9.2f %9.2f %8zu %9.2f\n", r.sceneIndex, r.frames,
                      r.meanMs, r.p99Ms, r.worstMs, r.changeFrames, r.changeWorstMs);
        out += line;
    }
    return out;
}

}  // namespace Mossden
