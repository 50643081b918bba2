#!/usr/bin/env bash
# Fails when a folder of the core includes a folder above it. The floors, lowest first: a folder
# may include its own files and those of the folders before it, never those after it. A new
# folder has to be given its floor here.
set -u
dir=${1:?usage: check-core-layers.sh SRC_CORE_DIR}
floors=(text files host settings themes script devices buffer link engine sim)

floor() {
    local i
    for i in "${!floors[@]}"; do
        [ "${floors[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

status=0
for folder in "$dir"/*/; do
    name=$(basename "$folder")
    own=$(floor "$name")
    if [ "$own" -lt 0 ]; then
        echo "$name: a folder of the core without a floor in $0"
        status=1
        continue
    fi
    while IFS= read -r line; do
        file=${line%%:*}
        included=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([a-z]+)\/.*/\1/' <<<"$line")
        other=$(floor "$included")
        [ "$other" -lt 0 ] && continue  # not a folder of the core
        if [ "$other" -gt "$own" ]; then
            echo "${file#"$dir"/} includes $included/, which is above $name/"
            status=1
        fi
    done < <(grep -rnE '#[[:space:]]*include[[:space:]]*"[a-z]+/' "$folder" || true)
done
[ "$status" -eq 0 ] && echo "every include of $dir points to its own floor or below: ${floors[*]}"
exit "$status"
