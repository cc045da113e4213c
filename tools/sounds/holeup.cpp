// "holeup.ogg": the whoosh of diving through a hole (the ride takes 2.5 s).
// Noise through a resonant band that sweeps up and back down, swinging from
// left to right as it passes, with a soft rising whistle of air inside it.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "mediagen/Random.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double LENGTH = 3.4;     // seconds, including the ring-out
constexpr double PASS_TIME = 1.1;  // the loudest moment: passing the hole

Sound makeHoleUp() {
    const std::size_t n = std::size_t(LENGTH * Sounds::RATE);
    Sound dry(Sounds::RATE, 2, n);
    Random rng(0x401E);
    PinkNoise pink(rng.next());
    Random white(rng.next());
    Svf bandL, bandR;
    Phasor whistle;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / Sounds::RATE;
        // Swell towards the hole and a longer fall away from it.
        const double x = (t - PASS_TIME) / (t < PASS_TIME ? 0.55 : 0.75);
        const double swell = std::exp(-x * x);
        const double cutoff = 260 + 2600 * swell + 400 * (t / LENGTH);
        const float source = 0.8f * pink.next() + 0.2f * white.bipolar();
        const float l = bandL.process(source, cutoff * 0.94, 0.55, Sounds::RATE).band;
        const float r = bandR.process(source, cutoff * 1.06, 0.55, Sounds::RATE).band;
        // Pan sweeps -0.8 .. +0.8 through the pass.
        const double pan = 0.8 * std::tanh((t - PASS_TIME) / 0.45);
        const double gl = std::cos((pan + 1) * PI / 4), gr = std::sin((pan + 1) * PI / 4);
        const double whistleHz = 320 * std::pow(2.0, 1.4 * std::tanh((t - 0.6) / 0.7));
        const double w = 0.06 * swell * sine(whistle.next(whistleHz, Sounds::RATE));
        dry.channel(0)[i] = float(swell * (l * gl * 1.4) + w * gl);
        dry.channel(1)[i] = float(swell * (r * gr * 1.4) + w * gr);
    }
    Sounds::highPass(dry, 60);
    Sound out(Sounds::RATE, 2, n);
    out.mix(dry, 0);
    Sound space = Sounds::reverb(dry, 0.75f, 0.5f, 1.0f, 0.02, 0.0);
    out.mix(space, 0, 0.5f);
    out.resize(n);
    out.fadeIn(0.05);
    out.fadeOut(0.8);
    out.normalisePeak(-3.0f);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeHoleUp(), out.path("sound/holeup.ogg"));
    });
}
