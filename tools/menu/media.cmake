# Pictures of the overlay menu, the end menu and the menu cursor, drawn by
# menu_textures.sh with ImageMagick and the DejaVu fonts. The list below is
# what the script writes; the materials in media/scripts/Menu*.material name
# these files.
set(MENU_TEXTURE_NAMES
  pointer.png
  menu_stars.png menu_box.png menu_blank.png menu_panel_start.png menu_panel.png
  menu_settingspage.png menu_aboutpage.png menu_line.png menu_arrow.png menu_arrow_hover.png
  end_theend.png)
foreach(button start about exit continue startover fullscreen windowed apply back)
  list(APPEND MENU_TEXTURE_NAMES menu_${button}.png menu_${button}_hover.png)
endforeach()
foreach(button continue startover exit)
  list(APPEND MENU_TEXTURE_NAMES end_${button}.png end_${button}_hover.png)
endforeach()
list(TRANSFORM MENU_TEXTURE_NAMES PREPEND ${MEDIA}/textures/ OUTPUT_VARIABLE MENU_TEXTURES)

add_custom_command(OUTPUT ${MENU_TEXTURES}
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/menu_textures.sh ${CONVERT_EXE} ${MOSSDEN_FONT_DIR}
          ${MEDIA}/textures
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/menu_textures.sh
  COMMENT "Drawing the menu pictures"
  VERBATIM)
add_custom_target(media_menu DEPENDS ${MENU_TEXTURES})
add_dependencies(mossden_data media_menu)
