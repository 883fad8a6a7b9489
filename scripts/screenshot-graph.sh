#!/bin/sh
# Regenerates docs/graph.png and docs/graph-game-time.png: the age graph of a
# generated four-player game with the economy icons shown, on the byte axis
# and on the game clock, rendered off screen.
# Needs the Debian packages of the build and fonts-ipafont-gothic.
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/screenshot}
[ -f "$build/build.ninja" ] || cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j2 --target quoril2-graph-shot
mkdir -p docs
QT_QPA_PLATFORM=offscreen "$build/src/tools/quoril2-graph-shot" docs/graph.png
QT_QPA_PLATFORM=offscreen "$build/src/tools/quoril2-graph-shot" docs/graph-game-time.png --game-time
echo "wrote docs/graph.png and docs/graph-game-time.png"
