#include "audio/OggDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int BYTES_PER_SAMPLE = 2;

// Where each channel of a Vorbis layout goes: L left, R right, C both,
// - nowhere (low-frequency effects).
const char* channelSides(int channels) {
    switch (channels) {
        case 3:
            return "LCR";
        case 4:
            return "LRLR";
        case 5:
            return "LCRLR";
        case 6:
            return "LCRLR-";
        case 7:
            return "LCRLRC-";
        case 8:
            return "LCRLRLR-";
        default:
            return nullptr;
    }
}

int16_t readSample(const char* p) {
    const auto lo = static_cast<uint16_t>(static_cast<unsigned char>(p[0]));
    const auto hi = static_cast<uint16_t>(static_cast<unsigned char>(p[1]));
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

void writeSample(char* p, int value) {
    const auto bits = static_cast<uint16_t>(static_cast<int16_t>(value));
    p[0] = static_cast<char>(bits & 0xff);
    p[1] = static_cast<char>(bits >> 8);
}

}  // namespace

std::vector<char> downmixToStereo(const std::vector<char>& pcm, int channels) {
    if (channels <= 2) return pcm;
    const char* sides = channelSides(channels);
    int leftCount = 0, rightCount = 0;
    for (int c = 0; c < channels; ++c) {
        const char side = sides ? sides[c] : (c % 2 == 0 ? 'L' : 'R');
        if (side == 'L' || side == 'C') ++leftCount;
        if (side == 'R' || side == 'C') ++rightCount;
    }
    const std::size_t frameBytes = static_cast<std::size_t>(channels) * BYTES_PER_SAMPLE;
    const std::size_t frames = pcm.size() / frameBytes;
    std::vector<char> out(frames * 2 * BYTES_PER_SAMPLE);
    for (std::size_t f = 0; f < frames; ++f) {
        const char* in = pcm.data() + f * frameBytes;
        long left = 0, right = 0;
        for (int c = 0; c < channels; ++c) {
            const char side = sides ? sides[c] : (c % 2 == 0 ? 'L' : 'R');
            const int16_t sample = readSample(in + c * BYTES_PER_SAMPLE);
            if (side == 'L' || side == 'C') left += sample;
            if (side == 'R' || side == 'C') right += sample;
        }
        char* o = out.data() + f * 2 * BYTES_PER_SAMPLE;
        writeSample(o, static_cast<int>(left / leftCount));
        writeSample(o + BYTES_PER_SAMPLE, static_cast<int>(right / rightCount));
    }
    return out;
}

namespace {

// Brings a chunk of one link's interleaved frames to the sound's channel
// count (1 or 2): more than two channels are mixed to stereo, and a link of
// another width than the first (a chained file) is mixed down to mono or
// spread to both sides.
void appendAs(int outChannels, int linkChannels, const char* data, std::size_t bytes,
              std::vector<char>& pcm) {
    if (linkChannels == outChannels) {
        pcm.insert(pcm.end(), data, data + bytes);
        return;
    }
    std::vector<char> stereo(data, data + bytes);
    if (linkChannels > 2) stereo = downmixToStereo(stereo, linkChannels);
    const std::size_t frameIn = (linkChannels == 1 ? 1 : 2) * static_cast<std::size_t>(BYTES_PER_SAMPLE);
    for (std::size_t at = 0; at + frameIn <= stereo.size(); at += frameIn) {
        const char* in = stereo.data() + at;
        char out[2 * BYTES_PER_SAMPLE];
        if (frameIn == BYTES_PER_SAMPLE) {  // mono into stereo
            writeSample(out, readSample(in));
            writeSample(out + BYTES_PER_SAMPLE, readSample(in));
        } else {  // stereo into mono
            writeSample(out, (readSample(in) + readSample(in + BYTES_PER_SAMPLE)) / 2);
        }
        pcm.insert(pcm.end(), out, out + outChannels * BYTES_PER_SAMPLE);
    }
}

}  // namespace

OggStream::OggStream(std::size_t readBytes, std::size_t maxSamples)
    : readBytes(readBytes), maxSamples(maxSamples) {}

OggStream::~OggStream() { close(); }

void OggStream::close() {
    if (file) ov_clear(file.get());  // closes the file
    file.reset();
}

OggResult OggStream::open(const std::string& path) {
    close();
    out = DecodedSound();
    samples = 0;
    FILE* handle = std::fopen(path.c_str(), "rb");
    if (!handle) return OggResult::CANNOT_OPEN;
    auto stream = std::make_unique<OggVorbis_File>();
    if (ov_open(handle, stream.get(), nullptr, 0) != 0) {
        // On failure the library leaves the file to its caller.
        std::fclose(handle);
        return OggResult::NOT_VORBIS;
    }
    file = std::move(stream);
    // After opening a chained file the library stands at its last link:
    // go back to the first (a failed seek reads from where it stands).
    if (ov_streams(file.get()) > 1) ov_raw_seek(file.get(), 0);
    const vorbis_info* info = ov_info(file.get(), 0);
    if (!info || info->channels < 1 || info->rate < 1) {
        close();
        return OggResult::NOT_VORBIS;
    }
    out.rate = info->rate;
    out.channels = info->channels == 1 ? 1 : 2;
    chunk.resize(readBytes);
    return OggResult::OK;
}

bool OggStream::decode(std::size_t reads) {
    int bitStream = 0;
    // Each chunk is brought to the sound's width as it comes, so that a
    // file of many channels never holds more than its stereo reading. The
    // samples decoded, of every channel, bound both the memory and the time
    // a file can take: a few kilobytes of short packets of many channels
    // would otherwise decode to gigabytes.
    for (std::size_t read = 0; file && read < reads; ++read) {
        if (samples >= maxSamples) break;
        // little-endian, 16-bit, signed
        const long got = ov_read(file.get(), chunk.data(), static_cast<int>(chunk.size()), 0,
                                 BYTES_PER_SAMPLE, 1, &bitStream);
        if (got <= 0) break;
        const vorbis_info* link = ov_info(file.get(), bitStream);
        // A later link at another rate would play at the wrong pitch: the
        // sound ends where it starts.
        if (!link || link->channels < 1 || link->rate != out.rate) {
            samples = maxSamples;
            break;
        }
        const std::size_t linkFrameBytes = static_cast<std::size_t>(link->channels) * BYTES_PER_SAMPLE;
        const std::size_t frames =
            std::min(static_cast<std::size_t>(got) / linkFrameBytes,
                     (maxSamples - samples + link->channels - 1) / static_cast<std::size_t>(link->channels));
        appendAs(out.channels, link->channels, chunk.data(), frames * linkFrameBytes, out.pcm);
        samples += frames * static_cast<std::size_t>(link->channels);
        if (read + 1 == reads) return false;
    }
    close();
    return true;
}

OggResult decodeOggFile(const std::string& path, DecodedSound& out, std::size_t readBytes,
                        std::size_t maxSamples) {
    OggStream stream(readBytes, maxSamples);
    const OggResult result = stream.open(path);
    while (!stream.decode(SIZE_MAX)) {
    }
    out = stream.takeSound();
    return result;
}
