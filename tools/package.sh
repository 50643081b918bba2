#!/usr/bin/env bash
# Builds the Debian package: brings the build up to date, then runs cpack -G DEB in it. The
# package lands in build/ as quellmark_VERSION_ARCH.deb; its dependencies on the Qt 6 libraries
# come from dpkg-shlibdeps. Install it with `sudo apt install ./build/quellmark_*.deb`.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELLMARK_BUILD_DIR:-$top/build}
"$top/tools/build.sh"
cd "$build"
cpack -G DEB >/dev/null
ls "$build"/quellmark_*.deb
