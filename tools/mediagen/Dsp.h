#ifndef MOSSDEN_TOOLS_MEDIAGEN_DSP_H
#define MOSSDEN_TOOLS_MEDIAGEN_DSP_H

// Small signal-processing blocks for sound generators: oscillators, noise
// colours, filters, envelopes, a delay and a stereo reverb. Each block
// processes one sample per call and holds only its own state, so a
// generator is a plain loop over time. Frequencies are in Hz, times in
// seconds, rates in samples per second.
#include <cmath>
#include <cstdint>
#include <vector>

#include "mediagen/Random.h"

namespace MediaGen::Dsp {

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 2 * PI;

inline float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }
inline float gainToDb(float g) { return 20.0f * std::log10(g > 1e-12f ? g : 1e-12f); }
// MIDI note number (69 = A4 = 440 Hz) to frequency.
inline double noteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
// Smooth 0..1 step between edges a and b.
inline float smoothstep(float a, float b, float x) {
    const float t = x <= a ? 0.0f : x >= b ? 1.0f : (x - a) / (b - a);
    return t * t * (3 - 2 * t);
}
// Gentle saturation: identity near 0, approaches +-1.
inline float softClip(float x) { return std::tanh(x); }

// Phase accumulator in double precision (minutes of audio stay in tune).
class Phasor {
public:
    explicit Phasor(double phase = 0) : phase(phase) {}
    // Returns the phase (0..1) and advances by hz / rate.
    double next(double hz, double rate) {
        const double p = phase;
        phase += hz / rate;
        phase -= std::floor(phase);
        return p;
    }
    double value() const { return phase; }

private:
    double phase;
};

inline float sine(double phase) { return float(std::sin(TWO_PI * phase)); }

// Band-limited sawtooth (polyBLEP), -1..1.
class Saw {
public:
    explicit Saw(double phase = 0) : phasor(phase) {}
    float next(double hz, double rate);

private:
    Phasor phasor;
};

// Band-limited square/pulse (polyBLEP), -1..1; width 0.5 is a square.
class Pulse {
public:
    explicit Pulse(double phase = 0) : phasor(phase) {}
    float next(double hz, double rate, double width = 0.5);

private:
    Phasor phasor;
};

// Pink noise (-3 dB/octave, Paul Kellet's filter), about -1..1.
class PinkNoise {
public:
    explicit PinkNoise(std::uint64_t seed) : rng(seed) {}
    float next();

private:
    Random rng;
    float b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
};

// Brown (red) noise (-6 dB/octave), leaky integrated white noise, about -1..1.
class BrownNoise {
public:
    explicit BrownNoise(std::uint64_t seed) : rng(seed) {}
    float next();

private:
    Random rng;
    float state = 0;
};

// Noise that changes smoothly: a new random target every 1/hz seconds,
// reached by cosine interpolation. For slow modulations (drift, swells).
class SmoothRandom {
public:
    SmoothRandom(std::uint64_t seed, double hz) : rng(seed), hz(hz), a(rng.bipolar()), b(rng.bipolar()) {}
    float next(double rate);

private:
    Random rng;
    double hz;
    double t = 0;
    float a, b;
};

// One-pole low-pass (6 dB/octave); highPass() gives the complementary output.
class OnePole {
public:
    void setCutoff(double hz, double rate) { k = float(1.0 - std::exp(-TWO_PI * hz / rate)); }
    float lowPass(float x) { return y += k * (x - y); }
    float highPass(float x) { return x - lowPass(x); }

private:
    float k = 1, y = 0;
};

// Second-order filters from the audio-EQ cookbook (direct form I).
class Biquad {
public:
    void lowPass(double hz, double q, double rate);
    void highPass(double hz, double q, double rate);
    void bandPass(double hz, double q, double rate);  // 0 dB peak gain
    void peak(double hz, double q, double db, double rate);
    void lowShelf(double hz, double db, double rate);
    void highShelf(double hz, double db, double rate);
    float process(float x) {
        const float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    void set(double b0, double b1, double b2, double a0, double a1, double a2);
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// State-variable filter (trapezoidal, stable under per-sample cutoff
// changes). One call gives low-, band- and high-pass outputs.
class Svf {
public:
    struct Out {
        float low, band, high;
    };
    // resonance 0 (none) .. just under 1 (self-oscillation).
    Out process(float x, double hz, double resonance, double rate);

private:
    float ic1 = 0, ic2 = 0;
    // Coefficients of the last cutoff and resonance (recomputed on change).
    double lastHz = -1, lastResonance = -1, k = 2, a1 = 1, a2 = 0, a3 = 0;
};

// Attack-decay-sustain-release envelope evaluated at time t (seconds) for a
// note held `hold` seconds; curves are smooth (no corners to click on).
struct Adsr {
    double attack = 0.01, decay = 0.1, sustain = 0.7, release = 0.3;
    float at(double t, double hold) const;
    double length(double hold) const { return hold + release; }
};

// Delay line with feedback and a damping low-pass in the loop.
class Delay {
public:
    Delay(double maxSeconds, double rate);
    float process(float x, double seconds, float feedback, float damping = 0.3f);

private:
    std::vector<float> line;
    std::size_t pos = 0;
    double rate;
    float lp = 0;
};

// Stereo reverb after Freeverb (8 damped combs and 4 all-passes per side),
// delays scaled to the sample rate. Feed it a mono or stereo send; add the
// wet output to the dry signal.
class Reverb {
public:
    // roomSize 0..1 (decay), damping 0..1 (high-frequency loss), width 0..1.
    Reverb(double rate, float roomSize = 0.8f, float damping = 0.4f, float width = 1.0f);
    void process(float inL, float inR, float& outL, float& outR);

private:
    struct Comb {
        std::vector<float> buf;
        std::size_t pos = 0;
        float store = 0;
        float process(float x, float feedback, float damp);
    };
    struct AllPass {
        std::vector<float> buf;
        std::size_t pos = 0;
        float process(float x);
    };
    Comb combL[8], combR[8];
    AllPass allL[4], allR[4];
    float feedback, damp, wet1, wet2;
};

}  // namespace MediaGen::Dsp

#endif
