#!/usr/bin/env bash
# The test command: installs, builds and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELLMARK_BUILD_DIR:-$top/build}
"$top/tools/build.sh"
cd "$build"
ctest --output-on-failure -j2
