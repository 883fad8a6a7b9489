#!/bin/sh
# Regenerates docs/window.png: the window with a generated recording open,
# run on a virtual X server with a small window manager for its frame.
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
[ -f "$build/build.ninja" ] || cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j2 --target quoril2 sample
command -v openbox >/dev/null || apt-get install -y -qq --no-install-recommends openbox >/dev/null
command -v xdotool >/dev/null || apt-get install -y -qq --no-install-recommends xdotool >/dev/null
# A copy of the program, so that its settings file beside it is its own.
shot=$(mktemp -d)
trap 'rm -rf "$shot"' EXIT
cp "$build/src/gui/quoril2" "$shot/"
cp -r "$build/sample/recordings" "$shot/recordings"
# With 詳細 on, so that the picture shows the civilisations, the winners and the map.
printf '[FILE_INFO]\r\nSAVEGAME_DIR=%s\r\n[VIEW_INFO]\r\nSHOW_DETAILS=1\r\n' "$shot/recordings" > "$shot/Quoran.ini"
game="$shot/recordings/記録されたゲーム -  05-11-2005 21\`04\`38.mgx"
mkdir -p docs
xvfb-run -a -s "-screen 0 1000x700x24" sh -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  "$1/quoril2" "$2" >/dev/null 2>&1 &
  sleep 3
  win=$(xdotool search --name "くおらん" | head -1)
  xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
  import -frame -window "$win" "$3" 2>/dev/null || import -window root "$3"
' sh "$shot" "$game" docs/window.png
echo "wrote docs/window.png"
