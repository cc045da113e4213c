// "thehumming.ogg": the menu's calm, looping drone. A hummed open chord on
// D (D2 A2 D3 F#3 A3 E4) whose voices breathe slowly in and out, over a
// whisper of air. Every tone has a whole number of cycles in the loop and
// every movement a whole number of periods, so the file loops without a
// seam; the reverb is run over three loops and the last one kept, so its
// tail wraps around too.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "mediagen/Random.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double LOOP_SECONDS = 32.0;
constexpr int HARMONICS = 8;

struct Hum {
    const char* note;
    float gain;
    int swellCycles;  // breaths per loop
    double swellPhase;
    float pan;
};

const Hum HUMS[] = {
    {"D2", 0.55f, 1, 0.0, 0.0f},  {"A2", 0.32f, 2, 0.3, -0.25f}, {"D3", 0.28f, 1, 0.55, 0.2f},
    {"F#3", 0.16f, 3, 0.1, -0.35f}, {"A3", 0.14f, 2, 0.8, 0.35f}, {"E4", 0.07f, 4, 0.4, 0.0f},
};

Sound makeHumming() {
    const std::size_t N = std::size_t(LOOP_SECONDS * Sounds::RATE);
    Sound period(Sounds::RATE, 2, N);
    std::vector<double> mono(N);
    for (const auto& h : HUMS) {
        std::fill(mono.begin(), mono.end(), 0.0);
        const double hz = noteHz(Sounds::pitchOf(h.note));
        for (int k = 1; k <= HARMONICS; ++k) {
            // Two copies a cycle per loop apart: a slow, seamless beating.
            const long cyclesA = std::lround(hz * k * LOOP_SECONDS);
            const long cyclesB = cyclesA + (k % 2 ? 1 : 2);
            const double amp = 1.0 / std::pow(double(k), 1.7);
            // The humming "mm": the upper harmonics come and go.
            const int wobble = 1 + (k % 3);
            for (std::size_t i = 0; i < N; ++i) {
                const double u = double(i) / N;  // 0..1 through the loop
                const double colour = k == 1 ? 1.0 : 0.6 + 0.4 * std::sin(TWO_PI * (wobble * u + 0.13 * k));
                mono[i] += amp * colour *
                           (std::sin(TWO_PI * double((cyclesA * long(i)) % long(N)) / N) +
                            0.7 * std::sin(TWO_PI * double((cyclesB * long(i)) % long(N)) / N + k));
            }
        }
        const double l = std::cos((h.pan + 1) * PI / 4), r = std::sin((h.pan + 1) * PI / 4);
        for (std::size_t i = 0; i < N; ++i) {
            const double u = double(i) / N;
            const double swell = 0.62 + 0.38 * std::sin(TWO_PI * (h.swellCycles * u + h.swellPhase));
            const double v = h.gain * swell * mono[i];
            period.channel(0)[i] += float(v * l);
            period.channel(1)[i] += float(v * r);
        }
    }
    // Air: a faint band of noise that swells twice per loop.
    Sound air = Sounds::loopedWhiteNoise(0xA1B, N);
    for (int c = 0; c < 2; ++c) {
        // The filters settle within a loop: run them over two and keep the second.
        Biquad band, soft;
        band.bandPass(900, 0.7, Sounds::RATE);
        soft.lowPass(2500, 0.7, Sounds::RATE);
        auto& x = air.channel(c);
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t i = 0; i < N; ++i) {
                const float y = soft.process(band.process(x[i]));
                if (pass == 1) {
                    const double u = double(i) / N;
                    period.channel(c)[i] += float(0.05 * y * (0.5 - 0.5 * std::cos(TWO_PI * 2 * u)));
                }
            }
    }
    Sound three = Sounds::tile(period, 3);
    Sound wet = Sounds::reverb(three, 0.85f, 0.5f, 1.0f, 0.03, 0.0);
    three.mix(wet, 0, 0.55f);
    three.resize(3 * N);  // the wet signal runs on by its pre-delay
    Sounds::highPass(three, 35);  // before cutting: the filter too is settled
    Sound loop = Sounds::lastFrames(three, N);
    loop.normalisePeak(-9.0f);  // about -21 dBFS RMS: calm under the menu
    return loop;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeHumming(), out.path("sound/thehumming.ogg"), 0.6f);
    });
}
