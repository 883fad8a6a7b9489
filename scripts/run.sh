#!/bin/sh
# Installs what is needed, builds (which writes a sample folder of generated
# recordings), points the settings at that folder on the first run, and starts
# the window there.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
build=$(pwd)/build/default
ini="$build/src/gui/Quoran.ini"
if [ ! -f "$ini" ]; then
  printf '[FILE_INFO]\r\nSAVEGAME_DIR=%s\r\n' "$build/sample/recordings" > "$ini"
fi
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
  echo "No display found; starting the window on a virtual X server (Xvfb)." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$build/src/gui/quoril2" "$@"
fi
exec "$build/src/gui/quoril2" "$@"
