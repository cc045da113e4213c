# The game's sounds, one generator per file so that a change to one sound
# remakes only that sound; the shared instruments are a library.
add_library(mossden_soundkit STATIC ${CMAKE_CURRENT_LIST_DIR}/SoundKit.cpp)
target_link_libraries(mossden_soundkit PUBLIC mossden_mediagen)
target_compile_options(mossden_soundkit PRIVATE -O2)

foreach(entry Button:button Collision:collision HoleUp:holeup Laugh:haha Humming:thehumming
    TunnelNoise:scene2noise SpaceNoise:scene3noise Ascent:scene1 Closing:scene3)
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 source)
  list(GET parts 1 sound)
  mossden_media_generator(mossden_gen_sound_${sound}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${source}.cpp
    OUTPUTS sound/${sound}.ogg)
  target_link_libraries(mossden_gen_sound_${sound} PRIVATE mossden_soundkit)
endforeach()
