#include "audio/OggDecoder.h"

#include <vorbis/vorbisfile.h>

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

OggResult decodeOggFile(const std::string& path, DecodedSound& out, std::size_t readBytes) {
    out = DecodedSound();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return OggResult::CANNOT_OPEN;
    OggVorbis_File stream;
    if (ov_open(file, &stream, nullptr, 0) != 0) {
        // On failure the library leaves the file to its caller.
        std::fclose(file);
        return OggResult::NOT_VORBIS;
    }
    const vorbis_info* info = ov_info(&stream, -1);
    if (!info || info->channels < 1) {
        ov_clear(&stream);
        return OggResult::NOT_VORBIS;
    }
    const int channels = info->channels;
    out.rate = info->rate;

    std::vector<char> chunk(readBytes);
    int bitStream = 0;
    for (;;) {
        // little-endian, 16-bit, signed
        const long got = ov_read(&stream, chunk.data(), static_cast<int>(chunk.size()), 0,
                                 BYTES_PER_SAMPLE, 1, &bitStream);
        if (got <= 0) break;
        out.pcm.insert(out.pcm.end(), chunk.data(), chunk.data() + got);
    }
    ov_clear(&stream);  // closes the file

    if (channels > 2) out.pcm = downmixToStereo(out.pcm, channels);
    out.channels = channels == 1 ? 1 : 2;
    return OggResult::OK;
}
