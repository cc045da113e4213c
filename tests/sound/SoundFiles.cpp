#include "tests/sound/SoundFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace Mossden::Test {

namespace {

constexpr double TWO_PI = 6.283185307179586;
constexpr int OGG_SERIAL = 20240;  // fixed: the fixture bytes stay the same
constexpr float OGG_QUALITY = 0.4f;
constexpr int OGG_BLOCK_FRAMES = 1024;

void put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
    out.write(b, 2);
}

void put32(std::ofstream& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xffff));
    put16(out, static_cast<uint16_t>(v >> 16));
}

uint32_t get32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

double sample(int frame, int rate, double toneHz, double amplitude) {
    return toneHz > 0.0 ? amplitude * std::sin(TWO_PI * toneHz * frame / rate) : 0.0;
}

void writePages(ogg_stream_state& stream, std::ofstream& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        out.write(reinterpret_cast<const char*>(page.header), page.header_len);
        out.write(reinterpret_cast<const char*>(page.body), page.body_len);
    }
}

}  // namespace

void writeWav(const std::string& path, int channels, int bits, int rate, int frames, double toneHz,
              double amplitude) {
    const int bytesPerSample = bits / 8;
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * bytesPerSample);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, static_cast<uint16_t>(channels));
    put32(out, static_cast<uint32_t>(rate));
    put32(out, static_cast<uint32_t>(rate * channels * bytesPerSample));
    put16(out, static_cast<uint16_t>(channels * bytesPerSample));
    put16(out, static_cast<uint16_t>(bits));
    out.write("data", 4);
    put32(out, dataBytes);
    for (int f = 0; f < frames; ++f) {
        const double v = sample(f, rate, toneHz, amplitude);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8)
                out.put(static_cast<char>(static_cast<int>(std::lround(128 + 127 * v))));
            else
                put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(32767 * v))));
        }
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

void writeOgg(const std::string& path, int channels, int rate, int frames, double toneHz,
              double amplitude) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, OGG_QUALITY) != 0)
        throw std::runtime_error("libvorbisenc refuses " + std::to_string(channels) + " channels");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    // Files of different formats get different serials, so that they can be
    // chained into one file.
    ogg_stream_init(&stream, OGG_SERIAL + channels * 100000 + rate);

    std::ofstream out(path, std::ios::binary);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    writePages(stream, out, true);

    auto drain = [&] {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                writePages(stream, out, false);
            }
        }
    };
    for (int done = 0; done < frames;) {
        const int n = std::min(OGG_BLOCK_FRAMES, frames - done);
        float** buffer = vorbis_analysis_buffer(&dsp, n);
        for (int i = 0; i < n; ++i) {
            const auto v = static_cast<float>(sample(done + i, rate, toneHz, amplitude));
            for (int c = 0; c < channels; ++c) buffer[c][i] = v;
        }
        vorbis_analysis_wrote(&dsp, n);
        drain();
        done += n;
    }
    vorbis_analysis_wrote(&dsp, 0);  // end of stream
    drain();
    writePages(stream, out, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    if (!out) throw std::runtime_error("cannot write " + path);
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool readWavChannel(const std::string& path, std::vector<float>& samples, int& rate) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;
    int channels = 0, bits = 0;
    bool isFloat = false;
    samples.clear();
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const unsigned char* chunk = bytes.data() + at;
        // The writer may stop before fixing the sizes: take the rest then.
        std::size_t size = get32(chunk + 4);
        size = std::min(size, bytes.size() - at - 8);
        const unsigned char* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            uint16_t tag = get16(body);
            channels = get16(body + 2);
            rate = static_cast<int>(get32(body + 4));
            bits = get16(body + 14);
            if (tag == 0xFFFE && size >= 26) tag = get16(body + 24);  // extensible: sub-format
            isFloat = tag == 3;
        } else if (std::memcmp(chunk, "data", 4) == 0 && channels > 0) {
            const std::size_t frameBytes = static_cast<std::size_t>(channels) * bits / 8;
            for (std::size_t f = 0; f + frameBytes <= size; f += frameBytes) {
                if (isFloat && bits == 32) {
                    float v;
                    std::memcpy(&v, body + f, 4);
                    samples.push_back(v);
                } else if (!isFloat && bits == 16) {
                    samples.push_back(static_cast<int16_t>(get16(body + f)) / 32768.0f);
                } else {
                    return false;
                }
            }
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

double toneAmplitude(const float* samples, std::size_t n, int rate, double hz) {
    const double w = TWO_PI * hz / rate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double s0 = samples[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(n);
}

std::string makeTempDir(const std::string& stem) {
    std::string pattern = (std::filesystem::temp_directory_path() / (stem + ".XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a directory for " + stem);
    return pattern;
}

}  // namespace Mossden::Test
