#!/usr/bin/env bash
# The test command: installs, builds and runs every test.
#
# tools/test.sh --sanitize builds the whole suite with the address and undefined-behaviour
# sanitizers into build-sanitize/ (or $QUELLMARK_SANITIZE_BUILD_DIR) instead, and any finding
# stops the test that made it and fails the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--sanitize" ]; then
    build=${QUELLMARK_SANITIZE_BUILD_DIR:-$top/build-sanitize}
    "$top/tools/install-deps.sh"
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELLMARK_SANITIZE=ON \
        -DQUELLMARK_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j2
    export ASAN_OPTIONS=halt_on_error=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
else
    build=${QUELLMARK_BUILD_DIR:-$top/build}
    "$top/tools/build.sh"
fi
cd "$build"
ctest --output-on-failure -j2 --timeout 120
