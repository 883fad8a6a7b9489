#!/bin/sh
# Regenerates docs/window-windows.png: quoril2.exe from the portable zip under
# Wine, with a generated recording open, in a Wine desktop on a virtual X
# server (Wine draws the Windows frame itself there).
set -e
cd "$(dirname "$0")/.."
root=$(pwd)
zip=$(scripts/package-windows.sh | tail -1 | sed 's/ (.*//')
[ -x build/default/src/tools/quoril2-gen ] || { echo "build the default preset first" >&2; exit 1; }
# Wine's own fonts: Marlett draws the caption buttons.
dpkg -s fonts-wine >/dev/null 2>&1 || apt-get install -y -qq --no-install-recommends fonts-wine >/dev/null
work=$(mktemp -d)
WINEPREFIX="$work/wine"
export WINEPREFIX
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
scripts/wine.sh wineboot -i >/dev/null 2>&1 || true
# Wine draws captions in its own Tahoma, which has no Japanese: IPA P Gothic
# behind it, as Japanese Windows links its fonts.
scripts/wine.sh reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
  /v Tahoma /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
(cd "$work" && cmake -E tar xf "$root/$zip")
app=$(ls -d "$work"/quoril2-*-windows-x64)
build/default/src/tools/quoril2-gen sample "$work/recordings" >/dev/null
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
printf '[FILE_INFO]\r\nSAVEGAME_DIR=%s\r\n' "$(winpath "$work/recordings")" >"$app/Quoran.ini"
game=$(winpath "$work/recordings/記録されたゲーム -  05-11-2005 21\`04\`38.mgx")
mkdir -p docs
xvfb-run -a -s "-screen 0 900x650x24" sh -c '
  "$0/scripts/wine.sh" --display explorer /desktop=quoril2,900x650 "$1/quoril2.exe" "$2" >/dev/null 2>&1 &
  for i in $(seq 60); do
    xdotool search --name "^くおらん Ver 1.005$" >/dev/null 2>&1 && break
    sleep 0.5
  done
  sleep 2
  # The window sits at (10, 100): the desktop above it left out.
  import -window root -crop 900x560+0+90 +repage "$3"
' "$root" "$app" "$game" "$root/docs/window-windows.png"
echo "wrote docs/window-windows.png"
