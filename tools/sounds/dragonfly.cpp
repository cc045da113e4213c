// "dragonfly.ogg": a dragonfly passing. Two detuned saws at the wing rate,
// low-passed, rising and falling as it comes and goes, moving from the left
// ear to the right.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using Sounds::RATE;

namespace {

constexpr double PI = 3.14159265358979;

Sound makeDragonfly() {
    Dsp::Saw a, b;
    Dsp::Biquad low;
    low.lowPass(900, 0.8, RATE);
    Sound s(RATE, 2, std::size_t(3.5 * RATE));
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = double(i) / RATE;
        const float near = float(std::exp(-std::pow((t - 1.6) / 0.8, 2.0)));
        const float buzz = low.process(0.5f * a.next(32 * (1 + 0.05 * near), RATE) +
                                       0.5f * b.next(33.5 * (1 + 0.05 * near), RATE));
        const float tremolo = 0.7f + 0.3f * float(std::sin(t * 2 * PI * 11));
        const float pan = float(t / 3.5) * 2 - 1;
        const float v = buzz * near * tremolo;
        s.channel(0)[i] = v * std::sqrt(0.5f * (1 - pan));
        s.channel(1)[i] = v * std::sqrt(0.5f * (1 + pan));
    }
    s.fadeIn(0.5);
    s.fadeOut(1.0);
    s.normalisePeak(-12);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeDragonfly(), out.path("sound/dragonfly.ogg"), 0.5f);
    });
}
