#!/bin/sh
# Installs what is needed, builds, writes the sample folder of generated
# recordings and opens one of them.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
build/default/src/cli/quoril2-gen sample sample/recordings
build/default/src/cli/quoril2-cli show "sample/recordings/記録されたゲーム -  05-11-2005 21\`04\`38.mgx"
