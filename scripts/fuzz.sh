#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in their
# own build folder and runs each one for a bounded time on a copy of its seed corpus. Any
# crash, hang (an input taking longer than the per-input limit), memory blow-up or sanitizer
# report fails the run; the input that caused it is kept in the build folder.
#
#   scripts/fuzz.sh [TARGET...]     FUZZ_SECONDS (30), FUZZ_BUILD_DIR (build-fuzz), JOBS
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
build=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${JOBS:-$(nproc)}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBREVOIR_FUZZ=ON -DBREVOIR_BUILD_TESTS=OFF -DBREVOIR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_targets -j "$jobs"

if [ $# -eq 0 ]; then
    set -- $(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$PWD/$build/fuzz-artifacts"
mkdir -p "$artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
export QT_QPA_PLATFORM=offscreen
failed=()
for target in "$@"; do
    corpus="$work/${target#fuzz_}"
    mkdir -p "$corpus"
    if [ -d "fuzz/corpus/${target#fuzz_}" ]; then
        cp -r "fuzz/corpus/${target#fuzz_}/." "$corpus/"
    fi
    echo "== $target: ${seconds} s from $(ls "$corpus" | wc -l) seeds"
    if "$build/bin/$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus" \
        >"$work/$target.log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$work/$target.log" | tail -2 || true
    else
        grep -v -E '^(repaired interrupted|left recording|couldn.t repair)' "$work/$target.log" |
            tail -60
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found problems in: ${failed[*]} (inputs in $artifacts)"
    exit 1
fi
echo "fuzzing found nothing in $# targets"
