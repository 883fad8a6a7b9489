#!/bin/sh
# Installs what is needed, builds everything and runs every test: the normal
# build and its install check, the core tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows cross-build under Wine.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
scripts/install-check.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
scripts/test-windows.sh
