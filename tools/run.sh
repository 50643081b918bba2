#!/usr/bin/env bash
# The quick start: installs the dependencies, builds, and runs the main job on the simulated
# adapter: programs the example program into a simulated 16F628A, verifies it and prints the
# outcome. With arguments, runs quellmark-cli with those arguments instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELLMARK_BUILD_DIR:-$top/build}
"$top/tools/build.sh"
if [ $# -eq 0 ]; then
    set -- --model 16F628A --port sim program "$top/data/examples/blink628a.hex"
fi
exec "$build/bin/quellmark-cli" "$@"
