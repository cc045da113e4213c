#ifndef MOSSDEN_TOOLS_FIRST_WORLD_SOUNDS_H
#define MOSSDEN_TOOLS_FIRST_WORLD_SOUNDS_H

#include <string>

namespace MediaGen {
class Output;
}

namespace FirstWorld {

// The sounds that the first scene's sound starters name, as Ogg Vorbis.
extern const char* const SOUND_RUSTLE;
extern const char* const SOUND_DEW;
extern const char* const SOUND_DRAGONFLY;
extern const char* const SOUND_WIND;
extern const char* const SOUND_CREAK;
// The tunnel's looping noise bed, made by tools/sounds.
extern const char* const SOUND_TUNNEL;

void writeSounds(const MediaGen::Output& out);

}  // namespace FirstWorld

#endif
