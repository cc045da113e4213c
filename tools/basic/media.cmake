# Plain textures that scripts use as a base for manual colours and alphas.
add_custom_command(OUTPUT ${MEDIA}/textures/white.png
  COMMAND ${CONVERT_EXE} -size 4x4 xc:white PNG32:${MEDIA}/textures/white.png
  VERBATIM)
add_custom_target(media_basic DEPENDS ${MEDIA}/textures/white.png)
add_dependencies(mossden_data media_basic)
