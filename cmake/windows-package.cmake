# The portable zip for Windows (`cpack -G ZIP` in the Windows build, or
# scripts/package-windows.sh): one folder to unpack anywhere, the programs
# with the Qt DLLs and plugins the window loads, the mingw runtime DLLs,
# Qt's Japanese translation, a README in Japanese and the licences of what
# is shipped. The settings file is written beside quoril2.exe (or in
# %APPDATA%\quoril2 where that folder can't be written).

install(TARGETS quoril2-cli RUNTIME DESTINATION .)
configure_file(${CMAKE_SOURCE_DIR}/resources/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)

if(QUORIL2_GUI)
  install(TARGETS quoril2 RUNTIME DESTINATION .)
  # Qt's DLLs where its CMake package says they are; platforms/ and styles/
  # beside the program are where Qt looks for its plugins. PNG is built into
  # Qt Gui, so no image-format plugin is needed.
  install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
          ${Q2_MINGW_RUNTIME_DLLS} DESTINATION .)
  # Debian's mingw runtime DLLs carry their debugging information (24 MB of
  # libstdc++), which the zip leaves behind.
  if(CMAKE_STRIP)
    foreach(dll ${Q2_MINGW_RUNTIME_DLLS})
      get_filename_component(name ${dll} NAME)
      install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${name}\")")
    endforeach()
  endif()
  install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
  if(TARGET Qt6::QWindowsVistaStylePlugin)
    install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
  endif()
  if(TARGET Qt6::Svg)
    install(FILES $<TARGET_FILE:Qt6::Svg> DESTINATION .)
  endif()
  if(Q2_QTBASE_JA)
    install(FILES ${Q2_QTBASE_JA} DESTINATION translations)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licenses RENAME Quoril2.txt)
  # Qt is LGPL-3.0; the licences as Debian ships them.
  foreach(pair "/usr/share/common-licenses/LGPL-3|Qt-LGPL-3.txt" "/usr/share/common-licenses/GPL-3|GPL-3.txt"
               "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright|gcc-runtime.txt"
               "/usr/share/doc/mingw-w64-x86-64-dev/copyright|mingw-w64-runtime.txt")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    if(EXISTS ${from})
      install(FILES ${from} DESTINATION licenses RENAME ${to})
    else()
      message(STATUS "The zip leaves out ${to}: ${from} is missing")
    endif()
  endforeach()
endif()

set(CPACK_PACKAGE_NAME quoril2)
set(CPACK_PACKAGE_VENDOR "Quoril2")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME quoril2-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
