# The first and second scenes' world: meshes, skeletons, textures, the sound
# starters' sounds and the two scene files. The world is cut into cells for
# culling, so the listed outputs are the files the build and the
# determinism test track; the generator writes the cells beside them.
file(GLOB FIRST_WORLD_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
mossden_media_generator(first_world
  SOURCES ${FIRST_WORLD_SOURCES}
  OUTPUTS
    scenes/first_scene.xml scenes/second_scene.xml
    models/ladybird.mesh models/ladybird.skeleton models/ladybird2.mesh models/ladybird2.skeleton
    models/ladybird_track.mesh models/ladybird_track.skeleton
    models/dragonfly.mesh models/dragonfly.skeleton models/fern.mesh models/fern.skeleton
    models/seed.mesh models/tunnel.mesh models/tunnel_fungi.mesh
    textures/first_moss.png textures/first_ladybird.png textures/first_sky_up.png)
