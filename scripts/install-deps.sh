#!/bin/sh
# Debian 12 packages needed to build, run and test Quoril2.
set -e
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev zlib1g-dev libdeflate-dev libicu-dev \
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins qt6-translations-l10n \
  fonts-ipafont-gothic xvfb xauth imagemagick \
  desktop-file-utils libxml2-utils man-db dpkg-dev lintian exfatprogs exfat-fuse fuse3 >/dev/null
