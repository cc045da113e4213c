#ifndef MOSSDEN_APP_SCENEPREPARER_H
#define MOSSDEN_APP_SCENEPREPARER_H

// Loads what a coming scene needs a little at a time, on the main thread,
// across the frames in which the scene before it is dark and about to end:
// its long sounds are decoded, its meshes loaded and their materials and
// those of its billboard sets and sky loaded (textures read, programs
// compiled). Whatever is not done by the change, the scene's own build does;
// what is done is found loaded by it. Without this the change is one frame
// of a second or more.
#include <cstddef>
#include <string>
#include <vector>

namespace Mossden {

class ScenePreparer {
public:
    // Lists the work for the scene of index (SceneSequence::needs); does
    // nothing when that scene is being prepared already.
    void begin(int sceneIndex);
    // Works in pieces until budgetMs of real time have passed, at least one
    // piece; the frame pays for it, and the fade hides it.
    void step(double budgetMs);
    // Forgets the work left (the scene was built).
    void clear();
    bool done() const;

private:
    bool stepOnce();  // one piece of work; false when none is left
    void readSceneFile(const std::string& file);

    int index = -1;  // the scene being prepared, -1 for none
    std::vector<std::string> meshes, materials;
    std::size_t nextMesh = 0, nextMaterial = 0;
    bool materialPrepared = false;  // materials[nextMaterial] had its first piece
    bool soundsLeft = false;
};

}  // namespace Mossden

#endif
