# Sprites: the flight indicator and the swirl particles' texture.
mossden_media_generator(mossden_gen_marks
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Marks.cpp
  OUTPUTS textures/indicator.png textures/spiral.png)
