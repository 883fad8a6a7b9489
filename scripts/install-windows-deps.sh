#!/bin/sh
# Debian 12 packages for the Windows cross-build and for running its tests
# under Wine: the mingw-w64 compiler with POSIX threads, zlib built for it,
# GoogleTest's sources (built with the same compiler) and 64-bit Wine; for the
# window, rsvg-convert and icotool (its pictures and icon, drawn at build
# time) and xdotool (finding it on the virtual X server).
set -e
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  cmake ninja-build g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine64 \
  librsvg2-bin icoutils xdotool >/dev/null
