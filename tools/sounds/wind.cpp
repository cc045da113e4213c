// "wind.ogg": wind high among the stems near the top of the climb. Brown
// noise in a slowly wandering band, each ear its own, in gusts.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using Sounds::RATE;

namespace {

constexpr double PI = 3.14159265358979;

Sound makeWind() {
    Dsp::BrownNoise left(21), right(22);
    Dsp::SmoothRandom gust(23, 0.25), hue(24, 0.15);
    Dsp::Biquad bandL, bandR;
    Sound s(RATE, 2, std::size_t(30.0 * RATE));
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double hz = 450 + 200 * hue.next(RATE);
        // The band moves slowly: recomputing it every 64 samples is enough.
        if (i % 64 == 0) {
            bandL.bandPass(hz, 0.7, RATE);
            bandR.bandPass(hz * 1.07, 0.7, RATE);
        }
        const float level = 0.6f + 0.4f * gust.next(RATE);
        s.channel(0)[i] = bandL.process(left.next()) * level;
        s.channel(1)[i] = bandR.process(right.next()) * level;
    }
    s.fadeIn(4.0);
    s.fadeOut(8.0);
    s.normalisePeak(-10);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeWind(), out.path("sound/wind.ogg"), 0.5f);
    });
}
