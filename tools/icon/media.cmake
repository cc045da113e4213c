# The desktop icon, drawn by Icon.cpp into the build tree's icon/ (the
# install rules take it from there).
set(MOSSDEN_ICON ${CMAKE_BINARY_DIR}/icon/mossden.png)
add_executable(mossden_gen_icon ${CMAKE_CURRENT_LIST_DIR}/Icon.cpp)
target_link_libraries(mossden_gen_icon PRIVATE mossden_mediagen)
set_target_properties(mossden_gen_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_custom_command(OUTPUT ${MOSSDEN_ICON}
  COMMAND mossden_gen_icon ${CMAKE_BINARY_DIR}/icon
  DEPENDS mossden_gen_icon
  COMMENT "Generating the desktop icon"
  VERBATIM)
add_custom_target(media_icon ALL DEPENDS ${MOSSDEN_ICON})
