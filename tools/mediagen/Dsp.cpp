#include "mediagen/Dsp.h"

#include <algorithm>

namespace MediaGen::Dsp {

namespace {

// Correction for a step of +1 -> -1 at phase 0, dt = phase increment.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

float Saw::next(double hz, double rate) {
    const double dt = hz / rate;
    const double t = phasor.next(hz, rate);
    return float(2.0 * t - 1.0 - polyBlep(t, dt));
}

float Pulse::next(double hz, double rate, double width) {
    const double dt = hz / rate;
    const double t = phasor.next(hz, rate);
    double v = t < width ? 1.0 : -1.0;
    v += polyBlep(t, dt);
    double t2 = t + 1.0 - width;
    t2 -= std::floor(t2);
    v -= polyBlep(t2, dt);
    return float(v);
}

float PinkNoise::next() {
    const float white = rng.bipolar();
    b0 = 0.99886f * b0 + white * 0.0555179f;
    b1 = 0.99332f * b1 + white * 0.0750759f;
    b2 = 0.96900f * b2 + white * 0.1538520f;
    b3 = 0.86650f * b3 + white * 0.3104856f;
    b4 = 0.55000f * b4 + white * 0.5329522f;
    b5 = -0.7616f * b5 - white * 0.0168980f;
    const float pink = b0 + b1 + b2 + b3 + b4 + b5 + b6 + white * 0.5362f;
    b6 = white * 0.115926f;
    return pink * 0.2f;
}

float BrownNoise::next() {
    state = 0.996f * state + 0.06f * rng.bipolar();
    return std::clamp(state * 1.6f, -1.0f, 1.0f);
}

float SmoothRandom::next(double rate) {
    t += hz / rate;
    if (t >= 1.0) {
        t -= 1.0;
        a = b;
        b = rng.bipolar();
    }
    const float w = float(0.5 - 0.5 * std::cos(PI * t));
    return a + (b - a) * w;
}

void Biquad::set(double nb0, double nb1, double nb2, double a0, double na1, double na2) {
    b0 = float(nb0 / a0);
    b1 = float(nb1 / a0);
    b2 = float(nb2 / a0);
    a1 = float(na1 / a0);
    a2 = float(na2 / a0);
}

void Biquad::lowPass(double hz, double q, double rate) {
    const double w = TWO_PI * hz / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::highPass(double hz, double q, double rate) {
    const double w = TWO_PI * hz / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    set((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::bandPass(double hz, double q, double rate) {
    const double w = TWO_PI * hz / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    set(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::peak(double hz, double q, double db, double rate) {
    const double A = std::pow(10.0, db / 40), w = TWO_PI * hz / rate, c = std::cos(w);
    const double alpha = std::sin(w) / (2 * q);
    set(1 + alpha * A, -2 * c, 1 - alpha * A, 1 + alpha / A, -2 * c, 1 - alpha / A);
}

void Biquad::lowShelf(double hz, double db, double rate) {
    const double A = std::pow(10.0, db / 40), w = TWO_PI * hz / rate, c = std::cos(w);
    const double alpha = std::sin(w) / 2 * std::sqrt(2.0), sa = 2 * std::sqrt(A) * alpha;
    set(A * ((A + 1) - (A - 1) * c + sa), 2 * A * ((A - 1) - (A + 1) * c),
        A * ((A + 1) - (A - 1) * c - sa), (A + 1) + (A - 1) * c + sa, -2 * ((A - 1) + (A + 1) * c),
        (A + 1) + (A - 1) * c - sa);
}

void Biquad::highShelf(double hz, double db, double rate) {
    const double A = std::pow(10.0, db / 40), w = TWO_PI * hz / rate, c = std::cos(w);
    const double alpha = std::sin(w) / 2 * std::sqrt(2.0), sa = 2 * std::sqrt(A) * alpha;
    set(A * ((A + 1) + (A - 1) * c + sa), -2 * A * ((A - 1) + (A + 1) * c),
        A * ((A + 1) + (A - 1) * c - sa), (A + 1) - (A - 1) * c + sa, 2 * ((A - 1) - (A + 1) * c),
        (A + 1) - (A - 1) * c - sa);
}

Svf::Out Svf::process(float x, double hz, double resonance, double rate) {
    if (hz != lastHz || resonance != lastResonance) {
        lastHz = hz;
        lastResonance = resonance;
        const double g = std::tan(PI * std::clamp(hz, 5.0, rate * 0.45) / rate);
        k = 2.0 - 2.0 * std::clamp(resonance, 0.0, 0.995);
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    const double v3 = x - ic2;
    const double v1 = a1 * ic1 + a2 * v3;
    const double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = float(2 * v1 - ic1);
    ic2 = float(2 * v2 - ic2);
    return {float(v2), float(v1), float(x - k * v1 - v2)};
}

float Adsr::at(double t, double hold) const {
    if (t < 0) return 0.0f;
    auto rise = [](double x) { return float(0.5 - 0.5 * std::cos(PI * std::clamp(x, 0.0, 1.0))); };
    auto level = [&](double tt) -> float {
        if (tt < attack) return rise(tt / attack);
        const double d = tt - attack;
        if (d < decay) return float(1.0 - (1.0 - sustain) * rise(d / decay));
        return float(sustain);
    };
    if (t < hold) return level(t);
    const double r = t - hold;
    if (r >= release) return 0.0f;
    return level(hold) * (1.0f - rise(r / release));
}

Delay::Delay(double maxSeconds, double r) : line(std::size_t(maxSeconds * r) + 2, 0.0f), rate(r) {}

float Delay::process(float x, double seconds, float feedback, float damping) {
    const double d = std::clamp(seconds * rate, 1.0, double(line.size() - 2));
    const std::size_t n = line.size();
    const double readPos = double(pos) + n - d;
    const std::size_t i0 = std::size_t(readPos) % n, i1 = (i0 + 1) % n;
    const float frac = float(readPos - std::floor(readPos));
    const float out = line[i0] + (line[i1] - line[i0]) * frac;
    lp += (1.0f - damping) * (out - lp);
    line[pos] = x + feedback * lp;
    pos = (pos + 1) % n;
    return out;
}

float Reverb::Comb::process(float x, float fb, float d) {
    const float out = buf[pos];
    store = out * (1 - d) + store * d;
    buf[pos] = x + store * fb;
    pos = (pos + 1) % buf.size();
    return out;
}

float Reverb::AllPass::process(float x) {
    const float b = buf[pos];
    buf[pos] = x + b * 0.5f;
    pos = (pos + 1) % buf.size();
    return b - x;
}

Reverb::Reverb(double rate, float roomSize, float damping, float width) {
    // Freeverb's tunings at 44.1 kHz; the right side is spread by 23 samples.
    static const int combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int alls[4] = {556, 441, 341, 225};
    const double s = rate / 44100.0;
    for (int i = 0; i < 8; ++i) {
        combL[i].buf.assign(std::size_t(combs[i] * s), 0.0f);
        combR[i].buf.assign(std::size_t((combs[i] + 23) * s), 0.0f);
    }
    for (int i = 0; i < 4; ++i) {
        allL[i].buf.assign(std::size_t(alls[i] * s), 0.0f);
        allR[i].buf.assign(std::size_t((alls[i] + 23) * s), 0.0f);
    }
    feedback = 0.7f + 0.28f * std::clamp(roomSize, 0.0f, 1.0f);
    damp = 0.4f * std::clamp(damping, 0.0f, 1.0f);
    wet1 = 0.5f * (1 + width);
    wet2 = 0.5f * (1 - width);
}

void Reverb::process(float inL, float inR, float& outL, float& outR) {
    const float input = (inL + inR) * 0.015f;
    float l = 0, r = 0;
    for (int i = 0; i < 8; ++i) {
        l += combL[i].process(input, feedback, damp);
        r += combR[i].process(input, feedback, damp);
    }
    for (int i = 0; i < 4; ++i) {
        l = allL[i].process(l);
        r = allR[i].process(r);
    }
    outL = l * wet1 + r * wet2;
    outR = r * wet1 + l * wet2;
}

}  // namespace MediaGen::Dsp
