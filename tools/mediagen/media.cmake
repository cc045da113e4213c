# The generator core: plain-data builders for meshes, skeletons, images and
# sounds, their writers, and the scene files' building blocks (README.md
# beside this file). Included before the other fragments, which use mossden_media_generator() below.
pkg_check_modules(LIBPNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)

add_library(mossden_mediagen STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Dsp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Generator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MeshData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Noise.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OgreExport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SceneXml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkeletonData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sound.cpp)
target_include_directories(mossden_mediagen PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(mossden_mediagen PUBLIC OgreMain OgreMeshLodGenerator PkgConfig::LIBPNG PkgConfig::TINYXML
  PkgConfig::VORBISENC PkgConfig::VORBISFILE)
# Generators run during the build: optimise them even in debug builds.
target_compile_options(mossden_mediagen PRIVATE -O2)

# mossden_media_generator(<target> SOURCES <files...> OUTPUTS <paths under media/...>
#                         [DEPENDS <input files...>])
# Builds the executable <target>, runs it when it or its inputs change, and
# makes mossden_data depend on the outputs. Each generator regenerates only
# its own files. The run is "<target> <media root> <declared outputs>": the
# generator fails unless it wrote exactly the OUTPUTS listed here, so every
# file it makes is tracked by the build and compared by the determinism test.
function(mossden_media_generator target)
  cmake_parse_arguments(GEN "" "" "SOURCES;OUTPUTS;DEPENDS" ${ARGN})
  add_executable(${target} ${GEN_SOURCES})
  target_link_libraries(${target} PRIVATE mossden_mediagen)
  target_compile_options(${target} PRIVATE -O2)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(outputs)
  foreach(rel ${GEN_OUTPUTS})
    list(APPEND outputs ${MEDIA}/${rel})
  endforeach()
  # Written only when the list changes, so a new configure run alone does
  # not remake the media.
  set(declared ${CMAKE_BINARY_DIR}/tools/${target}.outputs)
  string(REPLACE ";" "\n" listed_lines "${GEN_OUTPUTS}")
  file(CONFIGURE OUTPUT ${declared} CONTENT "${listed_lines}\n" @ONLY)
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${target} ${MEDIA} ${declared}
    DEPENDS ${target} ${declared} ${GEN_DEPENDS}
    COMMENT "Generating ${GEN_OUTPUTS}"
    VERBATIM)
  add_custom_target(${target}_media DEPENDS ${outputs})
  add_dependencies(mossden_data ${target}_media)
  # For the determinism test: "<target>:<output>,<output>..." per generator.
  string(REPLACE ";" "," listed "${GEN_OUTPUTS}")
  set_property(GLOBAL APPEND PROPERTY MOSSDEN_MEDIA_GENERATORS "${target}:${listed}")
endfunction()
