#!/bin/sh
# Installs the default build into a temporary prefix and checks what a user
# gets: the installed command-line tool reads a generated recording, the
# menu entry, the file types and the manual pages are valid, and the Debian
# package builds with dependencies that this system can satisfy.
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/quoril2 bin/quoril2-cli bin/quoril2-gen share/applications/quoril2.desktop \
         share/icons/hicolor/scalable/apps/quoril2.svg share/mime/packages/quoril2.xml \
         share/man/man1/quoril2.1.gz share/man/man1/quoril2-cli.1.gz share/man/man1/quoril2-gen.1.gz \
         share/doc/quoril2/copyright share/doc/quoril2/changelog.gz; do
  [ -e "$prefix/$f" ] || { echo "install: $f missing" >&2; exit 1; }
done
desktop-file-validate "$prefix/share/applications/quoril2.desktop"
# The entry opens recordings, never every folder of the desktop.
if grep -q 'inode/directory' "$prefix/share/applications/quoril2.desktop"; then
  echo "install: the desktop entry claims folders" >&2
  exit 1
fi
# The window's --help answers without a display.
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/quoril2" --help | grep -q "usage: quoril2"
xmllint --noout "$prefix/share/mime/packages/quoril2.xml"
for m in "$prefix"/share/man/man1/*.1.gz; do
  LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -l "$m" 2>&1 >/dev/null | { ! grep .; }
done

"$prefix/bin/quoril2-gen" recording "$work/game.mgx" --names Alice,Bob --teams 2,3 >/dev/null
"$prefix/bin/quoril2-cli" show --json "$work/game.mgx" > "$work/out.json"
grep -q '"Alice"' "$work/out.json" || { echo "install: installed quoril2-cli did not read the recording" >&2; exit 1; }
"$prefix/bin/quoril2-cli" --version | grep -q "Quoran.ini"

# The package: built, its contents and dependencies checked, judged by
# lintian, and installed, removed and purged in an overlay of this system (a
# real installation would change this machine).
if command -v dpkg-shlibdeps >/dev/null; then
  rm -f "$build"/quoril2_*.deb
  (cd "$build" && cpack -G DEB > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
  deb=$(ls "$build"/quoril2_*.deb)
  dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
  dpkg-deb -c "$deb" > "$work/contents"
  grep -q ./usr/bin/quoril2-cli "$work/contents"
  if [ "$(id -u)" -eq 0 ]; then
    apt-get install -s "$(realpath "$deb")" >/dev/null
  fi
  scripts/package-check.sh "$deb"
fi
echo "install check passed"
