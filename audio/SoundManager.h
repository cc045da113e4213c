#ifndef MOSSDEN_AUDIO_SOUNDMANAGER_H
#define MOSSDEN_AUDIO_SOUNDMANAGER_H

// PLACEHOLDER interface until the sound manager lands.
#include <string>

class SoundManager {
public:
    static SoundManager& getInstance() {
        static SoundManager instance;
        return instance;
    }
    void initialise() {}
    void setFolder(const std::string& f) { folder = f; }
    int loadSound(const std::string& name, bool loop) { return 0; }
    void play(int id) {}
    void playInstance(int id) {}
    void stop(int id) {}
    bool isPlaying(int id) const { return false; }
    void fadeIn(int id, float seconds) {}
    void fadeOut(int id, float seconds) {}
    void addRepeat(int id) {}
    void removeRepeat(int id) {}
    void stopAll() {}
    void pauseAll() {}
    void resumeAll() {}
    void setVolume(float gain) {}
    void update(float dt) {}

private:
    std::string folder;
};

#endif
