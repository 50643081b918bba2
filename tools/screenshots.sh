#!/usr/bin/env bash
# Renders the main window (fresh, with a HEX file, with the edit box open, in another theme, with
# texts longer than their labels), the message box, the input box, the model dialog, the hardware
# check, the theme chooser and the Help texts offscreen into build/screenshots/*.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELLMARK_BUILD_DIR:-$top/build}
"$top/tools/build.sh"
QT_QPA_PLATFORM=offscreen "$build/bin/gui_screenshots" "$build/screenshots"
