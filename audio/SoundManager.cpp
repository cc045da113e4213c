#include "audio/SoundManager.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alut.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <thread>

#include "audio/OggDecoder.h"

using Mossden::AudioDevice;

namespace {

// ALUT only loads WAV files here: the device and its context are the
// manager's, so that a lost device can be replaced.
bool startAlut() {
    static const bool started = alutInitWithoutContext(nullptr, nullptr) == AL_TRUE;
    return started;
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
    // A device being opened is closed by its attempt if that ends soon; one
    // that hangs is left to the end of the process.
    if (reopening.valid()) reopening.wait_for(std::chrono::seconds(1));
    if (!initialised || !audible) return;
    // Sources first: a buffer still attached to a source cannot be deleted.
    for (auto& copy : instances) alDeleteSources(1, &copy.source);
    for (auto& sound : sounds)
        if (sound.loaded) alDeleteSources(1, &sound.source);
    for (auto& sound : sounds)
        if (sound.loaded) alDeleteBuffers(1, &sound.buffer);
}

void SoundManager::initialise() {
    if (initialised) return;
    initialised = true;
    masterGain = 1.0f;
    count = 0;
    paused = false;
    startAlut();
    device = AudioDevice::open();
    nextAttempt = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                     std::chrono::duration<double>(RETRY_SECONDS));
    if (!device) {
        const ALCchar* name = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
        std::cout << "Sound is off: cannot open the audio device";
        if (name && *name) std::cout << " \"" << name << "\"";
        std::cout << "; looking for one every " << RETRY_SECONDS << " seconds" << std::endl;
        return;
    }
    device->makeCurrent();
    audible = everAudible = true;
    std::cout << "Sound plays on \"" << device->name() << "\"" << std::endl;
    listen();
}

void SoundManager::listen() {
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
    sound.playback = SoundRecord::Playback::STOPPED;
    sound.position = 0.0;
    if (!audible) return;
    alGenBuffers(1, &sound.buffer);
    alGenSources(1, &sound.source);
    fillBuffer(sound.buffer, folder + name, ogg, stream.get(), true);
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
        if (!sound.sceneSound || sound.requested || !sound.loaded || soundPlaying(sound)) continue;
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
        sound.playback = SoundRecord::Playback::STOPPED;
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
// buffer empty (the sound plays silence) and, when report is set, says so in
// one line (a device opened again reads the files again, quietly).
bool SoundManager::fillBuffer(unsigned int buffer, const std::string& path, bool ogg,
                              OggStream* ready, bool report) {
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
                if (report) std::cout << "Cant load file " << path << std::endl;
                return false;
            case OggResult::NOT_VORBIS:
                if (report)
                    std::cout << "Cant load file " << path << ": not an Ogg Vorbis file"
                              << std::endl;
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
            const ALenum error = alutGetError();
            if (report)
                std::cout << "Cant load file " << path << ": " << alutGetErrorString(error)
                          << std::endl;
            return false;
        }
        alBufferData(buffer, format, data, size, frequency);
        alutUnloadWAV(format, data, size, frequency);
    }
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
        if (report)
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

bool SoundManager::soundPlaying(const SoundRecord& sound) const {
    if (!audible) return sound.playback == SoundRecord::Playback::PLAYING;
    ALint state = AL_STOPPED;
    alGetSourcei(sound.source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) return true;
    // A device that has gone away has stopped every source; until update
    // notices, the sound is where the manager last knew it.
    if (!device->connected()) return sound.playback == SoundRecord::Playback::PLAYING;
    return false;
}

bool SoundManager::soundLooping(const SoundRecord& sound) const {
    if (!audible) return sound.loop;
    ALint looping = AL_FALSE;
    alGetSourcei(sound.source, AL_LOOPING, &looping);
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
    if (sound.playback != SoundRecord::Playback::PAUSED) sound.position = 0.0;
    sound.playback = SoundRecord::Playback::PLAYING;
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
    sound.playback = SoundRecord::Playback::STOPPED;
    sound.position = 0.0;
    sound.elapsed = 0.0f;
}

bool SoundManager::isPlaying(int id) const {
    return isKnown(id) && soundPlaying(sounds[static_cast<std::size_t>(id)]);
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
    for (auto& sound : sounds) {
        if (audible) alSourceStop(sound.source);
        sound.playback = SoundRecord::Playback::STOPPED;
        sound.position = 0.0;
    }
    repeatSet.clear();
    fades.clear();
}

void SoundManager::pauseAll() {
    if (paused) return;
    paused = true;
    for (int id = 0; id < count; ++id) {
        SoundRecord& sound = sounds[static_cast<std::size_t>(id)];
        if (soundPlaying(sound)) {
            pausedIds.push_back(id);
            sound.playback = SoundRecord::Playback::PAUSED;
            if (audible) alSourcePause(sound.source);
        }
    }
}

void SoundManager::resumeAll() {
    if (!paused) return;
    for (int id : pausedIds) {
        SoundRecord& sound = sounds[static_cast<std::size_t>(id)];
        // A source stopped since starts again from the beginning.
        if (sound.playback != SoundRecord::Playback::PAUSED) sound.position = 0.0;
        sound.playback = SoundRecord::Playback::PLAYING;
        if (audible) alSourcePlay(sound.source);
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
    watchDevice(dt);

    // Retire one-shot copies that have ended.
    for (auto it = instances.begin(); it != instances.end();) {
        if (soundPlaying(*it)) {
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
        if (!soundPlaying(sound)) continue;
        // A sound first loaded while the device was away has no length yet.
        if (!audible && sound.duration <= 0.0) continue;
        sound.elapsed += dt;
        if (sound.duration - sound.elapsed <= 0.0) {
            if (soundLooping(sound)) {
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

// Once a frame, before anything else of the frame: notices a device that has
// gone away, keeps the sounds' time while there is none, and takes up a
// device that an attempt off the frame thread has opened.
void SoundManager::watchDevice(float dt) {
    if (!initialised) return;
    if (audible) {
        for (SoundRecord& sound : sounds) {
            if (!sound.loaded) continue;
            ALint state = AL_STOPPED;
            ALfloat seconds = 0.0f;
            alGetSourcei(sound.source, AL_SOURCE_STATE, &state);
            alGetSourcef(sound.source, AL_SEC_OFFSET, &seconds);
            sound.heardPlayback = state == AL_PLAYING  ? SoundRecord::Playback::PLAYING
                                  : state == AL_PAUSED ? SoundRecord::Playback::PAUSED
                                                       : SoundRecord::Playback::STOPPED;
            sound.heardPosition =
                sound.heardPlayback == SoundRecord::Playback::STOPPED ? 0.0 : seconds;
            if (state == AL_INITIAL && sound.playback == SoundRecord::Playback::PAUSED) {
                // Paused while the device was away: it waits at its offset.
                sound.heardPlayback = sound.playback;
                sound.heardPosition = sound.position;
            }
        }
        // Asked after the sources: a device going away marks itself gone
        // before it stops them, so what was heard of a device still there
        // is true.
        if (device->connected()) {
            for (SoundRecord& sound : sounds) {
                if (!sound.loaded) continue;
                sound.playback = sound.heardPlayback;
                sound.position = sound.heardPosition;
            }
            return;
        }
        goAway();
        return;
    }

    keepTime(dt);
    if (reopening.valid()) {
        if (reopening.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
        Reopened found = reopening.get();
        if (found.device) {
            adopt(std::move(found));
            return;
        }
        nextAttempt = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(RETRY_SECONDS));
        return;
    }
    if (Clock::now() >= nextAttempt) startReopening(nullptr);
}

void SoundManager::goAway() {
    std::cout << "Sound device \"" << device->name()
              << "\" is gone: the game plays on silently and looks for a device every "
              << RETRY_SECONDS << " seconds" << std::endl;
    // The context still takes calls; its sources and buffers are of no use
    // on any other device.
    for (SoundRecord& copy : instances) alDeleteSources(1, &copy.source);
    instances.clear();
    for (SoundRecord& sound : sounds) {
        if (!sound.loaded) continue;
        alDeleteSources(1, &sound.source);
        alDeleteBuffers(1, &sound.buffer);
        sound.source = 0;
        sound.buffer = 0;
    }
    AudioDevice::releaseCurrent();
    audible = false;
    // Closing the old device waits on its sound system as opening does.
    startReopening(std::move(device));
}

// The sounds go on as the game's time does (dt is the frame's step of game
// time, the pace the sources play at): a bed wraps round, a one-shot that
// reaches its end ends.
void SoundManager::keepTime(float dt) {
    for (SoundRecord& sound : sounds) {
        if (!sound.loaded || sound.playback != SoundRecord::Playback::PLAYING) continue;
        if (sound.duration <= 0.0) continue;  // length unknown until a device reads it
        sound.position += dt;
        if (sound.position < sound.duration) continue;
        if (sound.loop) {
            sound.position = std::fmod(sound.position, sound.duration);
        } else {
            sound.playback = SoundRecord::Playback::STOPPED;
            sound.position = 0.0;
        }
    }
}

void SoundManager::startReopening(std::unique_ptr<AudioDevice> old) {
    std::vector<std::string> paths(sounds.size());
    for (const auto& [name, id] : ids)
        if (sounds[static_cast<std::size_t>(id)].loaded)
            paths[static_cast<std::size_t>(id)] = folder + name;
    std::promise<Reopened> promise;
    reopening = promise.get_future();
    // Detached: an attempt that never returns (a sound server that hangs)
    // must hold up neither the frames nor the end of the program. It shares
    // nothing with the manager but the promise.
    std::thread([promise = std::move(promise), old = std::move(old),
                 paths = std::move(paths)]() mutable {
        promise.set_value(reopen(std::move(old), std::move(paths)));
    }).detach();
}

// Off the frame thread: closes the device that went away, opens the default
// one, and fills a buffer for every path (empty: none) with the context
// current on this thread only.
SoundManager::Reopened SoundManager::reopen(std::unique_ptr<AudioDevice> old,
                                            std::vector<std::string> paths) {
    old.reset();
    Reopened found;
    found.device = AudioDevice::open();
    if (!found.device || !found.device->makeCurrentOnThisThread()) return found;
    found.buffers.assign(paths.size(), 0);
    for (std::size_t id = 0; id < paths.size(); ++id) {
        if (paths[id].empty()) continue;
        alGenBuffers(1, &found.buffers[id]);
        fillBuffer(found.buffers[id], paths[id], endsWithNoCase(paths[id], "ogg"), nullptr, false);
    }
    AudioDevice::releaseThisThread();
    return found;
}

// Back on the frame thread with a new device: every sound gets its buffer
// and a source, and takes up where the game has come to.
void SoundManager::adopt(Reopened found) {
    device = std::move(found.device);
    device->makeCurrent();
    audible = true;
    std::cout << (everAudible ? "Sound is back on \"" : "Sound plays on \"") << device->name()
              << "\"" << std::endl;
    everAudible = true;
    listen();
    for (std::size_t id = 0; id < sounds.size(); ++id) {
        SoundRecord& sound = sounds[id];
        unsigned int buffer = id < found.buffers.size() ? found.buffers[id] : 0;
        if (!sound.loaded) {
            // Released by a scene change while the device was opening.
            if (buffer != 0) alDeleteBuffers(1, &buffer);
            continue;
        }
        if (buffer == 0) {
            // Loaded while the device was opening, or read on this thread
            // where the library cannot lend a context to another.
            const auto named = std::find_if(ids.begin(), ids.end(), [id](const auto& entry) {
                return static_cast<std::size_t>(entry.second) == id;
            });
            alGenBuffers(1, &buffer);
            if (named != ids.end())
                fillBuffer(buffer, folder + named->first, endsWithNoCase(named->first, "ogg"),
                           nullptr, false);
        }
        sound.buffer = buffer;
        alGenSources(1, &sound.source);
        setupSource(sound.source, sound.buffer, sound.loop);
        alSourcef(sound.source, AL_GAIN, sound.fadeGain * masterGain);
        sound.duration = bufferSeconds(sound.buffer);
        if (sound.playback == SoundRecord::Playback::STOPPED) continue;
        // Set on a source that has not started, the offset is where it
        // starts: now for a playing sound, at resumeAll for a paused one.
        alSourcef(sound.source, AL_SEC_OFFSET, static_cast<ALfloat>(sound.position));
        if (sound.playback == SoundRecord::Playback::PLAYING) alSourcePlay(sound.source);
    }
}
