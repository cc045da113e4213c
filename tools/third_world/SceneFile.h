#ifndef MOSSDEN_TOOLS_THIRD_WORLD_SCENEFILE_H
#define MOSSDEN_TOOLS_THIRD_WORLD_SCENEFILE_H

// Writes "third_scene.xml": the field's nodes, entities, fog clouds, jaws,
// lights, sky and fog in the game's scene-file format.
#include <string>

#include "FaceLayout.h"

namespace ThirdWorld {

void writeSceneFile(const Field& field, const std::string& path);

}  // namespace ThirdWorld

#endif
