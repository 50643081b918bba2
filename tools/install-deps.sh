#!/usr/bin/env bash
# Installs what building and testing Quellmark needs on Debian 12. Skips apt when all is present.
set -euo pipefail
# xvfb: xvfb-run shows the desktop program on a machine without a display. libftdi1-dev (found
# through pkg-config) gives the FT232R bit-bang back-end; the build works without it. dpkg-dev and
# file: cpack's Debian package (tools/package.sh) finds the run-time dependencies with them.
# groff-base and bash-completion: the tests render the manual pages and run the completion.
# libqt6svg6: Qt's SVG plugins, which draw the window icon (the GUI tests look at it).
packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev qt6-base-dev qt6-serialport-dev
          libqt6svg6 libftdi1-dev xvfb dpkg-dev file groff-base bash-completion clang-format)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
