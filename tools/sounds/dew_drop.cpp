// "dew_drop.ogg": a drop of dew falling near the ladybird. A falling sine
// with a quick decay and a short ring of a small space around it.
#include <algorithm>
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using Sounds::RATE;

namespace {

constexpr double PI = 3.14159265358979;

// Silence before the drop: the codec smears its sharp attack a few
// milliseconds backwards, and the file must still start from silence.
constexpr double LEAD = 0.008;  // seconds

Sound makeDewDrop() {
    Dsp::Reverb room(RATE, 0.5f, 0.5f);
    Sound s(RATE, 2, std::size_t(1.2 * RATE));
    double phase = 0;
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = double(i) / RATE - LEAD;
        const double hz = 700 + 1200 * std::exp(-std::max(t, 0.0) * 25);
        if (t >= 0) phase += hz / RATE;
        const float dry = t >= 0 && t < 0.35 ? float(std::sin(phase * 2 * PI) * std::exp(-t * 14)) : 0.0f;
        float l, r;
        room.process(dry, dry, l, r);
        s.channel(0)[i] = dry + 0.35f * l;
        s.channel(1)[i] = dry + 0.35f * r;
    }
    s.fadeIn(0.003);
    s.fadeOut(0.3);
    s.normalisePeak(-9);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeDewDrop(), out.path("sound/dew_drop.ogg"), 0.5f);
    });
}
