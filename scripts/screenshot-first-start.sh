#!/bin/sh
# Regenerates docs/first-start.png, docs/window-maximised.png and
# docs/open-file.png: an ordinary
# user's first start with the game installed under Wine (a home folder whose
# ~/.wine holds the SaveGame folder of the sample recordings) and the note of
# the folder found; then, the window having been maximised last time, the
# next start with a recording opened from the keyboard, and its open-file
# dialog. Runs on a virtual X
# server at 1280x800 with a small window manager, driven by xdotool.
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
[ -f "$build/build.ninja" ] || cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j2 --target quoril2 sample
for p in openbox xdotool; do
  command -v $p >/dev/null || apt-get install -y -qq --no-install-recommends $p >/dev/null
done
shot=$(mktemp -d)
trap 'rm -rf "$shot"' EXIT
chmod 755 "$shot"
home="$shot/home"
savegame="$home/.wine/drive_c/Program Files (x86)/Microsoft Games/Age of Empires II/SaveGame"
mkdir -p "$savegame" "$shot/out"
cp -r "$build/sample/recordings/." "$savegame/"
# In a folder the user can't write, as when installed: the settings go to
# ~/.config/quoril2.
cp "$build/src/gui/quoril2" "$shot/"
run='sh -c'
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$home" "$shot/out"
  run='su nobody -s /bin/sh -c'
fi
session() {  # the steps, run with the program started
  $run "cd '$shot' && HOME='$home' xvfb-run -a -s '-screen 0 1280x800x24' sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    ./quoril2 >/dev/null 2>&1 &
    sleep 3
    $1
    xdotool key ctrl+q
    sleep 1
  '"
}
session 'import -window root out/first-start.png; xdotool key Return; sleep 1'
ini="$home/.config/quoril2/Quoran.ini"
[ -f "$ini" ] || { echo "no settings written at $ini" >&2; exit 1; }
printf '[QUORIL2]\r\nWINDOW_MAXIMIZED=1\r\n' >> "$ini"
session 'xdotool key Down Down Down Down Down Down Return; sleep 2; import -window root out/window-maximised.png
  xdotool key ctrl+o; sleep 2; import -frame -window $(xdotool getactivewindow) out/open-file.png; xdotool key Escape; sleep 1'
mkdir -p docs
# The note alone, without the empty screen around it.
convert "$shot/out/first-start.png" -trim +repage docs/first-start.png
cp "$shot/out/window-maximised.png" "$shot/out/open-file.png" docs/
echo "wrote docs/first-start.png, docs/window-maximised.png and docs/open-file.png"
