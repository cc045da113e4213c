// "scene3noise.ogg": the asteroid field's looping noise bed. A far, low
// rumble, a thin glitter of high air drifting between the ears, a ghostly
// choir on D minor that rises and falls, and a few distant metallic pings.
// The whole bed breathes once per loop and is quietest at the loop point:
// besides looping seamlessly, a restart from the beginning there (the
// game's repeat set does that) lands where the bed is softest.
#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double LOOP_SECONDS = 32.0;

struct Voice {
    const char* note;
    float gain;
    int swells;
    double phase;
    float pan;
};
// D minor with a ninth: D3 A3 F4 E4, the choir "oo".
const Voice CHOIR[] = {{"D3", 0.5f, 1, 0.25, -0.3f},
                       {"A3", 0.35f, 2, 0.6, 0.3f},
                       {"F4", 0.22f, 1, 0.75, -0.1f},
                       {"E4", 0.14f, 3, 0.1, 0.4f}};

struct Ping {
    double time;  // seconds into the loop
    const char* note;
    float pan;
};
const Ping PINGS[] = {{5.0, "A6", -0.6f}, {11.5, "D7", 0.5f}, {19.0, "F6", 0.2f}, {25.5, "E7", -0.4f}};

Sound makeSpace() {
    const std::size_t N = std::size_t(LOOP_SECONDS * Sounds::RATE);
    const int loops = 3;
    Sound noise = Sounds::tile(Sounds::loopedWhiteNoise(0x5BAC, N), loops);
    Sound dry(Sounds::RATE, 2, N * loops);
    for (int c = 0; c < 2; ++c) {
        const auto& white = noise.channel(c);
        Biquad rumble, rumble2, glitter, glitterTop;
        rumble.lowPass(110, 0.8, Sounds::RATE);
        rumble2.lowPass(110, 0.8, Sounds::RATE);
        glitter.bandPass(5200, 1.2, Sounds::RATE);
        glitterTop.highPass(3000, 0.7, Sounds::RATE);
        for (std::size_t i = 0; i < N * loops; ++i) {
            const double u = double(i % N) / N;
            const double side = c ? 1.0 : -1.0;
            const double drift = 0.5 + 0.5 * std::sin(TWO_PI * (2 * u) + side * 1.3);
            const float low = rumble2.process(rumble.process(white[i]));
            const float high = glitterTop.process(glitter.process(white[i]));
            dry.channel(c)[i] = float(2.2 * low + 0.05 * drift * high);
        }
    }
    // The choir: a soft vowel, few harmonics, exactly periodic.
    Sound choir(Sounds::RATE, 2, N);
    for (const auto& v : CHOIR) {
        const double hz = noteHz(Sounds::pitchOf(v.note));
        const double l = std::cos((v.pan + 1) * PI / 4), r = std::sin((v.pan + 1) * PI / 4);
        for (int k = 1; k <= 4; ++k) {
            const long cycles = std::lround(hz * k * LOOP_SECONDS);
            const long cycles2 = cycles + 1;  // a slow beat
            const double amp = v.gain / (k * k);
            for (std::size_t i = 0; i < N; ++i) {
                const double u = double(i) / N;
                const double swell = std::pow(0.5 - 0.5 * std::cos(TWO_PI * (v.swells * u + v.phase)), 2.0);
                const double s = std::sin(TWO_PI * double((cycles * long(i)) % long(N)) / N) +
                                 std::sin(TWO_PI * double((cycles2 * long(i)) % long(N)) / N + 2.0);
                choir.channel(0)[i] += float(amp * swell * s * l * 0.5);
                choir.channel(1)[i] += float(amp * swell * s * r * 0.5);
            }
        }
    }
    Sound pings(Sounds::RATE, 2, N);
    for (const auto& p : PINGS) Sounds::bell(pings, p.time, Sounds::pitchOf(p.note), 0.12f, p.pan, 1.6);
    pings.wrapTail(N);  // periodic: a late ping's ring continues at the start
    Sound voices(Sounds::RATE, 2, N);
    voices.mix(choir, 0, 0.3f);
    voices.mix(pings, 0, 1.0f);
    dry.mix(Sounds::tile(voices, loops), 0, 1.0f);

    Sound wet = Sounds::reverb(dry, 0.88f, 0.45f, 1.0f, 0.08, 0.0);
    dry.mix(wet, 0, 0.7f);
    dry.resize(N * loops);
    // Once per loop the whole bed breathes, softest at the loop point.
    for (int c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < N * loops; ++i) {
            const double u = double(i % N) / N;
            dry.channel(c)[i] *= float(0.55 - 0.45 * std::cos(TWO_PI * u));
        }
    Sounds::highPass(dry, 25);
    Sound loop = Sounds::lastFrames(dry, N);
    loop.normalisePeak(-7.5f);  // about -25 dBFS RMS
    return loop;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeSpace(), out.path("sound/scene3noise.ogg"));
    });
}
