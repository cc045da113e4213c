# The desktop icon: a moss-green disc with a small red ladybird shell,
# drawn with ImageMagick so it stays a few lines of parameters.
set(MOSSDEN_ICON ${CMAKE_BINARY_DIR}/icon/mossden.png)
add_custom_command(OUTPUT ${MOSSDEN_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
  COMMAND ${CONVERT_EXE} -size 256x256 xc:none
          -fill "#10240f" -draw "circle 128,128 128,6"
          -fill "#2f5a22" -draw "circle 128,150 128,40"
          -fill "#6f9a3a" -draw "ellipse 128,176 92,40 180,360"
          -fill "#b3241d" -draw "ellipse 128,112 44,36 0,360"
          -fill "#1a0a08" -draw "line 128,78 128,148"
          -fill "#1a0a08" -draw "circle 128,76 128,62"
          -fill "#1a0a08" -draw "circle 108,104 108,96" -draw "circle 148,104 148,96"
          -draw "circle 112,130 112,123" -draw "circle 144,130 144,123"
          -define png:exclude-chunks=date,time PNG32:${MOSSDEN_ICON}
  VERBATIM)
add_custom_target(media_icon ALL DEPENDS ${MOSSDEN_ICON})
