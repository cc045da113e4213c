#ifndef MOSSDEN_APP_MEDIACATALOG_H
#define MOSSDEN_APP_MEDIACATALOG_H

// Every resource name the program relies on, as plain data: the media
// check test resolves each of them on a started engine. Add a row when
// code starts naming a new resource.
#include <cstddef>

namespace Mossden {

enum class MediaKind {
    Material,
    Overlay,
    OverlayElement,
    Font,
    Texture,
    Mesh,
    ParticleTemplate,
    Sound,      // a file in the sound folder
    SceneFile,  // a resource in group "General"
};

struct MediaEntry {
    MediaKind kind;
    const char* name;
};

extern const MediaEntry MEDIA_CATALOG[];
extern const std::size_t MEDIA_CATALOG_SIZE;

}  // namespace Mossden

#endif
