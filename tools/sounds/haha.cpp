// "haha.ogg": the closing sequence's laugh, slow, deep and unsettling.
// Formant synthesis: a glottal pulse train (with a growl from alternating
// pulse strengths) and breath noise through a cascade of vocal-tract
// resonances for the vowel "a", scaled for a giant's throat. Each syllable
// starts with an aspirated "h" and sags in pitch; a voice an octave below
// shadows the main one, and the whole laugh sounds in a vast cave.
#include <cmath>
#include <vector>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "mediagen/Random.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double LENGTH = 7.0;     // seconds, with the cave's ring-out
constexpr double THROAT = 0.78;    // formant scale: below 1 is a larger vocal tract
constexpr double H_LENGTH = 0.12;  // aspiration before each vowel

struct Syllable {
    double start, length;   // seconds
    double pitchHigh, pitchLow;  // Hz, falling through the syllable
    double loudness;
};

// "HA ... ha ... ha ... haaa", slowing and sinking.
const Syllable SYLLABLES[] = {
    {0.25, 0.46, 98, 84, 1.0},
    {1.20, 0.42, 90, 76, 0.85},
    {2.10, 0.44, 84, 70, 0.8},
    {3.05, 1.35, 80, 52, 0.9},
};

// Klatt's two-pole resonator, unity gain at 0 Hz.
class Resonator {
public:
    void set(double hz, double bandwidth) {
        const double T = 1.0 / Sounds::RATE;
        c = -std::exp(-2 * PI * bandwidth * T);
        b = 2 * std::exp(-PI * bandwidth * T) * std::cos(2 * PI * hz * T);
        a = 1 - b - c;
    }
    double process(double x) {
        const double y = a * x + b * y1 + c * y2;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double a = 1, b = 0, c = 0, y1 = 0, y2 = 0;
};

// One voice of the laugh: `octave` 1 is the main voice, 0.5 the shadow.
Sound voice(double octave, std::uint64_t seed) {
    const std::size_t n = std::size_t(LENGTH * Sounds::RATE);
    Sound out(Sounds::RATE, 1, n);
    Random rng(seed);
    // Vowel "a" of an adult male (F1..F5, bandwidths), scaled.
    const double formants[5] = {700, 1150, 2500, 3350, 3900};
    const double widths[5] = {110, 120, 170, 250, 300};
    Resonator tract[5];
    for (int k = 0; k < 5; ++k) tract[k].set(formants[k] * THROAT, widths[k]);
    Resonator breathTract[3];
    for (int k = 0; k < 3; ++k) breathTract[k].set(formants[k] * THROAT, widths[k] * 2.5);
    double lastFlow = 0;
    SmoothRandom jitter(rng.next(), 9.0);
    double phase = 0;
    int pulse = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / Sounds::RATE;
        double voiced = 0, breath = 0, pitch = 80;
        for (const auto& s : SYLLABLES) {
            const double u = t - s.start;
            if (u < -0.01 || u > H_LENGTH + s.length + 0.3) continue;
            const double x = std::clamp((u - H_LENGTH) / s.length, 0.0, 1.0);
            pitch = s.pitchHigh + (s.pitchLow - s.pitchHigh) * (x * (2 - x));
            // The h: breath that rises, then gives way to the voice.
            breath += s.loudness * smoothstep(-0.01f, float(H_LENGTH * 0.6), float(u)) *
                      (1 - 0.7 * smoothstep(float(H_LENGTH * 0.8), float(H_LENGTH * 1.5), float(u))) *
                      (1 - smoothstep(float(H_LENGTH + s.length), float(H_LENGTH + s.length + 0.25), float(u)));
            const double on = smoothstep(float(H_LENGTH * 0.6), float(H_LENGTH * 1.3), float(u));
            const double off = 1 - smoothstep(float(H_LENGTH + s.length * 0.55),
                                              float(H_LENGTH + s.length + 0.12), float(u));
            voiced += s.loudness * on * off;
        }
        // Slow tremble and a little jitter make it human; then one octave down.
        pitch *= octave * (1 + 0.012 * std::sin(2 * PI * 4.6 * t) + 0.01 * jitter.next(Sounds::RATE));
        phase += pitch / Sounds::RATE;
        double glottal = 0;
        if (phase >= 1) {
            phase -= 1;
            ++pulse;
        }
        // A pulse shaped like the glottis opening and snapping shut; every
        // other pulse weaker: the growl (period doubling).
        const double strength = (pulse % 2) ? 1.0 : 0.62;
        const double open = 0.6;
        if (phase < open)
            glottal = strength * (0.5 - 0.5 * std::cos(PI * phase / open));
        else
            glottal = strength * std::cos(0.5 * PI * (phase - open) / (1 - open));
        // The flow's derivative (with the lips' radiation) excites the
        // tract; its sharp closure gives the voice its harmonics.
        const double source = (glottal - lastFlow) * 40.0 * voiced;
        lastFlow = glottal;
        const double noise = rng.bipolar();
        double v = source * 2.0 + noise * 0.06 * voiced;  // breathy voice
        for (auto& r : tract) v = r.process(v);
        double h = noise * breath * 0.5;
        for (auto& r : breathTract) h = r.process(h);
        out.channel(0)[i] = float(v + h * 2.5);
    }
    Sounds::highPass(out, octave < 1 ? 30 : 50);
    return out;
}

Sound makeLaugh() {
    const std::size_t n = std::size_t(LENGTH * Sounds::RATE);
    Sound main = voice(1.0, 0x4A4A);
    Sound shadow = voice(0.5, 0x5A5A);
    main.normalisePeak(0.0f);
    shadow.normalisePeak(0.0f);
    Sound dry(Sounds::RATE, 2, n);
    dry.mix(main, 0, 0.8f, -0.08f);
    dry.mix(shadow, 0, 0.45f, 0.12f);
    // The cave answers the voice, not its rumble.
    Sound send = dry;
    Sounds::highPass(send, 160);
    Sound cave = Sounds::reverb(send, 0.8f, 0.45f, 1.0f, 0.06, 0.0);
    Sound out(Sounds::RATE, 2, n);
    out.mix(dry, 0, 1.0f);
    out.mix(cave, 0, 0.4f);
    out.resize(n);
    out.fadeIn(0.02);
    out.fadeOut(1.5);
    Sounds::limit(out, -3.0f);
    out.normalisePeak(-2.0f);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeLaugh(), out.path("sound/haha.ogg"));
    });
}
