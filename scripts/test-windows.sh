#!/bin/sh
# Cross-builds the core, the command-line tools and the core tests for
# Windows, runs the tests under Wine, and checks that the Windows tools show
# and rename recordings exactly as the Linux build does. Run after
# scripts/test.sh, whose Linux build (build/default) it compares against.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
linux="$root/build/default/src/cli"
win="$root/build/windows/src/cli"
[ -x "$linux/quoril2-cli" ] || { echo "build the default preset first (scripts/test.sh)" >&2; exit 1; }

scripts/install-windows-deps.sh

work=$(mktemp -d)
WINEPREFIX="$work/wine"
export WINEPREFIX
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
# One prefix made before anything runs in parallel in it.
scripts/wine.sh wineboot -i >/dev/null 2>&1 || true

cmake --preset windows
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

echo "wine: $passed passed, $failed failed"
[ "$failed" = 0 ]
