# `cmake --install` and the Debian package: the three programs, a menu
# entry, the program icon, the recording file types and the manual pages.
# On Windows the portable zip instead.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows-package.cmake)
  return()
endif()

install(TARGETS quoril2-cli quoril2-gen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/man/quoril2-cli.1 resources/man/quoril2-gen.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(QUORIL2_GUI)
  install(TARGETS quoril2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES resources/man/quoril2.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
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
set(CPACK_PACKAGE_DESCRIPTION "Lists the recorded games (*.mgx, *.mgz, *.mgl) of a folder and shows \
their players, teams, chat and age progression; renames recordings in bulk from a name format. \
Japanese interface.")
set(CPACK_PACKAGE_CONTACT "Quoril2 developers <quoril2@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
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
