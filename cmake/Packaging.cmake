# What a desktop installation and the Debian package add to the game and its
# data: desktop entry and its launcher, icons, AppStream metainfo, manual
# page, copyright and changelog; then CPack's DEB generator (make deb), which
# packages these install rules for the prefix /usr.

set(MOSSDEN_PLATFORM_DIR ${CMAKE_SOURCE_DIR}/platform/linux)
set(MOSSDEN_DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
set(MOSSDEN_APPSTREAM_ID org.mossden.Mossden)
# Where the project's pages are published; the AppStream screenshots are the
# README's, under docs/ there. A placeholder until the project has one.
set(MOSSDEN_HOMEPAGE "https://mossden.example/" CACHE STRING
  "Web address under which docs/ of the repository is published (ends with /)")
# Debian's contact fields need a mail address; a placeholder likewise.
set(MOSSDEN_MAINTAINER "Mossden developers <maintainers@mossden.example>" CACHE STRING
  "Maintainer field of the Debian package and its changelog")

# The hicolor theme's sizes, scaled from the generated 256-pixel icon.
set(MOSSDEN_ICON_SIZES 48 64 128 256)
set(MOSSDEN_ICON_SOURCE ${CMAKE_BINARY_DIR}/icon/mossden.png)
set(MOSSDEN_DESKTOP_FILES)
foreach(size ${MOSSDEN_ICON_SIZES})
  set(out ${MOSSDEN_DESKTOP_DIR}/icons/${size}x${size}/mossden.png)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MOSSDEN_DESKTOP_DIR}/icons/${size}x${size}
    COMMAND ${CONVERT_EXE} ${MOSSDEN_ICON_SOURCE} -resize ${size}x${size} -strip
            -define png:exclude-chunks=date,time PNG32:${out}
    DEPENDS ${MOSSDEN_ICON_SOURCE} VERBATIM)
  list(APPEND MOSSDEN_DESKTOP_FILES ${out})
  install(FILES ${out} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants the manual page and the changelog compressed, without a time
# stamp in the gzip header so that builds are reproducible.
configure_file(${MOSSDEN_PLATFORM_DIR}/mossden.6.in ${MOSSDEN_DESKTOP_DIR}/mossden.6 @ONLY)
configure_file(${MOSSDEN_PLATFORM_DIR}/changelog.in ${MOSSDEN_DESKTOP_DIR}/changelog @ONLY)
foreach(doc mossden.6 changelog)
  add_custom_command(OUTPUT ${MOSSDEN_DESKTOP_DIR}/${doc}.gz
    COMMAND gzip -9 -n -f -k ${doc}
    DEPENDS ${MOSSDEN_DESKTOP_DIR}/${doc}
    WORKING_DIRECTORY ${MOSSDEN_DESKTOP_DIR} VERBATIM)
  list(APPEND MOSSDEN_DESKTOP_FILES ${MOSSDEN_DESKTOP_DIR}/${doc}.gz)
endforeach()
add_custom_target(mossden_desktop_files ALL DEPENDS ${MOSSDEN_DESKTOP_FILES})
add_dependencies(mossden_desktop_files media_icon)

configure_file(${MOSSDEN_PLATFORM_DIR}/${MOSSDEN_APPSTREAM_ID}.metainfo.xml.in
  ${MOSSDEN_DESKTOP_DIR}/${MOSSDEN_APPSTREAM_ID}.metainfo.xml @ONLY)

install(FILES ${MOSSDEN_DESKTOP_DIR}/mossden.6.gz DESTINATION share/man/man6)
install(FILES ${MOSSDEN_DESKTOP_DIR}/${MOSSDEN_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${MOSSDEN_PLATFORM_DIR}/copyright ${MOSSDEN_DESKTOP_DIR}/changelog.gz
  DESTINATION share/doc/mossden)
install(FILES ${MOSSDEN_PLATFORM_DIR}/lintian-overrides DESTINATION share/lintian/overrides
  RENAME mossden)
# The desktop entry and its launcher name the executable of the prefix
# installed to.
install(CODE "
  set(exe \"\${CMAKE_INSTALL_PREFIX}/games/mossden\")
  set(launcher \"\${CMAKE_INSTALL_PREFIX}/libexec/mossden/mossden-desktop\")
  file(READ ${MOSSDEN_PLATFORM_DIR}/mossden-desktop.in text)
  string(REPLACE @MOSSDEN_INSTALLED_EXE@ \"\${exe}\" text \"\${text}\")
  file(WRITE \"\$ENV{DESTDIR}\${launcher}\" \"\${text}\")
  file(CHMOD \"\$ENV{DESTDIR}\${launcher}\" FILE_PERMISSIONS
       OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  file(READ ${MOSSDEN_PLATFORM_DIR}/mossden.desktop.in text)
  string(REPLACE @MOSSDEN_DESKTOP_LAUNCHER@ \"\${launcher}\" text \"\${text}\")
  file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/mossden.desktop\" \"\${text}\")
")

# The Debian package (make deb). CPack installs into a staging folder through
# DESTDIR, so CMAKE_INSTALL_PREFIX stays /usr and the paths that the install
# writes into files (resources.cfg, the desktop entry) are the final ones.
set(CPACK_GENERATOR DEB)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME mossden)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${MOSSDEN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "short exploration game through moss and asteroids")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"A short, quiet journey for one player. Out of the dark you rise through a
moss world at an insect's height, past a walking ladybird and a dragonfly,
until the ground gives way and you fall into a tunnel. You wake on one of
twenty-one slowly spinning asteroids: hop, fly from rock to rock and dive
through the holes you find. After the fourth hole, look back.

The game needs OpenGL; Mesa's software renderer is enough.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Packages whose files the game reads at run time without linking them:
# the engine's trays pack and shadow-volume programs and the font (named by
# resources.cfg and ViewModeFont.fontdef), and Mesa's GL drivers.
function(mossden_owning_package path out)
  execute_process(COMMAND dpkg-query -S ${path}
    OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(WARNING "No Debian package owns ${path}: the package's Depends leave it out")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "^([^:,]+).*" "\\1" owner "${owner}")
  set(${out} ${owner} PARENT_SCOPE)
endfunction()
mossden_owning_package(${MOSSDEN_SYSTEM_MEDIA}/packs/SdkTrays.zip MOSSDEN_MEDIA_PACKAGE)
mossden_owning_package(${MOSSDEN_FONT_DIR}/DejaVuSans.ttf MOSSDEN_FONT_PACKAGE)
set(depends ${MOSSDEN_FONT_PACKAGE} libgl1-mesa-dri)
# On Debian the engine's library package brings its media too; dpkg-shlibdeps
# names that package already, with its version.
get_target_property(engine_library OgreMain LOCATION)
file(REAL_PATH ${engine_library} engine_library)
mossden_owning_package(${engine_library} MOSSDEN_ENGINE_PACKAGE)
if(NOT MOSSDEN_MEDIA_PACKAGE STREQUAL MOSSDEN_ENGINE_PACKAGE)
  list(PREPEND depends ${MOSSDEN_MEDIA_PACKAGE})
endif()
list(JOIN depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# xmessage shows a fatal error in a window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS x11-utils)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
