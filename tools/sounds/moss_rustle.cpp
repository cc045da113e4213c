// "moss_rustle.ogg": the first scene's opening rustle of moss. Pink noise
// through a swaying band, in slow swells, a little to the left.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using Sounds::RATE;

namespace {

constexpr double PI = 3.14159265358979;

Sound makeMossRustle() {
    Dsp::PinkNoise noise(11);
    Dsp::SmoothRandom sway(12, 3.0);
    Dsp::Biquad band;
    Sound mono(RATE, 1, std::size_t(4.0 * RATE));
    for (std::size_t i = 0; i < mono.frames(); ++i) {
        const double t = double(i) / RATE;
        band.bandPass(2200 + 900 * sway.next(RATE), 0.9, RATE);
        const float swell = 0.55f + 0.45f * float(std::sin(t * 2 * PI * 0.6));
        mono.channel(0)[i] = band.process(noise.next()) * swell;
    }
    Sound out(RATE, 2, mono.frames());
    out.mix(mono, 0, 1.0f, -0.3f);
    out.fadeIn(0.6);
    out.fadeOut(1.5);
    out.normalisePeak(-14);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeMossRustle(), out.path("sound/moss_rustle.ogg"), 0.5f);
    });
}
