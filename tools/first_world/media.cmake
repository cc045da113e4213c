# The first and second scenes' world: meshes, skeletons, textures, the sound
# starters' sounds and the two scene files. The world is cut into cells for
# culling, so the listed outputs are the files the build and the
# determinism test track; the generator writes the cells beside them.
file(GLOB FIRST_WORLD_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
mossden_media_generator(first_world
  SOURCES ${FIRST_WORLD_SOURCES} ${CMAKE_SOURCE_DIR}/scenes/first/FlightModel.cpp
  OUTPUTS
    scenes/first_scene.xml scenes/second_scene.xml
    models/ladybird.mesh models/ladybird.skeleton models/ladybird2.mesh models/ladybird2.skeleton
    models/ladybird_track.mesh models/ladybird_track.skeleton
    models/dragonfly.mesh models/dragonfly.skeleton models/fern.mesh models/fern.skeleton
    models/seed.mesh models/tunnel.mesh models/tunnel_fungi.mesh
    textures/first_moss.png textures/first_ladybird.png textures/first_sky_up.png
    sound/moss_rustle.ogg sound/dew_drop.ogg sound/dragonfly.ogg sound/wind.ogg sound/stem_creak.ogg)
# libvorbisenc's pkg-config entry does not bring libvorbis and libogg,
# which the pipeline's Ogg writer calls directly.
pkg_check_modules(FIRST_WORLD_VORBIS REQUIRED IMPORTED_TARGET vorbis ogg)
target_link_libraries(first_world PRIVATE PkgConfig::FIRST_WORLD_VORBIS)
# The flight model is the game's own (scenes/first), shared with the game.
target_include_directories(first_world PRIVATE ${CMAKE_SOURCE_DIR})
