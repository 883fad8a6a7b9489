#!/bin/sh
# Regenerates docs/graph.png: the age graph of a generated four-player game
# with the economy icons shown, rendered off screen.
# Needs the Debian packages of the build and fonts-ipafont-gothic.
set -e
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/screenshot}
[ -f "$build/build.ninja" ] || cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j2 --target quoril2-graph-shot
mkdir -p docs
QT_QPA_PLATFORM=offscreen "$build/src/graph/quoril2-graph-shot" docs/graph.png
echo "wrote docs/graph.png"
