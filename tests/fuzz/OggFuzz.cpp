// Ogg files through the game's decoder, from a file as the game reads them.
// Whatever the bytes, the decoder returns a result; a decoded sound holds
// whole 16-bit frames of one or two channels.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "audio/OggDecoder.h"
#include "audio/SoundManager.h"
#include "tests/fuzz/ScratchFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Mossden::Fuzz::ScratchFolder folder;
    const std::string path = folder.write("fuzz.ogg", data, size);
    DecodedSound sound;
    if (decodeOggFile(path, sound, SoundManager::OGG_READ_BYTES, SoundManager::MAX_OGG_SAMPLES) == OggResult::OK) {
        if (sound.channels != 1 && sound.channels != 2) std::abort();
        if (sound.pcm.size() % (2 * static_cast<std::size_t>(sound.channels)) != 0) std::abort();
    }
    return 0;
}
