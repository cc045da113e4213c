#ifndef MOSSDEN_TOOLS_FIRST_WORLD_TEXTURES_H
#define MOSSDEN_TOOLS_FIRST_WORLD_TEXTURES_H

namespace MediaGen {
class Output;
}

namespace FirstWorld {

// Writes every texture of the first and second scenes under textures/.
void writeTextures(MediaGen::Output& out);

}  // namespace FirstWorld

#endif
