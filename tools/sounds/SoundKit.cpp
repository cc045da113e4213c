#include "sounds/SoundKit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <sstream>
#include <stdexcept>

#include "mediagen/Dsp.h"
#include "mediagen/Random.h"

namespace Sounds {

using namespace MediaGen;
using namespace MediaGen::Dsp;

double pitchOf(const std::string& name) {
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G')
        throw std::invalid_argument("pitchOf: bad note " + name);
    int semis = steps[name[0] - 'A'];
    std::size_t i = 1;
    for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i) semis += name[i] == '#' ? 1 : -1;
    const int octave = std::stoi(name.substr(i));
    return 12.0 * (octave + 1) + semis;
}

std::vector<Note> parseLine(const std::string& text, double startBeat, int transpose) {
    std::vector<Note> notes;
    std::istringstream in(text);
    std::string token;
    double beat = startBeat;
    while (in >> token) {
        if (token == "|") continue;
        const auto colon = token.find(':');
        if (colon == std::string::npos) throw std::invalid_argument("parseLine: " + token);
        const double beats = std::stod(token.substr(colon + 1));
        const std::string name = token.substr(0, colon);
        if (name != "r") notes.push_back({beat, beats, pitchOf(name) + transpose});
        beat += beats;
    }
    return notes;
}

namespace {

// Constant-power pan gains for -1 (left) .. +1 (right).
void panGains(float pan, float& l, float& r) {
    const double a = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * PI / 4;
    l = float(std::cos(a) * std::sqrt(2.0));
    r = float(std::sin(a) * std::sqrt(2.0));
}

void ensure(Sound& out, std::size_t end) {
    if (out.frames() < end) out.resize(end);
}

}  // namespace

void pad(Sound& out, double start, double hold, double pitch, float gain, float pan,
         const PadVoice& v, std::uint64_t seed) {
    Random rng(seed);
    const double hz = noteHz(pitch);
    const std::size_t first = std::size_t(start * RATE);
    const std::size_t n = std::size_t((hold + v.release) * RATE);
    ensure(out, first + n);
    const double cents = v.detuneCents / 1200.0;
    Saw sawA(rng.uniform()), sawB(rng.uniform()), sawC(rng.uniform());
    SmoothRandom drift(rng.next(), 0.35);
    Svf filterL, filterR;
    const Adsr env{v.attack, 1.5, 0.85, v.release};
    // Brighter notes may open further; low notes stay dark.
    const double keyTrack = std::pow(hz / 220.0, 0.35);
    float pl, pr;
    panGains(pan, pl, pr);
    double cutoff = v.cutoff, wobble = 1;
    const double down = std::pow(2.0, -cents), up = std::pow(2.0, cents);
    // Cutoff and drift move slowly: update them every 32 samples.
    const std::size_t block = 32;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / RATE;
        const float e = env.at(t, hold);
        if (i % block == 0) {
            const double b = v.brightness ? v.brightness(start + t) : 1.0;
            cutoff = v.cutoff * keyTrack * b * (0.55 + 0.45 * e);
            wobble = std::pow(2.0, drift.next(double(RATE) / block) * 3.0 / 1200.0);
        }
        const float a = sawA.next(hz * wobble * down, RATE);
        const float b = sawB.next(hz * wobble, RATE);
        const float c = sawC.next(hz * wobble * up, RATE);
        const float l = filterL.process(a + 0.6f * b, cutoff, v.resonance, RATE).low;
        const float r = filterR.process(c + 0.6f * b, cutoff * 1.03, v.resonance, RATE).low;
        out.channel(0)[first + i] += gain * e * pl * l * 0.5f;
        out.channel(1)[first + i] += gain * e * pr * r * 0.5f;
    }
}

void tine(Sound& out, double start, double pitch, float gain, float pan, double decay,
          double brightness) {
    const double hz = noteHz(pitch);
    const std::size_t first = std::size_t(start * RATE);
    // Higher notes ring shorter, as struck metal does.
    const double ring = decay * std::pow(440.0 / hz, 0.3);
    const std::size_t n = std::size_t(ring * 4.5 * RATE);
    const std::size_t fadeFrames = RATE / 10;
    ensure(out, first + n);
    float pl, pr;
    panGains(pan, pl, pr);
    Phasor carrier, modulator, partial;
    // Exponential envelopes as per-sample factors (exp() per sample is slow).
    const double kRing = std::exp(-1.0 / (ring * RATE)), kIndex = std::exp(-1.0 / (0.18 * RATE)),
                 kStrike = std::exp(-1.0 / (0.05 * RATE));
    double eRing = 1, eIndex = 1, eStrike = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / RATE;
        const double index = brightness * (1.1 * eIndex + 0.12);
        const double m = sine(modulator.next(hz, RATE));
        const double c = std::sin(TWO_PI * carrier.next(hz, RATE) + index * m);
        const double strike = 0.12 * sine(partial.next(hz * 4.03, RATE)) * eStrike;
        // 3 ms raised-cosine onset: struck, but no click.
        const double onset = t < 0.003 ? 0.5 - 0.5 * std::cos(PI * t / 0.003) : 1.0;
        const double tailFade = i + fadeFrames > n ? double(n - i) / fadeFrames : 1.0;
        const float s = float(gain * onset * tailFade * eRing * (c + strike));
        out.channel(0)[first + i] += s * pl;
        out.channel(1)[first + i] += s * pr;
        eRing *= kRing;
        eIndex *= kIndex;
        eStrike *= kStrike;
    }
}

void bell(Sound& out, double start, double pitch, float gain, float pan, double decay) {
    static const double ratios[5] = {1.0, 2.0, 2.76, 5.40, 8.93};
    static const double amps[5] = {1.0, 0.45, 0.35, 0.16, 0.07};
    static const double decays[5] = {1.0, 0.7, 0.45, 0.25, 0.12};
    const double hz = noteHz(pitch);
    const std::size_t first = std::size_t(start * RATE);
    const std::size_t n = std::size_t(decay * 4.5 * RATE);
    const std::size_t fadeFrames = RATE / 10;
    ensure(out, first + n);
    float pl, pr;
    panGains(pan, pl, pr);
    Phasor ph[5];
    double env[5], k[5];
    int partials = 0;
    for (int p = 0; p < 5; ++p) {
        if (hz * ratios[p] > RATE * 0.45) break;
        env[p] = amps[p];
        k[p] = std::exp(-1.0 / (decay * decays[p] * RATE));
        partials = p + 1;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / RATE;
        double s = 0;
        for (int p = 0; p < partials; ++p) {
            s += env[p] * sine(ph[p].next(hz * ratios[p], RATE));
            env[p] *= k[p];
        }
        const double onset = t < 0.004 ? 0.5 - 0.5 * std::cos(PI * t / 0.004) : 1.0;
        const double tailFade = i + fadeFrames > n ? double(n - i) / fadeFrames : 1.0;
        const float v = float(gain * onset * tailFade * s * 0.5);
        out.channel(0)[first + i] += v * pl;
        out.channel(1)[first + i] += v * pr;
    }
}

void bass(Sound& out, double start, double hold, double pitch, float gain) {
    const double hz = noteHz(pitch);
    const Adsr env{0.06, 0.4, 0.8, 0.8};
    const std::size_t first = std::size_t(start * RATE);
    const std::size_t n = std::size_t(env.length(hold) * RATE);
    ensure(out, first + n);
    Phasor ph;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / RATE;
        const double p = ph.next(hz, RATE);
        const double s = sine(p) + 0.25 * sine(2 * p) + 0.08 * sine(3 * p);
        const float v = float(gain * env.at(t, hold) * softClip(float(0.9 * s)));
        out.channel(0)[first + i] += v;
        out.channel(1)[first + i] += v;
    }
}

void Band::resize(std::size_t frames) {
    pads.resize(frames);
    tines.resize(frames);
    bells.resize(frames);
    low.resize(frames);
}

void playBars(Band& band, const std::vector<Chord>& chords, const std::vector<Bar>& bars,
              const BandStyle& style, std::uint64_t seed, int startBar) {
    Random rng(seed);
    auto find = [&chords](const std::string& name) -> const Chord& {
        for (const auto& c : chords)
            if (c.name == name) return c;
        throw std::invalid_argument("playBars: no chord " + name);
    };
    auto same = [&bars](std::size_t a, std::size_t b) {
        return bars[a].chord == bars[b].chord && bars[a].transpose == bars[b].transpose;
    };
    const double barSeconds = 4 * style.beat;
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const Bar& bar = bars[b];
        const Chord& c = find(bar.chord);
        const double t0 = (startBar + double(b)) * barSeconds;
        const bool last = b + 1 == bars.size();
        if (!(b > 0 && same(b - 1, b))) {
            std::size_t runEnd = b + 1;
            while (runEnd < bars.size() && same(runEnd, b)) ++runEnd;
            const double hold = (runEnd - b) * barSeconds + (runEnd == bars.size() ? 2.0 : 0.25);
            for (std::size_t k = 0; k < c.pad.size(); ++k) {
                const float pan = -0.5f + float(k) / float(c.pad.size() - 1);
                pad(band.pads, t0, hold, c.pad[k] + bar.transpose, style.padGain, pan, style.voice,
                    rng.next());
            }
        }
        if (bar.arp) {
            static const int pattern[8] = {0, 1, 2, 3, 4, 3, 2, 1};
            for (int e = 0; e < 8; ++e) {
                const double t = t0 + e * style.beat / 2 + rng.range(0.0, 0.012);
                const double accent = e % 2 == 0 ? 1.0 : 0.7;
                const int note = c.arp[std::size_t(pattern[e]) % c.arp.size()] + bar.transpose;
                const float pan = e % 2 ? 0.35f : -0.35f;
                tine(band.tines, t, note, float(style.tineGain * accent * rng.range(0.85, 1.0)), pan,
                     style.tineDecay);
                if (bar.arpOctave)
                    tine(band.tines, t + 0.004, note + 12, float(style.tineGain * 0.36 * accent),
                         -pan, style.tineDecay * 0.7, 0.6);
            }
        }
        if (bar.bass) {
            bass(band.low, t0, style.beat * 1.8, c.bass + bar.transpose, style.bassGain);
            bass(band.low, t0 + 2 * style.beat, style.beat * 1.8, c.bass + bar.transpose,
                 style.bassGain * 0.8f);
        } else if (last) {
            bass(band.low, t0, barSeconds + 2.0, c.bass + bar.transpose, style.bassGain * 0.85f);
        }
    }
}

void playTune(Sound& bells, const char* line, double startBeat, int transpose, float gain,
              double decay, double beat, std::uint64_t seed) {
    Random rng(seed);
    for (const auto& n : parseLine(line, startBeat, transpose)) {
        const double t = n.beat * beat + rng.range(0.0, 0.01);
        bell(bells, t, n.pitch, gain, float(rng.range(-0.2, 0.2)),
             decay * std::min(2.0, 0.6 + n.beats * 0.35));
    }
}

Sound mixBand(const Band& band, double beat, std::size_t frames, float hallLevel) {
    Sound sends(RATE, 2, frames);
    sends.mix(band.pads, 0, 0.45f);
    sends.mix(band.tines, 0, 0.5f);
    sends.mix(band.bells, 0, 0.8f);
    Sound hall = reverb(sends, 0.86f, 0.45f, 1.0f, 0.035, 0.0);
    Sound echoes = echo(band.tines, beat * 0.75, beat * 1.125, 0.33f, 0.0);
    lowPass(echoes, 3500);
    Sound mix(RATE, 2, frames);
    mix.mix(band.pads, 0, 1.0f);
    mix.mix(band.tines, 0, 0.9f);
    mix.mix(band.bells, 0, 1.0f);
    mix.mix(band.low, 0, 1.0f);
    mix.mix(echoes, 0, 0.28f);
    mix.mix(hall, 0, hallLevel);
    mix.resize(frames);
    return mix;
}

Sound reverb(const Sound& in, float roomSize, float damping, float width, double preDelay,
             double tail) {
    const std::size_t delay = std::size_t(preDelay * RATE);
    const std::size_t n = in.frames() + delay + std::size_t(tail * RATE);
    Sound out(RATE, 2, n);
    Reverb rv(RATE, roomSize, damping, width);
    const bool stereo = in.channelCount() > 1;
    for (std::size_t i = 0; i < n; ++i) {
        float l = 0, r = 0;
        if (i >= delay && i - delay < in.frames()) {
            l = in.channel(0)[i - delay];
            r = stereo ? in.channel(1)[i - delay] : l;
        }
        float ol, orr;
        rv.process(l, r, ol, orr);
        out.channel(0)[i] = ol;
        out.channel(1)[i] = orr;
    }
    return out;
}

Sound echo(const Sound& in, double leftSeconds, double rightSeconds, float feedback,
           double tail) {
    const std::size_t n = in.frames() + std::size_t(tail * RATE);
    Sound out(RATE, 2, n);
    Delay dl(leftSeconds + 0.1, RATE), dr(rightSeconds + 0.1, RATE);
    const bool stereo = in.channelCount() > 1;
    for (std::size_t i = 0; i < n; ++i) {
        float l = 0, r = 0;
        if (i < in.frames()) {
            l = in.channel(0)[i];
            r = stereo ? in.channel(1)[i] : l;
        }
        out.channel(0)[i] = dl.process(l, leftSeconds, feedback, 0.35f);
        out.channel(1)[i] = dr.process(r, rightSeconds, feedback, 0.35f);
    }
    return out;
}

void highPass(Sound& s, double hz) {
    for (int c = 0; c < s.channelCount(); ++c) {
        Biquad f;
        f.highPass(hz, 0.707, RATE);
        for (float& x : s.channel(c)) x = f.process(x);
    }
}

void lowPass(Sound& s, double hz) {
    for (int c = 0; c < s.channelCount(); ++c) {
        Biquad f;
        f.lowPass(hz, 0.707, RATE);
        for (float& x : s.channel(c)) x = f.process(x);
    }
}

void limit(Sound& s, float ceilingDb, double release) {
    const float ceiling = dbToGain(ceilingDb);
    const std::size_t n = s.frames();
    const std::size_t look = RATE / 200;  // 5 ms
    // Gain each frame needs on its own.
    std::vector<float> need(n, 1.0f);
    for (std::size_t i = 0; i < n; ++i) {
        float p = 0;
        for (int c = 0; c < s.channelCount(); ++c) p = std::max(p, std::fabs(s.channel(c)[i]));
        if (p > ceiling) need[i] = ceiling / p;
    }
    // m[j] = least need over frames j .. j + look; averaging m over the
    // previous look frames ramps the gain down smoothly before a peak and
    // still never exceeds the need of any frame (each average covers it).
    std::vector<float> m(n, 1.0f);
    std::deque<std::size_t> window;
    for (std::size_t i = n; i-- > 0;) {
        while (!window.empty() && need[window.back()] >= need[i]) window.pop_back();
        window.push_back(i);
        while (window.front() > i + look) window.pop_front();
        m[i] = need[window.front()];
    }
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + m[i];
    const float rel = float(1.0 - std::exp(-1.0 / (release * RATE)));
    float g = 1.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t from = i >= look ? i - look : 0;
        const float smooth = float((prefix[i + 1] - prefix[from]) / double(i + 1 - from));
        g = smooth < g ? smooth : g + rel * (smooth - g);
        for (int c = 0; c < s.channelCount(); ++c) s.channel(c)[i] *= g;
    }
}

Sound master(Sound mix, double fadeIn, double fadeOut, float peakDb) {
    highPass(mix, 28);
    mix.normalisePeak(-1.0f);
    limit(mix, -3.0f);
    mix.fadeIn(fadeIn);
    mix.fadeOut(fadeOut);
    mix.normalisePeak(peakDb);
    return mix;
}

double loopHz(double hz, std::size_t frames) {
    const double seconds = double(frames) / RATE;
    return std::max(1.0, std::round(hz * seconds)) / seconds;
}

Sound loopedWhiteNoise(std::uint64_t seed, std::size_t frames) {
    Random rng(seed);
    const std::size_t fade = RATE / 2;
    Sound s(RATE, 2, frames + fade);
    for (int c = 0; c < 2; ++c)
        for (float& x : s.channel(c)) x = rng.bipolar();
    s.makeLoop(frames, fade);
    return s;
}

Sound tile(const Sound& s, int n) {
    Sound out(s.rate(), s.channelCount(), s.frames() * std::size_t(n));
    for (int k = 0; k < n; ++k) out.mix(s, s.frames() * std::size_t(k));
    return out;
}

Sound lastFrames(const Sound& s, std::size_t frames) {
    Sound out(s.rate(), s.channelCount(), frames);
    const std::size_t from = s.frames() - frames;
    for (int c = 0; c < s.channelCount(); ++c)
        std::copy(s.channel(c).begin() + long(from), s.channel(c).end(), out.channel(c).begin());
    return out;
}

void save(const Sound& s, const std::string& path, float quality) {
    const double peak = writeOgg(s, path, quality);
    std::printf("%s: %.2f s, peak %.2f dBFS, rms %.1f dBFS\n",
                path.substr(path.find_last_of('/') + 1).c_str(), s.seconds(), peak,
                gainToDb(float(s.rms())));
}

}  // namespace Sounds
