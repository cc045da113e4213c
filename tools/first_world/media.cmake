# The first and second scenes' world: meshes, skeletons, textures and the
# two scene files (the sounds their starters name are made in tools/sounds).
# The floor, the moss's cushions and tufts, the grass and the stems are cut into cells of the x/z grid for
# culling; the cells that hold any geometry are listed here by grid index.
# The generator fails, naming each difference, when the world and these
# lists disagree.
set(FIRST_WORLD_GRASS_CELLS
  44_50 44_51 45_46 45_47 45_48 45_49 45_50 45_51 45_52 45_53 45_54 46_46 46_47 46_48 46_49
  46_50 46_51 46_52 46_53 46_54 47_45 47_46 47_47 47_48 47_49 47_50 47_51 47_52 47_53 47_54
  48_46 48_47 48_48 48_49 48_50 48_51 48_52 48_53 48_54 49_46 49_47 49_48 49_49 49_50 49_51
  49_52 49_53 49_54 50_46 50_47 50_48 50_49 50_50 50_51 50_52 50_53 50_54 51_46 51_47 51_48
  51_49 51_50 51_51 51_52 51_53 51_54 52_46 52_47 52_48 52_49 52_50 52_51 52_52 52_53 52_54
  53_46 53_47 53_48 53_50 53_51 53_52 53_53 53_54)
# The moss cushions, in cells of 4000 units (World.h, CUSHION_CELL): those
# that hold a cushion.
set(FIRST_WORLD_CUSHION_CELLS
  46_47 46_48 46_51 46_52 46_53 47_48 47_49 47_50 47_51 47_52 47_53 48_47 48_48 48_49 48_50 48_51
  48_52 49_47 49_48 49_49 49_50 49_51 49_52 49_53 50_47 50_48 50_49 50_50 50_51 50_52 50_53 51_47
  51_48 51_49 51_50 51_51 51_52 51_53 52_47 52_48 52_49 52_50 52_51 52_52 52_53)
set(FIRST_WORLD_STEM_CELLS
  46_50 47_49 47_50 48_49 48_50 48_51 49_48 49_49 49_50 49_51 50_48 50_49 50_50 50_51 51_49
  51_50)

set(FIRST_WORLD_OUTPUTS scenes/first_scene.xml scenes/second_scene.xml models/moss_far.mesh models/first_sky.mesh
  models/seed.mesh models/tunnel.mesh models/tunnel_fungi.mesh)
foreach(creature ladybird ladybird2 ladybird_track dragonfly fern)
  list(APPEND FIRST_WORLD_OUTPUTS models/${creature}.mesh models/${creature}.skeleton)
endforeach()
foreach(texture moss stem leaf grass ladybird wing shadow)
  list(APPEND FIRST_WORLD_OUTPUTS textures/first_${texture}.png)
endforeach()
foreach(texture moss stem leaf grass)
  list(APPEND FIRST_WORLD_OUTPUTS textures/first_${texture}_mean.png)
endforeach()
list(APPEND FIRST_WORLD_OUTPUTS textures/second_earth.png)
# The sky box the game drew before, for the fill-cost bench's baseline (not installed).
foreach(face fr bk lf rt up dn)
  list(APPEND FIRST_WORLD_OUTPUTS bench/first_sky_${face}.png)
endforeach()
foreach(x RANGE 40 56)
  foreach(z RANGE 42 58)
    list(APPEND FIRST_WORLD_OUTPUTS models/moss_floor_${x}_${z}.mesh)
  endforeach()
endforeach()
# The moss's stalks and dew, in cells of 1000 units round the start.
foreach(x RANGE 48 51)
  foreach(z RANGE 48 51)
    list(APPEND FIRST_WORLD_OUTPUTS models/moss_tufts_${x}_${z}.mesh)
  endforeach()
endforeach()
foreach(cell ${FIRST_WORLD_CUSHION_CELLS})
  list(APPEND FIRST_WORLD_OUTPUTS models/moss_cushions_${cell}.mesh)
endforeach()
foreach(cell ${FIRST_WORLD_GRASS_CELLS})
  list(APPEND FIRST_WORLD_OUTPUTS models/grass_${cell}.mesh)
endforeach()
foreach(cell ${FIRST_WORLD_STEM_CELLS})
  list(APPEND FIRST_WORLD_OUTPUTS models/stems_${cell}.mesh)
endforeach()

file(GLOB FIRST_WORLD_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
mossden_media_generator(first_world
  SOURCES ${FIRST_WORLD_SOURCES} ${CMAKE_SOURCE_DIR}/scenes/first/FlightModel.cpp
  OUTPUTS ${FIRST_WORLD_OUTPUTS})
# The flight model is the game's own (scenes/first), shared with the game.
target_include_directories(first_world PRIVATE ${CMAKE_SOURCE_DIR})
