// The sound manager on the real openal-soft: its null output here (sources
// play in real time, nothing is heard), its wave output and no device at all
// in child processes.
#include <AL/al.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/OggDecoder.h"
#include "audio/SoundManager.h"
#include "tests/sound/SoundFiles.h"

namespace {

using namespace Mossden::Test;

constexpr int LONG_RATE = 8000;
constexpr int LONG_FRAMES = 3 * LONG_RATE;  // 3 s: stays playing for the whole test
constexpr int CLICK_FRAMES = 400;           // 0.05 s at 8000 Hz
constexpr int NUMBERED_SOUNDS = 42;         // two more than can play

int sourceState(unsigned int source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

float sourceGain(unsigned int source) {
    ALfloat gain = -1.0f;
    alGetSourcef(source, AL_GAIN, &gain);
    return gain;
}

int bufferValue(unsigned int buffer, ALenum what) {
    ALint value = -1;
    alGetBufferi(buffer, what, &value);
    return value;
}

std::string numbered(int i) { return "n" + std::to_string(i) + ".wav"; }

std::string runChild(const std::string& environment, const std::string& mode,
                     const std::string& dir, int& status) {
    const std::string out = dir + "/child-" + mode + ".txt";
    const std::string command = "env -u ALSOFT_DRIVERS " + environment + " '" +
                                MOSSDEN_SOUND_CHILD + "' " + mode + " '" + dir + "' > '" + out +
                                "' 2>/dev/null";
    const int raw = std::system(command.c_str());
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::vector<char> pcm16(const std::vector<int>& samples) {
    std::vector<char> bytes;
    for (int v : samples) {
        bytes.push_back(static_cast<char>(v & 0xff));
        bytes.push_back(static_cast<char>((v >> 8) & 0xff));
    }
    return bytes;
}

TEST(OggDecoder, DownmixFollowsTheVorbisChannelOrder) {
    struct Case {
        int channels;
        std::vector<int> frame;     // one frame in the stream's channel order
        std::vector<int> expected;  // left, right
    };
    const Case cases[] = {
        {3, {1000, 2000, -3000}, {1500, -500}},                    // L C R
        {4, {100, 200, 300, 400}, {200, 300}},                     // FL FR RL RR
        {5, {100, 600, 200, 300, 400}, {333, 400}},                // FL C FR RL RR
        {6, {100, 600, 200, 300, 400, 32000}, {333, 400}},         // ... LFE left out
        {8, {0, 800, 0, 100, 200, 300, 400, -32000}, {300, 350}},  // FL C FR SL SR RL RR LFE
        {9, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {5, 5}},                  // no layout: alternating
        {3, {-32768, -32768, -32768}, {-32768, -32768}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channels);
        std::vector<int> twoFrames = c.frame;
        twoFrames.insert(twoFrames.end(), c.frame.begin(), c.frame.end());
        std::vector<int> expected = c.expected;
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(downmixToStereo(pcm16(twoFrames), c.channels), pcm16(expected));
    }
    const std::vector<char> stereo = pcm16({1, 2, 3, 4});
    EXPECT_EQ(downmixToStereo(stereo, 2), stereo);
}

class SoundManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Running the binary by hand: default to the null output as ctest does.
        setenv("ALSOFT_DRIVERS", "null", 0);
        dir = makeTempDir("mossden-sound");
        const std::string d = dir + "/";
        writeWav(d + "mono16.wav", 1, 16, 22050, 11025, 440);
        writeWav(d + "stereo8.wav", 2, 8, 11025, 2205, 440);
        writeOgg(d + "mono.ogg", 1, 44100, 11025, 440);
        writeOgg(d + "stereo.ogg", 2, 22050, 11025, 440);
        writeOgg(d + "surround.ogg", 3, 44100, 22050, 440);
        writeOgg(d + "five.ogg", 5, 48000, 12000, 440);  // 5.1 setups leak in libvorbisenc
        writeOgg(d + "empty.ogg", 1, 44100, 0);
        writeWav(d + "UPPER.WAV", 1, 16, 22050, 11025);
        writeOgg(d + "Mixed.Ogg", 1, 44100, 11025);
        writeWav(d + "long.wav", 1, 16, LONG_RATE, LONG_FRAMES);
        writeWav(d + "click.wav", 1, 16, LONG_RATE, CLICK_FRAMES, 1000);
        writeWav(d + "three.wav", 3, 16, 22050, 1000);
        writeText(d + "garbage.wav", "this is not a sound file");
        writeText(d + "garbage.ogg", "OggS but not really");
        for (int i = 0; i < NUMBERED_SOUNDS; ++i)
            writeWav(d + numbered(i), 1, 8, LONG_RATE, LONG_FRAMES);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(dir); }

    void SetUp() override {
        sound.initialise();
        ASSERT_TRUE(sound.hasDevice()) << "openal-soft's null output should always open";
        sound.setFolder(dir + "/");
    }

    unsigned int sourceOf(int id) const { return sound.record(id)->source; }

    static std::string dir;
    SoundManager sound;
};

std::string SoundManagerTest::dir;

TEST_F(SoundManagerTest, DecodesWavAndOggIntoBuffersOfTheirFormat) {
    struct Case {
        const char* name;
        int bits, channels, rate;
        double seconds;
    };
    // Ogg comes back as 16 bits; more than two channels as stereo of the
    // stream's true length.
    const Case cases[] = {
        {"mono16.wav", 16, 1, 22050, 0.5},   {"stereo8.wav", 8, 2, 11025, 0.2},
        {"mono.ogg", 16, 1, 44100, 0.25},    {"stereo.ogg", 16, 2, 22050, 0.5},
        {"surround.ogg", 16, 2, 44100, 0.5}, {"five.ogg", 16, 2, 48000, 0.25},
    };
    int expectedId = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int id = sound.loadSound(c.name, false);
        EXPECT_EQ(id, expectedId++);
        const SoundRecord* rec = sound.record(id);
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(bufferValue(rec->buffer, AL_BITS), c.bits);
        EXPECT_EQ(bufferValue(rec->buffer, AL_CHANNELS), c.channels);
        EXPECT_EQ(bufferValue(rec->buffer, AL_FREQUENCY), c.rate);
        EXPECT_NEAR(rec->duration, c.seconds, 1e-9);
        EXPECT_FLOAT_EQ(sourceGain(rec->source), 1.0f);
        EXPECT_EQ(sourceState(rec->source), AL_INITIAL);
    }
    EXPECT_EQ(sound.soundCount(), expectedId);
}

// Chained files (links one after another) and the decoding bound: the
// first link sets the sound's width and rate, whatever follows.
TEST_F(SoundManagerTest, ChainedOggKeepsTheFirstLinksFormatAndLongFilesAreCut) {
    const std::string d = dir + "/";
    const auto chain = [&](const std::string& name, const std::vector<std::string>& parts) {
        std::ofstream out(d + name, std::ios::binary);
        for (const std::string& part : parts) out << std::ifstream(d + part, std::ios::binary).rdbuf();
    };
    writeOgg(d + "stereo44.ogg", 2, 44100, 4410, 440);
    chain("mono_then_stereo.ogg", {"mono.ogg", "stereo44.ogg"});
    chain("stereo_then_mono.ogg", {"stereo44.ogg", "mono.ogg"});
    chain("rate_change.ogg", {"mono.ogg", "stereo.ogg", "stereo44.ogg"});
    struct Case {
        const char* name;
        std::size_t maxSamples;
        int channels;
        std::size_t frames;
    };
    const std::size_t all = SoundManager::MAX_OGG_SAMPLES;
    const Case cases[] = {
        {"mono_then_stereo.ogg", all, 1, 11025 + 4410},
        {"stereo_then_mono.ogg", all, 2, 4410 + 11025},
        {"rate_change.ogg", all, 1, 11025},  // ends where the 22050 Hz link starts
        {"mono.ogg", 1000, 1, 1000},
        {"surround.ogg", 3001, 2, 1001},  // a started frame is kept whole
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedSound decoded;
        ASSERT_EQ(decodeOggFile(d + c.name, decoded, SoundManager::OGG_READ_BYTES, c.maxSamples), OggResult::OK);
        EXPECT_EQ(decoded.channels, c.channels);
        EXPECT_EQ(decoded.rate, 44100);
        EXPECT_EQ(decoded.pcm.size(), c.frames * 2 * static_cast<std::size_t>(c.channels));
        // Read by read, in short reads, the stream gives the same sound.
        constexpr std::size_t SHORT_READ = 512;
        DecodedSound whole;
        decodeOggFile(d + c.name, whole, SHORT_READ, c.maxSamples);
        OggStream stream(SHORT_READ, c.maxSamples);
        ASSERT_EQ(stream.open(d + c.name), OggResult::OK);
        int steps = 1;
        while (!stream.decode(1)) ++steps;
        EXPECT_GT(steps, 2);
        EXPECT_EQ(stream.sound().rate, whole.rate);
        EXPECT_EQ(stream.sound().channels, whole.channels);
        EXPECT_EQ(stream.sound().pcm.size(), whole.pcm.size());
        // Two whole decodes of the three-channel file already differ in a
        // few samples on this libvorbis: only the sizes are compared there.
        if (std::string(c.name) != "surround.ogg") {
            EXPECT_EQ(stream.sound().pcm, whole.pcm);
        }
    }
}

// Sounds first loaded while a scene is built belong to the scenes: a scene
// change gives back those the new scene does not ask for, unless they play.
TEST_F(SoundManagerTest, SceneChangesReleaseWhatOnlyTheSceneBeforeUsed) {
    const int menu = sound.loadSound("mono16.wav", false);  // outside any scene build
    sound.beginSceneLoad();
    const int shared = sound.loadSound("stereo.ogg", false);
    const int own = sound.loadSound("mono.ogg", false);
    const int playing = sound.loadSound("long.wav", false);
    sound.endSceneLoad();
    sound.play(playing);
    sound.addRepeat(own);
    sound.fadeIn(own, 1.0f);

    sound.beginSceneLoad();
    EXPECT_EQ(sound.loadSound("stereo.ogg", false), shared);
    sound.endSceneLoad();
    struct Case {
        int id;
        bool loaded;
    };
    for (const Case& c : {Case{menu, true}, Case{shared, true}, Case{own, false}, Case{playing, true}}) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(sound.record(c.id)->loaded, c.loaded);
        EXPECT_EQ(sound.record(c.id)->buffer != 0, c.loaded);
    }
    EXPECT_EQ(sound.repeats().count(own), 0u);
    EXPECT_TRUE(sound.runningFades().empty());
    sound.play(own);  // released: nothing to play, nothing breaks
    EXPECT_FALSE(sound.isPlaying(own));

    // Asked for again, it loads again under its id, with its data.
    EXPECT_EQ(sound.loadSound("mono.ogg", false), own);
    ASSERT_TRUE(sound.record(own)->loaded);
    EXPECT_EQ(bufferValue(sound.record(own)->buffer, AL_FREQUENCY), 44100);
    EXPECT_NEAR(sound.record(own)->duration, 0.25, 1e-9);
    EXPECT_EQ(sound.soundCount(), 4);
}

TEST_F(SoundManagerTest, PreparedOggFilesLoadAsTheyWouldWhole) {
    for (const char* name : {"stereo.ogg", "surround.ogg", "garbage.ogg", "missing.ogg"}) sound.prepare(name);
    int steps = 0;
    while (sound.prepareStep(1)) ++steps;
    EXPECT_GT(steps, 0);
    // surround.ogg is loaded before its decoding finished: the rest is done at once
    sound.prepare("five.ogg");
    sound.prepareStep(1);
    struct Case {
        const char* name;
        int channels, rate;
        double seconds;
    };
    const Case cases[] = {{"stereo.ogg", 2, 22050, 0.5},
                          {"surround.ogg", 2, 44100, 0.5},
                          {"five.ogg", 2, 48000, 0.25},
                          {"garbage.ogg", 0, 0, 0.0},
                          {"missing.ogg", 0, 0, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SoundRecord* rec = sound.record(sound.loadSound(c.name, false));
        ASSERT_NE(rec, nullptr);
        EXPECT_NEAR(rec->duration, c.seconds, 1e-9);
        if (c.rate == 0) continue;  // unreadable: silence
        EXPECT_EQ(bufferValue(rec->buffer, AL_CHANNELS), c.channels);
        EXPECT_EQ(bufferValue(rec->buffer, AL_FREQUENCY), c.rate);
    }
    EXPECT_FALSE(sound.prepareStep(1));
}

TEST_F(SoundManagerTest, NamesLoadOnceAndEndingsIgnoreLetterCase) {
    const int first = sound.loadSound("mono16.wav", false);
    EXPECT_EQ(sound.loadSound("mono16.wav", true), first);
    ALint looping = -1;
    alGetSourcei(sourceOf(first), AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_FALSE) << "the second call's loop flag must not count";
    EXPECT_EQ(sound.soundCount(), 1);

    const int upper = sound.loadSound("UPPER.WAV", true);
    const int mixed = sound.loadSound("Mixed.Ogg", false);
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(mixed, 2);
    EXPECT_GT(bufferValue(sound.record(upper)->buffer, AL_SIZE), 0);
    EXPECT_GT(bufferValue(sound.record(mixed)->buffer, AL_SIZE), 0);
    alGetSourcei(sourceOf(upper), AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);

    // Neither ending: 0, nothing registered, later ids keep their records.
    testing::internal::CaptureStdout();
    EXPECT_EQ(sound.loadSound("notes.txt", false), 0);
    EXPECT_EQ(sound.loadSound("notes.txt", false), 0);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find(dir + "/notes.txt"), std::string::npos) << said;
    EXPECT_EQ(sound.soundCount(), 3);
    const int next = sound.loadSound("stereo8.wav", false);
    EXPECT_EQ(next, 3);
    EXPECT_EQ(bufferValue(sound.record(next)->buffer, AL_FREQUENCY), 11025);
}

TEST_F(SoundManagerTest, UnreadableFilesPlaySilenceAndSaySoOnce) {
    struct Case {
        const char* name;
        const char* message;  // the whole line, after the path
    };
    const Case cases[] = {
        {"missing.ogg", ""},
        {"garbage.ogg", ": not an Ogg Vorbis file"},
        {"missing.wav", ": I/O error"},
        {"garbage.wav", ": Unsupported file type"},
        {"three.wav", ": Unsupported mode within an otherwise usable file type"},
    };
    int expectedId = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        const int id = sound.loadSound(c.name, true);
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(said, "Cant load file " + dir + "/" + c.name + c.message + "\n");
        EXPECT_EQ(id, expectedId++);
        EXPECT_EQ(bufferValue(sound.record(id)->buffer, AL_SIZE), 0);
        EXPECT_EQ(sound.record(id)->duration, 0.0);
        sound.play(id);
        sound.update(0.02f);
        EXPECT_FALSE(sound.isPlaying(id));
        EXPECT_EQ(sound.loadSound(c.name, false), id);
    }
    // A stream without samples is no error: a sound of no length.
    testing::internal::CaptureStdout();
    const int empty = sound.loadSound("empty.ogg", false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(sound.record(empty)->duration, 0.0);

    const int good = sound.loadSound("click.wav", false);
    EXPECT_EQ(good, expectedId + 1);
    EXPECT_EQ(bufferValue(sound.record(good)->buffer, AL_FREQUENCY), LONG_RATE);
}

TEST_F(SoundManagerTest, OnlyIdsBelowFortyPlay) {
    for (int i = 0; i < NUMBERED_SOUNDS; ++i) ASSERT_EQ(sound.loadSound(numbered(i), false), i);
    sound.play(39);
    EXPECT_TRUE(sound.isPlaying(39));
    for (int id : {40, 41}) {
        sound.play(id);
        sound.playInstance(id);
        EXPECT_EQ(sourceState(sourceOf(id)), AL_INITIAL) << id;
    }
    EXPECT_TRUE(sound.oneShots().empty());

    sound.stop(39);
    EXPECT_EQ(sourceState(sourceOf(39)), AL_STOPPED);
    EXPECT_EQ(sound.record(39)->elapsed, 0.0f);

    // Ids never issued change nothing.
    for (int id : {-1, NUMBERED_SOUNDS, 999}) {
        sound.play(id);
        sound.stop(id);
        sound.playInstance(id);
        sound.fadeIn(id, 1.0f);
        sound.fadeOut(id, 1.0f);
        sound.addRepeat(id);
        EXPECT_FALSE(sound.isPlaying(id));
    }
    EXPECT_TRUE(sound.runningFades().empty());
    EXPECT_TRUE(sound.repeats().empty());
    sound.update(0.1f);
}

TEST_F(SoundManagerTest, FadeOutFollowsFrameTimesThenStops) {
    const int id = sound.loadSound("long.wav", true);
    sound.play(id);
    sound.fadeOut(id, 15.0f);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(id)), 1.0f) << "a fade changes nothing before update";
    for (int second = 1; second <= 15; ++second) {
        sound.update(1.0f);
        EXPECT_NEAR(sourceGain(sourceOf(id)), 1.0f - second / 15.0f, 1e-6) << second;
        EXPECT_TRUE(sound.isPlaying(id)) << second;
    }
    EXPECT_EQ(sound.runningFades().size(), 1u);
    sound.update(1.0f);  // past 15 s
    EXPECT_EQ(sourceState(sourceOf(id)), AL_STOPPED);
    EXPECT_EQ(sound.record(id)->fadeGain, 0.0f);
    EXPECT_TRUE(sound.runningFades().empty());

    sound.play(id);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(id)), 1.0f);
    EXPECT_TRUE(sound.isPlaying(id));
}

TEST_F(SoundManagerTest, FadeInFromPlayUpToExactlyFull) {
    const int id = sound.loadSound("long.wav", true);
    sound.fadeIn(id, 4.0f);
    EXPECT_FALSE(sound.isPlaying(id)) << "a fade does not start playback";
    sound.play(id);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(id)), 1.0f);
    for (float expected : {0.25f, 0.5f, 0.75f, 1.0f}) {
        sound.update(1.0f);
        EXPECT_FLOAT_EQ(sourceGain(sourceOf(id)), expected);
        EXPECT_EQ(sound.runningFades().size(), 1u);
    }
    sound.update(0.5f);
    EXPECT_EQ(sourceGain(sourceOf(id)), 1.0f);
    EXPECT_TRUE(sound.runningFades().empty());
}

TEST_F(SoundManagerTest, FadesOfNoLengthEndAtTheNextUpdate) {
    for (float dt : {0.016f, 0.0f}) {
        SCOPED_TRACE(dt);
        const int in = sound.loadSound(numbered(0), false);
        const int out = sound.loadSound(numbered(1), false);
        sound.play(in);
        sound.play(out);
        sound.fadeIn(in, 0.0f);
        sound.fadeOut(out, 0.0f);
        sound.update(dt);
        EXPECT_EQ(sourceGain(sourceOf(in)), 1.0f);
        EXPECT_TRUE(sound.isPlaying(in));
        EXPECT_EQ(sourceState(sourceOf(out)), AL_STOPPED);
        EXPECT_EQ(sound.record(out)->fadeGain, 0.0f);
        EXPECT_TRUE(sound.runningFades().empty());
    }
}

TEST_F(SoundManagerTest, VolumeScalesFadesAndLoadedSoundsButNotCopies) {
    const int fading = sound.loadSound(numbered(0), false);
    const int steady = sound.loadSound(numbered(1), false);
    const int later = sound.loadSound(numbered(2), false);
    sound.play(fading);
    sound.play(steady);
    sound.playInstance(steady);
    sound.fadeOut(fading, 10.0f);
    sound.update(4.0f);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(fading)), 0.6f);

    sound.setVolume(0.5f);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(fading)), 0.3f);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(steady)), 0.5f);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(later)), 0.5f);
    ASSERT_EQ(sound.oneShots().size(), 1u);
    EXPECT_FLOAT_EQ(sourceGain(sound.oneShots().front().source), 1.0f);

    sound.update(1.0f);  // t = 0.5 against the new master gain
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(fading)), 0.25f);
    sound.playInstance(steady);
    EXPECT_FLOAT_EQ(sourceGain(sound.oneShots().back().source), 0.5f);
    sound.play(later);
    EXPECT_FLOAT_EQ(sourceGain(sourceOf(later)), 0.5f);
}

// Game time sped up for a test plays every sound as much faster: the
// sounds loaded before, their playing copies, and those that come later.
TEST_F(SoundManagerTest, SpeedReachesEverySourceNowAndLater) {
    const auto pitch = [](unsigned int source) {
        ALfloat value = -1.0f;
        alGetSourcef(source, AL_PITCH, &value);
        return value;
    };
    const int before = sound.loadSound(numbered(0), false);
    sound.playInstance(before);
    sound.setSpeed(4.0f);
    EXPECT_FLOAT_EQ(pitch(sourceOf(before)), 4.0f);
    ASSERT_EQ(sound.oneShots().size(), 1u);
    EXPECT_FLOAT_EQ(pitch(sound.oneShots().front().source), 4.0f);
    const int after = sound.loadSound(numbered(1), true);
    sound.playInstance(after);
    EXPECT_FLOAT_EQ(pitch(sourceOf(after)), 4.0f);
    EXPECT_FLOAT_EQ(pitch(sound.oneShots().back().source), 4.0f);
    sound.setSpeed(1.0f);
    EXPECT_FLOAT_EQ(pitch(sourceOf(after)), 1.0f);
}

TEST_F(SoundManagerTest, PauseResumeAndStopAll) {
    const int a = sound.loadSound(numbered(0), false);
    const int b = sound.loadSound(numbered(1), true);
    const int idle = sound.loadSound(numbered(2), false);
    sound.play(a);
    sound.play(b);

    sound.resumeAll();  // nothing paused: nothing happens
    EXPECT_FALSE(sound.isPaused());
    sound.pauseAll();
    sound.pauseAll();
    EXPECT_TRUE(sound.isPaused());
    EXPECT_EQ(sourceState(sourceOf(a)), AL_PAUSED);
    EXPECT_EQ(sourceState(sourceOf(b)), AL_PAUSED);
    EXPECT_EQ(sourceState(sourceOf(idle)), AL_INITIAL);
    sound.resumeAll();
    EXPECT_FALSE(sound.isPaused());
    EXPECT_TRUE(sound.isPlaying(a));
    EXPECT_TRUE(sound.isPlaying(b));
    EXPECT_EQ(sourceState(sourceOf(idle)), AL_INITIAL);

    sound.addRepeat(a);
    sound.fadeOut(b, 3.0f);
    sound.playInstance(a);
    sound.pauseAll();
    sound.stopAll();
    EXPECT_FALSE(sound.isPaused());
    EXPECT_EQ(sourceState(sourceOf(a)), AL_STOPPED);
    EXPECT_EQ(sourceState(sourceOf(b)), AL_STOPPED);
    EXPECT_TRUE(sound.repeats().empty());
    EXPECT_TRUE(sound.runningFades().empty());
    ASSERT_EQ(sound.oneShots().size(), 1u);
    EXPECT_EQ(sourceState(sound.oneShots().front().source), AL_PLAYING) << "copies play on";
}

TEST_F(SoundManagerTest, RepeatSetRestartsAtMostOneSoundPerFrame) {
    const int low = sound.loadSound(numbered(0), false);
    const int high = sound.loadSound(numbered(1), false);
    const int silent = sound.loadSound(numbered(2), false);
    ASSERT_DOUBLE_EQ(sound.record(low)->duration, 3.0);
    sound.play(low);
    sound.play(high);
    for (int id : {high, silent, low}) sound.addRepeat(id);

    sound.update(2.9f);
    EXPECT_FLOAT_EQ(sound.record(low)->elapsed, 2.9f);
    EXPECT_FLOAT_EQ(sound.record(high)->elapsed, 2.9f);

    sound.update(0.2f);  // both reach 3 s; only the lower id restarts
    EXPECT_EQ(sound.record(low)->elapsed, 0.0f);
    EXPECT_FLOAT_EQ(sound.record(high)->elapsed, 2.9f);
    EXPECT_TRUE(sound.isPlaying(low));

    sound.update(0.2f);
    EXPECT_FLOAT_EQ(sound.record(low)->elapsed, 0.2f);
    EXPECT_EQ(sound.record(high)->elapsed, 0.0f);
    EXPECT_TRUE(sound.isPlaying(high));
    EXPECT_EQ(sound.record(silent)->elapsed, 0.0f) << "a sound not playing does not count";

    sound.removeRepeat(low);
    sound.update(3.0f);
    EXPECT_FLOAT_EQ(sound.record(low)->elapsed, 0.2f);
    EXPECT_EQ(sound.record(high)->elapsed, 0.0f);
}

TEST_F(SoundManagerTest, OneShotCopiesOverlapAndAreDeletedWhenDone) {
    const int click = sound.loadSound("click.wav", false);
    const int lasting = sound.loadSound("long.wav", false);
    for (int i = 0; i < 3; ++i) sound.playInstance(click);
    sound.playInstance(lasting);
    ASSERT_EQ(sound.oneShots().size(), 4u);
    std::vector<unsigned int> sources;
    for (const SoundRecord& copy : sound.oneShots()) sources.push_back(copy.source);
    std::set<unsigned int> distinct(sources.begin(), sources.end());
    distinct.insert(sourceOf(click));
    distinct.insert(sourceOf(lasting));
    EXPECT_EQ(distinct.size(), 6u) << "every copy has a source of its own";
    EXPECT_EQ(sourceState(sourceOf(click)), AL_INITIAL)
        << "copies leave the sound's own source alone";

    // The clicks end in real time; each is gone at the first update after.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (sound.oneShots().size() > 1 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        sound.update(0.01f);
    }
    ASSERT_EQ(sound.oneShots().size(), 1u);
    EXPECT_EQ(sound.oneShots().front().source, sources.back());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(alIsSource(sources[i])) << i;
}

// The whole road from file to speaker: the child process plays a WAV tone
// and then an Ogg tone into openal-soft's wave output, and both tones are
// found in what was written, in that order.
TEST_F(SoundManagerTest, WaveOutputCarriesThePlayedTones) {
    const std::string work = makeTempDir("mossden-wave");
    constexpr int RATE = 44100;
    writeWav(work + "/tone440.wav", 1, 16, 22050, 22050 * 3 / 10, 440, 0.8);
    writeOgg(work + "/tone660.ogg", 2, 44100, 44100 * 3 / 10, 660, 0.8);
    writeText(work + "/alsoft.conf",
              "[general]\ndrivers = wave\nfrequency = " + std::to_string(RATE) +
                  "\nchannels = mono\nsample-type = int16\n[wave]\nfile = " + work + "/mix.wav\n");
    int status = -1;
    const std::string said =
        runChild("ALSOFT_CONF='" + work + "/alsoft.conf'", "play", work, status);
    EXPECT_EQ(status, 0) << said;
    EXPECT_NE(said.find("ids 0 1\n"), std::string::npos) << said;

    std::vector<float> mix;
    int rate = 0;
    ASSERT_TRUE(readWavChannel(work + "/mix.wav", mix, rate)) << said;
    ASSERT_EQ(rate, RATE);
    constexpr std::size_t WINDOW = 2048;
    constexpr double HEARD = 0.1;  // of full scale; silence gives about 0
    long first440 = -1, first660 = -1;
    for (std::size_t at = 0; at + WINDOW <= mix.size(); at += WINDOW) {
        const double a440 = toneAmplitude(&mix[at], WINDOW, rate, 440);
        const double a660 = toneAmplitude(&mix[at], WINDOW, rate, 660);
        if (first440 < 0 && a440 > HEARD && a440 > 4 * a660) first440 = static_cast<long>(at);
        if (first660 < 0 && a660 > HEARD && a660 > 4 * a440) first660 = static_cast<long>(at);
    }
    EXPECT_GE(first440, 0) << "no 440 Hz tone in " << mix.size() << " samples";
    EXPECT_GT(first660, first440) << "the Ogg tone must follow the WAV tone";
    std::filesystem::remove_all(work);
}

// Every operation runs with and without a device; without one the game is
// told once, makes no OpenAL call, and hands out the same ids.
TEST_F(SoundManagerTest, NoDeviceRunsSilentlyWithTheSameIds) {
    const std::string work = makeTempDir("mossden-nodevice");
    writeWav(work + "/tone440.wav", 1, 16, 8000, 800, 440);
    writeOgg(work + "/tone660.ogg", 1, 8000, 800, 660);
    writeText(work + "/garbage.wav", "not a sound");
    struct Case {
        const char* environment;
        bool device;
    };
    for (const Case& c :
         {Case{"ALSOFT_DRIVERS=null", true}, Case{"ALSOFT_DRIVERS=nothing", false}}) {
        SCOPED_TRACE(c.environment);
        int status = -1;
        const std::vector<std::string> said = lines(runChild(c.environment, "busy", work, status));
        EXPECT_EQ(status, 0);
        std::vector<std::string> expected;
        if (c.device)
            expected.push_back("Sound plays on \"No Output\"");
        else
            expected.push_back(
                "Sound is off: cannot open the audio device \"OpenAL Soft\"; looking for one "
                "every 2 seconds");
        expected.push_back("Cant load file " + work +
                           "/notes.txt: neither a .wav nor an .ogg name");
        if (c.device) {
            expected.push_back("Cant load file " + work + "/missing.ogg");
            expected.push_back("Cant load file " + work + "/garbage.wav: Unsupported file type");
        }
        expected.push_back("ids 0 0 1 2 3 0");
        expected.push_back(std::string("count 4 device ") + (c.device ? "1" : "0"));
        expected.push_back("calls without a context 0");
        EXPECT_EQ(said, expected);
    }
    std::filesystem::remove_all(work);
}

// A device that goes away and comes back, then goes for good: the child's
// wave output writes into a FIFO whose reader hangs up (the device's writes
// fail and it disconnects) and opens it again (opening the device, which
// waits for a reader as a device can wait for its sound server, succeeds).
TEST_F(SoundManagerTest, LostDeviceIsFoundAgainAndTheSoundsTakeUpWhereTheGameIs) {
    const std::string work = makeTempDir("mossden-reconnect");
    constexpr int RATE = 22050;
    writeWav(work + "/bed440.wav", 1, 16, RATE, 6 * RATE, 440, 0.5);        // a looping bed
    writeWav(work + "/blip660.wav", 1, 16, RATE, RATE * 3 / 10, 660, 0.5);  // a one-shot
    ASSERT_EQ(mkfifo((work + "/out.fifo").c_str(), 0600), 0);
    writeText(work + "/alsoft.conf",
              "[general]\ndrivers = wave\nfrequency = 44100\nchannels = mono\nsample-type = "
              "int16\n[wave]\nfile = " +
                  work + "/out.fifo\n");
    int status = -1;
    const std::string said =
        runChild("ALSOFT_CONF='" + work + "/alsoft.conf' timeout 60", "reconnect", work, status);
    EXPECT_EQ(status, 0) << said;

    std::map<std::string, double> measured;  // the child's "key value" lines
    const std::vector<std::string> all = lines(said);
    for (const std::string& line : all) {
        std::istringstream in(line);
        std::string key;
        double number = 0.0;
        if (in >> key >> number && in.eof()) measured[key] = number;
    }
    const std::string gone =
        "Sound device \"Wave File Writer\" is gone: the game plays on silently and looks for a "
        "device every 2 seconds";
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), "Sound plays on \"Wave File Writer\"");
    EXPECT_EQ(std::count(all.begin(), all.end(), gone), 2) << said;
    EXPECT_EQ(std::count(all.begin(), all.end(), "Sound is back on \"Wave File Writer\""), 1)
        << said;

    const std::map<std::string, std::pair<double, double>> expected = {
        {"before440", {0.1, 1.0}},
        {"gone", {1, 1}},
        // The frames went on while the new device's open waited for its
        // reader, the bed playing on in the game's time, the one-shot ended.
        {"framesAway", {20, 1000}},
        {"awayBed", {1, 1}},
        {"awayBlip", {0, 0}},
        {"back", {1, 1}},
        // The menu paused the bed while away: it waits, and the one-shot
        // stays ended.
        {"backBed", {0, 0}},
        {"backBlip", {0, 0}},
        // Resumed where the game had come to: half a second played before
        // the hang-up and a second away; a restarted bed would be near 0.
        {"bedAt", {1.0, 5.5}},
        {"after440", {0.1, 1.0}},
        {"after660", {0.0, 0.02}},
        {"goneForGood", {1, 1}},
        {"framesForGood", {20, 1000}},
        {"forGoodBed", {1, 1}},
    };
    for (const auto& [key, range] : expected) {
        SCOPED_TRACE(key);
        ASSERT_EQ(measured.count(key), 1u) << said;
        EXPECT_GE(measured[key], range.first) << said;
        EXPECT_LE(measured[key], range.second) << said;
    }
    EXPECT_NE(said.find("calls without a context 0\n"), std::string::npos) << said;
    std::filesystem::remove_all(work);
}

}  // namespace

TEST_F(SoundManagerTest, LoopingSoundInRepeatSetIsNotRestarted) {
    // A looping source wraps by itself: a restart at the counted end would
    // move it back in time and click.
    const int bed = sound.loadSound(numbered(0), true);
    ASSERT_DOUBLE_EQ(sound.record(bed)->duration, 3.0);
    sound.play(bed);
    sound.addRepeat(bed);
    ALint offsetBefore = -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the mixer runs in real time
    sound.update(3.1f);
    EXPECT_EQ(sound.record(bed)->elapsed, 0.0f) << "the count starts again";
    alGetSourcei(sourceOf(bed), AL_SAMPLE_OFFSET, &offsetBefore);
    EXPECT_TRUE(sound.isPlaying(bed));
    EXPECT_GT(offsetBefore, 0) << "the source was left where it was, not rewound";
}
