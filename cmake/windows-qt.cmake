# The window in the Windows cross-build: Qt 6 built for mingw-w64 in a prefix
# of its own (by default ../shared/qt6-mingw beside the clone; your own build
# of Qt or MSYS2's with QUORIL2_QT_WINDOWS_PREFIX), with the host's moc, rcc
# and uic (Qt's QT_HOST_PATH, /usr for Debian's). Without one, the window is
# left out and the core and the command-line tools build as before.
set(QUORIL2_QT_WINDOWS_PREFIX "${CMAKE_SOURCE_DIR}/../shared/qt6-mingw"
    CACHE PATH "Qt 6 built for Windows (mingw-w64) that the cross-build's window uses")
get_filename_component(Q2_QT_PREFIX "${QUORIL2_QT_WINDOWS_PREFIX}" ABSOLUTE)
if(NOT EXISTS "${Q2_QT_PREFIX}/lib/cmake/Qt6/Qt6Config.cmake")
  message(WARNING "No Qt for Windows in ${Q2_QT_PREFIX} (QUORIL2_QT_WINDOWS_PREFIX): "
                  "building the core and the command-line tools only, without the window.")
  set(QUORIL2_GUI OFF)
  return()
endif()
message(STATUS "Qt for Windows: ${Q2_QT_PREFIX}")
# As Qt's own qt.toolchain.cmake does: the prefix as a root, its lib/cmake as
# where packages are.
list(PREPEND CMAKE_FIND_ROOT_PATH "${Q2_QT_PREFIX}")
list(PREPEND CMAKE_PREFIX_PATH "${Q2_QT_PREFIX}/lib/cmake")

# What a program built against it needs at run time beside Qt's DLLs: the
# mingw runtime DLLs, wherever this compiler keeps them.
set(Q2_MINGW_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}, which Qt's DLLs need beside them")
  endif()
  list(APPEND Q2_MINGW_RUNTIME_DLLS "${found}")
endforeach()

# Qt's Japanese translation (Debian's qt6-translations-l10n): Qt's own
# dialogs and box buttons speak Japanese with it.
find_file(Q2_QTBASE_JA qtbase_ja.qm PATHS "${Q2_QT_PREFIX}/translations" /usr/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT Q2_QTBASE_JA)
  message(WARNING "No qtbase_ja.qm (Debian's qt6-translations-l10n): the Windows window's Qt dialogs will speak English.")
endif()

# Qt's DLLs, its platform plugins, the mingw runtime and the translation
# copied beside a program of the build folder, so that it runs there (under
# Wine, or on Windows) as it does from the zip. `extra` names more Qt DLLs.
function(q2_qt_runtime_beside target)
  set(dir $<TARGET_FILE_DIR:${target}>)
  set(dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> ${Q2_MINGW_RUNTIME_DLLS})
  foreach(extra ${ARGN})
    list(APPEND dlls $<TARGET_FILE:${extra}>)
  endforeach()
  set(copy_ja)
  if(Q2_QTBASE_JA)
    set(copy_ja COMMAND ${CMAKE_COMMAND} -E copy_if_different ${Q2_QTBASE_JA} ${dir}/translations/)
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dlls} ${dir}/
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/platforms ${dir}/translations
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
            $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin> ${dir}/platforms/
    ${copy_ja}
    VERBATIM)
endfunction()
