#include "audio/SoundManager.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alut.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iostream>

#include "audio/OggDecoder.h"

namespace {

// The process has one ALUT context; every initialised manager holds it open.
int deviceUsers = 0;
bool deviceOpen = false;

bool acquireDevice() {
    if (deviceUsers++ > 0) return deviceOpen;
    deviceOpen = alutInit(nullptr, nullptr) == AL_TRUE;
    if (!deviceOpen) {
        const ALenum error = alutGetError();
        const ALCchar* name = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
        std::cout << "Sound is off: cannot open the audio device";
        if (name && *name) std::cout << " \"" << name << "\"";
        std::cout << " (" << alutGetErrorString(error) << ")" << std::endl;
    }
    return deviceOpen;
}

void releaseDevice() {
    if (--deviceUsers == 0 && deviceOpen) {
        alutExit();
        deviceOpen = false;
    }
}

bool endsWithNoCase(const std::string& text, const std::string& ending) {
    if (text.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), text.end() - ending.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

SoundManager& SoundManager::getInstance() {
    static SoundManager instance;
    return instance;
}

SoundManager::~SoundManager() {
    if (!initialised) return;
    if (audible) {
        // Sources first: a buffer still attached to a source cannot be deleted.
        for (auto& copy : instances) alDeleteSources(1, &copy.source);
        for (auto& sound : sounds)
            if (sound.loaded) alDeleteSources(1, &sound.source);
        for (auto& sound : sounds)
            if (sound.loaded) alDeleteBuffers(1, &sound.buffer);
    }
    releaseDevice();
}

void SoundManager::initialise() {
    if (initialised) return;
    initialised = true;
    masterGain = 1.0f;
    count = 0;
    paused = false;
    audible = acquireDevice();
    if (!audible) return;
    alListenerfv(AL_POSITION, listenerPosition.data());
    alListenerfv(AL_VELOCITY, listenerVelocity.data());
    alListenerfv(AL_ORIENTATION, listenerOrientation.data());
}

const SoundRecord* SoundManager::record(int id) const {
    return isKnown(id) ? &sounds[static_cast<std::size_t>(id)] : nullptr;
}

int SoundManager::loadSound(const std::string& name, bool loop) {
    const auto known = ids.find(name);
    if (known != ids.end()) {
        SoundRecord& sound = sounds[static_cast<std::size_t>(known->second)];
        sound.requested = sound.requested || buildingScene;
        if (!sound.loaded) loadInto(sound, name, endsWithNoCase(name, "ogg"));
        return known->second;
    }

    const bool wav = endsWithNoCase(name, "wav");
    const bool ogg = endsWithNoCase(name, "ogg");
    if (!wav && !ogg) {
        // Registering it would shift every later id off its record.
        std::cout << "Cant load file " << folder + name << ": neither a .wav nor an .ogg name" << std::endl;
        return 0;
    }

    SoundRecord sound;
    sound.loop = loop;
    sound.sceneSound = buildingScene;
    sound.requested = buildingScene;
    loadInto(sound, name, ogg);
    sounds.push_back(sound);
    ids.emplace(name, count);
    return count++;
}

void SoundManager::loadInto(SoundRecord& sound, const std::string& name, bool ogg) {
    auto ready = std::find_if(prepared.begin(), prepared.end(),
                              [&name](const auto& entry) { return entry.first == name; });
    std::unique_ptr<OggStream> stream;
    if (ready != prepared.end()) {
        stream = std::move(ready->second);
        prepared.erase(ready);
    }
    sound.loaded = true;
    sound.fadeGain = 1.0f;
    sound.elapsed = 0.0f;
    if (!audible) return;
    alGenBuffers(1, &sound.buffer);
    alGenSources(1, &sound.source);
    fillBuffer(sound.buffer, folder + name, ogg, stream.get());
    setupSource(sound.source, sound.buffer, sound.loop);
    sound.duration = bufferSeconds(sound.buffer);
}

void SoundManager::beginSceneLoad() {
    buildingScene = true;
    for (SoundRecord& sound : sounds) sound.requested = false;
}

void SoundManager::endSceneLoad() {
    buildingScene = false;
    prepared.clear();  // for the scene just built, which did not want them
    for (int id = 0; id < count; ++id) {
        SoundRecord& sound = sounds[static_cast<std::size_t>(id)];
        if (!sound.sceneSound || sound.requested || !sound.loaded || sourcePlaying(sound.source)) continue;
        const bool copyPlaying = std::any_of(instances.begin(), instances.end(), [&sound](const SoundRecord& copy) {
            return copy.buffer == sound.buffer && copy.buffer != 0;
        });
        if (copyPlaying) continue;
        if (audible) {
            alSourceStop(sound.source);
            alDeleteSources(1, &sound.source);
            alDeleteBuffers(1, &sound.buffer);
        }
        sound.source = 0;
        sound.buffer = 0;
        sound.loaded = false;
        repeatSet.erase(id);
        pausedIds.remove(id);
        fades.remove_if([id](const FadeRecord& fade) { return fade.id == id; });
    }
}

void SoundManager::prepare(const std::string& name) {
    if (!audible || !endsWithNoCase(name, "ogg")) return;
    const auto known = ids.find(name);
    if (known != ids.end() && sounds[static_cast<std::size_t>(known->second)].loaded) return;
    for (const auto& entry : prepared)
        if (entry.first == name) return;
    auto stream = std::make_unique<OggStream>(OGG_READ_BYTES, MAX_OGG_SAMPLES);
    // A file that does not open is finished at once; its loadSound names it.
    stream->open(folder + name);
    prepared.emplace_back(name, std::move(stream));
}

bool SoundManager::prepareStep(std::size_t reads) {
    for (auto& entry : prepared) {
        if (entry.second->finished()) continue;
        entry.second->decode(reads);
        return true;
    }
    return false;
}

// Gives the buffer the decoded file. A file that cannot be read leaves the
// buffer empty (the sound plays silence) and says so in one line.
bool SoundManager::fillBuffer(unsigned int buffer, const std::string& path, bool ogg, OggStream* ready) const {
    alGetError();  // start from a clean error state to judge alBufferData
    if (ogg) {
        // A prepared file was opened already: its result shows in its sound
        // (a stream that did not open has no rate); it is decoded to its end.
        OggResult result = OggResult::OK;
        OggStream stream(OGG_READ_BYTES, MAX_OGG_SAMPLES);
        if (!ready) {
            ready = &stream;
            result = stream.open(path);
        } else if (ready->sound().rate == 0) {
            result = ready->open(path);
        }
        while (!ready->decode(SIZE_MAX)) {
        }
        const DecodedSound& decoded = ready->sound();
        switch (result) {
            case OggResult::CANNOT_OPEN:
                std::cout << "Cant load file " << path << std::endl;
                return false;
            case OggResult::NOT_VORBIS:
                std::cout << "Cant load file " << path << ": not an Ogg Vorbis file" << std::endl;
                return false;
            case OggResult::OK:
                break;
        }
        if (decoded.pcm.empty()) return true;
        const ALenum format = decoded.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
        alBufferData(buffer, format, decoded.pcm.data(), static_cast<ALsizei>(decoded.pcm.size()),
                     static_cast<ALsizei>(decoded.rate));
    } else {
        ALenum format = AL_NONE;
        ALvoid* data = nullptr;
        ALsizei size = 0, frequency = 0;
        ALboolean loop = AL_FALSE;
        std::vector<ALbyte> fileName(path.begin(), path.end());
        fileName.push_back('\0');
        alutGetError();
        alutLoadWAVFile(fileName.data(), &format, &data, &size, &frequency, &loop);
        if (!data) {
            // The outputs are undefined on failure: never hand them to OpenAL.
            std::cout << "Cant load file " << path << ": " << alutGetErrorString(alutGetError())
                      << std::endl;
            return false;
        }
        alBufferData(buffer, format, data, size, frequency);
        alutUnloadWAV(format, data, size, frequency);
    }
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        std::cout << "Cant load file " << path << ": OpenAL refused its data ("
                  << alGetString(error) << ")" << std::endl;
        return false;
    }
    return true;
}

void SoundManager::setupSource(unsigned int source, unsigned int buffer, bool loop) const {
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcef(source, AL_PITCH, speed);
    alSourcef(source, AL_GAIN, masterGain);
    alSourcefv(source, AL_POSITION, sourcePosition.data());
    alSourcefv(source, AL_VELOCITY, sourceVelocity.data());
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
}

// Seconds of audio in a buffer, from its own size and format. An empty
// buffer reports no frequency; it lasts 0 seconds.
double SoundManager::bufferSeconds(unsigned int buffer) {
    ALint size = 0, bits = 0, channels = 0, frequency = 0;
    alGetBufferi(buffer, AL_SIZE, &size);
    alGetBufferi(buffer, AL_BITS, &bits);
    alGetBufferi(buffer, AL_CHANNELS, &channels);
    alGetBufferi(buffer, AL_FREQUENCY, &frequency);
    const double bytesPerSecond = static_cast<double>((bits / 8) * channels * frequency);
    return bytesPerSecond > 0.0 ? size / bytesPerSecond : 0.0;
}

bool SoundManager::sourcePlaying(unsigned int source) const {
    if (!audible) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

bool SoundManager::sourceLooping(unsigned int source) const {
    if (!audible) return false;
    ALint looping = AL_FALSE;
    alGetSourcei(source, AL_LOOPING, &looping);
    return looping == AL_TRUE;
}

void SoundManager::setGain(SoundRecord& sound, float fadeGain) {
    sound.fadeGain = fadeGain;
    if (audible) alSourcef(sound.source, AL_GAIN, fadeGain * masterGain);
}

void SoundManager::play(int id) {
    if (!isPlayable(id)) return;
    SoundRecord& sound = sounds[static_cast<std::size_t>(id)];
    setGain(sound, 1.0f);
    // A playing source restarts from the beginning, a paused one resumes.
    if (audible) alSourcePlay(sound.source);
    sound.elapsed = 0.0f;
}

void SoundManager::playInstance(int id) {
    if (!isPlayable(id) || !audible) return;
    SoundRecord copy = sounds[static_cast<std::size_t>(id)];
    copy.source = 0;
    alGenSources(1, &copy.source);
    if (copy.source == 0) return;  // out of sources: the click stays silent
    setupSource(copy.source, copy.buffer, false);
    copy.fadeGain = 1.0f;
    alSourcePlay(copy.source);
    copy.elapsed = 0.0f;
    instances.push_back(copy);
}

void SoundManager::stop(int id) {
    if (!isPlayable(id)) return;
    SoundRecord& sound = sounds[static_cast<std::size_t>(id)];
    if (audible) alSourceStop(sound.source);
    sound.elapsed = 0.0f;
}

bool SoundManager::isPlaying(int id) const {
    return isKnown(id) && sourcePlaying(sounds[static_cast<std::size_t>(id)].source);
}

void SoundManager::fadeIn(int id, float seconds) {
    if (isKnown(id)) fades.push_back({id, 0.0f, seconds, FadeRecord::FADE_IN});
}

void SoundManager::fadeOut(int id, float seconds) {
    if (isKnown(id)) fades.push_back({id, 0.0f, seconds, FadeRecord::FADE_OUT});
}

void SoundManager::addRepeat(int id) {
    if (isKnown(id)) repeatSet.insert(id);
}

void SoundManager::removeRepeat(int id) { repeatSet.erase(id); }

void SoundManager::stopAll() {
    resumeAll();
    if (audible) {
        for (const auto& sound : sounds) alSourceStop(sound.source);
    }
    repeatSet.clear();
    fades.clear();
}

void SoundManager::pauseAll() {
    if (paused) return;
    paused = true;
    for (int id = 0; id < count; ++id) {
        const unsigned int source = sounds[static_cast<std::size_t>(id)].source;
        if (sourcePlaying(source)) {
            pausedIds.push_back(id);
            alSourcePause(source);
        }
    }
}

void SoundManager::resumeAll() {
    if (!paused) return;
    if (audible) {
        for (int id : pausedIds) alSourcePlay(sounds[static_cast<std::size_t>(id)].source);
    }
    pausedIds.clear();
    paused = false;
}

void SoundManager::setVolume(float gain) {
    masterGain = gain;
    for (auto& sound : sounds) setGain(sound, sound.fadeGain);
}

void SoundManager::setSpeed(float factor) {
    speed = factor;
    if (!audible) return;
    for (const auto& sound : sounds) alSourcef(sound.source, AL_PITCH, speed);
    for (const auto& copy : instances) alSourcef(copy.source, AL_PITCH, speed);
}

void SoundManager::update(float dt) {
    // Retire one-shot copies that have ended.
    for (auto it = instances.begin(); it != instances.end();) {
        if (sourcePlaying(it->source)) {
            ++it;
            continue;
        }
        if (audible) alDeleteSources(1, &it->source);
        it = instances.erase(it);
    }

    for (auto it = fades.begin(); it != fades.end();) {
        if (!isKnown(it->id)) {
            it = fades.erase(it);
            continue;
        }
        SoundRecord& sound = sounds[static_cast<std::size_t>(it->id)];
        it->elapsed += dt;
        // A fade of no length is over at its first update (0/0 would be NaN).
        float t = it->duration > 0.0f ? it->elapsed / it->duration : 2.0f;
        if (it->direction == FadeRecord::FADE_OUT) t = 1.0f - t;
        float gain = t;
        bool done = false;
        if (t > 1.0f) {
            gain = 1.0f;
            done = true;
        } else if (t < 0.0f) {
            stop(it->id);
            gain = 0.0f;
            done = true;
        }
        setGain(sound, gain);
        it = done ? fades.erase(it) : std::next(it);
    }

    for (int id : repeatSet) {
        if (!isKnown(id)) continue;
        SoundRecord& sound = sounds[static_cast<std::size_t>(id)];
        if (!sourcePlaying(sound.source)) continue;
        sound.elapsed += dt;
        if (sound.duration - sound.elapsed <= 0.0) {
            if (sourceLooping(sound.source)) {
                // A looping source has wrapped by itself already; a restart
                // would jump back by up to a frame and click at every seam.
                sound.elapsed = 0.0f;
                continue;
            }
            play(id);
            return;  // one restart per frame; the others wait for the next
        }
    }
}
