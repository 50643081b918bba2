#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR as a package would (prefix /usr) and runs the
# installed quellmark-cli there: it must find the installed device file in ../share/quellmark/
# and list the shipped models, and fail when that file is gone. The manual pages, completion,
# copyright file and changelog must be where Debian's tools look for them.
set -euo pipefail
build=${1:?usage: install_test.sh BUILD_DIR DEVICE_FILE}
devices=${2:?usage: install_test.sh BUILD_DIR DEVICE_FILE}
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root="$dest/usr"
for file in bin/quellmark bin/quellmark-cli share/quellmark/quellmarkdevices.txt \
    share/applications/org.quellmark.Quellmark.desktop \
    share/icons/hicolor/scalable/apps/org.quellmark.Quellmark.svg \
    share/metainfo/org.quellmark.Quellmark.metainfo.xml share/doc/quellmark/copyright \
    share/bash-completion/completions/quellmark-cli; do
    [ -f "$root/$file" ] || { echo "not installed: $file"; exit 1; }
done
# Compressed as Debian wants: gzip without the file's name or time in the header (gzip -n).
for file in share/man/man1/quellmark.1.gz share/man/man1/quellmark-cli.1.gz \
    share/doc/quellmark/changelog.gz share/doc/quellmark/README.md.gz; do
    [ -f "$root/$file" ] || { echo "not installed: $file"; exit 1; }
    gzip -t "$root/$file" || { echo "not a gzip file: $file"; exit 1; }
    header=$(od -An -tx1 -j3 -N5 "$root/$file" | tr -d ' ')
    [ "$header" = 0000000000 ] || { echo "$file has a name or time stamp: $header"; exit 1; }
done
[ ! -e "$root/bin/quellmarkdevices.txt" ] || { echo "device file beside the installed programs"; exit 1; }

export QUELLMARK_SETTINGS="$dest/settings.ini"
listing=$("$root/bin/quellmark-cli" models)
echo "$listing"
expected=$(grep -c '^model:' "$devices")
listed=$(grep -cE '^ +[0-9]+  ' <<<"$listing")
[ "$listed" -eq "$expected" ] || { echo "listed $listed models, the device file has $expected"; exit 1; }
grep -q ' 16F877A ' <<<"$listing"

rm "$root/share/quellmark/quellmarkdevices.txt"
if "$root/bin/quellmark-cli" models >"$dest/out" 2>&1; then
    echo "models ran without a device file"; exit 1
fi
grep -q "$root/bin/quellmarkdevices.txt" "$dest/out" || { cat "$dest/out"; exit 1; }
echo "installed quellmark-cli found its device file"
