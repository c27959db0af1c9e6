#!/usr/bin/env bash
# Fuzzes one target for a while: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
# TARGET is the name of tests/fuzz/fuzz_TARGET.cpp (e.g. xml). Builds with clang, libFuzzer and
# the sanitizers in build-fuzz/ (or $FUZZ_BUILD_DIR), seeds from tests/fuzz/corpus/TARGET/ and
# writes new inputs to build-fuzz/fuzz-work/TARGET/. Crashes land in build-fuzz/fuzz-crashes/
# TARGET/; copy each one into the corpus folder and fix it.
set -euo pipefail
if [[ $# -lt 2 ]]; then
    echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
corpus=$root/tests/fuzz/corpus/$target
if [[ ! -f $root/tests/fuzz/fuzz_$target.cpp || ! -d $corpus ]]; then
    echo "no fuzz target $target (tests/fuzz/fuzz_$target.cpp and corpus/$target/)" >&2
    exit 2
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTERVOLIN_FUZZ=ON -DTERVOLIN_SANITIZE=ON -DTERVOLIN_BENCH=OFF -DTERVOLIN_DATA=OFF >/dev/null
cmake --build "$build" -j2 --target "fuzz_$target"
work=$build/fuzz-work/$target
crashes=$build/fuzz-crashes/$target
mkdir -p "$work" "$crashes"
exec nice -n 10 "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" \
    -artifact_prefix="$crashes/" -print_final_stats=1 "$@" "$work" "$corpus"
