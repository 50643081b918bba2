#!/usr/bin/env bash
# Fuzzes the HEX reader, the device file reader with model activation, the script interpreter
# on the simulated chip, and the script kinds the device file adds (identify, calibration read
# and write) through activation and a run on the simulated chip: installs clang when missing, builds the libFuzzer targets of
# tests/fuzz into build-fuzz/ (or $QUELLMARK_FUZZ_BUILD_DIR) with the address and
# undefined-behaviour sanitizers, and runs each target for the given seconds (default 60),
# starting from the seed corpora in tests/fuzz/corpus. New inputs collect in build-fuzz/corpus;
# a crash stops the run and is saved in build-fuzz/crashes.
#
# Usage: tools/fuzz.sh [seconds]
set -euo pipefail
seconds=${1:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${QUELLMARK_FUZZ_BUILD_DIR:-$top/build-fuzz}

packages=(clang libclang-rt-14-dev cmake make)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

targets=(hexreader_fuzz devicefile_fuzz interpreter_fuzz sidescripts_fuzz)
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUELLMARK_FUZZ=ON -DQUELLMARK_BUILD_QT=OFF -DQUELLMARK_BUILD_TESTS=OFF \
    -DQUELLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

export ASAN_OPTIONS=halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build/crashes"
for target in "${targets[@]}"; do
    seeds="$top/tests/fuzz/corpus/${target%_fuzz}"
    corpus="$build/corpus/${target%_fuzz}"
    mkdir -p "$corpus"
    log="$build/$target.log"
    echo "== $target: $seconds s"
    if ! "$build/bin/$target" "$corpus" "$seeds" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
        >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target found a fault: see $build/crashes and $log"
        exit 1
    fi
    grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log"
done
echo "no faults found"
