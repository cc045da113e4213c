# Pictures of the overlay menu, the end menu and the menu cursor, drawn by
# menu_textures.sh with ImageMagick and the DejaVu fonts; MenuTextures.cpp
# runs it the way the build runs every generator. These pictures are
# mostly set text in three DejaVu faces, which ImageMagick lays out and
# renders well; every other picture is drawn in C++ with the generator
# core's Image. The list below is what the script writes; the materials in
# media/scripts/Menu*.material name these files.
find_program(CONVERT_EXE convert REQUIRED)
set(MENU_TEXTURES
  pointer.png
  menu_stars.png menu_box.png menu_blank.png menu_panel_start.png menu_panel.png
  menu_settingspage.png menu_lookpage.png menu_aboutpage.png menu_line.png menu_arrow.png menu_arrow_hover.png
  end_theend.png)
foreach(button start about exit continue startover fullscreen windowed apply back)
  list(APPEND MENU_TEXTURES menu_${button}.png menu_${button}_hover.png)
endforeach()
foreach(choice tab_screen tab_look quality_low quality_medium quality_high)
  list(APPEND MENU_TEXTURES menu_${choice}.png menu_${choice}_hover.png menu_${choice}_on.png)
endforeach()
list(APPEND MENU_TEXTURES menu_invert.png menu_invert_on.png menu_invert_hover.png menu_invert_on_hover.png)
foreach(button continue startover exit)
  list(APPEND MENU_TEXTURES end_${button}.png end_${button}_hover.png)
endforeach()
# Each picture again at twice and three times its size (menu_textures.sh).
set(MENU_TEXTURES_1X ${MENU_TEXTURES})
foreach(scale 2 3)
  foreach(picture ${MENU_TEXTURES_1X})
    string(REGEX REPLACE "\\.png$" "_${scale}x.png" scaled ${picture})
    list(APPEND MENU_TEXTURES ${scaled})
  endforeach()
endforeach()
list(TRANSFORM MENU_TEXTURES PREPEND textures/)

mossden_media_generator(mossden_gen_menu
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MenuTextures.cpp
  OUTPUTS ${MENU_TEXTURES}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/menu_textures.sh)
target_compile_definitions(mossden_gen_menu PRIVATE
  MENU_TEXTURES_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/menu_textures.sh"
  CONVERT_EXE="${CONVERT_EXE}" FONT_DIR="${MOSSDEN_FONT_DIR}")
