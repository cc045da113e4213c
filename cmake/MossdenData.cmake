# Data beside the build-tree executable (the source tree's cfg/ holds only
# templates, named so that the game's data search never takes them): cfg/ with a resources.cfg of
# absolute paths, media/ with the hand-written scripts copied from the
# source tree (the generators in tools/ add the rest).

set(MOSSDEN_MEDIA_SUBDIRS scripts overlays models textures scenes particles)
set(MOSSDEN_SYSTEM_MEDIA ${OGRE_MEDIA_DIR})
set(MOSSDEN_FONT_DIR /usr/share/fonts/truetype/dejavu)

include(${CMAKE_SOURCE_DIR}/cmake/ResourcesCfg.cmake)

write_resources_cfg(${MOSSDEN_DATA_DIR}/cfg/resources.cfg ${MOSSDEN_DATA_DIR}/media)
configure_file(${CMAKE_SOURCE_DIR}/cfg/plugins.cfg.in ${MOSSDEN_DATA_DIR}/cfg/plugins.cfg @ONLY)
# ogre.cfg is rewritten by the game at every start: seed it once, never overwrite.
if(NOT EXISTS ${MOSSDEN_DATA_DIR}/cfg/ogre.cfg)
  configure_file(${CMAKE_SOURCE_DIR}/cfg/ogre.cfg.in ${MOSSDEN_DATA_DIR}/cfg/ogre.cfg COPYONLY)
endif()
foreach(sub ${MOSSDEN_MEDIA_SUBDIRS} sound)
  file(MAKE_DIRECTORY ${MOSSDEN_DATA_DIR}/media/${sub})
endforeach()

file(GLOB_RECURSE MOSSDEN_STATIC_MEDIA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/media/*)
set(MOSSDEN_STATIC_MEDIA_OUT)
foreach(f ${MOSSDEN_STATIC_MEDIA})
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/media ${f})
  add_custom_command(OUTPUT ${MOSSDEN_DATA_DIR}/media/${rel}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${MOSSDEN_DATA_DIR}/media/${rel}
    DEPENDS ${f} VERBATIM)
  list(APPEND MOSSDEN_STATIC_MEDIA_OUT ${MOSSDEN_DATA_DIR}/media/${rel})
endforeach()
add_custom_target(mossden_data ALL DEPENDS ${MOSSDEN_STATIC_MEDIA_OUT})
