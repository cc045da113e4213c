#ifndef MOSSDEN_AUDIO_SOUNDMANAGER_H
#define MOSSDEN_AUDIO_SOUNDMANAGER_H

#include <array>
#include <chrono>
#include <cstddef>
#include <future>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/OggDecoder.h"

// One loaded sound, or one playing one-shot copy of a loaded sound.
// Buffer and source are OpenAL names (ALuint); 0 means none.
struct SoundRecord {
    unsigned int buffer = 0;
    unsigned int source = 0;
    float fadeGain = 1.0f;  // factor of the running fade, 1 when none
    double duration = 0.0;  // seconds of audio in the buffer
    float elapsed = 0.0f;   // seconds of play counted by the repeat set
    bool loop = false;      // as first loaded
    bool loaded = true;        // false once released; loadSound loads it again
    bool sceneSound = false;   // first loaded while a scene was built
    bool requested = false;    // asked for while the latest scene was built

    // Where the sound is, as last heard from its source and kept up by the
    // manager's own operations: it carries the sound while the device is
    // away, and a new device takes it up from there.
    enum class Playback { STOPPED, PLAYING, PAUSED };
    Playback playback = Playback::STOPPED;
    double position = 0.0;  // seconds into the buffer
    // This frame's reading of the source, kept only if the device was still
    // there after it (a device that goes away stops every source).
    Playback heardPlayback = Playback::STOPPED;
    double heardPosition = 0.0;
};

// A volume fade in progress, advanced by SoundManager::update.
struct FadeRecord {
    static constexpr int FADE_IN = 0;
    static constexpr int FADE_OUT = 1;

    int id = 0;
    float elapsed = 0.0f;   // seconds since the fade started
    float duration = 0.0f;  // seconds
    int direction = FADE_IN;
};

// The program's one audio component. Sound files from the sound folder are
// decoded whole into one OpenAL buffer and one source each, and addressed by
// the id loadSound returns: ids count up from 0 in loading order and are
// never reused; ids 0..39 are playable. Nothing is positional: sources and
// listener sit at the origin.
//
// Without an audio device (or after a file fails to load) the game runs on
// silently: one line on standard output names the problem, every operation
// still accepts the ids it handed out, and no OpenAL call is made without a
// current context. A device that goes away while the game runs (a sound
// server that stops, a headset pulled out) is said in one line; the sounds
// go on in the manager's own reckoning of the game's time (isPlaying stays
// true for a playing bed, a one-shot that reaches its end ends), and a new
// device is looked for every RETRY_SECONDS of real time, off the frame
// thread since opening one can block. When one opens, one line says so and
// every sound takes up where the game is: a bed at the position it has come
// to, a paused sound paused there, a finished one not at all.
class SoundManager {
public:
    static constexpr int PLAYABLE_IDS = 40;
    static constexpr std::size_t OGG_READ_BYTES = 32768;
    // The most a sound file may decode to, in samples of all its channels:
    // twelve minutes of stereo at 48 kHz, four times the longest music.
    static constexpr std::size_t MAX_OGG_SAMPLES = 12 * 60 * 48000 * 2;
    static constexpr double RETRY_SECONDS = 2.0;

    // The game's instance, built on first use and destroyed at process exit
    // after the application.
    static SoundManager& getInstance();

    // Further instances (tests) open a device of their own; one at a time
    // plays, the one whose context was made current last.
    SoundManager() = default;
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Master gain 1, no sounds, not paused; opens the audio device, names it
    // in one line and sets the listener. Further calls do nothing.
    void initialise();
    // Path prefix of every sound file; ends in a separator.
    void setFolder(const std::string& path) { folder = path; }
    const std::string& getFolder() const { return folder; }

    // The id of a file name (exactly as given, relative to the folder).
    // A name loads once; later calls return its id and ignore loop. A name
    // ending in neither "wav" nor "ogg" (any letter case) gives 0 and
    // registers nothing.
    int loadSound(const std::string& name, bool loop);

    void play(int id);          // from the beginning, at full fade gain
    void playInstance(int id);  // an overlapping one-shot copy
    void stop(int id);
    bool isPlaying(int id) const;
    // Queue a fade over seconds; the gain follows from the next update on.
    // A fade does not start playback; a finished fade-out stops the sound.
    void fadeIn(int id, float seconds);
    void fadeOut(int id, float seconds);
    // update restarts the ids of the repeat set when their play time reaches
    // their duration, at most one per frame.
    void addRepeat(int id);
    void removeRepeat(int id);
    // Resumes what is paused, stops every sound, forgets repeats and fades.
    // One-shot copies play on.
    void stopAll();
    void pauseAll();
    void resumeAll();
    void setVolume(float gain);
    // Every sound plays this many times faster (OpenAL pitch), sounds
    // loaded later too: with game time sped up for a test, the sound keeps
    // pace with the game, and a recording of it is the real mix sped up.
    void setSpeed(float factor);
    // Per-frame housekeeping; dt in seconds since the last frame.
    void update(float dt);

    // Scene changes. A sound first loaded while a scene is built (between
    // beginSceneLoad and endSceneLoad) belongs to the scenes; the menu's,
    // loaded at other times, stay for good. endSceneLoad frees the buffer
    // and source of every scenes' sound that the scene just built did not
    // ask for and that is not playing (itself or in a one-shot copy), and
    // forgets its repeat and fades; its id stays, and the next loadSound of
    // its name loads it again under that id. Prepared files that the scene
    // did not load are dropped.
    void beginSceneLoad();
    void endSceneLoad();
    // Decoding ahead: prepare opens an Ogg file that a coming scene will
    // load (others load quickly), prepareStep decodes up to `reads` more
    // reads of OGG_READ_BYTES of the prepared files, oldest first, and says
    // whether any decoding is left. loadSound takes a prepared file's sound,
    // decoding what is left of it at once.
    void prepare(const std::string& name);
    bool prepareStep(std::size_t reads);

    // Read-only views for diagnostics and tests.
    bool hasDevice() const { return audible; }
    int soundCount() const { return count; }
    const SoundRecord* record(int id) const;
    const std::list<SoundRecord>& oneShots() const { return instances; }
    const std::list<FadeRecord>& runningFades() const { return fades; }
    const std::set<int>& repeats() const { return repeatSet; }
    bool isPaused() const { return paused; }
    float getVolume() const { return masterGain; }

private:
    bool isKnown(int id) const { return id >= 0 && id < count; }
    bool isPlayable(int id) const {
        return isKnown(id) && id < PLAYABLE_IDS && sounds[static_cast<std::size_t>(id)].loaded;
    }
    // What a device opened off the frame thread brings back: its buffers,
    // filled, by id (0 for none).
    struct Reopened {
        std::unique_ptr<Mossden::AudioDevice> device;
        std::vector<unsigned int> buffers;
    };
    using Clock = std::chrono::steady_clock;

    void loadInto(SoundRecord& sound, const std::string& name, bool ogg);
    bool soundLooping(const SoundRecord& sound) const;
    bool soundPlaying(const SoundRecord& sound) const;
    void setupSource(unsigned int source, unsigned int buffer, bool loop) const;
    void setGain(SoundRecord& sound, float fadeGain);
    static bool fillBuffer(unsigned int buffer, const std::string& path, bool ogg,
                           OggStream* prepared, bool report);
    static double bufferSeconds(unsigned int buffer);
    static Reopened reopen(std::unique_ptr<Mossden::AudioDevice> old,
                           std::vector<std::string> paths);

    void watchDevice(float dt);
    void listen();
    void goAway();
    void keepTime(float dt);
    void startReopening(std::unique_ptr<Mossden::AudioDevice> old);
    void adopt(Reopened found);

    std::string folder;
    std::list<int> pausedIds;  // in pausing order
    bool paused = false;
    std::set<int> repeatSet;
    std::list<FadeRecord> fades;      // in the order started
    std::vector<SoundRecord> sounds;  // index = id
    std::list<SoundRecord> instances;
    std::map<std::string, int> ids;  // file name as passed to loadSound -> id
    // Ogg files being decoded ahead of their loadSound, in the order prepared.
    std::list<std::pair<std::string, std::unique_ptr<OggStream>>> prepared;
    int count = 0;
    float masterGain = 1.0f;
    float speed = 1.0f;  // pitch of every source
    std::array<float, 3> sourcePosition{};
    std::array<float, 3> sourceVelocity{};
    std::array<float, 3> listenerPosition{};
    std::array<float, 3> listenerVelocity{};
    std::array<float, 6> listenerOrientation{};

    bool buildingScene = false;  // between beginSceneLoad and endSceneLoad
    bool initialised = false;
    bool audible = false;  // the audio device is open and its context current
    bool everAudible = false;
    std::unique_ptr<Mossden::AudioDevice> device;  // null while away
    std::future<Reopened> reopening;               // an attempt under way, off the frame thread
    Clock::time_point nextAttempt;
};

#endif
