#!/usr/bin/env bash
# Builds the Debian package: brings the build up to date, then runs cpack -G DEB in it. The
# package lands in build/ as quellmark_VERSION_ARCH.deb; its dependencies on the Qt 6 libraries
# come from dpkg-shlibdeps. Install it with `sudo apt install ./build/quellmark_*.deb`. Checked
# with lintian (Debian package lintian) when that is installed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELLMARK_BUILD_DIR:-$top/build}
"$top/tools/build.sh"
cd "$build"
cpack -G DEB >/dev/null
deb=$(ls -t "$build"/quellmark_*.deb | head -n 1)
echo "$deb"
# Debian's own checks of the package, where lintian is installed: an error fails the build.
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb"
fi
