#ifndef MOSSDEN_TOOLS_FIRST_WORLD_TEXTURES_H
#define MOSSDEN_TOOLS_FIRST_WORLD_TEXTURES_H

#include <string>

namespace FirstWorld {

// Writes every texture of the first and second scenes into dir.
void writeTextures(const std::string& dir);

}  // namespace FirstWorld

#endif
