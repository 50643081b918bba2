#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what the pinned .clang-format makes of it
# (clang-format 14, as Debian 12 ships it). tools/check-format.sh --fix applies it instead.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find src tests bench -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
# One clang-format per batch of files: a process per file would take a minute.
bad=$(printf '%s\0' "${files[@]}" | xargs -0 -n 64 -P 2 clang-format --dry-run 2>&1 |
      sed -nE 's/^([^:]+):[0-9]+:[0-9]+: (warning|error):.*/\1/p' | sort -u)
if [ -n "$bad" ]; then
    echo "not formatted as .clang-format says (tools/check-format.sh --fix applies it):"
    sed 's/^/  /' <<<"$bad"
    exit 1
fi
echo "${#files[@]} C++ files formatted as .clang-format says"
