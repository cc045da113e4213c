// "button.ogg": the menu's click. A short, soft wooden tick: two damped
// resonances and a breath of filtered noise, with a 1 ms onset so that even
// the click itself starts from silence.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "mediagen/Random.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double LENGTH = 0.16;  // seconds
// Silence before the tick: the codec smears a sharp attack a few
// milliseconds backwards, and the file must still start from silence.
constexpr double LEAD = 0.008;
constexpr double BODY_HZ = 1180, TOP_HZ = 2650;
constexpr double BODY_DECAY = 0.022, TOP_DECAY = 0.008, NOISE_DECAY = 0.004;

Sound makeButton() {
    Sound dry(Sounds::RATE, 1, std::size_t(LENGTH * Sounds::RATE));
    Random rng(0xB077);
    Biquad noiseBand;
    noiseBand.bandPass(3200, 0.9, Sounds::RATE);
    Phasor body, top;
    for (std::size_t i = 0; i < dry.frames(); ++i) {
        const double t = double(i) / Sounds::RATE - LEAD;
        if (t < 0) continue;
        const double onset = t < 0.001 ? 0.5 - 0.5 * std::cos(PI * t / 0.001) : 1.0;
        const double s = 0.8 * sine(body.next(BODY_HZ, Sounds::RATE)) * std::exp(-t / BODY_DECAY) +
                         0.35 * sine(top.next(TOP_HZ, Sounds::RATE)) * std::exp(-t / TOP_DECAY) +
                         0.5 * noiseBand.process(rng.bipolar()) * std::exp(-t / NOISE_DECAY);
        dry.channel(0)[i] = float(onset * s);
    }
    Sounds::lowPass(dry, 7000);
    // A hint of a small room, mostly the dry tick.
    Sound out(Sounds::RATE, 2, dry.frames());
    out.mix(dry, 0, 1.0f, 0.0f);
    Sound room = Sounds::reverb(dry, 0.35f, 0.6f, 0.6f, 0.004, 0.0);
    out.mix(room, 0, 0.35f);
    out.resize(std::size_t(LENGTH * Sounds::RATE));
    out.fadeOut(0.05);
    out.normalisePeak(-9.0f);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeButton(), out.path("sound/button.ogg"), 0.5f);
    });
}
