#!/bin/sh
# Runs a Windows program of the cross-build under Wine: quietly, without a
# display (unless the first argument is --display: then on $DISPLAY), and in
# a Wine prefix of its own that belongs to the caller (Wine refuses a prefix
# owned by another user, root included).
display=
if [ "$1" = --display ]; then
  display=yes
  shift
fi
if [ -z "$WINEPREFIX" ]; then
  WINEPREFIX="${TMPDIR:-/tmp}/quoril2-wine-$(id -u)"
fi
export WINEPREFIX
# Wine links the user's folders from HOME; a CI container may have none.
if [ -z "$HOME" ] || [ ! -w "$HOME" ]; then
  HOME=$(dirname "$WINEPREFIX")
  export HOME
fi
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine keeps the host's QT_* variables (QT_QPA_PLATFORM, say) from Windows
# programs, but passes them on when named WINEQT_*.
for v in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  eval "export WINE$v=\"\$$v\""
done
# No .NET or HTML engine: Wine would offer to download them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -n "$display" ] || unset DISPLAY
unset WAYLAND_DISPLAY
exec /usr/lib/wine/wine64 "$@"
