#include <gtest/gtest.h>

#include "app/FrameStats.h"

using Mossden::FrameStats;

TEST(FrameStats, SummarisesEachSceneApart) {
    FrameStats stats(1000);
    // scene 1: 1..100 ms, recorded out of order; scene 0: one frame
    for (int i = 100; i >= 1; --i) stats.record(1, i);
    stats.record(0, 7.5);
    const auto rows = stats.summarise();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].sceneIndex, 0);
    EXPECT_EQ(rows[0].frames, 1u);
    EXPECT_DOUBLE_EQ(rows[0].meanMs, 7.5);
    EXPECT_DOUBLE_EQ(rows[0].p99Ms, 7.5);
    EXPECT_DOUBLE_EQ(rows[0].worstMs, 7.5);
    EXPECT_EQ(rows[1].sceneIndex, 1);
    EXPECT_EQ(rows[1].frames, 100u);
    EXPECT_DOUBLE_EQ(rows[1].meanMs, 50.5);
    EXPECT_DOUBLE_EQ(rows[1].p99Ms, 99.0);
    EXPECT_DOUBLE_EQ(rows[1].worstMs, 100.0);
}

TEST(FrameStats, PercentileIsNearestRank) {
    // 1000 frames of 10 ms with ten slow ones: the 99th percentile stays at
    // 10 ms; with eleven slow ones it is a slow one.
    for (int slow : {10, 11}) {
        FrameStats stats(2000);
        for (int i = 0; i < 1000 - slow; ++i) stats.record(3, 10.0);
        for (int i = 0; i < slow; ++i) stats.record(3, 50.0);
        EXPECT_DOUBLE_EQ(stats.summarise().at(0).p99Ms, slow == 10 ? 10.0 : 50.0) << slow;
    }
}

TEST(FrameStats, FramesBeyondTheReservationAreDroppedNotStored) {
    FrameStats stats(3);
    for (int i = 0; i < 5; ++i) stats.record(1, 1.0);
    EXPECT_EQ(stats.summarise().at(0).frames, 3u);
    EXPECT_EQ(stats.dropped(), 2u);
    EXPECT_TRUE(FrameStats(0).summarise().empty());
}

TEST(FrameStats, SceneChangesAreCountedApartFromPlay) {
    FrameStats stats(16);
    // scene 1: two changes (the start and a start over) around play frames
    stats.record(1, 900.0, true);
    for (double ms : {10.0, 20.0, 30.0}) stats.record(1, ms);
    stats.record(1, 400.0, true);
    // scene 2: only its change frame was seen
    stats.record(2, 1500.0, true);
    const auto rows = stats.summarise();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].frames, 3u);
    EXPECT_DOUBLE_EQ(rows[0].meanMs, 20.0);
    EXPECT_DOUBLE_EQ(rows[0].worstMs, 30.0);
    EXPECT_EQ(rows[0].changeFrames, 2u);
    EXPECT_DOUBLE_EQ(rows[0].changeWorstMs, 900.0);
    EXPECT_EQ(rows[1].sceneIndex, 2);
    EXPECT_EQ(rows[1].frames, 0u);
    EXPECT_DOUBLE_EQ(rows[1].meanMs, 0.0);
    EXPECT_DOUBLE_EQ(rows[1].worstMs, 0.0);
    EXPECT_EQ(rows[1].changeFrames, 1u);
    EXPECT_DOUBLE_EQ(rows[1].changeWorstMs, 1500.0);
}

TEST(FrameStats, TableHasHeaderAndOneLinePerScene) {
    FrameStats stats(4);
    stats.record(1, 16.0);
    stats.record(3, 20.0);
    stats.record(3, 612.5, true);
    const std::string table = FrameStats::table(stats.summarise());
    EXPECT_EQ(table,
              "scene  frames   mean ms    p99 ms  worst ms  changes change ms\n"
              "    1       1     16.00     16.00     16.00        0      0.00\n"
              "    3       1     20.00     20.00     20.00        1    612.50\n");
}
