#!/bin/sh
# Builds the Windows cross-build (the windows preset, with the window: needs
# Qt for Windows in ../shared/qt6-mingw or QUORIL2_QT_WINDOWS_PREFIX) and
# packs the portable zip, build/windows/quoril2-VERSION-windows-x64.zip:
# one folder holding quoril2.exe, quoril2-cli.exe and all they load.
set -e
cd "$(dirname "$0")/.."
build=build/windows
if [ ! -f "$build/build.ninja" ]; then
  if [ -n "$QUORIL2_QT_WINDOWS_PREFIX" ]; then
    cmake --preset windows -DQUORIL2_QT_WINDOWS_PREFIX="$QUORIL2_QT_WINDOWS_PREFIX" >/dev/null
  else
    cmake --preset windows >/dev/null
  fi
fi
if ! grep -q '^build src/gui/quoril2.exe' "$build/build.ninja"; then
  echo "No window in $build: it was configured without Qt for Windows (../shared/qt6-mingw or" >&2
  echo "QUORIL2_QT_WINDOWS_PREFIX), so there is no zip to make." >&2
  exit 1
fi
cmake --build "$build" -j2
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/quoril2-*-windows-x64.zip)
echo "$zip ($(($(stat -c %s "$zip") / 1024)) KB)"
