# Sprites: the flight indicator and the swirl particles' texture.
mossden_media_generator(mossden_gen_marks
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Marks.cpp
  OUTPUTS textures/indicator.png textures/indicator_2x.png textures/indicator_3x.png textures/spiral.png)
