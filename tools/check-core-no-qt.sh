#!/usr/bin/env bash
# Fails when any file under the given folder includes a Qt header.
set -u
dir=${1:?usage: check-core-no-qt.sh SRC_CORE_DIR}
hits=$(grep -rnE '#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|qt[a-z]*/)' "$dir" || true)
if [ -n "$hits" ]; then
    echo "Qt headers included under $dir:"
    echo "$hits"
    exit 1
fi
echo "no Qt headers under $dir"
