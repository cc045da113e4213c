# The game's sounds: every .cpp here other than SoundKit.cpp makes the one
# sound named after it ("wind.cpp" makes "sound/wind.ogg"), so a change to
# one sound remakes only that sound; the shared instruments are a library.
add_library(mossden_soundkit STATIC ${CMAKE_CURRENT_LIST_DIR}/SoundKit.cpp)
target_link_libraries(mossden_soundkit PUBLIC mossden_mediagen)
target_compile_options(mossden_soundkit PRIVATE -O2)

file(GLOB MOSSDEN_SOUND_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(REMOVE_ITEM MOSSDEN_SOUND_SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoundKit.cpp)
foreach(source ${MOSSDEN_SOUND_SOURCES})
  get_filename_component(sound ${source} NAME_WE)
  mossden_media_generator(mossden_gen_sound_${sound}
    SOURCES ${source}
    OUTPUTS sound/${sound}.ogg)
  target_link_libraries(mossden_gen_sound_${sound} PRIVATE mossden_soundkit)
endforeach()
