#ifndef MOSSDEN_AUDIO_OGGDECODER_H
#define MOSSDEN_AUDIO_OGGDECODER_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Whole-file Ogg Vorbis decoding into 16-bit PCM, free of OpenAL so that it
// can be checked on its own.

struct DecodedSound {
    int channels = 0;       // of pcm: 1 or 2
    long rate = 0;          // frames per second
    std::vector<char> pcm;  // 16-bit signed little-endian, interleaved
};

enum class OggResult { OK, CANNOT_OPEN, NOT_VORBIS };

// Decodes path completely, in reads of readBytes, up to maxSamples samples
// (of all channels; a longer sound is cut there, which bounds the memory and
// time any file can take). A
// stream of more than two channels is mixed down to stereo so that it plays
// as what it is (a stereo reading of its interleaved data would be noise of
// the wrong length). The first link of a chained file sets the channels and
// the rate: later links of another width are mixed to it, and the sound ends
// where a link of another rate starts. A read error ends the data early;
// what was decoded until then is kept.
OggResult decodeOggFile(const std::string& path, DecodedSound& out, std::size_t readBytes,
                        std::size_t maxSamples);

// The same decoding a few reads at a time, so that a long file can be
// spread over many frames: decodeOggFile is open() then decode() to the end.
// The sound grows with each read; it is complete once decode returns true.
class OggStream {
public:
    OggStream(std::size_t readBytes, std::size_t maxSamples);
    ~OggStream();
    OggStream(const OggStream&) = delete;
    OggStream& operator=(const OggStream&) = delete;

    // Opens path and reads its header; anything but OK leaves the stream
    // finished with an empty sound.
    OggResult open(const std::string& path);
    // Decodes up to `reads` more reads of readBytes each; true once the
    // sound is complete (at once for a stream that did not open).
    bool decode(std::size_t reads);
    bool finished() const { return !file; }
    const DecodedSound& sound() const { return out; }
    DecodedSound takeSound() { return std::move(out); }

private:
    void close();

    std::size_t readBytes, maxSamples;
    std::unique_ptr<struct OggVorbis_File> file;  // null when closed
    std::vector<char> chunk;                      // one read
    std::size_t samples = 0;                      // of every channel, decoded so far
    DecodedSound out;
};

// Mixes interleaved 16-bit little-endian frames of a Vorbis channel layout
// (3 to 8 channels in Vorbis's own channel order; more are
// taken as alternating left and right) down to stereo. Left gets the mean of
// the left and centre channels, right the mean of the right and centre
// channels; the low-frequency channel is left out.
std::vector<char> downmixToStereo(const std::vector<char>& pcm, int channels);

#endif
