// Runs the game's sound manager in a process of its own, for the tests that
// need openal-soft configured differently from the test process (a device
// chosen by ALSOFT_CONF or ALSOFT_DRIVERS is fixed once per process).
//
//   mossden_sound_child play <dir>   plays <dir>/tone440.wav, then
//                                     <dir>/tone660.ogg, each to its end
//   mossden_sound_child busy <dir>   loads and drives sounds of <dir> through
//                                     every operation, whatever the device
//
// It prints the ids it got and, last, how many OpenAL calls it made without
// a current context: this file stands in for those OpenAL entry points and
// passes each call on to the library.
#include <AL/al.h>
#include <AL/alc.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "audio/SoundManager.h"

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
        std::cerr << "usage: " << argv[0] << " play|busy <sound folder>" << std::endl;
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
        sound.initialise();
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
        } else {
            status = 2;
        }
    }
    return status;
}
