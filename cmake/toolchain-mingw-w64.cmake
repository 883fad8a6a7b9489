# Cross-build for 64-bit Windows with Debian's mingw-w64 (POSIX threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(Q2_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${Q2_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${Q2_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${Q2_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${Q2_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static zlib; the programs without Qt link the whole runtime statically too
# (q2_standalone), so each of them runs on its own, beside no DLLs.
set(ZLIB_LIBRARY /usr/${Q2_MINGW}/lib/libz.a CACHE FILEPATH "")

# Tests and tools run through Wine (Debian's wine64).
if(EXISTS /usr/lib/wine/wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh)
endif()
