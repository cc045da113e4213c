// "collision.ogg": landing on an asteroid. A soft, low thump: a sine that
// drops in pitch like a muffled drum, the crunch of dust under the feet,
// and a short dark room around it.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "mediagen/Random.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double LENGTH = 1.6;  // seconds
constexpr double START_HZ = 96, END_HZ = 44, DROP = 0.09;  // pitch fall, time constant
constexpr double BODY_DECAY = 0.32;

Sound makeCollision() {
    const std::size_t n = std::size_t(LENGTH * Sounds::RATE);
    Sound dry(Sounds::RATE, 1, n);
    Random rng(0xC011);
    BrownNoise dust(rng.next());
    Svf crunch;
    Phasor body;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / Sounds::RATE;
        const double onset = t < 0.004 ? 0.5 - 0.5 * std::cos(PI * t / 0.004) : 1.0;
        const double hz = END_HZ + (START_HZ - END_HZ) * std::exp(-t / DROP);
        const double thump = sine(body.next(hz, Sounds::RATE)) * std::exp(-t / BODY_DECAY);
        // Dust: low-passed brown noise, falling in brightness as it settles.
        const double cutoff = 300 + 1500 * std::exp(-t / 0.05);
        const double grit = crunch.process(dust.next(), cutoff, 0.2, Sounds::RATE).low *
                            (std::exp(-t / 0.09) + 0.15 * std::exp(-t / 0.4));
        dry.channel(0)[i] = float(onset * (thump + 0.9 * grit));
    }
    Sounds::highPass(dry, 28);
    Sound out(Sounds::RATE, 2, n);
    out.mix(dry, 0, 1.0f, 0.0f);
    Sound room = Sounds::reverb(dry, 0.55f, 0.7f, 0.8f, 0.012, 0.0);
    out.mix(room, 0, 0.6f);
    out.resize(n);
    out.fadeOut(0.4);
    out.normalisePeak(-4.0f);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeCollision(), out.path("sound/collision.ogg"));
    });
}
