# The first and second scenes' world: meshes, skeletons, textures and the
# two scene files from the first_world generator, and the sound starters'
# sounds from sox (repeatable mode, so the bytes are the same every run).
set(FIRST_WORLD_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB FIRST_WORLD_SOURCES CONFIGURE_DEPENDS ${FIRST_WORLD_DIR}/*.cpp)
add_executable(first_world ${FIRST_WORLD_SOURCES})
target_link_libraries(first_world PRIVATE OgreMain)

set(FIRST_WORLD_STAMP ${CMAKE_BINARY_DIR}/first_world.stamp)
add_custom_command(OUTPUT ${FIRST_WORLD_STAMP}
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY $<TARGET_FILE:first_world> ${OGRE_PLUGIN_DIR} ${MEDIA}
  COMMAND ${CMAKE_COMMAND} -E touch ${FIRST_WORLD_STAMP}
  DEPENDS first_world
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Generating the first scene's world"
  VERBATIM)

find_program(SOX_EXE sox REQUIRED)
set(FIRST_SOUNDS)
macro(first_sound name)
  add_custom_command(OUTPUT ${MEDIA}/sound/${name}
    COMMAND ${SOX_EXE} -R -n -r 44100 -c 1 -b 16 ${MEDIA}/sound/${name} ${ARGN}
    VERBATIM)
  list(APPEND FIRST_SOUNDS ${MEDIA}/sound/${name})
endmacro()
# a soft rustle of moss: filtered noise swelling and ebbing
first_sound(moss_rustle.wav synth 4 pinknoise band 2500 1500 tremolo 3 60 fade q 0.6 4 1.5 gain -14)
# one drop of dew falling into a pool
first_sound(dew_drop.wav synth 0.35 sine 1900-700 fade q 0.005 0.35 0.3 reverb 40 gain -9)
# a dragonfly's wings: a buzzing whirr passing by
first_sound(dragonfly.wav synth 3.5 sawtooth 32 sawtooth 33.5 lowpass 900 tremolo 0.4 70 fade q 0.8 3.5 1.4 gain -12)
# wind high among the stems
first_sound(wind.wav synth 30 brownnoise band 500 400 tremolo 0.15 50 fade q 4 30 8 gain -10)
# a tall stem creaking as it sways
first_sound(stem_creak.wav synth 2.5 sawtooth 70-55 band 300 200 tremolo 11 80 fade q 0.3 2.5 1 reverb 30 gain -14)

add_custom_target(media_first_world DEPENDS ${FIRST_WORLD_STAMP} ${FIRST_SOUNDS})
add_dependencies(mossden_data media_first_world)
