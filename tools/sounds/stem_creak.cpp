// "stem_creak.ogg": a tall stem creaking in the wind. A slow, falling,
// rough saw in a wooden band, with a short room.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using Sounds::RATE;

namespace {

constexpr double PI = 3.14159265358979;

Sound makeStemCreak() {
    Dsp::Saw saw;
    Dsp::Biquad band;
    band.bandPass(320, 1.2, RATE);
    Dsp::Reverb room(RATE, 0.6f, 0.5f);
    Sound s(RATE, 2, std::size_t(3.0 * RATE));
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = double(i) / RATE;
        const float grain = 0.6f + 0.4f * float(std::sin(t * 2 * PI * 11));
        const float dry = t < 2.4 ? band.process(saw.next(70 - 6 * t, RATE)) * grain : 0.0f;
        float l, r;
        room.process(dry, dry, l, r);
        s.channel(0)[i] = dry + 0.3f * l;
        s.channel(1)[i] = dry + 0.3f * r;
    }
    s.fadeIn(0.3);
    s.fadeOut(1.0);
    s.normalisePeak(-14);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeStemCreak(), out.path("sound/stem_creak.ogg"), 0.5f);
    });
}
