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
    // The overlay menu: its two overlays, their containers and buttons (each
    // a plain and a hover form), the pictures it switches and fades, its
    // cursor image and the font of its size caption.
    {MediaKind::Overlay, "MossdenOverlays/Menu"},
    {MediaKind::Overlay, "MossdenOverlays/EndMenu"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Background"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartBackground"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StarsBackground"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/BoxBackground"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/TextMain"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/TextAbout"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/ViewModeArrowLine"},
    {MediaKind::OverlayElement, "MossdenOverlays/EndMenu"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Start"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartAbout"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartAboutHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartExit"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartExitHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Continue"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/ContinueHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/About"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/AboutHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartOver"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/StartOverHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Exit"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/ExitHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Fullscreen"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/FullscreenHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Windowed"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/WindowedHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Apply"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/ApplyHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/ViewModeArrow"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/ViewModeArrowHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/SoundArrow"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/SoundArrowHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/Back"},
    {MediaKind::OverlayElement, "MossdenOverlays/Menu/BackHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/EndMenu/Continue"},
    {MediaKind::OverlayElement, "MossdenOverlays/EndMenu/ContinueHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/EndMenu/StartOver"},
    {MediaKind::OverlayElement, "MossdenOverlays/EndMenu/StartOverHover"},
    {MediaKind::OverlayElement, "MossdenOverlays/EndMenu/Exit"},
    {MediaKind::OverlayElement, "MossdenOverlays/EndMenu/ExitHover"},
    {MediaKind::Material, "Menu/StartBackgroundPic"},
    {MediaKind::Material, "Menu/Background"},
    {MediaKind::Material, "EndMenu/TheEnd"},
    {MediaKind::Material, "EndMenu/Continue"},
    {MediaKind::Material, "EndMenu/ContinueHover"},
    {MediaKind::Material, "EndMenu/Exit"},
    {MediaKind::Material, "EndMenu/ExitHover"},
    {MediaKind::Material, "EndMenu/StartOver"},
    {MediaKind::Material, "EndMenu/StartOverHover"},
    {MediaKind::Texture, "pointer.png"},
    {MediaKind::Font, "MossdenMenu/ViewModeFont"},
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
