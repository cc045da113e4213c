#include "audio/AudioDevice.h"

#include <AL/alc.h>
#include <AL/alext.h>

namespace Mossden {

namespace {

// Resolved at run time: the extension's entry point is not in every
// OpenAL's import library.
using SetThreadContext = ALCboolean(ALC_APIENTRY*)(ALCcontext*);

SetThreadContext setThreadContext() {
    static const auto entry =
        reinterpret_cast<SetThreadContext>(alcGetProcAddress(nullptr, "alcSetThreadContext"));
    return entry;
}

}  // namespace

std::unique_ptr<AudioDevice> AudioDevice::open() {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) return nullptr;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context) {
        alcCloseDevice(device);
        return nullptr;
    }
    return std::unique_ptr<AudioDevice>(new AudioDevice(device, context));
}

AudioDevice::AudioDevice(ALCdevice* device, ALCcontext* context)
    : device(device), context(context) {
    // The name of the device as opened, where the library keeps one apart
    // from the list of devices: a sound server's sink by its description.
    const ALCenum which = alcIsExtensionPresent(device, "ALC_ENUMERATE_ALL_EXT")
                              ? ALC_ALL_DEVICES_SPECIFIER
                              : ALC_DEVICE_SPECIFIER;
    const ALCchar* text = alcGetString(device, which);
    if (!text || !*text) text = alcGetString(device, ALC_DEVICE_SPECIFIER);
    deviceName = text ? text : "";
    canTellDisconnect = alcIsExtensionPresent(device, "ALC_EXT_disconnect") == ALC_TRUE;
}

AudioDevice::~AudioDevice() {
    if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}

bool AudioDevice::connected() const {
    if (!canTellDisconnect) return true;
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device, ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

void AudioDevice::makeCurrent() const { alcMakeContextCurrent(context); }

void AudioDevice::releaseCurrent() { alcMakeContextCurrent(nullptr); }

bool AudioDevice::makeCurrentOnThisThread() const {
    const SetThreadContext set = setThreadContext();
    return set && set(context) == ALC_TRUE;
}

void AudioDevice::releaseThisThread() {
    if (SetThreadContext set = setThreadContext()) set(nullptr);
}

}  // namespace Mossden
