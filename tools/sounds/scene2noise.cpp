// "scene2noise.ogg": the tunnel's noise bed. Dark moving air: brown and
// pink noise through the low resonances of a long tube, gusts that swell
// and pass from side to side, and a deep hum under it. Built from exactly
// periodic parts and run over three loops (the last kept), so it loops
// without a seam.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double LOOP_SECONDS = 24.0;
// Resonances of the tube (Hz) and their strengths.
constexpr double MODES[] = {58, 97, 151, 236, 410};
constexpr double MODE_GAINS[] = {1.0, 0.8, 0.55, 0.35, 0.18};

Sound makeTunnel() {
    const std::size_t N = std::size_t(LOOP_SECONDS * Sounds::RATE);
    const int loops = 3;
    Sound source = Sounds::tile(Sounds::loopedWhiteNoise(0x7E11, N), loops);
    Sound out(Sounds::RATE, 2, N * loops);
    for (int c = 0; c < 2; ++c) {
        const auto& white = source.channel(c);
        Biquad modes[5];
        for (int m = 0; m < 5; ++m) modes[m].bandPass(MODES[m] * (c ? 1.02 : 0.98), 4.0, Sounds::RATE);
        Svf gust;
        float brown = 0;
        for (std::size_t i = 0; i < N * loops; ++i) {
            const double u = double(i % N) / N;  // 0..1 through the loop
            brown = 0.995f * brown + 0.05f * white[i];
            double tube = 0;
            for (int m = 0; m < 5; ++m) tube += MODE_GAINS[m] * modes[m].process(brown * 4);
            // Gusts: three per loop, each favouring one side.
            const double side = c ? 1.0 : -1.0;
            const double g = 0.5 + 0.5 * std::sin(TWO_PI * (3 * u) + side * 0.9);
            const double gustLevel = 0.25 + 0.75 * g * g;
            const double cutoff = 300 + 900 * g * (0.6 + 0.4 * std::sin(TWO_PI * (2 * u + 0.2)));
            const double air = gust.process(white[i], cutoff, 0.35, Sounds::RATE).band;
            out.channel(c)[i] = float(0.9 * tube + 0.22 * gustLevel * air);
        }
    }
    // The hum: two low tones a whole number of cycles per loop.
    for (std::size_t i = 0; i < N * loops; ++i) {
        const double t = double(i % N) / Sounds::RATE;
        const double u = double(i % N) / N;
        const double hum = 0.05 * std::sin(TWO_PI * Sounds::loopHz(41.2, N) * t) +
                           0.03 * std::sin(TWO_PI * Sounds::loopHz(61.7, N) * t + 1.0) *
                               (0.6 + 0.4 * std::sin(TWO_PI * u));
        out.channel(0)[i] += float(hum);
        out.channel(1)[i] += float(hum);
    }
    Sound wet = Sounds::reverb(out, 0.8f, 0.6f, 1.0f, 0.04, 0.0);
    out.mix(wet, 0, 0.5f);
    out.resize(N * loops);
    Sounds::highPass(out, 30);
    Sound loop = Sounds::lastFrames(out, N);
    loop.normalisePeak(-11.0f);  // about -24 dBFS RMS: a bed under the music
    return loop;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeTunnel(), out.path("sound/scene2noise.ogg"));
    });
}
