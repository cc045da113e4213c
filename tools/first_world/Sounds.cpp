#include "Sounds.h"

#include <cmath>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "mediagen/Sound.h"

namespace FirstWorld {

const char* const SOUND_RUSTLE = "moss_rustle.ogg";
const char* const SOUND_DEW = "dew_drop.ogg";
const char* const SOUND_DRAGONFLY = "dragonfly.ogg";
const char* const SOUND_WIND = "wind.ogg";
const char* const SOUND_CREAK = "stem_creak.ogg";
const char* const SOUND_TUNNEL = "scene2noise.ogg";

namespace {

constexpr int RATE = 44100;
constexpr double PI = 3.14159265358979;

// Renders seconds of mono sound from f(t) into a stereo sound, panned.
template <class F>
MediaGen::Sound render(double seconds, float pan, F f) {
    MediaGen::Sound mono(RATE, 1, size_t(seconds * RATE));
    for (size_t i = 0; i < mono.frames(); ++i) mono.channel(0)[i] = f(double(i) / RATE);
    MediaGen::Sound out(RATE, 2, mono.frames());
    out.mix(mono, 0, 1.0f, pan);
    return out;
}

void finish(MediaGen::Sound& sound, double fadeIn, double fadeOut, float peakDbfs,
            const std::string& path) {
    sound.fadeIn(fadeIn);
    sound.fadeOut(fadeOut);
    sound.normalisePeak(peakDbfs);
    MediaGen::writeOgg(sound, path);
}

}  // namespace

void writeSounds(const MediaGen::Output& out) {
    {   // moss rustling: pink noise through a swaying band, in slow swells
        MediaGen::Dsp::PinkNoise noise(11);
        MediaGen::Dsp::SmoothRandom sway(12, 3.0);
        MediaGen::Dsp::Biquad band;
        auto s = render(4.0, -0.3f, [&](double t) {
            band.bandPass(2200 + 900 * sway.next(RATE), 0.9, RATE);
            const float swell = 0.55f + 0.45f * float(std::sin(t * 2 * PI * 0.6));
            return band.process(noise.next()) * swell;
        });
        finish(s, 0.6, 1.5, -14, out.path(std::string("sound/") + SOUND_RUSTLE));
    }
    {   // a drop of dew: a falling sine with a quick decay and a short ring
        MediaGen::Dsp::Reverb room(RATE, 0.5f, 0.5f);
        MediaGen::Sound s(RATE, 2, size_t(1.2 * RATE));
        double phase = 0;
        for (size_t i = 0; i < s.frames(); ++i) {
            const double t = double(i) / RATE;
            const double hz = 700 + 1200 * std::exp(-t * 25);
            phase += hz / RATE;
            const float dry = t < 0.35 ? float(std::sin(phase * 2 * PI) * std::exp(-t * 14)) : 0.0f;
            float l, r;
            room.process(dry, dry, l, r);
            s.channel(0)[i] = dry + 0.35f * l;
            s.channel(1)[i] = dry + 0.35f * r;
        }
        finish(s, 0.003, 0.3, -9, out.path(std::string("sound/") + SOUND_DEW));
    }
    {   // a dragonfly passing: two detuned saws at the wing rate, low-passed,
        // rising and falling as it comes and goes, moving across
        MediaGen::Dsp::Saw a, b;
        MediaGen::Dsp::Biquad low;
        low.lowPass(900, 0.8, RATE);
        MediaGen::Sound s(RATE, 2, size_t(3.5 * RATE));
        for (size_t i = 0; i < s.frames(); ++i) {
            const double t = double(i) / RATE;
            const float near = float(std::exp(-std::pow((t - 1.6) / 0.8, 2.0)));
            const float buzz = low.process(0.5f * a.next(32 * (1 + 0.05 * near), RATE) +
                                           0.5f * b.next(33.5 * (1 + 0.05 * near), RATE));
            const float tremolo = 0.7f + 0.3f * float(std::sin(t * 2 * PI * 11));
            const float pan = float(t / 3.5) * 2 - 1;
            const float v = buzz * near * tremolo;
            s.channel(0)[i] = v * std::sqrt(0.5f * (1 - pan));
            s.channel(1)[i] = v * std::sqrt(0.5f * (1 + pan));
        }
        finish(s, 0.5, 1.0, -12, out.path(std::string("sound/") + SOUND_DRAGONFLY));
    }
    {   // wind high among the stems: brown noise in a slowly wandering band
        MediaGen::Dsp::BrownNoise left(21), right(22);
        MediaGen::Dsp::SmoothRandom gust(23, 0.25), hue(24, 0.15);
        MediaGen::Dsp::Biquad bandL, bandR;
        MediaGen::Sound s(RATE, 2, size_t(30.0 * RATE));
        for (size_t i = 0; i < s.frames(); ++i) {
            const double hz = 450 + 200 * hue.next(RATE);
            if (i % 64 == 0) {
                bandL.bandPass(hz, 0.7, RATE);
                bandR.bandPass(hz * 1.07, 0.7, RATE);
            }
            const float level = 0.6f + 0.4f * gust.next(RATE);
            s.channel(0)[i] = bandL.process(left.next()) * level;
            s.channel(1)[i] = bandR.process(right.next()) * level;
        }
        finish(s, 4.0, 8.0, -10, out.path(std::string("sound/") + SOUND_WIND));
    }
    {   // a tall stem creaking: a slow, falling, rough saw in a wooden band
        MediaGen::Dsp::Saw saw;
        MediaGen::Dsp::Biquad band;
        band.bandPass(320, 1.2, RATE);
        MediaGen::Dsp::Reverb room(RATE, 0.6f, 0.5f);
        MediaGen::Sound s(RATE, 2, size_t(3.0 * RATE));
        for (size_t i = 0; i < s.frames(); ++i) {
            const double t = double(i) / RATE;
            const float grain = 0.6f + 0.4f * float(std::sin(t * 2 * PI * 11));
            const float dry = t < 2.4 ? band.process(saw.next(70 - 6 * t, RATE)) * grain : 0.0f;
            float l, r;
            room.process(dry, dry, l, r);
            s.channel(0)[i] = dry + 0.3f * l;
            s.channel(1)[i] = dry + 0.3f * r;
        }
        finish(s, 0.3, 1.0, -14, out.path(std::string("sound/") + SOUND_CREAK));
    }
}

}  // namespace FirstWorld
