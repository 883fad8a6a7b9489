#!/bin/sh
# Installs what is needed, builds everything and runs every test: the normal
# build, then the core tests under AddressSanitizer and UndefinedBehaviorSanitizer.
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
