#ifndef MOSSDEN_AUDIO_AUDIODEVICE_H
#define MOSSDEN_AUDIO_AUDIODEVICE_H

#include <memory>
#include <string>

// The library's own names of the types that alc.h typedefs.
struct ALCdevice_struct;
struct ALCcontext_struct;

namespace Mossden {

// One open OpenAL output device and the context that plays on it. A device
// cannot be reopened once its output is gone (a sound server that died, a
// headset pulled out): the owner drops it and opens a new one, which gets
// new buffers and sources.
class AudioDevice {
public:
    // Opens the default output device with a context on it, or gives null.
    // Can block for as long as the sound system takes to answer (a sound
    // server that hangs): callers off the frame thread, or at start-up.
    static std::unique_ptr<AudioDevice> open();

    // Destroys the context (made not current first if it is) and closes the
    // device.
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // The device's own name, as the sound system gives it.
    const std::string& name() const { return deviceName; }
    // False once the output has gone away for good. Devices that cannot say
    // (no ALC_EXT_disconnect) are taken as connected.
    bool connected() const;
    // For the whole process; releaseCurrent leaves the process without one.
    void makeCurrent() const;
    static void releaseCurrent();
    // For the calling thread only, over the process's; false where the
    // library cannot (no ALC_EXT_thread_local_context).
    bool makeCurrentOnThisThread() const;
    static void releaseThisThread();

private:
    AudioDevice(ALCdevice_struct* device, ALCcontext_struct* context);

    ALCdevice_struct* device;
    ALCcontext_struct* context;
    std::string deviceName;
    bool canTellDisconnect = false;
};

}  // namespace Mossden

#endif
