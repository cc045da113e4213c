#ifndef MOSSDEN_APP_LINESTAMPER_H
#define MOSSDEN_APP_LINESTAMPER_H

// Prefixes every line of an output stream with the real time, the game time
// and the game frame (MOSSDEN_STAMP=1), so that tests measure the game's
// pace on its own output and compare runs frame by frame:
//   [real 12.345 game 48.000 frame 2880] Scene 2 starts
// Free of the engine; the clocks are handed in.
#include <chrono>
#include <streambuf>

namespace Mossden {

class GameClock;

class LineStamper : public std::streambuf {
public:
    using RealClock = std::chrono::steady_clock;

    // Stamps what is written through it and passes it on to `target`; real
    // time counts from `start`.
    LineStamper(std::streambuf* target, const GameClock& clock, RealClock::time_point start);
    LineStamper(const LineStamper&) = delete;
    LineStamper& operator=(const LineStamper&) = delete;

    // The stamp for the given times, written into `out` (at least STAMP_MAX
    // characters); returns its length.
    static constexpr int STAMP_MAX = 96;
    static int formatStamp(double realSeconds, double gameSeconds, unsigned long long frame, char* out);

protected:
    int overflow(int c) override;
    int sync() override;

private:
    std::streambuf* target;
    const GameClock& clock;
    RealClock::time_point start;
    bool atLineStart = true;
};

}  // namespace Mossden

#endif
