#!/usr/bin/env bash
# Installs the dependencies, configures and builds into build/ (or $QUELLMARK_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELLMARK_BUILD_DIR:-$top/build}
"$top/tools/install-deps.sh"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
