#include "mediagen/Sound.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace MediaGen {

namespace {
constexpr double PI = 3.14159265358979323846;
}

Sound::Sound(int rate, int channelCount, std::size_t frames) : sampleRate(rate) {
    if (rate <= 0 || channelCount < 1) throw std::invalid_argument("Sound: bad rate or channels");
    channels.assign(std::size_t(channelCount), std::vector<float>(frames, 0.0f));
}

void Sound::resize(std::size_t n) {
    for (auto& c : channels) c.resize(n, 0.0f);
}

void Sound::mix(const Sound& other, std::size_t offset, float gain, float pan) {
    if (other.sampleRate != sampleRate) throw std::invalid_argument("Sound::mix: rates differ");
    const std::size_t end = offset + other.frames();
    if (end > frames()) resize(end);
    const int n = channelCount();
    for (int c = 0; c < n; ++c) {
        float g = gain;
        const std::vector<float>* src = nullptr;
        if (other.channelCount() == 1) {
            src = &other.channels[0];
            if (n == 2) {
                const double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * PI / 4;
                g *= float(c == 0 ? std::cos(angle) : std::sin(angle)) * float(std::sqrt(2.0));
            }
        } else {
            src = &other.channels[std::min(c, other.channelCount() - 1)];
        }
        float* dst = channels[c].data() + offset;
        for (std::size_t i = 0; i < src->size(); ++i) dst[i] += g * (*src)[i];
    }
}

float Sound::peak() const {
    float p = 0;
    for (const auto& c : channels)
        for (float s : c) p = std::max(p, std::fabs(s));
    return p;
}

double Sound::rms() const {
    double sum = 0;
    std::size_t n = 0;
    for (const auto& c : channels) {
        for (float s : c) sum += double(s) * s;
        n += c.size();
    }
    return n ? std::sqrt(sum / n) : 0.0;
}

void Sound::scale(float gain) {
    for (auto& c : channels)
        for (float& s : c) s *= gain;
}

void Sound::normalisePeak(float dbfs) {
    const float p = peak();
    if (p > 0) scale(std::pow(10.0f, dbfs / 20.0f) / p);
}

void Sound::fadeIn(double seconds) {
    const std::size_t n = std::min(frames(), framesOf(seconds));
    for (auto& c : channels)
        for (std::size_t i = 0; i < n; ++i) c[i] *= float(0.5 - 0.5 * std::cos(PI * i / n));
}

void Sound::fadeOut(double seconds) {
    const std::size_t n = std::min(frames(), framesOf(seconds));
    const std::size_t total = frames();
    for (auto& c : channels)
        for (std::size_t i = 0; i < n; ++i) {
            // Reaches exactly zero on the last frame.
            const double t = double(i + 1) / n;
            c[total - n + i] *= float(0.5 + 0.5 * std::cos(PI * t));
        }
}

void Sound::makeLoop(std::size_t loopFrames, std::size_t crossfadeFrames) {
    if (frames() < loopFrames + crossfadeFrames)
        throw std::invalid_argument("makeLoop: render loop + crossfade frames first");
    for (auto& c : channels) {
        for (std::size_t i = 0; i < crossfadeFrames; ++i) {
            // Frame i of the loop follows frame loopFrames - 1, as frame
            // loopFrames + i did in the rendering: start fully on the tail.
            const double t = (i + 0.5) / crossfadeFrames;
            const float head = float(std::sin(t * PI / 2)), tail = float(std::cos(t * PI / 2));
            c[i] = head * c[i] + tail * c[loopFrames + i];
        }
        c.resize(loopFrames);
    }
}

void Sound::wrapTail(std::size_t loopFrames) {
    for (auto& c : channels) {
        for (std::size_t i = loopFrames; i < c.size(); ++i) c[i % loopFrames] += c[i];
        c.resize(loopFrames, 0.0f);
    }
}

namespace {

// Stream serial numbers are random in most encoders; derive ours from the
// file name so that a file is the same every time it is made.
int serialFor(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    std::uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    return int(h & 0x7FFFFFFF);
}

void encode(const Sound& sound, float gain, const std::string& path, float quality) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, sound.channelCount(), sound.rate(), quality) != 0) {
        vorbis_info_clear(&vi);
        throw std::runtime_error("writeOgg: encoder rejects the format of " + path);
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", path.substr(path.find_last_of('/') + 1).c_str());
    vorbis_comment_add_tag(&vc, "ARTIST", "the Mossden developers");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serialFor(path));

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("writeOgg: cannot open " + path);
    bool ok = true;
    auto writePage = [&](const ogg_page& og) {
        ok = ok && std::fwrite(og.header, 1, og.header_len, f) == std::size_t(og.header_len);
        ok = ok && std::fwrite(og.body, 1, og.body_len, f) == std::size_t(og.body_len);
    };

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page og;
    while (ogg_stream_flush(&os, &og) != 0) writePage(og);

    const std::size_t total = sound.frames();
    const std::size_t chunk = 4096;
    ogg_packet op;
    bool eos = false;
    for (std::size_t pos = 0; !eos;) {
        const std::size_t n = std::min(chunk, total - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            for (int c = 0; c < sound.channelCount(); ++c)
                for (std::size_t i = 0; i < n; ++i) buf[c][i] = sound.channel(c)[pos + i] * gain;
            vorbis_analysis_wrote(&vd, int(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op) == 1) {
                ogg_stream_packetin(&os, &op);
                while (!eos && ogg_stream_pageout(&os, &og) != 0) {
                    writePage(og);
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
        if (n == 0 && !eos) {
            // All data given and all packets out: flush what is left.
            while (ogg_stream_flush(&os, &og) != 0) writePage(og);
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("writeOgg: cannot write " + path);
}

}  // namespace

double writeOgg(const Sound& sound, const std::string& path, float quality, float maxPeakDbfs) {
    if (sound.frames() == 0) throw std::invalid_argument("writeOgg: no samples for " + path);
    const float limit = std::pow(10.0f, maxPeakDbfs / 20.0f);
    const float inputPeak = sound.peak();
    // Start a little under the limit; the codec's ringing adds a fraction of a dB.
    float gain = inputPeak > limit * 0.9f ? limit * 0.9f / inputPeak : 1.0f;
    for (int attempt = 0; attempt < 6; ++attempt) {
        encode(sound, gain, path, quality);
        const float decoded = readOgg(path).peak();
        if (decoded <= limit) return 20.0 * std::log10(std::max(decoded, 1e-9f));
        gain *= 0.97f * limit / decoded;
    }
    throw std::runtime_error("writeOgg: cannot keep the peak of " + path + " under the limit");
}

Sound readOgg(const std::string& path) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) throw std::runtime_error("readOgg: cannot open " + path);
    const vorbis_info* vi = ov_info(&vf, -1);
    Sound out(int(vi->rate), vi->channels);
    std::vector<std::vector<float>> data(std::size_t(vi->channels));
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == OV_HOLE) continue;
        if (n <= 0) break;
        for (int c = 0; c < vi->channels; ++c) data[c].insert(data[c].end(), pcm[c], pcm[c] + n);
    }
    ov_clear(&vf);
    for (int c = 0; c < out.channelCount(); ++c) out.channel(c) = std::move(data[c]);
    return out;
}

void writeWav(const Sound& sound, const std::string& path) {
    const std::uint32_t channels = std::uint32_t(sound.channelCount());
    const std::uint32_t rate = std::uint32_t(sound.rate());
    const std::uint32_t dataBytes = std::uint32_t(sound.frames() * channels * 2);
    std::vector<unsigned char> out;
    auto u32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
    };
    auto u16 = [&out](std::uint32_t v) {
        out.push_back((unsigned char)v);
        out.push_back((unsigned char)(v >> 8));
    };
    auto tag = [&out](const char* t) { out.insert(out.end(), t, t + 4); };
    tag("RIFF");
    u32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(channels);
    u32(rate);
    u32(rate * channels * 2);
    u16(channels * 2);
    u16(16);
    tag("data");
    u32(dataBytes);
    for (std::size_t i = 0; i < sound.frames(); ++i)
        for (std::uint32_t c = 0; c < channels; ++c) {
            const float s = std::clamp(sound.channel(int(c))[i], -1.0f, 1.0f);
            u16(std::uint32_t(std::uint16_t(std::int16_t(std::lround(s * 32767.0f)))));
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("writeWav: cannot open " + path);
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("writeWav: cannot write " + path);
}

}  // namespace MediaGen
