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
