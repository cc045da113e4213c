#ifndef MOSSDEN_APP_SCENEPREPARER_H
#define MOSSDEN_APP_SCENEPREPARER_H

// Loads what a coming scene needs a little at a time, on the main thread,
// across the frames in which the scene before it is dark and about to end:
// its long sounds are decoded, its meshes loaded and their materials and
// those of its billboard sets and sky loaded (textures read, programs
// compiled). Whatever is not done by the change, the scene's own build does;
// what is done is found loaded by it. Without this the change is one frame
// of a second or more.
#include <OgreImage.h>
#include <OgreResource.h>
#include <OgreTexture.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace Mossden {

// A cube texture from its six face files (the engine's own naming:
// <base>_rt, _lf, _up, _dn, _fr, _bk.<ext>), created by the preparer so that
// its faces can be decoded and uploaded one a piece: together they are the
// longest piece of all (a sky). A load the preparer did not do (after the
// texture was unloaded) reads all six at once.
class CubeFaces : public Ogre::ManualResourceLoader {
public:
    static constexpr int FACES = 6;
    // The file of face (0..5) of a cube texture name.
    static std::string faceName(const std::string& name, int face);

    // Makes the unit's texture one that loads face by face through the
    // steps; false when it is loaded already.
    bool begin(Ogre::TextureUnitState& unit, const std::string& group);
    // Decodes or uploads the next face; false once all six are up.
    bool step();
    // Lets go of the texture being loaded (its own load then reads all six
    // faces): nothing of the engine is held past the engine.
    void abandon();
    void loadResource(Ogre::Resource* resource) override;

private:
    Ogre::TexturePtr texture;  // being loaded in pieces; null when none
    std::array<Ogre::Image, FACES> faces;
    int nextPiece = 0;  // face = nextPiece / 2; even decodes, odd uploads
    const Ogre::Texture* uploaded = nullptr;  // all faces up, its load is a no-op
};

class ScenePreparer {
public:
    // Lists the work for the scene of index (SceneSequence::needs); does
    // nothing when that scene is being prepared already.
    void begin(int sceneIndex);
    // Works in pieces until budgetMs of real time have passed, at least one
    // piece; the frame pays for it, and the fade hides it.
    void step(double budgetMs);
    // Forgets the work left (the scene was built, or the engine goes) and
    // holds nothing of the engine's.
    void clear();
    bool done() const;

private:
    bool stepOnce();  // one piece of work; false when none is left
    void beginCubeFaces(Ogre::Material& material);
    bool cubeFacesLeft = false;
    void readSceneFile(const std::string& file);

    int index = -1;  // the scene being prepared, -1 for none
    std::vector<std::string> meshes, materials;
    std::size_t nextMesh = 0, nextMaterial = 0;
    bool materialPrepared = false;  // materials[nextMaterial] had its first piece
    CubeFaces cubeFaces;            // outlives every texture it loads: the engine goes first
    bool soundsLeft = false;
};

}  // namespace Mossden

#endif
