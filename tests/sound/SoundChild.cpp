// Runs the game's sound manager in a process of its own, for the tests that
// need openal-soft configured differently from the test process (a device
// chosen by ALSOFT_CONF or ALSOFT_DRIVERS is fixed once per process).
//
//   mossden_sound_child play <dir>   plays <dir>/tone440.wav, then
//                                     <dir>/tone660.ogg, each to its end
//   mossden_sound_child busy <dir>   loads and drives sounds of <dir> through
//                                     every operation, whatever the device
//   mossden_sound_child reconnect <dir>
//                                     plays into openal-soft's wave output
//                                     written to the FIFO <dir>/out.fifo,
//                                     whose reader (a thread here) hangs up,
//                                     comes back, and hangs up for good: the
//                                     device goes away, returns, goes away
//
// It prints the ids it got and, last, how many OpenAL calls it made without
// a current context: this file stands in for those OpenAL entry points and
// passes each call on to the library.
#include <AL/al.h>
#include <AL/alc.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "audio/SoundManager.h"
#include "tests/sound/SoundFiles.h"

namespace {

int callsWithoutContext = 0;

template <typename F>
F realEntry(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

void noteCall() {
    if (!alcGetCurrentContext()) ++callsWithoutContext;
}

// Plays id to its end, advancing the manager as the game's frames would.
bool playToEnd(SoundManager& sound, int id) {
    constexpr auto FRAME = std::chrono::milliseconds(10);
    constexpr int MAX_FRAMES = 500;
    sound.play(id);
    for (int i = 0; i < MAX_FRAMES && sound.isPlaying(id); ++i) {
        std::this_thread::sleep_for(FRAME);
        sound.update(0.01f);
    }
    return !sound.isPlaying(id);
}

// Stands in for a sound server: reads what the wave output writes into a
// FIFO until it hangs up, which makes the writer's next write fail and the
// device go away. A writer opening the FIFO waits until a reader is there.
class FifoListener {
public:
    explicit FifoListener(const std::string& path) : path(path) {
        reader = std::thread([this] { listen(); });
    }
    ~FifoListener() { hangUp(); }
    FifoListener(const FifoListener&) = delete;
    FifoListener& operator=(const FifoListener&) = delete;

    // The samples heard (mono 16-bit), without the wave header.
    std::vector<float> hangUp() {
        stop = true;
        if (reader.joinable()) reader.join();
        constexpr std::size_t HEADER = 68;  // RIFF, WAVE, 40-byte fmt and data headers
        std::vector<float> samples;
        for (std::size_t at = HEADER; at + 1 < bytes.size(); at += 2) {
            int16_t v = 0;
            std::memcpy(&v, &bytes[at], 2);
            samples.push_back(v / 32768.0f);
        }
        return samples;
    }

private:
    void listen() {
        // Non-blocking open so that a hang-up asked before any writer came
        // still ends the thread.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return;
        char chunk[4096];
        while (!stop) {
            pollfd wait{fd, POLLIN, 0};
            if (::poll(&wait, 1, 20) <= 0) continue;
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got > 0)
                bytes.insert(bytes.end(), chunk, chunk + got);
            else if (got == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));  // no writer yet
        }
        ::close(fd);
    }

    std::string path;
    std::vector<char> bytes;
    std::atomic<bool> stop{false};
    std::thread reader;  // last: started once the rest is there
};

constexpr float FRAME_SECONDS = 0.01f;

// Runs frames of FRAME_SECONDS until done() or seconds have passed; the
// number of frames run.
template <typename Done>
int runFrames(SoundManager& sound, double seconds, Done done) {
    int frames = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end && !done()) {
        std::this_thread::sleep_for(std::chrono::duration<float>(FRAME_SECONDS));
        sound.update(FRAME_SECONDS);
        ++frames;
    }
    return frames;
}

int runFrames(SoundManager& sound, double seconds) {
    return runFrames(sound, seconds, [] { return false; });
}

// Prints one "key value" line per measurement, for the test to judge.
int reconnect(SoundManager& sound, const std::string& dir) {
    using Mossden::Test::toneAmplitude;
    constexpr int RATE = 44100;
    const std::string fifo = dir + "/out.fifo";
    FifoListener first(fifo);
    sound.initialise();
    sound.setFolder(dir + "/");
    const int bed = sound.loadSound("bed440.wav", true);
    const int blip = sound.loadSound("blip660.wav", false);
    sound.play(bed);
    runFrames(sound, 0.5);
    sound.play(blip);  // ends while the device is away
    runFrames(sound, 0.05);
    const std::vector<float> before = first.hangUp();
    const std::size_t tail = std::min<std::size_t>(before.size(), RATE / 4);
    std::cout << "before440 "
              << toneAmplitude(before.data() + before.size() - tail, tail, RATE, 440) << std::endl;
    runFrames(sound, 5.0, [&] { return !sound.hasDevice(); });
    std::cout << "gone " << !sound.hasDevice() << std::endl;
    // The attempt to open the device again waits in the FIFO's open; the
    // frames go on meanwhile.
    std::cout << "framesAway " << runFrames(sound, 1.0) << std::endl;
    std::cout << "awayBed " << sound.isPlaying(bed) << "\nawayBlip " << sound.isPlaying(blip)
              << std::endl;
    // The menu opens while the device is away: the bed waits where it is.
    sound.pauseAll();
    runFrames(sound, 0.3);
    FifoListener second(fifo);
    runFrames(sound, 5.0, [&] { return sound.hasDevice(); });
    std::cout << "back " << sound.hasDevice() << "\nbackBed " << sound.isPlaying(bed)
              << "\nbackBlip " << sound.isPlaying(blip) << std::endl;
    sound.resumeAll();
    ALfloat offset = -1.0f;
    if (sound.hasDevice()) alGetSourcef(sound.record(bed)->source, AL_SEC_OFFSET, &offset);
    std::cout << "bedAt " << offset << std::endl;
    runFrames(sound, 0.5);
    const std::vector<float> after = second.hangUp();
    std::cout << "after440 " << toneAmplitude(after.data(), after.size(), RATE, 440)
              << "\nafter660 " << toneAmplitude(after.data(), after.size(), RATE, 660) << std::endl;
    // Gone again, and no reader ever comes back: the attempt to open waits
    // for good, and the program still ends.
    runFrames(sound, 5.0, [&] { return !sound.hasDevice(); });
    std::cout << "goneForGood " << !sound.hasDevice() << std::endl;
    std::cout << "framesForGood " << runFrames(sound, 1.0) << "\nforGoodBed "
              << sound.isPlaying(bed) << std::endl;
    return 0;
}

}  // namespace

#define FORWARD(ret, name, params, args)                                     \
    extern "C" ret AL_APIENTRY name params {                                 \
        noteCall();                                                          \
        static const auto real = realEntry<ret(AL_APIENTRY*) params>(#name); \
        return real args;                                                    \
    }

FORWARD(const ALchar*, alGetString, (ALenum param), (param))
FORWARD(ALenum, alGetError, (void), ())
FORWARD(void, alListenerfv, (ALenum param, const ALfloat* values), (param, values))
FORWARD(void, alGenSources, (ALsizei n, ALuint* sources), (n, sources))
FORWARD(void, alDeleteSources, (ALsizei n, const ALuint* sources), (n, sources))
FORWARD(void, alSourcef, (ALuint source, ALenum param, ALfloat value), (source, param, value))
FORWARD(void, alSourcefv, (ALuint source, ALenum param, const ALfloat* values),
        (source, param, values))
FORWARD(void, alSourcei, (ALuint source, ALenum param, ALint value), (source, param, value))
FORWARD(void, alGetSourcei, (ALuint source, ALenum param, ALint* value), (source, param, value))
FORWARD(void, alSourcePlay, (ALuint source), (source))
FORWARD(void, alSourceStop, (ALuint source), (source))
FORWARD(void, alSourcePause, (ALuint source), (source))
FORWARD(void, alGenBuffers, (ALsizei n, ALuint* buffers), (n, buffers))
FORWARD(void, alDeleteBuffers, (ALsizei n, const ALuint* buffers), (n, buffers))
FORWARD(void, alBufferData,
        (ALuint buffer, ALenum format, const ALvoid* data, ALsizei size, ALsizei freq),
        (buffer, format, data, size, freq))
FORWARD(void, alGetBufferi, (ALuint buffer, ALenum param, ALint* value), (buffer, param, value))

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " play|busy|reconnect <sound folder>" << std::endl;
        return 2;
    }
    // Registered before the manager exists, so it runs after the manager's
    // destructor and counts that as well.
    std::atexit(
        [] { std::cout << "calls without a context " << callsWithoutContext << std::endl; });
    const std::string mode = argv[1];
    int status = 0;
    {
        SoundManager& sound = SoundManager::getInstance();
        // The reconnecting run opens the device once its listener is there.
        if (mode != "reconnect") sound.initialise();
        sound.setFolder(std::string(argv[2]) + "/");
        if (mode == "play") {
            const int wav = sound.loadSound("tone440.wav", false);
            const int ogg = sound.loadSound("tone660.ogg", false);
            std::cout << "ids " << wav << " " << ogg << std::endl;
            if (!playToEnd(sound, wav) || !playToEnd(sound, ogg)) status = 1;
        } else if (mode == "busy") {
            const char* names[] = {"tone440.wav", "notes.txt",   "missing.ogg",
                                   "tone660.ogg", "garbage.wav", "tone440.wav"};
            std::string ids = "ids";
            for (const char* name : names) ids += " " + std::to_string(sound.loadSound(name, true));
            std::cout << ids << std::endl;
            for (int id = -1; id <= 4; ++id) {
                sound.play(id);
                sound.playInstance(id);
                sound.fadeOut(id, 0.5f);
                sound.fadeIn(id, 0.0f);
                sound.addRepeat(id);
                sound.update(0.1f);
                sound.isPlaying(id);
            }
            sound.pauseAll();
            sound.setVolume(0.5f);
            sound.resumeAll();
            for (int i = 0; i < 20; ++i) sound.update(0.1f);
            sound.stop(0);
            sound.stopAll();
            std::cout << "count " << sound.soundCount() << " device " << sound.hasDevice()
                      << std::endl;
        } else if (mode == "reconnect") {
            // A reader that hangs up makes writes fail, not end the program.
            std::signal(SIGPIPE, SIG_IGN);
            status = reconnect(sound, argv[2]);
        } else {
            status = 2;
        }
    }
    return status;
}
