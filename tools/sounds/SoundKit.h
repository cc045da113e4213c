#ifndef MOSSDEN_TOOLS_SOUNDS_SOUNDKIT_H
#define MOSSDEN_TOOLS_SOUNDS_SOUNDKIT_H

// The instruments, effects and score helpers that the game's sound
// generators share. All sounds are 44.1 kHz; times are seconds, pitches
// MIDI note numbers (60 = middle C), gains linear.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mediagen/Sound.h"

namespace Sounds {

using MediaGen::Sound;

constexpr int RATE = 44100;

// ---- score --------------------------------------------------------------

struct Note {
    double beat;   // start, in beats from the start of the line
    double beats;  // length
    double pitch;  // MIDI note number
};

// "F#4" -> 66, "Bb2" -> 46.
double pitchOf(const std::string& name);
// A melody line such as "B4:1.5 A4:.5 r:1 D5:1" (name:beats, r = rest)
// starting at startBeat, transposed by `transpose` semitones.
std::vector<Note> parseLine(const std::string& text, double startBeat = 0, int transpose = 0);

// ---- instruments (each adds one note to a stereo sound) -------------------

struct PadVoice {
    double attack = 2.5, release = 4.0;
    double cutoff = 900;       // low-pass cutoff in Hz at brightness 1, for A3
    double resonance = 0.15;
    double detuneCents = 7;
    // Multiplies the cutoff over absolute time in the piece (seconds).
    std::function<double(double)> brightness;
};
// Three detuned band-limited saws through a moving low-pass: warm chords.
void pad(Sound& out, double start, double hold, double pitch, float gain, float pan,
         const PadVoice& voice, std::uint64_t seed);

// Soft FM tine (kalimba / electric-piano): bright strike, mellow ring.
void tine(Sound& out, double start, double pitch, float gain, float pan, double decay = 1.6,
          double brightness = 1.0);

// Inharmonic glass bell.
void bell(Sound& out, double start, double pitch, float gain, float pan, double decay = 3.0);

// Round bass: sine with a little second and third harmonic.
void bass(Sound& out, double start, double hold, double pitch, float gain);

// ---- a small band: chords per bar over pads, arpeggio, bass, bell tunes ------

struct Chord {
    std::string name;
    std::vector<int> pad;  // voicing, MIDI
    int bass;
    std::vector<int> arp;  // five arpeggio tones, low to high
};

struct Bar {
    std::string chord;
    int transpose = 0;
    bool arp = false, bass = false;
    bool arpOctave = false;  // double the arpeggio an octave up
};

struct BandStyle {
    double beat = 0.8;  // seconds
    PadVoice voice;
    float padGain = 0.16f, tineGain = 0.11f, bassGain = 0.3f;
    double tineDecay = 1.3;
};

// One bus per instrument, so each can get its own effects.
struct Band {
    Sound pads{RATE, 2}, tines{RATE, 2}, bells{RATE, 2}, low{RATE, 2};
    void resize(std::size_t frames);
};

// Plays the bars from `startBar` on (4 beats each): pads tied over repeated
// chords, eighth-note arpeggio, bass on beats 1 and 3 (a long last note).
void playBars(Band& band, const std::vector<Chord>& chords, const std::vector<Bar>& bars,
              const BandStyle& style, std::uint64_t seed, int startBar = 0);
// A bell tune (parseLine notation) from a beat of the piece.
void playTune(Sound& bells, const char* line, double startBeat, int transpose, float gain,
              double decay, double beat, std::uint64_t seed);
// Mixes the band with a hall on pads and bells and echoes on the arpeggio.
Sound mixBand(const Band& band, double beat, std::size_t frames, float hallLevel = 0.55f);

// ---- effects and mastering -----------------------------------------------

// Wet output of the stereo reverb for `in` (pre-delay in seconds), same length + tail.
Sound reverb(const Sound& in, float roomSize, float damping, float width, double preDelay,
             double tail);
// Stereo echo: left and right taps at different times, damped feedback.
Sound echo(const Sound& in, double leftSeconds, double rightSeconds, float feedback,
           double tail);
// Removes rumble below hz (second-order high-pass on every channel).
void highPass(Sound& s, double hz);
void lowPass(Sound& s, double hz);
// The last step of a piece of music: rumble removed, peaks limited, faded
// in over fadeIn and out over fadeOut seconds, peak at peakDb.
Sound master(Sound mix, double fadeIn, double fadeOut, float peakDb);
// Look-ahead peak limiter: no sample above ceilingDb, gain recovers over
// `release` seconds. Transparent when nothing exceeds the ceiling.
void limit(Sound& s, float ceilingDb, double release = 0.25);

// ---- loops ------------------------------------------------------------------

// The frequency nearest to hz that fits a whole number of cycles into
// `frames` samples, so that a tone of it is exactly periodic in the loop.
double loopHz(double hz, std::size_t frames);
// Stereo white noise exactly periodic over `frames` (cross-faded loop).
Sound loopedWhiteNoise(std::uint64_t seed, std::size_t frames);
// n copies of s end to end.
Sound tile(const Sound& s, int n);
// The last `frames` frames of s.
Sound lastFrames(const Sound& s, std::size_t frames);

// Writes `s` with the quality bar's margins and prints a one-line summary
// (length, peak, RMS) for the build log.
void save(const Sound& s, const std::string& path, float quality = 0.45f);

}  // namespace Sounds

#endif
