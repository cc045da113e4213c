#ifndef MOSSDEN_TOOLS_MEDIAGEN_SOUND_H
#define MOSSDEN_TOOLS_MEDIAGEN_SOUND_H

// Sound as plain data: one float vector per channel (full scale is 1.0),
// editing helpers for mixing, fades and seamless loops, and writers for
// Ogg Vorbis (libvorbisenc) and 16-bit WAV. Writers are deterministic: the
// same samples and name give the same bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace MediaGen {

class Sound {
public:
    Sound(int rate, int channelCount, std::size_t frames = 0);

    int rate() const { return sampleRate; }
    int channelCount() const { return int(channels.size()); }
    std::size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
    double seconds() const { return double(frames()) / sampleRate; }
    std::size_t framesOf(double seconds) const { return std::size_t(seconds * sampleRate + 0.5); }
    std::vector<float>& channel(int c) { return channels[c]; }
    const std::vector<float>& channel(int c) const { return channels[c]; }
    void resize(std::size_t frames);

    // Mixes `other` in at frame `offset` with a gain; a mono source into a
    // stereo sound is panned with constant power (pan -1 left .. +1 right).
    void mix(const Sound& other, std::size_t offset, float gain = 1.0f, float pan = 0.0f);
    float peak() const;  // largest absolute sample
    double rms() const;  // over all channels
    void scale(float gain);
    // Scales so the peak sits at `dbfs` (for example -3).
    void normalisePeak(float dbfs);
    // Raised-cosine fades over the first / last `seconds`.
    void fadeIn(double seconds);
    void fadeOut(double seconds);
    // Turns a rendering of loopFrames + crossfadeFrames frames into a loop of
    // loopFrames frames: the extra frames at the end are cross-faded
    // (equal power) into the start, so the last frame runs on into the first.
    void makeLoop(std::size_t loopFrames, std::size_t crossfadeFrames);
    // For material that is already periodic with period loopFrames (notes
    // scheduled per loop), whose effects ring on past the end: adds
    // everything after loopFrames back onto the start, then cuts there.
    void wrapTail(std::size_t loopFrames);

private:
    int sampleRate;
    std::vector<std::vector<float>> channels;
};

// Encodes to Ogg Vorbis at a VBR quality (-0.1 .. 1). Vorbis may overshoot
// the input's peaks slightly: the file is decoded again, and if the decoded
// peak is above maxPeakDbfs the input is scaled down and encoded again.
// Returns the decoded peak in dBFS. Throws on I/O or encoder errors.
double writeOgg(const Sound& sound, const std::string& path, float quality = 0.5f,
                float maxPeakDbfs = -1.05f);
// Decodes a whole Ogg Vorbis file (for checks and analysis).
Sound readOgg(const std::string& path);
// 16-bit PCM WAV, samples rounded and clipped to the 16-bit range.
void writeWav(const Sound& sound, const std::string& path);

}  // namespace MediaGen

#endif
