# "ogrehead.mesh", the third scene's stylised head, and its skin texture.
mossden_media_generator(mossden_gen_ogrehead
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/OgreHead.cpp
  OUTPUTS models/ogrehead.mesh textures/ogrehead_skin.png)
