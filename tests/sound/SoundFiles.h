#ifndef MOSSDEN_TESTS_SOUND_SOUNDFILES_H
#define MOSSDEN_TESTS_SOUND_SOUNDFILES_H

// Sound fixtures made by the tests themselves: sine tones (or silence) as
// PCM WAV and Ogg Vorbis files, and a reader for the WAV files that
// openal-soft's wave backend writes.
#include <cstddef>
#include <string>
#include <vector>

namespace Mossden::Test {

// A PCM WAV of frames frames per channel; bits 8 or 16. toneHz 0 gives
// silence. Every channel carries the same tone.
void writeWav(const std::string& path, int channels, int bits, int rate, int frames,
              double toneHz = 0.0, double amplitude = 0.5);

// An Ogg Vorbis file of frames frames per channel (libvorbisenc, a stream
// serial fixed by channels and rate, so the bytes are the same every run).
void writeOgg(const std::string& path, int channels, int rate, int frames, double toneHz = 0.0,
              double amplitude = 0.5);

void writeText(const std::string& path, const std::string& text);

// The first channel of a 16-bit integer or 32-bit float WAV (plain or
// WAVE_FORMAT_EXTENSIBLE), as samples in -1..1. False when unreadable.
bool readWavChannel(const std::string& path, std::vector<float>& samples, int& rate);

// Amplitude of the hz component of n samples (Goertzel), about the sine's
// peak for a pure tone.
double toneAmplitude(const float* samples, std::size_t n, int rate, double hz);

// A fresh directory under the system's temporary directory.
std::string makeTempDir(const std::string& stem);

}  // namespace Mossden::Test

#endif
