# The third scene's world: asteroid, eye and jaw meshes, textures, the sky
# and "third_scene.xml", all from tools/third_world.
set(THIRD_WORLD_OUTPUTS scenes/third_scene.xml textures/third_rock.png textures/third_rock_mean.png textures/third_fog.png
  textures/third_butterfly.png textures/third_spark.png)
foreach(i RANGE 1 21)
  list(APPEND THIRD_WORLD_OUTPUTS models/third_aster${i}.mesh)
endforeach()
foreach(eye eye1 eye2 eye2_1 eye2_2)
  list(APPEND THIRD_WORLD_OUTPUTS models/third_${eye}.mesh)
endforeach()
foreach(jaw upper_jaw_1 upper_jaw_2 lower_jaw_1 lower_jaw_2 eye_1 eye_2)
  list(APPEND THIRD_WORLD_OUTPUTS models/third_${jaw}.mesh models/third_${jaw}.skeleton)
endforeach()
list(APPEND THIRD_WORLD_OUTPUTS models/third_sky.mesh)
# The sky box the game drew before, for the fill-cost bench's baseline (not installed).
foreach(face rt lf up dn fr bk)
  list(APPEND THIRD_WORLD_OUTPUTS bench/third_sky_${face}.png)
endforeach()

file(GLOB THIRD_WORLD_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
mossden_media_generator(mossden_gen_third_world
  SOURCES ${THIRD_WORLD_SOURCES}
  OUTPUTS ${THIRD_WORLD_OUTPUTS})
# The layout contract is the game's own (scenes/third/FieldLayout.h).
target_include_directories(mossden_gen_third_world PRIVATE ${CMAKE_SOURCE_DIR})
