# Plain textures that scripts use as a base for manual colours and alphas.
mossden_media_generator(mossden_gen_basic
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Basic.cpp
  OUTPUTS textures/white.png)
