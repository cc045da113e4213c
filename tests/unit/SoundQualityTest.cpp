// The quality bar of the generated sounds, measured on the files the build
// made (decoded as the game decodes them): sample rate, headroom, clean
// starts and ends, and loops that join without a click.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Decoded {
    long rate = 0;
    std::vector<std::vector<float>> channels;
    std::size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

bool decode(const std::string& path, Decoded& out) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return false;
    const vorbis_info* vi = ov_info(&vf, -1);
    out.rate = vi->rate;
    out.channels.assign(std::size_t(vi->channels), {});
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == OV_HOLE) continue;
        if (n <= 0) break;
        for (int c = 0; c < vi->channels; ++c)
            out.channels[c].insert(out.channels[c].end(), pcm[c], pcm[c] + n);
    }
    ov_clear(&vf);
    return true;
}

float peakOf(const std::vector<float>& x, std::size_t from, std::size_t to) {
    float p = 0;
    for (std::size_t i = from; i < to; ++i) p = std::max(p, std::fabs(x[i]));
    return p;
}

double rmsOf(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double s = 0;
    for (std::size_t i = from; i < to; ++i) s += double(x[i]) * x[i];
    return to > from ? std::sqrt(s / double(to - from)) : 0.0;
}

double db(double gain) { return 20.0 * std::log10(std::max(gain, 1e-12)); }

struct SoundCase {
    const char* file;
    bool loops;  // played looping: must join end to start without a click
    double minSeconds, maxSeconds;
};

const SoundCase SOUNDS[] = {
    {"thehumming.ogg", true, 20, 120},  {"button.ogg", false, 0.05, 0.5},
    {"scene1.ogg", false, 120, 300},    {"scene2noise.ogg", true, 15, 120},
    {"scene3noise.ogg", true, 15, 120}, {"scene3.ogg", false, 45, 240},
    {"holeup.ogg", false, 1.5, 5},      {"collision.ogg", false, 0.3, 3},
    {"haha.ogg", false, 2, 10},         {"moss_rustle.ogg", false, 2, 8},
    {"dew_drop.ogg", false, 0.5, 3},    {"dragonfly.ogg", false, 2, 6},
    {"wind.ogg", false, 15, 60},        {"stem_creak.ogg", false, 1.5, 6},
};

class SoundQuality : public ::testing::TestWithParam<SoundCase> {};

TEST_P(SoundQuality, MeetsTheBar) {
    const SoundCase& c = GetParam();
    const std::string path = std::string(MOSSDEN_BUILD_DIR) + "/media/sound/" + c.file;
    Decoded s;
    ASSERT_TRUE(decode(path, s)) << path;
    EXPECT_TRUE(s.rate == 44100 || s.rate == 48000) << s.rate;
    ASSERT_GE(s.channels.size(), 1u);
    ASSERT_LE(s.channels.size(), 2u);
    const double seconds = double(s.frames()) / double(s.rate);
    EXPECT_GE(seconds, c.minSeconds);
    EXPECT_LE(seconds, c.maxSeconds);
    const std::size_t n = s.frames();
    const std::size_t ms = std::size_t(s.rate / 1000);
    for (std::size_t ch = 0; ch < s.channels.size(); ++ch) {
        const auto& x = s.channels[ch];
        SCOPED_TRACE("channel " + std::to_string(ch));
        EXPECT_LE(db(peakOf(x, 0, n)), -1.0) << "peak above -1 dBFS";
        EXPECT_GE(db(rmsOf(x, 0, n)), -45.0) << "next to silent";
        if (!c.loops) {
            // Starts from silence (no jump to a level) and rises, however
            // fast, over more than a fraction of a millisecond.
            EXPECT_LE(std::fabs(x[0]), 1e-3f);
            EXPECT_LE(peakOf(x, 0, ms / 2), 0.1f);
            // Has faded out completely by the last sample.
            EXPECT_LE(std::fabs(x[n - 1]), 1e-3f);
            EXPECT_LE(peakOf(x, n - 5 * ms, n), 0.01f);
            continue;
        }
        // The join, 50 ms either side of it, end then start.
        const std::size_t w = 50 * ms;
        std::vector<float> join(x.end() - long(w), x.end());
        join.insert(join.end(), x.begin(), x.begin() + long(w));
        // A click is a corner: a second difference far beyond those around
        // it. The codec leaves a few samples of its own noise at the ends of
        // the stream, around -50 dBFS; a corner below -40 dBFS goes unheard.
        std::vector<double> d2(join.size(), 0.0);
        double sum = 0;
        for (std::size_t i = 1; i + 1 < join.size(); ++i) {
            d2[i] = join[i + 1] - 2.0 * join[i] + join[i - 1];
            sum += d2[i] * d2[i];
        }
        const double sigma = std::sqrt(sum / double(join.size() - 2));
        double atSeam = 0;
        for (std::size_t i = w - 2; i <= w + 1; ++i) atSeam = std::max(atSeam, std::fabs(d2[i]));
        EXPECT_LE(atSeam, 6 * sigma + 0.01) << "click where the loop joins";
        // And no step in level: the last and first second match within 3 dB.
        const std::size_t second = std::size_t(s.rate);
        EXPECT_NEAR(db(rmsOf(x, n - second, n)), db(rmsOf(x, 0, second)), 3.0);
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedSounds, SoundQuality, ::testing::ValuesIn(SOUNDS),
                         [](const ::testing::TestParamInfo<SoundCase>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             return name;
                         });

}  // namespace
