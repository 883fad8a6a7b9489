# `cmake --install` and the Debian package: the three programs, a menu
# entry, the program icon, the recording file types and the manual pages.
# On Windows the portable zip instead.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows-package.cmake)
  return()
endif()

# The package's maintainer, as Debian's own tools take it: DEBFULLNAME and
# DEBEMAIL, else the source tree's git identity.
set(_q2_name "$ENV{DEBFULLNAME}")
set(_q2_mail "$ENV{DEBEMAIL}")
find_package(Git QUIET)
if(GIT_FOUND AND (NOT _q2_name OR NOT _q2_mail))
  execute_process(COMMAND ${GIT_EXECUTABLE} config user.name WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE _q2_git_name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND ${GIT_EXECUTABLE} config user.email WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE _q2_git_mail OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT _q2_name)
    set(_q2_name "${_q2_git_name}")
  endif()
  if(NOT _q2_mail)
    set(_q2_mail "${_q2_git_mail}")
  endif()
endif()
if(NOT _q2_name OR NOT _q2_mail)
  message(WARNING "No maintainer for the package: set DEBFULLNAME and DEBEMAIL")
  set(_q2_name "Quoril2 developers")
  set(_q2_mail "quoril2@invalid")
endif()
set(Q2_MAINTAINER "${_q2_name} <${_q2_mail}>")

# Debian wants the manual pages and the changelog compressed, without a
# time stamp in the compressed file (so that a rebuild is the same).
set(Q2_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(_q2_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                  OUTPUT_VARIABLE _q2_epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(_q2_epoch)
  set(ENV{SOURCE_DATE_EPOCH} ${_q2_epoch})
endif()
string(TIMESTAMP Q2_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
unset(ENV{SOURCE_DATE_EPOCH})
configure_file(resources/debian/changelog.in ${Q2_DOC_DIR}/changelog @ONLY)
set(_q2_docs)
foreach(_q2_src resources/man/quoril2-cli.1 resources/man/quoril2-gen.1 resources/man/quoril2.1 ${Q2_DOC_DIR}/changelog)
  get_filename_component(_q2_file ${_q2_src} NAME)
  get_filename_component(_q2_abs ${_q2_src} ABSOLUTE)
  add_custom_command(OUTPUT ${Q2_DOC_DIR}/${_q2_file}.gz
    COMMAND gzip -9nc ${_q2_abs} > ${Q2_DOC_DIR}/${_q2_file}.gz
    DEPENDS ${_q2_abs} VERBATIM)
  list(APPEND _q2_docs ${Q2_DOC_DIR}/${_q2_file}.gz)
endforeach()
add_custom_target(docs ALL DEPENDS ${_q2_docs})

install(TARGETS quoril2-cli quoril2-gen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${Q2_DOC_DIR}/quoril2-cli.1.gz ${Q2_DOC_DIR}/quoril2-gen.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${Q2_DOC_DIR}/changelog.gz resources/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quoril2)

if(QUORIL2_GUI)
  install(TARGETS quoril2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${Q2_DOC_DIR}/quoril2.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(NOT WIN32)
    install(FILES resources/linux/quoril2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES resources/icons/app.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME quoril2.svg)
    install(FILES resources/linux/quoril2-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME quoril2.xml)
  endif()
endif()

set(CPACK_PACKAGE_NAME quoril2)
set(CPACK_PACKAGE_VENDOR "Quoril2")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Browse, read and rename Age of Empires II recorded games")
set(CPACK_PACKAGE_DESCRIPTION "Lists the recorded games (*.mgx, *.mgz, *.mgl) of a folder and shows
their players, teams, chat and age progression; renames recordings in bulk
from a name format. Japanese interface.")
set(CPACK_PACKAGE_CONTACT "${Q2_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A tool for a game's files, not a game (Debian's games section holds games in /usr/games).
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Libraries found by dpkg-shlibdeps; what is loaded at run time (Qt's
# platform and SVG plugins, the translations, the Japanese font, ICU for the
# name order) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
find_package(ICU QUIET COMPONENTS uc)
string(REGEX MATCH "^[0-9]+" _q2_icu_major "${ICU_VERSION}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libicu${_q2_icu_major}, libqt6svg6, qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")
# Their dpkg triggers register the file types, the menu entry and the icon.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
include(CPack)
