#!/bin/sh
# Cross-builds Quoril2 for Windows, runs its tests under Wine, and checks that
# the Windows tools show and rename recordings exactly as the Linux build
# does. With Qt for Windows (../shared/qt6-mingw, or QUORIL2_QT_WINDOWS_PREFIX)
# also the window: its Qt tests under Wine, its panel for every sample
# recording against the Linux window's, the portable zip, and quoril2.exe
# unpacked from it and started on a virtual X server. Run after
# scripts/test.sh, whose Linux build (build/default) it compares against.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
linux="$root/build/default/src/cli"
win="$root/build/windows/src/cli"
[ -x "$linux/quoril2-cli" ] || { echo "build the default preset first (scripts/test.sh)" >&2; exit 1; }

scripts/install-windows-deps.sh

qt=${QUORIL2_QT_WINDOWS_PREFIX:-../shared/qt6-mingw}
if [ -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  gui=ON
  qt=$(cd "$qt" && pwd)
else
  gui=OFF
  echo "No Qt for Windows in $qt (set QUORIL2_QT_WINDOWS_PREFIX to one): building and checking the core and" >&2
  echo "the command-line tools only. SKIPPED: the window, its tests under Wine, the zip and quoril2.exe's checks." >&2
fi

work=$(mktemp -d)
WINEPREFIX="$work/wine"
export WINEPREFIX
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
# One prefix made before anything runs in parallel in it.
scripts/wine.sh wineboot -i >/dev/null 2>&1 || true

if [ $gui = ON ]; then
  cmake --preset windows -DQUORIL2_GUI=ON -DQUORIL2_QT_WINDOWS_PREFIX="$qt"
else
  cmake --preset windows -DQUORIL2_GUI=OFF
fi
cmake --build --preset windows
ctest --preset windows

wine() { "$root/scripts/wine.sh" "$@"; }
# Z: is the whole Linux file system in a Wine prefix.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
# Every folder and every file's checksum, by name.
tree() { (cd "$1" && find . -type d | LC_ALL=C sort && find . -type f | LC_ALL=C sort | xargs -d '\n' sha256sum); }
passed=0
failed=0
check() {  # what, then the two files to compare
  if cmp -s "$2" "$3"; then
    echo "same: $1"
    passed=$((passed + 1))
  else
    echo "DIFFERENT: $1" >&2
    diff "$2" "$3" | head -20 >&2 || true
    failed=$((failed + 1))
  fi
}

# The same sample folder written by both generators.
"$root/build/default/src/tools/quoril2-gen" sample "$work/sample" >/dev/null
wine "$root/build/windows/src/tools/quoril2-gen.exe" sample "$(winpath "$work/sample-win")" >/dev/null
tree "$work/sample" >"$work/gen-linux.txt"
tree "$work/sample-win" >"$work/gen-win.txt"
check "quoril2-gen sample" "$work/gen-linux.txt" "$work/gen-win.txt"

# show --json of every generated and every real recording.
mkdir "$work/real"
if [ -d ../shared/recordings ]; then
  for f in ../shared/recordings/*.mg?; do
    [ -f "$f" ] && cp "$f" "$work/real/$(basename "${f%.*}").mgx"
  done
fi
for f in "$work"/sample/*.mgx "$work"/real/*.mgx; do
  [ -f "$f" ] || continue
  rcL=0; rcW=0
  "$linux/quoril2-cli" show --json "$f" >"$work/show-linux.json" 2>/dev/null || rcL=$?
  wine "$win/quoril2-cli.exe" show --json "$(winpath "$f")" >"$work/show-win.json" 2>/dev/null || rcW=$?
  echo "exit $rcL" >>"$work/show-linux.json"
  echo "exit $rcW" >>"$work/show-win.json"
  check "show --json $(basename "$f")" "$work/show-linux.json" "$work/show-win.json"
done

# rename of a folder of default-named recordings, one of whose new names is
# already taken by a file that must stay as it is.
mkdir "$work/rename-linux"
"$root/build/default/src/tools/quoril2-gen" many "$work/rename-linux" 40
cp "$work"/sample/*.mgx "$work/rename-linux/"
taken=$("$linux/quoril2-cli" rename --dry-run "$work/rename-linux" | sed -n 's/^.* -> \(.*\.mgx\)$/\1/p' | head -1)
echo "an earlier file" >"$work/rename-linux/$taken"
cp -a "$work/rename-linux" "$work/rename-win"
rcL=0; rcW=0
"$linux/quoril2-cli" rename "$work/rename-linux" >"$work/rename-linux.txt" 2>&1 || rcL=$?
wine "$win/quoril2-cli.exe" rename "$(winpath "$work/rename-win")" >"$work/rename-win.txt" 2>&1 || rcW=$?
echo "exit $rcL" >>"$work/rename-linux.txt"
echo "exit $rcW" >>"$work/rename-win.txt"
check "rename output" "$work/rename-linux.txt" "$work/rename-win.txt"
tree "$work/rename-linux" >"$work/renamed-linux.txt"
tree "$work/rename-win" >"$work/renamed-win.txt"
check "renamed folder" "$work/renamed-linux.txt" "$work/renamed-win.txt"
echo "an earlier file" >"$work/expected.txt"
check "the taken name $taken kept" "$work/expected.txt" "$work/rename-win/$taken"
if grep -qF -- "-> $taken: 失敗" "$work/rename-win.txt"; then
  passed=$((passed + 1))
else
  echo "DIFFERENT: no failure reported for the taken name $taken" >&2
  failed=$((failed + 1))
fi

if [ $gui = ON ]; then
  # The window's panel, as the Linux window and the Windows one show it, for
  # every sample and real recording.
  set --
  for f in "$work"/sample/*.mg? "$work"/real/*.mgx; do [ -f "$f" ] && set -- "$@" "$f"; done
  QT_QPA_PLATFORM=offscreen "$root/build/default/tests/panel_text" "$@" >"$work/panel-linux.txt" 2>/dev/null || true
  for f in "$@"; do shift; set -- "$@" "$(winpath "$f")"; done
  QT_QPA_PLATFORM=offscreen wine "$root/build/windows/tests/panel_text.exe" "$@" >"$work/panel-win.txt" 2>/dev/null || true
  check "the window's panel, $# recordings in 4 states" "$work/panel-linux.txt" "$work/panel-win.txt"

  # The portable zip, unpacked into a folder of its own: everything the
  # window loads is in it, and the program icon is in quoril2.exe.
  zip=$(scripts/package-windows.sh | tail -1 | sed 's/ (.*//')
  mkdir "$work/unzipped"
  (cd "$work/unzipped" && cmake -E tar xf "$root/$zip")
  app=$(ls -d "$work"/unzipped/quoril2-*-windows-x64)
  ls -R "$app" | tr -s ' \n' '\n' | grep -v ':$' | LC_ALL=C sort -u >"$work/zip-files.txt"
  for need in quoril2.exe quoril2-cli.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll qwindows.dll libstdc++-6.dll \
              libgcc_s_seh-1.dll libwinpthread-1.dll qtbase_ja.qm README.txt; do
    if grep -qx "$need" "$work/zip-files.txt"; then passed=$((passed + 1)); else
      echo "MISSING from the zip: $need" >&2
      failed=$((failed + 1))
    fi
  done
  if wrestool -l "$app/quoril2.exe" | grep -q 'type=group_icon'; then passed=$((passed + 1)); else
    echo "MISSING: the program icon in quoril2.exe" >&2
    failed=$((failed + 1))
  fi

  # quoril2.exe from the zip on a virtual X server, with a recording on its
  # command line: its window, caption and size, its panel through
  # QUORIL2_PANEL_FILE, then closed as Windows closes a window, which writes
  # Quoran.ini beside it.
  game="$work/sample/大会決勝 第3試合.mgx"
  printf '[FILE_INFO]\r\nSAVEGAME_DIR=%s\r\n' "$(winpath "$work/sample")" >"$app/Quoran.ini"
  QT_QPA_PLATFORM=offscreen "$root/build/default/tests/panel_text" "$game" 2>/dev/null |
    sed -n '2,/^-- /p' | sed '$d' >"$work/panel-expected.txt"
  QUORIL2_PANEL_FILE=$(winpath "$work/panel-exe.txt")
  export QUORIL2_PANEL_FILE app work
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$0/scripts/wine.sh" --display "$app/quoril2.exe" "$1" >/dev/null 2>&1 &
    pid=$!
    win=
    for i in $(seq 120); do
      win=$(xdotool search --onlyvisible --name "^くおらん Ver 1.005$" 2>/dev/null | head -1)
      [ -n "$win" ] && [ -f "$work/panel-exe.txt" ] && break
      sleep 0.5
    done
    if [ -n "$win" ]; then
      xdotool getwindowname "$win" >"$work/caption.txt"
      import -window "$win" "$work/window.png" 2>/dev/null
      identify -format "%wx%h\n" "$work/window.png" >"$work/window-size.txt"
    fi
    "$0/scripts/wine.sh" taskkill /im quoril2.exe >/dev/null 2>&1
    for i in $(seq 40); do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
    kill $pid 2>/dev/null || true
  ' "$root" "$(winpath "$game")"
  unset QUORIL2_PANEL_FILE
  echo "くおらん Ver 1.005" >"$work/caption-expected.txt"
  check "quoril2.exe's window caption under Wine" "$work/caption-expected.txt" "$work/caption.txt"
  echo "863x514" >"$work/size-expected.txt"
  check "quoril2.exe's window size in a screenshot" "$work/size-expected.txt" "$work/window-size.txt"
  (echo "くおらん Ver 1.005"; cat "$work/panel-expected.txt") >"$work/panel-exe-expected.txt"
  check "quoril2.exe's panel with a recording from the command line" "$work/panel-exe-expected.txt" "$work/panel-exe.txt"
  if grep -q '^PLAYER1COLOR=' "$app/Quoran.ini"; then passed=$((passed + 1)); else
    echo "DIFFERENT: closing quoril2.exe wrote no Quoran.ini beside it" >&2
    failed=$((failed + 1))
  fi
fi

echo "wine: $passed passed, $failed failed"
[ "$failed" = 0 ]
