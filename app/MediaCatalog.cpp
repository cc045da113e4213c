#include "app/MediaCatalog.h"

#include <iterator>

namespace Mossden {

const MediaEntry MEDIA_CATALOG[] = {
    // The fader.
    {MediaKind::Overlay, "Overlays/FadeInOut"},
    {MediaKind::Material, "Materials/OverlayMaterial"},
    // The third scene's flight indicator.
    {MediaKind::Overlay, "MossdenOverlays/IndicatorOverlay"},
    {MediaKind::OverlayElement, "MossdenOverlays/IndicatorOverlay/Mark"},
    // The third scene's head and its swirl.
    {MediaKind::Mesh, "ogrehead.mesh"},
    {MediaKind::ParticleTemplate, "spiral"},
    // The first and second scenes: their files, the meshes of the entities
    // the code looks up or that move on paths, the sky, and the sounds the
    // first file's sound starters name.
    {MediaKind::SceneFile, "first_scene.xml"},
    {MediaKind::SceneFile, "second_scene.xml"},
    {MediaKind::Mesh, "ladybird.mesh"},
    {MediaKind::Mesh, "ladybird2.mesh"},
    {MediaKind::Mesh, "ladybird_track.mesh"},
    {MediaKind::Mesh, "dragonfly.mesh"},
    {MediaKind::Mesh, "seed.mesh"},
    {MediaKind::Mesh, "fern.mesh"},
    {MediaKind::Mesh, "tunnel.mesh"},
    {MediaKind::Material, "FirstScene/Sky"},
    {MediaKind::Sound, "moss_rustle.ogg"},
    {MediaKind::Sound, "dew_drop.ogg"},
    {MediaKind::Sound, "dragonfly.ogg"},
    {MediaKind::Sound, "wind.ogg"},
    {MediaKind::Sound, "stem_creak.ogg"},
    // The third scene: its file, the meshes of the entities the code looks
    // up (asteroids, eyes, jaws), the materials its file exempts from fog,
    // and the particle templates its holes and butterflies name.
    {MediaKind::SceneFile, "third_scene.xml"},
    {MediaKind::Mesh, "third_aster1.mesh"},  {MediaKind::Mesh, "third_aster2.mesh"},
    {MediaKind::Mesh, "third_aster3.mesh"},  {MediaKind::Mesh, "third_aster4.mesh"},
    {MediaKind::Mesh, "third_aster5.mesh"},  {MediaKind::Mesh, "third_aster6.mesh"},
    {MediaKind::Mesh, "third_aster7.mesh"},  {MediaKind::Mesh, "third_aster8.mesh"},
    {MediaKind::Mesh, "third_aster9.mesh"},  {MediaKind::Mesh, "third_aster10.mesh"},
    {MediaKind::Mesh, "third_aster11.mesh"}, {MediaKind::Mesh, "third_aster12.mesh"},
    {MediaKind::Mesh, "third_aster13.mesh"}, {MediaKind::Mesh, "third_aster14.mesh"},
    {MediaKind::Mesh, "third_aster15.mesh"}, {MediaKind::Mesh, "third_aster16.mesh"},
    {MediaKind::Mesh, "third_aster17.mesh"}, {MediaKind::Mesh, "third_aster18.mesh"},
    {MediaKind::Mesh, "third_aster19.mesh"}, {MediaKind::Mesh, "third_aster20.mesh"},
    {MediaKind::Mesh, "third_aster21.mesh"},
    {MediaKind::Mesh, "third_eye1.mesh"},
    {MediaKind::Mesh, "third_eye2.mesh"},
    {MediaKind::Mesh, "third_eye2_1.mesh"},
    {MediaKind::Mesh, "third_eye2_2.mesh"},
    {MediaKind::Mesh, "third_upper_jaw_1.mesh"},
    {MediaKind::Mesh, "third_upper_jaw_2.mesh"},
    {MediaKind::Mesh, "third_lower_jaw_1.mesh"},
    {MediaKind::Mesh, "third_lower_jaw_2.mesh"},
    {MediaKind::Mesh, "third_eye_1.mesh"},
    {MediaKind::Mesh, "third_eye_2.mesh"},
    {MediaKind::Material, "Third/Sky"},
    {MediaKind::Material, "Third/EyeGlow"},
    {MediaKind::ParticleTemplate, "Third/SwirlStream"},
    {MediaKind::ParticleTemplate, "Third/SwirlRings"},
    {MediaKind::ParticleTemplate, "Third/ButterflyTrail"},
    // Sounds, by the code that loads them.
    {MediaKind::Sound, "thehumming.ogg"},
    {MediaKind::Sound, "button.ogg"},
    {MediaKind::Sound, "scene1.ogg"},
    {MediaKind::Sound, "scene2noise.ogg"},
    {MediaKind::Sound, "scene3noise.ogg"},
    {MediaKind::Sound, "scene3.ogg"},
    {MediaKind::Sound, "holeup.ogg"},
    {MediaKind::Sound, "collision.ogg"},
    {MediaKind::Sound, "haha.ogg"},
};

const std::size_t MEDIA_CATALOG_SIZE = std::size(MEDIA_CATALOG);

}  // namespace Mossden
