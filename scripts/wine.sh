#!/bin/sh
# Runs a Windows program of the cross-build under Wine: quietly, without a
# display, and in a Wine prefix of its own that belongs to the caller (Wine
# refuses a prefix owned by another user, root included).
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
# No .NET or HTML engine: Wine would offer to download them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY WAYLAND_DISPLAY
exec /usr/lib/wine/wine64 "$@"
